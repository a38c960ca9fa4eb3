// The company settings of the computation as the company information gives them.
#include <gtest/gtest.h>

#include "core/accinf.h"
#include "tax/taxrates.h"
#include "tax/taxtestutil.h"
#include "taxdb/taxcompany.h"

namespace {

TEST(TaxRates, CompanySettingsComeFromTheCompanyInformation) {
  TACCINF a;
  a.DATATYPE = 2;
  a.SIME = 20;
  a.TAXJIGYOU = 5;
  a.SystemKCode[scKaribaraiTax] = "K191";
  a.SystemKCode[scKariukeTax] = "K219";
  a.SystemUserCode[scShokuchi] = "999";
  a.VerMajor = 11;
  a.VerMinor1 = 0;
  const TTaxCompanyInfo info = TaxCompanyInfoOf(a);
  EXPECT_EQ(info.DataType, 2);
  EXPECT_EQ(info.Sime, 20);
  EXPECT_EQ(info.TaxJigyou, 5);
  EXPECT_EQ(info.KaribaraiKCode, "K191");
  EXPECT_EQ(info.KariukeKCode, "K219");
  EXPECT_EQ(info.ShokuchiUserCode, "999");
  SetTaxCompanyInfo(info);
  EXPECT_EQ(ZeiRituTableOf(TaxCompany).size(), 3u);  // data version 11.0.0
  taxtest::SetCompany();
}

}  // namespace
