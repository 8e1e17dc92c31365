// The land owner register's look-ups by identity and household number, the household's land list and
// the three writes: a new owner, changes to a loaded owner (which make it active again) and deactivation.

#include "registry/frmlandoner.h"

#include "base/dbsession.h"
#include "base/identity.h"
#include "registry/frmselect.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/messages.h"
#include "ui/record.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
// The owner's details the look-ups fill without touching the identity number or the place.
const QStringList kDetails = {QStringLiteral("house_no"), QStringLiteral("land_owner_name"), QStringLiteral("ad1"),
    QStringLiteral("ad2"), QStringLiteral("ad3"), QStringLiteral("ad4"), QStringLiteral("samajika_qty"),
    QStringLiteral("job"), QStringLiteral("amoun")};

QString statusOf(const Query &row)
{
    return row.value(QStringLiteral("chak")) == QLatin1String("1") ? QStringLiteral("l%shdldrs")
                                                                   : QStringLiteral("wl%shdldrs");
}
} // namespace

RecordColumns frmlandoner::owner() const
{
    // The owner's columns and the controls that show them, in the order the register names them.
    return RecordColumns(QStringLiteral("landowner"),
        {{"id", txtid}, {"house_no", txtguhano}, {"land_owner_name", txtlandname}, {"ad1", txtad1}, {"ad2", txtad2},
            {"ad3", txtad3}, {"ad4", txtad4}, {"samajika_qty", txtsamajikano}, {"job", txtjop}, {"amoun", txtadayama},
            {"gamiya", cmbgamiya}, {"gama", cmbgama}});
}

QString frmlandoner::ownerSelect() const { return owner().selectSql({QStringLiteral("chak")}); }

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

void frmlandoner::loadPlace(const Query &row)
{
    m_loaded = LoadedRow(QStringLiteral("landowner"), Dialect::key(row.value(QStringLiteral("srno"))), row,
        owner().columnNames() << QStringLiteral("chak"));
    m_storedDivision = row.value(QStringLiteral("gamiya"));
    m_storedVillage = row.value(QStringLiteral("gama"));
    setPlace(m_storedDivision, m_storedVillage);
    m_placeChosen = false;
}

std::pair<QString, QString> frmlandoner::placeToStore() const
{
    // A stored place the drop-downs no longer offer shows as nothing chosen; an update the clerk made for
    // other details must not blank it.
    if (m_placeChosen)
        return {cmbgamiya->currentText(), cmbgama->currentText()};
    return {m_storedDivision, m_storedVillage};
}

void frmlandoner::fillOwner(const Query &row) { owner().fill(row, kDetails); }

void frmlandoner::newOwnerMode()
{
    labsakiya->setText(QStringLiteral("kj"));
    lastno();
    allowWriting(cmdok, true);
    allowWriting(cmdupdata, false);
    allowWriting(cmddelete, false);
}

void frmlandoner::loadedOwnerButtons()
{
    allowWriting(cmdok, false);
    allowWriting(cmdupdata, true);
    allowWriting(cmddelete, true);
}

void frmlandoner::checkIdentity()
{
    // Marks a wrong number; a right one leaves the mark as txtid_Change left it (cleared).
    if (!isIdentityNumber(txtid->text()))
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
            = db().first(ownerSelect() + QStringLiteral("WHERE id = ? ORDER BY srno"), {txtid->text()})) {
            labno->setText(owner->value(QStringLiteral("srno")));
            fillOwner(*owner);
            loadPlace(*owner);
            loadedOwnerButtons();
            labsakiya->setText(statusOf(*owner));
            return;
        }
        if (!txtguhano->text().isEmpty()) {
            const std::optional<Query> member
                = db().first(QStringLiteral("SELECT id FROM landowner WHERE srno = ?"), {Dialect::key(labno->text())});
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
                    = db().first(ownerSelect() + QStringLiteral("WHERE id = ? ORDER BY srno"), {txtid->text()})) {
                    this->owner().fill(*owner,
                        {QStringLiteral("land_owner_name"), QStringLiteral("ad1"), QStringLiteral("ad2"),
                            QStringLiteral("ad3"), QStringLiteral("ad4"), QStringLiteral("samajika_qty")});
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
            clearEntry(false);
            newOwnerMode();
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
        const RecordColumns record = owner();
        db().execute(record.insertSql({QStringLiteral("chak"), QStringLiteral("username"), QStringLiteral("date"),
                         QStringLiteral("time")}),
            record.values()
                + QVariantList {QStringLiteral("1"), session::userName(), session::dbDate(), session::dbTime()});
        clearAll();
        cmbgama->clear(); // the division stays chosen for the next owner
        lastno();
    });
}

