// Principle taxation, forms before 2014-04-01 (era 0): schedule 1 with its
// 3 % and 4 % columns, form 1, and the form-1 finishing shared with the
// simplified entry of those forms.
#include "tax/engine_early_sums.h"
#include "tax/engine_util.h"
#include "tax/engines_early.h"
#include "tax/engines_r01.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;
using early::k3;
using early::k4;
using early::TaxOfLine;

bool CalcFuhyou1Old(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22) {
  const bool hand = HandWritten(par);
  auto& a = sch1.F;
  auto& f = form1.F;
  CalcFuhyou2LinkOld(company, par, form1, sch1, sch22);

  // 1-2. Taxable base.
  const Fraction net4 = ConvertByRate(par.Era, k4, KOMI2NUKI, G(par, k4, early::kS));
  const Fraction net3 = ConvertByRate(par.Era, k3, KOMI2NUKI, G(par, k3, early::kS));
  if (!hand) {
    a[1] = K1000(net4 + Fraction(N(par, k4, early::kS)));
    a[2] = K1000(net3 + Fraction(N(par, k3, early::kS)));
  }
  a[5] = a[1];
  a[4] = a[2];
  a[3] = a[4] + a[5];
  f[kD1KazeiHyoujun] = a[3];

  // 3-4. Tax: the rate of the 1,000-yen base of the tax-inclusive lines plus
  // the national part of the tax booked separately.
  if (!hand) {
    a[6] = IC(par.Era, k4, TAX_KOKUZEI, T(par, k4, early::kS)) + IC(par.Era, k4, TAX_ZEIRITU, K1000(net4));
    a[7] = IC(par.Era, k3, TAX_ZEIRITU, K1000(net3)) + T(par, k3, early::kS);
  } else {
    a[6] = IC(par.Era, k4, TAX_ZEIRITU, a[1]);
    a[7] = IC(par.Era, k3, TAX_ZEIRITU, a[2]);
  }
  a[10] = a[6];
  a[9] = a[7];
  a[8] = a[6] + a[7];
  f[kD1Syouhizei] = a[8];
  a[11] = a[12] + a[13];
  f[kD1KoujyoKadai] = a[11];
  a[14] = a[15] + a[16];
  f[kD1KoujyoSiire] = a[14];

  // 5. Returns and bad debts.
  if (!hand) {
    a[18] = TaxOfLine(par.Era, k3, G(par, k3, early::kR), T(par, k3, early::kR));
    a[19] = TaxOfLine(par.Era, k4, G(par, k4, early::kR), T(par, k4, early::kR));
  }
  a[17] = a[18] + a[19];
  f[kD1Henkan] = a[17];
  if (!hand) {
    a[21] = TaxOfLine(par.Era, k3, G(par, k3, early::kB), T(par, k3, early::kB));
    a[22] = TaxOfLine(par.Era, k4, G(par, k4, early::kB), T(par, k4, early::kB));
  }
  a[20] = a[21] + a[22];
  f[kD1Kasidaore] = a[20];

  // 6-7. Deductions, shortfall and net tax by column.
  a[24] = a[15] + a[18] + a[21];
  a[25] = a[16] + a[19] + a[22];
  a[23] = a[24] + a[25];
  f[kD1KoujyoSyoukei] = a[23];
  a[27] = Max0(a[24] - a[9] - a[12]);
  a[28] = Max0(a[25] - a[10] - a[13]);
  a[26] = a[27] + a[28];
  a[30] = Max0(a[9] + a[12] - a[24]);
  a[31] = Max0(a[10] + a[13] - a[25]);
  a[29] = a[30] + a[31];
  f[kD1JouKanpuFusoku] = a[28];
  f[kD1JouSasihiki] = a[31];

  // 8. Balance: a shortfall exactly, or net tax to 100 yen.
  a[32] = a[29] - a[26];
  f[kD1KanpuFusoku] = Currency(0);
  f[kD1Sasihiki] = Currency(0);
  if (a[32] < Currency(0)) f[kD1KanpuFusoku] = -a[32];
  else f[kD1Sasihiki] = K100(a[32]);
  return true;
}

void FinishDai1HyouOld(const TTAXPAR& par, TDAI1HYOU& form1, Currency base4, Currency base3, Currency tax4,
                       Currency tax3) {
  auto& f = form1.F;
  // Local tax: 25 % of the local-tax base of the 4 % column.
  f[kD1JouSasihiki] = K100(f[kD1JouSasihiki]);
  f[kD1JouKanpu] = IC(par.Era, k4, JYOTOWARI, f[kD1JouKanpuFusoku]);
  f[kD1JouNouzei] = K100(ConvertByRate(par.Era, k4, JYOTOWARI, f[kD1JouSasihiki]));
  // Interim, payable and refund figures and the grand total are those of the
  // later forms.
  FinishDai1HyouR01(par, form1);
  f[27] = Thousands(base4);
  f[28] = Thousands(base3);
  f[29] = tax4;
  f[30] = tax3;
}

bool CalcGensokuOld(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22) {
  CalcFuhyou1Old(company, par, form1, sch1, sch22);
  FinishDai1HyouOld(par, form1, sch1.F[1], sch1.F[2], sch1.F[6], sch1.F[7]);
  return true;
}
