#pragma once
// The plain message boxes of the administration screens: a text, a title and an OK button, as the
// account and password screens have always shown them (their texts are English, not legacy text).

#include <QString>

class QWidget;

namespace parcelon {

// Shows the box modally and returns when the clerk presses OK.
void notice(QWidget *parent, const QString &title, const QString &text);

} // namespace parcelon
