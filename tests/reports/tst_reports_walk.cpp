// A clerk prints every report from the main menu: each report button opens its screen, the clerk does
// what the screen asks (a permit number, an identity, a line of the list) and prints, and each report
// comes out as a PDF whose text is the register's Sinhala in Unicode.

#include "base/legacyconvert.h"
#include "reports/frmland_balapath_report.h"
#include "reports/frmland_one_report.h"
#include "reports/frmland_report.h"
#include "reports/frmlandowner_report.h"
#include "reports/frmpawarim_wartha.h"
#include "reports/pdftext.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace parcelon;

namespace {
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");
const QString kPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kTank = QStringLiteral("ud;r jej");
const QString kOwnerName = QStringLiteral("mshd");

QString uni(const QString &legacy) { return legacyToUnicode(legacy).unicode; }
} // namespace

class tst_reports_walk : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void init() { m_base.init(); }
    void cleanup() { m_base.cleanup(); }

    void everyReportFromTheMainMenu_data()
    {
        using Print = std::function<void(QWidget *)>;
        QTest::addColumn<QString>("button");
        QTest::addColumn<Print>("print");
        QTest::addColumn<QString>("file");
        // Besides the office and the report's own title: a value of the land or of its holder.
        QTest::addColumn<QString>("shows");

        QTest::newRow("land report") << QStringLiteral("cmdland_report") << Print([](QWidget *screen) {
            auto *s = qobject_cast<frmland_report *>(screen);
            QVERIFY(s);
            QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        }) << QStringLiteral("land.rpt")
                                     << kTank;
        QTest::newRow("owner report") << QStringLiteral("cmdland_owner_report") << Print([](QWidget *screen) {
            auto *s = qobject_cast<frmlandowner_report *>(screen);
            QVERIFY(s);
            QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        }) << QStringLiteral("member.rpt")
                                      << kOwnerName;
        QTest::newRow("permit report") << QStringLiteral("cmdland_balapath_report") << Print([](QWidget *screen) {
            auto *s = qobject_cast<frmland_balapath_report *>(screen);
            QVERIFY(s);
            test::typeInto(s->txtlandno, QStringLiteral("125"));
            QTest::keyClick(s->txtlandno, Qt::Key_Tab);
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        }) << QStringLiteral("old_land1.rpt")
                                       << kPermit;
        QTest::newRow("one land") << QStringLiteral("cmdland_landowner_report") << Print([](QWidget *screen) {
            auto *s = qobject_cast<frmland_one_report *>(screen);
            QVERIFY(s);
            test::typeInto(s->txtlandno, QStringLiteral("125"));
            QTest::mouseClick(s->cmdprint, Qt::LeftButton);
        }) << QStringLiteral("land_all_detels.rpt")
                                  << kTank;
        QTest::newRow("one owner") << QStringLiteral("cmdland_landowner_report") << Print([](QWidget *screen) {
            auto *s = qobject_cast<frmland_one_report *>(screen);
            QVERIFY(s);
            test::typeInto(s->txtid, QStringLiteral("123456789v"));
            QTest::mouseClick(s->cmdprint1, Qt::LeftButton);
        }) << QStringLiteral("land_owner_all.rpt")
                                   << kOwnerName;
        QTest::newRow("successor report") << QStringLiteral("cmdpawarim_report") << Print([](QWidget *screen) {
            auto *s = qobject_cast<frmpawarim_wartha *>(screen);
            QVERIFY(s);
            test::clickRow(s->lv, 0);
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
        }) << QStringLiteral("pasuhimikam.rpt")
                                          << kOwnerName;
    }
    void everyReportFromTheMainMenu()
    {
        QFETCH(QString, button);
        QFETCH(std::function<void(QWidget *)>, print);
        QFETCH(QString, file);
        QFETCH(QString, shows);

        test::exec(QStringLiteral("INSERT INTO detels (name) VALUES (?)"), {kOffice});
        const QString holder = test::addOwner(
            {.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("A-12"), .land_owner_name = kOwnerName});
        const QString heir = test::addOwner({.id = QStringLiteral("555123000x"),
            .house_no = QStringLiteral("A-12"),
            .land_owner_name = QStringLiteral("mq;d")});
        const QString land = test::addLand({.id = QStringLiteral("123456789v"),
            .guhasth = QStringLiteral("A-12"),
            .labn_owner_srno = holder,
            .balapa_no1 = kPermit,
            .balapa_no = QStringLiteral("125"),
            .wewe_name = kTank,
            .akkara_only = QStringLiteral("2.5")});
        test::exec(QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, id, newcus_srno, land_srno, land_wargaya, "
                                  "pasuaythiya, nadakam, landno) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {heir, QStringLiteral("555123000x"), holder, land, kPermit, QStringLiteral("mq;d"),
                QStringLiteral("mq;%hd"), QStringLiteral("125")});
        const QString chief
            = test::addUser(QStringLiteral("Chief"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        frmhome *home = m_base.home(chief, QStringLiteral("Chief"), true);

        test::CapturedReports captured;
        test::ModalAnswers clerk;
        clerk.with([&](QWidget *screen) {
            print(screen);
            screen->close();
        });
        auto *open = home->findChild<QPushButton *>(button);
        QVERIFY(open);
        QTest::mouseClick(open, Qt::LeftButton);
        QVERIFY(clerk.allAnswered());

        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(captured.reports[0].data.file, file);
        const QString text = test::pdfText(captured.reports[0].pdf);
        QVERIFY2(text.contains(uni(kOffice)), qPrintable(text));
        QVERIFY2(text.contains(captured.reports[0].data.title), qPrintable(text));
        QVERIFY2(text.contains(uni(shows)), qPrintable(text));
    }
};

QTEST_MAIN(tst_reports_walk)
#include "tst_reports_walk.moc"
