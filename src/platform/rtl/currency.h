// Currency: money as a 64-bit integer scaled by 10,000 (four decimal places),
// the way the accounting data stores it. Never converted through binary
// floating point on the way to or from the database, files or screens.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

class Fraction;

class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;
  // Whole yen; a plain integer literal reads as yen (Currency c = 100;).
  constexpr Currency(int yen) : raw_(static_cast<std::int64_t>(yen) * kScale) {}

  static constexpr Currency FromRaw(std::int64_t raw) { Currency c; c.raw_ = raw; return c; }
  static constexpr Currency FromYen(std::int64_t yen) { return FromRaw(yen * kScale); }
  // Nearest 1/10,000, halves away from zero (for values that arrive as floating point).
  static Currency FromDouble(double value);

  constexpr std::int64_t Raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }

  // Whole yen toward zero / half away from zero.
  constexpr std::int64_t TruncYen() const { return raw_ / kScale; }
  std::int64_t RoundYen() const;

  constexpr Currency operator-() const { return FromRaw(-raw_); }
  constexpr Currency& operator+=(Currency o) { raw_ += o.raw_; return *this; }
  constexpr Currency& operator-=(Currency o) { raw_ -= o.raw_; return *this; }
  friend constexpr Currency operator+(Currency a, Currency b) { return FromRaw(a.raw_ + b.raw_); }
  friend constexpr Currency operator-(Currency a, Currency b) { return FromRaw(a.raw_ - b.raw_); }
  friend constexpr Currency operator*(Currency a, std::int64_t n) { return FromRaw(a.raw_ * n); }
  friend constexpr Currency operator*(std::int64_t n, Currency a) { return FromRaw(a.raw_ * n); }
  friend constexpr bool operator==(Currency, Currency) = default;
  friend constexpr auto operator<=>(Currency, Currency) = default;

 private:
  std::int64_t raw_ = 0;
};

// Plain decimal text without grouping: "1234", "-0.5", "12.3456".
std::string CurrToStr(Currency value);
