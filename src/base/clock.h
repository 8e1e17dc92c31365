#pragma once
// The time the screens show and stamp on rows. Tests set the time and fire a timer's handler instead of
// sleeping.

#include <QDateTime>

namespace parcelon {

class Clock
{
public:
    static QDateTime now();
    // Freezes the clock at a time (tests). An invalid time returns to the system clock.
    static void setFixed(const QDateTime &time);

    // Texts as the screens show them: the system's short date and long time formats.
    static QString shortDate();
    static QString longTime();
    // Texts as the register stores them.
    static QString dbDate(); // yyyy/MM/dd
    static QString dbTime(); // hh:mm:ss
};

} // namespace parcelon
