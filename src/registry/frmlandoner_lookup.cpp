// The land owner register's look-ups by identity and household number, the household's land list and
// the three writes: a new owner, changes to a loaded owner (which make it active again) and deactivation.

#include "registry/frmlandoner.h"

#include "base/dbsession.h"
#include "ui/failure.h"
#include "ui/listview.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "registry/frmselect.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
const QString kOwnerColumns = QStringLiteral(
    "SELECT srno, id, house_no, land_owner_name, ad1, ad2, ad3, ad4, samajika_qty, job, amoun, chak, gamiya, gama "
    "FROM landowner ");

QString statusOf(const Query &row)
{
    return row.value(QStringLiteral("chak")) == QLatin1String("1") ? QStringLiteral("l%shdldrs")
                                                                   : QStringLiteral("wl%shdldrs");
}
} // namespace

void frmlandoner::lastno() { labno->setText(db().recordNumber(QStringLiteral("landowner"))); }

void frmlandoner::lvland() { householdLands(QStringLiteral("house_no"), txtguhano->text()); }

void frmlandoner::flww() { householdLands(QStringLiteral("id"), txtid->text()); }

void frmlandoner::householdLands(const QString &where, const QString &value)
{
    // Every line names the household's first owner, whichever member holds the land; one join fetches
    // all lands of that household, active or not.
    lvdetels->clear();
    Query rows = db().select(
        QStringLiteral("SELECT o.id, o.house_no, o.land_owner_name, l.balapa_no1, l.balapa_no, l.loan_sbawaya, "
                       "l.pewarima FROM landowner o JOIN land l ON l.guhasth = o.house_no "
                       "WHERE o.srno = (SELECT MIN(srno) FROM landowner WHERE ")
            + where + QStringLiteral(" = ?) ORDER BY l.srno"),
        {value});
    std::vector<QStringList> lines;
    while (rows.next()) {
        lines.push_back({rows.value(0).left(9), rows.value(1), rows.value(2),
            rows.value(3) + QStringLiteral("  ") + rows.value(4), rows.value(5), rows.value(6)});
    }
    lvdetels->addItems(std::move(lines));
}

void frmlandoner::setPlace(const QString &division, const QString &village)
{
    const int index = cmbgamiya->findText(division);
    if (index < 0) {
        // A division no longer offered: nothing is chosen, and no other division's villages stay offered.
        cmbgamiya->setCurrentIndex(-1);
        cmbgama->clear();
        return;
    }
    if (index == cmbgamiya->currentIndex())
        cmbgamiya_Click(); // the village list may have been emptied by the last save
    else
        cmbgamiya->setCurrentIndex(index);
    cmbgama->setCurrentIndex(cmbgama->findText(village));
}

void frmlandoner::fillOwner(const Query &row)
{
    txtguhano->setText(row.value(QStringLiteral("house_no")));
    txtlandname->setText(row.value(QStringLiteral("land_owner_name")));
    txtad1->setText(row.value(QStringLiteral("ad1")));
    txtad2->setText(row.value(QStringLiteral("ad2")));
    txtad3->setText(row.value(QStringLiteral("ad3")));
    txtad4->setText(row.value(QStringLiteral("ad4")));
    txtsamajikano->setText(row.value(QStringLiteral("samajika_qty")));
    txtjop->setText(row.value(QStringLiteral("job")));
    txtadayama->setText(row.value(QStringLiteral("amoun")));
}

void frmlandoner::newOwnerMode()
{
    labsakiya->setText(QStringLiteral("kj"));
    lastno();
    cmdok->setEnabled(true);
    if (labcu->text() != QLatin1String("2")) {
        cmdupdata->setEnabled(false);
        cmddelete->setEnabled(false);
    }
}

void frmlandoner::loadedOwnerButtons()
{
    cmdok->setEnabled(false);
    if (labcu->text() != QLatin1String("2")) {
        cmdupdata->setEnabled(true);
        cmddelete->setEnabled(true);
    }
}

