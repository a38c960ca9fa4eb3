#include "tax/taxmath.h"

namespace taxmath {

Currency IntYen(const Fraction& x) { return x.ToYen(RoundingMode::TowardZero); }
Currency K1000(const Fraction& x) { return x.ToYen(RoundingMode::TowardZero, 1000); }
Currency K100(const Fraction& x) { return x.ToYen(RoundingMode::TowardZero, 100); }
Currency Thousands(const Fraction& x) { return IntYen(x / Fraction(1000)); }
Currency Max0(Currency x) { return x < Currency(0) ? Currency(0) : x; }

Currency RoundCurrency(int mode, Currency amount) {
  const std::int64_t r = amount.Raw();
  const std::int64_t s = Currency::kScale;
  switch (mode) {
    case 0: return Currency::FromRaw((r / s) * s);
    case 2:
      if (r % s == 0) return amount;
      return Currency::FromRaw(r < 0 ? ((r - s) / s) * s : ((r + s) / s) * s);
    default: return Currency::FromRaw(r < 0 ? ((r - s / 2) / s) * s : ((r + s / 2) / s) * s);
  }
}

Currency RoundCurrencyQ(int mode, const Fraction& quotient) {
  return RoundCurrency(mode, quotient.ToCurrency(RoundingMode::HalfAwayFromZero));
}

Fraction RoundDownDigits(int digits, const Fraction& x) {
  Fraction scale(1);
  for (int i = 0; i < digits - 1; ++i) scale *= Fraction(10);
  for (int i = 0; i < 1 - digits; ++i) scale /= Fraction(10);
  Fraction v = x * scale;
  if (!v.IsZero()) v = Fraction((v + Fraction(1, 1000000)).ToInteger(RoundingMode::Floor), 1);
  return v / scale;
}

Fraction SafeDiv(const Fraction& a, const Fraction& b) { return b.IsZero() ? Fraction(0) : a / b; }

}  // namespace taxmath
