// The land report as a clerk uses it: the list it opens with, every filter and the status options, the
// extent comparisons, the division's villages, and printing exactly the listed lines; a view-only clerk
// cannot print.

#include "base/legacyconvert.h"
#include "reports/frmland_report.h"
#include "reports/pdftext.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace parcelon;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kTitle = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kDeed = QStringLiteral("wjirm;% wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");
const QString kOtherDivision = QStringLiteral("ks,");

QString uni(const QString &legacy) { return legacyToUnicode(legacy).unicode; }
} // namespace

using Act = std::function<void(frmland_report *)>;

class tst_landreport : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmland_report> m_screen;

    frmland_report *open(const QString &level = kAll)
    {
        QStringList flags(11, kAll);
        flags[7] = level;
        m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), flags));
        m_screen = std::make_unique<frmland_report>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }
    static QStringList permits(const frmland_report *s) { return test::listLines(s->lvland, {0}); }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO detels (name) VALUES (?)"), {kOffice});
        test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("mr")});
        test::addDivision(kOtherDivision, {QStringLiteral("ll")});
        const QString a = test::addOwner({.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("A-12")});
        const QString b = test::addOwner({.id = QStringLiteral("555123000x"), .house_no = QStringLiteral("B-7")});
        test::addLand({.id = QStringLiteral("123456789v"),
            .labn_owner_srno = a,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("125"),
            .loan_sbawaya = QStringLiteral("2- uv"),
            .aythiye_sbawaya = QStringLiteral("1- Èukd m;%"),
            .wewe_name = QStringLiteral("ud;r jej"),
            .pewarima = QStringLiteral("l%shd;aul"),
            .akkara_only = QStringLiteral("2.5"),
            .kottashaya = test::kDivision,
            .gama = test::kVillage});
        test::addLand({.id = QStringLiteral("123456789v"),
            .labn_owner_srno = a,
            .balapa_no1 = kDeed,
            .balapa_no = QStringLiteral("300"),
            .loan_sbawaya = QStringLiteral("3- f.dv"),
            .aythiye_sbawaya = QStringLiteral("2- wjir m;%"),
            .wewe_name = QStringLiteral("ñ;=re jej"),
            .akkara_only = QStringLiteral("10"),
            .kottashaya = kOtherDivision,
            .gama = QStringLiteral("ll")});
        test::addLand({.id = QStringLiteral("555123000x"),
            .labn_owner_srno = b,
            .balapa_no1 = kGrant,
            .balapa_no = QStringLiteral("12"),
            .loan_sbawaya = QStringLiteral("2- uv"),
            .aythiye_sbawaya = QStringLiteral("5- wkjir"),
            .wewe_name = QStringLiteral("ud;r jej"),
            .akkara_only = QStringLiteral("0"),
            .kottashaya = test::kDivision,
            .gama = QStringLiteral("mr")});
        test::addLand({.id = QStringLiteral("555123000x"),
            .labn_owner_srno = b,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("77"),
            .loan_sbawaya = QStringLiteral("2- uv"),
            .aythiye_sbawaya = QStringLiteral("1- Èukd m;%"),
            .wewe_name = QStringLiteral("ud;r jej"),
            .chack = QStringLiteral("0"),
            .akkara_only = QStringLiteral("1"),
            .kottashaya = test::kDivision,
            .gama = test::kVillage});
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void opensOnTheActiveLands()
    {
        frmland_report *s = open();
        QVERIFY(s->optkiyakari->isChecked());
        QCOMPARE(permits(s), QStringList({QStringLiteral("125"), QStringLiteral("300"), QStringLiteral("12")}));
        QCOMPARE(test::listLines(s->lvland, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}).value(0),
            QStringLiteral("1|") + kTitle
                + QStringLiteral(" 125|123456789|A-12|Èukd m;%|uv|ud;r jej|uyje,|l%shd;aul|2'5|v|2.5"));
        QCOMPARE(s->cmblandno->count(), 5);
        QCOMPARE(s->cmbaythiy_sbawaya->count(), 8);
        QCOMPARE(s->cmbland_sabawaya->count(), 4);
        QCOMPARE(s->cmbakkara->count(), 4);
        // The tanks once each, after the empty item; the divisions likewise.
        QCOMPARE(s->cmbwawa->count(), 3);
        QCOMPARE(s->cmbkottasha->count(), 3);
        QCOMPARE(s->cmbgama->count(), 0);
        QVERIFY(s->cmdprint->isEnabled());
    }

    void filters_data()
    {
        QTest::addColumn<Act>("act");
        QTest::addColumn<QStringList>("expected");
        auto l = [](std::initializer_list<const char *> p) {
            QStringList out;
            for (const char *x : p)
                out << QLatin1String(x);
            return out;
        };
        QTest::newRow("inactive") << Act([](frmland_report *s) { QTest::mouseClick(s->optakkiyakari, Qt::LeftButton); })
                                  << l({"77"});
        QTest::newRow("all") << Act([](frmland_report *s) { QTest::mouseClick(s->optsiyalla, Qt::LeftButton); })
                             << l({"125", "300", "12", "77"});
        QTest::newRow("identity") << Act([](frmland_report *s) { test::typeInto(s->txtid, QStringLiteral("5551")); })
                                  << l({"12"});
        QTest::newRow("identity, then all lands keeps the filter") << Act([](frmland_report *s) {
            test::typeInto(s->txtid, QStringLiteral("5551"));
            QTest::mouseClick(s->optsiyalla, Qt::LeftButton);
        }) << l({"12", "77"});
        QTest::newRow("house number") << Act([](frmland_report *s) {
            test::typeInto(s->txtguha, QStringLiteral("A-"));
        }) << l({"125", "300"});
        QTest::newRow("permit kind") << Act([](frmland_report *s) { test::choose(s->cmblandno, kDeed); }) << l({"300"});
        QTest::newRow("permit number") << Act([](frmland_report *s) {
            test::typeInto(s->txtlandno, QStringLiteral("12"));
        }) << l({"125", "12"});
        QTest::newRow("ownership kind") << Act([](frmland_report *s) {
            test::choose(s->cmbaythiy_sbawaya, QStringLiteral("5- wkjir"));
        }) << l({"12"});
        QTest::newRow("land kind") << Act([](frmland_report *s) {
            test::choose(s->cmbland_sabawaya, QStringLiteral("2- uv"));
        }) << l({"125", "12"});
        QTest::newRow("tank") << Act([](frmland_report *s) { test::choose(s->cmbwawa, QStringLiteral("ñ;=re jej")); })
                              << l({"300"});
        QTest::newRow("extent equal") << Act([](frmland_report *s) {
            test::choose(s->cmbakkara, QStringLiteral("="));
            test::typeInto(s->txtakkara, QStringLiteral("2.5"));
        }) << l({"125"});
        QTest::newRow("extent greater") << Act([](frmland_report *s) {
            test::choose(s->cmbakkara, QStringLiteral(">"));
            test::typeInto(s->txtakkara, QStringLiteral("2"));
        }) << l({"125", "300"});
        QTest::newRow("extent smaller") << Act([](frmland_report *s) {
            test::choose(s->cmbakkara, QStringLiteral("<"));
            test::typeInto(s->txtakkara, QStringLiteral("1"));
        }) << l({"12"});
        QTest::newRow("extent equal to an empty box is 0")
            << Act([](frmland_report *s) { test::choose(s->cmbakkara, QStringLiteral("=")); }) << l({"12"});
        QTest::newRow("extent greater than an empty box")
            << Act([](frmland_report *s) { test::choose(s->cmbakkara, QStringLiteral(">")); }) << l({"125", "300"});
        QTest::newRow("division") << Act([](frmland_report *s) { test::choose(s->cmbkottasha, test::kDivision); })
                                  << l({"125", "12"});
        QTest::newRow("division and village") << Act([](frmland_report *s) {
            test::choose(s->cmbkottasha, test::kDivision);
            test::choose(s->cmbgama, test::kVillage);
        }) << l({"125"});
        QTest::newRow("filters combine") << Act([](frmland_report *s) {
            test::choose(s->cmbland_sabawaya, QStringLiteral("2- uv"));
            test::typeInto(s->txtguha, QStringLiteral("B"));
        }) << l({"12"});
        QTest::newRow("a quote matches itself")
            << Act([](frmland_report *s) { test::typeInto(s->txtguha, QStringLiteral("A'")); }) << l({});
    }
    void filters()
    {
        QFETCH(Act, act);
        frmland_report *s = open();
        act(s);
        QTEST(permits(s), "expected");
        // A typed filter is planned as a pass over every land; the session's planner is as it was after.
        if (test::backend() == test::Backend::PostgreSQL)
            QCOMPARE(test::value(QStringLiteral("SELECT current_setting('enable_nestloop')")), QStringLiteral("on"));
    }

    void extentWaitsForItsComparison()
    {
        frmland_report *s = open();
        test::typeInto(s->txtakkara, QStringLiteral("5"));
        QCOMPARE(s->txtakkara->text(), QString());
        QCOMPARE(background(s->cmbakkara), QColor(255, 0, 0));
        test::choose(s->cmbakkara, QStringLiteral(">"));
        QCOMPARE(background(s->cmbakkara), QColor(255, 255, 192));
        test::typeInto(s->txtakkara, QStringLiteral("5"));
        QCOMPARE(permits(s), QStringList({QStringLiteral("300")}));
        // Choosing the empty comparison empties the box and lists every land again.
        test::choose(s->cmbakkara, QString());
        QCOMPARE(s->txtakkara->text(), QString());
        QCOMPARE(permits(s).size(), 3);
    }

    void divisionOffersItsVillages()
    {
        frmland_report *s = open();
        test::choose(s->cmbkottasha, kOtherDivision);
        QCOMPARE(s->cmbgama->count(), 1);
        QCOMPARE(s->cmbgama->itemText(0), QStringLiteral("ll"));
        QCOMPARE(s->cmbgama->currentText(), QString());
        test::choose(s->cmbkottasha, test::kDivision);
        QCOMPARE(s->cmbgama->count(), 2);
        test::choose(s->cmbkottasha, QString());
        QCOMPARE(s->cmbgama->count(), 0);
        QCOMPARE(permits(s).size(), 3);
    }

    void printsTheListedLines()
    {
        frmland_report *s = open();
        test::typeInto(s->txtid, QStringLiteral("1234"));
        QCOMPARE(permits(s).size(), 2);
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(test::count(QStringLiteral("land_report")), 0);
        QString error;
        const QString text = test::pdfText(captured.reports[0].pdf, &error);
        QVERIFY2(!text.isEmpty(), qPrintable(error));
        QVERIFY(text.contains(uni(kOffice)));
        QVERIFY2(test::hasLine(text,
                     {uni(kTitle + QStringLiteral(" 125")), QStringLiteral("123456789v"), QStringLiteral("A-12"),
                         uni(QStringLiteral("Èukd m;%")), uni(QStringLiteral("uv")), uni(QStringLiteral("ud;r jej")),
                         uni(test::kDivision), uni(QStringLiteral("l%shd;aul")), QStringLiteral("2.5")}),
            qPrintable(text));
        QVERIFY(test::hasLine(text,
            {uni(kDeed + QStringLiteral(" 300")), QStringLiteral("123456789v"), uni(QStringLiteral("f.dv")),
                QStringLiteral("10")}));
        QVERIFY(!text.contains(uni(kGrant)));
        QCOMPARE(captured.reports[0].data.rows.size(), size_t(2));
    }

    // A register longer than a page: the list shows its first page at once and fills the rest from the
    // event loop; printing while it fills prints every land.
    void aLongListPrintsWholeWhileStillFilling()
    {
        const int bulk = 450;
        test::exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO land (labn_owner_srno, guhasth, id, balapa_no1, balapa_no, "
                                  "aythiye_sbawaya, loan_sbawaya, wewe_name, kottashaya, gama, akkara_only, chack) "
                                  "SELECT '', '', '', ?, CAST(5000 + i AS VARCHAR(20)), '', '', '', '', '', '1.5', '1' "
                                  "FROM n")
                       .arg(bulk),
            {kGrant});
        frmland_report *s = open();
        QTRY_VERIFY(!s->listFilling());
        const int whole = s->lvland->count();
        QVERIFY(whole > bulk);
        s->rebuild();
        QCOMPARE(s->lvland->count(), 200);
        QVERIFY(s->listFilling());
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(int(captured.reports[0].data.rows.size()), whole);
        QCOMPARE(s->lvland->count(), whole);
        QTest::qWait(50);
        QCOMPARE(s->lvland->count(), whole);
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
        frmland_report *s = open(level);
        QTEST(s->cmdprint->isEnabled(), "prints");
        QCOMPARE(permits(s).size(), 3);
    }
};

QTEST_MAIN(tst_landreport)
#include "tst_landreport.moc"
