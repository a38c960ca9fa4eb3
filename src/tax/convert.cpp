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
  const char* name;
  std::array<Factor, 5> slots;
};

constexpr Factor kNone{0, 1};

// The rate figures scaled by 100 (6.24 % is 624), so every factor is an exact
// ratio of integers.
constexpr std::array<NamedFactors, 7> kFactors = {{
    {"KOMI2NUKI", {{{10000, 10300}, {10000, 10500}, {10000, 10800}, {10000, 10800}, {10000, 11000}}}},
    {"KOMI_KOKUZEI", {{{300, 10300}, {400, 10500}, {630, 10800}, {624, 10800}, {780, 11000}}}},
    {"NUKI_KOKUZEI", {{kNone, {400, 10000}, {630, 10000}, {624, 10000}, {780, 10000}}}},
    {"NUKI_ZEIGAKU", {{{300, 10000}, {500, 10000}, {800, 10000}, {800, 10000}, {1000, 10000}}}},
    {"TAX_KOKUZEI", {{{1, 1}, {400, 500}, {630, 800}, {624, 800}, {780, 1000}}}},
    {"TAX_ZEIRITU", {{{300, 10000}, {400, 10000}, {630, 10000}, {624, 10000}, {780, 10000}}}},
    {"JYOTOWARI", {{kNone, {25, 100}, {1700, 6300}, kNone, {2200, 7800}}}},
}};

}  // namespace

Fraction RateFactor(int era, int rateSlot, std::string_view name) {
  if (rateSlot < 0 || rateSlot > 4) return Fraction(0);
  if (era < 4 && rateSlot > 2) return Fraction(0);
  for (const auto& f : kFactors) {
    if (name == f.name) {
      const Factor& x = f.slots[static_cast<std::size_t>(rateSlot)];
      return Fraction(x.num, x.den);
    }
  }
  return Fraction(0);
}

Fraction ConvertByRateInEra(int era, int rateSlot, std::string_view name, Currency amount) {
  return Fraction(amount) * RateFactor(era, rateSlot, name);
}

Fraction ConvertByRate(int rateSlot, std::string_view name, Currency amount) {
  return ConvertByRateInEra(TaxPar.Era, rateSlot, name, amount);
}

Fraction TruncRateFactor(const Fraction& factor) { return taxmath::RoundDownDigits(12, factor); }
