// Eras of a return, the full-deduction date rule and the rate conversions.
#include <gtest/gtest.h>

#include <string_view>
#include <type_traits>

#include "platform/rtl/fraction.h"
#include "tax/convert.h"
#include "tax/taxera.h"
#include "taxtestutil.h"

using taxtest::Yen;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

TTaxCompanyInfo Year(int dataType, TDateTime kishu, TDateTime kimatu, int taxJigyou = 0) {
  TTaxCompanyInfo info;
  info.DataType = dataType;
  info.Kishu = kishu;
  info.Kimatu = kimatu;
  info.TaxJigyou = taxJigyou;
  info.VerMajor = 11;
  info.VerMinor1 = 1;
  return info;
}

TEST(TaxEra, EraTable) {
  struct Case {
    TDateTime kishu, kimatu, to;  // fiscal year and the chosen period's end
    int pass, era;
  } cases[] = {
      {D(2015, 4, 1), D(2016, 3, 31), D(2016, 3, 31), 1, 3},  // simplified: 2 by the start, 3 by the end
      {D(2015, 4, 1), D(2016, 3, 31), D(2016, 3, 31), 0, 3},
      {D(2014, 4, 1), D(2015, 3, 31), D(2015, 3, 31), 0, 1},
      {D(2014, 4, 1), D(2015, 3, 31), D(2015, 3, 31), 1, 1},
      {D(2015, 4, 1), D(2015, 12, 31), D(2015, 12, 31), 1, 2},
      {D(2019, 4, 1), D(2020, 3, 31), D(2019, 9, 30), 0, 3},
      {D(2019, 4, 1), D(2020, 3, 31), D(2020, 3, 31), 0, 4},
      {D(2019, 4, 1), D(2020, 3, 31), D(2020, 3, 31), 1, 4},
      {D(2013, 4, 1), D(2014, 3, 31), D(2014, 3, 31), 0, 0},
  };
  for (const auto& c : cases) {
    const TTaxCompanyInfo company = Year(kCompanyCorporation, c.kishu, c.kimatu);
    TTAXPAR par;
    par.KikanFrom = c.kishu;
    par.KikanTo = c.to;
    par.SinkokuKubun = c.pass;
    EXPECT_EQ(TaxEraOf(company, par), c.era) << FormatDateTime("yyyy/mm/dd", c.to) << " pass " << c.pass;
    EXPECT_EQ(GetTaxEra(company, par), c.era == 0 ? 1 : c.era);
    EXPECT_EQ(par.Era, 0);  // GetTaxEra does not store the era
  }
}

TEST(TaxEra, PeriodFromSettings) {
  const TTaxCompanyInfo company = Year(kCompanyCorporation, D(2013, 4, 1), D(2014, 3, 31));
  TTAXPAR par;
  par.KikanSettei = 1;
  par.KikanFrom = D(2015, 4, 1);
  par.KikanTo = D(2015, 9, 30);
  par.SinkokuKubun = 1;
  EXPECT_EQ(TaxEraOf(company, par), 2);
  par.SinkokuKubun = 0;
  EXPECT_EQ(TaxEraOf(company, par), 1);
  par.KikanTo = D(2015, 10, 1);
  EXPECT_EQ(TaxEraOf(company, par), 3);
}

TEST(TaxEra, MainBusinessType) {
  struct Case {
    int jigyou, pass;
    TDateTime kishu, kimatu;
    int main;
  } cases[] = {
      {0, 1, D(2019, 10, 1), D(2020, 9, 30), 4},
      {6, 1, D(2014, 4, 1), D(2015, 3, 31), 5},  // era 1 knows no type 6
      {6, 1, D(2015, 4, 1), D(2016, 3, 31), 6},
      {6, 0, D(2014, 4, 1), D(2015, 3, 31), 6},
  };
  for (const auto& c : cases) {
    const TTaxCompanyInfo company = Year(kCompanyCorporation, c.kishu, c.kimatu, c.jigyou);
    TTAXPAR par;
    par.KikanFrom = c.kishu;
    par.KikanTo = c.kimatu;
    par.SinkokuKubun = c.pass;
    TaxEraOf(company, par);
    EXPECT_EQ(par.MainBusiness, c.main) << c.jigyou << " pass " << c.pass;
  }
}

