#pragma once
// The main menu as the other screens see it, without widgets: who is logged in (SessionUser), the date
// and time it shows, and the blocker that covers it while a chooser is open. The main menu registers
// itself when it is created; the report engine and the backup scheduler read the user from here too.

#include <QDateTime>
#include <QString>

namespace parcelon {

class Home
{
public:
    virtual ~Home();
    virtual QString userName() const = 0; // labusername
    virtual QString userSrno() const = 0; // labuser_srno
    virtual QString date() const = 0; // labdate
    virtual QString time() const = 0; // labtime
    // The moment labdate and labtime show: the menu's load, later the scheduled backup's check.
    virtual QDateTime shownAt() const = 0;
    virtual void setBlocked(bool blocked) = 0;

    static Home *instance();
    static void setInstance(Home *home);
};

// SessionUser and the main menu's date and time, as the screens stamp them on the rows they write.
// Without a main menu (a screen tested alone) the user is empty and the time is the clock's.
namespace session {
QString userName();
QString userSrno();
QString dbDate(); // the main menu's date as yyyy/MM/dd
QString dbTime(); // the main menu's time as hh:mm:ss
} // namespace session

} // namespace parcelon
