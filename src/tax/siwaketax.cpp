#include "tax/siwaketax.h"

#include <exception>

#include "platform/rtl/fraction.h"
#include "tax/taxcodes.h"
#include "tax/taxcontext.h"
#include "tax/taxrates.h"

bool CalcSiwakeSideTax(TSWKREC& line, TSwkBalance& side) {
  try {
    std::string group, detail;
    int method = 0, uh = 0, dc = 0;
    GetTaxCodeInfo(side.TAXCODE, group, detail, method, uh, dc);
    side.TAXUH = uh;
    side.TAXDC = dc;
    side.NUK = Currency(0);
    side.ZEI = Currency(0);
    side.RIT = Currency(0);

    Currency rate = GetZeiRitu(line.OLDRATE, line.HIZUKE);
    if (side.SideRateNo != line.OLDRATE) rate = GetZeiRitu(side.SideRateNo, line.HIZUKE);
    if (side.TAXUH != 0) side.RIT = rate;

    const bool taxAccount =
        side.USERCODE == TaxCompany.KariukeUserCode || side.USERCODE == TaxCompany.KaribaraiUserCode;
    if (side.TAXUH == 0 || taxAccount) {
      side.NUK = line.KINGAKU;
      side.ZEI = Currency(0);
      side.RIT = (taxAccount && side.TAXCODE != 810 && side.TAXCODE != 910) ? rate : Currency(0);
      return true;
    }
    if (line.AUTCALCU == 0) {
      switch (line.TAXCALCU) {
        case 0: side.NUK = line.KINGAKU - line.ZEIGAKU; side.ZEI = line.ZEIGAKU; break;
        case 1: side.NUK = line.KINGAKU; side.ZEI = line.ZEIGAKU; break;
        default: side.NUK = line.KINGAKU; side.ZEI = Currency(0); break;
      }
      return true;
    }
    const int mode = side.TAXUH == 1 ? TaxCompany.TaxUHasuu : TaxCompany.TaxHHasuu;
    // The quotient is taken to the ten-thousandth of a yen before rounding.
    auto tax = [&](const Fraction& q) { return RoundYen(mode, q.ToCurrency(RoundingMode::HalfAwayFromZero)); };
    switch (line.TAXCALCU) {
      case 0:
        side.ZEI = tax(Fraction(line.KINGAKU) * Fraction(rate) / (Fraction(100) + Fraction(rate)));
        side.NUK = line.KINGAKU - side.ZEI;
        break;
      case 1:
        side.ZEI = tax(Fraction(line.KINGAKU) * Fraction(rate) / Fraction(100));
        side.NUK = line.KINGAKU;
        break;
      default:
        side.NUK = line.KINGAKU;
        side.ZEI = Currency(0);
        break;
    }
    return true;
  } catch (const std::exception&) {
    if (TaxHooks.ShowMessage) TaxHooks.ShowMessage(kMsgError, "仕訳の消費税額が計算できません。");
    return false;
  }
}

bool CalcSiwakeTax(TSWKREC& line) {
  if (IsTokuteiShiireCode(line.Debit.TAXCODE) || IsTokuteiShiireCode(line.Credit.TAXCODE)) line.TAXCALCU = 2;
  line.KINGAKU = RoundYen(0, line.KINGAKU);
  line.ZEIGAKU = RoundYen(0, line.ZEIGAKU);
  if (!CalcSiwakeSideTax(line, line.Debit)) return false;
  if (!CalcSiwakeSideTax(line, line.Credit)) return false;

  const bool debitRate = line.Debit.RIT > Currency(0);
  const bool creditRate = line.Credit.RIT > Currency(0);
  if (debitRate && !creditRate) line.OLDRATE = line.Debit.SideRateNo;
  else if (creditRate && !debitRate) line.OLDRATE = line.Credit.SideRateNo;
  else if (debitRate && creditRate && line.Debit.SideRateNo == line.Credit.SideRateNo) line.OLDRATE = line.Debit.SideRateNo;

  if (line.TAXCALCU == 1) {
    const Currency d = line.Debit.NUK + line.Debit.ZEI;
    const Currency c = line.Credit.NUK + line.Credit.ZEI;
    if (d < c) {
      line.Debit.NUK = c;
      line.Debit.ZEI = Currency(0);
    } else if (c < d) {
      line.Credit.NUK = d;
      line.Credit.ZEI = Currency(0);
    }
  }
  line.ZEIGAKU = line.Debit.ZEI > line.Credit.ZEI ? line.Debit.ZEI : line.Credit.ZEI;
  return true;
}
