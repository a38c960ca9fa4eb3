#include <gtest/gtest.h>

#include <limits>

#include "platform/rtl/currency.h"
#include "platform/rtl/fraction.h"
#include "platform/rtl/sysutils.h"

namespace {

TEST(Currency, FromDoubleRoundsToNearestTenThousandthHalfAwayFromZero) {
  struct Case {
    double in;
    std::int64_t raw;
  } cases[] = {
      {0.0, 0},          {1.0, 10000},        {-1.0, -10000},     {0.00005, 1},       {-0.00005, -1},
      {0.00004, 0},      {-0.00004, 0},       {1.00005, 10001},   {-1.00005, -10001}, {2.71828, 27183},
      {0.1 + 0.2, 3000}, {1234.5678, 12345678}, {12345678901.2345, 123456789012345},
      {-12345678901.2345, -123456789012345},
  };
  for (const Case& c : cases) EXPECT_EQ(Currency::FromDouble(c.in).Raw(), c.raw) << c.in;
  EXPECT_THROW(Currency::FromDouble(1e300), EConvertError);
  EXPECT_THROW(Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()), EConvertError);
}

TEST(Currency, RoundYenAndTruncYen) {
  struct Case {
    std::int64_t raw, rounded, truncated;
  } cases[] = {
      {5000, 1, 0},      {4999, 0, 0},      {-5000, -1, 0},    {-4999, 0, 0},
      {15000, 2, 1},     {-15000, -2, -1},  {25000, 3, 2},     {-25001, -3, -2},
      {std::numeric_limits<std::int64_t>::max(), 922337203685478, 922337203685477},
      {std::numeric_limits<std::int64_t>::min(), -922337203685478, -922337203685477},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Currency::FromRaw(c.raw).RoundYen(), c.rounded) << c.raw;
    EXPECT_EQ(Currency::FromRaw(c.raw).TruncYen(), c.truncated) << c.raw;
  }
}

