// Shift-JIS (CP932) text measures on the program's UTF-8 strings: every length,
// position and cut below counts the bytes the text takes in CP932 (one per
// half-width character, two per full-width character), so fixed-width fields
// line up exactly as they do in the stored files. A full-width character that
// a cut would split becomes one half-width space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/cp932.h"  // IsSjisLeadByte, IsSjisTrailByte

// Lead-byte test under its second name.
inline bool IsDbcsLeadChar(std::uint8_t b) { return IsSjisLeadByte(b); }

// CP932 bytes that one UTF-8 character takes (1 or 2); a character outside
// CP932 counts 2, a malformed byte 1.
int Cp932CharWidth(std::string_view utf8Char);

// Text with every broken character blanked: each byte that does not belong to
// a well-formed character becomes a half-width space.
std::string BlankBrokenDbcs(std::string_view Text);
// Full-width ａ..ｚ become Ａ..Ｚ; everything else is unchanged.
std::string ZenUpperCase(std::string_view Text);

// Locale mapping flags of LCMapText.
enum : int {
  LCMAP_LOWERCASE = 0x00000100,
  LCMAP_UPPERCASE = 0x00000200,
  LCMAP_HALFWIDTH = 0x00400000,
  LCMAP_FULLWIDTH = 0x00800000,
};
// The text mapped by Flags (full width: ASCII, the space and half-width
// katakana, voiced marks joined; half width: the full-width ASCII row and the
// ideographic space; upper and lower case: Latin letters of both widths),
// cut to at most 255 bytes.
std::string LCMapText(int Flags, std::string_view Text);

// N half-width spaces; "" when N is not positive or above 510.
std::string Spaces(int N);
// Text cut to Count bytes, or padded with spaces to Count (only up to 510).
std::string FixLen(std::string_view Text, int Count);
// The rightmost Count bytes of Text, padded with spaces on the left.
std::string FixLenRight(std::string_view Text, int Count);
// The rightmost Count bytes of 256 "0" followed by Text.
std::string ZeroPadLeft(std::string_view Text, int Count);
// Without leading and trailing half-width and full-width spaces and control characters.
std::string TrimZen(std::string_view Text);
// Without any half-width or full-width space.
std::string RemoveAllSpaces(std::string_view Text);
// Without any tab, carriage return or line feed.
std::string RemoveTabsAndBreaks(std::string_view Text);
