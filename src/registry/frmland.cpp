// SCAFFOLD: to be written (controls, layout, load, permission levels, field colours, Enter order, reset).
#include "registry/frmland.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace parcelon {

frmland::frmland(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}
void frmland::build() { }
void frmland::layoutScreen() { }
void frmland::Form_Load() { }
void frmland::showEvent(QShowEvent *event) { QDialog::showEvent(event); }
void frmland::fno() { }
void frmland::home_mumant() { }
bool frmland::inChangeMode() const { return false; }
void frmland::dimForSubScreen() { }
void frmland::cmdcha_Click() { }
void frmland::cmdexit_Click() { }

} // namespace parcelon
