#pragma once
// The permit change: a registered land gets a new permit number and kind. The land is loaded by its old
// number (typed, handed in by the land register, or chosen in the land search with caller code "1"); the
// change keeps a copy of the land as it stood in the history table land_pera, moves the land's boundary
// row to the new number and gives the land its new number and kind, all in one change or none.
//
// Opened by the land register (which dims itself first and hands its permit number into txtlandno1) or
// by the main menu. Leaving restores the land register when it was opened over one.

#include <QDialog>

class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class frmland_change final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland_change(QWidget *opener);

    void Form_Load();
    // Loads the land whose permit number is in txtlandno1 (only active lands are shown).
    void txtlandno1_LostFocus();
    // Refuses a new permit number that an active land already has.
    void txtlandno_LostFocus();
    void cmdfind_Click();
    void cmdenter_Click();
    void cmdexit_Click();

    QLabel *labhname;
    QLabel *Label1;
    QComboBox *cmblandno;
    QLineEdit *txtlandno1;
    QPushButton *cmdfind;
    QLabel *Label2;
    QComboBox *cmblandno1;
    QLineEdit *txtlandno;
    QLabel *labno1;
    QLabel *labno;
    QLabel *labid1;
    QLabel *labid;
    QLabel *labname1;
    QLabel *labname;
    QLabel *labguhano1;
    QLabel *labguhano;
    QLabel *labland_sbawaya1;
    QLabel *labland_sabawaya;
    QLabel *labaythiye_sbawaya1;
    QLabel *labaythiye_sabawaya;
    QLabel *labuthura1;
    QLabel *labuthura;
    QLabel *labdakuna1;
    QLabel *labdakuna;
    QLabel *Label5;
    QLabel *labbatahira;
    QLabel *Label6;
    QLabel *labnaganahira;
    QPushButton *cmdenter;
    QPushButton *cmdexit;

protected:
    // The window's own close button leaves as "msgúu" does, so the land register never stays dimmed.
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Stored { Done, NoLand, NumberTaken };
    void build();
    void wire();
    // The change itself, under the register's lock.
    Stored storeChange(const QString &oldNumber, const QString &newNumber, const QString &newKind);
    void clearScreen();
    QWidget *m_opener;
    bool m_left = false;
};

} // namespace parcelon
