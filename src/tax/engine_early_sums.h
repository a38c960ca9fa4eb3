// Code sets of the forms before 2014-04-01, which know business types 1 to 5
// only (no codes 116, 316, 616, 636), and small shared helpers of those
// engines. The remaining sets (purchases, imports, adjustments, collected bad
// debts) are those of taxsums.
#pragma once

#include <array>

#include "platform/rtl/currency.h"
#include "tax/engine_util.h"
#include "tax/taxsums.h"

namespace early {

// The two rate columns: 3 % takes rate slot 0, 4 % rate slot 1.
inline constexpr int k3 = 0;
inline constexpr int k4 = 1;

inline constexpr std::array<int, 12> kS = {110, 111, 112, 113, 114, 115, 610, 611, 612, 613, 614, 615};
inline constexpr std::array<int, 12> kR = {310, 311, 312, 313, 314, 315, 630, 631, 632, 633, 634, 635};
// Sales codes of all business types (not 110 and 610).
inline constexpr std::array<int, 10> kK = {111, 112, 113, 114, 115, 611, 612, 613, 614, 615};
inline constexpr std::array<int, 2> kB = {410, 640};
inline constexpr std::array<int, 2> kExemptPlus = {120, 220};
inline constexpr std::array<int, 2> kExemptMinus = {320, 420};
inline constexpr std::array<int, 2> kExportPlus = {150, 250};
inline constexpr std::array<int, 2> kExportMinus = {350, 450};

// Sales and returns codes of business type k (1..5).
inline std::array<int, 2> SalesCodes(int k) { return {110 + k, 610 + k}; }
inline std::array<int, 2> ReturnCodes(int k) { return {310 + k, 630 + k}; }

// G + N + T of a code set in one rate slot.
template <typename Codes>
Currency AllBlocks(const TTAXPAR& par, int s, const Codes& codes) {
  return taxsums::G(par, s, codes) + taxsums::N(par, s, codes) + taxsums::T(par, s, codes);
}

// Tax of a returns, bad-debt or recovery line of a rate column of the era: the national
// tax in the tax-inclusive amount g, truncated, plus the booked tax t (at
// 100 % in the 3 % column, its truncated 80 % in the 4 % column).
inline Currency TaxOfLine(int era, int s, Currency g, Currency t) {
  return engine::IC(era, s, TRateFactor::KOMI_KOKUZEI, g) + (s == k3 ? t : engine::IC(era, s, TRateFactor::TAX_KOKUZEI, t));
}

}  // namespace early
