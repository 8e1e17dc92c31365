#pragma once
// The login screen: the first screen of a run. It opens the session on the data source `land`, refuses
// to run without the database or the PARAS-N font, and lets the clerk in by name and password, or
// without a password as the shared account "All User".

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace parcelon {

class frmloging final : public QDialog
{
    Q_OBJECT
public:
    explicit frmloging(QWidget *parent = nullptr);

    // Returns false when the application must end: no database ("odbc NotConneted") or no PARAS-N
    // font ("Install font (PARAS - N)"); the clerk has been told.
    bool Form_Load();

    void tim_Timer();
    void txtusername_LostFocus();
    void ccmdlog_Click();
    void cmdnotlog_Click();
    // Opens the password screen for the name typed, which it may not change.
    void cmdchange_password_Click();
    void cmdend_Click();

    QLineEdit *txtusername;
    QLineEdit *txtpassword;
    QPushButton *ccmdlog;
    QPushButton *cmdnotlog;
    QPushButton *cmdend;
    QPushButton *cmdchange_password;
    QLineEdit *labfont;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *labdate;
    QLabel *labtime;
    QTimer *tim;

private:
    void enterMainMenu(const QString &userName, const QString &userSrno);
};

} // namespace parcelon
