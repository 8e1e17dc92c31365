// SCAFFOLD: to be written (the mode switch, loading a land by number, update and delete).
#include "registry/frmland.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace parcelon {

void frmland::wireChange() { }
void frmland::cmdedit_Click() { }
void frmland::labno_LostFocus() { }
void frmland::cmdupdate_Click() { }
void frmland::cmddeleter_Click() { }

} // namespace parcelon
