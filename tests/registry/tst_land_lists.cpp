// The land register's lists as a clerk meets them: the all-lands and household lists column by column,
// the tank and division pickers, the village list that follows a division, the lot label's search of
// divisions in use, and the relationship list with its maintenance screen.

#include "registry/frmland.h"
#include "registry/frmnanayayo.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kAddKind = QStringLiteral("{d;ska tla lsßu");

// Picks an entry as a clerk does (the list opened by a click, the arrow keys, Enter), without checking
// what the combo shows after: picking the adding entry opens a screen that may refill the list.
void pick(QComboBox *combo, const QString &entry)
{
    const int target = combo->findText(entry);
    QVERIFY(target >= 0);
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView *list = combo->view();
    QTRY_VERIFY(list->isVisible());
    for (int step = 0; step <= combo->count() && list->currentIndex().row() != target; ++step)
        QTest::keyClick(list, list->currentIndex().row() < target ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(list->currentIndex().row(), target);
    QTest::keyClick(list, Qt::Key_Return);
}

QStringList entries(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

QStringList utf8(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *text : texts)
        out << QString::fromUtf8(text);
    return out;
}
} // namespace

class tst_land_lists : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmland> m_screen;

    frmland *openScreen()
    {
        m_screen = std::make_unique<frmland>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    QWidget *focus() const { return m_screen->focusWidget(); }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")}));
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void landColumns_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("akkara");
        QTest::addColumn<QString>("rut");
        QTest::addColumn<QString>("parchase");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("nature");
        QTest::addColumn<QString>("householdExtent");
        QTest::addColumn<QString>("allExtent");
        QTest::addColumn<QString>("allNature");
        QTest::newRow("2 acres 1 rood 20 perches")
            << "2 - wlalr"
            << "2"
            << "1"
            << "20"
            << "2.375"
            << "1- fkdoks" << QStringLiteral("wlalr 2 $ reâ 1 $ m¾pia  20") << "2'375"
            << "fkdoks";
        QTest::newRow("1 hectare") << QStringLiteral("1 - fylaghd¾") << "1"
                                   << "0"
                                   << "0"
                                   << "2.4752"
                                   << "2- uv" << QStringLiteral("fylaghd¾ 1 $ reâ 0 $ m¾pia  0") << "2'4752"
                                   << "uv";
        QTest::newRow("half an acre") << "2 - wlalr"
                                      << ".5"
                                      << ""
                                      << ""
                                      << ".5"
                                      << "3- f.dv" << QStringLiteral("wlalr .5 $ reâ  $ m¾pia  ") << "'5"
                                      << "f.dv";
        QTest::newRow("zero shown as a point") << "2 - wlalr"
                                               << ""
                                               << ""
                                               << ""
                                               << "."
                                               << "" << QStringLiteral("wlalr  $ reâ  $ m¾pia  ") << "'"
                                               << "";
        QTest::newRow("long nature cut at twenty")
            << "2 - wlalr"
            << "3."
            << ""
            << ""
            << "3."
            << "1- abcdefghijklmnopqrstuvwxyz" << QStringLiteral("wlalr 3. $ reâ  $ m¾pia  ") << "3'"
            << "abcdefghijklmnopqrst";
    }

    // Both lists show every land of the household, its owner's household number (empty when the owner
    // row is gone), the identity's first nine characters, the permit, the extent and the kinds.
    void landColumns()
    {
        QFETCH(QString, unit);
        QFETCH(QString, akkara);
        QFETCH(QString, rut);
        QFETCH(QString, parchase);
        QFETCH(QString, decimal);
        QFETCH(QString, nature);
        QFETCH(QString, householdExtent);
        QFETCH(QString, allExtent);
        QFETCH(QString, allNature);

        const QString owner = test::addOwner({.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("H-7")});
        test::addLand({.id = QStringLiteral("123456789v"),
            .guhasth = QStringLiteral("H-7"),
            .labn_owner_srno = owner,
            .balapa_no1 = QStringLiteral("wjirm;% wxlh"),
            .balapa_no = QStringLiteral("101"),
            .loan_sbawaya = nature,
            .akkara1 = unit,
            .akkara = akkara,
            .rut = rut,
            .parchase = parchase,
            .aythiye_sbawaya = QStringLiteral("1- Èukd m;%"),
            .pewarima = QStringLiteral("il%sh"),
            .akkara_only = decimal});
        // A deleted land whose owner row is gone: still listed, without a household number.
        test::addLand({.id = QStringLiteral("987654321x"),
            .guhasth = QStringLiteral("H-7"),
            .labn_owner_srno = QStringLiteral("9999"),
            .balapa_no1 = QStringLiteral("wkjir bvï"),
            .balapa_no = QStringLiteral("w - 1"),
            .loan_sbawaya = QStringLiteral("2- uv"),
            .akkara1 = QStringLiteral("2 - wlalr"),
            .akkara = QStringLiteral("1"),
            .aythiye_sbawaya = QStringLiteral("5- wkjir"),
            .pewarima = QStringLiteral("wl%sh"),
            .chack = QStringLiteral("0"),
            .akkara_only = QStringLiteral("1.")});

        frmland *s = openScreen();
        QCOMPARE(s->lvland->count(), 2);
        QCOMPARE(s->lvland->line(0),
            QStringList({QStringLiteral("H-7"), QStringLiteral("123456789"), QStringLiteral("wjirm;% wxlh 101"),
                QStringLiteral("101"), allNature, allExtent, QStringLiteral("1- Èukd m;%"), QStringLiteral("il%sh")}));
        QCOMPARE(s->lvland->line(1),
            QStringList(
                {QString(), QStringLiteral("987654321"), QStringLiteral("wkjir bvï w - 1"), QStringLiteral("w - 1"),
                    QStringLiteral("uv"), QStringLiteral("1'"), QStringLiteral("5- wkjir"), QStringLiteral("wl%sh")}));

        s->txtguhano->setText(QStringLiteral("H-7"));
        s->land_lv();
        QCOMPARE(s->lvland->count(), 2);
        QCOMPARE(s->lvland->line(0),
            QStringList({QStringLiteral("H-7"), QStringLiteral("123456789"), QStringLiteral("wjirm;% wxlh 101"),
                QStringLiteral("101"), nature, householdExtent, QStringLiteral("1- Èukd m;%"),
                QStringLiteral("il%sh")}));
        QCOMPARE(s->lvland->line(1),
            QStringList({QString(), QStringLiteral("987654321"), QStringLiteral("wkjir bvï w - 1"),
                QStringLiteral("w - 1"), QStringLiteral("2- uv"), QStringLiteral("wlalr 1 $ reâ  $ m¾pia  "),
                QStringLiteral("5- wkjir"), QStringLiteral("wl%sh")}));
    }

    void householdWithoutLandsEmptiesTheList()
    {
        const QString owner = test::addOwner({.house_no = QStringLiteral("H-1")});
        test::addLand({.guhasth = QStringLiteral("H-1"), .labn_owner_srno = owner});
        test::addOwner({.id = QStringLiteral("222222222v"), .house_no = QStringLiteral("H-2")});
        frmland *s = openScreen();
        QCOMPARE(s->lvland->count(), 1);
        s->txtguhano->setText(QStringLiteral("H-2"));
        s->land_lv();
        QCOMPARE(s->lvland->count(), 0);
    }

    // Each matching tank once, in name order; Enter takes the first line and moves on to the portion box.
    void tankPicker()
    {
        for (const char *tank : {"uy jej", "ljej", "jew", "ljej", "wkqrdO", "", "50%", "5000"})
            test::addLand({.wewe_name = QString::fromUtf8(tank)});
        frmland *s = openScreen();

        QTest::mouseClick(s->txtwawa, Qt::LeftButton);
        QCOMPARE(test::listLines(s->lvwawa, {0}), utf8({"50%", "5000", "jew", "ljej", "uy jej", "wkqrdO"}));
        QVERIFY(s->lvwawa->isVisible());
        QVERIFY(!s->lvkottashya->isVisible());

        test::type(s->txtwawa, QStringLiteral("je"));
        QCOMPARE(test::listLines(s->lvwawa, {0}), utf8({"jew", "ljej", "uy jej"}));
        QVERIFY(s->lvwawa->isVisible());
        test::enter(s->txtwawa);
        QCOMPARE(s->txtwawa->text(), QStringLiteral("jew"));
        QCOMPARE(focus(), s->cmbothland);

        // A typed % matches itself only.
        s->txtwawa->clear();
        test::typeInto(s->txtwawa, QStringLiteral("%"));
        QCOMPARE(test::listLines(s->lvwawa, {0}), utf8({"50%"}));

        // Nothing matches: the picker shows empty while the box holds text; Enter goes on to the division.
        s->txtwawa->clear();
        test::typeInto(s->txtwawa, QStringLiteral("zz"));
        QCOMPARE(s->lvwawa->count(), 0);
        QVERIFY(s->lvwawa->isVisible());
        test::enter(s->txtwawa);
        QVERIFY(!s->lvwawa->isVisible());
        QCOMPARE(focus(), s->txtkottasaya);

        // A click takes the line and moves on to the save button.
        s->txtwawa->clear();
        test::typeInto(s->txtwawa, QStringLiteral("ljej"));
        QCOMPARE(test::listLines(s->lvwawa, {0}), utf8({"ljej"}));
        test::clickRow(s->lvwawa, 0);
        QCOMPARE(s->txtwawa->text(), QStringLiteral("ljej"));
        QVERIFY(!s->lvwawa->isVisible());
        QCOMPARE(focus(), s->cmdenter);
    }

    // Every division once in number order, whatever the box holds; a click refills the villages of that
    // division (division 100's, not division 10's), in their numbered order.
    void divisionPicker()
    {
        test::addDivision(QStringLiteral("uyje,"), {QStringLiteral("wdrjk")}, 1);
        test::addDivision(QStringLiteral("lÿre"), {QStringLiteral("ne;a"), QStringLiteral("uy;a")}, 2);
        test::addDivision(QStringLiteral("ol=K"), {QStringLiteral("ol1")}, 10);
        QStringList villages;
        for (int i = 1; i <= 11; ++i)
            villages << QStringLiteral("g%1").arg(i);
        test::addDivision(QStringLiteral("W;=r"), villages, 100);
        frmland *s = openScreen();

        s->txtkottasaya->setText(QStringLiteral("10 - ol=K"));
        QTest::mouseClick(s->txtkottasaya, Qt::LeftButton);
        QCOMPARE(test::listLines(s->lvkottashya, {0}), utf8({"1 - uyje,", "2 - lÿre", "10 - ol=K", "100 - W;=r"}));
        QVERIFY(s->lvkottashya->isVisible());

        test::clickRow(s->lvkottashya, 3);
        QCOMPARE(s->txtkottasaya->text(), QStringLiteral("100 - W;=r"));
        QStringList expected;
        for (int i = 1; i <= 11; ++i)
            expected << QStringLiteral("%1 - g%1").arg(i);
        QCOMPARE(entries(s->cmbgama), expected);
        QVERIFY(!s->lvkottashya->isVisible());
        QCOMPARE(focus(), s->cmdenter);

        // Enter takes the first division; the villages stay as they were.
        QTest::mouseClick(s->txtkottasaya, Qt::LeftButton);
        QVERIFY(s->lvkottashya->isVisible());
        test::enter(s->txtkottasaya);
        QCOMPARE(s->txtkottasaya->text(), QStringLiteral("1 - uyje,"));
        QCOMPARE(entries(s->cmbgama), expected);
        QVERIFY(!s->lvkottashya->isVisible());
        QCOMPARE(focus(), s->cmdenter);
    }

    void lotLabelSearchesDivisionsInUse_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("visible");
        QTest::newRow("empty box: hidden") << QString() << utf8({"1 - uyje,", "2 - lÿre"}) << false;
        QTest::newRow("blanks only: shown, all values")
            << QStringLiteral("  ") << utf8({"1 - uyje,", "2 - lÿre"}) << true;
        QTest::newRow("fragment") << QStringLiteral(" lÿ ") << utf8({"2 - lÿre"}) << true;
        QTest::newRow("no match: shown empty") << QStringLiteral("zz") << QStringList() << true;
    }

    void lotLabelSearchesDivisionsInUse()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, lines);
        QFETCH(bool, visible);
        for (const char *division : {"2 - lÿre", "1 - uyje,", "2 - lÿre", ""})
            test::addLand({.kottashaya = QString::fromUtf8(division)});
        frmland *s = openScreen();
        s->txtkottasaya->setText(typed);
        QTest::mouseClick(s->labkatti, Qt::LeftButton);
        QCOMPARE(test::listLines(s->lvkottashya, {0}), lines);
        QCOMPARE(s->lvkottashya->isVisible(), visible);
    }

    // The list at load holds a single blank, the kinds, then the entry that adds one; adding a kind refills
    // it at once (an empty first entry, the new kind last before the adding entry), one kind per opening.
    void relationshipList()
    {
        test::exec(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {QStringLiteral("mq;d")});
        frmland *s = openScreen();
        QCOMPARE(entries(s->cmbpasuaythiya), utf8({" ", "1- mq;d"}) << kAddKind);

        test::ModalAnswers answers;
        answers.with([this](QWidget *dialog) {
            auto *kinds = qobject_cast<frmnanayayo *>(dialog);
            QVERIFY(kinds);
            QVERIFY(m_screen->windowOpacity() < 0.5);
            QCOMPARE(kinds->labsrno->text(), QStringLiteral("2"));
            test::typeInto(kinds->txtnayayo, QStringLiteral("oshKsh"));
            QTest::mouseClick(kinds->cmdadd, Qt::LeftButton);
            QVERIFY(!kinds->cmdadd->isEnabled());
            QCOMPARE(entries(m_screen->cmbpasuaythiya), utf8({"", "1- mq;d", "2- oshKsh"}) << kAddKind);
            QTest::mouseClick(kinds->Command2, Qt::LeftButton);
        });
        pick(s->cmbpasuaythiya, kAddKind);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
        QCOMPARE(s->windowOpacity(), 1.0);
        QCOMPARE(test::count(QStringLiteral("nadayo")), 2);
        QCOMPARE(s->cmbpasuaythiya->currentText(), QString());

        // Opened again: the add button is back; closing without adding leaves the list as it was.
        answers.with([](QWidget *dialog) {
            auto *kinds = qobject_cast<frmnanayayo *>(dialog);
            QVERIFY(kinds);
            QVERIFY(kinds->cmdadd->isEnabled());
            QCOMPARE(kinds->labsrno->text(), QStringLiteral("3"));
            QTest::keyClick(kinds, Qt::Key_Escape);
        });
        pick(s->cmbpasuaythiya, kAddKind);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(s->windowOpacity(), 1.0);
        QCOMPARE(test::count(QStringLiteral("nadayo")), 2);
        QCOMPARE(entries(s->cmbpasuaythiya), utf8({"", "1- mq;d", "2- oshKsh"}) << kAddKind);
        QCOMPARE(s->cmbpasuaythiya->currentText(), kAddKind);
    }

    void aLongListShowsItsFirstPageAtOnceAndFillsFromTheEventLoop()
    {
        // More lands than the first page holds, one statement for all.
        test::exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 450) "
                                  "INSERT INTO land (balapa_no1, balapa_no, pewarima) "
                                  "SELECT 'ysñ', CAST(i AS VARCHAR(20)), 'il%sh' FROM n"));
        frmland *s = openScreen();
        s->land_all();
        QVERIFY(s->lvland->count() > 0);
        QVERIFY(s->lvland->count() < 450);
        QVERIFY(s->landListFilling());
        QTRY_VERIFY(!s->landListFilling());
        QCOMPARE(s->lvland->count(), 450);
        for (int row = 0; row < 450; ++row)
            QCOMPARE(s->lvland->text(row, 3), QString::number(row + 1));

        // A household's lands asked for while the list of all lands fills replace it for good.
        s->land_all();
        s->txtguhano->setText(QStringLiteral("none"));
        s->land_lv();
        QTRY_VERIFY(!s->landListFilling());
        QTest::qWait(50);
        QCOMPARE(s->lvland->count(), 0);
    }
};

QTEST_MAIN(tst_land_lists)
#include "tst_land_lists.moc"
