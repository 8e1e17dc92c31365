#include "core/clock.h"

#include <QLocale>

namespace parcelon {
namespace {
QDateTime &fixedTime()
{
    static QDateTime time;
    return time;
}
} // namespace

QDateTime Clock::now() { return fixedTime().isValid() ? fixedTime() : QDateTime::currentDateTime(); }

void Clock::setFixed(const QDateTime &time) { fixedTime() = time; }

QString Clock::shortDate() { return QLocale::system().toString(now().date(), QLocale::ShortFormat); }

QString Clock::longTime() { return QLocale::system().toString(now().time(), QLocale::LongFormat); }

QString Clock::dbDate() { return now().toString(QStringLiteral("yyyy/MM/dd")); }

QString Clock::dbTime() { return now().toString(QStringLiteral("hh:mm:ss")); }

} // namespace parcelon
