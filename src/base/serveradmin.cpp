#include "base/serveradmin.h"

#include "base/backupcheck.h"
#include "base/dbsession.h"
#include "base/pgserver.h"
#include "base/pgtools.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>

namespace parcelon {
namespace {

// A temporary name beside the target, renamed over it when the backup is whole and verified.
QString partName(const QString &file) { return file + QStringLiteral(".part"); }

bool isBusy(int rc) { return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED; }

BackupResult unchecked(const QString &why)
{
    return BackupResult::failed(QStringLiteral("The backup failed its check (%1); it was not kept.").arg(why));
}

// SQLite's online backup of the register into `file`. The rows of every table are counted first, inside
// a read transaction of a connection of our own; the pages are then copied through that same
// transaction, so the copy and the counts are one committed moment of the register, whatever other
// connections write meanwhile. A writer that holds the register longer than kLockWaitMs gives a busy
// result.
BackupResult sqliteBackup(const QString &registerFile, const QString &file)
{
    if (!QFileInfo(registerFile).isFile())
        return BackupResult::failed(QStringLiteral("The register file %1 is missing.").arg(registerFile));
    QElapsedTimer clock;
    clock.start();
    const QString part = partName(file);
    QFile::remove(part);
    sqlite3 *source = nullptr;
    sqlite3 *target = nullptr;
    RegisterCounts counts;
    BackupResult result = BackupResult::done();
    const auto sourceFailed = [&](int rc) {
        result
            = isBusy(rc) ? BackupResult::lockedOut() : BackupResult::failed(QString::fromUtf8(sqlite3_errmsg(source)));
    };
    if (sqlite3_open_v2(registerFile.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sourceFailed(sqlite3_errcode(source));
    } else {
        sqlite3_busy_timeout(source, kLockWaitMs);
        bool busy = false;
        int rc = sqlite3_exec(source, "BEGIN", nullptr, nullptr, nullptr);
        const QString counted = rc == SQLITE_OK ? sqliteCounts(source, &counts, &busy) : QString();
        if (rc != SQLITE_OK)
            sourceFailed(rc);
        else if (!counted.isEmpty())
            result = busy ? BackupResult::lockedOut() : BackupResult::failed(counted);
        else if (sqlite3_open_v2(
                     part.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
            != SQLITE_OK) {
            result = BackupResult::failed(
                QStringLiteral("%1 cannot be written: %2")
                    .arg(QDir::toNativeSeparators(file), QString::fromUtf8(sqlite3_errmsg(target))));
        } else if (sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main"); !backup) {
            result = BackupResult::failed(QString::fromUtf8(sqlite3_errmsg(target)));
        } else {
            rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            if (isBusy(rc))
                result = BackupResult::lockedOut();
            else if (rc != SQLITE_DONE)
                result = BackupResult::failed(QString::fromUtf8(sqlite3_errstr(rc)));
            // The copy stands alone: a register kept in write-ahead-log mode becomes one file.
            else if (sqlite3_exec(target, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
                result = BackupResult::failed(QString::fromUtf8(sqlite3_errmsg(target)));
        }
        sqlite3_exec(source, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(source);
    sqlite3_close(target);
    result.copyMs = clock.restart();
    if (result.ok) {
        RegisterCounts found;
        QString problem = inspectSqliteFile(part, &found);
        if (problem.isEmpty())
            problem = compareCounts(counts, found);
        result.verifyMs = clock.elapsed();
        if (!problem.isEmpty())
            result = unchecked(problem);
        else
            result.counts = found;
    }
    if (result.ok && !renameOver(part, file))
        result = BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(file)));
    if (!result.ok)
        QFile::remove(part);
    return result;
}

bool pgBusy(const QString &error)
{
    return error.contains(QLatin1String("lock timeout")) || error.contains(QLatin1String("could not obtain lock"));
}

// pg_dump of the register from the snapshot of a transaction that counted its rows; then checked.
BackupResult pgBackup(const DataSource &source, const QString &file)
{
    QElapsedTimer clock;
    clock.start();
    const QString part = partName(file);
    QFile::remove(part);
    const PgConnection connection = PgConnection::of(source);
    RegisterCounts counts;
    BackupResult result = BackupResult::done();
    {
        PgLink link(connection);
        if (!link.isOpen())
            return BackupResult::failed(QStringLiteral("The register cannot be reached: %1").arg(link.error()));
        QString error = link.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
        if (error.isEmpty())
            error = link.exec(QStringLiteral("SET LOCAL lock_timeout = '%1ms'").arg(kLockWaitMs));
        const std::optional<QString> snapshot
            = error.isEmpty() ? link.value(QStringLiteral("SELECT pg_export_snapshot()")) : std::optional<QString>();
        if (error.isEmpty() && !snapshot)
            error = QStringLiteral("The register's snapshot cannot be taken.");
        if (error.isEmpty())
            error = pgCounts(link, &counts);
        if (!error.isEmpty()) {
            link.exec(QStringLiteral("ROLLBACK"));
            return pgBusy(error) ? BackupResult::lockedOut() : BackupResult::failed(error);
        }
        result = runProgram(postgresProgram(QStringLiteral("pg_dump")),
            connection.arguments(true)
                + QStringList {QStringLiteral("--snapshot=") + *snapshot,
                    QStringLiteral("--lock-wait-timeout=%1").arg(kLockWaitMs), QStringLiteral("-Fc"),
                    QStringLiteral("-f"), part},
            connection.environment());
        link.exec(QStringLiteral("ROLLBACK"));
    }
    result.copyMs = clock.restart();
    if (!result.ok) {
        QFile::remove(part);
        return pgBusy(result.error) ? BackupResult::lockedOut() : result;
    }
    const qint64 copyMs = result.copyMs;
    result = verifyPgDump(source, part, &counts);
    result.copyMs = copyMs;
    result.verifyMs = clock.elapsed();
    if (!result.ok)
        result = unchecked(result.error);
    else if (!renameOver(part, file))
        result = BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(file)));
    if (!result.ok)
        QFile::remove(part);
    return result;
}

// pg_basebackup of the cluster into `data`; then the register's database is read out of it by a private
// server and checked: every table of the register is there, in the same schema version. The rows are
// not compared: the base backup's moment is its end, which no transaction of ours can share.
BackupResult pgBaseBackup(const DataSource &source, const QString &data)
{
    QElapsedTimer clock;
    clock.start();
    const QString part = partName(data);
    QDir(part).removeRecursively();
    const PgConnection connection = PgConnection::of(source);
    RegisterCounts before;
    {
        PgLink link(connection);
        if (!link.isOpen())
            return BackupResult::failed(QStringLiteral("The register cannot be reached: %1").arg(link.error()));
        const QString error = pgCounts(link, &before);
        if (!error.isEmpty())
            return BackupResult::failed(error);
    }
    BackupResult result = runProgram(postgresProgram(QStringLiteral("pg_basebackup")),
        connection.arguments(false)
            + QStringList {QStringLiteral("-D"), part, QStringLiteral("-Fp"), QStringLiteral("-X"),
                QStringLiteral("stream"), QStringLiteral("-c"), QStringLiteral("fast")},
        connection.environment());
    // The copy holds the whole cluster: a note says which of its databases is the register.
    if (result.ok) {
        QFile note(locationFile(part, baseBackupNoteName()));
        if (!note.open(QIODevice::WriteOnly) || note.write(source.database.toUtf8()) < 0)
            result = BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(data)));
    }
    result.copyMs = clock.restart();
    if (result.ok) {
        QTemporaryDir work;
        const QString dump = work.filePath(QStringLiteral("register.dat"));
        const qint64 copyMs = result.copyMs;
        result = dumpBaseBackup(part, connection, dump);
        if (result.ok)
            result = verifyPgDump(source, dump, nullptr);
        if (result.ok) {
            RegisterCounts shape = result.counts;
            for (auto &[table, rows] : shape.rows)
                rows = before.rows.count(table) ? before.rows.at(table) : -1;
            const QString difference = compareCounts(before, shape);
            if (!difference.isEmpty())
                result = BackupResult::failed(difference);
        }
        result.copyMs = copyMs;
        result.verifyMs = clock.elapsed();
        if (!result.ok)
            result = unchecked(result.error);
    }
    if (result.ok && !renameOver(part, data))
        result = BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(data)));
    if (!result.ok)
        QDir(part).removeRecursively();
    return result;
}

} // namespace

