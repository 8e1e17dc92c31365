#pragma once
// Bulk deletion: empties the register, first every land with what hangs on it (boundaries, prior versions,
// transfers), then, once no land is left, every owner with the successor registrations made from them.
// Each run asks first whether a backup has been taken (frmmessage_y with code "2" for the lands, "3" for
// the owners); its yes presses the hidden worker cmdl or cmdff. A worker deletes key by key, each key's
// rows in one change, so a failure stops the run with that key whole and the keys before it gone; pressing
// the button again carries on with what is left.

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace parcelon {

class ListView;

class frmdelect_all final : public QDialog
{
    Q_OBJECT
public:
    explicit frmdelect_all(QWidget *parent = nullptr);

    void Form_Load();
    void cmdland_Click();
    void cmdland_owner_Click();
    void cmdl_Click(); // the land worker
    void cmdff_Click(); // the owner worker
    void cmdexit_Click();

    QLabel *labname;
    QLabel *Label1;
    QPushButton *cmdland;
    QPushButton *cmdland_owner;
    QPushButton *cmdexit;
    QLabel *Label2;
    QLabel *labmassege;
    QProgressBar *pb1;
    ListView *lv; // the keys still to delete
    QPushButton *cmdl; // hidden
    QPushButton *cmdff; // hidden
    QLabel *ll; // hidden, empty
    QLabel *labch; // hidden: "1" once a deletion was confirmed

private:
    void build();
    // Asks whether a backup has been taken; yes starts the worker the code names.
    void confirm(const QString &code);
    // Deletes the listed keys one change each, in list order, keeping the list and the progress bar to what
    // is left. Returns false when a key was refused by `deleteKey` (it deleted nothing and the run stops).
    bool deleteListed(const std::function<bool(const QString &key)> &deleteKey);
    // Shows in the list the lines from `from` on (the keys not yet deleted).
    void keepFrom(const std::vector<QStringList> &lines, size_t from);
};

} // namespace parcelon
