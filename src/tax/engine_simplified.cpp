// Simplified taxation, forms from 2019-10-01: schedule 4-1 with its five rate
// columns, the old-rate subtotal and the total, form 1 and form 2.
#include "tax/engine_util.h"
#include "tax/engines_r01.h"
#include "tax/taxera.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

Currency& F(TTaxRun& run, int col, int field) { return run.Fuhyou41_R01[col].F[static_cast<std::size_t>(field)]; }

constexpr int kLocalSlots[] = {1, 2, 4};

void SplitBalance(Currency balance, Currency& shortfall, Currency& net) {
  if (balance < Currency(0)) shortfall = -balance;
  else if (balance > Currency(0)) net = K100(balance);
}

// Taxable sales of the period for form 1: net taxable sales less returns,
// exempt and export sales of every rate slot.
Currency TaxableSalesOfPeriod(const TTAXPAR& par) {
  Currency sum;
  for (int s = 0; s <= 4; ++s) {
    sum += (IC(par.Era, s, KOMI2NUKI, G(par, s, kS)) + N(par, s, kS)) - (IC(par.Era, s, KOMI2NUKI, G(par, s, kR)) + N(par, s, kR)) +
           G(par, s, {120}) - G(par, s, {320}) + G(par, s, {220}) - G(par, s, {420}) + G(par, s, {150}) -
           G(par, s, {350}) + G(par, s, {250}) - G(par, s, {450});
  }
  return sum;
}

Currency Abs(Currency x) { return x < Currency(0) ? -x : x; }

}  // namespace

void ClearFuhyou41Column(TTaxRun& run, int col) { run.Fuhyou41_R01[col].F.fill(Currency(0)); }

void SumFuhyou41Columns(TTaxRun& run, int col) {
  const TTAXPAR& par = run.TaxPar;
  const int t = col == -3 ? 2 : 4;
  for (int n = 8; n <= 17; ++n) F(run, col, n) = Currency(0);
  for (int s = 0; s <= t; ++s)
    for (int n : {8, 9, 10, 12, 13, 15, 16}) F(run, col, n) += F(run, s, n);
  if (par.KaniSelect == 1) {
    F(run, col, 8) = F(run, col, 5) + F(run, col, 6) + F(run, col, 7);
    F(run, col, 9) = Max0(F(run, col, 8) - F(run, col, 3) - F(run, col, 4));
    F(run, col, 10) = Max0(F(run, col, 3) + F(run, col, 4) - F(run, col, 8));
  }
  F(run, col, 11) = F(run, col, 10) - F(run, col, 9);
  F(run, col, 14) = F(run, col, 13) - F(run, col, 12);
  F(run, col, 17) = F(run, col, 16) - F(run, col, 15);
}

