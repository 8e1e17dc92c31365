#pragma once
// The successor change: a land passes from its holder to another registered land owner. The land is
// found by its permit number (typed, or chosen in the land search with caller code "6"), the successor
// by identity number (typed, or chosen in the owner finder with caller code "3"). The store records the
// succession in pasuhimikam and makes the successor the land's holder, in one change or none.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class frmpasuhimika_change final : public QDialog
{
    Q_OBJECT
public:
    explicit frmpasuhimika_change(QWidget *opener);

    void Form_Load();
    // Loads the land whose permit number is in txtlandno, with its holder.
    void flan_a();
    // Loads the successor whose identity number is in txtid_c.
    void txtid_c_LostFocus();
    void cmd_l_thora_Click();
    void cmdfind_c_Click();
    void cmdok_Click();
    void cmdexit_Click();

    QLabel *labname;
    QLabel *Label4;
    QLineEdit *txtlandno;
    QPushButton *cmd_l_thora;
    QPushButton *cmdff;
    QLabel *labland_wargaya;

    QGroupBox *frawargaya;
    QLabel *labland_sbawaya1;
    QLabel *labland_sbawaya;
    QLabel *labaythiye_sbawaya1;
    QLabel *labaythiye_sbawaya;
    QLabel *labbalapath_date1;
    QLabel *labbalapa_date;
    QLabel *Label3;
    QLabel *labpasuaythiya;
    QLabel *labnakama;
    QLabel *labotheland1;
    QLabel *labother;

    QGroupBox *Frame1;
    QLabel *labid;
    QLabel *labid_l;
    QLabel *Label8;
    QLabel *labguha_l;
    QLabel *Label7;
    QLabel *labname_l;
    QLabel *labgamiya;
    QLabel *labgamiya_l;
    QLabel *labgama;
    QLabel *labgama_l;

    QGroupBox *Frame2;
    QLabel *Label1;
    QLineEdit *txtid_c;
    QPushButton *cmdfind_c;
    QLabel *Label6;
    QLabel *labguha_c;
    QLabel *Label9;
    QLabel *labname_c;
    QLabel *Label5;
    QLabel *labgamiya_c;
    QLabel *Label2;
    QLabel *labgama_c;

    QPushButton *cmdok;
    QPushButton *cmdexit;

    // Hidden: the previous holder's, the land's and the successor's serial numbers.
    QLabel *labownerno;
    QLabel *labsrno;
    QLabel *lablandowner_srno;

private:
    enum class Stored { Done, NoLand, NoSuccessor };
    void build();
    void wire();
    // The succession itself, under the register's lock.
    Stored storeSuccession();
    void clearScreen();
};

} // namespace parcelon
