#pragma once
// Running PostgreSQL's own programs (pg_dump, pg_restore, pg_basebackup, pg_ctl) against the server a
// data source names: its host, port, user and password file become their arguments and environment.

#include "base/datasource.h"
#include "base/serveradmin.h"

#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QStringList>

namespace parcelon {

struct PgConnection
{
    QString host; // empty: the local socket
    QString port;
    QString user; // empty: the operating system's login name
    QString database;
    QString passfile;

    static PgConnection of(const DataSource &source);
    // -h, -p, -U (and -d with the database) as the programs take them; never a password prompt.
    QStringList arguments(bool withDatabase) const;
    QProcessEnvironment environment() const;
    // A native PostgreSQL connection to this server under its own name, not yet opened; `options` are
    // further libpq options ("connect_timeout=10"), the password file added to them.
    QSqlDatabase addDatabase(const QString &connectionName, const QString &options = {}) const;
};

// The program on the PATH, else in the newest installed server version's folder; empty when missing.
QString postgresProgram(const QString &name);

// Runs a program to its end (at most timeoutMs); fails with what it wrote to its error output. What it
// wrote to its standard output goes to *output when given.
BackupResult runProgram(const QString &program, const QStringList &arguments,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(), int timeoutMs = 3600000,
    QByteArray *output = nullptr);

} // namespace parcelon
