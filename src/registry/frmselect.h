#pragma once
// The owner chooser: lists the members of one household and hands the chosen one back to its opener.
//
// The cmdok caption tells the chooser who opened it:
// - "fjkia lsrsu" (as built): the owner register. The chosen owner number goes into the opener's labno
//   and the chooser presses its hidden cmdselect.
// - any other caption (the land register sets "f;drkak" and disables cmdnew): the chosen line's identity
//   number goes into the opener's control `txtid`, the owner number into `labsrno_customr` and the name
//   into `labname` (any control with a text property), then the chooser calls the opener's `land_lv`,
//   which the land register declares Q_INVOKABLE.
// The opener fills `lv` (text = owner number, second column = identity number, third = name) and, for
// the land register, `labguhano`, before exec().

#include <QDialog>

class QLabel;
class QPushButton;

namespace parcelon {

class ListView;

class frmselect final : public QDialog
{
    Q_OBJECT
public:
    explicit frmselect(QWidget *opener);

    void cmdok_Click();
    void cmdnew_Click();
    void cmdexit_Click();
    void Form_Resize();

    QLabel *Label1;
    QLabel *Label3;
    QLabel *labguhano;
    ListView *lv;
    QPushButton *cmdnew;
    QPushButton *cmdok;
    QPushButton *cmdexit;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_opener;
};

} // namespace parcelon
