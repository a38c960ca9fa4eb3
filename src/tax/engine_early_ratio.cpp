// Schedule 2-(2) of the principle-taxation forms before 2014-04-01: sales by
// rate column, the taxable-sales ratio in whole percent, the purchase tax,
// the choice among full deduction, the itemised and the proportional method,
// and the tax on bad-debt recoveries. Fields keep the numbers of the form;
// in each line the total comes first, then the 3 % and the 4 % field.
#include "tax/engine_early_sums.h"
#include "tax/engine_util.h"
#include "tax/engines_2014.h"
#include "tax/engines_early.h"
#include "tax/taxera.h"

using namespace engine;
using namespace taxmath;
using namespace taxsums;
using early::k3;
using early::k4;

namespace {

constexpr const char* kFullLabel = "全額控除";
constexpr const char* kItemisedLabel = "個別対応";
constexpr const char* kProportionalLabel = "比例配分";

// Shorthand of the conversions: the national tax in a tax-inclusive amount
// (3/103, 4/105), the national part of a booked tax (1, 80 %) and the net of
// a tax-inclusive amount (100/103, 100/105), all exact.
Fraction Komi(int era, int s, Currency x) { return ConvertByRate(era, s, KOMI_KOKUZEI, x); }
Fraction TaxPart(int era, int s, Currency x) { return ConvertByRate(era, s, TAX_KOKUZEI, x); }

template <typename Plus, typename Minus>
Currency GrossAndNet(const TTAXPAR& par, int s, const Plus& plus, const Minus& minus) {
  return G(par, s, plus) + N(par, s, plus) - G(par, s, minus) - N(par, s, minus);
}

// Taxable sales, exempt sales and exports of one rate column.
void SalesOfColumn(const TTAXPAR& par, int s, Currency& taxable, Currency& exempt, Currency& exports) {
  taxable = IC(par.Era, s, KOMI2NUKI, G(par, s, early::kS) - G(par, s, early::kR)) + N(par, s, early::kS) -
            N(par, s, early::kR);
  exempt = GrossAndNet(par, s, early::kExemptPlus, early::kExemptMinus);
  exports = GrossAndNet(par, s, early::kExportPlus, early::kExportMinus);
}

// Non-taxable sales of one rate column, 5 % of the securities sales counting;
// one truncation of the column's sum.
Currency NonTaxableOfColumn(const TTAXPAR& par, int s) {
  const Fraction securities = Fraction(GrossAndNet(par, s, std::array<int, 2>{140, 240}, std::array<int, 2>{340, 440}));
  return IntYen(Fraction(GrossAndNet(par, s, std::array<int, 2>{130, 230}, std::array<int, 2>{330, 430})) +
                Fraction(5, 100) * securities);
}

// Tax of purchases `p` less returns `pr` of a rate column, with one truncation.
template <typename Codes, typename Returns>
Currency PurchaseTax(const TTAXPAR& par, int s, const Codes& p, const Returns& pr) {
  return IntYen(Komi(par.Era, s, G(par, s, p)) + TaxPart(par.Era, s, T(par, s, p)) - Komi(par.Era, s, G(par, s, pr)) - TaxPart(par.Era, s, T(par, s, pr)));
}

// Tax of imports: each term truncated, the national tax paid added at 100 %.
Currency ImportTax(const TTAXPAR& par, int s) {
  return IntYen(Komi(par.Era, s, G(par, s, kM))) + IntYen(TaxPart(par.Era, s, T(par, s, kM))) - IntYen(Komi(par.Era, s, G(par, s, kMR))) -
         IntYen(TaxPart(par.Era, s, T(par, s, kMR))) + T(par, s, kMN) - T(par, s, kMNR);
}

// Itemised line: taxable-only or common purchases of a rate column, plus the
// national import tax paid of the same kind.
template <typename Codes, typename Returns>
Currency ItemisedLine(const TTAXPAR& par, int s, const Codes& p, const Returns& pr, int importCode,
                      int importReturn) {
  return IntYen(Komi(par.Era, s, G(par, s, p) - G(par, s, pr))) + IntYen(TaxPart(par.Era, s, T(par, s, p) - T(par, s, pr))) +
         T(par, s, {importCode}) - T(par, s, {importReturn});
}

// Full deduction: sales within the 500-million limit and a ratio of 95 or
// more; for a period before that limit, the ratio alone.
bool FullDeduction(const TTaxCompanyInfo& company, const TTAXPAR& par, const TFUHYOU22& q, Currency sales) {
  const bool ratio95 = q.F[19] >= Currency(95);
  if (!IsNew95PercentRule(company, par.KikanSettei, par.KikanFrom, par.KikanTo)) return ratio95;
  return IsSalesWithin500Million(company, par, sales) && ratio95;
}

}  // namespace

