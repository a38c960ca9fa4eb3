#include <gtest/gtest.h>

#include "platform/rtl/sysutils.h"

namespace {

TEST(FormatFloat, CurrencyPatternsTable) {
  struct Case {
    const char* pattern;
    std::int64_t raw;
    const char* text;
  } cases[] = {
      {"#,##0", 12345670000, "1,234,567"},
      {"#,##0", -12345670000, "-1,234,567"},
      {"#,##0", 0, "0"},
      {"#,##0", 5000, "1"},              // 0.5 rounds away from zero
      {"#,##0", -5000, "-1"},
      {"#,##0", -4999, "0"},             // no "-0"
      {"#,##0", 9990000, "999"},
      {"#,##0", 10000000, "1,000"},
      {"#", 0, ""},
      {"#", 4999, ""},
      {"#", 1230000, "123"},
      {"#0", 0, "0"},
      {"0", -25000, "-3"},
      {"0.0", 12500, "1.3"},
      {"0.0", -12500, "-1.3"},
      {"#,##0.00", 12345678, "1,234.57"},
      {"#,##0.00", 9999999, "1,000.00"},
      {"000", 70000, "007"},
      {"0000", 123450000, "12345"},
      {"#.##", 5000, ".5"},
      {"0.##", 10000, "1"},
      {"#,##0;(#,##0)", -12340000, "(1,234)"},
      {"#,##0;(#,##0);'ゼロ'", 0, "ゼロ"},
      {"#,##0;;'ゼロ'", -10000, "-1"},
      {";0;", 0, "0"},
      {"'¥'#,##0円", 12000000, "¥1,200円"},
      {"", -12345, "-1.2345"},
      {"#,##0", 9223372036854775807, "922,337,203,685,478"},
      {"#,##0.0000", -9223372036854775807 - 1, "-922,337,203,685,477.5808"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.pattern, Currency::FromRaw(c.raw)), c.text) << c.pattern << " " << c.raw;
}

TEST(FormatFloat, DoubleAndIntegerOverloads) {
  // Doubles are taken at 15 significant digits, so 1.005 is 1.005 and not 1.00499999999999989...
  struct Case {
    const char* pattern;
    double value;
    const char* text;
  } cases[] = {
      {"#,##0", 1234.5, "1,235"},  {"#,##0", -1234.5, "-1,235"}, {"0.00", 2.675, "2.68"},
      {"0.00", 1.005, "1.01"},     {"#", 0.0, ""},               {"0.0", 0.05, "0.1"},
      {"#,##0.00", 0.1 + 0.2, "0.30"}, {"", 0.1 + 0.2, "0.3"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
  EXPECT_EQ(FormatFloat("#,##0", std::int64_t{-9223372036854775807 - 1}), "-9,223,372,036,854,775,808");
  EXPECT_EQ(FormatFloat("#,##0", 1000), "1,000");
  EXPECT_EQ(FormatFloat("#,##0", std::int64_t{100000000000000000}), "100,000,000,000,000,000");
  EXPECT_EQ(FormatCurr("#,##0", Currency(-1000)), "-1,000");
}

TEST(Format, ConversionsTable) {
  EXPECT_EQ(Format("%d.%d.%d", 11, 0, 3), "11.0.3");
  EXPECT_EQ(Format("%s %.2d/%.2d/%.2d", "R", 1, 5, 1), "R 01/05/01");
  EXPECT_EQ(Format("%4d/%2d/%2d", 2019, 5, 1), "2019/ 5/ 1");
  EXPECT_EQ(Format("%.2d", -5), "-05");
  EXPECT_EQ(Format("%-4d|", 7), "7   |");
  EXPECT_EQ(Format("%05d", -42), "-0042");
  EXPECT_EQ(Format("%3s･%2s･%2s", "", "", ""), "   ･  ･  ");
  EXPECT_EQ(Format("%4s|%-4s|", "あ", "あ"), "  あ|あ  |");  // widths count CP932 bytes
  EXPECT_EQ(Format("%.3s", "abcdef"), "abc");
  EXPECT_EQ(Format("%.3s", "あい"), "あ");                  // never half a character
  EXPECT_EQ(Format("%x %X %.4X", 255, 255, 26), "ff FF 001A");
  EXPECT_EQ(Format("%u", -1), "4294967295");
  EXPECT_EQ(Format("%f", 1.5), "1.50");
  EXPECT_EQ(Format("%.2f", 2.675), "2.68");
  EXPECT_EQ(Format("%.0f", -0.5), "-1");
  EXPECT_EQ(Format("%.4f", Currency::FromRaw(-12345)), "-1.2345");
  EXPECT_EQ(Format("%.1f", Currency::FromRaw(5 * 100000000000000000)), "50000000000000.0");
  EXPECT_EQ(Format("%8.3f|", 3.14159), "   3.142|");
  EXPECT_EQ(Format("%e", 1234.5), "1.23450000000000E+003");
  EXPECT_EQ(Format("%g %g %g", 0.5, 1e20, 100.0), "0.5 1E+20 100");
  EXPECT_EQ(Format("100%%"), "100%");
  EXPECT_EQ(Format("%s%s", std::string("a"), std::string_view("b")), "ab");
}

TEST(Format, ArgumentsAreNeverPatterns) {
  EXPECT_EQ(Format("%s", "%d%s%n%%"), "%d%s%n%%");
  EXPECT_EQ(Format("[%s]", "%"), "[%]");
  EXPECT_EQ(Format("%s:%s", "%s", "x"), "%s:x");
}

TEST(Format, MismatchesThrow) {
  EXPECT_THROW(Format("%d", "12"), EConvertError);
  EXPECT_THROW(Format("%s", 12), EConvertError);
  EXPECT_THROW(Format("%d", 1.5), EConvertError);
  EXPECT_THROW(Format("%d", Currency(1)), EConvertError);
  EXPECT_THROW(Format("%d %d", 1), EConvertError);
  EXPECT_THROW(Format("%q", 1), EConvertError);
  EXPECT_THROW(Format("abc%", 1), EConvertError);
}

}  // namespace
