// Schedule 5-1 of the simplified-taxation forms from 2019-10-01: tax on sales
// by business type, the shares of the types, the deemed purchase tax by the
// weighted rate, by one type with 75 % or more and by two types with a joint
// 75 % or more, and the choice of the largest deduction.
#include <array>
#include <utility>

#include "tax/engine_util.h"
#include "tax/engines_r01.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

TFuhyou5Column& Col(TTaxRun& run, int c) { return run.Fuhyou51_R01[c]; }
Currency& F(TTaxRun& run, int c, int field) { return run.Fuhyou51_R01[c].F[static_cast<std::size_t>(field)]; }

// Sales field (7..12), absolute sales (14..19), share (20..25), tax (27..32)
// and computed tax (34..39) of business type k.
int SalesF(int k) { return 6 + k; }
int AbsF(int k) { return 13 + k; }
int ShareF(int k) { return 19 + k; }
int TaxF(int k) { return 26 + k; }
int RawTaxF(int k) { return 33 + k; }

// The pairs in field order: 42..51 then 52..56.
constexpr std::array<std::pair<int, int>, 15> kPairsByField = {{
    {1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 3}, {2, 4}, {2, 5}, {3, 4}, {3, 5}, {4, 5},
    {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6},
}};
int PairField(int i, int j) {
  for (std::size_t n = 0; n < kPairsByField.size(); ++n)
    if (kPairsByField[n].first == i && kPairsByField[n].second == j) return 42 + static_cast<int>(n);
  return 0;
}
// The pairs in the order of the choice.
constexpr std::array<std::pair<int, int>, 15> kPairsByChoice = {{
    {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {2, 3}, {2, 4}, {2, 5}, {2, 6},
    {3, 4}, {3, 5}, {3, 6}, {4, 5}, {4, 6}, {5, 6},
}};

Fraction Rate(const TTAXPAR& par, int k) { return Fraction(MinasiRituOf(par, k)); }

// Business-type codes of type k: sales 11k and 61k, returns 31k and 63k.
std::array<int, 2> SalesCodes(int k) { return {110 + k, 610 + k}; }
std::array<int, 2> ReturnCodes(int k) { return {310 + k, 630 + k}; }
constexpr std::array<int, 12> kK = {111, 112, 113, 114, 115, 116, 611, 612, 613, 614, 615, 616};
constexpr std::array<int, 12> kKR = {311, 312, 313, 314, 315, 316, 631, 632, 633, 634, 635, 636};

template <typename Codes>
Currency NetSales(const TTAXPAR& par, int s, const Codes& codes) {
  return IC(par.Era, s, KOMI2NUKI, G(par, s, codes)) + N(par, s, codes);
}
template <typename Codes>
Currency SalesTax(const TTAXPAR& par, int s, const Codes& codes) {
  return IC(par.Era, s, TAX_KOKUZEI, T(par, s, codes)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, codes));
}

// The weighted deduction: the sum over the types of Int(tax of type k × rate k).
Currency WeightedTax(TTaxRun& run, const TTAXPAR& par, int c) {
  Currency w;
  for (int k = 1; k <= 6; ++k) w += IntYen(Fraction(F(run, c, TaxF(k))) * Rate(par, k));
  return w;
}

// Two-type rule: type i takes its own rate, all other business tax that of j.
Currency PairTax(TTaxRun& run, const TTAXPAR& par, int c, int i, int j) {
  return IntYen(Fraction(F(run, c, TaxF(i))) * Rate(par, i)) + IntYen(Fraction(F(run, c, 26) - F(run, c, TaxF(i))) * Rate(par, j));
}

// Number of business types with sales, over the slots of the run.
int TypesWithSales(TTaxRun& run, int t, std::array<Currency, 7>& a) {
  int count = 0;
  for (int k = 1; k <= 6; ++k) {
    a[static_cast<std::size_t>(k)] = Currency(0);
    for (int s = 0; s <= t; ++s) a[static_cast<std::size_t>(k)] += F(run, s, AbsF(k));
    if (a[static_cast<std::size_t>(k)] > Currency(0)) ++count;
  }
  return count;
}

void ClearCandidates(TTaxRun& run, int c) {
  F(run, c, 5) = Currency(0);
  for (int n = 40; n <= 56; ++n) F(run, c, n) = Currency(0);
}

}  // namespace

