#pragma once
// Handing values back to the screen that opened a chooser: the chooser writes the opener's named
// controls and then runs the opener's named handler, either a button it presses (often a hidden one)
// or a procedure the opener declares Q_INVOKABLE. A control or handler that is missing is a fault of
// the program, not of the clerk: it throws HandBackError, which the chooser's guarded handler shows,
// and a test fails on that message at once. It never quietly does nothing.

#include <QString>

#include <stdexcept>

class QWidget;

namespace parcelon {

class HandBackError : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

class HandBack final
{
public:
    explicit HandBack(QWidget *opener);

    // Writes the text of a label, text box or drop-down of the opener.
    HandBack &set(const char *control, const QString &text);
    // Presses a button of the opener, hidden or not. A disabled button cannot be pressed: that throws
    // HandBackError too.
    HandBack &press(const char *button);
    // Moves the opener's focus to a control, as a clerk's click would: leaving the control that had it
    // runs that control's own handler. With `ifDisabled`, a disabled control passes the focus to that
    // one instead.
    HandBack &focus(const char *control, const char *ifDisabled = nullptr);
    // Runs a procedure of the opener declared Q_INVOKABLE.
    HandBack &call(const char *procedure);

private:
    QWidget *control(const char *name) const;
    [[noreturn]] void fail(const QString &what) const;
    QWidget *m_opener;
};

} // namespace parcelon
