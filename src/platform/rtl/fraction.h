// Fraction: an exact rational number for tax arithmetic. Amounts, rate factors
// (7.8/110, 22/78, ...) and ratios are combined exactly (numerator and
// denominator in 128-bit integers, kept reduced) and only change precision at
// the steps that round or truncate, through the explicit conversions below.
#pragma once

#include <compare>
#include <cstdint>

#include "platform/rtl/currency.h"

enum class RoundingMode {
  TowardZero,        // truncation
  HalfAwayFromZero,  // 0.5 -> 1, -0.5 -> -1
  Floor,             // toward minus infinity
  Ceiling,           // toward plus infinity
};

class Fraction {
 public:
  using Int = __int128;

  constexpr Fraction() = default;
  constexpr Fraction(std::int64_t whole) : num_(whole), den_(1) {}
  Fraction(Int num, Int den);                 // den != 0; sign kept on the numerator
  Fraction(Currency c);                       // exact: raw / 10,000

  // Decimal literal "7.8", "6.24", "-0.5" read exactly.
  static Fraction FromDecimal(const char* text);

  Int Numerator() const { return num_; }
  Int Denominator() const { return den_; }
  bool IsZero() const { return num_ == 0; }
  int Sign() const { return num_ > 0 ? 1 : (num_ < 0 ? -1 : 0); }

  Fraction operator-() const;
  friend Fraction operator+(const Fraction& a, const Fraction& b);
  friend Fraction operator-(const Fraction& a, const Fraction& b);
  friend Fraction operator*(const Fraction& a, const Fraction& b);
  friend Fraction operator/(const Fraction& a, const Fraction& b);  // b != 0
  Fraction& operator+=(const Fraction& o) { return *this = *this + o; }
  Fraction& operator-=(const Fraction& o) { return *this = *this - o; }
  Fraction& operator*=(const Fraction& o) { return *this = *this * o; }
  Fraction& operator/=(const Fraction& o) { return *this = *this / o; }
  friend bool operator==(const Fraction& a, const Fraction& b);
  friend std::strong_ordering operator<=>(const Fraction& a, const Fraction& b);

  // The value rounded to a whole number.
  Int ToInteger(RoundingMode mode) const;
  // Rounded to a multiple of `step` yen (1, 100, 1000) and returned as Currency.
  Currency ToYen(RoundingMode mode, std::int64_t step = 1) const;
  // Rounded to Currency's own precision (1/10,000).
  Currency ToCurrency(RoundingMode mode = RoundingMode::HalfAwayFromZero) const;
  double ToDouble() const;

 private:
  void Normalize();
  Int num_ = 0;
  Int den_ = 1;
};
