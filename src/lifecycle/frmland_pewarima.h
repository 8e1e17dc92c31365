#pragma once
// Land transfer and division: two events in a land's life, each leaving one history row in
// `land_pewarima`.
//  - Transfer: part of the first land's extent passes to a second, registered land; the first land keeps
//    the acres, roods and perches the clerk types, and its decimal acres follow them (its unit stays).
//  - Division: the first land is taken out of force with a reason; its parts are registered as new lands.
// The first land sits in the top frame (controls ending in `_h`), the second in the bottom one.
//
// The screen's duties live in one file each:
//   frmland_pewarima.cpp        controls, layout, load, the reason list, modes, the search and restore
//   frmland_pewarima_lands.cpp  loading the first and second land, the decimal acres and the proposal
//   frmland_pewarima_store.cpp  the transfer and the division stores, the next history number
//
// What other screens may set, press or read: txtlandno_h, txtlandno (the land search's codes "2" and
// "3", the land register's portion), optland_pewarima, cmdtra (restores the screen after the search),
// labcha (the yes/no dialog's code "1").

#include "base/loadedrow.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace parcelon {

class frmland_pewarima final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland_pewarima(QWidget *opener = nullptr);

    void Form_Load();

    // Public procedures.
    void lastno(); // next history number into lablandno
    void fland_d(); // loads the first land by txtlandno_h
    void land2(); // loads the second land by txtlandno, proposes the first land's decimal acres
    void clear_alltxt_1(); // empties the first land's details
    void akkara_sawima(); // the first land's decimal acres from its extent

    // Handlers.
    void optland_behera_Click();
    void optland_pewarima_Click();
    void txtlandno_h_Change();
    void txtlandno_h_Enter();
    void txtlandno_h_LostFocus();
    void cmdfind_h_Click();
    void txtlandno_Change();
    void txtlandno_Enter();
    void txtlandno_LostFocus();
    void cmdfind_Click();
    void cmdenter_Click();
    void cmdok_Click();
    void cmdexit_Click();
    void cmdtra_Click();

    QLabel *labname;
    QRadioButton *optland_behera;
    QRadioButton *optland_pewarima;
    QLabel *lablandno1;
    QLabel *lablandno;

    // The first land.
    QGroupBox *fra1;
    QLabel *lablandno_h;
    QComboBox *cmblandno_h;
    QLineEdit *txtlandno_h;
    QPushButton *cmdfind_h;
    QLabel *labid1_h;
    QLabel *labid_h;
    QLabel *labguha1_h;
    QLabel *labguha_h;
    QLabel *Label7;
    QLabel *lablandname_h;
    QLabel *labland_pramanaya;
    QLabel *labakkara_h;
    QLineEdit *txtakkara_h;
    QLabel *labrud;
    QLineEdit *txtrud_h;
    QLabel *labparchase;
    QLineEdit *txtparchase_h;
    QLabel *Label2;
    QLineEdit *txtakkara_only_h;
    QGroupBox *fra3;
    QComboBox *cmbrajaya;
    QPushButton *cmdenter;

    // The second land.
    QGroupBox *fra2;
    QLabel *labnote;
    QLabel *Label9;
    QComboBox *cmblandno;
    QLineEdit *txtlandno;
    QPushButton *cmdfind;
    QLabel *Label13;
    QLabel *labid;
    QLabel *Label11;
    QLabel *labguha;
    QLabel *Label15;
    QLabel *lablandname;
    QLabel *Label19;
    QLabel *labakkara;
    QLineEdit *txtakkara;
    QLabel *Label17;
    QLineEdit *txtrud;
    QLabel *Label16;
    QLineEdit *txtparchase;
    QLabel *Label3;
    QLabel *txtakkara_only;

    QPushButton *cmdok;
    QPushButton *cmdexit;
    QPushButton *cmdtra;

    // State held in controls nobody sees.
    QLabel *labsrno; // srno of the loaded first land
    QLabel *tt1; // the first land's acres, roods and perches as loaded
    QLabel *tt2;
    QLabel *tt3;
    QLineEdit *txtakkara_only_old; // the first land's stored decimal acres as loaded
    QLabel *labcha; // "1" once the clerk said yes to the division question

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void buildFirstLand();
    void buildSecondLand();
    void wire();
    void layoutScreen();
    void layoutFirstLand();
    void layoutSecondLand();
    void fillReasons();
    void colourOptions();
    // Dims the main menu and this screen and opens the land search with a caller code.
    void openSearch(const QString &callerCode);
    // What a store found when it read the lands again inside its change.
    enum class Outcome { Stored, FirstGone, FirstChanged, SecondGone, ExtentMustChange };
    Outcome storeTransfer();
    Outcome storeDivision();
    // Tells the clerk why a store wrote nothing.
    void refused(Outcome outcome);

    LoadedRow m_first; // the first land as loaded
    QString m_firstUnit; // its unit as stored
};

} // namespace parcelon
