// The per-line steps of the journal aggregation, the refund-statement
// classification and fold, the entered refund inputs and the special-measure
// rows, without a database.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/accountlayout.h"
#include "tax/aggregate.h"
#include "tax/kanpu.h"
#include "tax/refund.h"
#include "tax/schedules.h"
#include "tax/tokurei.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

Currency Cat(const TaxBlock& b, int slot, int cat) {
  return b[static_cast<std::size_t>(slot)][static_cast<std::size_t>(cat)];
}

TTaxJournalRow Line(int taishaku, int code, int taxDC, long long nuk, long long zei, int rit = 10, int oldRate = 0) {
  TTaxJournalRow r;
  r.Hizuke = EncodeDate(2020, 2, 1);
  r.Taishaku = taishaku;
  r.KCode = "K400";
  r.TaxCode = code;
  r.TaxDC = taxDC;
  r.Nuk = Yen(nuk);
  r.Zei = Yen(zei);
  r.Rit = Currency(rit);
  r.AutCalcu = 1;
  r.RKCode = "K100";
  r.GroupM0 = "4100";
  r.Dac = 2;
  r.OldRate = oldRate;
  return r;
}

class AggregateTest : public ::testing::Test {
 protected:
  TTaxRun run;
  void SetUp() override {
    SetCompany();
    StartPass(run, 0);
    BeginJournalAggregation(run);
  }
};

TEST_F(AggregateTest, RoutingBySideRateAndCode) {
  AccumulateJournalRow(run, Line(2, 111, 3, 1000, 100));  // credit sales: +1,100 gross
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 2), Yen(1100));
  AccumulateJournalRow(run, Line(1, 111, 3, 1000, 100));  // the same on the debit side
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 2), Yen(0));

  AccumulateJournalRow(run, Line(2, 110, 3, 2000, 160, 8, 4));  // reduced rate: slot 3
  EXPECT_EQ(Cat(run.TaxPar.Komi, 3, 1), Yen(2160));
  AccumulateJournalRow(run, Line(2, 110, 3, 500, 0, 0, 4));  // rate 0 in era 4: the standard slot
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 1), Yen(500));
  AccumulateJournalRow(run, Line(2, 117, 3, 700, 0));  // unknown code: index 0
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 0), Yen(700));
  AccumulateJournalRow(run, Line(2, 110, 2, 9999, 0));  // TAXDC 2 adds nothing
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 1), Yen(500));
}

TEST_F(AggregateTest, SeparateCodesAndBookedTax) {
  TTaxJournalRow imp = Line(1, 721, 1, 50000, 0);
  imp.KCode = "K720";  // the suspense account for tax paid
  AccumulateJournalRow(run, imp);
  EXPECT_EQ(Cat(run.TaxPar.Zei, 4, 64), Yen(50000));
  EXPECT_EQ(run.TaxPar.ImportCodesUsed, 1);

  AccumulateJournalRow(run, Line(1, 551, 1, 30000, 0));  // automatic, no tax: net
  EXPECT_EQ(Cat(run.TaxPar.Nuki, 4, 88), Yen(30000));
  TTaxJournalRow hand = Line(1, 551, 1, 10000, 780);
  hand.AutCalcu = 0;  // entered by hand: net and tax apart
  AccumulateJournalRow(run, hand);
  EXPECT_EQ(Cat(run.TaxPar.Nuki, 4, 88), Yen(40000));
  EXPECT_EQ(Cat(run.TaxPar.Zei, 4, 88), Yen(780));
  AccumulateJournalRow(run, Line(1, 521, 1, 1000, 100));  // automatic with tax: gross
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 34), Yen(1100));

  run.TaxPar.KeisanTokurei = true;  // booked net and tax kept apart for every code
  TTaxJournalRow sale = Line(2, 110, 3, 1000, 100);
  sale.AutCalcu = 0;
  AccumulateJournalRow(run, sale);
  EXPECT_EQ(Cat(run.TaxPar.Nuki, 4, 1), Yen(1000));
  EXPECT_EQ(Cat(run.TaxPar.Zei, 4, 1), Yen(100));
}