bool Fuhyou51ColumnHasData(TTaxRun& run, int c) {
  auto anyNegativeTax = [&run](int col) {
    for (int k = 1; k <= 6; ++k)
      if (F(run, col, RawTaxF(k)) < Currency(0)) return true;
    return false;
  };
  if (c == -1 || (c >= 0 && c <= 4)) {
    if (F(run, c, 2) > Currency(0)) return false;
    if (F(run, c, 3) > Currency(0) && anyNegativeTax(c)) return false;
    return true;
  }
  if (c == -2) {
    for (int s = 0; s <= 4; ++s)
      if (F(run, s, 2) > Currency(0) || anyNegativeTax(s)) return false;
    return true;
  }
  return true;
}

void ClearFuhyou51Column(TTaxRun& run, int c) { Col(run, c) = TFuhyou5Column{}; }

void CalcFuhyou51Candidates(int c, TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  ClearCandidates(run, c);
  const int single = Col(run, -2).SingleType;
  if (single > 0) {
    F(run, -2, 59) = F(run, -2, 6);
    F(run, c, 5) = IntYen(RoundDownDigits(1, Fraction(F(run, c, 4)) * Rate(par, single)));
    return;
  }
  const Currency basis = F(run, c, 4);
  const Currency taxTotal = F(run, c, 26);
  // Normal: the basis weighted by the deemed rates of the types' tax.
  if (taxTotal > Currency(0))
    F(run, c, 40) = IntYen(RoundDownDigits(1, Fraction(basis) * Fraction(WeightedTax(run, par, c)) / Fraction(taxTotal)));
  // One type with a share of 75 % or more.
  Col(run, -2).FirstType75 = 0;
  for (int k = 1; k <= 6; ++k)
    if (F(run, -2, ShareF(k)) >= Currency(75)) {
      Col(run, -2).FirstType75 = k;
      break;
    }
  if (Col(run, -2).FirstType75 > 0)
    F(run, c, 41) = IntYen(RoundDownDigits(1, Fraction(basis) * Rate(par, Col(run, -2).FirstType75)));
  // Two types with a joint share of 75 % or more.
  for (const auto& [i, j] : kPairsByField) {
    if (!(F(run, -2, AbsF(i)) > Currency(0) && F(run, -2, AbsF(j)) > Currency(0))) continue;
    Currency p;
    if (F(run, -2, 6) != Currency(0)) {
      p = (Fraction(F(run, -2, SalesF(i)) + F(run, -2, SalesF(j))) / Fraction(F(run, -2, 6)) * Fraction(100))
              .ToCurrency(RoundingMode::HalfAwayFromZero);
    }
    if (p < Currency(75)) continue;
    Currency a = IntYen(Fraction(F(run, c, TaxF(i))) * Rate(par, i));
    Currency b = IntYen(Fraction(taxTotal - F(run, c, TaxF(i))) * Rate(par, j));
    F(run, c, PairField(i, j)) = taxTotal != Currency(0)
                                ? IntYen(RoundDownDigits(1, Fraction(basis) * Fraction(a + b) / Fraction(taxTotal)))
                                : Currency(0);
  }
}

void CalcFuhyou51DirectMethod(int c, TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  par.SpecialCalcApplied = 0;
  if (par.SpecialCalcOn == 0 || !Col(run, c).DirectMethod) return;
  par.SpecialCalcApplied = 1;
  const int ref = (c == -1 || c == -3) ? c : -2;
  if (F(run, ref, 13) != Currency(0)) F(run, c, 40) = WeightedTax(run, par, c);
  for (const auto& [i, j] : kPairsByField) {
    if (!(F(run, ref, AbsF(i)) > Currency(0) && F(run, ref, AbsF(j)) > Currency(0))) continue;
    Fraction p = F(run, ref, 6) != Currency(0)
                     ? Fraction(F(run, ref, SalesF(i)) + F(run, ref, SalesF(j))) / Fraction(F(run, ref, 6)) * Fraction(100)
                     : Fraction(0);
    if (p >= Fraction(75)) F(run, c, PairField(i, j)) = PairTax(run, par, c, i, j);
  }
}

