#pragma once
// The backup screen: the two manual backups of the register, made on the computer that holds it.
//  - Copy 1 (CMDBACKUP): the register's files are copied into a folder named by the time stamp in
//    location 1 and in location 2 (see ServerAdmin::copyFiles); a 100 ms timer walks the progress bar
//    through it. The application ends when the clerk leaves the screen.
//  - Copy 2 (cmdbackup1): a full backup by the running server into a ".dat" named by the time stamp in
//    location 1, copied to location 2, logged in backup_d.
// The time stamps are taken when the screen loads. Browsing changes the locations for this screen's
// backups only. Each backup runs on a worker thread (the window keeps answering, the bars move) and is
// verified before it counts as made; the register is never closed for it. A backup that fails says so
// and logs nothing.

#include "base/serveradmin.h"

#include <QDateTime>
#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace parcelon {

class Background;
class FolderList;

class frmbackup_m final : public QDialog
{
    Q_OBJECT
public:
    explicit frmbackup_m(QWidget *parent = nullptr);

    void Form_Load();
    void labbackup1_Change();
    void Dir_Change(const QString &path);
    void tt_Timer();
    void cmdexit_Click();
    void CMDBACKUP_Click();
    void tb_Timer();
    void cmdbackup1_Click();

    QLabel *labname;
    QLabel *labdate1;
    QLabel *labdate;
    QLabel *labtime1;
    QLabel *labtime;
    QRadioButton *optbp1;
    QRadioButton *optbp2;
    QLabel *labbp1;
    QLabel *labbackup1;
    QLabel *labbp2;
    QLabel *labbackup2;
    FolderList *folders; // dri, Dir and cmdbrowse
    QComboBox *dri;
    QLineEdit *Dir;
    QPushButton *cmdbrowse;
    QFrame *Frame1;
    QPushButton *CMDBACKUP;
    QProgressBar *pb1;
    QFrame *Frame2;
    QPushButton *cmdbackup1;
    QProgressBar *pb2;
    QLabel *labmessage1;
    QLabel *labmessage;
    QPushButton *cmdexit;
    QTimer *tb;
    QTimer *tt;
    QLabel *labend; // hidden: "1" once copy 1 started
    QLabel *labnow; // hidden: the copy 1 folder stamp
    QLabel *ff; // hidden: the copy 2 file stamp
    QLabel *labserver; // hidden
    QLabel *labdata; // hidden: the folder of the database files

protected:
    // While a backup runs the window stays: it shows how the backup went.
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void setMessage(const QString &legacyText);
    void setFailure(const QString &text);
    // Starts the copy of the register's files into location + labnow; shows what went wrong.
    void copyInto(const QString &location, const QString &message);
    void creep();
    void copy2Ended(const BackupResult &made, const BackupResult &copied);

    Background *m_worker = nullptr; // the running backup step
    QTimer *m_creep = nullptr; // moves pb2 while copy 2 runs
    bool m_failed = false; // a step of the running copy failed
    QDateTime m_shown; // the date and time labdate and labtime show
};

} // namespace parcelon
