#pragma once
// A synthetic register of office size for timing the screens' lists: divisions of villages, owners in
// households, lands held by them (some no longer in force) with their boundaries, permit histories,
// transfers and successions.

#include <QSqlDatabase>
#include <QStringList>

namespace parcelon::bench {

struct Size
{
    int lands = 100000;
    int owners = 60000;
    int divisions = 300;
    int villagesPerDivision = 10;
    bool pdf = true; // print the land report of every land through the preview
    QStringList only; // the parts to time (owners, register, search, reports, stores); empty: all
    bool million = false; // ten offices' register: the per-line ways are left out
};

// Fills an empty register (schema already loaded) in one transaction.
void fillRegister(QSqlDatabase database, const Size &size);

} // namespace parcelon::bench
