// Principle taxation of the forms from 2019-10-01: schedule 2-1 (ratio,
// full deduction, itemised and proportional methods) and schedule 1-1 with
// form 1. Expected figures are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "tax/engines_r01.h"
#include "tax/schedules.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

class PrincipleTest : public ::testing::Test {
 protected:
  TTaxRun run;
  Currency S1(int col, int field) const { return run.Fuhyou11_R01[col].F[static_cast<std::size_t>(field)]; }
  Currency S2(int col, int field) const { return run.Fuhyou21_R01[col].F[static_cast<std::size_t>(field)]; }
  void SetUp() override {
    SetCompany();
    StartPass(run, 0);
  }
};

// Sales 11,000,000 at 10 % and 5,400,000 at reduced 8 % (tax-inclusive);
// purchases 3,300,000 at 10 % and 1,080,000 at 8 %, purchase returns 220,000
// at 10 %, sales returns 110,000 and bad debts 55,000 at 10 %.
TEST_F(PrincipleTest, WorkedExampleAtTenAndReducedEightPercent) {
  Book(run, kKomi, 4, 110, 11000000);
  Book(run, kKomi, 3, 110, 5400000);
  Book(run, kKomi, 4, 511, 3300000);
  Book(run, kKomi, 3, 511, 1080000);
  Book(run, kKomi, 4, 561, 220000);
  Book(run, kKomi, 4, 310, 110000);
  Book(run, kKomi, 4, 410, 55000);
  run.TaxPar.TyuukanNoufu = Yen(300000);
  run.TaxPar.TyuukanJouto = Yen(84600);

  ASSERT_TRUE(CalcGensokuR01(run));

  // Schedule 2-1: taxable sales 10,000,000 - 100,000 + 5,000,000; ratio 100 %.
  EXPECT_EQ(S2(-1, 1), Yen(14900000));
  EXPECT_EQ(S2(-1, 7), Yen(14900000));
  EXPECT_EQ(S2(-1, 8), Currency(100));
  EXPECT_EQ(run.Fuhyou21_R01[-1].MethodLabel, "全額控除");
  EXPECT_EQ(run.Fuhyou21_R01[-1].FullDeduction, 1);
  // 3,300,000 x 7.8/110 = 234,000 less 220,000 x 7.8/110 = 15,600.
  EXPECT_EQ(S2(4, 10), Yen(218400));
  EXPECT_EQ(S2(4, 9), Yen(3080000));
  // 1,080,000 x 6.24/108 = 62,400.
  EXPECT_EQ(S2(3, 10), Yen(62400));
  EXPECT_EQ(S2(-1, 21), Yen(280800));

  // Schedule 1-1: base 10,000,000 at 7.8 % and 5,000,000 at 6.24 %.
  EXPECT_EQ(S1(4, 1), Yen(10000000));
  EXPECT_EQ(S1(4, 2), Yen(780000));
  EXPECT_EQ(S1(3, 2), Yen(312000));
  EXPECT_EQ(S1(4, 5), Yen(7800));   // returns: 110,000 x 7.8/110
  EXPECT_EQ(S1(4, 6), Yen(3900));   // bad debts: 55,000 x 7.8/110
  EXPECT_EQ(S1(4, 9), Yen(549900)); // 780,000 - 218,400 - 7,800 - 3,900
  EXPECT_EQ(S1(3, 9), Yen(249600)); // 312,000 - 62,400
  // Reduced 8 % adds to the 10 % local-tax base: 799,500 x 22/78 = 225,500.
  EXPECT_EQ(S1(4, 12), Yen(799500));
  EXPECT_EQ(S1(3, 12), Yen(0));
  EXPECT_EQ(S1(4, 15), Yen(225500));
  EXPECT_EQ(S1(-1, 10), Yen(799500));
  EXPECT_EQ(S1(-3, 1), Yen(0));

  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KazeiHyoujun], Yen(15000000));
  EXPECT_EQ(f[kD1Syouhizei], Yen(1092000));
  EXPECT_EQ(f[kD1KoujyoSiire], Yen(280800));
  EXPECT_EQ(f[kD1Henkan], Yen(7800));
  EXPECT_EQ(f[kD1Kasidaore], Yen(3900));
  EXPECT_EQ(f[kD1KoujyoSyoukei], Yen(292500));
  EXPECT_EQ(f[kD1Sasihiki], Yen(799500));
  EXPECT_EQ(f[kD1KanpuFusoku], Yen(0));
  EXPECT_EQ(f[kD1TyuukanNoufu], Yen(300000));
  EXPECT_EQ(f[kD1Noufu], Yen(499500));
  EXPECT_EQ(f[kD1KazeiJouto], Yen(14900000));
  EXPECT_EQ(f[kD1SouJouto], Yen(14900000));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(799500));
  EXPECT_EQ(f[kD1JouNouzei], Yen(225500));
  EXPECT_EQ(f[kD1JouTyuukanNoufu], Yen(84600));
  EXPECT_EQ(f[kD1JouNoufu], Yen(140900));
  EXPECT_EQ(f[kD1Goukei], Yen(640400));
  EXPECT_FALSE(run.Dai1Hyou.TokuteiSiire);
  EXPECT_EQ(run.TaxPar.RateColumnState, 4);  // only reduced 8 % and 10 %

  // Form 2: base, considerations by slot, local base without slots 0 and 3.
  EXPECT_EQ(run.Dai2Hyou_R01.F[1], Yen(15000000));
  EXPECT_EQ(run.Dai2Hyou_R01.F[7], Yen(10000000));
  EXPECT_EQ(run.Dai2Hyou_R01.F[6], Yen(5000000));
  EXPECT_EQ(run.Dai2Hyou_R01.F[28], Yen(799500));
  EXPECT_EQ(run.Dai2Hyou_R01.F[27], Yen(0));
}

