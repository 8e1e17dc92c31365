#pragma once
// The land register dims itself while a screen it opened is on top, and restores itself when that screen
// presses its hidden cmdcha. A lifecycle screen may be opened by the land register, by a screen over it,
// or by the main menu with no land register at all: these find the one to restore.

class QWidget;

namespace parcelon {

// The land register a screen opened by `opener` was opened over, or null when none is open.
QWidget *openLandRegister(QWidget *opener);
// Presses the land register's cmdcha when there is one to restore (through HandBack, so a land register
// without it fails loudly); does nothing when the screen was not opened over the land register.
void restoreLandRegister(QWidget *opener);

} // namespace parcelon
