#include "shell/frmloging.h"

#include "base/clock.h"
#include "base/dbsession.h"
#include "base/passwords.h"
#include "base/registercheck.h"
#include "shell/frmhome.h"
#include "ui/accessibility.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messagebox.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace parcelon {
namespace {

void tell(QWidget *parent, const QString &title, const QString &text) { messageBox(parent, title, text); }
} // namespace

frmloging::frmloging(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmloging"));
    setWindowTitle(QStringLiteral("."));
    // The form itself is drawn in PARAS-N: the font check asks which font the form really got.
    setFont(parasFont(12));
    setBackground(this, colours::login);
    setFixedSize(twips(5400), twips(3480));

    const QFont latin = latinFont(10);
    const QFont latinBold = latinFont(10, true);
    Label2 = control(this, new QLabel(QStringLiteral("User Name")), "Label2", 360, 420, 1320, 300);
    Label4 = control(this, new QLabel(QStringLiteral("Pass Word")), "Label4", 360, 900, 1320, 300);
    txtusername = control(this, new QLineEdit, "txtusername", 1800, 360, 3120, 375);
    txtpassword = control(this, new QLineEdit, "txtpassword", 1800, 840, 3120, 375);
    txtpassword->setEchoMode(QLineEdit::Password);
    // The style's own mask is "●"; the login masks with "*" (42).
    txtpassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    ccmdlog = control(this, new QPushButton(QStringLiteral("Login")), "ccmdlog", 360, 1500, 1455, 435);
    cmdnotlog = control(this, new QPushButton(QStringLiteral("All User")), "cmdnotlog", 1935, 1500, 1455, 435);
    cmdend = control(this, new QPushButton(QStringLiteral("Exit")), "cmdend", 3510, 1500, 1410, 435);
    cmdchange_password = control(
        this, new QPushButton(QStringLiteral("Change Password")), "cmdchange_password", 1935, 2040, 2985, 375);
    cmdchange_password->setEnabled(false);
    labfont = control(this, new QLineEdit, "labfont", 0, 0, 100, 100);
    labfont->hide();
    Label1 = control(this, new QLabel(QStringLiteral("Date")), "Label1", 360, 2700, 600, 300);
    labdate = control(this, new QLabel, "labdate", 960, 2700, 1560, 300);
    Label3 = control(this, new QLabel(QStringLiteral("Time")), "Label3", 2640, 2700, 600, 300);
    labtime = control(this, new QLabel, "labtime", 3240, 2700, 1680, 300);
    for (QWidget *w : {static_cast<QWidget *>(Label2), static_cast<QWidget *>(Label4),
             static_cast<QWidget *>(txtusername), static_cast<QWidget *>(txtpassword), static_cast<QWidget *>(Label1),
             static_cast<QWidget *>(Label3), static_cast<QWidget *>(labdate), static_cast<QWidget *>(labtime)})
        w->setFont(latin);
    for (QPushButton *b : {ccmdlog, cmdnotlog, cmdend, cmdchange_password}) {
        b->setFont(latinBold);
        b->setAutoDefault(false);
    }
    setTabOrder(txtusername, txtpassword);
    setTabOrder(txtpassword, ccmdlog);
    setTabOrder(ccmdlog, cmdnotlog);
    setTabOrder(cmdnotlog, cmdend);
    setTabOrder(cmdend, cmdchange_password);

    tim = new QTimer(this);
    tim->setObjectName(QStringLiteral("tim"));
    tim->setInterval(1000);
    connect(tim, &QTimer::timeout, this, &frmloging::tim_Timer);

    Events::of(txtusername).lostFocus([this] { txtusername_LostFocus(); });
    Events::of(txtpassword).enter([this] { ccmdlog_Click(); });
    connect(ccmdlog, &QPushButton::clicked, this, &frmloging::ccmdlog_Click);
    connect(cmdnotlog, &QPushButton::clicked, this, &frmloging::cmdnotlog_Click);
    connect(cmdend, &QPushButton::clicked, this, &frmloging::cmdend_Click);
    connect(cmdchange_password, &QPushButton::clicked, this, &frmloging::cmdchange_password_Click);
    // Escape would close the screen and with it the application; only Exit does that.
    applyKeyPolicy(this, nullptr);
    applyAccessibility(this, {{"Label2", "txtusername"}, {"Label4", "txtpassword"}});
}

