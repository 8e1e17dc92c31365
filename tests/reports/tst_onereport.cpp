// The single land and owner report as a clerk uses it: each number is checked against the active or
// the inactive records as its option says, the land search and the owner finder fill the boxes, and each
// print button prints one land's full record or one owner's record with every land held, restricted to
// that number; a view-only clerk cannot print.

#include "base/legacyconvert.h"
#include "lifecycle/frmfind_land_onew.h"
#include "lifecycle/frmland_search.h"
#include "reports/frmland_one_report.h"
#include "reports/pdftext.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");
const QString kPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kDeed = QStringLiteral("wjirm;% wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kLandNotFound = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kOwnerNotFound = QStringLiteral("we;=,;a l< cd;sl yeÿkqïm;a wxlhg o;a; fkdue;");
const QString kNorth = QStringLiteral("uy jej");

QString uni(const QString &legacy) { return legacyToUnicode(legacy).unicode; }
} // namespace

class tst_onereport : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmland_one_report> m_screen;
    QString m_owner;
    QString m_land;

    frmland_one_report *open(const QString &level = kAll)
    {
        QStringList flags(11, kAll);
        flags[9] = level;
        m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), flags));
        m_screen = std::make_unique<frmland_one_report>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    static std::vector<test::CapturedReports::Report> print(QPushButton *button)
    {
        test::CapturedReports captured;
        QTest::mouseClick(button, Qt::LeftButton);
        return captured.reports;
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO detels (name) VALUES (?)"), {kOffice});
        m_owner = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("A-12"),
            .land_owner_name = QStringLiteral("mshd"),
            .ad1 = QStringLiteral("fld<U")});
        const QString other = test::addOwner({.id = QStringLiteral("555123000x"),
            .house_no = QStringLiteral("B-7"),
            .land_owner_name = QStringLiteral("lu,")});
        test::addOwner({.id = QStringLiteral("777666555v"), .chak = QStringLiteral("0")});
        m_land = test::addLand({.id = QStringLiteral("123456789v"),
            .labn_owner_srno = m_owner,
            .balapa_no1 = kPermit,
            .balapa_no = QStringLiteral("125"),
            .akkara_only = QStringLiteral("2.5")});
        test::addLand({.id = QStringLiteral("123456789v"),
            .labn_owner_srno = m_owner,
            .balapa_no1 = kDeed,
            .balapa_no = QStringLiteral("300"),
            .chack = QStringLiteral("0")});
        test::addLand({.id = QStringLiteral("555123000x"),
            .labn_owner_srno = other,
            .balapa_no1 = kGrant,
            .balapa_no = QStringLiteral("12")});
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                                  "naganahira) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {m_land, kPermit, QStringLiteral("125"), QStringLiteral("mdr"), kNorth, QStringLiteral("l=Tqr"),
                QStringLiteral("fj,a")});
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void opensOnTheActiveRecords()
    {
        frmland_one_report *s = open();
        QVERIFY(s->optkiyakari->isChecked());
        QVERIFY(s->optkiyakari1->isChecked());
        QVERIFY(s->cmdprint->isEnabled());
        QVERIFY(s->cmdprint1->isEnabled());
        QCOMPARE(s->txtid->maxLength(), 10);
        test::typeInto(s->txtid, QStringLiteral("12V3x"));
        QCOMPARE(s->txtid->text(), QStringLiteral("123x"));
    }

    void checks_data()
    {
        QTest::addColumn<bool>("owner");
        QTest::addColumn<bool>("inactive");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("active land") << false << false << QStringLiteral("125") << QString();
        QTest::newRow("inactive land checked as active") << false << false << QStringLiteral("300") << kLandNotFound;
        QTest::newRow("inactive land") << false << true << QStringLiteral("300") << QString();
        QTest::newRow("active land checked as inactive") << false << true << QStringLiteral("125") << kLandNotFound;
        QTest::newRow("unknown land") << false << false << QStringLiteral("9") << kLandNotFound;
        QTest::newRow("empty land box") << false << false << QString() << QString();
        QTest::newRow("active owner") << true << false << QStringLiteral("123456789v") << QString();
        QTest::newRow("inactive owner checked as active")
            << true << false << QStringLiteral("777666555v") << kOwnerNotFound;
        QTest::newRow("inactive owner") << true << true << QStringLiteral("777666555v") << QString();
        QTest::newRow("unknown owner") << true << false << QStringLiteral("111222333v") << kOwnerNotFound;
        QTest::newRow("empty identity box") << true << false << QString() << QString();
    }
    void checks()
    {
        QFETCH(bool, owner);
        QFETCH(bool, inactive);
        QFETCH(QString, number);
        QFETCH(QString, refusal);
        frmland_one_report *s = open();
        if (inactive)
            QTest::mouseClick(owner ? s->optakkiyakari1 : s->optakkiyakari, Qt::LeftButton);
        QLineEdit *box = owner ? s->txtid : s->txtlandno;
        test::ModalAnswers answers;
        if (!refusal.isEmpty())
            answers.press(QStringLiteral("cmdexit"));
        box->setFocus();
        if (!number.isEmpty())
            test::type(box, number);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(answers.answered(), refusal.isEmpty() ? 0 : 1);
        QCOMPARE(answers.text(), refusal);
        test::backTo(s);
        QCOMPARE(box->hasFocus(), !refusal.isEmpty());
        QCOMPARE(box->text(), number);
    }

    void printsOneLand_data()
    {
        QTest::addColumn<bool>("inactive");
        QTest::addColumn<QString>("number");
        QTest::newRow("active") << false << QStringLiteral("125");
        QTest::newRow("inactive") << true << QStringLiteral("300");
    }
    void printsOneLand()
    {
        QFETCH(bool, inactive);
        QFETCH(QString, number);
        frmland_one_report *s = open();
        if (inactive)
            QTest::mouseClick(s->optakkiyakari, Qt::LeftButton);
        test::typeInto(s->txtlandno, number);
        const auto reports = print(s->cmdprint);
        QCOMPARE(reports.size(), size_t(1));
        QCOMPARE(reports[0].data.file, QStringLiteral("land_all_detels.rpt"));
        QCOMPARE(reports[0].data.rows.size(), size_t(1));
        const QString text = test::pdfText(reports[0].pdf);
        QVERIFY2(text.contains(uni(kOffice)), qPrintable(text));
        QVERIFY(text.contains(uni(QStringLiteral("bvï yd bvñ yssñhd f.a ish¨ úia;r"))));
        if (inactive) {
            QVERIFY2(test::hasLine(text,
                         {uni(kDeed), QStringLiteral("300"), QStringLiteral("123456789v"), uni(QStringLiteral("mshd")),
                             QStringLiteral("A-12")}),
                qPrintable(text));
            QVERIFY(!text.contains(uni(kPermit)));
        } else {
            QVERIFY2(test::hasLine(text,
                         {m_land, uni(kPermit), QStringLiteral("125"), QStringLiteral("123456789v"),
                             uni(QStringLiteral("mshd")), QStringLiteral("A-12"), QStringLiteral("2.5")}),
                qPrintable(text));
            QVERIFY(text.contains(uni(kNorth)));
            QVERIFY(!text.contains(uni(kDeed)));
        }
        QVERIFY(!text.contains(uni(kGrant)));
        QVERIFY(!text.contains(QStringLiteral("555123000x")));
    }

    void printsOneOwnerWithEveryLand()
    {
        frmland_one_report *s = open();
        test::typeInto(s->txtid, QStringLiteral("123456789v"));
        const auto reports = print(s->cmdprint1);
        QCOMPARE(reports.size(), size_t(1));
        QCOMPARE(reports[0].data.file, QStringLiteral("land_owner_all.rpt"));
        const QString text = test::pdfText(reports[0].pdf);
        QVERIFY(text.contains(uni(kOffice)));
        QVERIFY2(text.contains(uni(QStringLiteral("mshd"))), qPrintable(text));
        QVERIFY(text.contains(uni(QStringLiteral("fld<U"))));
        QVERIFY2(test::hasLine(text,
                     {QStringLiteral("123456789v"), QStringLiteral("A-12"), m_land, uni(kPermit), QStringLiteral("125"),
                         QStringLiteral("2.5")}),
            qPrintable(text));
        QVERIFY(test::hasLine(
            text, {QStringLiteral("123456789v"), uni(kDeed), QStringLiteral("300"), uni(QStringLiteral("wl%shldrs"))}));
        QVERIFY(!text.contains(uni(kGrant)));
        QVERIFY(!text.contains(QStringLiteral("555123000x")));
    }

    void emptyBoxesPrintNothing()
    {
        frmland_one_report *s = open();
        QCOMPARE(print(s->cmdprint).size(), size_t(0));
        QCOMPARE(print(s->cmdprint1).size(), size_t(0));
    }

    void landSearchFillsThePermitNumber()
    {
        frmland_one_report *s = open();
        test::ModalAnswers answers;
        QString code;
        answers.with([&](QWidget *dialog) {
            auto *search = qobject_cast<frmland_search *>(dialog);
            QVERIFY(search);
            code = search->labch->text();
            test::clickRow(search->lvland, int(test::listLines(search->lvland, {7}).indexOf(QStringLiteral("12"))));
            QTest::mouseClick(search->cmdadd, Qt::LeftButton);
        });
        QTest::mouseClick(s->cmdfind_l, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(code, QStringLiteral("5"));
        QCOMPARE(s->txtlandno->text(), QStringLiteral("12"));
    }

    void ownerFinderFillsTheIdentityNumber()
    {
        frmland_one_report *s = open();
        test::ModalAnswers answers;
        QString code;
        answers.with([&](QWidget *dialog) {
            auto *finder = qobject_cast<frmfind_land_onew *>(dialog);
            QVERIFY(finder);
            code = finder->labch->text();
            // The finder shows nine characters; the box receives all ten.
            const int row = int(test::listLines(finder->lvfind, {1}).indexOf(QStringLiteral("555123000")));
            QVERIFY(row >= 0);
            test::clickRow(finder->lvfind, row);
        });
        QTest::mouseClick(s->cmdfind, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(code, QStringLiteral("2"));
        QCOMPARE(s->txtid->text(), QStringLiteral("555123000x"));
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
        frmland_one_report *s = open(level);
        QTEST(s->cmdprint->isEnabled(), "prints");
        QTEST(s->cmdprint1->isEnabled(), "prints");
    }
};

QTEST_MAIN(tst_onereport)
#include "tst_onereport.moc"
