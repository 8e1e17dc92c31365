#include "reports/frmland_report.h"

#include "base/dbsession.h"
#include "base/divisions.h"
#include "base/extent.h"
#include "base/landvalues.h"
#include "base/permissions.h"
#include "reports/reportengine.h"
#include "reports/reportscreens.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"
#include "ui/screen.h"
#include "ui/twipsgeometry.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <utility>
#include <vector>

namespace parcelon {
namespace {
// Owners a household number may be found in for its lands to be narrowed through them first.
constexpr qlonglong kFewOwners = 1000;

// The list's columns from the status's view; the filters are added by rebuild. Lands come in their number
// order on every engine (PostgreSQL's join would otherwise return them in any order).
const QString kLines
    = QStringLiteral("SELECT balapa_no, labn_owner_srno, balapa_no1, id, house_no, aythiye_sbawaya, loan_sbawaya, "
                     "wewe_name, kottashaya, pewarima, akkara_only, srno FROM %1");

// A line of the list, column by column: the columns the list shows (a width of 0 hides one) and what
// printing takes besides.
enum Line {
    LandNo, // balapa_no
    Holder, // the holder's srno
    Number, // the permit number and the land number
    Identity, // the identity number's nine digits
    Household,
    Status,
    Kind,
    Tank,
    Division,
    Permit,
    ShownExtent, // the acres as the list shows them
    IdLetter, // the identity number's letter
    Extent, // the acres as stored
    kLineColumns
};

std::vector<ListView::Column> listColumns()
{
    std::vector<ListView::Column> columns(kLineColumns);
    columns[LandNo] = {QStringLiteral("landno"), 0};
    columns[Holder] = {QStringLiteral("w w"), 0};
    columns[Number] = {QStringLiteral(" bvï wxlh"), 4500};
    columns[Identity] = {QStringLiteral(" cd'ye wxlh"), 1750};
    columns[Household] = {QStringLiteral(" .Dy wxlh"), 1600};
    columns[Status] = {QStringLiteral("whs;sfha iajNdjh"), 2300};
    columns[Kind] = {QStringLiteral(" bvfï iajNdjh"), 2200};
    columns[Tank] = {QStringLiteral(" jefú ku"), 2200};
    columns[Division] = {QStringLiteral(" fldÜGdYh"), 1900};
    columns[Permit] = {QStringLiteral("b'il%shNdjh"), 1900};
    columns[ShownExtent] = {QStringLiteral(" wlalr"), 1200, Qt::AlignRight};
    columns[IdLetter] = {QStringLiteral("id"), 0};
    columns[Extent] = {QStringLiteral("akkkara"), 0};
    return columns;
}

// The report's scratch rows, from the lines.
const std::vector<ReportEngine::FromLine> kPrinted
    = {{QStringLiteral("srno"), Holder, true}, {QStringLiteral("land_no"), Number}, {QStringLiteral("id"), Identity},
        {QStringLiteral("guhano"), Household}, {QStringLiteral("aythiya_sbawaya"), Status},
        {QStringLiteral("land_sabawaya"), Kind}, {QStringLiteral("wawa_name"), Tank},
        {QStringLiteral("kottashaya"), Division}, {QStringLiteral("land_wargaya"), Permit},
        {QStringLiteral("land_pramanaya"), Extent}, {QStringLiteral("id1"), IdLetter}};

constexpr int kRow = 375;

QString pattern(const QString &text) { return Dialect::containsPattern(text.trimmed()); }
} // namespace

frmland_report::frmland_report(QWidget *opener)
    : QDialog(opener)
{
    build();
    wire();
    Form_Load();
}

void frmland_report::build()
{
    setObjectName(QStringLiteral("frmland_report"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));

    labname = captionLabel(this, "labname", QStringLiteral("bvï f,aLKh"));
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    optkiyakari = optionButton(this, "optkiyakari", QStringLiteral("l%shdldrs"), 0, 0, 1800);
    optakkiyakari = optionButton(this, "optakkiyakari", QStringLiteral("wl%shldrs"), 0, 0, 1800);
    optsiyalla = optionButton(this, "optsiyalla", QStringLiteral("ish,a,"), 0, 0, 1800);

    fra = new QFrame(this);
    fra->setObjectName(QStringLiteral("fra"));
    fra->setFrameShape(QFrame::Box);
    auto row = [](int r) { return 150 + r * 500; };
    labid = captionLabel(fra, "labid", QStringLiteral(" cd'ye wxlh"), {150, row(0), 1800, kRow});
    txtid = textBox(fra, "txtid", {2000, row(0), 2000, kRow});
    identityBox(txtid);
    Label4 = captionLabel(fra, "Label4", QStringLiteral(" bvï wxlh"), {4300, row(0), 2400, kRow});
    cmblandno = dropDown(fra, "cmblandno", {6800, row(0), 3200, kRow});
    txtlandno = textBox(fra, "txtlandno", {10100, row(0), 2000, kRow});
    labguha = captionLabel(fra, "labguha", QStringLiteral(" .Dy wxlh"), {150, row(1), 1800, kRow});
    txtguha = textBox(fra, "txtguha", {2000, row(1), 2000, kRow});
    Label3 = captionLabel(fra, "Label3", QStringLiteral(" whs;sfha iajNdjh"), {4300, row(1), 2400, kRow});
    cmbaythiy_sbawaya = dropDown(fra, "cmbaythiy_sbawaya", {6800, row(1), 2600, kRow});
    Label6 = captionLabel(fra, "Label6", QStringLiteral(" jefú ku"), {9600, row(1), 1400, kRow});
    cmbwawa = dropDown(fra, "cmbwawa", {11100, row(1), 2800, kRow});
    labakkara = captionLabel(fra, "labakkara", QStringLiteral(" wlalr"), {150, row(2), 1800, kRow});
    // The comparisons are Latin signs.
    cmbakkara = dropDown(fra, "cmbakkara", {2000, row(2), 900, kRow});
    cmbakkara->setFont(latinFont(10));
    txtakkara = textBox(fra, "txtakkara", {3000, row(2), 1000, kRow});
    Label1 = captionLabel(fra, "Label1", QStringLiteral(" bvfï iajNdjh"), {4300, row(2), 2400, kRow});
    cmbland_sabawaya = dropDown(fra, "cmbland_sabawaya", {6800, row(2), 2600, kRow});
    labkottasaya = captionLabel(fra, "labkottasaya", QStringLiteral(" .%dush jiu"), {150, row(3), 1800, kRow});
    cmbkottasha = dropDown(fra, "cmbkottasha", {2000, row(3), 2000, kRow});
    labgama = captionLabel(fra, "labgama", QStringLiteral(" .fus ku"), {4300, row(3), 2400, kRow});
    cmbgama = dropDown(fra, "cmbgama", {6800, row(3), 2600, kRow});

    lvland = new ListView(this);
    m_lines = new PagedFill(lvland, this, [this](const Query &rows) { return lineOf(rows); });
    lvland->setObjectName(QStringLiteral("lvland"));
    cmdprint = button(this, "cmdprint", QStringLiteral("uqo%Kh"), {0, 0, 1500, 500});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {0, 0, 1500, 500});

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"labid", "txtid"}, {"Label4", "cmblandno"}, {"labguha", "txtguha"}, {"Label3", "cmbaythiy_sbawaya"},
            {"Label6", "cmbwawa"}, {"labakkara", "cmbakkara"}, {"Label1", "cmbland_sabawaya"},
            {"labkottasaya", "cmbkottasha"}, {"labgama", "cmbgama"}});
}

