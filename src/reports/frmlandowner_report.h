#pragma once
// The land owner report: owners of a status (active, inactive, all), each with the lands held under the
// owner's number and the lands registered to the owner's house number, listed by one filter at a time
// and printed through "member.rpt" with the status and the filter in its header. Each list is one query
// read a page at a time (ui/pagedfill.h): the owners with both counts, each an index search per owner;
// the count filters are conditions of that query.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace parcelon {

class ListView;
class PagedFill;

class frmlandowner_report final : public QDialog
{
    Q_OBJECT
public:
    explicit frmlandowner_report(QWidget *opener = nullptr);

    void Form_Load();
    // Every owner of a status: active, inactive, all.
    void all_mem();
    void all_mema();
    void all_mems();
    void fchang_id();
    void fmem_name();
    void fland_mem_guha();
    // The count by owner number equal to, greater than, smaller than the number typed.
    void land_id_s();
    void land_id_w();
    void land_id_a();
    // The same with the count by house number.
    void land_guha_s();
    void land_guha_w();
    void land_guha_a();
    void cmbgamiya_Click();
    void cmbgama_Click();
    void cmdprint_Click();
    void cmdexit_Click();
    // True while pages of the list are still to come.
    bool listFilling() const;

    QLabel *labname;
    QRadioButton *optkiyakari;
    QRadioButton *optakkiyakari;
    QRadioButton *optsiyalla;
    QLabel *labid;
    QLineEdit *txtid;
    QLabel *labguha;
    QLineEdit *txtguha;
    QLabel *labland_owner;
    QLineEdit *txtland_owner;
    QLabel *labland_ganana;
    QComboBox *cmbid;
    QLineEdit *txtland_ganana;
    QLabel *labland_ganana_guha;
    QComboBox *cmbguha;
    QLineEdit *txtland_ganana_guha;
    QLabel *labgamiya;
    QComboBox *cmbgamiya;
    QLabel *labgama;
    QComboBox *cmbgama;
    ListView *lvland;
    QPushButton *cmdprint;
    QPushButton *cmdexit;
    QLabel *labki;
    QLabel *labshot;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void wire();
    void layoutScreen();
    void optionClick(QRadioButton *option);
    void txtziro();
    // Fills the list with the owners of the status that pass `where` (empty: every owner), a condition
    // on the owner `o` and its counts.
    void list(const QString &status, const QString &where, const QVariantList &params);
    // The owners whose count of lands (held, or registered to their household) compares by `op` with
    // the number typed in its box.
    void countList(const QString &op, bool house);
    QString selectedStatus() const;
    void countFilter(QComboBox *op, QLineEdit *box, bool byHouse);

    PagedFill *m_lines;
};

} // namespace parcelon
