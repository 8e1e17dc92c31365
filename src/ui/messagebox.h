#pragma once
// The one message box for the texts that are not legacy text (the English notices of the account,
// password and backup screens, and the common failure message): a title, a text and typed buttons. No
// screen makes a QMessageBox of its own. The legacy-text notice and question of the screens are
// frmmessage and frmmessage_y (ui/messages.h).
//
// Tests answer the box as a clerk does (it is a real dialog) or, where the box itself is not what is
// tested, answer the next one beforehand with setNextAnswer.

#include <QString>

#include <optional>

class QWidget;

namespace parcelon {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };
enum class MessageKind {
    Notice, // no icon
    Failure, // the critical icon
};

struct MessageBoxOptions
{
    MessageButtons buttons = MessageButtons::Ok;
    MessageKind kind = MessageKind::Notice;
    QString objectName; // for the tests that tell boxes apart ("failure")
};

// Shows the box modally and returns the button pressed; closing the box answers No (Ok for an Ok box).
MessageAnswer messageBox(
    QWidget *parent, const QString &title, const QString &text, const MessageBoxOptions &options = {});

// Answers the next box with `answer` without showing it, and keeps its text (lastMessageText).
void setNextAnswer(MessageAnswer answer);
// The text of the last box shown or answered.
QString lastMessageText();

} // namespace parcelon
