#pragma once
// The common failure message: when a statement or a step of a handler fails, the handler stops there,
// the clerk sees the error's description, " Source : " and its source, and the screen stays usable.

#include <QString>

#include <functional>

class QWidget;

namespace parcelon {

void showFailure(QWidget *parent, const QString &description, const QString &source);

// Runs one event handler under the common failure convention. Returns false when it failed.
bool guarded(QWidget *screen, const std::function<void()> &handler);

// The application's title on message boxes.
QString applicationTitle();

} // namespace parcelon
