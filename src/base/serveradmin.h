#pragma once
// The administration of the server that keeps the register, as the backups need it: its name, the file
// copy (copy 1) and a full backup while it runs. No widgets and no use of the application's session: the
// backup screens and the scheduled backup run it on a worker thread, on connections of its own.
//
// SQLite (the register is a file on this machine):
//  - the file copy and the full backup are both SQLite's online backup into a new file, read inside one
//    read transaction of a connection of our own: a committed moment of the register whatever other
//    connections do, the write-ahead log included. The file copy is the folder's Land_Data.MDF, a
//    register without a log of its own.
// PostgreSQL:
//  - the file copy is a base backup of the whole cluster (pg_basebackup, plain format, its WAL
//    included) into the folder Land_Data.MDF. Only where the server runs on this machine.
//  - a full backup is pg_dump of the register's database in the custom format, from the snapshot of a
//    transaction that counted the rows of every table.
// Every backup is verified before it is called finished (see backupcheck.h): written beside its target
// under a temporary name, checked, and only then renamed over the target. A backup that fails leaves no
// file under a backup's name. Waits for a lock that another client holds end after kLockWaitMs with a
// busy result.

#include "base/datasource.h"

#include <QString>

#include <map>

namespace parcelon {

class DbSession;

inline constexpr int kLockWaitMs = 10000;

// What a register holds, as the checks compare it: its schema version and the rows of every table.
struct RegisterCounts
{
    int version = 0;
    std::map<QString, qlonglong> rows; // table name in lower case
    qlonglong totalRows() const;
    // A line for people: "17 tables, 1234 rows, schema version 3".
    QString describe() const;
};

struct BackupResult
{
    bool ok = false;
    QString error; // why it failed, for the clerk
    bool busy = false; // another client held the register longer than the bounded wait
    RegisterCounts counts; // what the verified backup holds
    qint64 copyMs = 0; // the time of the backup alone
    qint64 verifyMs = 0; // and of its verification

    static BackupResult done() { return {true, {}, false, {}, 0, 0}; }
    static BackupResult failed(const QString &why) { return {false, why, false, {}, 0, 0}; }
    static BackupResult lockedOut() { return {false, registerBusyNotice(), true, {}, 0, 0}; }
    static QString registerBusyNotice()
    {
        return QStringLiteral("Another workstation is changing the register; try again.");
    }
};

class ServerAdmin
{
public:
    // The server of the register the session is connected to; the session is not used afterwards.
    explicit ServerAdmin(const DbSession &session);
    // The same from the data source alone, for a worker thread.
    ServerAdmin(const DataSource &source, Engine engine);

    // The name the server reports: the register file (SQLite), host:port/database (PostgreSQL).
    QString name() const;
    // Empty when the file copy (copy 1) can be made from this machine; otherwise why not.
    QString fileCopyRefusal() const;

    // The file copy (copy 1) into a new folder; fails when the folder exists already.
    BackupResult copyFiles(const QString &folder) const;
    // A full backup of the running register into a file, replacing the file only when the new one is
    // whole and verified.
    BackupResult backup(const QString &file) const;

    // The names of the file copy's two parts inside its folder.
    static QString dataFileName() { return QStringLiteral("Land_Data.MDF"); }
    static QString logFileName() { return QStringLiteral("Land_Log.LDF"); }

    const DataSource &source() const { return m_source; }
    Engine engine() const { return m_engine; }

private:
    DataSource m_source;
    Engine m_engine;
};

// A file inside a backup location: the location may end in a separator or not.
QString locationFile(const QString &location, const QString &name);

// Copies a file or a folder with everything in it; replaces nothing (a target that exists fails).
BackupResult copyPath(const QString &from, const QString &to);
// Copies a file beside `to` and renames it over `to` when whole: an older `to` stays until then.
BackupResult replaceWithCopy(const QString &from, const QString &to);
// Renames `from` over `to` in one step (rename(2)); `to` is never deleted first.
bool renameOver(const QString &from, const QString &to);

} // namespace parcelon
