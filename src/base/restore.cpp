#include "base/restore.h"

#include "base/pgtools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <unistd.h>

namespace parcelon {
namespace {

QByteArray head(const QString &file, int size)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(size);
}

// Copies the whole of one SQLite database over another through the backup API.
BackupResult sqliteCopy(const QString &from, const QString &to)
{
    sqlite3 *source = nullptr;
    sqlite3 *target = nullptr;
    QString error;
    if (sqlite3_open_v2(from.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        error = QStringLiteral("%1 cannot be read: %2").arg(from, QString::fromUtf8(sqlite3_errmsg(source)));
    else if (sqlite3_open_v2(to.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK)
        error = QStringLiteral("%1 cannot be written: %2").arg(to, QString::fromUtf8(sqlite3_errmsg(target)));
    else {
        sqlite3_busy_timeout(target, 5000);
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
        if (!backup) {
            error = QString::fromUtf8(sqlite3_errmsg(target));
        } else {
            const int rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE)
                error = QString::fromUtf8(sqlite3_errstr(rc));
        }
    }
    sqlite3_close(source);
    sqlite3_close(target);
    return error.isEmpty() ? BackupResult::done() : BackupResult::failed(error);
}

BackupResult restoreSqlite(const DataSource &target, const QString &file)
{
    // A file copy may carry its write-ahead log beside it: SQLite reads it only under the register's own
    // name plus "-wal", so both go to a private folder first.
    const QString log = locationFile(QFileInfo(file).absolutePath(), ServerAdmin::logFileName());
    if (QFileInfo(file).fileName() == ServerAdmin::dataFileName() && QFileInfo::exists(log)) {
        QTemporaryDir work;
        const QString copy = work.filePath(QStringLiteral("register.db"));
        if (!QFile::copy(file, copy) || !QFile::copy(log, copy + QStringLiteral("-wal")))
            return BackupResult::failed(QStringLiteral("The file copy cannot be read."));
        return sqliteCopy(copy, target.database);
    }
    return sqliteCopy(file, target.database);
}

BackupResult restorePgDump(const DataSource &target, const QString &file)
{
    const PgConnection connection = PgConnection::of(target);
    return runProgram(postgresProgram(QStringLiteral("pg_restore")),
        connection.arguments(true)
            + QStringList {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                QStringLiteral("--no-privileges"), QStringLiteral("--single-transaction"),
                QStringLiteral("--exit-on-error"), file},
        connection.environment());
}

// The server refuses to run as root: root runs it as the postgres user.
BackupResult asServerOwner(const QString &program, const QStringList &arguments)
{
    if (geteuid() != 0)
        return runProgram(program, arguments);
    return runProgram(QStringLiteral("runuser"),
        QStringList {QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + arguments);
}

BackupResult restorePgBase(const DataSource &target, const QString &folder)
{
    const QString pgctl = postgresProgram(QStringLiteral("pg_ctl"));
    if (pgctl.isEmpty())
        return BackupResult::failed(QStringLiteral("The PostgreSQL server programs (pg_ctl) are not installed."));
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/parcelon-restore-XXXXXX"));
    const QString data = work.filePath(QStringLiteral("data"));
    BackupResult result = copyPath(folder, data);
    if (!result.ok)
        return result;
    // A private server: no network, its socket in the work folder, anyone local trusted there.
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(data + QStringLiteral("/postmaster.pid"));
    QFile::remove(data + QStringLiteral("/standby.signal"));
    QFile::remove(data + QStringLiteral("/recovery.signal"));
    for (const auto &[name, text] : {std::pair {QStringLiteral("pg_hba.conf"), QByteArray("local all all trust\n")},
             std::pair {QStringLiteral("postgresql.conf"), QByteArray()},
             std::pair {QStringLiteral("pg_ident.conf"), QByteArray()}}) {
        QFile file(data + QLatin1Char('/') + name);
        if (name == QLatin1String("pg_hba.conf") || !file.exists()) {
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return BackupResult::failed(QStringLiteral("The work folder cannot be written."));
            file.write(text);
        }
    }
    if (geteuid() == 0) {
        result = runProgram(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("postgres"), work.path()});
        if (!result.ok)
            return result;
    }
    QFile note(locationFile(folder, baseBackupNoteName()));
    QString database = target.database;
    if (note.open(QIODevice::ReadOnly))
        database = QString::fromUtf8(note.readAll()).trimmed();
    const QString port = QStringLiteral("5432");
    result = asServerOwner(pgctl,
        {QStringLiteral("-D"), data, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("120"),
            QStringLiteral("-l"), work.filePath(QStringLiteral("server.log")), QStringLiteral("-o"),
            QStringLiteral("-p %1 -k %2 -c listen_addresses= -c archive_mode=off").arg(port, work.path()),
            QStringLiteral("start")});
    if (!result.ok) {
        QFile log(work.filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        return BackupResult::failed(QStringLiteral("The file copy cannot be started as a server: %1")
                                        .arg(QString::fromLocal8Bit(log.readAll()).trimmed()));
    }
    PgConnection copy = PgConnection::of(target);
    copy.host = work.path();
    copy.port = port;
    copy.database = database;
    copy.passfile.clear();
    const QString dump = work.filePath(QStringLiteral("register.dat"));
    result = runProgram(postgresProgram(QStringLiteral("pg_dump")),
        copy.arguments(true) + QStringList {QStringLiteral("-Fc"), QStringLiteral("-f"), dump}, copy.environment());
    asServerOwner(pgctl,
        {QStringLiteral("-D"), data, QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("fast"),
            QStringLiteral("stop")});
    if (!result.ok)
        return result;
    return restorePgDump(target, dump);
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
    const QByteArray start = head(path, 16);
    if (start == QByteArray("SQLite format 3\0", 16))
        return BackupKind::SQLiteFile;
    if (start.startsWith("PGDMP"))
        return BackupKind::PgDump;
    return BackupKind::Unknown;
}

BackupResult restoreBackup(const DataSource &target, const QString &path)
{
    QString data;
    const BackupKind kind = backupKind(path, &data);
    if (kind == BackupKind::Unknown)
        return BackupResult::failed(QStringLiteral("%1 is not a backup of a register.").arg(path));
    const bool sqliteBackup = kind == BackupKind::SQLiteFile;
    if (target.engine == Engine::SQLite && sqliteBackup)
        return restoreSqlite(target, data);
    if (target.engine == Engine::PostgreSQL && kind == BackupKind::PgDump)
        return restorePgDump(target, data);
    if (target.engine == Engine::PostgreSQL && kind == BackupKind::PgBaseBackup)
        return restorePgBase(target, data);
    return BackupResult::failed(
        QStringLiteral("%1 is a backup of a register on %2; the data source land names a register on %3.")
            .arg(path, sqliteBackup ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL"),
                target.engine == Engine::SQLite           ? QStringLiteral("SQLite")
                    : target.engine == Engine::PostgreSQL ? QStringLiteral("PostgreSQL")
                                                          : QStringLiteral("another engine")));
}

} // namespace parcelon
