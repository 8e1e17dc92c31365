#include "lifecycle/frmland_search.h"

#include "base/dbsession.h"
#include "base/landvalues.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"
#include "ui/screen.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace parcelon {
namespace {
constexpr int kWidth = 12300;
constexpr int kHeight = 7560;
constexpr int kListWidth = 11820;

// The lands with their owners, as a line of the list shows them. A land whose owner row is gone keeps
// its line with empty owner columns. The cast key is served by the index on the owner's srno as text.
const QString kLines
    = QStringLiteral("SELECT l.srno, l.balapa_no1, l.balapa_no, o.id, o.house_no, l.loan_sbawaya, l.aythiye_sbawaya "
                     "FROM land l LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20))");

// The owners whose identity or house number contains the typed text, each with the first of its lands;
// an owner without land has no line. A land is its owner's first when no land of the same owner has a
// lower number: both engines answer that from the index on the owner reference, PostgreSQL as one anti-
// join rather than a look-up of the lowest number for every land it joins.
const QString kOwnersWithFirstLand = QStringLiteral(
    "SELECT l.srno, l.balapa_no1, l.balapa_no, o.id, o.house_no, l.loan_sbawaya, l.aythiye_sbawaya, o.srno "
    "FROM landowner o JOIN land l ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20))");
const QString kFirstLandOfOwner = QStringLiteral("o.%1 LIKE ? ESCAPE '!' AND NOT EXISTS (SELECT 1 FROM land f "
                                                 "WHERE f.labn_owner_srno = l.labn_owner_srno AND f.srno < l.srno)");

// Purple while the field holds the focus, light yellow after.
void focusColours(QWidget *field)
{
    Events::of(field).gotFocus([field] { paintField(field, colours::focus); }).lostFocus([field] {
        paintField(field, colours::field);
    });
}
} // namespace

frmland_search::frmland_search(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    build();
    wire();
    Form_Load();
}

void frmland_search::build()
{
    setObjectName(QStringLiteral("frmland_search"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labime = captionLabel(this, "labime", QStringLiteral("bvï fiùu"), {0, 0, kWidth, 600});
    labime->setObjectName(QStringLiteral("labíme"));
    labime->setFont(parasFont(18));
    labime->setAlignment(Qt::AlignCenter);

    labid = captionLabel(this, "labid", QStringLiteral("yeÿkqïm;a wxlh"), {240, 780, 2600, 375});
    txtid = textBox(this, "txtid", {2900, 780, 2400, 375});
    identityBox(txtid);
    labguha = captionLabel(this, "labguha", QStringLiteral(".Dy wxlh"), {5600, 780, 1700, 375});
    txtguha = textBox(this, "txtguha", {7400, 780, 2400, 375});

    labland_no = captionLabel(this, "labland_no", QStringLiteral("bvfñ wxlh"), {240, 1275, 2600, 375});
    cmblandno = dropDown(this, "cmblandno", {2900, 1275, 3800, 375});
    txtlandno = textBox(this, "txtlandno", {6900, 1275, 2400, 375});

    labaythiye_sbawaya
        = captionLabel(this, "labaythiye_sbawaya", QStringLiteral(" whs;sfha iajNdjh"), {240, 1770, 2600, 375});
    cmbaythiy_sbawaya = dropDown(this, "cmbaythiy_sbawaya", {2900, 1770, 3800, 375});
    labland_sbawaya = captionLabel(this, "labland_sbawaya", QStringLiteral(" bvfñ iajNdjh"), {240, 2265, 2600, 375});
    cmbland_sabawaya = dropDown(this, "cmbland_sabawaya", {2900, 2265, 3800, 375});

    lvland = new ListView(this);
    lvland->setObjectName(QStringLiteral("lvland"));
    lvland->setGeometry(twips(240), twips(2820), twips(kListWidth), twips(3900));
    m_lands = new PagedFill(lvland, this, &frmland_search::lineOf);

    cmdadd = button(this, "cmdadd", QStringLiteral("w;=,a lsÍu"), {8160, 6900, 1800, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("bj;a ùu"), {10260, 6900, 1800, 420});
    labcc = hiddenLabel(this, "labcc");
    labch = hiddenLabel(this, "labch");

    setTabOrder(txtid, txtguha);
    setTabOrder(txtguha, cmblandno);
    setTabOrder(cmblandno, txtlandno);
    setTabOrder(txtlandno, cmbaythiy_sbawaya);
    setTabOrder(cmbaythiy_sbawaya, cmbland_sabawaya);
    setTabOrder(cmbland_sabawaya, cmdadd);
    setTabOrder(cmdadd, cmdexit);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"labid", "txtid"}, {"labguha", "txtguha"}, {"labland_no", "cmblandno"},
            {"labaythiye_sbawaya", "cmbaythiy_sbawaya"}, {"labland_sbawaya", "cmbland_sabawaya"}});
}

