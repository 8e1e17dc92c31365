#include "base/registercheck.h"

#include "base/dbsession.h"
#include "base/extent.h"
#include "base/passwords.h"

#include <QFileInfo>

#include <functional>
#include <type_traits>

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

// Version 2 to 3. A transfer changed a land's acres, roods and perches but left its decimal acres as
// they were; every land whose history shows a transfer gets them from its extent again, by the same
// formula the screens use. Lands never transferred keep what was typed.
void mendTransferredAcres()
{
    // The transfer's caption, as the transfer screen writes it into land_behera_wargaya.
    const QString transfer = QStringLiteral("bvï mejßu");
    // Read whole before the first update: the rows are not streamed while the updates run.
    Query lands = db().select(QStringLiteral("SELECT l.srno, l.akkara1, l.akkara, l.rut, l.parchase, l.akkara_only "
                                             "FROM land l WHERE EXISTS (SELECT 1 FROM land_pewarima p "
                                             "WHERE p.land_srno = CAST(l.srno AS VARCHAR(20)) "
                                             "AND p.land_behera_wargaya = ?) ORDER BY l.srno"),
        {transfer});
    while (lands.next()) {
        const QString acres = decimalAcres(lands.value(1), lands.value(2), lands.value(3), lands.value(4));
        if (acres == lands.value(5))
            continue; // already right (a NULL reads as "", which no formula gives)
        db().execute(
            QStringLiteral("UPDATE land SET akkara_only = ? WHERE srno = ?"), {acres, lands.value(0).toLongLong()});
    }
}

// Version 3 to 4. Passwords were kept as typed; each of the two columns gets a salted hash of what it
// held. A value that is a hash already (an account set anew meanwhile) or NULL stays as it is.
void hashStoredPasswords() { hashPlainPasswords(); }

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
    const QStringList toVersion2 = {QStringLiteral("ALTER TABLE land_report ADD COLUMN line_no INTEGER"),
        QStringLiteral("ALTER TABLE member_report ADD COLUMN line_no INTEGER"),
        QStringLiteral("DROP INDEX ix_landowner_srno_text"), ownerIndex};
    // The ladder: the step at index i brings version i + 1 to i + 2. A later version adds its step here.
    const std::function<void()> steps[] = {
        [&] {
            for (const QString &statement : toVersion2)
                db().executeUnprepared(statement);
        },
        mendTransferredAcres,
        hashStoredPasswords,
    };
    static_assert(std::extent_v<decltype(steps)> == kRegisterVersion - 1);
    db().transaction([&] {
        for (int from = 1; from < kRegisterVersion; ++from) {
            // The step is claimed first; a register already past it (another workstation's work) skips it.
            if (db().execute(
                    QStringLiteral("UPDATE parcelon_schema SET version = ? WHERE version = ?"), {from + 1, from})
                == 1)
                steps[from - 1]();
        }
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
