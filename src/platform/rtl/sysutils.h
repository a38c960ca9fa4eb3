// The small part of the Delphi runtime the program relies on: conversions with
// their exact failure behaviour, number formatting, a safe Format, rounding.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/rtl/currency.h"

// Base of the program's own exceptions (Delphi's Exception).
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};
// Text that is not a number or a date.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Integers: optional sign, decimal digits or "$" / "0x" hexadecimal, surrounding blanks allowed.
int StrToInt(std::string_view text);                       // throws EConvertError
int StrToIntDef(std::string_view text, int fallback);
bool TryStrToInt(std::string_view text, int& out);
std::int64_t StrToInt64(std::string_view text);
std::int64_t StrToInt64Def(std::string_view text, std::int64_t fallback);
std::string IntToStr(std::int64_t value);

// Amounts: "1234", "-1,234.5", "12.3456" (grouping commas accepted); more than
// four decimals is an error, never a silent rounding.
Currency StrToCurr(std::string_view text);                 // throws EConvertError
Currency StrToCurrDef(std::string_view text, Currency fallback);
bool TryStrToCurr(std::string_view text, Currency& out);
double StrToFloat(std::string_view text);                  // throws EConvertError
double StrToFloatDef(std::string_view text, double fallback);

// FormatFloat patterns: "#", "#0", "0", "#,##0", "#,##0.00", "0.0", sections
// separated by ";" (positive;negative;zero). Halves round away from zero.
// "#" on zero gives "". The Currency overload is exact.
std::string FormatFloat(std::string_view pattern, Currency value);
std::string FormatFloat(std::string_view pattern, double value);
std::string FormatFloat(std::string_view pattern, std::int64_t value);
inline std::string FormatFloat(std::string_view pattern, int value) {
  return FormatFloat(pattern, static_cast<std::int64_t>(value));
}
std::string FormatCurr(std::string_view pattern, Currency value);

// Format: %s %d %u %x %X %f %e %g with flags "-" "0", width and precision
// (%.2d, %2d, %3s, %.2f), and "%%". Arguments are only ever data: the text of
// an argument is never read as a pattern. A mismatch throws EConvertError.
using FormatArg = std::variant<std::int64_t, double, std::string, Currency>;
std::string FormatV(std::string_view pattern, const std::vector<FormatArg>& args);
template <typename... Args>
std::string Format(std::string_view pattern, const Args&... args) {
  std::vector<FormatArg> list;
  list.reserve(sizeof...(Args));
  auto push = [&](const auto& a) {
    using A = std::decay_t<decltype(a)>;
    if constexpr (std::is_same_v<A, Currency>) list.emplace_back(a);
    else if constexpr (std::is_integral_v<A> || std::is_enum_v<A>) list.emplace_back(static_cast<std::int64_t>(a));
    else if constexpr (std::is_floating_point_v<A>) list.emplace_back(static_cast<double>(a));
    else list.emplace_back(std::string(a));
  };
  (void)push;  // unused when there are no arguments
  (push(args), ...);
  return FormatV(pattern, list);
}

// Rounding of floating values as the Delphi runtime does it for non-money
// numbers. Round: halves away from zero (the program's rule). Trunc: toward zero.
std::int64_t Round(double value);
std::int64_t Trunc(double value);
double Int(double value);
double Frac(double value);

// ASCII-only case changes and blank trimming (bytes <= ' ' at either end).
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
// 1-based positions as in the stored formats; Pos returns 0 when not found.
std::size_t Pos(std::string_view needle, std::string_view haystack);
std::string Copy(std::string_view text, std::size_t index1, std::size_t count);
std::string StringReplaceAll(std::string_view text, std::string_view from, std::string_view to);
std::vector<std::string> SplitString(std::string_view text, char delimiter);
