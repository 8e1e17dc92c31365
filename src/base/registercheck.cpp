#include "base/registercheck.h"

#include "base/dbsession.h"

#include <QFileInfo>

namespace parcelon {
namespace {

QString describe(const DataSource &source)
{
    switch (source.engine) {
    case Engine::SQLite:
        return QStringLiteral("SQLite file %1").arg(source.database);
    case Engine::PostgreSQL: {
        const QString server = source.server.isEmpty() ? QStringLiteral("the local server") : source.server;
        const QString port = source.port.isEmpty() ? QString() : QLatin1Char(':') + source.port;
        return QStringLiteral("PostgreSQL database %1 on %2%3").arg(source.database, server, port);
    }
    case Engine::Other:
        break;
    }
    return source.database.isEmpty() ? QStringLiteral("ODBC data source %1").arg(source.name)
                                     : QStringLiteral("database %1").arg(source.database);
}

} // namespace

std::optional<int> registerVersion()
{
    try {
        const std::optional<Query> row = db().first(QStringLiteral("SELECT version FROM parcelon_schema"));
        if (!row)
            return std::nullopt;
        bool ok = false;
        const int version = row->value(0).toInt(&ok);
        return ok ? std::optional<int>(version) : std::nullopt;
    } catch (const DbError &) {
        // No such table: not a register.
        return std::nullopt;
    }
}

void upgradeRegister()
{
    const std::optional<int> version = registerVersion();
    if (!version || *version >= kRegisterVersion)
        return;
    const Engine engine = db().dialect().engine;
    if (engine == Engine::Other)
        return; // an engine whose dialect is unknown here is changed by hand; registerProblem says so
    const QString ownerIndex = engine == Engine::SQLite
        ? QStringLiteral("CREATE INDEX ix_landowner_srno_text ON landowner (CAST(srno AS VARCHAR(20)), house_no)")
        : QStringLiteral("CREATE INDEX ix_landowner_srno_text ON landowner ((CAST(srno AS VARCHAR(20))), house_no) "
                         "INCLUDE (srno)");
    // Version 1 to 2; a later version adds its own step after this one.
    const QStringList toVersion2 = {QStringLiteral("ALTER TABLE land_report ADD COLUMN line_no INTEGER"),
        QStringLiteral("ALTER TABLE member_report ADD COLUMN line_no INTEGER"),
        QStringLiteral("DROP INDEX ix_landowner_srno_text"), ownerIndex};
    db().transaction([&] {
        if (db().execute(QStringLiteral("UPDATE parcelon_schema SET version = 2 WHERE version = 1")) != 1)
            return;
        for (const QString &statement : toVersion2)
            db().executeUnprepared(statement);
    });
}

QString describeDatabase() { return describe(db().dataSource()); }

QString registerProblem()
{
    const std::optional<int> version = registerVersion();
    if (version == kRegisterVersion)
        return {};
    if (!version)
        return QStringLiteral("The data source land does not lead to a Parcelon register: the %1 holds no "
                              "register (it has no table parcelon_schema).\n"
                              "Create a register with parcelon-setup, or point the data source land at the "
                              "office's register.")
            .arg(describeDatabase());
    return QStringLiteral("The register behind the data source land (the %1) has version %2; this Parcelon "
                          "reads version %3.\nUse the Parcelon that made this register.")
        .arg(describeDatabase())
        .arg(*version)
        .arg(kRegisterVersion);
}

QString connectionAdvice()
{
    const std::optional<DataSource> source = readDataSource(QStringLiteral("land"));
    if (!source)
        return QStringLiteral("There is no ODBC data source land (looked in %1 and %2/odbc.ini).\n"
                              "Create one: `make run` in Parcelon's source folder makes an SQLite register "
                              "for you, or run `parcelon-setup --sqlite FILE` (see parcelon-setup --help).")
            .arg(userOdbcIni(), qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc")));
    if (source->engine == Engine::SQLite && !QFileInfo(source->database).isFile())
        return QStringLiteral("The data source land names the SQLite file %1, which does not exist.\n"
                              "Create a register there with `parcelon-setup --sqlite %1`, or point the data "
                              "source land at the office's register.")
            .arg(source->database.isEmpty() ? QStringLiteral("\"\"") : source->database);
    return QStringLiteral("The data source land (the %1) could not be opened: check that the database "
                          "exists, that its server runs and that you may log in to it.")
        .arg(describe(*source));
}

} // namespace parcelon
