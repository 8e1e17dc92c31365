// The land register's owner: found by identity number, by household number (directly for a household of
// one, through the owner chooser for more), through the owner finder, or registered in the owner
// register; and the permit change screen opened for the permit on screen.

#include "registry/frmland.h"

#include "base/dbsession.h"
#include "base/identity.h"
#include "registry/frmselect.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {

void focus(QWidget *field) { field->setFocus(Qt::TabFocusReason); }
} // namespace

void frmland::wireOwner()
{
    Events::of(txtid).keyPress([this](QKeyEvent *e) { return txtid_KeyPress(e); }).lostFocus([this] {
        txtid_LostFocus();
    });
    connect(txtid, &QLineEdit::textChanged, this, [this] { txtid_Change(); });
    Events::of(txtguhano).keyPress([this](QKeyEvent *e) { return txtguhano_KeyPress(e); }).lostFocus([this] {
        txtguhano_LostFocus();
    });
    connect(cmdnew, &QPushButton::clicked, this, &frmland::cmdnew_Click);
    connect(cmdfind, &QPushButton::clicked, this, &frmland::cmdfind_Click);
    connect(cmdchange_name, &QPushButton::clicked, this, &frmland::cmdchange_name_Click);
}

bool frmland::txtid_KeyPress(QKeyEvent *event)
{
    const int ascii = keyAscii(event);
    // Keys that type nothing (arrows, Shift) only move the caret; Escape is the screen's.
    if (ascii == 0 || ascii == 27)
        return false;
    if (ascii == 13) {
        // The household box is skipped while it shows a found owner's household (disabled).
        if (txtguhano->isVisible() && txtguhano->isEnabled())
            focus(txtguhano);
        else
            focus(txtlandno);
        return true;
    }
    // A new number is being typed: what the last look-up found no longer holds.
    labcha->clear();
    txtguhano->setEnabled(true);
    markNormal(txtid);
    markNormal(txtguhano);
    txtguhano->clear();
    labname->clear();
    labsrno_customr->clear();
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return false;
    const QString typed = event->text();
    return !(typed.size() == 1 && isIdentityCharacter(typed.at(0)));
}

void frmland::txtid_Change()
{
    guarded(this, [this] {
        lvland->clear();
        if (!inChangeMode())
            txtguhano->setEnabled(true);
        if (txtid->text().isEmpty())
            land_all();
    });
}

void frmland::txtid_LostFocus()
{
    guarded(this, [this] {
        markNormal(txtid);
        const QString id = txtid->text();
        if (id.isEmpty()) {
            labcha->clear();
            return;
        }
        // The flag follows the number now in the box, also when another screen put it there.
        labcha->setText(isIdentityNumber(id) ? QString() : QStringLiteral("1"));
        if (labcha->text() == QLatin1String("1")) {
            markRed(txtid);
            return;
        }
        Query owner = db().select(QStringLiteral("SELECT srno, land_owner_name, gamiya, gama, house_no "
                                                 "FROM landowner1 WHERE id = ? ORDER BY srno"),
            {id});
        if (!owner.next()) {
            // Not among the active owners: the owner register opens on the number.
            Screens::open(ScreenId::frmlandoner, this, [id](QDialog *screen) { HandBack(screen).set("txtid", id); });
            return;
        }
        labname->setText(owner.value(QStringLiteral("land_owner_name")));
        labsrno_customr->setText(owner.value(QStringLiteral("srno")));
        txtkottasaya->setText(owner.value(QStringLiteral("gamiya")));
        fgamanam();
        cmbgama->setCurrentText(owner.value(QStringLiteral("gama")));
        txtguhano->setText(owner.value(QStringLiteral("house_no")));
        markNormal(txtguhano, colours::shownNumber);
        txtguhano->setEnabled(false);
        land_lv();
    });
}

bool frmland::txtguhano_KeyPress(QKeyEvent *event)
{
    const int ascii = keyAscii(event);
    if (ascii == 13) {
        focus(txtlandno);
        return true;
    }
    // A household number is being typed: the owner is found by it, not by an identity number.
    if (ascii != 0 && ascii != 27)
        txtid->clear();
    return false;
}

void frmland::txtguhano_LostFocus()
{
    guarded(this, [this] {
        // The household of an owner found by identity number stays light green while the box is disabled.
        if (txtguhano->isEnabled())
            markNormal(txtguhano);
        // An owner found by identity number already named the household; an empty box names none.
        if (!txtid->text().isEmpty() || txtguhano->text().isEmpty())
            return;
        Query members = db().select(QStringLiteral("SELECT srno, id, land_owner_name FROM landowner1 "
                                                   "WHERE house_no = ? ORDER BY srno"),
            {txtguhano->text()});
        frmselect chooser(this);
        chooser.lv->clear();
        while (members.next())
            chooser.lv->addItem({members.value(0), members.value(1), members.value(2)});
        if (chooser.lv->count() == 0)
            return;
        // Prepared for the land register: the chooser hands the chosen member back here.
        chooser.cmdnew->setEnabled(false);
        chooser.cmdok->setText(QStringLiteral("f;drkak"));
        chooser.labguhano->setText(txtguhano->text());
        if (chooser.lv->count() == 1) {
            // A household of one: nothing to choose.
            txtid->setText(chooser.lv->text(0, 1));
            labname->setText(chooser.lv->text(0, 2));
            labsrno_customr->setText(chooser.lv->text(0, 0));
            txtid_LostFocus();
            land_lv();
            return;
        }
        chooser.exec();
        txtid_LostFocus();
    });
}

void frmland::cmdnew_Click()
{
    guarded(this, [this] { Screens::open(ScreenId::frmlandoner, this); });
}

void frmland::cmdfind_Click()
{
    guarded(this, [this] {
        dimForSubScreen();
        // The finder presses cmdcha when it closes; while it is not there, nothing may stay dimmed.
        const bool shown = Screens::open(ScreenId::frmfind_land_onew, this,
            [](QDialog *finder) { HandBack(finder).set("labch", QStringLiteral("1")); });
        if (!shown)
            cmdcha_Click();
    });
}

void frmland::cmdchange_name_Click()
{
    guarded(this, [this] {
        dimForSubScreen();
        const QString permit = txtlandno->text();
        const bool shown = Screens::open(ScreenId::frmland_change, this, [permit](QDialog *screen) {
            if (!permit.isEmpty())
                HandBack(screen).set("txtlandno1", permit);
        });
        if (!shown)
            cmdcha_Click();
    });
}

} // namespace parcelon
