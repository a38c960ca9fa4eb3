// Principle taxation, forms from 2019-10-01: schedule 1-1 with its five rate
// columns, the old-rate subtotal and the total, form 1 and form 2.
#include "tax/engine_util.h"
#include "tax/engines_r01.h"
#include "tax/taxera.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

Currency& F(TTaxRun& run, int col, int field) { return run.Fuhyou11_R01[col].F[static_cast<std::size_t>(field)]; }
Currency& S2(TTaxRun& run, int col, int field) { return run.Fuhyou21_R01[col].F[static_cast<std::size_t>(field)]; }

// Slots that carry local tax: slot 0 has none and slot 3 is folded into slot 4.
constexpr int kLocalSlots[] = {1, 2, 4};

// Form 1 takes a balance as a shortfall (exact) or a net figure (to 100 yen).
void SplitBalance(Currency balance, Currency& shortfall, Currency& net) {
  if (balance < Currency(0)) shortfall = -balance;
  else if (balance > Currency(0)) net = K100(balance);
}

}  // namespace

void ClearFuhyou11Column(TTaxRun& run, int col) { run.Fuhyou11_R01[col].F.fill(Currency(0)); }

void SumFuhyou11Columns(TTaxRun& run, int col) {
  const int t = col == -3 ? 2 : 4;
  ClearFuhyou11Column(run, col);
  for (int s = 0; s <= t; ++s)
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 14, 15, 17, 18, 19, 20}) F(run, col, n) += F(run, s, n);
  if (col == -1) {
    F(run, col, 10) = F(run, col, 9) - F(run, col, 8);
    F(run, col, 16) = F(run, col, 15) - F(run, col, 14);
  }
  F(run, col, 13) = F(run, col, 12) - F(run, col, 11);
}

bool CalcFuhyou11R01(TTaxRun& run, int col) {
  TTAXPAR& par = run.TaxPar;
  const int t = col == -3 ? 2 : 4;
  const bool hand = HandWritten(par);

  // 1. Schedule 2-1; its total ratio decides on the reverse-charge lines.
  CalcFuhyou2R01(run, col);
  const bool ratio95 = S2(run, -1, 8) >= kRatio95;

  for (int s = 0; s <= t; ++s) {
    // 2. Taxable base and tax.
    if (!hand) {
      const Currency g = IC(par.Era, s, KOMI2NUKI, G(par, s, kS));
      F(run, s, 17) = g + N(par, s, kS);
      F(run, s, 18) = ratio95 ? Currency(0) : N(par, s, kRC);
      F(run, s, 1) = K1000(F(run, s, 17) + F(run, s, 18));
      F(run, s, 2) = IC(par.Era, s, TAX_ZEIRITU, K1000(g + F(run, s, 18))) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kS));
    } else {
      if (ratio95) F(run, s, 18) = Currency(0);
      F(run, s, 1) = K1000(F(run, s, 17) + F(run, s, 18));
      F(run, s, 2) = IC(par.Era, s, TAX_ZEIRITU, F(run, s, 1));
    }
    // 3. Deduction and adjustment from schedule 2-1.
    F(run, s, 4) = S2(run, s, 21);
    F(run, s, 3) = S2(run, s, 22) + S2(run, s, 23);
    // 4. Returns and bad debts.
    if (!hand) {
      F(run, s, 19) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kR));
      F(run, s, 20) = ratio95 ? Currency(0) : IC(par.Era, s, NUKI_KOKUZEI, N(par, s, kRCR));
      F(run, s, 5) = F(run, s, 19) + F(run, s, 20);
      F(run, s, 6) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kD)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kD));
    } else {
      if (ratio95) F(run, s, 20) = Currency(0);
      F(run, s, 5) = F(run, s, 19) + F(run, s, 20);
    }
    // 5. Subtotal, shortfall and net tax.
    F(run, s, 7) = F(run, s, 4) + F(run, s, 5) + F(run, s, 6);
    F(run, s, 8) = Max0(F(run, s, 7) - F(run, s, 2) - F(run, s, 3));
    F(run, s, 9) = Max0(F(run, s, 2) + F(run, s, 3) - F(run, s, 7));
  }

  // 6-7. Local-tax base and local tax.
  for (int s : kLocalSlots) {
    if (s > t) continue;
    F(run, s, 11) = F(run, s, 8);
    F(run, s, 12) = F(run, s, 9);
    if (s == 4) {
      F(run, s, 11) += F(run, 3, 8);
      F(run, s, 12) += F(run, 3, 9);
    }
    F(run, s, 13) = F(run, s, 12) - F(run, s, 11);
    F(run, s, 14) = IC(par.Era, s, JYOTOWARI, F(run, s, 11));
    F(run, s, 15) = IC(par.Era, s, JYOTOWARI, F(run, s, 12));
  }

  // 8. Totals.
  SumFuhyou11Columns(run, col);
  if (col == -1) SumFuhyou11Columns(run, -3);
  if (col != -1) return true;

  // 9. Form 1.
  for (int n = 1; n <= 7; ++n) run.Dai1Hyou.F[static_cast<std::size_t>(n)] = F(run, -1, n);
  for (int n : {kD1KanpuFusoku, kD1Sasihiki, kD1JouKanpuFusoku, kD1JouSasihiki, kD1JouKanpu, kD1JouNouzei})
    run.Dai1Hyou.F[static_cast<std::size_t>(n)] = Currency(0);
  SplitBalance(F(run, -1, 10), run.Dai1Hyou.F[kD1KanpuFusoku], run.Dai1Hyou.F[kD1Sasihiki]);
  SplitBalance(F(run, -1, 13), run.Dai1Hyou.F[kD1JouKanpuFusoku], run.Dai1Hyou.F[kD1JouSasihiki]);
  SplitBalance(F(run, -1, 16), run.Dai1Hyou.F[kD1JouKanpu], run.Dai1Hyou.F[kD1JouNouzei]);
  // The reverse-charge test (the simplified pass never has such lines).
  bool tokutei = false;
  if (par.SinkokuKubun == 0 && !ratio95)
    for (int s = 0; s <= t; ++s)
      if (F(run, s, 18) > Currency(0) || F(run, s, 20) > Currency(0)) tokutei = true;
  run.Dai1Hyou.TokuteiSiire = tokutei;

  // 10. Form 2.
  auto& d2 = run.Dai2Hyou_R01.F;
  d2[1] = F(run, -1, 1);
  for (int i = 0; i < 6; ++i) {
    const int c = i == 0 ? -1 : i - 1;
    d2[static_cast<std::size_t>(2 + i)] = F(run, c, 17);
    d2[static_cast<std::size_t>(8 + i)] = F(run, c, 18);
    d2[static_cast<std::size_t>(14 + i)] = F(run, c, 2);
    d2[static_cast<std::size_t>(23 + i)] = (c == 0 || c == 3) ? Currency(0) : F(run, c, 13);
  }
  d2[20] = F(run, -1, 5);
  d2[21] = F(run, -1, 19);
  d2[22] = F(run, -1, 20);

  // 11. Rate columns in use.
  par.RateColumnState = CheckRateColumnsInUse(par, run);
  return true;
}

