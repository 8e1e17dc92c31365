// SCAFFOLD: to be written (the owner look-ups and the screens opened for an owner).
#include "registry/frmland.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace parcelon {

void frmland::wireOwner() { }
bool frmland::txtid_KeyPress(QKeyEvent *) { return false; }
void frmland::txtid_Change() { }
void frmland::txtid_LostFocus() { }
bool frmland::txtguhano_KeyPress(QKeyEvent *) { return false; }
void frmland::txtguhano_LostFocus() { }
void frmland::cmdnew_Click() { }
void frmland::cmdfind_Click() { }
void frmland::cmdchange_name_Click() { }

} // namespace parcelon
