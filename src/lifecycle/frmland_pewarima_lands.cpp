// The transfer and division screen's lands: loading the first land (the one divided or reduced) and the
// second (the one that receives the extent), each with its owner, the first land's decimal acres as its
// extent is typed, and the decimal acres proposed for it once the second land is known.

#include "lifecycle/frmland_pewarima.h"

#include "base/dbsession.h"
#include "base/extent.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/messages.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace parcelon {
namespace {
const QString kFirstNotFound = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kSecondNotFound = QStringLiteral("we;=<;a l< bvï wxlh jerÈh");
// The unit as the screen shows it when the first number is acres.
const QString kAcresShown = QStringLiteral("wlalr");

// A land in force by its permit number (the first of several, should a number be given twice).
std::optional<Query> landInForce(const QString &permit)
{
    return db().first(QStringLiteral("SELECT srno, balapa_no1, akkara, rut, parchase, akkara1, akkara_only, "
                                     "labn_owner_srno FROM land1 WHERE balapa_no = ? ORDER BY srno"),
        {permit});
}

// The owner's identity number, household number and name as the screen shows them, each after a blank;
// a land whose owner is gone or out of force shows empty owner fields.
void showOwner(const QString &ownerSrno, QLabel *id, QLabel *house, QLabel *name)
{
    const std::optional<Query> owner
        = db().first(QStringLiteral("SELECT id, house_no, land_owner_name FROM landowner1 WHERE srno = ?"),
            {Dialect::key(ownerSrno)});
    const QString blank = QStringLiteral(" ");
    id->setText(owner ? blank + owner->value(0) : QString());
    house->setText(owner ? blank + owner->value(1) : QString());
    name->setText(owner ? blank + owner->value(2) : QString());
}

// Shows a land's permit kind in a kind list. A kind the list does not offer is added, so the history row
// records the kind the land has.
void showKind(QComboBox *kinds, const QString &kind)
{
    int at = kinds->findText(kind);
    if (at < 0) {
        kinds->addItem(kind);
        at = kinds->count() - 1;
    }
    kinds->setCurrentIndex(at);
}

// The unit of an extent as shown: the unit text from its fifth character on.
QString shownUnit(const QString &unit) { return unit.mid(4); }

// A difference of decimal acres as a plain number: "2.25", "0.75", "1".
QString plainDecimal(double value)
{
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
} // namespace

void frmland_pewarima::fland_d()
{
    const std::optional<Query> land = landInForce(txtlandno_h->text());
    if (!land) {
        m_first.reset();
        if (!txtlandno_h->text().isEmpty()) {
            message(this, kFirstNotFound);
            txtlandno_h->clear();
            txtlandno_h->setFocus();
        }
        return;
    }
    // What the stores compare with the land as it stands when they run.
    m_first = LoadedRow(QStringLiteral("land"), Dialect::key(land->value(QStringLiteral("srno"))), *land,
        {QStringLiteral("balapa_no1"), QStringLiteral("akkara1"), QStringLiteral("akkara"), QStringLiteral("rut"),
            QStringLiteral("parchase"), QStringLiteral("akkara_only"), QStringLiteral("labn_owner_srno")});
    m_firstUnit = land->value(QStringLiteral("akkara1"));
    showKind(cmblandno_h, land->value(QStringLiteral("balapa_no1")));
    labsrno->setText(land->value(QStringLiteral("srno")));
    txtakkara_h->setText(land->value(QStringLiteral("akkara")));
    txtrud_h->setText(land->value(QStringLiteral("rut")));
    txtparchase_h->setText(land->value(QStringLiteral("parchase")));
    labakkara_h->setText(shownUnit(land->value(QStringLiteral("akkara1"))));
    tt1->setText(land->value(QStringLiteral("akkara")));
    tt2->setText(land->value(QStringLiteral("rut")));
    tt3->setText(land->value(QStringLiteral("parchase")));
    // The stored decimal acres, not those the three boxes' changes computed.
    txtakkara_only_h->setText(land->value(QStringLiteral("akkara_only")));
    txtakkara_only_old->setText(land->value(QStringLiteral("akkara_only")));
    showOwner(land->value(QStringLiteral("labn_owner_srno")), labid_h, labguha_h, lablandname_h);
    cmblandno_h->setEnabled(false);
}

void frmland_pewarima::clear_alltxt_1()
{
    for (QLabel *label : {labid_h, labguha_h, lablandname_h, tt1, tt2, tt3})
        label->clear();
    for (QLineEdit *box : {txtakkara_h, txtrud_h, txtparchase_h})
        box->clear();
    cmblandno_h->setEnabled(true);
    m_first.reset();
}

void frmland_pewarima::land2()
{
    const std::optional<Query> land = landInForce(txtlandno->text());
    if (!land) {
        if (!txtlandno->text().isEmpty()) {
            message(this, kSecondNotFound);
            txtlandno->clear();
            txtlandno->setFocus();
        }
        return;
    }
    showKind(cmblandno, land->value(QStringLiteral("balapa_no1")));
    txtakkara->setText(land->value(QStringLiteral("akkara")));
    txtrud->setText(land->value(QStringLiteral("rut")));
    txtparchase->setText(land->value(QStringLiteral("parchase")));
    labakkara->setText(shownUnit(land->value(QStringLiteral("akkara1"))));
    txtakkara_only->setText(land->value(QStringLiteral("akkara_only")));

    // With the first land loaded (its kind list is then disabled), propose what it keeps: its extent as
    // its numbers stand less the second land's decimal acres, when the second is not the larger. The
    // numbers, not the stored decimal text, which an older program left as it was after a transfer.
    if (!cmblandno_h->isEnabled()) {
        const double second = leadingNumber(txtakkara_only->text());
        const double first = leadingNumber(decimalAcres(m_firstUnit, tt1->text(), tt2->text(), tt3->text()));
        if (second <= first)
            txtakkara_only_h->setText(plainDecimal(first - second));
    }

    showOwner(land->value(QStringLiteral("labn_owner_srno")), labid, labguha, lablandname);
    cmblandno->setEnabled(false);
}

void frmland_pewarima::akkara_sawima()
{
    const QString unit = labakkara_h->text() == kAcresShown ? kAcresUnit : QString();
    txtakkara_only_h->setText(decimalAcres(unit, txtakkara_h->text(), txtrud_h->text(), txtparchase_h->text()));
}

void frmland_pewarima::txtlandno_h_Change()
{
    setBackground(txtlandno_h, colours::valueLabel);
    clear_alltxt_1();
}

void frmland_pewarima::txtlandno_h_Enter()
{
    guarded(this, [this] {
        fland_d();
        // A number not found stays for the clerk to type again.
        if (txtlandno_h->text().isEmpty())
            return;
        if (optland_behera->isChecked())
            cmbrajaya->setFocus();
        else
            txtlandno->setFocus();
    });
}

void frmland_pewarima::txtlandno_h_LostFocus()
{
    guarded(this, [this] { fland_d(); });
}

void frmland_pewarima::txtlandno_Change() { setBackground(txtlandno, colours::valueLabel); }

void frmland_pewarima::txtlandno_Enter()
{
    guarded(this, [this] {
        land2();
        if (!txtlandno->text().isEmpty())
            cmdok->setFocus();
    });
}

void frmland_pewarima::txtlandno_LostFocus()
{
    guarded(this, [this] { land2(); });
}

} // namespace parcelon
