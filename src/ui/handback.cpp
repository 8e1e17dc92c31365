#include "ui/handback.h"

#include "ui/record.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMetaObject>
#include <QWidget>

namespace parcelon {

HandBack::HandBack(QWidget *opener)
    : m_opener(opener)
{
    if (!m_opener)
        fail(QStringLiteral("there is no opener to hand the choice back to"));
}

void HandBack::fail(const QString &what) const
{
    const QString screen = m_opener ? m_opener->objectName() : QStringLiteral("(none)");
    throw HandBackError(QStringLiteral("Hand-back to %1: %2").arg(screen, what).toStdString());
}

QWidget *HandBack::control(const char *name) const
{
    // The opener's own controls only, not those of the dialogs it has open (the chooser among them).
    const QList<QWidget *> found = m_opener->findChildren<QWidget *>(QString::fromLatin1(name));
    for (QWidget *w : found) {
        if (w->window() == m_opener->window())
            return w;
    }
    fail(QStringLiteral("it has no control %1").arg(QString::fromLatin1(name)));
}

HandBack &HandBack::set(const char *name, const QString &text)
{
    if (!writeControlText(control(name), text))
        fail(QStringLiteral("%1 holds no text").arg(QString::fromLatin1(name)));
    return *this;
}

HandBack &HandBack::press(const char *name)
{
    auto *button = qobject_cast<QAbstractButton *>(control(name));
    if (!button)
        fail(QStringLiteral("%1 is not a button").arg(QString::fromLatin1(name)));
    // click() on a disabled button does nothing at all: the opener's handler would silently not run.
    if (!button->isEnabled())
        fail(QStringLiteral("%1 is disabled").arg(QString::fromLatin1(name)));
    button->click();
    return *this;
}

HandBack &HandBack::focus(const char *name, const char *ifDisabled)
{
    QWidget *target = control(name);
    if (ifDisabled && !target->isEnabled())
        target = control(ifDisabled);
    // The opener takes the keys again first, so the focus moves there now and not when it is next
    // activated (that would skip the handlers of the controls left on the way).
    QWidget *window = m_opener->window();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        QApplication::setActiveWindow(window);
    }
    target->setFocus(Qt::OtherFocusReason);
    return *this;
}

HandBack &HandBack::call(const char *procedure)
{
    if (!QMetaObject::invokeMethod(m_opener, procedure))
        fail(QStringLiteral("it has no procedure %1").arg(QString::fromLatin1(procedure)));
    return *this;
}

} // namespace parcelon