TEST_F(AggregateTest, ImportCodesAreNoted) {
  struct Case {
    int code;
    long long tax;
    bool noted;
  } cases[] = {{521, 0, false}, {521, 5, true}, {573, 5, true}, {721, 0, true}, {773, 0, true}, {724, 5, false}, {511, 5, false}};
  for (const auto& c : cases) {
    run.TaxPar.ImportCodesUsed = 0;
    EXPECT_EQ(NoteImportTaxCode(run.TaxPar, c.code, Yen(0), Yen(c.tax)), c.noted) << c.code;
    EXPECT_EQ(run.TaxPar.ImportCodesUsed, c.noted ? 1 : 0);
  }
}

TEST_F(AggregateTest, SpecialMeasureWindows) {
  EXPECT_FALSE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 1, 1), 110, 0));  // switched off
  run.TaxPar.TokureiOn = 1;
  run.TaxPar.UriageTokurei1On = 1;
  run.TaxPar.SiireTokureiOn = 1;
  EXPECT_TRUE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 1, 1), 110, 0));
  EXPECT_FALSE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 1, 1), 110, 3));
  EXPECT_FALSE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2019, 9, 30), 110, 0));
  EXPECT_TRUE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2023, 9, 30), 610, 0));
  EXPECT_FALSE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2023, 10, 1), 610, 0));
  // Purchases: the window runs to the period's end when it holds 2020-09-30.
  EXPECT_TRUE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 9, 30), 511, 0));
  EXPECT_FALSE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 10, 1), 511, 0));
  run.TaxPar.KikanTo = EncodeDate(2020, 12, 31);
  EXPECT_TRUE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 12, 31), 711, 0));
  EXPECT_FALSE(IsSpecialMeasureLine(run.TaxPar, EncodeDate(2020, 12, 31), 810, 0));

  AccumulateJournalRow(run, Line(2, 110, 3, 1000, 100));  // left out entirely
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 1), Yen(0));
}

class RefundTest : public ::testing::Test {
 protected:
  TTaxRun run;
  void Start(int kind, int codeType = 1, int taxDefUH = 0) {
    SetCompany(kind);
    TTaxCompanyInfo info = TaxCompany;
    info.CodeType = codeType;
    info.TaxDefUH = taxDefUH;
    SetTaxCompanyInfo(info);
    StartPass(run, 0);
    BeginJournalAggregation(run);
  }
  void Classify(int taishaku, const char* group, int code, long long nuk, long long zei,
                       bool counterTax = false, int linkKub = 0) {
    ClassifyRefundStatementLine(run, counterTax, taishaku, group, 2, code, Yen(nuk), Yen(zei), linkKub);
  }
};

TEST_F(RefundTest, CorporationTablesByGroup) {
  Start(kCompanyCorporation);
  Classify(1, "6120", 511, 100000, 10000);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(110000));
  Classify(2, "6120", 511, 100000, 10000);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(0));

  Classify(2, "1500", 511, 50000, 5000);  // credit asset line, other counter: ignored
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[0].Kessan, Yen(0));
  Classify(2, "1500", 511, 50000, 5000, true);  // against a tax account: reduces
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[0].Kessan, Yen(-55000));

  Classify(1, "5300", 511, 1000, 100);  // inventory group: not classified
  Classify(1, "5400", 511, 1000, 100);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[0].Kessan, Yen(1100));

  Classify(1, "6200", 810, 3000, 0);  // outside the corporation's expense range
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].NotKazei, Yen(0));
  Classify(1, "1810", 540, 2000, 0);
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[1].Kessan, Yen(2000));
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[1].NotKazei, Yen(2000));
  Classify(1, "8250", 552, 40000, 0);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[3].Tokutei, Yen(40000));
}

// The Tokutei column of every journal purchase row of the record of the kind.
std::vector<Currency> TokuteiColumn(const TTaxRun& run, int kind) {
  std::vector<Currency> column;
  auto add = [&](const auto& table) {
    for (const TKanpuSiireRow& row : table.Row) column.push_back(row.Tokutei);
  };
  if (kind == kCompanyIndividual) {
    add(run.KanpuKojin.SiireJigyou);
    add(run.KanpuKojin.SiireFudousan);
    add(run.KanpuKojin.SiireSonota);
  } else {
    add(run.KanpuHojin.SiireSoneki);
    add(run.KanpuHojin.SiireSisan);
  }
  return column;
}

