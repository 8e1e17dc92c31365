// The successor change as a clerk meets it: the land loaded by its permit number with its holder, the
// successor by identity number, both also through their choosers, the store that records the succession
// and makes the successor the holder, all or nothing and against the land as it is when stored.

#include "base/dbsession.h"
#include "lifecycle/frmfind_land_onew.h"
#include "lifecycle/frmland_search.h"
#include "lifecycle/frmpasuhimika_change.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"
#include "ui/screenregistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kTitle = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kNoSuchLand = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kNoSuchOwner = QStringLiteral("we;=,;a l< cd;sl yeÿkqïm;a wxlhg o;a; fkdue;");
const QString kSuccessions = QStringLiteral(
    "SELECT landowner_srno, id, newcus_srno, land_srno, land_wargaya, pasuaythiya, nadakam, landno FROM pasuhimikam");
const QString kHolder = QStringLiteral("SELECT id, guhasth, labn_owner_srno FROM land WHERE srno = ?");

QStringList rows(const QString &sql, const QVariantList &params = {})
{
    QStringList lines;
    Query q = db().select(sql, params);
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.columnCount(); ++i)
            cells << q.value(i);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

QString joined(const QStringList &cells) { return cells.join(QLatin1Char('|')); }
// The register refuses every change of a land row from now on, as a fault inside a store.
void refuseLandUpdates()
{
    const bool postgres = test::backend() == test::Backend::PostgreSQL;
    const QStringList statements = postgres
        ? QStringList {QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                      "'refused'; END $$ LANGUAGE plpgsql"),
            QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON land FOR EACH ROW EXECUTE FUNCTION refuse()")}
        : QStringList {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON land BEGIN SELECT RAISE(ABORT, "
                                      "'refused'); END")};
    for (const QString &sql : statements) {
        QSqlQuery query(db().database());
        QVERIFY2(query.exec(sql), qPrintable(sql));
    }
}
} // namespace

