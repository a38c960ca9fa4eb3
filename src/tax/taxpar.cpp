// The company settings and hooks of the connected data set, and the helpers
// of the computation's records.
#include "tax/taxpar.h"

#include "tax/schedules.h"
#include "tax/taxcontext.h"
#include "tax/taxrates.h"

TTaxCompanyInfo TaxCompany;
TTaxHooks TaxHooks;

void SetTaxCompanyInfo(const TTaxCompanyInfo& info) { TaxCompany = info; }

Currency MinasiRituOf(const TTAXPAR& par, int type) {
  switch (type) {
    case 1: return par.MinasiRitu1;
    case 2: return par.MinasiRitu2;
    case 3: return par.MinasiRitu3;
    case 4: return par.MinasiRitu4;
    case 5: return par.MinasiRitu5;
    case 6: return par.MinasiRitu6;
    default: return Currency(0);
  }
}

void ClearTaxBlocks(TTAXPAR& par) {
  par.Nuki = TaxBlock{};
  par.Zei = TaxBlock{};
  par.Komi = TaxBlock{};
}

void ResetFuhyou1Column(TFuhyou1Column& col) { col.F.fill(Currency(0)); }

void ResetFuhyou2Column(TFuhyou2_H260401& col) { col.F.fill(Currency(0)); }

void ResetFuhyou4Column(TFuhyou4Column& col) {
  const Currency keep = col.F[2];
  col.F.fill(Currency(0));
  col.F[2] = keep;
}

void ResetFuhyou5Column(TFuhyou5Column& col) {
  for (int n = 1; n <= 59; ++n) {
    if ((n >= 13 && n <= 19) || (n >= 33 && n <= 39)) continue;
    col.F[static_cast<std::size_t>(n)] = Currency(0);
  }
  col.SingleType = 0;
  col.FirstType75 = 0;
  col.DirectMethod = false;
}
