// Schedule 2 of the principle-taxation forms from 2014-04-01: taxable and
// total transfers, the taxable-sales ratio, the purchase tax, the choice among
// full deduction, the itemised and the proportional method, and the tax on
// collected bad debts. Column 0 is the total, column s + 1 rate slot s.
#include "tax/engine_util.h"
#include "tax/engines_2014.h"
#include "tax/engines_r01.h"
#include "tax/taxera.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

constexpr const char* kFullLabel = "全額控除";
constexpr const char* kItemisedLabel = "個別対応";
constexpr const char* kProportionalLabel = "比例配分";

constexpr int kSlots[] = {0, 1, 2};

Currency& F(TTaxRun& run, int col, int field) { return run.Fuhyou2_H26[col].F[static_cast<std::size_t>(field)]; }
Currency& FS(TTaxRun& run, int slot, int field) { return F(run, slot + 1, field); }

// Sum of `field` over the three rate columns into the total.
void SumIntoTotal(TTaxRun& run, int field) {
  F(run, 0, field) = Currency(0);
  for (int s : kSlots) F(run, 0, field) += FS(run, s, field);
}

// Taxable transfers ÷ total transfers as an exact share. The ratio is above 0
// whenever this is used; when the total transfers are 0 (possible only when
// negative non-taxable sales cancel them) the ratio of 100 % stands in, so no
// share divides by zero.
Fraction Share(TTaxRun& run) {
  if (F(run, 0, 7) == Currency(0)) return Fraction(F(run, 0, 8)) / Fraction(100);
  return Fraction(F(run, 0, 4)) / Fraction(F(run, 0, 7));
}

// Itemised line of slot s: purchases p less returns pr, the national import
// tax paid and, below 95 %, the reverse-charge purchases of the same kind.
template <typename Codes, typename Returns>
Currency ItemisedLine(const TTAXPAR& par, int s, const Codes& p, const Returns& pr, int importCode,
                      int importReturn, int reverse, int reverseReturn, bool below95) {
  Currency x = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, p) - G(par, s, pr)) +
               IC(par.Era, s, TAX_KOKUZEI, T(par, s, p) - T(par, s, pr)) + T(par, s, {importCode}) -
               T(par, s, {importReturn});
  if (below95)
    x += IntYen(ConvertByRate(par.Era, s, NUKI_KOKUZEI, N(par, s, {reverse})) -
                ConvertByRate(par.Era, s, NUKI_KOKUZEI, N(par, s, {reverseReturn})));
  return x;
}

void SalesLines(TTaxRun& run, const TTAXPAR& par, bool hand) {
  if (!hand) {
    for (int s : kSlots) {
      FS(run, s, 1) = IC(par.Era, s, KOMI2NUKI, G(par, s, kS)) - IC(par.Era, s, KOMI2NUKI, G(par, s, kR)) + N(par, s, kS) -
                 N(par, s, kR);
      FS(run, s, 2) = G(par, s, {120}) + G(par, s, {220}) + N(par, s, {120}) + N(par, s, {220}) - G(par, s, {320}) -
                 N(par, s, {320});
      FS(run, s, 3) = G(par, s, {150}) + G(par, s, {250}) + N(par, s, {150}) + N(par, s, {250}) - G(par, s, {350}) -
                 N(par, s, {350});
    }
    SumIntoTotal(run, 2);
    SumIntoTotal(run, 3);
  }
  for (int s : kSlots) FS(run, s, 2) = FS(run, s, 3) = Currency(0);
  SumIntoTotal(run, 1);
  F(run, 0, 5) = F(run, 0, 1) + F(run, 0, 2) + F(run, 0, 3);
  F(run, 0, 4) = Max0(F(run, 0, 5));

  // Non-taxable sales; 5 % of the securities sales count.
  if (!hand) {
    const Fraction five(5, 100);
    F(run, 0, 6) = Currency(0);
    for (int s : kSlots) {
      const Fraction x = Fraction(G(par, s, {130}) - G(par, s, {330}) + N(par, s, {130}) - N(par, s, {330})) +
                         five * Fraction(G(par, s, {140}) - G(par, s, {340}) + N(par, s, {140}) - N(par, s, {340})) +
                         Fraction(G(par, s, {230}) + N(par, s, {230})) +
                         five * Fraction(G(par, s, {240}) + N(par, s, {240}));
      F(run, 0, 6) += IntYen(x);
      FS(run, s, 6) = Currency(0);
    }
  }
  F(run, 0, 7) = Max0(F(run, 0, 5) + F(run, 0, 6));

  // Ratio in percent, truncated to 0.1 %, at most 100.
  F(run, 0, 8) = Currency(0);
  if (F(run, 0, 4) > Currency(0) && F(run, 0, 7) > Currency(0)) {
    const Currency permille = RoundCurrencyQ(0, Fraction(F(run, 0, 4)) / Fraction(F(run, 0, 7)) * Fraction(1000));
    const Currency ratio = Currency::FromRaw(permille.Raw() / 10);
    F(run, 0, 8) = ratio > Currency(100) ? Currency(100) : ratio;
  } else if (F(run, 0, 7) == Currency(0) && F(run, 0, 4) > Currency(0)) {
    F(run, 0, 8) = Currency(100);
  }
}

