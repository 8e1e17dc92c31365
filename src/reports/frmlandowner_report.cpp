#include "reports/frmlandowner_report.h"

#include "base/dbsession.h"
#include "base/divisions.h"
#include "base/extent.h"
#include "base/identity.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <utility>
#include <vector>

namespace parcelon {
namespace {
// The owners of a status with both counts: the lands of the status held under the owner's number, and
// those registered to the owner's house number (none for an owner without one). Each count is an index
// search per owner, so a page of owners costs a page of searches and a village's owners only theirs.
const QString kOwners = QStringLiteral("SELECT o.srno, o.id, o.house_no, o.land_owner_name, %1 AS by_owner, %2 AS "
                                       "by_house FROM %3 o");

// A line of the list, column by column (a width of 0 hides one).
enum Line { Owner, Identity, Household, Name, ByOwner, ByHousehold, IdLetter, kLineColumns };

std::vector<ListView::Column> listColumns(int nameWidth)
{
    std::vector<ListView::Column> columns(kLineColumns);
    columns[Owner] = {QStringLiteral("wkq wxlh"), 1300};
    columns[Identity] = {QStringLiteral("cd'ye wxlh"), 1650, Qt::AlignHCenter};
    columns[Household] = {QStringLiteral(".Dy wxlh"), 1550};
    columns[Name] = {QStringLiteral("bvñ ysñhdf.a ku"), nameWidth};
    columns[ByOwner] = {QStringLiteral("bvñ .Kk ^ye'wxlh&"), 2950, Qt::AlignHCenter};
    columns[ByHousehold] = {QStringLiteral("bvñ .Kk^.Dy wxlh&"), 3150, Qt::AlignHCenter};
    columns[IdLetter] = {QStringLiteral("id"), 0};
    return columns;
}

// The report's scratch rows, from the lines.
const std::vector<ReportEngine::FromLine> kPrinted
    = {{QStringLiteral("srno"), Owner, true}, {QStringLiteral("id"), Identity}, {QStringLiteral("house_no"), Household},
        {QStringLiteral("land_name"), Name}, {QStringLiteral("land_id"), ByOwner},
        {QStringLiteral("land_guha"), ByHousehold}, {QStringLiteral("id1"), IdLetter}};

constexpr int kRow = 375;
// Holders found by their count of lands that are still few enough to be named in the list's query.
constexpr qsizetype kFewHolders = 1000;

QString owners(const QString &status)
{
    if (status == QLatin1String("2"))
        return QStringLiteral("landowner2");
    if (status == QLatin1String("3"))
        return QStringLiteral("landowner");
    return QStringLiteral("landowner1");
}

QString lands(const QString &status)
{
    if (status == QLatin1String("2"))
        return QStringLiteral("land2");
    if (status == QLatin1String("3"))
        return QStringLiteral("land");
    return QStringLiteral("land1");
}

QString byOwner(const QString &status)
{
    return QStringLiteral("(SELECT COUNT(*) FROM %1 l WHERE l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)))")
        .arg(lands(status));
}

QString byHouse(const QString &status)
{
    return QStringLiteral(
        "CASE WHEN COALESCE(o.house_no, '') = '' THEN 0 ELSE (SELECT COUNT(*) FROM %1 l WHERE l.guhasth = o.house_no) "
        "END")
        .arg(lands(status));
}

QString pattern(const QLineEdit *box) { return Dialect::containsPattern(box->text().trimmed()); }

// A count box's number: a text that is not a number counts as 0. It is compared as a number with a
// fraction, so "2.5" keeps the counts above 2 for ">" and matches none for "=".
QVariant typedCount(const QLineEdit *box) { return leadingNumber(box->text().trimmed()); }
} // namespace

frmlandowner_report::frmlandowner_report(QWidget *opener)
    : QDialog(opener)
{
    build();
    wire();
    Form_Load();
}

void frmlandowner_report::build()
{
    setObjectName(QStringLiteral("frmlandowner_report"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    labname = captionLabel(this, "labname", QStringLiteral("bvñ ysñhka f.a kdu f,aLKh"));
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    optkiyakari = optionButton(this, "optkiyakari", QStringLiteral("l%shdldrs"), 0, 0, 1800);
    optakkiyakari = optionButton(this, "optakkiyakari", QStringLiteral("wl%shldrs"), 0, 0, 1800);
    optsiyalla = optionButton(this, "optsiyalla", QStringLiteral("ish,a,"), 0, 0, 1800);
    labid = captionLabel(this, "labid", QStringLiteral("cd'ye wxlh"));
    txtid = textBox(this, "txtid");
    identityBox(txtid);
    labland_owner = captionLabel(this, "labland_owner", QStringLiteral("bvñ ysñhdf.a ku"));
    txtland_owner = textBox(this, "txtland_owner");
    labguha = captionLabel(this, "labguha", QStringLiteral(".Dy wxlh"));
    txtguha = textBox(this, "txtguha");
    labland_ganana = captionLabel(this, "labland_ganana", QStringLiteral("bvñ .Kk - ye'wxlh"));
    cmbid = dropDown(this, "cmbid");
    cmbid->setFont(latinFont(10)); // the comparisons are Latin signs
    txtland_ganana = textBox(this, "txtland_ganana");
    labland_ganana_guha = captionLabel(this, "labland_ganana_guha", QStringLiteral("bvñ .Kk - .Dy wxlh"));
    cmbguha = dropDown(this, "cmbguha");
    cmbguha->setFont(latinFont(10));
    txtland_ganana_guha = textBox(this, "txtland_ganana_guha");
    labgamiya = captionLabel(this, "labgamiya", QStringLiteral(" .%dush jiu"));
    cmbgamiya = dropDown(this, "cmbgamiya");
    labgama = captionLabel(this, "labgama", QStringLiteral(" .fus ku"));
    cmbgama = dropDown(this, "cmbgama");
    lvland = new ListView(this);
    lvland->setObjectName(QStringLiteral("lvland"));
    m_lines = new PagedFill(lvland, this, [](const Query &rows) {
        const QString id = rows.value(1);
        QStringList line(kLineColumns);
        line[Owner] = rows.value(0);
        line[Identity] = id.left(9);
        line[Household] = rows.value(2);
        line[Name] = rows.value(3);
        line[ByOwner] = rows.value(4);
        line[ByHousehold] = rows.value(5);
        line[IdLetter] = id.mid(9, 1);
        return line;
    });
    cmdprint = button(this, "cmdprint", QStringLiteral("uqo%Kh"));
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"));
    labki = hiddenLabel(this, "labki");
    labshot = hiddenLabel(this, "labshot");

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"labid", "txtid"}, {"labland_owner", "txtland_owner"}, {"labguha", "txtguha"}, {"labland_ganana", "cmbid"},
            {"labland_ganana_guha", "cmbguha"}, {"labgamiya", "cmbgamiya"}, {"labgama", "cmbgama"}});
}

