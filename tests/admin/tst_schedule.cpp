// The scheduled backup, driven by the fixed clock: when it backs up, when it waits, when it stops for the
// day, how many numbered files it keeps, and what a failed backup leaves behind. The main menu's timer
// only ticks it and shows the outcome.

#include "admin/backupschedule.h"
#include "base/clock.h"
#include "base/dbsession.h"
#include "base/restore.h"
#include "shell/frmhome.h"
#include "support/fixture.h"
#include "support/screentest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>

using namespace parcelon;
using Outcome = BackupSchedule::Outcome;

class tst_schedule : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_back1;
    QString m_back2;

    void settings(const QString &autoOn, const QString &time, const QString &secondCopy = QStringLiteral("2 - ke;"),
        const QString &keep = QStringLiteral("5"))
    {
        test::exec(QStringLiteral("INSERT INTO backup_settind (back1, back2, auto_aw, auto_time, Auto_backku2, "
                                  "Auto_backp_pamanaya, database_path) VALUES (?, ?, ?, ?, ?, ?, '')"),
            {m_back1, m_back2, autoOn, time, secondCopy, keep});
    }
    static void at(int h, int m, int s) { Clock::setFixed(QDateTime(QDate(2026, 3, 14), QTime(h, m, s))); }
    QString file(const QString &folder, int n) const
    {
        return locationFile(folder, QString::number(n) + QStringLiteral(".dat"));
    }
    static void touch(const QString &path)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }

