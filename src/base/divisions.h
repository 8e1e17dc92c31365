#pragma once
// The office's GN divisions and their villages as the screens list them (gamasewa_wasama holds one row
// per village, each bearing its division's number and name).

#include <QString>

#include <vector>

namespace parcelon {

struct NumberedName
{
    QString number;
    QString name;
};

// Every division once, in number order, with the name its rows bear (a save writes the one name into
// every row of the division). Number 0 holds no division and is left out.
std::vector<NumberedName> divisions();

// The villages of the division with this number (as typed or listed; anything else has none), in their
// number order: 2 before 10.
std::vector<NumberedName> villagesOf(const QString &divisionNumber);

} // namespace parcelon
