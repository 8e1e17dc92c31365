#include "admin/frmlog.h"

#include "base/clock.h"
#include "base/dbsession.h"
#include "base/passwords.h"
#include "ui/accessibility.h"
#include "ui/controls.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messagebox.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace parcelon {

frmlog::frmlog(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void frmlog::build()
{
    setObjectName(QStringLiteral("frmlog"));
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(twips(6600), twips(4860));

    lablogin = captionLabel(this, "lablogin", QStringLiteral("Log In"), {360, 180, 5880, 480});
    lablogin->setAlignment(Qt::AlignCenter);
    Label1 = captionLabel(this, "Label1", QStringLiteral(" User Name"), {360, 840, 2520, 375});
    txtusername = textBox(this, "txtusername", {3000, 840, 3240, 375});
    Label5 = captionLabel(this, "Label5", QStringLiteral(" Old Pass Word"), {360, 1320, 2520, 375});
    txtoldpw = textBox(this, "txtoldpw", {3000, 1320, 3240, 375});
    Label2 = captionLabel(this, "Label2", QStringLiteral(" Password"), {360, 1800, 2520, 375});
    TXTPW = textBox(this, "TXTPW", {3000, 1800, 3240, 375});
    Label4 = captionLabel(this, "Label4", QStringLiteral(" Re-Enter Password "), {360, 2280, 2520, 375});
    TXTPW1 = textBox(this, "TXTPW1", {3000, 2280, 3240, 375});
    Label3 = captionLabel(this, "Label3", QStringLiteral(" Name"), {360, 2760, 2520, 375});
    txtname = textBox(this, "txtname", {3000, 2760, 3240, 375});
    CMDADD = button(this, "CMDADD", QStringLiteral("SAVE"), {3000, 3360, 1560, 435});
    CMDEND = button(this, "CMDEND", QStringLiteral("Exit"), {4680, 3360, 1560, 435});
    labsrno = hiddenLabel(this, "labsrno");

    // The date and the clock at the foot of the screen, in a frame of the screen's own colour.
    fra1 = control(this, new QFrame, "fra1", 360, 3960, 5880, 555);
    fra1->setFrameStyle(QFrame::Box | QFrame::Plain);
    LABDATE = captionLabel(fra1, "LABDATE", QString(), {120, 90, 2640, 375});
    LABTIME = captionLabel(fra1, "LABTIME", QString(), {3000, 90, 2640, 375});

    lablogin->setFont(latinFont(14, true));
    for (QLabel *label : {Label1, Label5, Label2, Label4, Label3})
        label->setFont(latinFont(10, true));
    for (QWidget *w :
        std::initializer_list<QWidget *> {txtusername, txtoldpw, TXTPW, TXTPW1, txtname, LABDATE, LABTIME})
        w->setFont(latinFont(10));
    for (QPushButton *b : {CMDADD, CMDEND})
        b->setFont(latinFont(10, true));
    // The style's own mask is a dot; the register's screens mask with "*" (42).
    for (QLineEdit *box : {txtoldpw, TXTPW, TXTPW1}) {
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    }

    setTabOrder(txtusername, txtoldpw);
    setTabOrder(txtoldpw, TXTPW);
    setTabOrder(TXTPW, TXTPW1);
    setTabOrder(TXTPW1, txtname);
    setTabOrder(txtname, CMDADD);
    setTabOrder(CMDADD, CMDEND);

    T1 = new QTimer(this);
    T1->setObjectName(QStringLiteral("T1"));
    T1->setInterval(1000);
    connect(T1, &QTimer::timeout, this, &frmlog::T1_Timer);
    connect(CMDADD, &QPushButton::clicked, this, &frmlog::CMDADD_Click);
    connect(CMDEND, &QPushButton::clicked, this, &frmlog::CMDEND_Click);
    applyKeyPolicy(this, CMDEND);
    applyAccessibility(this,
        {{"Label1", "txtusername"}, {"Label5", "txtoldpw"}, {"Label2", "TXTPW"}, {"Label4", "TXTPW1"},
            {"Label3", "txtname"}});
}

void frmlog::Form_Load()
{
    center_form(this);
    setBackground(fra1, background(this));
    LABDATE->setText(Clock::shortDate());
    LABTIME->setText(Clock::longTime());
    T1->start();
}

void frmlog::T1_Timer() { LABTIME->setText(Clock::longTime()); }

void frmlog::CMDADD_Click()
{
    guarded(this, [this] {
        if (txtoldpw->text().isEmpty() || TXTPW->text().isEmpty())
            return;
        if (TXTPW->text() != TXTPW1->text()) {
            messageBox(this, QStringLiteral("Messsage"), QStringLiteral("Diference Password"));
            return;
        }
        bool changed = false;
        // The old password is compared and the new one written in one change, so a change made meanwhile
        // on another workstation is compared against, not overwritten.
        db().lockedChange([&] {
            const std::optional<Query> account = db().first(
                QStringLiteral("SELECT srno, password1 FROM user_loging WHERE username = ?"), {txtusername->text()});
            if (!account)
                throw DbError(QStringLiteral("The account \"%1\" is not registered.").arg(txtusername->text()),
                    QStringLiteral("frmlog"));
            labsrno->setText(account->value(QStringLiteral("srno")));
            if (account->isNull(QStringLiteral("password1"))
                || !passwordMatches(account->value(QStringLiteral("password1")), txtoldpw->text()))
                return;
            db().execute(QStringLiteral("UPDATE user_loging SET password1 = ?, password2 = ?, name = ? WHERE srno = ?"),
                {hashPassword(TXTPW->text()), hashPassword(TXTPW1->text()), txtname->text(),
                    Dialect::key(labsrno->text())});
            changed = true;
        });
        if (!changed) {
            messageBox(this, QStringLiteral("message"), QStringLiteral("Invalid Old Password"));
            txtoldpw->clear();
            return;
        }
        txtusername->clear();
        TXTPW->clear();
        TXTPW1->clear();
        txtname->clear();
        close();
    });
}

void frmlog::CMDEND_Click() { close(); }

} // namespace parcelon
