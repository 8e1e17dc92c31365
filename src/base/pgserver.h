#pragma once
// A PostgreSQL file copy (a base backup of the whole cluster) is read by starting a private server on a
// copy of it: no network, its socket in a work folder. The register's database is dumped from there, so
// that the dump's checks and restore serve the file copy too.

#include "base/pgtools.h"

namespace parcelon {

// The note a PostgreSQL file copy keeps of the database it was made for.
inline QString baseBackupNoteName() { return QStringLiteral("parcelon_register"); }

// Dumps the register's database of the file copy in `folder` into `dumpFile` (custom format). `like`
// gives the user and the database's name where the copy has no note.
BackupResult dumpBaseBackup(const QString &folder, const PgConnection &like, const QString &dumpFile);

} // namespace parcelon