void frmland_report::layoutScreen()
{
    fill_screen(this);
    cover_main_menu(this);
    const int width = toTwips(this->width());
    const int height = toTwips(this->height());
    tw::place(labname, 200, 200, width - 400, 500);
    int left = 200;
    for (QRadioButton *option : {optkiyakari, optakkiyakari, optsiyalla}) {
        tw::place(option, left, tw::bottom(labname) + 200, 1800, 400);
        left = tw::right(option) + 200;
    }
    tw::place(fra, 200, tw::bottom(optkiyakari) + 200, width - 400, 150 + 4 * 500 + 50);
    tw::place(cmdexit, width - 200 - 1500, height - 200 - 500, 1500, 500);
    tw::place(cmdprint, tw::left(cmdexit) - 200 - 1500, tw::top(cmdexit), 1500, 500);
    const int top = tw::bottom(fra) + 200;
    tw::place(lvland, 200, top, width - 400, std::max(1000, tw::top(cmdexit) - 200 - top));
}

void frmland_report::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    layoutScreen();
}

void frmland_report::wire()
{
    for (QRadioButton *option : {optkiyakari, optakkiyakari, optsiyalla})
        connect(option, &QRadioButton::clicked, this, [this] { guarded(this, [this] { rebuild(); }); });
    for (QComboBox *combo : {cmblandno, cmbaythiy_sbawaya, cmbland_sabawaya, cmbwawa, cmbgama})
        comboClick(combo, [this] { guarded(this, [this] { rebuild(); }); });
    for (QLineEdit *box : {txtlandno, txtid, txtguha, txtakkara})
        connect(box, &QLineEdit::textChanged, this, [this] { guarded(this, [this] { rebuild(); }); });
    comboClick(cmbkottasha, [this] { cmbkottasha_Click(); });
    comboClick(cmbakkara, [this] { cmbakkara_Click(); });
    // No extent is typed before its comparison is chosen.
    Events::of(txtakkara).keyPress([this](QKeyEvent *event) {
        if (keyAscii(event) == 0 || !cmbakkara->currentText().isEmpty())
            return false;
        markRed(cmbakkara);
        return true;
    });
    connect(cmdprint, &QPushButton::clicked, this, &frmland_report::cmdprint_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland_report::cmdexit_Click);
}

