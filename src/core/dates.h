// Date arithmetic of the accounting periods: the 16-cell period panel (cells
// 0..15: months 1-3, Q1, months 4-6, Q2, months 7-9, Q3, months 10-12, Q4) on
// top of the closing-day arithmetic (platform/rtl/closingday.h).
#pragma once

#include "platform/rtl/closingday.h"
#include "platform/rtl/datetime.h"
// 1-based panel cell (1..16) of the earlier of two dates in the fiscal year
// starting at BaseDate, or -1.
int PeriodSlotIndex(int ClosingDay, int QuarterMode, TDateTime BaseDate, TDateTime Date1, TDateTime Date2);
// First day / closing date of the month a 0-based panel cell stands for.
TDateTime PeriodSlotStartDate(int Cell, int ClosingDay, bool Clamp, TDateTime BaseDate, TDateTime LimitDate);
TDateTime PeriodSlotEndDate(int Cell, int ClosingDay, bool Clamp, TDateTime BaseDate, TDateTime LimitDate);
// 0-based panel cell of the Month-th month of the year (1..12); 0 otherwise.
int MonthSlotCell(int Month);
TDateTime AddDays(int Days, TDateTime Date);
int DayOfDate(TDateTime Date);
