// Statements against a real database: named parameters, exact numbers,
// dates, CP932 text and blobs.
#include <gtest/gtest.h>

#include "fb_test_support.h"
#include "platform/rtl/datetime.h"

namespace {

class Statements : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("stmt.fdb");
    fbtest::CreateDatabase(path_, {
        "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), CODE CHAR(6), "
        "AMOUNT NUMERIC(18,4), RATE NUMERIC(9,2), F DOUBLE PRECISION, D DATE, TS TIMESTAMP, TM TIME, "
        "MEMO BLOB SUB_TYPE 1, BIN BLOB SUB_TYPE 0)",
    });
    db_.DatabaseName = path_;
    fbtest::SetUserParams(db_.Params, false);
    db_.Open();
    tr_.SetDefaultDatabase(&db_);
    tr_.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
    q_.SetDatabase(&db_);
    q_.SetTransaction(&tr_);
  }

  fbtest::TempFolder folder_;
  std::string path_;
  TIBDatabase db_;
  TIBTransaction tr_;
  TIBQuery q_;
};

TEST_F(Statements, NamedParametersRoundTrip) {
  tr_.StartTransaction();
  q_.SQL.SetText("INSERT INTO T (ID, NAME, AMOUNT, D, TS) VALUES (:ID, :NAME, :AMOUNT, :D, :TS)");
  q_.ParamByName("ID").AsInteger(1);
  q_.ParamByName("NAME").AsString("abc");
  q_.ParamByName("AMOUNT").AsCurrency(Currency::FromRaw(123456789));
  q_.ParamByName("D").AsDate(EncodeDate(2019, 10, 1));
  q_.ParamByName("TS").AsDateTime(EncodeDate(2020, 3, 31) + EncodeTime(13, 45, 10, 0));
  q_.ExecSQL();
  EXPECT_EQ(q_.RowsAffected(), 1);
  q_.SQL.SetText("SELECT * FROM T WHERE ID = :ID");
  q_.ParamByName("ID").AsInteger(1);
  q_.Open();
  ASSERT_FALSE(q_.Eof());
  EXPECT_EQ(q_.FieldByName("name").AsString(), "abc");
  EXPECT_EQ(q_.FieldByName("AMOUNT").AsCurrency(), Currency::FromRaw(123456789));
  EXPECT_EQ(q_.FieldByName("AMOUNT").AsString(), "12345.6789");
  EXPECT_EQ(q_.FieldByName("D").AsDateTime(), EncodeDate(2019, 10, 1));
  EXPECT_EQ(q_.FieldByName("TS").AsString(), "2020/03/31 13:45:10");
  EXPECT_TRUE(q_.FieldByName("CODE").IsNull());
  q_.Next();
  EXPECT_TRUE(q_.Eof());
  q_.Close();
  tr_.Commit();
}

}  // namespace
