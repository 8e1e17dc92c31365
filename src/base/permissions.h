#pragma once
// PermissionFlag and PermissionLevel: a user's newest awasara row holds eleven flags a1..a11, each the
// whole text of the chosen level; its first character is the level. A user without a row has level 1.

#include <QString>

namespace parcelon {

enum PermissionLevel { NoPermission = 1, ViewOnly = 2, EntryOnlyOrAll = 3, All = 4 };

// The text of flag a<flag> (1..11) in the user's newest permission row, or "" without a row.
QString permissionFlag(const QString &userSrno, int flag);
// The first character of the flag as a level; 1 without a row or with an unreadable flag.
int permissionLevel(const QString &userSrno, int flag);

} // namespace parcelon
