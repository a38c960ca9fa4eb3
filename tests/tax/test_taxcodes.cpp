// Tax-code catalogue, categories, sign rules, and the account checks.
#include <gtest/gtest.h>

#include <set>

#include "platform/rtl/cp932.h"
#include "tax/aggregate.h"
#include "tax/taxcodes.h"
#include "taxtestutil.h"

namespace {

struct CategoryCase {
  int from, to, firstCategory;
};

// Codes and categories as the accumulators number them.
const CategoryCase kCategoryTable[] = {
    {110, 110, 1},  {111, 115, 2},  {116, 116, 84}, {120, 120, 7},  {130, 130, 8},  {140, 140, 9},
    {150, 150, 10}, {210, 210, 11}, {220, 220, 12}, {230, 230, 13}, {240, 240, 14}, {250, 250, 15},
    {310, 310, 16}, {311, 315, 17}, {316, 316, 85}, {320, 320, 22}, {330, 330, 23}, {340, 340, 24},
    {350, 350, 25}, {410, 410, 26}, {420, 420, 27}, {430, 430, 28}, {440, 440, 29}, {450, 450, 30},
    {511, 513, 31}, {521, 523, 34}, {531, 533, 37}, {540, 540, 40}, {551, 553, 88}, {561, 563, 41},
    {571, 573, 44}, {581, 583, 91}, {610, 610, 47}, {611, 615, 48}, {616, 616, 86}, {620, 620, 53},
    {630, 630, 54}, {631, 635, 55}, {636, 636, 87}, {640, 640, 60}, {711, 713, 61}, {721, 723, 64},
    {724, 726, 78}, {731, 733, 67}, {761, 763, 70}, {771, 773, 73}, {774, 776, 81}, {810, 810, 76},
    {910, 910, 77},
};

TEST(TaxCodes, EveryCodeHasItsCategoryAndUnknownCodesHaveNone) {
  std::set<int> known, categories;
  for (const auto& c : kCategoryTable) {
    for (int code = c.from; code <= c.to; ++code) {
      SCOPED_TRACE(code);
      EXPECT_EQ(TaxCodeToCategory(code), c.firstCategory + (code - c.from));
      known.insert(code);
      categories.insert(TaxCodeToCategory(code));
    }
  }
  EXPECT_EQ(known.size(), 93u);
  EXPECT_EQ(categories.size(), 93u);  // one category per code, 1..93
  EXPECT_EQ(*categories.begin(), 1);
  EXPECT_EQ(*categories.rbegin(), 93);
  for (int code = 0; code < 1000; ++code) {
    if (!known.count(code)) {
      EXPECT_EQ(TaxCodeToCategory(code), 0) << code;
    }
  }
}

TEST(TaxCodes, SignRulesOfTheAggregation) {
  struct Case {
    int taishaku, taxDC, sign;
  } cases[] = {
      {1, 1, 1}, {2, 3, 1}, {1, 3, -1}, {2, 1, -1}, {1, 2, 0}, {2, 2, 0}, {1, 0, 0}, {3, 1, 0}, {0, 3, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(AggregationSign(c.taishaku, c.taxDC), c.sign) << c.taishaku << "/" << c.taxDC;
}

TEST(TaxCodes, AttributesOfCodes) {
  struct Case {
    int code;
    const char* group;
    const char* detail;
    int method, uh, dc;
  } cases[] = {
      {110, "売上", "課税売上", 1, 1, 3},
      {113, "売上", "第３種課税売上", 2, 1, 3},
      {140, "売上", "非課税売上（有価証券）", 0, 0, 3},
      {210, "貸倒回収", "課税売上", 0, 1, 3},
      {316, "返還", "第６種課税返還", 2, 1, 1},
      {410, "貸倒", "課税売上", 0, 1, 1},
      {533, "仕入", "非課税売上対調整（棚卸）", 0, 2, 1},
      {552, "仕入", "共通売上対応特定課税仕入", 0, 2, 1},
      {583, "仕入", "非課売上対応特定仕入返還", 0, 2, 3},
      {610, "仮受", "売上", 1, 0, 3},
      {636, "仮受", "第６種課税返還", 2, 0, 1},
      {725, "仮払", "共通売上対応課税輸入(国)", 0, 0, 1},
      {776, "仮払", "非課売対課税輸入返還(国)", 0, 0, 3},
      {810, "課税対象外", "課税対象外・不課税", 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    std::string group, detail;
    int method = -1, uh = -1, dc = -1;
    ASSERT_TRUE(GetTaxCodeInfo(c.code, group, detail, method, uh, dc));
    EXPECT_EQ(group, c.group);
    EXPECT_EQ(Cp932Length(detail), 24u);
    EXPECT_EQ(detail.substr(0, std::string(c.detail).size()), c.detail);
    EXPECT_EQ(method, c.method);
    EXPECT_EQ(uh, c.uh);
    EXPECT_EQ(dc, c.dc);
  }
}

TEST(TaxCodes, NotClassifiedCodePadsWithFullWidthSpacesAndUnknownCodeFails) {
  std::string group, detail;
  int method, uh, dc;
  ASSERT_TRUE(GetTaxCodeInfo(910, group, detail, method, uh, dc));
  EXPECT_EQ(Utf8ToCp932(detail), Utf8ToCp932("区分未定　　　　　　    "));
  EXPECT_EQ(Utf8ToCp932(detail).size(), 24u);

  EXPECT_FALSE(GetTaxCodeInfo(117, group, detail, method, uh, dc));
  EXPECT_EQ(group, "Error               ");
  EXPECT_EQ(detail, " ");
  EXPECT_EQ(method, 9);
  EXPECT_EQ(uh, 0);
  EXPECT_EQ(dc, 0);
}

TEST(TaxCodes, NormalizeKaniTaxCode) {
  taxtest::SetCompany(kCompanyCorporation, 5);
  TTaxCompanyInfo info = TaxCompany;
  info.TaxKanni = 1;
  SetTaxCompanyInfo(info);
  int code = 630;
  EXPECT_EQ(NormalizeKaniTaxCode(code), 635);
  EXPECT_EQ(code, 635);
  code = 611;
  EXPECT_EQ(NormalizeKaniTaxCode(code), 611);

  info.TaxKanni = 0;
  SetTaxCompanyInfo(info);
  code = 636;
  EXPECT_EQ(NormalizeKaniTaxCode(code), 630);
  code = 117;
  EXPECT_EQ(NormalizeKaniTaxCode(code), 117);
}

TEST(TaxCodes, AccountChecks) {
  taxtest::SetCompany();  // 仮受 "610", 仮払 "720", 諸口 "999"; principle taxation
  std::string msg = "old";
  EXPECT_TRUE(CheckTaxCodeForAccount(msg, "720", 711));
  EXPECT_EQ(msg, "");
  EXPECT_FALSE(CheckTaxCodeForAccount(msg, "720", 511));
  EXPECT_EQ(msg, "仮払消費税の税コードは[700番台,810,910]を使用してください。");
  EXPECT_FALSE(CheckTaxCodeForAccount(msg, "500", 711));
  EXPECT_EQ(msg, "税コードが[700番台]は、科目に仮払消費税を使用してください。");
  EXPECT_TRUE(CheckTaxCodeForAccount(msg, "610", 613));
  EXPECT_EQ(msg, "注意：原則課税が選択されています。");
  EXPECT_FALSE(CheckTaxCodeForAccount(msg, "610", 110));
  EXPECT_EQ(msg, "仮受消費税の税コードは[600番台,810,910]を使用してください。");
  EXPECT_FALSE(CheckTaxCodeForAccount(msg, "400", 610));
  EXPECT_EQ(msg, "税コードが[600番台]は、科目に仮受消費税を使用してください。");
  msg = "kept";
  EXPECT_TRUE(CheckTaxCodeForAccount(msg, "400", 110));
  EXPECT_EQ(msg, "kept");

  int counter = 110;
  EXPECT_FALSE(CheckCounterTaxCode(msg, "610", counter));
  EXPECT_EQ(counter, 810);
  EXPECT_EQ(msg, "仮受消費税、仮払消費税の相手税コードは[810,910]を使用してください。");
  int shokuchi = 511;
  EXPECT_FALSE(CheckShokuchiTaxCode(msg, "999", shokuchi));
  EXPECT_EQ(shokuchi, 810);
  EXPECT_EQ(msg, "諸口の消費税コードは、[810,910]を使用してください。");

  int code = 552;
  EXPECT_FALSE(CheckTokuteiShiireCode(msg, code, 2, EncodeDate(2015, 9, 30)));
  EXPECT_EQ(msg, "特定課税仕入れ用の消費税コード[551,552,553,581,582,583]では税率[5%]は使用できません。");
  EXPECT_FALSE(CheckTokuteiShiireCode(msg, code, 0, EncodeDate(2015, 9, 30)));
  EXPECT_EQ(msg, "特定課税仕入れ用の消費税コード[551,552,553,581,582,583]では[2015/10/01]より前の取引を登録できません。");
  msg = "kept";
  EXPECT_TRUE(CheckTokuteiShiireCode(msg, code, 3, EncodeDate(2015, 10, 1)));
  EXPECT_EQ(msg, "kept");
}

}  // namespace
