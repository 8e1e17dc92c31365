// The GN division screen as a clerk meets it: a new division typed with its villages, a division opened,
// changed and renamed, refused saves and names, and the view-only user.

#include "base/dbsession.h"
#include "registry/frmgamase_wasam.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kNewMode = QStringLiteral("we;=,a lsÍu");
const QString kChangeMode = QStringLiteral("fjkia lsÍu");
const QColor kYellow {255, 255, 192};
const QColor kGreen {192, 255, 192};
const QColor kRed {255, 0, 0};

// The stored villages of a division, as number|name in the order they were written.
QStringList storedVillages(int srno)
{
    QStringList out;
    Query rows = db().select(QStringLiteral("SELECT gsrno, gama FROM gamasewa_wasama WHERE srno = ?"), {srno});
    while (rows.next())
        out << rows.value(0) + QLatin1Char('|') + rows.value(1);
    return out;
}

QString storedName(int srno)
{
    return test::value(QStringLiteral("SELECT DISTINCT gama_wasama FROM gamasewa_wasama WHERE srno = ?"), {srno});
}

// Runs SQL that the session's prepared statements cannot carry (trigger definitions).
void execRaw(const QString &sql)
{
    QSqlQuery query(db().database());
    QVERIFY2(query.exec(sql), qPrintable(sql));
}
} // namespace

