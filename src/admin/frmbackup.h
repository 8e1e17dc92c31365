#pragma once
// Backup settings: where the copies go (locations 1 and 2), the folder of the database files, and how the
// daily automatic backup behaves (on or off, its time, a second copy to location 2, how many numbered
// files stay). Each save appends a row to backup_settind; the newest row is in force. At load the screen
// also asks the server of the register for its name (labserver), which the backup screen reads.

#include <QDialog>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

namespace parcelon {

class FolderList;

class FRMBACKUP final : public QDialog
{
    Q_OBJECT
public:
    explicit FRMBACKUP(QWidget *parent = nullptr);

    void Form_Load();
    void Dir_Change(const QString &path);
    void cmdnew_folder_Click();
    void cmdsave_Click();
    void Command2_Click();

    QFrame *Frame1;
    FolderList *folders; // dri, Dir and cmdbrowse
    QComboBox *dri;
    QLineEdit *Dir;
    QPushButton *cmdbrowse;
    QRadioButton *optpath1;
    QRadioButton *optpath2;
    QLabel *Label1;
    QLabel *labpath;
    QLabel *Label2;
    QLabel *labbackup_copy;
    QLabel *Label30;
    QLineEdit *txtnew_balder;
    QPushButton *cmdnew_folder;
    QLabel *Label7;
    QLineEdit *txtdatabase;
    QGroupBox *fra2;
    QLabel *Label6;
    QComboBox *cmbbackp_awashada;
    QLabel *Label3;
    QTimeEdit *dtbackp_time;
    QLabel *Label4;
    QComboBox *cmbbackp_2;
    QLabel *Label5;
    QComboBox *cmbbackp_pamanaya;
    QPushButton *cmdsave;
    QPushButton *Command2;
    QLabel *labserver; // hidden

private:
    void build();
};

// A folder as the locations store it: with the separator at its end.
QString asLocation(const QString &folder);

} // namespace parcelon
