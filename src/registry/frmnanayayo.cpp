#include "registry/frmnanayayo.h"

#include "base/dbsession.h"
#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
constexpr int kWidth = 6240;
constexpr int kHeight = 2760;
} // namespace

frmnanayayo::frmnanayayo(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    build();
    Form_Load();
}

void frmnanayayo::build()
{
    setObjectName(QStringLiteral("frmnanayayo"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    Label1 = captionLabel(this, "Label1", QStringLiteral("{d;ska tla lsßu"), {0, 0, kWidth, 600});
    Label1->setFont(parasFont(18));
    Label1->setAlignment(Qt::AlignCenter);
    titleBand(Label1);

    Label2 = captionLabel(this, "Label2", QStringLiteral(" wkq wxlh"), {240, 840, 2520, 375});
    labsrno = valueLabel(this, "labsrno", {2880, 840, 1200, 375});
    Label4 = captionLabel(this, "Label4", QStringLiteral(" {d;shka f.a ku"), {240, 1335, 2520, 375});
    txtnayayo = textBox(this, "txtnayayo", {2880, 1335, 3120, 375});

    cmdadd = button(this, "cmdadd", QStringLiteral("we;=,a lsrSu"), {2400, 2100, 1700, 420});
    Command2 = button(this, "Command2", QStringLiteral("msgjsu"), {4300, 2100, 1700, 420});

    setTabOrder(txtnayayo, cmdadd);
    setTabOrder(cmdadd, Command2);
    connect(cmdadd, &QPushButton::clicked, this, &frmnanayayo::cmdadd_Click);
    connect(Command2, &QPushButton::clicked, this, &frmnanayayo::Command2_Click);
    applyKeyPolicy(this, Command2);
    applyAccessibility(this, {{"Label2", "labsrno"}, {"Label4", "txtnayayo"}});
}

void frmnanayayo::Form_Load()
{
    center_form(this);
    guarded(this, [this] { labsrno->setText(db().recordNumber(QStringLiteral("nadayo"))); });
}

void frmnanayayo::cmdadd_Click()
{
    guarded(this, [this] {
        // The name is not checked: an empty one adds a kind without a name.
        db().execute(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {txtnayayo->text()});
        HandBack(m_opener).press("cmdnanayo");
        // One kind per opening.
        cmdadd->setEnabled(false);
    });
}

void frmnanayayo::Command2_Click()
{
    guarded(this, [this] {
        m_left = true;
        HandBack(m_opener).press("cmdcha");
        close();
    });
}

void frmnanayayo::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous() && !m_left)
        Command2_Click();
    QDialog::closeEvent(event);
}

} // namespace parcelon