TEST(TaxEra, New95PercentRule) {
  EXPECT_FALSE(IsNew95PercentRule(TTaxCompanyInfo{}, 1, D(2012, 3, 31), D(2013, 3, 30)));
  EXPECT_TRUE(IsNew95PercentRule(TTaxCompanyInfo{}, 1, D(2012, 4, 1), D(2013, 3, 31)));
  struct Case {
    int kind;
    TDateTime kishu;
    bool applies;
  } cases[] = {
      {kCompanyCorporation, D(2012, 4, 1), true}, {kCompanyCorporation, D(2012, 3, 1), false},
      {kCompanyMedical, D(2012, 4, 1), true},     {kCompanyIndividual, D(2012, 1, 1), false},
      {kCompanyIndividual, D(2013, 1, 1), true},  {9, D(2000, 1, 1), true},
  };
  for (const auto& c : cases) {
    const TTaxCompanyInfo company = Year(c.kind, c.kishu, IncMonth(c.kishu, 12) - 1);
    EXPECT_EQ(IsNew95PercentRule(company, 0, 0, 0), c.applies) << c.kind;
  }
}

// Every name and slot in era 4 on 1,000,000 yen, computed by hand from the
// rate figures: multiply first, divide last.
TEST(ConvertByRate, EveryNameAndSlotInEra4) {
  const int era = 4;
  const Currency x = Yen(1000000);
  struct Case {
    TRateFactor name;
    int slot;
    Fraction expected;
  } cases[] = {
      {TRateFactor::KOMI2NUKI, 0, Fraction(100000000, 103)},  {TRateFactor::KOMI2NUKI, 1, Fraction(100000000, 105)},
      {TRateFactor::KOMI2NUKI, 2, Fraction(100000000, 108)},  {TRateFactor::KOMI2NUKI, 3, Fraction(100000000, 108)},
      {TRateFactor::KOMI2NUKI, 4, Fraction(100000000, 110)},  {TRateFactor::KOMI_KOKUZEI, 0, Fraction(3000000, 103)},
      {TRateFactor::KOMI_KOKUZEI, 1, Fraction(4000000, 105)}, {TRateFactor::KOMI_KOKUZEI, 2, Fraction(6300000, 108)},
      {TRateFactor::KOMI_KOKUZEI, 3, Fraction(6240000, 108)}, {TRateFactor::KOMI_KOKUZEI, 4, Fraction(7800000, 110)},
      {TRateFactor::NUKI_KOKUZEI, 0, Fraction(0)},            {TRateFactor::NUKI_KOKUZEI, 1, Fraction(40000)},
      {TRateFactor::NUKI_KOKUZEI, 2, Fraction(63000)},        {TRateFactor::NUKI_KOKUZEI, 3, Fraction(62400)},
      {TRateFactor::NUKI_KOKUZEI, 4, Fraction(78000)},        {TRateFactor::NUKI_ZEIGAKU, 0, Fraction(30000)},
      {TRateFactor::NUKI_ZEIGAKU, 1, Fraction(50000)},        {TRateFactor::NUKI_ZEIGAKU, 2, Fraction(80000)},
      {TRateFactor::NUKI_ZEIGAKU, 3, Fraction(80000)},        {TRateFactor::NUKI_ZEIGAKU, 4, Fraction(100000)},
      {TRateFactor::TAX_KOKUZEI, 0, Fraction(1000000)},       {TRateFactor::TAX_KOKUZEI, 1, Fraction(800000)},
      {TRateFactor::TAX_KOKUZEI, 2, Fraction(787500)},        {TRateFactor::TAX_KOKUZEI, 3, Fraction(780000)},
      {TRateFactor::TAX_KOKUZEI, 4, Fraction(780000)},        {TRateFactor::TAX_ZEIRITU, 0, Fraction(30000)},
      {TRateFactor::TAX_ZEIRITU, 1, Fraction(40000)},         {TRateFactor::TAX_ZEIRITU, 2, Fraction(63000)},
      {TRateFactor::TAX_ZEIRITU, 3, Fraction(62400)},         {TRateFactor::TAX_ZEIRITU, 4, Fraction(78000)},
      {TRateFactor::JYOTOWARI, 0, Fraction(0)},               {TRateFactor::JYOTOWARI, 1, Fraction(250000)},
      {TRateFactor::JYOTOWARI, 2, Fraction(17000000, 63)},    {TRateFactor::JYOTOWARI, 3, Fraction(0)},
      {TRateFactor::JYOTOWARI, 4, Fraction(22000000, 78)},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertByRate(era, c.slot, c.name, x), c.expected) << static_cast<int>(c.name) << " " << c.slot;
}

