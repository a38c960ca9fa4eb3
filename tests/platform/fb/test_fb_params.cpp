// ":NAME" parameters found in SQL texts, and the layer's value conversions.
#include <gtest/gtest.h>

#include "platform/fb/ibstatement.h"
#include "platform/fb/ibvalue.h"
#include "platform/rtl/datetime.h"

namespace {

struct ParseCase {
  const char* sql;
  const char* expected;
  std::vector<std::string> names;
};

TEST(ParseSQLParams, FindsNamesOutsideLiteralsAndComments) {
  const ParseCase cases[] = {
      {"SELECT * FROM T WHERE A=:A AND B=:b", "SELECT * FROM T WHERE A=? AND B=?", {"A", "B"}},
      {"UPDATE T SET X=:V WHERE Y=:V OR Z=:W", "UPDATE T SET X=? WHERE Y=? OR Z=?", {"V", "V", "W"}},
      {"SELECT ':A', 'it''s :B' FROM T WHERE C=:C", "SELECT ':A', 'it''s :B' FROM T WHERE C=?", {"C"}},
      {"SELECT \"col:X\" FROM T -- :D\nWHERE E=:E /* :F */", "SELECT \"col:X\" FROM T -- :D\nWHERE E=? /* :F */", {"E"}},
      {"SELECT * FROM P(:A,:B_2)", "SELECT * FROM P(?,?)", {"A", "B_2"}},
      {"SELECT * FROM T WHERE A=:\"Mixed Name\"", "SELECT * FROM T WHERE A=?", {"Mixed Name"}},
      {"SELECT CAST('12:30' AS TIME) FROM RDB$DATABASE", "SELECT CAST('12:30' AS TIME) FROM RDB$DATABASE", {}},
  };
  for (const ParseCase& c : cases) {
    TIBParsedSQL parsed = ParseSQLParams(c.sql);
    EXPECT_EQ(parsed.sql, c.expected) << c.sql;
    EXPECT_EQ(parsed.positions, c.names) << c.sql;
  }
}

TEST(IBValue, ScaledNumbersAsText) {
  EXPECT_EQ(ibvalue::ScaledToString(123456789, -4), "12345.6789");
  EXPECT_EQ(ibvalue::ScaledToString(-1, -4), "-0.0001");
  EXPECT_EQ(ibvalue::ScaledToString(15000, -4), "1.5");
  EXPECT_EQ(ibvalue::ScaledToString(0, -2), "0");
  EXPECT_EQ(ibvalue::ScaledToString(INT64_MIN, -4), "-922337203685477.5808");
  EXPECT_EQ(ibvalue::ScaledToString(12, 2), "1200");
}

TEST(IBValue, DateTimesKeepDelphiMeaning) {
  const TDateTime values[] = {0, EncodeDate(2019, 10, 1), EncodeDate(2020, 2, 29) + EncodeTime(23, 59, 59, 999),
                              -1.25, EncodeDate(1858, 11, 17)};
  for (TDateTime v : values) {
    std::int32_t d;
    std::uint32_t t;
    ibvalue::FromDateTime(v, d, t);
    EXPECT_NEAR(ibvalue::ToDateTime(d, t), v, 1e-9) << v;
  }
  std::int32_t d;
  std::uint32_t t;
  ibvalue::FromDateTime(0, d, t);
  EXPECT_EQ(d, 15018);   // 1899-12-30
}

TEST(IBValue, ParameterConversions) {
  TIBXSQLVAR p("P");
  p.AsString("  42 ");
  EXPECT_EQ(p.AsInteger(), 42);
  p.AsCurrency(Currency::FromRaw(-12345));
  EXPECT_EQ(p.AsString(), "-1.2345");
  EXPECT_EQ(p.AsInteger(), -1);
  p.Clear();
  EXPECT_TRUE(p.IsNull());
  EXPECT_EQ(p.AsString(), "");
  p.AsString("abc");
  try {
    p.AsInteger();
    FAIL() << "conversion of \"abc\" must fail";
  } catch (const EIBError& e) {
    EXPECT_EQ(e.IBErrorCode(), ibcodes::kConvertError);
  }
  p.AsString("2019/10/01 08:30:00");
  EXPECT_NEAR(p.AsDateTime(), EncodeDate(2019, 10, 1) + EncodeTime(8, 30, 0, 0), 1e-9);
  // Text without a CP932 form is refused at once rather than stored as "?".
  EXPECT_THROW(p.AsString("\xF0\x9F\x98\x80"), EIBError);
}

}  // namespace
