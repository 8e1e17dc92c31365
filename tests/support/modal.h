#pragma once
// Answers the modal dialogs a screen opens, as a clerk would: polls the active modal widget from a timer,
// records what the dialog said and presses the named button. A test asserts the answers ran.
//
// A dialog that no ModalAnswers expects fails the running test at once, naming the dialog and its text,
// and is closed (rejected), so the test goes on instead of waiting for a clerk until the watchdog ends
// the run. The watch runs in every test program that links the test support.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QTimer;
class QWidget;

namespace parcelon::test {

class ModalAnswers final : public QObject
{
    Q_OBJECT
public:
    ModalAnswers();
    ~ModalAnswers() override;

    // Presses the button named by object name or caption ("OK", "cmdexit", "cmdyes") on the next dialog.
    ModalAnswers &press(const QString &button);
    // Does something with the next dialog (type into it, check it) and leaves closing it to the action.
    ModalAnswers &with(std::function<void(QWidget *dialog)> action);

    // The dialogs answered so far: their object name, their title and their text.
    struct Seen
    {
        QString name;
        QString title;
        QString text;
    };
    const std::vector<Seen> &seen() const { return m_seen; }
    int answered() const { return int(m_seen.size()); }
    bool allAnswered() const { return m_next >= m_actions.size(); }
    QString text(int i = 0) const { return i < answered() ? m_seen[size_t(i)].text : QString(); }
    QString title(int i = 0) const { return i < answered() ? m_seen[size_t(i)].title : QString(); }
    QString name(int i = 0) const { return i < answered() ? m_seen[size_t(i)].name : QString(); }

    // Whether this helper answers or answered the dialog: it has answered it already, or it still has
    // an answer for the next new dialog.
    bool expects(const QWidget *dialog) const;

private:
    void poll();
    QTimer *m_timer;
    std::vector<std::function<void(QWidget *)>> m_actions;
    size_t m_next = 0;
    bool handled(const QWidget *dialog) const;
    // Dialogs answered already: one that is open again after its own dialog closed is not new.
    QList<QPointer<QWidget>> m_handled;
    std::vector<Seen> m_seen;
};

// The dialogs that came up while no ModalAnswers expected them, as "name (title): text", since the
// program started or the last clearUnexpectedDialogs(). Each failed the test function that was running;
// with `unreportedOnly`, only those that came up while no test function ran (none failed for them).
QStringList unexpectedDialogs(bool unreportedOnly = false);
void clearUnexpectedDialogs();

// The text a dialog shows: a message box's text or the label of the system's own message dialogs.
QString dialogText(QWidget *dialog);
// Clicks a dialog's button by object name or caption; false when there is none.
bool clickButton(QWidget *dialog, const QString &button);

} // namespace parcelon::test
