// Schedule 5 of the simplified-taxation forms from 2014-04-01: tax on sales
// by business type, the shares of the types, the deemed purchase tax by the
// weighted rate, by one type with 75 % or more and by two types with a joint
// 75 % or more, and the choice of the largest deduction. Columns: -2 the
// combined column, -1 the total, 0..2 the rate slots.
#include <array>
#include <utility>

#include "tax/engine_util.h"
#include "tax/engines_2014.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

constexpr int kSlots[] = {0, 1, 2};
constexpr int kCombined = -2;
constexpr int kTotal = -1;

TFuhyou5Column& Col(TTaxRun& run, int c) { return run.Fuhyou5_H26[c]; }
Currency& F(TTaxRun& run, int c, int field) { return run.Fuhyou5_H26[c].F[static_cast<std::size_t>(field)]; }

// Fields of business type t: net sales, absolute net sales, share, tax (never
// below 0) and tax before the floor.
int SalesF(int t) { return 6 + t; }
int AbsF(int t) { return 13 + t; }
int ShareF(int t) { return 19 + t; }
int TaxF(int t) { return 26 + t; }
int RawTaxF(int t) { return 33 + t; }

// The two-type rules in field order: 42..51, then 52..56.
constexpr std::array<std::pair<int, int>, 15> kPairsByField = {{
    {1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 3}, {2, 4}, {2, 5}, {3, 4}, {3, 5}, {4, 5},
    {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6},
}};
int PairField(std::size_t n) { return 42 + static_cast<int>(n); }
// The candidates in the order of the choice: the one-type rule, then the
// pairs (1,2), (1,3), (1,4), (1,5), (1,6), (2,3), ... (5,6).
constexpr std::array<int, 16> kChoiceOrder = {41, 42, 43, 44, 45, 52, 46, 47, 48, 53, 49, 50, 54, 51, 55, 56};

Fraction Rate(const TTAXPAR& par, int t) { return Fraction(MinasiRituOf(par, t)); }
std::array<int, 2> SalesCodes(int t) { return {110 + t, 610 + t}; }
std::array<int, 2> ReturnCodes(int t) { return {310 + t, 630 + t}; }

Currency Abs(Currency x) { return x < Currency(0) ? -x : x; }

// RDD(1, x): rounded down to whole yen.
Currency DownYen(const Fraction& x) { return IntYen(RoundDownDigits(1, x)); }

// Sum over the types of Int(tax of type t × its deemed rate).
Currency WeightedTax(TTaxRun& run, const TTAXPAR& par, int c) {
  Currency w;
  for (int t = 1; t <= 6; ++t) w += IntYen(Fraction(F(run, c, TaxF(t))) * Rate(par, t));
  return w;
}

// Joint share of types i and j in column ref, in percent; 0 when the sales of
// the column are 0 or less (no share divides by zero).
Fraction JointShare(TTaxRun& run, int ref, int i, int j) {
  if (!(F(run, ref, 6) > Currency(0))) return Fraction(0);
  return Fraction(F(run, ref, SalesF(i)) + F(run, ref, SalesF(j))) / Fraction(F(run, ref, 6)) * Fraction(100);
}

bool BothTypesHaveSales(TTaxRun& run, int ref, int i, int j) {
  return F(run, ref, AbsF(i)) > Currency(0) && F(run, ref, AbsF(j)) > Currency(0);
}

// The pair qualifies by the test of the weighted method: both types have
// sales and their joint share, rounded to four decimals, is 75 % or more.
bool PairQualifies(TTaxRun& run, int ref, int i, int j) {
  return BothTypesHaveSales(run, ref, i, j) &&
         JointShare(run, ref, i, j).ToCurrency(RoundingMode::HalfAwayFromZero) >= Currency(75);
}

// Whether candidate field k of the choice is a rule that applies to the period.
bool CandidateQualifies(TTaxRun& run, int k) {
  if (k == 41) return Col(run, kCombined).FirstType75 > 0;
  const auto& [i, j] = kPairsByField[static_cast<std::size_t>(k - 42)];
  return PairQualifies(run, kCombined, i, j);
}

