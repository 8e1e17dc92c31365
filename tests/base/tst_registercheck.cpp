// The check that the database behind `land` is a Parcelon register of the version this program reads,
// on every backend: a fresh register passes; a database without the version table, with an empty one
// or with a newer version is refused with a message naming the data source and its database; the
// session stays usable after the probe. A register of the previous version is brought up to this one
// whole, or not at all.

#include "base/dbsession.h"
#include "base/registercheck.h"
#include "support/fixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace parcelon;

class tst_registercheck : public QObject
{
    Q_OBJECT

    static void run(const QString &sql)
    {
        // Schema changes run unprepared: the native PostgreSQL driver prepares only queries and row changes.
        QSqlQuery query(db().database());
        QVERIFY2(query.exec(sql), qPrintable(query.lastError().text() + QStringLiteral(": ") + sql));
    }

    // A register made by the previous version, as it was: the scratch tables without their line numbers
    // and the owner index on the number alone.
    static void makeVersion1()
    {
        const bool sqlite = test::backend() != test::Backend::PostgreSQL;
        run(QStringLiteral("ALTER TABLE land_report DROP COLUMN line_no"));
        run(QStringLiteral("ALTER TABLE member_report DROP COLUMN line_no"));
        run(QStringLiteral("DROP INDEX ix_landowner_srno_text"));
        run(sqlite ? QStringLiteral("CREATE INDEX ix_landowner_srno_text ON landowner (CAST(srno AS VARCHAR(20)))")
                   : QStringLiteral("CREATE INDEX ix_landowner_srno_text ON landowner ((CAST(srno AS VARCHAR(20))))"));
        run(QStringLiteral("UPDATE parcelon_schema SET version = 1"));
    }

    static bool hasLineNumbers(const QString &table)
    {
        return QSqlQuery(db().database()).exec(QStringLiteral("SELECT line_no FROM %1").arg(table));
    }

    // Whether the owner index carries the house number.
    static bool ownerIndexHasHouse()
    {
        return (test::backend() != test::Backend::PostgreSQL
                ? test::value(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'ix_landowner_srno_text'"))
                : test::value(QStringLiteral("SELECT pg_get_indexdef('ix_landowner_srno_text'::regclass)")))
            .contains(QLatin1String("house_no"));
    }

private slots:
    void init() { test::openDatabase(); }
    void cleanup() { test::destroyDatabase(); }

    void freshRegisterIsAccepted()
    {
        QCOMPARE(registerVersion(), std::optional<int>(kRegisterVersion));
        QCOMPARE(registerProblem(), QString());
    }

    void refused_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("said");
        QTest::newRow("no version table") << "DROP TABLE parcelon_schema"
                                          << "holds no register";
        QTest::newRow("version table without its row") << "DELETE FROM parcelon_schema"
                                                       << "holds no register";
        QTest::newRow("a newer register") << "UPDATE parcelon_schema SET version = 3"
                                          << "has version 3; this Parcelon reads version 2";
    }
    void refused()
    {
        QFETCH(QString, change);
        QFETCH(QString, said);
        run(change);
        const QString problem = registerProblem();
        QVERIFY2(problem.contains(said), qPrintable(problem));
        QVERIFY2(problem.contains(QLatin1String("data source land")), qPrintable(problem));
        const QString database = db().dataSource().database;
        QVERIFY(!database.isEmpty());
        QVERIFY2(problem.contains(database), qPrintable(problem));
        QCOMPARE(describeDatabase().contains(database), true);
    }

    void version1RegisterIsUpgraded()
    {
        makeVersion1();
        QVERIFY(registerProblem().contains(QLatin1String("has version 1")));
        upgradeRegister();
        QCOMPARE(registerVersion(), std::optional<int>(2));
        QCOMPARE(registerProblem(), QString());
        QVERIFY(hasLineNumbers(QStringLiteral("land_report")));
        QVERIFY(hasLineNumbers(QStringLiteral("member_report")));
        QVERIFY(ownerIndexHasHouse());
        // A second workstation starting later finds nothing to do.
        upgradeRegister();
        QCOMPARE(registerVersion(), std::optional<int>(2));
    }

    void failedUpgradeKeepsVersion1Whole()
    {
        makeVersion1();
        // The second step cannot be made: the whole change is undone.
        run(QStringLiteral("ALTER TABLE member_report ADD COLUMN line_no INTEGER"));
        QVERIFY_THROWS_EXCEPTION(DbError, upgradeRegister());
        QCOMPARE(registerVersion(), std::optional<int>(1));
        QVERIFY(!hasLineNumbers(QStringLiteral("land_report")));
        QVERIFY(!ownerIndexHasHouse());
    }

    void sessionStaysUsableAfterTheProbe()
    {
        run(QStringLiteral("DROP TABLE parcelon_schema"));
        QCOMPARE(registerVersion(), std::nullopt);
        // The failed probe left no aborted transaction or pending statement behind.
        db().transaction([] {
            db().execute(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {QStringLiteral("mq;d")});
        });
        QCOMPARE(test::count(QStringLiteral("nadayo")), 1);
    }
};

QTEST_MAIN(tst_registercheck)
#include "tst_registercheck.moc"
