#include "base/pgserver.h"

#include "base/serveradmin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace parcelon {
namespace {

// The server refuses to run as root: root runs it as the postgres user.
BackupResult asServerOwner(const QString &program, const QStringList &arguments)
{
    if (geteuid() != 0)
        return runProgram(program, arguments);
    return runProgram(QStringLiteral("runuser"),
        QStringList {QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + arguments);
}

} // namespace

BackupResult dumpBaseBackup(const QString &folder, const PgConnection &like, const QString &dumpFile)
{
    const QString pgctl = postgresProgram(QStringLiteral("pg_ctl"));
    if (pgctl.isEmpty())
        return BackupResult::failed(QStringLiteral("The PostgreSQL server programs (pg_ctl) are not installed."));
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/parcelon-pgcopy-XXXXXX"));
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
    QString database = like.database;
    if (note.open(QIODevice::ReadOnly))
        database = QString::fromUtf8(note.readAll()).trimmed();
    // A port of its own, so that a server already on this machine is not in the way.
    const QString port = QString::number(20000 + getpid() % 20000);
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
    PgConnection copy = like;
    copy.host = work.path();
    copy.port = port;
    copy.database = database;
    copy.passfile.clear();
    result = runProgram(postgresProgram(QStringLiteral("pg_dump")),
        copy.arguments(true) + QStringList {QStringLiteral("-Fc"), QStringLiteral("-f"), dumpFile}, copy.environment());
    asServerOwner(pgctl,
        {QStringLiteral("-D"), data, QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("fast"),
            QStringLiteral("stop")});
    return result;
}

} // namespace parcelon
