#include "core/dates.h"

#include <algorithm>

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
