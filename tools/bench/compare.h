#pragma once
// The timed comparisons of the bench, run against the open session on a register built by fillRegister.
//
// Each list is filled three ways and each way is timed:
// - the screen's own fill (one query, or one grouped count);
// - the per-line way: the same list filled with one query per line (or, for the division list, a walk of
//   every village row, as the list was once built), reading the same columns in the same order into the
//   same list widget, so the ratio shows the cost of the queries and nothing else;
// - the bare native fetch: the screen's query run on the driver itself and its values read, with no
//   session and no list: the least any way of showing those rows can cost.
// The screen's lines and the per-line lines must be equal; a difference is reported and fails the run.

#include "register.h"

namespace parcelon::bench {

// Returns false when some list came out different the two ways.
bool compareLists(const Size &size);

// The land register: opening, the list of all lands and the household lists, the pickers, the save of a
// land with four boundaries (landregister.cpp). Returns false when some list came out different.
bool landRegister(const Size &size);

// The land search as it opens and after each filter, and the owner finder at every key (choosers.cpp).
// Returns false when some list came out different.
bool choosers(const Size &size);

// Times the permit change's and the succession's stores, each made by its screen (lifecyclestores.cpp).
void lifecycleStores();
// The transfer and division screen: opening it, a transfer and a division stored (transfer.cpp).
void transferAndDivision(const Size &size);

// A full backup of the register with its verification, timed apart (backup.cpp). Returns false when the
// backup failed.
bool backupRegister();

// The report screens' lists, and the land report of every land printed to PDF (reports.cpp). Returns
// false when some list came out different.
bool reportScreens(const Size &size);

} // namespace parcelon::bench
