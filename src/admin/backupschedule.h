#pragma once
// The scheduled backup: once a day, at the time the backup settings give or at the first check after it,
// a full backup of the register into the next numbered file of location 1, counted in backup_coun,
// copied to location 2 when the settings ask; of the numbered files only the newest `keep` by their
// recorded times stay. The main menu's timer ticks it once a second and shows what it says; time comes
// from the Clock, so tests set the time and tick.
//
// The checks run on the session; the backup itself (make()) runs on a worker thread on connections of
// its own, so the main menu keeps answering. A backup that fails writes no count row; the schedule keeps
// ticking and tries again after kRetryMinutes, not on the next tick.

#include "base/background.h"
#include "base/datasource.h"
#include "base/serveradmin.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace parcelon {

// The settings in force: the newest row of backup_settind.
struct BackupSettings
{
    QString back1; // location 1
    QString back2; // location 2
    QString autoOn; // auto_aw: "1 - ..." on
    QString autoTime; // auto_time
    QString secondCopy; // Auto_backku2: "1 - ..." also copy to location 2
    QString keep; // Auto_backp_pamanaya
    QString databasePath;

    static std::optional<BackupSettings> newest();
    // The time of day of auto_time as "hh:mm:ss"; it may carry a date in front.
    QString timeOfDay() const;
};

class BackupSchedule
{
public:
    enum class Outcome {
        NotServer, // this workstation does not hold the register: nothing, keep ticking
        NoSettings, // stop
        CountedToday, // a backup is counted today or later: stop
        NotYet, // before the configured time: keep ticking
        Off, // the automatic backup is off: stop
        Waiting, // an earlier try failed less than kRetryMinutes ago (nothing read): keep ticking
        Due, // a backup is to be made now (check() only)
        Running, // the backup runs on a worker thread (ScheduledBackup only)
        Done, // backed up and counted: stop
        Failed, // the backup failed, nothing counted: keep ticking, try again after kRetryMinutes
    };
    struct Tick
    {
        Outcome outcome = Outcome::NotServer;
        QString time; // the clock's time of day, hh:mm:ss (not set on a workstation that is not the server)
        QString backupTime; // the configured time, hh:mm:ss
        QString number; // the number of the backup file
        QString file; // the file written
        QString error; // why the backup failed
        bool busy = false; // it failed because another client held the register
        // What the backup needs, set when it is due.
        QString second; // the copy in location 2, or empty
        QString back1;
        QString keep;
        QString today;
        DataSource source;
        Engine engine = Engine::Other;
    };
    using Maker = std::function<BackupResult(const Tick &)>;

    static constexpr int kRetryMinutes = 15;

    // The checks of one tick, on the session: Due, with what the backup needs, when it is to be made now.
    Tick check(bool serverMachine);
    // The backup of a due tick and its copy in location 2; it does not use the session.
    static BackupResult make(const Tick &due);
    // After the backup, on the session: counts it and keeps the newest files, or notes the failure.
    Tick finish(Tick due, const BackupResult &made);
    // A try that failed outside finish() (the register did not answer): the next waits kRetryMinutes.
    void noteFailure();
    // check(), make() and finish() in this thread.
    Tick tick(bool serverMachine);
    // Whether the schedule keeps ticking after this outcome.
    static bool keepsTicking(Outcome outcome);

    // Tests put a backup of their own (a slow one, a failing one) in place of make(); empty restores it.
    static void setMaker(Maker maker);

private:
    QDateTime m_failedAt; // the last failed try
};

// The schedule as the main menu runs it: the checks on the session, the backup on a worker thread.
class ScheduledBackup final : public QObject
{
public:
    explicit ScheduledBackup(QObject *parent = nullptr);
    // One tick. A due backup starts on the worker and the tick says Running; `ended` gets its outcome
    // in this thread when it has ended.
    BackupSchedule::Tick tick(bool serverMachine, std::function<void(const BackupSchedule::Tick &)> ended);
    bool isRunning() const { return m_worker->isRunning(); }
    void waitForFinished() { m_worker->waitForFinished(); }

private:
    BackupSchedule m_schedule;
    Background *m_worker;
};

// The main menu's notice after the scheduled backup.
inline QString backupDoneNotice() { return QStringLiteral("Backup completely"); }
// The notice when the scheduled backup failed; it is tried again later.
inline QString backupFailedNotice() { return QStringLiteral("Backup failed"); }
// The main menu's notice while the scheduled backup runs.
inline QString backupRunningNotice() { return QStringLiteral("Backup in progress..."); }

} // namespace parcelon