bool CalcFuhyou51R01(TTaxRun& run, int col) {
  TTAXPAR& par = run.TaxPar;
  const int t = col == -3 ? 2 : 4;
  const bool hand = HandWritten(par);

  // 1-2. Clear; deduction basis.
  ClearFuhyou51Column(run, col);
  ClearFuhyou51Column(run, -2);
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  for (int s = 0; s <= t; ++s) F(run, s, 4) = Max0(F(run, s, 1) + F(run, s, 2) - F(run, s, 3));

  // 3-4. Business-type sales and tax of each slot.
  for (int s = 0; s <= t; ++s) {
    if (!hand) {
      F(run, s, 6) = NetSales(par, s, kK) - NetSales(par, s, kKR);
      for (int k = 1; k <= 6; ++k) {
        F(run, s, SalesF(k)) = NetSales(par, s, SalesCodes(k)) - NetSales(par, s, ReturnCodes(k));
        F(run, s, RawTaxF(k)) = SalesTax(par, s, SalesCodes(k)) - SalesTax(par, s, ReturnCodes(k));
      }
    } else {
      for (int k = 1; k <= 6; ++k) F(run, s, RawTaxF(k)) = IC(par.Era, s, TAX_ZEIRITU, F(run, s, SalesF(k)));
    }
    F(run, s, 13) = Currency(0);
    F(run, s, 26) = Currency(0);
    for (int k = 1; k <= 6; ++k) {
      F(run, s, TaxF(k)) = Max0(F(run, s, RawTaxF(k)));
      F(run, s, AbsF(k)) = F(run, s, SalesF(k)) < Currency(0) ? -F(run, s, SalesF(k)) : F(run, s, SalesF(k));
      F(run, s, 13) += F(run, s, AbsF(k));
      F(run, s, 26) += F(run, s, TaxF(k));
    }
    F(run, s, 33) = F(run, s, 26);
  }

  // 5. Work total and shares.
  for (int s = 0; s <= t; ++s) {
    for (int n = 1; n <= 4; ++n) F(run, -2, n) += F(run, s, n);
    for (int n = 6; n <= 19; ++n) F(run, -2, n) += F(run, s, n);
    F(run, -2, 26) += F(run, s, 33);
    for (int k = 1; k <= 6; ++k) F(run, -2, TaxF(k)) += F(run, s, RawTaxF(k));
  }
  for (int n = 6; n <= 12; ++n) F(run, -2, n) = Max0(F(run, -2, n));
  if (F(run, -2, 6) > Currency(0)) {
    for (int k = 1; k <= 6; ++k) {
      if (!(F(run, -2, SalesF(k)) > Currency(0))) continue;
      Fraction share = RoundDownDigits(2, Fraction(F(run, -2, SalesF(k))) / Fraction(F(run, -2, 6)) * Fraction(100));
      Currency c = share.ToCurrency(RoundingMode::TowardZero);
      F(run, -2, ShareF(k)) = c > Currency(100) ? Currency(100) : c;
    }
  }
  F(run, -2, 26) = Currency(0);
  F(run, -2, 33) = Currency(0);
  for (int k = 1; k <= 6; ++k) {
    F(run, -2, RawTaxF(k)) = F(run, -2, TaxF(k));
    F(run, -2, TaxF(k)) = Max0(F(run, -2, TaxF(k)));
    F(run, -2, 33) += F(run, -2, RawTaxF(k));
    F(run, -2, 26) += F(run, -2, TaxF(k));
  }

  // 6. Direct-method test and the choice state.
  for (int s = 0; s <= t; ++s) Col(run, s).DirectMethod = Fuhyou51ColumnHasData(run, s);
  Col(run, -2).DirectMethod = Fuhyou51ColumnHasData(run, -2);
  par.KaniSelect = par.KaniSelectPreset;
  if (par.KaniSelect == 0 && !Col(run, -2).DirectMethod) par.KaniSelect = 1;

  // 7. Single business.
  Col(run, -2).SingleType = 0;
  F(run, -2, 59) = Currency(0);
  Col(run, -2).FirstType75 = 0;
  std::array<Currency, 7> a{};
  if (TypesWithSales(run, t, a) == 1)
    for (int k = 1; k <= 6; ++k)
      if (a[static_cast<std::size_t>(k)] > Currency(0)) Col(run, -2).SingleType = k;

  // 8-9. Candidates of the slots and their sums.
  for (int s = 0; s <= t; ++s) {
    CalcFuhyou51Candidates(s, run);
    CalcFuhyou51DirectMethod(s, run);
  }
  ClearCandidates(run, -2);
  if (Col(run, -2).SingleType > 0) {
    for (int s = 0; s <= 4; ++s) F(run, -2, 5) += F(run, s, 5);
  } else {
    for (int s = 0; s <= t; ++s) {
      F(run, -2, 5) += F(run, s, 5);
      for (int n = 40; n <= 56; ++n) F(run, -2, n) += F(run, s, n);
    }
  }

  // 10-11. The total column; recomputed on its own figures when chosen.
  Col(run, col) = Col(run, -2);
  Col(run, col).DirectMethod = Fuhyou51ColumnHasData(run, col);
  if (par.KaniSelect == 1) {
    F(run, col, 4) = Max0(F(run, col, 1) + F(run, col, 2) - F(run, col, 3));
    if (col == -1) {
      Col(run, -3).DirectMethod = Col(run, -1).DirectMethod;
      CalcFuhyou51Candidates(-3, run);
      CalcFuhyou51DirectMethod(-3, run);
    }
    CalcFuhyou51Candidates(col, run);
    CalcFuhyou51DirectMethod(col, run);
  }

  // 12. Single business, or the choice among the candidates.
  if (Col(run, col).SingleType > 0) {
    for (int c = -3; c <= t; ++c) {
      F(run, c, 59) = F(run, c, 6);
      for (int n = 6; n <= 12; ++n) F(run, c, n) = Currency(0);
      for (int n = 20; n <= 32; ++n) F(run, c, n) = Currency(0);
      for (int n = 40; n <= 57; ++n) F(run, c, n) = Currency(0);
    }
  } else if (col == -1) {
    auto sumOver = [&run, t](int field) {
      Currency sum;
      for (int c = -1; c <= t; ++c) sum += F(run, c, field);
      return sum;
    };
    auto choose = [&run, t](int field) {
      for (int c = -3; c <= t; ++c) F(run, c, 57) = F(run, c, field);
    };
    choose(40);
    Currency best = sumOver(40);
    par.TokureiApplied = false;
    par.TokureiKind = 0;
    auto consider = [&](int field, int kind) {
      Currency sum = sumOver(field);
      if (sum > best) {
        best = sum;
        par.TokureiApplied = true;
        par.TokureiWon = 1;
        par.TokureiKind = kind;
        choose(field);
      }
    };
    consider(41, 1);
    for (const auto& [i, j] : kPairsByChoice) consider(PairField(i, j), 2);
    for (int c = -3; c <= t; ++c) F(run, c, 5) = Currency(0);
    if (TypesWithSales(run, t, a) <= 2)
      for (int c = -3; c <= t; ++c)
        for (int n = 42; n <= 56; ++n) F(run, c, n) = Currency(0);
  }

  // 13-14. Sales not below 0 in the total; the old-rate subtotal's sales.
  if (col == -1)
    for (int n = 6; n <= 12; ++n) F(run, -1, n) = Max0(F(run, -1, n));
  for (int n = 6; n <= 12; ++n) F(run, -3, n) = F(run, 0, n) + F(run, 1, n) + F(run, 2, n);
  for (int c = -3; c <= t; ++c) {
    F(run, c, 26) = Currency(0);
    for (int k = 1; k <= 6; ++k) {
      F(run, c, TaxF(k)) = Max0(F(run, c, TaxF(k)));
      F(run, c, 26) += F(run, c, TaxF(k));
    }
  }
  return true;
}

