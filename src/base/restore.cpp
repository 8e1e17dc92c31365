#include "base/restore.h"

#include "base/backupcheck.h"
#include "base/pgserver.h"
#include "base/pgtools.h"
#include "base/registercheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <unistd.h>

namespace parcelon {
namespace {

RestoreResult refused(const QString &why)
{
    RestoreResult result;
    result.error = why;
    return result;
}

RestoreResult refusedBackup(const QString &path, const QString &why)
{
    return refused(QStringLiteral("%1 was not restored: %2.").arg(QDir::toNativeSeparators(path), why));
}

QString newerRefusal(int version)
{
    return QStringLiteral("it is a register of schema version %1, written by a newer Parcelon; this program reads "
                          "version %2")
        .arg(version)
        .arg(kRegisterVersion);
}

// Copies the whole of one SQLite database into a new file through the backup API; the new file keeps no
// write-ahead log.
QString sqliteCopy(const QString &from, const QString &to)
{
    sqlite3 *source = nullptr;
    sqlite3 *target = nullptr;
    QString error;
    if (sqlite3_open_v2(from.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        error = QStringLiteral("it cannot be read: %1").arg(QString::fromUtf8(sqlite3_errmsg(source)));
    else if (sqlite3_open_v2(to.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK)
        error = QStringLiteral("%1 cannot be written: %2").arg(to, QString::fromUtf8(sqlite3_errmsg(target)));
    else if (sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main"); !backup)
        error = QString::fromUtf8(sqlite3_errmsg(target));
    else {
        const int rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            error = QStringLiteral("it cannot be read: %1").arg(QString::fromUtf8(sqlite3_errstr(rc)));
        else if (sqlite3_exec(target, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
            error = QStringLiteral("it cannot be read: %1").arg(QString::fromUtf8(sqlite3_errmsg(target)));
    }
    sqlite3_close(source);
    sqlite3_close(target);
    return error;
}

QString keptName(const QString &registerFile, const QDateTime &now)
{
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString name = QStringLiteral("%1.before-restore-%2").arg(registerFile, stamp);
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = QStringLiteral("%1.before-restore-%2-%3").arg(registerFile, stamp).arg(n);
    return name;
}

RestoreResult restoreSqlite(const DataSource &target, const QString &backup, const QString &file, const QDateTime &now)
{
    const QString registerFile = QFileInfo(target.database).absoluteFilePath();
    if (!QFileInfo(registerFile).isFile())
        return refused(QStringLiteral("The register file %1 is missing.").arg(registerFile));
    // An older file copy may carry its write-ahead log beside it: SQLite reads it only under the
    // database's own name plus "-wal", so both go to a private folder first.
    QTemporaryDir work;
    QString source = file;
    const QString log = locationFile(QFileInfo(file).absolutePath(), ServerAdmin::logFileName());
    if (QFileInfo(file).fileName() == ServerAdmin::dataFileName() && QFileInfo::exists(log)) {
        source = work.filePath(QStringLiteral("register.db"));
        if (!QFile::copy(file, source) || !QFile::copy(log, source + QStringLiteral("-wal")))
            return refusedBackup(backup, QStringLiteral("the file copy cannot be read"));
    }
    RestoreResult result;
    result.backupTime = QFileInfo(file).lastModified();
    // The new register beside the old one, on the same file system, so that one rename swaps it in.
    const QString fresh = registerFile + QStringLiteral(".restoring");
    QFile::remove(fresh);
    QString problem = sqliteCopy(source, fresh);
    if (problem.isEmpty())
        problem = inspectSqliteFile(fresh, &result.counts);
    if (problem.isEmpty() && result.counts.version > kRegisterVersion)
        problem = newerRefusal(result.counts.version);
    if (!problem.isEmpty()) {
        QFile::remove(fresh);
        return refusedBackup(backup, problem);
    }

    // Nobody may be writing while the register is kept and replaced: an exclusive lock of our own, held
    // until the rename. It changes nothing in the file.
    sqlite3 *lock = nullptr;
    int rc = sqlite3_open_v2(registerFile.toUtf8().constData(), &lock, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(lock, kLockWaitMs);
        if (QFileInfo(registerFile + QStringLiteral("-wal")).size() > 0)
            rc = sqlite3_exec(lock, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(lock, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const bool busy = (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
        const QString said = QString::fromUtf8(sqlite3_errmsg(lock));
        sqlite3_close(lock);
        QFile::remove(fresh);
        RestoreResult failed = refused(
            busy ? BackupResult::registerBusyNotice() : QStringLiteral("The register cannot be locked: %1").arg(said));
        failed.busy = busy;
        return failed;
    }
    // The register in force stays as it is under a second name: a hard link, or a copy where the file
    // system has none.
    result.keptAs = keptName(registerFile, now);
    const bool kept
        = ::link(QFile::encodeName(registerFile).constData(), QFile::encodeName(result.keptAs).constData()) == 0
        || QFile::copy(registerFile, result.keptAs);
    const bool swapped = kept && renameOver(fresh, registerFile);
    sqlite3_exec(lock, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(lock);
    if (!swapped) {
        QFile::remove(fresh);
        if (kept)
            QFile::remove(result.keptAs);
        return refused(QStringLiteral("The register file %1 cannot be replaced; it was left as it was.")
                           .arg(QDir::toNativeSeparators(registerFile)));
    }
    // An empty log and its index belonged to the file that was replaced.
    const QString wal = registerFile + QStringLiteral("-wal");
    if (QFileInfo::exists(wal) && QFileInfo(wal).size() == 0) {
        QFile::remove(wal);
        QFile::remove(registerFile + QStringLiteral("-shm"));
    }
    result.ok = true;
    return result;
}

QDateTime dumpTime(const DataSource &target, const QString &dump)
{
    QByteArray list;
    runProgram(postgresProgram(QStringLiteral("pg_restore")), {QStringLiteral("--list"), dump},
        PgConnection::of(target).environment(), 600000, &list);
    static const QRegularExpression created(
        QStringLiteral("Archive created at (\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)"));
    const QRegularExpressionMatch match = created.match(QString::fromUtf8(list));
    return match.hasMatch() ? QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                            : QFileInfo(dump).lastModified();
}

QString maintenanceDatabase(const PgConnection &connection)
{
    for (const QString &name : {QStringLiteral("postgres"), QStringLiteral("template1")}) {
        PgConnection admin = connection;
        admin.database = name;
        if (PgLink(admin).isOpen())
            return name;
    }
    return {};
}

QString identifier(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

RestoreResult restorePg(const DataSource &target, const QString &backup, const QString &dump, const QDateTime &now)
{
    RestoreResult result;
    const PgConnection connection = PgConnection::of(target);
    ScratchDatabase fresh(connection, QStringLiteral("restore"));
    if (!fresh.created())
        return refused(QStringLiteral("A new database for the restore cannot be created: %1").arg(fresh.error()));
    const BackupResult restored = restoreDumpInto(fresh.connection(), dump);
    if (!restored.ok)
        return refusedBackup(backup, QStringLiteral("it does not restore (%1)").arg(restored.error));
    {
        PgLink link(fresh.connection());
        const QString problem = link.isOpen() ? pgCounts(link, &result.counts) : link.error();
        if (!problem.isEmpty())
            return refusedBackup(backup, problem);
        if (result.counts.version > kRegisterVersion)
            return refusedBackup(backup, newerRefusal(result.counts.version));
    }
    PgConnection admin = connection;
    admin.database = maintenanceDatabase(connection);
    if (admin.database.isEmpty())
        return refused(QStringLiteral("The server's maintenance database (postgres) cannot be reached."));
    const QString kept = QStringLiteral("%1_before_restore_%2")
                             .arg(target.database.left(30), now.toString(QStringLiteral("yyyyMMdd_hhmmss")));
    PgLink link(admin);
    // Both renames in one transaction: the register is either the old one or the restored one.
    QString error = link.exec(QStringLiteral("BEGIN"));
    if (error.isEmpty())
        error = link.exec(
            QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(identifier(target.database), identifier(kept)));
    if (error.isEmpty())
        error = link.exec(QStringLiteral("ALTER DATABASE %1 RENAME TO %2")
                              .arg(identifier(fresh.connection().database), identifier(target.database)));
    if (error.isEmpty())
        error = link.exec(QStringLiteral("COMMIT"));
    if (!error.isEmpty()) {
        link.exec(QStringLiteral("ROLLBACK"));
        const bool inUse = error.contains(QLatin1String("other users"));
        RestoreResult failed = refused(inUse ? QStringLiteral("The register is open on a workstation (close Parcelon "
                                                              "everywhere and try again); it was left as it was.")
                                             : QStringLiteral("The register cannot be replaced (%1); it was left as "
                                                              "it was.")
                                                   .arg(error));
        failed.busy = inUse;
        return failed;
    }
    fresh.release();
    result.keptAs = QStringLiteral("the database %1 on the same server").arg(kept);
    result.backupTime = dumpTime(target, dump);
    result.ok = true;
    return result;
}

} // namespace

BackupKind backupKind(const QString &path, QString *data)
{
    const QFileInfo info(path);
    if (data)
        *data = info.absoluteFilePath();
    if (info.isDir()) {
        if (QFileInfo::exists(path + QStringLiteral("/PG_VERSION")))
            return BackupKind::PgBaseBackup;
        const QString inside = locationFile(path, ServerAdmin::dataFileName());
        if (QFileInfo::exists(inside))
            return backupKind(inside, data);
        return BackupKind::Unknown;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return BackupKind::Unknown;
    const QByteArray start = file.read(16);
    if (start == QByteArray("SQLite format 3\0", 16))
        return BackupKind::SQLiteFile;
    if (start.startsWith("PGDMP"))
        return BackupKind::PgDump;
    return BackupKind::Unknown;
}

RestoreResult restoreBackup(const DataSource &target, const QString &path, const QDateTime &now)
{
    QString data;
    const BackupKind kind = backupKind(path, &data);
    if (kind == BackupKind::Unknown)
        return refused(QStringLiteral("%1 is not a backup of a register.").arg(path));
    const bool sqliteBackup = kind == BackupKind::SQLiteFile;
    if (target.engine == Engine::SQLite && sqliteBackup)
        return restoreSqlite(target, path, data, now);
    if (target.engine == Engine::PostgreSQL && kind == BackupKind::PgDump)
        return restorePg(target, path, data, now);
    if (target.engine == Engine::PostgreSQL && kind == BackupKind::PgBaseBackup) {
        QTemporaryDir work;
        const QString dump = work.filePath(QStringLiteral("register.dat"));
        const BackupResult dumped = dumpBaseBackup(data, PgConnection::of(target), dump);
        if (!dumped.ok)
            return refusedBackup(path, dumped.error);
        RestoreResult result = restorePg(target, path, dump, now);
        const QFileInfo label(locationFile(data, QStringLiteral("backup_label")));
        if (result.ok)
            result.backupTime = label.exists() ? label.lastModified() : QFileInfo(data).lastModified();
        return result;
    }
    return refused(QStringLiteral("%1 is a backup of a register on %2; the data source land names a register on %3.")
                       .arg(path, sqliteBackup ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL"),
                           target.engine == Engine::SQLite           ? QStringLiteral("SQLite")
                               : target.engine == Engine::PostgreSQL ? QStringLiteral("PostgreSQL")
                                                                     : QStringLiteral("another engine")));
}

} // namespace parcelon
