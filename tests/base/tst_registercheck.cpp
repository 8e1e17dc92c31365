// The check that the database behind `land` is a Parcelon register of the version this program reads,
// on every backend: a fresh register passes; a database without the version table, with an empty one
// or with a newer version is refused with a message naming the data source and its database; the
// session stays usable after the probe.

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
        QTest::newRow("a newer register") << "UPDATE parcelon_schema SET version = 2"
                                          << "has version 2; this Parcelon reads version 1";
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
