// The successor report as a clerk uses it: every registered succession listed once when the screen
// opens, and the report of the selected line's land printed, restricted to that land; a view-only clerk
// cannot print.

#include "base/legacyconvert.h"
#include "reports/frmpawarim_wartha.h"
#include "reports/pdftext.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QPushButton>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");
const QString kTitle = QStringLiteral("miq ysñlï mejeßfñ j¾:d");
const QString kPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kDeed = QStringLiteral("wjirm;% wxlh");

QString uni(const QString &legacy) { return legacyToUnicode(legacy).unicode; }
} // namespace

class tst_successorreport : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmpawarim_wartha> m_screen;
    QString m_landA;
    QString m_landB;
    QString m_father;
    QString m_son;
    QString m_daughter;

    frmpawarim_wartha *open(const QString &level = kAll)
    {
        QStringList flags(11, kAll);
        flags[10] = level;
        if (!m_screen)
            m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), flags));
        m_screen = std::make_unique<frmpawarim_wartha>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    void succession(const QString &land, const QString &kind, const QString &number, const QString &from,
        const QString &fromId, const QString &to)
    {
        test::exec(QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, id, newcus_srno, land_srno, land_wargaya, "
                                  "pasuaythiya, nadakam, landno) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {from, fromId, to, land, kind, QStringLiteral("mq;d"), QStringLiteral("mq;%hd"), number});
    }

    static QStringList lines(const frmpawarim_wartha *s) { return test::listLines(s->lv, {0, 1, 2, 3, 4}); }

    static QString printRow(frmpawarim_wartha *s, int row, ReportData *data)
    {
        test::clickRow(s->lv, row);
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        if (captured.reports.size() != 1)
            return {};
        *data = captured.reports[0].data;
        return test::pdfText(captured.reports[0].pdf);
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO detels (name) VALUES (?)"), {kOffice});
        m_father = test::addOwner({.id = QStringLiteral("401234567v"), .land_owner_name = QStringLiteral("mshd")});
        m_son = test::addOwner({.id = QStringLiteral("881234567v"), .land_owner_name = QStringLiteral("mq;d")});
        m_daughter = test::addOwner({.id = QStringLiteral("901234567x"), .land_owner_name = QStringLiteral("ÿj")});
        m_landA = test::addLand({.labn_owner_srno = m_son, .balapa_no1 = kPermit, .balapa_no = QStringLiteral("125")});
        m_landB
            = test::addLand({.labn_owner_srno = m_daughter, .balapa_no1 = kDeed, .balapa_no = QStringLiteral("300")});
        succession(m_landA, kPermit, QStringLiteral("125"), m_father, QStringLiteral("401234567v"), m_son);
        succession(m_landB, kDeed, QStringLiteral("300"), m_father, QStringLiteral("401234567v"), m_daughter);
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    void listsEverySuccessionOnce()
    {
        frmpawarim_wartha *s = open();
        QCOMPARE(lines(s),
            QStringList({m_landA + QStringLiteral("|1|") + kPermit + QStringLiteral("  125|881234567|mq;d"),
                m_landB + QStringLiteral("|2|") + kDeed + QStringLiteral("  300|901234567|ÿj")}));
        QVERIFY(s->cmdok->isEnabled());
        // A succession registered while the screen is open is listed when it opens again.
        succession(m_landA, kPermit, QStringLiteral("125"), m_son, QStringLiteral("881234567v"), m_daughter);
        QCOMPARE(s->lv->count(), 2);
        s = open();
        QCOMPARE(s->lv->count(), 3);
    }

    void printsTheSelectedLinesLand()
    {
        frmpawarim_wartha *s = open();
        ReportData data;
        QString text = printRow(s, 0, &data);
        QCOMPARE(data.file, QStringLiteral("pasuhimikam.rpt"));
        QVERIFY2(text.contains(uni(kOffice)), qPrintable(text));
        QVERIFY(text.contains(uni(kTitle)));
        QVERIFY2(test::hasLine(text,
                     {QStringLiteral("1"), uni(kPermit), QStringLiteral("125"), QStringLiteral("881234567v"),
                         uni(QStringLiteral("mq;d")), QStringLiteral("401234567v"), uni(QStringLiteral("mshd"))}),
            qPrintable(text));
        QVERIFY(!text.contains(uni(kDeed)));
        QVERIFY(!text.contains(QStringLiteral("901234567x")));

        // Another line, another land.
        text = printRow(s, 1, &data);
        QVERIFY2(test::hasLine(text,
                     {QStringLiteral("2"), uni(kDeed), QStringLiteral("300"), QStringLiteral("901234567x"),
                         uni(QStringLiteral("ÿj"))}),
            qPrintable(text));
        QVERIFY(!text.contains(uni(kPermit)));
        QCOMPARE(data.rows.size(), size_t(1));
    }

    void nothingSelectedPrintsNothing()
    {
        frmpawarim_wartha *s = open();
        test::CapturedReports captured;
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(captured.reports.size(), size_t(0));
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
        frmpawarim_wartha *s = open(level);
        QTEST(s->cmdok->isEnabled(), "prints");
    }
};

QTEST_MAIN(tst_successorreport)
#include "tst_successorreport.moc"
