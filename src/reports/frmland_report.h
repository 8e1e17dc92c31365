#pragma once
// The land report: the registered lands with their holders, narrowed at once by ten filter fields and a
// status choice (active, inactive, all), rebuilt after every change of a filter, and printed line for
// line through "land.rpt". All filters combine. The list is one query of the status's view; the extent
// comparison is made on the rows read.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace parcelon {

class ListView;
class PagedFill;
class Query;

class frmland_report final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland_report(QWidget *opener = nullptr);

    void Form_Load();
    // Clears the list and fills it again from the chosen view and every filter.
    void rebuild();
    // True while the list's later pages are still to come from the event loop.
    bool listFilling() const;
    void cmbkottasha_Click();
    void cmbakkara_Click();
    void cmdprint_Click();
    void cmdexit_Click();

    QLabel *labname;
    QRadioButton *optkiyakari;
    QRadioButton *optakkiyakari;
    QRadioButton *optsiyalla;
    QFrame *fra;
    QLabel *labid;
    QLineEdit *txtid;
    QLabel *Label4;
    QComboBox *cmblandno;
    QLineEdit *txtlandno;
    QLabel *labguha;
    QLineEdit *txtguha;
    QLabel *Label3;
    QComboBox *cmbaythiy_sbawaya;
    QLabel *Label6;
    QComboBox *cmbwawa;
    QLabel *labakkara;
    QComboBox *cmbakkara;
    QLineEdit *txtakkara;
    QLabel *Label1;
    QComboBox *cmbland_sabawaya;
    QLabel *labkottasaya;
    QComboBox *cmbkottasha;
    QLabel *labgama;
    QComboBox *cmbgama;
    ListView *lvland;
    QPushButton *cmdprint;
    QPushButton *cmdexit;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void wire();
    void layoutScreen();
    QString view() const;
    // A line of the list from a row of the view; empty when the extent comparison leaves the row out.
    QStringList lineOf(const Query &rows) const;
    PagedFill *m_lines = nullptr;
    QString m_extentOp;
    double m_extentWanted = 0;
};

} // namespace parcelon
