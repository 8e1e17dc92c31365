#pragma once
// The permit report: one land's permit history, found by its permit number (typed, or handed back by
// the land search with caller code "4", which presses `cmdlv`). The list shows the land as it stands and
// every earlier version the permit change kept, each with its holder's identity number, all read in one
// query. Printing chooses "old_land1.rpt" for a land never changed (one line) and "old_land.rpt"
// otherwise, restricted to the permit number in the box.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class ListView;

class frmland_balapath_report final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland_balapath_report(QWidget *opener = nullptr);

    void Form_Load();
    void txtlandno_Change();
    void txtlandno_LostFocus();
    // Fills the list with the land of the permit number and its earlier versions.
    void flv();
    void cmdlv_Click();
    void cmdfind_Click();
    void cmdenter_Click();
    void cmdexit_Click();

    QLabel *labhname;
    QLabel *Label1;
    QLineEdit *txtlandno;
    QPushButton *cmdfind;
    QPushButton *cmdlv;
    ListView *lv;
    QPushButton *cmdenter;
    QPushButton *cmdexit;

private:
    void build();
    void wire();
};

} // namespace parcelon
