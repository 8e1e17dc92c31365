#include "admin/frmuser.h"

#include "base/dbsession.h"
#include "base/home.h"
#include "base/passwords.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messagebox.h"
#include "ui/screenregistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
const QString kShowCaption = QStringLiteral("Show password");
const QString kHideCaption = QStringLiteral("Hide password");

// A password box shows "*" for each character, or the password itself.
void maskPassword(QLineEdit *box, bool masked) { box->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal); }
} // namespace

frmuser::frmuser(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void frmuser::build()
{
    setObjectName(QStringLiteral("frmuser"));
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(twips(6720), twips(4920));

    Label6 = captionLabel(this, "Label6", QStringLiteral("USER REGISTER"), {360, 180, 6000, 480});
    Label6->setAlignment(Qt::AlignCenter);
    Label1 = captionLabel(this, "Label1", QStringLiteral(" User Name"), {360, 900, 2280, 375});
    txtuser = textBox(this, "txtuser", {2760, 900, 3600, 375});
    Label4 = captionLabel(this, "Label4", QStringLiteral(" Pass Word"), {360, 1380, 2280, 375});
    txtpassword1 = textBox(this, "txtpassword1", {2760, 1380, 3600, 375});
    Label2 = captionLabel(this, "Label2", QStringLiteral(" Re-Enter Password"), {360, 1860, 2280, 375});
    txtpassword2 = textBox(this, "txtpassword2", {2760, 1860, 3600, 375});
    Label3 = captionLabel(this, "Label3", QStringLiteral(" Name"), {360, 2340, 2280, 375});
    txtname = textBox(this, "txtname", {2760, 2340, 3600, 375});
    Label5 = captionLabel(this, "Label5", QStringLiteral(" Srno"), {360, 2820, 2280, 375});
    labsrno = valueLabel(this, "labsrno", {2760, 2820, 1200, 375}, colours::normal);

    cmdsave = button(this, "cmdsave", QStringLiteral("Save"), {360, 3540, 1920, 435});
    cmddelect = button(this, "cmddelect", QStringLiteral("Delete"), {2400, 3540, 1920, 435});
    cmdpermission = button(this, "cmdpermission", QStringLiteral("Permission"), {4440, 3540, 1920, 435});
    cmdshow = button(this, "cmdshow", QStringLiteral("Show pass word"), {360, 4140, 3960, 435});
    cmdexit = button(this, "cmdexit", QStringLiteral("Exit"), {4440, 4140, 1920, 435});
    cmdpermission->setEnabled(false);

    // The captions are English and the names and passwords are typed in Latin letters, as at the login.
    for (QLabel *label : {Label1, Label4, Label2, Label3, Label5})
        label->setFont(latinFont(10, true));
    Label6->setFont(latinFont(14, true));
    for (QWidget *w : std::initializer_list<QWidget *> {txtuser, txtpassword1, txtpassword2, txtname, labsrno})
        w->setFont(latinFont(10));
    for (QPushButton *b : {cmdsave, cmddelect, cmdpermission, cmdshow, cmdexit})
        b->setFont(latinFont(10, true));
    // The style's own mask is a dot; the register's screens mask with "*" (42).
    for (QLineEdit *box : {txtpassword1, txtpassword2}) {
        box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        maskPassword(box, true);
    }

    setTabOrder(txtuser, txtpassword1);
    setTabOrder(txtpassword1, txtpassword2);
    setTabOrder(txtpassword2, txtname);
    setTabOrder(txtname, cmdsave);
    setTabOrder(cmdsave, cmddelect);
    setTabOrder(cmddelect, cmdpermission);
    setTabOrder(cmdpermission, cmdshow);
    setTabOrder(cmdshow, cmdexit);

    Events::of(txtuser).lostFocus([this] { txtuser_LostFocus(); });
    connect(cmdsave, &QPushButton::clicked, this, &frmuser::cmdsave_Click);
    connect(cmddelect, &QPushButton::clicked, this, &frmuser::cmddelect_Click);
    connect(cmdpermission, &QPushButton::clicked, this, &frmuser::cmdpermission_Click);
    connect(cmdshow, &QPushButton::clicked, this, &frmuser::cmdshow_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmuser::cmdexit_Click);
    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"Label1", "txtuser"}, {"Label4", "txtpassword1"}, {"Label2", "txtpassword2"}, {"Label3", "txtname"},
            {"Label5", "labsrno"}});
}

void frmuser::Form_Load()
{
    center_form(this);
    guarded(this, [this] { last_no(); });
    cmddelect->setEnabled(false);
}

void frmuser::last_no() { labsrno->setText(db().recordNumber(QStringLiteral("user_loging"))); }

