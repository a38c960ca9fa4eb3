// Exact rounding steps of the tax arithmetic. Amounts are Currency; sums,
// products and quotients are carried as exact fractions and change precision
// only through these steps.
#pragma once

#include "platform/rtl/currency.h"
#include "platform/rtl/fraction.h"

namespace taxmath {

// Int(x): toward zero to whole yen.
Currency IntYen(const Fraction& x);
// Toward zero to a multiple of 1,000 / 100 yen.
Currency K1000(const Fraction& x);
Currency K100(const Fraction& x);
// Whole thousands of yen as a number: Int(x / 1000) (1,234,999 gives 1,234).
Currency Thousands(const Fraction& x);
Currency Max0(Currency x);

// Rounding of an amount to whole yen: mode 0 truncates, 2 rounds away from
// zero, any other mode half away from zero.
Currency RoundCurrency(int mode, Currency amount);
// The same for a quotient, which is first taken to Currency's four decimals
// (nearest), as a Currency argument would be.
Currency RoundCurrencyQ(int mode, const Fraction& quotient);

// x rounded down (toward minus infinity) to a multiple of 10^(1 - digits),
// a value a hair (10^-6 of the unit) below a whole unit counting as it.
Fraction RoundDownDigits(int digits, const Fraction& x);

// The quotient a / b, exact; 0 when b is 0.
Fraction SafeDiv(const Fraction& a, const Fraction& b);

}  // namespace taxmath