// Number of business types with sales over the rate columns.
int TypesWithSales(TTaxRun& run, int* onlyType = nullptr) {
  int count = 0;
  for (int t = 1; t <= 6; ++t) {
    Currency a;
    for (int s : kSlots) a += F(run, s, AbsF(t));
    if (a > Currency(0)) {
      ++count;
      if (onlyType) *onlyType = t;
    }
  }
  return count;
}

// Step 3-4: sales and tax of each business type in rate column s.
void BusinessTypes(TTaxRun& run, const TTAXPAR& par, int s, bool hand) {
  for (int t = 1; t <= 6; ++t) {
    if (!hand) {
      const auto sc = SalesCodes(t);
      const auto rc = ReturnCodes(t);
      F(run, s, SalesF(t)) = IC(par.Era, s, KOMI2NUKI, G(par, s, sc)) + N(par, s, sc) -
                        (IC(par.Era, s, KOMI2NUKI, G(par, s, rc)) + N(par, s, rc));
      F(run, s, RawTaxF(t)) = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, sc)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, sc)) -
                         IC(par.Era, s, KOMI_KOKUZEI, G(par, s, rc)) - IC(par.Era, s, TAX_KOKUZEI, T(par, s, rc));
    } else {
      F(run, s, RawTaxF(t)) = IC(par.Era, s, TAX_ZEIRITU, F(run, s, SalesF(t)));
    }
    F(run, s, TaxF(t)) = Max0(F(run, s, RawTaxF(t)));
  }
  F(run, s, 6) = F(run, s, 13) = F(run, s, 26) = Currency(0);
  for (int t = 1; t <= 6; ++t) {
    F(run, s, 6) += F(run, s, SalesF(t));
    F(run, s, AbsF(t)) = Abs(F(run, s, SalesF(t)));
    F(run, s, 13) += F(run, s, AbsF(t));
    F(run, s, 26) += F(run, s, TaxF(t));
  }
  F(run, s, 33) = F(run, s, 26);
}

// Steps 5-7: the combined column and the shares of the types.
void CombinedColumn(TTaxRun& run) {
  for (int n : {1, 2, 3, 4}) F(run, kCombined, n) = Currency(0);
  for (int n = 6; n <= 19; ++n) F(run, kCombined, n) = Currency(0);
  for (int n = 26; n <= 39; ++n) F(run, kCombined, n) = Currency(0);
  for (int s : kSlots) {
    for (int n : {1, 2, 3, 4}) F(run, kCombined, n) += F(run, s, n);
    for (int n = 6; n <= 19; ++n) F(run, kCombined, n) += F(run, s, n);
    F(run, kCombined, 26) += F(run, s, 33);
    for (int t = 1; t <= 6; ++t) F(run, kCombined, TaxF(t)) += F(run, s, RawTaxF(t));
  }
  for (int n = 6; n <= 12; ++n) F(run, kCombined, n) = Max0(F(run, kCombined, n));

  for (int t = 1; t <= 6; ++t) F(run, kCombined, ShareF(t)) = Currency(0);
  if (F(run, kCombined, 6) > Currency(0)) {
    for (int t = 1; t <= 6; ++t) {
      if (!(F(run, kCombined, SalesF(t)) > Currency(0))) continue;
      const Fraction share =
          RoundDownDigits(2, Fraction(F(run, kCombined, SalesF(t))) / Fraction(F(run, kCombined, 6)) * Fraction(100));
      const Currency c = share.ToCurrency(RoundingMode::TowardZero);
      F(run, kCombined, ShareF(t)) = c > Currency(100) ? Currency(100) : c;
    }
  }

  F(run, kCombined, 33) = F(run, kCombined, 26) = Currency(0);
  for (int t = 1; t <= 6; ++t) {
    F(run, kCombined, RawTaxF(t)) = F(run, kCombined, TaxF(t));
    F(run, kCombined, TaxF(t)) = Max0(F(run, kCombined, TaxF(t)));
    F(run, kCombined, 33) += F(run, kCombined, RawTaxF(t));
    F(run, kCombined, 26) += F(run, kCombined, TaxF(t));
  }
}

