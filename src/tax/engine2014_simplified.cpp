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

Currency& F(int col, int field) { return Fuhyou4_H26[col].F[static_cast<std::size_t>(field)]; }
Currency& FS(int slot, int field) { return F(slot + 1, field); }
// The schedule-5 column of the same meaning as schedule-4 column c.
TFuhyou5Column& Sch5Of(int c) { return Fuhyou5_H26[c == 0 ? -1 : c - 1]; }

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

bool CalcFuhyou5LinkH26(TTAXPAR& par, TDAI1HYOU& form1) {
  CalcFuhyou5H26(par, form1);
  const TFuhyou5Column& total = Fuhyou5_H26[-1];
  const int single = total.SingleType;
  for (int c = 0; c <= 3; ++c) F(c, 5) = Sch5Of(c).F[single > 0 ? 5 : 57];

  form1.Gyousyu = {};
  if (single > 0) {
    const Currency thousands = SalesThousands(total.F[59]);
    auto& row = form1.Gyousyu[static_cast<std::size_t>(single - 1)];
    row.Sales = thousands;
    row.Share = Currency(100);
    form1.GyousyuTotal = thousands;
  } else {
    Currency sum;
    for (int t = 1; t <= 6; ++t) {
      auto& row = form1.Gyousyu[static_cast<std::size_t>(t - 1)];
      row.Sales = SalesThousands(total.F[static_cast<std::size_t>(6 + t)]);
      row.Share = total.F[static_cast<std::size_t>(19 + t)];
      sum += total.F[static_cast<std::size_t>(6 + t)];
    }
    form1.GyousyuTotal = SalesThousands(sum);
  }
  return true;
}

bool CalcFuhyou4H26(TTAXPAR& par, TDAI1HYOU& form1) {
  const bool hand = HandWritten(par);

  // 1-2. Clear the total; lines of each rate column.
  F(0, 1) = Currency(0);
  for (int n = 3; n <= 17; ++n) F(0, n) = Currency(0);
  if (!hand) {
    for (int s : kSlots) {
      const Fraction net = ConvertByRate(par.Era, s, KOMI2NUKI, G(par, s, kS));
      FS(s, 1) = K1000(IntYen(net) + N(par, s, kS));
      FS(s, 3) = IC(par.Era, s, TAX_ZEIRITU, K1000(net)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kS));
      FS(s, 4) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kBR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kBR));
      FS(s, 6) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kR));
      FS(s, 7) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kD)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kD));
    }
  }

  // 3. Total column.
  for (int s : kSlots) {
    F(0, 1) = K1000(F(0, 1) + FS(s, 1));
    for (int n : {3, 4, 6, 7}) F(0, n) += FS(s, n);
  }
  F(0, 5) = Currency(0);

  // 4-5. Schedule 5 takes the tax lines and gives the deemed purchase tax.
  for (int c = 0; c <= 3; ++c) {
    auto& s5 = Sch5Of(c).F;
    s5[1] = F(c, 3);
    s5[2] = F(c, 4);
    s5[3] = F(c, 6);
  }
  CalcFuhyou5LinkH26(par, form1);

  // 6-7. Deductions and local tax of the rate columns.
  for (int s : kSlots) {
    FS(s, 8) = FS(s, 5) + FS(s, 6) + FS(s, 7);
    FS(s, 9) = Max0(FS(s, 8) - FS(s, 3) - FS(s, 4));
    FS(s, 10) = Max0(FS(s, 3) + FS(s, 4) - FS(s, 8));
  }
  for (int s : {1, 2}) {
    FS(s, 12) = FS(s, 9);
    FS(s, 13) = FS(s, 10);
    FS(s, 15) = IC(par.Era, s, JYOTOWARI, FS(s, 12));
    FS(s, 16) = IC(par.Era, s, JYOTOWARI, FS(s, 13));
  }

  // 8. Total column; on its own lines when schedule 5 chose so.
  for (int n = 8; n <= 17; ++n) F(0, n) = Currency(0);
  for (int n : {8, 9, 10, 12, 13, 15, 16})
    for (int s : kSlots) F(0, n) += FS(s, n);
  if (par.KaniSelect == 1) {
    F(0, 8) = F(0, 5) + F(0, 6) + F(0, 7);
    F(0, 9) = Max0(F(0, 8) - F(0, 3) - F(0, 4));
    F(0, 10) = Max0(F(0, 3) + F(0, 4) - F(0, 8));
  }
  F(0, 11) = F(0, 10) - F(0, 9);
  F(0, 14) = F(0, 13) - F(0, 12);
  F(0, 17) = F(0, 16) - F(0, 15);

  // 9-11. Form 1.
  auto& f = form1.F;
  f[kD1KazeiHyoujun] = F(0, 1);
  f[kD1Syouhizei] = F(0, 3);
  f[kD1KoujyoKadai] = F(0, 4);
  f[kD1KoujyoSiire] = F(0, 5);
  f[kD1Henkan] = F(0, 6);
  f[kD1Kasidaore] = F(0, 7);
  f[kD1KoujyoSyoukei] = F(0, 8);
  for (int n : {kD1KanpuFusoku, kD1Sasihiki, kD1JouKanpuFusoku, kD1JouSasihiki, kD1JouKanpu, kD1JouNouzei})
    f[static_cast<std::size_t>(n)] = Currency(0);
  SplitBalance(F(0, 11), f[kD1KanpuFusoku], f[kD1Sasihiki]);
  if (!hand) f[kD1KazeiJouto] = TaxableSalesOfPeriod(par);
  SplitBalance(F(0, 14), f[kD1JouKanpuFusoku], f[kD1JouSasihiki]);
  SplitBalance(F(0, 17), f[kD1JouKanpu], f[kD1JouNouzei]);

  // 12. Bases and taxes by rate.
  f[27] = Thousands(F(2, 1));
  f[28] = Thousands(F(1, 1));
  f[32] = Thousands(F(3, 1));
  f[29] = F(2, 3);
  f[30] = F(1, 3);
  f[33] = F(3, 3);
  f[34] = F(2, 13) - F(2, 12);
  f[35] = F(3, 13) - F(3, 12);

  // 13. Only the 6.3 % column in use: the local tax of the total.
  ApplySingleRateLocalTaxH26(par, form1, F(3, 13) - F(3, 12));
  return true;
}

bool CalcKaniH26(TTAXPAR& par, TDAI1HYOU& form1) {
  CalcFuhyou4H26(par, form1);
  FinishDai1HyouR01(par, form1);
  form1.F[kD1SouJouto] = par.KijyunKikanUri;
  return true;
}
