// Period arithmetic of the period selectors: months of a fiscal year whose
// monthly periods close on a closing day (1 to 28, or 99 for the month end).
#pragma once

#include "platform/rtl/datetime.h"

namespace kikan {

// The date `months` months after `date`, the day lowered to the target month's length.
TDateTime ShiftMonths(int months, TDateTime date);
// The closing date of the k-th period after the period that contains `date`.
// Another closing day than 1..28 or 99 returns `date` unchanged and sets *invalid.
TDateTime ClosingDateOf(int k, int closingDay, TDateTime date, bool* invalid = nullptr);
// Months from the period of `base` to the period of `date`.
int MonthOffset(int closingDay, TDateTime base, TDateTime date);
// Cell of the 16-cell selector for `date` in the year starting at `base`:
// months 1-3 in cells 0-2, 4-6 in 4-6, 7-9 in 8-10, 10-12 in 12-14; any
// other month offset gives 15 (never a cell beyond the last).
int CellIndexOf16(int closingDay, TDateTime base, TDateTime date);
// Cell of the 16-cell selector for the month number 1..12 (0 for other values).
int MonthToPeriodSlot(int month);

}  // namespace kikan
