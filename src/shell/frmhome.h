#pragma once
// The main menu: the one modeless window of a session. It shows the office, the user, the date and a
// running clock, opens every other screen (eleven of them through the permission gate), tells whether
// this workstation is the server machine, and blinks the backup notice.

#include "admin/backupschedule.h"
#include "base/permissions.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QWidget>

#include <optional>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace parcelon {

class frmhome final : public QWidget, public Home
{
    Q_OBJECT
public:
    // The main menu of this run, loaded on first use.
    static frmhome *open();
    static frmhome *current();
    ~frmhome() override;

    void Form_Activate();
    // The permission gate of the eleven register, lifecycle and report buttons: opens the screen when the
    // user's flag does not begin with "1", otherwise says the user has no permission.
    void gate(Flag flag, ScreenId screen);

    // The menu's buttons: which screen each opens and, for the eleven gated ones, the flag it reads.
    struct MenuEntry
    {
        QPushButton *frmhome::*button;
        std::optional<Flag> flag;
        ScreenId screen;
        // Opens for the administrator only; any other session gets the gate's refusal.
        bool administrator = false;
    };
    static const std::vector<MenuEntry> &menu();

    void tim1_Timer();
    void tt_Timer();
    // The scheduled backup's check, once a second from the load until the schedule is done for the run.
    void timbackup_Timer();
    // Shows a tick of the scheduled backup (also its end, which the worker reports later) in the status.
    void showBackupTick(const BackupSchedule::Tick &tick);
    ScheduledBackup *scheduledBackup() const { return m_scheduled; }
    // The blinking notice after a scheduled backup: red and blue once a second for 300 seconds.
    void showNotice(const QString &text);
    void cmdnew_version_Click();
    // The updater "New Version" starts: parcelon-update beside the application unless set (tests).
    static void setUpdater(const QString &path);

    // Home
    QString userName() const override;
    QString userSrno() const override;
    QString date() const override;
    QString time() const override;
    QDateTime shownAt() const override;
    void setBlocked(bool blocked) override;

    QLabel *labusername;
    QLabel *labuser_srno;
    QLabel *labname;
    QLabel *labbb;
    QLabel *labtime;
    QLabel *labtime_backup;
    QLabel *labcou;
    QLabel *labmessage;
    QProgressBar *pb1;
    QLabel *ll;
    QLineEdit *txttra;
    QLabel *img1;

    QPushButton *cmdexit;
    QPushButton *cmdminimaze;
    QLabel *labnew;
    QLabel *labsettting;
    QLabel *labreport;
    QFrame *frasakasima;
    QLabel *labusername1;
    QLabel *labdate1;
    QLabel *labdate;
    QLabel *labtime1;
    QLabel *labtime2;
    QPushButton *cmdbacku;
    QPushButton *cmdhelp;
    QPushButton *cmdnew_version;

    QPushButton *cmdlandowner;
    QPushButton *cmdland;
    QPushButton *cmdland_chand;
    QPushButton *cmdland_pewarima;
    QPushButton *cmdgama;
    QPushButton *cmdpasuhimikam_pewarima;
    QPushButton *cmdland_owner_report;
    QPushButton *cmdland_report;
    QPushButton *cmdland_balapath_report;
    QPushButton *cmdland_landowner_report;
    QPushButton *cmdpawarim_report;

    QPushButton *cmbuser;
    QPushButton *cmdbackup;
    QPushButton *cmddelect_all;
    QPushButton *cmddetels;

    QTimer *tim1;
    QTimer *tt;
    QTimer *timbackup;

protected:
    bool event(QEvent *event) override;

private:
    frmhome();
    void build();
    void Form_Load();

    QDateTime m_shownAt;
    ScheduledBackup *m_scheduled = nullptr;
};

} // namespace parcelon
