#pragma once
// The scheduled backup: once a day, at the time the backup settings give or at the first check after it,
// a full backup of the register into the next numbered file of location 1, counted in backup_coun,
// copied to location 2 when the settings ask, and the numbered file `keep` backups old deleted. The main
// menu's timer only calls tick() once a second and shows what it says; time comes from the Clock, so
// tests set the time and tick.
//
// A backup that fails writes no count row and keeps the schedule running: the next tick tries again.

#include <QString>

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
        Done, // backed up and counted: stop
        Failed, // the backup failed, nothing counted: keep ticking
    };
    struct Tick
    {
        Outcome outcome = Outcome::NotServer;
        QString time; // the clock's time of day, hh:mm:ss (not set on a workstation that is not the server)
        QString backupTime; // the configured time, hh:mm:ss
        QString number; // the number of the backup file
        QString file; // the file written
        QString error; // why the backup failed
    };

    // One check of the schedule; `serverMachine` is the main menu's labbb == "1".
    Tick tick(bool serverMachine);
    // Whether the schedule keeps ticking after this outcome.
    static bool keepsTicking(Outcome outcome);
};

// The main menu's notice after the scheduled backup.
inline QString backupDoneNotice() { return QStringLiteral("Backup completely"); }
// The notice when the scheduled backup failed; it is tried again at the next tick.
inline QString backupFailedNotice() { return QStringLiteral("Backup failed"); }

} // namespace parcelon