private slots:
    void init()
    {
        test::openDatabase();
        QDir(m_dir.path()).removeRecursively();
        m_back1 = m_dir.filePath(QStringLiteral("b1")) + QLatin1Char('/');
        m_back2 = m_dir.filePath(QStringLiteral("b2")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(m_back1) && QDir().mkpath(m_back2));
    }
    void cleanup()
    {
        test::destroyDatabase();
        Clock::setFixed({});
    }

    // What one tick does before any backup: the row of settings, the count rows and the time decide.
    void waitsOrStops_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("autoOn");
        QTest::addColumn<QString>("countedOn"); // date of an earlier count row, or empty
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("outcome");
        const QString on = QStringLiteral("1 - Tõ");
        const QString off = QStringLiteral("2 - ke;");
        QTest::newRow("before the time: wait") << true << on << QString() << QTime(7, 59, 59) << int(Outcome::NotYet);
        QTest::newRow("counted today: stop")
            << true << on << QStringLiteral("2026/03/14") << QTime(9, 15, 0) << int(Outcome::CountedToday);
        QTest::newRow("counted today, before the time: stop")
            << true << on << QStringLiteral("2026/03/14") << QTime(7, 0, 0) << int(Outcome::CountedToday);
        QTest::newRow("counted on a later day: stop")
            << true << on << QStringLiteral("2026/03/15") << QTime(9, 0, 0) << int(Outcome::CountedToday);
        QTest::newRow("automatic backup off: stop") << true << off << QString() << QTime(9, 15, 0) << int(Outcome::Off);
        QTest::newRow("not the server: nothing")
            << false << on << QString() << QTime(9, 15, 0) << int(Outcome::NotServer);
    }
    void waitsOrStops()
    {
        QFETCH(bool, server);
        QFETCH(QString, autoOn);
        QFETCH(QString, countedOn);
        QFETCH(QTime, now);
        QFETCH(int, outcome);
        settings(autoOn, QStringLiteral("08:00:00"));
        if (!countedOn.isEmpty())
            test::exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('08:00:00', ?)"), {countedOn});
        const int counted = test::count(QStringLiteral("backup_coun"));
        Clock::setFixed(QDateTime(QDate(2026, 3, 14), now));
        const BackupSchedule::Tick tick = BackupSchedule().tick(server);
        QCOMPARE(int(tick.outcome), outcome);
        QCOMPARE(test::count(QStringLiteral("backup_coun")), counted);
        QVERIFY(QDir(m_back1).isEmpty());
        QCOMPARE(BackupSchedule::keepsTicking(tick.outcome),
            outcome == int(Outcome::NotYet) || outcome == int(Outcome::NotServer));
    }

    void noSettingsStops()
    {
        at(9, 15, 0);
        const BackupSchedule::Tick tick = BackupSchedule().tick(true);
        QCOMPARE(tick.outcome, Outcome::NoSettings);
        QVERIFY(!BackupSchedule::keepsTicking(tick.outcome));
    }

    // Started at 09:15 with the backup set for 08:00 and yesterday counted: the first tick backs up.
    void timePassedBacksUpAtOnce_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("hh:mm:ss") << QStringLiteral("08:00:00");
        QTest::newRow("with a date in front") << QStringLiteral("1899/12/30 08:00:00");
    }
    void timePassedBacksUpAtOnce()
    {
        QFETCH(QString, stored);
        settings(QStringLiteral("1 - Tõ"), stored, QStringLiteral("1 - Tõ"));
        test::exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('08:00:01', '2026/03/13')"));
        at(9, 15, 0);
        const BackupSchedule::Tick tick = BackupSchedule().tick(true);
        QVERIFY2(tick.outcome == Outcome::Done, qPrintable(tick.error));
        QCOMPARE(tick.backupTime, QStringLiteral("08:00:00"));
        QCOMPARE(tick.time, QStringLiteral("09:15:00"));
        QCOMPARE(tick.number, QStringLiteral("2"));
        QCOMPARE(tick.file, file(m_back1, 2));
        QVERIFY(backupKind(tick.file) != BackupKind::Unknown);
        QVERIFY(QFileInfo::exists(file(m_back2, 2)));
        QCOMPARE(
            test::count(QStringLiteral("backup_coun"), QStringLiteral("bbb = '09:15:00' AND date = '2026/03/14'")), 1);
        // The rest of the day: counted, nothing more.
        at(23, 0, 0);
        QCOMPARE(BackupSchedule().tick(true).outcome, Outcome::CountedToday);
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 2);
    }

    // Keep 5, backups 1 to 5 made on earlier days: backup 6 deletes file 1 of location 1 only.
    void retentionKeepsTheNewest()
    {
        settings(QStringLiteral("1 - Tõ"), QStringLiteral("08:00:00"), QStringLiteral("1 - Tõ"), QStringLiteral("5"));
        for (int n = 1; n <= 5; ++n) {
            test::exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('08:00:00', ?)"),
                {QStringLiteral("2026/03/0%1").arg(n)});
            touch(file(m_back1, n));
            touch(file(m_back2, n));
        }
        at(8, 0, 0);
        const BackupSchedule::Tick tick = BackupSchedule().tick(true);
        QVERIFY2(tick.outcome == Outcome::Done, qPrintable(tick.error));
        QCOMPARE(tick.number, QStringLiteral("6"));
        QVERIFY(!QFileInfo::exists(file(m_back1, 1)));
        for (int n = 2; n <= 6; ++n)
            QVERIFY2(QFileInfo::exists(file(m_back1, n)), qPrintable(file(m_back1, n)));
        for (int n = 1; n <= 6; ++n)
            QVERIFY2(QFileInfo::exists(file(m_back2, n)), qPrintable(file(m_back2, n)));
    }

    // Numbers with gaps, as a rolled-back insert leaves them on PostgreSQL: one inside (4) and one on top
    // (7) when the backup is counted. The new file carries the number its count row got, and of the
    // files only the newest 3 by their recorded times stay (not "number − keep", which would delete 5).
    void retentionWithGapsInTheNumbers()
    {
        settings(QStringLiteral("1 - Tõ"), QStringLiteral("08:00:00"), QStringLiteral("2 - ke;"), QStringLiteral("3"));
        const QStringList dates = {QStringLiteral("2026/03/01"), QStringLiteral("2026/03/02"),
            QStringLiteral("2026/03/03"), QStringLiteral("gone"), QStringLiteral("2026/03/04"),
            QStringLiteral("2026/03/05"), QStringLiteral("gone")};
        for (const QString &date : dates)
            test::exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('08:00:00', ?)"), {date});
        test::exec(QStringLiteral("DELETE FROM backup_coun WHERE date = 'gone'"));
        for (int n : {1, 2, 3, 5, 6})
            touch(file(m_back1, n));
        at(8, 0, 0);
        const BackupSchedule::Tick tick = BackupSchedule().tick(true);
        QVERIFY2(tick.outcome == Outcome::Done, qPrintable(tick.error));
        QCOMPARE(tick.number, QStringLiteral("8"));
        QCOMPARE(tick.file, file(m_back1, 8));
        QCOMPARE(
            test::value(QStringLiteral("SELECT date FROM backup_coun WHERE srno = 8")), QStringLiteral("2026/03/14"));
        for (int n = 1; n <= 8; ++n)
            QVERIFY2(QFileInfo::exists(file(m_back1, n)) == (n == 5 || n == 6 || n == 8), qPrintable(file(m_back1, n)));
    }

    // A failed backup counts nothing and says so; it is tried again after the retry interval, not at the
    // next tick.
    void failedBackupWaitsBeforeTheNextTry()
    {
        QVERIFY(QDir(m_back1).removeRecursively());
        settings(QStringLiteral("1 - Tõ"), QStringLiteral("08:00:00"));
        BackupSchedule schedule;
        at(9, 15, 0);
        BackupSchedule::Tick tick = schedule.tick(true);
        QCOMPARE(tick.outcome, Outcome::Failed);
        QVERIFY(!tick.error.isEmpty());
        QVERIFY(BackupSchedule::keepsTicking(tick.outcome));
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 0);
        QVERIFY(!QFileInfo::exists(file(m_back1, 1)));

        QVERIFY(QDir().mkpath(m_back1));
        for (const QTime &early : {QTime(9, 15, 1), QTime(9, 29, 59)}) {
            Clock::setFixed(QDateTime(QDate(2026, 3, 14), early));
            tick = schedule.tick(true);
            QCOMPARE(tick.outcome, Outcome::Waiting);
            QVERIFY(BackupSchedule::keepsTicking(tick.outcome));
            QVERIFY(!QFileInfo::exists(file(m_back1, 1)));
        }
        at(9, 30, 0);
        tick = schedule.tick(true);
        QVERIFY2(tick.outcome == Outcome::Done, qPrintable(tick.error));
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 1);
        QVERIFY(QFileInfo::exists(file(m_back1, 1)));
    }
};

