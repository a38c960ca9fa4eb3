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

TFuhyou5Column& Col(int c) { return Fuhyou5_H26[c]; }
Currency& F(int c, int field) { return Fuhyou5_H26[c].F[static_cast<std::size_t>(field)]; }

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
Currency WeightedTax(const TTAXPAR& par, int c) {
  Currency w;
  for (int t = 1; t <= 6; ++t) w += IntYen(Fraction(F(c, TaxF(t))) * Rate(par, t));
  return w;
}

// Joint share of types i and j in column ref, in percent; 0 when the sales of
// the column are 0 or less (no share divides by zero).
Fraction JointShare(int ref, int i, int j) {
  if (!(F(ref, 6) > Currency(0))) return Fraction(0);
  return Fraction(F(ref, SalesF(i)) + F(ref, SalesF(j))) / Fraction(F(ref, 6)) * Fraction(100);
}

bool BothTypesHaveSales(int ref, int i, int j) {
  return F(ref, AbsF(i)) > Currency(0) && F(ref, AbsF(j)) > Currency(0);
}

// The pair qualifies by the test of the weighted method: both types have
// sales and their joint share, rounded to four decimals, is 75 % or more.
bool PairQualifies(int ref, int i, int j) {
  return BothTypesHaveSales(ref, i, j) &&
         JointShare(ref, i, j).ToCurrency(RoundingMode::HalfAwayFromZero) >= Currency(75);
}

// Whether candidate field k of the choice is a rule that applies to the period.
bool CandidateQualifies(int k) {
  if (k == 41) return Col(kCombined).FirstType75 > 0;
  const auto& [i, j] = kPairsByField[static_cast<std::size_t>(k - 42)];
  return PairQualifies(kCombined, i, j);
}

// Number of business types with sales over the rate columns.
int TypesWithSales(int* onlyType = nullptr) {
  int count = 0;
  for (int t = 1; t <= 6; ++t) {
    Currency a;
    for (int s : kSlots) a += F(s, AbsF(t));
    if (a > Currency(0)) {
      ++count;
      if (onlyType) *onlyType = t;
    }
  }
  return count;
}

// Step 3-4: sales and tax of each business type in rate column s.
void BusinessTypes(const TTAXPAR& par, int s, bool hand) {
  for (int t = 1; t <= 6; ++t) {
    if (!hand) {
      const auto sc = SalesCodes(t);
      const auto rc = ReturnCodes(t);
      F(s, SalesF(t)) = IC(par.Era, s, KOMI2NUKI, G(par, s, sc)) + N(par, s, sc) -
                        (IC(par.Era, s, KOMI2NUKI, G(par, s, rc)) + N(par, s, rc));
      F(s, RawTaxF(t)) = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, sc)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, sc)) -
                         IC(par.Era, s, KOMI_KOKUZEI, G(par, s, rc)) - IC(par.Era, s, TAX_KOKUZEI, T(par, s, rc));
    } else {
      F(s, RawTaxF(t)) = IC(par.Era, s, TAX_ZEIRITU, F(s, SalesF(t)));
    }
    F(s, TaxF(t)) = Max0(F(s, RawTaxF(t)));
  }
  F(s, 6) = F(s, 13) = F(s, 26) = Currency(0);
  for (int t = 1; t <= 6; ++t) {
    F(s, 6) += F(s, SalesF(t));
    F(s, AbsF(t)) = Abs(F(s, SalesF(t)));
    F(s, 13) += F(s, AbsF(t));
    F(s, 26) += F(s, TaxF(t));
  }
  F(s, 33) = F(s, 26);
}

