// SCAFFOLD: to be written (permit kinds, the permit-number check, the extent arithmetic, the save).
#include "registry/frmland.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace parcelon {

void frmland::wireSave() { }
void frmland::cmblandno_Click() { }
void frmland::txtlandno_Change() { }
void frmland::txtlandno_LostFocus() { }
void frmland::fakkara() { }
void frmland::cmdenter_Click() { }
QString frmland::permitDate() const { return {}; }
void frmland::saveLand() { }

} // namespace parcelon
