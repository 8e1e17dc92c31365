// The main menu: the permission gate of its eleven buttons, clocks, the blinking notice, the blocker that
// covers it and the buttons that end the run. Its layout is checked with every screen's in tst_layout.

#include "base/clock.h"
#include "shell/frmhome.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/screentest.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace parcelon;

namespace {
const char *const kGated[11] = {"cmdlandowner", "cmdland", "cmdland_chand", "cmdland_pewarima", "cmdgama",
    "cmdpasuhimikam_pewarima", "cmdland_owner_report", "cmdland_report", "cmdland_balapath_report",
    "cmdland_landowner_report", "cmdpawarim_report"};
}

class tst_home : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    QList<int> m_opened;

    // The gate's screens are replaced by a recorder unless the test wants the real ones.
    frmhome *openHome(const QString &userSrno, bool realScreens = false)
    {
        frmhome *home = m_base.home(userSrno);
        for (const frmhome::MenuEntry &entry : frmhome::menu()) {
            if (!entry.flag || realScreens)
                continue;
            const int flag = int(*entry.flag);
            Screens::add(entry.screen, [this, flag](QWidget *) -> std::unique_ptr<QDialog> {
                m_opened << flag;
                return nullptr;
            });
        }
        test::showScreen(home);
        return home;
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_opened.clear();
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO detels (codeno, name) VALUES ('7', ?)"),
            {QStringLiteral("m%dfoaYSh f,alï ld¾hd,h")});
    }

    void cleanup()
    {
        // A check that failed half way must not leave the next test with this test's updater.
        frmhome::setUpdater({});
        m_base.cleanup();
    }

    void loadShowsOfficeUserDateAndClock()
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(8, 0, 0)));
        frmhome *home = openHome(QStringLiteral("1"));
        QCOMPARE(home->labname->text(), QStringLiteral("m%dfoaYSh f,alï ld¾hd,h"));
        QCOMPARE(test::unaddressable(home), QStringList());
        // The system's short date and long time formats; the tests run in the C locale.
        QCOMPARE(home->labdate->text(), QStringLiteral("10 Dec 2026"));
        QCOMPARE(home->labtime->text(), QStringLiteral("08:00:00"));
        QVERIFY(home->tim1->isActive());
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(8, 0, 1)));
        home->tim1_Timer();
        QCOMPARE(home->labtime2->text(), QStringLiteral("08:00:01"));
        // The date and the hidden time stay as they were at load.
        QCOMPARE(home->labdate->text(), QStringLiteral("10 Dec 2026"));
        QCOMPARE(home->labtime->text(), QStringLiteral("08:00:00"));
        // The register of this test lives on this machine (a local file, or a server on loopback).
        QCOMPARE(home->labbb->text(), QStringLiteral("1"));
    }

    void gate_data()
    {
        QTest::addColumn<QString>("flagText"); // empty: no permission row at all
        QTest::addColumn<bool>("opens");
        QTest::newRow("1 - no permission") << "1 - wjir ke;" << false;
        QTest::newRow("2 - view only") << "2 - ne,su muKhs" << true;
        QTest::newRow("3 - entry only") << "3 - we;=,a lsrsu muKs" << true;
        QTest::newRow("4 - all") << "4 - ish¨ wjir" << true;
        QTest::newRow("no permission row") << "" << false;
    }
    void gate()
    {
        QFETCH(QString, flagText);
        QFETCH(bool, opens);
        const QString user = flagText.isEmpty()
            ? test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"))
            : test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {flagText});
        frmhome *home = openHome(user);
        test::ModalAnswers answers;
        if (!opens)
            answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(home->cmdlandowner, Qt::LeftButton);
        if (opens) {
            QCOMPARE(m_opened, QList<int> {1});
            QCOMPARE(answers.answered(), 0);
        } else {
            QVERIFY(m_opened.isEmpty());
            QCOMPARE(answers.answered(), 1);
            QCOMPARE(answers.name(), QStringLiteral("frmmessage"));
            QCOMPARE(answers.text(), QStringLiteral("Tng wjir fkdue;"));
        }
    }

    void eachButtonReadsItsOwnFlagOfTheNewestRow()
    {
        const QString user
            = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        // A newer row that allows only a5 (the divisions) and a9 (the permit report).
        QVariantList values {user, QStringLiteral("Nimal")};
        for (int flag = 1; flag <= 11; ++flag)
            values << (flag == 5 || flag == 9 ? QStringLiteral("2 - ne,su muKhs") : QStringLiteral("1 - wjir ke;"));
        test::exec(QStringLiteral("INSERT INTO awasara (user_srno, username, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, "
                                  "a11) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
        frmhome *home = openHome(user);
        int refused = 0;
        for (const char *name : kGated) {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdexit"));
            QTest::mouseClick(home->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
            refused += answers.answered();
        }
        QCOMPARE(m_opened, (QList<int> {5, 9}));
        QCOMPARE(refused, 9);
    }

    void gateOpensTheRegisterScreens_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("screen");
        QTest::newRow("owners") << "cmdlandowner"
                                << "frmlandoner";
        QTest::newRow("divisions") << "cmdgama"
                                   << "frmgamase_wasam";
    }
    void gateOpensTheRegisterScreens()
    {
        QFETCH(QString, button);
        QFETCH(QString, screen);
        const QString user
            = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        frmhome *home = openHome(user, true);
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(home->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), screen);
    }

    void noticeBlinksFor300Ticks()
    {
        frmhome *home = openHome(QStringLiteral("1"));
        home->showNotice(QStringLiteral("Backup completely"));
        QVERIFY(home->labmessage->isVisible());
        QVERIFY(home->tt->isActive());
        QSet<QRgb> colours;
        for (int tick = 1; tick <= 300; ++tick) {
            home->tt_Timer();
            colours << background(home->labmessage).rgb();
            QVERIFY(home->labmessage->isVisible());
        }
        QCOMPARE(home->ll->text(), QStringLiteral("300"));
        QCOMPARE(colours, (QSet<QRgb> {colours::attention.rgb(), colours::blink.rgb()}));
        home->tt_Timer();
        QVERIFY(!home->labmessage->isVisible());
        QVERIFY(!home->tt->isActive());
    }

    void dimmingCoversTheMenu()
    {
        frmhome *home = openHome(QStringLiteral("1"));
        dim_home();
        QCOMPARE(sharedAlpha(), 100);
        QVERIFY(home->txttra->isVisible());
        QCOMPARE(home->txttra->geometry(), home->rect());
        undim_home();
        QCOMPARE(sharedAlpha(), 255);
        QVERIFY(!home->txttra->isVisible());
        QCOMPARE(home->txttra->size(), QSize(0, 0));
    }

    void closeAndNewVersion()
    {
        frmhome *home = openHome(QStringLiteral("1"));
        // The updater lives in a folder of this test's own: runs in parallel never share it.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString updater = folder.filePath(QStringLiteral("parcelon-update"));
        frmhome::setUpdater(updater);
        QTest::mouseClick(home->cmdnew_version, Qt::LeftButton);
        QCOMPARE(m_base.ended(), 0); // no updater: the menu stays

        const QString marker = folder.filePath(QStringLiteral("ran"));
        QFile script(updater);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QTest::mouseClick(home->cmdnew_version, Qt::LeftButton);
        QCOMPARE(m_base.ended(), 0); // an updater that cannot run: the menu stays too

        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QTest::mouseClick(home->cmdnew_version, Qt::LeftButton);
        QCOMPARE(m_base.ended(), 1);
        QTRY_VERIFY(QFile::exists(marker));
        frmhome::setUpdater({});

        QTest::mouseClick(home->cmdexit, Qt::LeftButton);
        QCOMPARE(m_base.ended(), 2);
    }
};

QTEST_MAIN(tst_home)
#include "tst_home.moc"