bool frmloging::Form_Load()
{
    // Whoever started Parcelon from a terminal reads there what to do; the clerk reads the box.
    if (!db().connect_db()) {
        QTextStream(stderr) << "parcelon: " << connectionAdvice() << Qt::endl;
        tell(this, applicationTitle(), QStringLiteral("odbc NotConneted"));
        return false;
    }
    QString notARegister;
    try {
        upgradeRegister();
        notARegister = registerProblem();
    } catch (const DbError &error) {
        notARegister = QStringLiteral("The register behind the data source land (the %1) could not be brought up "
                                      "to this Parcelon's version: %2")
                           .arg(describeDatabase(), error.description);
    }
    if (!notARegister.isEmpty()) {
        QTextStream(stderr) << "parcelon: " << notARegister << Qt::endl;
        db().close();
        tell(this, applicationTitle(), notARegister);
        return false;
    }
    labfont->setText(actualFamily(font()));
    if (labfont->text().compare(kParasFamily, Qt::CaseInsensitive) != 0) {
        tell(this, QStringLiteral("error"), QStringLiteral("Install font (PARAS - N)"));
        return false;
    }
    labdate->setText(Clock::shortDate());
    labtime->setText(Clock::longTime());
    tim->start();
    return true;
}

void frmloging::tim_Timer() { labtime->setText(Clock::longTime()); }

void frmloging::txtusername_LostFocus()
{
    guarded(this, [this] {
        const bool known
            = db().first(QStringLiteral("SELECT srno FROM user_loging WHERE username = ?"), {txtusername->text()})
                  .has_value();
        cmdchange_password->setEnabled(known);
    });
}

void frmloging::ccmdlog_Click()
{
    guarded(this, [this] {
        std::optional<Query> account = db().first(
            QStringLiteral("SELECT srno, password1, chack FROM user_loging WHERE username = ?"), {txtusername->text()});
        // A deleted account ("0") is kept for its history but is no account to log in with.
        if (!account || account->value(QStringLiteral("chack")) == QLatin1String("0")) {
            tell(this, QStringLiteral("Message"), QStringLiteral("Invalid User Name"));
            txtusername->clear();
            return;
        }
        if (account->isNull(QStringLiteral("password1"))
            || !passwordMatches(account->value(QStringLiteral("password1")), txtpassword->text())) {
            tell(this, QStringLiteral("message"), QStringLiteral("Invalid Password"));
            txtpassword->clear();
            return;
        }
        // A password another program wrote as typed is kept as a hash from this login on.
        if (!isPasswordHash(account->value(QStringLiteral("password1"))))
            db().transaction([&] { hashPlainPasswords(account->value(QStringLiteral("srno")).toLongLong()); });
        enterMainMenu(txtusername->text(), account->value(QStringLiteral("srno")));
    });
}

void frmloging::cmdnotlog_Click()
{
    guarded(this, [this] {
        const std::optional<Query> account
            = db().first(QStringLiteral("SELECT srno FROM user_loging WHERE username = 'All User'"));
        if (!account)
            throw DbError(QStringLiteral("The shared account \"All User\" is not registered."), applicationTitle());
        enterMainMenu(QStringLiteral("All user"), account->value(QStringLiteral("srno")));
    });
}

void frmloging::cmdchange_password_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmlog, this, [this](QDialog *screen) {
            HandBack(screen).set("txtusername", txtusername->text());
            screen->findChild<QLineEdit *>(QStringLiteral("txtusername"))->setEnabled(false);
        });
    });
}

void frmloging::cmdend_Click() { endApplication(); }

void frmloging::enterMainMenu(const QString &userName, const QString &userSrno)
{
    frmhome *home = frmhome::open();
    home->labusername->setText(userName);
    home->labuser_srno->setText(userSrno);
    home->show();
    tim->stop();
    accept();
}

} // namespace parcelon
