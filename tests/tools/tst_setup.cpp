// parcelon-setup against the backends: the two schema files describe the same register, a forgotten
// password is set on the register behind `land`, and a PostgreSQL register is loaded whole or not at all.

#include "base/passwords.h"
#include "base/registercheck.h"
#include "base/sqlscript.h"
#include "run.h"
#include "support/fixture.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace parcelon;

namespace {
// Tables or views of a database, lower case, without the engine's own.
QStringList relations(const QSqlDatabase &database, QSql::TableType type)
{
    QStringList names;
    for (const QString &name : database.tables(type)) {
        if (!name.startsWith(QLatin1String("sqlite_")))
            names << name.toLower();
    }
    names.sort();
    return names;
}

QStringList columns(const QSqlDatabase &database, const QString &relation)
{
    QStringList names;
    const QSqlRecord record = database.record(relation);
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i).toLower();
    return names;
}

QSqlDatabase pgConnection(const QString &name, const QString &database)
{
    QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    connection.setHostName(qEnvironmentVariable("PARCELON_PG_HOST", QStringLiteral("127.0.0.1")));
    connection.setPort(qEnvironmentVariable("PARCELON_PG_PORT", QStringLiteral("5432")).toInt());
    connection.setDatabaseName(database);
    return connection;
}
} // namespace

