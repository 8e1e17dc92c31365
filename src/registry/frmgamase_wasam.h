#pragma once
// GN divisions and their villages: the office's list that every division and village picker reads from
// `gamasewa_wasama`. A division is entered as a name and a working list of villages and saved as a whole;
// a stored division is loaded into the working list, changed and saved again (its rows are replaced), or
// renamed on its own. The mode is the caption of `cmdok`; the screen keeps its state in its controls.

#include "base/loadedrow.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class ListView;

class frmgamase_wasam final : public QDialog
{
    Q_OBJECT
public:
    // Loads the screen at once: the division list, the next division number and the user's rights.
    explicit frmgamase_wasam(QWidget *parent = nullptr);

    void Form_Load();
    // The stored divisions, one line each: number and name.
    void lv_add();
    // The number the next new division receives: the count of division names plus one.
    void lastno();

    void lvgama_wasama_Click();
    void lvgama_wasama_DblClick();
    void txtgama_Change();
    // keyAscii is the character code of the key (13 for Enter).
    void txtgama_KeyPress(int keyAscii);
    void txtgam_KeyPress(int keyAscii);
    void lvgam_DblClick();
    void lvgam_ColumnClick(int column);
    void labiv_Change();
    void cmdnew_Click();
    void cmdok_Click();
    void cmdgamiya_change_Click();
    void cmdexit_Click();

    QLabel *labname;
    ListView *lvgama_wasama;
    ListView *lvgam;
    QLabel *labsrno1;
    QLabel *labsrno;
    QLabel *labgama;
    QLineEdit *txtgama;
    QLabel *Label3;
    QLabel *labgsrno;
    QLabel *Label1;
    QLineEdit *txtgam;
    QLineEdit *txtgamiya_change;
    QPushButton *cmdgamiya_change;
    QPushButton *cmdnew;
    QPushButton *cmdok;
    QPushButton *cmdexit;
    QLabel *labiv; // hidden: the count of villages in the working list

private:
    void build();
    // labiv is a label, which has no change signal of its own: every write goes through here so the
    // count rule runs whenever the count really changes.
    void setLabiv(int count);
    // Both lists are locked while a village is out of the working list for editing; they are free again
    // once it is back or gone (dropped, saved without it, or the list started anew).
    void unlockLists();
    // A division name that another division already bears: saving or renaming to it would give two
    // divisions the same next number and let one save replace the other's villages.
    bool nameTakenByOtherDivision(const QString &name, int srno) const;
    // The number a new division receives (see lastno).
    int nextDivisionNumber();
    // After another workstation changed the division open for change: its name and villages as they
    // now stand, or a new division when it is gone.
    void showDivisionAgain();
    LoadedRow m_division; // the division open for change, as loaded
};

} // namespace parcelon
