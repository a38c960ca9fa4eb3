// Principle taxation of the forms before 2014-04-01 (era 0): schedule 2-(2)
// with its whole-percent ratio and the methods, schedule 1 and form 1.
// Expected figures are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "tax/engines_early.h"
#include "tax/schedules.h"
#include "tax/taxera.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

class EngineEarlyPrinciple : public ::testing::Test {
 protected:
  TTaxRun run;
  Currency Q(int field) const { return run.Fuhyou22_Old.F[static_cast<std::size_t>(field)]; }
  Currency A(int field) const { return run.Fuhyou1_Old.F[static_cast<std::size_t>(field)]; }
};

// A principle pass over the fiscal year 2012-04-01 .. 2013-03-31.
void StartEra0(TTaxRun& run) {
  SetCompany();
  TaxCompany.Kishu = EncodeDate(2012, 4, 1);
  TaxCompany.Kimatu = EncodeDate(2013, 3, 31);
  StartPass(run, 0);
  ASSERT_EQ(TaxEraOf(run.Company, run.TaxPar), 0);
  run.TaxPar.Era = 0;
}

bool RunEngine(TTaxRun& run) { return CalcGensokuOld(run.Company, run.TaxPar, run.Dai1Hyou, run.Fuhyou1_Old, run.Fuhyou22_Old); }

// Sales 21,000,000 at 5 % plus 1,000,000 net with 50,000 booked tax, sales
// 1,030,000 at 3 %, returns 105,000 at 5 %; non-taxable sales 2,000,000 and
// securities 1,000,000 (5 % counts); taxable-only purchases 3,150,000 at 5 %
// and 515,000 at 3 %, common purchases 5,250,000 at 5 %; bad debts 52,500.
TEST_F(EngineEarlyPrinciple, WorkedExample) {
  StartEra0(run);
  Book(run, kKomi, 1, 110, 21000000);
  Book(run, kNuki, 1, 610, 1000000);
  Book(run, kZei, 1, 610, 50000);
  Book(run, kKomi, 0, 110, 1030000);
  Book(run, kKomi, 1, 310, 105000);
  Book(run, kNuki, 1, 130, 2000000);
  Book(run, kNuki, 1, 140, 1000000);
  Book(run, kKomi, 1, 511, 3150000);
  Book(run, kKomi, 0, 511, 515000);
  Book(run, kKomi, 1, 512, 5250000);
  Book(run, kKomi, 1, 410, 52500);
  run.TaxPar.TyuukanNoufu = Yen(100000);
  run.TaxPar.TyuukanJouto = Yen(30000);

  ASSERT_TRUE(RunEngine(run));

  // Schedule 2-(2): transfers 1,000,000 + 20,900,000 = 21,900,000 of
  // 23,950,000: 91.44 %, stored as 91. Itemised 4 %: 120,000 + Int(200,000 x
  // 21,900,000 / 23,950,000 = 182,881.002) = 302,881; 3 %: 15,000.
  EXPECT_EQ(Q(2), Yen(1000000));
  EXPECT_EQ(Q(3), Yen(20900000));
  EXPECT_EQ(Q(16), Yen(2050000));
  EXPECT_EQ(Q(18), Yen(23950000));
  EXPECT_EQ(Q(19), Currency(91));
  EXPECT_EQ(Q(24), Yen(15000));
  EXPECT_EQ(Q(25), Yen(320000));
  EXPECT_EQ(Q(46), Yen(200000));
  EXPECT_EQ(Q(48), Yen(15000));
  EXPECT_EQ(Q(49), Yen(302881));
  EXPECT_EQ(Q(47), Yen(317881));
  EXPECT_EQ(Q(59), Yen(317881));
  EXPECT_EQ(Q(23), Yen(335000));
  EXPECT_EQ(run.Fuhyou22_Old.Label, "個別対応");
  EXPECT_EQ(run.Fuhyou22_Old.Flag, 0);

  // Schedule 1: bases 21,000,000 and 1,000,000; tax Int(80 % x 50,000) +
  // 4 % x 20,000,000 = 840,000 and 30,000; returns 4,000, bad debts 2,000.
  EXPECT_EQ(A(1), Yen(21000000));
  EXPECT_EQ(A(2), Yen(1000000));
  EXPECT_EQ(A(6), Yen(840000));
  EXPECT_EQ(A(7), Yen(30000));
  EXPECT_EQ(A(19), Yen(4000));
  EXPECT_EQ(A(22), Yen(2000));
  EXPECT_EQ(A(25), Yen(308881));
  EXPECT_EQ(A(30), Yen(15000));
  EXPECT_EQ(A(31), Yen(531119));
  EXPECT_EQ(A(32), Yen(546119));

  // Form 1: local tax K100(25 % x 531,100 = 132,775) = 132,700.
  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KazeiHyoujun], Yen(22000000));
  EXPECT_EQ(f[kD1Syouhizei], Yen(870000));
  EXPECT_EQ(f[kD1KoujyoSiire], Yen(317881));
  EXPECT_EQ(f[kD1Henkan], Yen(4000));
  EXPECT_EQ(f[kD1Kasidaore], Yen(2000));
  EXPECT_EQ(f[kD1KoujyoSyoukei], Yen(323881));
  EXPECT_EQ(f[kD1Sasihiki], Yen(546100));
  EXPECT_EQ(f[kD1Noufu], Yen(446100));
  EXPECT_EQ(f[kD1KazeiJouto], Yen(21900000));
  EXPECT_EQ(f[kD1SouJouto], Yen(23950000));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(531100));
  EXPECT_EQ(f[kD1JouNouzei], Yen(132700));
  EXPECT_EQ(f[kD1JouNoufu], Yen(102700));
  EXPECT_EQ(f[kD1Goukei], Yen(548800));
  EXPECT_EQ(f[27], Yen(21000));
  EXPECT_EQ(f[28], Yen(1000));
  EXPECT_EQ(f[29], Yen(840000));
  EXPECT_EQ(f[30], Yen(30000));
}

