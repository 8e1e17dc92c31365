#pragma once
// Permissions of one account: eleven drop-downs, one per main menu button that the permission gate
// guards, each holding a level ("1 - wjir ke;" refuses the screen). Saving appends a row to `awasara`;
// the newest row of an account is the one in force. One save per opening: the screen locks itself after
// it, and is opened anew to change the permissions again.
//
// Only the administrator grants freely. Any other session may give a level no higher than its own for
// that flag (a higher level the account already holds may stay), never changes its own rows, and the
// levels above its own are shown disabled. The rows are checked again when saved, under the lock, and a
// row another workstation saved meanwhile is shown, not overwritten.

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace parcelon {

class frmpramission final : public QDialog
{
    Q_OBJECT
public:
    // The opener is the user screen: its labsrno names the account.
    explicit frmpramission(QWidget *opener = nullptr);

    void Form_Load();
    void cmdenter_Click();
    void cmdexit_Click();

    // The captions of the main menu buttons the eleven flags guard, in flag order.
    static const std::array<QString, 11> &menuCaptions();

    QLabel *labname;
    QLabel *Label3;
    QLabel *labuser;
    QLabel *Label1;
    QLabel *labsrno; // hidden: the account's srno
    QLabel *labland_owner;
    QLabel *labland;
    QLabel *labland_change;
    QLabel *labland_behera;
    QLabel *labgamiya;
    QLabel *labpasuhimikam;
    QLabel *lablandowner_report;
    QLabel *labland_report;
    QLabel *labbalapathra;
    QLabel *labland_one_report;
    QLabel *labpasukam_report;
    QComboBox *cmb1;
    QComboBox *cmb2;
    QComboBox *cmb3;
    QComboBox *cmb4;
    QComboBox *cmb5;
    QComboBox *cmb6;
    QComboBox *cmb7;
    QComboBox *cmb8;
    QComboBox *cmb9;
    QComboBox *cmb10;
    QComboBox *cmb11;
    QPushButton *cmdenter;
    QPushButton *cmdexit;

private:
    enum class Saved { Yes, Refused, ChangedElsewhere };
    void build();
    // Shows the account's row in force and what this session may choose.
    void showPermissions();
    // Whether the session may store `chosen` for each flag, given what the account holds now.
    bool mayGrant(const std::array<QString, 11> &chosen, const std::array<QString, 11> &held) const;
    Saved store();
    std::array<QLabel *, 11> functionLabels() const;
    std::array<QComboBox *, 11> lists() const;
    QWidget *m_opener;
    QString m_heldRow; // srno of the account's row in force when shown; empty without one
    std::array<QString, 11> m_held; // its flags, as shown
};

} // namespace parcelon
