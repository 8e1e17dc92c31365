// A clerk's morning from the main menu: a division with its villages is entered and renamed, a household
// of three is registered, each member is found again by identity number or through the household
// chooser, and one who holds no land is deactivated.

#include "base/dbsession.h"
#include "registry/frmgamase_wasam.h"
#include "registry/frmlandoner.h"
#include "registry/frmselect.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace parcelon;

namespace {

struct Member
{
    QString id;
    QString name;
};
const QList<Member> kHousehold = {{QStringLiteral("671234567v"), QStringLiteral("tÉ' tï' rKisxy")},
    {QStringLiteral("702345678v"), QStringLiteral("ksu,d rKisxy")},
    {QStringLiteral("951234567x"), QStringLiteral("iqks,a rKisxy")}};
} // namespace

class tst_registry_walk : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void init() { m_base.init(); }
    void cleanup() { m_base.cleanup(); }

    void divisionsAndAHouseholdFromTheMainMenu()
    {
        const QString chief
            = test::addUser(QStringLiteral("Chief"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        frmhome *home = m_base.home(chief, QStringLiteral("Chief"), true);

        test::ModalAnswers answers;
        answers.with([](QWidget *dialog) {
            auto *s = qobject_cast<frmgamase_wasam *>(dialog);
            QVERIFY(s);
            QCOMPARE(test::unaddressable(s), QStringList());
            test::type(s->txtgama, QStringLiteral("wkqrdOmqr"));
            test::enter(s->txtgama);
            for (const QString &village : {QStringLiteral("uyje,"), QStringLiteral("r;akmqr")}) {
                test::type(s->txtgam, village);
                test::enter(s->txtgam);
            }
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
            test::doubleClickRow(s->lvgama_wasama, 0);
            QVERIFY(s->txtgamiya_change->isVisible());
            test::type(s->txtgamiya_change, QStringLiteral("uykqjr"));
            QTest::mouseClick(s->cmdgamiya_change, Qt::LeftButton);
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        });
        QTest::mouseClick(home->cmdgama, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama"), QStringLiteral("srno = 1 AND gama_wasama = ?"),
                     {QStringLiteral("uykqjr")}),
            2);
        QCOMPARE(test::value(QStringLiteral("SELECT username FROM gamasewa_wasama WHERE gsrno = '2'")),
            QStringLiteral("Chief"));

        answers.with([](QWidget *dialog) {
            auto *s = qobject_cast<frmlandoner *>(dialog);
            QVERIFY(s);
            QCOMPARE(test::unaddressable(s), QStringList());
            for (const Member &member : kHousehold) {
                test::typeInto(s->txtid, member.id);
                QTest::keyClick(s->txtid, Qt::Key_Tab);
                QCOMPARE(s->labsakiya->text(), QStringLiteral("kj"));
                test::typeInto(s->txtguhano, QStringLiteral("45"));
                test::typeInto(s->txtlandname, member.name);
                test::choose(s->cmbgamiya, QStringLiteral("1 - uykqjr"));
                test::choose(s->cmbgama, QStringLiteral("2 - r;akmqr"));
                QTest::mouseClick(s->cmdok, Qt::LeftButton);
                QVERIFY(s->txtid->text().isEmpty());
            }
            // Found again by identity number.
            test::typeInto(s->txtid, kHousehold[1].id);
            QTest::keyClick(s->txtid, Qt::Key_Tab);
            QCOMPARE(s->txtlandname->text(), kHousehold[1].name);
            QCOMPARE(s->txtguhano->text(), QStringLiteral("45"));

            // Found through the household: the chooser lists the three, the clerk picks the third.
            QTest::mouseClick(s->cmdnew, Qt::LeftButton);
            test::typeInto(s->txtguhano, QStringLiteral("45"));
            test::enter(s->txtguhano);
            QCOMPARE(s->txtlandname->text(), kHousehold[2].name);
            QCOMPARE(s->txtid->text(), kHousehold[2].id);
            QTest::mouseClick(s->cmddelete, Qt::LeftButton);
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        });
        answers.with([](QWidget *dialog) {
            auto *chooser = qobject_cast<frmselect *>(dialog);
            QVERIFY(chooser);
            QCOMPARE(test::unaddressable(chooser), QStringList());
            QCOMPARE(chooser->lv->count(), 3);
            chooser->lv->selectRow(2);
            QTest::mouseClick(chooser->cmdok, Qt::LeftButton);
        });
        QTest::mouseClick(home->cmdlandowner, Qt::LeftButton);
        QCOMPARE(answers.answered(), 3);
        QVERIFY(answers.allAnswered());

        QCOMPARE(test::count(QStringLiteral("landowner"), QStringLiteral("house_no = '45'")), 3);
        QCOMPARE(test::count(QStringLiteral("landowner1"), QStringLiteral("house_no = '45'")), 2);
        QCOMPARE(test::value(QStringLiteral("SELECT chak FROM landowner WHERE id = ?"), {kHousehold[2].id}),
            QStringLiteral("0"));
        QCOMPARE(test::value(QStringLiteral("SELECT gama FROM landowner WHERE id = ?"), {kHousehold[0].id}),
            QStringLiteral("2 - r;akmqr"));
        QCOMPARE(test::value(QStringLiteral("SELECT username FROM landowner WHERE id = ?"), {kHousehold[0].id}),
            QStringLiteral("Chief"));
    }
};

QTEST_MAIN(tst_registry_walk)
#include "tst_registry_walk.moc"
