#include <gtest/gtest.h>

#include "core/dates.h"
#include "platform/rtl/datetime.h"

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }
std::string S(TDateTime t) { return FormatDateTime("yyyy/mm/dd", t); }

struct ClosingCase {
  int months, closingDay;
  TDateTime date;
  TDateTime expected;
};

TEST(ClosingDayDate, Table) {
  const ClosingCase cases[] = {
      {0, 20, D(2019, 10, 25), D(2019, 11, 20)},
      {0, 20, D(2019, 10, 20), D(2019, 10, 20)},
      {0, 20, D(2019, 10, 1), D(2019, 10, 20)},
      {1, 20, D(2019, 12, 21), D(2020, 2, 20)},
      {-1, 20, D(2019, 10, 21), D(2019, 10, 20)},
      {0, 99, D(2020, 2, 10), D(2020, 2, 29)},
      {0, 99, D(2019, 2, 10), D(2019, 2, 28)},
      {0, 99, D(2100, 2, 1), D(2100, 2, 28)},   // not a leap year
      {0, 99, D(2000, 2, 1), D(2000, 2, 29)},   // leap year
      {1, 99, D(2019, 1, 31), D(2019, 2, 28)},
      {11, 99, D(2019, 4, 1), D(2020, 3, 31)},
      {-1, 99, D(2019, 3, 31), D(2019, 2, 28)},
      {0, 28, D(2019, 2, 28), D(2019, 2, 28)},
      {0, 1, D(2019, 12, 2), D(2020, 1, 1)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(S(ClosingDayDate(c.months, c.closingDay, c.date)), S(c.expected))
        << c.months << " " << c.closingDay << " " << S(c.date);
}

TEST(ClosingDayDate, InvalidClosingDayReturnsDateUnchanged) {
  const TDateTime withTime = D(2019, 10, 25) + 0.5;
  for (int day : {0, 29, 31, 98, 100, -1}) EXPECT_EQ(ClosingDayDate(3, day, withTime), withTime) << day;
}

TEST(IncMonthClamped, Table) {
  const ClosingCase cases[] = {
      {1, 0, D(2019, 1, 31), D(2019, 2, 28)},  {1, 0, D(2020, 1, 31), D(2020, 2, 29)},
      {-1, 0, D(2019, 3, 31), D(2019, 2, 28)}, {11, 0, D(2019, 1, 15), D(2019, 12, 15)},
      {12, 0, D(2019, 12, 31), D(2020, 12, 31)}, {-12, 0, D(2020, 2, 29), D(2019, 2, 28)},
      {-13, 0, D(2020, 1, 31), D(2018, 12, 31)}, {3, 0, D(2019, 11, 30), D(2020, 2, 29)},
  };
  for (const auto& c : cases) EXPECT_EQ(S(IncMonthClamped(c.months, c.date)), S(c.expected)) << S(c.date);
}

TEST(MonthsBetween, Table) {
  EXPECT_EQ(MonthsBetween(99, D(2019, 4, 1), D(2020, 3, 31)), 11);
  EXPECT_EQ(MonthsBetween(20, D(2019, 4, 21), D(2020, 4, 20)), 11);  // April 21 lies in the May period
  EXPECT_EQ(MonthsBetween(20, D(2019, 4, 20), D(2019, 4, 21)), 1);
  EXPECT_EQ(MonthsBetween(99, D(2020, 3, 31), D(2019, 4, 1)), -11);
}

TEST(PeriodSlotIndex, Table) {
  const TDateTime base = D(2019, 4, 1);
  struct Case {
    int closingDay, quarterMode;
    TDateTime d1, d2;
    int expected;
  } cases[] = {
      {99, 0, D(2019, 4, 15), D(2019, 4, 30), 1},
      {99, 0, D(2019, 6, 1), D(2019, 6, 30), 3},
      {99, 0, D(2019, 7, 1), D(2019, 7, 31), 5},    // month 4 follows the Q1 cell
      {99, 0, D(2020, 3, 1), D(2020, 3, 31), 15},
      {99, 1, D(2019, 9, 1), D(2019, 9, 30), 8},    // m = 5: the second-quarter cell
      {99, 1, D(2019, 6, 1), D(2019, 6, 30), 4},    // m = 2: the first-quarter cell
      {99, 1, D(2019, 5, 1), D(2019, 5, 31), 2},    // not the last month of a quarter
      {99, 1, D(2020, 3, 1), D(2020, 3, 31), 16},   // m = 11 + quarter
      {99, 1, D(2019, 5, 1), D(2019, 5, 1), 16},    // equal dates
      {99, 0, D(2020, 4, 1), D(2020, 4, 30), -1},   // m = 12
      {99, 0, D(2019, 3, 1), D(2019, 3, 31), -1},   // before the year
      {20, 0, D(2019, 4, 21), D(2019, 5, 20), 2},   // closing day 20: April 21 is in the second period
      {20, 0, D(2019, 4, 1), D(2019, 6, 25), 1},    // the earlier date decides
  };
  for (const auto& c : cases)
    EXPECT_EQ(PeriodSlotIndex(c.closingDay, c.quarterMode, base, c.d1, c.d2), c.expected)
        << S(c.d1) << " " << S(c.d2) << " q" << c.quarterMode;
}

TEST(PeriodSlotDates, StartAndEndOfEveryCell) {
  // Fiscal year 2019-04-01 .. 2020-03-31 with month-end closing, and with closing day 20.
  const TDateTime base = D(2019, 4, 1);
  struct Case {
    int cell;
    const char* start99;
    const char* end99;
    const char* start20;
    const char* end20;
  } cases[] = {
      {0, "2019/04/01", "2019/04/30", "2019/04/01", "2019/04/20"},
      {1, "2019/05/01", "2019/05/31", "2019/04/21", "2019/05/20"},
      {2, "2019/06/01", "2019/06/30", "2019/05/21", "2019/06/20"},
      {3, "2019/06/01", "2019/06/30", "2019/05/21", "2019/06/20"},  // Q1 = its last month
      {4, "2019/07/01", "2019/07/31", "2019/06/21", "2019/07/20"},
      {7, "2019/09/01", "2019/09/30", "2019/08/21", "2019/09/20"},
      {11, "2019/12/01", "2019/12/31", "2019/11/21", "2019/12/20"},
      {12, "2020/01/01", "2020/01/31", "2019/12/21", "2020/01/20"},
      {13, "2020/02/01", "2020/02/29", "2020/01/21", "2020/02/20"},  // leap February
      {15, "2020/03/01", "2020/03/31", "2020/02/21", "2020/03/20"},
      {16, "2019/04/01", "2019/04/30", "2019/04/01", "2019/04/20"},  // outside: the base date
      {-1, "2019/04/01", "2019/04/30", "2019/04/01", "2019/04/20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(S(PeriodSlotStartDate(c.cell, 99, false, base, 0)), c.start99) << c.cell;
    EXPECT_EQ(S(PeriodSlotEndDate(c.cell, 99, false, base, 0)), c.end99) << c.cell;
    EXPECT_EQ(S(PeriodSlotStartDate(c.cell, 20, false, base, 0)), c.start20) << c.cell;
    EXPECT_EQ(S(PeriodSlotEndDate(c.cell, 20, false, base, 0)), c.end20) << c.cell;
  }
}

TEST(PeriodSlotDates, ClampToLimit) {
  const TDateTime base = D(2019, 4, 1);
  const TDateTime limit = D(2019, 5, 15);
  EXPECT_EQ(S(PeriodSlotStartDate(3, 99, true, base, limit)), "2019/05/15");
  EXPECT_EQ(S(PeriodSlotEndDate(3, 99, true, base, limit)), "2019/05/15");
  EXPECT_EQ(S(PeriodSlotEndDate(1, 99, true, base, limit)), "2019/05/15");
  EXPECT_EQ(S(PeriodSlotEndDate(0, 99, true, base, limit)), "2019/04/30");
  EXPECT_EQ(S(PeriodSlotStartDate(3, 99, false, base, limit)), "2019/06/01");
}

TEST(DateHelpers, SmallFunctions) {
  const int cells[] = {0, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 0};
  for (int month = 0; month <= 13; ++month) EXPECT_EQ(MonthSlotCell(month), cells[month]) << month;
  EXPECT_EQ(S(AddDays(1, D(2020, 2, 28))), "2020/02/29");
  EXPECT_EQ(DayOfDate(D(2020, 2, 29) + 0.75), 29);
  EXPECT_TRUE(IsLeapYearSafe(2000));
  EXPECT_TRUE(IsLeapYearSafe(2024));
  EXPECT_FALSE(IsLeapYearSafe(1900));
  EXPECT_FALSE(IsLeapYearSafe(2019));
}

}  // namespace