QString locationFile(const QString &location, const QString &name)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(location) + QLatin1Char('/') + name);
}

bool renameOver(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

BackupResult copyPath(const QString &from, const QString &to)
{
    const QFileInfo source(from);
    if (!source.exists())
        return BackupResult::failed(QStringLiteral("%1 does not exist.").arg(QDir::toNativeSeparators(from)));
    if (QFileInfo::exists(to))
        return BackupResult::failed(QStringLiteral("%1 exists already.").arg(QDir::toNativeSeparators(to)));
    if (source.isFile()) {
        if (!QFile::copy(from, to))
            return BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(to)));
        return BackupResult::done();
    }
    if (!QDir().mkpath(to))
        return BackupResult::failed(QStringLiteral("%1 cannot be created.").arg(QDir::toNativeSeparators(to)));
    QFile::setPermissions(to, source.permissions());
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const BackupResult part = copyPath(it.filePath(), to + QLatin1Char('/') + it.fileName());
        if (!part.ok)
            return part;
    }
    return BackupResult::done();
}

BackupResult replaceWithCopy(const QString &from, const QString &to)
{
    const QString part = partName(to);
    QFile::remove(part);
    BackupResult result = copyPath(from, part);
    if (result.ok && QFileInfo(part).size() != QFileInfo(from).size())
        result = BackupResult::failed(QStringLiteral("%1 was not copied whole.").arg(QDir::toNativeSeparators(to)));
    if (result.ok && !renameOver(part, to))
        result = BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(to)));
    if (!result.ok)
        QFile::remove(part);
    return result;
}

