#pragma once
// User accounts: creates an account in `user_loging` and opens the permission screen for it at once,
// shows an existing account to the administrator "Chief" or to its owner, and marks an account
// inactive (accounts are never removed). A session whose name begins with "Chi" may open the
// permission screen for any existing account.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class frmuser final : public QDialog
{
    Q_OBJECT
public:
    explicit frmuser(QWidget *parent = nullptr);

    void Form_Load();
    // The number the next account is expected to receive, into labsrno.
    void last_no();

    void txtuser_LostFocus();
    void cmdsave_Click();
    void cmdpermission_Click();
    void cmdshow_Click();
    void cmddelect_Click();
    void cmdexit_Click();

    QLabel *Label6;
    QLabel *Label1;
    QLineEdit *txtuser;
    QLabel *Label4;
    QLineEdit *txtpassword1;
    QLabel *Label2;
    QLineEdit *txtpassword2;
    QLabel *Label3;
    QLineEdit *txtname;
    QLabel *Label5;
    QLabel *labsrno;
    QPushButton *cmdsave;
    QPushButton *cmddelect;
    QPushButton *cmdpermission;
    QPushButton *cmdshow;
    QPushButton *cmdexit;

private:
    void build();
    // Opens the permission screen for the account in labsrno, named as txtuser.
    void openPermissions();
};

} // namespace parcelon
