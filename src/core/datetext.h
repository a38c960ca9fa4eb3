// Conversions between dates and text: plain dates, the era calendar (和暦) and
// date ranges. The slash, kanji and range formatters show the era calendar
// when SystemDef.WarekiDisplay is 1. Nothing here raises: parsing failures
// give 0 and formatting failures a fallback text.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/datetime.h"

// The range separator "%s ～ %s" (～ is U+FF5E, CP932 0x8160).
inline constexpr const char* kDateRangeFormat = "%s ～ %s";

// Kind 2 "yy/mm/dd", 4 "yyyy/mm/dd", other "yyyy/mm/dd hh:nn"; a zero date gives "".
void DateToText(int Kind, std::string& Text, TDateTime Date);
// The text as a date with the process-wide settings; 0 when it is not one.
TDateTime StrToDateDef0(std::string_view Text);
// The text as a date and optional time ("yyyy/mm/dd hh:nn[:ss]") with fixed
// settings; 0 when it is not one.
TDateTime StrToDateFixed(std::string_view Text);
// "from ～ to", each date "R 01/05/01" style in the era calendar or "yyyy/mm/dd".
void FormatDateRange(std::string& Text, TDateTime FromDate, TDateTime ToDate);

// EraKind selects the prefix: 0 none (the text is trimmed), 1 era name,
// 2 era short name, 3 short name with every space removed (slash layouts
// only), other values the era name.
void FormatDateSlash(const std::string& Layout, int EraKind, std::string& Text, TDateTime Date);
void FormatDateKanji(const std::string& Layout, int EraKind, std::string& Text, TDateTime Date);
// Always the era calendar; an empty Layout means "gg ee年".
void FormatDateWareki(const std::string& Layout, int EraKind, std::string& Text, TDateTime Date);
