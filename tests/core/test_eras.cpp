#include <gtest/gtest.h>

#include "core/datetext.h"
#include "platform/rtl/eras.h"
#include "core/globals.h"
#include "platform/rtl/datetime.h"

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

class EraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildGengoTable();
    saved_ = SystemDef.WarekiDisplay;
  }
  void TearDown() override { SystemDef.WarekiDisplay = saved_; }
  int saved_ = 0;
};

TEST_F(EraTest, BuiltInTableNewestFirst) {
  ASSERT_EQ(GengoTable.size(), 5u);
  EXPECT_EQ(GengoTable[0].Name, "令和");
  EXPECT_EQ(GengoTable[0].ShortName, "R");
  EXPECT_EQ(GengoTable[0].StartDate, D(2019, 5, 1));
  EXPECT_EQ(GengoTable[0].StartYear, 2019);
  EXPECT_EQ(GengoTable[1].StartDate, D(1989, 1, 8));
  EXPECT_EQ(GengoTable[4].Name, "明治");
  EXPECT_EQ(GengoTable[4].StartYear, 1868);
}

TEST_F(EraTest, DateToWarekiAtEraBoundaries) {
  struct Case {
    TDateTime date;
    const char* name;
    const char* shortName;
    int year;
  } cases[] = {
      {D(2019, 4, 30), "平成", "H", 31},
      {D(2019, 5, 1), "令和", "R", 1},
      {D(2019, 5, 1) + 0.99, "令和", "R", 1},
      {D(2020, 1, 1), "令和", "R", 2},
      {D(1989, 1, 7), "昭和", "S", 64},
      {D(1989, 1, 8), "平成", "H", 1},
      {D(1926, 12, 25), "昭和", "S", 1},
      {D(1926, 12, 24), "大正", "T", 15},
      {D(1912, 7, 30), "大正", "T", 1},
      {D(1912, 7, 29), "明治", "M", 45},
  };
  for (const auto& c : cases) {
    TWarekiRec w;
    const TDateParts p = DecodeDate(c.date);
    EXPECT_EQ(DateToWareki(w, c.date), p.day);
    EXPECT_EQ(w.EraName, c.name) << FormatDateTime("yyyy/mm/dd", c.date);
    EXPECT_EQ(w.EraShortName, c.shortName);
    EXPECT_EQ(w.Year, c.year) << FormatDateTime("yyyy/mm/dd", c.date);
    EXPECT_EQ(w.Month, p.month);
    EXPECT_EQ(w.Day, p.day);
  }
}

TEST_F(EraTest, ZeroDateAndEmptyTableGiveWesternYear) {
  TWarekiRec w;
  DateToWareki(w, 0);
  EXPECT_EQ(w.Year, 1899);
  EXPECT_EQ(w.EraName, "");
  EXPECT_EQ(w.EraShortName, "");
  DateToWareki(w, D(1868, 9, 8));  // before day 0 of the date values
  EXPECT_EQ(w.Year, 1868);
  EXPECT_EQ(w.EraName, "");
  // A date before the oldest era keeps that era's names with its computed year.
  GengoTable = {{"令和", "R", D(2019, 5, 1), 2019}};
  DateToWareki(w, D(2018, 4, 30));
  EXPECT_EQ(w.EraName, "令和");
  EXPECT_EQ(w.Year, 0);
  GengoTable.clear();
  DateToWareki(w, D(2019, 10, 1));
  EXPECT_EQ(w.Year, 2019);
  EXPECT_EQ(w.EraName, "");
}

TEST_F(EraTest, SlashFormatsWithEraDisplay) {
  SystemDef.WarekiDisplay = 1;
  const TDateTime date = D(2019, 10, 1);
  struct Case {
    const char* layout;
    int eraKind;
    const char* expected;
  } cases[] = {
      {"yyyy/mm/dd", 2, "R 01/10/01"}, {"yyyy/mm/dd", 0, "01/10/01"},  {"yyyy/mm/dd", 1, "令和 01/10/01"},
      {"yy/mm", 2, "R 01/10"},         {"yyyy", 9, "令和 01"},          {"y/m/d", 2, "R  1/10/ 1"},
      {"yyyy/m", 3, "R1/10"},          {"y", 0, "1"},                  {"yy2/mm/dd", 2, "R01/10/01"},
      {"yy/m/d", 3, "R1/10/1"},        {"dd/mm", 2, ""},
  };
  for (const auto& c : cases) {
    std::string text = "x";
    FormatDateSlash(c.layout, c.eraKind, text, date);
    EXPECT_EQ(text, c.expected) << c.layout << " " << c.eraKind;
  }
}

TEST_F(EraTest, SlashFormatsWithoutEraDisplay) {
  SystemDef.WarekiDisplay = 0;
  const TDateTime date = D(2019, 3, 5);
  struct Case {
    const char* layout;
    const char* expected;
  } cases[] = {
      {"yyyy/mm/dd", "2019/03/05"}, {"yyyy/m/d", "2019/ 3/ 5"}, {"yy/m/d", "19/ 3/ 5"},
      {"yyyy/m", "2019/ 3"},        {"y/m/", "19/ 3"},           {"yy2/mm/dd", "19/03/05"},
      {"yy/mm", "19/03"},
  };
  for (const auto& c : cases) {
    std::string text;
    FormatDateSlash(c.layout, 2, text, date);
    EXPECT_EQ(text, c.expected) << c.layout;
  }
}

