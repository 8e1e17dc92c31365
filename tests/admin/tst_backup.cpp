// Every kind of backup restores, through parcelon-setup --restore, as exactly the register that was
// backed up (every table compared row by row, identity numbering included), whatever other connections
// do while it is made; a register another client holds gives a busy result within the bounded wait and
// leaves the older backup in place.

#include "admin/backupschedule.h"
#include "backuptest.h"
#include "base/clock.h"
#include "base/dbsession.h"
#include "base/restore.h"
#include "base/serveradmin.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace parcelon;
using test::Snapshot;

namespace {

// Adds lands with ascending numbers in one statement, as a large register holds them.
void addManyLands(int count)
{
    test::exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO land (balapa_no, guhasth, labn_owner_srno, addre) "
                              "SELECT CAST(i AS VARCHAR(20)), 'H-1', '1', 'a long enough address for a page' FROM n")
                   .arg(count));
}

} // namespace

class tst_backup : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString location(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path);
        return path + QLatin1Char('/');
    }

    // Restores the backup over a fresh register and checks it against what was backed up; the register
    // it replaced is kept.
    void checkRestores(const QString &backup, const Snapshot &expected, qlonglong nextCount)
    {
        test::destroyDatabase();
        test::createDatabase();
        const test::Finished run = test::restoreWithSetup(backup);
        QVERIFY2(run.code == 0, qPrintable(run.describe()));
        QVERIFY2(run.out.contains(QLatin1String("is kept as")), qPrintable(run.out));
        QVERIFY(db().connect_db());
        const QStringList kept = test::keptRegisters();
        QCOMPARE(kept.size(), 1);
        test::dropKeptRegisters(kept);
        const Snapshot restored = test::snapshot();
        QCOMPARE(restored.size(), expected.size());
        for (const auto &[table, rows] : expected)
            QCOMPARE(restored.at(table), rows);
        // Identity numbering goes on where the backed-up register left it, gap included.
        const qlonglong srno = db().insert(
            QStringLiteral("backup_coun"), QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('x', 'y')"));
        QCOMPARE(srno, nextCount);
    }

private slots:
    void init()
    {
        test::openDatabase();
        Clock::setFixed(QDateTime(QDate(2026, 3, 14), QTime(9, 15, 0)));
    }
    void cleanup()
    {
        test::destroyDatabase();
        Clock::setFixed({});
    }

    void restoresEveryKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("copy 1: file copy of the register") << QStringLiteral("copy1");
        QTest::newRow("copy 2: full backup of the running register") << QStringLiteral("copy2");
        QTest::newRow("scheduled backup") << QStringLiteral("scheduled");
    }
    void restoresEveryKind()
    {
        QFETCH(QString, kind);
        test::seedRegister();
        const QString back1 = location(kind);
        QString backup;
        if (kind == QLatin1String("copy1")) {
            const ServerAdmin server(db());
            QVERIFY2(server.fileCopyRefusal().isEmpty(), qPrintable(server.fileCopyRefusal()));
            const QString folder = locationFile(back1, QStringLiteral("2026-3-14-9-15-0"));
            const BackupResult copied = server.copyFiles(folder);
            QVERIFY2(copied.ok, qPrintable(copied.error));
            QVERIFY(db().isOpen()); // nothing was closed for it
            QVERIFY(QFileInfo::exists(locationFile(folder, ServerAdmin::dataFileName())));
            backup = folder;
        } else if (kind == QLatin1String("copy2")) {
            backup = locationFile(back1, QStringLiteral("20263149150.dat"));
            const BackupResult made = ServerAdmin(db()).backup(backup);
            QVERIFY2(made.ok, qPrintable(made.error));
            QCOMPARE(made.counts.rows.at(QStringLiteral("land")), 2);
        } else {
            test::exec(QStringLiteral("INSERT INTO backup_settind (back1, back2, auto_aw, auto_time, Auto_backku2, "
                                      "Auto_backp_pamanaya) VALUES (?, '', '1 - Tõ', '08:00:00', '2 - ke;', '5')"),
                {back1});
            const BackupSchedule::Tick tick = BackupSchedule().tick(true);
            QVERIFY2(tick.outcome == BackupSchedule::Outcome::Done, qPrintable(tick.error));
            backup = tick.file;
            // The count row the backup wrote comes after the backup: it is not in it.
            test::exec(QStringLiteral("DELETE FROM backup_coun WHERE date = '2026/03/14'"));
        }
        QVERIFY(!QFileInfo::exists(backup + QStringLiteral(".part")));
        const Snapshot before = test::snapshot();
        QVERIFY(before.size() > 10);
        QCOMPARE(before.at(QStringLiteral("land")).size(), 2);
        // Work done after the backup is not in it.
        test::addOwner({.id = QStringLiteral("333333333v")});
        checkRestores(backup, before, 3);
    }

    // What other connections do while a backup is made: the backup is the register as one committed
    // moment saw it, and it does not wait for their changes to end.
    void backupSituations_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("another connection mid-transaction") << QStringLiteral("mid-transaction");
        QTest::newRow("a register in write-ahead-log mode") << QStringLiteral("wal");
        QTest::newRow("10,000 lands while another connection saves") << QStringLiteral("saving");
    }
    void backupSituations()
    {
        QFETCH(QString, situation);
        const bool wal = situation == QLatin1String("wal");
        if (wal && test::backend() != test::Backend::SQLite)
            QSKIP("the write-ahead log is SQLite's");
        if (wal) {
            // Committed rows that stay in the log: the file alone does not hold them.
            db().close();
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("wal"));
            raw.setDatabaseName(db().dataSource().database);
            QVERIFY(raw.open());
            QSqlQuery(raw).exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            raw.close();
            raw = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("wal"));
            QVERIFY(db().connect_db());
        }
        test::seedRegister();
        if (wal)
            QVERIFY(QFileInfo(db().dataSource().database + QStringLiteral("-wal")).size() > 0);
        if (situation == QLatin1String("saving"))
            addManyLands(10000);
        const QString file = locationFile(location(situation), QStringLiteral("1.dat"));
        const Snapshot before = test::snapshot();
        const qlonglong lands = before.at(QStringLiteral("land")).size();

        const ServerAdmin server(db());
        BackupResult made;
        {
            DbSession other(QStringLiteral("other"));
            QVERIFY(other.connect_db());
            if (situation != QLatin1String("saving")) {
                other.lockedChange([&] {
                    other.execute(QStringLiteral("INSERT INTO backup_d (backup_w) VALUES ('under way')"));
                    made = server.backup(file);
                });
            } else {
                // Saves of a land with its owner, each one change, until the backup has ended.
                std::atomic<bool> running {true};
                QThread *worker = QThread::create([&] {
                    made = server.backup(file);
                    running = false;
                });
                worker->start();
                int saves = 0;
                do {
                    other.lockedChange([&] {
                        other.execute(QStringLiteral("INSERT INTO land (balapa_no, guhasth) VALUES ('saved', 'H-9')"));
                        other.execute(QStringLiteral("INSERT INTO landowner (id, house_no) VALUES ('saved', 'H-9')"));
                    });
                    ++saves;
                } while (running);
                worker->wait();
                delete worker;
                QVERIFY(saves > 0);
            }
        }
        QVERIFY2(made.ok, qPrintable(made.error));
        // What the backup holds, as it counted it: the register before the saves plus whole saves only.
        const qlonglong savedLands = made.counts.rows.at(QStringLiteral("land")) - lands;
        const qlonglong savedOwners = made.counts.rows.at(QStringLiteral("landowner"))
            - qlonglong(before.at(QStringLiteral("landowner")).size());
        QCOMPARE(savedLands, savedOwners);
        Snapshot expected = before;
        if (savedLands > 0) {
            // The saves the backup caught, as the register holds them.
            const Snapshot now = test::snapshot();
            for (const QString &table : {QStringLiteral("land"), QStringLiteral("landowner")}) {
                const QStringList all = now.at(table);
                QStringList caught;
                for (const QString &row : all)
                    if (!before.at(table).contains(row))
                        caught << row;
                std::sort(caught.begin(), caught.end(), [](const QString &a, const QString &b) {
                    return a.section(QLatin1Char('\x1f'), 0, 0).toLongLong()
                        < b.section(QLatin1Char('\x1f'), 0, 0).toLongLong();
                });
                expected[table] += caught.mid(0, savedLands);
                expected[table].sort();
            }
        }
        checkRestores(file, expected, 3);
    }

    // A register that another client holds: the backup gives up within the bounded wait, says so, and
    // the older backup under the same name stays as it was.
    void lockedRegisterIsBusy()
    {
        test::seedRegister();
        const QString file = locationFile(location(QStringLiteral("locked")), QStringLiteral("1.dat"));
        {
            QFile older(file);
            QVERIFY(older.open(QIODevice::WriteOnly));
            older.write("an older backup");
        }
        DbSession other(QStringLiteral("other"));
        QVERIFY(other.connect_db());
        QSqlQuery hold(other.database());
        if (test::backend() == test::Backend::PostgreSQL) {
            QVERIFY(hold.exec(QStringLiteral("BEGIN")));
            QVERIFY2(hold.exec(QStringLiteral("LOCK TABLE land IN ACCESS EXCLUSIVE MODE")),
                qPrintable(hold.lastError().text()));
        } else {
            QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(hold.exec(QStringLiteral("INSERT INTO backup_d (backup_w) VALUES ('held')")));
        }
        QElapsedTimer clock;
        clock.start();
        const BackupResult made = ServerAdmin(db()).backup(file);
        const qint64 waited = clock.elapsed();
        hold.exec(QStringLiteral("ROLLBACK"));
        QVERIFY(!made.ok);
        QVERIFY2(made.busy, qPrintable(made.error));
        QCOMPARE(made.error, BackupResult::registerBusyNotice());
        QVERIFY2(waited >= kLockWaitMs - 500 && waited < kLockWaitMs + 5000, qPrintable(QString::number(waited)));
        QCOMPARE(test::fileHash(file), QCryptographicHash::hash("an older backup", QCryptographicHash::Sha256));
        QVERIFY(!QFileInfo::exists(file + QStringLiteral(".part")));
    }

    void failedBackupLeavesNoFile()
    {
        const QString file = m_dir.filePath(QStringLiteral("missing/1.dat"));
        const BackupResult made = ServerAdmin(db()).backup(file);
        QVERIFY(!made.ok);
        QVERIFY(made.error.contains(QLatin1String("does not exist")));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!QFileInfo::exists(file + QStringLiteral(".part")));
    }
};

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
