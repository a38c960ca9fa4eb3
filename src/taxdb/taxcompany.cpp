#include "core/accinf.h"
#include "taxdb/taxcompany.h"

TTaxCompanyInfo TaxCompanyInfoOf(const TACCINF& a) {
  TTaxCompanyInfo info;
  info.DataType = a.DATATYPE;
  info.CodeType = a.CODETYPE;
  info.Kishu = a.KISHU;
  info.Kimatu = a.KIMATU;
  info.Sime = a.SIME;
  info.TaxKanni = a.TAXKANNI;
  info.TaxJigyou = a.TAXJIGYOU;
  info.TaxUHasuu = a.TAXU_HASUU;
  info.TaxHHasuu = a.TAXH_HASUU;
  info.TaxDefUH = a.TAXDEFUH;
  info.KaribaraiKCode = a.SystemKCode[scKaribaraiTax];
  info.KariukeKCode = a.SystemKCode[scKariukeTax];
  info.KaribaraiUserCode = a.SystemUserCode[scKaribaraiTax];
  info.KariukeUserCode = a.SystemUserCode[scKariukeTax];
  info.ShokuchiUserCode = a.SystemUserCode[scShokuchi];
  info.VerMajor = a.VerMajor;
  info.VerMinor1 = a.VerMinor1;
  info.VerMinor2 = a.VerMinor2;
  return info;
}
