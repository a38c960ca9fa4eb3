#include "tax/taxera.h"

namespace {
TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }
}  // namespace

bool IsNew95PercentRule(const TTaxCompanyInfo& company, int fromSettings, TDateTime periodStart, TDateTime periodEnd) {
  if (fromSettings != 0) return periodStart >= D(2012, 4, 1) && periodEnd >= D(2012, 4, 1);
  switch (company.DataType) {
    case kCompanyCorporation:
    case kCompanyMedical: return company.Kishu >= D(2012, 4, 1);
    case kCompanyIndividual: return company.Kishu >= D(2013, 1, 1);
    default: return true;
  }
}

int TaxEraOf(const TTaxCompanyInfo& company, TTAXPAR& par) {
  int e = par.KikanTo >= D(2014, 4, 1) ? 1 : 0;
  if (par.KikanSettei == 0) e = company.Kimatu >= D(2014, 4, 1) ? 1 : 0;

  par.MainBusiness = company.TaxJigyou == 0 ? 4 : company.TaxJigyou;

  // The end date of the period tests: the fiscal year or the return's period.
  bool hasEnd = par.KikanSettei == 0 || par.KikanSettei == 1;
  TDateTime end = par.KikanSettei == 0 ? company.Kimatu : par.KikanTo;

  if (par.SinkokuKubun == 1) {
    if (company.Kishu >= D(2015, 4, 1)) e = 2;
    if (par.KikanSettei == 1 && par.KikanFrom >= D(2015, 4, 1)) e = 2;
    if (e <= 1 && par.MainBusiness == 6) par.MainBusiness = 5;
    if (hasEnd && end >= D(2016, 1, 1)) e = 3;
  } else if (par.SinkokuKubun == 0) {
    if (hasEnd && end >= D(2015, 10, 1)) e = 3;
  }
  if (par.KikanTo >= D(2019, 10, 1)) e = 4;
  return e;
}

int GetTaxEra(const TTaxCompanyInfo& company, TTAXPAR& par) {
  int e = TaxEraOf(company, par);
  return e == 0 ? 1 : e;
}
