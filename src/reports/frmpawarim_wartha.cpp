#include "reports/frmpawarim_wartha.h"

#include "base/dbsession.h"
#include "base/permissions.h"
#include "base/report.h"
#include "reports/reportengine.h"
#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QLabel>
#include <QPushButton>

#include <utility>
#include <vector>

namespace parcelon {
namespace {
constexpr int kWidth = 9600;
constexpr int kHeight = 6600;
constexpr int kListWidth = 9120;
} // namespace

frmpawarim_wartha::frmpawarim_wartha(QWidget *opener)
    : QDialog(opener)
{
    build();
    connect(cmdok, &QPushButton::clicked, this, &frmpawarim_wartha::cmdok_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmpawarim_wartha::cmdexit_Click);
    Form_Load();
}

void frmpawarim_wartha::build()
{
    setObjectName(QStringLiteral("frmpawarim_wartha"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labname = captionLabel(this, "labname", QStringLiteral("miq ysñlï mejeßfñ j¾:d"), {120, 120, kWidth - 240, 600});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    lv = new ListView(this);
    lv->setObjectName(QStringLiteral("lv"));
    lv->setGeometry(twips(240), twips(900), twips(kListWidth), twips(4900));
    cmdok = button(this, "cmdok", QStringLiteral("j¾:d"), {kWidth - 240 - 3800, 5960, 1800, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {kWidth - 240 - 1800, 5960, 1800, 420});

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {});
}

void frmpawarim_wartha::Form_Load()
{
    guarded(this, [this] {
        center_form(this);
        // The number column is as wide as its caption needs in the PARAS-N font; the name takes the rest.
        lv->setColumns({{QStringLiteral("landno"), 0}, {QStringLiteral("wkq wxlh"), 1400},
            {QStringLiteral("bvï wxlh"), 3000}, {QStringLiteral("cd ye wxlh"), 1600, Qt::AlignHCenter},
            {QStringLiteral("ku"), kListWidth - 1400 - 3000 - 1600 - 300}});
        Query rows = db().select(
            QStringLiteral("SELECT lno, srno, land_wargaya, landno, id, land_owner_name FROM pasuhimika_report "
                           "ORDER BY srno"));
        std::vector<QStringList> lines;
        while (rows.next())
            lines.push_back({rows.value(0), rows.value(1), rows.value(2) + QStringLiteral("  ") + rows.value(3),
                rows.value(4).left(9), rows.value(5)});
        lv->addItems(std::move(lines));
        if (permissionLevel(session::userSrno(), Flag::SuccessorReport) == ViewOnly)
            cmdok->setEnabled(false);
    });
}

void frmpawarim_wartha::cmdok_Click()
{
    guarded(this, [this] {
        // With no line selected there is no land to print.
        const int row = lv->selectedRow();
        if (row < 0)
            return;
        ReportRequest cr4;
        cr4.file = QStringLiteral("D:\\Parcelon\\Report\\pasuhimikam.rpt");
        cr4.selectionFormula = QStringLiteral("{land.srno}=") + lv->text(row, 0);
        cr4.setFormula(0, QStringLiteral("fname ='") + officeName() + QStringLiteral("'"));
        ReportEngine::run(cr4, this);
    });
}

void frmpawarim_wartha::cmdexit_Click() { close(); }

} // namespace parcelon
