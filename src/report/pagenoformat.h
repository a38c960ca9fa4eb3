// Page-number texts: a format holding one or two "%d" (or "%D") markers and
// other text, filled with the page number and the total. Nothing else of a
// format is interpreted ("%%" stands for one "%"), so a format from a file or a
// client never reaches printf.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The number of "%d"/"%D" markers of the format.
int PageNoMarkerCount(std::string_view format);
// The format filled with the numbers in order; nothing when the format holds
// a "%" other than the markers and "%%", or more markers than numbers.
std::optional<std::string> FormatPageNo(std::string_view format, int first, int second = 0);
