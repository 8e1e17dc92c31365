#include "admin/backupschedule.h"

#include "base/clock.h"
#include "base/dbsession.h"
#include "base/serveradmin.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
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

namespace {
BackupSchedule::Maker &maker()
{
    static BackupSchedule::Maker instance;
    return instance;
}
} // namespace

void BackupSchedule::setMaker(Maker replacement) { maker() = std::move(replacement); }

bool BackupSchedule::keepsTicking(Outcome outcome)
{
    return outcome == Outcome::NotServer || outcome == Outcome::NotYet || outcome == Outcome::Failed
        || outcome == Outcome::Waiting || outcome == Outcome::Due || outcome == Outcome::Running;
}

BackupSchedule::Tick BackupSchedule::check(bool serverMachine)
{
    Tick tick;
    if (!serverMachine)
        return tick;
    tick.time = Clock::dbTime();
    // After a failure nothing is read until the retry interval has passed: a register another client
    // holds would make every read of this tick wait on the window's thread.
    if (m_failedAt.isValid() && Clock::now() < m_failedAt.addSecs(kRetryMinutes * 60)) {
        tick.outcome = Outcome::Waiting;
        return tick;
    }
    const std::optional<BackupSettings> settings = BackupSettings::newest();
    if (!settings) {
        tick.outcome = Outcome::NoSettings;
        return tick;
    }
    tick.backupTime = settings->timeOfDay();
    tick.today = Clock::dbDate();
    if (db().scalar(QStringLiteral("SELECT COUNT(*) FROM backup_coun WHERE date >= ?"), {tick.today}).toInt() > 0) {
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
    tick.outcome = Outcome::Due;
    tick.number = QString::number(db().scalar(QStringLiteral("SELECT MAX(srno) FROM backup_coun")).toLongLong() + 1);
    const QString name = tick.number + QStringLiteral(".dat");
    tick.file = locationFile(settings->back1, name);
    if (settings->secondCopy.startsWith(QLatin1Char('1')))
        tick.second = locationFile(settings->back2, name);
    tick.back1 = settings->back1;
    tick.keep = settings->keep;
    tick.source = db().dataSource();
    tick.engine = db().dialect().engine;
    return tick;
}

BackupResult BackupSchedule::make(const Tick &due)
{
    if (maker())
        return maker()(due);
    BackupResult made = ServerAdmin(due.source, due.engine).backup(due.file);
    if (made.ok && !due.second.isEmpty()) {
        const BackupResult copied = replaceWithCopy(due.file, due.second);
        if (!copied.ok)
            made.error = copied.error; // the backup itself stands; location 2 waits for the next one
    }
    return made;
}

void BackupSchedule::noteFailure() { m_failedAt = Clock::now(); }

BackupSchedule::Tick BackupSchedule::finish(Tick due, const BackupResult &made)
{
    Tick tick = std::move(due);
    if (!made.ok) {
        noteFailure();
        tick.outcome = Outcome::Failed;
        tick.error = made.error;
        tick.busy = made.busy;
        return tick;
    }
    m_failedAt = {};
    tick.outcome = Outcome::Done;
    tick.error = made.error;
    // Counted once: a count that another workstation wrote meanwhile stands for this day.
    qlonglong counted = 0;
    db().lockedChange([&] {
        if (db().scalar(QStringLiteral("SELECT COUNT(*) FROM backup_coun WHERE date >= ?"), {tick.today}).toInt() == 0)
            counted = db().insert(QStringLiteral("backup_coun"),
                QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES (?, ?)"), {tick.time, tick.today});
    });
    // The file carries the number its count row got: after a rolled-back insert the numbering has a gap.
    if (counted > 0 && QString::number(counted) != tick.number) {
        tick.number = QString::number(counted);
        const QString name = tick.number + QStringLiteral(".dat");
        const QString file = locationFile(QFileInfo(tick.file).absolutePath(), name);
        if (renameOver(tick.file, file))
            tick.file = file;
        if (!tick.second.isEmpty()) {
            const QString second = locationFile(QFileInfo(tick.second).absolutePath(), name);
            if (renameOver(tick.second, second))
                tick.second = second;
        }
    }

    // Retention in location 1: the numbered files of all but the newest `keep` count rows go, the rows
    // ordered by their recorded date and time. Location 2 is never cleaned. A keep count that is no whole
    // number above zero deletes nothing.
    bool whole = false;
    const qlonglong keep = tick.keep.trimmed().toLongLong(&whole);
    if (whole && keep > 0) {
        Query rows
            = db().select(QStringLiteral("SELECT srno FROM backup_coun ORDER BY date DESC, bbb DESC, srno DESC"));
        for (qlonglong n = 0; rows.next(); ++n)
            if (n >= keep)
                QFile::remove(locationFile(tick.back1, rows.value(0) + QStringLiteral(".dat")));
    }
    return tick;
}

BackupSchedule::Tick BackupSchedule::tick(bool serverMachine)
{
    Tick due = check(serverMachine);
    if (due.outcome != Outcome::Due)
        return due;
    const BackupResult made = make(due);
    return finish(std::move(due), made);
}

ScheduledBackup::ScheduledBackup(QObject *parent)
    : QObject(parent)
    , m_worker(new Background(this))
{
}

BackupSchedule::Tick ScheduledBackup::tick(bool serverMachine, std::function<void(const BackupSchedule::Tick &)> ended)
{
    if (m_worker->isRunning()) {
        BackupSchedule::Tick running;
        running.outcome = BackupSchedule::Outcome::Running;
        running.time = Clock::dbTime();
        return running;
    }
    BackupSchedule::Tick due;
    try {
        due = m_schedule.check(serverMachine);
    } catch (const DbError &) {
        m_schedule.noteFailure(); // the register did not answer: asked again after the retry interval
        throw;
    }
    if (due.outcome != BackupSchedule::Outcome::Due)
        return due;
    m_worker->run([due] { return BackupSchedule::make(due); },
        [this, due, ended = std::move(ended)](const BackupResult &made) {
            BackupSchedule::Tick tick;
            try {
                tick = m_schedule.finish(due, made);
            } catch (const DbError &error) {
                // The register did not take the count: the backup stands, it is made again later.
                tick = m_schedule.finish(due, BackupResult::failed(error.description));
            }
            ended(tick);
        });
    BackupSchedule::Tick running = due;
    running.outcome = BackupSchedule::Outcome::Running;
    return running;
}

} // namespace parcelon