class tst_setup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { test::destroyDatabase(); }

    // What a restore checks, where it keeps the register it replaces and how to go back are told before
    // anyone restores; asking does not restore a file named "--help".
    void restoreHelpTellsWhatIsCheckedAndKept()
    {
        const test::Finished run
            = test::runProgram(QStringLiteral(PARCELON_SETUP), {QStringLiteral("--restore"), QStringLiteral("--help")});
        QVERIFY2(run.code == 0, qPrintable(run.describe()));
        const QString help = run.out.simplified();
        for (const char *said : {"integrity check", "schema version", ".before-restore-<date>-<time>",
                 "_before_restore_<date>_<time>", "one rename", "To go back"})
            QVERIFY2(help.contains(QLatin1String(said)), said);
    }

    void schemaFilesDescribeTheSameRegister()
    {
        if (test::backend() != test::Backend::PostgreSQL)
            QSKIP("compared on the PostgreSQL run, which has both engines at hand");
        test::openDatabase();
        const QSqlDatabase postgres = db().database();

        QTemporaryDir dir;
        const QString name = QStringLiteral("sqlite-schema");
        {
            QSqlDatabase sqlite = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            sqlite.setDatabaseName(dir.filePath(QStringLiteral("land.db")));
            QVERIFY(sqlite.open());
            QFile script(QStringLiteral(PARCELON_SOURCE_DIR "/schema/sqlite.sql"));
            QVERIFY(script.open(QIODevice::ReadOnly));
            QSqlQuery query(sqlite);
            for (const QString &statement : splitSqlScript(QString::fromUtf8(script.readAll())))
                QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));

            QStringList differences;
            for (const QSql::TableType type : {QSql::Tables, QSql::Views}) {
                const QStringList names = relations(sqlite, type);
                QCOMPARE(names, relations(postgres, type));
                for (const QString &relation : names) {
                    const QStringList onSqlite = columns(sqlite, relation);
                    const QStringList onPostgres = columns(postgres, relation);
                    if (onSqlite != onPostgres || onSqlite.isEmpty())
                        differences << QStringLiteral("%1: sqlite (%2) postgresql (%3)")
                                           .arg(relation, onSqlite.join(QLatin1Char(',')),
                                               onPostgres.join(QLatin1Char(',')));
                }
            }
            QVERIFY2(differences.isEmpty(), qPrintable(differences.join(QLatin1Char('\n'))));
            query.clear();
            sqlite.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    void setPassword_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("option"); // --password
        QTest::addColumn<QString>("environment"); // PARCELON_CHIEF_PASSWORD
        QTest::addColumn<QString>("change"); // made to the register first
        QTest::addColumn<QString>("said"); // on stdout when it worked, else on stderr
        QTest::addColumn<QString>("stored"); // Chief's password afterwards; "?" the one printed
        QTest::newRow("given on the command line") << "Chief"
                                                   << "N3w pass'"
                                                   << "Env-pass"
                                                   << ""
                                                   << "Password of Chief set."
                                                   << "N3w pass'";
        QTest::newRow("from the environment") << "Chief"
                                              << ""
                                              << "Env-pass"
                                              << ""
                                              << "Password of Chief set."
                                              << "Env-pass";
        QTest::newRow("generated and printed") << "Chief"
                                               << ""
                                               << ""
                                               << ""
                                               << "New password of Chief (shown this once): "
                                               << "?";
        QTest::newRow("name in another letter case, as the login takes it") << "chief"
                                                                            << "lower"
                                                                            << ""
                                                                            << ""
                                                                            << "Password of chief set."
                                                                            << "lower";
        QTest::newRow("unknown user refused") << "Nobody"
                                              << "x"
                                              << ""
                                              << ""
                                              << "has no account named Nobody"
                                              << "Old-pass1";
        QTest::newRow("no register behind land") << "Chief"
                                                 << "x"
                                                 << ""
                                                 << "DELETE FROM parcelon_schema"
                                                 << "does not lead to a Parcelon register"
                                                 << "Old-pass1";
    }
    void setPassword()
    {
        QFETCH(QString, user);
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QString, change);
        QFETCH(QString, said);
        QFETCH(QString, stored);

        test::openDatabase();
        test::addUser(QStringLiteral("Chief"), QStringLiteral("Old-pass1"), {QStringLiteral("4 - ish¨ wjir")});
        test::addUser(QStringLiteral("All User"), QString(), {QStringLiteral("2 - ne,su muKhs")});
        if (!change.isEmpty())
            test::exec(change);
        db().close();

        // The program finds the register as the application does: through the data source land, here
        // the test's own odbc.ini, which the environment names.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("PARCELON_CHIEF_PASSWORD"));
        if (!environment.isEmpty())
            env.insert(QStringLiteral("PARCELON_CHIEF_PASSWORD"), environment);
        QStringList arguments = {QStringLiteral("--set-password"), user};
        if (!option.isEmpty())
            arguments << QStringLiteral("--password") << option;
        const test::Finished run = test::runProgram(QStringLiteral(PARCELON_SETUP), arguments, env);
        const bool refused = stored == QLatin1String("Old-pass1");
        QVERIFY2(run.status == QProcess::NormalExit && run.code == (refused ? 1 : 0), qPrintable(run.describe()));
        QVERIFY2((refused ? run.err : run.out).contains(said), qPrintable(run.describe()));
        if (stored == QLatin1String("?")) {
            stored = run.out.trimmed().section(QStringLiteral(": "), -1);
            QCOMPARE(stored.size(), 12);
        }

        QVERIFY(db().connect_db());
        const QString where = QStringLiteral("username = 'Chief'");
        // Both columns hold a hash of the password, never the password itself.
        for (const char *column : {"password1", "password2"}) {
            const QString hash
                = test::value(QStringLiteral("SELECT %1 FROM user_loging WHERE ").arg(QLatin1String(column)) + where);
            QVERIFY2(passwordMatches(hash, stored), qPrintable(hash));
            QVERIFY(!hash.contains(stored));
        }
        QVERIFY(passwordMatches(
            test::value(QStringLiteral("SELECT password1 FROM user_loging WHERE username = 'All User'")), QString()));
    }

    void postgresqlRegisterIsLoadedWholeOrNotAtAll()
    {
        if (test::backend() != test::Backend::PostgreSQL)
            QSKIP("a PostgreSQL set-up");
        const QString name = QStringLiteral("t_setup_%1").arg(getpid());
        QSqlDatabase admin = pgConnection(QStringLiteral("setup-admin"), QStringLiteral("postgres"));
        QVERIFY2(admin.open(), qPrintable(admin.lastError().text()));
        QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
        QVERIFY(QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' "
                                                     "LC_CTYPE 'C.UTF-8' TEMPLATE template0")
                                          .arg(name)));
        const auto tablesOf = [&] {
            QStringList names;
            {
                QSqlDatabase target = pgConnection(QStringLiteral("setup-target"), name);
                if (target.open())
                    names = relations(target, QSql::Tables);
                target.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("setup-target"));
            return names;
        };
        const auto load = [&] {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("PARCELON_CHIEF_PASSWORD"), QStringLiteral("Secret1"));
            return test::runProgram(QStringLiteral(PARCELON_SETUP),
                {QStringLiteral("--postgresql"), QStringLiteral("--host"),
                    qEnvironmentVariable("PARCELON_PG_HOST", QStringLiteral("127.0.0.1")), QStringLiteral("--port"),
                    qEnvironmentVariable("PARCELON_PG_PORT"), QStringLiteral("--database"), name,
                    QStringLiteral("--demo"), QStringLiteral("--no-dsn")},
                env);
        };

        // A table of another program in the way: the load fails half-way and nothing of it stays.
        {
            QSqlDatabase target = pgConnection(QStringLiteral("setup-target"), name);
            QVERIFY(target.open());
            QVERIFY(QSqlQuery(target).exec(QStringLiteral("CREATE TABLE nadayo (other INTEGER)")));
            target.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup-target"));
        test::Finished run = load();
        QVERIFY2(run.code == 1 && run.err.contains(QLatin1String("left as it was")), qPrintable(run.describe()));
        QCOMPARE(tablesOf(), QStringList {QStringLiteral("nadayo")});

        {
            QSqlDatabase target = pgConnection(QStringLiteral("setup-target"), name);
            QVERIFY(target.open());
            QVERIFY(QSqlQuery(target).exec(QStringLiteral("DROP TABLE nadayo")));
            target.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup-target"));
        run = load();
        QVERIFY2(run.code == 0, qPrintable(run.describe()));
        QVERIFY(tablesOf().contains(QStringLiteral("parcelon_schema")));
        run = load();
        QVERIFY2(
            run.code == 1 && run.err.contains(QLatin1String("holds a register already")), qPrintable(run.describe()));

        QVERIFY(QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE ") + name));
        admin.close();
        admin = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("setup-admin"));
    }
};

QTEST_MAIN(tst_setup)
#include "tst_setup.moc"
