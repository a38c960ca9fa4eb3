// Schedule 5 of the simplified-taxation forms before 2014-04-01: sales and tax
// of business types 1 to 5, the single-type case, the normal calculation, the
// 75 % rules for one type (candidate 19) and for two types (candidates 20 to
// 29), the choice of the largest, and the optional special calculation.
// Every line keeps a total field and a 4 % field; the 3 % part is their
// difference. A "side" below is 0 for the total fields and 1 for the 4 % ones.
#include <array>
#include <utility>

#include "tax/engine_early_sums.h"
#include "tax/engine_util.h"
#include "tax/engines_early.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;
using early::k3;
using early::k4;

namespace {

constexpr int kTotalSide = 0;
constexpr int k4Side = 1;
constexpr int kNormal = 18;
constexpr int kOneType = 19;

// Candidates 20..29: the pairs of business types.
constexpr std::array<std::pair<int, int>, 10> kPairs = {{
    {1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 3}, {2, 4}, {2, 5}, {3, 4}, {3, 5}, {4, 5},
}};

// Field numbers by side.
int BaseF(int side) { return 7 + side; }       // tax base of the deduction
int SalesSumF(int side) { return 11 + side; }  // sales of all types
int TaxSumF(int side) { return 23 + side; }    // tax of all types
int SalesF(int side, int k) { return 13 + 2 * (k - 1) + side; }
int TaxF(int side, int k) { return 25 + 2 * (k - 1) + side; }
int CandF(int side, int n) { return 35 + 2 * (n - kNormal) + side; }
int ChosenF(int side) { return 59 + side; }

Currency& P(TFuhyou5_Old& sch5, int field) { return sch5.F[static_cast<std::size_t>(field)]; }
Fraction Rate(const TTAXPAR& par, int k) { return Fraction(MinasiRituOf(par, k)); }
Currency Taxed(Currency tax, const TTAXPAR& par, int k) { return IntYen(Fraction(tax) * Rate(par, k)); }

// Share of `sales` in the side's sales of all types is 75 % or more. When the
// side's sales are 0 or less no share exists and no 75 % rule applies.
bool Reaches75(TFuhyou5_Old& p, int side, Currency sales) {
  const Currency all = P(p, SalesSumF(side));
  if (!(all > Currency(0))) return false;
  return Fraction(sales) / Fraction(all) >= Fraction(3, 4);
}

// First business type with 75 % of the side's sales, 0 when none.
int OneTypeOf(TFuhyou5_Old& p, int side) {
  for (int k = 1; k <= 5; ++k)
    if (Reaches75(p, side, P(p, SalesF(side, k)))) return k;
  return 0;
}

bool PairQualifies(TFuhyou5_Old& p, int side, int n) {
  const auto& [i, j] = kPairs[static_cast<std::size_t>(n - 20)];
  const Currency si = P(p, SalesF(side, i));
  const Currency sj = P(p, SalesF(side, j));
  return si > Currency(0) && sj > Currency(0) && Reaches75(p, side, si + sj);
}

bool Qualifies(TFuhyou5_Old& p, int side, int n) {
  if (n == kNormal) return true;
  if (n == kOneType) return OneTypeOf(p, side) > 0;
  return PairQualifies(p, side, n);
}

// The deduction of a weighted line L: Int(L × tax base ÷ tax of all types).
Currency Weighted(TFuhyou5_Old& p, int side, Currency line) {
  return IntYen(Fraction(line) * Fraction(P(p, BaseF(side))) / Fraction(P(p, TaxSumF(side))));
}

// Sum over the types of Int(tax × deemed rate).
Currency NormalLine(const TTAXPAR& par, TFuhyou5_Old& p, int side) {
  Currency l;
  for (int k = 1; k <= 5; ++k) l += Taxed(P(p, TaxF(side, k)), par, k);
  return l;
}

// Two-type rule: type i at its own rate, all the remaining tax at that of j.
Currency PairLine(const TTAXPAR& par, TFuhyou5_Old& p, int side, int n) {
  const auto& [i, j] = kPairs[static_cast<std::size_t>(n - 20)];
  const Currency taxI = P(p, TaxF(side, i));
  return Taxed(taxI, par, i) + Taxed(P(p, TaxSumF(side)) - taxI, par, j);
}

// Candidates 20..29 of a side; weighted by the tax base, or direct.
void PairCandidates(const TTAXPAR& par, TFuhyou5_Old& p, int side, bool weighted) {
  for (int n = 20; n <= 29; ++n) {
    if (!PairQualifies(p, side, n)) continue;
    const Currency line = PairLine(par, p, side, n);
    P(p, CandF(side, n)) = weighted ? Weighted(p, side, line) : line;
  }
}

// The largest qualifying candidate of a side, the normal calculation first;
// a tie keeps the earlier number. Returns the number chosen.
int Choose(TFuhyou5_Old& p, int side) {
  int chosen = kNormal;
  P(p, ChosenF(side)) = P(p, CandF(side, kNormal));
  for (int n = kOneType; n <= 29; ++n) {
    // Only a rule that applies to the period can be chosen.
    if (!Qualifies(p, side, n)) continue;
    if (P(p, CandF(side, n)) > P(p, ChosenF(side))) {
      P(p, ChosenF(side)) = P(p, CandF(side, n));
      chosen = n;
    }
  }
  return chosen;
}

void ChooseTotal(TTAXPAR& par, TFuhyou5_Old& p) {
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  const int chosen = Choose(p, kTotalSide);
  P(p, 63) = P(p, 68) = Currency(chosen);
  if (chosen != kNormal) {
    par.TokureiWon = 1;
    par.TokureiApplied = true;
  }
}

// The fixed percentage shown for candidate 19 of business type k.
Currency FixedPercent(int k) { return Currency(100 - 10 * k); }

}  // namespace

