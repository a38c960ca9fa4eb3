// Mixed-code correction of the simplified pass, the reset, and the refund
// statement's purchase-tax total after the principle pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tax/correction.h"
#include "tax/kanpu.h"
#include "tax/refund.h"
#include "tax/schedules.h"
#include "taxtestutil.h"

using namespace taxtest;

namespace {

Currency Cat(const TaxBlock& b, int slot, int cat) {
  return b[static_cast<std::size_t>(slot)][static_cast<std::size_t>(cat)];
}

class CorrectionTest : public ::testing::Test {
 protected:
  TTaxRun run;
  void SetUp() override {
    SetCompany(kCompanyCorporation, 3);
    messages.clear();
    TaxHooks.ShowMessage = [this](int kind, const std::string& text) {
      EXPECT_EQ(kind, kMsgWarning);
      messages.push_back(text);
    };
  }
  void TearDown() override { TaxHooks.ShowMessage = nullptr; }
  void Start(int pass, int era) {
    StartPass(run, pass);
    run.TaxPar.Era = era;
    run.TaxPar.MainBusiness = 3;
  }
  std::vector<std::string> messages;
};

TEST_F(CorrectionTest, PrincipleCodesMoveToTheMainBusinessType) {
  Start(1, 4);
  Book(run, kKomi, 4, 110, 1000);
  Book(run, kKomi, 4, 111, 500);
  Book(run, kNuki, 3, 310, 70);
  Book(run, kZei, 2, 630, 30);
  Book(run, kZei, 2, 636, 5);
  CorrectMixedTaxCodes(run, false);
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 4), Yen(1500));  // 113
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 1), Yen(0));
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 2), Yen(0));
  EXPECT_EQ(Cat(run.TaxPar.Nuki, 3, 19), Yen(70));   // 313
  EXPECT_EQ(Cat(run.TaxPar.Zei, 2, 57), Yen(35));    // 633 takes 630 and 636
  EXPECT_EQ(Cat(run.TaxPar.Zei, 2, 87), Yen(0));
  EXPECT_TRUE(messages.empty());  // no dialogs in link runs
}

TEST_F(CorrectionTest, MessagesOnlyWhenAsked) {
  Start(1, 4);
  Book(run, kKomi, 4, 110, 1000);
  CorrectMixedTaxCodes(run, true);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "《消費税コードエラー（原則課税コードの混在）》\r\n\r\n　原則課税コード[110、310、610、630]が含まれています。\r\n"
            "  消費税コードを第三種事業へ読み替えて集計を行います。\r\n    110～116 ---> 113\r\n    310～316 ---> 313\r\n"
            "    610～616 ---> 613\r\n    630～636 ---> 633");
}

TEST_F(CorrectionTest, PrinciplePassAndCancellingAmountsAreLeftAlone) {
  Start(0, 4);
  Book(run, kKomi, 4, 110, 1000);
  Book(run, kKomi, 4, 111, 500);
  CorrectMixedTaxCodes(run, false);
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 1), Yen(1000));
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 2), Yen(500));

  Start(1, 4);
  Book(run, kKomi, 4, 110, 1000);
  Book(run, kKomi, 3, 110, -1000);  // the principle codes sum to 0
  Book(run, kKomi, 4, 111, 500);
  CorrectMixedTaxCodes(run, false);
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 1), Yen(1000));
  EXPECT_EQ(Cat(run.TaxPar.Komi, 3, 1), Yen(-1000));
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 2), Yen(500));
}

TEST_F(CorrectionTest, SixthTypeMovesToTheFifthOnlyInEra1) {
  for (int era : {1, 2}) {
    Start(1, era);
    Book(run, kKomi, 2, 116, 800);
    Book(run, kZei, 2, 636, 20);
    CorrectMixedTaxCodes(run, era == 1);
    EXPECT_EQ(Cat(run.TaxPar.Komi, 2, 6), Yen(era == 1 ? 800 : 0)) << era;
    EXPECT_EQ(Cat(run.TaxPar.Komi, 2, 84), Yen(era == 1 ? 0 : 800)) << era;
    EXPECT_EQ(Cat(run.TaxPar.Zei, 2, 59), Yen(era == 1 ? 20 : 0)) << era;
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("116 ---> 115"), std::string::npos);
}