// Steps 5-7: the combined column and the shares of the types.
void CombinedColumn() {
  for (int n : {1, 2, 3, 4}) F(kCombined, n) = Currency(0);
  for (int n = 6; n <= 19; ++n) F(kCombined, n) = Currency(0);
  for (int n = 26; n <= 39; ++n) F(kCombined, n) = Currency(0);
  for (int s : kSlots) {
    for (int n : {1, 2, 3, 4}) F(kCombined, n) += F(s, n);
    for (int n = 6; n <= 19; ++n) F(kCombined, n) += F(s, n);
    F(kCombined, 26) += F(s, 33);
    for (int t = 1; t <= 6; ++t) F(kCombined, TaxF(t)) += F(s, RawTaxF(t));
  }
  for (int n = 6; n <= 12; ++n) F(kCombined, n) = Max0(F(kCombined, n));

  for (int t = 1; t <= 6; ++t) F(kCombined, ShareF(t)) = Currency(0);
  if (F(kCombined, 6) > Currency(0)) {
    for (int t = 1; t <= 6; ++t) {
      if (!(F(kCombined, SalesF(t)) > Currency(0))) continue;
      const Fraction share =
          RoundDownDigits(2, Fraction(F(kCombined, SalesF(t))) / Fraction(F(kCombined, 6)) * Fraction(100));
      const Currency c = share.ToCurrency(RoundingMode::TowardZero);
      F(kCombined, ShareF(t)) = c > Currency(100) ? Currency(100) : c;
    }
  }

  F(kCombined, 33) = F(kCombined, 26) = Currency(0);
  for (int t = 1; t <= 6; ++t) {
    F(kCombined, RawTaxF(t)) = F(kCombined, TaxF(t));
    F(kCombined, TaxF(t)) = Max0(F(kCombined, TaxF(t)));
    F(kCombined, 33) += F(kCombined, RawTaxF(t));
    F(kCombined, 26) += F(kCombined, TaxF(t));
  }
}

constexpr int kAllColumns[] = {-2, -1, 0, 1, 2};
constexpr int kSummedColumns[] = {-1, 0, 1, 2};

// Step 16: the largest candidate over the total and the rate columns.
void Choose(TTAXPAR& par) {
  auto sumOf = [](int field) {
    Currency sum;
    for (int c : kSummedColumns) sum += F(c, field);
    return sum;
  };
  auto take = [](int field) {
    for (int c : kAllColumns) F(c, 57) = F(c, field);
  };
  take(40);
  Currency best = sumOf(40);
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  for (int k : kChoiceOrder) {
    // Only a rule that applies to the period can be chosen.
    if (!CandidateQualifies(k)) continue;
    const Currency sum = sumOf(k);
    if (sum > best) {
      best = sum;
      par.TokureiApplied = true;
      par.TokureiWon = 1;
      par.TokureiKind = k == 41 ? 1 : 2;
      take(k);
    }
  }
  for (int c : kAllColumns) F(c, 5) = Currency(0);
  if (TypesWithSales() <= 2)
    for (int c : kAllColumns)
      for (int n = 42; n <= 56; ++n) F(c, n) = Currency(0);
}

}  // namespace

bool Fuhyou5ColumnHasDataH26(int col) {
  auto anyNegativeTax = [](int c) {
    for (int t = 1; t <= 6; ++t)
      if (F(c, RawTaxF(t)) < Currency(0)) return true;
    return false;
  };
  if (col == kTotal || (col >= 0 && col <= 2)) {
    if (F(col, 2) > Currency(0)) return false;
    return !(F(col, 3) > Currency(0) && anyNegativeTax(col));
  }
  if (col == kCombined) {
    for (int s : kSlots)
      if (F(s, 2) > Currency(0) || anyNegativeTax(s)) return false;
  }
  return true;
}

void CalcFuhyou5CandidatesH26(int col, TTAXPAR& par, TDAI1HYOU&) {
  F(col, 5) = Currency(0);
  for (int n = 40; n <= 56; ++n) F(col, n) = Currency(0);
  const Currency basis = F(col, 4);
  const Currency taxTotal = F(col, 26);

  // Sales of one business type only.
  const int single = Col(kCombined).SingleType;
  if (single > 0) {
    F(kCombined, 59) = F(kCombined, 6);
    F(col, 5) = DownYen(Fraction(basis) * Rate(par, single));
    return;
  }
  // Normal: the basis at the deemed rate weighted by the types' tax.
  if (taxTotal > Currency(0))
    F(col, 40) = DownYen(Fraction(basis) * Fraction(WeightedTax(par, col)) / Fraction(taxTotal));
  // One type with a share of 75 % or more.
  Col(kCombined).FirstType75 = 0;
  for (int t = 1; t <= 6; ++t)
    if (F(kCombined, ShareF(t)) >= Currency(75)) {
      Col(kCombined).FirstType75 = t;
      break;
    }
  if (Col(kCombined).FirstType75 > 0)
    F(col, 41) = DownYen(Fraction(basis) * Rate(par, Col(kCombined).FirstType75));
  // Two types with a joint share of 75 % or more.
  for (std::size_t n = 0; n < kPairsByField.size(); ++n) {
    const auto& [i, j] = kPairsByField[n];
    if (!PairQualifies(kCombined, i, j) || taxTotal == Currency(0)) continue;
    const Currency a = IntYen(Fraction(F(col, TaxF(i))) * Rate(par, i));
    const Currency b = IntYen(Fraction(taxTotal - F(col, TaxF(i))) * Rate(par, j));
    F(col, PairField(n)) = DownYen(Fraction(basis) * Fraction(a + b) / Fraction(taxTotal));
  }
}