constexpr int kAllColumns[] = {-2, -1, 0, 1, 2};
constexpr int kSummedColumns[] = {-1, 0, 1, 2};

// Step 16: the largest candidate over the total and the rate columns.
void Choose(TTaxRun& run, TTAXPAR& par) {
  auto sumOf = [&run](int field) {
    Currency sum;
    for (int c : kSummedColumns) sum += F(run, c, field);
    return sum;
  };
  auto take = [&run](int field) {
    for (int c : kAllColumns) F(run, c, 57) = F(run, c, field);
  };
  take(40);
  Currency best = sumOf(40);
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  for (int k : kChoiceOrder) {
    // Only a rule that applies to the period can be chosen.
    if (!CandidateQualifies(run, k)) continue;
    const Currency sum = sumOf(k);
    if (sum > best) {
      best = sum;
      par.TokureiApplied = true;
      par.TokureiWon = 1;
      par.TokureiKind = k == 41 ? 1 : 2;
      take(k);
    }
  }
  for (int c : kAllColumns) F(run, c, 5) = Currency(0);
  if (TypesWithSales(run) <= 2)
    for (int c : kAllColumns)
      for (int n = 42; n <= 56; ++n) F(run, c, n) = Currency(0);
}

}  // namespace

bool Fuhyou5ColumnHasDataH26(TTaxRun& run, int col) {
  auto anyNegativeTax = [&run](int c) {
    for (int t = 1; t <= 6; ++t)
      if (F(run, c, RawTaxF(t)) < Currency(0)) return true;
    return false;
  };
  if (col == kTotal || (col >= 0 && col <= 2)) {
    if (F(run, col, 2) > Currency(0)) return false;
    return !(F(run, col, 3) > Currency(0) && anyNegativeTax(col));
  }
  if (col == kCombined) {
    for (int s : kSlots)
      if (F(run, s, 2) > Currency(0) || anyNegativeTax(s)) return false;
  }
  return true;
}

void CalcFuhyou5CandidatesH26(int col, TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  F(run, col, 5) = Currency(0);
  for (int n = 40; n <= 56; ++n) F(run, col, n) = Currency(0);
  const Currency basis = F(run, col, 4);
  const Currency taxTotal = F(run, col, 26);

  // Sales of one business type only.
  const int single = Col(run, kCombined).SingleType;
  if (single > 0) {
    F(run, kCombined, 59) = F(run, kCombined, 6);
    F(run, col, 5) = DownYen(Fraction(basis) * Rate(par, single));
    return;
  }
  // Normal: the basis at the deemed rate weighted by the types' tax.
  if (taxTotal > Currency(0))
    F(run, col, 40) = DownYen(Fraction(basis) * Fraction(WeightedTax(run, par, col)) / Fraction(taxTotal));
  // One type with a share of 75 % or more.
  Col(run, kCombined).FirstType75 = 0;
  for (int t = 1; t <= 6; ++t)
    if (F(run, kCombined, ShareF(t)) >= Currency(75)) {
      Col(run, kCombined).FirstType75 = t;
      break;
    }
  if (Col(run, kCombined).FirstType75 > 0)
    F(run, col, 41) = DownYen(Fraction(basis) * Rate(par, Col(run, kCombined).FirstType75));
  // Two types with a joint share of 75 % or more.
  for (std::size_t n = 0; n < kPairsByField.size(); ++n) {
    const auto& [i, j] = kPairsByField[n];
    if (!PairQualifies(run, kCombined, i, j) || taxTotal == Currency(0)) continue;
    const Currency a = IntYen(Fraction(F(run, col, TaxF(i))) * Rate(par, i));
    const Currency b = IntYen(Fraction(taxTotal - F(run, col, TaxF(i))) * Rate(par, j));
    F(run, col, PairField(n)) = DownYen(Fraction(basis) * Fraction(a + b) / Fraction(taxTotal));
  }
}

