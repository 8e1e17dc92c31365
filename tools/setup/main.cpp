// parcelon-setup: prepares a register and the data source `land` for Parcelon.
//
//   parcelon-setup --sqlite FILE [--password PW] [--demo]
//       creates a new SQLite register in FILE
//   parcelon-setup --postgresql --database NAME [--host H] [--port P] [--user U] [--password PW] [--demo]
//       loads the register into an existing, empty PostgreSQL database
//
// The data source `land` is written to the user's odbc.ini only when it has no `land` yet (--replace-dsn
// replaces it; --no-dsn leaves it alone). Chief's password comes from --password or PARCELON_CHIEF_PASSWORD;
// otherwise one is generated and printed once.

#include "setup.h"

#include "base/datasource.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

using namespace parcelon;

namespace {
const QString kSqliteDriver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
const QString kPostgresDriver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so");

int fail(const QString &message)
{
    QTextStream(stderr) << "parcelon-setup: " << message << Qt::endl;
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("parcelon-setup"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prepares a Parcelon register and the ODBC data source land."));
    parser.addHelpOption();
    const QCommandLineOption sqlite(QStringLiteral("sqlite"), QStringLiteral("Create a new SQLite register in <file>."),
                                    QStringLiteral("file"));
    const QCommandLineOption postgres(QStringLiteral("postgresql"), QStringLiteral("Load the register into an empty PostgreSQL database."));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("PostgreSQL server (default: local socket)."), QStringLiteral("host"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("PostgreSQL port."), QStringLiteral("port"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("PostgreSQL database."), QStringLiteral("name"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("PostgreSQL user (default: your login name)."), QStringLiteral("user"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Chief's password."), QStringLiteral("password"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Add a small register to look at."));
    const QCommandLineOption replaceDsn(QStringLiteral("replace-dsn"), QStringLiteral("Replace an existing data source land."));
    const QCommandLineOption noDsn(QStringLiteral("no-dsn"), QStringLiteral("Do not write the data source land."));
    parser.addOptions({sqlite, postgres, host, port, database, user, password, demo, replaceDsn, noDsn});
    parser.process(app);

    if (parser.isSet(sqlite) == parser.isSet(postgres))
        return fail(QStringLiteral("give either --sqlite FILE or --postgresql --database NAME"));

    QString chiefPassword = parser.value(password);
    if (chiefPassword.isEmpty())
        chiefPassword = qEnvironmentVariable("PARCELON_CHIEF_PASSWORD");
    const bool generated = chiefPassword.isEmpty();
    if (generated)
        chiefPassword = setup::generatePassword();

    QList<std::pair<QString, QString>> dsn;
    QString engine;
    {
        QSqlDatabase db;
        if (parser.isSet(sqlite)) {
            engine = QStringLiteral("sqlite");
            const QString file = QFileInfo(parser.value(sqlite)).absoluteFilePath();
            if (QFileInfo::exists(file))
                return fail(QStringLiteral("%1 exists already; a register is never overwritten").arg(file));
            if (!QDir().mkpath(QFileInfo(file).absolutePath()))
                return fail(QStringLiteral("cannot create the folder of %1").arg(file));
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            db.setDatabaseName(file);
            dsn = {{QStringLiteral("Description"), QStringLiteral("Parcelon land register")},
                   {QStringLiteral("Driver"), kSqliteDriver},
                   {QStringLiteral("Database"), file},
                   {QStringLiteral("Timeout"), QStringLiteral("5000")},
                   {QStringLiteral("LongNames"), QStringLiteral("0")},
                   {QStringLiteral("NoCreat"), QStringLiteral("1")}};
        } else {
            engine = QStringLiteral("postgresql");
            if (!parser.isSet(database))
                return fail(QStringLiteral("--postgresql needs --database NAME"));
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("setup"));
            db.setHostName(parser.value(host));
            db.setDatabaseName(parser.value(database));
            if (parser.isSet(user))
                db.setUserName(parser.value(user));
            if (parser.isSet(port))
                db.setPort(parser.value(port).toInt());
            dsn = {{QStringLiteral("Description"), QStringLiteral("Parcelon land register")},
                   {QStringLiteral("Driver"), kPostgresDriver},
                   {QStringLiteral("Servername"), parser.value(host)},
                   {QStringLiteral("Port"), parser.isSet(port) ? parser.value(port) : QStringLiteral("5432")},
                   {QStringLiteral("Database"), parser.value(database)},
                   {QStringLiteral("Username"), parser.value(user)}};
        }
        if (!db.open())
            return fail(QStringLiteral("cannot open the database: %1").arg(db.lastError().text()));
        if (db.tables().contains(QStringLiteral("land"), Qt::CaseInsensitive))
            return fail(QStringLiteral("the database holds a register already"));
        try {
            setup::createSchema(db, engine);
            setup::seedAccounts(db, chiefPassword);
            if (parser.isSet(demo))
                setup::seedDemo(db);
        } catch (const std::exception &error) {
            return fail(QString::fromLocal8Bit(error.what()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));

    QTextStream out(stdout);
    out << "Register created (" << engine << ")." << Qt::endl;
    if (!parser.isSet(noDsn)) {
        if (readDataSource(QStringLiteral("land")) && !parser.isSet(replaceDsn)) {
            out << "The data source land exists already and was left as it is (--replace-dsn replaces it)." << Qt::endl;
        } else if (!writeDataSource(QStringLiteral("land"), dsn)) {
            return fail(QStringLiteral("cannot write the data source land"));
        } else {
            out << "Data source land written." << Qt::endl;
        }
    }
    if (generated)
        out << "Chief's password (shown this once): " << chiefPassword << Qt::endl;
    return 0;
}
