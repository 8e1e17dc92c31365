#include "support/screentest.h"

#include "base/clock.h"
#include "shell/frmhome.h"
#include "shell/screens.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "ui/application.h"

#include <QLabel>
#include <QStringList>
#include <QTest>

namespace parcelon::test {

void ScreenTest::init()
{
    m_ended = 0;
    setEndApplication([this] { ++m_ended; });
    clearUnexpectedDialogs();
    Clock::setFixed(kTestClock);
    registerScreens();
    openDatabase();
}

void ScreenTest::cleanup()
{
    // The main menu is the one window that stays open while a clerk works; it closes (and deletes
    // itself) here. Any other window still open is a screen the test or the application left behind.
    if (frmhome *menu = frmhome::current())
        menu->close();
    const QStringList open = closeAllWindows();
    // Each unexpected dialog failed its test when it came up; one seen while no test function ran fails here.
    const QStringList dialogs = unexpectedDialogs(true);
    clearUnexpectedDialogs();
    destroyDatabase();
    Clock::setFixed({});
    QCOMPARE(open, QStringList());
    QVERIFY2(dialogs.isEmpty(),
        qPrintable(QStringLiteral("dialogs no test expected: ") + dialogs.join(QStringLiteral("; "))));
}

frmhome *ScreenTest::home(const QString &userSrno, const QString &userName, bool show)
{
    frmhome *menu = frmhome::open();
    menu->labusername->setText(userName);
    menu->labuser_srno->setText(userSrno);
    if (show)
        showScreen(menu);
    return menu;
}

} // namespace parcelon::test