void frmlandoner::cmdupdata_Click()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty() && txtguhano->text().isEmpty()) {
            markRed(txtid);
            return;
        }
        // The number a new owner could not be saved with is not stored by an update either; a household
        // member may still be kept without one.
        if (!txtid->text().isEmpty() && !isIdentityNumber(txtid->text())) {
            message(this, QStringLiteral("Tn we;=<;a l< cd;sl ye÷kqïm;a wxlh jerÈh"));
            return;
        }
        // Storing an owner's details always makes the owner active again.
        const RecordColumns record = owner();
        QVariantList values = record.values();
        const QStringList columns = record.columnNames();
        const auto [division, village] = placeToStore();
        values[columns.indexOf(QStringLiteral("gamiya"))] = division;
        values[columns.indexOf(QStringLiteral("gama"))] = village;
        // Written only over the owner as this screen loaded it: another workstation's change meanwhile
        // is shown, not undone.
        const bool stored = m_loaded.srno() == Dialect::key(labno->text()) && m_loaded.storeIfUnchanged([&] {
            db().execute(
                record.updateSql({QStringLiteral("chak = '1'")}), values + QVariantList {Dialect::key(labno->text())});
        });
        if (!stored) {
            message(this, kChangedElsewhere);
            reloadOwner();
            return;
        }
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
        // The check and the deactivation are one change under the lock: another workstation cannot give the
        // owner a land between them.
        bool holdsLand = false;
        db().lockedChange([&] {
            holdsLand = db().first(QStringLiteral("SELECT srno FROM land1 WHERE labn_owner_srno = ?"), {labno->text()})
                            .has_value();
            if (!holdsLand)
                db().execute(
                    QStringLiteral("UPDATE landowner SET chak = '0' WHERE srno = ?"), {Dialect::key(labno->text())});
        });
        if (holdsLand) {
            message(this,
                QStringLiteral("fuu bvñ ysñhd hgf;a il%sh bvñ we; tajd wfydais jk f;la bvñ ysñhd "
                               "wfydais l< fkdyel"));
            return;
        }
        clearAll();
        lastno();
    });
}

void frmlandoner::reloadOwner()
{
    const std::optional<Query> row
        = db().first(ownerSelect() + QStringLiteral("WHERE srno = ?"), {Dialect::key(labno->text())});
    if (!row) {
        clearAll();
        newOwnerMode();
        return;
    }
    owner().fill(*row);
    loadPlace(*row);
    labsakiya->setText(statusOf(*row));
    loadedOwnerButtons();
}

void frmlandoner::cmdselect_Click()
{
    guarded(this, [this] {
        const std::optional<Query> owner
            = db().first(ownerSelect() + QStringLiteral("WHERE srno = ?"), {Dialect::key(labno->text())});
        if (!owner)
            return;
        labsakiya->setText(statusOf(*owner));
        loadedOwnerButtons();
        // The household number stays as the clerk typed it; the member's own division and village are
        // shown, so that an update writes what the clerk sees.
        this->owner().fill(*owner,
            {QStringLiteral("id"), QStringLiteral("land_owner_name"), QStringLiteral("ad1"), QStringLiteral("ad2"),
                QStringLiteral("ad3"), QStringLiteral("ad4"), QStringLiteral("samajika_qty"), QStringLiteral("job"),
                QStringLiteral("amoun")});
        loadPlace(*owner);
    });
}

} // namespace parcelon
