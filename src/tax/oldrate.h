// The guard of the link run: a return of era 4 cannot be built while the
// period holds debit journal lines of taxable imports at the old rates of
// 3 % or 5 %.
#pragma once

#include <string>

#include "tax/taxpar.h"

// False before era 4 without touching the database.
bool HasOldRateImportJournals(int era, TTAXPAR par);

// A line of the kind HasOldRateImportJournals looks for (the period and the
// deletion flag aside): a debit line of a taxable-import code (521-523,
// 571-573, 721-723, 771-773) at rate number 1 or 2.
bool IsOldRateImportLine(int taishaku, int oldRate, int taxCode);
// The same test as a condition on the journal table of `alias`, for a read
// that takes such lines whatever their other columns.
std::string OldRateImportCondition(const std::string& alias);
