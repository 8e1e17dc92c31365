#pragma once
// The base of a screen test: what every test of a screen needs before and after it. A test class holds
// one and calls it from its own init() and cleanup():
//
//     class tst_x : public QObject {
//         Q_OBJECT
//         test::ScreenTest m_base;
//         std::unique_ptr<frmx> m_screen;
//     private slots:
//         void initTestCase() { QVERIFY(test::loadParasFont()); }
//         void init() { m_base.init(); m_base.home(test::addUser(...)); }
//         void cleanup() { m_screen.reset(); m_base.cleanup(); }   // the test's own screens first
//     };
//
// Rows the screens stamp carry the test clock's date and time: compare them with kStampDate and
// kStampTime, never with the function that makes them.

#include <QDateTime>
#include <QString>

namespace parcelon {
class frmhome;
}

namespace parcelon::test {

// The moment every screen test runs at.
inline const QDateTime kTestClock {QDate(2026, 3, 14), QTime(10, 20, 30)};
// kTestClock as the register stores it on the rows a screen writes.
inline const QString kStampDate = QStringLiteral("2026/03/14");
inline const QString kStampTime = QStringLiteral("10:20:30");

class ScreenTest final
{
public:
    ScreenTest() = default;
    ScreenTest(const ScreenTest &) = delete;
    ScreenTest &operator=(const ScreenTest &) = delete;

    // Every screen registered, a fresh register open, the clock fixed at kTestClock, ending the
    // application counted instead of done, no unexpected dialog on record.
    void init();
    // Closes the main menu, then checks that no other window was left open (and closes any) and that no
    // dialog came up that no test expected; drops the register and lets the clock run again. Call it
    // last, after the test's own screens are gone.
    void cleanup();

    // The main menu of a clerk signed in (user name and srno), loaded under the test clock; shown and
    // active when asked. The main menu is the Home the screens read the user and the stamps from.
    frmhome *home(const QString &userSrno, const QString &userName = QStringLiteral("Nimal"), bool show = false);

    // How many times something ended the application since init() (the main menu's close button, the
    // login's Exit, "New Version").
    int ended() const { return m_ended; }

private:
    int m_ended = 0;
};

} // namespace parcelon::test
