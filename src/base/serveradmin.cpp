#include "base/serveradmin.h"

#include "base/dbsession.h"
#include "base/pgtools.h"
#include "base/restore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sqlite3.h>

namespace parcelon {
namespace {

// A temporary name beside the target, renamed into place when the backup is whole.
QString partName(const QString &file) { return file + QStringLiteral(".part"); }

BackupResult putInPlace(const QString &part, const QString &file)
{
    if (QFileInfo::exists(file) && !QFile::remove(file)) {
        QFile::remove(part);
        return BackupResult::failed(QStringLiteral("%1 cannot be replaced.").arg(QDir::toNativeSeparators(file)));
    }
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        return BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(file)));
    }
    return BackupResult::done();
}

// SQLite's online backup of the register file into `file`: the pages are copied in one pass under a
// read lock, so the copy is the register as one committed moment saw it. A writer on another
// workstation holding the lock makes it wait up to the data source's timeout.
BackupResult sqliteBackup(const QString &registerFile, int timeoutMs, const QString &file)
{
    if (!QFileInfo(registerFile).isFile())
        return BackupResult::failed(QStringLiteral("The register file %1 is missing.").arg(registerFile));
    const QString part = partName(file);
    QFile::remove(part);
    sqlite3 *source = nullptr;
    sqlite3 *target = nullptr;
    QString error;
    if (sqlite3_open_v2(registerFile.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(source));
    } else if (sqlite3_open_v2(part.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        error = QStringLiteral("%1 cannot be written: %2")
                    .arg(QDir::toNativeSeparators(file), QString::fromUtf8(sqlite3_errmsg(target)));
    } else {
        sqlite3_busy_timeout(source, timeoutMs);
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
        if (!backup) {
            error = QString::fromUtf8(sqlite3_errmsg(target));
        } else {
            int rc = SQLITE_OK;
            int waited = 0;
            do {
                rc = sqlite3_backup_step(backup, -1);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                    QThread::msleep(50);
                    waited += 50;
                }
            } while ((rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited <= timeoutMs);
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE)
                error = rc == SQLITE_BUSY || rc == SQLITE_LOCKED
                    ? QStringLiteral("The register stayed locked by another workstation.")
                    : QString::fromUtf8(sqlite3_errstr(rc));
        }
    }
    sqlite3_close(source);
    sqlite3_close(target);
    if (!error.isEmpty()) {
        QFile::remove(part);
        return BackupResult::failed(error);
    }
    return putInPlace(part, file);
}

} // namespace

QString locationFile(const QString &location, const QString &name)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(location) + QLatin1Char('/') + name);
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

ServerAdmin::ServerAdmin(DbSession &session)
    : m_session(session)
    , m_source(session.dataSource())
    , m_engine(session.dialect().engine)
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

BackupResult ServerAdmin::stop()
{
    const QString refusal = fileCopyRefusal();
    if (!refusal.isEmpty())
        return BackupResult::failed(refusal);
    // SQLite: the file rests while nobody here holds it open. PostgreSQL keeps running: its base backup
    // is consistent while the server works.
    if (m_engine == Engine::SQLite)
        m_session.close();
    return BackupResult::done();
}

BackupResult ServerAdmin::copyFiles(const QString &folder)
{
    const QString refusal = fileCopyRefusal();
    if (!refusal.isEmpty())
        return BackupResult::failed(refusal);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return BackupResult::failed(QStringLiteral("%1 cannot be created.").arg(QDir::toNativeSeparators(folder)));
    const QString data = locationFile(folder, dataFileName());
    if (m_engine == Engine::SQLite) {
        BackupResult result = copyPath(m_source.database, data);
        const QString log = m_source.database + QStringLiteral("-wal");
        if (result.ok && QFileInfo::exists(log))
            result = copyPath(log, locationFile(folder, logFileName()));
        return result;
    }
    const PgConnection connection = PgConnection::of(m_source);
    const BackupResult copied = runProgram(postgresProgram(QStringLiteral("pg_basebackup")),
        connection.arguments(false)
            + QStringList {QStringLiteral("-D"), data, QStringLiteral("-Fp"), QStringLiteral("-X"),
                QStringLiteral("stream"), QStringLiteral("-c"), QStringLiteral("fast")},
        connection.environment());
    if (!copied.ok)
        return copied;
    // The copy holds the whole cluster: a note says which of its databases is the register.
    QFile note(locationFile(data, baseBackupNoteName()));
    if (!note.open(QIODevice::WriteOnly) || note.write(m_source.database.toUtf8()) < 0)
        return BackupResult::failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(data)));
    return BackupResult::done();
}

BackupResult ServerAdmin::start()
{
    if (m_engine == Engine::SQLite && !m_session.isOpen() && !m_session.connect_db())
        return BackupResult::failed(QStringLiteral("The register cannot be opened again."));
    return BackupResult::done();
}

BackupResult ServerAdmin::backup(const QString &file)
{
    if (!QFileInfo(QFileInfo(file).absolutePath()).isDir())
        return BackupResult::failed(QStringLiteral("The folder %1 does not exist.")
                                        .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath())));
    switch (m_engine) {
    case Engine::SQLite:
        return sqliteBackup(m_source.database, m_source.timeoutMs, file);
    case Engine::PostgreSQL: {
        const QString part = partName(file);
        QFile::remove(part);
        const PgConnection connection = PgConnection::of(m_source);
        const BackupResult dumped = runProgram(postgresProgram(QStringLiteral("pg_dump")),
            connection.arguments(true) + QStringList {QStringLiteral("-Fc"), QStringLiteral("-f"), part},
            connection.environment());
        if (!dumped.ok) {
            QFile::remove(part);
            return dumped;
        }
        return putInPlace(part, file);
    }
    case Engine::Other:
        break;
    }
    return BackupResult::failed(QStringLiteral("A backup needs a register on SQLite or PostgreSQL."));
}

} // namespace parcelon
