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

Currency& F(int col, int field) { return Fuhyou41_R01[col].F[static_cast<std::size_t>(field)]; }

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

void ClearFuhyou41Column(int col) { Fuhyou41_R01[col].F.fill(Currency(0)); }

void SumFuhyou41Columns(int col, const TTAXPAR& par) {
  const int t = col == -3 ? 2 : 4;
  for (int n = 8; n <= 17; ++n) F(col, n) = Currency(0);
  for (int s = 0; s <= t; ++s)
    for (int n : {8, 9, 10, 12, 13, 15, 16}) F(col, n) += F(s, n);
  if (par.KaniSelect == 1) {
    F(col, 8) = F(col, 5) + F(col, 6) + F(col, 7);
    F(col, 9) = Max0(F(col, 8) - F(col, 3) - F(col, 4));
    F(col, 10) = Max0(F(col, 3) + F(col, 4) - F(col, 8));
  }
  F(col, 11) = F(col, 10) - F(col, 9);
  F(col, 14) = F(col, 13) - F(col, 12);
  F(col, 17) = F(col, 16) - F(col, 15);
}

bool CalcFuhyou41R01(TTAXPAR& par, TDAI1HYOU& form1, int col) {
  const int t = col == -3 ? 2 : 4;
  const bool hand = HandWritten(par);

  // 1-2. Taxable base, tax, collected bad debts, returns and bad debts.
  ClearFuhyou41Column(col);
  if (!hand) {
    for (int s = 0; s <= t; ++s) {
      const Currency g = IC(par.Era, s, KOMI2NUKI, G(par, s, kS));
      F(s, 2) = g + N(par, s, kS);
      F(s, 1) = K1000(F(s, 2));
      F(s, 3) = IC(par.Era, s, TAX_ZEIRITU, K1000(g)) + IC(par.Era, s, TAX_KOKUZEI, T(par, s, kS));
      F(s, 4) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kBR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kBR));
      F(s, 6) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kR)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kR));
      F(s, 7) = IC(par.Era, s, TAX_KOKUZEI, T(par, s, kD)) + IC(par.Era, s, KOMI_KOKUZEI, G(par, s, kD));
    }
  }

  // 3. Column totals.
  for (int s = 0; s <= t; ++s) {
    F(col, 1) = K1000(F(col, 1) + F(s, 1));
    for (int n : {2, 3, 4, 6, 7}) F(col, n) += F(s, n);
  }
  F(col, 5) = Currency(0);

  // 4-5. Schedule 5-1 takes the tax lines and returns the deemed purchase tax.
  for (int c = -1; c <= t; ++c) {
    if (c == -2) continue;
    auto& s5 = Fuhyou51_R01[c].F;
    s5[1] = F(c, 3);
    s5[2] = F(c, 4);
    s5[3] = F(c, 6);
  }
  CalcFuhyou5R01(par, form1, col);

  // 6-8. Deductions, local-tax base and local tax of every slot.
  for (int s = 0; s <= 4; ++s) {
    F(s, 8) = F(s, 5) + F(s, 6) + F(s, 7);
    F(s, 9) = Max0(F(s, 8) - F(s, 3) - F(s, 4));
    F(s, 10) = Max0(F(s, 3) + F(s, 4) - F(s, 8));
  }
  for (int s : kLocalSlots) {
    F(s, 12) = F(s, 9);
    F(s, 13) = F(s, 10);
    if (s == 4) {
      F(s, 12) += F(3, 9);
      F(s, 13) += F(3, 10);
    }
    F(s, 14) = F(s, 13) - F(s, 12);
  }
  for (int s = 1; s <= 4; ++s) {
    F(s, 15) = IC(par.Era, s, JYOTOWARI, F(s, 12));
    F(s, 16) = IC(par.Era, s, JYOTOWARI, F(s, 13));
  }

  // 9. Totals.
  SumFuhyou41Columns(col, par);
  if (col == -1) SumFuhyou41Columns(-3, par);
  if (col != -1) return true;

  // 10. Form 1.
  auto& f = form1.F;
  f[kD1KazeiHyoujun] = F(-1, 1);
  f[kD1Syouhizei] = F(-1, 3);
  f[kD1KoujyoKadai] = F(-1, 4);
  f[kD1KoujyoSiire] = F(-1, 5);
  f[kD1Henkan] = F(-1, 6);
  f[kD1Kasidaore] = F(-1, 7);
  f[kD1KoujyoSyoukei] = F(-1, 8);
  for (int n : {kD1KanpuFusoku, kD1Sasihiki, kD1JouKanpuFusoku, kD1JouSasihiki, kD1JouKanpu, kD1JouNouzei})
    f[static_cast<std::size_t>(n)] = Currency(0);
  SplitBalance(F(-1, 11), f[kD1KanpuFusoku], f[kD1Sasihiki]);
  if (!hand) f[kD1KazeiJouto] = TaxableSalesOfPeriod(par);
  if (F(-1, 14) != Currency(0)) {
    SplitBalance(F(-1, 14), f[kD1JouKanpuFusoku], f[kD1JouSasihiki]);
    f[34] = Abs(F(1, 12));
    f[35] = Abs(F(2, 12));
  }
  SplitBalance(F(-1, 17), f[kD1JouKanpu], f[kD1JouNouzei]);

  // 11. Form 2.
  auto& d2 = Dai2Hyou_R01.F;
  d2[1] = F(-1, 1);
  for (int i = 0; i < 6; ++i) {
    const int c = i == 0 ? -1 : i - 1;
    d2[static_cast<std::size_t>(2 + i)] = F(c, 2);
    d2[static_cast<std::size_t>(8 + i)] = Currency(0);
    d2[static_cast<std::size_t>(14 + i)] = F(c, 3);
    d2[static_cast<std::size_t>(23 + i)] = (c == 0 || c == 3) ? Currency(0) : F(c, 14);
  }
  d2[20] = F(-1, 6);
  d2[21] = F(-1, 6);
  d2[22] = Currency(0);

  // 12. Rate columns in use.
  par.RateColumnState = CheckRateColumnsInUse(true);
  return true;
}

bool CalcKaniR01(TTAXPAR& par, TDAI1HYOU& form1) {
  CalcFuhyou41R01(par, form1, -3);
  CalcFuhyou41R01(par, form1, -1);
  FinishDai1HyouR01(par, form1);
  form1.F[kD1SouJouto] = par.KijyunKikanUri;
  return true;
}
