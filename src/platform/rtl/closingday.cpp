#include "platform/rtl/closingday.h"

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