bool CalcFuhyou2Old(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU&, TFuhyou1_Old& sch1, TFUHYOU22& sch22) {
  const bool hand = HandWritten(par);
  auto& q = sch22.F;

  // 1-4. Sales lines, taxable and total transfers.
  if (!hand) {
    SalesOfColumn(par, k3, q[2], q[5], q[8]);
    SalesOfColumn(par, k4, q[3], q[6], q[9]);
  } else {
    q[5] = q[8] = Currency(0);
  }
  q[11] = q[2] + q[3] + q[5] + q[6] + q[8] + q[9];
  q[13] = q[11];
  if (!hand) {
    q[15] = NonTaxableOfColumn(par, k3);
    q[16] = NonTaxableOfColumn(par, k4);
  } else {
    q[15] = Currency(0);
  }
  q[18] = q[13] + q[15] + q[16];

  // 5. Ratio: whole percent, truncated, not capped.
  q[19] = Currency(0);
  if (q[11] > Currency(0) && q[18] > Currency(0))
    q[19] = IntYen(Fraction(q[11]) / Fraction(q[18]) * Fraction(100));

  // 6. Purchase lines.
  if (!hand) {
    q[21] = early::AllBlocks(par, k3, kP) - early::AllBlocks(par, k3, kPR);
    q[22] = early::AllBlocks(par, k4, kP) - early::AllBlocks(par, k4, kPR);
    q[24] = PurchaseTax(par, k3, kP, kPR);
    q[25] = PurchaseTax(par, k4, kP, kPR);
    q[27] = early::AllBlocks(par, k3, kM) - early::AllBlocks(par, k3, kMR);
    q[28] = early::AllBlocks(par, k4, kM) - early::AllBlocks(par, k4, kMR);
    q[30] = ImportTax(par, k3);
    q[31] = ImportTax(par, k4);
    q[33] = IntYen(Komi(par.Era, k3, G(par, k3, kA))) + IntYen(TaxPart(par.Era, k3, T(par, k3, kA)));
    q[34] = IntYen(TaxPart(par.Era, k4, T(par, k4, kA))) + IntYen(Komi(par.Era, k4, G(par, k4, kA)));
  }
  q[36] = q[24] + q[30] + q[33];
  q[37] = q[25] + q[31] + q[34];

  // 7. Full-deduction decision.
  const bool full = FullDeduction(company, par, sch22, q[2] + q[3] + q[5] + q[6]);
  sch22.Flag = full ? 1 : 0;

  // 8. Deductible amounts of each column.
  Currency base3, base4;
  if (full) {
    q[39] = q[36];
    q[40] = q[37];
    base3 = q[39];
    base4 = q[40];
  } else if (par.Kazeiuri95Miman == 0) {
    if (!hand) {
      q[42] = ItemisedLine(par, k3, kPt, kPtr, 724, 774);
      q[43] = ItemisedLine(par, k4, kPt, kPtr, 724, 774);
      q[45] = ItemisedLine(par, k3, kPc, kPcr, 725, 775);
      q[46] = ItemisedLine(par, k4, kPc, kPcr, 725, 775);
    }
    if (par.AnbunWariai != 0) {
      const Fraction r = Fraction(par.JunzuruWariai) / Fraction(100);
      q[48] = IntYen(Fraction(q[42]) + Fraction(q[45]) * r);
      q[49] = IntYen(Fraction(q[43]) + Fraction(q[46]) * r);
    } else if (q[18] > Currency(0)) {
      // The exact quotient of the transfers, not the whole-percent ratio.
      const Fraction share = Fraction(q[11]) / Fraction(q[18]);
      q[48] = IntYen(Fraction(q[45]) * share) + q[42];
      q[49] = IntYen(Fraction(q[46]) * share) + q[43];
    } else {
      q[48] = q[42];
      q[49] = q[43];
    }
    base3 = q[48];
    base4 = q[49];
  } else {
    q[51] = q[52] = Currency(0);
    if (q[18] > Currency(0)) {
      const Fraction share = Fraction(q[11]) / Fraction(q[18]);
      q[51] = IntYen(Fraction(q[36]) * share);
      q[52] = IntYen(Fraction(q[37]) * share);
    }
    base3 = q[51];
    base4 = q[52];
  }

  // 9-10. With the adjustments: deductible, or the excess-deduction adjustment.
  const Currency x3 = base3 + q[54] + q[57];
  const Currency x4 = base4 + q[55] + q[58];
  if (x3 >= Currency(0)) q[60] = x3;
  else q[63] = -x3;
  if (x4 >= Currency(0)) q[61] = x4;
  else q[64] = -x4;
  sch1.F[15] = q[60];
  sch1.F[16] = q[61];
  sch1.F[12] = q[63];
  sch1.F[13] = q[64];

  // 11. Tax on bad-debt recoveries joins the adjustment.
  if (!hand) {
    q[66] = IntYen(Komi(par.Era, k3, G(par, k3, kBR))) + T(par, k3, kBR);
    q[67] = IntYen(Komi(par.Era, k4, G(par, k4, kBR)) + TaxPart(par.Era, k4, T(par, k4, kBR)));
  }
  sch1.F[12] += q[66];
  sch1.F[13] += q[67];
  return true;
}

