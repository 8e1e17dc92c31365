#pragma once
// Restoring a backup into the register a data source names. Every kind of backup the application makes
// restores, each into a register on its own engine:
//  - SQLite: a file copy (the folder, or its Land_Data.MDF with the Land_Log.LDF beside it) or a ".dat"
//    of the online backup. The register file is replaced page by page through SQLite's backup, so it
//    becomes exactly the backed-up register.
//  - PostgreSQL: a ".dat" of pg_dump (custom format), restored with pg_restore in one transaction over
//    the database's own tables; or a file copy (a base backup of the cluster): a private server is
//    started on a copy of it, the register's database dumped from there and restored the same way.

#include "base/datasource.h"
#include "base/serveradmin.h"

namespace parcelon {

enum class BackupKind { Unknown, SQLiteFile, PgDump, PgBaseBackup };

// What a file or folder holds; `data` becomes the file or folder to read.
BackupKind backupKind(const QString &path, QString *data = nullptr);

BackupResult restoreBackup(const DataSource &target, const QString &path);

// The note a PostgreSQL file copy keeps of the database it was made for.
inline QString baseBackupNoteName() { return QStringLiteral("parcelon_register"); }

} // namespace parcelon
