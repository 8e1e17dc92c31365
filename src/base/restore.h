#pragma once
// Restoring a backup into the register a data source names, so that a failure at any step leaves the
// register exactly as it was. Every kind of backup the application makes restores, each into a register
// on its own engine:
//  - SQLite: a file copy (the folder, or its Land_Data.MDF, with a Land_Log.LDF beside it from older
//    copies) or a ".dat" of the online backup.
//  - PostgreSQL: a ".dat" of pg_dump (custom format), or a file copy (a base backup of the cluster, read
//    through a private server, see pgserver.h).
// The backup is first restored into a new file beside the register (SQLite) or a new database on its
// server (PostgreSQL) and checked there: a whole Parcelon register of this program's schema version or
// an older one. Then the register in force is kept (SQLite: <register>.before-restore-<date>-<time>
// beside it; PostgreSQL: the database renamed to <name>_before_restore_<date>_<time>) and the new one
// takes its name in one rename. An older register is upgraded by the caller afterwards, as at login.

#include "base/datasource.h"
#include "base/serveradmin.h"

#include <QDateTime>

namespace parcelon {

enum class BackupKind { Unknown, SQLiteFile, PgDump, PgBaseBackup };

// What a file or folder holds; `data` becomes the file or folder to read.
BackupKind backupKind(const QString &path, QString *data = nullptr);

struct RestoreResult
{
    bool ok = false;
    QString error; // why nothing was restored
    bool busy = false; // another client held the register
    RegisterCounts counts; // what the restored register holds
    QDateTime backupTime; // when the backup was made, as far as it tells
    QString keptAs; // where the register that was replaced is kept
};

// `now` names the kept register.
RestoreResult restoreBackup(const DataSource &target, const QString &path, const QDateTime &now);

} // namespace parcelon
