// The land register's new land as a clerk enters it: the extent in decimal acres, the kinds of permit
// number and the generated numbers, the permit-number check, the save with its boundary link (also
// with another workstation saving at the same time), a portion of another land, and odd text stored
// and read back unchanged.

#include "base/dbsession.h"
#include "base/extent.h"
#include "registry/frmland.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "support/workstation.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace parcelon;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
const QString kHectares = QStringLiteral("1 - fylaghd¾");
const QString kAcres = QStringLiteral("2 - wlalr");
const QString kTaxPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kAnnualPermit = QStringLiteral("wjirm;% wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kUnnumbered = QStringLiteral("wkjir bvï");
const QString kGrantOwnership = QStringLiteral("1- Èukd m;%");
const QString kAnnualOwnership = QStringLiteral("2- wjir m;%");
const QString kPortion = QStringLiteral("1- Tõ");
const QString kNotPortion = QStringLiteral("2- ke;");

const QString kNumberTaken = QStringLiteral("fuu bvñ wxlh óg fmr we;=<;a lr we;");
const QString kNoVillage = QStringLiteral(".%du ks,Odrs jiu wod, .u f;drkak");
const QString kReducePortion = QStringLiteral("fuu bvu fjk;a bvul fldgila neúka uq,a bvfñ m%udKh wvq lrkak");

const QString kVillage = QStringLiteral("1 - wdrjk");

QString land(const QString &column, const QString &permit)
{
    return test::value(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM land WHERE balapa_no = ?"), {permit});
}

bool isRed(const QWidget *w) { return background(w) == colours::attention; }

// Every Latin-1 character above the ASCII range a PARAS-N text may hold.
QString latin1Upper()
{
    QString text;
    for (int c = 0xA0; c <= 0xFF; ++c)
        text.append(QChar(c));
    return text;
}
} // namespace

class tst_land_save : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmland> m_screen;

    frmland *openScreen()
    {
        const QString user
            = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        m_home->labuser_srno->setText(user);
        m_screen = std::make_unique<frmland>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Picks an entry from the list of an editable combo box (a click there goes into its text).
    static void pick(QComboBox *combo, const QString &entry)
    {
        QVERIFY(combo->findText(entry) >= 0);
        combo->setCurrentIndex(combo->findText(entry));
    }

    // Leaves a box with Tab, as a clerk does.
    static void leave(QWidget *box)
    {
        QVERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
    }

    // The least a save needs: a permit number, an extent and a village.
    static void fillLand(frmland *s, const QString &permit)
    {
        test::typeInto(s->txtlandno, permit);
        leave(s->txtlandno);
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage});
        m_home = m_base.home(QString());
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        Screens::remove(ScreenId::frmland_pewarima);
        m_base.cleanup();
    }

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

    void savesTheLandAndResetsTheForm()
    {
        const QString owner = test::addOwner();
        frmland *s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("1"));
        test::typeInto(s->txtid, QStringLiteral("111111111v"));
        test::enter(s->txtid);
        QCOMPARE(s->labsrno_customr->text(), owner);
        test::choose(s->cmblandno, kAnnualPermit);
        test::typeInto(s->txtlandno, QStringLiteral("A/12"));
        test::enter(s->txtlandno);
        QVERIFY(s->txtadd->hasFocus());
        test::type(s->txtadd, QStringLiteral("uy mdr"));
        test::choose(s->cmbland_sabawaya, QStringLiteral("2- uv"));
        test::typeInto(s->txtkatti, QStringLiteral("7"));
        test::choose(s->cmbakkara, kAcres);
        test::typeInto(s->txtakkara, QStringLiteral("2"));
        test::typeInto(s->txtrud, QStringLiteral("1"));
        test::enter(s->txtrud);
        QVERIFY(s->txtparchase->hasFocus());
        test::type(s->txtparchase, QStringLiteral("20"));
        test::enter(s->txtparchase);
        QVERIFY(s->cmbaythiy_sbawaya->hasFocus());
        pick(s->cmbothland, kNotPortion);
        // The date box keeps its separators: the clerk types the digits from its start.
        QTest::mouseClick(s->mkbalapath_date, Qt::LeftButton);
        QTest::keyClick(s->mkbalapath_date, Qt::Key_Home);
        test::type(s->mkbalapath_date, QStringLiteral("14032026"));
        QCOMPARE(s->mkbalapath_date->text(), QStringLiteral("14$03$2026"));
        s->txtwawa->setText(QStringLiteral("uy jej"));
        s->txtkottasaya->setText(QStringLiteral("1 - ") + test::kDivision);
        s->cmbgama->setEditText(kVillage);
        s->txtpasuaythiya->setText(QStringLiteral("mq;d"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);

        QCOMPARE(test::count(QStringLiteral("land")), 1);
        const QString permit = QStringLiteral("A/12");
        const std::pair<const char *, QString> expected[]
            = {{"id", QStringLiteral("111111111v")}, {"guhasth", QStringLiteral("H-1")}, {"labn_owner_srno", owner},
                {"balapa_no1", kAnnualPermit}, {"addre", QStringLiteral("uy mdr")},
                {"loan_sbawaya", QStringLiteral("2- uv")}, {"katti", QStringLiteral("7")}, {"akkara1", kAcres},
                {"akkara", QStringLiteral("2")}, {"rut", QStringLiteral("1")}, {"parchase", QStringLiteral("20")},
                {"aythiye_sbawaya", kAnnualOwnership}, {"wewe_name", QStringLiteral("uy jej")},
                {"othe_land", kNotPortion}, {"pewarima", QStringLiteral("il%sh")}, {"chack1", QStringLiteral("0")},
                {"chack", QStringLiteral("1")}, {"land_data", QStringLiteral("2026/03/14")},
                {"akkara_only", QStringLiteral("2.375")}, {"kottashaya", QStringLiteral("1 - ") + test::kDivision},
                {"gama", kVillage}, {"p_name", QStringLiteral("mq;d")}, {"p_naya", QStringLiteral(" ")},
                {"username", QStringLiteral("Nimal")}, {"date", test::kStampDate}, {"time", test::kStampTime}};
        for (const auto &[column, value] : expected)
            QCOMPARE(land(QString::fromLatin1(column), permit), value);

        // Ready for the next land of the same owner.
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
        for (QLineEdit *box : {s->txtlandno, s->txtadd, s->txtkatti, s->txtakkara, s->txtrud, s->txtparchase,
                 s->txtwawa, s->txtid, s->txtguhano, s->txtpasuaythiya, s->txtkottasaya, s->txtakkara_only})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(s->labname->text(), QString());
        QCOMPARE(s->cmblandno->currentText(), kTaxPermit);
        QCOMPARE(s->cmbland_sabawaya->currentText(), QStringLiteral("1- fkdoks"));
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), kGrantOwnership);
        QCOMPARE(s->cmbakkara->currentText(), kHectares);
        QCOMPARE(s->cmbothland->currentText(), kNotPortion);
        QCOMPARE(s->cmbgama->count(), 0);
        QCOMPARE(s->labsrno_customr->text(), owner);
        QVERIFY(s->txtlandno->hasFocus());

        // A further save without choosing an owner stores the held owner number again; an empty date box
        // stores nothing.
        s->mkbalapath_date->clear();
        fillLand(s, QStringLiteral("A/13"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(land(QStringLiteral("labn_owner_srno"), QStringLiteral("A/13")), owner);
        QCOMPARE(land(QStringLiteral("land_data"), QStringLiteral("A/13")), QString());
        QCOMPARE(land(QStringLiteral("akkara_only"), QStringLiteral("A/13")), QStringLiteral("2.4752"));
    }

    void saveRefusesWhatIsMissing()
    {
        frmland *s = openScreen();
        // No permit number: nothing at all.
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land")), 0);

        // No decimal acres: the box turns red until something is typed into it.
        test::typeInto(s->txtlandno, QStringLiteral("301"));
        s->txtakkara_only->clear();
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land")), 0);
        QVERIFY(isRed(s->txtakkara_only));
        test::typeInto(s->txtakkara_only, QStringLiteral("4"));
        QVERIFY(!isRed(s->txtakkara_only));

        // No village.
        s->cmbgama->clear();
        s->cmbgama->setEditText(QString());
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kNoVillage);
        QCOMPARE(test::count(QStringLiteral("land")), 0);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("301"));
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

    void aPortionIsSavedAndHandedToTheTransfer()
    {
        frmland *s = openScreen();
        fillLand(s, QStringLiteral("601"));
        pick(s->cmbothland, kPortion);
        // The notice, then the transfer screen in transfer mode with the new land as its second land.
        QString second;
        bool transferMode = false;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit")).with([&](QWidget *transfer) {
            second = transfer->findChild<QLineEdit *>(QStringLiteral("txtlandno"))->text();
            transferMode = transfer->findChild<QRadioButton *>(QStringLiteral("optland_pewarima"))->isChecked();
            transfer->findChild<QPushButton *>(QStringLiteral("cmdexit"))->click();
        });
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(answers.text(), kReducePortion);
        QCOMPARE(answers.name(1), QStringLiteral("frmland_pewarima"));
        QCOMPARE(second, QStringLiteral("601"));
        QVERIFY(transferMode);
        QCOMPARE(land(QStringLiteral("othe_land"), QStringLiteral("601")), kPortion);
        QCOMPARE(s->txtlandno->text(), QString());
        QCOMPARE(s->cmbothland->currentText(), kNotPortion);
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
    }

    void aPortionOpensTheTransferInTransferMode()
    {
        // A stand-in for the transfer screen: its transfer option and its second land's box.
        QString shownNumber;
        bool transferMode = false;
        Screens::add(ScreenId::frmland_pewarima, [](QWidget *opener) {
            auto screen = std::make_unique<QDialog>(opener);
            screen->setObjectName(QStringLiteral("frmland_pewarima"));
            (new QRadioButton(screen.get()))->setObjectName(QStringLiteral("optland_pewarima"));
            (new QRadioButton(screen.get()))->setObjectName(QStringLiteral("optland_bedima"));
            (new QLineEdit(screen.get()))->setObjectName(QStringLiteral("txtlandno"));
            return screen;
        });
        frmland *s = openScreen();
        fillLand(s, QStringLiteral("602"));
        pick(s->cmbothland, kPortion);
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit")).with([&](QWidget *dialog) {
            shownNumber = dialog->findChild<QLineEdit *>(QStringLiteral("txtlandno"))->text();
            transferMode = dialog->findChild<QRadioButton *>(QStringLiteral("optland_pewarima"))->isChecked();
            static_cast<QDialog *>(dialog)->reject();
        });
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(answers.name(1), QStringLiteral("frmland_pewarima"));
        QCOMPARE(shownNumber, QStringLiteral("602"));
        QVERIFY(transferMode);
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("balapa_no = '602'")), 1);
    }

    void oddTextIsStoredAndReadBackUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("O'Brien \"x\" ''");
        QTest::newRow("pattern characters") << QStringLiteral("50% _a_ \\ \\\\ [x] *");
        QTest::newRow("every upper Latin-1 character") << latin1Upper();
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('a')) + QStringLiteral("b");
    }
    void oddTextIsStoredAndReadBackUnchanged()
    {
        QFETCH(QString, text);
        const QString stored = text.left(255);
        frmland *s = openScreen();
        // Every box the clerk types into, with its column; the decimal acres last, as the clerk may type
        // over them once the extent is in.
        const std::pair<const char *, QLineEdit *> columns[] = {{"balapa_no", s->txtlandno}, {"guhasth", s->txtguhano},
            {"addre", s->txtadd}, {"katti", s->txtkatti}, {"akkara", s->txtakkara}, {"rut", s->txtrud},
            {"parchase", s->txtparchase}, {"wewe_name", s->txtwawa}, {"p_name", s->txtpasuaythiya},
            {"kottashaya", s->txtkottasaya}, {"othe_land", s->cmbothland->lineEdit()}, {"gama", s->cmbgama->lineEdit()},
            {"akkara_only", s->txtakkara_only}};
        // Pasted into every box: each holds what its column holds.
        for (const auto &[column, box] : columns) {
            box->setText(text);
            QCOMPARE(box->text(), stored);
        }
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land")), 1);
        for (const auto &[column, box] : columns)
            QCOMPARE(
                test::value(QStringLiteral("SELECT ") + QString::fromLatin1(column) + QStringLiteral(" FROM land")),
                stored);

        // Loaded again in change mode, every box shows it as stored; the household number comes from the
        // owner's row and the decimal acres are computed again.
        QTest::mouseClick(s->cmdedit, Qt::LeftButton);
        test::typeInto(s->labno, QStringLiteral("1"));
        leave(s->labno);
        for (const auto &[column, box] : columns) {
            if (box != s->txtguhano && box != s->txtakkara_only)
                QCOMPARE(box->text(), stored);
        }
    }
};

QTEST_MAIN(tst_land_save)
#include "tst_land_save.moc"
