// The value texts of both passes from accumulators set by hand, and the
// element names of the DATA node.
#include <gtest/gtest.h>

#include "link/datanode.h"
#include "link/linkbuilder.h"
#include "tax/taxcodes.h"
#include "tax/taxpar.h"

namespace {

Currency Yen(long long yen) { return Currency::FromYen(yen); }
Currency Raw(long long raw) { return Currency::FromRaw(raw); }

void Book(TaxBlock& block, int slot, int category, Currency amount) {
  block[static_cast<std::size_t>(slot)][static_cast<std::size_t>(category)] += amount;
}

class LinkFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    make_.Run.TaxPar = TTAXPAR{};
    make_.Run.TaxPar.Era = 4;
  }
  const std::string& Principle(int slot, int offset) const {
    return make_.LinkValues[static_cast<std::size_t>(kPrincipleSlotSize * slot + offset)];
  }
  const std::string& Simplified(int slot, int offset) const {
    return make_.LinkValues[static_cast<std::size_t>(kSimplifiedBase + kSimplifiedSlotSize * slot + offset)];
  }
  TSyohizeiDataMake make_;
};

TEST_F(LinkFormat, PrincipleItemsRoundEachStepAndKeepTheirSigns) {
  // Sales added one by one, each step rounded half away from zero:
  // 0.5 -> "1", then 1 + 0.5 -> "2" (a sum rounded once would give "1").
  Book(make_.Run.TaxPar.Komi, kSlot10, 1, Raw(5000));
  Book(make_.Run.TaxPar.Komi, kSlot10, 2, Raw(5000));
  Book(make_.Run.TaxPar.Komi, kSlot5, 1, Raw(-5000));
  // Non-taxable sales less non-taxable returns, formatted once: 100 - 300.
  Book(make_.Run.TaxPar.Komi, kSlot10, 9, Yen(100));
  Book(make_.Run.TaxPar.Komi, kSlot10, 24, Yen(300));
  // Import taxes come from the tax block, specific purchases from the net block.
  Book(make_.Run.TaxPar.Zei, kSlot10, 78, Yen(700));
  Book(make_.Run.TaxPar.Komi, kSlot10, 78, Yen(99999));
  Book(make_.Run.TaxPar.Nuki, kSlot8, 88, Yen(500));
  Book(make_.Run.TaxPar.Nuki, kSlotReduced8, 88, Yen(500));
  // Debt relief: 11,000 at 10 % is exactly 780; 1,410 x 7.8/110 = 99.98 -> 99.
  Book(make_.Run.TaxPar.Komi, kSlot10, 37, Yen(10000));
  Book(make_.Run.TaxPar.Komi, kSlot10, 67, Yen(1000));
  Book(make_.Run.TaxPar.Komi, kSlot10, 39, Yen(1410));
  Book(make_.Run.TaxPar.Komi, kSlot10, 38, Yen(-1410));
  // Bad-debt recovery: 11 + 53.
  Book(make_.Run.TaxPar.Komi, kSlotReduced8, 11, Yen(40));
  Book(make_.Run.TaxPar.Komi, kSlotReduced8, 53, Yen(2));
  make_.LinkValues[0] = "stale";
  make_.ResultCode = 3;

  make_.FormatPrincipleResults();
  EXPECT_EQ(make_.ResultCode, 1);
  EXPECT_EQ(Principle(kSlot10, 2), "2");
  EXPECT_EQ(Principle(kSlot5, 2), "-1");
  EXPECT_EQ(Principle(kSlot10, 6), "-200");
  EXPECT_EQ(Principle(kSlot10, 49), "700");
  EXPECT_EQ(Principle(kSlot8, 39), "500");
  EXPECT_EQ(Principle(kSlotReduced8, 39), "");  // no specific purchases at the reduced rate
  EXPECT_EQ(Principle(kSlot10, 96), "780");
  EXPECT_EQ(Principle(kSlot10, 97), "99");
  EXPECT_EQ(Principle(kSlot10, 98), "-99");
  EXPECT_EQ(Principle(kSlotReduced8, 95), "42");
  EXPECT_EQ(Principle(kSlot3, 0), "");
  for (int offset : {0, 1, 58, 88, 99, 100}) EXPECT_EQ(Principle(kSlot10, offset), "") << offset;
}