TEST_F(PrincipleTest, RefundWhenDeductionsExceedTheTax) {
  Book(run, kKomi, 4, 110, 1100000);   // tax 78,000
  Book(run, kKomi, 4, 511, 2200000);   // purchase tax 156,000
  CalcGensokuR01(run);
  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KanpuFusoku], Yen(78000));
  EXPECT_EQ(f[kD1Sasihiki], Yen(0));
  EXPECT_EQ(f[kD1JouKanpuFusoku], Yen(78000));
  EXPECT_EQ(f[kD1JouKanpu], Yen(22000));  // 78,000 x 22/78
  EXPECT_EQ(f[kD1Goukei], Yen(-100000));
  EXPECT_EQ(run.TaxPar.RateColumnState, -1);  // only the 10 % column

  StartPass(run, 0);
  Book(run, kKomi, 4, 110, 1100000);
  Book(run, kKomi, 4, 511, 2200000);
  run.TaxPar.SinkokuKind = 1;  // an interim return never shows a refund total
  CalcGensokuR01(run);
  EXPECT_EQ(run.Dai1Hyou.F[kD1Goukei], Yen(0));
}

TEST_F(PrincipleTest, BookedTaxAndOddAmountsTruncateWhereTheFormsSay) {
  Book(run, kNuki, 4, 110, 10000908);  // net sales with their tax booked apart
  Book(run, kZei, 4, 610, 800072);     // tax received, 7.8/10 of it national: 624,056.16
  CalcGensokuR01(run);
  EXPECT_EQ(S1(4, 17), Yen(10000908));
  EXPECT_EQ(S1(4, 1), Yen(10000000));
  // The rate applies to the converted tax-inclusive part only (0 here).
  EXPECT_EQ(S1(4, 2), Yen(624056));
}

// Ratio 10,000,000 / 10,600,000 = 94.339... %: 94.3 %.
class RatioTest : public PrincipleTest {
 protected:
  void BookBelow95() {
    Book(run, kKomi, 4, 110, 11000000);
    Book(run, kNuki, 4, 130, 600000);
    Book(run, kKomi, 4, 511, 1100000);  // for taxable sales: 78,000
    Book(run, kKomi, 4, 512, 2200000);  // common: 156,000
  }
};

TEST_F(RatioTest, ItemisedMethod) {
  BookBelow95();
  CalcGensokuR01(run);
  EXPECT_EQ(S2(-1, 8), Dec("94.3"));
  EXPECT_EQ(run.Fuhyou21_R01[-1].MethodLabel, "個別対応");
  EXPECT_EQ(run.Fuhyou21_R01[-1].FullDeduction, 0);
  EXPECT_EQ(S2(4, 15), Yen(78000));
  EXPECT_EQ(S2(4, 16), Yen(156000));
  // Int(156,000 x 10,000,000 / 10,600,000) = 147,169, plus 78,000.
  EXPECT_EQ(S2(4, 17), Yen(225169));
  EXPECT_EQ(S2(-1, 21), Yen(225169));
  EXPECT_EQ(S2(-1, 14), Yen(0));
  EXPECT_EQ(S2(-1, 18), Yen(0));
}

TEST_F(RatioTest, ProportionalMethodAndRatioEquivalent) {
  BookBelow95();
  run.TaxPar.Kazeiuri95Miman = 1;
  CalcGensokuR01(run);
  EXPECT_EQ(run.Fuhyou21_R01[-1].MethodLabel, "比例配分");
  EXPECT_EQ(S2(4, 18), Yen(220754));  // Int(234,000 x 10/10.6)
  EXPECT_EQ(S2(-1, 21), Yen(220754));

  StartPass(run, 0);
  BookBelow95();
  run.TaxPar.AnbunWariai = 1;
  run.TaxPar.JunzuruWariai = Currency(80);
  CalcGensokuR01(run);
  EXPECT_EQ(S2(4, 17), Yen(202800));  // 80 % of 156,000 plus 78,000
}

