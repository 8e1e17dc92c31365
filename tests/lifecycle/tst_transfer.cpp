// The transfer and division screen as a clerk uses it: the first land's decimal acres as its extent is
// typed, the second land's proposal, the refusals, a transfer and a division stored (the division only
// after this question's yes), the next history number, the reason list, lands not found, the land search's
// hand-back, the read-only level, a store that fails half-way, and another workstation changing the first
// land while the clerk works.

#include "base/dbsession.h"
#include "lifecycle/frmland_pewarima.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "support/workstation.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace parcelon;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {
const QString kAcres = QStringLiteral("2 - wlalr");
const QString kHectares = QStringLiteral("1 - fylaghd¾");
const QString kTaxPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kViewOnly = QStringLiteral("2 - ne,su muKhs");

const QString kFirstNotFound = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kSecondNotFound = QStringLiteral("we;=<;a l< bvï wxlh jerÈh");
const QString kChangeExtent = QStringLiteral("bvfñ m%udKh fjkia lrkak");
const QString kChangedElsewhere
    = QStringLiteral("fuu f;dr;=re fjk;a mß.Klhlska fjkia lr we;' oekg we;s wdldrhg fmkajd we;'");
const QString kDefaultReason = QStringLiteral("rchg mejÍu");
const QString kTransfer = QStringLiteral("bvï mejßu");
const QString kDivision = QStringLiteral("bvï neyer lsÍu");

// A land in force under a permit of the given kind, with its extent.
QString land(const QString &permit, const QString &akkara, const QString &rut, const QString &parchase,
    const QString &akkaraOnly, const QString &unit = kAcres, const QString &owner = QString())
{
    return test::addLand({.labn_owner_srno = owner,
        .balapa_no1 = kGrant,
        .balapa_no = permit,
        .akkara1 = unit,
        .akkara = akkara,
        .rut = rut,
        .parchase = parchase,
        .pewarima = QStringLiteral("il%sh"),
        .akkara_only = akkaraOnly});
}

QString landColumn(const QString &column, const QString &srno)
{
    return test::value(
        QStringLiteral("SELECT ") + column + QStringLiteral(" FROM land WHERE srno = ?"), {srno.toInt()});
}

// The history rows, oldest first, each as "column|column|...".
QStringList history()
{
    QStringList rows;
    Query q = db().select(
        QStringLiteral("SELECT land_srno, land_no1, land_no, land_behera_wargaya, land_hethuwa, "
                       "land_a, land_r, land_p, land_no_2, land_no_2_1 FROM land_pewarima ORDER BY srno"));
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 10; ++i)
            cells << q.value(i);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

bool isRed(const QWidget *w) { return background(w) == colours::attention; }
} // namespace

