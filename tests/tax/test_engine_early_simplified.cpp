// Simplified taxation of the forms before 2014-04-01 (era 0): schedule 4,
// the deemed purchase tax of schedule 5 with the single-type case, the 75 %
// rules and their choice order, the zero-sales guard, and form 1. Expected
// figures are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "tax/engines_early.h"
#include "tax/schedules.h"
#include "tax/taxera.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

class EngineEarlySimplified : public ::testing::Test {
 protected:
  TTaxRun run;
  Currency P(int field) const { return run.Fuhyou5_Old.F[static_cast<std::size_t>(field)]; }
  Currency H(int field) const { return run.Fuhyou4_Old.F[static_cast<std::size_t>(field)]; }
};

void StartEra0(TTaxRun& run) {
  SetCompany();
  TaxCompany.Kishu = EncodeDate(2012, 4, 1);
  TaxCompany.Kimatu = EncodeDate(2013, 3, 31);
  StartPass(run, 1);
  ASSERT_EQ(TaxEraOf(run.Company, run.TaxPar), 0);
  run.TaxPar.Era = 0;
}

bool RunEngine(TTaxRun& run) { return CalcKaniOld(run.TaxPar, run.Dai1Hyou, run.Fuhyou4_Old, run.Fuhyou5_Old); }

// Type 1 sells 8,400,000 at 5 % with 210,000 of returns, type 4 sells
// 2,100,000 at 5 % and 1,030,000 at 3 %.
//   Tax 400,000 (4 %) + 30,000 (3 %), returns tax 8,000: bases 422,000 and
//   392,000. Types: 1 sales 7,800,000 tax 312,000; 4 sales 3,000,000 tax
//   80,000 + 30,000. Shares 72.2 % and 27.7 % (truncated).
//   Total: normal Int(312,000 x 0.9) + Int(110,000 x 0.6) = 346,800; no type
//   reaches 75 %; pair (1,4) 346,800 only ties, so the normal one stays.
//   4 % column: type 1 has 7,800,000 / 9,800,000 = 79.6 %: candidate 19
//   Int(392,000 x 0.9) = 352,800 beats the normal 328,800.
TEST_F(EngineEarlySimplified, WorkedExample) {
  StartEra0(run);
  Book(run, kKomi, 1, 111, 8400000);
  Book(run, kKomi, 1, 311, 210000);
  Book(run, kKomi, 1, 114, 2100000);
  Book(run, kKomi, 0, 114, 1030000);
  run.TaxPar.KijyunKikanUri = Yen(12000000);

  ASSERT_TRUE(RunEngine(run));

  EXPECT_EQ(H(3), Yen(11000000));
  EXPECT_EQ(H(6), Yen(400000));
  EXPECT_EQ(H(7), Yen(30000));
  EXPECT_EQ(H(18), Yen(8000));
  EXPECT_EQ(P(7), Yen(422000));
  EXPECT_EQ(P(8), Yen(392000));
  EXPECT_EQ(P(11), Yen(10800000));
  EXPECT_EQ(P(12), Yen(9800000));
  EXPECT_EQ(P(23), Yen(422000));
  EXPECT_EQ(P(24), Yen(392000));
  EXPECT_EQ(P(61), Currency(2));
  EXPECT_EQ(P(62), Currency(0));
  EXPECT_EQ(P(35), Yen(346800));
  EXPECT_EQ(P(37), Yen(0));
  EXPECT_EQ(P(43), Yen(346800));  // candidate 22, pair (1,4)
  EXPECT_EQ(P(59), Yen(346800));
  EXPECT_EQ(P(63), Currency(18));
  EXPECT_EQ(P(68), Currency(18));
  EXPECT_EQ(P(36), Yen(328800));
  EXPECT_EQ(P(38), Yen(352800));
  EXPECT_EQ(P(60), Yen(352800));
  EXPECT_EQ(P(67), Currency(19));
  EXPECT_FALSE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(run.TaxPar.SpecialCalcApplied, 0);

  // Schedule 4: deductions 354,800 (total) and 360,800 (4 %); net tax
  // 75,200 and 39,200; local tax 25 % of 39,200 = 9,800.
  EXPECT_EQ(H(14), Yen(346800));
  EXPECT_EQ(H(15), Yen(352800));
  EXPECT_EQ(H(22), Yen(354800));
  EXPECT_EQ(H(23), Yen(360800));
  EXPECT_EQ(H(28), Yen(75200));
  EXPECT_EQ(H(29), Yen(39200));

  const auto& f = run.Dai1Hyou.F;
  EXPECT_EQ(f[kD1KazeiHyoujun], Yen(11000000));
  EXPECT_EQ(f[kD1Syouhizei], Yen(430000));
  EXPECT_EQ(f[kD1KoujyoSiire], Yen(346800));
  EXPECT_EQ(f[kD1Henkan], Yen(8000));
  EXPECT_EQ(f[kD1KoujyoSyoukei], Yen(354800));
  EXPECT_EQ(f[kD1Sasihiki], Yen(75200));
  EXPECT_EQ(f[kD1JouSasihiki], Yen(39200));
  EXPECT_EQ(f[kD1JouNouzei], Yen(9800));
  EXPECT_EQ(f[kD1Goukei], Yen(85000));
  EXPECT_EQ(f[kD1KazeiJouto], Yen(10800000));
  EXPECT_EQ(f[kD1SouJouto], Yen(12000000));
  EXPECT_EQ(f[27], Yen(10000));
  EXPECT_EQ(f[28], Yen(1000));
  EXPECT_EQ(f[29], Yen(400000));
  EXPECT_EQ(f[30], Yen(30000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Sales, Yen(7800));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Share, Dec("72.2"));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[3].Sales, Yen(3000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[3].Share, Dec("27.7"));
  EXPECT_EQ(run.Dai1Hyou.GyousyuTotal, Yen(10800));
}

