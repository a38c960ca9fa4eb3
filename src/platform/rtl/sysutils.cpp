// Conversions between text and numbers, rounding of floating values and the
// ASCII string helpers.
#include "platform/rtl/sysutils.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/rtl/decimal.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads an integer of at most `bits` bits. Hexadecimal text may use the full
// unsigned range and wraps to negative values (as "$FFFFFFFF" reads as -1).
bool ParseInteger(std::string_view text, int bits, std::int64_t& out) {
  std::string_view s = TrimView(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  bool hex = false;
  if (!s.empty() && s[0] == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  const unsigned __int128 limit = hex ? ((static_cast<unsigned __int128>(1) << bits) - 1)
                                      : (static_cast<unsigned __int128>(1) << (bits - 1)) - (negative ? 0 : 1);
  unsigned __int128 mag = 0;
  for (char c : s) {
    int v = hex ? HexValue(c) : ((c >= '0' && c <= '9') ? c - '0' : -1);
    if (v < 0) return false;
    mag = mag * (hex ? 16 : 10) + static_cast<unsigned>(v);
    if (mag > limit) return false;
  }
  __int128 value = static_cast<__int128>(mag);
  if (hex && mag >= (static_cast<unsigned __int128>(1) << (bits - 1)))
    value -= static_cast<__int128>(static_cast<unsigned __int128>(1) << bits);
  if (negative) value = -value;
  out = static_cast<std::int64_t>(value);
  return true;
}

[[noreturn]] void ThrowInvalid(const char* what, std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

}  // namespace

bool TryStrToInt(std::string_view text, int& out) {
  std::int64_t v = 0;
  if (!ParseInteger(text, 32, v)) return false;
  out = static_cast<int>(v);
  return true;
}

int StrToInt(std::string_view text) {
  int v = 0;
  if (!TryStrToInt(text, v)) ThrowInvalid("integer value", text);
  return v;
}

int StrToIntDef(std::string_view text, int fallback) {
  int v = 0;
  return TryStrToInt(text, v) ? v : fallback;
}

std::int64_t StrToInt64(std::string_view text) {
  std::int64_t v = 0;
  if (!ParseInteger(text, 64, v)) ThrowInvalid("integer value", text);
  return v;
}

std::int64_t StrToInt64Def(std::string_view text, std::int64_t fallback) {
  std::int64_t v = 0;
  return ParseInteger(text, 64, v) ? v : fallback;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool TryStrToCurr(std::string_view text, Currency& out) {
  std::string_view s = TrimView(text);
  DecimalDigits d;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    d.negative = s[0] == '-';
    s.remove_prefix(1);
  }
  bool point = false, anyDigit = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      (point ? d.fracDigits : d.intDigits) += c;
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else if (c == ',' && !point && i > 0 && i + 1 < s.size() && s[i - 1] >= '0' && s[i - 1] <= '9' &&
               s[i + 1] >= '0' && s[i + 1] <= '9') {
      // grouping separator between digits of the integer part
    } else {
      return false;
    }
  }
  if (!anyDigit) return false;
  std::int64_t raw = 0;
  if (!d.ToScaledInt64(4, raw)) return false;  // out of range or more than four decimals
  out = Currency::FromRaw(raw);
  return true;
}

Currency StrToCurr(std::string_view text) {
  Currency v;
  if (!TryStrToCurr(text, v)) ThrowInvalid("floating point value", text);
  return v;
}

Currency StrToCurrDef(std::string_view text, Currency fallback) {
  Currency v;
  return TryStrToCurr(text, v) ? v : fallback;
}

namespace {
bool TryStrToFloat(std::string_view text, double& out) {
  std::string_view s = TrimView(text);
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto r = std::from_chars(s.data(), s.data() + s.size(), out, std::chars_format::general);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}
}  // namespace

double StrToFloat(std::string_view text) {
  double v = 0;
  if (!TryStrToFloat(text, v)) ThrowInvalid("floating point value", text);
  return v;
}

double StrToFloatDef(std::string_view text, double fallback) {
  double v = 0;
  return TryStrToFloat(text, v) ? v : fallback;
}

std::int64_t Round(double value) {
  double r = std::round(value);  // halves away from zero
  if (!(std::fabs(r) < 9.2e18)) throw EConvertError("Invalid floating point operation");
  return static_cast<std::int64_t>(r);
}

std::int64_t Trunc(double value) {
  double r = std::trunc(value);
  if (!(std::fabs(r) < 9.2e18)) throw EConvertError("Invalid floating point operation");
  return static_cast<std::int64_t>(r);
}

double Int(double value) { return std::trunc(value); }

double Frac(double value) { return value - std::trunc(value); }

std::string UpperCase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string LowerCase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

int CompareText(std::string_view a, std::string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 32);
    if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 32);
    if (ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string TrimLeft(std::string_view text) {
  std::size_t b = 0;
  while (b < text.size() && IsBlank(text[b])) ++b;
  return std::string(text.substr(b));
}

std::string TrimRight(std::string_view text) {
  std::size_t e = text.size();
  while (e > 0 && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(0, e));
}

std::size_t Pos(std::string_view needle, std::string_view haystack) {
  if (needle.empty()) return 0;
  std::size_t p = haystack.find(needle);
  return p == std::string_view::npos ? 0 : p + 1;
}

std::string Copy(std::string_view text, std::size_t index1, std::size_t count) {
  if (index1 < 1) index1 = 1;
  if (index1 > text.size()) return {};
  return std::string(text.substr(index1 - 1, count));
}

std::string StringReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = text.find(from, start);
    if (p == std::string_view::npos) break;
    out.append(text.substr(start, p - start));
    out.append(to);
    start = p + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::vector<std::string> SplitString(std::string_view text, char delimiter) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = text.find(delimiter, start);
    if (p == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, p - start));
    start = p + 1;
  }
}
