// Small helpers shared by the engines.
#pragma once

#include "platform/rtl/currency.h"
#include "tax/convert.h"
#include "tax/taxmath.h"
#include "tax/taxpar.h"

namespace engine {

// The factor names as the engines' formulas write them (IC(par.Era, s, KOMI2NUKI, x)).
using enum TRateFactor;

// Int(ConvertByRate(era, s, name, x)).
inline Currency IC(int era, int slot, TRateFactor name, Currency x) {
  return taxmath::IntYen(ConvertByRate(era, slot, name, x));
}

inline bool HandWritten(const TTAXPAR& par) { return par.EntryMode == "手書"; }

// 95.0 % as a ratio value.
inline constexpr Currency kRatio95 = Currency(95);

}  // namespace engine
