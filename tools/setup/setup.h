#pragma once
// Preparing a register: the application never creates tables, so this program does. It builds the
// SQLite register or loads the schema into an empty PostgreSQL database, creates the administrator
// "Chief", the shared view-only account "All User" and the office row, and writes the data source `land`.
// It also sets a forgotten password on the register behind `land`.

#include <QSqlDatabase>
#include <QString>

namespace parcelon::setup {

// The whole register in one transaction: the schema for the connection's engine ("sqlite" or
// "postgresql"), the accounts, the demonstration records when asked, and on SQLite the planner's
// statistics. Throws std::runtime_error after rolling everything back.
void buildRegister(QSqlDatabase database, const QString &engine, const QString &chiefPassword, bool demo);

// The parts, run inside the caller's transaction. Each throws std::runtime_error.
void createSchema(QSqlDatabase database, const QString &engine);
// The accounts and the office row every register starts with.
void seedAccounts(QSqlDatabase database, const QString &chiefPassword);
// A small register to look at: divisions with villages, households of owners, lands with boundaries.
void seedDemo(QSqlDatabase database);
// A password for Chief when none is given.
QString generatePassword();

} // namespace parcelon::setup
