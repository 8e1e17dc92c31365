#pragma once
// The successor report: every registered succession, one line each as the view pasuhimika_report holds
// them (the land's number hidden in the first column), filled once when the screen opens; "j¾:d" prints
// "pasuhimikam.rpt" for the land of the selected line.

#include <QDialog>

class QLabel;
class QPushButton;

namespace parcelon {

class ListView;

class frmpawarim_wartha final : public QDialog
{
    Q_OBJECT
public:
    explicit frmpawarim_wartha(QWidget *opener = nullptr);

    void Form_Load();
    void cmdok_Click();
    void cmdexit_Click();

    QLabel *labname;
    ListView *lv;
    QPushButton *cmdok;
    QPushButton *cmdexit;

private:
    void build();
};

} // namespace parcelon
