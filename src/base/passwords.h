#pragma once
// Account passwords as the register keeps them: never as typed, but as a salted, slow hash that every
// ODBC client of the register may read without learning the password. The stored text names its method
// and work factor, so a later program can raise the work without making older hashes unreadable:
//   $pbkdf2-sha256$<iterations>$<salt, base64>$<key, base64>

#include <QString>

namespace parcelon {

// A new hash of `password`, with a salt of its own.
QString hashPassword(const QString &password);

// Whether a stored value is a hash this program writes (and not a password stored as typed).
bool isPasswordHash(const QString &stored);

// Whether `typed` is the password `stored` holds. A hash is compared as a hash. A value that is no hash
// was written around the application (by another ODBC client) as typed: it is compared as typed, case
// and all, and the caller replaces it by its hash at once (hashPlainPasswords). A NULL column reads as
// empty: check it first, it matches nothing.
bool passwordMatches(const QString &stored, const QString &typed);

// Replaces every password still stored as typed by its hash: of one account, or of every account when
// `srno` is 0. NULLs and hashes stay. Runs on the open session, inside the caller's change if any.
void hashPlainPasswords(qlonglong srno = 0);

} // namespace parcelon
