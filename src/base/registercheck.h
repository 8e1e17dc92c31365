#pragma once
// Whether the database behind the data source `land` is a Parcelon register this program reads. A
// register records its schema version in the table parcelon_schema (one row); a database without it
// (an empty SQLite file, an empty or foreign PostgreSQL database) is no register, and the application
// refuses it at start instead of failing on its first query.

#include <QString>

#include <optional>

namespace parcelon {

// The schema version this program reads and parcelon-setup writes. Version 2 numbers the scratch
// tables' rows (line_no) and lets the owner index carry the house number. Version 3 has mended the
// decimal acres (akkara_only) of every transferred land, which earlier transfers left as they were.
// Version 4 keeps account passwords as salted hashes (base/passwords.h), never as typed: an older
// program, which compares them as typed, must not open it.
inline constexpr int kRegisterVersion = 4;

// Brings a register of an earlier version that this program knows how to change up to
// kRegisterVersion, step by step and all in one transaction; any other database is left as it is. Each
// step changes the version row first, so of two workstations starting at once one makes the change and
// the other, waiting on its lock, finds nothing left to do. Throws DbError when the change fails (nothing
// of it is kept).
void upgradeRegister();

// The version recorded in the register behind the open session; nothing when the database has no
// version table (or no version in it).
std::optional<int> registerVersion();

// Empty when the open session's database is a register of kRegisterVersion (after upgradeRegister); otherwise what to
// tell the clerk, naming the data source and its database.
QString registerProblem();

// How the open session's database is named to a person: the SQLite file, "NAME on SERVER:PORT" for
// PostgreSQL, the data source for any other engine.
QString describeDatabase();

// What to say on standard error when the data source `land` could not be opened: that it is missing
// and how to create one, or which database it names that could not be opened.
QString connectionAdvice();

} // namespace parcelon
