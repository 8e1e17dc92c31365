#include "lifecycle/frmland_change.h"

#include "base/dbsession.h"
#include "base/home.h"
#include "base/landvalues.h"
#include "base/permissions.h"
#include "lifecycle/landregister.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>

namespace parcelon {
namespace {
constexpr int kWidth = 9600;
constexpr int kHeight = 7560;
constexpr int kCaptionLeft = 240;
constexpr int kCaptionWidth = 2700;
constexpr int kValueLeft = 3060;
constexpr int kValueWidth = 6300;
constexpr int kRowHeight = 375;
constexpr int kRowStep = 420;
constexpr int kFirstRow = 2580;

const QString kNumberTaken = QStringLiteral("fuu bvñ wxlh óg fmr we;=<;a lr we;");
const QString kNoSuchLand = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");

// The history row is the land row as it stands inside the change, column by column; the history table
// spells katti with three t and keeps the land's srno as text.
const QString kCopyToHistory = QStringLiteral(
    "INSERT INTO land_pera (land_srno, id, guhasth, labn_owner_srno, balapa_no1, balapa_no, addre, loan_sbawaya, "
    "kattti, akkara1, akkara, rut, parchase, aythiye_sbawaya, akkara_only, wewe_name, othe_land, chack1, pewarima, "
    "chack, land_data, kottashaya, gama, p_name, p_naya) "
    "SELECT CAST(srno AS VARCHAR(20)), id, guhasth, labn_owner_srno, balapa_no1, balapa_no, addre, loan_sbawaya, "
    "katti, akkara1, akkara, rut, parchase, aythiye_sbawaya, akkara_only, wewe_name, othe_land, chack1, pewarima, "
    "chack, land_data, kottashaya, gama, p_name, p_naya FROM land WHERE srno = ?");

// Blanks around a permit number do not make another number.
QString trimmedNumber(const QString &typed) { return typed.trimmed(); }

// Whether an active land has the permit number.
bool numberTaken(const QString &number)
{
    return db()
        .first(QStringLiteral("SELECT srno FROM land1 WHERE balapa_no = ?"), {trimmedNumber(number)})
        .has_value();
}

void showValue(QLabel *label, const QString &value) { label->setText(QLatin1Char(' ') + value); }
} // namespace

frmland_change::frmland_change(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    build();
    wire();
    Form_Load();
}

void frmland_change::build()
{
    setObjectName(QStringLiteral("frmland_change"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labhname = captionLabel(this, "labhname", QStringLiteral("bvfñ n,m;%h fjkia lsßu"), {0, 0, kWidth, 600});
    labhname->setFont(parasFont(18));
    labhname->setAlignment(Qt::AlignCenter);
    titleBand(labhname);

    // The old permit over the new one: kind, number, and the search beside the old number.
    Label1 = captionLabel(this, "Label1", QStringLiteral("merKs n,m;% wxlh"), {240, 780, 4000, 300});
    cmblandno = dropDown(this, "cmblandno", {240, 1110, 3600, kRowHeight});
    txtlandno1 = textBox(this, "txtlandno1", {3960, 1110, 2800, kRowHeight});
    cmdfind = button(this, "cmdfind", QStringLiteral("f;drd"), {6960, 1090, 1400, 420});
    Label2 = captionLabel(this, "Label2", QStringLiteral("kj n,m;% wxlh"), {240, 1620, 4000, 300});
    cmblandno1 = dropDown(this, "cmblandno1", {240, 1950, 3600, kRowHeight});
    txtlandno = textBox(this, "txtlandno", {3960, 1950, 2800, kRowHeight});

    // The land as loaded, one caption and value a row.
    int row = 0;
    auto pair = [this, &row](const char *captionName, const QString &caption, const char *valueName) {
        const int top = kFirstRow + row++ * kRowStep;
        QLabel *c = captionLabel(this, captionName, caption, {kCaptionLeft, top, kCaptionWidth, kRowHeight});
        QLabel *v = valueLabel(this, valueName, {kValueLeft, top, kValueWidth, kRowHeight});
        return std::pair {c, v};
    };
    std::tie(labno1, labno) = pair("labno1", QStringLiteral(" wkq wxlh"), "labno");
    std::tie(labid1, labid) = pair("labid1", QStringLiteral(" cd ye wxlh"), "labid");
    std::tie(labname1, labname) = pair("labname1", QStringLiteral(" ku"), "labname");
    std::tie(labguhano1, labguhano) = pair("labguhano1", QStringLiteral(" .Dy uq,sl wxlh"), "labguhano");
    std::tie(labland_sbawaya1, labland_sabawaya)
        = pair("labland_sbawaya1", QStringLiteral(" bvfñ iajNdjh"), "labland_sabawaya");
    std::tie(labaythiye_sbawaya1, labaythiye_sabawaya)
        = pair("labaythiye_sbawaya1", QStringLiteral(" whs;sfha iajNdj"), "labaythiye_sabawaya");
    std::tie(labuthura1, labuthura) = pair("labuthura1", QStringLiteral("W;=r     (-"), "labuthura");
    std::tie(labdakuna1, labdakuna) = pair("labdakuna1", QStringLiteral("ol=K     (-"), "labdakuna");
    std::tie(Label5, labbatahira) = pair("Label5", QStringLiteral("ngysr    (-"), "labbatahira");
    std::tie(Label6, labnaganahira) = pair("Label6", QStringLiteral("kef.kysr  (-"), "labnaganahira");

    cmdenter = button(this, "cmdenter", QStringLiteral("fjkia lsßu"), {5760, 6900, 1700, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {7660, 6900, 1700, 420});

    setTabOrder(txtlandno1, txtlandno);
    setTabOrder(txtlandno, cmblandno1);
    setTabOrder(cmblandno1, cmdenter);
    setTabOrder(cmdenter, cmdexit);
    setTabOrder(cmdexit, cmdfind);
    setTabOrder(cmdfind, cmblandno);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {{"Label1", "txtlandno1"}, {"Label2", "txtlandno"}});
}

void frmland_change::wire()
{
    Events::of(txtlandno1).lostFocus([this] { txtlandno1_LostFocus(); });
    Events::of(txtlandno).lostFocus([this] { txtlandno_LostFocus(); });
    // A box marked red as left empty turns back once the clerk types into it.
    connect(txtlandno1, &QLineEdit::textChanged, this, [this] { markNormal(txtlandno1); });
    connect(txtlandno, &QLineEdit::textChanged, this, [this] { markNormal(txtlandno); });
    connect(cmdfind, &QPushButton::clicked, this, &frmland_change::cmdfind_Click);
    connect(cmdenter, &QPushButton::clicked, this, &frmland_change::cmdenter_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland_change::cmdexit_Click);
}

void frmland_change::Form_Load()
{
    center_form(this);
    cmblandno->addItems(permitKinds());
    cmblandno1->addItems(permitKinds());
    cmblandno->setCurrentIndex(0);
    cmblandno1->setCurrentIndex(0);
    txtlandno1->setFocus();
    guarded(this, [this] {
        // A user who may only look at lands cannot change a permit.
        if (permissionLevel(session::userSrno(), Flag::PermitChange) == ViewOnly)
            cmdenter->setEnabled(false);
    });
}

void frmland_change::txtlandno1_LostFocus()
{
    guarded(this, [this] {
        // An old number no active land has leaves the land loaded before on the screen.
        const std::optional<Query> land = db().first(
            QStringLiteral("SELECT srno, id, guhasth, balapa_no, balapa_no1, loan_sbawaya, aythiye_sbawaya, "
                           "labn_owner_srno FROM land1 WHERE balapa_no = ? ORDER BY srno"),
            {txtlandno1->text()});
        if (!land)
            return;
        const std::optional<Query> owner
            = db().first(QStringLiteral("SELECT land_owner_name FROM landowner WHERE srno = ?"),
                {Dialect::key(land->value(QStringLiteral("labn_owner_srno")))});
        showValue(labname, owner ? owner->value(0) : QString());
        const std::optional<Query> sides
            = db().first(QStringLiteral("SELECT uthuru, dakuna, batahira, naganahira FROM hathara_maym "
                                        "WHERE landno = ? ORDER BY srno"),
                {land->value(QStringLiteral("balapa_no"))});
        if (sides) {
            showValue(labuthura, sides->value(0));
            showValue(labdakuna, sides->value(1));
            showValue(labbatahira, sides->value(2));
            showValue(labnaganahira, sides->value(3));
        }
        labno->setText(land->value(QStringLiteral("srno")));
        showValue(labid, land->value(QStringLiteral("id")));
        showValue(labguhano, land->value(QStringLiteral("guhasth")));
        cmblandno->setCurrentText(land->value(QStringLiteral("balapa_no1")));
        showValue(labland_sabawaya, land->value(QStringLiteral("loan_sbawaya")));
        showValue(labaythiye_sabawaya, land->value(QStringLiteral("aythiye_sbawaya")));
    });
}

void frmland_change::txtlandno_LostFocus()
{
    guarded(this, [this] {
        if (trimmedNumber(txtlandno->text()).isEmpty() || !numberTaken(txtlandno->text()))
            return;
        message(this, kNumberTaken);
        txtlandno->clear();
        txtlandno->setFocus();
    });
}

void frmland_change::cmdfind_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmland_search, this,
            [](QDialog *search) { HandBack(search).set("labch", QStringLiteral("1")); });
    });
}