class tst_transfer : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmland_pewarima> m_screen;

    frmland_pewarima *openScreen(const QString &level = kAll)
    {
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {level}));
        m_screen = std::make_unique<frmland_pewarima>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    static void loadFirst(frmland_pewarima *s, const QString &permit)
    {
        test::typeInto(s->txtlandno_h, permit);
        test::enter(s->txtlandno_h);
    }
    static void loadSecond(frmland_pewarima *s, const QString &permit)
    {
        test::typeInto(s->txtlandno, permit);
        test::enter(s->txtlandno);
    }
    static void retype(QLineEdit *box, const QString &text)
    {
        box->clear();
        test::typeInto(box, text);
    }
    // The first land 3 a 2 r 0 p (3.5 acres) and the second 1.25 acres, both loaded; the clerk types the
    // first land's new extent 2 a 1 r 0 p.
    static void readyTransfer(frmland_pewarima *s)
    {
        loadFirst(s, QStringLiteral("301"));
        loadSecond(s, QStringLiteral("302"));
        retype(s->txtakkara_h, QStringLiteral("2"));
        retype(s->txtrud_h, QStringLiteral("1"));
        QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("2.25"));
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_home = m_base.home(QString());
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    void decimalAcres_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("typed"); // acres, roods, perches
        QTest::addColumn<QString>("shown");
        QTest::newRow("2 a 1 r 0 p") << kAcres << QStringList {u"2"_s, u"1"_s, u"0"_s} << u"2.25"_s;
        QTest::newRow("perches 20") << kAcres << QStringList {u"2"_s, u"1"_s, u"20"_s} << u"2.375"_s;
        QTest::newRow("a hectare") << kHectares << QStringList {u"1"_s, u""_s, u""_s} << u"2.4752"_s;
        QTest::newRow("hectares with roods") << kHectares << QStringList {u"1"_s, u"2"_s, u""_s} << u"2.9752"_s;
        QTest::newRow("a quarter: no leading 0") << kAcres << QStringList {u""_s, u"1"_s, u""_s} << u".25"_s;
        QTest::newRow("whole acres keep the point") << kAcres << QStringList {u"3"_s, u""_s, u""_s} << u"3."_s;
        QTest::newRow("empties") << kAcres << QStringList {u""_s, u""_s, u""_s} << u"."_s;
    }
    void decimalAcres()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, typed);
        QFETCH(QString, shown);
        land(u"301"_s, u"9"_s, u"9"_s, u"9"_s, QStringLiteral("7.7"), unit);
        frmland_pewarima *s = openScreen();
        loadFirst(s, QStringLiteral("301"));
        // Loaded, the box shows the decimal acres as stored, whatever the extent computes to.
        QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("7.7"));
        QCOMPARE(s->txtakkara_only_old->text(), QStringLiteral("7.7"));
        retype(s->txtakkara_h, typed.at(0));
        retype(s->txtrud_h, typed.at(1));
        retype(s->txtparchase_h, typed.at(2));
        QCOMPARE(s->txtakkara_only_h->text(), shown);
    }

    void theFirstLandLoadsWithItsOwner()
    {
        const QString owner = test::addOwner({.id = QStringLiteral("222222222v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("mshd")});
        const QString srno = land(u"301"_s, u"3"_s, u"2"_s, QString(), QStringLiteral("3.5"), kAcres, owner);
        frmland_pewarima *s = openScreen();
        loadFirst(s, QStringLiteral("301"));
        QCOMPARE(s->labsrno->text(), srno);
        QCOMPARE(s->cmblandno_h->currentText(), kGrant);
        QVERIFY(!s->cmblandno_h->isEnabled());
        QCOMPARE(s->labakkara_h->text(), QStringLiteral("wlalr"));
        QCOMPARE(s->labid_h->text(), QStringLiteral(" 222222222v"));
        QCOMPARE(s->labguha_h->text(), QStringLiteral(" H-7"));
        QCOMPARE(s->lablandname_h->text(), QStringLiteral(" mshd"));
        QCOMPARE(QStringList({s->tt1->text(), s->tt2->text(), s->tt3->text()}), QStringList({u"3"_s, u"2"_s, u""_s}));
        // Transfer mode: Enter moves on to the second land.
        QVERIFY(s->txtlandno->hasFocus());
        // Typing another number clears the details and opens the kind list again.
        test::typeInto(s->txtlandno_h, QStringLiteral("9"));
        QCOMPARE(s->labid_h->text(), QString());
        QCOMPARE(s->txtakkara_h->text(), QString());
        QVERIFY(s->cmblandno_h->isEnabled());
        // Division mode: Enter moves on to the reason.
        s->txtlandno_h->setText(QStringLiteral("301"));
        QTest::mouseClick(s->optland_behera, Qt::LeftButton);
        s->txtlandno_h->setFocus();
        test::enter(s->txtlandno_h);
        QVERIFY(s->cmbrajaya->hasFocus());
    }

    void theModesEnableTheirFrames()
    {
        frmland_pewarima *s = openScreen();
        const QColor cyan(0, 255, 255);
        QVERIFY(s->optland_pewarima->isChecked());
        QVERIFY(s->fra2->isEnabled() && s->cmdok->isEnabled() && !s->fra3->isEnabled());
        QCOMPARE(background(s->optland_pewarima), cyan);
        QCOMPARE(background(s->optland_behera), colours::field);
        QTest::mouseClick(s->optland_behera, Qt::LeftButton);
        QVERIFY(!s->fra2->isEnabled() && !s->cmdok->isEnabled() && s->fra3->isEnabled() && s->cmdenter->isEnabled());
        QCOMPARE(background(s->optland_behera), cyan);
        QCOMPARE(background(s->optland_pewarima), colours::field);
        QTest::mouseClick(s->optland_pewarima, Qt::LeftButton);
        QVERIFY(s->fra2->isEnabled() && !s->fra3->isEnabled());
    }

    void aLandNotFound_data()
    {
        QTest::addColumn<bool>("first");
        QTest::addColumn<QString>("notice");
        QTest::newRow("first land") << true << kFirstNotFound;
        QTest::newRow("second land") << false << kSecondNotFound;
    }
    void aLandNotFound()
    {
        QFETCH(bool, first);
        QFETCH(QString, notice);
        // A land out of force is not found either.
        test::addLand({.balapa_no = QStringLiteral("401"), .chack = QStringLiteral("0")});
        frmland_pewarima *s = openScreen();
        QLineEdit *box = first ? s->txtlandno_h : s->txtlandno;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        test::typeInto(box, QStringLiteral("401"));
        test::enter(box);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), notice);
        QCOMPARE(box->text(), QString());
        test::backTo(s);
        QVERIFY(box->hasFocus());
        // Leaving the empty box says nothing.
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(answers.answered(), 1);
    }

    void theSecondLandProposesWhatTheFirstKeeps_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("firstBefore");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("3.5 less 1.25") << "1.25" << true << "2.25";
        QTest::newRow("below one: a leading 0") << "2.75" << true << "0.75";
        QTest::newRow("all of it") << "3.5" << true << "0";
        QTest::newRow("second larger: nothing") << "4." << true << "3.5";
        QTest::newRow("second loaded first: nothing") << "1.25" << false << "";
    }
    void theSecondLandProposesWhatTheFirstKeeps()
    {
        QFETCH(QString, second);
        QFETCH(bool, firstBefore);
        QFETCH(QString, proposed);
        const QString owner = test::addOwner({.id = QStringLiteral("333333333v")});
        land(u"301"_s, u"3"_s, u"2"_s, QString(), u"3.5"_s);
        test::addLand({.labn_owner_srno = owner,
            .balapa_no1 = kTaxPermit,
            .balapa_no = QStringLiteral("302"),
            .akkara1 = kHectares,
            .akkara = QStringLiteral("1"),
            .akkara_only = second});
        frmland_pewarima *s = openScreen();
        if (firstBefore)
            loadFirst(s, QStringLiteral("301"));
        loadSecond(s, QStringLiteral("302"));
        QCOMPARE(s->txtakkara_only_h->text(), proposed);
        QCOMPARE(s->txtakkara_only->text(), second);
        QCOMPARE(s->labakkara->text(), QStringLiteral("fylaghd¾"));
        QCOMPARE(s->txtakkara->text(), QStringLiteral("1"));
        QCOMPARE(s->labid->text(), QStringLiteral(" 333333333v"));
        QCOMPARE(s->cmblandno->currentText(), kTaxPermit);
        QVERIFY(!s->cmblandno->isEnabled());
        QVERIFY(s->cmdok->hasFocus());
    }

    void aTransferIsStored()
    {
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no1 = kTaxPermit, .balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        test::exec(QStringLiteral("INSERT INTO land_pewarima (land_srno) VALUES ('9')"));
        frmland_pewarima *s = openScreen();
        QCOMPARE(s->lablandno->text(), QStringLiteral("2"));
        readyTransfer(s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);

        QCOMPARE(landColumn(QStringLiteral("akkara"), first), QStringLiteral("2"));
        QCOMPARE(landColumn(QStringLiteral("rut"), first), QStringLiteral("1"));
        QCOMPARE(landColumn(QStringLiteral("parchase"), first), QStringLiteral("0"));
        // The decimal acres follow the numbers the land keeps; the unit stays.
        QCOMPARE(landColumn(QStringLiteral("akkara_only"), first), QStringLiteral("2.25"));
        QCOMPARE(landColumn(QStringLiteral("akkara1"), first), kAcres);
        QCOMPARE(history().mid(1),
            QStringList {first + u"|"_s + kGrant + u"|301|"_s + kTransfer + u"|ke;a|3|2|0|302|"_s + kTaxPermit});
        QCOMPARE(s->lablandno->text(), QStringLiteral("3"));
        // Ready for the next land.
        for (QLineEdit *box : {s->txtlandno_h, s->txtlandno, s->txtakkara_only_h, s->txtakkara_only_old})
            QCOMPARE(box->text(), QString());
        for (QLabel *label : {s->labid_h, s->labakkara_h, s->tt1, s->labid, s->labakkara})
            QCOMPARE(label->text(), QString());
    }

    void aTransferIsRefused_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("extent"); // the first land's extent as the clerk leaves it
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("red");
        QTest::newRow("second larger") << u"4."_s << QStringList {u"2"_s, u"1"_s} << kChangeExtent << u""_s;
        QTest::newRow("first unchanged") << u"1.25"_s << QStringList {u"3"_s, u"2"_s} << kChangeExtent << u""_s;
        QTest::newRow("no second land") << u""_s << QStringList {u"2"_s, u"1"_s} << u""_s << u"txtlandno"_s;
    }
    void aTransferIsRefused()
    {
        QFETCH(QString, second);
        QFETCH(QStringList, extent);
        QFETCH(QString, notice);
        QFETCH(QString, red);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = QStringLiteral("302"), .akkara_only = second});
        frmland_pewarima *s = openScreen();
        loadFirst(s, QStringLiteral("301"));
        if (!second.isEmpty())
            loadSecond(s, QStringLiteral("302"));
        retype(s->txtakkara_h, extent.at(0));
        retype(s->txtrud_h, extent.at(1));
        test::ModalAnswers answers;
        if (!notice.isEmpty())
            answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.answered(), notice.isEmpty() ? 0 : 1);
        QCOMPARE(answers.text(), notice);
        if (!red.isEmpty())
            QVERIFY(isRed(s->findChild<QWidget *>(red)));
        QCOMPARE(landColumn(QStringLiteral("akkara"), first), QStringLiteral("3"));
        QCOMPARE(landColumn(QStringLiteral("rut"), first), QStringLiteral("2"));
        QCOMPARE(test::count(QStringLiteral("land_pewarima")), 0);
        QCOMPARE(s->lablandno->text(), QStringLiteral("1"));
    }

    void aDivisionIsStoredOnlyAfterThisQuestionsYes()
    {
        const QString a = land(u"501"_s, u"2"_s, u"1"_s, u"0"_s, u"2.25"_s);
        const QString b = land(u"502"_s, u"1"_s, QString(), QString(), u"1."_s);
        frmland_pewarima *s = openScreen();
        QTest::mouseClick(s->optland_behera, Qt::LeftButton);
        loadFirst(s, QStringLiteral("501"));
        QCOMPARE(s->cmbrajaya->currentText(), kDefaultReason);
        {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdyes"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QCOMPARE(answers.answered(), 1);
            test::backTo(s);
            QCOMPARE(answers.name(), QStringLiteral("frmmessage_y"));
            QCOMPARE(answers.text(),
                kGrant + QStringLiteral("& 501 jk bvï n,m;% wxlh ") + kDefaultReason
                    + QStringLiteral("' jk w;r bvñ n,m;% wxlh wfydis fú'Tn tlÕ o@   "));
        }
        QCOMPARE(landColumn(QStringLiteral("chack"), a), QStringLiteral("0"));
        QCOMPARE(landColumn(QStringLiteral("pewarima"), a), kDefaultReason);
        QCOMPARE(history(),
            QStringList {
                a + u"|"_s + kGrant + u"|501|"_s + kDivision + u"|"_s + kDefaultReason + u"|2|1|0|0|"_s + kTaxPermit});
        QCOMPARE(s->lablandno->text(), QStringLiteral("2"));
        QCOMPARE(s->txtlandno_h->text(), QString());

        // The next land: the clerk says no, after the yes given to the first.
        loadFirst(s, QStringLiteral("502"));
        s->cmbrajaya->setCurrentText(QStringLiteral("fnÿï"));
        {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdexit"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QCOMPARE(answers.answered(), 1);
            test::backTo(s);
        }
        QCOMPARE(landColumn(QStringLiteral("chack"), b), QStringLiteral("1"));
        QCOMPARE(landColumn(QStringLiteral("pewarima"), b), QStringLiteral("il%sh"));
        QCOMPARE(test::count(QStringLiteral("land_pewarima")), 1);
        QCOMPARE(s->lablandno->text(), QStringLiteral("2"));
        QCOMPARE(s->txtlandno_h->text(), QStringLiteral("502"));

        // Yes this time, with the reason typed.
        {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdyes"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        }
        QCOMPARE(landColumn(QStringLiteral("pewarima"), b), QStringLiteral("fnÿï"));
        QCOMPARE(s->lablandno->text(), QStringLiteral("3"));

        // Without a number the box turns red and nothing is asked.
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QVERIFY(isRed(s->txtlandno_h));
    }

    void theReasonList_data()
    {
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no lands") << QStringList {} << QStringList {} << u""_s;
        QTest::newRow("each once, in order, the usual reason added")
            << QStringList {u"wl%sh"_s, u"il%sh"_s, u""_s, u"il%sh"_s, u"fnÿï"_s}
            << QStringList {u"fnÿï"_s, u"il%sh"_s, u"wl%sh"_s, kDefaultReason} << kDefaultReason;
        QTest::newRow("the usual reason carried already")
            << QStringList {u"wl%sh"_s, kDefaultReason} << QStringList {kDefaultReason, u"wl%sh"_s} << kDefaultReason;
        QTest::newRow("lands without a status")
            << QStringList {u""_s} << QStringList {kDefaultReason} << kDefaultReason;
    }
    void theReasonList()
    {
        QFETCH(QStringList, statuses);
        QFETCH(QStringList, listed);
        QFETCH(QString, shown);
        for (const QString &status : statuses)
            test::addLand({.pewarima = status});
        frmland_pewarima *s = openScreen();
        QStringList entries;
        for (int i = 0; i < s->cmbrajaya->count(); ++i)
            entries << s->cmbrajaya->itemText(i);
        QCOMPARE(entries, listed);
        QCOMPARE(s->cmbrajaya->currentText(), shown);
    }

    void theLandSearchHandsBothLands()
    {
        land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        for (QPushButton *find : {s->cmdfind_h, s->cmdfind}) {
            const QString permit = find == s->cmdfind_h ? QStringLiteral("301") : QStringLiteral("302");
            double dimmed = 1;
            test::ModalAnswers answers;
            answers.with([&](QWidget *search) {
                dimmed = s->windowOpacity();
                auto *list = search->findChild<ListView *>(QStringLiteral("lvland"));
                for (int row = 0; row < list->count(); ++row) {
                    if (list->text(row, 7) == permit)
                        test::doubleClickRow(list, row);
                }
            });
            QTest::mouseClick(find, Qt::LeftButton);
            QVERIFY(answers.allAnswered());
            QCOMPARE(answers.name(), QStringLiteral("frmland_search"));
            QCOMPARE(dimmed, 100 / 255.0);
            QCOMPARE(s->windowOpacity(), 1.0);
        }
        QCOMPARE(s->txtlandno_h->text(), QStringLiteral("301"));
        QCOMPARE(s->tt1->text(), QStringLiteral("3"));
        QCOMPARE(s->txtlandno->text(), QStringLiteral("302"));
        QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("2.25"));
        QVERIFY(s->cmdok->hasFocus());
    }

    void theLandRegistersPortionLoadsAsSecondLand()
    {
        land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        // What the land register does before the screen shows (openTransferForPortion).
        QTest::mouseClick(s->optland_behera, Qt::LeftButton);
        HandBack(s).press("optland_pewarima").set("txtlandno", QStringLiteral("302"));
        QVERIFY(s->optland_pewarima->isChecked() && s->fra2->isEnabled());
        loadFirst(s, QStringLiteral("301"));
        QVERIFY(s->txtlandno->hasFocus());
        test::enter(s->txtlandno);
        QCOMPARE(s->txtakkara_only->text(), QStringLiteral("1.25"));
        QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("2.25"));
    }

    void theMainMenuOpensItReadOnlyAtLevelTwo_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("view only") << kViewOnly << false;
        QTest::newRow("all") << kAll << true;
    }
    void theMainMenuOpensItReadOnlyAtLevelTwo()
    {
        QFETCH(QString, level);
        QFETCH(bool, enabled);
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Sunil"), QStringLiteral("p"), {level}));
        QStringList states;
        test::ModalAnswers answers;
        answers.with([&](QWidget *screen) {
            for (const char *name : {"txtlandno", "txtlandno_h", "cmdfind", "cmdfind_h"})
                states << QString::number(screen->findChild<QWidget *>(QLatin1String(name))->isEnabled());
            screen->findChild<QPushButton *>(QStringLiteral("cmdexit"))->click();
        });
        QTest::mouseClick(m_home->cmdland_pewarima, Qt::LeftButton);
        QCOMPARE(answers.name(), QStringLiteral("frmland_pewarima"));
        QCOMPARE(states, QStringList(4, enabled ? QStringLiteral("1") : QStringLiteral("0")));
    }

    void aStoreThatFailsHalfWayChangesNothing_data()
    {
        QTest::addColumn<bool>("transfer");
        QTest::newRow("transfer") << true;
        QTest::newRow("division") << false;
    }
    void aStoreThatFailsHalfWayChangesNothing()
    {
        QFETCH(bool, transfer);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        if (transfer) {
            readyTransfer(s);
        } else {
            QTest::mouseClick(s->optland_behera, Qt::LeftButton);
            loadFirst(s, QStringLiteral("301"));
        }
        // The history table is gone: the second statement of the store fails.
        QSqlQuery drop(db().database());
        QVERIFY(drop.exec(QStringLiteral("DROP TABLE land_pewarima")));
        test::ModalAnswers answers;
        if (!transfer)
            answers.press(QStringLiteral("cmdyes"));
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(transfer ? s->cmdok : s->cmdenter, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(answers.name(answers.answered() - 1), QStringLiteral("failure"));
        QCOMPARE(landColumn(QStringLiteral("akkara"), first), QStringLiteral("3"));
        QCOMPARE(landColumn(QStringLiteral("rut"), first), QStringLiteral("2"));
        QCOMPARE(landColumn(QStringLiteral("chack"), first), QStringLiteral("1"));
        QCOMPARE(landColumn(QStringLiteral("pewarima"), first), QStringLiteral("il%sh"));
        // The screen stays as it was, ready to try again.
        QCOMPARE(s->txtlandno_h->text(), QStringLiteral("301"));
    }

    void anotherWorkstationChangesTheFirstLand_data()
    {
        QTest::addColumn<QString>("change"); // what the other workstation sets on the first land
        QTest::addColumn<bool>("stored");
        QTest::newRow("a transfer meanwhile: refused, shown as it stands")
            << u"akkara = '1', rut = '0', parchase = '0', akkara_only = '1.'"_s << false;
        QTest::newRow("its roods changed: refused") << u"rut = '3'"_s << false;
        QTest::newRow("its address changed: stored") << u"addre = 'kj mdr'"_s << true;
    }
    void anotherWorkstationChangesTheFirstLand()
    {
        QFETCH(QString, change);
        QFETCH(bool, stored);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        readyTransfer(s);
        const QString before = test::value(u"SELECT akkara || '/' || rut || '/' || parchase || '/' || akkara_only "
                                           "FROM land WHERE srno = ?"_s,
            {first.toInt()});
        // The other workstation changes the first land and holds its change open until this clerk's store
        // waits for it.
        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        test::ModalAnswers answers;
        if (!stored)
            answers.press(QStringLiteral("cmdexit"));
        {
            std::jthread other = test::otherWorkstation(otherError, [&](DbSession &session) {
                session.lockedChange([&] {
                    session.execute(u"UPDATE land SET "_s + change + u" WHERE srno = ?"_s, {first.toInt()});
                    holding.raise();
                    test::waitForRival(session, clerkDone);
                });
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(answers.answered(), stored ? 0 : 1);
        const QString after = test::value(u"SELECT akkara || '/' || rut || '/' || parchase || '/' || akkara_only "
                                          "FROM land WHERE srno = ?"_s,
            {first.toInt()});
        if (stored) {
            QCOMPARE(after, u"2/1/0/2.25"_s);
            QCOMPARE(
                history(), QStringList {first + u"|"_s + kGrant + u"|301|"_s + kTransfer + u"|ke;a|3|2|0|302|ysñ"_s});
            return;
        }
        QCOMPARE(answers.text(), kChangedElsewhere);
        QVERIFY(after != before); // the other workstation's change stands
        QCOMPARE(after,
            test::value(u"SELECT akkara || '/' || rut || '/' || parchase || '/' || akkara_only FROM land "
                        "WHERE srno = ?"_s,
                {first.toInt()}));
        QCOMPARE(test::count(QStringLiteral("land_pewarima")), 0);
        // The first land as it now stands, ready for the clerk to decide again.
        QCOMPARE(s->txtakkara_h->text() + u"/"_s + s->txtrud_h->text() + u"/"_s + s->txtparchase_h->text(),
            after.section(QLatin1Char('/'), 0, 2));
        QCOMPARE(s->tt2->text(), after.section(QLatin1Char('/'), 1, 1));
    }

    // A transfer keeps the land's decimal acres with its numbers, so the next transfer is checked and
    // proposed against what the land now holds: 5.9375 acres reduced to 4 a 1 r 20 p hold 4.375.
    void aSecondTransferSeesWhatTheFirstLeft()
    {
        const QString first = land(u"301"_s, u"5"_s, u"3"_s, u"30"_s, u"5.9375"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.5625"_s});
        test::addLand({.balapa_no = u"303"_s, .akkara_only = u"4.5"_s});
        frmland_pewarima *s = openScreen();
        loadFirst(s, u"301"_s);
        loadSecond(s, u"302"_s);
        QCOMPARE(s->txtakkara_only_h->text(), u"4.375"_s);
        retype(s->txtakkara_h, u"4"_s);
        retype(s->txtrud_h, u"1"_s);
        retype(s->txtparchase_h, u"20"_s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(landColumn(u"akkara_only"_s, first), u"4.375"_s);

        loadFirst(s, u"301"_s);
        QCOMPARE(s->txtakkara_only_old->text(), u"4.375"_s);
        loadSecond(s, u"303"_s);
        QCOMPARE(s->txtakkara_only_h->text(), u"4.375"_s); // 4.5 is more than the land holds: no proposal
        retype(s->txtakkara_h, u"0"_s);
        retype(s->txtrud_h, u"0"_s);
        retype(s->txtparchase_h, u"0"_s);
        test::ModalAnswers answers;
        answers.press(u"cmdexit"_s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.text(), kChangeExtent);
        QCOMPARE(landColumn(u"akkara"_s, first) + u"/"_s + landColumn(u"rut"_s, first), u"4/1"_s);
        QCOMPARE(test::count(u"land_pewarima"_s), 1);
    }

    void anExtentBoxTakesNumbersOnly_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a sign") << u"-1"_s << u"1"_s;
        QTest::newRow("letters") << u"abc"_s << u""_s;
        QTest::newRow("a word") << u"forty"_s << u""_s;
        QTest::newRow("a second point") << u"2.5.1"_s << u"2.51"_s;
    }
    void anExtentBoxTakesNumbersOnly()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        frmland_pewarima *s = openScreen();
        for (QLineEdit *box : {s->txtakkara_h, s->txtrud_h, s->txtparchase_h}) {
            box->setFocus();
            QTest::keyClicks(box, typed);
            QCOMPARE(box->text(), shown);
        }
    }

    // Whatever reaches the boxes (a stored text, a program writing them) is checked again at the store.
    void anExtentTheLandCannotKeepIsRefused_data()
    {
        QTest::addColumn<QStringList>("kept"); // acres, roods, perches the first land would keep
        QTest::newRow("negative") << QStringList {u"-1"_s, u"0"_s, u"0"_s};
        QTest::newRow("text") << QStringList {u"forty"_s, u""_s, u""_s};
        QTest::newRow("grows the land") << QStringList {u"6"_s, u"0"_s, u"0"_s};
        QTest::newRow("roods past the land") << QStringList {u"3"_s, u"3"_s, u"0"_s};
    }
    void anExtentTheLandCannotKeepIsRefused()
    {
        QFETCH(QStringList, kept);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        readyTransfer(s);
        s->txtakkara_h->setText(kept.at(0));
        s->txtrud_h->setText(kept.at(1));
        s->txtparchase_h->setText(kept.at(2));
        test::ModalAnswers answers;
        answers.press(u"cmdexit"_s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kChangeExtent);
        QCOMPARE(test::value(
                     u"SELECT akkara || '/' || rut || '/' || akkara_only FROM land WHERE srno = ?"_s, {first.toInt()}),
            u"3/2/3.5"_s);
        QCOMPARE(test::count(u"land_pewarima"_s), 0);
    }
};

QTEST_MAIN(tst_transfer)
#include "tst_transfer.moc"
