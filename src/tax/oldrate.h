// The guard of the link run: a return of era 4 cannot be built while the
// period holds debit journal lines of taxable imports at the old rates of
// 3 % or 5 %.
#pragma once

#include "tax/taxpar.h"

// False before era 4 without touching the database.
bool HasOldRateImportJournals(int era, TTAXPAR par);