class tst_succession : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmpasuhimika_change> m_screen;
    QString m_holder, m_successor, m_third, m_land;

    frmpasuhimika_change *openScreen()
    {
        m_screen = std::make_unique<frmpasuhimika_change>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Types the permit number and the successor's identity number, leaving each box as a clerk does.
    static void typeSuccession(frmpasuhimika_change *s, const QString &landno, const QString &id)
    {
        test::typeInto(s->txtlandno, landno);
        test::typeInto(s->txtid_c, id);
        s->cmd_l_thora->setFocus();
    }

    static QStringList everyField(const frmpasuhimika_change *s)
    {
        QStringList texts {s->txtlandno->text(), s->txtid_c->text()};
        for (const QLabel *l : {s->labland_wargaya, s->labland_sbawaya, s->labaythiye_sbawaya, s->labbalapa_date,
                 s->labpasuaythiya, s->labnakama, s->labother, s->labid_l, s->labguha_l, s->labname_l, s->labgamiya_l,
                 s->labgama_l, s->labguha_c, s->labname_c, s->labgamiya_c, s->labgama_c, s->labownerno, s->labsrno,
                 s->lablandowner_srno})
            texts << l->text();
        return texts;
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage});
        m_home = m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {kAll}));
        m_holder = test::addOwner({.id = QStringLiteral("111111111v"),
            .house_no = QStringLiteral("H-1"),
            .land_owner_name = QStringLiteral("mshd")});
        m_successor = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("H-40"),
            .land_owner_name = QStringLiteral("iqks,a")});
        m_third = test::addOwner({.id = QStringLiteral("333333333x"), .house_no = QStringLiteral("H-3")});
        m_land = test::addLand({.id = QStringLiteral("111111111v"),
            .guhasth = QStringLiteral("H-1"),
            .labn_owner_srno = m_holder,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("125"),
            .loan_sbawaya = QStringLiteral("2- uv"),
            .aythiye_sbawaya = QStringLiteral("1- Èukd m;%"),
            .othe_land = QStringLiteral("2- ke;"),
            .land_data = QStringLiteral("2019/05/14"),
            .p_name = QStringLiteral("mshd"),
            .p_naya = QStringLiteral("1- mq;d")});
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void storesTheSuccessionAndTheNewHolder()
    {
        frmpasuhimika_change *s = openScreen();
        typeSuccession(s, QStringLiteral("125"), QStringLiteral("123456789v"));
        QCOMPARE(everyField(s),
            QStringList({QStringLiteral("125"), QStringLiteral("123456789v"), kTitle, QStringLiteral("2- uv"),
                QStringLiteral("1- Èukd m;%"), QStringLiteral("2019/05/14"), QStringLiteral("mshd"),
                QStringLiteral("1- mq;d"), QStringLiteral("2- ke;"), QStringLiteral("111111111v"),
                QStringLiteral("H-1"), QStringLiteral("mshd"), QStringLiteral("1 - ") + test::kDivision,
                QStringLiteral("1 - ") + test::kVillage, QStringLiteral("H-40"), QStringLiteral("iqks,a"),
                QStringLiteral("1 - ") + test::kDivision, QStringLiteral("1 - ") + test::kVillage, m_holder, m_land,
                m_successor}));

        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(rows(kSuccessions),
            QStringList({joined({m_holder, QStringLiteral("111111111v"), m_successor, m_land, kTitle,
                QStringLiteral("mshd"), QStringLiteral("1- mq;d"), QStringLiteral("125")})}));
        QCOMPARE(rows(kHolder, {m_land.toInt()}),
            QStringList({joined({QStringLiteral("123456789v"), QStringLiteral("H-40"), m_successor})}));
        // Every field is empty again, the hidden serial numbers too.
        QCOMPARE(everyField(s), QStringList(21, QString()));
        // Stored again with nothing typed, nothing happens.
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("pasuhimikam")), 1);
    }

    void unknownNumbersAreRefused_data()
    {
        QTest::addColumn<QString>("landno");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("said");
        QTest::newRow("permit number") << QStringLiteral("999") << QStringLiteral("123456789v") << kNoSuchLand;
        QTest::newRow("identity number") << QStringLiteral("125") << QStringLiteral("987654321v") << kNoSuchOwner;
    }
    void unknownNumbersAreRefused()
    {
        QFETCH(QString, landno);
        QFETCH(QString, id);
        QFETCH(QString, said);
        frmpasuhimika_change *s = openScreen();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        // Each box is left with Tab; after a message the screen is the active window again.
        test::typeInto(s->txtlandno, landno);
        QTest::keyClick(s->txtlandno, Qt::Key_Tab);
        test::backTo(s);
        test::typeInto(s->txtid_c, id);
        QTest::keyClick(s->txtid_c, Qt::Key_Tab);
        test::backTo(s);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), said);
        QCOMPARE((said == kNoSuchLand ? s->txtlandno : s->txtid_c)->text(), QString());
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("pasuhimikam")), 0);
        QCOMPARE(rows(kHolder, {m_land.toInt()}),
            QStringList({joined({QStringLiteral("111111111v"), QStringLiteral("H-1"), m_holder})}));
    }

    void identityBoxTakesOnlyItsCharacters()
    {
        frmpasuhimika_change *s = openScreen();
        s->txtid_c->setFocus();
        QTest::keyClicks(s->txtid_c, QStringLiteral("12a3V45 6789vx00"));
        QCOMPARE(s->txtid_c->text(), QStringLiteral("123456789v"));
    }

    // The land or the successor changed on another workstation after they were loaded here.
    void storesAgainstTheRegisterAsItIsNow_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("stored");
        QTest::newRow("holder changed") << QStringLiteral(
            "UPDATE land SET labn_owner_srno = '{owner}' WHERE srno = {land}")
                                        << QString() << 1;
        QTest::newRow("land renumbered") << QStringLiteral("UPDATE land SET balapa_no = '126' WHERE srno = {land}")
                                         << kNoSuchLand << 0;
        QTest::newRow("successor's identity changed")
            << QStringLiteral("UPDATE landowner SET id = '999999999v' WHERE id = '123456789v'") << kNoSuchOwner << 0;
    }
    void storesAgainstTheRegisterAsItIsNow()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QString, said);
        QFETCH(int, stored);
        frmpasuhimika_change *s = openScreen();
        typeSuccession(s, QStringLiteral("125"), QStringLiteral("123456789v"));
        test::exec(
            QString(meanwhile).replace(QStringLiteral("{owner}"), m_third).replace(QStringLiteral("{land}"), m_land));
        test::ModalAnswers answers;
        if (!said.isEmpty())
            answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.text(), said);
        QCOMPARE(test::count(QStringLiteral("pasuhimikam")), stored);
        if (stored) {
            // The holder recorded is the one the land had when the succession was stored.
            QCOMPARE(test::value(QStringLiteral("SELECT landowner_srno FROM pasuhimikam")), m_third);
            QCOMPARE(test::value(QStringLiteral("SELECT id FROM pasuhimikam")), QStringLiteral("333333333x"));
        } else {
            QCOMPARE(test::value(QStringLiteral("SELECT labn_owner_srno FROM land WHERE srno = ?"), {m_land.toInt()}),
                m_holder);
        }
    }

    void failureInsideTheStoreLeavesNothingChanged()
    {
        frmpasuhimika_change *s = openScreen();
        typeSuccession(s, QStringLiteral("125"), QStringLiteral("123456789v"));
        refuseLandUpdates();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.name(), QStringLiteral("failure"));
        QCOMPARE(test::count(QStringLiteral("pasuhimikam")), 0);
        QCOMPARE(rows(kHolder, {m_land.toInt()}),
            QStringList({joined({QStringLiteral("111111111v"), QStringLiteral("H-1"), m_holder})}));
        QCOMPARE(s->labsrno->text(), m_land);
    }

    void choosersLoadWhatTheyHandBack()
    {
        frmpasuhimika_change *s = openScreen();
        QString searchCode, finderCode;
        {
            test::ModalAnswers answers;
            answers.with([&](QWidget *dialog) {
                auto *search = qobject_cast<frmland_search *>(dialog);
                QVERIFY(search);
                searchCode = search->labch->text();
                const int row = int(test::listLines(search->lvland, {0}).indexOf(m_land));
                QVERIFY(row >= 0);
                test::clickRow(search->lvland, row);
                QTest::mouseClick(search->cmdadd, Qt::LeftButton);
                if (search->isVisible())
                    search->close();
            });
            QTest::mouseClick(s->cmd_l_thora, Qt::LeftButton);
            QVERIFY(answers.allAnswered());
        }
        test::backTo(s);
        QCOMPARE(searchCode, QStringLiteral("6"));
        QCOMPARE(s->txtlandno->text(), QStringLiteral("125"));
        QCOMPARE(s->labsrno->text(), m_land);
        QCOMPARE(s->labname_l->text(), QStringLiteral("mshd"));
        {
            test::ModalAnswers answers;
            answers.with([&](QWidget *dialog) {
                auto *finder = qobject_cast<frmfind_land_onew *>(dialog);
                QVERIFY(finder);
                finderCode = finder->labch->text();
                const int row = int(test::listLines(finder->lvfind, {0}).indexOf(m_successor));
                QVERIFY(row >= 0);
                test::clickRow(finder->lvfind, row);
                if (finder->isVisible())
                    finder->cmdexit->click();
            });
            QTest::mouseClick(s->cmdfind_c, Qt::LeftButton);
            QVERIFY(answers.allAnswered());
        }
        QCOMPARE(finderCode, QStringLiteral("3"));
        QCOMPARE(s->txtid_c->text(), QStringLiteral("123456789v"));
        QCOMPARE(s->lablandowner_srno->text(), m_successor);
        QCOMPARE(s->labname_c->text(), QStringLiteral("iqks,a"));
        QVERIFY(s->cmdok->hasFocus());
    }

    void readOnlyLevel_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("mayStore");
        QTest::newRow("2 view only") << QStringLiteral("2 - ne,su muKhs") << false;
        QTest::newRow("3 entry") << QStringLiteral("3 - we;=,a lsrsu muKs") << true;
        QTest::newRow("4 all") << kAll << true;
    }
    void readOnlyLevel()
    {
        QFETCH(QString, level);
        QFETCH(bool, mayStore);
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Kamal"), QStringLiteral("p"), {level}));
        frmpasuhimika_change *s = openScreen();
        QCOMPARE(s->cmdok->isEnabled(), mayStore);
        typeSuccession(s, QStringLiteral("125"), QStringLiteral("123456789v"));
        QCOMPARE(s->labsrno->text(), m_land);
        QCOMPARE(s->lablandowner_srno->text(), m_successor);
    }
};

QTEST_MAIN(tst_succession)
#include "tst_succession.moc"