// The specific-purchase column moves in the principle pass only, but the read
// keeps the specific purchases whatever its pass: a principle pass that takes
// over a simplified pass's read sets the column its own read would give, and
// a simplified pass that takes over a principle read clears it.
TEST_F(RefundTest, SpecificPurchasesOfTheReadFollowThePass) {
  const std::pair<int, int> kinds[] = {{kCompanyCorporation, 1}, {kCompanyIndividual, 1}, {kCompanyIndividual, 2}};
  for (const auto& [kind, codeType] : kinds) {
    auto read = [&, kind = kind, codeType = codeType](int pass) {
      Start(kind, codeType);
      run.TaxPar.SinkokuKubun = pass;
      Classify(1, "6120", 551, 50000, 0);
      Classify(2, "6120", 582, 5000, 0);  // credit on an expense row: counts
      Classify(1, "1520", 552, 20000, 0);
      Classify(2, "1520", 553, 7000, 0);  // credit on an asset row: never
      Classify(1, "5400", 583, 3000, 0);
      return TokuteiColumn(run, kind);
    };
    const std::vector<Currency> principle = read(0);
    const std::vector<Currency> none(principle.size());
    ASSERT_NE(principle, none) << kind;
    EXPECT_EQ(read(1), none) << kind;
    run.TaxPar.SinkokuKubun = 0;
    ApplyRefundReadTokutei(run);
    EXPECT_EQ(TokuteiColumn(run, kind), principle) << kind;
    read(0);
    run.TaxPar.SinkokuKubun = 1;
    ApplyRefundReadTokutei(run);
    EXPECT_EQ(TokuteiColumn(run, kind), none) << kind;
  }
}

TEST_F(RefundTest, MedicalCorporationAndTaxExclusiveStatements) {
  Start(kCompanyMedical, 1, 1);
  SetupAccountLayout(true);  // as the company information sets it for this chart
  Classify(1, "6200", 810, 3000, 0);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(3000));
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].NotKazei, Yen(3000));
  Classify(1, "6120", 511, 100000, 10000);  // tax-exclusive: net only
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(103000));
  Classify(1, "6120", 511, 100000, 10000, false, 9);  // linked lines of kind 9 are left out
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(103000));
  Classify(1, "7200", 511, 100, 10);  // the medical non-operating range starts at 7210
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[2].Kessan, Yen(0));
  SetupAccountLayout(false);
}

TEST_F(RefundTest, IndividualTablesByCodeType) {
  Start(kCompanyIndividual, 1);
  Classify(1, "5400", 511, 1000, 100);
  Classify(1, "6150", 511, 2000, 200);
  Classify(1, "1410", 511, 3000, 300);
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[0].Kessan, Yen(1100));
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[1].Kessan, Yen(2200));
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[2].Kessan, Yen(3300));

  Start(kCompanyIndividual, 2);
  Classify(1, "5400", 511, 1000, 100);  // real estate has no purchases row
  Classify(1, "6150", 511, 2000, 200);
  Classify(1, "1410", 511, 3000, 300);
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[0].Kessan, Yen(0));
  EXPECT_EQ(run.KanpuKojin.SiireFudousan.Row[0].Kessan, Yen(2200));
  EXPECT_EQ(run.KanpuKojin.SiireFudousan.Row[1].Kessan, Yen(3300));
}

TEST_F(RefundTest, FoldIntoThousandsAndSpecificPurchasesAt95Percent) {
  for (const char* ratio : {"97", "90"}) {
    Start(kCompanyCorporation);
    Classify(1, "6120", 552, 50000, 0);
    Classify(1, "6120", 511, 1184999, 0);
    run.Fuhyou21_R01[-1].F[8] = Dec(ratio);
    FoldRefundStatementColumns(run);
    const auto& row = run.KanpuHojin.SiireSoneki.Row[1];
    EXPECT_EQ(row.Kessan, Yen(1234)) << ratio;  // 1,234,999 yen
    EXPECT_EQ(row.NotKazei, Yen(std::string(ratio) == "97" ? 50 : 0)) << ratio;
    EXPECT_EQ(row.Kazei, row.Kessan - row.NotKazei);
    EXPECT_EQ(run.KanpuHojin.SiireSoneki.Total().Kessan, Yen(1234));
  }
  Start(kCompanyIndividual, 1);
  Classify(1, "6150", 810, 2000, 0);
  Classify(1, "6150", 511, 5000, 500);
  FoldRefundStatementColumns(run);
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[1].Kazei, Yen(5500));
  EXPECT_EQ(run.KanpuKojin.KazeiTotal, Yen(5500));
}

