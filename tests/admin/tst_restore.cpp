// parcelon-setup --restore refuses what is no whole Parcelon register of this program, and leaves the
// register exactly as it was; what it restores it checks first, keeps the register it replaces, and an
// older register it brings up to this version.

#include "backuptest.h"
#include "base/backupcheck.h"
#include "base/registercheck.h"
#include "base/serveradmin.h"

#include <QTemporaryDir>
#include <QTest>

using namespace parcelon;

namespace {

// Overwrites `size` bytes at `offset` with a pattern no register holds.
bool spoil(const QString &file, qint64 offset, qint64 size)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(offset))
        return false;
    return f.write(QByteArray(size, '\x5a')) == size;
}

bool truncateToHalf(const QString &file)
{
    QFile f(file);
    return f.resize(f.size() / 2);
}

// A database of another program, backed up as the engine backs it up.
QString foreignBackup(const QString &folder)
{
    const QString file = folder + QStringLiteral("/other.dat");
    if (test::backend() != test::Backend::PostgreSQL) {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        other.setDatabaseName(file);
        if (other.open())
            QSqlQuery(other).exec(QStringLiteral("CREATE TABLE land (srno INTEGER PRIMARY KEY, name TEXT)"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        return file;
    }
    const ScratchDatabase scratch(PgConnection::of(db().dataSource()), QStringLiteral("foreign"));
    {
        PgLink link(scratch.connection());
        link.exec(QStringLiteral("CREATE TABLE land (srno INTEGER PRIMARY KEY, name TEXT)"));
        link.exec(QStringLiteral("INSERT INTO land VALUES (1, 'not ours')"));
    }
    const PgConnection source = scratch.connection();
    runProgram(postgresProgram(QStringLiteral("pg_dump")),
        source.arguments(true) + QStringList {QStringLiteral("-Fc"), QStringLiteral("-f"), file}, source.environment());
    return file;
}

} // namespace

class tst_restore : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init() { test::openDatabase(); }
    void cleanup() { test::destroyDatabase(); }

    void restoreInputs_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("refusal"); // empty: restored
        QTest::newRow("a text file") << QStringLiteral("text") << QStringLiteral("is not a backup of a register");
        QTest::newRow("another program's database")
            << QStringLiteral("foreign") << QStringLiteral("it is not a Parcelon register");
        QTest::newRow("a truncated backup") << QStringLiteral("truncated") << QStringLiteral("was not restored");
        QTest::newRow("a corrupted page") << QStringLiteral("corrupted") << QStringLiteral("was not restored");
        QTest::newRow("a newer schema version")
            << QStringLiteral("newer") << QStringLiteral("written by a newer Parcelon");
        QTest::newRow("an older schema version: upgraded") << QStringLiteral("older") << QString();
    }
    void restoreInputs()
    {
        QFETCH(QString, input);
        QFETCH(QString, refusal);
        test::seedRegister();
        const QString folder = m_dir.path();
        QString backup = folder + QStringLiteral("/") + input + QStringLiteral(".dat");
        QFile::remove(backup);
        if (input == QLatin1String("text")) {
            QFile notes(backup);
            QVERIFY(notes.open(QIODevice::WriteOnly));
            notes.write("not a register\n");
        } else if (input == QLatin1String("foreign")) {
            backup = foreignBackup(folder);
        } else {
            const int version = input == QLatin1String("newer") ? kRegisterVersion + 1
                : input == QLatin1String("older")               ? kRegisterVersion - 1
                                                                : kRegisterVersion;
            test::exec(QStringLiteral("UPDATE parcelon_schema SET version = ?"), {version});
            const BackupResult made = ServerAdmin(db()).backup(backup);
            test::exec(QStringLiteral("UPDATE parcelon_schema SET version = ?"), {kRegisterVersion});
            QVERIFY2(made.ok, qPrintable(made.error));
            if (input == QLatin1String("truncated"))
                QVERIFY(truncateToHalf(backup));
            if (input == QLatin1String("corrupted")) {
                // SQLite: the second page, the root of a table; a dump: a block in its middle.
                const qint64 size = QFileInfo(backup).size();
                QVERIFY(test::backend() == test::Backend::PostgreSQL ? spoil(backup, size / 2, 4096)
                                                                     : spoil(backup, 4096, 4096));
            }
        }
        // Work done after the backup: a restore gives it up, a refusal keeps it.
        test::addOwner({.id = QStringLiteral("333333333v")});
        const test::Snapshot before = test::snapshot();
        const QString registerFile = db().dataSource().database;
        db().close();
        const QByteArray hash = test::fileHash(registerFile);

        const test::Finished run = test::restoreWithSetup(backup);

        if (test::backend() != test::Backend::PostgreSQL && !refusal.isEmpty())
            QCOMPARE(test::fileHash(registerFile), hash);
        QVERIFY(db().connect_db());
        const QStringList kept = test::keptRegisters();
        if (!refusal.isEmpty()) {
            QCOMPARE(run.code, 1);
            QVERIFY2(run.err.contains(refusal), qPrintable(run.describe()));
            QVERIFY2(run.err.contains(QLatin1String("left as it was")), qPrintable(run.err));
            QVERIFY(test::snapshot() == before);
            QVERIFY2(kept.isEmpty(), qPrintable(kept.join(QLatin1Char(' '))));
            QVERIFY(!QFileInfo::exists(registerFile + QStringLiteral(".restoring")));
            return;
        }
        QVERIFY2(run.code == 0, qPrintable(run.describe()));
        QVERIFY2(run.out.contains(QStringLiteral("brought up from schema version %1").arg(kRegisterVersion - 1)),
            qPrintable(run.out));
        QCOMPARE(registerVersion(), std::optional<int>(kRegisterVersion));
        QCOMPARE(test::count(QStringLiteral("landowner"), QStringLiteral("id = '333333333v'")), 0);
        // The register that was replaced is kept whole, beside it.
        QCOMPARE(kept.size(), 1);
        QVERIFY2(run.out.contains(kept.constFirst()), qPrintable(run.out));
        if (test::backend() != test::Backend::PostgreSQL)
            QCOMPARE(test::fileHash(kept.constFirst()), hash);
        test::dropKeptRegisters(kept);
    }
};

QTEST_MAIN(tst_restore)
#include "tst_restore.moc"
