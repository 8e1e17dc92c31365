// The land owner report as a clerk uses it: every owner of the status with both land counts, one filter
// at a time (identity, name, house number, either count compared, division, village), and printing the
// listed owners with the status and the filter in the header; a view-only clerk cannot print.

#include "base/legacyconvert.h"
#include "reports/frmlandowner_report.h"
#include "reports/pdftext.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace parcelon;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");
const QString kOther = QStringLiteral("ks,");

QString uni(const QString &legacy) { return legacyToUnicode(legacy).unicode; }
} // namespace

using Act = std::function<void(frmlandowner_report *)>;

class tst_ownerreport : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmlandowner_report> m_screen;

    frmlandowner_report *open(const QString &level = kAll)
    {
        QStringList flags(11, kAll);
        flags[6] = level;
        m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), flags));
        m_screen = std::make_unique<frmlandowner_report>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }
    // Owner number, then both counts.
    static QStringList lines(const frmlandowner_report *s) { return test::listLines(s->lvland, {0, 4, 5}); }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO detels (name) VALUES (?)"), {kOffice});
        test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("mr")});
        test::addDivision(kOther, {QStringLiteral("ll")});
        // 1: three active lands of its own and one more in its household; 2: one land, same household;
        // 3: no house number, one inactive land; 4: inactive owner in the other division.
        const QString o1 = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("A-12"),
            .land_owner_name = QStringLiteral("mshd")});
        const QString o2 = test::addOwner({.id = QStringLiteral("555123000x"),
            .house_no = QStringLiteral("A-12"),
            .land_owner_name = QStringLiteral("ks,a")});
        const QString o3 = test::addOwner({.id = QStringLiteral("999999999v"),
            .house_no = QString(),
            .land_owner_name = QStringLiteral("mshd ks,a"),
            .gama = QStringLiteral("2 - mr")});
        test::addOwner({.id = QStringLiteral("888888888v"),
            .house_no = QStringLiteral("C-1"),
            .land_owner_name = QStringLiteral("ud,a"),
            .chak = QStringLiteral("0"),
            .gamiya = QStringLiteral("2 - ") + kOther,
            .gama = QStringLiteral("1 - ll")});
        for (int i = 0; i < 3; ++i)
            test::addLand({.guhasth = QStringLiteral("A-12"), .labn_owner_srno = o1});
        test::addLand({.guhasth = QStringLiteral("A-12"), .labn_owner_srno = o2});
        test::addLand({.guhasth = QString(), .labn_owner_srno = o3, .chack = QStringLiteral("0")});
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void opensOnEveryActiveOwnerWithBothCounts()
    {
        frmlandowner_report *s = open();
        QCOMPARE(lines(s), QStringList({QStringLiteral("1|3|4"), QStringLiteral("2|1|4"), QStringLiteral("3|0|0")}));
        QCOMPARE(test::listLines(s->lvland, {1, 2, 3, 6}).value(0), QStringLiteral("123456789|A-12|mshd|v"));
        QCOMPARE(s->labki->text(), QStringLiteral("1"));
        QCOMPARE(s->labshot->text(), QString());
        QCOMPARE(s->cmbid->currentText(), QStringLiteral("="));
        QCOMPARE(s->cmbgamiya->count(), 2);
        QCOMPARE(s->cmbgamiya->itemText(1), QStringLiteral("2 - ") + kOther);
        QCOMPARE(background(s->optkiyakari), QColor(255, 0, 0));
        QCOMPARE(background(s->optsiyalla), QColor(255, 255, 192));
    }

    void filters_data()
    {
        QTest::addColumn<Act>("act");
        QTest::addColumn<QString>("shot");
        QTest::addColumn<QStringList>("expected");
        auto l = [](std::initializer_list<const char *> p) {
            QStringList out;
            for (const char *x : p)
                out << QLatin1String(x);
            return out;
        };
        QTest::newRow("inactive owners count inactive lands")
            << Act([](frmlandowner_report *s) { QTest::mouseClick(s->optakkiyakari, Qt::LeftButton); }) << QString()
            << l({"4|0|0"});
        QTest::newRow("all owners count every land")
            << Act([](frmlandowner_report *s) { QTest::mouseClick(s->optsiyalla, Qt::LeftButton); }) << QString()
            << l({"1|3|4", "2|1|4", "3|1|0", "4|0|0"});
        QTest::newRow("identity") << Act([](frmlandowner_report *s) {
            test::typeInto(s->txtid, QStringLiteral("5551"));
        }) << QStringLiteral("1") << l({"2|1|4"});
        QTest::newRow("identity emptied again") << Act([](frmlandowner_report *s) {
            test::typeInto(s->txtid, QStringLiteral("5"));
            QTest::keyClick(s->txtid, Qt::Key_Backspace);
        }) << QString() << l({"1|3|4", "2|1|4", "3|0|0"});
        QTest::newRow("name") << Act(
            [](frmlandowner_report *s) { test::typeInto(s->txtland_owner, QStringLiteral("ks,a")); })
                              << QStringLiteral("2") << l({"2|1|4", "3|0|0"});
        QTest::newRow("name after identity lists by name only") << Act([](frmlandowner_report *s) {
            test::typeInto(s->txtid, QStringLiteral("9999"));
            test::typeInto(s->txtland_owner, QStringLiteral("mshd"));
        }) << QStringLiteral("2") << l({"1|3|4", "3|0|0"});
        QTest::newRow("house number") << Act([](frmlandowner_report *s) {
            test::typeInto(s->txtguha, QStringLiteral("A-"));
        }) << QStringLiteral("3") << l({"1|3|4", "2|1|4"});
        QTest::newRow("lands by owner number equal")
            << Act([](frmlandowner_report *s) { test::typeInto(s->txtland_ganana, QStringLiteral("1")); })
            << QStringLiteral("4") << l({"2|1|4"});
        QTest::newRow("lands by owner number greater") << Act([](frmlandowner_report *s) {
            test::choose(s->cmbid, QStringLiteral(">"));
            test::typeInto(s->txtland_ganana, QStringLiteral("0"));
        }) << QStringLiteral("5") << l({"1|3|4", "2|1|4"});
        QTest::newRow("operator changed after the number") << Act([](frmlandowner_report *s) {
            test::typeInto(s->txtland_ganana, QStringLiteral("1"));
            test::choose(s->cmbid, QStringLiteral("<"));
        }) << QStringLiteral("6") << l({"3|0|0"});
        // Counts are whole: a fraction keeps the counts above it and equals none; a word counts as 0.
        QTest::newRow("lands by owner number greater than a fraction") << Act([](frmlandowner_report *s) {
            test::choose(s->cmbid, QStringLiteral(">"));
            test::typeInto(s->txtland_ganana, QStringLiteral("2.5"));
        }) << QStringLiteral("5") << l({"1|3|4"});
        QTest::newRow("lands by owner number equal to a fraction")
            << Act([](frmlandowner_report *s) { test::typeInto(s->txtland_ganana, QStringLiteral("1.5")); })
            << QStringLiteral("4") << l({});
        QTest::newRow("lands by owner number equal to a word")
            << Act([](frmlandowner_report *s) { test::typeInto(s->txtland_ganana, QStringLiteral("x")); })
            << QStringLiteral("4") << l({"3|0|0"});
        QTest::newRow("lands by house number equal")
            << Act([](frmlandowner_report *s) { test::typeInto(s->txtland_ganana_guha, QStringLiteral("4")); })
            << QStringLiteral("7") << l({"1|3|4", "2|1|4"});
        QTest::newRow("lands by house number greater") << Act([](frmlandowner_report *s) {
            test::choose(s->cmbguha, QStringLiteral(">"));
            test::typeInto(s->txtland_ganana_guha, QStringLiteral("4"));
        }) << QStringLiteral("8") << l({});
        QTest::newRow("lands by house number smaller") << Act([](frmlandowner_report *s) {
            test::choose(s->cmbguha, QStringLiteral("<"));
            test::typeInto(s->txtland_ganana_guha, QStringLiteral("4"));
        }) << QStringLiteral("9") << l({"3|0|0"});
        QTest::newRow("count box emptied lists all again") << Act([](frmlandowner_report *s) {
            test::typeInto(s->txtland_ganana, QStringLiteral("3"));
            QTest::keyClick(s->txtland_ganana, Qt::Key_Backspace);
        }) << QString() << l({"1|3|4", "2|1|4", "3|0|0"});
        QTest::newRow("division") << Act([](frmlandowner_report *s) {
            test::choose(s->cmbgamiya, QStringLiteral("1 - ") + test::kDivision);
        }) << QStringLiteral("10") << l({"1|3|4", "2|1|4", "3|0|0"});
        QTest::newRow("village") << Act([](frmlandowner_report *s) {
            test::choose(s->cmbgamiya, QStringLiteral("1 - ") + test::kDivision);
            test::choose(s->cmbgama, QStringLiteral("2 - mr"));
        }) << QStringLiteral("11")
                                 << l({"3|0|0"});
        QTest::newRow("division of the inactive owner, with all") << Act([](frmlandowner_report *s) {
            QTest::mouseClick(s->optsiyalla, Qt::LeftButton);
            test::choose(s->cmbgamiya, QStringLiteral("2 - ") + kOther);
        }) << QStringLiteral("10") << l({"4|0|0"});
    }
    void filters()
    {
        QFETCH(Act, act);
        frmlandowner_report *s = open();
        act(s);
        QTEST(s->labshot->text(), "shot");
        QTEST(lines(s), "expected");
    }

    // A division is known by its whole number: division 100 offers its own villages, not division 10's,
    // and the printed header names the village without its number.
    void villagesFollowTheWholeDivisionNumber()
    {
        test::addDivision(QStringLiteral("oy"), {QStringLiteral("ll")}, 10);
        test::addDivision(QStringLiteral("i;"), {QStringLiteral("mr"), QStringLiteral("uy")}, 100);
        frmlandowner_report *s = open();
        test::choose(s->cmbgamiya, QStringLiteral("100 - i;"));
        QStringList villages;
        for (int i = 0; i < s->cmbgama->count(); ++i)
            villages << s->cmbgama->itemText(i);
        QCOMPARE(villages, QStringList({QStringLiteral("1 - mr"), QStringLiteral("2 - uy")}));
        test::choose(s->cmbgama, QStringLiteral("2 - uy"));
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(1));
        QVERIFY2(captured.reports[0].data.header.value(2).endsWith(uni(QStringLiteral("uy"))),
            qPrintable(captured.reports[0].data.header.value(2)));
        QVERIFY(!captured.reports[0].data.header.value(2).contains(QLatin1Char('-')));
    }

    void optionEmptiesTheBoxes()
    {
        frmlandowner_report *s = open();
        test::typeInto(s->txtland_owner, QStringLiteral("mshd"));
        test::typeInto(s->txtguha, QStringLiteral("A"));
        QTest::mouseClick(s->optsiyalla, Qt::LeftButton);
        for (QLineEdit *box : {s->txtid, s->txtguha, s->txtland_owner, s->txtland_ganana, s->txtland_ganana_guha})
            QCOMPARE(box->text(), QString());
        QCOMPARE(s->labki->text(), QStringLiteral("3"));
        QCOMPARE(background(s->optsiyalla), QColor(255, 0, 0));
        QCOMPARE(background(s->optkiyakari), QColor(255, 255, 192));
        QCOMPARE(lines(s).size(), 4);
    }

    void printsTheListedOwnersWithTheFilter()
    {
        frmlandowner_report *s = open();
        test::choose(s->cmbguha, QStringLiteral(">"));
        test::typeInto(s->txtland_ganana_guha, QStringLiteral("2"));
        QCOMPARE(lines(s).size(), 2);
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(test::count(QStringLiteral("member_report")), 0);
        const QString text = test::pdfText(captured.reports[0].pdf);
        QVERIFY2(text.contains(uni(kOffice)), qPrintable(text));
        QVERIFY(text.contains(uni(QStringLiteral("l%shdldrs"))));
        QVERIFY(
            test::hasLine(text, {uni(QStringLiteral("bvñ .Kk - .Dy wxlh")), QStringLiteral(">"), QStringLiteral("2")}));
        QVERIFY(test::hasLine(text,
            {QStringLiteral("1"), QStringLiteral("123456789v"), QStringLiteral("A-12"), uni(QStringLiteral("mshd")),
                QStringLiteral("3"), QStringLiteral("4")}));
        QVERIFY(test::hasLine(text,
            {QStringLiteral("2"), QStringLiteral("555123000x"), QStringLiteral("A-12"), uni(QStringLiteral("ks,a")),
                QStringLiteral("1"), QStringLiteral("4")}));
        QVERIFY(!text.contains(QStringLiteral("999999999v")));
    }

    // A long list fills a page at a time; printing reads the pages still to come, so every owner listed
    // is printed.
    void printsEveryOwnerOfALongList()
    {
        test::exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 450) "
                                  "INSERT INTO landowner (id, house_no, land_owner_name, chak) "
                                  "SELECT CAST(300000000 + i AS VARCHAR(20)) || 'v', 'B-1', 'ks,a', '1' FROM n"));
        frmlandowner_report *s = open();
        QTRY_VERIFY(!s->listFilling());
        QCOMPARE(s->lvland->count(), 453);
        s->all_mem();
        QCOMPARE(s->lvland->count(), 200);
        QVERIFY(s->listFilling());
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(int(captured.reports[0].data.rows.size()), 453);
        QCOMPARE(s->lvland->count(), 453);
        QVERIFY(!s->listFilling());
    }

    void printFormulas_data()
    {
        QTest::addColumn<Act>("act");
        QTest::addColumn<QStringList>("formulas");
        QTest::newRow("all owners") << Act([](frmlandowner_report *) {})
                                    << QStringList {QStringLiteral("fkiyakari='l%shdldrs'"),
                                           QStringLiteral("anuname=' ish,a, '"), QStringLiteral("ddf='='"),
                                           QStringLiteral("fshot1='bvï ysñhkaf.a'")};
        QTest::newRow("identity") << Act(
            [](frmlandowner_report *s) { test::typeInto(s->txtid, QStringLiteral("1234")); })
                                  << QStringList {QStringLiteral("fkiyakari='l%shdldrs'"),
                                         QStringLiteral("anuname='1234'"), QStringLiteral("ddf='<>'"),
                                         QStringLiteral("fshot1='c ye wxlh'")};
        QTest::newRow("count by owner number")
            << Act([](frmlandowner_report *s) {
                   test::choose(s->cmbid, QStringLiteral("<"));
                   test::typeInto(s->txtland_ganana, QStringLiteral("2"));
               })
            << QStringList {QStringLiteral("fkiyakari='l%shdldrs'"), QStringLiteral("anuname='2'"),
                   QStringLiteral("ddf='<'"), QStringLiteral("fshot1='bvñ .Kk - ye wxlh'")};
        QTest::newRow("village, all owners")
            << Act([](frmlandowner_report *s) {
                   QTest::mouseClick(s->optsiyalla, Qt::LeftButton);
                   test::choose(s->cmbgamiya, QStringLiteral("1 - ") + test::kDivision);
                   test::choose(s->cmbgama, QStringLiteral("2 - mr"));
               })
            << QStringList {QStringLiteral("fkiyakari='ish,a,'"), QStringLiteral("anuname='mr'"),
                   QStringLiteral("ddf='='"), QStringLiteral("fshot1=' .fus ku'")};
    }
    void printFormulas()
    {
        QFETCH(Act, act);
        QFETCH(QStringList, formulas);
        frmlandowner_report *s = open();
        act(s);
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(1));
        // The header's lines: the office, the status, then field, comparison and value.
        const QStringList header = captured.reports[0].data.header;
        QCOMPARE(header.value(0), uni(kOffice));
        const Formula status = parseFormula(formulas[0]);
        QCOMPARE(header.value(1), uni(status.value));
        const QString value = parseFormula(formulas[1]).value;
        const QString ddf = parseFormula(formulas[2]).value;
        const QString field = parseFormula(formulas[3]).value;
        QVERIFY2(header.value(2).startsWith(uni(field))
                && header.value(2).contains(QStringLiteral("  ") + ddf + QStringLiteral("  ")),
            qPrintable(header.value(2)));
        QVERIFY2(header.value(2).endsWith(value) || header.value(2).endsWith(uni(value)), qPrintable(header.value(2)));
    }

    void viewOnlyCannotPrint_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("prints");
        QTest::newRow("2 - view only") << QStringLiteral("2 - ne,su muKhs") << false;
        QTest::newRow("3") << QStringLiteral("3 - we;=,a lsrsu muKs") << true;
        QTest::newRow("4") << kAll << true;
    }
    void viewOnlyCannotPrint()
    {
        QFETCH(QString, level);
        frmlandowner_report *s = open(level);
        QTEST(s->cmdprint->isEnabled(), "prints");
        QCOMPARE(lines(s).size(), 3);
    }
};

QTEST_MAIN(tst_ownerreport)
#include "tst_ownerreport.moc"