TEST(ConvertByRate, EarlierErasKnowOnlyThreeSlots) {
  const int era = 3;
  for (TRateFactor name : {TRateFactor::KOMI2NUKI, TRateFactor::KOMI_KOKUZEI, TRateFactor::NUKI_KOKUZEI,
                           TRateFactor::NUKI_ZEIGAKU, TRateFactor::TAX_KOKUZEI, TRateFactor::TAX_ZEIRITU,
                           TRateFactor::JYOTOWARI}) {
    EXPECT_EQ(ConvertByRate(era, 3, name, Yen(10800)), Fraction(0)) << static_cast<int>(name);
    EXPECT_EQ(ConvertByRate(era, 4, name, Yen(11000)), Fraction(0)) << static_cast<int>(name);
  }
  EXPECT_EQ(ConvertByRate(era, 2, TRateFactor::KOMI_KOKUZEI, Yen(10800)), Fraction(630));
  EXPECT_EQ(ConvertByRate(era, 1, TRateFactor::JYOTOWARI, Yen(4000)), Fraction(1000));
  EXPECT_EQ(ConvertByRate(era, 2, TRateFactor::JYOTOWARI, Yen(6300)), Fraction(1700));
}

TEST(ConvertByRate, ExactValuesWhereTruncatedFactorsWouldLoseAYen) {
  const int era = 4;
  EXPECT_EQ(ConvertByRate(era, 4, TRateFactor::KOMI_KOKUZEI, Yen(11000)), Fraction(780));
  EXPECT_EQ(ConvertByRate(era, 4, TRateFactor::KOMI_KOKUZEI, Yen(5500000)), Fraction(390000));
  EXPECT_EQ(ConvertByRate(era, 4, TRateFactor::JYOTOWARI, Yen(156000)), Fraction(44000));
  EXPECT_EQ(ConvertByRate(era, 4, TRateFactor::JYOTOWARI, Yen(7800)), Fraction(2200));
  EXPECT_EQ(ConvertByRate(era, 2, TRateFactor::KOMI_KOKUZEI, Yen(10800)), Fraction(630));
  EXPECT_EQ(ConvertByRate(era, 4, TRateFactor::KOMI2NUKI, Yen(11000)), Fraction(10000));
  // Fractions of a yen are kept for the caller's own rounding step.
  EXPECT_EQ(ConvertByRate(era, 4, TRateFactor::KOMI_KOKUZEI, Yen(1000)), Fraction(780, 11));
}

// A name given as text, in any spelling, is refused when compiling.
static_assert(!std::is_invocable_v<decltype(&ConvertByRate), int, int, const char*, Currency>);
static_assert(!std::is_invocable_v<decltype(&ConvertByRate), int, int, std::string_view, Currency>);
static_assert(!std::is_invocable_v<decltype(&ConvertByRate), int, int, int, Currency>);

TEST(ConvertByRate, UnknownNamesAndSlotsGiveZero) {
  const int era = 4;
  EXPECT_EQ(ConvertByRate(era, 4, static_cast<TRateFactor>(7), Yen(11000)), Fraction(0));
  EXPECT_EQ(ConvertByRate(era, 4, static_cast<TRateFactor>(-1), Yen(11000)), Fraction(0));
  EXPECT_EQ(ConvertByRate(era, 5, TRateFactor::KOMI2NUKI, Yen(11000)), Fraction(0));
  EXPECT_EQ(ConvertByRate(era, -1, TRateFactor::KOMI2NUKI, Yen(11000)), Fraction(0));
}

TEST(ConvertByRate, TruncatedFactorHelper) {
  EXPECT_EQ(TruncRateFactor(Fraction(78, 1100)), Fraction::FromDecimal("0.0709090909"));
  EXPECT_EQ(TruncRateFactor(Fraction(22, 78)), Fraction::FromDecimal("0.28205128205"));
  EXPECT_EQ(TruncRateFactor(Fraction(4, 100)), Fraction::FromDecimal("0.04"));
}

}  // namespace