bool CalcFuhyou41R01(TTaxRun& run, int col) {
  TTAXPAR& par = run.TaxPar;
  const int t = col == -3 ? 2 : 4;
  const bool hand = HandWritten(par);

  // 1-2. Taxable base, tax, collected bad debts, returns and bad debts.
  ClearFuhyou41Column(run, col);
  if (!hand) {
    for (int s = 0; s <= t; ++s) {
      const Currency g = IC(par.Era, s, KOMI2NUKI, G(par, s, kS));
      F(run, s, 2) = g + N(par, s, kS);
      F(run, s, 1) = K1000(F(run, s, 2));
      F(run, s, 3) = IC(par.Era, s, TAX_ZEIRITU, K1000(g)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kS));
      F(run, s, 4) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kBR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kBR));
      F(run, s, 6) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kR));
      F(run, s, 7) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kD)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kD));
    }
  }

  // 3. Column totals.
  for (int s = 0; s <= t; ++s) {
    F(run, col, 1) = K1000(F(run, col, 1) + F(run, s, 1));
    for (int n : {2, 3, 4, 6, 7}) F(run, col, n) += F(run, s, n);
  }
  F(run, col, 5) = Currency(0);

  // 4-5. Schedule 5-1 takes the tax lines and returns the deemed purchase tax.
  for (int c = -1; c <= t; ++c) {
    if (c == -2) continue;
    auto& s5 = run.Fuhyou51_R01[c].F;
    s5[1] = F(run, c, 3);
    s5[2] = F(run, c, 4);
    s5[3] = F(run, c, 6);
  }
  CalcFuhyou5R01(run, col);

  // 6-8. Deductions, local-tax base and local tax of every slot.
  for (int s = 0; s <= 4; ++s) {
    F(run, s, 8) = F(run, s, 5) + F(run, s, 6) + F(run, s, 7);
    F(run, s, 9) = Max0(F(run, s, 8) - F(run, s, 3) - F(run, s, 4));
    F(run, s, 10) = Max0(F(run, s, 3) + F(run, s, 4) - F(run, s, 8));
  }
  for (int s : kLocalSlots) {
    F(run, s, 12) = F(run, s, 9);
    F(run, s, 13) = F(run, s, 10);
    if (s == 4) {
      F(run, s, 12) += F(run, 3, 9);
      F(run, s, 13) += F(run, 3, 10);
    }
    F(run, s, 14) = F(run, s, 13) - F(run, s, 12);
  }
  for (int s = 1; s <= 4; ++s) {
    F(run, s, 15) = IC(par.Era, s, JYOTOWARI, F(run, s, 12));
    F(run, s, 16) = IC(par.Era, s, JYOTOWARI, F(run, s, 13));
  }

  // 9. Totals.
  SumFuhyou41Columns(run, col);
  if (col == -1) SumFuhyou41Columns(run, -3);
  if (col != -1) return true;

  // 10. Form 1.
  auto& f = run.Dai1Hyou.F;
  f[kD1KazeiHyoujun] = F(run, -1, 1);
  f[kD1Syouhizei] = F(run, -1, 3);
  f[kD1KoujyoKadai] = F(run, -1, 4);
  f[kD1KoujyoSiire] = F(run, -1, 5);
  f[kD1Henkan] = F(run, -1, 6);
  f[kD1Kasidaore] = F(run, -1, 7);
  f[kD1KoujyoSyoukei] = F(run, -1, 8);
  for (int n : {kD1KanpuFusoku, kD1Sasihiki, kD1JouKanpuFusoku, kD1JouSasihiki, kD1JouKanpu, kD1JouNouzei})
    f[static_cast<std::size_t>(n)] = Currency(0);
  SplitBalance(F(run, -1, 11), f[kD1KanpuFusoku], f[kD1Sasihiki]);
  if (!hand) f[kD1KazeiJouto] = TaxableSalesOfPeriod(par);
  if (F(run, -1, 14) != Currency(0)) {
    SplitBalance(F(run, -1, 14), f[kD1JouKanpuFusoku], f[kD1JouSasihiki]);
    f[34] = Abs(F(run, 1, 12));
    f[35] = Abs(F(run, 2, 12));
  }
  SplitBalance(F(run, -1, 17), f[kD1JouKanpu], f[kD1JouNouzei]);

  // 11. Form 2.
  auto& d2 = run.Dai2Hyou_R01.F;
  d2[1] = F(run, -1, 1);
  for (int i = 0; i < 6; ++i) {
    const int c = i == 0 ? -1 : i - 1;
    d2[static_cast<std::size_t>(2 + i)] = F(run, c, 2);
    d2[static_cast<std::size_t>(8 + i)] = Currency(0);
    d2[static_cast<std::size_t>(14 + i)] = F(run, c, 3);
    d2[static_cast<std::size_t>(23 + i)] = (c == 0 || c == 3) ? Currency(0) : F(run, c, 14);
  }
  d2[20] = F(run, -1, 6);
  d2[21] = F(run, -1, 6);
  d2[22] = Currency(0);

  // 12. Rate columns in use.
  par.RateColumnState = CheckRateColumnsInUse(par, run);
  return true;
}

bool CalcKaniR01(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  CalcFuhyou41R01(run, -3);
  CalcFuhyou41R01(run, -1);
  FinishDai1HyouR01(par, run.Dai1Hyou);
  run.Dai1Hyou.F[kD1SouJouto] = par.KijyunKikanUri;
  return true;
}
