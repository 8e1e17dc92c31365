#include "registry/frmselect.h"

#include "registry/frmlandoner.h"
#include "ui/accessibility.h"
#include "ui/controls.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/screen.h"
#include "ui/twipsgeometry.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace parcelon {
namespace {
constexpr int kWidth = 7200;
constexpr int kHeight = 5400;

} // namespace

frmselect::frmselect(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("frmselect"));
    setWindowTitle(applicationTitle());
    setFont(parasFont(12));
    setBackground(this, colours::work);
    resize(twips(kWidth), twips(kHeight));

    Label1 = captionLabel(this, "Label1", QStringLiteral("mjqf,a idudcsl f;dr;=re"));
    Label1->setFont(parasFont(16));
    Label1->setAlignment(Qt::AlignCenter);
    titleBand(Label1);
    Label3 = captionLabel(this, "Label3", QStringLiteral(".Dy uq,sl wxlh"));
    labguhano = captionLabel(this, "labguhano", QString());
    labguhano->setFont(latinFont(11, true));
    lv = named(this, "lv", new ListView);
    lv->setColumns(
        {{QStringLiteral("wkq wxlh"), 1000}, {QStringLiteral("ye oq wxlh"), 0}, {QStringLiteral("ku"), 4000}});
    cmdnew = button(this, "cmdnew", QStringLiteral("kj idudcsl"));
    cmdok = button(this, "cmdok", QStringLiteral("fjkia lsrsu"));
    cmdexit = button(this, "cmdexit", QStringLiteral("msgjsu"));

    setTabOrder(lv, cmdok);
    setTabOrder(cmdok, cmdnew);
    setTabOrder(cmdnew, cmdexit);
    connect(cmdok, &QPushButton::clicked, this, &frmselect::cmdok_Click);
    connect(cmdnew, &QPushButton::clicked, this, &frmselect::cmdnew_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmselect::cmdexit_Click);
    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {{"Label3", "labguhano"}});
    Form_Resize();
}

void frmselect::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmselect::Form_Resize()
{
    const int width = toTwips(this->width());
    const int height = toTwips(this->height());
    tw::place(Label1, 120, 120, width - 240, 500);
    tw::place(Label3, 120, 760, 2200, 400);
    tw::place(labguhano, 2400, 760, width - 2520, 400);
    const int buttonTop = height - 120 - 495;
    tw::place(lv, 120, 1300, width - 240, std::max(600, buttonTop - 160 - 1300));
    int right = width - 120;
    for (QPushButton *b : {cmdexit, cmdok, cmdnew}) {
        tw::place(b, right - 1700, buttonTop, 1700, 495);
        right -= 1700 + 120;
    }
    // The owner number takes a seventh, the name the rest; the identity number is carried, not shown.
    const int listWidth = tw::width(lv);
    lv->setColumnWidth(0, twips(listWidth / 7));
    lv->setColumnWidth(1, 0);
    lv->setColumnHidden(1, true);
    lv->setColumnWidth(2, twips(listWidth * 6 / 7 - 200));
}

void frmselect::cmdok_Click()
{
    guarded(this, [this] {
        const int row = lv->selectedRow();
        if (row < 0 || !m_opener)
            return;
        if (cmdok->text() == QLatin1String("fjkia lsrsu")) {
            HandBack(m_opener).set("labno", lv->text(row, 0)).press("cmdselect");
            close();
            return;
        }
        // The land register: its owner controls, then its land list.
        HandBack(m_opener)
            .set("txtid", lv->text(row, 1))
            .set("labsrno_customr", lv->text(row, 0))
            .set("labname", lv->text(row, 2))
            .call("land_lv");
        close();
    });
}

void frmselect::cmdnew_Click()
{
    guarded(this, [this] {
        // The person is a new member of the household on the owner register; the household number stays.
        // Its writing buttons go through the register's permission gate.
        if (auto *owners = qobject_cast<frmlandoner *>(m_opener))
            owners->newOwnerMode();
        close();
    });
}

void frmselect::cmdexit_Click() { close(); }

} // namespace parcelon