bool CalcFuhyou5R01(TTaxRun& run, int col) {
  CalcFuhyou51R01(run, col);
  if (col != -1) return true;
  const int single = Col(run, -1).SingleType;
  for (int c = -3; c <= 4; ++c)
    run.Fuhyou41_R01[c].F[5] = c == -2 ? Currency(0) : (single > 0 ? F(run, c, 5) : F(run, c, 57));
  run.Dai1Hyou.Gyousyu = {};
  if (single > 0) {
    const Currency thousands = RoundCurrencyQ(1, Fraction(F(run, -1, 59)) / Fraction(1000));
    run.Dai1Hyou.Gyousyu[static_cast<std::size_t>(single - 1)].Sales = thousands;
    run.Dai1Hyou.Gyousyu[static_cast<std::size_t>(single - 1)].Share = Currency(100);
    run.Dai1Hyou.GyousyuTotal = thousands;
  } else {
    Currency total;
    for (int k = 1; k <= 6; ++k) {
      auto& row = run.Dai1Hyou.Gyousyu[static_cast<std::size_t>(k - 1)];
      row.Sales = RoundCurrencyQ(1, Fraction(F(run, -1, SalesF(k))) / Fraction(1000));
      row.Share = F(run, -1, ShareF(k));
      total += F(run, -1, SalesF(k));
    }
    run.Dai1Hyou.GyousyuTotal = RoundCurrencyQ(1, Fraction(total) / Fraction(1000));
  }
  return true;
}