// The ratio is a whole percent, truncated and not capped; full deduction at
// 95 or more. Below it the itemised method takes the exact quotient of the
// transfers: common tax 8,000 x 0.9499 = 7,599.2.
TEST_F(EngineEarlyPrinciple, WholePercentRatio) {
  struct Case {
    long long taxable;     // net taxable sales at 5 % (negative: returns)
    long long nonTaxable;  // net non-taxable sales (negative: their returns)
    int ratio;
    bool full;
    long long deductible4;
  };
  const Case cases[] = {
      {950, 50, 95, true, 8000},       // exactly 95
      {9499, 501, 94, false, 7599},    // 94.99 % is 94
      {9599, 401, 95, true, 8000},     // 95.99 % is 95
      {1000, 0, 100, true, 8000},      // no non-taxable sales
      {1000, -100, 111, true, 8000},   // 1,000 / 900, not capped
      {-1000, 500, 0, false, 0},       // negative transfers
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.taxable);
    StartEra0(run);
    if (c.taxable >= 0) Book(run, kNuki, 1, 110, c.taxable);
    else Book(run, kNuki, 1, 310, -c.taxable);
    if (c.nonTaxable >= 0) Book(run, kNuki, 1, 130, c.nonTaxable);
    else Book(run, kNuki, 1, 330, -c.nonTaxable);
    Book(run, kZei, 1, 512, 10000);  // common tax, national part 8,000
    RunEngine(run);
    EXPECT_EQ(Q(19), Currency(c.ratio));
    EXPECT_EQ(run.Fuhyou22_Old.Flag, c.full ? 1 : 0);
    EXPECT_EQ(run.Fuhyou22_Old.Label, c.full ? "全額控除" : "個別対応");
    EXPECT_EQ(Q(61), Yen(c.deductible4));
    EXPECT_EQ(A(16), Yen(c.deductible4));
  }
}

// Ratio equivalent 80 %: Int(5,000 + 10,001 x 80 %) = 13,000; and the
// proportional method on the exact quotient.
TEST_F(EngineEarlyPrinciple, RatioEquivalentAndProportional) {
  StartEra0(run);
  Book(run, kNuki, 0, 110, 800);
  Book(run, kNuki, 0, 130, 200);
  Book(run, kZei, 0, 512, 10001);
  Book(run, kZei, 0, 511, 5000);
  run.TaxPar.AnbunWariai = 1;
  run.TaxPar.JunzuruWariai = Currency(80);
  RunEngine(run);
  EXPECT_EQ(Q(48), Yen(13000));
  EXPECT_EQ(A(15), Yen(13000));

  StartEra0(run);
  Book(run, kNuki, 0, 110, 800);
  Book(run, kNuki, 0, 130, 200);
  Book(run, kZei, 0, 512, 10001);
  run.TaxPar.Kazeiuri95Miman = 1;
  RunEngine(run);
  EXPECT_EQ(run.Fuhyou22_Old.Label, "比例配分");
  EXPECT_EQ(Q(51), Yen(8000));  // Int(10,001 x 0.8)
  EXPECT_EQ(Q(50), Yen(8000));
}

// A negative 3 % column (-120 from the adjustment) and a positive 4 % one
// (500): the columns keep their own results, the total nets them.
TEST_F(EngineEarlyPrinciple, ColumnsOfOppositeSign) {
  StartEra0(run);
  run.TaxPar.Koujyozei18A = Yen(-120);
  ResetTaxResults(run);
  Book(run, kNuki, 1, 110, 100000);
  Book(run, kZei, 1, 511, 625);  // 80 % is 500
  RunEngine(run);
  EXPECT_EQ(run.Fuhyou22_Old.Flag, 1);
  EXPECT_EQ(Q(63), Yen(120));
  EXPECT_EQ(Q(61), Yen(500));
  EXPECT_EQ(Q(59), Yen(380));
  EXPECT_EQ(Q(62), Yen(0));
  EXPECT_EQ(A(12), Yen(120));
  EXPECT_EQ(run.Dai1Hyou.F[kD1KoujyoKadai], Yen(120));
}

}  // namespace
