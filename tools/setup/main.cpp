// parcelon-setup: prepares a register and the data source `land` for Parcelon.
//
//   parcelon-setup --sqlite FILE [--password PW] [--demo]
//       creates a new SQLite register in FILE
//   parcelon-setup --postgresql --database NAME [--host H] [--port P] [--user U] [--password PW] [--demo]
//       loads the register into an existing, empty PostgreSQL database
//   parcelon-setup --set-password USER [--password PW]
//       sets the password of an account of the register behind the data source land
//   parcelon-setup --restore FILE
//       restores a backup (a file copy, a ".dat" of copy 2 or of the scheduled backup) into the register
//       behind the data source land, after checking it; the register it replaces is kept beside it
//
// A register is made whole or not at all: a failed run leaves no SQLite file and an empty PostgreSQL
// database behind. The data source `land` is written to the user's odbc.ini only when it has no `land`
// yet (--replace-dsn replaces it; --no-dsn leaves it alone). A password comes from --password or
// PARCELON_CHIEF_PASSWORD; otherwise one is generated and printed once.

#include "setup.h"

#include "base/datasource.h"
#include "base/dbsession.h"
#include "base/passwords.h"
#include "base/registercheck.h"
#include "base/restore.h"
#include "buildconfig.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTextStream>

#include <stdexcept>

using namespace parcelon;

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "parcelon-setup: " << message << Qt::endl;
    return 1;
}

struct Password
{
    QString text;
    bool generated = false;
};

Password passwordFrom(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    Password password {parser.value(option), false};
    if (password.text.isEmpty())
        password.text = qEnvironmentVariable("PARCELON_CHIEF_PASSWORD");
    if (password.text.isEmpty())
        password = {setup::generatePassword(), true};
    return password;
}

// What one run of the register's creation needs.
struct Target
{
    QString engine; // "sqlite" or "postgresql"
    QString file; // SQLite: the new register's file
    QList<std::pair<QString, QString>> dsn;
};

// Builds the register on an open connection. A new SQLite file that did not become a whole register is
// removed, with its journal.
int build(QSqlDatabase &database, const Target &target, const QString &chiefPassword, bool demo)
{
    if (!database.open()) {
        const QString error = database.lastError().text();
        if (!target.file.isEmpty())
            QFile::remove(target.file);
        return fail(QStringLiteral("cannot open the database: %1").arg(error));
    }
    if (target.file.isEmpty() && database.tables().contains(QStringLiteral("land"), Qt::CaseInsensitive))
        return fail(QStringLiteral("the database holds a register already"));
    try {
        setup::buildRegister(database, target.engine, chiefPassword, demo);
    } catch (const std::exception &error) {
        database.close();
        if (!target.file.isEmpty()) {
            QFile::remove(target.file);
            QFile::remove(target.file + QStringLiteral("-journal"));
            return fail(QStringLiteral("%1\nThe register was not created; %2 was removed.")
                            .arg(QString::fromLocal8Bit(error.what()), target.file));
        }
        return fail(QStringLiteral("%1\nThe register was not created; the database was left as it was.")
                        .arg(QString::fromLocal8Bit(error.what())));
    }
    database.close();
    return 0;
}

// Sets an account's password on the register behind the data source `land`.
int setPassword(const QString &user, const Password &password)
{
    if (!db().connect_db())
        return fail(connectionAdvice());
    QString problem;
    try {
        upgradeRegister();
        problem = registerProblem();
    } catch (const DbError &error) {
        problem = QStringLiteral("the register could not be brought up to this version: %1").arg(error.description);
    }
    if (!problem.isEmpty()) {
        db().close();
        return fail(problem);
    }
    try {
        bool known = false;
        // Both password columns hold a hash of the password, as the password screens write them.
        db().transaction([&] {
            known = db().scalar(QStringLiteral("SELECT COUNT(*) FROM user_loging WHERE username = ?"), {user}).toInt()
                > 0;
            if (known)
                db().execute(QStringLiteral("UPDATE user_loging SET password1 = ?, password2 = ? WHERE username = ?"),
                    {hashPassword(password.text), hashPassword(password.text), user});
        });
        const QString where = describeDatabase();
        db().close();
        if (!known)
            return fail(QStringLiteral("the register (the %1) has no account named %2").arg(where, user));
    } catch (const DbError &error) {
        db().close();
        return fail(error.description);
    }
    QTextStream out(stdout);
    if (password.generated)
        out << "New password of " << user << " (shown this once): " << password.text << Qt::endl;
    else
        out << "Password of " << user << " set." << Qt::endl;
    return 0;
}