void PurchaseLines(TTaxRun& run, const TTAXPAR& par, bool hand, bool below95) {
  if (!hand) {
    for (int s : kSlots) {
      FS(run, s, 9) = G(par, s, kP) + N(par, s, kP) + T(par, s, kP) - (G(par, s, kPR) + N(par, s, kPR) + T(par, s, kPR));
      FS(run, s, 10) = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kP)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kP)) -
                  IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kPR)) - IC(par.Era, s, TAX_KOKUZEI, T(par, s, kPR));
      FS(run, s, 11) = IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kM)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kM)) -
                  IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kMR)) - IC(par.Era, s, TAX_KOKUZEI, T(par, s, kMR)) + T(par, s, kMN) -
                  T(par, s, kMNR);
      FS(run, s, 12) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kA)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kA));
      FS(run, s, 26) = N(par, s, kRC) - N(par, s, kRCR);
      FS(run, s, 27) = IntYen(ConvertByRate(par.Era, s, NUKI_KOKUZEI, N(par, s, kRC)) -
                         ConvertByRate(par.Era, s, NUKI_KOKUZEI, N(par, s, kRCR)));
    }
  }
  if (!below95)
    for (int s : kSlots) FS(run, s, 26) = FS(run, s, 27) = Currency(0);
  for (int n : {9, 10, 11, 12, 26, 27}) SumIntoTotal(run, n);
  for (int s : kSlots) FS(run, s, 13) = FS(run, s, 10) + FS(run, s, 11) + FS(run, s, 12) + FS(run, s, 27);
  SumIntoTotal(run, 13);
}

// Fills the method's line of each column and returns its number.
int MethodLines(TTaxRun& run, const TTAXPAR& par, bool hand, bool full, bool below95) {
  const Currency ratio = F(run, 0, 8);
  if (full) {
    run.Fuhyou2_H26[0].MethodLabel = kFullLabel;
    for (int s : kSlots) FS(run, s, 14) = FS(run, s, 13);
    SumIntoTotal(run, 14);
    return 14;
  }
  if (par.Kazeiuri95Miman == 0) {
    run.Fuhyou2_H26[0].MethodLabel = kItemisedLabel;
    if (!hand) {
      for (int s : kSlots) {
        FS(run, s, 15) = ItemisedLine(par, s, kPt, kPtr, 724, 774, 551, 581, below95);
        FS(run, s, 16) = ItemisedLine(par, s, kPc, kPcr, 725, 775, 552, 582, below95);
      }
    }
    SumIntoTotal(run, 15);
    SumIntoTotal(run, 16);
    for (int s : kSlots) {
      if (par.AnbunWariai == 0)
        FS(run, s, 17) = ratio > Currency(0) ? IntYen(Fraction(FS(run, s, 16)) * Share(run)) + FS(run, s, 15) : FS(run, s, 15);
      else
        FS(run, s, 17) = IntYen(Fraction(par.JunzuruWariai) * Fraction(FS(run, s, 16)) / Fraction(100)) + FS(run, s, 15);
    }
    SumIntoTotal(run, 17);
    return 17;
  }
  run.Fuhyou2_H26[0].MethodLabel = kProportionalLabel;
  for (int s : kSlots) FS(run, s, 18) = ratio > Currency(0) ? IntYen(Fraction(FS(run, s, 13)) * Share(run)) : Currency(0);
  SumIntoTotal(run, 18);
  return 18;
}

}  // namespace

