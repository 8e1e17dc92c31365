#include "support/modal.h"

#include <QAbstractButton>

#include <algorithm>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace parcelon::test {

ModalAnswers::ModalAnswers() : m_timer(new QTimer(this))
{
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, &ModalAnswers::poll);
    m_timer->start();
}

ModalAnswers::~ModalAnswers() = default;

ModalAnswers &ModalAnswers::press(const QString &button)
{
    m_actions.push_back([button](QWidget *dialog) {
        if (!clickButton(dialog, button))
            qWarning("dialog %s has no button %s", qPrintable(dialog->objectName()), qPrintable(button));
    });
    return *this;
}

ModalAnswers &ModalAnswers::with(std::function<void(QWidget *)> action)
{
    m_actions.push_back(std::move(action));
    return *this;
}

void ModalAnswers::poll()
{
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible())
        return;
    if (m_next >= m_actions.size()) {
        // A dialog nobody expected: record it, so the test's count of answers shows it, and close it, so
        // the test ends instead of waiting for a clerk.
        if (!handled(dialog)) {
            m_handled << dialog;
            m_seen.push_back({dialog->objectName(), dialog->windowTitle(), dialogText(dialog)});
            qWarning("unexpected dialog %s: %s", qPrintable(dialog->objectName()), qPrintable(dialogText(dialog)));
        }
        dialog->close();
        return;
    }
    // The same dialog still closing after its answer, or open again under a dialog it opened, is not new.
    if (handled(dialog))
        return;
    m_handled << dialog;
    m_seen.push_back({dialog->objectName(), dialog->windowTitle(), dialogText(dialog)});
    const auto action = m_actions[m_next++];
    QPointer<QWidget> open(dialog);
    // The action runs outside this timer's handler, so that a dialog it opens in turn is polled for too.
    QTimer::singleShot(0, this, [action, open] {
        if (!open)
            return;
        action(open);
        // A check that failed inside the dialog returns early: close the dialog so the test can end.
        if (QTest::currentTestFailed() && open && open->isVisible())
            open->close();
    });
}

bool ModalAnswers::handled(QWidget *dialog) const
{
    return std::any_of(m_handled.begin(), m_handled.end(), [dialog](const QPointer<QWidget> &d) { return d == dialog; });
}

QString dialogText(QWidget *dialog)
{
    if (auto *box = qobject_cast<QMessageBox *>(dialog))
        return box->text();
    for (const char *name : {"labmessage", "labmessage_y"}) {
        if (auto *label = dialog->findChild<QLabel *>(QString::fromLatin1(name)))
            return label->text();
    }
    return {};
}

bool clickButton(QWidget *dialog, const QString &button)
{
    const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (b->objectName() == button || b->text().remove(QLatin1Char('&')) == button) {
            b->click();
            return true;
        }
    }
    return false;
}

} // namespace parcelon::test
