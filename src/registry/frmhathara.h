#pragma once
// The four boundaries of a land: what lies north, south, west and east of it, one row of `hathara_maym`
// per land, found by the land's number (landsrno). The land register opens it for a stored land (its row
// changed in place, or a new row for it) or for a land being entered: that land has no number yet, so
// what the clerk types is held by the land register (BoundaryTexts) and written with the land in its own
// save, under the number the land really receives. The caption of cmdok is the mode: "we;=,a lsÍu" a new
// row, "fjkia lsrsu" the stored (or held) row changed. Every way out presses the land register's cmdcha,
// which restores it.

#include <QDialog>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class Query;

// The boundaries typed for a land not saved yet, held until the land's save writes them.
struct BoundaryTexts
{
    QString dakuna; // south
    QString uthuru; // north
    QString batahira; // west
    QString naganahira; // east
    bool held = false;
};

class frmhathara final : public QDialog
{
    Q_OBJECT
public:
    // The opener is the land register: its labsathara and cmdcha are handed back to.
    explicit frmhathara(QWidget *opener);

    void Form_Load();
    // Shows a stored row (landsrno, landno1, landno and the four boundaries) to be changed in place.
    void showStored(const Query &row);
    // For a land not saved yet: the boxes show and save `pending`, which the opener keeps; nothing is
    // written to the register here.
    void holdFor(BoundaryTexts *pending);

    void cmdok_Click();
    void cmddelect_Click();
    void cmdexit_Click();

    QLabel *labname;
    QLabel *Label5;
    QLabel *lablandsrno;
    QLabel *Label4;
    QLabel *lablandno1;
    QLabel *lablandno;
    QLabel *labuthura;
    QLineEdit *txtuthura;
    QLabel *Label3;
    QLineEdit *txtdakuna;
    QLabel *Label2;
    QLineEdit *txtbatahira;
    QLabel *Label1;
    QLineEdit *txtnaganahira;
    QPushButton *cmdok;
    QPushButton *cmdexit;
    QPushButton *cmddelect;

protected:
    // The window's own close button leaves as "msgúu" does.
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void clearBoxes();
    // Presses the land register's cmdcha and closes.
    void leave();
    QWidget *m_opener;
    BoundaryTexts *m_pending = nullptr;
    bool m_left = false;
};

} // namespace parcelon
