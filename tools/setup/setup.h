#pragma once
// Preparing a register: the application never creates tables, so this program does. It builds the
// SQLite register or loads the schema into an empty PostgreSQL database, creates the administrator
// "Chief", the shared view-only account "All User" and the office row, and writes the data source `land`.

#include <QSqlDatabase>
#include <QString>

namespace parcelon::setup {

// Runs the schema for the connection's engine ("sqlite" or "postgresql"). Throws std::runtime_error.
void createSchema(QSqlDatabase database, const QString &engine);
// The accounts and the office row every register starts with.
void seedAccounts(QSqlDatabase database, const QString &chiefPassword);
// A small register to look at: divisions with villages, households of owners, lands with boundaries.
void seedDemo(QSqlDatabase database);
// A password for Chief when none is given.
QString generatePassword();

} // namespace parcelon::setup
