// The transfer and division screen's stores and its next history number.
//
// Each store is one change under the register's lock: the first land is read again there (still in force,
// its extent as stored now), and a transfer reads the second land's decimal acres again too, because
// another workstation may have changed either since the screen loaded them. The refusals are decided on
// those values, the history row records the extent as stored when the change runs, and the land's update
// and the history row are written together or not at all.

#include "lifecycle/frmland_pewarima.h"

#include "base/dbsession.h"
#include "base/extent.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <optional>

namespace parcelon {
namespace {
const QString kFirstNotFound = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kSecondNotFound = QStringLiteral("we;=<;a l< bvï wxlh jerÈh");
const QString kChangeExtent = QStringLiteral("bvfñ m%udKh fjkia lrkak");
const QString kNoReason = QStringLiteral("ke;a");

const QString kHistory
    = QStringLiteral("INSERT INTO land_pewarima (land_srno, land_no1, land_no, land_behera_wargaya, land_hethuwa, "
                     "land_a, land_r, land_p, land_no_2, land_no_2_1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

// The first land as stored now: still in force under the number the screen shows.
std::optional<Query> firstLandNow(const QString &srno, const QString &permit)
{
    return db().first(
        QStringLiteral("SELECT akkara, rut, parchase, akkara_only FROM land1 WHERE srno = ? AND balapa_no = ?"),
        {Dialect::key(srno), permit});
}
} // namespace

void frmland_pewarima::lastno() { lablandno->setText(db().recordNumber(QStringLiteral("land_pewarima"))); }

frmland_pewarima::Outcome frmland_pewarima::storeTransfer()
{
    Outcome outcome = Outcome::Stored;
    db().lockedChange([&] {
        const std::optional<Query> first = firstLandNow(labsrno->text(), txtlandno_h->text());
        if (!first) {
            outcome = Outcome::FirstGone;
            return;
        }
        const std::optional<Query> second = db().first(
            QStringLiteral("SELECT akkara_only FROM land1 WHERE balapa_no = ? ORDER BY srno"), {txtlandno->text()});
        if (!second) {
            outcome = Outcome::SecondGone;
            return;
        }
        // The second land may not be larger than the first, and the first land's extent has to change.
        const double stored = leadingNumber(first->value(QStringLiteral("akkara_only")));
        if (leadingNumber(second->value(0)) > stored || leadingNumber(txtakkara_only_h->text()) == stored) {
            outcome = Outcome::ExtentMustChange;
            return;
        }
        db().execute(QStringLiteral("UPDATE land SET akkara = ?, rut = ?, parchase = ? WHERE srno = ?"),
            {txtakkara_h->text(), txtrud_h->text(), txtparchase_h->text(), Dialect::key(labsrno->text())});
        db().execute(kHistory,
            {labsrno->text(), cmblandno_h->currentText(), txtlandno_h->text(), optland_pewarima->text(), kNoReason,
                first->value(QStringLiteral("akkara")), first->value(QStringLiteral("rut")),
                first->value(QStringLiteral("parchase")), txtlandno->text(), cmblandno->currentText()});
    });
    return outcome;
}

frmland_pewarima::Outcome frmland_pewarima::storeDivision()
{
    Outcome outcome = Outcome::Stored;
    const QString reason = cmbrajaya->currentText();
    db().lockedChange([&] {
        const std::optional<Query> first = firstLandNow(labsrno->text(), txtlandno_h->text());
        if (!first) {
            outcome = Outcome::FirstGone;
            return;
        }
        db().execute(QStringLiteral("UPDATE land SET chack = '0', pewarima = ? WHERE srno = ?"),
            {reason, Dialect::key(labsrno->text())});
        db().execute(kHistory,
            {labsrno->text(), cmblandno_h->currentText(), txtlandno_h->text(), optland_behera->text(), reason,
                first->value(QStringLiteral("akkara")), first->value(QStringLiteral("rut")),
                first->value(QStringLiteral("parchase")), QStringLiteral("0"), cmblandno->currentText()});
    });
    return outcome;
}

void frmland_pewarima::refused(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Stored:
        return;
    case Outcome::FirstGone:
        // Divided, deleted or renumbered since it was loaded: the clerk finds it again.
        message(this, kFirstNotFound);
        txtlandno_h->clear();
        txtlandno_h->setFocus();
        return;
    case Outcome::SecondGone:
        message(this, kSecondNotFound);
        txtlandno->clear();
        txtlandno->setFocus();
        return;
    case Outcome::ExtentMustChange:
        message(this, kChangeExtent);
        return;
    }
}

void frmland_pewarima::cmdok_Click()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty()) {
            markRed(txtlandno);
            return;
        }
        if (txtlandno_h->text().isEmpty()) {
            markRed(txtlandno_h);
            return;
        }
        const Outcome outcome = storeTransfer();
        if (outcome != Outcome::Stored) {
            refused(outcome);
            return;
        }
        // Ready for the next land; the roods' and perches' captions stay.
        txtlandno_h->clear();
        for (QLabel *label :
            {labid_h, labguha_h, lablandname_h, labakkara_h, tt1, tt2, tt3, labid, labguha, lablandname, labakkara})
            label->clear();
        txtakkara_only_h->clear();
        txtakkara_only_old->clear();
        txtlandno->clear();
        lastno();
    });
}

void frmland_pewarima::cmdenter_Click()
{
    guarded(this, [this] {
        if (txtlandno_h->text().isEmpty()) {
            markRed(txtlandno_h);
            return;
        }
        // Only the answer to this question counts, never one given to an earlier division.
        labcha->clear();
        frmmessage_y question(this);
        question.labmessage_y->setText(cmblandno_h->currentText() + QStringLiteral("& ") + txtlandno_h->text()
            + QStringLiteral(" jk bvï n,m;% wxlh ") + cmbrajaya->currentText()
            + QStringLiteral("' jk w;r bvñ n,m;% wxlh wfydis fú'Tn tlÕ o@   "));
        question.labcc->setText(QStringLiteral("1"));
        question.exec();
        if (labcha->text() != QLatin1String("1"))
            return;
        const Outcome outcome = storeDivision();
        if (outcome != Outcome::Stored) {
            refused(outcome);
            return;
        }
        txtlandno_h->clear();
        clear_alltxt_1();
        lastno();
    });
}

} // namespace parcelon
