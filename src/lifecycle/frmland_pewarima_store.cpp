// The transfer and division screen's stores and its next history number.
//
// Each store is one change under the register's lock: the first land is read again there (still in force,
// and still as the screen loaded it: another workstation's transfer meanwhile would otherwise be undone by
// the numbers this clerk typed against the old extent), and a transfer reads the second land's decimal
// acres again too. The refusals are decided on the first land's extent as its stored numbers give it, the
// land's decimal acres are recomputed from the numbers it keeps, and the land's update and the history row
// are written together or not at all.

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

#include <QRegularExpression>

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
        QStringLiteral("SELECT akkara1, akkara, rut, parchase FROM land1 WHERE srno = ? AND balapa_no = ?"),
        {Dialect::key(srno), permit});
}

// The decimal acres of a land's stored extent.
QString storedAcres(const Query &land)
{
    return decimalAcres(land.value(QStringLiteral("akkara1")), land.value(QStringLiteral("akkara")),
        land.value(QStringLiteral("rut")), land.value(QStringLiteral("parchase")));
}

// An extent number as the clerk may give it: digits with at most one decimal point, or nothing (0).
bool plainNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([0-9]+\\.?[0-9]*|\\.[0-9]+)?\\s*$"));
    return number.match(text).hasMatch();
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
        if (!m_first.unchanged()) {
            outcome = Outcome::FirstChanged;
            return;
        }
        const std::optional<Query> second = db().first(
            QStringLiteral("SELECT akkara_only FROM land1 WHERE balapa_no = ? ORDER BY srno"), {txtlandno->text()});
        if (!second) {
            outcome = Outcome::SecondGone;
            return;
        }
        // The first land keeps what the clerk typed, in its own unit: plain numbers, less than it holds
        // now (its extent has to change and may not grow), and the second land may not be larger than it.
        const QString unit = first->value(QStringLiteral("akkara1"));
        const QString now = storedAcres(*first);
        const QString kept = decimalAcres(unit, txtakkara_h->text(), txtrud_h->text(), txtparchase_h->text());
        const bool numbers
            = plainNumber(txtakkara_h->text()) && plainNumber(txtrud_h->text()) && plainNumber(txtparchase_h->text());
        if (!numbers || kept == now || leadingNumber(kept) > leadingNumber(now)
            || leadingNumber(second->value(0)) > leadingNumber(now)) {
            outcome = Outcome::ExtentMustChange;
            return;
        }
        db().execute(
            QStringLiteral("UPDATE land SET akkara = ?, rut = ?, parchase = ?, akkara_only = ? WHERE srno = ?"),
            {txtakkara_h->text(), txtrud_h->text(), txtparchase_h->text(), kept, Dialect::key(labsrno->text())});
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
        if (!m_first.unchanged()) {
            outcome = Outcome::FirstChanged;
            return;
        }
        // The land leaves force with its decimal acres as its numbers give them.
        db().execute(QStringLiteral("UPDATE land SET chack = '0', pewarima = ?, akkara_only = ? WHERE srno = ?"),
            {reason, storedAcres(*first), Dialect::key(labsrno->text())});
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
    case Outcome::FirstChanged:
        // Another workstation stored a change of the land since it was loaded: it is shown as it stands.
        message(this, kChangedElsewhere);
        fland_d();
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
