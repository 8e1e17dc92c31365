// SCAFFOLD: to be written (the land list, the pickers, the village list, the boundaries and the relationship list).
#include "registry/frmland.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace parcelon {

void frmland::wireLists() { }
void frmland::land_lv() { }
void frmland::land_all() { }
void frmland::fgamanam() { }
void frmland::txtkottasaya_GotFocus() { }
void frmland::txtkottasaya_Enter() { }
void frmland::lvkottashya_Click() { }
void frmland::labkatti_Click() { }
void frmland::txtwawa_GotFocus() { }
void frmland::txtwawa_KeyUp() { }
void frmland::txtwawa_Enter() { }
void frmland::lvwawa_Click() { }
void frmland::cmdsathara_Click() { }
void frmland::cmbpasuaythiya_Click() { }
void frmland::cmdnanayo_Click() { }

} // namespace parcelon
