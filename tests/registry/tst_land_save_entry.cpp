// The land register's new land as a clerk enters it, up to the save: the extent in decimal acres, the
// permit date, the kinds of permit number and the generated numbers, and the permit-number check (also at
// the save, against a land another workstation saved meanwhile).

#include "base/extent.h"
#include "landsavetest.h"
#include "support/modal.h"
#include "ui/screenregistry.h"

#include <QPushButton>

using namespace parcelon;

namespace {
const QString kGrant = QStringLiteral("osukdm;% wxlh");

const QString kNumberTaken = QStringLiteral("fuu bvñ wxlh óg fmr we;=<;a lr we;");
} // namespace

class tst_land_save_entry : public test::LandSaveTest
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

    void decimalAcres_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("roods");
        QTest::addColumn<QString>("perches");
        QTest::addColumn<QString>("shown");
        QTest::newRow("acres, roods and perches") << kAcres << "2"
                                                  << "1"
                                                  << "20"
                                                  << "2.375";
        QTest::newRow("a hectare, four places") << kHectares << "1"
                                                << "0"
                                                << "0"
                                                << "2.4752";
        QTest::newRow("below one: no leading 0") << kHectares << "0"
                                                 << "2"
                                                 << "0"
                                                 << ".5";
        QTest::newRow("a quarter") << kAcres << ""
                                   << "1"
                                   << ""
                                   << ".25";
        QTest::newRow("whole number keeps its point") << kAcres << "3"
                                                      << "0"
                                                      << "0"
                                                      << "3.";
        QTest::newRow("hectares make whole acres") << kHectares << ".404"
                                                   << ""
                                                   << ""
                                                   << "1.";
        QTest::newRow("zero is the point alone") << kAcres << "0"
                                                 << "0"
                                                 << "0"
                                                 << ".";
        QTest::newRow("empty boxes") << kHectares << ""
                                     << ""
                                     << ""
                                     << ".";
        QTest::newRow("one perch rounds to four places") << kAcres << ""
                                                         << ""
                                                         << "1"
                                                         << ".0063";
        QTest::newRow("blanks inside a number") << kAcres << " 1 2"
                                                << ""
                                                << ""
                                                << "12.";
        QTest::newRow("letters end the number") << kAcres << "2.5ac"
                                                << "1r"
                                                << ""
                                                << "2.75";
        QTest::newRow("no leading number counts 0") << kAcres << "x3"
                                                    << "r"
                                                    << "40 p"
                                                    << ".25";
        QTest::newRow("a point twice") << kAcres << "1.5.5"
                                       << ""
                                       << ""
                                       << "1.5";
    }
    void decimalAcres()
    {
        QFETCH(QString, unit);
        QFETCH(QString, first);
        QFETCH(QString, roods);
        QFETCH(QString, perches);
        QFETCH(QString, shown);
        QCOMPARE(parcelon::decimalAcres(unit, first, roods, perches), shown);

        // The clerk picks the unit, then the three numbers come into the boxes (a stored land's numbers are
        // shown as stored, so the boxes' arithmetic reads any text; the clerk's keys give only numbers).
        frmland *s = openScreen();
        if (unit != s->cmbakkara->currentText())
            test::choose(s->cmbakkara, unit);
        s->txtakkara->setText(first.isEmpty() ? QStringLiteral("x") : first);
        if (first.isEmpty())
            s->txtakkara->clear();
        s->txtrud->setText(roods);
        s->txtparchase->setText(perches);
        QCOMPARE(s->txtakkara_only->text(), shown);
    }

    void permitDate_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("stored");
        QTest::newRow("a date") << "14$03$2026"
                                << "2026/03/14";
        QTest::newRow("single digits") << "1$3$2026"
                                       << "2026/03/01";
        QTest::newRow("nothing typed") << "$$"
                                       << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no such day") << "31$02$2026"
                                     << "31$02$2026";
        QTest::newRow("part of a date") << "14$03$"
                                        << "14$03$";
        QTest::newRow("stored form") << "2026/03/14"
                                     << "2026/03/14";
    }
    void permitDate()
    {
        QFETCH(QString, box);
        QFETCH(QString, stored);
        QCOMPARE(storedPermitDate(box), stored);
        // A stored date shows in the box again as the box holds it.
        if (stored.contains(QLatin1Char('/')))
            QCOMPARE(storedPermitDate(shownPermitDate(stored)), stored);
        else
            QCOMPARE(shownPermitDate(stored), stored);
    }

    void onlyTheUnitLeavesTheDecimalAcres()
    {
        frmland *s = openScreen();
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        QCOMPARE(s->txtakkara_only->text(), QStringLiteral("2.4752"));
        test::choose(s->cmbakkara, kAcres);
        QCOMPARE(s->txtakkara_only->text(), QStringLiteral("2.4752"));
        test::typeInto(s->txtrud, QStringLiteral("2"));
        QCOMPARE(s->txtakkara_only->text(), QStringLiteral("1.5"));
    }

    void unnumberedLandsGetTheNextNumber()
    {
        frmland *s = openScreen();
        test::choose(s->cmblandno, kUnnumbered);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("w - 1"));
        QVERIFY(!s->txtlandno->isEnabled());
        QVERIFY(s->txtadd->hasFocus());
        QVERIFY(s->cmdsathara->isEnabled());
        m_screen.reset();

        for (int i = 1; i <= 15; ++i)
            test::addLand({.balapa_no = QString::number(100 + i)});
        s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("16"));
        test::choose(s->cmblandno, kUnnumbered);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("w - 16"));
        // Back to a kind with a number of its own: the box is open and empty again.
        test::choose(s->cmblandno, kTaxPermit);
        QVERIFY(s->txtlandno->isEnabled());
        QCOMPARE(s->txtlandno->text(), QString());
        QVERIFY(!s->cmdsathara->isEnabled());
    }

    void permitKindSetsTheOwnershipKind()
    {
        frmland *s = openScreen();
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), kGrantOwnership);
        test::typeInto(s->txtlandno, QStringLiteral("55"));
        test::choose(s->cmblandno, kAnnualPermit);
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), kAnnualOwnership);
        QCOMPARE(s->txtlandno->text(), QString());
        test::choose(s->cmblandno, kTaxPermit);
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), kAnnualOwnership);
        test::choose(s->cmblandno, kGrant);
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), kGrantOwnership);
    }

    void takenPermitNumberIsRefused_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("typed");
        QTest::newRow("active land") << "1"
                                     << "101";
        QTest::newRow("deleted land") << "0"
                                      << "101";
        QTest::newRow("blanks around the number") << "1"
                                                  << "  101 ";
    }
    void takenPermitNumberIsRefused()
    {
        QFETCH(QString, status);
        QFETCH(QString, typed);
        test::addLand({.balapa_no = QStringLiteral("101"), .pewarima = QStringLiteral("wl%sh"), .chack = status});
        frmland *s = openScreen();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        test::typeInto(s->txtlandno, typed);
        QTest::keyClick(s->txtlandno, Qt::Key_Tab);
        QTRY_COMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kNumberTaken);
        QCOMPARE(s->txtlandno->text(), QString());
        test::backTo(s);
        QTRY_VERIFY(s->txtlandno->hasFocus());

        // A number no land has passes.
        test::type(s->txtlandno, QStringLiteral("1010"));
        leave(s->txtlandno);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("1010"));
    }

    void aNumberTakenMeanwhileIsRefusedAtTheSave()
    {
        frmland *s = openScreen();
        fillLand(s, QStringLiteral("77"));
        // Another workstation saves a land with the same number after the box was checked.
        test::exec(QStringLiteral("INSERT INTO land (balapa_no, chack) VALUES ('77', '1')"));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kNumberTaken);
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("balapa_no = '77'")), 1);
        QCOMPARE(s->txtlandno->text(), QString());
    }
};

QTEST_MAIN(tst_land_save_entry)
#include "tst_land_save_entry.moc"
