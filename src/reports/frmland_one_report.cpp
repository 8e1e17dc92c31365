#include "reports/frmland_one_report.h"

#include "base/dbsession.h"
#include "base/permissions.h"
#include "base/report.h"
#include "reports/reportengine.h"
#include "reports/reportscreens.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"
#include "ui/twipsgeometry.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace parcelon {
namespace {
constexpr int kWidth = 9000;
constexpr int kHeight = 6400;
constexpr int kFrameWidth = 8520;
constexpr int kFrameHeight = 2200;

const QString kLandNotFound = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kOwnerNotFound = QStringLiteral("we;=,;a l< cd;sl yeÿkqïm;a wxlhg o;a; fkdue;");

QGroupBox *frame(QWidget *form, const char *name, const QString &caption, int top)
{
    auto *box = new QGroupBox(caption, form);
    box->setObjectName(QLatin1String(name));
    box->setFont(parasFont(12));
    tw::place(box, 240, top, kFrameWidth, kFrameHeight);
    return box;
}
} // namespace

frmland_one_report::frmland_one_report(QWidget *opener)
    : QDialog(opener)
{
    build();
    wire();
    Form_Load();
}

void frmland_one_report::build()
{
    setObjectName(QStringLiteral("frmland_one_report"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labname = captionLabel(
        this, "labname", QStringLiteral("bvï yd bvñ yssñhd f.a ish¨ úia;r"), {120, 120, kWidth - 240, 600});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);

    Frame1 = frame(this, "Frame1", QStringLiteral("bvu ms<sno úia;r"), 900);
    Label4 = captionLabel(Frame1, "Label4", QStringLiteral(" bvï wxlh"), {240, 480, 1900, 375});
    txtlandno = textBox(Frame1, "txtlandno", {2200, 480, 2600, 375});
    cmdfind_l = button(Frame1, "cmdfind_l", QStringLiteral("f;drd"), {5000, 450, 1400, 420});
    optkiyakari = optionButton(Frame1, "optkiyakari", QStringLiteral("l%shdldrs"), 2200, 1000, 1900);
    optakkiyakari = optionButton(Frame1, "optakkiyakari", QStringLiteral("wl%shldrs"), 4300, 1000, 1900);
    cmdprint = button(Frame1, "cmdprint", QStringLiteral("uqo%Kh"), {kFrameWidth - 240 - 1600, 1600, 1600, 420});

    Frame2 = frame(this, "Frame2", QStringLiteral("bvï ysñhd ms<sno úia;r"), 900 + kFrameHeight + 200);
    labid = captionLabel(Frame2, "labid", QStringLiteral(" cd ye wxlh"), {240, 480, 1900, 375});
    txtid = textBox(Frame2, "txtid", {2200, 480, 2600, 375});
    identityBox(txtid);
    cmdfind = button(Frame2, "cmdfind", QStringLiteral("f;drd"), {5000, 450, 1400, 420});
    optkiyakari1 = optionButton(Frame2, "optkiyakari1", QStringLiteral("l%shdldrs"), 2200, 1000, 1900);
    optakkiyakari1 = optionButton(Frame2, "optakkiyakari1", QStringLiteral("wl%shldrs"), 4300, 1000, 1900);
    cmdprint1 = button(Frame2, "cmdprint1", QStringLiteral("uqo%Kh"), {kFrameWidth - 240 - 1600, 1600, 1600, 420});

    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {kWidth - 240 - 1600, kHeight - 620, 1600, 420});

    setTabOrder(txtlandno, cmdfind_l);
    setTabOrder(cmdfind_l, optkiyakari);
    setTabOrder(optkiyakari, optakkiyakari);
    setTabOrder(optakkiyakari, cmdprint);
    setTabOrder(cmdprint, txtid);
    setTabOrder(txtid, cmdfind);
    setTabOrder(cmdfind, optkiyakari1);
    setTabOrder(optkiyakari1, optakkiyakari1);
    setTabOrder(optakkiyakari1, cmdprint1);
    setTabOrder(cmdprint1, cmdexit);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {{"Label4", "txtlandno"}, {"labid", "txtid"}});
}

void frmland_one_report::wire()
{
    Events::of(txtlandno).lostFocus([this] { txtlandno_LostFocus(); });
    Events::of(txtid).lostFocus([this] { txtid_LostFocus(); });
    connect(cmdfind_l, &QPushButton::clicked, this, &frmland_one_report::cmdfind_l_Click);
    connect(cmdfind, &QPushButton::clicked, this, &frmland_one_report::cmdfind_Click);
    connect(cmdprint, &QPushButton::clicked, this, &frmland_one_report::cmdprint_Click);
    connect(cmdprint1, &QPushButton::clicked, this, &frmland_one_report::cmdprint1_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland_one_report::cmdexit_Click);
}

void frmland_one_report::Form_Load()
{
    guarded(this, [this] {
        center_form(this);
        optkiyakari->setChecked(true);
        optkiyakari1->setChecked(true);
        if (permissionLevel(session::userSrno(), Flag::OneLandReport) == ViewOnly) {
            cmdprint->setEnabled(false);
            cmdprint1->setEnabled(false);
        }
    });
}

void frmland_one_report::txtlandno_LostFocus()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty())
            return;
        const QString view = optkiyakari->isChecked() ? QStringLiteral("land1") : QStringLiteral("land2");
        if (db().first(QStringLiteral("SELECT srno FROM %1 WHERE balapa_no = ?").arg(view), {txtlandno->text()}))
            return;
        message(this, kLandNotFound);
        txtlandno->setFocus();
    });
}

void frmland_one_report::txtid_LostFocus()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty())
            return;
        const QString view = optkiyakari1->isChecked() ? QStringLiteral("landowner1") : QStringLiteral("landowner2");
        if (db().first(QStringLiteral("SELECT srno FROM %1 WHERE id = ?").arg(view), {txtid->text()}))
            return;
        message(this, kOwnerNotFound);
        txtid->setFocus();
    });
}

void frmland_one_report::cmdfind_l_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmland_search, this,
            [](QDialog *search) { HandBack(search).set("labch", QStringLiteral("5")); });
    });
}

void frmland_one_report::cmdfind_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmfind_land_onew, this,
            [](QDialog *finder) { HandBack(finder).set("labch", QStringLiteral("2")); });
    });
}

void frmland_one_report::cmdprint_Click()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty())
            return;
        ReportRequest cr4;
        cr4.file = QStringLiteral("D:\\Parcelon\\Report\\land_all_detels.rpt");
        cr4.selectionFormula = selectionFormula(QStringLiteral("land"), QStringLiteral("balapa_no"), txtlandno->text());
        cr4.setFormula(0, QStringLiteral("fname ='") + officeName() + QStringLiteral("'"));
        ReportEngine::run(cr4, this);
    });
}

void frmland_one_report::cmdprint1_Click()
{
    guarded(this, [this] {
        if (txtid->text().isEmpty())
            return;
        ReportRequest cr5;
        cr5.file = QStringLiteral("D:\\Parcelon\\Report\\land_owner_all.rpt");
        cr5.selectionFormula = selectionFormula(QStringLiteral("landowner"), QStringLiteral("id"), txtid->text());
        cr5.setFormula(0, QStringLiteral("fname ='") + officeName() + QStringLiteral("'"));
        ReportEngine::run(cr5, this);
    });
}

void frmland_one_report::cmdexit_Click() { close(); }

} // namespace parcelon