void frmuser::txtuser_LostFocus()
{
    guarded(this, [this] {
        const std::optional<Query> account
            = db().first(QStringLiteral("SELECT srno, password1, password2, name FROM user_loging WHERE username = ?"),
                {txtuser->text()});
        if (!account) {
            txtpassword1->clear();
            txtpassword2->clear();
            txtname->clear();
            cmddelect->setEnabled(false);
            cmdsave->setEnabled(true);
            cmdpermission->setEnabled(false);
            last_no();
            return;
        }
        const QString user = session::userName();
        const bool administrator = isAdministrator(user);
        // Nobody but the administrator changes the permissions of the account they are logged in with.
        const bool own = account->value(QStringLiteral("srno")) == session::userSrno();
        cmdpermission->setEnabled(user.startsWith(QStringLiteral("Chi")) && (administrator || !own));
        if (administrator || txtuser->text() == user) {
            // The register keeps only hashes of the passwords: there is nothing to show, the boxes stay
            // empty.
            txtpassword1->clear();
            txtpassword2->clear();
            txtname->setText(account->value(QStringLiteral("name")));
            labsrno->setText(account->value(QStringLiteral("srno")));
            cmdsave->setEnabled(false);
            cmddelect->setEnabled(true);
        } else if (cmdpermission->isEnabled()) {
            // A "Chi" session may give another account its permissions without seeing its password:
            // the name stays and labsrno names that account, so the permission screen writes its rows
            // and not those of the number the next new account would take.
            messageBox(this, QStringLiteral("Message"), QStringLiteral("Not Permission "));
            labsrno->setText(account->value(QStringLiteral("srno")));
            cmdsave->setEnabled(false);
            cmddelect->setEnabled(false);
            // Back in the name box, leaving it for the button would bring the message up again.
            cmdpermission->setFocus();
        } else {
            messageBox(this, QStringLiteral("Message"), QStringLiteral("Not Permission "));
            txtuser->setFocus();
            txtuser->clear();
        }
    });
}

void frmuser::cmdsave_Click()
{
    guarded(this, [this] {
        if (txtuser->text().isEmpty()) {
            markRed(txtuser);
            return;
        }
        if (txtpassword1->text().isEmpty()) {
            markRed(txtpassword1);
            return;
        }
        if (txtpassword1->text() != txtpassword2->text()) {
            messageBox(this, QStringLiteral("Messsage"), QStringLiteral("Diference Password"));
            return;
        }
        // The name is looked at again under the lock, so that two workstations cannot both create it;
        // the permission row that follows takes the number the database really gave the account, which
        // another workstation's account may have made differ from the one shown.
        bool taken = false;
        qlonglong srno = 0;
        db().lockedChange([&] {
            taken = db().first(QStringLiteral("SELECT srno FROM user_loging WHERE username = ?"), {txtuser->text()})
                        .has_value();
            if (taken)
                return;
            // The password goes into both password columns, each as a hash of its own.
            srno = db().insert(QStringLiteral("user_loging"),
                QStringLiteral(
                    "INSERT INTO user_loging (username, password1, password2, name, chack) VALUES (?, ?, ?, ?, '1')"),
                {txtuser->text(), hashPassword(txtpassword1->text()), hashPassword(txtpassword1->text()),
                    txtname->text()});
        });
        if (taken) {
            markRed(txtuser);
            return;
        }
        labsrno->setText(QString::number(srno));
        openPermissions();
        txtuser->clear();
        txtpassword1->clear();
        txtpassword2->clear();
        txtname->clear();
        last_no();
    });
}

void frmuser::cmdpermission_Click()
{
    guarded(this, [this] {
        // Only an account that exists gets permissions here: after a delete or with the name box
        // emptied, labsrno holds the number of an account still to come.
        const std::optional<Query> account
            = db().first(QStringLiteral("SELECT srno FROM user_loging WHERE username = ?"), {txtuser->text()});
        if (!account)
            return;
        if (!isAdministrator(session::userName()) && account->value(QStringLiteral("srno")) == session::userSrno()) {
            messageBox(this, QStringLiteral("Message"), QStringLiteral("Not Permission "));
            return;
        }
        labsrno->setText(account->value(QStringLiteral("srno")));
        openPermissions();
    });
}

void frmuser::openPermissions()
{
    // The permission screen reads the account's number from labsrno of this screen as it loads.
    Screens::open(
        ScreenId::frmpramission, this, [this](QDialog *screen) { HandBack(screen).set("labuser", txtuser->text()); });
}

void frmuser::cmdshow_Click()
{
    // The first caption is "Show pass word", so the first click only changes the caption.
    const bool mask = cmdshow->text() != kShowCaption;
    cmdshow->setText(mask ? kShowCaption : kHideCaption);
    maskPassword(txtpassword1, mask);
    maskPassword(txtpassword2, mask);
}

void frmuser::cmddelect_Click()
{
    guarded(this, [this] {
        db().execute(
            QStringLiteral("UPDATE user_loging SET chack = '0' WHERE srno = ?"), {Dialect::key(labsrno->text())});
        txtuser->clear();
        txtpassword1->clear();
        txtpassword2->clear();
        txtname->clear();
        last_no();
    });
}

void frmuser::cmdexit_Click() { close(); }

} // namespace parcelon