bool CalcFuhyou5Rate4Old(TTAXPAR& par, TDAI1HYOU&, TFuhyou4_Old& sch4, TFuhyou5_Old& p) {
  const bool hand = HandWritten(par);
  const int side = k4Side;

  // R1-R4. Sales and tax of the types at 4 %.
  for (int k = 1; k <= 5; ++k) {
    const auto sc = early::SalesCodes(k);
    const auto rc = early::ReturnCodes(k);
    Currency& sales = P(p, SalesF(side, k));
    if (!hand) {
      const Currency net = N(par, k4, sc) - N(par, k4, rc);
      sales = IC(par.Era, k4, KOMI2NUKI, G(par, k4, sc) - G(par, k4, rc)) + net;
      P(p, TaxF(side, k)) =
          IC(par.Era, k4, TAX_KOKUZEI, T(par, k4, sc) - T(par, k4, rc)) + IC(par.Era, k4, TAX_ZEIRITU, sales - net);
    } else {
      if (sales > P(p, SalesF(kTotalSide, k))) sales = P(p, SalesF(kTotalSide, k));
      P(p, TaxF(side, k)) = IC(par.Era, k4, TAX_ZEIRITU, sales);
    }
  }
  P(p, 12) = P(p, 24) = Currency(0);
  for (int k = 1; k <= 5; ++k) {
    P(p, 12) += P(p, SalesF(side, k));
    P(p, 24) += P(p, TaxF(side, k));
  }

  // R5-R6. Sales of one business type only at 4 %.
  const Currency all = hand ? P(p, 12) + P(p, 24) : early::AllBlocks(par, k4, early::kK);
  for (int k = 1; k <= 5; ++k) {
    const Currency one = hand ? P(p, SalesF(side, k)) + P(p, TaxF(side, k))
                              : early::AllBlocks(par, k4, early::SalesCodes(k));
    if (one == all) {
      P(p, 10) = Taxed(P(p, 8), par, k);
      sch4.F[15] = P(p, 10);
      return true;
    }
  }
  if (P(p, 24) == Currency(0)) return true;

  // R8-R12. Candidates and the choice of the 4 % column by itself.
  P(p, 36) = Weighted(p, side, NormalLine(par, p, side));
  if (const int k = OneTypeOf(p, side); k > 0) P(p, 38) = Taxed(P(p, 8), par, k);
  PairCandidates(par, p, side, true);
  P(p, 67) = Currency(Choose(p, side));
  sch4.F[15] = P(p, 60);
  return true;
}

bool CalcFuhyou5SpecialOld(TTAXPAR& par, TDAI1HYOU&, TFuhyou4_Old& sch4, TFuhyou5_Old& p) {
  // P1-P5. Only without bad-debt recoveries, and without negative type tax
  // when there are returns.
  par.SpecialCalcApplied = 0;
  if (par.SpecialCalcOn == 0) return true;
  if (P(p, 3) > Currency(0)) return true;
  if (P(p, 5) > Currency(0))
    for (int k = 1; k <= 5; ++k)
      if (P(p, TaxF(kTotalSide, k)) < Currency(0)) return true;
  par.SpecialCalcApplied = 1;

  // P6-P9. Total: the lines themselves, without the factor of the tax base.
  if (P(p, 23) != Currency(0)) P(p, 35) = NormalLine(par, p, kTotalSide);
  PairCandidates(par, p, kTotalSide, false);
  ChooseTotal(par, p);
  sch4.F[14] = P(p, 59);

  // P10-P12. The 4 % column likewise.
  if (P(p, 24) != Currency(0)) P(p, 36) = NormalLine(par, p, k4Side);
  PairCandidates(par, p, k4Side, false);
  P(p, 67) = Currency(Choose(p, k4Side));
  sch4.F[15] = P(p, 60);
  return true;
}