frmland_change::Stored frmland_change::storeChange(
    const QString &oldNumber, const QString &newNumber, const QString &newKind)
{
    // Everything checked before is checked again under the lock: another workstation may have changed
    // this land or given the new number to another land since the boxes were left. An active land
    // with the old number goes before a retired one that kept the same number.
    Stored stored = Stored::Done;
    db().lockedChange([&] {
        const std::optional<Query> land = db().first(
            QStringLiteral(
                "SELECT srno FROM land WHERE balapa_no = ? ORDER BY CASE WHEN chack = '1' THEN 0 ELSE 1 END, srno"),
            {oldNumber});
        if (!land) {
            stored = Stored::NoLand;
            return;
        }
        if (numberTaken(newNumber)) {
            stored = Stored::NumberTaken;
            return;
        }
        const QVariant srno = Dialect::key(land->value(0));
        db().execute(kCopyToHistory, {srno});
        db().execute(QStringLiteral("UPDATE hathara_maym SET landno = ? WHERE landno = ?"), {newNumber, oldNumber});
        db().execute(
            QStringLiteral("UPDATE land SET balapa_no = ?, balapa_no1 = ? WHERE srno = ?"), {newNumber, newKind, srno});
    });
    return stored;
}

void frmland_change::cmdenter_Click()
{
    guarded(this, [this] {
        if (!db().isOpen())
            db().connect_db();
        const bool noOld = txtlandno1->text().isEmpty();
        const bool noNew = trimmedNumber(txtlandno->text()).isEmpty();
        if (noOld)
            markRed(txtlandno1);
        if (noNew)
            markRed(txtlandno);
        if (noOld || noNew)
            return;
        switch (storeChange(txtlandno1->text(), txtlandno->text(), cmblandno1->currentText())) {
        case Stored::Done:
            clearScreen();
            txtlandno1->setFocus();
            break;
        case Stored::NoLand:
            // Another workstation changed the land's number since it was loaded.
            message(this, kNoSuchLand);
            txtlandno1->clear();
            txtlandno1->setFocus();
            break;
        case Stored::NumberTaken:
            message(this, kNumberTaken);
            txtlandno->clear();
            txtlandno->setFocus();
            break;
        }
    });
}

void frmland_change::clearScreen()
{
    txtlandno1->clear();
    txtlandno->clear();
    for (QLabel *value : {labno, labid, labname, labguhano, labland_sabawaya, labaythiye_sabawaya, labuthura, labdakuna,
             labbatahira, labnaganahira})
        value->clear();
}

void frmland_change::cmdexit_Click()
{
    guarded(this, [this] {
        m_left = true;
        // Opened by the land register, which dimmed itself for this screen; the main menu has nothing
        // to restore.
        restoreLandRegister(m_opener);
        close();
    });
}

void frmland_change::closeEvent(QCloseEvent *event)
{
    if (!m_left)
        cmdexit_Click();
    QDialog::closeEvent(event);
}

} // namespace parcelon