void frmlandowner_report::layoutScreen()
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
    const int row1 = tw::bottom(optkiyakari) + 200;
    tw::place(labid, 200, row1, 1700, kRow);
    tw::place(txtid, tw::right(labid) + 50, row1, 2000, kRow);
    tw::place(labland_owner, tw::right(txtid) + 200, row1, 3100, kRow);
    tw::place(txtland_owner, tw::right(labland_owner) + 50, row1, 5400, kRow);
    const int row2 = row1 + kRow + 200;
    tw::place(labguha, 200, row2, 1700, kRow);
    tw::place(txtguha, tw::right(labguha) + 50, row2, 2000, kRow);
    tw::place(labland_ganana, tw::left(labland_owner), row2, 3100, kRow);
    tw::place(cmbid, tw::right(labland_ganana) + 50, row2, 900, kRow);
    tw::place(txtland_ganana, tw::right(cmbid) + 50, row2, 900, kRow);
    tw::place(labland_ganana_guha, tw::right(txtland_ganana) + 100, row2, 3400, kRow);
    tw::place(cmbguha, tw::right(labland_ganana_guha) + 50, row2, 900, kRow);
    tw::place(txtland_ganana_guha, tw::right(cmbguha) + 50, row2, 900, kRow);
    const int row3 = row2 + kRow + 100;
    tw::place(labgamiya, 200, row3, 1700, kRow);
    tw::place(cmbgamiya, tw::right(labgamiya) + 100, row3, 3000, kRow);
    tw::place(labgama, tw::right(cmbgamiya) + 100, row3, 1500, kRow);
    tw::place(cmbgama, tw::right(labgama) + 100, row3, 3000, kRow);
    tw::place(cmdexit, width - 200 - 1500, height - 200 - 500, 1500, 500);
    tw::place(cmdprint, tw::left(cmdexit) - 200 - 1500, tw::top(cmdexit), 1500, 500);
    const int top = row3 + kRow + 100;
    tw::place(lvland, 200, top, width - 400, std::max(1000, tw::top(cmdexit) - 200 - top));
}

