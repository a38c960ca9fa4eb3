// CP932 (Windows Shift-JIS) at the program's edges. Inside the program text is
// UTF-8; files, the link XML, logs and the database connection carry CP932.
// Conversion goes through iconv. Byte lengths and cuts that the stored formats
// define in bytes are measured in CP932 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <stdexcept>

// Thrown on text that cannot be converted; the Lossy variants put "?" (to
// CP932) or U+FFFD (to UTF-8) in place of such characters instead.
class ETextConversion : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932Lossy(std::string_view utf8);
std::string Cp932ToUtf8Lossy(std::string_view cp932);

// Number of CP932 bytes the UTF-8 text takes.
std::size_t Cp932Length(std::string_view utf8);

bool IsSjisLeadByte(std::uint8_t b);   // 0x81-0x9F, 0xE0-0xFC
bool IsSjisTrailByte(std::uint8_t b);  // 0x40-0x7E, 0x80-0xFC

// The first `bytes` CP932 bytes of the UTF-8 text, returned as UTF-8. A
// double-byte character that would be split is dropped, or replaced by one
// space when `spaceForSplit` is set (so the result keeps exactly `bytes` bytes).
std::string Cp932Cut(std::string_view utf8, std::size_t bytes, bool spaceForSplit = false);
// Cut or right-pad with spaces to exactly `bytes` CP932 bytes.
std::string Cp932PadRight(std::string_view utf8, std::size_t bytes);