void frmlandoner::checkIdentity()
{
    // Nine digits and the letter; the letter in either case, as another screen may have set the box.
    const QString id = txtid->text();
    for (int i = 0; i < 9; ++i) {
        if (i >= id.size() || id.at(i) < QLatin1Char('0') || id.at(i) > QLatin1Char('9'))
            labcha->setText(QStringLiteral("1"));
    }
    const QString letter = id.mid(9, 1).toLower();
    if (letter != QLatin1String("v") && letter != QLatin1String("x"))
        labcha->setText(QStringLiteral("1"));
}

void frmlandoner::txtid_LostFocus()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty()) {
            markRed(txtid);
            return;
        }
        flww();
        if (std::optional<Query> owner
            = db().first(kOwnerColumns + QStringLiteral("WHERE id = ? ORDER BY srno"), {txtid->text()})) {
            labno->setText(owner->value(QStringLiteral("srno")));
            fillOwner(*owner);
            setPlace(owner->value(QStringLiteral("gamiya")), owner->value(QStringLiteral("gama")));
            loadedOwnerButtons();
            labsakiya->setText(statusOf(*owner));
            return;
        }
        if (!txtguhano->text().isEmpty()) {
            const std::optional<Query> member
                = db().first(QStringLiteral("SELECT id FROM landowner WHERE srno = ?"), {labno->text()});
            if (member && member->value(QStringLiteral("id")).isEmpty()) {
                // A household member chosen without an identity number receives the one typed.
                loadedOwnerButtons();
                txtguhano->setEnabled(false);
                return;
            }
        }
        // A person not yet registered: also when the number on screen names no stored owner.
        clearEntry(true);
        newOwnerMode();
        checkIdentity();
        if (labcha->text() == QLatin1String("1"))
            markRed(txtid);
    });
}

void frmlandoner::txtguhano_LostFocus()
{
    guarded(this, [this] {
        if (txtguhano->text().isEmpty()) {
            markRed(txtguhano);
            return;
        }
        lvland();
        if (!txtid->text().isEmpty()) {
            if (db().first(QStringLiteral("SELECT srno FROM landowner WHERE house_no = ?"), {txtguhano->text()})) {
                if (std::optional<Query> owner
                    = db().first(kOwnerColumns + QStringLiteral("WHERE id = ? ORDER BY srno"), {txtid->text()})) {
                    txtlandname->setText(owner->value(QStringLiteral("land_owner_name")));
                    txtad1->setText(owner->value(QStringLiteral("ad1")));
                    txtad2->setText(owner->value(QStringLiteral("ad2")));
                    txtad3->setText(owner->value(QStringLiteral("ad3")));
                    txtad4->setText(owner->value(QStringLiteral("ad4")));
                    txtsamajikano->setText(owner->value(QStringLiteral("samajika_qty")));
                }
            }
            return;
        }
        Query rows = db().select(
            QStringLiteral("SELECT srno, id, land_owner_name FROM landowner WHERE house_no = ? ORDER BY srno"),
            {txtguhano->text()});
        std::vector<QStringList> members;
        while (rows.next())
            members.push_back({rows.value(0), rows.value(1), rows.value(2)});
        if (members.empty()) {
            // A new household.
            labsakiya->setText(QStringLiteral("kj"));
            lastno();
            clearEntry(false);
            cmdok->setEnabled(true);
            if (labcu->text() != QLatin1String("2")) {
                cmdupdata->setEnabled(false);
                cmddelete->setEnabled(false);
            }
            return;
        }
        frmselect chooser(this);
        chooser.lv->addItems(std::move(members));
        chooser.lv->selectRow(0);
        chooser.exec();
    });
}

void frmlandoner::cmdnew_Click()
{
    guarded(this, [this] {
        clearAll();
        newOwnerMode();
    });
}