void frmlandowner_report::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    layoutScreen();
}

void frmlandowner_report::wire()
{
    for (QRadioButton *option : {optkiyakari, optakkiyakari, optsiyalla})
        connect(option, &QRadioButton::clicked, this, [this, option] { optionClick(option); });
    auto text = [this](QLineEdit *box, void (frmlandowner_report::*procedure)()) {
        connect(box, &QLineEdit::textChanged, this, [this, box, procedure] {
            guarded(this, [&] {
                (this->*procedure)();
                if (box->text().isEmpty())
                    labshot->setText(QString());
            });
        });
    };
    text(txtid, &frmlandowner_report::fchang_id);
    text(txtland_owner, &frmlandowner_report::fmem_name);
    text(txtguha, &frmlandowner_report::fland_mem_guha);
    connect(txtland_ganana, &QLineEdit::textChanged, this,
        [this] { guarded(this, [this] { countFilter(cmbid, txtland_ganana, false); }); });
    connect(txtland_ganana_guha, &QLineEdit::textChanged, this,
        [this] { guarded(this, [this] { countFilter(cmbguha, txtland_ganana_guha, true); }); });
    comboClick(cmbid, [this] {
        guarded(this, [this] {
            if (txtland_ganana->text().isEmpty())
                return;
            countFilter(cmbid, txtland_ganana, false);
            txtland_ganana->setFocus();
        });
    });
    comboClick(cmbguha, [this] {
        guarded(this, [this] {
            if (txtland_ganana_guha->text().isEmpty())
                return;
            countFilter(cmbguha, txtland_ganana_guha, true);
            txtland_ganana_guha->setFocus();
        });
    });
    comboClick(cmbgamiya, [this] { cmbgamiya_Click(); });
    comboClick(cmbgama, [this] { cmbgama_Click(); });
    connect(cmdprint, &QPushButton::clicked, this, &frmlandowner_report::cmdprint_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmlandowner_report::cmdexit_Click);
}