bool IsSalesWithin500Million(const TTaxCompanyInfo& company, TTAXPAR par, Currency sales) {
  return IsSalesWithin500MillionR01(company, par, sales);
}

void ClearFuhyou2ColumnH26(TTaxRun& run) {
  const TTAXPAR& par = run.TaxPar;
  const bool hand = HandWritten(par);
  for (int n = 1; n <= 27; ++n) {
    if (n == 24 || n == 25) continue;
    if ((n == 2 || n == 3 || n == 6) && hand) continue;
    F(run, 0, n) = Currency(0);
  }
}

bool CalcFuhyou2H26(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  const bool hand = HandWritten(par);

  // 1-2. Clear the total; fixed-asset adjustments of lines 18 and 19.
  ClearFuhyou2ColumnH26(run);
  FS(run, 0, 19) = par.Koujyozei18A;
  FS(run, 0, 20) = par.Koujyozei19A;
  FS(run, 1, 19) = par.Koujyozei18B;
  FS(run, 1, 20) = par.Koujyozei19B;
  FS(run, 2, 19) = par.KoujyozeiSlot[0].Line18;
  FS(run, 2, 20) = par.KoujyozeiSlot[0].Line19;
  SumIntoTotal(run, 19);
  SumIntoTotal(run, 20);

  // 3-7. Sales, transfers and the ratio.
  SalesLines(run, par, hand);
  const bool below95 = F(run, 0, 8) < kRatio95;

  // 8-9. Purchase lines; the reverse charge only below 95 %.
  PurchaseLines(run, par, hand, below95);

  // 10. Full deduction.
  bool full = IsSalesWithin500Million(run.Company, par, F(run, 0, 1) + F(run, 0, 2)) && !below95;
  if (!IsNew95PercentRule(run.Company, par.KikanSettei, par.KikanFrom, par.KikanTo)) full = !below95;
  run.Fuhyou2_H26[0].FullDeduction = full ? 1 : 0;
  for (int s : kSlots) FS(run, s, 21) = FS(run, s, 22) = Currency(0);

  // 11. The method and its result lines.
  const int method = MethodLines(run, par, hand, full, below95);
  for (int s : kSlots) {
    const Currency x = FS(run, s, method) + FS(run, s, 19) + FS(run, s, 20);
    if (x >= Currency(0)) FS(run, s, 21) = x;
    else FS(run, s, 22) = -x;
  }
  SumIntoTotal(run, 21);
  SumIntoTotal(run, 22);

  // 12. Collected bad debts.
  if (!hand)
    for (int s : kSlots) FS(run, s, 23) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kBR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kBR));
  SumIntoTotal(run, 23);

  // 13. Hand-over to schedule 1.
  for (int s : kSlots) {
    run.Fuhyou1_H26[s + 1].F[4] = FS(run, s, 21);
    run.Fuhyou1_H26[s + 1].F[3] = FS(run, s, 22) + FS(run, s, 23);
  }
  return true;
}

bool CalcFuhyou2LinkH26(TTaxRun& run) {
  CalcFuhyou2H26(run);
  run.Dai1Hyou.F[kD1KazeiJouto] = F(run, 0, 4);
  run.Dai1Hyou.F[kD1SouJouto] = F(run, 0, 7);
  return true;
}
