// Simplified taxation, forms before 2014-04-01 (era 0): schedule 4 with its
// 3 % and 4 % columns (lines from the deductible purchase tax on keep only a
// total and a 4 % field), its hand-over to schedule 5, and form 1.
#include "tax/engine_early_sums.h"
#include "tax/engine_util.h"
#include "tax/engines_early.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;
using early::k3;
using early::k4;
using early::TaxOfLine;

namespace {

// Taxable sales with exempt sales and exports of one rate column (the exempt
// sales and exports from the gross block only).
Currency SalesWithExports(const TTAXPAR& par, int s) {
  return IC(par.Era, s, KOMI2NUKI, G(par, s, early::kS) - G(par, s, early::kR)) + N(par, s, early::kS) -
         N(par, s, early::kR) + G(par, s, early::kExemptPlus) - G(par, s, early::kExemptMinus) +
         G(par, s, early::kExportPlus) - G(par, s, early::kExportMinus);
}

}  // namespace

bool CalcFuhyou5LinkOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5) {
  return CalcFuhyou5Old(par, form1, sch4, sch5);
}

bool CalcFuhyou4Old(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5) {
  const bool hand = HandWritten(par);
  auto& a = sch4.F;
  auto& f = form1.F;

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

  // 3-4. Tax (kept as entered in the hand-written mode).
  if (!hand) {
    a[6] = IC(par.Era, k4, TAX_KOKUZEI, T(par, k4, early::kS)) + IC(par.Era, k4, TAX_ZEIRITU, K1000(net4));
    a[7] = IC(par.Era, k3, TAX_ZEIRITU, K1000(net3)) + T(par, k3, early::kS);
  }
  a[10] = a[6];
  a[9] = a[7];
  a[8] = a[6] + a[7];
  f[kD1Syouhizei] = a[8];
  sch5.F[1] = a[8];
  sch5.F[2] = a[10];

  // 5. Bad-debt recoveries.
  if (!hand) {
    a[12] = TaxOfLine(par.Era, k3, G(par, k3, kBR), T(par, k3, kBR));
    a[13] = TaxOfLine(par.Era, k4, G(par, k4, kBR), T(par, k4, kBR));
  }
  a[11] = a[12] + a[13];
  f[kD1KoujyoKadai] = a[11];
  sch5.F[3] = a[11];
  sch5.F[4] = a[13];

  // 6-7. Schedule 5: deductible purchase tax and the tax on sales returns.
  CalcFuhyou5LinkOld(par, form1, sch4, sch5);
  f[kD1KoujyoSiire] = a[14];
  a[16] = a[17] + a[18];
  f[kD1Henkan] = a[16];

  // 8. Bad debts.
  if (!hand) {
    a[20] = TaxOfLine(par.Era, k3, G(par, k3, early::kB), T(par, k3, early::kB));
    a[21] = TaxOfLine(par.Era, k4, G(par, k4, early::kB), T(par, k4, early::kB));
  }
  a[19] = a[20] + a[21];
  f[kD1Kasidaore] = a[19];

  // 9-12. Deductions, shortfall, net tax and balance.
  a[23] = a[15] + a[18] + a[21];
  a[22] = a[14] + a[16] + a[19];
  f[kD1KoujyoSyoukei] = a[22];
  a[25] = Max0(a[23] - a[10] - a[13]);
  a[24] = Max0(a[22] - a[8] - a[11]);
  f[kD1JouKanpuFusoku] = a[25];
  a[27] = Max0(a[10] + a[13] - a[23]);
  a[26] = Max0(a[8] + a[11] - a[22]);
  f[kD1JouSasihiki] = a[27];
  a[28] = a[26] - a[24];
  a[29] = a[27] - a[25];

  // 13. Shortfall exactly, or net tax to 100 yen.
  f[kD1KanpuFusoku] = Currency(0);
  f[kD1Sasihiki] = Currency(0);
  if (a[28] < Currency(0)) f[kD1KanpuFusoku] = -a[28];
  else f[kD1Sasihiki] = K100(a[28]);

  // 14. Taxable sales with exports.
  if (!hand) f[kD1KazeiJouto] = SalesWithExports(par, k3) + SalesWithExports(par, k4);
  return true;
}

bool CalcKaniOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5) {
  CalcFuhyou4Old(par, form1, sch4, sch5);
  FinishDai1HyouOld(par, form1, sch4.F[1], sch4.F[2], sch4.F[6], sch4.F[7]);
  form1.F[kD1SouJouto] = par.KijyunKikanUri;
  return true;
}
