// Small helpers shared by the engines.
#pragma once

#include <string_view>

#include "platform/rtl/currency.h"
#include "tax/convert.h"
#include "tax/taxmath.h"
#include "tax/taxpar.h"

namespace engine {

// Int(ConvertByRate(s, name, x)).
inline Currency IC(int slot, std::string_view name, Currency x) {
  return taxmath::IntYen(ConvertByRate(slot, name, x));
}

inline bool HandWritten(const TTAXPAR& par) { return par.EntryMode == "手書"; }

// 95.0 % as a ratio value.
inline constexpr Currency kRatio95 = Currency(95);

}  // namespace engine
