// Format: the runtime's printf-like formatting. The pattern is the only text
// that is interpreted; arguments are always data.
#include <charconv>
#include <cmath>
#include <string>

#include "platform/rtl/cp932.h"
#include "platform/rtl/decimal.h"
#include "platform/rtl/sysutils.h"

namespace {

struct Spec {
  bool left = false;
  bool zero = false;
  int width = -1;
  int precision = -1;
  char type = 0;
};

[[noreturn]] void Invalid(std::string_view pattern) {
  throw EConvertError("Format '" + std::string(pattern) + "' invalid or incompatible with argument");
}

// Pads to `width`; `length` is the display length of `body` (CP932 bytes for text).
std::string Pad(std::string body, std::size_t length, const Spec& spec) {
  if (spec.width < 0 || length >= static_cast<std::size_t>(spec.width)) return body;
  std::size_t fill = spec.width - length;
  if (spec.left) return body + std::string(fill, ' ');
  if (spec.zero && spec.type != 's') {
    std::size_t at = (!body.empty() && body[0] == '-') ? 1 : 0;
    body.insert(at, fill, '0');
    return body;
  }
  return std::string(fill, ' ') + body;
}

std::string Digits(std::string digits, int precision) {
  if (precision >= 0 && digits.size() < static_cast<std::size_t>(precision))
    digits.insert(0, precision - digits.size(), '0');
  return digits;
}

std::string FormatFixed(const DecimalDigits& value, int decimals) {
  DecimalDigits d = value;
  d.RoundHalfAwayFromZero(decimals);
  std::string s = d.negative ? "-" : "";
  s += d.intDigits.empty() ? "0" : d.intDigits;
  if (decimals > 0) s += "." + d.fracDigits;
  return s;
}

std::string FormatScientific(double value, int significant) {
  if (significant < 1) significant = 1;
  if (significant > 17) significant = 17;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
  std::string s(buf, r.ptr);
  std::size_t e = s.find('e');
  std::string mantissa = s.substr(0, e);
  char sign = s[e + 1];
  std::string exponent = s.substr(e + 2);
  while (exponent.size() < 3) exponent.insert(0, 1, '0');
  return mantissa + "E" + sign + exponent;
}

std::string FormatGeneral(double value, int significant) {
  if (significant < 1 || significant > 15) significant = 15;
  DecimalDigits d = DecimalDigits::FromDoubleSignificant(value, significant);
  if (d.IsZero()) return "0";
  int exponent = d.intDigits.empty()
                     ? -static_cast<int>(d.fracDigits.find_first_not_of('0')) - 1
                     : static_cast<int>(d.intDigits.size()) - 1;
  if (exponent >= significant || exponent < -5) {
    std::string s = FormatScientific(value, significant);
    // drop zeros at the end of the mantissa
    std::size_t e = s.find('E');
    std::string m = s.substr(0, e);
    if (m.find('.') != std::string::npos) {
      while (m.back() == '0') m.pop_back();
      if (m.back() == '.') m.pop_back();
    }
    std::string ex = s.substr(e + 2);
    while (ex.size() > 1 && ex[0] == '0') ex.erase(0, 1);
    return m + "E" + s[e + 1] + ex;
  }
  return d.ToPlainString();
}

std::string FormatOne(std::string_view pattern, const Spec& spec, const FormatArg& arg) {
  const std::int64_t* i = std::get_if<std::int64_t>(&arg);
  const double* f = std::get_if<double>(&arg);
  const Currency* c = std::get_if<Currency>(&arg);
  const std::string* s = std::get_if<std::string>(&arg);
  switch (spec.type) {
    case 'd': {
      if (!i) Invalid(pattern);
      DecimalDigits d = DecimalDigits::FromInt(*i);
      std::string body = (d.negative ? "-" : "") + Digits(d.intDigits.empty() ? "0" : d.intDigits, spec.precision);
      return Pad(body, body.size(), spec);
    }
    case 'u':
    case 'x':
    case 'X': {
      if (!i) Invalid(pattern);
      // Negative values of 32-bit range show as their unsigned 32-bit pattern.
      std::uint64_t u = (*i < 0 && *i >= INT32_MIN) ? static_cast<std::uint32_t>(*i) : static_cast<std::uint64_t>(*i);
      char buf[32];
      auto r = std::to_chars(buf, buf + sizeof buf, u, spec.type == 'u' ? 10 : 16);
      std::string digits(buf, r.ptr);
      if (spec.type == 'X')
        for (char& ch : digits) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      std::string body = Digits(digits, spec.precision);
      return Pad(body, body.size(), spec);
    }
    case 'f':
    case 'e':
    case 'g': {
      if (!f && !c) Invalid(pattern);
      if (f && !std::isfinite(*f)) {
        std::string body = *f != *f ? "NAN" : (*f > 0 ? "INF" : "-INF");
        return Pad(body, body.size(), spec);
      }
      std::string body;
      if (spec.type == 'f') {
        DecimalDigits d = c ? DecimalDigits::FromScaled(c->Raw(), 4) : DecimalDigits::FromDoubleSignificant(*f, 15);
        body = FormatFixed(d, spec.precision < 0 ? 2 : spec.precision);
      } else {
        double v = c ? c->ToDouble() : *f;
        body = spec.type == 'e' ? FormatScientific(v, spec.precision < 0 ? 15 : spec.precision)
                                : FormatGeneral(v, spec.precision);
      }
      return Pad(body, body.size(), spec);
    }
    case 's': {
      if (!s) Invalid(pattern);
      std::string body = spec.precision >= 0 ? Cp932Cut(*s, static_cast<std::size_t>(spec.precision)) : *s;
      return Pad(body, Cp932Length(body), spec);
    }
    default:
      Invalid(pattern);
  }
}

int ReadNumber(std::string_view p, std::size_t& i) {
  int n = 0;
  while (i < p.size() && p[i] >= '0' && p[i] <= '9') {
    n = n * 10 + (p[i] - '0');
    if (n > 100000) n = 100000;
    ++i;
  }
  return n;
}

}  // namespace

std::string FormatV(std::string_view pattern, const std::vector<FormatArg>& args) {
  std::string out;
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < pattern.size()) {
    char ch = pattern[i];
    if (ch != '%') {
      out += ch;
      ++i;
      continue;
    }
    ++i;
    if (i < pattern.size() && pattern[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    Spec spec;
    while (i < pattern.size() && (pattern[i] == '-' || pattern[i] == '0')) {
      if (pattern[i] == '-') spec.left = true;
      else spec.zero = true;
      ++i;
    }
    if (i < pattern.size() && pattern[i] >= '1' && pattern[i] <= '9') spec.width = ReadNumber(pattern, i);
    if (i < pattern.size() && pattern[i] == '.') {
      ++i;
      spec.precision = ReadNumber(pattern, i);
    }
    if (i >= pattern.size()) Invalid(pattern);
    spec.type = static_cast<char>(pattern[i] == 'X' ? 'X' : std::tolower(static_cast<unsigned char>(pattern[i])));
    ++i;
    if (next >= args.size()) Invalid(pattern);
    out += FormatOne(pattern, spec, args[next++]);
  }
  return out;
}