// Sales of type 2 only, at both rates: the single-type deduction at 80 %.
TEST_F(EngineEarlySimplified, SingleType) {
  StartEra0(run);
  Book(run, kKomi, 1, 112, 2100000);  // tax 80,000
  Book(run, kKomi, 0, 112, 1030000);  // tax 30,000
  RunEngine(run);
  EXPECT_EQ(P(62), Currency(2));
  EXPECT_EQ(P(65), Currency(2));
  EXPECT_EQ(P(61), Currency(1));
  EXPECT_EQ(P(9), Yen(88000));
  EXPECT_EQ(P(10), Yen(64000));
  EXPECT_EQ(P(15), Yen(0));  // the type table of the record is cleared
  EXPECT_EQ(H(14), Yen(88000));
  EXPECT_EQ(H(15), Yen(64000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Sales, Yen(3000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Share, Currency(100));
  EXPECT_EQ(run.Dai1Hyou.F[kD1Sasihiki], Yen(22000));
  EXPECT_EQ(run.Dai1Hyou.F[kD1JouNouzei], Yen(4000));
}

// Types 1, 2 and 5 at 10 / 80 / 10 % at 5 %: normal 312,000; candidate 19
// (type 2) 320,000 beats it; candidate 20 (1,2) 36,000 + Int(360,000 x 0.8)
// = 324,000 beats that; candidate 26 (2,5) 296,000 does not. With the
// special calculation the candidates lose the factor of the tax base, which
// here is 1: the same choice.
TEST_F(EngineEarlySimplified, CandidateChoiceOrder) {
  for (int special : {0, 1}) {
    SCOPED_TRACE(special);
    StartEra0(run);
    run.TaxPar.SpecialCalcOn = special;
    Book(run, kKomi, 1, 111, 1050000);
    Book(run, kKomi, 1, 112, 8400000);
    Book(run, kKomi, 1, 115, 1050000);
    RunEngine(run);
    EXPECT_EQ(P(35), Yen(312000));
    EXPECT_EQ(P(37), Yen(320000));
    EXPECT_EQ(P(66), Currency(80));
    EXPECT_EQ(P(39), Yen(324000));
    EXPECT_EQ(P(45), Yen(0));       // candidate 23 (1,5): 20 % only
    EXPECT_EQ(P(51), Yen(296000));  // candidate 26 (2,5)
    EXPECT_EQ(P(59), Yen(324000));
    EXPECT_EQ(P(63), Currency(20));
    EXPECT_EQ(P(67), Currency(20));
    EXPECT_TRUE(run.TaxPar.TokureiApplied);
    EXPECT_EQ(run.TaxPar.TokureiWon, 1);
    EXPECT_EQ(run.TaxPar.TokureiKind, 0);
    EXPECT_EQ(run.TaxPar.SpecialCalcApplied, special);
    EXPECT_EQ(H(14), Yen(324000));
  }
}

// Sales of all types sum to 0 while their tax does not: no share divides by
// zero, no 75 % rule applies, and the normal calculation is chosen.
//   Type 1: 1,000,000 net with 50,000 booked tax (4 % tax 40,000); type 2:
//   500,000 sales and 1,500,000 returns, net, without tax.
TEST_F(EngineEarlySimplified, ZeroSalesGuard) {
  StartEra0(run);
  Book(run, kNuki, 1, 111, 1000000);
  Book(run, kZei, 1, 611, 50000);
  Book(run, kNuki, 1, 112, 500000);
  Book(run, kNuki, 1, 312, 1500000);
  ASSERT_TRUE(RunEngine(run));
  EXPECT_EQ(P(11), Yen(0));
  EXPECT_EQ(P(12), Yen(0));
  EXPECT_EQ(P(23), Yen(40000));
  EXPECT_EQ(P(35), Yen(36000));
  EXPECT_EQ(P(37), Yen(0));
  EXPECT_EQ(P(59), Yen(36000));
  EXPECT_EQ(P(63), Currency(18));
  EXPECT_EQ(P(60), Yen(36000));
  EXPECT_EQ(P(67), Currency(18));
  EXPECT_FALSE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Share, Currency(0));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Share, Currency(0));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[0].Sales, Yen(1000));
  EXPECT_EQ(run.Dai1Hyou.Gyousyu[1].Sales, Yen(-1000));
}

// Returns without a type push the tax base below 0: the normal calculation
// and the pair (1,2) give -34,000. Candidate 19 holds 0 but no type reaches
// 75 %, so it is not a rule of the period and cannot win: the normal one
// stands and no 75 % flag or mark is set.
TEST_F(EngineEarlySimplified, OnlyQualifyingCandidatesWin) {
  StartEra0(run);
  Book(run, kKomi, 1, 111, 1050000);
  Book(run, kKomi, 1, 112, 1050000);
  Book(run, kKomi, 1, 310, 3150000);  // returns tax 120,000
  RunEngine(run);
  EXPECT_EQ(P(7), Yen(-40000));
  EXPECT_EQ(P(35), Yen(-34000));
  EXPECT_EQ(P(37), Yen(0));
  EXPECT_EQ(P(39), Yen(-34000));
  EXPECT_EQ(P(59), Yen(-34000));
  EXPECT_EQ(P(63), Currency(18));
  EXPECT_EQ(P(60), Yen(-34000));
  EXPECT_EQ(P(67), Currency(18));
  EXPECT_FALSE(run.TaxPar.TokureiApplied);
  EXPECT_EQ(run.TaxPar.TokureiWon, 0);
  EXPECT_EQ(H(14), Yen(-34000));
}

}  // namespace
