// Conversion of an amount by a named factor of a rate slot: tax-inclusive to
// net, national tax, local transfer tax. The factors are exact fractions
// (7.8/110, 22/78, ...): the amount is multiplied first and divided last, and
// the callers truncate or round the exact result where the forms say so.
#pragma once

#include <string_view>

#include "platform/rtl/currency.h"
#include "platform/rtl/fraction.h"

// Names: "KOMI2NUKI", "KOMI_KOKUZEI", "NUKI_KOKUZEI", "NUKI_ZEIGAKU",
// "TAX_KOKUZEI", "TAX_ZEIRITU", "JYOTOWARI" (case-sensitive). Any other name,
// a slot outside 0..4, an empty cell of the factor table, and slots 3 and 4
// before era 4 (TaxPar.Era) give 0.
Fraction ConvertByRate(int rateSlot, std::string_view name, Currency amount);
// The same for an explicit era.
Fraction ConvertByRateInEra(int era, int rateSlot, std::string_view name, Currency amount);

// The exact factor itself (0 where ConvertByRate gives 0).
Fraction RateFactor(int era, int rateSlot, std::string_view name);

// A factor rounded down to 11 decimals. Kept for display; no computation
// uses a truncated factor.
Fraction TruncRateFactor(const Fraction& factor);
