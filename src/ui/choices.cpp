#include "ui/choices.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace parcelon {
namespace {
struct Hook
{
    QStringList answers;
    QString question;
};

Hook &hook()
{
    static Hook h;
    return h;
}

bool answered(const QString &title, QString *answer)
{
    hook().question = title;
    if (hook().answers.isEmpty())
        return false;
    *answer = hook().answers.takeFirst();
    return true;
}
} // namespace

QString chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    QString folder;
    if (!answered(title, &folder))
        folder = QFileDialog::getExistingDirectory(parent, title, start);
    if (folder.isEmpty())
        return {};
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString chooseFile(QWidget *parent, const QString &title, const QString &start, const QString &filter)
{
    QString file;
    if (!answered(title, &file))
        file = QFileDialog::getOpenFileName(parent, title, start, filter);
    return file;
}

namespace choices {
void answerNext(const QString &answer) { hook().answers << answer; }
int pendingAnswers() { return int(hook().answers.size()); }
QString lastQuestion() { return hook().question; }
} // namespace choices

} // namespace parcelon
