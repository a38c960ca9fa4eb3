#include "core/dates.h"

#include <algorithm>

namespace {

bool ValidClosingDay(int day) { return (day >= 1 && day <= 28) || day == kClosingDayMonthEnd; }

int MonthLength(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYearSafe(year)) return 29;
  return kDays[month - 1];
}

}  // namespace

bool IsLeapYearSafe(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

TDateTime IncMonthClamped(int Months, TDateTime Date) {
  const TDateParts p = DecodeDate(Date);
  // Months counted from year 0 month 0; month 0 of a year is December of the year before.
  long long n = static_cast<long long>(p.year) * 12 + p.month + Months;
  long long year = n / 12;
  long long month = n % 12;
  if (month < 0) {  // floor division for dates moved before year 0
    month += 12;
    year -= 1;
  }
  if (month == 0) {
    month = 12;
    year -= 1;
  }
  const int day = std::min(p.day, MonthLength(static_cast<int>(year), static_cast<int>(month)));
  return EncodeDate(static_cast<int>(year), static_cast<int>(month), day);
}

TDateTime ClosingDayDate(int Months, int ClosingDay, TDateTime Date) {
  if (!ValidClosingDay(ClosingDay)) return Date;
  const TDateParts p = DecodeDate(Date);
  int k = Months;
  if (ClosingDay != kClosingDayMonthEnd && p.day > ClosingDay) k += 1;
  const TDateParts moved = DecodeDate(IncMonthClamped(k, Date));
  const int day = ClosingDay == kClosingDayMonthEnd ? MonthLength(moved.year, moved.month) : ClosingDay;
  return EncodeDate(moved.year, moved.month, day);
}

TDateTime PeriodStartDate(int Months, int ClosingDay, TDateTime Date) {
  return ClosingDayDate(Months - 1, ClosingDay, Date) + 1;
}

int MonthsBetween(int ClosingDay, TDateTime FromDate, TDateTime ToDate) {
  const TDateParts f = DecodeDate(ClosingDayDate(0, ClosingDay, FromDate));
  const TDateParts t = DecodeDate(ClosingDayDate(0, ClosingDay, ToDate));
  return 12 * (t.year - f.year) + (t.month - f.month);
}

int PeriodSlotIndex(int ClosingDay, int QuarterMode, TDateTime BaseDate, TDateTime Date1, TDateTime Date2) {
  const int m = std::min(MonthsBetween(ClosingDay, BaseDate, Date1), MonthsBetween(ClosingDay, BaseDate, Date2));
  int q = QuarterMode == 1 ? 1 : 0;
  if (q == 1) {
    if (Date1 == Date2) return 16;
    if (m != 2 && m != 5 && m != 8 && m != 11) q = 0;
  }
  if (m >= 0 && m <= 2) return m + q + 1;
  if (m >= 3 && m <= 5) return m + q + 2;
  if (m >= 6 && m <= 8) return m + q + 3;
  if (m >= 9 && m <= 11) return m + q + 4;
  return -1;
}

TDateTime PeriodSlotStartDate(int Cell, int ClosingDay, bool Clamp, TDateTime BaseDate, TDateTime LimitDate) {
  // Month offset of each cell; a quarter cell stands for the last month of its quarter.
  static const int kOffset[16] = {0, 1, 2, 2, 3, 4, 5, 5, 6, 7, 8, 8, 9, 10, 11, 11};
  if (Cell <= 0 || Cell > 15) return BaseDate;
  const TDateTime start = PeriodStartDate(kOffset[Cell], ClosingDay, BaseDate);
  if (Clamp && start > LimitDate) return LimitDate;
  return start;
}

TDateTime PeriodSlotEndDate(int Cell, int ClosingDay, bool Clamp, TDateTime BaseDate, TDateTime LimitDate) {
  const TDateTime end =
      ClosingDayDate(0, ClosingDay, PeriodSlotStartDate(Cell, ClosingDay, Clamp, BaseDate, LimitDate));
  if (Clamp && end > LimitDate) return LimitDate;
  return end;
}

int MonthSlotCell(int Month) {
  if (Month >= 1 && Month <= 3) return Month - 1;
  if (Month >= 4 && Month <= 6) return Month;
  if (Month >= 7 && Month <= 9) return Month + 1;
  if (Month >= 10 && Month <= 12) return Month + 2;
  return 0;
}

TDateTime AddDays(int Days, TDateTime Date) { return Date + Days; }

int DayOfDate(TDateTime Date) { return DecodeDate(Date).day; }