bool CalcFuhyou2LinkOld(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22) {
  CalcFuhyou2Old(company, par, form1, sch1, sch22);
  auto& q = sch22.F;

  // 2. Totals.
  q[1] = q[2] + q[3];
  q[4] = q[5] + q[6];
  q[7] = q[8] + q[9];
  q[10] = q[11];
  form1.F[kD1KazeiJouto] = q[10];
  q[12] = q[10];
  q[14] = q[15] + q[16];
  q[17] = q[18];
  form1.F[kD1SouJouto] = q[17];
  q[20] = q[21] + q[22];
  q[23] = q[24] + q[25];
  q[26] = q[27] + q[28];
  q[29] = q[30] + q[31];
  q[32] = q[33] + q[34];
  q[35] = q[36] + q[37];
  q[53] = q[54] + q[55];
  q[56] = q[57] + q[58];

  // 3-6. The method's total line.
  for (int n : {38, 41, 44, 47, 50}) q[static_cast<std::size_t>(n)] = Currency(0);
  const bool full = FullDeduction(company, par, sch22, q[1] + q[4]);
  sch22.Flag = full ? 1 : 0;
  Currency base;
  if (full) {
    q[38] = q[35];
    base = q[38];
    sch22.Label = kFullLabel;
  } else {
    if (par.Kazeiuri95Miman == 0) sch22.Label = kItemisedLabel;
    else if (par.Kazeiuri95Miman == 1) sch22.Label = kProportionalLabel;
    if (par.Kazeiuri95Miman == 0) {
      q[41] = q[42] + q[43];
      q[44] = q[45] + q[46];
      q[47] = q[48] + q[49];
      base = q[47];
    } else {
      q[50] = q[51] + q[52];
      base = q[50];
    }
  }

  // 7. Deductible total, or the excess-deduction adjustment, from the totals.
  const Currency x = base + q[53] + q[56];
  if (x >= Currency(0)) q[59] = x;
  else q[62] = -x;

  // 8. Bad-debt recoveries.
  q[65] = q[66] + q[67];
  return true;
}