void frmlandoner::cmdok_Click()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty() && txtguhano->text().isEmpty()) {
            markRed(txtid);
            markRed(txtguhano);
            return;
        }
        if (txtlandname->text().isEmpty()) {
            markRed(txtlandname);
            return;
        }
        if (labcha->text() == QLatin1String("1")) {
            message(this, QStringLiteral("Tn we;=<;a l< cd;sl ye÷kqïm;a wxlh jerÈh"));
            return;
        }
        if (cmbgama->count() == 0) {
            message(this, QStringLiteral(".%du ks,Odrs jiu f;drkak"));
            return;
        }
        if (cmbgama->currentText().isEmpty()) {
            message(this, QStringLiteral(".%du ks,Odrs jiu wod, .u f;drkak"));
            return;
        }
        db().execute(QStringLiteral("INSERT INTO landowner (id, house_no, land_owner_name, ad1, ad2, ad3, ad4, "
                                    "samajika_qty, job, amoun, chak, gamiya, gama, username, date, time) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '1', ?, ?, ?, ?, ?)"),
            ownerFields() + QVariantList {session::userName(), session::dbDate(), session::dbTime()});
        clearAll();
        cmbgama->clear(); // the division stays chosen for the next owner
        lastno();
    });
}

QVariantList frmlandoner::ownerFields() const
{
    // The owner's details in the order both the insert and the update name them.
    return {txtid->text(), txtguhano->text(), txtlandname->text(), txtad1->text(), txtad2->text(), txtad3->text(),
        txtad4->text(), txtsamajikano->text(), txtjop->text(), txtadayama->text(), cmbgamiya->currentText(),
        cmbgama->currentText()};
}

void frmlandoner::cmdupdata_Click()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty() && txtguhano->text().isEmpty()) {
            markRed(txtid);
            return;
        }
        // Storing an owner's details always makes the owner active again.
        db().execute(QStringLiteral("UPDATE landowner SET id = ?, house_no = ?, land_owner_name = ?, ad1 = ?, "
                                    "ad2 = ?, ad3 = ?, ad4 = ?, samajika_qty = ?, job = ?, chak = '1', amoun = ?, "
                                    "gamiya = ?, gama = ? WHERE srno = ?"),
            ownerFields() + QVariantList {labno->text()});
        clearAll();
        lastno();
    });
}

void frmlandoner::cmddelete_Click()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty() && txtguhano->text().isEmpty()) {
            markRed(txtid);
            return;
        }
        if (db().first(QStringLiteral("SELECT srno FROM land1 WHERE labn_owner_srno = ?"), {labno->text()})) {
            message(this,
                QStringLiteral("fuu bvñ ysñhd hgf;a il%sh bvñ we; tajd wfydais jk f;la bvñ ysñhd "
                               "wfydais l< fkdyel"));
            return;
        }
        db().execute(QStringLiteral("UPDATE landowner SET chak = '0' WHERE srno = ?"), {labno->text()});
        clearAll();
        lastno();
    });
}

void frmlandoner::cmdselect_Click()
{
    guarded(this, [this] {
        const std::optional<Query> owner
            = db().first(kOwnerColumns + QStringLiteral("WHERE srno = ?"), {labno->text()});
        if (!owner)
            return;
        labsakiya->setText(statusOf(*owner));
        loadedOwnerButtons();
        txtid->setText(owner->value(QStringLiteral("id")));
        txtlandname->setText(owner->value(QStringLiteral("land_owner_name")));
        txtad1->setText(owner->value(QStringLiteral("ad1")));
        txtad2->setText(owner->value(QStringLiteral("ad2")));
        txtad3->setText(owner->value(QStringLiteral("ad3")));
        txtad4->setText(owner->value(QStringLiteral("ad4")));
        txtsamajikano->setText(owner->value(QStringLiteral("samajika_qty")));
        txtjop->setText(owner->value(QStringLiteral("job")));
        txtadayama->setText(owner->value(QStringLiteral("amoun")));
    });
}

} // namespace parcelon