void frmland_search::wire()
{
    for (QWidget *field :
        {static_cast<QWidget *>(txtid), static_cast<QWidget *>(txtguha), static_cast<QWidget *>(txtlandno),
            static_cast<QWidget *>(cmbaythiy_sbawaya), static_cast<QWidget *>(cmbland_sabawaya)})
        focusColours(field);
    Events::of(txtid).keyUp([this](QKeyEvent *) { runFilter(QStringLiteral("1")); });
    Events::of(txtguha).keyUp([this](QKeyEvent *) { runFilter(QStringLiteral("2")); });
    comboClick(cmblandno, [this] { runFilter(QStringLiteral("3")); });
    Events::of(txtlandno).keyUp([this](QKeyEvent *) { runFilter(QStringLiteral("4")); });
    comboClick(cmbaythiy_sbawaya, [this] { runFilter(QStringLiteral("6")); });
    comboClick(cmbland_sabawaya, [this] { runFilter(QStringLiteral("7")); });
    connect(lvland, &ListView::itemDoubleClicked, this, [this](int) { guarded(this, [this] { FSET(); }); });
    connect(cmdadd, &QPushButton::clicked, this, &frmland_search::cmdadd_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland_search::cmdexit_Click);
}

void frmland_search::Form_Load()
{
    guarded(this, [this] {
        center_form(this);
        // The columns are as wide as their captions need in the PARAS-N font; the permit takes the rest.
        const int rest = kListWidth - 1400 - 1700 - 1500 - 2100 - 2300 - 350;
        lvland->setColumns({{QStringLiteral("wkq wxlh"), 1400}, {QStringLiteral("bvï wxlh "), rest},
            {QStringLiteral("cd ye wxlh"), 1700}, {QStringLiteral(".Dy wxlh"), 1500},
            {QStringLiteral("bvfñ iajNdjh"), 2100}, {QStringLiteral("whs;sfha iajNdjh"), 2300},
            {QStringLiteral("landname"), 0}, {QStringLiteral("landno"), 0}});
        // Filling the lists by code must not run their filters: the hooks are on the clerk's picks.
        const QSignalBlocker blockKinds(cmblandno);
        const QSignalBlocker blockOwnership(cmbaythiy_sbawaya);
        const QSignalBlocker blockLand(cmbland_sabawaya);
        cmblandno->addItems(permitKinds());
        cmbaythiy_sbawaya->addItems(ownershipKinds());
        cmbland_sabawaya->addItems(landNatures());
        fland();
    });
}

QStringList frmland_search::lineOf(const Query &rows)
{
    const QString kind = rows.value(1);
    const QString number = rows.value(2);
    return {rows.value(0), kind + QStringLiteral("  ") + number, rows.value(3).left(9), rows.value(4), rows.value(5),
        rows.value(6), kind, number};
}

void frmland_search::fillLands(const QString &where, const QVariantList &values)
{
    m_lands->start({kLines, where, values, QStringLiteral("l.srno"), 0});
}

void frmland_search::fland()
{
    // The active lands, as the view land1 holds them.
    fillLands(QStringLiteral("l.chack = '1'"), {});
}

