#include "platform/rtl/datetime.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "platform/rtl/sysutils.h"

namespace {

constexpr std::int64_t kMSecsPerDay = 86400000;
// Days from 0001-01-01 to 1899-12-30 (day 0 of TDateTime), counting 0001-01-01 as day 1.
constexpr int kDateDelta = 693594;

constexpr int kDaysBeforeMonth[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};

// Splits a date-time the way the runtime does: the date part is the value
// truncated toward zero, the time part the absolute fraction (so -1.25 is
// 1899-12-29 06:00). Milliseconds are rounded and may carry into the date.
struct Split {
  std::int64_t day;   // days since 1899-12-30
  std::int64_t msec;  // 0 .. kMSecsPerDay-1
};

Split SplitDateTime(TDateTime value) {
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) throw EConvertError("Invalid date-time value");
  std::int64_t total = static_cast<std::int64_t>(std::llround(value * static_cast<double>(kMSecsPerDay)));
  std::int64_t day = total / kMSecsPerDay;
  std::int64_t msec = total % kMSecsPerDay;
  if (msec < 0) msec = -msec;
  return {day, msec};
}

void DecodeDays(std::int64_t days, int& year, int& month, int& day) {
  // days: 1 = 0001-01-01
  std::int64_t t = days - 1;
  int y = 1;
  std::int64_t n400 = t / 146097; t %= 146097;
  std::int64_t n100 = t / 36524; t %= 36524;
  if (n100 == 4) { n100 = 3; t += 36524; }
  std::int64_t n4 = t / 1461; t %= 1461;
  std::int64_t n1 = t / 365; t %= 365;
  if (n1 == 4) { n1 = 3; t += 365; }
  y += static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1);
  int leap = IsLeapYear(y) ? 1 : 0;
  int m = 12;
  while (m > 1 && kDaysBeforeMonth[leap][m] > t) --m;
  year = y;
  month = m;
  day = static_cast<int>(t - kDaysBeforeMonth[leap][m]) + 1;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0) && ((year % 100 != 0) || (year % 400 == 0)); }

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
    return false;
  std::int64_t y = year - 1;
  std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0][month] + day;
  out = static_cast<TDateTime>(days - kDateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime out = 0;
  if (!TryEncodeDate(year, month, day, out)) throw EConvertError("Invalid argument to date encode");
  return out;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
    throw EConvertError("Invalid argument to time encode");
  return static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / static_cast<double>(kMSecsPerDay);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  DecodeDays(SplitDateTime(value).day + kDateDelta, year, month, day);
}

TDateParts DecodeDate(TDateTime value) {
  TDateParts p;
  DecodeDate(value, p.year, p.month, p.day);
  return p;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec) {
  std::int64_t ms = SplitDateTime(value).msec;
  msec = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

TDateTime DateOf(TDateTime value) { return static_cast<TDateTime>(SplitDateTime(value).day); }

TDateTime IncMonth(TDateTime value, int months) {
  Split s = SplitDateTime(value);
  int y, m, d;
  DecodeDays(s.day + kDateDelta, y, m, d);
  std::int64_t index = static_cast<std::int64_t>(y) * 12 + (m - 1) + months;
  y = static_cast<int>(index / 12);
  m = static_cast<int>(index % 12) + 1;
  if (d > DaysInAMonth(y, m)) d = DaysInAMonth(y, m);
  TDateTime date = EncodeDate(y, m, d);
  double time = static_cast<double>(s.msec) / static_cast<double>(kMSecsPerDay);
  return date >= 0 ? date + time : date - time;
}

TDateTime StartOfTheMonth(TDateTime value) {
  TDateParts p = DecodeDate(value);
  return EncodeDate(p.year, p.month, 1);
}

TDateTime EndOfTheMonth(TDateTime value) {
  TDateParts p = DecodeDate(value);
  return EncodeDate(p.year, p.month, DaysInAMonth(p.year, p.month));
}

int YearOf(TDateTime value) { return DecodeDate(value).year; }
int MonthOf(TDateTime value) { return DecodeDate(value).month; }
int DayOf(TDateTime value) { return DecodeDate(value).day; }

int DayOfWeek(TDateTime value) {
  // Day 0 (1899-12-30) was a Saturday.
  std::int64_t r = (SplitDateTime(value).day + 6) % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

TDateTime Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
         EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, static_cast<int>(ts.tv_nsec / 1000000));
}

TDateTime Date() { return DateOf(Now()); }
