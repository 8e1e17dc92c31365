#include "ui/folderlist.h"

#include "ui/choices.h"
#include "ui/legacyfont.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>

namespace parcelon {
namespace {
// A removable medium as the desktop mounts it: /mnt/X, /media/X, /media/USER/X, /run/media/USER/X.
bool isMedium(const QString &root)
{
    const int depth = int(root.count(QLatin1Char('/')));
    return (root.startsWith(QLatin1String("/mnt/")) && depth == 2)
        || (root.startsWith(QLatin1String("/media/")) && depth <= 3)
        || (root.startsWith(QLatin1String("/run/media/")) && depth == 4);
}

QStringList drives()
{
    QStringList roots {QStringLiteral("/")};
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir() && !roots.contains(root) && isMedium(root))
            roots << root;
    }
    return roots;
}

QString driveOf(const QString &folder, const QStringList &roots)
{
    QString best = QStringLiteral("/");
    for (const QString &root : roots) {
        if ((folder == root || folder.startsWith(root + QLatin1Char('/'))) && root.size() > best.size())
            best = root;
    }
    return best;
}
} // namespace

FolderList::FolderList(QWidget *form, Twips driAt, Twips dirAt, Twips browseAt)
    : QObject(form)
    , m_form(form)
{
    dri = dropDown(form, "dri", driAt);
    dri->setFont(latinFont(9));
    dri->addItems(drives());
    Dir = textBox(form, "Dir", dirAt);
    Dir->setReadOnly(true);
    Dir->setFont(latinFont(9));
    Dir->setText(QDir::rootPath());
    cmdbrowse = button(form, "cmdbrowse", QStringLiteral("..."), browseAt);
    cmdbrowse->setFont(latinFont(9, true));
    connect(dri, &QComboBox::activated, this, [this](int) { dri_Change(); });
    connect(cmdbrowse, &QPushButton::clicked, this, &FolderList::cmdbrowse_Click);
}

QString FolderList::path() const { return Dir->text(); }

bool FolderList::setPath(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    if (clean.isEmpty() || !QFileInfo(clean).isDir())
        return false;
    QStringList roots;
    for (int i = 0; i < dri->count(); ++i)
        roots << dri->itemText(i);
    const int drive = dri->findText(driveOf(clean, roots));
    if (drive >= 0)
        dri->setCurrentIndex(drive);
    Dir->setText(clean);
    emit dirChanged(clean);
    return true;
}

void FolderList::dri_Change() { setPath(dri->currentText()); }

void FolderList::cmdbrowse_Click()
{
    const QString folder = chooseFolder(m_form, QStringLiteral("Folder"), path());
    if (!folder.isEmpty())
        setPath(folder);
}

} // namespace parcelon
