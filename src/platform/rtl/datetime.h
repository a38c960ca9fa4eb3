// TDateTime: days since 1899-12-30 with the time of day as the fraction, the
// representation the stored data, the settings files and the formats expect.
#pragma once

#include <string>
#include <string_view>

using TDateTime = double;

struct TDateParts {
  int year = 0, month = 0, day = 0;
};

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

// EncodeDate throws EConvertError on an invalid date; TryEncodeDate reports it.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
TDateParts DecodeDate(TDateTime value);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

// The date part alone (time dropped); Delphi's Trunc of a date-time.
TDateTime DateOf(TDateTime value);
// IncMonth keeps the day, clamped to the target month's last day.
TDateTime IncMonth(TDateTime value, int months = 1);
TDateTime StartOfTheMonth(TDateTime value);
TDateTime EndOfTheMonth(TDateTime value);   // last day, date only
int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

TDateTime Now();
TDateTime Date();

// Patterns: yyyy yy mm m dd d hh h nn n ss s zzz, quoted literals '...' or "...",
// any other character copied; "YYYY/MM/DD" accepted case-insensitively.
// "/" and ":" are the date and time separators of the runtime settings.
std::string FormatDateTime(std::string_view pattern, TDateTime value);

// Reads "yyyy/mm/dd", "yyyy/m/d" and "yyyymmdd" (throws EConvertError / returns false).
TDateTime StrToDate(std::string_view text);
bool TryStrToDate(std::string_view text, TDateTime& out);
std::string DateToStr(TDateTime value);      // "yyyy/mm/dd"
std::string DateTimeToStr(TDateTime value);  // "yyyy/mm/dd hh:nn:ss"