ServerAdmin::ServerAdmin(const DbSession &session)
    : ServerAdmin(session.dataSource(), session.dialect().engine)
{
}

ServerAdmin::ServerAdmin(const DataSource &source, Engine engine)
    : m_source(source)
    , m_engine(engine)
{
}

QString ServerAdmin::name() const
{
    switch (m_engine) {
    case Engine::SQLite:
        return QDir::toNativeSeparators(m_source.database);
    case Engine::PostgreSQL:
        return QStringLiteral("%1:%2/%3")
            .arg(m_source.server.isEmpty() ? QStringLiteral("localhost") : m_source.server,
                m_source.port.isEmpty() ? QStringLiteral("5432") : m_source.port, m_source.database);
    case Engine::Other:
        break;
    }
    return m_source.name;
}

QString ServerAdmin::fileCopyRefusal() const
{
    switch (m_engine) {
    case Engine::SQLite:
        if (!registerIsOnThisMachine(m_source))
            return QStringLiteral("The register file is not on this computer: copy 1 is made on the computer that "
                                  "holds it.");
        return {};
    case Engine::PostgreSQL:
        if (!registerIsOnThisMachine(m_source))
            return QStringLiteral("The PostgreSQL server does not run on this computer: copy 1 is made on the "
                                  "server's own computer.");
        if (postgresProgram(QStringLiteral("pg_basebackup")).isEmpty())
            return QStringLiteral("pg_basebackup is not installed on this computer.");
        return {};
    case Engine::Other:
        break;
    }
    return QStringLiteral("Copy 1 needs a register on SQLite or PostgreSQL.");
}

BackupResult ServerAdmin::copyFiles(const QString &folder) const
{
    const QString refusal = fileCopyRefusal();
    if (!refusal.isEmpty())
        return BackupResult::failed(refusal);
    const bool existed = QFileInfo(folder).isDir();
    if (!existed && !QDir().mkpath(folder))
        return BackupResult::failed(QStringLiteral("%1 cannot be created.").arg(QDir::toNativeSeparators(folder)));
    const QString data = locationFile(folder, dataFileName());
    const BackupResult result = m_engine == Engine::SQLite ? sqliteBackup(m_source.database, data)
        : QFileInfo::exists(data)
        ? BackupResult::failed(QStringLiteral("%1 exists already.").arg(QDir::toNativeSeparators(data)))
        : pgBaseBackup(m_source, data);
    if (!result.ok && !existed)
        QDir().rmdir(folder);
    return result;
}

BackupResult ServerAdmin::backup(const QString &file) const
{
    if (!QFileInfo(QFileInfo(file).absolutePath()).isDir())
        return BackupResult::failed(QStringLiteral("The folder %1 does not exist.")
                                        .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath())));
    switch (m_engine) {
    case Engine::SQLite:
        return sqliteBackup(m_source.database, file);
    case Engine::PostgreSQL:
        return pgBackup(m_source, file);
    case Engine::Other:
        break;
    }
    return BackupResult::failed(QStringLiteral("A backup needs a register on SQLite or PostgreSQL."));
}

} // namespace parcelon
