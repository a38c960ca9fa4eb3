// Principle taxation of the forms from 2014-04-01 (eras 1 to 3): schedule 2
// (ratio truncated to 0.1 %, full deduction, itemised method, reverse charge)
// and schedule 1 with forms 1 and 2. Expected figures are worked out by hand
// in the comments.
#include <gtest/gtest.h>

#include "tax/engines_2014.h"
#include "tax/schedules.h"
#include "tax/taxera.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

class Engine2014Principle : public ::testing::Test {
 protected:
  TTaxRun run;
  Currency S1(int col, int field) const { return run.Fuhyou1_H26[col].F[static_cast<std::size_t>(field)]; }
  Currency S2(int col, int field) const { return run.Fuhyou2_H26[col].F[static_cast<std::size_t>(field)]; }
};

// A principle pass over the fiscal year from April of `year`.
void StartYear(TTaxRun& run, int year, int era) {
  SetCompany();
  TaxCompany.Kishu = EncodeDate(year, 4, 1);
  TaxCompany.Kimatu = EncodeDate(year + 1, 3, 31);
  StartPass(run, 0);
  ASSERT_EQ(TaxEraOf(run.Company, run.TaxPar), era);
  run.TaxPar.Era = era;
}

// Era 3 (fiscal year 2015-04-01): 8 % and 5 % sales, non-taxable sales that
// bring the ratio below 95 %, taxable-only and common purchases, a reverse-
// charge purchase, sales returns and bad debts.
TEST_F(Engine2014Principle, WorkedExampleEra3) {
  StartYear(run, 2015, 3);
  Book(run, kKomi, 2, 110, 10800000);  // net 10,000,000
  Book(run, kKomi, 1, 110, 2100000);   // net 2,000,000
  Book(run, kKomi, 2, 310, 108000);    // net 100,000, tax 6,300
  Book(run, kKomi, 2, 410, 54000);     // tax 3,150
  Book(run, kNuki, 0, 130, 1100000);   // non-taxable
  Book(run, kKomi, 2, 511, 2160000);   // taxable-only, tax 126,000
  Book(run, kKomi, 2, 512, 1080000);   // common, tax 63,000
  Book(run, kKomi, 1, 512, 525000);    // common, tax 20,000
  Book(run, kNuki, 2, 551, 1000000);   // reverse charge, tax 63,000
  run.TaxPar.TyuukanNoufu = Yen(200000);
  run.TaxPar.TyuukanJouto = Yen(50000);

  ASSERT_TRUE(CalcGensokuH26(run));

  // Schedule 2: transfers 9,900,000 + 2,000,000 = 11,900,000 of 13,000,000:
  // 91.5 %. Itemised: 6.3 % column 126,000 + 63,000 (reverse charge) +
  // Int(63,000 x 11.9/13) = 57,669; 4 % column Int(20,000 x 11.9/13) = 18,307.
  EXPECT_EQ(S2(0, 4), Yen(11900000));
  EXPECT_EQ(S2(0, 7), Yen(13000000));
  EXPECT_EQ(S2(0, 8), Dec("91.5"));
  EXPECT_EQ(run.Fuhyou2_H26[0].MethodLabel, "個別対応");
  EXPECT_EQ(run.Fuhyou2_H26[0].FullDeduction, 0);
  EXPECT_EQ(S2(3, 26), Yen(1000000));
  EXPECT_EQ(S2(3, 27), Yen(63000));
  EXPECT_EQ(S2(3, 13), Yen(252000));
  EXPECT_EQ(S2(3, 15), Yen(189000));
  EXPECT_EQ(S2(3, 17), Yen(246669));
  EXPECT_EQ(S2(2, 17), Yen(18307));
  EXPECT_EQ(S2(0, 21), Yen(264976));

  // Schedule 1, 6.3 % column: base 10,000,000 + 1,000,000 reverse charge,
  // tax 693,000; net tax 693,000 - (246,669 + 6,300 + 3,150) = 436,881;
  // local tax Int(436,881 x 17/63) = 117,888.
  EXPECT_EQ(S1(3, 17), Yen(10000000));
  EXPECT_EQ(S1(3, 18), Yen(1000000));
  EXPECT_EQ(S1(3, 1), Yen(11000000));
  EXPECT_EQ(S1(3, 2), Yen(693000));
  EXPECT_EQ(S1(3, 5), Yen(6300));
  EXPECT_EQ(S1(3, 6), Yen(3150));
  EXPECT_EQ(S1(3, 9), Yen(436881));
  EXPECT_EQ(S1(3, 15), Yen(117888));
  // 4 % column: tax 80,000 - 18,307 = 61,693; local tax Int(15,423.25).
  EXPECT_EQ(S1(2, 2), Yen(80000));
  EXPECT_EQ(S1(2, 9), Yen(61693));
  EXPECT_EQ(S1(2, 15), Yen(15423));
  EXPECT_EQ(S1(0, 10), Yen(498574));
  EXPECT_EQ(S1(0, 16), Yen(133311));

  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KazeiHyoujun], Yen(13000000));
  EXPECT_EQ(f[kD1Syouhizei], Yen(773000));
  EXPECT_EQ(f[kD1KoujyoSiire], Yen(264976));
  EXPECT_EQ(f[kD1Henkan], Yen(6300));
  EXPECT_EQ(f[kD1Kasidaore], Yen(3150));
  EXPECT_EQ(f[kD1KoujyoSyoukei], Yen(274426));
  EXPECT_EQ(f[kD1KanpuFusoku], Yen(0));
  EXPECT_EQ(f[kD1Sasihiki], Yen(498500));
  EXPECT_EQ(f[kD1TyuukanNoufu], Yen(200000));
  EXPECT_EQ(f[kD1Noufu], Yen(298500));
  EXPECT_EQ(f[kD1KazeiJouto], Yen(11900000));
  EXPECT_EQ(f[kD1SouJouto], Yen(13000000));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(498500));
  EXPECT_EQ(f[kD1JouNouzei], Yen(133300));
  EXPECT_EQ(f[kD1JouNoufu], Yen(83300));
  EXPECT_EQ(f[kD1Goukei], Yen(381800));
  EXPECT_EQ(f[27], Yen(2000));
  EXPECT_EQ(f[28], Yen(0));
  EXPECT_EQ(f[32], Yen(11000));
  EXPECT_EQ(f[29], Yen(80000));
  EXPECT_EQ(f[33], Yen(693000));
  EXPECT_EQ(f[34], Yen(61693));
  EXPECT_EQ(f[35], Yen(436881));
  EXPECT_TRUE(run.Dai1Hyou.TokuteiSiire);
  EXPECT_EQ(run.TaxPar.RateColumnState, -1);

  // Form 2.
  const auto& d2 = run.Dai2Hyou_H26.F;
  EXPECT_EQ(d2[1], Yen(13000000));
  EXPECT_EQ(d2[2], Yen(12000000));
  EXPECT_EQ(d2[4], Yen(2000000));
  EXPECT_EQ(d2[5], Yen(10000000));
  EXPECT_EQ(d2[6], Yen(1000000));
  EXPECT_EQ(d2[9], Yen(1000000));
  EXPECT_EQ(d2[10], Yen(13000000));
  EXPECT_EQ(d2[13], Yen(11000000));
  EXPECT_EQ(d2[14], Yen(6300));
  EXPECT_EQ(d2[15], Yen(6300));
  EXPECT_EQ(d2[16], Yen(0));
}

