#include "tax/aggregate.h"

#include "tax/refund.h"
#include "tax/taxcodes.h"
#include "tax/taxcontext.h"
#include "tax/taxrates.h"

namespace {

bool IsTaxAccount(const TTaxCompanyInfo& company, const std::string& kcode) {
  return kcode == company.KariukeKCode || kcode == company.KaribaraiKCode;
}

bool InRange(int code, int from, int to) { return code >= from && code <= to; }

}  // namespace

int AggregationSign(int taishaku, int taxDC) {
  if ((taishaku == 1 && taxDC == 1) || (taishaku == 2 && taxDC == 3)) return 1;
  if ((taishaku == 1 && taxDC == 3) || (taishaku == 2 && taxDC == 1)) return -1;
  return 0;
}

bool NoteImportTaxCode(TTAXPAR& par, int code, Currency, Currency tax) {
  bool result = ((InRange(code, 521, 523) || InRange(code, 571, 573)) && tax != Currency(0)) ||
                InRange(code, 721, 723) || InRange(code, 771, 773);
  if (result && par.ImportCodesUsed == 0) par.ImportCodesUsed = 1;
  return result;
}

bool IsSpecialMeasureLine(const TTAXPAR& par, TDateTime date, int code, int oldRate) {
  if (par.TokureiOn == 0 || oldRate == 1 || oldRate == 2 || oldRate == 3) return false;
  const TDateTime start = EncodeDate(2019, 10, 1);
  if ((InRange(code, 100, 499) || InRange(code, 600, 699)) && (par.UriageTokurei1On == 1 || par.UriageTokurei2On == 1))
    return date >= start && DateOf(date) <= EncodeDate(2023, 9, 30);
  if ((InRange(code, 500, 599) || InRange(code, 700, 799)) && par.SiireTokureiOn == 1) {
    const TDateTime sep30 = EncodeDate(2020, 9, 30);
    TDateTime end = (par.KikanFrom <= sep30 && sep30 <= par.KikanTo) ? par.KikanTo : sep30;
    return date >= start && DateOf(date) <= DateOf(end);
  }
  return false;
}

void BeginJournalAggregation(TTaxRun& run) {
  ClearTaxBlocks(run.TaxPar);
  run.TaxPar.ImportCodesUsed = 0;
  run.TaxPar.OldRateImportsRead = false;
  ClearRefundJournalTables(run);
}

void AccumulateJournalRow(TTaxRun& run, const TTaxJournalRow& row) {
  TTAXPAR& par = run.TaxPar;
  if (IsSpecialMeasureLine(par, row.Hizuke, row.TaxCode, row.OldRate)) return;

  const auto slot = static_cast<std::size_t>(RateSlotOf(ZeiRituTableOf(run.Company), row.OldRate, par.Era, row.Hizuke, row.Rit));
  const auto cat = static_cast<std::size_t>(TaxCodeToCategory(row.TaxCode));
  const int sign = AggregationSign(row.Taishaku, row.TaxDC);
  auto add = [sign](Currency& cell, Currency amount) { cell += amount * sign; };

  if (sign != 0) {
    if (par.KeisanTokurei || IsSeparateTaxCode(row.TaxCode)) {
      if (row.AutCalcu == 0) {
        add(par.Nuki[slot][cat], row.Nuk);
        add(par.Zei[slot][cat], row.Zei);
      } else if (IsTaxAccount(run.Company, row.KCode)) {
        add(par.Zei[slot][cat], row.Nuk);
      } else if (row.Zei == Currency(0)) {
        add(par.Nuki[slot][cat], row.Nuk);
      } else {
        add(par.Komi[slot][cat], row.Nuk + row.Zei);
      }
    } else {
      add(par.Komi[slot][cat], row.Nuk + row.Zei);
    }
  }
  NoteImportTaxCode(par, row.TaxCode, row.Nuk, row.Zei);
  ClassifyRefundStatementLine(run, IsTaxAccount(run.Company, row.RKCode), row.Taishaku, row.GroupM0, row.Dac, row.TaxCode, row.Nuk,
                              row.Zei, row.LinkKub);
}
