// Japanese eras (元号): the era table, newest era first, and the conversion of
// a date into an era date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/datetime.h"

struct TGengoRec {
  std::string Name;          // "令和"
  std::string ShortName;     // "R"
  TDateTime StartDate = 0;   // first day of the era
  std::int32_t StartYear = 0;
};
using TGengoArray = std::vector<TGengoRec>;

// Built-in form of an era, the start date as text "yyyy/mm/dd".
struct TGengo2Rec {
  const char* Name;
  const char* ShortName;
  const char* StartDate;
  std::int32_t StartYear;
};
inline constexpr TGengo2Rec BuiltInGengo[5] = {
    {"令和", "R", "2019/05/01", 2019},
    {"平成", "H", "1989/01/08", 1989},
    {"昭和", "S", "1926/12/25", 1926},
    {"大正", "T", "1912/07/30", 1912},
    {"明治", "M", "1868/09/08", 1868},
};

// The process-wide era table (the data module fills it from the system
// database's GENGO rows, falling back on BuildGengoTable).
inline TGengoArray GengoTable;

struct TWarekiRec {
  std::string EraName;
  std::string EraShortName;
  std::uint16_t Year = 0;    // year within the era, 1 for its first year
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;
};

// GengoTable := the five built-in eras, newest first.
void BuildGengoTable();
// Converts Date with GengoTable; returns the day of the month. A date before
// the oldest era keeps that era's names; an empty table or a date <= 0 gives
// the Western year and empty era names.
int DateToWareki(TWarekiRec& Rec, TDateTime Date);
