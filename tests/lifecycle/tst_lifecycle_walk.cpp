// A clerk follows a land's life from the main menu: finds it through the land search and gives it a new
// permit (its old number stays in its history), passes part of its extent from another land, divides
// that other land, and passes the land to a successor.

#include "lifecycle/frmland_change.h"
#include "lifecycle/frmland_pewarima.h"
#include "lifecycle/frmland_search.h"
#include "lifecycle/frmpasuhimika_change.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace parcelon;

namespace {
const QString kTitle = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kDeed = QStringLiteral("wjirm;% wxlh");
} // namespace

class tst_lifecycle_walk : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void init() { m_base.init(); }
    void cleanup() { m_base.cleanup(); }

    void aLandsLifeFromTheMainMenu()
    {
        const QString holder = test::addOwner({.id = QStringLiteral("671234567v"), .house_no = QStringLiteral("45")});
        const QString heir = test::addOwner({.id = QStringLiteral("912345678v"),
            .house_no = QStringLiteral("46"),
            .land_owner_name = QStringLiteral("ksu,a")});
        // The land whose life is followed: 3 acres 2 roods under permit 125, with its boundaries; and the
        // land that takes 1 acre 1 rood of it, under permit 200.
        const QString land = test::addLand({.id = QStringLiteral("671234567v"),
            .guhasth = QStringLiteral("45"),
            .labn_owner_srno = holder,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("125"),
            .akkara1 = QStringLiteral("2 - wlalr"),
            .akkara = QStringLiteral("3"),
            .rut = QStringLiteral("2"),
            .parchase = QStringLiteral("0"),
            .akkara_only = QStringLiteral("3.5")});
        const QString other = test::addLand({.id = QStringLiteral("671234567v"),
            .guhasth = QStringLiteral("45"),
            .labn_owner_srno = holder,
            .balapa_no1 = kDeed,
            .balapa_no = QStringLiteral("200"),
            .akkara1 = QStringLiteral("2 - wlalr"),
            .akkara = QStringLiteral("1"),
            .rut = QStringLiteral("1"),
            .parchase = QStringLiteral("0"),
            .akkara_only = QStringLiteral("1.25")});
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                                  "naganahira) VALUES (?, ?, '125', 'ol=K', 'W;=r', 'ngysr', 'kef.kysr')"),
            {land, kTitle});
        const QString chief
            = test::addUser(QStringLiteral("Chief"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        frmhome *home = m_base.home(chief, QStringLiteral("Chief"), true);

        // 1. The permit: the land found by its number in the land search, then given permit 300.
        test::ModalAnswers change;
        change.with([](QWidget *dialog) {
            auto *s = qobject_cast<frmland_change *>(dialog);
            QVERIFY(s);
            QTest::mouseClick(s->cmdfind, Qt::LeftButton);
            test::backTo(s);
            QCOMPARE(s->txtlandno1->text(), QStringLiteral("125"));
            QCOMPARE(s->labuthura->text(), QStringLiteral(" W;=r"));
            test::choose(s->cmblandno1, kDeed);
            test::typeInto(s->txtlandno, QStringLiteral("300"));
            QTest::keyClick(s->txtlandno, Qt::Key_Tab);
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QVERIFY(s->txtlandno1->text().isEmpty());
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        });
        change.with([](QWidget *dialog) {
            auto *search = qobject_cast<frmland_search *>(dialog);
            QVERIFY(search);
            test::choose(search->cmblandno, kTitle);
            test::typeInto(search->txtlandno, QStringLiteral("125"));
            QCOMPARE(test::listLines(search->lvland, {7}), QStringList {QStringLiteral("125")});
            test::clickRow(search->lvland, 0);
            QTest::mouseClick(search->cmdadd, Qt::LeftButton);
        });
        QTest::mouseClick(home->cmdland_chand, Qt::LeftButton);
        QVERIFY(change.allAnswered());
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land WHERE srno = ?"), {land.toInt()}),
            QStringLiteral("300"));
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land_pera WHERE land_srno = ?"), {land}),
            QStringLiteral("125"));
        QCOMPARE(test::value(QStringLiteral("SELECT landno FROM hathara_maym")), QStringLiteral("300"));

        // 2. A transfer of 1 acre 1 rood from land 300 to land 200, then the division of land 200.
        test::ModalAnswers transfer;
        transfer.with([](QWidget *dialog) {
            auto *s = qobject_cast<frmland_pewarima *>(dialog);
            QVERIFY(s);
            QVERIFY(s->optland_pewarima->isChecked());
            test::typeInto(s->txtlandno_h, QStringLiteral("300"));
            test::enter(s->txtlandno_h);
            QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("3.5"));
            test::typeInto(s->txtlandno, QStringLiteral("200"));
            test::enter(s->txtlandno);
            // The proposal: what is left of the first land.
            QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("2.25"));
            s->txtakkara_h->clear();
            test::typeInto(s->txtakkara_h, QStringLiteral("2"));
            s->txtrud_h->clear();
            test::typeInto(s->txtrud_h, QStringLiteral("1"));
            QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("2.25"));
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
            QVERIFY(s->txtlandno_h->text().isEmpty());

            QTest::mouseClick(s->optland_behera, Qt::LeftButton);
            test::typeInto(s->txtlandno_h, QStringLiteral("200"));
            test::enter(s->txtlandno_h);
            QCOMPARE(s->cmbrajaya->currentText(), QStringLiteral("rchg mejÍu"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        });
        transfer.press(QStringLiteral("cmdyes"));
        QTest::mouseClick(home->cmdland_pewarima, Qt::LeftButton);
        QVERIFY(transfer.allAnswered());
        const QString extent
            = QStringLiteral("SELECT akkara || '/' || rut || '/' || parchase FROM land WHERE srno = ?");
        QCOMPARE(test::value(extent, {land.toInt()}), QStringLiteral("2/1/0"));
        QCOMPARE(test::value(QStringLiteral("SELECT chack || pewarima FROM land WHERE srno = ?"), {other.toInt()}),
            QStringLiteral("0rchg mejÍu"));
        QCOMPARE(test::value(QStringLiteral("SELECT COUNT(*) FROM land_pewarima")), QStringLiteral("2"));
        QCOMPARE(test::value(QStringLiteral("SELECT land_no_2 FROM land_pewarima WHERE land_no = '300'")),
            QStringLiteral("200"));

        // 3. The land passes to the owner 912345678v.
        test::ModalAnswers succession;
        succession.with([](QWidget *dialog) {
            auto *s = qobject_cast<frmpasuhimika_change *>(dialog);
            QVERIFY(s);
            test::typeInto(s->txtlandno, QStringLiteral("300"));
            QTest::keyClick(s->txtlandno, Qt::Key_Tab);
            QCOMPARE(s->labid_l->text().trimmed(), QStringLiteral("671234567v"));
            test::typeInto(s->txtid_c, QStringLiteral("912345678v"));
            QTest::keyClick(s->txtid_c, Qt::Key_Tab);
            QCOMPARE(s->labname_c->text().trimmed(), QStringLiteral("ksu,a"));
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        });
        QTest::mouseClick(home->cmdpasuhimikam_pewarima, Qt::LeftButton);
        QVERIFY(succession.allAnswered());
        QCOMPARE(
            test::value(QStringLiteral("SELECT labn_owner_srno || ' ' || id FROM land WHERE srno = ?"), {land.toInt()}),
            heir + QStringLiteral(" 912345678v"));
        QCOMPARE(test::value(QStringLiteral("SELECT landowner_srno || ' ' || newcus_srno FROM pasuhimikam")),
            holder + QLatin1Char(' ') + heir);
    }
};

QTEST_MAIN(tst_lifecycle_walk)
#include "tst_lifecycle_walk.moc"