class tst_gamasewa : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmgamase_wasam> m_screen;
    QString m_user;

    frmgamase_wasam *openScreen(const QString &userSrno)
    {
        m_home->labuser_srno->setText(userSrno);
        m_screen = std::make_unique<frmgamase_wasam>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }
    frmgamase_wasam *openScreen() { return openScreen(m_user); }

    QWidget *focus() const { return m_screen->focusWidget(); }

    // The keyboard flow of a new division: name, Enter, each village and Enter, Enter to the save button.
    void typeDivision(frmgamase_wasam *s, const QString &name, const QStringList &villages)
    {
        test::type(s->txtgama, name);
        test::enter(s->txtgama);
        for (const QString &village : villages) {
            test::type(focus(), village);
            test::enter(focus());
        }
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_user = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        m_home = m_base.home(m_user);
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    void firstDivisionAndFirstVillageAreNumberedOne()
    {
        frmgamase_wasam *s = openScreen();
        QCOMPARE(s->labsrno->text(), QStringLiteral("1"));
        QCOMPARE(s->cmdok->text(), kNewMode);
        QVERIFY(!s->txtgam->isEnabled());
        QCOMPARE(background(s->txtgam), kGreen);

        test::type(s->txtgama, QStringLiteral("uy;a"));
        QVERIFY(s->txtgam->isEnabled());
        QCOMPARE(background(s->txtgam), kYellow);
        test::enter(s->txtgama);
        QCOMPARE(s->labgsrno->text(), QStringLiteral("1"));
        QCOMPARE(focus(), s->txtgam);
        test::type(s->txtgam, QStringLiteral("ne;a"));
        test::enter(s->txtgam);
        QCOMPARE(test::listLines(s->lvgam), QStringList {QStringLiteral("1|ne;a")});
        QCOMPARE(s->labgsrno->text(), QStringLiteral("2"));
        QCOMPARE(s->labiv->text(), QStringLiteral("1"));
        QVERIFY(!s->txtgama->isEnabled()); // the name of a list holding villages is kept
        test::enter(s->txtgam); // empty: on to the save button
        QCOMPARE(focus(), s->cmdok);
        test::enter(s->cmdok);

        Query row = db().select(
            QStringLiteral("SELECT srno, gama_wasama, gsrno, gama, username, date, time FROM gamasewa_wasama"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0), QStringLiteral("1"));
        QCOMPARE(row.value(1), QStringLiteral("uy;a"));
        QCOMPARE(row.value(2), QStringLiteral("1"));
        QCOMPARE(row.value(3), QStringLiteral("ne;a"));
        QCOMPARE(row.value(4), QStringLiteral("Nimal"));
        QCOMPARE(row.value(5), test::kStampDate);
        QCOMPARE(row.value(6), test::kStampTime);
        QVERIFY(!row.next());

        // Ready for the next division.
        QCOMPARE(test::listLines(s->lvgama_wasama), QStringList {QStringLiteral("1|uy;a")});
        QCOMPARE(s->labsrno->text(), QStringLiteral("2"));
        QCOMPARE(s->lvgam->count(), 0);
        QCOMPARE(s->labiv->text(), QStringLiteral("0"));
        QVERIFY(s->txtgama->text().isEmpty());
        QVERIFY(s->txtgama->isEnabled());
        QCOMPARE(s->cmdok->text(), kNewMode);
    }

    void villageTakenOutGoesBackWithItsNumber()
    {
        frmgamase_wasam *s = openScreen();
        typeDivision(s, QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        test::doubleClickRow(s->lvgam, 0);
        QCOMPARE(s->txtgam->text(), QStringLiteral("a"));
        QCOMPARE(s->txtgam->selectedText(), QStringLiteral("a"));
        QCOMPARE(focus(), s->txtgam);
        QCOMPARE(s->labgsrno->text(), QStringLiteral("1"));
        QVERIFY(!s->lvgam->isEnabled());
        QVERIFY(!s->lvgama_wasama->isEnabled());
        test::type(s->txtgam, QStringLiteral("A")); // typing replaces the selected name
        test::enter(s->txtgam);
        QCOMPARE(test::listLines(s->lvgam),
            (QStringList {QStringLiteral("2|b"), QStringLiteral("3|c"), QStringLiteral("1|A")}));
        QCOMPARE(s->labgsrno->text(), QStringLiteral("4"));
        QVERIFY(s->lvgam->isEnabled());
        QVERIFY(s->lvgama_wasama->isEnabled());
    }

    void droppedVillageFreesBothLists_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter on the emptied box") << "enter";
        QTest::newRow("saved without it") << "save";
        QTest::newRow("list started anew") << "new";
    }
    void droppedVillageFreesBothLists()
    {
        QFETCH(QString, how);
        frmgamase_wasam *s = openScreen();
        typeDivision(s, QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b")});
        test::doubleClickRow(s->lvgam, 1);
        QVERIFY(!s->lvgam->isEnabled() && !s->lvgama_wasama->isEnabled());
        QTest::keyClick(s->txtgam, Qt::Key_Backspace);
        if (how == QLatin1String("enter")) {
            test::enter(s->txtgam);
            QCOMPARE(focus(), s->cmdok);
            QCOMPARE(test::listLines(s->lvgam), QStringList {QStringLiteral("1|a")});
        } else if (how == QLatin1String("save")) {
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
            QCOMPARE(storedVillages(1), QStringList {QStringLiteral("1|a")});
        } else {
            QTest::mouseClick(s->cmdnew, Qt::LeftButton);
            QCOMPARE(s->lvgam->count(), 0);
        }
        QVERIFY(s->lvgam->isEnabled());
        QVERIFY(s->lvgama_wasama->isEnabled());
    }

    void removedSecondVillageLeavesNumbersOneAndThree()
    {
        frmgamase_wasam *s = openScreen();
        typeDivision(s, QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        test::doubleClickRow(s->lvgam, 1);
        QCOMPARE(s->txtgam->text(), QStringLiteral("b"));
        QTest::keyClick(s->txtgam, Qt::Key_Backspace);
        test::enter(s->txtgam); // an emptied box drops the village
        QCOMPARE(focus(), s->cmdok);
        test::enter(s->cmdok);
        QCOMPARE(storedVillages(1), (QStringList {QStringLiteral("1|a"), QStringLiteral("3|c")}));

        test::clickRow(s->lvgama_wasama, 0);
        test::doubleClickRow(s->lvgama_wasama, 0);
        QCOMPARE(s->cmdok->text(), kChangeMode);
        QCOMPARE(s->labsrno->text(), QStringLiteral("1"));
        QCOMPARE(test::listLines(s->lvgam), (QStringList {QStringLiteral("1|a"), QStringLiteral("3|c")}));
        // The next number is the count of the list plus one: 3 again.
        QCOMPARE(s->labgsrno->text(), QStringLiteral("3"));
        test::type(s->txtgam, QStringLiteral("d"));
        test::enter(s->txtgam);
        test::enter(s->txtgam);
        test::enter(s->cmdok);
        QCOMPARE(
            storedVillages(1), (QStringList {QStringLiteral("1|a"), QStringLiteral("3|c"), QStringLiteral("3|d")}));
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 3);
        QCOMPARE(s->lvgama_wasama->count(), 1);
        QCOMPARE(s->labsrno->text(), QStringLiteral("2"));
        QCOMPARE(s->cmdok->text(), kNewMode);
    }

    void newDivisionByTabFromTheName()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a")}, 1);
        frmgamase_wasam *s = openScreen();
        test::doubleClickRow(s->lvgama_wasama, 0);
        QTest::mouseClick(s->cmdnew, Qt::LeftButton);
        QCOMPARE(s->cmdok->text(), kNewMode);
        QCOMPARE(s->labsrno->text(), QStringLiteral("2"));
        QCOMPARE(s->lvgam->count(), 0);
        QVERIFY(s->txtgama->text().isEmpty());
        QVERIFY(s->labgsrno->text().isEmpty());
        QCOMPARE(focus(), s->txtgama);

        test::type(s->txtgama, QStringLiteral("ks,"));
        // The rename box of the division opened before stays until a rename or a village double click.
        QVERIFY(s->txtgamiya_change->isVisible());
        const QList<QWidget *> tabOrder {s->txtgam, s->cmdok, s->cmdexit, s->lvgama_wasama, s->lvgam,
            s->txtgamiya_change, s->cmdgamiya_change, s->cmdnew, s->txtgama};
        for (QWidget *next : tabOrder) {
            QTest::keyClick(focus(), Qt::Key_Tab);
            QCOMPARE(focus(), next);
        }
        // Reached without Enter in the name box, the first village is still number 1.
        QTest::keyClick(focus(), Qt::Key_Tab);
        test::type(focus(), QStringLiteral("p"));
        test::enter(focus());
        QCOMPARE(test::listLines(s->lvgam), QStringList {QStringLiteral("1|p")});
        QCOMPARE(s->labgsrno->text(), QStringLiteral("2"));
    }

    void saveRefusedWhileVillageBoxHoldsText()
    {
        frmgamase_wasam *s = openScreen();
        QTest::mouseClick(s->cmdok, Qt::LeftButton); // an empty working list: nothing happens
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 0);
        QCOMPARE(s->labsrno->text(), QStringLiteral("1"));
        QCOMPARE(background(s->txtgam), kGreen);

        typeDivision(s, QStringLiteral("uy;a"), {QStringLiteral("a")});
        test::type(s->txtgam, QStringLiteral("b"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 0);
        QCOMPARE(background(s->txtgam), kRed);
        QCOMPARE(s->lvgam->count(), 1);

        test::enter(s->txtgam);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(storedVillages(1), (QStringList {QStringLiteral("1|a"), QStringLiteral("2|b")}));
    }

    void typingDivisionNameEmptiesWorkingList()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b")}, 1);
        frmgamase_wasam *s = openScreen();
        test::clickRow(s->lvgama_wasama, 0);
        QCOMPARE(test::listLines(s->lvgam), (QStringList {QStringLiteral("1|a"), QStringLiteral("2|b")}));
        test::type(s->txtgama, QStringLiteral("k"));
        QCOMPARE(s->lvgam->count(), 0);
        QCOMPARE(s->txtgama->text(), QStringLiteral("k"));
        QCOMPARE(s->labiv->text(), QStringLiteral("0"));
    }

    void saveRefusedWithoutDivisionName()
    {
        // Villages of a division merely looked at are not saved again as a nameless new division.
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b")}, 1);
        frmgamase_wasam *s = openScreen();
        test::clickRow(s->lvgama_wasama, 0);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 2);
        QCOMPARE(background(s->txtgama), kRed);
        test::type(s->txtgama, QStringLiteral("x"));
        QCOMPARE(background(s->txtgama), kYellow);
    }

    void renameKeepsNumberAndVillages()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a")}, 1);
        test::addDivision(QStringLiteral("ks,"), {QStringLiteral("p"), QStringLiteral("q")}, 2);
        frmgamase_wasam *s = openScreen();
        QCOMPARE(s->labsrno->text(), QStringLiteral("3"));
        QVERIFY(s->txtgamiya_change->isHidden());
        test::doubleClickRow(s->lvgama_wasama, 1);
        QVERIFY(s->txtgamiya_change->isVisible());
        QVERIFY(s->cmdgamiya_change->isVisible());
        QCOMPARE(focus(), s->txtgamiya_change);
        QCOMPARE(s->txtgamiya_change->selectedText(), QStringLiteral("ks,"));
        QCOMPARE(s->txtgama->text(), QStringLiteral("ks,"));
        QCOMPARE(s->labsrno->text(), QStringLiteral("2"));
        QCOMPARE(s->labiv->text(), QStringLiteral("2"));

        test::type(s->txtgamiya_change, QStringLiteral("kq.r"));
        QTest::mouseClick(s->cmdgamiya_change, Qt::LeftButton);
        QCOMPARE(storedName(2), QStringLiteral("kq.r"));
        QCOMPARE(storedVillages(2), (QStringList {QStringLiteral("1|p"), QStringLiteral("2|q")}));
        QCOMPARE(storedName(1), QStringLiteral("uy;a"));
        QCOMPARE(test::listLines(s->lvgama_wasama), (QStringList {QStringLiteral("1|uy;a"), QStringLiteral("2|kq.r")}));
        QVERIFY(s->txtgamiya_change->isHidden());
        QVERIFY(s->cmdgamiya_change->isHidden());
        QCOMPARE(s->labsrno->text(), QStringLiteral("3"));
        QCOMPARE(s->lvgam->count(), 0);
        QVERIFY(s->txtgama->text().isEmpty());
        QVERIFY(s->txtgama->isEnabled());
        QCOMPARE(focus(), s->txtgama);
    }

    void clickingAnotherDivisionEndsTheChange()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b")}, 1);
        test::addDivision(QStringLiteral("ks,"), {QStringLiteral("p")}, 2);
        frmgamase_wasam *s = openScreen();
        test::doubleClickRow(s->lvgama_wasama, 0);
        QCOMPARE(s->cmdok->text(), kChangeMode);
        test::clickRow(s->lvgama_wasama, 1); // only looking at the other division
        QCOMPARE(test::listLines(s->lvgam), QStringList {QStringLiteral("1|p")});
        QCOMPARE(s->cmdok->text(), kNewMode);
        QCOMPARE(s->labsrno->text(), QStringLiteral("3"));
        QVERIFY(s->txtgamiya_change->isHidden());
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(storedVillages(1), (QStringList {QStringLiteral("1|a"), QStringLiteral("2|b")}));
        QCOMPARE(storedVillages(2), QStringList {QStringLiteral("1|p")});
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 3);
    }

    void saveRefusesNameOfAnotherDivision()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a")}, 1);
        frmgamase_wasam *s = openScreen();
        typeDivision(s, QStringLiteral("uy;a"), {QStringLiteral("v")});
        test::enter(s->cmdok);
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 1);
        QCOMPARE(storedVillages(1), QStringList {QStringLiteral("1|a")});
        QCOMPARE(background(s->txtgama), kRed);
        QCOMPARE(s->lvgam->count(), 1);
        QCOMPARE(s->labsrno->text(), QStringLiteral("2"));
    }

    void renameRefusesNameOfAnotherDivision()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a")}, 1);
        test::addDivision(QStringLiteral("ks,"), {QStringLiteral("p")}, 2);
        frmgamase_wasam *s = openScreen();
        test::doubleClickRow(s->lvgama_wasama, 1);
        test::type(s->txtgamiya_change, QStringLiteral("uy;a"));
        QTest::mouseClick(s->cmdgamiya_change, Qt::LeftButton);
        QCOMPARE(storedName(2), QStringLiteral("ks,"));
        QCOMPARE(background(s->txtgamiya_change), kRed);
        QVERIFY(s->txtgamiya_change->isVisible());

        // A division may keep its own name.
        s->txtgamiya_change->selectAll();
        test::type(s->txtgamiya_change, QStringLiteral("ks,"));
        QCOMPARE(background(s->txtgamiya_change), kYellow);
        QTest::mouseClick(s->cmdgamiya_change, Qt::LeftButton);
        QVERIFY(s->txtgamiya_change->isHidden());
        QCOMPARE(storedName(2), QStringLiteral("ks,"));
    }

    void viewOnlyUserBrowsesButNeitherSavesNorRenames_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("writes");
        QTest::newRow("2 - view only") << "2 - ne,su muKhs" << false;
        QTest::newRow("3 - all") << "3 - we;=,a lsrsu muKs" << true;
        QTest::newRow("4 - all") << "4 - ish¨ wjir" << true;
    }
    void viewOnlyUserBrowsesButNeitherSavesNorRenames()
    {
        QFETCH(QString, level);
        QFETCH(bool, writes);
        const QString all = QStringLiteral("4 - ish¨ wjir");
        const QString user
            = test::addUser(QStringLiteral("Sunil"), QStringLiteral("p"), {all, all, all, all, level, all});
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b")}, 1);
        frmgamase_wasam *s = openScreen(user);
        QCOMPARE(s->cmdok->isEnabled(), writes);
        test::doubleClickRow(s->lvgama_wasama, 0);
        QCOMPARE(s->lvgam->count(), 2);
        QVERIFY(s->cmdgamiya_change->isVisible());
        QCOMPARE(s->cmdgamiya_change->isEnabled(), writes);
        QVERIFY(s->cmdnew->isEnabled());
        QVERIFY(s->cmdexit->isEnabled());
    }

    void namesAreStoredAsTyped_data()
    {
        QTest::addColumn<QString>("division");
        QTest::addColumn<QString>("village");
        QTest::newRow("quotes") << QStringLiteral("O'Neil \"uy;a\"") << QStringLiteral("ne;a'');--");
        QTest::newRow("legacy text") << QStringLiteral(".%dñh jiï ßÍú") << QStringLiteral("ñ¨Èú");
    }
    void namesAreStoredAsTyped()
    {
        QFETCH(QString, division);
        QFETCH(QString, village);
        frmgamase_wasam *s = openScreen();
        typeDivision(s, division, {village});
        test::enter(s->cmdok);
        QCOMPARE(storedName(1), division);
        QCOMPARE(storedVillages(1), QStringList {QStringLiteral("1|") + village});
        QCOMPARE(test::listLines(s->lvgama_wasama), QStringList {QStringLiteral("1|") + division});
        test::clickRow(s->lvgama_wasama, 0); // the villages are found by the division's name
        QCOMPARE(test::listLines(s->lvgam), QStringList {QStringLiteral("1|") + village});
    }

    void columnClickSortsVillagesAscending()
    {
        frmgamase_wasam *s = openScreen();
        typeDivision(s, QStringLiteral("uy;a"), {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")});
        test::clickColumn(s->lvgam, 1);
        QCOMPARE(test::listLines(s->lvgam),
            (QStringList {QStringLiteral("2|a"), QStringLiteral("3|b"), QStringLiteral("1|c")}));
        test::clickColumn(s->lvgam, 1); // ascending again, never reversed
        QCOMPARE(test::listLines(s->lvgam),
            (QStringList {QStringLiteral("2|a"), QStringLiteral("3|b"), QStringLiteral("1|c")}));
        test::clickColumn(s->lvgam, 0);
        QCOMPARE(test::listLines(s->lvgam),
            (QStringList {QStringLiteral("1|c"), QStringLiteral("2|a"), QStringLiteral("3|b")}));
    }

    void changedDivisionIsReplacedWholeOrNotAtAll()
    {
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("a"), QStringLiteral("b")}, 1);
        // The register refuses one village name, so the save fails after its delete and first insert.
        if (test::backend() == test::Backend::PostgreSQL) {
            execRaw(QStringLiteral("CREATE FUNCTION refuse_bad() RETURNS trigger AS $$ BEGIN IF NEW.gama = 'bad' "
                                   "THEN RAISE EXCEPTION 'village refused'; END IF; RETURN NEW; END $$ "
                                   "LANGUAGE plpgsql"));
            execRaw(QStringLiteral("CREATE TRIGGER refuse_bad BEFORE INSERT ON gamasewa_wasama FOR EACH ROW EXECUTE "
                                   "FUNCTION refuse_bad()"));
        } else {
            execRaw(QStringLiteral("CREATE TRIGGER refuse_bad BEFORE INSERT ON gamasewa_wasama WHEN NEW.gama = 'bad' "
                                   "BEGIN SELECT RAISE(ABORT, 'village refused'); END"));
        }
        frmgamase_wasam *s = openScreen();
        test::doubleClickRow(s->lvgama_wasama, 0);
        test::doubleClickRow(s->lvgam, 0); // village a becomes "bad" and goes last: the delete and b go first
        test::type(s->txtgam, QStringLiteral("bad"));
        test::enter(s->txtgam);
        QCOMPARE(test::listLines(s->lvgam), (QStringList {QStringLiteral("2|b"), QStringLiteral("1|bad")}));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QVERIFY(answers.text().contains(QStringLiteral("village refused")));
        QCOMPARE(storedVillages(1), (QStringList {QStringLiteral("1|a"), QStringLiteral("2|b")}));
        // The screen stays as it was, the working list ready to be corrected.
        QCOMPARE(s->lvgam->count(), 2);
        QCOMPARE(s->cmdok->text(), kChangeMode);
    }

    void villagesShowInTheirNumberedOrder()
    {
        // Eleven villages, and the first one's row written anew (its division renamed away and back):
        // PostgreSQL then keeps that row last, and the numbers compared as text put 10 and 11 before 2.
        QStringList villages;
        for (int i = 1; i <= 11; ++i)
            villages << QStringLiteral("gm%1").arg(i);
        test::addDivision(QStringLiteral("uy;a"), villages, 1);
        test::exec(QStringLiteral("UPDATE gamasewa_wasama SET gama_wasama = 'x' WHERE gsrno = '1'"));
        test::exec(QStringLiteral("UPDATE gamasewa_wasama SET gama_wasama = 'uy;a' WHERE gsrno = '1'"));
        frmgamase_wasam *s = openScreen();
        test::clickRow(s->lvgama_wasama, 0);
        QStringList expected;
        for (int i = 1; i <= 11; ++i)
            expected << QStringLiteral("%1|gm%1").arg(i);
        QCOMPARE(test::listLines(s->lvgam), expected);
    }

    void aNewDivisionNeverTakesAStoredDivisionsNumber()
    {
        // One division name, stored under number 2: the count rule offers 2, which is taken.
        test::addDivision(QStringLiteral("uy;a"), {QStringLiteral("ne;a")}, 2);
        frmgamase_wasam *s = openScreen();
        QCOMPARE(s->labsrno->text(), QStringLiteral("3"));
        typeDivision(s, QStringLiteral("l=vd"), {QStringLiteral("ud;r")});
        test::enter(focus()); // the empty village box: on to the save button
        test::enter(s->cmdok);
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama"), QStringLiteral("srno = 2")), 1);
        QCOMPARE(storedName(3), QStringLiteral("l=vd"));
    }
};

QTEST_MAIN(tst_gamasewa)
#include "tst_gamasewa.moc"
