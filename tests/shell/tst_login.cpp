// The login screen as a clerk meets it: refusals at start, logging in by name and password or as
// "All User", and the change-password button.

#include "base/clock.h"
#include "base/passwords.h"
#include "shell/frmhome.h"
#include "shell/frmloging.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "ui/application.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace parcelon;

class tst_login : public QObject
{
    Q_OBJECT
    int m_ended = 0;
    QString m_chief;

private slots:
    void initTestCase()
    {
        QVERIFY(test::loadParasFont());
        setEndApplication([this] { ++m_ended; });
    }

    void init()
    {
        m_ended = 0;
        test::openDatabase();
        m_chief = test::addUser(QStringLiteral("Chief"), QStringLiteral("Secret1"), {QStringLiteral("4 - ish¨ wjir")});
        test::addUser(QStringLiteral("All User"), QString(), {QStringLiteral("2 - ne,su muKhs")});
        // A deleted account: kept for its history, no longer one to log in with.
        const QString gone
            = test::addUser(QStringLiteral("Gone"), QStringLiteral("Secret1"), {QStringLiteral("4 - ish¨ wjir")});
        test::exec(QStringLiteral("UPDATE user_loging SET chack = '0' WHERE srno = ?"), {gone.toInt()});
        // A password another program wrote into the register as typed.
        test::exec(QStringLiteral("INSERT INTO user_loging (username, password1, password2, name, chack) "
                                  "VALUES ('Plain', 'Plain1', 'Plain1', 'Plain', '1')"));
        db().close(); // the login screen opens the session itself
    }

    void cleanup()
    {
        Clock::setFixed({});
        test::destroyDatabase();
        QCOMPARE(test::closeAllWindows(), QStringList());
    }

