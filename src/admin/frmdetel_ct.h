#pragma once
// The about screen: what this program is, its version, and who to turn to.

#include <QDialog>

class QLabel;
class QPushButton;

namespace parcelon {

class frmdetel_ct final : public QDialog
{
    Q_OBJECT
public:
    explicit frmdetel_ct(QWidget *parent = nullptr);

    void Form_Load();
    void cmdexit_Click();

    // "Parcelon" and the version of this build.
    static QString heading();

    QLabel *picture;
    QLabel *labheading;
    QLabel *Label1;
    QLabel *labnamevalue;
    QLabel *Label2;
    QLabel *labtelvalue;
    QLabel *Label3;
    QLabel *labemailvalue;
    QLabel *Label4;
    QLabel *labwebvalue;
    QLabel *labhelp;
    QLabel *labcontact;
    QPushButton *cmdexit;

private:
    void build();
};

} // namespace parcelon
