#include "platform/rtl/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace {

void StripLeadingZeros(std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == '0') ++i;
  s.erase(0, i);
}

// Builds digits from a mantissa text "d.ddd" or "ddd" and a decimal exponent.
DecimalDigits FromScientific(bool negative, std::string digits, int exponent) {
  // value = 0.digits * 10^(exponent + 1) where digits[0] is the first digit.
  DecimalDigits d;
  d.negative = negative;
  int intCount = exponent + 1;
  if (intCount <= 0) {
    d.fracDigits = std::string(static_cast<std::size_t>(-intCount), '0') + digits;
  } else if (static_cast<std::size_t>(intCount) >= digits.size()) {
    d.intDigits = digits + std::string(intCount - digits.size(), '0');
  } else {
    d.intDigits = digits.substr(0, intCount);
    d.fracDigits = digits.substr(intCount);
  }
  StripLeadingZeros(d.intDigits);
  d.TrimFractionZeros();
  if (d.IsZero()) d.negative = false;
  return d;
}

DecimalDigits FromCharsScientific(double value, const char* first, const char* last) {
  // Text like "-1.2345e+03".
  std::string text(first, last);
  bool negative = false;
  if (!text.empty() && text[0] == '-') { negative = true; text.erase(0, 1); }
  std::size_t e = text.find('e');
  int exponent = std::atoi(text.c_str() + e + 1);
  std::string mantissa = text.substr(0, e);
  std::string digits;
  for (char c : mantissa) if (c != '.') digits += c;
  (void)value;
  return FromScientific(negative, digits, exponent);
}

}  // namespace

DecimalDigits DecimalDigits::FromScaled(std::int64_t raw, int scale) {
  DecimalDigits d;
  d.negative = raw < 0;
  // Magnitude through unsigned arithmetic so that INT64_MIN works.
  std::uint64_t mag = d.negative ? (~static_cast<std::uint64_t>(raw) + 1) : static_cast<std::uint64_t>(raw);
  std::string all = std::to_string(mag);
  if (static_cast<int>(all.size()) <= scale) all.insert(0, scale - all.size() + 1, '0');
  d.intDigits = all.substr(0, all.size() - scale);
  d.fracDigits = all.substr(all.size() - scale);
  StripLeadingZeros(d.intDigits);
  if (d.IsZero()) d.negative = false;
  return d;
}

DecimalDigits DecimalDigits::FromDoubleShortest(double value) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  return FromCharsScientific(value, buf, r.ptr);
}

DecimalDigits DecimalDigits::FromDoubleSignificant(double value, int significant) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
  return FromCharsScientific(value, buf, r.ptr);
}

bool DecimalDigits::IsZero() const {
  for (char c : intDigits) if (c != '0') return false;
  for (char c : fracDigits) if (c != '0') return false;
  return true;
}

void DecimalDigits::TrimFractionZeros() {
  while (!fracDigits.empty() && fracDigits.back() == '0') fracDigits.pop_back();
}

void DecimalDigits::RoundHalfAwayFromZero(int decimals) {
  std::size_t n = static_cast<std::size_t>(decimals);
  if (fracDigits.size() <= n) {
    fracDigits.append(n - fracDigits.size(), '0');
    return;
  }
  bool up = fracDigits[n] >= '5';
  fracDigits.resize(n);
  if (up) {
    std::string all = intDigits + fracDigits;
    int i = static_cast<int>(all.size()) - 1;
    while (i >= 0 && all[i] == '9') { all[i] = '0'; --i; }
    if (i >= 0) ++all[i];
    else all.insert(0, 1, '1');
    intDigits = all.substr(0, all.size() - n);
    fracDigits = all.substr(all.size() - n);
    StripLeadingZeros(intDigits);
  }
  if (IsZero()) negative = false;
}

bool DecimalDigits::ToScaledInt64(int scale, std::int64_t& out) const {
  std::size_t n = static_cast<std::size_t>(scale);
  for (std::size_t i = n; i < fracDigits.size(); ++i)
    if (fracDigits[i] != '0') return false;
  std::string all = intDigits + fracDigits.substr(0, std::min(n, fracDigits.size()));
  if (fracDigits.size() < n) all.append(n - fracDigits.size(), '0');
  StripLeadingZeros(all);
  if (all.empty()) { out = 0; return true; }
  std::uint64_t mag = 0;
  auto r = std::from_chars(all.data(), all.data() + all.size(), mag);
  if (r.ec != std::errc() || r.ptr != all.data() + all.size()) return false;
  constexpr std::uint64_t kMaxPos = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (negative) {
    if (mag > kMaxPos + 1) return false;
    out = static_cast<std::int64_t>(~mag + 1);
  } else {
    if (mag > kMaxPos) return false;
    out = static_cast<std::int64_t>(mag);
  }
  return true;
}

std::string DecimalDigits::ToPlainString() const {
  std::string frac = fracDigits;
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  std::string s = negative && !IsZero() ? "-" : "";
  s += intDigits.empty() ? "0" : intDigits;
  if (!frac.empty()) s += "." + frac;
  return s;
}
