#include "ui/messagebox.h"

#include <QMessageBox>

#include <utility>

namespace parcelon {
namespace {
std::optional<MessageAnswer> &nextAnswer()
{
    static std::optional<MessageAnswer> answer;
    return answer;
}
QString &lastText()
{
    static QString text;
    return text;
}
} // namespace

MessageAnswer messageBox(QWidget *parent, const QString &title, const QString &text, const MessageBoxOptions &options)
{
    lastText() = text;
    if (const std::optional<MessageAnswer> answer = std::exchange(nextAnswer(), std::nullopt))
        return *answer;
    const bool yesNo = options.buttons == MessageButtons::YesNo;
    QMessageBox box(options.kind == MessageKind::Failure ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
        yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    if (!options.objectName.isEmpty())
        box.setObjectName(options.objectName);
    if (yesNo) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    const int pressed = box.exec();
    if (!yesNo)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void setNextAnswer(MessageAnswer answer) { nextAnswer() = answer; }

QString lastMessageText() { return lastText(); }

} // namespace parcelon
