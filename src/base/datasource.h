#pragma once
// The ODBC data source `land` as unixODBC's configuration describes it. The office configures the source
// with the usual unixODBC tools; we read its definition to choose the best Qt driver behind it.

#include <QList>
#include <QString>
#include <optional>

namespace parcelon {

enum class Engine { SQLite, PostgreSQL, Other };

struct DataSource
{
    QString name;
    QString driver; // the Driver entry: a library path or a driver name from odbcinst.ini
    QString driverPath; // the library it resolves to
    Engine engine = Engine::Other;
    // SQLite
    QString database; // file (SQLite) or database name (PostgreSQL)
    int timeoutMs = 5000;
    // PostgreSQL
    QString server;
    QString port;
    QString user; // empty: the operating system's login name
    QString passfile; // from Pqopt=passfile=... ; empty: libpq's default (PGPASSFILE, ~/.pgpass)
};

// Reads the named data source through unixODBC (user and system odbc.ini, ODBCINI / ODBCSYSINI honoured).
std::optional<DataSource> readDataSource(const QString &name);

// The library of an ODBC driver package on this machine, e.g. "libsqlite3odbc.so" or "psqlodbcw.so":
// /usr/lib/<multiarch>/odbc/<file>, the folder found when the build was configured.
QString odbcDriverLibrary(const QString &fileName);

// The user's odbc.ini as unixODBC finds it: the file ODBCINI names, else ~/.odbc.ini.
QString userOdbcIni();

// Writes a user data source into userOdbcIni(), replacing the section of that name or appending it.
// The file is edited as text: every other line stays as the user wrote it, comments included.
bool writeDataSource(const QString &name, const QList<std::pair<QString, QString>> &entries);
// Removes the section of that name from userOdbcIni(); true when it is gone (or never was there).
bool removeDataSource(const QString &name);

// Whether the register behind the data source lives on this machine: a local SQLite file, or a
// PostgreSQL server reached on this host.
bool registerIsOnThisMachine(const DataSource &source);

} // namespace parcelon
