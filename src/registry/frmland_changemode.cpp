// The land register's change mode: switching modes, loading a stored land by its number with its
// owner, storing the changed fields (which makes the land active again) and deactivating it. A land is
// never removed: deleting marks it inactive.

#include "registry/frmland.h"

#include "base/dbsession.h"
#include "base/extent.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/messages.h"
#include "ui/record.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

namespace parcelon {
namespace {
// The caption cycle: "fjkia lsÍu" at load, "kj" in change mode, "fjkia lsrsu" back in new mode.
const QString kToNew = QStringLiteral("kj");
const QString kBackToChange = QStringLiteral("fjkia lsrsu");
const QString kPortion = QStringLiteral("1- Tõ");
const QString kBoundariesRecorded = QStringLiteral("igyka lr we;");

// Besides the fields the screen shows: what another change (a transfer, a succession, a permit change,
// a deletion) writes, so that an update made from an older load cannot undo it.
const QStringList kLoadedAlso = {QStringLiteral("labn_owner_srno"), QStringLiteral("balapa_no1"),
    QStringLiteral("balapa_no"), QStringLiteral("land_data"), QStringLiteral("pewarima"), QStringLiteral("chack")};

// Shows a stored value. A drop-down list shows the entry with that text, or none when the list has no
// such entry; choosing the entry runs the list's Click, as a clerk's choice does.
void showStored(QWidget *control, const QString &text)
{
    auto *list = qobject_cast<QComboBox *>(control);
    if (list && !list->isEditable()) {
        list->setCurrentIndex(-1);
        list->setCurrentIndex(list->findText(text));
        return;
    }
    setControlText(control, text);
}
} // namespace

void frmland::wireChange()
{
    connect(cmdedit, &QPushButton::clicked, this, &frmland::cmdedit_Click);
    // labno turns violet on focus with the other fields (frmland.cpp).
    Events::of(labno).lostFocus([this] { labno_LostFocus(); });
    connect(cmdupdate, &QPushButton::clicked, this, &frmland::cmdupdate_Click);
    connect(cmddeleter, &QPushButton::clicked, this, &frmland::cmddeleter_Click);
}

void frmland::cmdedit_Click()
{
    guarded(this, [this] {
        // The other mode starts from an empty form: nothing loaded, no boundaries held for a new land.
        m_loaded.reset();
        m_boundaries = {};
        if (inChangeMode()) {
            cmdedit->setText(kBackToChange);
            labno->setEnabled(false);
            markNormal(labno, colours::shownNumber);
            fno();
            home_mumant();
        } else {
            cmdedit->setText(kToNew);
            labno->setEnabled(true);
            markNormal(labno);
            labno->clear();
        }
        const bool change = inChangeMode();
        for (QWidget *w : {cmdfind, cmdnew, cmdenter})
            w->setEnabled(!change);
        for (QWidget *w : {cmdupdate, cmddeleter})
            w->setEnabled(change);
        if (!change)
            markNormal(txtlandno);
        for (QWidget *w : std::initializer_list<QWidget *> {txtguhano, txtlandno, txtid, cmblandno})
            w->setEnabled(!change);
    });
}

void frmland::labno_LostFocus()
{
    guarded(this, [this] {
        markNormal(labno);
        if (labno->text().isEmpty())
            return;
        const RecordColumns record = landRecord();
        const std::optional<Query> land = db().first(
            record.selectSql(kLoadedAlso) + QStringLiteral("WHERE srno = ?"), {Dialect::key(labno->text())});
        m_loaded.reset();
        if (!land) {
            for (QWidget *w : {cmdenter, cmdupdate, cmddeleter})
                w->setEnabled(false);
            markRed(labno);
            return;
        }
        m_loaded
            = LoadedRow(QStringLiteral("land"), Dialect::key(labno->text()), *land, record.columnNames() + kLoadedAlso);
        showLand(*land);
        for (QWidget *w : {cmdupdate, cmddeleter})
            w->setEnabled(true);
        for (QWidget *w :
            std::initializer_list<QWidget *> {cmdenter, txtid, cmdfind, cmdnew, txtguhano, txtlandno, cmblandno})
            w->setEnabled(false);
    });
}

void frmland::showLand(const Query &land)
{
    // The owner as the active owners' register has him now; an owner no longer active leaves the
    // owner's fields empty. The owner number shown stays as it was.
    const std::optional<Query> owner
        = db().first(QStringLiteral("SELECT id, house_no, land_owner_name FROM landowner1 WHERE srno = ?"),
            {Dialect::key(land.value(QStringLiteral("labn_owner_srno")))});
    txtid->setText(owner ? owner->value(QStringLiteral("id")) : QString());
    txtguhano->setText(owner ? owner->value(QStringLiteral("house_no")) : QString());
    labname->setText(owner ? owner->value(QStringLiteral("land_owner_name")) : QString());

    // In this order: the permit kind's Click empties or generates a number and may change the kind of
    // ownership, and both are then shown as stored; the unit comes before the three numbers, whose
    // changes recompute the decimal acres with it (the stored decimal acres are not shown).
    const std::pair<const char *, QWidget *> fields[] = {{"balapa_no1", cmblandno}, {"balapa_no", txtlandno},
        {"addre", txtadd}, {"loan_sbawaya", cmbland_sabawaya}, {"katti", txtkatti}, {"akkara1", cmbakkara},
        {"akkara", txtakkara}, {"rut", txtrud}, {"parchase", txtparchase}, {"aythiye_sbawaya", cmbaythiy_sbawaya},
        {"land_data", mkbalapath_date}, {"wewe_name", txtwawa}, {"othe_land", cmbothland}, {"p_name", txtpasuaythiya},
        {"p_naya", cmbpasuaythiya}, {"kottashaya", txtkottasaya}, {"gama", cmbgama}};
    for (const auto &[column, control] : fields) {
        const QString value = land.value(QString::fromLatin1(column));
        // A land stored with the relationship list's last entry shows it; only the clerk's pick of it opens
        // the relationship screen.
        const QSignalBlocker quiet(control == cmbpasuaythiya ? control : nullptr);
        showStored(control, control == mkbalapath_date ? shownPermitDate(value) : value);
    }

    const bool recorded
        = db().first(QStringLiteral("SELECT srno FROM hathara_maym WHERE landno = ?"), {txtlandno->text()}).has_value();
    labsathara->setText(recorded ? kBoundariesRecorded : QString());
}

bool frmland::storeLoaded(const QString &sql, const QVariantList &values)
{
    // The land is written only while it still holds what this screen loaded, and only the land loaded:
    // the number in labno is the one the fields came from. An empty labno matches no land.
    if (labno->text().isEmpty())
        return false;
    if (!m_loaded.isSet() || m_loaded.srno() != Dialect::key(labno->text())) {
        labno_LostFocus();
        return false;
    }
    const bool stored = m_loaded.storeIfUnchanged([&] { db().execute(sql, values); });
    if (!stored) {
        message(this, kChangedElsewhere);
        labno_LostFocus(); // the land as it now stands
    }
    return stored;
}

void frmland::cmdupdate_Click()
{
    guarded(this, [this] {
        // Storing a land's fields always makes it active again; its status text stays as it was.
        const RecordColumns record = landRecord();
        if (!storeLoaded(record.updateSql({QStringLiteral("land_data"), QStringLiteral("chack = '1'")}),
                record.values() + QVariantList {permitDate(), Dialect::key(labno->text())}))
            return;
        m_loaded.reset();
        if (cmbothland->currentText() == kPortion)
            openTransferForPortion();
        home_mumant();
        labno->clear();
    });
}

void frmland::cmddeleter_Click()
{
    guarded(this, [this] {
        if (labno->text().isEmpty())
            return;
        if (!storeLoaded(QStringLiteral("UPDATE land SET chack = '0', pewarima = 'wl%sh' WHERE srno = ?"),
                {Dialect::key(labno->text())}))
            return;
        // The number stays in labno and delete may be pressed again; the emptied fields are not stored
        // over the land, so update waits for a land to be loaded.
        labno_LostFocus();
        home_mumant();
        cmdupdate->setEnabled(false);
    });
}

} // namespace parcelon
