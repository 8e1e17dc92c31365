#pragma once
// Folder and file choices: every screen asks the clerk for a folder or a file through here, never through
// QFileDialog itself, so a test answers the next question instead of a clerk (like the message dialogs).

#include <QString>

class QWidget;

namespace parcelon {

// The folder the clerk chose (absolute, without a trailing separator), or empty when cancelled.
QString chooseFolder(QWidget *parent, const QString &title, const QString &start);
// The existing file the clerk chose, or empty when cancelled. filter as QFileDialog takes it.
QString chooseFile(QWidget *parent, const QString &title, const QString &start, const QString &filter = {});

namespace choices {
// Test hook: the next choice returns this answer (empty: cancelled) without asking. Answers queue up.
void answerNext(const QString &answer);
// Answers given and not yet used.
int pendingAnswers();
// What the last choice asked (its title), answered or not.
QString lastQuestion();
} // namespace choices

} // namespace parcelon