void frmland_report::Form_Load()
{
    guarded(this, [this] {
        layoutScreen();
        lvland->setColumns(listColumns());
        // Filling the lists by code must not rebuild the list at each item.
        const QSignalBlocker b1(cmblandno), b2(cmbaythiy_sbawaya), b3(cmbakkara), b4(cmbland_sabawaya), b5(cmbwawa),
            b6(cmbkottasha);
        // Each list starts with an empty entry: no filter.
        cmblandno->addItems(QStringList {QString()} + permitKinds());
        cmbaythiy_sbawaya->addItems(QStringList {QString()} + ownershipKinds());
        cmbakkara->addItems({QString(), QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<")});
        cmbland_sabawaya->addItems(QStringList {QString()} + landNatures());
        cmbwawa->addItem(QString());
        Query tanks = db().select(QStringLiteral("SELECT DISTINCT wewe_name FROM land ORDER BY wewe_name"));
        while (tanks.next()) {
            if (!tanks.value(0).isEmpty())
                cmbwawa->addItem(tanks.value(0));
        }
        cmbkottasha->addItem(QString());
        // A land records its division by name.
        for (const NumberedName &division : divisions())
            cmbkottasha->addItem(division.name);
        optkiyakari->setChecked(true);
        rebuild();
        if (permissionLevel(session::userSrno(), Flag::LandReport) == ViewOnly)
            cmdprint->setEnabled(false);
    });
}

QString frmland_report::view() const
{
    if (optakkiyakari->isChecked())
        return QStringLiteral("land_re_2");
    if (optsiyalla->isChecked())
        return QStringLiteral("land_re_0");
    return QStringLiteral("land_re_1");
}

void frmland_report::rebuild()
{
    // The extent comparison is made on the rows read: the extent is text that starts with a number.
    m_extentOp = cmbakkara->currentText();
    m_extentWanted = leadingNumber(txtakkara->text().trimmed());
    // Each filter is a contains-search of its column; an empty one keeps every row with a value there,
    // as a search for "%%" would, without the search's cost on each of a hundred thousand rows.
    const std::pair<const char *, QString> filters[] = {{"balapa_no", txtlandno->text()},
        {"aythiye_sbawaya", cmbaythiy_sbawaya->currentText()}, {"loan_sbawaya", cmbland_sabawaya->currentText()},
        {"wewe_name", cmbwawa->currentText()}, {"kottashaya", cmbkottasha->currentText()}, {"id", txtid->text()},
        {"house_no", txtguha->text()}, {"balapa_no1", cmblandno->currentText()}, {"gama", cmbgama->currentText()}};
    QStringList where;
    QVariantList params;
    for (const auto &[column, typed] : filters) {
        if (typed.trimmed().isEmpty()) {
            where << QStringLiteral("%1 IS NOT NULL").arg(QLatin1String(column));
        } else {
            where << QStringLiteral("%1 LIKE ? ESCAPE '!'").arg(QLatin1String(column));
            params << pattern(typed);
        }
    }
    // A household number found in few owners' rows keeps few lands, yet finding them reads every land
    // with its holder. The lands are then first narrowed to those held by such owners or registered to
    // such a household (which holds every land the view's household matches), found from the owners'
    // rows and the lands' household index; a number in many rows finds its first page early anyway, and
    // one or two characters are found in thousands of owners' rows, so they are not counted first.
    const QString household = txtguha->text();
    if (household.trimmed().size() >= 3) {
        const qlonglong owners = db().scalar(QStringLiteral("SELECT COUNT(*) FROM landowner WHERE house_no LIKE ? "
                                                            "ESCAPE '!'"),
                                         {pattern(household)})
                                     .toLongLong();
        if (owners <= kFewOwners) {
            where << QStringLiteral("srno IN (SELECT l.srno FROM land l WHERE l.labn_owner_srno IN (SELECT CAST(o.srno "
                                    "AS VARCHAR(20)) FROM landowner o WHERE o.house_no LIKE ? ESCAPE '!') UNION ALL "
                                    "SELECT g.srno FROM land g WHERE g.guhasth LIKE ? ESCAPE '!')");
            params << pattern(household) << pattern(household);
        }
    }
    // A typed land number or identity keeps few lands, found by reading every land. A household number
    // is not so planned: a short one is found in many lands, the first of them early along the land
    // index, and a longer one in few owners' rows has been narrowed above.
    const bool typed = !(txtlandno->text().trimmed().isEmpty() && txtid->text().trimmed().isEmpty());
    m_lines->start(
        {kLines.arg(view()), where.join(QStringLiteral(" AND ")), params, QStringLiteral("srno"), 11, typed});
}

QStringList frmland_report::lineOf(const Query &rows) const
{
    const QString extent = rows.value(10);
    const double value = leadingNumber(extent);
    const QString &op = m_extentOp;
    if ((op == QLatin1String("=") && !(value == m_extentWanted))
        || (op == QLatin1String(">") && !(value > m_extentWanted))
        || (op == QLatin1String("<") && !(value < m_extentWanted)))
        return {};
    const QString id = rows.value(3);
    QStringList line(kLineColumns);
    line[LandNo] = rows.value(0);
    line[Holder] = rows.value(1);
    line[Number] = rows.value(2) + QStringLiteral(" ") + rows.value(0);
    line[Identity] = id.left(9);
    line[Household] = rows.value(4);
    line[Status] = rows.value(5).mid(3, 20);
    line[Kind] = rows.value(6).mid(3, 20);
    line[Tank] = rows.value(7);
    line[Division] = rows.value(8);
    line[Permit] = rows.value(9);
    line[ShownExtent] = QString(extent).replace(QLatin1Char('.'), QLatin1Char('\''));
    line[IdLetter] = id.mid(9, 1);
    line[Extent] = extent;
    return line;
}

bool frmland_report::listFilling() const { return m_lines->filling(); }

void frmland_report::cmbkottasha_Click()
{
    guarded(this, [this] {
        {
            const QSignalBlocker block(cmbgama);
            cmbgama->clear();
            if (!cmbkottasha->currentText().isEmpty()) {
                Query villages = db().select(QStringLiteral("SELECT gama FROM gamasewa_wasama WHERE gama_wasama = ? "
                                                            "ORDER BY LENGTH(gsrno), gsrno"),
                    {cmbkottasha->currentText()});
                while (villages.next())
                    cmbgama->addItem(villages.value(0));
            }
            // No village is chosen until the clerk picks one.
            cmbgama->setCurrentIndex(-1);
        }
        rebuild();
    });
}

void frmland_report::cmbakkara_Click()
{
    guarded(this, [this] {
        markNormal(cmbakkara, colours::field);
        if (cmbakkara->currentText().isEmpty())
            txtakkara->clear();
        rebuild();
    });
}

void frmland_report::cmdprint_Click()
{
    guarded(this, [this] {
        // Every line of the list is printed: the pages still to come are read first.
        m_lines->finish();
        ReportRequest request;
        request.file = QStringLiteral("D:\\Parcelon\\Report\\land.rpt");
        request.setFormula(0, QStringLiteral("fname ='") + officeName() + QStringLiteral("'"));
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kPrinted, lvland->lines(), request, this);
    });
}

void frmland_report::cmdexit_Click() { close(); }

} // namespace parcelon
