// The land register's new land: the kinds of permit number and the numbers generated for lands without
// one, the permit-number check, the extent in decimal acres, and the save with its boundary link.

#include "registry/frmland.h"

#include "base/dbsession.h"
#include "base/extent.h"
#include "base/home.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/messages.h"
#include "ui/record.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
const QString kUnnumbered = QStringLiteral("wkjir bvï");
const QString kAnnualPermit = QStringLiteral("wjirm;% wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kAnnualOwnership = QStringLiteral("2- wjir m;%");
const QString kGrantOwnership = QStringLiteral("1- Èukd m;%");
const QString kPortion = QStringLiteral("1- Tõ");
const QString kActive = QStringLiteral("il%sh");

const QString kNumberTaken = QStringLiteral("fuu bvñ wxlh óg fmr we;=<;a lr we;");
const QString kNoVillage = QStringLiteral(".%du ks,Odrs jiu wod, .u f;drkak");
const QString kReducePortion = QStringLiteral("fuu bvu fjk;a bvul fldgila neúka uq,a bvfñ m%udKh wvq lrkak");

// A land without a permit number of its own is known by its land number: the number it is expected to
// receive before it is saved.
QString generatedNumber(qlonglong srno) { return QStringLiteral("w -") + QLatin1Char(' ') + QString::number(srno); }

QString generatedNumber()
{
    const QString highest = db().scalar(QStringLiteral("SELECT MAX(srno) FROM land"));
    return generatedNumber(highest.isEmpty() ? 1 : highest.toLongLong() + 1);
}

// Whether any land, active or not, already has the permit number (blanks around it do not count).
bool permitNumberTaken(const QString &number)
{
    QString trimmed = number;
    while (trimmed.startsWith(QLatin1Char(' ')))
        trimmed.remove(0, 1);
    while (trimmed.endsWith(QLatin1Char(' ')))
        trimmed.chop(1);
    return db().first(QStringLiteral("SELECT srno FROM land WHERE balapa_no = ?"), {trimmed}).has_value();
}
} // namespace

RecordColumns frmland::landRecord() const
{
    // The land's columns the clerk fills and a change-mode update writes, in the order a stored land is
    // shown. The owner's number and the permit number are written by the save only; the permit date is
    // stored formatted (permitDate).
    return RecordColumns(QStringLiteral("land"),
        {{"id", txtid}, {"guhasth", txtguhano}, {"addre", txtadd}, {"loan_sbawaya", cmbland_sabawaya},
            {"katti", txtkatti}, {"akkara1", cmbakkara}, {"akkara", txtakkara}, {"rut", txtrud},
            {"parchase", txtparchase}, {"aythiye_sbawaya", cmbaythiy_sbawaya}, {"wewe_name", txtwawa},
            {"othe_land", cmbothland}, {"p_name", txtpasuaythiya}, {"p_naya", cmbpasuaythiya},
            {"kottashaya", txtkottasaya}, {"gama", cmbgama}, {"akkara_only", txtakkara_only}});
}

void frmland::wireSave()
{
    comboClick(cmblandno, [this] { cmblandno_Click(); });
    connect(txtlandno, &QLineEdit::textChanged, this, &frmland::txtlandno_Change);
    Events::of(txtlandno).lostFocus([this] { txtlandno_LostFocus(); }).enter([this] { txtadd->setFocus(); });
    // Only the three numbers recompute the decimal acres; a change of unit alone leaves them.
    for (QLineEdit *box : {txtakkara, txtrud, txtparchase}) {
        connect(box, &QLineEdit::textChanged, this, &frmland::fakkara);
        Events::of(box).lostFocus([box] { markNormal(box); });
    }
    Events::of(txtrud).enter([this] { txtparchase->setFocus(); });
    Events::of(txtparchase).enter([this] { cmbaythiy_sbawaya->setFocus(); });
    connect(txtakkara_only, &QLineEdit::textChanged, this, [this] { markNormal(txtakkara_only); });
    connect(cmdenter, &QPushButton::clicked, this, &frmland::cmdenter_Click);
}