    void refusesWithoutDataSource()
    {
        test::removeDataSource();
        frmloging login;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QVERIFY(!login.Form_Load());
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), QStringLiteral("odbc NotConneted"));
    }

    void refusesWithoutFont()
    {
        test::unloadParasFont();
        frmloging login;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        const bool loaded = login.Form_Load();
        QVERIFY(test::loadParasFont());
        QVERIFY(!loaded);
        QCOMPARE(answers.text(), QStringLiteral("Install font (PARAS - N)"));
        QCOMPARE(answers.title(), QStringLiteral("error"));
        QVERIFY(login.labfont->text() != QStringLiteral("PARAS-N"));
    }

    void refusesADatabaseThatIsNoRegister()
    {
        // SQLite: an empty file; PostgreSQL: a database without a register (the server's own "postgres").
        QTemporaryDir dir;
        QString database;
        if (test::backend() == test::Backend::PostgreSQL) {
            const std::optional<DataSource> source = readDataSource(QStringLiteral("land"));
            QVERIFY(source);
            database = QStringLiteral("postgres");
            QVERIFY(writeDataSource(QStringLiteral("land"),
                {{QStringLiteral("Driver"), source->driver}, {QStringLiteral("Servername"), source->server},
                    {QStringLiteral("Port"), source->port}, {QStringLiteral("Database"), database}}));
        } else {
            database = dir.filePath(QStringLiteral("empty.db"));
            QFile empty(database);
            QVERIFY(empty.open(QIODevice::WriteOnly));
            empty.close();
            QVERIFY(writeDataSource(QStringLiteral("land"),
                {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}, {QStringLiteral("Database"), database}}));
        }
        frmloging login;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QVERIFY(!login.Form_Load());
        QCOMPARE(answers.answered(), 1);
        QVERIFY2(answers.text().startsWith(QLatin1String("The data source land does not lead to a Parcelon register")),
            qPrintable(answers.text()));
        QVERIFY2(answers.text().contains(database), qPrintable(answers.text()));
        QVERIFY(!db().isOpen());
        QVERIFY(!login.tim->isActive());
    }

    void passwordIsMaskedWithStars()
    {
        frmloging login;
        QVERIFY(login.Form_Load());
        test::showScreen(&login);
        QTest::keyClicks(login.txtpassword, QStringLiteral("Secret1"));
        QCOMPARE(login.txtpassword->text(), QStringLiteral("Secret1"));
        QCOMPARE(login.txtpassword->displayText(), QStringLiteral("*******"));
        QStyleOptionFrame option;
        option.initFrom(login.txtpassword);
        QCOMPARE(
            login.txtpassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, login.txtpassword),
            int('*'));
        login.close();
    }

    void loadShowsDateAndRunningClock()
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 15, 30)));
        frmloging login;
        QVERIFY(login.Form_Load());
        QCOMPARE(login.labfont->text(), QStringLiteral("PARAS-N"));
        // The system's short date and long time formats; the tests run in the C locale.
        QCOMPARE(login.labdate->text(), QStringLiteral("10 Dec 2026"));
        QCOMPARE(login.labtime->text(), QStringLiteral("09:15:30"));
        QVERIFY(login.tim->isActive());
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 15, 31)));
        login.tim_Timer();
        QCOMPARE(login.labtime->text(), QStringLiteral("09:15:31"));
    }

    void login_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("pressEnter");
        QTest::addColumn<QString>("message"); // empty: logged in
        QTest::addColumn<QString>("title");
        QTest::newRow("name and password, button") << "Chief"
                                                   << "Secret1" << false << ""
                                                   << "";
        QTest::newRow("Enter in the password box") << "Chief"
                                                   << "Secret1" << true << ""
                                                   << "";
        QTest::newRow("name in another letter case") << "chief"
                                                     << "Secret1" << false << ""
                                                     << "";
        QTest::newRow("password in another letter case") << "Chief"
                                                         << "secret1" << false << "Invalid Password"
                                                         << "message";
        QTest::newRow("wrong password by Enter") << "Chief"
                                                 << "nope" << true << "Invalid Password"
                                                 << "message";
        QTest::newRow("unknown name") << "Nobody"
                                      << "Secret1" << false << "Invalid User Name"
                                      << "Message";
        QTest::newRow("deleted account") << "Gone"
                                         << "Secret1" << false << "Invalid User Name"
                                         << "Message";
        QTest::newRow("password stored as typed, other case") << "Plain"
                                                              << "plain1" << false << "Invalid Password"
                                                              << "message";
        QTest::newRow("quote in the name") << "x' OR '1'='1"
                                           << "x' OR '1'='1" << false << "Invalid User Name"
                                           << "Message";
    }
    void login()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, pressEnter);
        QFETCH(QString, message);
        QFETCH(QString, title);

        auto *login = new frmloging;
        login->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(login->Form_Load());
        test::showScreen(login);
        QTest::keyClicks(login->txtusername, name);
        QTest::keyClick(login->txtusername, Qt::Key_Tab);
        QTest::keyClicks(login->txtpassword, password);
        test::ModalAnswers answers;
        if (!message.isEmpty())
            answers.press(QStringLiteral("OK"));
        if (pressEnter)
            QTest::keyClick(login->txtpassword, Qt::Key_Return);
        else
            QTest::mouseClick(login->ccmdlog, Qt::LeftButton);

        if (message.isEmpty()) {
            QCOMPARE(answers.answered(), 0);
            frmhome *home = frmhome::current();
            QVERIFY(home);
            QVERIFY(home->isVisible());
            QCOMPARE(home->labusername->text(), name); // as typed, not as stored
            QCOMPARE(home->labuser_srno->text(), m_chief);
            QTRY_VERIFY(!login->isVisible());
            home->close();
            return;
        }
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), message);
        QCOMPARE(answers.title(), title);
        QVERIFY(!frmhome::current());
        QVERIFY(login->isVisible());
        if (message == QLatin1String("Invalid User Name")) {
            QCOMPARE(login->txtusername->text(), QString());
            QCOMPARE(login->txtpassword->text(), password);
        } else {
            QCOMPARE(login->txtusername->text(), name);
            QCOMPARE(login->txtpassword->text(), QString());
        }
        login->close();
    }

    // A password another program wrote as typed still lets its account in, and is kept as a hash from
    // that login on.
    void plainPasswordIsHashedAtLogin()
    {
        auto *login = new frmloging;
        login->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(login->Form_Load());
        test::showScreen(login);
        QTest::keyClicks(login->txtusername, QStringLiteral("Plain"));
        QTest::keyClick(login->txtusername, Qt::Key_Tab);
        QTest::keyClicks(login->txtpassword, QStringLiteral("Plain1"));
        QTest::keyClick(login->txtpassword, Qt::Key_Return);
        frmhome *home = frmhome::current();
        QVERIFY(home);
        QCOMPARE(home->labusername->text(), QStringLiteral("Plain"));
        for (const char *column : {"password1", "password2"}) {
            const QString stored = test::value(
                QStringLiteral("SELECT %1 FROM user_loging WHERE username = 'Plain'").arg(QLatin1String(column)));
            QVERIFY2(isPasswordHash(stored), qPrintable(stored));
            QVERIFY(passwordMatches(stored, QStringLiteral("Plain1")));
        }
        QTRY_VERIFY(!login->isVisible());
        home->close();
    }

    void enterInNameBoxDoesNotLogIn()
    {
        frmloging login;
        QVERIFY(login.Form_Load());
        test::showScreen(&login);
        QTest::keyClicks(login.txtusername, QStringLiteral("Chief"));
        login.txtpassword->setText(QStringLiteral("Secret1"));
        QTest::keyClick(login.txtusername, Qt::Key_Return);
        QTest::keyClick(login.txtusername, Qt::Key_Escape);
        QVERIFY(!frmhome::current());
        QVERIFY(login.isVisible());
        login.close();
    }

    void allUser()
    {
        auto *login = new frmloging;
        login->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(login->Form_Load());
        const QString shared = test::value(QStringLiteral("SELECT srno FROM user_loging WHERE username = 'All User'"));
        test::showScreen(login);
        QTest::mouseClick(login->cmdnotlog, Qt::LeftButton);
        QVERIFY(frmhome::current());
        QCOMPARE(frmhome::current()->labusername->text(), QStringLiteral("All user"));
        QCOMPARE(frmhome::current()->labuser_srno->text(), shared);
        QTRY_VERIFY(!login->isVisible());
        frmhome::current()->close();
    }

    void allUserMissingKeepsLoginOpen()
    {
        frmloging login;
        QVERIFY(login.Form_Load());
        test::exec(QStringLiteral("DELETE FROM user_loging WHERE username = 'All User'"));
        test::showScreen(&login);
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(login.cmdnotlog, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QVERIFY(answers.text().contains(QLatin1String("All User")));
        QVERIFY(answers.text().contains(QLatin1String(" Source : ")));
        QVERIFY(!frmhome::current());
        QVERIFY(login.isVisible());
        login.close();
    }

    void changePasswordFollowsTheNameLeft()
    {
        frmloging login;
        QVERIFY(login.Form_Load());
        test::showScreen(&login);
        QVERIFY(!login.cmdchange_password->isEnabled());
        QTest::keyClicks(login.txtusername, QStringLiteral("Chief"));
        QVERIFY(!login.cmdchange_password->isEnabled()); // only leaving the box looks the name up
        QTest::keyClick(login.txtusername, Qt::Key_Tab);
        QVERIFY(login.cmdchange_password->isEnabled());
        login.txtusername->setFocus();
        login.txtusername->clear();
        QTest::keyClicks(login.txtusername, QStringLiteral("Nobody"));
        QTest::keyClick(login.txtusername, Qt::Key_Tab);
        QVERIFY(!login.cmdchange_password->isEnabled());
        login.close();
    }

    void controlsCanBeAddressedByName()
    {
        frmloging login;
        QCOMPARE(test::unaddressable(&login), QStringList());
        QCOMPARE(login.Label2->buddy(), login.txtusername);
        QCOMPARE(login.Label4->buddy(), login.txtpassword);
    }

    void exitEndsTheApplication()
    {
        frmloging login;
        QVERIFY(login.Form_Load());
        test::showScreen(&login);
        QTest::mouseClick(login.cmdend, Qt::LeftButton);
        QCOMPARE(m_ended, 1);
        login.close();
    }
};

QTEST_MAIN(tst_login)
#include "tst_login.moc"
