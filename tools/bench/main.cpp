// parcelon-bench: builds a synthetic register of office size and times, in one run, the screens' list
// fills against the way of filling the same list one query per line, and against the bare native fetch
// of the same rows. Claims about speed come from here. See compare.h for what is compared.

#include "base/datasource.h"
#include "base/dbsession.h"
#include "base/sqlscript.h"
#include "buildconfig.h"
#include "compare.h"
#include "register.h"
#include "timing.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

using namespace parcelon;

namespace {
QTextStream out(stdout);
QTextStream err(stderr);

void runSchema(QSqlDatabase database, const QString &engine)
{
    QFile file(QStringLiteral(PARCELON_SOURCE_DIR "/schema/%1.sql").arg(engine));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no schema");
    QSqlQuery query(database);
    for (const QString &statement : splitSqlScript(QString::fromUtf8(file.readAll())))
        if (!query.exec(statement))
            qFatal("%s", qPrintable(query.lastError().text()));
}

int positive(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    bool ok = false;
    const int n = parser.value(option).toInt(&ok);
    if (!ok || n < 1) {
        err << "parcelon-bench: --" << option.names().constFirst() << " needs a positive number, not \""
            << parser.value(option) << "\"" << Qt::endl;
        std::exit(2);
    }
    return n;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    // A private ODBC configuration: the bench never touches the user's data source.
    qputenv("ODBCINI", (dir.path() + QStringLiteral("/odbc.ini")).toLocal8Bit());
    bench::BenchApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PARCELON_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds a synthetic land register of office size and times each list fill of the screens against "
        "filling the same list one query per line and against the bare native fetch of the same rows; the "
        "two ways must give the same lines, otherwise the run fails.\n"
        "SQLite: the register is built in a temporary file (or the new file --sqlite-file names).\n"
        "PostgreSQL: the database parcelon_bench on the given server is DROPPED and created anew; "
        "everything in it is lost."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption backend(QStringLiteral("backend"),
        QStringLiteral(
            "sqlite or postgresql (default sqlite); postgresql drops and recreates the database parcelon_bench."),
        QStringLiteral("name"), QStringLiteral("sqlite"));
    const QCommandLineOption lands(QStringLiteral("lands"), QStringLiteral("Lands (default 100000)."),
        QStringLiteral("n"), QStringLiteral("100000"));
    const QCommandLineOption owners(QStringLiteral("owners"), QStringLiteral("Owners (default 60000)."),
        QStringLiteral("n"), QStringLiteral("60000"));
    const QCommandLineOption divisions(QStringLiteral("divisions"),
        QStringLiteral("GN divisions of 10 villages (default 300)."), QStringLiteral("n"), QStringLiteral("300"));
    const QCommandLineOption pgHost(QStringLiteral("pg-host"), QStringLiteral("PostgreSQL host (default 127.0.0.1)."),
        QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption pgPort(QStringLiteral("pg-port"), QStringLiteral("PostgreSQL port (default 5432)."),
        QStringLiteral("port"), QStringLiteral("5432"));
    const QCommandLineOption sqliteFile(QStringLiteral("sqlite-file"),
        QStringLiteral("SQLite: build the register in this new file and keep it (to read query plans)."),
        QStringLiteral("file"));
    const QCommandLineOption noPdf(QStringLiteral("no-pdf"),
        QStringLiteral("Skip printing the land report of every land through the preview (half a minute at office "
                       "size)."));
    const QCommandLineOption million(QStringLiteral("million"),
        QStringLiteral("A register of ten offices: 1,000,000 lands, 600,000 owners, 3,000 divisions (unless "
                       "given), timed without the per-line ways, which would take hours, and without the print."));
    const QCommandLineOption only(QStringLiteral("only"),
        QStringLiteral("Time only these parts, separated by commas: owners, register, search, reports, stores."),
        QStringLiteral("parts"));
    parser.addOptions({backend, lands, owners, divisions, pgHost, pgPort, sqliteFile, noPdf, million, only});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        err << "parcelon-bench: unexpected argument \"" << parser.positionalArguments().constFirst() << "\""
            << Qt::endl;
        return 2;
    }

    const QString engine = parser.value(backend);
    if (engine != QLatin1String("sqlite") && engine != QLatin1String("postgresql")) {
        err << "parcelon-bench: unknown backend \"" << engine << "\" (sqlite or postgresql)" << Qt::endl;
        return 2;
    }
    const bool postgres = engine == QLatin1String("postgresql");
    bench::Size size;
    size.million = parser.isSet(million);
    size.lands = parser.isSet(lands) || !size.million ? positive(parser, lands) : 1000000;
    size.owners = parser.isSet(owners) || !size.million ? positive(parser, owners) : 600000;
    size.divisions = parser.isSet(divisions) || !size.million ? positive(parser, divisions) : 3000;
    size.pdf = !parser.isSet(noPdf) && !size.million;
    if (parser.isSet(only))
        size.only = parser.value(only).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QString file = parser.isSet(sqliteFile) ? QFileInfo(parser.value(sqliteFile)).absoluteFilePath()
                                                  : dir.path() + QStringLiteral("/bench.db");
    if (!postgres && parser.isSet(sqliteFile) && QFileInfo::exists(file)) {
        err << "parcelon-bench: " << file << " exists; name a new file" << Qt::endl;
        return 2;
    }

    QElapsedTimer building;
    building.start();
    QList<std::pair<QString, QString>> dsn;
    {
        QSqlDatabase database;
        if (postgres) {
            {
                QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
                admin.setHostName(parser.value(pgHost));
                admin.setPort(parser.value(pgPort).toInt());
                admin.setDatabaseName(QStringLiteral("postgres"));
                if (!admin.open())
                    qFatal("%s", qPrintable(admin.lastError().text()));
                QSqlQuery q(admin);
                q.exec(QStringLiteral("DROP DATABASE IF EXISTS parcelon_bench"));
                if (!q.exec(QStringLiteral("CREATE DATABASE parcelon_bench ENCODING 'UTF8' TEMPLATE template0")))
                    qFatal("%s", qPrintable(q.lastError().text()));
            }
            QSqlDatabase::removeDatabase(QStringLiteral("admin"));
            database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("build"));
            database.setHostName(parser.value(pgHost));
            database.setPort(parser.value(pgPort).toInt());
            database.setDatabaseName(QStringLiteral("parcelon_bench"));
            dsn = {{QStringLiteral("Driver"), odbcDriverLibrary(QStringLiteral("psqlodbcw.so"))},
                {QStringLiteral("Servername"), parser.value(pgHost)}, {QStringLiteral("Port"), parser.value(pgPort)},
                {QStringLiteral("Database"), QStringLiteral("parcelon_bench")}};
        } else {
            database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("build"));
            database.setDatabaseName(file);
            dsn = {{QStringLiteral("Driver"), odbcDriverLibrary(QStringLiteral("libsqlite3odbc.so"))},
                {QStringLiteral("Database"), file}};
        }
        if (!database.open())
            qFatal("%s", qPrintable(database.lastError().text()));
        runSchema(database, engine);
        bench::fillRegister(database, size);
        if (engine == QLatin1String("postgresql")) {
            // The register was written with its numbers given; the identities go on after the highest, as
            // a register the screens filled would, so the screens' own saves get new numbers.
            for (const char *table : {"land", "landowner", "hathara_maym", "land_pera", "land_pewarima", "pasuhimikam",
                     "nadayo", "user_loging", "awasara"}) {
                QSqlQuery(database).exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'srno'), "
                                                        "COALESCE((SELECT MAX(srno) FROM %1), 0) + 1, false)")
                                             .arg(QLatin1String(table)));
            }
        }
        // Planner statistics, as the office's set-up leaves them on either engine. PostgreSQL's autovacuum
        // also marks the pages of a register written this way all-visible within a minute, which lets index
        // searches answer from the index alone; the bench does that at once.
        QSqlQuery(database).exec(
            engine == QLatin1String("postgresql") ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("ANALYZE"));
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("build"));
    writeDataSource(QStringLiteral("land"), dsn);
    if (!db().connect_db())
        qFatal("cannot open the data source land");
    out << QStringLiteral("Register: %1 lands, %2 owners, %3 divisions of %4 villages on %5, built in %6 s")
               .arg(size.lands)
               .arg(size.owners)
               .arg(size.divisions)
               .arg(size.villagesPerDivision)
               .arg(engine)
               .arg(building.elapsed() / 1000.0, 0, 'f', 1)
        << Qt::endl;

    const bool same = bench::compareLists(size);
    const bool stores = size.only.isEmpty() || size.only.contains(QLatin1String("stores"));
    if (stores) {
        bench::transferAndDivision(size);
        bench::lifecycleStores();
    }
    const bool backedUp = !stores || bench::backupRegister();
    db().close();
    if (!backedUp) {
        err << "parcelon-bench: FAILED: the backup of the register failed" << Qt::endl;
        return 1;
    }
    if (!same) {
        err << "parcelon-bench: FAILED: the screen and the per-line way gave different lines" << Qt::endl;
        return 1;
    }
    const QStringList beyond = bench::overBounds();
    out << Qt::endl
        << QStringLiteral("Bounds: first screenful %1 ms after an opening, %2 ms after a key or a pick; stall %3 ms; "
                          "whole list %4x its native fetch; print %5 pages a second in %6 MB")
               .arg(bench::kFirstPaintMs)
               .arg(bench::kKeyMs)
               .arg(bench::kStallMs)
               .arg(bench::kWholeRatio)
               .arg(bench::kPagesPerSecond)
               .arg(bench::kPrintPeakMb)
        << Qt::endl;
    if (beyond.isEmpty())
        out << "Every figure within its bound." << Qt::endl;
    else
        out << beyond.size() << " figure(s) over their bound:" << Qt::endl
            << "  " << beyond.join(QStringLiteral("\n  ")) << Qt::endl;
    return 0;
}
