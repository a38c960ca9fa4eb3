// Simplified taxation, forms from 2014-04-01 (eras 1 to 3): schedule 4 with
// its three rate columns and total, the hand-over to schedule 5 for the deemed
// purchase tax, and form 1 with the table of sales by business type.
#include "tax/engine_util.h"
#include "tax/engines_2014.h"
#include "tax/engines_r01.h"
#include "tax/taxsums.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;

namespace {

constexpr int kSlots[] = {0, 1, 2};

Currency& F(TTaxRun& run, int col, int field) { return run.Fuhyou4_H26[col].F[static_cast<std::size_t>(field)]; }
Currency& FS(TTaxRun& run, int slot, int field) { return F(run, slot + 1, field); }
// The schedule-5 column of the same meaning as schedule-4 column c.
TFuhyou5Column& Sch5Of(TTaxRun& run, int c) { return run.Fuhyou5_H26[c == 0 ? -1 : c - 1]; }

void SplitBalance(Currency balance, Currency& shortfall, Currency& net) {
  if (balance < Currency(0)) shortfall = -balance;
  else if (balance > Currency(0)) net = K100(balance);
}

// Taxable sales of the period: net taxable sales less returns, plus exempt
// sales and exports less their deductions (gross block only).
Currency TaxableSalesOfPeriod(const TTAXPAR& par) {
  Currency sum;
  for (int s : kSlots) {
    sum += (IC(par.Era, s, KOMI2NUKI, G(par, s, kS)) + N(par, s, kS)) - (IC(par.Era, s, KOMI2NUKI, G(par, s, kR)) + N(par, s, kR)) +
           G(par, s, {120}) - G(par, s, {320}) + G(par, s, {220}) - G(par, s, {420}) + G(par, s, {150}) -
           G(par, s, {350}) + G(par, s, {250}) - G(par, s, {450});
  }
  return sum;
}

Currency SalesThousands(Currency yen) { return RoundCurrencyQ(1, Fraction(yen) / Fraction(1000)); }

}  // namespace

bool CalcFuhyou5LinkH26(TTaxRun& run) {
  CalcFuhyou5H26(run);
  const TFuhyou5Column& total = run.Fuhyou5_H26[-1];
  const int single = total.SingleType;
  for (int c = 0; c <= 3; ++c) F(run, c, 5) = Sch5Of(run, c).F[single > 0 ? 5 : 57];

  run.Dai1Hyou.Gyousyu = {};
  if (single > 0) {
    const Currency thousands = SalesThousands(total.F[59]);
    auto& row = run.Dai1Hyou.Gyousyu[static_cast<std::size_t>(single - 1)];
    row.Sales = thousands;
    row.Share = Currency(100);
    run.Dai1Hyou.GyousyuTotal = thousands;
  } else {
    Currency sum;
    for (int t = 1; t <= 6; ++t) {
      auto& row = run.Dai1Hyou.Gyousyu[static_cast<std::size_t>(t - 1)];
      row.Sales = SalesThousands(total.F[static_cast<std::size_t>(6 + t)]);
      row.Share = total.F[static_cast<std::size_t>(19 + t)];
      sum += total.F[static_cast<std::size_t>(6 + t)];
    }
    run.Dai1Hyou.GyousyuTotal = SalesThousands(sum);
  }
  return true;
}