TEST_F(RatioTest, NegativeResultGoesToTheExcessAdjustmentExactly) {
  BookBelow95();
  run.TaxPar.KoujyozeiSlot[2].Line18 = Dec("-300000.5");
  CalcGensokuR01(run);
  EXPECT_EQ(S2(4, 21), Yen(0));
  EXPECT_EQ(S2(4, 22), Dec("74831.5"));  // 300,000.5 - 225,169
  EXPECT_EQ(S1(4, 3), Dec("74831.5"));
}

TEST_F(RatioTest, RatioTruncatesToATenthOfAPercent) {
  struct Case {
    long long taxable, nonTaxable;
    const char* ratio;
  } cases[] = {
      {95678, 4322, "95.6"}, {9999, 1, "99.9"}, {1000, 0, "100"}, {0, 1000, "0"},
  };
  for (const auto& c : cases) {
    StartPass(run, 0);
    Book(run, kNuki, 4, 110, c.taxable);
    Book(run, kNuki, 4, 130, c.nonTaxable);
    CalcGensokuR01(run);
    EXPECT_EQ(S2(-1, 8), Dec(c.ratio)) << c.taxable;
  }
  // Returns above sales: taxable transfers 0, the unclamped field keeps the sign.
  StartPass(run, 0);
  Book(run, kNuki, 4, 310, 5000);
  Book(run, kNuki, 4, 130, 1000);
  CalcGensokuR01(run);
  EXPECT_EQ(S2(-1, 4), Yen(0));
  EXPECT_EQ(S2(-1, 5), Yen(-5000));
  EXPECT_EQ(S2(-1, 7), Yen(0));
  EXPECT_EQ(S2(-1, 8), Yen(0));
}

// 500,000,000 / 526,315,789 = 95.00000009 %: 95.0 %.
TEST_F(RatioTest, FullDeductionNeedsSalesWithin500Million) {
  for (long long sales : {500000000LL, 500000001LL}) {
    StartPass(run, 0);
    Book(run, kNuki, 4, 110, sales);
    Book(run, kNuki, 4, 130, 26315789);
    Book(run, kKomi, 4, 511, 1100000);
    CalcGensokuR01(run);
    EXPECT_EQ(S2(-1, 8), Currency(95)) << sales;
    EXPECT_EQ(run.Fuhyou21_R01[-1].FullDeduction, sales == 500000000LL ? 1 : 0) << sales;
  }
  // A six-month period counts its sales twice: 300,000,000 is 600,000,000.
  StartPass(run, 0);
  run.TaxPar.KikanTo = EncodeDate(2020, 3, 31);
  Book(run, kNuki, 4, 110, 300000000);
  CalcGensokuR01(run);
  EXPECT_EQ(S2(-1, 8), Currency(100));
  EXPECT_EQ(run.Fuhyou21_R01[-1].FullDeduction, 0);
  EXPECT_FALSE(IsSalesWithin500MillionR01(run.Company, run.TaxPar, Yen(300000000)));
  EXPECT_TRUE(IsSalesWithin500MillionR01(run.Company, run.TaxPar, Yen(250000000)));
}

TEST_F(RatioTest, ReverseChargeCountsOnlyBelow95Percent) {
  // Below 95 %: reverse-charge purchases join the taxable base and the purchase tax.
  BookBelow95();
  Book(run, kNuki, 4, 551, 100000);
  CalcGensokuR01(run);
  EXPECT_EQ(S2(4, 26), Yen(100000));
  EXPECT_EQ(S2(4, 27), Yen(7800));
  EXPECT_EQ(S1(4, 18), Yen(100000));
  EXPECT_EQ(S1(4, 1), Yen(10100000));
  EXPECT_EQ(S2(4, 15), Yen(85800));  // 78,000 + 7,800
  EXPECT_TRUE(run.Dai1Hyou.TokuteiSiire);

  // 95 % or more: left out everywhere.
  StartPass(run, 0);
  Book(run, kKomi, 4, 110, 11000000);
  Book(run, kNuki, 4, 551, 100000);
  CalcGensokuR01(run);
  EXPECT_EQ(S2(4, 26), Yen(0));
  EXPECT_EQ(S2(4, 27), Yen(0));
  EXPECT_EQ(S1(4, 18), Yen(0));
  EXPECT_EQ(S1(4, 1), Yen(10000000));
  EXPECT_FALSE(run.Dai1Hyou.TokuteiSiire);
}

}  // namespace
