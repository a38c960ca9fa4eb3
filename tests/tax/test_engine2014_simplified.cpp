// Simplified taxation of the forms from 2014-04-01 (eras 1 to 3): schedule 4,
// the deemed purchase tax of schedule 5 with the 75 % rules and their choice
// order, the zero-sales guard, and form 1. Expected figures are worked out by
// hand in the comments.
#include <gtest/gtest.h>

#include <vector>

#include "tax/engines_2014.h"
#include "tax/schedules.h"
#include "tax/taxera.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

class Engine2014Simplified : public ::testing::Test {
 protected:
  TTaxRun run;
  Currency S4(int col, int field) const { return run.Fuhyou4_H26[col].F[static_cast<std::size_t>(field)]; }
  Currency S5(int col, int field) const { return run.Fuhyou5_H26[col].F[static_cast<std::size_t>(field)]; }
};

// A simplified pass over the fiscal year from April 2015 (era 3).
void StartEra3(TTaxRun& run) {
  SetCompany();
  TaxCompany.Kishu = EncodeDate(2015, 4, 1);
  TaxCompany.Kimatu = EncodeDate(2016, 3, 31);
  StartPass(run, 1);
  ASSERT_EQ(TaxEraOf(run.Company, run.TaxPar), 3);
  run.TaxPar.Era = 3;
}

// Type 1 sells 8,000,000 at 8 % (tax 504,000); type 6 sells 1,000,000 at 8 %
// (tax 63,000) and 1,000,000 at 5 % (tax 40,000): shares 80 % and 20 %, and
// type 6 takes the 40 % rate.
//   8 % column: normal Int(504,000 x 0.9) + Int(63,000 x 0.4) = 478,800;
//               one-type rule 567,000 x 0.9 = 510,300; pair (1,6) 478,800.
//   5 % column: normal 16,000; one-type rule 36,000; pair (1,6) 16,000.
// The one-type rule wins: 546,300 in total.
TEST_F(Engine2014Simplified, WorkedExampleWithTheSixthType) {
  StartEra3(run);
  Book(run, kKomi, 2, 111, 8640000);
  Book(run, kKomi, 2, 116, 1080000);
  Book(run, kKomi, 1, 116, 1050000);
  run.TaxPar.KijyunKikanUri = Yen(9000000);

  ASSERT_TRUE(CalcKaniH26(run));

  EXPECT_EQ(S4(3, 1), Yen(9000000));
  EXPECT_EQ(S4(3, 3), Yen(567000));
  EXPECT_EQ(S4(2, 3), Yen(40000));
  EXPECT_EQ(S5(-2, 20), Currency(80));
  EXPECT_EQ(S5(-2, 25), Currency(20));
  EXPECT_EQ(S5(2, 40), Yen(478800));
  EXPECT_EQ(S5(2, 41), Yen(510300));
  EXPECT_EQ(S5(1, 40), Yen(16000));
  EXPECT_EQ(S5(1, 41), Yen(36000));
  EXPECT_EQ(S5(-1, 40), Yen(494800));
  EXPECT_EQ(S5(-1, 57), Yen(546300));
  EXPECT_EQ(S5(-1, 52), Yen(0));  // two types only: the pairs are cleared
  EXPECT_TRUE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(run.TaxPar.TokureiKind, 1);
  EXPECT_EQ(run.TaxPar.KaniSelect, 0);

  // Schedule 4: 8 % net tax 56,700, local 15,300; 5 % net tax 4,000, local 1,000.
  EXPECT_EQ(S4(3, 5), Yen(510300));
  EXPECT_EQ(S4(2, 5), Yen(36000));
  EXPECT_EQ(S4(0, 5), Yen(546300));
  EXPECT_EQ(S4(3, 10), Yen(56700));
  EXPECT_EQ(S4(3, 16), Yen(15300));
  EXPECT_EQ(S4(2, 16), Yen(1000));
  EXPECT_EQ(S4(0, 11), Yen(60700));

  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KazeiHyoujun], Yen(10000000));
  EXPECT_EQ(f[kD1Syouhizei], Yen(607000));
  EXPECT_EQ(f[kD1KoujyoSiire], Yen(546300));
  EXPECT_EQ(f[kD1KoujyoSyoukei], Yen(546300));
  EXPECT_EQ(f[kD1Sasihiki], Yen(60700));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(60700));
  EXPECT_EQ(f[kD1JouNouzei], Yen(16300));
  EXPECT_EQ(f[kD1Goukei], Yen(77000));
  EXPECT_EQ(f[kD1KazeiJouto], Yen(10000000));
  EXPECT_EQ(f[kD1SouJouto], Yen(9000000));
  EXPECT_EQ(f[27], Yen(1000));
  EXPECT_EQ(f[32], Yen(9000));
  EXPECT_EQ(f[29], Yen(40000));
  EXPECT_EQ(f[33], Yen(567000));
  EXPECT_EQ(f[34], Yen(4000));
  EXPECT_EQ(f[35], Yen(56700));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Sales, Yen(8000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Share, Currency(80));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[5].Sales, Yen(2000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[5].Share, Currency(20));
  EXPECT_EQ(run.Dai1Hyou.GyousyuTotal, Yen(10000));
  EXPECT_EQ(run.TaxPar.RateColumnState, -1);
}

