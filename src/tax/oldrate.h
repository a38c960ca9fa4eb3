// The guard of the link run: a return of era 4 cannot be built while the
// period holds debit journal lines of taxable imports at the old rates of
// 3 % or 5 %.
#pragma once

#include <array>

// The rate numbers of 3 % and 5 % and the taxable-import codes of the check.
inline constexpr std::array<int, 2> kOldRateNumbers = {1, 2};
inline constexpr std::array<int, 12> kOldRateImportCodes = {521, 522, 523, 721, 722, 723,
                                                            571, 572, 573, 771, 772, 773};

// A line of the kind the check looks for (the period and the deletion flag
// aside): a debit line of a taxable-import code (521-523, 571-573, 721-723,
// 771-773) at rate number 1 or 2. The journal readers of taxdb/ count such
// lines (HasOldRateImportJournals, AggregateJournal).
bool IsOldRateImportLine(int taishaku, int oldRate, int taxCode);
