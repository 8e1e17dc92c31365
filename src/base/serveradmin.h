#pragma once
// The administration of the server that keeps the register, as the backups need it: its name, stopping
// and starting it around a file copy, and a full backup while it runs. No widgets: the backup screens and
// the scheduled backup call it, and so do the tests.
//
// SQLite (the register is a file on this machine):
//  - "stopping" closes the application's connection, so the file is at rest while it is copied; the
//    copy is the register file itself (Land_Data.MDF), with its write-ahead log (Land_Log.LDF) if the
//    register keeps one; "starting" opens the connection again.
//  - a full backup is SQLite's online backup into a new file: a consistent snapshot even while another
//    workstation writes.
// PostgreSQL:
//  - the file copy is a base backup of the whole cluster (pg_basebackup, plain format, its WAL
//    included) into the folder Land_Data.MDF; the server is never stopped, the base backup is
//    consistent by itself. Only where the server runs on this machine.
//  - a full backup is pg_dump of the register's database in the custom format.
// A backup is written beside its target under a temporary name and renamed when whole, so a failed
// backup never leaves a file that looks like a backup.

#include "base/datasource.h"

#include <QString>

namespace parcelon {

class DbSession;

struct BackupResult
{
    bool ok = false;
    QString error; // why it failed, for the clerk
    static BackupResult done() { return {true, {}}; }
    static BackupResult failed(const QString &why) { return {false, why}; }
};

class ServerAdmin
{
public:
    // The server of the register the session is connected to.
    explicit ServerAdmin(DbSession &session);

    // The name the server reports: the register file (SQLite), host:port/database (PostgreSQL).
    QString name() const;
    // Empty when the file copy (copy 1) can be made from this machine; otherwise why not.
    QString fileCopyRefusal() const;

    // The file copy: stop, copy into a folder (as often as needed), start again.
    BackupResult stop();
    BackupResult copyFiles(const QString &folder);
    BackupResult start();

    // A full backup of the running register into a file, replacing the file.
    BackupResult backup(const QString &file);

    // The names of the file copy's two parts inside its folder.
    static QString dataFileName() { return QStringLiteral("Land_Data.MDF"); }
    static QString logFileName() { return QStringLiteral("Land_Log.LDF"); }

private:
    DbSession &m_session;
    DataSource m_source;
    Engine m_engine;
};

// A file inside a backup location: the location may end in a separator or not.
QString locationFile(const QString &location, const QString &name);

// Copies a file or a folder with everything in it; replaces nothing (a target that exists fails).
BackupResult copyPath(const QString &from, const QString &to);

} // namespace parcelon
