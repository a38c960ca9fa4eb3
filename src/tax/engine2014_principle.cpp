// Principle taxation, forms from 2014-04-01 (eras 1 to 3): schedule 1 with
// its three rate columns and total, form 2 (era 3, reverse-charge lines) and
// form 1, and the single-rate local tax shared with the simplified entry.
#include "tax/engine_util.h"
#include "tax/engines_2014.h"
#include "tax/engines_r01.h"
#include "tax/taxera.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

constexpr int kSlots[] = {0, 1, 2};

Currency& F(TTaxRun& run, int col, int field) { return run.Fuhyou1_H26[col].F[static_cast<std::size_t>(field)]; }
Currency& FS(TTaxRun& run, int slot, int field) { return F(run, slot + 1, field); }

// Form 1 takes a balance as a shortfall (exact) or a net figure (to 100 yen).
void SplitBalance(Currency balance, Currency& shortfall, Currency& net) {
  if (balance < Currency(0)) shortfall = -balance;
  else if (balance > Currency(0)) net = K100(balance);
}

bool Ratio95OrMore(TTaxRun& run) { return run.Fuhyou2_H26[0].F[8] >= kRatio95; }

// Steps 2-3: taxable base and tax of slot s.
void TaxableBase(TTaxRun& run, const TTAXPAR& par, int s, bool hand, bool era3, bool ratio95) {
  if (hand) {
    if (era3) {
      if (ratio95) FS(run, s, 18) = Currency(0);
      FS(run, s, 1) = K1000(FS(run, s, 17) + FS(run, s, 18));
    }
    FS(run, s, 2) = IC(par.Era, s, TAX_ZEIRITU, FS(run, s, 1));
    return;
  }
  const Currency gross = IC(par.Era, s, KOMI2NUKI, G(par, s, kS));
  const Currency reverse = era3 && !ratio95 ? N(par, s, kRC) : Currency(0);
  if (era3) {
    FS(run, s, 17) = gross + N(par, s, kS);
    FS(run, s, 18) = reverse;
    FS(run, s, 1) = K1000(FS(run, s, 17) + FS(run, s, 18));
  } else {
    FS(run, s, 1) = K1000(gross + N(par, s, kS));
  }
  // The national rate of the 1,000-yen base of the tax-inclusive lines (and
  // the reverse charge) is exact; the tax booked separately adds its national part.
  FS(run, s, 2) = IC(par.Era, s, TAX_ZEIRITU, K1000(gross + reverse)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kS));
}

// Steps 4-5: returns and bad debts of slot s.
void ReturnsAndBadDebts(TTaxRun& run, const TTAXPAR& par, int s, bool hand, bool era3, bool ratio95) {
  if (hand) {
    if (era3) {
      if (ratio95) FS(run, s, 20) = Currency(0);
      FS(run, s, 5) = FS(run, s, 19) + FS(run, s, 20);
    }
    return;
  }
  const Currency returns = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kR));
  if (era3) {
    FS(run, s, 19) = returns;
    FS(run, s, 20) = ratio95 ? Currency(0) : IC(par.Era, s, NUKI_KOKUZEI, N(par, s, kRCR));
    FS(run, s, 5) = FS(run, s, 19) + FS(run, s, 20);
  } else {
    FS(run, s, 5) = returns;
  }
  FS(run, s, 6) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kD)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kD));
}

void FillForm2(TTaxRun& run) {
  auto& d2 = run.Dai2Hyou_H26.F;
  d2[1] = F(run, 0, 1);
  for (int i = 0; i <= 3; ++i) {
    d2[static_cast<std::size_t>(2 + i)] = F(run, i, 17);
    d2[static_cast<std::size_t>(6 + i)] = F(run, i, 18);
    d2[static_cast<std::size_t>(10 + i)] = F(run, i, 17) + F(run, i, 18);
  }
  d2[14] = F(run, 0, 5);
  d2[15] = F(run, 0, 19);
  d2[16] = F(run, 0, 20);
}

}  // namespace

bool HasTokuteiSiireLinesH26(TTaxRun& run, int mode) {
  const TTAXPAR& par = run.TaxPar;
  if (par.SinkokuKubun != 0) return false;
  if (mode == 1) {
    if (Ratio95OrMore(run)) return false;
    for (int s : kSlots)
      if (FS(run, s, 18) > Currency(0) || FS(run, s, 20) > Currency(0)) return true;
    return false;
  }
  for (int s = 0; s <= 4; ++s)
    for (int code : {551, 552, 553, 581, 582, 583})
      if (N(par, s, {code}) != Currency(0)) return true;
  return false;
}

