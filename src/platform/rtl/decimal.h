// Decimal digit strings shared by the number conversions and formatters: a
// value is split into sign, integer digits and fraction digits so that
// rounding and formatting work on decimal text, never on binary fractions.
#pragma once

#include <cstdint>
#include <string>

struct DecimalDigits {
  bool negative = false;
  std::string intDigits;   // without leading zeros; empty for a zero integer part
  std::string fracDigits;  // any number of digits, trailing zeros allowed

  // Exact value of raw / 10^scale.
  static DecimalDigits FromScaled(std::int64_t raw, int scale);
  static DecimalDigits FromInt(std::int64_t value) { return FromScaled(value, 0); }
  // The shortest decimal text that reads back as the same double.
  static DecimalDigits FromDoubleShortest(double value);
  // The double rounded to `significant` decimal digits (the runtime uses 15).
  static DecimalDigits FromDoubleSignificant(double value, int significant = 15);

  bool IsZero() const;
  // Keeps at most `decimals` fraction digits (padding with zeros to exactly
  // that many), halves away from zero.
  void RoundHalfAwayFromZero(int decimals);
  void TrimFractionZeros();
  // raw = value * 10^scale when exact and in range.
  bool ToScaledInt64(int scale, std::int64_t& out) const;
  // "-12.34", "0", "0.5": no grouping, no trailing fraction zeros.
  std::string ToPlainString() const;
};
