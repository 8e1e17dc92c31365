#include "support/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace parcelon::test {
namespace {
constexpr int kPollMs = 20;

// Every ModalAnswers alive: the watch leaves a dialog to them when one of them expects it.
QList<ModalAnswers *> &liveAnswers()
{
    static QList<ModalAnswers *> answers;
    return answers;
}

struct Unexpected
{
    QString seen;
    bool reported; // failed the test function that was running
};

QList<Unexpected> &unexpected()
{
    static QList<Unexpected> dialogs;
    return dialogs;
}

// Polls for a modal dialog nobody expects; fails the running test with its name and text and closes it.
class DialogWatch final : public QObject
{
public:
    explicit DialogWatch(QObject *parent)
        : QObject(parent)
    {
        auto *timer = new QTimer(this);
        timer->setInterval(kPollMs);
        connect(timer, &QTimer::timeout, this, &DialogWatch::poll);
        timer->start();
    }

private:
    void poll()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        const QList<ModalAnswers *> &answers = liveAnswers();
        if (std::any_of(answers.begin(), answers.end(), [dialog](const ModalAnswers *a) { return a->expects(dialog); }))
            return;
        if (!m_reported.contains(dialog)) {
            m_reported << dialog;
            const QString seen
                = QStringLiteral("%1 (%2): %3").arg(dialog->objectName(), dialog->windowTitle(), dialogText(dialog));
            const QString failure = QStringLiteral("a dialog no test expected: ") + seen;
            // QTest::qFail records the failure of the function that is running, even from inside the
            // dialog's own event loop; the function goes on once the dialog has closed.
            const bool running = QTest::currentTestFunction() != nullptr;
            unexpected() << Unexpected {seen, running};
            if (running)
                QTest::qFail(failure.toUtf8().constData(), __FILE__, __LINE__);
            else
                qWarning("%s", qPrintable(failure));
        }
        // Rejected, a question takes its harmless way ("no"); a dialog that refuses to close is hidden,
        // which ends its exec() all the same.
        if (auto *box = qobject_cast<QDialog *>(dialog))
            box->reject();
        else
            dialog->close();
        if (dialog->isVisible())
            dialog->hide();
    }

    QList<QPointer<QWidget>> m_reported;
};

void startDialogWatch()
{
    // A test without widgets (a program run as a process, the converter) has no dialogs to watch.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    static QPointer<DialogWatch> watch;
    if (!watch)
        watch = new DialogWatch(QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(startDialogWatch)
} // namespace

ModalAnswers::ModalAnswers()
    : m_timer(new QTimer(this))
{
    liveAnswers() << this;
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &ModalAnswers::poll);
    m_timer->start();
}

ModalAnswers::~ModalAnswers() { liveAnswers().removeAll(this); }

ModalAnswers &ModalAnswers::press(const QString &button)
{
    m_actions.push_back([button](QWidget *dialog) {
        QVERIFY2(clickButton(dialog, button),
            qPrintable(QStringLiteral("dialog %1 has no button %2").arg(dialog->objectName(), button)));
    });
    return *this;
}

ModalAnswers &ModalAnswers::with(std::function<void(QWidget *)> action)
{
    m_actions.push_back(std::move(action));
    return *this;
}

bool ModalAnswers::expects(const QWidget *dialog) const { return handled(dialog) || m_next < m_actions.size(); }

void ModalAnswers::poll()
{
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible())
        return;
    // The same dialog still closing after its answer, or open again under a dialog it opened, is not new;
    // a new one without an answer left is the watch's to report.
    if (handled(dialog) || m_next >= m_actions.size())
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
        // Once answered, the dialog closes (a dialog it opened in turn has closed before the action
        // returns). One still open waits for a clerk nobody sends: a check that failed inside the dialog
        // returned early, or the answer did not close it. Close it so the test can end.
        if (!QTest::currentTestFailed() && open && open->isVisible()
            && !QTest::qWaitFor([open] { return !open || !open->isVisible(); })) {
            QTest::qFail(qPrintable(QStringLiteral("dialog %1 stayed open after its answer").arg(open->objectName())),
                __FILE__, __LINE__);
        }
        if (open && open->isVisible()) {
            if (auto *dialog = qobject_cast<QDialog *>(open.data()))
                dialog->reject();
            else
                open->close();
        }
    });
}

bool ModalAnswers::handled(const QWidget *dialog) const
{
    return std::any_of(
        m_handled.begin(), m_handled.end(), [dialog](const QPointer<QWidget> &d) { return d == dialog; });
}

QStringList unexpectedDialogs(bool unreportedOnly)
{
    QStringList dialogs;
    for (const Unexpected &dialog : unexpected()) {
        if (!unreportedOnly || !dialog.reported)
            dialogs << dialog.seen;
    }
    return dialogs;
}

void clearUnexpectedDialogs() { unexpected().clear(); }

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
