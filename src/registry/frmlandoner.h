#pragma once
// The land owner register: registers owners by identity number and household, shows and changes an
// owner, and deactivates one who holds no active land. Owners are never deleted.
//
// What other screens may set or call (the land register among them):
// - txtid: set it before exec() to open the screen on an identity number; leaving the box looks it up.
// - labno: the owner on screen (the expected next number for a new owner). Set it and press cmdselect
//   (hidden) to load that owner's row with its own division and village; the household number stays.
// - lastno(): shows the next owner number in labno.
// - newOwnerMode(): the owner chooser starts a new member of the household with it (status, number and
//   the writing buttons, which only ever change through the permission gate below).
// The owner chooser frmselect tells its opener by its cmdok caption: "fjkia lsrsu" for this screen,
// any other caption for the land register (see frmselect.h).

#include "base/loadedrow.h"

#include <QDialog>
#include <QMargins>
#include <QVariantList>

#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class ListView;
class Query;
class RecordColumns;

class frmlandoner final : public QDialog
{
    Q_OBJECT
public:
    explicit frmlandoner(QWidget *parent = nullptr);

    void Form_Load();
    void cmbgamiya_Click();
    void txtid_KeyUp(int key);
    void txtid_Change();
    void txtid_LostFocus();
    void txtguhano_Change();
    void txtguhano_LostFocus();
    void txtlandname_Change();
    void txtlandname_LostFocus();
    void cmdnew_Click();
    void cmdok_Click();
    void cmdupdata_Click();
    void cmddelete_Click();
    void cmdselect_Click();
    void cmdexit_Click();

    // Public procedures.
    void lastno();
    // A new owner is entered: status "kj", the next number, save allowed, change and deactivation not.
    void newOwnerMode();
    void lvland(); // lands of the household typed in txtguhano
    void flww(); // lands of the household of the owner whose identity number is in txtid

    QLabel *labname;
    QLabel *Label1;
    QLabel *labno;
    QLabel *Label3;
    QLineEdit *txtid;
    QLabel *Label8;
    QLineEdit *txtguhano;
    QLabel *Label7;
    QLineEdit *txtlandname;
    QLabel *Label6;
    QLineEdit *txtad1;
    QLabel *Label5;
    QLineEdit *txtad2;
    QLabel *Label4;
    QLineEdit *txtad3;
    QLabel *Label11;
    QLineEdit *txtad4;
    QLabel *Label10;
    QLineEdit *txtsamajikano;
    QLabel *Label9;
    QLineEdit *txtjop;
    QLabel *Label12;
    QLineEdit *txtadayama;
    QLabel *labgamiya;
    QComboBox *cmbgamiya;
    QLabel *labgama;
    QComboBox *cmbgama;
    QLabel *Label2;
    QLabel *labsakiya;
    QLabel *labcha; // hidden: "1" when the identity number failed its check
    QLabel *labcu; // hidden: "" all rights, "1" view only, "2" entry only
    ListView *lvdetels;
    QPushButton *cmdnew;
    QPushButton *cmdok;
    QPushButton *cmdupdata;
    QPushButton *cmddelete;
    QPushButton *cmdexit;
    QPushButton *cmdselect; // hidden

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void layoutScreen();
    void fillDivisions();
    // Lists the lands of the household of the first owner matching `where` (one bound value).
    void householdLands(const QString &where, const QString &value);
    void fillOwner(const Query &row);
    void setPlace(const QString &division, const QString &village);
    // Shows a loaded owner's division and village and remembers them as stored, and remembers the
    // owner as loaded (a row of ownerSelect()).
    void loadPlace(const Query &row);
    // Shows the owner in labno as stored now.
    void reloadOwner();
    // The division and village an update writes: what the clerk chose, or the stored ones when the clerk
    // chose nothing since the owner was loaded.
    std::pair<QString, QString> placeToStore() const;
    void loadedOwnerButtons();
    // The permission gate of the writing buttons, the one place that enables or disables them: a view-only
    // clerk (labcu "1") never gets any of them, an entry-only clerk (labcu "2") only cmdok.
    void allowWriting(QPushButton *button, bool on);
    void checkIdentity();
    void clearEntry(bool withHousehold);
    void clearAll();
    // The owner's columns and their controls, and the select of them with the status.
    RecordColumns owner() const;
    QString ownerSelect() const;

    // The loaded owner's stored division and village, and whether the clerk has picked either since.
    QString m_storedDivision;
    QString m_storedVillage;
    bool m_placeChosen = false;
    LoadedRow m_loaded; // the owner as loaded, which an update may write over only while it is unchanged
};

} // namespace parcelon
