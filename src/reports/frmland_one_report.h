#pragma once
// The single land and owner report: the full record of one land, by its permit number, through
// "land_all_detels.rpt" (`cr4`), and of one owner with every land held, by identity number, through
// "land_owner_all.rpt" (`cr5`). Each half checks its number against the active or the inactive records
// as its option says and can open a finder: the land search (caller code "5") writes the permit number,
// the owner finder (caller code "2") the identity number. The check runs when the box loses the focus;
// the report is the same whichever option is chosen.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace parcelon {

class frmland_one_report final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland_one_report(QWidget *opener = nullptr);

    void Form_Load();
    void txtlandno_LostFocus();
    void txtid_LostFocus();
    void cmdfind_l_Click();
    void cmdfind_Click();
    void cmdprint_Click();
    void cmdprint1_Click();
    void cmdexit_Click();

    QLabel *labname;
    QGroupBox *Frame1;
    QLabel *Label4;
    QLineEdit *txtlandno;
    QPushButton *cmdfind_l;
    QRadioButton *optkiyakari;
    QRadioButton *optakkiyakari;
    QPushButton *cmdprint;
    QGroupBox *Frame2;
    QLabel *labid;
    QLineEdit *txtid;
    QPushButton *cmdfind;
    QRadioButton *optkiyakari1;
    QRadioButton *optakkiyakari1;
    QPushButton *cmdprint1;
    QPushButton *cmdexit;

private:
    void build();
    void wire();
};

} // namespace parcelon
