#pragma once
// The owner finder: finds a land owner by number, household number, identity number and name at once
// (the four boxes narrow the list together, rebuilt at every change) and hands the owner clicked back to
// the screen that opened it. The opener writes its caller code into labch before the finder shows:
//   "1" the land register, "2" the single land report, "3" the successor change screen.
// The finder writes nothing to the register. Leaving it without a choice presses the land register's
// cmdcha, which restores the land register that dimmed itself for it.

#include <QDialog>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class ListView;
class PagedFill;

class frmfind_land_onew final : public QDialog
{
    Q_OBJECT
public:
    explicit frmfind_land_onew(QWidget *opener);

    void Form_Load();
    // Every active owner (the view landowner1).
    void fin_lv();
    // The owners matching all four boxes together.
    void sort_f();
    // Hands the selected owner back to the opener by the caller code.
    void fadd();

    // True while the list's later pages are still to come from the event loop.
    bool listFilling() const;

    void lvfind_Click();
    void cmdadd_Click();
    void cmdexit_Click();

    QLabel *labname;
    QLabel *labsrno;
    QLineEdit *txtsrno;
    QLabel *labguha;
    QLineEdit *txtguha;
    QLabel *labid;
    QLineEdit *txtid;
    QLabel *lablname;
    QLineEdit *txtlname;
    ListView *lvfind;
    QPushButton *cmdadd;
    QPushButton *cmdexit;
    QLabel *labch; // hidden: the caller code

protected:
    // The window's own close button leaves as "msgúu" does, so the land register never stays dimmed.
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void setColumnWidths();
    void leave();
    PagedFill *m_owners;
    QWidget *m_opener;
    bool m_left = false;
};

} // namespace parcelon
