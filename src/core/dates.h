// Date arithmetic of the accounting periods: closing days, month moves with a
// day clamp, period counts and the 16-cell period panel (cells 0..15: months
// 1-3, Q1, months 4-6, Q2, months 7-9, Q3, months 10-12, Q4).
// A closing day of 1..28 ends every monthly period on that day, 99 on the
// month's last day; any other value disables the closing-day arithmetic.
#pragma once

#include "platform/rtl/datetime.h"

inline constexpr int kClosingDayMonthEnd = 99;

// Closing date of the period containing Date, moved on by Months periods.
TDateTime ClosingDayDate(int Months, int ClosingDay, TDateTime Date);
// First day of the period Months periods after the one containing Date.
TDateTime PeriodStartDate(int Months, int ClosingDay, TDateTime Date);
// Date moved by Months calendar months, the day clamped to the target month.
TDateTime IncMonthClamped(int Months, TDateTime Date);
// Number of periods from FromDate's period to ToDate's period.
int MonthsBetween(int ClosingDay, TDateTime FromDate, TDateTime ToDate);
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
bool IsLeapYearSafe(int Year);