// Era 1, only the 8 % column: tax 630,000 less Int(1,234,567 x 6.3/108) =
// 72,016 gives 557,984; form 1 takes the local tax from the total base:
// K100(557,900 x 17/63 = 150,544.4) = 150,500, and the 6.3 % local-tax base
// K100(557,984), the 4 % one 0. Era 1 leaves form 2 and the flag alone.
TEST_F(Engine2014Principle, OnlyTheEightPercentColumnEra1) {
  StartYear(run, 2014, 1);
  Book(run, kKomi, 2, 110, 10800000);
  Book(run, kKomi, 2, 511, 1234567);
  Book(run, kNuki, 2, 551, 500000);  // no effect at a ratio of 100 %

  CalcGensokuH26(run);

  EXPECT_EQ(S2(0, 8), Currency(100));
  EXPECT_EQ(run.Fuhyou2_H26[0].MethodLabel, "全額控除");
  EXPECT_EQ(S2(3, 26), Yen(0));
  EXPECT_EQ(S1(3, 1), Yen(10000000));
  EXPECT_EQ(S1(3, 2), Yen(630000));
  EXPECT_EQ(S1(3, 4), Yen(72016));
  EXPECT_EQ(S1(3, 17), Yen(0));
  EXPECT_EQ(run.TaxPar.RateColumnState, 2);
  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1Sasihiki], Yen(557900));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(557900));
  EXPECT_EQ(f[kD1JouNouzei], Yen(150500));
  EXPECT_EQ(f[34], Yen(0));
  EXPECT_EQ(f[35], Yen(557900));
  EXPECT_FALSE(run.Dai1Hyou.TokuteiSiire);
  EXPECT_EQ(run.Dai2Hyou_H26.F[1], Yen(0));
}

