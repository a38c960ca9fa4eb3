// Simplified taxation of the forms from 2019-10-01: schedule 4-1, the deemed
// purchase tax of schedule 5-1 with the 75 % rules, and form 1. Expected
// figures are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "tax/engines_r01.h"
#include "tax/schedules.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

class SimplifiedTest : public ::testing::Test {
 protected:
  TTaxRun run;
  Currency S4(int col, int field) const { return run.Fuhyou41_R01[col].F[static_cast<std::size_t>(field)]; }
  Currency S5(int col, int field) const { return run.Fuhyou51_R01[col].F[static_cast<std::size_t>(field)]; }
  void SetUp() override {
    SetCompany();
    StartPass(run, 1);
  }
};

// Only type 2 (rate 80 %): 11,000,000 tax-inclusive, tax 780,000, deemed
// purchase tax 624,000, net 156,000 and local tax 156,000 x 22/78 = 44,000.
TEST_F(SimplifiedTest, OneBusiness) {
  Book(run, kKomi, 4, 112, 11000000);
  run.TaxPar.KijyunKikanUri = Yen(9000000);
  ASSERT_TRUE(CalcKaniR01(run));

  EXPECT_EQ(run.Fuhyou51_R01[-1].SingleType, 2);
  EXPECT_EQ(S5(-1, 59), Yen(10000000));
  EXPECT_EQ(S5(4, 5), Yen(624000));
  EXPECT_EQ(S4(4, 5), Yen(624000));
  EXPECT_EQ(S4(-1, 5), Yen(624000));
  EXPECT_EQ(S4(4, 10), Yen(156000));
  EXPECT_EQ(S4(4, 16), Yen(44000));
  EXPECT_FALSE(run.TaxPar.TokureiApplied);

  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KazeiHyoujun], Yen(10000000));
  EXPECT_EQ(f[kD1Syouhizei], Yen(780000));
  EXPECT_EQ(f[kD1KoujyoSiire], Yen(624000));
  EXPECT_EQ(f[kD1Sasihiki], Yen(156000));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(156000));
  EXPECT_EQ(f[kD1JouNouzei], Yen(44000));
  EXPECT_EQ(f[kD1Goukei], Yen(200000));
  EXPECT_EQ(f[kD1KazeiJouto], Yen(10000000));
  EXPECT_EQ(f[kD1SouJouto], Yen(9000000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Sales, Yen(10000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Share, Currency(100));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Sales, Yen(0));
  EXPECT_EQ(run.Dai1Hyou.GyousyuTotal, Yen(10000));
  EXPECT_EQ(run.Dai2Hyou_R01.F[7], Yen(10000000));
}

