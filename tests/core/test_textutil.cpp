#include <gtest/gtest.h>

#include <array>

#include "core/rounding.h"
#include "core/sjis.h"
#include "core/textutil.h"
#include "core/versions.h"
#include "platform/rtl/cp932.h"

namespace {

Currency Yen(const char* text) { return Fraction::FromDecimal(text).ToCurrency(); }

TEST(RoundCurrency, ModesOnPositiveAndNegativeAmounts) {
  struct Case {
    const char* amount;
    std::int64_t mode0, mode1, mode2;
  } cases[] = {
      {"1.5", 1, 2, 2},     {"-1.5", -1, -2, -2}, {"2.5", 2, 3, 3},       {"-2.5", -2, -3, -3},
      {"-2.4", -2, -2, -3}, {"1.9", 1, 2, 2},     {"1.1", 1, 1, 2},       {"3", 3, 3, 3},
      {"-3", -3, -3, -3},   {"0", 0, 0, 0},       {"0.0001", 0, 0, 1},    {"-0.0001", 0, 0, -1},
      {"-0.5", 0, -1, -1},  {"0.4999", 0, 0, 1},  {"123456789012.5", 123456789012, 123456789013, 123456789013},
  };
  for (const auto& c : cases) {
    const Currency a = Yen(c.amount);
    EXPECT_EQ(RoundCurrency(0, a), Currency::FromYen(c.mode0)) << c.amount;
    EXPECT_EQ(RoundCurrency(1, a), Currency::FromYen(c.mode1)) << c.amount;
    EXPECT_EQ(RoundCurrency(2, a), Currency::FromYen(c.mode2)) << c.amount;
    EXPECT_EQ(RoundCurrency(7, a), Currency::FromYen(c.mode1)) << c.amount;  // other modes round half
  }
}

TEST(RoundDownDigits, TableWithTolerance) {
  struct Case {
    int digits;
    const char* value;
    const char* expected;
  } cases[] = {
      {-2, "123456", "123000"}, {1, "2.9999999", "3"},  {1, "2.999998", "2"},  {1, "-0.5", "-1"},
      {1, "-1234.5", "-1235"},  {0, "129", "120"},      {-1, "1299", "1200"},  {2, "1.25", "1.2"},
      {1, "0", "0"},            {-2, "-1", "-1000"},    {1, "7", "7"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RoundDownDigits(static_cast<std::int16_t>(c.digits), Fraction::FromDecimal(c.value)),
              Fraction::FromDecimal(c.expected))
        << c.digits << " " << c.value;
  EXPECT_NEAR(PowerExtended(10, 3), 1000.0, 1e-9);
  EXPECT_EQ(PowerExtended(0, 2), 0);
}

TEST(ShiftJisFields, FixLenMeasuresCp932Bytes) {
  struct Case {
    const char* text;
    int count;
    const char* expected;
  } cases[] = {
      {"abc", 5, "abc  "},
      {"abcdef", 3, "abc"},
      {"あいう", 4, "あい"},
      {"あいう", 3, "あ "},       // the cut falls inside い
      {"aあ", 2, "a "},
      {"ｱｲｳ", 2, "ｱｲ"},           // half-width katakana are one byte each
      {"～①㈱", 6, "～①㈱"},
      {"", 3, "   "},
      {"abc", 0, ""},
  };
  for (const auto& c : cases) {
    const std::string out = FixLen(c.text, c.count);
    EXPECT_EQ(out, c.expected) << c.text << " " << c.count;
    if (c.count > 0) {
      EXPECT_EQ(Cp932Length(out), static_cast<std::size_t>(c.count));
    }
  }
  const std::string ten = "0123456789";
  EXPECT_EQ(FixLen(ten, 600), ten);   // above 510 there is no padding
  EXPECT_EQ(FixLen(ten, 510).size(), 510u);
  EXPECT_EQ(Spaces(510).size(), 510u);
  EXPECT_EQ(Spaces(511), "");
  EXPECT_EQ(Spaces(-1), "");
}

TEST(ShiftJisFields, RightAlignedAndZeroPadded) {
  EXPECT_EQ(FixLenRight("abc", 5), "  abc");
  EXPECT_EQ(FixLenRight("abcdef", 3), "def");
  EXPECT_EQ(FixLenRight("あいう", 3), " う");
  EXPECT_EQ(ZeroPadLeft("123", 6), "000123");
  EXPECT_EQ(ZeroPadLeft("1234567", 4), "4567");
}

TEST(ShiftJisFields, TrimAndSpaces) {
  EXPECT_EQ(TrimZen("\xE3\x80\x80 ab\xE3\x80\x80"), "ab");
  EXPECT_EQ(TrimZen("\t\xE3\x80\x80 \xE3\x80\x80x y\xE3\x80\x80 \r\n"), "x y");
  EXPECT_EQ(TrimZen("a\xE3\x80\x80" "b"), "a\xE3\x80\x80" "b");
  EXPECT_EQ(TrimZen("\xE3\x80\x80"), "");
  EXPECT_EQ(RemoveAllSpaces(" a\xE3\x80\x80 b c "), "abc");
  EXPECT_EQ(RemoveTabsAndBreaks("a\tb\r\nc"), "abc");
  EXPECT_EQ(BlankBrokenDbcs("a\xE3\x81"), "a  ");
  EXPECT_EQ(BlankBrokenDbcs("あ"), "あ");
}

TEST(ShiftJisFields, CaseAndWidthMapping) {
  EXPECT_EQ(ZenUpperCase("ａｂｚ abc あＡ"), "ＡＢＺ abc あＡ");
  EXPECT_EQ(LCMapText(LCMAP_FULLWIDTH, "Ab 1-"), "Ａｂ\xE3\x80\x80１－");
  EXPECT_EQ(LCMapText(LCMAP_FULLWIDTH, "ｶﾞｷﾞﾊﾟｳﾞｱ"), "ガギパヴア");
  EXPECT_EQ(ZenUpperCase(LCMapText(LCMAP_FULLWIDTH, "abc")), "ＡＢＣ");
  EXPECT_EQ(LCMapText(LCMAP_HALFWIDTH, "Ａｂ１"), "Ab1");
  EXPECT_EQ(LCMapText(LCMAP_FULLWIDTH, std::string(300, 'a')).size(), 127u * 3);  // at most 255 bytes
}

TEST(Splitting, SplitToArray) {
  struct Case {
    const char* text;
    char sep;
    int expected;
    std::array<const char*, 4> parts;
  } cases[] = {
      {"a|b|", '|', 2, {"a", "b", "", "-"}},
      {"x|y // note", '|', 1, {"x", "y ", "-", "-"}},
      {"abc", ',', 0, {"abc", "-", "-", "-"}},
      {",x", ',', 1, {"", "x", "-", "-"}},
      {"1,2,3,4,5,6", ',', 3, {"1", "2", "3", "4,5,6"}},  // the rest stays in the last part
  };
  for (const auto& c : cases) {
    std::array<std::string, 4> parts = {"-", "-", "-", "-"};
    EXPECT_EQ(SplitToArray(c.text, c.sep, parts), c.expected) << c.text;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(parts[i], c.parts[i]) << c.text << " part " << i;
  }
  std::array<std::string, 2> untouched = {"keep", "keep"};
  EXPECT_EQ(SplitToArray("// only a comment", '|', untouched), 0);
  EXPECT_EQ(untouched[0], "keep");
}

TEST(Splitting, DelimitedItemsAndNamedLines) {
  std::string item;
  const struct {
    const char* text;
    int index;
    const char* expected;
  } cases[] = {{"a,b,c", 1, "a"}, {"a,b,c", 3, "c"}, {"a,b,c", 4, ""}, {"a,b,c", 0, ""}, {"a,,c", 2, ""},
               {"a\r\nb,c", 2, "b"}};
  for (const auto& c : cases) {
    GetDelimitedItem(c.text, ",", c.index, item);
    EXPECT_EQ(item, c.expected) << c.text << " " << c.index;
  }
  std::string line = "x";
  GetNamedLine("SyoriType=2\r\nFormStyle=0\r\n", "formstyle", line);
  EXPECT_EQ(line, "FormStyle=0");
  GetNamedLine("SyoriType=2", "Form", line);
  EXPECT_EQ(line, "");
  GetNamedLine("", "Form", line);
  EXPECT_EQ(line, "");
}

TEST(Amounts, TextToValue) {
  EXPECT_EQ(AmountTextToValue("▲1,234"), Currency(-1234));
  EXPECT_EQ(AmountTextToValue("\\5,000"), Currency(5000));
  EXPECT_EQ(AmountTextToValue("¥5,000"), Currency(5000));
  EXPECT_EQ(AmountTextToValue("12.5"), Currency::FromRaw(125000));
  EXPECT_EQ(AmountTextToValue("abc"), Currency(0));
  EXPECT_EQ(StrToCurrDef0(""), Currency(0));
  std::string text;
  FormatThousands(-1234567, text);
  EXPECT_EQ(text, "-1,234,567");
  FormatThousands(0, text);
  EXPECT_EQ(text, "0");
}

TEST(BitFlags, SetTestAndCombine) {
  std::int32_t flags = 0;
  SetBitFlag(flags, 1);
  SetBitFlag(flags, 10);
  SetBitFlag(flags, 25);  // outside 1..24: ignored
  SetBitFlag(flags, 0);
  EXPECT_EQ(flags, 0x201);
  EXPECT_EQ(TestBitFlag(flags, 10), 1);
  EXPECT_EQ(TestBitFlag(flags, 2), 0);
  EXPECT_EQ(TestBitFlag(flags, 33), 1);  // (33 - 1) mod 32 = bit 0
  std::uint16_t code = 0;
  CombineCode(code, 12, 34, 100);
  EXPECT_EQ(code, 1234);
  CombineCode(code, 1000, 0, 100);
  EXPECT_EQ(code, static_cast<std::uint16_t>(100000 & 0xFFFF));
}

TEST(Versions, ParseAndCompare) {
  TVersionRec v;
  ParseVersion("11.2.3.4", v);
  EXPECT_EQ(v.Major, 11);
  EXPECT_EQ(v.Minor, 2);
  EXPECT_EQ(v.Release, 3);
  EXPECT_EQ(v.Build, 4);
  EXPECT_EQ(v.Text, "11.2.3.4");
  ParseVersion("x.5", v);
  EXPECT_EQ(v.Major, 0);
  EXPECT_EQ(v.Minor, 5);
  ParseVersion("", v);
  EXPECT_EQ(v.Text, "");
  EXPECT_EQ(v.Major, 0);

  const struct {
    const char* a;
    const char* b;
    bool greater, greaterOrEqual;
  } cases[] = {
      {"11.1.0", "11.0.9", true, true},  {"1.256.0", "2.0.0", false, true}, {"2.0.0", "1.256.0", false, true},
      {"11.1", "11.1.0", false, true},   {"11.0.0", "11.0.0.9", false, true}, {"10.9.9", "11.0.0", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VersionGreater(c.a, c.b), c.greater) << c.a << " > " << c.b;
    EXPECT_EQ(VersionGreaterOrEqual(c.a, c.b), c.greaterOrEqual) << c.a << " >= " << c.b;
  }
  TVersionRec a, b;
  ParseVersion("3.0.1", a);
  ParseVersion("3.0.0", b);
  EXPECT_TRUE(VersionRecGreater(a, b));
  EXPECT_TRUE(VersionRecLess(b, a));
}

}  // namespace