void frmland_search::runFilter(const QString &code)
{
    guarded(this, [this, &code] {
        labcc->setText(code);
        all_sort();
    });
}

void frmland_search::all_sort()
{
    m_lands->stop();
    lvland->clear();
    const QString code = labcc->text();
    if (code == QLatin1String("1") || code == QLatin1String("2")) {
        const QString typed = (code == QLatin1String("1") ? txtid : txtguha)->text().trimmed();
        if (typed.isEmpty()) {
            fland();
            return;
        }
        const QString column = code == QLatin1String("1") ? QStringLiteral("id") : QStringLiteral("house_no");
        m_lands->start({kOwnersWithFirstLand, kFirstLandOfOwner.arg(column), {Dialect::containsPattern(typed)},
            QStringLiteral("o.srno"), 7});
    } else if (code == QLatin1String("3")) {
        fillLands(
            QStringLiteral("l.balapa_no1 LIKE ? ESCAPE '!'"), {Dialect::containsPattern(cmblandno->currentText())});
    } else if (code == QLatin1String("4")) {
        fillLands(QStringLiteral("l.balapa_no1 LIKE ? ESCAPE '!' AND l.balapa_no LIKE ? ESCAPE '!'"),
            {Dialect::containsPattern(cmblandno->currentText()),
                Dialect::containsPattern(txtlandno->text().trimmed())});
    } else if (code == QLatin1String("6")) {
        fillLands(QStringLiteral("l.aythiye_sbawaya LIKE ? ESCAPE '!'"),
            {Dialect::containsPattern(cmbaythiy_sbawaya->currentText())});
    } else if (code == QLatin1String("7")) {
        fillLands(QStringLiteral("l.loan_sbawaya LIKE ? ESCAPE '!'"),
            {Dialect::containsPattern(cmbland_sabawaya->currentText())});
    }
}

void frmland_search::FSET()
{
    const int row = lvland->selectedRow();
    if (row < 0)
        return;
    const QString landname = lvland->text(row, 6);
    const QString landno = lvland->text(row, 7);
    const QString caller = labch->text();
    HandBack opener(m_opener);
    m_left = true;
    if (caller == QLatin1String("1")) {
        opener.set("txtlandno1", landno).set("cmblandno", landname);
        close();
        // Leaving txtlandno1 makes the permit change screen load the land.
        opener.focus("txtlandno1").focus("txtlandno");
    } else if (caller == QLatin1String("2")) {
        opener.set("txtlandno_h", landno);
        close();
        // Leaving txtlandno_h makes the transfer screen load the first land.
        opener.press("cmdtra").focus("txtlandno_h").focus("cmbrajaya", "txtlandno");
    } else if (caller == QLatin1String("3")) {
        opener.set("txtlandno", landno);
        close();
        opener.press("cmdtra").focus("txtlandno").focus("cmdok");
    } else if (caller == QLatin1String("4")) {
        opener.set("txtlandno", landno).press("cmdlv");
        close();
    } else if (caller == QLatin1String("5")) {
        opener.set("txtlandno", landno);
        close();
    } else if (caller == QLatin1String("6")) {
        opener.set("txtlandno", landno).press("cmdff");
        close();
    } else {
        m_left = false;
        throw HandBackError(QStringLiteral("the land search has no caller code \"%1\"").arg(caller).toStdString());
    }
}

bool frmland_search::listFilling() const { return m_lands->filling(); }

void frmland_search::cmdadd_Click()
{
    guarded(this, [this] { FSET(); });
}

void frmland_search::cmdexit_Click()
{
    guarded(this, [this] {
        m_left = true;
        // The transfer screen dimmed itself when it opened the search.
        if (labch->text() == QLatin1String("2") || labch->text() == QLatin1String("3"))
            HandBack(m_opener).press("cmdtra");
        close();
    });
}

void frmland_search::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous() && !m_left)
        cmdexit_Click();
    QDialog::closeEvent(event);
}

} // namespace parcelon