TEST_F(LinkFormat, SimplifiedDistributionByTaxationAndMainBusiness) {
  Book(make_.Run.TaxPar.Komi, kSlot10, 1, Yen(1000));   // 110: no business type
  Book(make_.Run.TaxPar.Komi, kSlot10, 3, Yen(200));    // 112: second type
  Book(make_.Run.TaxPar.Komi, kSlot10, 51, Yen(50));    // 614: fourth type
  Book(make_.Run.TaxPar.Komi, kSlot10, 84, Yen(7));     // 116: sixth type
  Book(make_.Run.TaxPar.Komi, kSlot10, 16, Yen(10));    // 310: return without a type
  Book(make_.Run.TaxPar.Komi, kSlot10, 58, Yen(30));    // 634: fourth-type return
  Book(make_.Run.TaxPar.Komi, kSlot10, 7, Yen(5));      // exempt sales
  Book(make_.Run.TaxPar.Komi, kSlot10, 26, Yen(3));     // bad debts 410 + 640
  Book(make_.Run.TaxPar.Komi, kSlot10, 60, Yen(4));
  const struct {
    int kanni, jigyou;
    const char* sales[7];    // business types 1-6 and the zero row (offsets 2 .. 20)
    const char* returns[7];
  } cases[] = {
      {1, 2, {"", "1200", "", "50", "", "7", ""}, {"", "10", "", "30", "", "", ""}},
      {1, 0, {"", "200", "", "1050", "", "7", ""}, {"", "", "", "40", "", "", ""}},
      {0, 0, {"", "", "", "1257", "", "", ""}, {"", "", "", "40", "", "", ""}},
      {0, 3, {"", "", "", "", "", "", ""}, {"", "", "", "", "", "", ""}},
      {1, 7, {"", "200", "", "50", "", "7", "1000"}, {"", "", "", "30", "", "", "10"}},
      {1, 9, {"", "200", "", "1050", "", "7", ""}, {"", "", "", "40", "", "", ""}},
  };
  for (const auto& c : cases) {
    make_.TaxKanni = c.kanni;
    make_.TaxJigyou = c.jigyou;
    make_.FormatSimplifiedResults();
    for (int row = 0; row < 7; ++row) {
      EXPECT_EQ(Simplified(kSlot10, row * 3 + 2), c.sales[row]) << c.kanni << "/" << c.jigyou << " row " << row;
      EXPECT_EQ(Simplified(kSlot10, 27 + row * 3 + 2), c.returns[row]) << c.kanni << "/" << c.jigyou << " row " << row;
    }
    EXPECT_EQ(Simplified(kSlot10, 24), "5");
    EXPECT_EQ(Simplified(kSlot10, 56), "7");
    EXPECT_EQ(Simplified(kSlot5, 11), "");
  }
}

TEST(LinkElementNames, ItemsByCodeKindRowAndColumn) {
  const struct {
    const char* code;
    int kind, column, row;
    const char* name;
  } cases[] = {
      {"U10", 0, 2, 0, "KAZEIURIAGEZEIKOMI10"},
      {"UK8", 0, 0, 1, "MENZEIURIAGEZEINUKI8K"},
      {"U5", 0, 1, 1, ""},                       // no tax column for exempt sales
      {"U3", 0, 0, 5, ""},                       // the unnamed row
      {"S8", 0, 0, 3, "TOKUTEISHIIREKAZEIZEINUKI8"},
      {"S10", 0, 0, 15, "TOKUTEISHIIREHENKANKYOTUUZEINUKI10"},
      {"SK8", 0, 0, 3, ""},                      // specific purchases only at 8 % and 10 %
      {"S5", 0, 0, 14, ""},
      {"S3", 0, 1, 9, "YUNYUSHIIRETIHO3"},
      {"S10", 0, 1, 19, "YUNYUHENKANTIHO10"},
      {"KK8", 0, 2, 1, "KASHIDAOREKAISHUZEIKOMI8K"},
      {"C10", 0, 0, 0, "GIMUMENJOKAZEI10"},
      {"C5", 0, 0, 4, "KAZEIGYOMUYOTENYO5"},
      {"C5", 0, 1, 4, ""},
      {"U10", 1, 2, 1, "KAZEIURIAGE2SHUZEIKOMI10"},
      {"U8", 1, 0, 8, "MENZEIURIAGEZEINUKI8"},
      {"H3", 1, 2, 6, "KAZEIHENKANZEROZEIKOMI3"},
      {"H10", 1, 0, 7, ""},
      {"K10", 1, 0, 0, "KASHIDAOREZEINUKI10"},
      {"H10", 0, 0, 0, ""},                      // returns only in the simplified kind
      {"C10", 1, 0, 0, ""},
      {"X10", 0, 0, 0, ""},
      {"U7", 0, 0, 0, ""},
      {"U10", 0, 0, 10, ""},
  };
  for (const auto& c : cases) {
    std::string name = "old";
    ItemElementName(c.code, c.kind, name, c.column, c.row);
    EXPECT_EQ(name, c.name) << c.code << " kind " << c.kind << " row " << c.row << " column " << c.column;
  }
}

TEST(LinkElementNames, Groups) {
  const struct {
    int kind, position;
    const char* name;
  } cases[] = {{0, 1, "D020114"}, {0, 2, "D020113"}, {0, 15, "D020132"}, {0, 16, ""},     {0, 21, "D02204"},
               {0, 25, "D02202"}, {1, 6, "D020224"}, {1, 21, ""},         {1, 26, "KANPUH"}, {1, 27, "KANPUK"},
               {0, 0, ""},        {2, 1, ""},        {0, 28, ""}};
  for (const auto& c : cases) {
    std::string name = "old";
    GroupElementName(c.kind, c.position, name);
    EXPECT_EQ(name, c.name) << c.kind << "/" << c.position;
  }
}

TEST(LinkBuilder, RateGroupsByEra) {
  TSyohizeiDataMake make;
  make.Run.TaxPar = TTAXPAR{};
  const struct {
    int era;
    bool kind1, kind4;
  } cases[] = {{0, false, false}, {1, true, false}, {3, true, false}, {4, true, true}};
  for (const auto& c : cases) {
    make.Run.TaxPar.Era = c.era;
    EXPECT_EQ(make.RateGroupEnabled(1), c.kind1) << c.era;
    EXPECT_EQ(make.RateGroupEnabled(4), c.kind4) << c.era;
    EXPECT_TRUE(make.RateGroupEnabled(0));
  }
  EXPECT_EQ(make.TransitionalValue, 2);
  EXPECT_EQ(make.ResultCode, 3);
}

}  // namespace
