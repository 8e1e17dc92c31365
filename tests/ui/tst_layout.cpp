// Every screen at the screen size of this run: no control overlaps another, none leaves its window or
// frame, no window leaves the screen and no caption is cut. CTest runs this program once per office screen
// size (1024x768, 1366x768, 1920x1080), each on an offscreen screen of that size (the offscreen platform's
// configuration file), because the main menu and the register screens take their size from the screen.
// The layout's own formulas are never repeated here: only what a clerk would see as wrong is measured.

#include "shell/frmhome.h"
#include "shell/screens.h"
#include "support/everyscreen.h"
#include "support/fixture.h"
#include "support/screencheck.h"
#include "support/screentest.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

using namespace parcelon;

namespace {
// The longest notice the screens give today, shown by both message dialogs.
const QString kLongestNotice
    = QStringLiteral("fuu bvñ ysñhd hgf;a il%sh bvñ we; tajd wfydais jk f;la bvñ ysñhd wfydais l< fkdyel");
// The office as the register names it.
const QString kOffice = QStringLiteral("m%dfoaYSh f,alï ld¾hd,h");

// Controls that cover others on purpose, per screen.
const QHash<QString, QSet<QString>> kMayOverlap = {
    // img1 is the background picture under every control; txttra is the blocker that covers the whole
    // menu while a chooser is open.
    {QStringLiteral("frmhome"), {QStringLiteral("img1"), QStringLiteral("txttra")}},
};

} // namespace

class tst_layout : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;

    static void screensTable()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<bool>("notice");
        registerScreens();
        for (const QString &name : test::everyScreen())
            QTest::newRow(qPrintable(name)) << name << false;
        // The backup notice takes its place on the main menu's status line.
        QTest::newRow("frmhome with the backup notice") << QStringLiteral("frmhome") << true;
    }

    // Opens the row's screen; the main menu shows the backup notice when the row asks.
    static std::unique_ptr<test::OpenScreen> open()
    {
        QFETCH(QString, screen);
        QFETCH(bool, notice);
        auto opened = std::make_unique<test::OpenScreen>(screen, kLongestNotice);
        if (notice)
            frmhome::current()->showNotice(QStringLiteral("Backup completely"));
        return opened;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(test::loadParasFont());
        // The size CTest asked for must be the size the screens see, or every run checks the same screen.
        const QString asked = qEnvironmentVariable("PARCELON_TEST_SCREEN");
        const QSize size = QGuiApplication::primaryScreen()->size();
        const QString actual = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        QVERIFY2(actual == asked,
            qPrintable(QStringLiteral("the screen is %1, asked for \"%2\": run it as ctest -R tst_layout, which sets "
                                      "QT_QPA_PLATFORM=offscreen:configfile=... and PARCELON_TEST_SCREEN")
                           .arg(actual, asked)));
    }

    void init()
    {
        m_base.init();
        test::exec(QStringLiteral("INSERT INTO detels (codeno, name) VALUES ('7', ?)"), {kOffice});
        m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")}),
            QStringLiteral("Nimal"), true);
    }

    void cleanup() { m_base.cleanup(); }

    void noControlOverlapsAnother_data() { screensTable(); }
    void noControlOverlapsAnother()
    {
        QFETCH(QString, screen);
        const auto opened = open();
        QVERIFY(opened->window());
        const QStringList faults = test::overlaps(opened->window(), kMayOverlap.value(screen));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void nothingLeavesItsWindowOrTheScreen_data() { screensTable(); }
    void nothingLeavesItsWindowOrTheScreen()
    {
        const auto opened = open();
        QVERIFY(opened->window());
        const QStringList faults = test::outside(opened->window());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void noCaptionIsCut_data() { screensTable(); }
    void noCaptionIsCut()
    {
        const auto opened = open();
        QVERIFY(opened->window());
        const QStringList faults = test::cutCaptions(opened->window());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // PARCELON_SCREENSHOTS=<folder> keeps a picture of every screen at this size, to compare a
        // change's screens before and after it.
        const QString shots = qEnvironmentVariable("PARCELON_SCREENSHOTS");
        if (!shots.isEmpty()) {
            const QString file
                = QStringLiteral("%1/%2-%3.png")
                      .arg(shots, qEnvironmentVariable("PARCELON_TEST_SCREEN"),
                          QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')));
            QVERIFY2(opened->window()->grab().save(file), qPrintable(file));
        }
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