// One business type at 8 % only: the single-business deduction, type 2 at
// 100 % in form 1, and the local tax from the total (only the 8 % column).
// 1,234,500 yen of net sales show as 1,235 thousand.
TEST_F(Engine2014Simplified, SingleBusinessOnlyEightPercent) {
  StartEra3(run);
  Book(run, kKomi, 2, 112, 1333260);  // net 1,234,500; tax 1,234,000 x 6.3 % = 77,742
  CalcKaniH26(run);
  EXPECT_EQ(run.Fuhyou5_H26[-1].SingleType, 2);
  EXPECT_EQ(S4(3, 3), Yen(77742));
  EXPECT_EQ(S4(3, 5), Yen(62193));  // RDD(1, 77,742 x 0.8 = 62,193.6)
  EXPECT_EQ(S5(-1, 57), Yen(0));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Sales, Yen(1235));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Share, Currency(100));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Sales, Yen(0));
  EXPECT_EQ(run.Dai1Hyou.GyousyuTotal, Yen(1235));
  EXPECT_EQ(run.TaxPar.RateColumnState, 2);
  // Net tax 15,549: K100 15,500, local K100(15,500 x 17/63 = 4,182.5) = 4,100.
  EXPECT_EQ(run.Dai1Hyou.F[kD1Sasihiki], Yen(15500));
  EXPECT_EQ(run.Dai1Hyou.F[kD1JouNouzei], Yen(4100));
  EXPECT_EQ(run.Dai1Hyou.F[35], Yen(15500));
}

// The choice: the normal computation first, then the one-type rule, then the
// pairs; a candidate wins only with a strictly larger sum. All at 8 %, so
// each total is twice the column's figure.
TEST_F(Engine2014Simplified, CandidateChoiceOrder) {
  struct Sales {
    int type;
    long long gross;  // tax-inclusive at 8 %
  };
  struct Case {
    const char* name;
    std::vector<Sales> sales;
    const char* rate4;     // deemed rate of type 4
    long long normal;      // field 40 of the 8 % column
    int winner;            // field of the chosen candidate (40 = normal)
    long long chosen;      // field 57 of the total
    int kind;
  };
  const Case cases[] = {
      // 1 and 4 at 80 / 20: one-type 567,000 beats the normal 529,200, which
      // the pair (1,4) only equals.
      {"one type", {{1, 8640000}, {4, 2160000}}, "0.6", 529200, 41, 567000, 1},
      // 1, 2 and 5 at 40 / 40 / 20: only the pair (1,2) qualifies:
      // 226,800 + Int(378,000 x 0.8) = 529,200 against 491,400.
      {"pair", {{1, 4320000}, {2, 4320000}, {5, 2160000}}, "0.6", 491400, 42, 529200, 2},
      // 1, 2 and 5 at 10 / 80 / 10: the one-type rule (504,000) beats the
      // normal 491,400 and is displaced by the pair (1,2): 56,700 + 453,600.
      {"pair after one type", {{1, 1080000}, {2, 8640000}, {5, 1080000}}, "0.6", 491400, 42, 510300, 2},
      // 1 and 4 at 80 / 20 with equal rates: all candidates tie at 567,000
      // and the normal computation stays.
      {"tie", {{1, 8640000}, {4, 2160000}}, "0.9", 567000, 40, 567000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartEra3(run);
    run.TaxPar.MinasiRitu4 = Dec(c.rate4);
    for (const Sales& s : c.sales) Book(run, kKomi, 2, 110 + s.type, s.gross);
    CalcKaniH26(run);
    EXPECT_EQ(S5(2, 40), Yen(c.normal));
    EXPECT_EQ(S5(-1, 57), Yen(c.chosen));
    EXPECT_EQ(S5(-1, 57), S5(-1, c.winner));
    EXPECT_EQ(S4(0, 5), Yen(c.chosen));
    EXPECT_EQ(run.TaxPar.TokureiApplied, c.kind != 0);
    EXPECT_EQ(run.TaxPar.TokureiKind, c.kind);
    EXPECT_EQ(run.TaxPar.TokureiWon, c.kind != 0 ? 1 : 0);
  }
}

// Returns larger than all sales: the combined sales are 0, so no share is
// computed and no 75 % rule applies although the pair (1,2) has sales in both
// types; the deduction basis is 0.
TEST_F(Engine2014Simplified, ZeroSalesGuard) {
  StartEra3(run);
  Book(run, kKomi, 2, 111, 1080000);
  Book(run, kKomi, 2, 312, 2160000);
  CalcKaniH26(run);
  EXPECT_EQ(S5(-2, 6), Yen(0));
  for (int n = 20; n <= 25; ++n) EXPECT_EQ(S5(-2, n), Yen(0)) << n;
  EXPECT_EQ(run.Fuhyou5_H26[-2].FirstType75, 0);
  EXPECT_EQ(S5(-1, 42), Yen(0));
  EXPECT_FALSE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(S4(0, 5), Yen(0));
  EXPECT_EQ(run.Dai1Hyou.F[kD1KanpuFusoku], Yen(63000));  // returns tax 126,000 - 63,000
}

}  // namespace
