// The database session on every backend: opening the data source, numbering, bound values and keys,
// reading results, searches, history rows and changes made of several statements.

#include "base/dbsession.h"
#include "support/fixture.h"

#include <QApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace parcelon;

class tst_dbsession : public QObject
{
    Q_OBJECT
private slots:
    void init() { test::openDatabase(); }
    void cleanup()
    {
        test::destroyDatabase();
        QCOMPARE(test::closeAllWindows(), QStringList());
    }

    void secondConnectLeavesSessionUsable()
    {
        QVERIFY(db().isOpen());
        QVERIFY(!db().connect_db());
        QVERIFY(db().isOpen());
        QCOMPARE(test::count(QStringLiteral("land")), 0);
    }

    void missingDataSourceFailsSilently()
    {
        test::destroyDatabase();
        test::removeDataSource();
        QVERIFY(!db().connect_db());
        QVERIFY(!db().isOpen());
        QCOMPARE(test::closeAllWindows(), QStringList());
        test::createDatabase(); // for cleanup
    }

    void missingRegisterFileIsNotCreated()
    {
        if (test::backend() == test::Backend::PostgreSQL)
            QSKIP("a file register only");
        db().close();
        const QString path = readDataSource(QStringLiteral("land"))->database;
        QVERIFY(QFile::remove(path));
        QVERIFY(!db().connect_db());
        QVERIFY(!QFile::exists(path));
    }

    // Short queries are never compiled to machine code first: that cost more than the query itself.
    void postgresSessionRunsWithoutJit()
    {
        if (test::backend() != test::Backend::PostgreSQL)
            QSKIP("a PostgreSQL setting");
        QCOMPARE(test::value(QStringLiteral("SELECT current_setting('jit')")), QStringLiteral("off"));
    }

    void recordNumber()
    {
        QCOMPARE(db().recordNumber(QStringLiteral("landowner")), QStringLiteral("1"));
        for (int i = 0; i < 41; ++i)
            test::exec(QStringLiteral("INSERT INTO landowner (land_owner_name) VALUES (?)"), {QString::number(i)});
        QCOMPARE(db().recordNumber(QStringLiteral("landowner")), QStringLiteral("42"));
        test::exec(QStringLiteral("DELETE FROM landowner WHERE srno < ?"), {QStringLiteral("41")});
        QCOMPARE(db().recordNumber(QStringLiteral("landowner")), QStringLiteral("42"));
        test::exec(QStringLiteral("DELETE FROM landowner"));
        QCOMPARE(db().recordNumber(QStringLiteral("landowner")), QStringLiteral("1"));
        // The database keeps counting; the real number of a new row is read back.
        const qlonglong srno = db().insert(QStringLiteral("landowner"),
            QStringLiteral("INSERT INTO landowner (land_owner_name) VALUES (?)"), {QStringLiteral("x")});
        QVERIFY(srno > 41);
        QCOMPARE(test::value(
                     QStringLiteral("SELECT land_owner_name FROM landowner WHERE srno = ?"), {QString::number(srno)}),
            QStringLiteral("x"));
    }