// The main menu's timbackup only ticks the schedule: the notice, the labels and the timer follow the
// outcome.
class tst_schedule_menu : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO backup_settind (back1, back2, auto_aw, auto_time, Auto_backku2, "
                                  "Auto_backp_pamanaya) VALUES (?, '', '1 - Tõ', '08:00:00', '2 - ke;', '5')"),
            {m_dir.path() + QStringLiteral("/b1/")});
    }
    void cleanup()
    {
        BackupSchedule::setMaker({});
        m_base.cleanup();
    }

    void menuShowsTheOutcome()
    {
        frmhome *home = m_base.home(test::addUser(QStringLiteral("Chief"), QStringLiteral("pw")));
        home->labbb->setText(QStringLiteral("1"));
        QVERIFY(home->timbackup->isActive());
        // Location 1 is missing: failed, said, nothing counted, still ticking.
        home->timbackup_Timer();
        QTRY_COMPARE(home->labmessage->text(), backupFailedNotice());
        QVERIFY(home->labmessage->isVisibleTo(home));
        QVERIFY(home->timbackup->isActive());
        QCOMPARE(home->labtime->text(), test::kStampTime);
        QCOMPARE(home->labtime_backup->text(), QStringLiteral("08:00:00"));
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 0);

        // Tried again once the retry interval has passed.
        QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/b1")));
        Clock::setFixed(Clock::now().addSecs(BackupSchedule::kRetryMinutes * 60));
        home->timbackup_Timer();
        QCOMPARE(home->labmessage->text(), backupRunningNotice());
        QTRY_COMPARE(home->labmessage->text(), backupDoneNotice());
        QCOMPARE(home->labcou->text(), QStringLiteral("1"));
        QVERIFY(home->tt->isActive());
        QVERIFY(!home->timbackup->isActive());
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 1);
    }

    // A slow backup that fails in the end: the main menu keeps answering while it runs (a timer keeps
    // its beat), the status says it runs and then that it failed, and no tick starts it again before the
    // retry interval.
    void slowFailureKeepsTheMenuTurning()
    {
        std::atomic<int> tries {0};
        BackupSchedule::setMaker([&](const BackupSchedule::Tick &) {
            ++tries;
            QThread::msleep(1500);
            return BackupResult::failed(QStringLiteral("the disk is full"));
        });
        frmhome *home = m_base.home(test::addUser(QStringLiteral("Chief"), QStringLiteral("pw")));
        home->labbb->setText(QStringLiteral("1"));
        int beats = 0;
        QTimer beat;
        beat.setInterval(50);
        connect(&beat, &QTimer::timeout, [&] { ++beats; });
        beat.start();
        QElapsedTimer clock;
        clock.start();
        home->timbackup_Timer();
        QVERIFY(clock.elapsed() < 500);
        QCOMPARE(home->labmessage->text(), backupRunningNotice());
        QVERIFY(home->labmessage->isVisibleTo(home));
        home->timbackup_Timer(); // a tick while it runs starts nothing
        QTRY_COMPARE_WITH_TIMEOUT(home->labmessage->text(), backupFailedNotice(), 10000);
        QVERIFY2(beats >= 1500 / 50 / 2, qPrintable(QString::number(beats)));
        QCOMPARE(home->labmessage->toolTip(), QStringLiteral("the disk is full"));
        QCOMPARE(tries.load(), 1);
        QVERIFY(home->timbackup->isActive());

        const QDateTime failed = Clock::now();
        Clock::setFixed(failed.addSecs(BackupSchedule::kRetryMinutes * 60 - 1));
        home->timbackup_Timer();
        QVERIFY(!home->scheduledBackup()->isRunning());
        Clock::setFixed(failed.addSecs(BackupSchedule::kRetryMinutes * 60));
        home->timbackup_Timer();
        QVERIFY(home->scheduledBackup()->isRunning());
        home->scheduledBackup()->waitForFinished();
        QCOMPARE(tries.load(), 2);
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 0);
    }

    // A register another client holds: the check fails once after the session's wait, and the next
    // ticks read nothing until the retry interval has passed, so the menu is not held up every second.
    void heldRegisterIsNotAskedEveryTick()
    {
        if (test::backend() != test::Backend::SQLite)
            QSKIP("SQLite's lock holds readers off; PostgreSQL's row locks do not");
        frmhome *home = m_base.home(test::addUser(QStringLiteral("Chief"), QStringLiteral("pw")));
        home->labbb->setText(QStringLiteral("1"));
        DbSession other(QStringLiteral("other"));
        QVERIFY(other.connect_db());
        QSqlQuery hold(other.database());
        QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(hold.exec(QStringLiteral("INSERT INTO backup_d (backup_w) VALUES ('held')")));
        home->timbackup_Timer();
        QCOMPARE(home->labmessage->text(), backupFailedNotice());
        QElapsedTimer clock;
        clock.start();
        home->timbackup_Timer();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        hold.exec(QStringLiteral("ROLLBACK"));
        QVERIFY(home->timbackup->isActive());
        Clock::setFixed(Clock::now().addSecs(BackupSchedule::kRetryMinutes * 60));
        QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/b1")));
        home->timbackup_Timer();
        QCOMPARE(home->labmessage->text(), backupRunningNotice());
        QTRY_COMPARE(home->labmessage->text(), backupDoneNotice());
    }

    void notTheServerNeverBacksUp()
    {
        frmhome *home = m_base.home(test::addUser(QStringLiteral("Chief"), QStringLiteral("pw")));
        QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/b1")));
        home->labbb->setText(QStringLiteral("2"));
        home->timbackup_Timer();
        QVERIFY(home->timbackup->isActive());
        QVERIFY(!home->labmessage->isVisibleTo(home));
        QCOMPARE(test::count(QStringLiteral("backup_coun")), 0);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int failed = 0;
    {
        tst_schedule schedule;
        failed += QTest::qExec(&schedule, argc, argv);
    }
    {
        tst_schedule_menu menu;
        failed += QTest::qExec(&menu, argc, argv);
    }
    return failed;
}
#include "tst_schedule.moc"
