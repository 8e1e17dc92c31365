#include "admin/backupschedule.h"

#include "base/clock.h"
#include "base/dbsession.h"
#include "base/serveradmin.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

namespace parcelon {

std::optional<BackupSettings> BackupSettings::newest()
{
    std::optional<Query> row = db().first(QStringLiteral("SELECT back1, back2, auto_aw, auto_time, Auto_backku2, "
                                                         "Auto_backp_pamanaya, database_path FROM backup_settind "
                                                         "ORDER BY srno DESC"));
    if (!row)
        return std::nullopt;
    return BackupSettings {row->value(QStringLiteral("back1")), row->value(QStringLiteral("back2")),
        row->value(QStringLiteral("auto_aw")), row->value(QStringLiteral("auto_time")),
        row->value(QStringLiteral("Auto_backku2")), row->value(QStringLiteral("Auto_backp_pamanaya")),
        row->value(QStringLiteral("database_path"))};
}

QString BackupSettings::timeOfDay() const
{
    const QString text = autoTime.trimmed();
    // The settings screen stores "hh:mm:ss"; a picker's text may carry a date in front or AM/PM after.
    static const QStringList timeFormats = {QStringLiteral("hh:mm:ss"), QStringLiteral("h:mm:ss"),
        QStringLiteral("hh:mm"), QStringLiteral("h:mm"), QStringLiteral("h:mm:ss AP"), QStringLiteral("h:mm AP")};
    for (const QString &format : timeFormats) {
        const QTime time = QTime::fromString(text, format);
        if (time.isValid())
            return time.toString(QStringLiteral("hh:mm:ss"));
    }
    const int space = text.indexOf(QLatin1Char(' '));
    const int t = text.indexOf(QLatin1Char('T'));
    if (t > 0 && space < 0)
        return BackupSettings {{}, {}, {}, text.mid(t + 1), {}, {}, {}}.timeOfDay();
    if (space > 0)
        return BackupSettings {{}, {}, {}, text.mid(space + 1), {}, {}, {}}.timeOfDay();
    return text;
}

bool BackupSchedule::keepsTicking(Outcome outcome)
{
    return outcome == Outcome::NotServer || outcome == Outcome::NotYet || outcome == Outcome::Failed;
}

BackupSchedule::Tick BackupSchedule::tick(bool serverMachine)
{
    Tick tick;
    if (!serverMachine)
        return tick;
    const std::optional<BackupSettings> settings = BackupSettings::newest();
    tick.time = Clock::dbTime();
    if (!settings) {
        tick.outcome = Outcome::NoSettings;
        return tick;
    }
    tick.backupTime = settings->timeOfDay();
    const QString today = Clock::dbDate();
    const QString countedToday = QStringLiteral("SELECT COUNT(*) FROM backup_coun WHERE date >= ?");
    if (db().scalar(countedToday, {today}).toInt() > 0) {
        tick.outcome = Outcome::CountedToday;
        return tick;
    }
    // Both are hh:mm:ss with two-digit 24-hour fields: as texts they order as times do.
    if (tick.time < tick.backupTime) {
        tick.outcome = Outcome::NotYet;
        return tick;
    }
    if (!settings->autoOn.startsWith(QLatin1Char('1'))) {
        tick.outcome = Outcome::Off;
        return tick;
    }

    tick.number = QString::number(db().scalar(QStringLiteral("SELECT MAX(srno) FROM backup_coun")).toLongLong() + 1);
    const QString name = tick.number + QStringLiteral(".dat");
    tick.file = locationFile(settings->back1, name);
    const BackupResult made = ServerAdmin(db()).backup(tick.file);
    if (!made.ok) {
        tick.outcome = Outcome::Failed;
        tick.error = made.error;
        return tick;
    }
    // Counted once: a count that another workstation wrote meanwhile stands for this day.
    db().lockedChange([&] {
        if (db().scalar(countedToday, {today}).toInt() == 0)
            db().execute(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES (?, ?)"), {tick.time, today});
    });
    if (settings->secondCopy.startsWith(QLatin1Char('1'))) {
        const QString second = locationFile(settings->back2, name);
        QFile::remove(second);
        const BackupResult copied = copyPath(tick.file, second);
        if (!copied.ok)
            tick.error = copied.error; // the backup itself stands; location 2 waits for the next one
    }
    tick.outcome = Outcome::Done;

    // Retention in location 1: the file `keep` backups before the newest goes. Location 2 is never
    // cleaned. A keep count that is no whole number above zero deletes nothing.
    bool whole = false;
    const qlonglong keep = settings->keep.trimmed().toLongLong(&whole);
    if (whole && keep > 0) {
        const qlonglong old = db().scalar(QStringLiteral("SELECT MAX(srno) FROM backup_coun")).toLongLong() - keep;
        if (old > 0)
            QFile::remove(locationFile(settings->back1, QString::number(old) + QStringLiteral(".dat")));
    }
    return tick;
}

} // namespace parcelon
