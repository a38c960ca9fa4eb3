// Schedule 2-1 of the principle-taxation forms from 2019-10-01: taxable and
// total transfers, the taxable-sales ratio, the purchase tax, the choice among
// full deduction, the itemised and the proportional method, and the tax on
// collected bad debts.
#include "platform/rtl/closingday.h"
#include "tax/engine_util.h"
#include "tax/engines_r01.h"
#include "tax/taxcontext.h"
#include "tax/taxera.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

constexpr const char* kFullLabel = "全額控除";
constexpr const char* kItemisedLabel = "個別対応";
constexpr const char* kProportionalLabel = "比例配分";

Currency& F(TTaxRun& run, int col, int field) { return run.Fuhyou21_R01[col].F[static_cast<std::size_t>(field)]; }

// Fixed-asset adjustments of schedule-2 lines 18 and 19 by rate slot.
void SlotAdjustments(const TTAXPAR& par, int s, Currency& line18, Currency& line19) {
  switch (s) {
    case 0: line18 = par.Koujyozei18A; line19 = par.Koujyozei19A; break;
    case 1: line18 = par.Koujyozei18B; line19 = par.Koujyozei19B; break;
    default:
      line18 = par.KoujyozeiSlot[static_cast<std::size_t>(s - 2)].Line18;
      line19 = par.KoujyozeiSlot[static_cast<std::size_t>(s - 2)].Line19;
  }
}

// Taxable transfers ÷ total transfers of column col as an exact share. When
// the total transfers are 0 (the ratio is then 100 % or 0), the ratio stands in.
Fraction Share(TTaxRun& run, int col) {
  if (F(run, col, 7) == Currency(0)) return Fraction(F(run, col, 8)) / Fraction(100);
  return Fraction(F(run, col, 4)) / Fraction(F(run, col, 7));
}

// Adds `field` of slot s into column col, and into column -3 too when the
// old-rate slots are summed inside the total run.
void AddToColumns(TTaxRun& run, int col, int s, int field) {
  F(run, col, field) += F(run, s, field);
  if (col == -1 && s <= 2) F(run, -3, field) += F(run, s, field);
}

// Itemised line of slot s: the purchases p (returns pr), the national import
// tax paid and, below 95 %, the reverse-charge purchases of the same kind.
template <typename Codes, typename Returns>
Currency ItemisedLine(const TTAXPAR& par, int s, const Codes& p, const Returns& pr, int importCode,
                      int importReturn, int reverse, int reverseReturn, bool below95) {
  Currency x = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, p) - G(par, s, pr)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, p) - T(par, s, pr)) +
               T(par, s, {importCode}) - T(par, s, {importReturn});
  if (below95) {
    x += IntYen(ConvertByRate(par.Era, s, NUKI_KOKUZEI, N(par, s, {reverse})) -
                ConvertByRate(par.Era, s, NUKI_KOKUZEI, N(par, s, {reverseReturn})));
  }
  return x;
}

}  // namespace

bool IsSalesWithin500MillionR01(const TTaxCompanyInfo& company, TTAXPAR par, Currency sales) {
  const int m = ::MonthsBetween(company.Sime, par.KikanFrom, par.KikanTo);
  if (m >= 0 && m <= 10) sales = RoundCurrencyQ(0, Fraction(sales) / Fraction(m + 1) * Fraction(12));
  return sales <= Currency::FromYen(500000000);
}

void ClearFuhyou21Column(TTaxRun& run, int col) {
  const TTAXPAR& par = run.TaxPar;
  const bool hand = HandWritten(par);
  for (int n = 1; n <= 27; ++n) {
    if (n == 24 || n == 25) continue;
    if ((n == 2 || n == 3 || n == 6) && hand) continue;
    F(run, col, n) = Currency(0);
  }
}

void SumFuhyou21Columns(TTaxRun& run, int col) {
  const int t = col == -3 ? 2 : 4;
  for (int n : {9, 10, 11, 12, 13, 26, 27}) {
    F(run, col, n) = Currency(0);
    for (int s = 0; s <= t; ++s) F(run, col, n) += F(run, s, n);
  }
}