void CalcFuhyou5DirectMethodH26(int col, TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  par.SpecialCalcApplied = 0;
  if (par.SpecialCalcOn == 0 || !Col(run, col).DirectMethod) return;
  par.SpecialCalcApplied = 1;
  const int ref = col == kTotal ? kTotal : kCombined;
  if (F(run, ref, 13) != Currency(0)) F(run, col, 40) = WeightedTax(run, par, col);
  for (std::size_t n = 0; n < kPairsByField.size(); ++n) {
    const auto& [i, j] = kPairsByField[n];
    if (!BothTypesHaveSales(run, ref, i, j) || JointShare(run, ref, i, j) < Fraction(75)) continue;
    F(run, col, PairField(n)) = IntYen(Fraction(F(run, col, TaxF(i))) * Rate(par, i)) +
                           IntYen(Fraction(F(run, col, 26) - F(run, col, TaxF(i))) * Rate(par, j));
  }
}

bool CalcFuhyou5H26(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  const bool hand = HandWritten(par);

  // 1-4. Basis, business types of each rate column.
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  for (int s : kSlots) F(run, s, 4) = Max0(F(run, s, 1) + F(run, s, 2) - F(run, s, 3));
  for (int s : kSlots) BusinessTypes(run, par, s, hand);

  // 5-7. Combined column and shares.
  CombinedColumn(run);

  // 8-9. Direct-method flags and the choice state.
  for (int s : kSlots) Col(run, s).DirectMethod = Fuhyou5ColumnHasDataH26(run, s);
  Col(run, kCombined).DirectMethod = Fuhyou5ColumnHasDataH26(run, kCombined);
  par.KaniSelect = par.KaniSelectPreset;
  if (par.KaniSelect == 0 && !Col(run, kCombined).DirectMethod) par.KaniSelect = 1;

  // 10. Single business.
  Col(run, kCombined).SingleType = 0;
  Col(run, kCombined).FirstType75 = 0;
  F(run, kCombined, 59) = Currency(0);
  int only = 0;
  if (TypesWithSales(run, &only) == 1) Col(run, kCombined).SingleType = only;

  // 11-12. Candidates of the rate columns and their sums.
  for (int s : kSlots) {
    CalcFuhyou5CandidatesH26(s, run);
    CalcFuhyou5DirectMethodH26(s, run);
  }
  F(run, kCombined, 5) = Currency(0);
  for (int n = 40; n <= 56; ++n) F(run, kCombined, n) = Currency(0);
  for (int s : kSlots) {
    F(run, kCombined, 5) += F(run, s, 5);
    if (Col(run, kCombined).SingleType == 0)
      for (int n = 40; n <= 56; ++n) F(run, kCombined, n) += F(run, s, n);
  }

  // 13-14. The total column; on its own basis when chosen so.
  Col(run, kTotal) = Col(run, kCombined);
  Col(run, kTotal).DirectMethod = Fuhyou5ColumnHasDataH26(run, kTotal);
  if (par.KaniSelect == 1) {
    F(run, kTotal, 4) = Max0(F(run, kTotal, 1) + F(run, kTotal, 2) - F(run, kTotal, 3));
    CalcFuhyou5CandidatesH26(kTotal, run);
    CalcFuhyou5DirectMethodH26(kTotal, run);
  }

  // 15-16. Single business, or the choice among the candidates.
  if (Col(run, kTotal).SingleType > 0) {
    for (int c : kAllColumns) {
      F(run, c, 59) = F(run, c, 6);
      for (int n = 6; n <= 12; ++n) F(run, c, n) = Currency(0);
      for (int n = 20; n <= 32; ++n) F(run, c, n) = Currency(0);
      for (int n = 40; n <= 57; ++n) F(run, c, n) = Currency(0);
    }
  } else {
    Choose(run, par);
  }

  // 17. Sales of the total not below 0; type taxes floored.
  for (int n = 6; n <= 12; ++n) F(run, kTotal, n) = Max0(F(run, kTotal, n));
  for (int c : kAllColumns) {
    F(run, c, 26) = Currency(0);
    for (int t = 1; t <= 6; ++t) {
      F(run, c, TaxF(t)) = Max0(F(run, c, TaxF(t)));
      F(run, c, 26) += F(run, c, TaxF(t));
    }
  }
  return true;
}
