#include "ui/kikancalc.h"

#include <QApplication>

namespace kikan {

namespace {
bool ValidClosingDay(int d) { return (d >= 1 && d <= 28) || d == 99; }
}  // namespace

TDateTime ShiftMonths(int months, TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  const int n = y * 12 + m + months;
  int year = n / 12, month = n % 12;
  if (month == 0) { month = 12; --year; }
  return EncodeDate(year, month, std::min(d, DaysInAMonth(year, month)));
}

TDateTime ClosingDateOf(int k, int closingDay, TDateTime date, bool* invalid) {
  if (!ValidClosingDay(closingDay)) {
    QApplication::beep();
    if (invalid) *invalid = true;
    return date;
  }
  if (closingDay != 99 && closingDay < DayOf(date)) ++k;
  const TDateTime shifted = ShiftMonths(k, date);
  int y, m, d;
  DecodeDate(shifted, y, m, d);
  return EncodeDate(y, m, closingDay == 99 ? DaysInAMonth(y, m) : closingDay);
}

int MonthOffset(int closingDay, TDateTime base, TDateTime date) {
  const TDateTime d1 = ClosingDateOf(0, closingDay, base);
  const TDateTime d2 = ClosingDateOf(0, closingDay, date);
  return (YearOf(d2) - YearOf(d1)) * 12 + MonthOf(d2) - MonthOf(d1);
}

int CellIndexOf16(int closingDay, TDateTime base, TDateTime date) {
  const int m = MonthOffset(closingDay, base, date);
  if (m < 0 || m > 11) return 15;
  return m + m / 3;
}

int MonthToPeriodSlot(int month) {
  if (month < 1 || month > 12) return 0;
  return month - 1 + (month - 1) / 3;
}

}  // namespace kikan