// Type 1 (90 %) 80 % of the sales and type 5 (50 %) 20 %: the normal
// candidate is 561,600 + 78,000 = 639,600; the one-type rule gives
// 780,000 x 90 % = 702,000 and wins.
TEST_F(SimplifiedTest, TwoBusinessesOneTypeRuleWins) {
  Book(run, kKomi, 4, 111, 8800000);
  Book(run, kKomi, 4, 115, 2200000);
  CalcKaniR01(run);

  EXPECT_EQ(run.Fuhyou51_R01[-1].SingleType, 0);
  EXPECT_EQ(S5(-2, 20), Currency(80));
  EXPECT_EQ(S5(-2, 24), Currency(20));
  EXPECT_EQ(S5(4, 40), Yen(639600));
  EXPECT_EQ(S5(4, 41), Yen(702000));
  EXPECT_EQ(S5(-1, 57), Yen(702000));
  EXPECT_EQ(S5(4, 57), Yen(702000));
  EXPECT_EQ(S5(4, 45), Yen(0));  // pair fields cleared with two types only
  EXPECT_TRUE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(run.TaxPar.TokureiKind, 1);
  EXPECT_EQ(run.TaxPar.TokureiWon, 1);
  EXPECT_EQ(run.Dai1Hyou.F[kD1KoujyoSiire], Yen(702000));
  EXPECT_EQ(run.Dai1Hyou.F[kD1Sasihiki], Yen(78000));
  EXPECT_EQ(run.Dai1Hyou.F[kD1JouNouzei], Yen(22000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Sales, Yen(8000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Share, Currency(80));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[4].Sales, Yen(2000));
  EXPECT_EQ(run.Dai1Hyou.GyousyuTotal, Yen(10000));
}

// Types 1, 2 and 5 at 60 %, 20 % and 20 %: no type reaches 75 %; the pair
// (1,2) reaches 80 %: 421,200 + Int(312,000 x 80 %) = 670,800 beats the
// normal 624,000 and the pair (1,5) at 577,200.
TEST_F(SimplifiedTest, ThreeBusinessesTwoTypeRuleWins) {
  Book(run, kKomi, 4, 111, 6600000);
  Book(run, kKomi, 4, 112, 2200000);
  Book(run, kKomi, 4, 115, 2200000);
  CalcKaniR01(run);

  EXPECT_EQ(S5(4, 40), Yen(624000));
  EXPECT_EQ(S5(4, 41), Yen(0));
  EXPECT_EQ(S5(4, 42), Yen(670800));  // (1,2)
  EXPECT_EQ(S5(4, 45), Yen(577200));  // (1,5)
  EXPECT_EQ(S5(4, 48), Yen(0));       // (2,5) at 40 %
  EXPECT_EQ(S5(-1, 57), Yen(670800));
  EXPECT_TRUE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(run.TaxPar.TokureiKind, 2);
  EXPECT_EQ(run.Dai1Hyou.F[kD1Sasihiki], Yen(109200));
  EXPECT_EQ(run.Dai1Hyou.F[kD1JouNouzei], Yen(30800));
}

TEST_F(SimplifiedTest, ShareOfExactly75PercentQualifies) {
  // Type 1 at 75.0 % and type 3 at 25 %: the pair (1,3) equals the normal candidate.
  Book(run, kKomi, 4, 111, 8250000);
  Book(run, kKomi, 4, 113, 2750000);
  CalcKaniR01(run);
  // Taxes 585,000 and 195,000: normal 526,500 + 136,500 = 663,000;
  // one type: 780,000 x 90 % = 702,000.
  EXPECT_EQ(S5(4, 40), Yen(663000));
  EXPECT_EQ(S5(-1, 57), Yen(702000));
  EXPECT_EQ(run.TaxPar.TokureiKind, 1);
  EXPECT_EQ(S5(4, 43), Yen(0));  // the pair, cleared after the choice
}

// Business type 6 takes the statutory 40 %: 780,000 x 40 % = 312,000.
TEST_F(SimplifiedTest, BusinessTypeSixAtFortyPercent) {
  EXPECT_EQ(TTAXPAR{}.MinasiRitu6, Dec("0.4"));
  Book(run, kKomi, 4, 116, 11000000);
  CalcKaniR01(run);
  EXPECT_EQ(run.Fuhyou51_R01[-1].SingleType, 6);
  EXPECT_EQ(run.Dai1Hyou.F[kD1KoujyoSiire], Yen(312000));
  EXPECT_EQ(run.Dai1Hyou.F[kD1Sasihiki], Yen(468000));
  EXPECT_EQ(run.Dai1Hyou.F[kD1JouNouzei], Yen(132000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[5].Share, Currency(100));
}

TEST_F(SimplifiedTest, ReturnsAboveSalesInOneColumnSwitchToTheTotals) {
  // Type 1: sales at 10 %, returns at reduced 8 % above its sales there.
  Book(run, kKomi, 4, 111, 11000000);
  Book(run, kKomi, 4, 112, 1100000);
  Book(run, kKomi, 3, 111, 108000);
  Book(run, kKomi, 3, 311, 216000);
  CalcKaniR01(run);
  EXPECT_EQ(S5(3, 34), Yen(-6240));  // computed tax below 0
  EXPECT_EQ(S5(3, 27), Yen(0));      // raised to 0
  EXPECT_EQ(run.TaxPar.KaniSelect, 1);
  // The total column: basis 780,000 + 78,000 + 6,240 - 12,480 = 851,760.
  EXPECT_EQ(S5(-1, 4), Yen(851760));
}

}  // namespace