// Restores a backup into the register behind the data source `land`: checked in a new file or
// database, the register in force kept under a second name, the new one swapped in by one rename, and
// an older register brought up to this version as at login.
int restore(const QString &path)
{
    const std::optional<DataSource> source = readDataSource(QStringLiteral("land"));
    if (!source)
        return fail(QStringLiteral("there is no data source land to restore into"));
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("%1 does not exist").arg(path));
    const RestoreResult result
        = restoreBackup(*source, QFileInfo(path).absoluteFilePath(), QDateTime::currentDateTime());
    if (!result.ok)
        return fail(result.error + QStringLiteral("\nThe register was left as it was."));
    QTextStream out(stdout);
    out << "Restored " << path << " (backup made " << result.backupTime.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
        << "): " << result.counts.describe() << "." << Qt::endl;
    for (const auto &[table, rows] : result.counts.rows)
        out << "  " << table << ": " << rows << Qt::endl;
    out << "The register that was replaced is kept as " << result.keptAs << "." << Qt::endl;
    if (result.counts.version < kRegisterVersion) {
        QString problem;
        if (!db().connect_db()) {
            problem = connectionAdvice();
        } else {
            try {
                upgradeRegister();
                problem = registerProblem();
            } catch (const DbError &error) {
                problem = error.description;
            }
            db().close();
        }
        if (!problem.isEmpty())
            return fail(QStringLiteral("the restored register could not be brought up to schema version %1: %2")
                            .arg(kRegisterVersion)
                            .arg(problem));
        out << "The restored register was brought up from schema version " << result.counts.version << " to "
            << kRegisterVersion << "." << Qt::endl;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("parcelon-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARCELON_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prepares a Parcelon register and the ODBC data source land, or sets a forgotten password.\n"
                       "  parcelon-setup --sqlite FILE [--demo]\n"
                       "  parcelon-setup --postgresql --database NAME [--host H] [--port P] [--user U] [--demo]\n"
                       "  parcelon-setup --set-password USER\n"
                       "  parcelon-setup --restore FILE"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption sqlite(
        QStringLiteral("sqlite"), QStringLiteral("Create a new SQLite register in <file>."), QStringLiteral("file"));
    const QCommandLineOption postgres(
        QStringLiteral("postgresql"), QStringLiteral("Load the register into an empty PostgreSQL database."));
    const QCommandLineOption host(
        QStringLiteral("host"), QStringLiteral("PostgreSQL server (default: local socket)."), QStringLiteral("host"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("PostgreSQL port."), QStringLiteral("port"));
    const QCommandLineOption database(
        QStringLiteral("database"), QStringLiteral("PostgreSQL database."), QStringLiteral("name"));
    const QCommandLineOption user(
        QStringLiteral("user"), QStringLiteral("PostgreSQL user (default: your login name)."), QStringLiteral("user"));
    const QCommandLineOption setPasswordOf(QStringLiteral("set-password"),
        QStringLiteral("Set the password of the account <user> on the register behind the data source land."),
        QStringLiteral("user"));
    const QCommandLineOption restoreFrom(QStringLiteral("restore"),
        QStringLiteral(
            "Restore the backup <file> (a file copy's folder or file, or a .dat) into the register behind the data "
            "source land. The backup is first restored into a new file beside the register (SQLite) or a new "
            "database on its server (PostgreSQL) and checked there: it must be a whole Parcelon register (integrity "
            "check, schema version no newer than this program; an older one is upgraded afterwards). Only then is "
            "the register in force kept, as <register>.before-restore-<date>-<time> beside the SQLite file or as the "
            "database <name>_before_restore_<date>_<time>, and the restored one put in its place by one rename. "
            "A backup that fails a check changes nothing. To go back, close Parcelon everywhere and rename the kept "
            "register to the register's name (PostgreSQL: ALTER DATABASE ... RENAME TO ...)."),
        QStringLiteral("file"));
    const QCommandLineOption password(QStringLiteral("password"),
        QStringLiteral("Chief's password, or with --set-password the new password (also PARCELON_CHIEF_PASSWORD; "
                       "otherwise one is generated and printed)."),
        QStringLiteral("password"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Add a small register to look at."));
    const QCommandLineOption replaceDsn(
        QStringLiteral("replace-dsn"), QStringLiteral("Replace an existing data source land."));
    const QCommandLineOption noDsn(QStringLiteral("no-dsn"), QStringLiteral("Do not write the data source land."));
    parser.addOptions(
        {sqlite, postgres, host, port, database, user, setPasswordOf, restoreFrom, password, demo, replaceDsn, noDsn});
    // "--restore --help" asks what a restore does: the help, not a restore of a file named "--help".
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        parser.parse(arguments);
        parser.showHelp(0);
    }
    parser.process(app);

    const int modes = int(parser.isSet(sqlite)) + int(parser.isSet(postgres)) + int(parser.isSet(setPasswordOf))
        + int(parser.isSet(restoreFrom));
    if (modes != 1)
        return fail(QStringLiteral(
            "give one of --sqlite FILE, --postgresql --database NAME, --set-password USER or --restore FILE"));
    if (parser.isSet(restoreFrom))
        return restore(parser.value(restoreFrom));
    if (parser.isSet(setPasswordOf))
        return setPassword(parser.value(setPasswordOf), passwordFrom(parser, password));

    Target target;
    int result = 0;
    {
        QSqlDatabase connection;
        if (parser.isSet(sqlite)) {
            target.engine = QStringLiteral("sqlite");
            target.file = QFileInfo(parser.value(sqlite)).absoluteFilePath();
            if (QFileInfo::exists(target.file))
                return fail(QStringLiteral("%1 exists already; a register is never overwritten").arg(target.file));
            if (!QDir().mkpath(QFileInfo(target.file).absolutePath()))
                return fail(QStringLiteral("cannot create the folder of %1").arg(target.file));
            connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            connection.setDatabaseName(target.file);
            target.dsn = {{QStringLiteral("Description"), QStringLiteral("Parcelon land register")},
                {QStringLiteral("Driver"), odbcDriverLibrary(QStringLiteral("libsqlite3odbc.so"))},
                {QStringLiteral("Database"), target.file}, {QStringLiteral("Timeout"), QStringLiteral("5000")},
                {QStringLiteral("LongNames"), QStringLiteral("0")}, {QStringLiteral("NoCreat"), QStringLiteral("1")}};
        } else {
            target.engine = QStringLiteral("postgresql");
            if (!parser.isSet(database))
                return fail(QStringLiteral("--postgresql needs --database NAME"));
            connection = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("setup"));
            connection.setHostName(parser.value(host));
            connection.setDatabaseName(parser.value(database));
            if (parser.isSet(user))
                connection.setUserName(parser.value(user));
            if (parser.isSet(port))
                connection.setPort(parser.value(port).toInt());
            target.dsn = {{QStringLiteral("Description"), QStringLiteral("Parcelon land register")},
                {QStringLiteral("Driver"), odbcDriverLibrary(QStringLiteral("psqlodbcw.so"))},
                {QStringLiteral("Servername"), parser.value(host)},
                {QStringLiteral("Port"), parser.isSet(port) ? parser.value(port) : QStringLiteral("5432")},
                {QStringLiteral("Database"), parser.value(database)}, {QStringLiteral("Username"), parser.value(user)}};
        }
        const Password chief = passwordFrom(parser, password);
        result = build(connection, target, chief.text, parser.isSet(demo));
        if (result == 0) {
            QTextStream(stdout) << "Register created (" << target.engine << ")." << Qt::endl;
            if (chief.generated)
                QTextStream(stdout) << "Chief's password (shown this once): " << chief.text << Qt::endl;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    if (result != 0 || parser.isSet(noDsn))
        return result;

    QTextStream out(stdout);
    if (readDataSource(QStringLiteral("land")) && !parser.isSet(replaceDsn)) {
        out << "The data source land exists already and was left as it is (--replace-dsn replaces it)." << Qt::endl;
    } else if (!writeDataSource(QStringLiteral("land"), target.dsn)) {
        return fail(QStringLiteral("cannot write the data source land into %1").arg(userOdbcIni()));
    } else {
        out << "Data source land written into " << userOdbcIni() << "." << Qt::endl;
    }
    return 0;
}
