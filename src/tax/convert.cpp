#include "tax/convert.h"

#include <array>

#include "tax/taxmath.h"
#include "tax/taxpar.h"

namespace {

struct Factor {
  std::int64_t num;  // the factor is num / den, both scaled by 100
  std::int64_t den;
};

struct NamedFactors {
  TRateFactor name;
  std::array<Factor, 5> slots;
};

constexpr Factor kNone{0, 1};

// The rate figures scaled by 100 (6.24 % is 624), so every factor is an exact
// ratio of integers. Rows in the order of the enumeration.
constexpr std::array<NamedFactors, 7> kFactors = {{
    {TRateFactor::KOMI2NUKI, {{{10000, 10300}, {10000, 10500}, {10000, 10800}, {10000, 10800}, {10000, 11000}}}},
    {TRateFactor::KOMI_KOKUZEI, {{{300, 10300}, {400, 10500}, {630, 10800}, {624, 10800}, {780, 11000}}}},
    {TRateFactor::NUKI_KOKUZEI, {{kNone, {400, 10000}, {630, 10000}, {624, 10000}, {780, 10000}}}},
    {TRateFactor::NUKI_ZEIGAKU, {{{300, 10000}, {500, 10000}, {800, 10000}, {800, 10000}, {1000, 10000}}}},
    {TRateFactor::TAX_KOKUZEI, {{{1, 1}, {400, 500}, {630, 800}, {624, 800}, {780, 1000}}}},
    {TRateFactor::TAX_ZEIRITU, {{{300, 10000}, {400, 10000}, {630, 10000}, {624, 10000}, {780, 10000}}}},
    {TRateFactor::JYOTOWARI, {{kNone, {25, 100}, {1700, 6300}, kNone, {2200, 7800}}}},
}};

constexpr bool RowsInEnumOrder() {
  for (std::size_t i = 0; i < kFactors.size(); ++i)
    if (static_cast<std::size_t>(kFactors[i].name) != i) return false;
  return true;
}
static_assert(RowsInEnumOrder(), "the factor rows follow TRateFactor");

}  // namespace

Fraction RateFactor(int era, int rateSlot, TRateFactor name) {
  if (rateSlot < 0 || rateSlot > 4) return Fraction(0);
  if (era < 4 && rateSlot > 2) return Fraction(0);
  const auto row = static_cast<std::size_t>(name);
  if (row >= kFactors.size()) return Fraction(0);
  const Factor& x = kFactors[row].slots[static_cast<std::size_t>(rateSlot)];
  return Fraction(x.num, x.den);
}

Fraction ConvertByRate(int era, int rateSlot, TRateFactor name, Currency amount) {
  return Fraction(amount) * RateFactor(era, rateSlot, name);
}


Fraction TruncRateFactor(const Fraction& factor) { return taxmath::RoundDownDigits(12, factor); }
