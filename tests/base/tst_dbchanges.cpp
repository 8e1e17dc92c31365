// Changes made of several statements, on every backend and with a second workstation: nested changes
// join the outer one, and locked changes (check, number, write) wait for each other, so two
// workstations never hand out the same number.

#include "base/dbsession.h"
#include "support/fixture.h"
#include "support/workstation.h"

#include <QDeadlineTimer>
#include <QTest>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace parcelon;
using namespace parcelon::test;
using namespace std::chrono_literals;

namespace {

// The numbered change the screens make: the next number read and used inside the locked change.
QString addNumberedOwner(DbSession &session)
{
    QString number;
    session.lockedChange([&] {
        number = session.recordNumber(QStringLiteral("landowner"));
        session.execute(QStringLiteral("INSERT INTO landowner (land_owner_name) VALUES (?)"), {number});
    });
    return number;
}

} // namespace

class tst_dbchanges : public QObject
{
    Q_OBJECT
private slots:
    void init() { test::openDatabase(); }
    void cleanup()
    {
        test::destroyDatabase();
        QCOMPARE(test::closeAllWindows(), QStringList());
    }

    void nestedChangeJoinsTheOuter_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("thrown");
        QTest::addColumn<int>("stored");
        QTest::newRow("both complete") << QString() << QString() << 2;
        QTest::newRow("outer fails after the inner completed")
            << QStringLiteral("outer") << QStringLiteral("outer") << 0;
        QTest::newRow("inner fails, outer carries on") << QStringLiteral("inner") << QStringLiteral("database") << 0;
    }
    void nestedChangeJoinsTheOuter()
    {
        QFETCH(QString, failure);
        QFETCH(QString, thrown);
        QFETCH(int, stored);
        DbSession other(QStringLiteral("other"));
        QVERIFY(other.connect_db());
        const QString countLands = QStringLiteral("SELECT COUNT(*) FROM land");
        QString seenMeanwhile;
        QString caught;
        try {
            db().transaction([&] {
                test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('A1')"));
                try {
                    db().transaction([&] {
                        test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('A2')"));
                        if (failure == QLatin1String("inner"))
                            throw std::runtime_error("inner");
                    });
                } catch (const std::runtime_error &e) {
                    if (e.what() != std::string("inner"))
                        throw;
                }
                // Nothing is committed before the outermost change ends.
                seenMeanwhile = other.scalar(countLands);
                if (failure == QLatin1String("outer"))
                    throw std::runtime_error("outer");
            });
        } catch (const DbError &) {
            caught = QStringLiteral("database");
        } catch (const std::runtime_error &e) {
            caught = QString::fromLatin1(e.what());
        }
        QCOMPARE(caught, thrown);
        QCOMPARE(seenMeanwhile, QStringLiteral("0"));
        QCOMPARE(test::count(QStringLiteral("land")), stored);
        QCOMPARE(other.scalar(countLands).toInt(), stored);
        // The session carries on.
        db().transaction([] { test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('B')")); });
        QCOMPARE(other.scalar(countLands).toInt(), stored + 1);
    }

    void lockedChangeNesting_data()
    {
        QTest::addColumn<QString>("outer");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("locked inside locked") << QStringLiteral("locked") << QStringLiteral("locked") << true;
        QTest::newRow("plain inside locked") << QStringLiteral("locked") << QStringLiteral("plain") << true;
        QTest::newRow("locked inside plain") << QStringLiteral("plain") << QStringLiteral("locked") << false;
    }
    void lockedChangeNesting()
    {
        QFETCH(QString, outer);
        QFETCH(QString, inner);
        QFETCH(bool, accepted);
        const auto change = [](const QString &kind, const auto &work) {
            if (kind == QLatin1String("locked"))
                db().lockedChange(work);
            else
                db().transaction(work);
        };
        bool refused = false;
        try {
            change(outer, [&] {
                test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('A1')"));
                change(inner, [] { test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('A2')")); });
            });
        } catch (const DbError &) {
            refused = true;
        }
        QCOMPARE(refused, !accepted);
        QCOMPARE(test::count(QStringLiteral("land")), accepted ? 2 : 0);
        QCOMPARE(addNumberedOwner(db()), QStringLiteral("1"));
    }

    void lockedChangeWaitsForAnotherWorkstation()
    {
        Signal otherLocked;
        Signal insideHere;
        Signal otherDone;
        Signal otherCommitted;
        QString otherNumber;
        QString otherError;
        QString number;
        bool otherWasDone = false;
        {
            std::jthread other = otherWorkstation(otherError, [&](DbSession &session) {
                session.lockedChange([&] {
                    otherLocked.raise();
                    waitForRival(session, insideHere);
                    otherNumber = session.recordNumber(QStringLiteral("landowner"));
                    session.execute(
                        QStringLiteral("INSERT INTO landowner (land_owner_name) VALUES (?)"), {otherNumber});
                    otherDone.raise();
                });
                otherCommitted.raise();
            });
            QVERIFY(otherLocked.wait(30s));
            try {
                db().lockedChange([&] {
                    // The other work ended before this one began: its commit released the lock.
                    otherWasDone = otherDone.isRaised();
                    number = db().recordNumber(QStringLiteral("landowner"));
                    insideHere.raise();
                    otherCommitted.wait(10s);
                    db().execute(QStringLiteral("INSERT INTO landowner (land_owner_name) VALUES (?)"), {number});
                });
            } catch (const DbError &) {
                insideHere.raise();
                throw;
            }
        }
        QCOMPARE(otherError, QString());
        QVERIFY(otherWasDone);
        QCOMPARE(otherNumber, QStringLiteral("1"));
        QCOMPARE(number, QStringLiteral("2"));
        QCOMPARE(
            test::value(QStringLiteral("SELECT COUNT(DISTINCT land_owner_name) FROM landowner")), QStringLiteral("2"));
    }

    void lockedChangesNeverDuplicateNumbers()
    {
        constexpr int perWorkstation = 12;
        QString otherError;
        {
            Signal ready;
            std::jthread other = otherWorkstation(otherError, [&](DbSession &session) {
                ready.raise();
                for (int i = 0; i < perWorkstation; ++i)
                    addNumberedOwner(session);
            });
            QVERIFY(ready.wait(30s));
            for (int i = 0; i < perWorkstation; ++i)
                addNumberedOwner(db());
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(test::count(QStringLiteral("landowner")), 2 * perWorkstation);
        QCOMPARE(test::value(QStringLiteral("SELECT COUNT(DISTINCT land_owner_name) FROM landowner")).toInt(),
            2 * perWorkstation);
        // Every number handed out is the srno its row received.
        QCOMPARE(
            test::count(QStringLiteral("landowner"), QStringLiteral("CAST(srno AS VARCHAR(20)) = land_owner_name")),
            2 * perWorkstation);
    }
};

QTEST_MAIN(tst_dbchanges)
#include "tst_dbchanges.moc"
