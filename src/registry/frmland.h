#pragma once
// The land register: every land held under a permit, one row of `land` each, tied to one owner. The
// clerk finds the owner (by identity number, household number, the household chooser or the owner
// finder), enters the permit, place, extent, kinds, date, tank, division, village and successor, and
// saves; in change mode a stored land is loaded by its number, changed or deactivated.
//
// The screen's duties live in one file each:
//   frmland.cpp             controls, layout, load, permission levels, field colours, Enter order, reset
//   frmland_owner.cpp       the owner look-ups and the screens opened for an owner
//   frmland_save.cpp        permit kinds, the permit-number check, the extent arithmetic, the save
//   frmland_changemode.cpp  the mode switch, loading a land by number, update and delete
//   frmland_lists.cpp       the land list, the division and tank pickers, the village list, the
//                           boundaries and the successor's relationship list
//
// What other screens may set, press or call: txtid, txtguhano, labsrno_customr, labname, labsathara;
// cmdcha (restores the screen after a sub-screen), cmdnanayo (refreshes the relationship list);
// land_lv() (Q_INVOKABLE, the household chooser and the owner finder call it).
// The mode is whether `labno` is enabled: disabled in new mode, enabled in change mode.

#include "base/loadedrow.h"
#include "registry/frmhathara.h"

#include <QDialog>
#include <QMargins>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class ListView;
class PagedFill;
class Query;
class RecordColumns;

class frmland final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland(QWidget *parent = nullptr);

    void Form_Load();

    // Public procedures.
    // The next land number into labno: a hint for the clerk, the number after the highest land. The
    // database may give the saved land another (another workstation's land, or a number a rolled-back
    // change used up on PostgreSQL); the save links everything by the srno the land really received.
    void fno();
    void home_mumant(); // reset the entry fields
    Q_INVOKABLE void land_lv(); // lands of the household in txtguhano
    void land_all(); // all lands: the first page at once, the rest from the event loop
    // Whether the list of all lands is still being filled (its later pages are on their way).
    bool landListFilling() const;
    void fgamanam(); // villages of the division in txtkottasaya
    void fakkara(); // decimal acres from the extent

    // Owner look-up (frmland_owner.cpp).
    bool txtid_KeyPress(QKeyEvent *event); // true: the key is discarded
    void txtid_Change();
    void txtid_LostFocus();
    bool txtguhano_KeyPress(QKeyEvent *event);
    void txtguhano_LostFocus();
    void cmdnew_Click();
    void cmdfind_Click();
    void cmdchange_name_Click();

    // Save (frmland_save.cpp).
    void cmblandno_Click();
    void txtlandno_Change();
    void txtlandno_LostFocus();
    void cmdenter_Click();

    // Change mode (frmland_changemode.cpp).
    void cmdedit_Click();
    void labno_LostFocus();
    void cmdupdate_Click();
    void cmddeleter_Click();

    // Lists, pickers and sub-screens (frmland_lists.cpp).
    void txtkottasaya_GotFocus();
    void txtkottasaya_Enter();
    void lvkottashya_Click();
    void labkatti_Click();
    void txtwawa_GotFocus();
    void txtwawa_KeyUp();
    void txtwawa_Enter();
    void lvwawa_Click();
    void cmdsathara_Click();
    void cmbpasuaythiya_Click();
    void cmdnanayo_Click();

    void cmdcha_Click();
    void cmdexit_Click();

    // Title and owner frame.
    QLabel *labhname;
    QFrame *fracuster;
    QLabel *labno1;
    QLineEdit *labno;
    QLabel *labid;
    QLineEdit *txtid;
    QLabel *Label1;
    QLineEdit *txtguhano;
    QLabel *labname1;
    QLabel *labname;
    QPushButton *cmdfind;
    QPushButton *cmdnew;
    QPushButton *cmdedit;
    QLabel *labsrno_customr;
    QLabel *labcha; // hidden: "1" when the identity number failed its check

    // Land number frame.
    QLabel *lablanddetels;
    QFrame *fralandno;
    QLabel *Label4;
    QComboBox *cmblandno;
    QLineEdit *txtlandno;
    QLabel *labadd;
    QLineEdit *txtadd;
    QPushButton *cmdsathara;
    QLabel *labsathara;
    QPushButton *cmdchange_name;

    // Extent frame.
    QFrame *fraland_pamanaya;
    QLabel *labland_pramanaya;
    QComboBox *cmbakkara;
    QLineEdit *txtakkara;
    QLabel *labrud;
    QLineEdit *txtrud;
    QLabel *labparchase;
    QLineEdit *txtparchase;
    QLabel *Label2;
    QLineEdit *txtakkara_only;
    QLabel *labkatti;
    QLineEdit *txtkatti;

    // Kind frame.
    QFrame *frawargaya;
    QLabel *labland_sbawaya;
    QComboBox *cmbland_sabawaya;
    QLabel *labaythiye_sbawaya;
    QComboBox *cmbaythiy_sbawaya;
    QLabel *labotheland;
    QComboBox *cmbothland; // editable
    QLabel *labbalapath_date;
    QLineEdit *mkbalapath_date; // masked "##$##$####"
    QLabel *Label3;
    QLineEdit *txtpasuaythiya;
    QComboBox *cmbpasuaythiya;

    // Tank, division and village row with the pickers.
    QLabel *labwawa;
    QLineEdit *txtwawa;
    QLabel *labkottasaya;
    QLineEdit *txtkottasaya;
    QLabel *labgama;
    QComboBox *cmbgama; // editable
    ListView *lvwawa;
    ListView *lvkottashya;

    // Buttons and the land list.
    QPushButton *cmdexit;
    QPushButton *cmdenter;
    QPushButton *cmdupdate;
    QPushButton *cmddeleter;
    ListView *lvland;
    QPushButton *cmdcha; // hidden
    QPushButton *cmdnanayo; // "Command1", narrow

protected:
    void showEvent(QShowEvent *event) override;

private:
    // frmland_lists.cpp: one page of the list of all lands, the lands after number `after`; `highest` is
    // the highest land number when the filling began (0 for the first page).
    PagedFill *m_allLands = nullptr; // the list of all lands; land_lv() ends a filling under way

    // frmland.cpp
    void build();
    void layoutScreen();
    // Each duty's file hooks its own handlers to the controls build() made.
    void wireOwner();
    void wireSave();
    void wireChange();
    void wireLists();
    // The permit date as stored: "yyyy/mm/dd" when the box reads as a date, else its text.
    QString permitDate() const;
    bool inChangeMode() const;
    // The dimming pattern around a sub-screen: the main menu covered, this screen translucent until the
    // sub-screen presses cmdcha.
    void dimForSubScreen();
    void fillRelationships(); // the successor's relationship list as it loads
    int permitWidth() const; // the permit column of lvland: what the other columns leave
    // frmland_save.cpp: the row of `land` the save writes and the update changes.
    RecordColumns landRecord() const;
    // Saves the land and links its boundaries; false when its permit number was taken meanwhile.
    bool saveLand();
    // After saving or updating a portion of another land: the notice, then the transfer screen.
    void openTransferForPortion();
    // frmland_changemode.cpp
    void showLand(const Query &land);
    // Runs an update of the loaded land under the lock, only while the land still holds what was loaded;
    // otherwise tells the clerk and shows the land as it now stands. False when nothing was written.
    bool storeLoaded(const QString &sql, const QVariantList &values);
    LoadedRow m_loaded; // the land change mode loaded
    BoundaryTexts m_boundaries; // typed for the land being entered, written by its save
};

} // namespace parcelon
