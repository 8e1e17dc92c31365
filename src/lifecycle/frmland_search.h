#pragma once
// The land search: finds a land by its owner's identity or house number, its permit kind and number, its
// ownership kind or its land kind, and hands the chosen land's permit number back to the screen that
// opened it. The opener writes its caller code into `labch` before the search shows; the code decides
// which of the opener's boxes receives the number and which of its look-ups runs. The search writes
// nothing to the register.
//
// Each field runs its own filter (its code goes into `labcc`); filters do not combine: the list always
// shows what the last field asked for. Every filter is one query of lands joined to their owners; a land
// whose owner row is gone shows empty owner columns.

#include <QDialog>
#include <QStringList>

#include <vector>

class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class ListView;
class PagedFill;
class Query;

class frmland_search final : public QDialog
{
    Q_OBJECT
public:
    explicit frmland_search(QWidget *opener);

    void Form_Load();
    // Builds the list the screen opens with: every active land.
    void fland();
    // Clears the list and runs the filter whose code is in labcc.
    void all_sort();
    // Hands the selected line back to the opener as its caller code says; nothing when no line is selected.
    void FSET();

    // True while the list's later pages are still to come from the event loop.
    bool listFilling() const;

    void cmdadd_Click();
    void cmdexit_Click();

    QLabel *labime;
    QLabel *labid;
    QLineEdit *txtid;
    QLabel *labguha;
    QLineEdit *txtguha;
    QLabel *labland_no;
    QComboBox *cmblandno;
    QLineEdit *txtlandno;
    QLabel *labaythiye_sbawaya;
    QComboBox *cmbaythiy_sbawaya;
    QLabel *labland_sbawaya;
    QComboBox *cmbland_sabawaya;
    ListView *lvland;
    QPushButton *cmdadd;
    QPushButton *cmdexit;
    QLabel *labcc;
    QLabel *labch;

protected:
    // The window's own close button leaves as cmdexit does.
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void wire();
    // Sets the filter code and rebuilds the list.
    void runFilter(const QString &code);
    // A line of the list from a row of the lands query.
    static QStringList lineOf(const Query &rows);
    // Fills the list with the lands the condition selects, in land order, a page at a time.
    void fillLands(const QString &where, const QVariantList &values);
    PagedFill *m_lands;
    QWidget *m_opener;
    bool m_left = false;
};

} // namespace parcelon