    void valuesRoundTripUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and SQL") << QStringLiteral("O'Brien \"7\"; DROP TABLE land; --");
        QTest::newRow("legacy text") << QStringLiteral("wkjir bvï");
        QTest::newRow("legacy with quote key") << QStringLiteral("mdf¾'");
        QString latin1;
        for (ushort c = 0x20; c <= 0xFF; ++c) {
            if (c < 0x7F || c >= 0xA0)
                latin1 += QChar(c);
        }
        QTest::newRow("every Latin-1 character") << latin1;
        QTest::newRow("Windows-1252 characters") << QStringLiteral("‘’“”•–—˜™š›œžŸ");
        QTest::newRow("empty") << QString();
    }
    void valuesRoundTripUnchanged()
    {
        QFETCH(QString, text);
        const qlonglong srno = db().insert(
            QStringLiteral("nadayo"), QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {text});
        const QString back
            = test::value(QStringLiteral("SELECT nathisambandaya FROM nadayo WHERE srno = ?"), {QString::number(srno)});
        QCOMPARE(back, text);
        QCOMPARE(back.toUtf8(), text.toUtf8());
        QCOMPARE(test::count(QStringLiteral("nadayo"), QStringLiteral("nathisambandaya = ?"), {text}), 1);
    }

    void nullReadsAsEmpty()
    {
        test::exec(QStringLiteral("INSERT INTO landowner (id) VALUES (?)"), {QStringLiteral("123456789v")});
        std::optional<Query> row = db().first(QStringLiteral("SELECT * FROM landowner"));
        QVERIFY(row);
        QCOMPARE(row->value(QStringLiteral("land_owner_name")), QString());
        QVERIFY(row->isNull(QStringLiteral("land_owner_name")));
        QCOMPARE(row->value(QStringLiteral("ID")), QStringLiteral("123456789v"));
    }

    void quotedKeyFindsIntegerRow()
    {
        for (int i = 0; i < 9; ++i)
            test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES (?)"), {QStringLiteral("P%1").arg(i + 1)});
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land WHERE srno = ?"), {QStringLiteral("7")}),
            QStringLiteral("P7"));
        // A contains-search on the number itself.
        QCOMPARE(test::count(QStringLiteral("land"), Dialect::numberLike(QStringLiteral("srno")),
                     {Dialect::containsPattern(QStringLiteral("7"))}),
            1);
    }

    void keyTypedFindsTheSameOnEveryEngine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("whole number") << QStringLiteral("7") << QStringLiteral("P7");
        QTest::newRow("spaces around") << QStringLiteral(" 7 ") << QStringLiteral("P7");
        QTest::newRow("leading zero") << QStringLiteral("07") << QStringLiteral("P7");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("only spaces") << QStringLiteral("  ") << QString();
        QTest::newRow("letters after the number") << QStringLiteral("7a") << QString();
        QTest::newRow("decimal") << QStringLiteral("7.0") << QString();
        QTest::newRow("beyond an integer column") << QStringLiteral("99999999999") << QString();
        QTest::newRow("no such row") << QStringLiteral("12") << QString();
    }
    void keyTypedFindsTheSameOnEveryEngine()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        for (int i = 0; i < 9; ++i)
            test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES (?)"), {QStringLiteral("P%1").arg(i + 1)});
        const QString lookup = QStringLiteral("SELECT balapa_no FROM land WHERE srno = ?");
        QCOMPARE(test::value(lookup, {Dialect::key(typed)}), found);
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("srno = ?"), {Dialect::key(typed)}),
            found.isEmpty() ? 0 : 1);
        // Inside a change: PostgreSQL aborts a transaction on an error, so a key that raised one would
        // leave the rest of the change failing.
        QString inside;
        db().transaction([&] {
            inside = test::value(lookup, {Dialect::key(typed)});
            test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('after')"));
        });
        QCOMPARE(inside, found);
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("balapa_no = 'after'")), 1);
    }

    void readingSurvivesOtherStatements_data()
    {
        QTest::addColumn<QString>("inside");
        QTest::newRow("a value looked up") << QStringLiteral("SELECT COUNT(*) FROM land");
        QTest::newRow("another list read") << QStringLiteral("SELECT srno, balapa_no FROM land ORDER BY srno DESC");
        QTest::newRow("a row changed") << QStringLiteral("UPDATE land SET addre = 'x' WHERE balapa_no = 'P1'");
        QTest::newRow("a row added") << QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES ('n')");
    }
    void readingSurvivesOtherStatements()
    {
        QFETCH(QString, inside);
        for (const char *name : {"P1", "P2", "P3"})
            test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES (?)"), {QString::fromLatin1(name)});
        Query rows = db().select(QStringLiteral("SELECT srno, balapa_no FROM land ORDER BY srno"));
        QStringList read;
        while (rows.next()) {
            read << rows.value(QStringLiteral("balapa_no"));
            if (inside.startsWith(QLatin1String("SELECT")))
                db().select(inside);
            else
                db().execute(inside);
        }
        QCOMPARE(read, (QStringList {QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")}));
        QCOMPARE(rows.columnCount(), 2);
    }

    void readingWhatIsNotThereFails_data()
    {
        QTest::addColumn<QString>("read");
        QTest::newRow("value of a missing column") << QStringLiteral("value no_such");
        QTest::newRow("null test of a missing column") << QStringLiteral("isNull no_such");
        QTest::newRow("position past the last column") << QStringLiteral("value 2");
        QTest::newRow("before the first row") << QStringLiteral("before");
        QTest::newRow("after the last row") << QStringLiteral("after");
    }
    void readingWhatIsNotThereFails()
    {
        QFETCH(QString, read);
        test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('P1')"));
        Query rows = db().select(QStringLiteral("SELECT srno, balapa_no FROM land"));
        if (read != QLatin1String("before"))
            QVERIFY(rows.next());
        if (read == QLatin1String("after"))
            QVERIFY(!rows.next());
        QVERIFY_THROWS_EXCEPTION(DbError, {
            if (read == QLatin1String("isNull no_such"))
                rows.isNull(QStringLiteral("no_such"));
            else if (read == QLatin1String("value 2"))
                rows.value(2);
            else if (read == QLatin1String("value no_such"))
                rows.value(QStringLiteral("no_such"));
            else
                rows.value(QStringLiteral("balapa_no"));
        });
        // What is there still reads.
        if (read.startsWith(QLatin1String("value")) || read.startsWith(QLatin1String("isNull"))) {
            QCOMPARE(rows.value(QStringLiteral("BALAPA_NO")), QStringLiteral("P1"));
            QVERIFY(!rows.isNull(QStringLiteral("balapa_no")));
        }
    }

    void closingKeepsSqliteStatistics()
    {
        if (test::backend() == test::Backend::PostgreSQL)
            QSKIP("SQLite statistics");
        for (int i = 0; i < 30; ++i)
            test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES (?)"), {QStringLiteral("P%1").arg(i)});
        QCOMPARE(test::value(QStringLiteral("SELECT COUNT(*) FROM land WHERE balapa_no = ?"), {QStringLiteral("P7")}),
            QStringLiteral("1"));
        const QString file = db().dataSource().database;
        db().close();
        QString stat;
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(file);
            QVERIFY(raw.open());
            QSqlQuery query(raw);
            if (query.exec(QStringLiteral("SELECT stat FROM sqlite_stat1 WHERE idx = 'ix_land_balapa_no'"))
                && query.next())
                stat = query.value(0).toString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        // The statistics count the rows the register holds now.
        QCOMPARE(stat.section(QLatin1Char(' '), 0, 0), QStringLiteral("30"));
    }

    void containsSearchIsLiteralAndCaseSensitive_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("lower k") << QStringLiteral("k") << QStringList {QStringLiteral("kj")};
        QTest::newRow("upper K") << QStringLiteral("K") << QStringList {QStringLiteral("Kj")};
        QTest::newRow("percent matches itself") << QStringLiteral("%") << QStringList {QStringLiteral("50%")};
        QTest::newRow("underscore matches itself") << QStringLiteral("_") << QStringList {QStringLiteral("a_b")};
        QTest::newRow("bang matches itself") << QStringLiteral("!") << QStringList {QStringLiteral("a!")};
        QTest::newRow("quote") << QStringLiteral("'") << QStringList {QStringLiteral("O'x")};
    }
    void containsSearchIsLiteralAndCaseSensitive()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        for (const char *name : {"kj", "Kj", "50%", "a_b", "axb", "a!", "O'x"})
            test::exec(QStringLiteral("INSERT INTO landowner (land_owner_name) VALUES (?)"), {QString::fromUtf8(name)});
        Query q = db().select(
            QStringLiteral(
                "SELECT land_owner_name FROM landowner WHERE land_owner_name LIKE ? ESCAPE '!' ORDER BY srno"),
            {Dialect::containsPattern(typed)});
        QStringList found;
        while (q.next())
            found << q.value(0);
        QCOMPARE(found, expected);
    }

    void newestRowOfHistoryIsInForce()
    {
        test::exec(QStringLiteral("INSERT INTO awasara (user_srno, a1) VALUES ('3', '1 - wjir ke;')"));
        test::exec(QStringLiteral("INSERT INTO awasara (user_srno, a1) VALUES ('3', '4 - ish¨ wjir')"));
        test::exec(QStringLiteral("INSERT INTO awasara (user_srno, a1) VALUES ('4', '2 - ne,su muKhs')"));
        std::optional<Query> row
            = db().newest(QStringLiteral("awasara"), QStringLiteral("user_srno"), QStringLiteral("3"));
        QVERIFY(row);
        QCOMPARE(row->value(QStringLiteral("a1")), QStringLiteral("4 - ish¨ wjir"));
        QVERIFY(!db().newest(QStringLiteral("awasara"), QStringLiteral("user_srno"), QStringLiteral("9")));
    }

    void failedChangeLeavesNothing()
    {
        bool failed = false;
        try {
            db().transaction([] {
                test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('A1')"));
                test::exec(QStringLiteral("INSERT INTO no_such_table (x) VALUES ('1')"));
            });
        } catch (const DbError &error) {
            failed = true;
            QVERIFY(!error.description.isEmpty());
            QVERIFY(error.source.startsWith(QLatin1String("land")));
        }
        QVERIFY(failed);
        QCOMPARE(test::count(QStringLiteral("land")), 0);
        // The session carries on after the failure.
        db().transaction([] { test::exec(QStringLiteral("INSERT INTO land (balapa_no) VALUES ('A2')")); });
        QCOMPARE(test::count(QStringLiteral("land")), 1);
    }

    void viewsSeparateActiveAndInactive()
    {
        test::exec(QStringLiteral("INSERT INTO landowner (id, house_no, land_owner_name, chak) VALUES "
                                  "('111111111v', '12', 'A', '1')"));
        test::exec(QStringLiteral("INSERT INTO landowner (id, house_no, land_owner_name, chak) VALUES "
                                  "('222222222v', '13', 'B', '0')"));
        const QString holder = test::value(QStringLiteral("SELECT srno FROM landowner WHERE id = '111111111v'"));
        test::exec(
            QStringLiteral("INSERT INTO land (balapa_no, guhasth, labn_owner_srno, chack) VALUES ('L1', '', ?, '1')"),
            {holder});
        test::exec(QStringLiteral(
            "INSERT INTO land (balapa_no, guhasth, labn_owner_srno, chack) VALUES ('L2', '9', '', '0')"));
        QCOMPARE(test::value(QStringLiteral("SELECT land_owner_name FROM landowner1")), QStringLiteral("A"));
        QCOMPARE(test::value(QStringLiteral("SELECT land_owner_name FROM landowner2")), QStringLiteral("B"));
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land1")), QStringLiteral("L1"));
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land2")), QStringLiteral("L2"));
        QCOMPARE(test::value(QStringLiteral("SELECT house_no FROM land_re_1")), QStringLiteral("12"));
        QCOMPARE(test::value(QStringLiteral("SELECT house_no FROM land_re_2")), QStringLiteral("9"));
        QCOMPARE(test::count(QStringLiteral("land_re_0")), 2);

        const QString land = test::value(QStringLiteral("SELECT srno FROM land WHERE balapa_no = 'L1'"));
        const QString successor = test::value(QStringLiteral("SELECT srno FROM landowner WHERE id = '222222222v'"));
        test::exec(
            QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, newcus_srno, land_srno, land_wargaya, landno) "
                           "VALUES (?, ?, ?, 'ono', 'L1')"),
            {holder, successor, land});
        std::optional<Query> row = db().first(QStringLiteral("SELECT * FROM pasuhimika_report"));
        QVERIFY(row);
        QCOMPARE(row->value(QStringLiteral("lno")), land);
        QCOMPARE(row->value(QStringLiteral("land_owner_name")), QStringLiteral("B"));
        QCOMPARE(row->value(QStringLiteral("id")), QStringLiteral("222222222v"));
    }
};

QTEST_MAIN(tst_dbsession)
#include "tst_dbsession.moc"
