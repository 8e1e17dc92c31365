// The register's screens with a second workstation making the same change at the same moment: the
// number shown when the screen loaded and the checks made before the save are made again inside the
// locked change, so no division shares another's number or loses its villages, and no owner is
// deactivated while another workstation gives him a land.

#include "base/dbsession.h"
#include "registry/frmgamase_wasam.h"
#include "registry/frmlandoner.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/workstation.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace parcelon;
using namespace std::chrono_literals;

namespace {
const QString kInsertVillage
    = QStringLiteral("INSERT INTO gamasewa_wasama (srno, gama_wasama, gsrno, gama, username, date, time) "
                     "VALUES (?, ?, ?, ?, 'Other', '2026/12/10', '09:00:00')");

QStringList villagesOf(int srno)
{
    QStringList names;
    Query rows = db().select(
        QStringLiteral("SELECT gama FROM gamasewa_wasama WHERE srno = ? ORDER BY LENGTH(gsrno), gsrno"), {srno});
    while (rows.next())
        names << rows.value(0);
    return names;
}

// Runs the other workstation's change under the lock, and commits it only once this workstation's
// change is waiting for the lock (or, where the engine cannot show that, after a moment).
template <typename Change>
std::jthread otherSavesMeanwhile(QString &error, test::Signal &holding, test::Signal &clerkDone, Change change)
{
    return test::otherWorkstation(error, [&holding, &clerkDone, change](DbSession &session) {
        session.lockedChange([&] {
            change(session);
            holding.raise();
            test::waitForRival(session, clerkDone);
        });
    });
}
} // namespace

class tst_workstations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void init() { test::openDatabase(); }
    void cleanup()
    {
        QCOMPARE(test::closeAllWindows(), QStringList());
        test::destroyDatabase();
    }

    void divisionsSavedAtOnceKeepTheirOwnNumbersAndVillages()
    {
        frmgamase_wasam screen;
        test::showScreen(&screen);
        QCOMPARE(screen.labsrno->text(), QStringLiteral("1"));
        test::type(screen.txtgama, QStringLiteral("uykqjr"));
        test::enter(screen.txtgama);
        for (const QString &village : {QStringLiteral("r;akmqr"), QStringLiteral("ud;r")}) {
            test::type(screen.txtgam, village);
            test::enter(screen.txtgam);
        }

        // The other workstation saves its division, counted as number 1 too, while this clerk saves.
        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        {
            std::jthread other = otherSavesMeanwhile(otherError, holding, clerkDone, [](DbSession &session) {
                const int srno = session
                                     .scalar(QStringLiteral("SELECT COUNT(DISTINCT gama_wasama) FROM "
                                                            "gamasewa_wasama"))
                                     .toInt()
                    + 1;
                session.execute(
                    kInsertVillage, {srno, QStringLiteral("l=vd"), QStringLiteral("1"), QStringLiteral("kqjr")});
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(screen.cmdok, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(villagesOf(1), QStringList {QStringLiteral("kqjr")});
        QCOMPARE(villagesOf(2), (QStringList {QStringLiteral("r;akmqr"), QStringLiteral("ud;r")}));
        QCOMPARE(screen.labsrno->text(), QStringLiteral("3"));

        // Saving this clerk's division again unchanged leaves the other's villages alone.
        screen.lv_add();
        QCOMPARE(screen.lvgama_wasama->count(), 2);
        test::doubleClickRow(screen.lvgama_wasama, 1);
        QCOMPARE(screen.labsrno->text(), QStringLiteral("2"));
        QTest::mouseClick(screen.cmdok, Qt::LeftButton);
        QCOMPARE(villagesOf(1), QStringList {QStringLiteral("kqjr")});
        QCOMPARE(villagesOf(2), (QStringList {QStringLiteral("r;akmqr"), QStringLiteral("ud;r")}));
    }

    void aNameTakenMeanwhileIsRefused()
    {
        frmgamase_wasam screen;
        test::showScreen(&screen);
        test::type(screen.txtgama, QStringLiteral("uykqjr"));
        test::enter(screen.txtgama);
        test::type(screen.txtgam, QStringLiteral("r;akmqr"));
        test::enter(screen.txtgam);

        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        {
            std::jthread other = otherSavesMeanwhile(otherError, holding, clerkDone, [](DbSession &session) {
                session.execute(
                    kInsertVillage, {1, QStringLiteral("uykqjr"), QStringLiteral("1"), QStringLiteral("kqjr")});
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(screen.cmdok, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama")), 1);
        QCOMPARE(background(screen.txtgama), colours::attention);
        QCOMPARE(screen.lvgam->count(), 1); // the clerk's villages stay on screen to be saved under a new name
    }

    void anOwnerGivenALandMeanwhileIsNotDeactivated()
    {
        const QString owner = test::addOwner({.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("77")});
        frmlandoner screen;
        test::showScreen(&screen);
        test::typeInto(screen.txtid, QStringLiteral("123456789v"));
        test::enter(screen.txtid); // on to the household box: the owner loads
        QCOMPARE(screen.labno->text(), owner);
        QVERIFY(screen.cmddelete->isEnabled());

        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        {
            std::jthread other = otherSavesMeanwhile(otherError, holding, clerkDone, [owner](DbSession &session) {
                session.execute(QStringLiteral("INSERT INTO land (labn_owner_srno, balapa_no, chack) "
                                               "VALUES (?, '42', '1')"),
                    {owner});
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(screen.cmddelete, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage"));
        QCOMPARE(test::value(QStringLiteral("SELECT chak FROM landowner WHERE srno = ?"), {owner.toInt()}),
            QStringLiteral("1"));
    }
};

QTEST_MAIN(tst_workstations)
#include "tst_workstations.moc"
