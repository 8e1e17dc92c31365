#pragma once
// Changing a password before logging in: opened from the login screen, which fills in the user name and
// locks it. The old password must match and the new one must be typed twice; the person's name is
// written anew with the password.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace parcelon {

class frmlog final : public QDialog
{
    Q_OBJECT
public:
    explicit frmlog(QWidget *parent = nullptr);

    void Form_Load();
    void T1_Timer();
    void CMDADD_Click();
    void CMDEND_Click();

    QLabel *lablogin;
    QLabel *Label1;
    QLineEdit *txtusername;
    QLabel *Label5;
    QLineEdit *txtoldpw;
    QLabel *Label2;
    QLineEdit *TXTPW;
    QLabel *Label4;
    QLineEdit *TXTPW1;
    QLabel *Label3;
    QLineEdit *txtname;
    QPushButton *CMDADD;
    QPushButton *CMDEND;
    QLabel *labsrno; // hidden: the account's srno once found
    QFrame *fra1;
    QLabel *LABDATE;
    QLabel *LABTIME;
    QTimer *T1;

private:
    void build();
};

} // namespace parcelon
