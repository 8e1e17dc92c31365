// The number a new land really receives at the land register's save: the boundaries typed before the
// save go to it whatever was saved in between, two workstations save lands without a permit number at the
// same time, and a number a rollback used up misnumbers nothing.

#include "base/dbsession.h"
#include "landsavetest.h"
#include "support/modal.h"
#include "support/workstation.h"
#include "ui/screenregistry.h"

#include <QPushButton>

using namespace parcelon;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class tst_land_save_numbering : public test::LandSaveTest
{
    Q_OBJECT

    // Types the boundaries of the land being entered in the boundaries screen, as the clerk does.
    static void enterBoundaries(frmland *s, const QString &north)
    {
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            test::typeInto(dialog->findChild<QLineEdit *>(QStringLiteral("txtuthura")), north);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdok")), Qt::LeftButton);
        });
        QTest::mouseClick(s->cmdsathara, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

    // Boundaries typed before the save are written by the save, under the number the land really
    // received, whatever another workstation or program did in between.
    void boundariesGoToTheSavedLand_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("as shown") << QString();
        QTest::newRow("another land saved in between") << u"INSERT INTO land (balapa_no, chack) VALUES ('900', '1')"_s;
        QTest::newRow("an outside row for the shown number and permit")
            << u"INSERT INTO hathara_maym (landsrno, landno, uthuru) VALUES ('2', '501', 'wka')"_s;
    }
    void boundariesGoToTheSavedLand()
    {
        QFETCH(QString, meanwhile);
        test::addLand({.balapa_no = QStringLiteral("1")});
        frmland *s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
        fillLand(s, QStringLiteral("501"));
        enterBoundaries(s, QStringLiteral("we,"));
        QCOMPARE(test::count(QStringLiteral("hathara_maym")), 0);
        if (!meanwhile.isEmpty())
            test::exec(meanwhile);
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);

        const QString real = land(QStringLiteral("srno"), QStringLiteral("501"));
        QCOMPARE(real, meanwhile.contains(u"'900'"_s) ? QStringLiteral("3") : QStringLiteral("2"));
        QCOMPARE(test::value(QStringLiteral("SELECT landno || '|' || landno1 || '|' || uthuru FROM hathara_maym "
                                            "WHERE landsrno = ? AND uthuru = 'we,'"),
                     {real}),
            u"501|"_s + kTaxPermit + u"|we,"_s);
        // An outside row stays as it was; nothing else is written.
        QCOMPARE(test::count(QStringLiteral("hathara_maym")), meanwhile.contains(u"hathara"_s) ? 2 : 1);
        if (meanwhile.contains(u"hathara"_s))
            QCOMPARE(test::value(QStringLiteral("SELECT landsrno FROM hathara_maym WHERE uthuru = 'wka'")), u"2"_s);
        QCOMPARE(s->labno->text(), QString::number(real.toInt() + 1));

        // The next land starts without boundaries.
        fillLand(s, QStringLiteral("502"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("hathara_maym"), QStringLiteral("landno = '502'")), 0);
    }

    void twoWorkstationsSaveUnnumberedLands()
    {
        frmland *s = openScreen();
        test::choose(s->cmblandno, kUnnumbered);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("w - 1"));
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);

        // The other workstation saves its own land without a number, numbered from the same highest
        // land, and holds the lock while this clerk saves.
        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        {
            std::jthread other = test::otherWorkstation(otherError, [&](DbSession &session) {
                session.lockedChange([&] {
                    const int next
                        = session.scalar(QStringLiteral("SELECT COALESCE(MAX(srno), 0) + 1 FROM land")).toInt();
                    session.execute(
                        QStringLiteral("INSERT INTO land (balapa_no1, balapa_no, chack) VALUES (?, ?, '1')"),
                        {kUnnumbered, QStringLiteral("w - ") + QString::number(next)});
                    holding.raise();
                    test::waitForRival(session, clerkDone);
                });
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(test::count(QStringLiteral("land")), 2);
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("balapa_no = 'w - 1'")), 1);
        // The clerk's land carries the number it really received.
        QCOMPARE(test::value(QStringLiteral("SELECT srno FROM land WHERE balapa_no = 'w - 2'")), QStringLiteral("2"));
        QCOMPARE(land(QStringLiteral("akkara_only"), QStringLiteral("w - 2")), QStringLiteral("2.4752"));
        QCOMPARE(s->labno->text(), QStringLiteral("3"));
        // The reset opens the permit box again for the next land's own number.
        QVERIFY(s->txtlandno->isEnabled());
        QCOMPARE(s->txtlandno->text(), QString());
        QCOMPARE(s->cmblandno->currentIndex(), 0);
    }

    // Two workstations enter lands without a permit number at once: both screens show the same "w - n"
    // and the same expected land number, and each land keeps its own boundaries.
    void twoWorkstationsKeepTheirOwnBoundaries()
    {
        frmland *s = openScreen();
        test::choose(s->cmblandno, kUnnumbered);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("w - 1"));
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);
        enterBoundaries(s, QStringLiteral("mine"));

        // The other workstation saves its own land "w - 1" with its boundaries while this clerk saves.
        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        {
            std::jthread other = test::otherWorkstation(otherError, [&](DbSession &session) {
                session.lockedChange([&] {
                    const qlonglong srno = session.insert(QStringLiteral("land"),
                        QStringLiteral("INSERT INTO land (balapa_no1, balapa_no, chack) VALUES (?, 'w - 1', '1')"),
                        {kUnnumbered});
                    session.execute(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno, uthuru) "
                                                   "VALUES (?, 'w - 1', 'theirs')"),
                        {QString::number(srno)});
                    holding.raise();
                    test::waitForRival(session, clerkDone);
                });
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(land(QStringLiteral("srno"), QStringLiteral("w - 1")), QStringLiteral("1"));
        QCOMPARE(land(QStringLiteral("srno"), QStringLiteral("w - 2")), QStringLiteral("2"));
        QCOMPARE(
            test::value(QStringLiteral("SELECT landsrno || '|' || landno FROM hathara_maym WHERE uthuru = 'theirs'")),
            QStringLiteral("1|w - 1"));
        QCOMPARE(
            test::value(QStringLiteral("SELECT landsrno || '|' || landno FROM hathara_maym WHERE uthuru = 'mine'")),
            QStringLiteral("2|w - 2"));
        QCOMPARE(test::count(QStringLiteral("hathara_maym")), 2);
    }

    // On PostgreSQL a change rolled back still uses up the number the database would have given its land,
    // so the next land's srno runs ahead of the highest land: its generated number and its boundaries
    // follow the srno it really received.
    void aNumberUsedUpByARollbackMisnumbersNothing()
    {
        test::addLand({.balapa_no = QStringLiteral("1")});
        db().executeUnprepared(QStringLiteral("BEGIN"));
        test::exec(QStringLiteral("INSERT INTO land (balapa_no, chack) VALUES ('gone', '1')"));
        db().executeUnprepared(QStringLiteral("ROLLBACK"));
        frmland *s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("2")); // a hint: the next number after the highest land
        test::choose(s->cmblandno, kUnnumbered);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("w - 2"));
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);
        enterBoundaries(s, QStringLiteral("we,"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);

        const QString srno = test::value(QStringLiteral("SELECT MAX(srno) FROM land"));
        if (test::backend() == test::Backend::PostgreSQL)
            QCOMPARE(srno, QStringLiteral("3"));
        QCOMPARE(land(QStringLiteral("srno"), u"w - "_s + srno), srno);
        QCOMPARE(test::value(QStringLiteral("SELECT landsrno || '|' || landno FROM hathara_maym")),
            srno + u"|w - "_s + srno);
    }
};

QTEST_MAIN(tst_land_save_numbering)
#include "tst_land_save_numbering.moc"