void frmland::cmblandno_Click()
{
    guarded(this, [this] {
        const QString kind = cmblandno->currentText();
        if (kind == kUnnumbered) {
            txtlandno->setEnabled(false);
            txtlandno->setText(generatedNumber());
            txtadd->setFocus();
            return;
        }
        if (kind == kAnnualPermit)
            cmbaythiy_sbawaya->setCurrentIndex(cmbaythiy_sbawaya->findText(kAnnualOwnership));
        else if (kind == kGrant)
            cmbaythiy_sbawaya->setCurrentIndex(cmbaythiy_sbawaya->findText(kGrantOwnership));
        if (!inChangeMode())
            txtlandno->setEnabled(true);
        txtlandno->clear();
    });
}

void frmland::txtlandno_Change() { cmdsathara->setEnabled(!txtlandno->text().isEmpty()); }

void frmland::txtlandno_LostFocus()
{
    guarded(this, [this] {
        markNormal(txtlandno);
        if (txtlandno->text().isEmpty())
            return;
        if (permitNumberTaken(txtlandno->text())) {
            message(this, kNumberTaken);
            txtlandno->clear();
            txtlandno->setFocus();
        }
    });
}

void frmland::fakkara()
{
    txtakkara_only->setText(
        decimalAcres(cmbakkara->currentText(), txtakkara->text(), txtrud->text(), txtparchase->text()));
}

QString frmland::permitDate() const { return storedPermitDate(mkbalapath_date->text()); }

bool frmland::saveLand()
{
    // One change under the register's lock: the permit number is checked again and a generated number
    // made again inside it (another workstation may have saved a land since this screen showed its
    // numbers). The boundaries typed for this land are written with it, under the srno the land really
    // received, which need not be the number labno showed; a generated number names that srno too.
    const RecordColumns record = landRecord();
    const bool generated = cmblandno->currentText() == kUnnumbered;
    QString number = txtlandno->text();
    bool saved = false;
    db().lockedChange([&] {
        if (generated)
            number = generatedNumber();
        if (permitNumberTaken(number))
            return;
        const QVariantList values = record.values()
            + QVariantList {labsrno_customr->text(), cmblandno->currentText(), number, kActive, QStringLiteral("0"),
                QStringLiteral("1"), permitDate(), session::userName(), session::dbDate(), session::dbTime()};
        const qlonglong srno = db().insert(QStringLiteral("land"),
            record.insertSql({QStringLiteral("labn_owner_srno"), QStringLiteral("balapa_no1"),
                QStringLiteral("balapa_no"), QStringLiteral("pewarima"), QStringLiteral("chack1"),
                QStringLiteral("chack"), QStringLiteral("land_data"), QStringLiteral("username"),
                QStringLiteral("date"), QStringLiteral("time")}),
            values);
        // The database's numbering may have moved past the highest land (a change rolled back on
        // PostgreSQL uses up its number): a generated number follows the number the land received.
        if (generated && generatedNumber(srno) != number && !permitNumberTaken(generatedNumber(srno))) {
            number = generatedNumber(srno);
            db().execute(QStringLiteral("UPDATE land SET balapa_no = ? WHERE srno = ?"), {number, srno});
        }
        if (m_boundaries.held)
            db().execute(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, "
                                        "batahira, naganahira) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                {QString::number(srno), cmblandno->currentText(), number, m_boundaries.dakuna, m_boundaries.uthuru,
                    m_boundaries.batahira, m_boundaries.naganahira});
        saved = true;
    });
    if (saved)
        m_boundaries = {};
    if (saved && number != txtlandno->text())
        txtlandno->setText(number);
    return saved;
}

void frmland::cmdenter_Click()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty())
            return;
        if (txtakkara_only->text().isEmpty()) {
            markRed(txtakkara_only);
            return;
        }
        if (cmbgama->currentText().isEmpty()) {
            message(this, kNoVillage);
            return;
        }
        if (!saveLand()) {
            // Another workstation saved a land with this permit number since the box was left.
            message(this, kNumberTaken);
            txtlandno->clear();
            txtlandno->setFocus();
            return;
        }
        fno();
        if (cmbothland->currentText() == kPortion)
            openTransferForPortion();
        home_mumant();
        cmbgama->clear();
        txtlandno->setFocus();
    });
}

void frmland::openTransferForPortion()
{
    // A land carved out of another: the clerk reduces the other land's extent on the transfer screen,
    // opened in transfer mode with this land's permit number as its second land.
    message(this, kReducePortion);
    const QString number = txtlandno->text();
    Screens::open(ScreenId::frmland_pewarima, this,
        [number](QDialog *screen) { HandBack(screen).press("optland_pewarima").set("txtlandno", number); });
}

} // namespace parcelon