TEST(Currency, CurrToStrIsPlainDecimal) {
  struct Case {
    std::int64_t raw;
    const char* text;
  } cases[] = {
      {0, "0"},          {10000, "1"},          {-5000, "-0.5"},   {123456, "12.3456"}, {12340000, "1234"},
      {-1, "-0.0001"},   {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
  };
  for (const Case& c : cases) EXPECT_EQ(CurrToStr(Currency::FromRaw(c.raw)), c.text);
}

TEST(Currency, LargeAmountsStayExact) {
  // 10^14 yen added in small steps keeps every 1/10,000.
  Currency sum = Currency::FromYen(100000000000000);
  for (int i = 0; i < 10000; ++i) sum += Currency::FromRaw(1);
  EXPECT_EQ(sum.Raw(), 1000000000000000000 + 10000);
  EXPECT_EQ(CurrToStr(sum), "100000000000001");
  EXPECT_EQ(CurrToStr(Currency::FromYen(100000000000000) + Currency::FromRaw(3)), "100000000000000.0003");
}

TEST(Fraction, KeepsReducedFormWithSignOnNumerator) {
  Fraction f(Fraction::Int(6), Fraction::Int(-4));
  EXPECT_EQ(static_cast<long long>(f.Numerator()), -3);
  EXPECT_EQ(static_cast<long long>(f.Denominator()), 2);
  Fraction z(Fraction::Int(0), Fraction::Int(-7));
  EXPECT_EQ(static_cast<long long>(z.Denominator()), 1);
  EXPECT_TRUE(z.IsZero());
  EXPECT_EQ(Fraction::FromDecimal("7.8"), Fraction(Fraction::Int(39), Fraction::Int(5)));
  EXPECT_EQ(Fraction::FromDecimal("-0.5"), Fraction(Fraction::Int(-1), Fraction::Int(2)));
  EXPECT_EQ(Fraction(Currency::FromRaw(25000)), Fraction(Fraction::Int(5), Fraction::Int(2)));
  EXPECT_THROW(Fraction::FromDecimal("7.8x"), EConvertError);
  EXPECT_THROW(Fraction::FromDecimal(""), EConvertError);
  EXPECT_THROW(Fraction(Fraction::Int(1), Fraction::Int(0)), std::domain_error);
  EXPECT_THROW(Fraction(1) / Fraction(0), std::domain_error);
}

TEST(Fraction, TaxFactorsAreExact) {
  const Fraction rate = Fraction::FromDecimal("7.8") / Fraction(110);
  EXPECT_EQ(Fraction(11000) * rate, Fraction(780));
  EXPECT_EQ((Fraction(11000) * rate).ToYen(RoundingMode::TowardZero), Currency(780));
  // 10^14 yen times 7.8/110 and 22/78, exact to the last 1/10,000.
  const Fraction big(Currency::FromYen(100000000000000));
  EXPECT_EQ((big * rate).ToCurrency(RoundingMode::TowardZero).Raw(), 70909090909090909);  // 7090909090909.0909..
  EXPECT_EQ((big * rate).ToYen(RoundingMode::HalfAwayFromZero), Currency::FromYen(7090909090909));
  const Fraction back = Fraction(22) / Fraction(78);
  EXPECT_EQ((big * back).ToYen(RoundingMode::Floor), Currency::FromYen(28205128205128));
  EXPECT_EQ((big * back).ToYen(RoundingMode::Ceiling), Currency::FromYen(28205128205129));
  // A long running sum of such products keeps exact.
  Fraction sum;
  for (int i = 0; i < 1000; ++i) sum += Fraction(Currency::FromRaw(999999999999999 + i)) * rate;
  Fraction expected = Fraction(Currency::FromRaw(999999999999999 * 1000 + 999 * 1000 / 2)) * rate;
  EXPECT_EQ(sum, expected);
}

TEST(Fraction, RoundingModesTable) {
  struct Case {
    const char* value;
    long long towardZero, halfAway, floor, ceiling;
  } cases[] = {
      {"2.5", 2, 3, 2, 3},     {"-2.5", -2, -3, -3, -2}, {"2.4999", 2, 2, 2, 3}, {"-2.4999", -2, -2, -3, -2},
      {"2.5001", 2, 3, 2, 3},  {"7", 7, 7, 7, 7},        {"-7", -7, -7, -7, -7}, {"0.5", 0, 1, 0, 1},
      {"-0.5", 0, -1, -1, 0},  {"0", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Fraction f = Fraction::FromDecimal(c.value);
    EXPECT_EQ(static_cast<long long>(f.ToInteger(RoundingMode::TowardZero)), c.towardZero) << c.value;
    EXPECT_EQ(static_cast<long long>(f.ToInteger(RoundingMode::HalfAwayFromZero)), c.halfAway) << c.value;
    EXPECT_EQ(static_cast<long long>(f.ToInteger(RoundingMode::Floor)), c.floor) << c.value;
    EXPECT_EQ(static_cast<long long>(f.ToInteger(RoundingMode::Ceiling)), c.ceiling) << c.value;
  }
}

TEST(Fraction, ToYenStepsAndToCurrency) {
  struct Case {
    const char* value;
    RoundingMode mode;
    std::int64_t step;
    std::int64_t yen;
  } cases[] = {
      {"12345", RoundingMode::TowardZero, 100, 12300},    {"12350", RoundingMode::HalfAwayFromZero, 100, 12400},
      {"-12350", RoundingMode::HalfAwayFromZero, 100, -12400}, {"-12345", RoundingMode::TowardZero, 1000, -12000},
      {"-12345", RoundingMode::Floor, 1000, -13000},      {"12001", RoundingMode::Ceiling, 1000, 13000},
      {"999.5", RoundingMode::HalfAwayFromZero, 1, 1000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Fraction::FromDecimal(c.value).ToYen(c.mode, c.step), Currency::FromYen(c.yen)) << c.value;
  EXPECT_EQ((Fraction(1) / Fraction(3)).ToCurrency().Raw(), 3333);
  EXPECT_EQ((Fraction(2) / Fraction(3)).ToCurrency().Raw(), 6667);
  EXPECT_EQ((Fraction(-2) / Fraction(3)).ToCurrency().Raw(), -6667);
  EXPECT_EQ((Fraction(-2) / Fraction(3)).ToCurrency(RoundingMode::TowardZero).Raw(), -6666);
  EXPECT_THROW((Fraction(Currency::FromYen(900000000000000)) * Fraction(100)).ToCurrency(), std::overflow_error);
}

TEST(Fraction, ComparisonWithoutOverflow) {
  const Fraction::Int huge = Fraction::Int(1) << 120;
  Fraction a(huge + 1, huge);  // just above 1
  Fraction b(huge, huge - 1);  // a little more above 1
  EXPECT_LT(a, b);
  EXPECT_GT(b, a);
  EXPECT_LT(-b, -a);
  EXPECT_LT(Fraction(1) / Fraction(3), Fraction::FromDecimal("0.3334"));
  EXPECT_EQ(Fraction(1) / Fraction(3) <=> Fraction(2) / Fraction(6), std::strong_ordering::equal);
}

TEST(Rounding, FloatingHelpersHalfAwayFromZero) {
  struct Case {
    double in;
    std::int64_t round, trunc;
    double intPart, frac;
  } cases[] = {
      {2.5, 3, 2, 2.0, 0.5},      {-2.5, -3, -2, -2.0, -0.5}, {0.49999999999999994, 0, 0, 0.0, 0.49999999999999994},
      {-0.5, -1, 0, 0.0, -0.5},   {1.5, 2, 1, 1.0, 0.5},      {-7.25, -7, -7, -7.0, -0.25},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.in), c.round) << c.in;
    EXPECT_EQ(Trunc(c.in), c.trunc) << c.in;
    EXPECT_EQ(Int(c.in), c.intPart) << c.in;
    EXPECT_EQ(Frac(c.in), c.frac) << c.in;
  }
  EXPECT_THROW(Round(1e30), EConvertError);
}

}  // namespace
