#include "reports/frmland_balapath_report.h"

#include "base/dbsession.h"
#include "base/permissions.h"
#include "base/report.h"
#include "reports/reportengine.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>
#include <vector>

namespace parcelon {
namespace {
constexpr int kWidth = 9000;
constexpr int kHeight = 6700;
constexpr int kListWidth = 8520;

const QString kNotFound = QStringLiteral("we;=,;a lr wxlh bvï wxlhla fkdfú");
// Shown in place of the identity number when the holder's row is gone.
const QString kNoHolder = QStringLiteral("fkdue;");

// The land of a permit number (the first, should the number be held twice) and then its earlier
// versions, each with its holder looked up by its own owner number; `holder` is empty when that row is
// gone.
const QString kHistory
    = QStringLiteral("SELECT 0 AS kind, l.srno AS srno, l.balapa_no1, l.balapa_no, o.srno AS holder, o.id FROM land l "
                     "LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) "
                     "WHERE l.srno = (SELECT MIN(srno) FROM land WHERE balapa_no = ?) "
                     "UNION ALL "
                     "SELECT 1 AS kind, p.srno AS srno, p.balapa_no1, p.balapa_no, o.srno AS holder, o.id FROM land l "
                     "JOIN land_pera p ON p.land_srno = CAST(l.srno AS VARCHAR(20)) "
                     "LEFT JOIN landowner o ON p.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) "
                     "WHERE l.srno = (SELECT MIN(srno) FROM land WHERE balapa_no = ?) "
                     "ORDER BY kind, srno");
} // namespace

frmland_balapath_report::frmland_balapath_report(QWidget *opener)
    : QDialog(opener)
{
    build();
    wire();
    Form_Load();
}

void frmland_balapath_report::build()
{
    setObjectName(QStringLiteral("frmland_balapath_report"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labhname = captionLabel(
        this, "labhname", QStringLiteral("bvfñ n,m;%h fjkia lsßu jd¾;dj"), {120, 120, kWidth - 240, 600});
    labhname->setFont(parasFont(18));
    labhname->setAlignment(Qt::AlignCenter);
    labhname->setAutoFillBackground(false);
    titleBand(labhname);
    Label1 = captionLabel(this, "Label1", QStringLiteral("n,m;% wxlh"), {240, 960, 1800, 375});
    txtlandno = textBox(this, "txtlandno", {2100, 960, 2600, 375});
    cmdfind = button(this, "cmdfind", QStringLiteral("f;drd"), {4900, 930, 1400, 420});
    // Pressed by the land search when it hands a permit number back.
    cmdlv = button(this, "cmdlv", QStringLiteral("Command1"));
    cmdlv->hide();

    lv = new ListView(this);
    lv->setObjectName(QStringLiteral("lv"));
    lv->setGeometry(twips(240), twips(1560), twips(kListWidth), twips(4200));

    cmdenter = button(this, "cmdenter", QStringLiteral("jd¾;dj"), {kWidth - 240 - 3800, 5960, 1800, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {kWidth - 240 - 1800, 5960, 1800, 420});

    setTabOrder(txtlandno, cmdfind);
    setTabOrder(cmdfind, lv);
    setTabOrder(lv, cmdenter);
    setTabOrder(cmdenter, cmdexit);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {{"Label1", "txtlandno"}});
}

void frmland_balapath_report::wire()
{
    connect(txtlandno, &QLineEdit::textChanged, this, &frmland_balapath_report::txtlandno_Change);
    Events::of(txtlandno).lostFocus([this] { txtlandno_LostFocus(); });
    connect(cmdlv, &QPushButton::clicked, this, &frmland_balapath_report::cmdlv_Click);
    connect(cmdfind, &QPushButton::clicked, this, &frmland_balapath_report::cmdfind_Click);
    connect(cmdenter, &QPushButton::clicked, this, &frmland_balapath_report::cmdenter_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland_balapath_report::cmdexit_Click);
}

void frmland_balapath_report::Form_Load()
{
    guarded(this, [this] {
        center_form(this);
        // The number column is as wide as its caption needs in the PARAS-N font; the permit kind takes the rest.
        lv->setColumns({{QStringLiteral("wkq wxlh"), 1400}, {QStringLiteral("ye wxlh"), 1400},
            {QStringLiteral("n,m;% j¾.h"), kListWidth - 1400 - 1400 - 1800 - 300}, {QStringLiteral("bvï wxlh"), 1800}});
        if (permissionLevel(session::userSrno(), Flag::PermitReport) == ViewOnly)
            cmdenter->setEnabled(false);
        txtlandno->setFocus();
    });
}

void frmland_balapath_report::txtlandno_Change() { markNormal(txtlandno); }

void frmland_balapath_report::txtlandno_LostFocus()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty())
            return;
        if (!db().first(QStringLiteral("SELECT srno FROM land WHERE balapa_no = ?"), {txtlandno->text()})) {
            message(this, kNotFound);
            txtlandno->setFocus();
            return;
        }
        flv();
    });
}

void frmland_balapath_report::flv()
{
    lv->clear();
    const QString number = txtlandno->text();
    Query rows = db().select(kHistory, {number, number});
    std::vector<QStringList> lines;
    while (rows.next()) {
        const QString holder
            = rows.value(QStringLiteral("holder")).isEmpty() ? kNoHolder : rows.value(QStringLiteral("id")).left(9);
        lines.push_back({rows.value(QStringLiteral("srno")), holder, rows.value(QStringLiteral("balapa_no1")),
            rows.value(QStringLiteral("balapa_no"))});
    }
    lv->addItems(std::move(lines));
}

void frmland_balapath_report::cmdlv_Click()
{
    guarded(this, [this] { flv(); });
}

void frmland_balapath_report::cmdfind_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmland_search, this,
            [](QDialog *search) { HandBack(search).set("labch", QStringLiteral("4")); });
    });
}

void frmland_balapath_report::cmdenter_Click()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty()) {
            markRed(txtlandno);
            return;
        }
        ReportRequest request;
        request.file = lv->count() == 1 ? QStringLiteral("D:\\Parcelon\\Report\\old_land1.rpt")
                                        : QStringLiteral("D:\\Parcelon\\Report\\old_land.rpt");
        request.selectionFormula
            = selectionFormula(QStringLiteral("land"), QStringLiteral("balapa_no"), txtlandno->text());
        request.setFormula(0, QStringLiteral("fname ='") + officeName() + QStringLiteral("'"));
        request.setFormula(1, QStringLiteral("fanuname ='") + labhname->text() + QStringLiteral("'"));
        // The report reads the register itself; land_report is emptied with the read, in one change.
        ReportEngine::runWithScratch(
            QStringLiteral("land_report"), QStringList(), std::vector<QVariantList>(), request, this);
    });
}

void frmland_balapath_report::cmdexit_Click() { close(); }

} // namespace parcelon
