// The closing-day arithmetic of monthly accounting periods: closing dates,
// month moves with a day clamp and period counts. A closing day of 1..28 ends
// every monthly period on that day, 99 on the month's last day; any other
// value disables the closing-day arithmetic.
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
bool IsLeapYearSafe(int Year);
