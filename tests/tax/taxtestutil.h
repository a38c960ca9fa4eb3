// Shared set-up of the consumption-tax tests: a corporation with a fiscal
// year 2019-10-01 .. 2020-09-30 on the five-rate table, a fresh TaxPar of the
// pass in the run, and helpers to book amounts into the accumulators.
#pragma once

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"
#include "tax/correction.h"
#include "tax/taxcodes.h"
#include "tax/taxcontext.h"
#include "tax/taxpar.h"
#include "tax/taxrun.h"

namespace taxtest {

inline Currency Yen(long long yen) { return Currency::FromYen(yen); }
// A ratio or rate given as text ("95.6", "0.9").
Currency Dec(const char* text);

inline void SetCompany(int dataType = kCompanyCorporation, int taxJigyou = 0) {
  TTaxCompanyInfo info;
  info.DataType = dataType;
  info.Kishu = EncodeDate(2019, 10, 1);
  info.Kimatu = EncodeDate(2020, 9, 30);
  info.Sime = 99;
  info.TaxJigyou = taxJigyou;
  info.KariukeKCode = "K610";
  info.KaribaraiKCode = "K720";
  info.KariukeUserCode = "610";
  info.KaribaraiUserCode = "720";
  info.ShokuchiUserCode = "999";
  info.VerMajor = 11;
  info.VerMinor1 = 1;
  info.VerMinor2 = 0;
  SetTaxCompanyInfo(info);
}

// A fresh parameter record for a pass of era 4 over the whole fiscal year,
// as the link builder sets it, with the run taking the connected data set's
// company settings and the reset of the results in run done.
inline void StartPass(TTaxRun& run, int sinkokuKubun) {
  run.Company = TaxCompany;
  run.TaxPar = TTAXPAR{};
  run.TaxPar.SinkokuName = "確定";
  run.TaxPar.MinasiRitu1 = Currency::FromRaw(9000);
  run.TaxPar.MinasiRitu2 = Currency::FromRaw(8000);
  run.TaxPar.MinasiRitu3 = Currency::FromRaw(7000);
  run.TaxPar.MinasiRitu4 = Currency::FromRaw(6000);
  run.TaxPar.MinasiRitu5 = Currency::FromRaw(5000);
  run.TaxPar.KikanFrom = TaxCompany.Kishu;
  run.TaxPar.KikanTo = TaxCompany.Kimatu;
  run.TaxPar.SinkokuKubun = sinkokuKubun;
  run.TaxPar.Era = 4;
  ResetTaxResults(run);
}

enum Block { kKomi, kNuki, kZei };

inline void Book(TTaxRun& run, Block block, int slot, int code, long long yen) {
  TaxBlock& b = block == kKomi ? run.TaxPar.Komi : block == kNuki ? run.TaxPar.Nuki : run.TaxPar.Zei;
  b[static_cast<std::size_t>(slot)][static_cast<std::size_t>(TaxCodeToCategory(code))] += Yen(yen);
}

}  // namespace taxtest