void ApplySingleRateLocalTaxH26(TTaxRun& run, Currency localBase63) {
  TTAXPAR& par = run.TaxPar;
  const int state = CheckRateColumnsInUse(par, run);
  par.RateColumnState = state;
  if (state < 2) return;
  auto& f = run.Dai1Hyou.F;
  f[34] = Currency(0);
  f[35] = Currency(0);
  // The conversion takes the state as its rate slot: 2 is the 8 % slot.
  if (f[kD1JouKanpuFusoku] > Currency(0)) {
    f[kD1JouKanpu] = IC(par.Era, state, JYOTOWARI, f[kD1JouKanpuFusoku]);
    if (state == 2) f[35] = localBase63;
  } else if (f[kD1JouSasihiki] > Currency(0)) {
    f[kD1JouNouzei] = K100(ConvertByRate(par.Era, state, JYOTOWARI, f[kD1JouSasihiki]));
    if (state == 2) f[35] = K100(localBase63);
  }
}

bool CalcFuhyou1H26(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  const bool hand = HandWritten(par);
  const bool era3 = par.Era >= 3;

  // 1. Schedule 2 gives fields 3 and 4 of each rate column.
  CalcFuhyou2LinkH26(run);
  const bool ratio95 = Ratio95OrMore(run);

  for (int s : kSlots) {
    // 2-5. Base and tax, returns and bad debts.
    TaxableBase(run, par, s, hand, era3, ratio95);
    ReturnsAndBadDebts(run, par, s, hand, era3, ratio95);
    // 6. Subtotal, shortfall and net tax.
    FS(run, s, 7) = FS(run, s, 4) + FS(run, s, 5) + FS(run, s, 6);
    FS(run, s, 8) = Max0(FS(run, s, 7) - FS(run, s, 2) - FS(run, s, 3));
    FS(run, s, 9) = Max0(FS(run, s, 2) + FS(run, s, 3) - FS(run, s, 7));
  }

  // 7. Local tax of the 4 % and 6.3 % columns.
  for (int s : {1, 2}) {
    FS(run, s, 11) = FS(run, s, 8);
    FS(run, s, 12) = FS(run, s, 9);
    FS(run, s, 14) = IC(par.Era, s, JYOTOWARI, FS(run, s, 11));
    FS(run, s, 15) = IC(par.Era, s, JYOTOWARI, FS(run, s, 12));
  }

  // 8. Total column and form 1.
  run.Fuhyou1_H26[0].F.fill(Currency(0));
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 14, 15, 17, 18, 19, 20})
    for (int s : kSlots) F(run, 0, n) += FS(run, s, n);
  F(run, 0, 10) = F(run, 0, 9) - F(run, 0, 8);
  F(run, 0, 13) = F(run, 0, 12) - F(run, 0, 11);
  F(run, 0, 16) = F(run, 0, 15) - F(run, 0, 14);
  auto& f = run.Dai1Hyou.F;
  for (int n = 1; n <= 7; ++n) f[static_cast<std::size_t>(n)] = F(run, 0, n);
  for (int n : {kD1KanpuFusoku, kD1Sasihiki, kD1JouKanpuFusoku, kD1JouSasihiki, kD1JouKanpu, kD1JouNouzei})
    f[static_cast<std::size_t>(n)] = Currency(0);
  SplitBalance(F(run, 0, 10), f[kD1KanpuFusoku], f[kD1Sasihiki]);
  SplitBalance(F(run, 0, 13), f[kD1JouKanpuFusoku], f[kD1JouSasihiki]);
  SplitBalance(F(run, 0, 16), f[kD1JouKanpu], f[kD1JouNouzei]);

  // 9. Bases and taxes by rate.
  f[27] = Thousands(F(run, 2, 1));
  f[28] = Thousands(F(run, 1, 1));
  f[32] = Thousands(F(run, 3, 1));
  f[29] = F(run, 2, 2);
  f[30] = F(run, 1, 2);
  f[33] = F(run, 3, 2);
  f[34] = F(run, 2, 12) - F(run, 2, 11);
  f[35] = F(run, 3, 12) - F(run, 3, 11);

  // 10. Only the 6.3 % column in use: the local tax of the total.
  ApplySingleRateLocalTaxH26(run, F(run, 3, 12) - F(run, 3, 11));

  // 11. Reverse-charge flag and form 2.
  if (era3) {
    run.Dai1Hyou.TokuteiSiire = HasTokuteiSiireLinesH26(run, 1);
    FillForm2(run);
  }
  return true;
}

bool CalcGensokuH26(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  CalcFuhyou1H26(run);
  // The finishing of form 1 is that of the forms from 2019-10-01.
  FinishDai1HyouR01(par, run.Dai1Hyou);
  return true;
}
