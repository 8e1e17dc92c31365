// Every kind of backup restores, through parcelon-setup --restore, into a fresh database as exactly the
// register that was backed up: every table compared row by row, identity numbering included.

#include "admin/backupschedule.h"
#include "base/clock.h"
#include "base/dbsession.h"
#include "base/restore.h"
#include "base/serveradmin.h"
#include "support/fixture.h"
#include "support/records.h"
#include "tools/run.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace parcelon;

namespace {

// Every user table: its rows, each as its cells (NULL told from ""), sorted.
using Snapshot = std::map<QString, QStringList>;

Snapshot snapshot()
{
    Snapshot tables;
    const QStringList names = db().database().tables(QSql::Tables);
    for (const QString &table : names) {
        if (table.startsWith(QLatin1String("sqlite_")))
            continue;
        QSqlQuery query(db().database());
        if (!query.exec(QStringLiteral("SELECT * FROM ") + table))
            continue;
        QStringList rows;
        while (query.next()) {
            QStringList cells;
            for (int c = 0; c < query.record().count(); ++c)
                cells << (query.isNull(c) ? QStringLiteral("<NULL>") : query.value(c).toString());
            rows << cells.join(QLatin1Char('\x1f'));
        }
        rows.sort();
        tables[table.toLower()] = rows;
    }
    return tables;
}

// A register with something in every kind of column: legacy text, quotes, empty texts and NULLs.
void seedRegister()
{
    test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("lÿre")});
    const QString owner = test::addOwner({.id = QStringLiteral("111111111v"), .house_no = QStringLiteral("H-7")});
    test::addOwner({.id = QStringLiteral("222222222v"),
        .house_no = QStringLiteral("H-'8"),
        .land_owner_name = QStringLiteral("O'Brien \"x\"")});
    test::addLand({.guhasth = QStringLiteral("H-7"), .labn_owner_srno = owner, .balapa_no = QStringLiteral("101")});
    test::addLand({.guhasth = QStringLiteral("H-7"),
        .labn_owner_srno = owner,
        .balapa_no = QStringLiteral("102"),
        .addre = QString()});
    test::exec(QStringLiteral("INSERT INTO backup_d (backup_w, path, username) VALUES (?, ?, NULL)"),
        {QStringLiteral(" Backup "), QStringLiteral("/x/'y'/")});
    test::exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('07:00:00', '2026/03/13')"));
    // Numbering that a restore must carry on: a deleted newest row leaves a gap.
    test::exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('07:00:00', '2026/03/14')"));
    test::exec(QStringLiteral("DELETE FROM backup_coun WHERE date = '2026/03/14'"));
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

    // Drops the backed-up register, restores the backup into a fresh database and checks it against
    // what was backed up.
    void checkRestores(const QString &backup, const Snapshot &expected, qlonglong nextCount)
    {
        test::destroyDatabase();
        test::createDatabase();
        const test::Finished run
            = test::runProgram(QStringLiteral(PARCELON_SETUP), {QStringLiteral("--restore"), backup});
        QVERIFY2(run.code == 0, qPrintable(run.describe()));
        QVERIFY(db().connect_db());
        const Snapshot restored = snapshot();
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
        QTest::newRow("copy 1: file copy of the stopped register") << QStringLiteral("copy1");
        QTest::newRow("copy 2: full backup of the running register") << QStringLiteral("copy2");
        QTest::newRow("scheduled backup") << QStringLiteral("scheduled");
    }
    void restoresEveryKind()
    {
        QFETCH(QString, kind);
        seedRegister();
        const QString back1 = location(kind);
        QString backup;
        if (kind == QLatin1String("copy1")) {
            ServerAdmin server(db());
            QVERIFY2(server.fileCopyRefusal().isEmpty(), qPrintable(server.fileCopyRefusal()));
            const QString folder = locationFile(back1, QStringLiteral("2026-3-14-9-15-0"));
            QVERIFY(server.stop().ok);
            const BackupResult copied = server.copyFiles(folder);
            const BackupResult started = server.start();
            QVERIFY2(copied.ok, qPrintable(copied.error));
            QVERIFY2(started.ok && db().isOpen(), qPrintable(started.error));
            QVERIFY(QFileInfo::exists(locationFile(folder, ServerAdmin::dataFileName())));
            backup = folder;
        } else if (kind == QLatin1String("copy2")) {
            backup = locationFile(back1, QStringLiteral("20263149150.dat"));
            const BackupResult made = ServerAdmin(db()).backup(backup);
            QVERIFY2(made.ok, qPrintable(made.error));
        } else {
            test::exec(QStringLiteral("INSERT INTO backup_settind (back1, back2, auto_aw, auto_time, Auto_backku2, "
                                      "Auto_backp_pamanaya) VALUES (?, '', '1 - Tõ', '08:00:00', '2 - ke;', '5')"),
                {back1});
            const BackupSchedule::Tick tick = BackupSchedule().tick(true);
            QVERIFY2(tick.outcome == BackupSchedule::Outcome::Done, qPrintable(tick.error));
            // The next number follows the highest count row left (the deleted newest one is no longer there).
            QCOMPARE(tick.number, QStringLiteral("2"));
            QCOMPARE(QFileInfo(tick.file).fileName(), QStringLiteral("2.dat"));
            backup = tick.file;
            // The count row the backup wrote comes after the backup: it is not in it.
            test::exec(QStringLiteral("DELETE FROM backup_coun WHERE date = '2026/03/14'"));
        }
        QVERIFY(!QFileInfo::exists(backup + QStringLiteral(".part")));
        const Snapshot before = snapshot();
        QVERIFY(before.size() > 10);
        QCOMPARE(before.at(QStringLiteral("land")).size(), 2);
        // Work done after the backup is not in it.
        test::addOwner({.id = QStringLiteral("333333333v")});
        checkRestores(backup, before, 3);
    }

    // A full backup is the register as committed: a change another workstation has under way is not
    // in it, and the backup does not wait for that change to end.
    void backupIsACommittedSnapshot()
    {
        seedRegister();
        const QString file = locationFile(location(QStringLiteral("snapshot")), QStringLiteral("1.dat"));
        const Snapshot before = snapshot();
        BackupResult made;
        {
            DbSession other(QStringLiteral("other"));
            QVERIFY(other.connect_db());
            other.lockedChange([&] {
                other.execute(QStringLiteral("INSERT INTO backup_d (backup_w) VALUES ('under way')"));
                made = ServerAdmin(db()).backup(file);
            });
        }
        QVERIFY2(made.ok, qPrintable(made.error));
        checkRestores(file, before, 3);
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

    void restoreRefusesWhatIsNoBackup()
    {
        const QString file = m_dir.filePath(QStringLiteral("notes.dat"));
        QFile notes(file);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a register");
        notes.close();
        const Snapshot before = snapshot();
        db().close();
        const test::Finished run
            = test::runProgram(QStringLiteral(PARCELON_SETUP), {QStringLiteral("--restore"), file});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QLatin1String("is not a backup of a register")), qPrintable(run.describe()));
        QVERIFY(db().connect_db());
        QVERIFY(snapshot() == before);
    }
};

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
