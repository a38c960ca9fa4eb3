// Rounding of amounts as the tax computation relies on it.
#pragma once

#include <cstdint>

#include "platform/rtl/currency.h"
#include "platform/rtl/fraction.h"

// Modes of RoundCurrency: 0 truncate toward zero, 2 round away from zero,
// 1 and any other mode round half away from zero.
enum : int { rcTruncate = 0, rcRoundHalf = 1, rcRoundUp = 2 };

// Amount rounded to whole yen by Mode.
Currency RoundCurrency(int Mode, Currency Amount);
// Value rounded down (toward minus infinity) to a multiple of 10^(1 - Digits):
// Digits 1 whole units, 0 tens, -1 hundreds, -2 thousands. A value that lies
// less than 0.000001 (at the scaled position) below a multiple counts as that
// multiple. Exact: no binary floating point is involved.
Fraction RoundDownDigits(std::int16_t Digits, const Fraction& Value);
// Base raised to Exponent (exp(Exponent * ln Base)); 0 when Base is 0. For
// ratios and factors only, never for amounts.
double PowerExtended(double Base, double Exponent);