void FinishDai1HyouR01(const TTAXPAR& par, TDAI1HYOU& form1) {
  auto& f = form1.F;
  f[kD1TyuukanNoufu] = K100(par.TyuukanNoufu);
  f[kD1Noufu] = Max0(f[kD1Sasihiki] - f[kD1TyuukanNoufu]);
  f[kD1TyuukanKanpu] = Max0(f[kD1TyuukanNoufu] - f[kD1Sasihiki]);
  f[kD1JouSasihiki] = K100(f[kD1JouSasihiki]);
  f[kD1JouTyuukanNoufu] = K100(par.TyuukanJouto);
  if (f[kD1JouTyuukanNoufu] > f[kD1JouNouzei]) {
    f[kD1JouNoufu] = Currency(0);
    f[kD1JouTyuukanKanpu] = f[kD1JouTyuukanNoufu] - f[kD1JouNouzei];
  } else {
    f[kD1JouNoufu] = f[kD1JouNouzei] - f[kD1JouTyuukanNoufu];
    f[kD1JouTyuukanKanpu] = Currency(0);
  }
  if (HandWritten(par) && par.SinkokuName == "修正") {
    if (f[kD1KanpuFusoku] == Currency(0)) {
      f[kD1SasihikiNoufu] = f[kD1Sasihiki] - f[kD1TyuukanNoufu] - f[kD1Kikakutei];
      f[kD1JouSasihikiNoufu] = f[kD1JouNouzei] - f[kD1JouTyuukanNoufu] - f[kD1JouKikakutei];
    } else {
      f[kD1SasihikiNoufu] = -f[kD1Kikakutei] - f[kD1KanpuFusoku] - f[kD1TyuukanNoufu];
      f[kD1JouSasihikiNoufu] = -f[kD1JouKikakutei] - f[kD1JouKanpu] - f[kD1JouTyuukanNoufu];
    }
    f[kD1SasihikiNoufu] = K100(f[kD1SasihikiNoufu]);
    f[kD1JouSasihikiNoufu] = K100(f[kD1JouSasihikiNoufu]);
    f[kD1Goukei] = f[kD1SasihikiNoufu] + f[kD1JouSasihikiNoufu];
  } else {
    f[kD1SasihikiNoufu] = Currency(0);
    f[kD1JouSasihikiNoufu] = Currency(0);
    f[kD1Goukei] = (f[kD1Noufu] + f[kD1JouNoufu]) -
                   (f[kD1KanpuFusoku] + f[kD1TyuukanKanpu] + f[kD1JouKanpu] + f[kD1JouTyuukanKanpu]);
  }
  if (par.SinkokuKind == 1 && f[kD1Goukei] < Currency(0)) f[kD1Goukei] = Currency(0);
}

bool CalcGensokuR01(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  CalcFuhyou11R01(run, -3);
  CalcFuhyou11R01(run, -1);
  FinishDai1HyouR01(par, run.Dai1Hyou);
  return true;
}
