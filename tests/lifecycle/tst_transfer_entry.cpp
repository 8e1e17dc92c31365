// The transfer and division screen as a clerk fills it: the first land's decimal acres as its extent is
// typed, the first land loaded with its owner, the two modes' frames, lands not found, the second land's
// proposal, the reason list, the land search's and the land register's hand-back, the read-only level and
// the keys an extent box takes.

#include "support/modal.h"
#include "transfertest.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace parcelon;
using namespace Qt::StringLiterals;

namespace {
const QString kHectares = QStringLiteral("1 - fylaghd¾");
const QString kViewOnly = QStringLiteral("2 - ne,su muKhs");

const QString kFirstNotFound = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kSecondNotFound = QStringLiteral("we;=<;a l< bvï wxlh jerÈh");
} // namespace

class tst_transfer_entry : public test::TransferTest
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

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
};

QTEST_MAIN(tst_transfer_entry)
#include "tst_transfer_entry.moc"