TEST_F(RefundTest, EnteredRowsBeyondASectionAreSkipped) {
  Start(kCompanyCorporation);
  TRefundInputBuilder builder(run, kCompanyCorporation);
  for (int i = 1; i <= 11; ++i) {
    TKanpuSisan asset;
    asset.Simei = "S" + std::to_string(i);
    builder.AddTransaction(10, asset, TKanpuTorihiki{});
  }
  TKanpuTorihiki exportRow;
  exportRow.Shohin = "goods";
  builder.AddTransaction(20, TKanpuSisan{}, exportRow);
  EXPECT_EQ(run.KanpuHojin.SyuyouSisan[9].Simei, "S10");
  EXPECT_EQ(run.KanpuHojin.Yusyutu[0].Shohin, "goods");
  for (int i = 0; i < 6; ++i) builder.AddPurchase(10, Yen(100), Yen(10), Yen(90));
  EXPECT_EQ(run.KanpuHojin.InputSiireSoneki.Total().Kessan, Yen(400));
  EXPECT_EQ(run.KanpuHojin.InputSiireSoneki.Total().Kazei, Yen(360));

  Start(kCompanyIndividual);
  TRefundInputBuilder kojin(run, kCompanyIndividual);
  kojin.AddPurchase(10, Yen(100), Yen(10), Yen(90));
  kojin.AddPurchase(30, Yen(50), Yen(0), Yen(50));
  EXPECT_EQ(run.KanpuKojin.InputKazeiTotal, Yen(140));
}

TEST(Tokurei, SalesShareRows) {
  TTaxRun run;
  run.TaxPar.Era = 4;
  TTokureiKeisan_Uriage010_JigyoRec_R011001 half;
  half.Wariai50 = 1;
  half.Komoku010 = Yen(10800);
  ComputeUriage010Row(run.TaxPar.Era, half);
  EXPECT_EQ(half.Wariai, 50.0);
  EXPECT_EQ(half.NukiK8, Yen(5000));
  EXPECT_EQ(half.Nuki10, Yen(4909));

  TTokureiKeisan_Uriage010_JigyoRec_R011001 share;
  share.Komoku010 = Yen(10800);
  share.Komoku030 = Yen(3);
  share.Komoku040 = Yen(2);
  ComputeUriage010Row(run.TaxPar.Era, share);
  EXPECT_DOUBLE_EQ(share.Wariai, 66.6);
  EXPECT_EQ(share.NukiK8, Yen(6666));  // 7,200 x 100/108 = 6,666.67
  EXPECT_EQ(share.Nuki10, Yen(3272));  // 3,600 x 100/110 = 3,272.73

  TTokureiKeisan_Uriage010_R011001 rec;
  TTokureiKeisan_Uriage010_JigyoRec_R011001 none;
  none.Komoku010 = Yen(5000);
  AddUriage010Row(run.TaxPar.Era, rec, none);  // no basis: nothing
  AddUriage010Row(run.TaxPar.Era, rec, half);
  EXPECT_EQ(rec.JigyoList.size(), 2u);
  EXPECT_EQ(rec.TotalK8, Yen(5000));
  EXPECT_EQ(rec.Total10, Yen(4909));

  run.TaxPar.Era = 3;  // before era 4 every converted value is 0
  ComputeUriage010Row(run.TaxPar.Era, half);
  EXPECT_EQ(half.NukiK8, Yen(0));
  run.TaxPar.Era = 4;
}

TEST(Tokurei, PurchaseRows) {
  TTaxRun run;
  run.TaxPar.Era = 4;
  TTokureiKeisan_Siire010_JigyoRec_R011001 row;
  row.Komoku010 = Yen(1000);
  row.Komoku020 = Yen(400);
  row.Komoku030 = Yen(110000);
  ComputeSiire010Row(run.TaxPar.Era, row);
  EXPECT_DOUBLE_EQ(row.Wariai, 40.0);
  EXPECT_EQ(row.KokuzeiK8, Yen(2542));   // 44,000 x 6.24/108 = 2,542.2
  EXPECT_EQ(row.Kokuzei10, Yen(4680));   // 66,000 x 7.8/110
}

}  // namespace
