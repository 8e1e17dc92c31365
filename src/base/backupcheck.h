#pragma once
// The checks a backup passes before it is called finished, and a restore before it replaces anything:
// the file opens read-only, the engine finds it whole (SQLite's integrity check; pg_restore reads its
// table of contents, and where the server is local restores it into a scratch database), it is a
// Parcelon register (its schema version is read), and every table holds the rows the register held at
// the backup's moment.

#include "base/pgtools.h"
#include "base/serveradmin.h"

#include <QSqlDatabase>

#include <optional>

struct sqlite3;

namespace parcelon {

// The rows of every table and the schema version, read through an open SQLite connection inside its
// current transaction. Empty when it worked; otherwise why not (*busy: the register stayed locked).
QString sqliteCounts(sqlite3 *connection, RegisterCounts *counts, bool *busy = nullptr);

// Opens an SQLite file read-only and checks it is a whole Parcelon register; its counts when it is.
// Empty when it is; otherwise why not.
QString inspectSqliteFile(const QString &file, RegisterCounts *counts);

// Empty when both hold the same tables with the same rows; otherwise the first difference.
QString compareCounts(const RegisterCounts &expected, const RegisterCounts &found);

// A connection of its own to a PostgreSQL database, usable in the thread that made it; closed and
// removed when destroyed.
class PgLink
{
public:
    explicit PgLink(const PgConnection &connection);
    ~PgLink();
    Q_DISABLE_COPY_MOVE(PgLink)
    bool isOpen() const { return m_open; }
    QString error() const { return m_error; }
    QSqlDatabase database() const;
    // Runs a statement; empty when it worked, otherwise the server's words.
    QString exec(const QString &sql);
    // The first column of the first row; nothing when the statement failed or gave no row.
    std::optional<QString> value(const QString &sql);

private:
    QString m_name;
    bool m_open = false;
    QString m_error;
};

// The counts of the register behind a PostgreSQL connection, read in its current transaction.
QString pgCounts(PgLink &link, RegisterCounts *counts);

// A database of its own on the server of `like`, dropped when destroyed.
class ScratchDatabase
{
public:
    ScratchDatabase(const PgConnection &like, const QString &purpose);
    ~ScratchDatabase();
    Q_DISABLE_COPY_MOVE(ScratchDatabase)
    bool created() const { return m_created; }
    QString error() const { return m_error; }
    PgConnection connection() const { return m_connection; }
    // Keeps the database: it has become something else (a restored register).
    void release() { m_created = false; }

private:
    PgConnection m_connection;
    PgConnection m_admin;
    bool m_created = false;
    QString m_error;
};

// pg_restore of a custom-format dump into an empty database, in one transaction.
BackupResult restoreDumpInto(const PgConnection &target, const QString &file);

// Checks a dump of pg_dump: pg_restore reads its table of contents, it is restored into a scratch
// database (where the server runs on this machine), and the restored register is compared with
// `expected` (when given). Its counts on success. A dump that cannot be restored here is checked by its
// table of contents alone: every expected table must have its data there.
BackupResult verifyPgDump(const DataSource &source, const QString &file, const RegisterCounts *expected);

} // namespace parcelon
