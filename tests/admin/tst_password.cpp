// Changing a password from the login screen: the screen the login opens for the name typed, its refusals
// (no password typed, new passwords that differ, a wrong old password) and a change after which the new
// password, and only it, logs in.

#include "admin/frmlog.h"
#include "base/clock.h"
#include "base/dbsession.h"
#include "base/passwords.h"
#include "shell/frmhome.h"
#include "shell/frmloging.h"
#include "shell/screens.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/screentest.h"
#include "ui/screen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace parcelon;

namespace {
struct Account
{
    QString password1;
    QString password2;
    QString name;
};

Account stored(const QString &user)
{
    Query row
        = db().select(QStringLiteral("SELECT password1, password2, name FROM user_loging WHERE username = ?"), {user});
    if (!row.next())
        return {};
    return {row.value(0), row.value(1), row.value(2)};
}
} // namespace

class tst_password : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmlog> m_screen;

    frmlog *openFor(const QString &user)
    {
        m_screen = std::make_unique<frmlog>();
        m_screen->txtusername->setText(user);
        m_screen->txtusername->setEnabled(false);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::addUser(QStringLiteral("Chief"), QStringLiteral("Secret1"), {QStringLiteral("4 - ish¨ wjir")});
        test::addUser(QStringLiteral("Nimal"), QStringLiteral("old-pw"), {QStringLiteral("2 - ne,su muKhs")});
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void change_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("changed");

        QTest::newRow("no old password") << ""
                                         << "new-pw"
                                         << "new-pw"
                                         << ""
                                         << ""
                                         << "" << false;
        QTest::newRow("no new password") << "old-pw"
                                         << ""
                                         << ""
                                         << ""
                                         << ""
                                         << "" << false;
        QTest::newRow("new passwords differ") << "old-pw"
                                              << "new-pw"
                                              << "new-pW"
                                              << ""
                                              << "Diference Password"
                                              << "Messsage" << false;
        QTest::newRow("wrong old password") << "Old-pw"
                                            << "new-pw"
                                            << "new-pw"
                                            << ""
                                            << "Invalid Old Password"
                                            << "message" << false;
        QTest::newRow("changed, name typed") << "old-pw"
                                             << "new-pw"
                                             << "new-pw"
                                             << "Nimal Silva"
                                             << ""
                                             << "" << true;
        QTest::newRow("changed, name left empty") << "old-pw"
                                                  << "new-pw"
                                                  << "new-pw"
                                                  << ""
                                                  << ""
                                                  << "" << true;
    }
    void change()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, again);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(bool, changed);

        frmlog *s = openFor(QStringLiteral("Nimal"));
        QCOMPARE(s->txtname->text(), QString());
        for (QLineEdit *box : {s->txtoldpw, s->TXTPW, s->TXTPW1})
            QCOMPARE(box->echoMode(), QLineEdit::Password);
        QTest::mouseClick(s->txtoldpw, Qt::LeftButton);
        test::type(s->txtoldpw, oldPassword);
        QTest::keyClick(s->txtoldpw, Qt::Key_Tab);
        test::type(s->TXTPW, newPassword);
        QTest::keyClick(s->TXTPW, Qt::Key_Tab);
        test::type(s->TXTPW1, again);
        QTest::keyClick(s->TXTPW1, Qt::Key_Tab);
        test::type(s->txtname, name);
        test::ModalAnswers answers;
        if (!message.isEmpty())
            answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->CMDADD, Qt::LeftButton);

        QCOMPARE(answers.answered(), message.isEmpty() ? 0 : 1);
        QCOMPARE(answers.text(), message);
        QCOMPARE(answers.title(), title);
        const Account account = stored(QStringLiteral("Nimal"));
        if (changed) {
            QVERIFY(passwordMatches(account.password1, newPassword));
            QVERIFY(passwordMatches(account.password2, again));
            QCOMPARE(account.name, name); // the name is written anew, empty when nothing was typed
            QVERIFY(!s->isVisible());
            QCOMPARE(s->txtusername->text(), QString());
        } else {
            QVERIFY(passwordMatches(account.password1, QStringLiteral("old-pw")));
            QVERIFY(passwordMatches(account.password2, QStringLiteral("old-pw")));
            QCOMPARE(account.name, QStringLiteral("Nimal"));
            QVERIFY(s->isVisible());
            // Only a wrong old password empties its box, so the clerk may try again.
            QCOMPARE(s->txtoldpw->text(), message == QLatin1String("Invalid Old Password") ? QString() : oldPassword);
            QCOMPARE(s->TXTPW->text(), newPassword);
        }
        QVERIFY(passwordMatches(stored(QStringLiteral("Chief")).password1, QStringLiteral("Secret1")));
    }

    void newPasswordLogsInThroughTheLogin()
    {
        db().close(); // the login opens the session itself
        auto *login = new frmloging;
        login->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(login->Form_Load());
        test::showScreen(login);
        QTest::keyClicks(login->txtusername, QStringLiteral("Nimal"));
        QTest::keyClick(login->txtusername, Qt::Key_Tab);
        QVERIFY(login->cmdchange_password->isEnabled());

        // The login fills in the name and locks it; the clerk changes the password and the screen closes.
        QString shownUser;
        bool locked = false;
        bool closed = false;
        test::ModalAnswers change;
        change.with([&](QWidget *dialog) {
            auto *s = qobject_cast<frmlog *>(dialog);
            QVERIFY(s);
            shownUser = s->txtusername->text();
            locked = !s->txtusername->isEnabled();
            s->txtoldpw->setText(QStringLiteral("old-pw"));
            s->TXTPW->setText(QStringLiteral("new-pw"));
            s->TXTPW1->setText(QStringLiteral("new-pw"));
            QTest::mouseClick(s->CMDADD, Qt::LeftButton);
            closed = !s->isVisible();
        });
        QTest::mouseClick(login->cmdchange_password, Qt::LeftButton);
        QVERIFY(change.allAnswered());
        QCOMPARE(change.name(), QStringLiteral("frmlog"));
        QCOMPARE(shownUser, QStringLiteral("Nimal"));
        QVERIFY(locked);
        QVERIFY(closed);
        test::backTo(login);

        // The old password is refused, the new one logs in.
        QVERIFY(login->isVisible());
        login->txtpassword->setText(QStringLiteral("old-pw"));
        test::ModalAnswers refused;
        refused.press(QStringLiteral("OK"));
        QTest::mouseClick(login->ccmdlog, Qt::LeftButton);
        QCOMPARE(refused.answered(), 1);
        QCOMPARE(refused.text(), QStringLiteral("Invalid Password"));
        QVERIFY(!frmhome::current());
        login->txtpassword->setText(QStringLiteral("new-pw"));
        QTest::mouseClick(login->ccmdlog, Qt::LeftButton);
        QVERIFY(frmhome::current());
        QCOMPARE(frmhome::current()->labusername->text(), QStringLiteral("Nimal"));
        QTRY_VERIFY(!login->isVisible());
    }

    void vanishedAccountShowsTheFailure()
    {
        frmlog *s = openFor(QStringLiteral("Nimal"));
        test::exec(QStringLiteral("DELETE FROM user_loging WHERE username = 'Nimal'"));
        s->txtoldpw->setText(QStringLiteral("old-pw"));
        s->TXTPW->setText(QStringLiteral("new-pw"));
        s->TXTPW1->setText(QStringLiteral("new-pw"));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->CMDADD, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QVERIFY(answers.text().contains(QLatin1String(" Source : ")));
        QVERIFY(s->isVisible());
    }

    void clockRunsAndTabOrderFollowsTheBoxes()
    {
        frmlog *s = openFor(QStringLiteral("Nimal"));
        QCOMPARE(s->LABDATE->text(), Clock::shortDate());
        QCOMPARE(s->LABTIME->text(), Clock::longTime());
        QCOMPARE(s->T1->interval(), 1000);
        QVERIFY(s->T1->isActive());
        Clock::setFixed(test::kTestClock.addSecs(75));
        s->T1_Timer();
        QCOMPARE(s->LABTIME->text(), Clock::longTime());
        QCOMPARE(background(s->fra1), background(s));

        s->txtusername->setEnabled(true);
        QList<QWidget *> order;
        QWidget *w = s->txtusername;
        for (int i = 0; i < 7; ++i) {
            order << w;
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
        }
        QCOMPARE(order,
            (QList<QWidget *> {s->txtusername, s->txtoldpw, s->TXTPW, s->TXTPW1, s->txtname, s->CMDADD, s->CMDEND}));
        QCOMPARE(test::unaddressable(s), QStringList());
    }
};

QTEST_MAIN(tst_password)
#include "tst_password.moc"
