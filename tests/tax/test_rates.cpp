// Rate table, rate slots, whole-yen rounding and the tax of a journal entry.
#include <gtest/gtest.h>

#include "tax/siwaketax.h"
#include "tax/taxrates.h"
#include "taxtestutil.h"

using taxtest::Dec;
using taxtest::Yen;

namespace {

TEST(TaxRates, RoundYenModes) {
  struct Case {
    int mode;
    const char* value;
    long long yen;
  } cases[] = {
      {2, "1.0001", 2}, {2, "-1.5", -2}, {2, "3", 3},  {2, "-1.2", -2}, {1, "-0.5", -1},
      {1, "2.5", 3},    {1, "2.4999", 2}, {9, "-2.5", -3}, {0, "-1.9", -1}, {0, "1.9999", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundYen(c.mode, Dec(c.value)), Yen(c.yen)) << c.mode << " " << c.value;
}

TEST(TaxRates, TableFollowsTheDataVersion) {
  taxtest::SetCompany();
  ASSERT_EQ(ZeiRituTableOf(TaxCompany).size(), 5u);
  EXPECT_EQ(ZeiRituTableOf(TaxCompany)[0].Name, "10%");
  EXPECT_FALSE(ZeiRituTableOf(TaxCompany)[1].IsStandard);
  EXPECT_EQ(GetZeiRitu(4, 0), Currency(8));
  EXPECT_EQ(GetZeiRitu(7, 0), Currency(10));  // unknown: the first entry

  TTaxCompanyInfo old = TaxCompany;
  old.VerMajor = 11;
  old.VerMinor1 = 0;
  old.VerMinor2 = 9;
  SetTaxCompanyInfo(old);
  ASSERT_EQ(ZeiRituTableOf(TaxCompany).size(), 3u);
  EXPECT_EQ(GetZeiRitu(0, 0), Currency(8));
  taxtest::SetCompany();
}

TEST(TaxRates, RateNumbersInForce) {
  taxtest::SetCompany();
  EXPECT_EQ(GetZeiRituNo(3, EncodeDate(2020, 1, 15)), 3);
  EXPECT_EQ(GetZeiRituNo(2, EncodeDate(1995, 1, 1)), 1);
  EXPECT_EQ(GetZeiRituNo(4, EncodeDate(2015, 1, 1)), 4);
  EXPECT_EQ(GetZeiRituNo(0, EncodeDate(2019, 10, 1)), 0);
  EXPECT_EQ(GetZeiRituNo(0, EncodeDate(2019, 9, 30)), 3);
}

TEST(TaxRates, RateSlotOfALine) {
  taxtest::SetCompany();
  struct Case {
    int rateNo, era;
    TDateTime date;
    int rate, slot;
  } cases[] = {
      {4, 4, EncodeDate(2020, 1, 1), 0, 4},   // rate 0: the standard rate
      {4, 4, EncodeDate(2020, 1, 1), 8, 3},   // reduced
      {0, 4, EncodeDate(2020, 1, 1), 10, 4},
      {3, 4, EncodeDate(2019, 9, 1), 8, 2},
      {2, 4, EncodeDate(2019, 9, 1), 5, 1},
      {9, 4, EncodeDate(2019, 9, 1), 5, 2},    // unknown number: newest rate started (8 %)
      {0, 3, EncodeDate(2013, 5, 1), 3, 0},
      {0, 3, EncodeDate(1996, 5, 1), 5, 0},
      {0, 3, EncodeDate(2013, 5, 1), 5, 1},
      {0, 3, EncodeDate(2015, 5, 1), 8, 2},
      {0, 3, EncodeDate(2015, 5, 1), 5, 1},
      {0, 3, EncodeDate(2015, 5, 1), 10, 2},  // no such rate in the three-rate table
  };
  for (const auto& c : cases)
    EXPECT_EQ(RateSlotOf(ZeiRituTableOf(TaxCompany), c.rateNo, c.era, c.date, Currency(c.rate)), c.slot)
        << c.rateNo << " era " << c.era << " rate " << c.rate;
}

TSWKREC Entry(int debitCode, int creditCode, long long kingaku, int taxCalcu, int oldRate) {
  TSWKREC e;
  e.HIZUKE = EncodeDate(2020, 1, 10);
  e.Debit.USERCODE = "100";
  e.Debit.TAXCODE = debitCode;
  e.Debit.SideRateNo = oldRate;
  e.Credit.USERCODE = "400";
  e.Credit.TAXCODE = creditCode;
  e.Credit.SideRateNo = oldRate;
  e.KINGAKU = Yen(kingaku);
  e.AUTCALCU = 1;
  e.TAXCALCU = taxCalcu;
  e.OLDRATE = oldRate;
  return e;
}

TEST(SiwakeTax, AutomaticTaxOfAnEntry) {
  taxtest::SetCompany();  // truncation for sales and purchases
  TSWKREC e = Entry(810, 110, 1080, 0, 3);
  ASSERT_TRUE(CalcSiwakeTax(e));
  EXPECT_EQ(e.Credit.ZEI, Yen(80));
  EXPECT_EQ(e.Credit.NUK, Yen(1000));
  EXPECT_EQ(e.Credit.RIT, Currency(8));
  EXPECT_EQ(e.Debit.ZEI, Yen(0));
  EXPECT_EQ(e.Debit.NUK, Yen(1080));
  EXPECT_EQ(e.ZEIGAKU, Yen(80));
  EXPECT_EQ(e.OLDRATE, 3);  // from the credit side, the only one with a rate

  e = Entry(810, 110, 1000, 0, 0);
  ASSERT_TRUE(CalcSiwakeTax(e));
  EXPECT_EQ(e.Credit.ZEI, Yen(90));
  EXPECT_EQ(e.Credit.NUK, Yen(910));

  e = Entry(551, 810, 50000, 0, 0);  // specific taxable purchase: no tax on the amount
  ASSERT_TRUE(CalcSiwakeTax(e));
  EXPECT_EQ(e.TAXCALCU, 2);
  EXPECT_EQ(e.Debit.ZEI, Yen(0));
  EXPECT_EQ(e.Debit.NUK, Yen(50000));
  EXPECT_EQ(e.Credit.NUK, Yen(50000));

  e = Entry(810, 810, 1000, 0, 2);  // no rate on either side: OLDRATE unchanged
  ASSERT_TRUE(CalcSiwakeTax(e));
  EXPECT_EQ(e.OLDRATE, 2);

  e = Entry(511, 810, 1000, 1, 0);  // tax-exclusive: the smaller side takes the larger total
  ASSERT_TRUE(CalcSiwakeTax(e));
  EXPECT_EQ(e.Debit.ZEI, Yen(100));
  EXPECT_EQ(e.Credit.NUK, Yen(1100));
  EXPECT_EQ(e.Credit.ZEI, Yen(0));
}

}  // namespace