// The ratio: transfers over total transfers, truncated to 0.1 % and capped
// at 100; full deduction at 95 % within the 500-million limit.
TEST_F(Engine2014Principle, RatioAndFullDeduction) {
  struct Case {
    long long taxable;     // net taxable sales at 8 %
    long long nonTaxable;  // net non-taxable sales
    const char* ratio;
    bool full;
  };
  const Case cases[] = {
      {95678, 4322, "95.6", true},           // 0.95678
      {9999, 1, "99.9", true},               // 0.9999
      {949999, 50001, "94.9", false},        // 94.9999 % stays below 95
      {950, 50, "95", true},                 // exactly 95 %
      {1000, 0, "100", true},                // no other sales
      {-1000, 500, "0", false},              // negative transfers
      {500000000, 0, "100", true},           // the limit itself
      {500000001, 0, "100", false},          // above the limit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.taxable);
    StartYear(run, 2015, 3);
    if (c.taxable >= 0) Book(run, kNuki, 2, 110, c.taxable);
    else Book(run, kNuki, 2, 310, -c.taxable);
    Book(run, kNuki, 2, 130, c.nonTaxable);
    Book(run, kKomi, 2, 512, 108000);  // common purchase, tax 6,300
    CalcFuhyou2LinkH26(run);
    EXPECT_EQ(S2(0, 8), Dec(c.ratio));
    EXPECT_EQ(run.Fuhyou2_H26[0].FullDeduction, c.full ? 1 : 0);
    EXPECT_EQ(run.Fuhyou2_H26[0].MethodLabel, c.full ? "全額控除" : "個別対応");
    if (c.full) {
      EXPECT_EQ(S1(3, 4), Yen(6300));
    }
  }
}

// A share of the common tax under the proportional method, and the ratio
// equivalent under the itemised method: 80 % of 10,001 is 8,000.8.
TEST_F(Engine2014Principle, ProportionalAndRatioEquivalent) {
  StartYear(run, 2015, 3);
  Book(run, kNuki, 2, 110, 800);
  Book(run, kNuki, 2, 130, 200);                // ratio 80 %
  Book(run, kZei, 2, 512, 12701);               // common tax: Int(12,701 x 6.3/8) = 10,002
  run.TaxPar.Kazeiuri95Miman = 1;
  CalcFuhyou2H26(run);
  EXPECT_EQ(run.Fuhyou2_H26[0].MethodLabel, "比例配分");
  EXPECT_EQ(S2(3, 13), Yen(10002));
  EXPECT_EQ(S2(3, 18), Yen(8001));         // Int(10,002 x 0.8) = 8,001.6

  StartYear(run, 2015, 3);
  Book(run, kNuki, 2, 110, 800);
  Book(run, kNuki, 2, 130, 200);
  Book(run, kZei, 2, 512, 12700);               // Int(12,700 x 6.3/8) = 10,001
  Book(run, kZei, 2, 511, 6350);                // Int(6,350 x 6.3/8) = 5,000
  run.TaxPar.AnbunWariai = 1;
  run.TaxPar.JunzuruWariai = Currency(80);
  CalcFuhyou2H26(run);
  EXPECT_EQ(S2(3, 16), Yen(10001));
  EXPECT_EQ(S2(3, 15), Yen(5000));
  EXPECT_EQ(S2(3, 17), Yen(13000));
}

}  // namespace