bool CalcFuhyou21R01(TTaxRun& run, int col) {
  TTAXPAR& par = run.TaxPar;
  const int t = col == -3 ? 2 : 4;
  const bool hand = HandWritten(par);

  // 1-2. Clear; fixed-asset adjustments.
  ClearFuhyou21Column(run, col);
  for (int s = 0; s <= 4; ++s) SlotAdjustments(par, s, F(run, s, 19), F(run, s, 20));
  for (int s = 0; s <= t; ++s) {
    F(run, col, 19) += F(run, s, 19);
    F(run, col, 20) += F(run, s, 20);
  }

  // 3. Sales lines.
  if (!hand) {
    for (int s = 0; s <= 4; ++s) {
      F(run, s, 1) = IC(par.Era, s, KOMI2NUKI, G(par, s, kS)) - IC(par.Era, s, KOMI2NUKI, G(par, s, kR)) + N(par, s, kS) - N(par, s, kR);
      F(run, s, 2) = G(par, s, {120}) + G(par, s, {220}) + N(par, s, {120}) + N(par, s, {220}) - G(par, s, {320}) -
                N(par, s, {320});
      F(run, s, 3) = G(par, s, {150}) + G(par, s, {250}) + N(par, s, {150}) + N(par, s, {250}) - G(par, s, {350}) -
                N(par, s, {350});
    }
    for (int s = 0; s <= t; ++s) {
      F(run, col, 2) += F(run, s, 2);
      F(run, col, 3) += F(run, s, 3);
      F(run, s, 2) = Currency(0);
      F(run, s, 3) = Currency(0);
    }
  } else {
    for (int s = 0; s <= 4; ++s) {
      F(run, s, 2) = Currency(0);
      F(run, s, 3) = Currency(0);
    }
  }

  // 4. Taxable transfers.
  for (int s = 0; s <= t; ++s) F(run, col, 1) += F(run, s, 1);
  F(run, col, 5) = F(run, col, 1) + F(run, col, 2) + F(run, col, 3);
  F(run, col, 4) = Max0(F(run, col, 5));

  // 5-6. Non-taxable sales; total transfers.
  if (!hand) {
    const Fraction five(5, 100);
    for (int s = 0; s <= t; ++s) {
      Fraction x = Fraction(G(par, s, {130}) - G(par, s, {330}) + N(par, s, {130}) - N(par, s, {330})) +
                   five * Fraction(G(par, s, {140}) - G(par, s, {340}) + N(par, s, {140}) - N(par, s, {340})) +
                   Fraction(G(par, s, {230}) + N(par, s, {230})) + five * Fraction(G(par, s, {240}) + N(par, s, {240}));
      F(run, s, 6) = IntYen(x);
      F(run, col, 6) += F(run, s, 6);
      F(run, s, 6) = Currency(0);
    }
  }
  F(run, col, 7) = Max0(F(run, col, 5) + F(run, col, 6));

  // 7. Ratio in percent, truncated to 0.1 %, at most 100.
  if (F(run, col, 4) > Currency(0) && F(run, col, 7) > Currency(0)) {
    Currency permille = RoundCurrencyQ(0, Fraction(F(run, col, 4)) / Fraction(F(run, col, 7)) * Fraction(1000));
    Currency ratio = Currency::FromRaw(permille.Raw() / 10);
    F(run, col, 8) = ratio > Currency(100) ? Currency(100) : ratio;
  } else if (F(run, col, 7) == Currency(0) && F(run, col, 4) > Currency(0)) {
    F(run, col, 8) = Currency(100);
  }
  const Currency ratio = F(run, col, 8);
  const bool below95 = ratio < kRatio95;

  // 8. Purchase lines.
  if (!hand) {
    for (int s = 0; s <= t; ++s) {
      F(run, s, 9) = G(par, s, kP) + N(par, s, kP) + T(par, s, kP) - (G(par, s, kPR) + N(par, s, kPR) + T(par, s, kPR));
      F(run, s, 10) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kP)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kP)) -
                 IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kPR)) - IC(par.Era, s, TAX_KOKUZEI, T(par, s, kPR));
      F(run, s, 11) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kM)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kM)) -
                 IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kMR)) - IC(par.Era, s, TAX_KOKUZEI, T(par, s, kMR)) + T(par, s, kMN) -
                 T(par, s, kMNR);
      F(run, s, 12) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kA)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kA));
      F(run, s, 26) = N(par, s, kRC) - N(par, s, kRCR);
      F(run, s, 27) = IC(par.Era, s, NUKI_KOKUZEI, N(par, s, kRC)) - IC(par.Era, s, NUKI_KOKUZEI, N(par, s, kRCR));
      for (int n : {9, 10, 11, 12, 26}) F(run, col, n) += F(run, s, n);
    }
  }

  // 9-11. Reverse charge left out at 95 % or more; purchase-tax total; sums.
  if (!below95) {
    for (int s = 0; s <= t; ++s) {
      F(run, s, 26) = Currency(0);
      F(run, s, 27) = Currency(0);
    }
  }
  for (int s = 0; s <= t; ++s) F(run, s, 13) = F(run, s, 10) + F(run, s, 11) + F(run, s, 12) + F(run, s, 27);
  SumFuhyou21Columns(run, col);
  if (col == -1) SumFuhyou21Columns(run, -3);

  // 12. Full deduction.
  bool full = IsSalesWithin500MillionR01(run.Company, par, F(run, col, 1) + F(run, col, 2)) && !below95;
  if (!IsNew95PercentRule(run.Company, par.KikanSettei, par.KikanFrom, par.KikanTo)) full = !below95;
  run.Fuhyou21_R01[col].FullDeduction = full ? 1 : 0;
  for (int c = -3; c <= 4; ++c) {
    F(run, c, 21) = Currency(0);
    F(run, c, 22) = Currency(0);
  }

  // 13. The method.
  int methodField;
  if (full) {
    run.Fuhyou21_R01[col].MethodLabel = kFullLabel;
    F(run, -1, 14) = Currency(0);
    F(run, -3, 14) = Currency(0);
    for (int s = 0; s <= t; ++s) {
      F(run, s, 14) = F(run, s, 13);
      AddToColumns(run, col, s, 14);
    }
    methodField = 14;
    if (col == -1)
      for (int c = -3; c <= 4; ++c)
        for (int n = 15; n <= 18; ++n) F(run, c, n) = Currency(0);
  } else if (par.Kazeiuri95Miman == 0) {
    run.Fuhyou21_R01[col].MethodLabel = kItemisedLabel;
    if (!hand) {
      for (int s = 0; s <= t; ++s) {
        F(run, s, 15) = ItemisedLine(par, s, kPt, kPtr, 724, 774, 551, 581, below95);
        F(run, s, 16) = ItemisedLine(par, s, kPc, kPcr, 725, 775, 552, 582, below95);
      }
    }
    for (int n = 15; n <= 17; ++n) {
      F(run, -1, n) = Currency(0);
      F(run, -3, n) = Currency(0);
    }
    for (int s = 0; s <= t; ++s) {
      AddToColumns(run, col, s, 15);
      AddToColumns(run, col, s, 16);
    }
    for (int s = 0; s <= t; ++s) {
      if (par.AnbunWariai == 0) {
        F(run, s, 17) = ratio > Currency(0) ? IntYen(Fraction(F(run, s, 16)) * Share(run, col)) + F(run, s, 15) : F(run, s, 15);
      } else {
        F(run, s, 17) = IntYen(Fraction(par.JunzuruWariai) * Fraction(F(run, s, 16)) / Fraction(100)) + F(run, s, 15);
      }
      AddToColumns(run, col, s, 17);
    }
    methodField = 17;
    if (col == -1)
      for (int c = -3; c <= 4; ++c) {
        F(run, c, 14) = Currency(0);
        F(run, c, 18) = Currency(0);
      }
  } else {
    run.Fuhyou21_R01[col].MethodLabel = kProportionalLabel;
    F(run, -1, 18) = Currency(0);
    F(run, -3, 18) = Currency(0);
    for (int s = 0; s <= t; ++s) {
      F(run, s, 18) = ratio > Currency(0) ? IntYen(Fraction(F(run, s, 13)) * Share(run, col)) : Currency(0);
      AddToColumns(run, col, s, 18);
    }
    methodField = 18;
    if (col == -1)
      for (int c = -3; c <= 4; ++c)
        for (int n = 14; n <= 17; ++n) F(run, c, n) = Currency(0);
  }

  // Result lines: deductible purchase tax, or the excess-deduction adjustment.
  for (int s = 0; s <= t; ++s) {
    Currency x = F(run, s, methodField) + F(run, s, 19) + F(run, s, 20);
    if (x >= Currency(0)) F(run, s, 21) = x;
    else F(run, s, 22) = -x;
    AddToColumns(run, col, s, 21);
    AddToColumns(run, col, s, 22);
  }

  // 14. Collected bad debts.
  for (int s = 0; s <= t; ++s) {
    if (!hand) F(run, s, 23) = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kBR)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kBR));
    F(run, col, 23) += F(run, s, 23);
  }

  // 15. The old-rate subtotal shows the ratio of the whole period.
  if (col == -1) {
    F(run, -3, 4) = F(run, -1, 4);
    F(run, -3, 7) = F(run, -1, 7);
    F(run, -3, 8) = F(run, -1, 8);
  }
  return true;
}

bool CalcFuhyou2R01(TTaxRun& run, int col) {
  CalcFuhyou21R01(run, col);
  if (col == -1) {
    run.Dai1Hyou.F[kD1KazeiJouto] = F(run, -1, 4);
    run.Dai1Hyou.F[kD1SouJouto] = F(run, -1, 7);
  }
  return true;
}
