// Conversion of an amount by a named factor of a rate slot: tax-inclusive to
// net, national tax, local transfer tax. The factors are exact fractions
// (7.8/110, 22/78, ...): the amount is multiplied first and divided last, and
// the callers truncate or round the exact result where the forms say so.
#pragma once

#include "platform/rtl/currency.h"
#include "platform/rtl/fraction.h"

// The named factors. A name is one of these values, never a text, so a
// misspelt name does not compile.
enum class TRateFactor : int {
  KOMI2NUKI,     // net part of a tax-inclusive amount
  KOMI_KOKUZEI,  // national tax contained in a tax-inclusive amount
  NUKI_KOKUZEI,  // national tax on a net amount
  NUKI_ZEIGAKU,  // tax (national and local) on a net amount
  TAX_KOKUZEI,   // national part of a tax amount
  TAX_ZEIRITU,   // national tax on a taxable base
  JYOTOWARI,     // local transfer tax on a national-tax base
};

// A slot outside 0..4, an empty cell of the factor table, slots 3 and 4
// before era 4 and a value outside the enumeration give 0.
Fraction ConvertByRate(int era, int rateSlot, TRateFactor name, Currency amount);

// The exact factor itself (0 where ConvertByRate gives 0).
Fraction RateFactor(int era, int rateSlot, TRateFactor name);

// A factor rounded down to 11 decimals. Kept for display; no computation
// uses a truncated factor.
Fraction TruncRateFactor(const Fraction& factor);
