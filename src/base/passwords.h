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

// Whether `typed` is the password `stored` was made from. A NULL (read as empty), an empty or an unhashed
// stored value matches nothing: a password written by hand around the application is set anew with
// parcelon-setup --set-password.
bool passwordMatches(const QString &stored, const QString &typed);

} // namespace parcelon
