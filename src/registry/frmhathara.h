#pragma once
// The four boundaries of a land: what lies north, south, west and east of it, one row of `hathara_maym`
// per land. The land register opens it for a land being entered (the row carries the permit and the
// land number the land is expected to receive; the save of the land corrects it) or for a land whose
// boundaries are recorded. The caption of cmdok is the mode: "we;=,a lsÍu" a new row, "fjkia lsrsu" the
// stored row changed in place. Every way out presses the land register's cmdcha, which restores it.

#include <QDialog>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class Query;

class frmhathara final : public QDialog
{
    Q_OBJECT
public:
    // The opener is the land register: its labsathara and cmdcha are handed back to.
    explicit frmhathara(QWidget *opener);

    void Form_Load();
    // Shows a stored row (landsrno, landno1, landno and the four boundaries) to be changed in place.
    void showStored(const Query &row);

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
    bool m_left = false;
};

} // namespace parcelon
