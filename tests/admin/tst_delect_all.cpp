// Bulk deletion as an administrator uses it: the backup question before each run, the land run with
// everything that hangs on a land, the owner run refused while any land is left, and a run that fails on
// one key, which stays whole while the keys before it are gone.

#include "admin/frmdelect_all.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kBackupTaken = QStringLiteral("Tn úiska o;a; .nvdfú msgm;la ,nd .;af;a o");
const QString kLandsFirst = QStringLiteral("bvï ysñhka bj;a lsßug fmr ish¨u bvñ bj;a ú ;sìh hq;=h");

// Runs SQL that the session's prepared statements cannot carry (trigger definitions).
void execRaw(const QString &sql)
{
    QSqlQuery query(db().database());
    QVERIFY2(query.exec(sql), qPrintable(sql));
}

// A land with one row in each table that hangs on it: its boundaries, a prior version, a transfer.
QString addLandWithRows(int number)
{
    const QString srno = test::addLand({.balapa_no = QString::number(number)});
    test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno, dakuna) VALUES (?, ?, 'ud¾.h')"),
        {srno, QString::number(number)});
    test::exec(
        QStringLiteral("INSERT INTO land_pera (land_srno, balapa_no) VALUES (?, ?)"), {srno, QString::number(number)});
    test::exec(QStringLiteral("INSERT INTO land_pewarima (land_srno, land_no) VALUES (?, ?)"),
        {srno, QString::number(number)});
    return srno;
}

// How many rows of the land and its three tables are left for a land.
int rowsOf(const QString &srno)
{
    return test::count(QStringLiteral("land"), QStringLiteral("srno = ?"), {srno.toLongLong()})
        + test::count(QStringLiteral("hathara_maym"), QStringLiteral("landsrno = ?"), {srno})
        + test::count(QStringLiteral("land_pera"), QStringLiteral("land_srno = ?"), {srno})
        + test::count(QStringLiteral("land_pewarima"), QStringLiteral("land_srno = ?"), {srno});
}
} // namespace

