#include "core/rounding.h"

#include <cmath>

Currency RoundCurrency(int Mode, Currency Amount) {
  constexpr std::int64_t kUnit = Currency::kScale;
  const std::int64_t r = Amount.Raw();
  std::int64_t out;
  switch (Mode) {
    case rcTruncate:
      out = (r / kUnit) * kUnit;
      break;
    case rcRoundUp:
      if (r % kUnit == 0) out = r;
      else if (r < 0) out = ((r - kUnit) / kUnit) * kUnit;
      else out = ((r + kUnit) / kUnit) * kUnit;
      break;
    default:
      if (r < 0) out = ((r - kUnit / 2) / kUnit) * kUnit;
      else out = ((r + kUnit / 2) / kUnit) * kUnit;
      break;
  }
  return Currency::FromRaw(out);
}

namespace {

Fraction PowerOfTen(int exponent) {
  Fraction::Int p = 1;
  for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) p *= 10;
  return exponent >= 0 ? Fraction(p, 1) : Fraction(1, p);
}

}  // namespace

Fraction RoundDownDigits(std::int16_t Digits, const Fraction& Value) {
  const Fraction scale = PowerOfTen(Digits - 1);
  Fraction v = Value * scale;
  if (!v.IsZero()) v = Fraction((v + Fraction(1, 1000000)).ToInteger(RoundingMode::Floor), 1);
  return v * PowerOfTen(1 - Digits);
}

double PowerExtended(double Base, double Exponent) {
  if (Base == 0) return 0;
  return std::exp(Exponent * std::log(Base));
}
