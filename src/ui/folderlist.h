#pragma once
// The drive list `dri` and folder list `Dir` the backup screens browse with. `dri` holds the file
// systems a backup may go to (the root and the removable media under /media, /mnt and /run/media);
// `Dir` shows the folder in force, and `cmdbrowse` beside it asks for another through chooseFolder.
// Pointing `Dir` at a folder, by code or by the clerk, reports it through dirChanged, as the screens'
// "Dir changed" handlers expect; choosing a drive points `Dir` at its root.

#include "ui/kit.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace parcelon {

class FolderList final : public QObject
{
    Q_OBJECT
public:
    FolderList(QWidget *form, Twips driAt, Twips dirAt, Twips browseAt);

    QComboBox *dri;
    QLineEdit *Dir;
    QPushButton *cmdbrowse;

    QString path() const;
    // Points Dir at an existing folder and its drive; false, changing nothing, when there is none.
    bool setPath(const QString &folder);

    void dri_Change();
    void cmdbrowse_Click();

signals:
    void dirChanged(const QString &path);

private:
    QWidget *m_form;
    bool m_settingDrive = false;
};

} // namespace parcelon