class tst_delect_all : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmdelect_all> m_screen;

    frmdelect_all *openScreen()
    {
        m_screen = std::make_unique<frmdelect_all>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_home = m_base.home(
            test::addUser(QStringLiteral("Chief"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")}),
            QStringLiteral("Chief"));
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    void mainMenuOpensTheScreen()
    {
        addLandWithRows(1);
        test::ModalAnswers answers;
        answers.with([](QWidget *screen) {
            QVERIFY(qobject_cast<frmdelect_all *>(screen));
            QTest::mouseClick(screen->findChild<QPushButton *>(QStringLiteral("cmdexit")), Qt::LeftButton);
        });
        m_home->cmddelect_all->click();
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmdelect_all"));
        QCOMPARE(test::count(QStringLiteral("land")), 1); // opening and leaving deletes nothing
    }

    void landRunDeletesEveryLandWithItsRows()
    {
        QStringList lands;
        for (int i = 1; i <= 250; ++i)
            lands << addLandWithRows(100 + i);
        const QString owner = test::addOwner();
        test::exec(QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, land_srno) VALUES (?, ?)"),
            {owner, lands.first()});
        frmdelect_all *s = openScreen();

        int shownMaximum = -1;
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            shownMaximum = s->pb1->maximum();
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdyes")), Qt::LeftButton);
        });
        QTest::mouseClick(s->cmdland, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage_y"));
        QCOMPARE(answers.text(), kBackupTaken);
        QCOMPARE(shownMaximum, 100); // nothing listed or counted before the answer
        QCOMPARE(s->labch->text(), QStringLiteral("1"));

        for (const char *table : {"land", "hathara_maym", "land_pera", "land_pewarima"})
            QVERIFY2(test::count(QString::fromLatin1(table)) == 0, table);
        // The progress bar counted every land and ended full; the list holds nothing left to delete.
        QCOMPARE(s->pb1->maximum(), 250);
        QCOMPARE(s->pb1->value(), 250);
        QVERIFY(s->pb1->isHidden());
        QCOMPARE(s->lv->count(), 0);
        QCOMPARE(s->labmassege->text(), QStringLiteral("  bvñ bj;a fjk ,È"));
        // Owners and their successor registrations belong to the owner run.
        QCOMPARE(test::count(QStringLiteral("landowner")), 1);
        QCOMPARE(test::count(QStringLiteral("pasuhimikam")), 1);

        // With no land left the run changes nothing, the message included.
        s->labmassege->setText(QStringLiteral("x"));
        answers.press(QStringLiteral("cmdyes"));
        QTest::mouseClick(s->cmdland, Qt::LeftButton);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(s->labmassege->text(), QStringLiteral("x"));
        QCOMPARE(test::count(QStringLiteral("landowner")), 1);
    }

    void ownersRefusedWhileAnyLandIsLeft_data()
    {
        QTest::addColumn<QString>("chack");
        QTest::newRow("land in force") << "1";
        QTest::newRow("land no longer in force") << "0";
    }
    void ownersRefusedWhileAnyLandIsLeft()
    {
        QFETCH(QString, chack);
        const QString owner = test::addOwner();
        test::addLand({.labn_owner_srno = owner, .chack = chack});
        test::addOwner({.id = QStringLiteral("222222222v")});
        frmdelect_all *s = openScreen();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdland_owner, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage"));
        QCOMPARE(answers.text(), kLandsFirst);
        QCOMPARE(test::count(QStringLiteral("landowner")), 2);
        QCOMPARE(test::count(QStringLiteral("land")), 1);
        QVERIFY(s->pb1->isHidden());
    }

    void ownerRunDeletesOwnersAndTheirSuccessions()
    {
        QStringList owners;
        for (const QString &id : {QStringLiteral("111111111v"), QString(), QStringLiteral("333333333x")})
            owners << test::addOwner({.id = id});
        test::exec(QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, newcus_srno) VALUES (?, ?)"),
            {owners.at(0), owners.at(2)});
        // A registration made from no owner of the register is not the owner run's to delete.
        test::exec(
            QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, newcus_srno) VALUES ('999', ?)"), {owners.at(1)});
        frmdelect_all *s = openScreen();

        QStringList listed;
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            for (int row = 0; row < s->lv->count(); ++row)
                listed << s->lv->text(row, 0) + QLatin1Char('|') + s->lv->text(row, 1);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdyes")), Qt::LeftButton);
        });
        QTest::mouseClick(s->cmdland_owner, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage_y"));
        QCOMPARE(answers.text(), kBackupTaken);
        QCOMPARE(listed,
            (QStringList {owners.at(0) + QStringLiteral("|111111111v"), owners.at(1) + QLatin1Char('|'),
                owners.at(2) + QStringLiteral("|333333333x")}));

        QCOMPARE(test::count(QStringLiteral("landowner")), 0);
        QCOMPARE(test::count(QStringLiteral("pasuhimikam")), 1);
        QCOMPARE(test::value(QStringLiteral("SELECT landowner_srno FROM pasuhimikam")), QStringLiteral("999"));
        QCOMPARE(s->pb1->maximum(), 3);
        QCOMPARE(s->pb1->value(), 3);
        QCOMPARE(s->lv->count(), 0);
        QCOMPARE(s->labmassege->text(), QStringLiteral("1  bvñ ysñhka bj;a fjk ,È"));
    }

    void answeringNoDeletesNothing_data()
    {
        QTest::addColumn<bool>("lands");
        QTest::newRow("all lands") << true;
        QTest::newRow("all owners") << false;
    }
    void answeringNoDeletesNothing()
    {
        QFETCH(bool, lands);
        const QString owner = test::addOwner();
        if (lands)
            addLandWithRows(7);
        frmdelect_all *s = openScreen();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(lands ? s->cmdland : s->cmdland_owner, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage_y"));
        QCOMPARE(test::count(QStringLiteral("landowner")), 1);
        QCOMPARE(test::count(QStringLiteral("land")), lands ? 1 : 0);
        QCOMPARE(test::count(QStringLiteral("hathara_maym")), lands ? 1 : 0);
        QCOMPARE(s->labch->text(), QString());
        QCOMPARE(s->labmassege->text(), QString());
    }

    void failedKeyStaysWholeAndTheRunCarriesOnLater()
    {
        QStringList lands;
        for (int i = 1; i <= 5; ++i)
            lands << addLandWithRows(i);
        // The register refuses to delete the third land's transfer row, the last statement of its change.
        const QString refused = lands.at(2);
        if (test::backend() == test::Backend::PostgreSQL) {
            execRaw(QStringLiteral("CREATE FUNCTION refuse_one() RETURNS trigger AS $$ BEGIN IF OLD.land_srno = '")
                + refused
                + QStringLiteral("' THEN RAISE EXCEPTION 'transfer kept'; END IF; RETURN OLD; END $$ "
                                 "LANGUAGE plpgsql"));
            execRaw(QStringLiteral("CREATE TRIGGER refuse_one BEFORE DELETE ON land_pewarima FOR EACH ROW EXECUTE "
                                   "FUNCTION refuse_one()"));
        } else {
            execRaw(QStringLiteral("CREATE TRIGGER refuse_one BEFORE DELETE ON land_pewarima WHEN OLD.land_srno = '")
                + refused + QStringLiteral("' BEGIN SELECT RAISE(ABORT, 'transfer kept'); END"));
        }
        frmdelect_all *s = openScreen();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdyes")).press(QStringLiteral("OK"));
        QTest::mouseClick(s->cmdland, Qt::LeftButton);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(answers.name(1), QStringLiteral("failure"));
        QVERIFY(answers.text(1).contains(QStringLiteral("transfer kept")));

        QCOMPARE(rowsOf(lands.at(0)), 0);
        QCOMPARE(rowsOf(lands.at(1)), 0);
        QCOMPARE(rowsOf(refused), 4);
        QCOMPARE(rowsOf(lands.at(3)), 4);
        QCOMPARE(rowsOf(lands.at(4)), 4);
        QCOMPARE(s->pb1->value(), 2);
        QCOMPARE(test::listLines(s->lv),
            (QStringList {refused + QStringLiteral("|3"), lands.at(3) + QStringLiteral("|4"),
                lands.at(4) + QStringLiteral("|5")}));

        // Once the register lets go of it, pressing the button again deletes what is left.
        execRaw(QStringLiteral("DROP TRIGGER refuse_one")
            + (test::backend() == test::Backend::PostgreSQL ? QStringLiteral(" ON land_pewarima") : QString()));
        test::backTo(s);
        answers.press(QStringLiteral("cmdyes"));
        QTest::mouseClick(s->cmdland, Qt::LeftButton);
        QCOMPARE(answers.answered(), 3);
        for (const QString &land : lands)
            QCOMPARE(rowsOf(land), 0);
    }
};

QTEST_MAIN(tst_delect_all)
#include "tst_delect_all.moc"
