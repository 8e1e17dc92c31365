#include "ui/events.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace parcelon {

Events::Events(QWidget *widget)
    : QObject(widget)
{
    setObjectName(QStringLiteral("events"));
    widget->installEventFilter(this);
}

Events &Events::of(QWidget *widget)
{
    if (auto *existing = widget->findChild<Events *>(QStringLiteral("events"), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new Events(widget);
}

Events &Events::gotFocus(std::function<void()> handler)
{
    m_gotFocus = std::move(handler);
    return *this;
}
Events &Events::lostFocus(std::function<void()> handler)
{
    m_lostFocus = std::move(handler);
    return *this;
}
Events &Events::keyPress(std::function<bool(QKeyEvent *)> handler)
{
    m_keyPress = std::move(handler);
    return *this;
}
Events &Events::keyUp(std::function<void(QKeyEvent *)> handler)
{
    m_keyUp = std::move(handler);
    return *this;
}
Events &Events::enter(std::function<void()> handler)
{
    m_enter = std::move(handler);
    return *this;
}
Events &Events::dblClick(std::function<void()> handler)
{
    m_dblClick = std::move(handler);
    return *this;
}

namespace {
bool movesBetweenControls(const QFocusEvent *event)
{
    // A window losing activation (a dialog opening over it, another program) is no move of focus
    // between the screen's controls.
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

bool isPlainKey(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    return !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}
} // namespace

bool Events::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (m_gotFocus && movesBetweenControls(static_cast<QFocusEvent *>(event)))
            m_gotFocus();
        break;
    case QEvent::FocusOut:
        if (m_lostFocus && movesBetweenControls(static_cast<QFocusEvent *>(event)))
            m_lostFocus();
        break;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!isPlainKey(key))
            break;
        if (m_enter && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            m_enter();
            return true;
        }
        if (m_keyPress && m_keyPress(key))
            return true;
        break;
    }
    case QEvent::KeyRelease:
        if (m_keyUp && isPlainKey(static_cast<QKeyEvent *>(event)))
            m_keyUp(static_cast<QKeyEvent *>(event));
        break;
    case QEvent::MouseButtonDblClick:
        if (m_dblClick)
            m_dblClick();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void comboClick(QComboBox *combo, std::function<void()> handler)
{
    // Picking a new entry emits currentIndexChanged and then activated in one go; fire once for it.
    auto justFired = std::make_shared<bool>(false);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo, handler, justFired](int index) {
        if (index < 0)
            return;
        *justFired = true;
        const QPointer<QComboBox> alive(combo);
        handler();
        if (!alive)
            return;
        // Cleared only once the handler has returned: a handler that opens a modal screen runs an event
        // loop of its own, and the activation that follows the pick must still count as the same Click.
        QTimer::singleShot(0, combo, [justFired] { *justFired = false; });
    });
    QObject::connect(combo, &QComboBox::activated, combo, [handler, justFired](int) {
        if (*justFired) {
            *justFired = false;
            return;
        }
        handler();
    });
}

} // namespace parcelon
