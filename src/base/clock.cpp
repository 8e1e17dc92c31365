#include "base/clock.h"

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

QString Clock::longTime()
{
    // The long time format without the time zone a clerk does not need to read.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t')).remove(QLatin1String("  "));
    return QLocale::system().toString(now().time(), format.trimmed());
}

QString Clock::dbDate() { return now().toString(QStringLiteral("yyyy/MM/dd")); }

QString Clock::dbTime() { return now().toString(QStringLiteral("hh:mm:ss")); }

} // namespace parcelon
