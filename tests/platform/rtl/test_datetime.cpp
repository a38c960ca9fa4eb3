#include <gtest/gtest.h>

#include <cmath>

#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"

namespace {

TEST(DateTime, EncodeDecodeTable) {
  struct Case {
    int y, m, d;
    double serial;
  } cases[] = {
      {1899, 12, 30, 0},      {1899, 12, 31, 1},      {1900, 1, 1, 2},        {1899, 12, 29, -1},
      {1900, 2, 28, 60},      {1900, 3, 1, 61},       {2000, 2, 29, 36585},   {2000, 3, 1, 36586},
      {2019, 5, 1, 43586},    {2020, 2, 29, 43890},   {1, 1, 1, -693593},     {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    TDateParts p = DecodeDate(c.serial);
    EXPECT_EQ(p.year, c.y) << c.serial;
    EXPECT_EQ(p.month, c.m) << c.serial;
    EXPECT_EQ(p.day, c.d) << c.serial;
  }
}

TEST(DateTime, InvalidDatesAreRejected) {
  struct Case {
    int y, m, d;
  } cases[] = {{1900, 2, 29}, {2019, 2, 29}, {2100, 2, 29}, {2019, 4, 31}, {2019, 13, 1},
               {2019, 0, 1},  {2019, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const Case& c : cases) {
    TDateTime out = 123;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, out)) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_THROW(EncodeDate(c.y, c.m, c.d), EConvertError);
  }
}

TEST(DateTime, MonthLengthsAndLeapYears) {
  struct Case {
    int y, m, days;
  } cases[] = {{1900, 2, 28}, {2000, 2, 29}, {2019, 2, 28}, {2020, 2, 29}, {2100, 2, 28},
               {2019, 1, 31}, {2019, 4, 30}, {2019, 12, 31}, {2019, 13, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(DaysInAMonth(c.y, c.m), c.days) << c.y << "-" << c.m;
    if (c.days > 0) {
      TDateTime end = EndOfTheMonth(EncodeDate(c.y, c.m, 15) + 0.75);
      EXPECT_EQ(end, EncodeDate(c.y, c.m, c.days));
      EXPECT_EQ(StartOfTheMonth(end), EncodeDate(c.y, c.m, 1));
    }
  }
}

TEST(DateTime, IncMonthClampsTheDay) {
  struct Case {
    int y, m, d, months, ey, em, ed;
  } cases[] = {
      {2019, 1, 31, 1, 2019, 2, 28},  {2020, 1, 31, 1, 2020, 2, 29},   {2019, 3, 31, -1, 2019, 2, 28},
      {2019, 1, 15, 11, 2019, 12, 15}, {2019, 12, 31, 1, 2020, 1, 31},  {2020, 1, 31, -13, 2018, 12, 31},
      {2019, 5, 31, 1, 2019, 6, 30},  {2020, 2, 29, 12, 2021, 2, 28},  {2019, 1, 1, 0, 2019, 1, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IncMonth(EncodeDate(c.y, c.m, c.d), c.months), EncodeDate(c.ey, c.em, c.ed))
        << c.y << "-" << c.m << "-" << c.d << " " << c.months;
  // The time of day is kept.
  EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2019, 1, 31) + 0.5), EncodeDate(2019, 2, 28) + 0.5);
}

TEST(DateTime, TimeAndNegativeValues) {
  int h, n, s, ms;
  DecodeTime(EncodeTime(13, 45, 30, 250), h, n, s, ms);
  EXPECT_EQ((std::vector<int>{h, n, s, ms}), (std::vector<int>{13, 45, 30, 250}));
  // Before 1899-12-30 the date is the truncated value and the time the absolute fraction.
  TDateParts p = DecodeDate(-1.25);
  EXPECT_EQ(p.year, 1899);
  EXPECT_EQ(p.month, 12);
  EXPECT_EQ(p.day, 29);
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", -1.25), "1899/12/29 06:00");
  // Milliseconds that round up carry into the next day.
  EXPECT_EQ(DateTimeToStr(EncodeDate(2019, 12, 31) + 0.9999999999), "2020/01/01 00:00:00");
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateTime, DayOfWeekAndParts) {
  EXPECT_EQ(DayOfWeek(0), 7);                          // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2019, 5, 1)), 4);     // Wednesday
  EXPECT_EQ(DayOfWeek(EncodeDate(2023, 1, 1)), 1);     // Sunday
  EXPECT_EQ(DayOfWeek(-1), 6);                         // Friday
  TDateTime d = EncodeDate(2021, 7, 9) + 0.5;
  EXPECT_EQ(YearOf(d), 2021);
  EXPECT_EQ(MonthOf(d), 7);
  EXPECT_EQ(DayOf(d), 9);
  EXPECT_EQ(DateOf(d), EncodeDate(2021, 7, 9));
  TDateTime now = Now();
  EXPECT_EQ(Date(), std::trunc(now));
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
}

TEST(DateTime, FormatDateTimeTable) {
  const TDateTime v = EncodeDate(2019, 5, 1) + EncodeTime(7, 8, 9, 45);
  struct Case {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"yyyy/mm/dd", "2019/05/01"},
      {"YYYY/MM/DD hh:nn:ss", "2019/05/01 07:08:09"},
      {"yyyymmdd", "20190501"},
      {"yyyymmddhhnnss", "20190501070809"},
      {"yy/mm/dd", "19/05/01"},
      {"yyyy/m/d", "2019/5/1"},
      {"yyyy年m月d日", "2019年5月1日"},
      {"yyyy年mm月dd日", "2019年05月01日"},
      {"h:n:s.zzz", "7:8:9.045"},
      {"hh:mm", "07:08"},            // m after an hour means minutes
      {"hh:mm:ss", "07:08:09"},
      {"mm/dd hh:mm", "05/01 07:08"},
      {"'yyyy' yyyy \"mm\"", "yyyy 2019 mm"},
      {"yyyy-mm-dd", "2019-05-01"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, v), c.text) << c.pattern;
  EXPECT_EQ(DateToStr(v), "2019/05/01");
  EXPECT_EQ(DateTimeToStr(v), "2019/05/01 07:08:09");
}

TEST(DateTime, StrToDateTable) {
  struct Case {
    const char* text;
    bool ok;
    int y, m, d;
  } cases[] = {
      {"2019/05/01", true, 2019, 5, 1}, {"2019/5/1", true, 2019, 5, 1}, {" 20200229 ", true, 2020, 2, 29},
      {"20190229", false, 0, 0, 0},     {"2019/02/30", false, 0, 0, 0}, {"2019-05-01", false, 0, 0, 0},
      {"", false, 0, 0, 0},             {"2019/05", false, 0, 0, 0},    {"abcd/ef/gh", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    TDateTime out = 0;
    EXPECT_EQ(TryStrToDate(c.text, out), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(out, EncodeDate(c.y, c.m, c.d)) << c.text;
    else EXPECT_THROW(StrToDate(c.text), EConvertError) << c.text;
  }
}

}  // namespace