void CalcFuhyou5DirectMethodH26(int col, TTAXPAR& par, TDAI1HYOU&) {
  par.SpecialCalcApplied = 0;
  if (par.SpecialCalcOn == 0 || !Col(col).DirectMethod) return;
  par.SpecialCalcApplied = 1;
  const int ref = col == kTotal ? kTotal : kCombined;
  if (F(ref, 13) != Currency(0)) F(col, 40) = WeightedTax(par, col);
  for (std::size_t n = 0; n < kPairsByField.size(); ++n) {
    const auto& [i, j] = kPairsByField[n];
    if (!BothTypesHaveSales(ref, i, j) || JointShare(ref, i, j) < Fraction(75)) continue;
    F(col, PairField(n)) = IntYen(Fraction(F(col, TaxF(i))) * Rate(par, i)) +
                           IntYen(Fraction(F(col, 26) - F(col, TaxF(i))) * Rate(par, j));
  }
}

bool CalcFuhyou5H26(TTAXPAR& par, TDAI1HYOU& form1) {
  const bool hand = HandWritten(par);

  // 1-4. Basis, business types of each rate column.
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  for (int s : kSlots) F(s, 4) = Max0(F(s, 1) + F(s, 2) - F(s, 3));
  for (int s : kSlots) BusinessTypes(par, s, hand);

  // 5-7. Combined column and shares.
  CombinedColumn();

  // 8-9. Direct-method flags and the choice state.
  for (int s : kSlots) Col(s).DirectMethod = Fuhyou5ColumnHasDataH26(s);
  Col(kCombined).DirectMethod = Fuhyou5ColumnHasDataH26(kCombined);
  par.KaniSelect = par.KaniSelectPreset;
  if (par.KaniSelect == 0 && !Col(kCombined).DirectMethod) par.KaniSelect = 1;

  // 10. Single business.
  Col(kCombined).SingleType = 0;
  Col(kCombined).FirstType75 = 0;
  F(kCombined, 59) = Currency(0);
  int only = 0;
  if (TypesWithSales(&only) == 1) Col(kCombined).SingleType = only;

  // 11-12. Candidates of the rate columns and their sums.
  for (int s : kSlots) {
    CalcFuhyou5CandidatesH26(s, par, form1);
    CalcFuhyou5DirectMethodH26(s, par, form1);
  }
  F(kCombined, 5) = Currency(0);
  for (int n = 40; n <= 56; ++n) F(kCombined, n) = Currency(0);
  for (int s : kSlots) {
    F(kCombined, 5) += F(s, 5);
    if (Col(kCombined).SingleType == 0)
      for (int n = 40; n <= 56; ++n) F(kCombined, n) += F(s, n);
  }

  // 13-14. The total column; on its own basis when chosen so.
  Col(kTotal) = Col(kCombined);
  Col(kTotal).DirectMethod = Fuhyou5ColumnHasDataH26(kTotal);
  if (par.KaniSelect == 1) {
    F(kTotal, 4) = Max0(F(kTotal, 1) + F(kTotal, 2) - F(kTotal, 3));
    CalcFuhyou5CandidatesH26(kTotal, par, form1);
    CalcFuhyou5DirectMethodH26(kTotal, par, form1);
  }

  // 15-16. Single business, or the choice among the candidates.
  if (Col(kTotal).SingleType > 0) {
    for (int c : kAllColumns) {
      F(c, 59) = F(c, 6);
      for (int n = 6; n <= 12; ++n) F(c, n) = Currency(0);
      for (int n = 20; n <= 32; ++n) F(c, n) = Currency(0);
      for (int n = 40; n <= 57; ++n) F(c, n) = Currency(0);
    }
  } else {
    Choose(par);
  }

  // 17. Sales of the total not below 0; type taxes floored.
  for (int n = 6; n <= 12; ++n) F(kTotal, n) = Max0(F(kTotal, n));
  for (int c : kAllColumns) {
    F(c, 26) = Currency(0);
    for (int t = 1; t <= 6; ++t) {
      F(c, TaxF(t)) = Max0(F(c, TaxF(t)));
      F(c, 26) += F(c, TaxF(t));
    }
  }
  return true;
}
