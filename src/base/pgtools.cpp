#include "base/pgtools.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QVersionNumber>

namespace parcelon {

PgConnection PgConnection::of(const DataSource &source)
{
    return {source.server, source.port, source.user, source.database, source.passfile};
}

QSqlDatabase PgConnection::addDatabase(const QString &connectionName, const QString &options) const
{
    QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    connection.setHostName(host);
    connection.setDatabaseName(database);
    if (!user.isEmpty())
        connection.setUserName(user);
    bool portOk = false;
    const int number = port.toInt(&portOk);
    if (portOk)
        connection.setPort(number);
    QStringList all;
    if (!options.isEmpty())
        all << options;
    if (!passfile.isEmpty())
        all << QStringLiteral("passfile=") + passfile;
    if (!all.isEmpty())
        connection.setConnectOptions(all.join(QLatin1Char(';')));
    return connection;
}

QStringList PgConnection::arguments(bool withDatabase) const
{
    QStringList args {QStringLiteral("-w")};
    if (!host.isEmpty())
        args << QStringLiteral("-h") << host;
    if (!port.isEmpty())
        args << QStringLiteral("-p") << port;
    if (!user.isEmpty())
        args << QStringLiteral("-U") << user;
    if (withDatabase)
        args << QStringLiteral("-d") << database;
    return args;
}

QProcessEnvironment PgConnection::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!passfile.isEmpty())
        env.insert(QStringLiteral("PGPASSFILE"), passfile);
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    return env;
}

QString postgresProgram(const QString &name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty())
        return onPath;
    // Debian keeps the server's programs in /usr/lib/postgresql/<version>/bin.
    QVersionNumber newest;
    QString found;
    const QStringList versions
        = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &version : versions) {
        const QString path = QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(version, name);
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (QFileInfo(path).isExecutable() && (found.isEmpty() || number > newest)) {
            newest = number;
            found = path;
        }
    }
    return found;
}

BackupResult runProgram(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
    int timeoutMs, QByteArray *output)
{
    if (program.isEmpty())
        return BackupResult::failed(QStringLiteral("The PostgreSQL client programs are not installed."));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return BackupResult::failed(QStringLiteral("%1 cannot be started.").arg(program));
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return BackupResult::failed(QStringLiteral("%1 did not finish.").arg(QFileInfo(program).fileName()));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return BackupResult::failed(QStringLiteral("%1 failed: %2").arg(QFileInfo(program).fileName(), said));
    }
    if (output)
        *output = process.readAllStandardOutput();
    return BackupResult::done();
}

} // namespace parcelon
