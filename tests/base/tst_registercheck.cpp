// The check that the database behind `land` is a Parcelon register of the version this program reads,
// on every backend: a fresh register passes; a database without the version table, with an empty one
// or with a newer version is refused with a message naming the data source and its database; the
// session stays usable after the probe. A register of any earlier version is brought up to this one
// whole, or not at all: its transferred lands' decimal acres mended, its passwords hashed.

#include "base/dbsession.h"
#include "base/extent.h"
#include "base/passwords.h"
#include "base/registercheck.h"
#include "support/fixture.h"
#include "support/records.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace parcelon;

namespace {
const QString kTransfer = QStringLiteral("bvï mejßu");
const QString kDivision = QStringLiteral("bvï neyer lsÍu");
} // namespace

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

    // Lands as version 2 left them: a transfer changed the extent but not the decimal acres.
    struct Lands
    {
        QString right; // transferred, its decimal acres already right
        QString transferred; // hectares, stale decimal acres
        QString transferredInAcres; // stale too; transferred twice, divided before
        QString typedOver; // never transferred: its decimal acres were typed over
        QString divided; // its history shows only a division
    };
    static QString addLand(
        const QString &unit, const char *acres, const char *roods, const char *perches, const char *decimalAcres)
    {
        return test::addLand({.akkara1 = unit,
            .akkara = QString::fromLatin1(acres),
            .rut = QString::fromLatin1(roods),
            .parchase = QString::fromLatin1(perches),
            .akkara_only = QString::fromLatin1(decimalAcres)});
    }
    static Lands addLands()
    {
        Lands lands;
        lands.right = addLand(kAcresUnit, "2", "2", "0", "2.5");
        lands.transferred = addLand(QStringLiteral("1 - fylaghd¾"), "2.02", "1", "20", "9.5");
        lands.transferredInAcres = addLand(kAcresUnit, "3", "2", "0", "4.75");
        lands.typedOver = addLand(kAcresUnit, "1", "0", "0", "7.25");
        lands.divided = addLand(kAcresUnit, "2", "0", "0", "4.");
        addHistory(lands.right, kTransfer);
        addHistory(lands.transferred, kTransfer);
        addHistory(lands.transferredInAcres, kDivision);
        addHistory(lands.transferredInAcres, kTransfer);
        addHistory(lands.transferredInAcres, kTransfer);
        addHistory(lands.divided, kDivision);
        return lands;
    }
    static void addHistory(const QString &land, const QString &kind)
    {
        test::exec(
            QStringLiteral("INSERT INTO land_pewarima (land_srno, land_behera_wargaya) VALUES (?, ?)"), {land, kind});
    }
    static QString acresOf(const QString &land)
    {
        return test::value(QStringLiteral("SELECT akkara_only FROM land WHERE srno = ?"), {land.toInt()});
    }

    // The register refuses to change one row of a table, so an upgrade fails part-way through its rows.
    static void refuseChangesTo(const QString &srno, const QString &table = QStringLiteral("land"))
    {
        if (test::backend() == test::Backend::PostgreSQL) {
            run(QStringLiteral("CREATE FUNCTION refuse_row() RETURNS trigger AS $$ BEGIN IF NEW.srno = %1 THEN "
                               "RAISE EXCEPTION '%2 refused'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql")
                    .arg(srno.toInt())
                    .arg(table));
            run(QStringLiteral(
                "CREATE TRIGGER refuse_row BEFORE UPDATE ON %1 FOR EACH ROW EXECUTE FUNCTION refuse_row()")
                    .arg(table));
        } else {
            run(QStringLiteral("CREATE TRIGGER refuse_row BEFORE UPDATE ON %2 WHEN NEW.srno = %1 "
                               "BEGIN SELECT RAISE(ABORT, '%2 refused'); END")
                    .arg(srno.toInt())
                    .arg(table));
        }
    }

    // Accounts as an earlier version kept them: passwords as typed.
    struct Account
    {
        QString srno;
        QVariant password1;
        QVariant password2;
    };
    static QList<Account> addPlainAccounts()
    {
        const QVariant null(QMetaType(QMetaType::QString));
        QList<Account> accounts {{{}, QStringLiteral("c-pass"), QStringLiteral("c-pass")},
            {{}, QStringLiteral("Ab'1 %_"), QStringLiteral("second")},
            {{}, QString(QLatin1String("")), QString(QLatin1String(""))}, {{}, null, null}};
        int n = 0;
        for (Account &account : accounts) {
            const QString name = QStringLiteral("user%1").arg(++n);
            account.srno = account.password1.isNull()
                ? QString::number(db().insert(QStringLiteral("user_loging"),
                    QStringLiteral("INSERT INTO user_loging (username, password1, password2, name, chack) "
                                   "VALUES (?, NULL, NULL, 'x', '1')"),
                    {name}))
                : QString::number(db().insert(QStringLiteral("user_loging"),
                    QStringLiteral("INSERT INTO user_loging (username, password1, password2, name, chack) "
                                   "VALUES (?, ?, ?, 'x', '1')"),
                    {name, account.password1, account.password2}));
        }
        return accounts;
    }
    static std::pair<QVariant, QVariant> storedPasswords(const QString &srno)
    {
        QSqlQuery query(db().database());
        query.prepare(QStringLiteral("SELECT password1, password2 FROM user_loging WHERE srno = ?"));
        query.addBindValue(srno.toInt());
        if (!query.exec() || !query.next())
            return {};
        return {query.value(0), query.value(1)};
    }

    // A register as the given earlier version left it.
    static void makeVersion(int from)
    {
        if (from == 1)
            makeVersion1();
        else
            run(QStringLiteral("UPDATE parcelon_schema SET version = %1").arg(from));
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
        const QString newer = QString::number(kRegisterVersion + 1);
        QTest::newRow("a newer register")
            << QStringLiteral("UPDATE parcelon_schema SET version = ") + newer
            << QStringLiteral("has version %1; this Parcelon reads version %2").arg(newer).arg(kRegisterVersion);
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

    void olderRegisterIsUpgraded_data()
    {
        QTest::addColumn<int>("from");
        QTest::newRow("from version 1") << 1;
        QTest::newRow("from version 2") << 2;
    }
    void olderRegisterIsUpgraded()
    {
        QFETCH(int, from);
        const Lands lands = addLands();
        makeVersion(from);
        QVERIFY(registerProblem().contains(QStringLiteral("has version %1").arg(from)));
        upgradeRegister();
        QCOMPARE(registerVersion(), std::optional<int>(kRegisterVersion));
        QCOMPARE(registerProblem(), QString());
        QVERIFY(hasLineNumbers(QStringLiteral("land_report")));
        QVERIFY(hasLineNumbers(QStringLiteral("member_report")));
        QVERIFY(ownerIndexHasHouse());
        // Decimal acres as the register shows them, from each transferred land's extent.
        QCOMPARE(acresOf(lands.right), QStringLiteral("2.5"));
        QCOMPARE(acresOf(lands.transferred), QStringLiteral("5.375"));
        QCOMPARE(acresOf(lands.transferredInAcres), QStringLiteral("3.5"));
        QCOMPARE(acresOf(lands.typedOver), QStringLiteral("7.25"));
        QCOMPARE(acresOf(lands.divided), QStringLiteral("4."));
        // A second workstation starting later finds nothing to do.
        test::exec(QStringLiteral("UPDATE land SET akkara_only = '1.' WHERE srno = ?"), {lands.transferred.toInt()});
        upgradeRegister();
        QCOMPARE(registerVersion(), std::optional<int>(kRegisterVersion));
        QCOMPARE(acresOf(lands.transferred), QStringLiteral("1."));
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

    void failedMendKeepsTheRegisterWhole_data() { olderRegisterIsUpgraded_data(); }
    void failedMendKeepsTheRegisterWhole()
    {
        QFETCH(int, from);
        const Lands lands = addLands();
        makeVersion(from);
        // Lands are mended in srno order: the first is changed before the second is refused.
        refuseChangesTo(lands.transferredInAcres);
        try {
            upgradeRegister();
            QFAIL("the upgrade went through");
        } catch (const DbError &error) {
            QVERIFY2(error.description.contains(QLatin1String("land refused")), qPrintable(error.description));
        }
        QCOMPARE(registerVersion(), std::optional<int>(from));
        QCOMPARE(acresOf(lands.transferred), QStringLiteral("9.5"));
        QCOMPARE(acresOf(lands.transferredInAcres), QStringLiteral("4.75"));
        QCOMPARE(hasLineNumbers(QStringLiteral("land_report")), from > 1);
        QCOMPARE(ownerIndexHasHouse(), from > 1);
    }

    void passwordsAreHashedByTheUpgrade_data()
    {
        QTest::addColumn<int>("from");
        for (int from = 1; from < kRegisterVersion; ++from)
            QTest::addRow("from version %d", from) << from;
    }
    void passwordsAreHashedByTheUpgrade()
    {
        QFETCH(int, from);
        const QList<Account> accounts = addPlainAccounts();
        // An account set anew (parcelon-setup) after the upgrade began elsewhere already holds a hash.
        const QString hashed = hashPassword(QStringLiteral("new"));
        const QString setAnew = test::addUser(QStringLiteral("setanew"), QStringLiteral("ignored"));
        test::exec(QStringLiteral("UPDATE user_loging SET password1 = ?, password2 = ? WHERE srno = ?"),
            {hashed, hashed, setAnew.toInt()});
        makeVersion(from);
        upgradeRegister();
        QCOMPARE(registerVersion(), std::optional<int>(kRegisterVersion));
        for (const Account &account : accounts) {
            const auto [password1, password2] = storedPasswords(account.srno);
            if (account.password1.isNull()) {
                QVERIFY(password1.isNull() && password2.isNull());
                continue;
            }
            // Each column holds a hash of what it held, and the account logs in with its old password.
            QVERIFY(isPasswordHash(password1.toString()));
            QVERIFY(isPasswordHash(password2.toString()));
            QVERIFY(passwordMatches(password1.toString(), account.password1.toString()));
            QVERIFY(passwordMatches(password2.toString(), account.password2.toString()));
            QVERIFY(!passwordMatches(password1.toString(), account.password1.toString() + QLatin1Char('x')));
        }
        QCOMPARE(storedPasswords(setAnew).first.toString(), hashed);
        QVERIFY(passwordMatches(hashed, QStringLiteral("new")));
    }

    void failedHashingKeepsThePasswords()
    {
        const QList<Account> accounts = addPlainAccounts();
        makeVersion(kRegisterVersion - 1);
        // Accounts are hashed in srno order: the first is changed before the second is refused.
        refuseChangesTo(accounts.at(1).srno, QStringLiteral("user_loging"));
        QVERIFY_THROWS_EXCEPTION(DbError, upgradeRegister());
        QCOMPARE(registerVersion(), std::optional<int>(kRegisterVersion - 1));
        for (const Account &account : accounts) {
            const auto [password1, password2] = storedPasswords(account.srno);
            QCOMPARE(password1.isNull(), account.password1.isNull());
            QCOMPARE(password1.toString(), account.password1.toString());
            QCOMPARE(password2.toString(), account.password2.toString());
        }
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