TEST_F(EraTest, KanjiFormats) {
  const TDateTime date = D(2019, 5, 1);
  struct Case {
    int wareki;
    const char* layout;
    int eraKind;
    const char* expected;
  } cases[] = {
      {1, "yyyy年mm月dd日", 1, "令和 01年05月01日"},
      {1, "yyyy年mm月dd日", 0, "01年05月01日"},
      {1, "yyyy年m月d日", 2, "R  1年 5月 1日"},
      {1, "yy年 m月 d日", 1, "令和  1年 5月 1日"},
      {1, "y", 1, "令和  1年"},
      {1, "yyyy/mm/dd", 1, ""},
      {0, "yyyy年mm月dd日", 1, "2019年05月01日"},
      {0, "yyyy年m月d日", 1, "2019年 5月 1日"},
      {0, "yy年m月", 1, "19年 5月"},
      {0, "yy年 m月 d日", 1, "19年 5月 1日"},
      {0, "yyyy年 m月", 1, "2019年 5月"},
  };
  for (const auto& c : cases) {
    SystemDef.WarekiDisplay = c.wareki;
    std::string text;
    FormatDateKanji(c.layout, c.eraKind, text, date);
    EXPECT_EQ(text, c.expected) << c.layout << " wareki " << c.wareki;
  }
}

TEST_F(EraTest, WarekiFormatsIgnoreDisplaySetting) {
  SystemDef.WarekiDisplay = 0;
  const TDateTime date = D(2019, 10, 1);
  struct Case {
    const char* layout;
    int eraKind;
    TDateTime date;
    const char* expected;
  } cases[] = {
      {"ee.mm.dd", 1, date, "01.10.01"},
      {"", 1, date, "令和 01年"},
      {"gg 2e年", 2, date, "R  1年"},
      {"gg e年", 0, date, "1年"},
      {"gg ee年mm月dd日", 1, date, "令和 01年10月01日"},
      {"e", 1, date, "1"},
      {"ee", 1, 0, ""},
      {"ggee･mm･dd", 2, date, "R01･10･01"},
      {"ggee･mm･dd", 2, 0, "   ･  ･  "},
      {"ggee.mm.dd", 1, D(1989, 1, 7), "昭和64.01.07"},
      {"ee.mm.dd", 1, 0, "  ･  ･  "},
      {"gg", 2, date, "R"},
      {"ee mm", 1, date, "01 10"},
      {"unknown", 1, date, ""},
  };
  for (const auto& c : cases) {
    std::string text = "x";
    FormatDateWareki(c.layout, c.eraKind, text, c.date);
    EXPECT_EQ(text, c.expected) << "'" << c.layout << "'";
  }
}

TEST_F(EraTest, RangeAndPlainDateText) {
  std::string text;
  SystemDef.WarekiDisplay = 1;
  FormatDateRange(text, D(2019, 4, 30), D(2019, 5, 1));
  EXPECT_EQ(text, "H 31/04/30 ～ R 01/05/01");
  EXPECT_EQ(text.find("\xEF\xBD\x9E"), 11u);  // U+FF5E
  SystemDef.WarekiDisplay = 0;
  FormatDateRange(text, D(2019, 4, 1), D(2020, 3, 31));
  EXPECT_EQ(text, "2019/04/01 ～ 2020/03/31");

  DateToText(4, text, 0);
  EXPECT_EQ(text, "");
  DateToText(2, text, D(2019, 10, 1));
  EXPECT_EQ(text, "19/10/01");
  DateToText(4, text, D(2019, 10, 1));
  EXPECT_EQ(text, "2019/10/01");
  DateToText(0, text, D(2019, 10, 1) + EncodeTime(13, 5, 0, 0));
  EXPECT_EQ(text, "2019/10/01 13:05");
}

TEST(DateParsing, DefaultsToZero) {
  EXPECT_EQ(StrToDateDef0("2019/10/01"), D(2019, 10, 1));
  EXPECT_EQ(StrToDateDef0("2019/2/30"), 0);
  EXPECT_EQ(StrToDateDef0("abc"), 0);
  EXPECT_EQ(StrToDateDef0(""), 0);
  EXPECT_EQ(StrToDateFixed("2019/10/01 12:30"), D(2019, 10, 1) + EncodeTime(12, 30, 0, 0));
  EXPECT_EQ(StrToDateFixed("2019/10/01 12:30:15"), D(2019, 10, 1) + EncodeTime(12, 30, 15, 0));
  EXPECT_EQ(StrToDateFixed("2019/10/01"), D(2019, 10, 1));
  EXPECT_EQ(StrToDateFixed("2019/10/01 25:00"), 0);
  EXPECT_EQ(StrToDateFixed("x 12:00"), 0);
}

}  // namespace
