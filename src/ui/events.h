#pragma once
// The event adapter: the screens' GotFocus, LostFocus, KeyPress, KeyUp and DblClick handlers on top of
// Qt's events. Change is QLineEdit::textChanged (it fires on changes made by code too, which the
// screens rely on) and Click is QAbstractButton::clicked; a combo box's Click is comboClick() below.

#include <QObject>

#include <functional>

class QComboBox;
class QKeyEvent;
class QWidget;

namespace parcelon {

class Events final : public QObject
{
    Q_OBJECT
public:
    // The adapter of a widget, created on first use and owned by the widget.
    static Events &of(QWidget *widget);

    Events &gotFocus(std::function<void()> handler);
    Events &lostFocus(std::function<void()> handler);
    // Return true to discard the key. Tab, Backtab and keys with Ctrl or Alt are never offered: they
    // move focus or belong to the window.
    Events &keyPress(std::function<bool(QKeyEvent *)> handler);
    Events &keyUp(std::function<void(QKeyEvent *)> handler);
    // Enter (key code 13) runs the handler; other keys pass through.
    Events &enter(std::function<void()> handler);
    Events &dblClick(std::function<void()> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit Events(QWidget *widget);
    std::function<void()> m_gotFocus;
    std::function<void()> m_lostFocus;
    std::function<bool(QKeyEvent *)> m_keyPress;
    std::function<void(QKeyEvent *)> m_keyUp;
    std::function<void()> m_enter;
    std::function<void()> m_dblClick;
};

// A combo box's Click: when the clerk picks an entry (even the one already shown) and when code sets
// its text or index to an entry.
void comboClick(QComboBox *combo, std::function<void()> handler);

} // namespace parcelon
