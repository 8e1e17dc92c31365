#pragma once
// PermissionFlag and PermissionLevel: a user's newest awasara row holds eleven flags a1..a11, each the
// whole text of the chosen level; its first character is the level. A user without a row has level 1.

#include <QString>

namespace parcelon {

// The eleven flags, by what they open; the value is the column's number (a1..a11).
enum class Flag {
    LandOwners = 1, // a1: owner register
    Lands = 2, // a2: land register
    PermitChange = 3, // a3: permit and land change
    Transfer = 4, // a4: land transfer and division
    Divisions = 5, // a5: GN divisions and villages
    Succession = 6, // a6: successor change
    OwnerReport = 7, // a7: land owner report
    LandReport = 8, // a8: land report
    PermitReport = 9, // a9: permit report
    OneLandReport = 10, // a10: single land and owner report
    SuccessorReport = 11 // a11: successor report
};
inline constexpr int kFlagCount = 11;

// The column of a flag in awasara: "a1".."a11".
QString flagColumn(Flag flag);

enum PermissionLevel { NoPermission = 1, ViewOnly = 2, EntryOnlyOrAll = 3, All = 4 };

// The administrator: a session logged in exactly as "Chief". Only it grants permissions freely, changes
// its own, and opens the screens that can empty the register or change the office's settings.
bool isAdministrator(const QString &userName);

// The level of a flag's text: its first character, 1 when that is no digit (or the text is empty).
int levelOf(const QString &flagText);

// The text of the flag in the user's newest permission row, or "" without a row.
QString permissionFlag(const QString &userSrno, Flag flag);
// The first character of the flag as a level; 1 without a row or with an unreadable flag.
int permissionLevel(const QString &userSrno, Flag flag);

} // namespace parcelon
