#include <gtest/gtest.h>

#include "platform/rtl/sysutils.h"

namespace {

TEST(SysUtils, StrToIntTable) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  } cases[] = {
      {"0", true, 0},          {"123", true, 123},      {"-123", true, -123},   {"+7", true, 7},
      {"  42  ", true, 42},    {"$FF", true, 255},      {"0x1f", true, 31},     {"$FFFFFFFF", true, -1},
      {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0}, {"$100000000", false, 0}, {"", false, 0},       {"  ", false, 0},
      {"12a", false, 0},       {"1 2", false, 0},       {"1.0", false, 0},      {"-", false, 0},
      {"$", false, 0},         {"１２", false, 0},
  };
  for (const Case& c : cases) {
    int out = -99;
    EXPECT_EQ(TryStrToInt(c.text, out), c.ok) << c.text;
    EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? c.value : -99) << c.text;
    if (c.ok) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    else EXPECT_THROW(StrToInt(c.text), EConvertError) << c.text;
  }
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(StrToInt64Def("9223372036854775808", 5), 5);
  EXPECT_EQ(IntToStr(-12), "-12");
}

TEST(SysUtils, StrToCurrTable) {
  struct Case {
    const char* text;
    bool ok;
    std::int64_t raw;
  } cases[] = {
      {"1234", true, 12340000},        {"-1,234.5", true, -12345000},   {"12.3456", true, 123456},
      {" 0.0001 ", true, 1},           {"1,234,567", true, 12345670000}, {".5", true, 5000},
      {"5.", true, 50000},             {"1.23450", true, 12345},        {"922337203685477.5807", true, 9223372036854775807},
      {"1.23456", false, 0},           {"922337203685477.5808", false, 0}, {"", false, 0},
      {"abc", false, 0},               {"1,,234", false, 0},             {",1", false, 0},
      {"1.2.3", false, 0},             {"1e3", false, 0},               {"-", false, 0},
  };
  for (const Case& c : cases) {
    Currency out;
    EXPECT_EQ(TryStrToCurr(c.text, out), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(out.Raw(), c.raw) << c.text;
      EXPECT_EQ(StrToCurr(c.text).Raw(), c.raw) << c.text;
    } else {
      EXPECT_THROW(StrToCurr(c.text), EConvertError) << c.text;
      EXPECT_EQ(StrToCurrDef(c.text, Currency(7)), Currency(7)) << c.text;
    }
  }
}

TEST(SysUtils, StrToFloat) {
  EXPECT_EQ(StrToFloat(" 1.5 "), 1.5);
  EXPECT_EQ(StrToFloat("-2e3"), -2000.0);
  EXPECT_EQ(StrToFloatDef("x", 9.0), 9.0);
  EXPECT_THROW(StrToFloat("1,5"), EConvertError);
}

TEST(SysUtils, StringHelpers) {
  EXPECT_EQ(Trim(" \t\r\nabc \x01"), "abc");
  EXPECT_EQ(Trim("　全角　"), "　全角　");  // only ASCII blanks and control bytes
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(UpperCase("abcÄé"), "ABCÄé");
  EXPECT_EQ(LowerCase("ABC"), "abc");
  EXPECT_TRUE(SameText("Section", "SECTION"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_EQ(Pos("lo", "hello"), 4u);
  EXPECT_EQ(Pos("x", "hello"), 0u);
  EXPECT_EQ(Pos("", "hello"), 0u);
  EXPECT_EQ(Copy("hello", 2, 3), "ell");
  EXPECT_EQ(Copy("hello", 0, 2), "he");
  EXPECT_EQ(Copy("hello", 4, 100), "lo");
  EXPECT_EQ(Copy("hello", 6, 1), "");
  EXPECT_EQ(StringReplaceAll("a-b-c", "-", "--"), "a--b--c");
  EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(SplitString("a,,b,", ','), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(SplitString("", ','), std::vector<std::string>{});
  EXPECT_EQ(SplitString("abc", ','), std::vector<std::string>{"abc"});
}

}  // namespace