void frmlandowner_report::Form_Load()
{
    guarded(this, [this] {
        layoutScreen();
        const int rest = std::max(1500, toTwips(lvland->width()) - 1300 - 1650 - 1550 - 2950 - 3150 - 400);
        lvland->setColumns(listColumns(rest));
        optkiyakari->setChecked(true);
        optionClick(optkiyakari);
        const QSignalBlocker b1(cmbid), b2(cmbguha), b3(cmbgamiya);
        for (QComboBox *op : {cmbid, cmbguha}) {
            op->addItems({QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<")});
            op->setCurrentIndex(0);
        }
        for (const NumberedName &division : divisions())
            cmbgamiya->addItem(numberedEntry(division.number, division.name));
        cmbgamiya->setCurrentIndex(-1);
        if (permissionLevel(session::userSrno(), Flag::OwnerReport) == ViewOnly)
            cmdprint->setEnabled(false);
        all_mem();
    });
}

void frmlandowner_report::optionClick(QRadioButton *option)
{
    guarded(this, [this, option] {
        for (QRadioButton *o : {optkiyakari, optakkiyakari, optsiyalla})
            setBackground(o, o == option ? colours::attention : colours::field);
        txtziro();
        if (option == optkiyakari)
            all_mem();
        else if (option == optakkiyakari)
            all_mema();
        else
            all_mems();
    });
}

void frmlandowner_report::txtziro()
{
    // Emptying the boxes lists nothing by itself: the option's own list follows.
    for (QLineEdit *box : {txtguha, txtid, txtland_ganana, txtland_ganana_guha, txtland_owner}) {
        const QSignalBlocker block(box);
        box->clear();
    }
}

QString frmlandowner_report::selectedStatus() const
{
    if (optakkiyakari->isChecked())
        return QStringLiteral("2");
    if (optsiyalla->isChecked())
        return QStringLiteral("3");
    return QStringLiteral("1");
}

void frmlandowner_report::list(const QString &status, const QString &where, const QVariantList &params)
{
    m_lines->start(
        {kOwners.arg(byOwner(status), byHouse(status), owners(status)), where, params, QStringLiteral("o.srno"), 0});
}

bool frmlandowner_report::listFilling() const { return m_lines->filling(); }

void frmlandowner_report::all_mem()
{
    labki->setText(QStringLiteral("1"));
    labshot->setText(QString());
    list(QStringLiteral("1"), {}, {});
}

void frmlandowner_report::all_mema()
{
    labki->setText(QStringLiteral("2"));
    labshot->setText(QString());
    list(QStringLiteral("2"), {}, {});
}

void frmlandowner_report::all_mems()
{
    labki->setText(QStringLiteral("3"));
    labshot->setText(QString());
    list(QStringLiteral("3"), {}, {});
}

void frmlandowner_report::fchang_id()
{
    labshot->setText(QStringLiteral("1"));
    list(selectedStatus(), QStringLiteral("o.id LIKE ? ESCAPE '!'"), {pattern(txtid)});
}

void frmlandowner_report::fmem_name()
{
    labshot->setText(QStringLiteral("2"));
    list(selectedStatus(), QStringLiteral("o.land_owner_name LIKE ? ESCAPE '!'"), {pattern(txtland_owner)});
}

void frmlandowner_report::fland_mem_guha()
{
    labshot->setText(QStringLiteral("3"));
    list(selectedStatus(), QStringLiteral("o.house_no LIKE ? ESCAPE '!'"), {pattern(txtguha)});
}

void frmlandowner_report::countFilter(QComboBox *op, QLineEdit *box, bool byHouse)
{
    if (box->text().isEmpty()) {
        const QString status = selectedStatus();
        status == QLatin1String("2") ? all_mema() : status == QLatin1String("3") ? all_mems() : all_mem();
        return;
    }
    const int index = std::max(0, op->currentIndex());
    using Procedure = void (frmlandowner_report::*)();
    const Procedure owner[]
        = {&frmlandowner_report::land_id_s, &frmlandowner_report::land_id_w, &frmlandowner_report::land_id_a};
    const Procedure house[]
        = {&frmlandowner_report::land_guha_s, &frmlandowner_report::land_guha_w, &frmlandowner_report::land_guha_a};
    (this->*(byHouse ? house : owner)[index])();
}

void frmlandowner_report::land_id_s()
{
    labshot->setText(QStringLiteral("4"));
    countList(QStringLiteral("="), false);
}

void frmlandowner_report::land_id_w()
{
    labshot->setText(QStringLiteral("5"));
    countList(QStringLiteral(">"), false);
}

void frmlandowner_report::land_id_a()
{
    labshot->setText(QStringLiteral("6"));
    countList(QStringLiteral("<"), false);
}

void frmlandowner_report::land_guha_s()
{
    labshot->setText(QStringLiteral("7"));
    countList(QStringLiteral("="), true);
}

void frmlandowner_report::land_guha_w()
{
    labshot->setText(QStringLiteral("8"));
    countList(QStringLiteral(">"), true);
}

void frmlandowner_report::land_guha_a()
{
    labshot->setText(QStringLiteral("9"));
    countList(QStringLiteral("<"), true);
}

void frmlandowner_report::countList(const QString &op, bool house)
{
    const QString status = selectedStatus();
    const QVariant wanted = typedCount(house ? txtland_ganana_guha : txtland_ganana);
    QString where
        = (house ? byHouse(status) : byOwner(status)) + QStringLiteral(" %1 CAST(? AS DOUBLE PRECISION)").arg(op);
    QVariantList params {wanted};
    // Owners with more than some lands, or exactly some of one or more, are often few, and finding the
    // first of them then counts the lands of every owner in turn. So every land is first counted once
    // by its holder (or its household) along that index; when few holders have such a count, only
    // those owners are looked at. Each owner's own count above still decides.
    const double n = wanted.toDouble();
    if (db().dialect().engine != Engine::Other
        && ((op == QLatin1String(">") && n >= 0) || (op == QLatin1String("=") && n > 0))) {
        const QString column = house ? QStringLiteral("guhasth") : QStringLiteral("labn_owner_srno");
        Query holders = db().select(QStringLiteral("SELECT %1 FROM %2 GROUP BY %1 HAVING COUNT(*) %3 CAST(? AS DOUBLE "
                                                   "PRECISION) LIMIT %4")
                                        .arg(column, lands(status), op)
                                        .arg(kFewHolders + 1),
            {wanted});
        QVariantList found;
        while (holders.next())
            found << holders.value(0);
        if (found.isEmpty()) {
            where += QStringLiteral(" AND 1 = 0");
        } else if (found.size() <= kFewHolders) {
            QStringList marks(found.size(), QStringLiteral("?"));
            where += QStringLiteral(" AND %1 IN (%2)")
                         .arg(house ? QStringLiteral("o.house_no") : QStringLiteral("CAST(o.srno AS VARCHAR(20))"),
                             marks.join(QLatin1Char(',')));
            params << found;
        }
    }
    list(status, where, params);
}

void frmlandowner_report::cmbgamiya_Click()
{
    guarded(this, [this] {
        {
            const QSignalBlocker block(cmbgama);
            cmbgama->clear();
            // The division's number is what stands before " - ": division 100 offers its own villages,
            // not those of division 10.
            for (const NumberedName &village : villagesOf(entryNumber(cmbgamiya->currentText())))
                cmbgama->addItem(numberedEntry(village.number, village.name));
            cmbgama->setCurrentIndex(-1);
        }
        labshot->setText(QStringLiteral("10"));
        list(selectedStatus(), QStringLiteral("o.gamiya = ?"), {cmbgamiya->currentText()});
    });
}

void frmlandowner_report::cmbgama_Click()
{
    guarded(this, [this] {
        labshot->setText(QStringLiteral("11"));
        list(selectedStatus(), QStringLiteral("o.gama = ? AND o.gamiya = ?"),
            {cmbgama->currentText(), cmbgamiya->currentText()});
    });
}

void frmlandowner_report::cmdprint_Click()
{
    guarded(this, [this] {
        // Every line of the list is printed: the pages still to come are read first.
        m_lines->finish();
        ReportRequest request;
        request.file = QStringLiteral("D:\\Parcelon\\Report\\member.rpt");
        request.setFormula(0, QStringLiteral("hedname ='") + officeName() + QStringLiteral("'"));
        const QString ki = labki->text();
        QRadioButton *status = ki == QLatin1String("1") ? optkiyakari
            : ki == QLatin1String("2")                  ? optakkiyakari
            : ki == QLatin1String("3")                  ? optsiyalla
                                                        : nullptr;
        if (status)
            request.setFormula(1, QStringLiteral("fkiyakari='") + status->text() + QStringLiteral("'"));
        const QString shot = labshot->text();
        const int code = shot.isEmpty() ? 0 : shot.toInt();
        QString value = QStringLiteral(" ish,a, ");
        QString ddf = QStringLiteral("=");
        QString field = QStringLiteral("bvï ysñhkaf.a");
        const QString ops[] = {QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<")};
        switch (code) {
        case 1:
            value = txtid->text(), ddf = QStringLiteral("<>"), field = QStringLiteral("c ye wxlh");
            break;
        case 2:
            value = txtland_owner->text(), ddf = QStringLiteral("<>"), field = labland_owner->text();
            break;
        case 3:
            value = txtguha->text(), ddf = QStringLiteral("<>"), field = labguha->text();
            break;
        case 4:
        case 5:
        case 6:
            value = txtland_ganana->text(), ddf = ops[code - 4], field = QStringLiteral("bvñ .Kk - ye wxlh");
            break;
        case 7:
        case 8:
        case 9:
            value = txtland_ganana_guha->text(), ddf = ops[code - 7], field = labland_ganana_guha->text();
            break;
        case 10:
            value = entryName(cmbgamiya->currentText()), field = labgamiya->text();
            break;
        case 11:
            value = entryName(cmbgama->currentText()), field = labgama->text();
            break;
        default:
            break;
        }
        request.setFormula(2, QStringLiteral("anuname='") + value + QStringLiteral("'"));
        request.setFormula(3, QStringLiteral("ddf='") + ddf + QStringLiteral("'"));
        request.setFormula(4, QStringLiteral("fshot1='") + field + QStringLiteral("'"));
        ReportEngine::runWithScratch(QStringLiteral("member_report"), kPrinted, lvland->lines(), request, this);
    });
}

void frmlandowner_report::cmdexit_Click() { close(); }

} // namespace parcelon
