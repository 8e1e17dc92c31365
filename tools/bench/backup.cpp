// The backup of the register as copy 2 and the scheduled backup make it: the backup itself, and its
// verification (the copy checked whole and its rows counted against the register), timed apart.

#include "compare.h"

#include "base/dbsession.h"
#include "base/serveradmin.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace parcelon::bench {

bool backupRegister()
{
    QTextStream out(stdout);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("1.dat"));
    const BackupResult made = ServerAdmin(db()).backup(file);
    if (!made.ok) {
        out << "backup + verification: FAILED: " << made.error << Qt::endl;
        return false;
    }
    out << QStringLiteral("backup + verification: %1 ms (backup alone %2 ms, verification %3 ms); %4 MB, %5")
               .arg(made.copyMs + made.verifyMs)
               .arg(made.copyMs)
               .arg(made.verifyMs)
               .arg(QFileInfo(file).size() / 1048576.0, 0, 'f', 1)
               .arg(made.counts.describe())
        << Qt::endl;
    return true;
}

} // namespace parcelon::bench