TEST_F(CorrectionTest, ImportWarningOfThePrinciplePass) {
  Start(0, 4);
  run.TaxPar.ImportCodesUsed = 1;
  CorrectMixedTaxCodes(run, true);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].substr(0, messages[0].find("\r\n")),
            "課税輸入に関する消費税区分として以下が入力されてるため、概算で計算します。");
}

TEST_F(CorrectionTest, RefundPurchaseTaxOfACorporationInThousands) {
  struct Case {
    int kind;
    const char* ratio;
    long long c, expected;
  } cases[] = {
      {kCompanyCorporation, "96", 10000, 1234},
      {kCompanyCorporation, "90", 10000, 1244},
      {kCompanyMedical, "90", 10000, 1244},
      {kCompanyIndividual, "96", 10000, 1234567},
      {kCompanyIndividual, "90", 10000, 1244567},
  };
  for (const auto& c : cases) {
    SetCompany(c.kind, 3);
    Start(0, 4);
    auto& total = run.Fuhyou21_R01[-1];
    total.F[10] = Yen(1234567);
    total.F[11] = Yen(0);
    total.F[27] = Yen(c.c);
    total.F[8] = Dec(c.ratio);
    StoreRefundPurchaseTax(run);
    if (c.kind == kCompanyIndividual) {
      EXPECT_EQ(run.KanpuKojin.SiireZeigaku, Yen(c.expected)) << c.ratio;
      EXPECT_EQ(run.KanpuKojin.InputSiireZeigaku, Yen(c.expected));
    } else {
      EXPECT_EQ(run.KanpuHojin.SiireZeigaku, Yen(c.expected)) << c.kind << " " << c.ratio;
      EXPECT_EQ(run.KanpuHojin.InputSiireZeigaku, Yen(c.expected));
    }
  }
}

TEST_F(CorrectionTest, SimplifiedPassLeavesTheRefundStatementAlone) {
  Start(1, 4);
  Book(run, kKomi, 4, 113, 1100000);
  run.KanpuHojin.SiireSoneki.Row[1].Kessan = Yen(1234999);
  RunTaxEngines(run);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(1234999));
  EXPECT_EQ(run.KanpuHojin.SiireZeigaku, Yen(0));
}

TEST_F(CorrectionTest, ResetInitialisesTheRecordOfTheCompanyKind) {
  TTaxCompanyInfo info = TaxCompany;
  info.TaxDefUH = 0;
  SetTaxCompanyInfo(info);
  TaxHooks.TaxDefUHWithLinkSiwake = [](std::int32_t v) { return v == 0 ? 1 : v; };
  run.KanpuHojin.SyuyouSisan[3].Simei = "old";
  Start(0, 4);
  EXPECT_EQ(run.KanpuHojin.ZeiKbn, 0);
  EXPECT_EQ(run.KanpuHojin.KessanZeiKbn, 0);
  EXPECT_EQ(run.KanpuHojin.SisanZeiKbn, 1);
  EXPECT_EQ(run.KanpuHojin.KanpuRiyuu01, 1);
  EXPECT_EQ(run.KanpuHojin.SyuyouSisan[3].Simei, "");
  EXPECT_EQ(run.Fuhyou5_Old.F[61], Currency(1));
  EXPECT_EQ(run.Fuhyou5_Old.F[64], Currency(1));
  TaxHooks.TaxDefUHWithLinkSiwake = nullptr;

  SetCompany(kCompanyIndividual, 3);
  StartPass(run, 0);
  run.TaxPar.KikanTo = EncodeDate(2021, 3, 31);
  ResetTaxResults(run);
  EXPECT_EQ(run.KanpuKojin.TokusyuJijyoNen, 3);
  EXPECT_EQ(EraYearOf(EncodeDate(2019, 4, 30)), 31);
  EXPECT_EQ(EraYearOf(EncodeDate(2019, 5, 1)), 1);
}

}  // namespace