bool CalcFuhyou4H26(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  const bool hand = HandWritten(par);

  // 1-2. Clear the total; lines of each rate column.
  F(run, 0, 1) = Currency(0);
  for (int n = 3; n <= 17; ++n) F(run, 0, n) = Currency(0);
  if (!hand) {
    for (int s : kSlots) {
      const Fraction net = ConvertByRate(par.Era, s, KOMI2NUKI, G(par, s, kS));
      FS(run, s, 1) = K1000(IntYen(net) + N(par, s, kS));
      FS(run, s, 3) = IC(par.Era, s, TAX_ZEIRITU, K1000(net)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kS));
      FS(run, s, 4) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kBR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kBR));
      FS(run, s, 6) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kR));
      FS(run, s, 7) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kD)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kD));
    }
  }

  // 3. Total column.
  for (int s : kSlots) {
    F(run, 0, 1) = K1000(F(run, 0, 1) + FS(run, s, 1));
    for (int n : {3, 4, 6, 7}) F(run, 0, n) += FS(run, s, n);
  }
  F(run, 0, 5) = Currency(0);

  // 4-5. Schedule 5 takes the tax lines and gives the deemed purchase tax.
  for (int c = 0; c <= 3; ++c) {
    auto& s5 = Sch5Of(run, c).F;
    s5[1] = F(run, c, 3);
    s5[2] = F(run, c, 4);
    s5[3] = F(run, c, 6);
  }
  CalcFuhyou5LinkH26(run);

  // 6-7. Deductions and local tax of the rate columns.
  for (int s : kSlots) {
    FS(run, s, 8) = FS(run, s, 5) + FS(run, s, 6) + FS(run, s, 7);
    FS(run, s, 9) = Max0(FS(run, s, 8) - FS(run, s, 3) - FS(run, s, 4));
    FS(run, s, 10) = Max0(FS(run, s, 3) + FS(run, s, 4) - FS(run, s, 8));
  }
  for (int s : {1, 2}) {
    FS(run, s, 12) = FS(run, s, 9);
    FS(run, s, 13) = FS(run, s, 10);
    FS(run, s, 15) = IC(par.Era, s, JYOTOWARI, FS(run, s, 12));
    FS(run, s, 16) = IC(par.Era, s, JYOTOWARI, FS(run, s, 13));
  }

  // 8. Total column; on its own lines when schedule 5 chose so.
  for (int n = 8; n <= 17; ++n) F(run, 0, n) = Currency(0);
  for (int n : {8, 9, 10, 12, 13, 15, 16})
    for (int s : kSlots) F(run, 0, n) += FS(run, s, n);
  if (par.KaniSelect == 1) {
    F(run, 0, 8) = F(run, 0, 5) + F(run, 0, 6) + F(run, 0, 7);
    F(run, 0, 9) = Max0(F(run, 0, 8) - F(run, 0, 3) - F(run, 0, 4));
    F(run, 0, 10) = Max0(F(run, 0, 3) + F(run, 0, 4) - F(run, 0, 8));
  }
  F(run, 0, 11) = F(run, 0, 10) - F(run, 0, 9);
  F(run, 0, 14) = F(run, 0, 13) - F(run, 0, 12);
  F(run, 0, 17) = F(run, 0, 16) - F(run, 0, 15);

  // 9-11. Form 1.
  auto& f = run.Dai1Hyou.F;
  f[kD1KazeiHyoujun] = F(run, 0, 1);
  f[kD1Syouhizei] = F(run, 0, 3);
  f[kD1KoujyoKadai] = F(run, 0, 4);
  f[kD1KoujyoSiire] = F(run, 0, 5);
  f[kD1Henkan] = F(run, 0, 6);
  f[kD1Kasidaore] = F(run, 0, 7);
  f[kD1KoujyoSyoukei] = F(run, 0, 8);
  for (int n : {kD1KanpuFusoku, kD1Sasihiki, kD1JouKanpuFusoku, kD1JouSasihiki, kD1JouKanpu, kD1JouNouzei})
    f[static_cast<std::size_t>(n)] = Currency(0);
  SplitBalance(F(run, 0, 11), f[kD1KanpuFusoku], f[kD1Sasihiki]);
  if (!hand) f[kD1KazeiJouto] = TaxableSalesOfPeriod(par);
  SplitBalance(F(run, 0, 14), f[kD1JouKanpuFusoku], f[kD1JouSasihiki]);
  SplitBalance(F(run, 0, 17), f[kD1JouKanpu], f[kD1JouNouzei]);

  // 12. Bases and taxes by rate.
  f[27] = Thousands(F(run, 2, 1));
  f[28] = Thousands(F(run, 1, 1));
  f[32] = Thousands(F(run, 3, 1));
  f[29] = F(run, 2, 3);
  f[30] = F(run, 1, 3);
  f[33] = F(run, 3, 3);
  f[34] = F(run, 2, 13) - F(run, 2, 12);
  f[35] = F(run, 3, 13) - F(run, 3, 12);

  // 13. Only the 6.3 % column in use: the local tax of the total.
  ApplySingleRateLocalTaxH26(run, F(run, 3, 13) - F(run, 3, 12));
  return true;
}

bool CalcKaniH26(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  CalcFuhyou4H26(run);
  FinishDai1HyouR01(par, run.Dai1Hyou);
  run.Dai1Hyou.F[kD1SouJouto] = par.KijyunKikanUri;
  return true;
}
