#pragma once
// The relationship kinds offered for a land's successor (table `nadayo`): one new kind is added per
// opening, and the land register's list is refilled at once by pressing its cmdnanayo. Kinds are never
// changed or removed. Every way out presses the land register's cmdcha, which restores it.

#include <QDialog>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

class frmnanayayo final : public QDialog
{
    Q_OBJECT
public:
    // The opener is the land register: its cmdnanayo and cmdcha are pressed.
    explicit frmnanayayo(QWidget *opener);

    void Form_Load();
    void cmdadd_Click();
    void Command2_Click();

    QLabel *Label1;
    QLabel *Label2;
    QLabel *labsrno;
    QLabel *Label4;
    QLineEdit *txtnayayo;
    QPushButton *cmdadd;
    QPushButton *Command2;

protected:
    // The window's own close button leaves as "msgjsu" does.
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    QWidget *m_opener;
    bool m_left = false;
};

} // namespace parcelon