bool CalcFuhyou5Old(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& p) {
  const bool hand = HandWritten(par);
  const int side = kTotalSide;

  // 1-4. Returns and the tax base of the deduction.
  par.TokureiApplied = false;
  par.TokureiKind = 0;
  if (!hand) {
    sch4.F[17] = early::TaxOfLine(par.Era, k3, G(par, k3, early::kR), T(par, k3, early::kR));
    sch4.F[18] = early::TaxOfLine(par.Era, k4, G(par, k4, early::kR), T(par, k4, early::kR));
  }
  P(p, 5) = sch4.F[17] + sch4.F[18];
  P(p, 6) = sch4.F[18];
  P(p, 7) = P(p, 1) + P(p, 3) - P(p, 5);
  P(p, 8) = P(p, 2) + P(p, 4) - P(p, 6);

  // 5. The 4 % column.
  CalcFuhyou5Rate4Old(par, form1, sch4, p);

  // 6-9. Sales and tax of the types: the 3 % part plus the 4 % part.
  for (int k = 1; k <= 5; ++k) {
    const auto sc = early::SalesCodes(k);
    const auto rc = early::ReturnCodes(k);
    const Currency net3 = N(par, k3, sc) - N(par, k3, rc);
    Currency& sales = P(p, SalesF(side, k));
    const Currency sales4 = P(p, SalesF(k4Side, k));
    if (!hand) {
      sales = IC(par.Era, k3, KOMI2NUKI, G(par, k3, sc) - G(par, k3, rc)) + net3 + sales4;
      P(p, TaxF(side, k)) = IC(par.Era, k3, TAX_ZEIRITU, sales - sales4 - net3) + T(par, k3, sc) - T(par, k3, rc) +
                            P(p, TaxF(k4Side, k));
    } else {
      P(p, TaxF(side, k)) = IC(par.Era, k3, TAX_ZEIRITU, sales - sales4) + P(p, TaxF(k4Side, k));
    }
  }
  P(p, 11) = P(p, 23) = Currency(0);
  for (int k = 1; k <= 5; ++k) {
    P(p, 11) += P(p, SalesF(side, k));
    P(p, 23) += P(p, TaxF(side, k));
  }

  // 10. Business-type table of form 1: sales in thousands, share truncated
  // to 0.1 % (0 when the sales of all types are 0 or less).
  Currency total;
  for (int k = 1; k <= 5; ++k) {
    auto& row = form1.Gyousyu[static_cast<std::size_t>(k - 1)];
    const Currency sales = P(p, SalesF(side, k));
    row.Sales = RoundCurrencyQ(1, Fraction(sales) / Fraction(1000));
    row.Share = Currency(0);
    if (P(p, 11) > Currency(0)) {
      const Currency permille = IntYen(Fraction(sales) / Fraction(P(p, 11)) * Fraction(1000));
      row.Share = Currency::FromRaw(permille.Raw() / 10);
    }
    total += sales;
  }
  form1.GyousyuTotal = RoundCurrencyQ(1, Fraction(total) / Fraction(1000));

  // 11-13. Sales of one business type only (returns not deducted).
  Currency all = hand ? P(p, 11) + P(p, 23) : early::AllBlocks(par, k3, early::kK) + early::AllBlocks(par, k4, early::kK);
  P(p, 62) = P(p, 65) = Currency(0);
  for (int k = 1; k <= 5; ++k) {
    const auto sc = early::SalesCodes(k);
    const Currency one = hand ? P(p, SalesF(side, k)) + P(p, TaxF(side, k))
                              : early::AllBlocks(par, k3, sc) + early::AllBlocks(par, k4, sc);
    if (one == all) {
      P(p, 62) = P(p, 65) = Currency(k);
      P(p, 9) = Taxed(P(p, 7), par, k);
      sch4.F[14] = P(p, 9);
      for (int n = 11; n <= 34; ++n) P(p, n) = Currency(0);
      return true;
    }
  }

  // 14. Several types.
  P(p, 61) = P(p, 64) = Currency(2);
  P(p, 9) = P(p, 10) = Currency(0);
  if (P(p, 23) == Currency(0)) return true;

  // 15-19. Candidates of the total and the choice.
  P(p, 35) = Weighted(p, side, NormalLine(par, p, side));
  if (const int k = OneTypeOf(p, side); k > 0) {
    P(p, 37) = Taxed(P(p, 7), par, k);
    P(p, 66) = FixedPercent(k);
  }
  PairCandidates(par, p, side, true);
  ChooseTotal(par, p);
  sch4.F[14] = P(p, 59);

  // 20. The special calculation.
  CalcFuhyou5SpecialOld(par, form1, sch4, p);
  return true;
}
