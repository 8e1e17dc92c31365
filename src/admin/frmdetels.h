#pragma once
// The office's own details, the one row of `detels`: code, name, four address lines, telephone, fax,
// e-mail and web address, all typed in PARAS-N. Saving replaces the row as a whole. The main menu
// shows the office name from its next start on.

#include "base/loadedrow.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class FRMDETELS final : public QDialog
{
    Q_OBJECT
public:
    explicit FRMDETELS(QWidget *parent = nullptr);

    void Form_Load();
    // Lays the screen over the main menu, leaving its status line visible.
    void Form_Resize();
    void OK_Click();
    void END_Click();

    QLabel *Label2;
    QLabel *Label11;
    QLineEdit *CODENO;
    QLabel *Label1;
    QLineEdit *txtNAME;
    QLabel *Label3;
    QLineEdit *AD1;
    QLabel *Label4;
    QLineEdit *AD2;
    QLabel *Label5;
    QLineEdit *AD3;
    QLabel *Label6;
    QLineEdit *AD4;
    QLabel *Label7;
    QLineEdit *TENO;
    QLabel *Label8;
    QLineEdit *FAXNO;
    QLabel *Label9;
    QLineEdit *EMAIL;
    QLabel *Label10;
    QLineEdit *WEB;
    QLabel *labcode2; // hidden: the loaded codeno, empty when nothing was loaded
    QPushButton *OK;
    QPushButton *END;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    LoadedRow m_loaded; // the office's details as this screen showed them
};

} // namespace parcelon
