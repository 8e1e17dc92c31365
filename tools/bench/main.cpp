// parcelon-bench: builds a synthetic register of office size and times, in one run, the screens' list
// fills against the way of filling the same list one query per line. Claims about speed come from here.
//
//   parcelon-bench [--backend sqlite|postgresql] [--lands N] [--owners N] [--divisions N]
//                  [--pg-host H] [--pg-port P]
//
// PostgreSQL: the database parcelon_bench on the given server is dropped and made anew.

#include "base/datasource.h"
#include "base/dbsession.h"
#include "base/sqlscript.h"
#include "buildconfig.h"
#include "register.h"
#include "registry/frmgamase_wasam.h"
#include "registry/frmlandoner.h"
#include "ui/listview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

using namespace parcelon;

namespace {
QTextStream out(stdout);

double medianMs(const std::function<void()> &work, int runs = 3)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const QString &what, double screen, double perLine)
{
    out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms   per line %2 ms   ratio %3")
               .arg(screen, 9, 'f', 1)
               .arg(perLine, 9, 'f', 1)
               .arg(perLine / std::max(screen, 0.001), 6, 'f', 1)
        << Qt::endl;
}

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
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    // A private ODBC configuration: the bench never touches the user's data source.
    qputenv("ODBCINI", (dir.path() + QStringLiteral("/odbc.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PARCELON_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds a synthetic register of office size and times the list fills."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption backend(QStringLiteral("backend"), QStringLiteral("sqlite or postgresql"),
        QStringLiteral("name"), QStringLiteral("sqlite"));
    const QCommandLineOption lands(
        QStringLiteral("lands"), QStringLiteral("lands"), QStringLiteral("n"), QStringLiteral("100000"));
    const QCommandLineOption owners(
        QStringLiteral("owners"), QStringLiteral("owners"), QStringLiteral("n"), QStringLiteral("60000"));
    const QCommandLineOption divisions(
        QStringLiteral("divisions"), QStringLiteral("divisions"), QStringLiteral("n"), QStringLiteral("300"));
    const QCommandLineOption pgHost(QStringLiteral("pg-host"), QStringLiteral("PostgreSQL host"),
        QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption pgPort(
        QStringLiteral("pg-port"), QStringLiteral("PostgreSQL port"), QStringLiteral("port"), QStringLiteral("5432"));
    parser.addOptions({backend, lands, owners, divisions, pgHost, pgPort});
    parser.process(app);

    bench::Size size;
    size.lands = parser.value(lands).toInt();
    size.owners = parser.value(owners).toInt();
    size.divisions = parser.value(divisions).toInt();
    const bool postgres = parser.value(backend) == QLatin1String("postgresql");

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
            const QString file = dir.path() + QStringLiteral("/bench.db");
            database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("build"));
            database.setDatabaseName(file);
            dsn = {{QStringLiteral("Driver"), odbcDriverLibrary(QStringLiteral("libsqlite3odbc.so"))},
                {QStringLiteral("Database"), file}};
        }
        if (!database.open())
            qFatal("%s", qPrintable(database.lastError().text()));
        runSchema(database, postgres ? QStringLiteral("postgresql") : QStringLiteral("sqlite"));
        bench::fillRegister(database, size);
        if (postgres)
            QSqlQuery(database).exec(QStringLiteral("ANALYZE"));
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
               .arg(parser.value(backend))
               .arg(building.elapsed() / 1000.0, 0, 'f', 1)
        << Qt::endl;

    // Division list: one grouped query against walking every village row.
    {
        frmgamase_wasam screen;
        const double fill = medianMs([&] { screen.lv_add(); });
        const double walk = medianMs([] {
            ListView list;
            Query rows = db().select(QStringLiteral("SELECT * FROM gamasewa_wasama ORDER BY srno"));
            QString last;
            while (rows.next()) {
                if (rows.value(QStringLiteral("srno")) != last) {
                    last = rows.value(QStringLiteral("srno"));
                    list.addItem({last, rows.value(QStringLiteral("gama_wasama"))});
                }
            }
        });
        report(QStringLiteral("division list"), fill, walk);
        const double next = medianMs([&] { screen.lastno(); });
        const double nextWalk = medianMs([] {
            Query rows = db().select(QStringLiteral("SELECT * FROM gamasewa_wasama ORDER BY gama_wasama"));
            QString last;
            int count = 0;
            while (rows.next()) {
                if (rows.value(QStringLiteral("gama_wasama")) != last) {
                    last = rows.value(QStringLiteral("gama_wasama"));
                    ++count;
                }
            }
            Q_UNUSED(count);
        });
        report(QStringLiteral("next division number"), next, nextWalk);
    }

    // Household land lists of 500 households: one join each against the owner, then each land by number.
    {
        QRandomGenerator random(7);
        QStringList households;
        for (int i = 0; i < 500; ++i)
            households << QString::number(1 + random.bounded(size.owners / 3));
        frmlandoner screen;
        const double fill = medianMs(
            [&] {
                for (const QString &household : households) {
                    screen.txtguhano->setText(household);
                    screen.lvland();
                }
            },
            1);
        const double perLine = medianMs(
            [&] {
                for (const QString &household : households) {
                    ListView list;
                    std::optional<Query> owner
                        = db().first(QStringLiteral("SELECT * FROM landowner WHERE house_no = ?"), {household});
                    if (!owner)
                        continue;
                    Query lands = db().select(QStringLiteral("SELECT srno FROM land WHERE guhasth = ?"),
                        {owner->value(QStringLiteral("house_no"))});
                    std::vector<QString> numbers;
                    while (lands.next())
                        numbers.push_back(lands.value(0));
                    for (const QString &number : numbers) {
                        std::optional<Query> land
                            = db().first(QStringLiteral("SELECT * FROM land WHERE srno = ?"), {number});
                        list.addItem({owner->value(QStringLiteral("id")).left(9), household,
                            owner->value(QStringLiteral("land_owner_name")),
                            land->value(QStringLiteral("balapa_no1")) + QStringLiteral("  ")
                                + land->value(QStringLiteral("balapa_no")),
                            land->value(QStringLiteral("loan_sbawaya")), land->value(QStringLiteral("pewarima"))});
                    }
                }
            },
            1);
        report(QStringLiteral("household land lists (500 households)"), fill, perLine);
    }
    db().close();
    return 0;
}
