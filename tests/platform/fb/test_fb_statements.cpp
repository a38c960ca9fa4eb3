// Statements against a real database: named parameters, exact numbers,
// dates, CP932 text and blobs.
#include <gtest/gtest.h>

#include "fb_test_support.h"
#include <fstream>
#include <iterator>

#include "platform/rtl/datetime.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"

namespace {

class Statements : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("stmt.fdb");
    fbtest::CreateDatabase(path_, {
        "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), CODE CHAR(6), "
        "AMOUNT NUMERIC(18,4), RATE NUMERIC(18,2), F DOUBLE PRECISION, D DATE, TS TIMESTAMP, TM TIME, "
        "MEMO BLOB SUB_TYPE 1, BIN BLOB SUB_TYPE 0)",
        "CREATE PROCEDURE ADDUP (A INTEGER, B NUMERIC(18,4)) RETURNS (TOTAL NUMERIC(18,4), LABEL VARCHAR(20)) "
        "AS BEGIN TOTAL = A + B; LABEL = '合計'; END",
        "CREATE PROCEDURE COUNTUP (N INTEGER) RETURNS (I INTEGER) "
        "AS BEGIN I = 1; WHILE (I <= N) DO BEGIN SUSPEND; I = I + 1; END END",
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

TEST_F(Statements, RepeatedNamesNullsAndCurrencyExtremes) {
  const Currency values[] = {Currency::FromYen(100000000000000), -Currency::FromYen(100000000000000),
                             Currency::FromRaw(999999999999999999), Currency::FromRaw(-1), Currency::FromRaw(1),
                             Currency()};
  tr_.StartTransaction();
  q_.SQL.SetText("INSERT INTO T (ID, AMOUNT, RATE, NAME) VALUES (:ID, :AMOUNT, :AMOUNT, :NAME)");
  int id = 0;
  for (Currency value : values) {
    q_.ParamByName("ID").AsInteger(++id);
    q_.ParamByName("amount").AsCurrency(value);
    q_.ParamByName("NAME").Clear();
    q_.ExecSQL();
  }
  EXPECT_EQ(q_.ParamCount(), 3);
  tr_.Commit();
  EXPECT_THROW(q_.ParamByName("RATE"), EIBError);

  tr_.StartTransaction();
  q_.SQL.SetText("SELECT ID, AMOUNT, NAME FROM T WHERE AMOUNT = :V OR (:V IS NULL AND AMOUNT IS NULL) ORDER BY ID");
  for (Currency value : values) {
    q_.ParamByName("V").AsCurrency(value);
    q_.Open();
    ASSERT_FALSE(q_.Eof()) << CurrToStr(value);
    EXPECT_EQ(q_.FieldByName("AMOUNT").AsCurrency(), value);
    EXPECT_TRUE(q_.FieldByName("NAME").IsNull());
    EXPECT_EQ(q_.FieldByName("NAME").AsString(), "");
    q_.Close();
  }
  // A NULL parameter matches through the IS NULL branch only.
  q_.ParamByName("V").Clear();
  q_.Open();
  EXPECT_TRUE(q_.Eof());
  q_.Close();
  // Currency into a two-decimal column is rounded by the server; read back exactly.
  q_.SQL.SetText("SELECT RATE FROM T WHERE ID = 1");
  q_.Open();
  EXPECT_EQ(q_.FieldByName("RATE").AsCurrency(), Currency::FromYen(100000000000000));
  q_.Close();
  tr_.Commit();
}

TEST_F(Statements, Cp932TextAndBlobsRoundTrip) {
  const std::string text = "～①㈱髙ｱｲｳｴｵ 漢字";
  const std::string binary("\x00\x01\xFF\x81\x60 bytes", 10);
  const std::string in = folder_.File("in.bin"), out = folder_.File("out.bin");
  WriteFileAtomically(in, binary);
  tr_.StartTransaction();
  q_.SQL.SetText("INSERT INTO T (ID, NAME, CODE, MEMO, BIN) VALUES (1, :NAME, :CODE, :MEMO, :BIN)");
  q_.ParamByName("NAME").AsString(text);
  q_.ParamByName("CODE").AsString("ｱ1");
  q_.ParamByName("MEMO").AsString(text + "\r\n二行目\r\n");
  q_.ParamByName("BIN").LoadFromFile(in);
  q_.ExecSQL();
  tr_.Commit();

  tr_.StartTransaction();
  q_.SQL.SetText("SELECT NAME, CODE, MEMO, BIN, OCTET_LENGTH(NAME) AS BYTES FROM T WHERE NAME = :NAME");
  q_.ParamByName("NAME").AsString(text);
  q_.Open();
  ASSERT_FALSE(q_.Eof());
  EXPECT_EQ(q_.FieldByName("NAME").AsString(), text);
  EXPECT_EQ(q_.FieldByName("BYTES").AsInteger(), 18);   // stored as CP932 bytes
  EXPECT_EQ(q_.FieldByName("CODE").AsTrimString(), "ｱ1");
  // CHAR keeps the padding the server gives (12 bytes for CHAR(6) in SJIS_0208).
  EXPECT_EQ(q_.FieldByName("CODE").AsString(), "ｱ1" + std::string(10, ' '));
  EXPECT_EQ(q_.FieldByName("MEMO").AsString(), text + "\r\n二行目\r\n");
  EXPECT_EQ(q_.FieldByName("BIN").AsBytes(), binary);
  q_.FieldByName("BIN").SaveToFile(out);
  q_.Close();
  tr_.Commit();
  std::ifstream check(out, std::ios::binary);
  std::string saved((std::istreambuf_iterator<char>(check)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, binary);
}

TEST_F(Statements, QueryWalksItsRowsAndSqlReadsForward) {
  tr_.StartTransaction();
  TIBSQL ins;
  ins.SetDatabase(&db_);
  ins.SetTransaction(&tr_);
  ins.SQL.SetText("INSERT INTO T (ID, F, TM) VALUES (:ID, :F, :TM)");
  for (int i = 1; i <= 5; ++i) {
    ins.ParamByName("ID").AsInteger(i);
    ins.ParamByName("F").AsFloat(i / 4.0);
    ins.ParamByName("TM").AsTime(EncodeTime(i, 0, 0, 0));
    ins.ExecQuery();
  }
  q_.SQL.SetText("SELECT ID, F, TM FROM T ORDER BY ID");
  q_.Open();
  EXPECT_EQ(q_.RecordCount(), 1);
  q_.Last();
  EXPECT_EQ(q_.RecordCount(), 5);
  EXPECT_EQ(q_.FieldByName("ID").AsInteger(), 5);
  q_.First();
  EXPECT_EQ(q_.FieldByName("id").AsInteger(), 1);
  EXPECT_DOUBLE_EQ(q_.FieldByName("F").AsFloat(), 0.25);
  EXPECT_EQ(q_.FieldByName("TM").AsString(), "01:00:00");
  q_.Next();
  q_.Prior();
  EXPECT_EQ(q_.FieldByName("ID").AsInteger(), 1);
  EXPECT_EQ(q_.FindField("NOPE"), nullptr);
  EXPECT_THROW(q_.FieldByName("NOPE"), EIBError);
  q_.Close();

  TIBSQL sel;
  sel.SetDatabase(&db_);
  sel.SetTransaction(&tr_);
  sel.SQL.SetText("SELECT ID FROM T WHERE ID > :MIN ORDER BY ID");
  sel.ParamByName("MIN").AsInteger(2);
  int sum = 0;
  for (sel.ExecQuery(); !sel.Eof(); sel.Next()) sum += sel.FieldByName("ID").AsInteger();
  EXPECT_EQ(sum, 3 + 4 + 5);
  EXPECT_EQ(sel.RecordCount(), 3);
  sel.Close();

  TIBSQL upd;
  upd.SetDatabase(&db_);
  upd.SetTransaction(&tr_);
  upd.SQL.SetText("UPDATE T SET NAME = 'x' WHERE ID <= :N");
  upd.ParamByName("N").AsInteger(3);
  upd.ExecQuery();
  EXPECT_EQ(upd.RowsAffected(), 3);
  tr_.Commit();
}

// A column is read by the layout its statement was prepared with: a new text
// on the same object brings new columns in another order and of other types,
// a column resolved once keeps reading the row under the cursor, and ASCII
// text (with the backslash and the tilde) comes back as it was stored, beside
// CP932 text, a NULL and a CHAR with its padding.
TEST_F(Statements, ColumnsFollowTheStatementAndTheRow) {
  tr_.StartTransaction();
  TIBSQL sql;
  sql.SetDatabase(&db_);
  sql.SetTransaction(&tr_);
  sql.SQL.SetText("INSERT INTO T (ID, NAME, CODE, AMOUNT, D) VALUES (:ID, :NAME, :CODE, :AMOUNT, :D)");
  const char* names[] = {"C:\\path~1 ASCII", "漢字ｶﾅ～", ""};
  for (int id = 1; id <= 3; ++id) {
    sql.ParamByName("ID").AsInteger(id);
    if (id == 3) sql.ParamByName("NAME").Clear();
    else sql.ParamByName("NAME").AsString(names[id - 1]);
    sql.ParamByName("CODE").AsString(id == 1 ? "A1" : "ｲ");
    sql.ParamByName("AMOUNT").AsCurrency(Currency::FromRaw(12345 * id));
    sql.ParamByName("D").AsDate(EncodeDate(2020, 1, id));
    sql.ExecQuery();
  }

  sql.SQL.SetText("SELECT ID, NAME, AMOUNT FROM T ORDER BY ID");
  sql.ExecQuery();
  EXPECT_EQ(sql.FieldByName("NAME").AsString(), names[0]);
  sql.Close();

  sql.SQL.SetText("SELECT D, AMOUNT, CODE, NAME, ID FROM T ORDER BY ID");
  sql.ExecQuery();
  const TIBXSQLVAR& id = sql.FieldByName("ID");
  const TIBXSQLVAR& name = sql.FieldByName("NAME");
  const TIBXSQLVAR& code = sql.FieldByName("CODE");
  const TIBXSQLVAR& amount = sql.FieldByName("AMOUNT");
  const TIBXSQLVAR& date = sql.FieldByName("D");
  for (int row = 1; row <= 3; ++row, sql.Next()) {
    ASSERT_FALSE(sql.Eof()) << row;
    EXPECT_EQ(id.AsInteger(), row);
    EXPECT_EQ(name.AsString(), names[row - 1]) << row;
    EXPECT_EQ(name.IsNull(), row == 3);
    EXPECT_EQ(code.AsString(), (row == 1 ? "A1" : "ｲ") + std::string(row == 1 ? 10 : 11, ' ')) << row;
    EXPECT_EQ(amount.AsCurrency(), Currency::FromRaw(12345 * row));
    EXPECT_EQ(date.AsDateTime(), EncodeDate(2020, 1, row));
  }
  EXPECT_TRUE(sql.Eof());
  sql.Close();
  tr_.Commit();
}

TEST_F(Statements, ProceduresExecutableAndSelectable) {
  TIBStoredProc proc;
  proc.SetDatabase(&db_);
  proc.SetTransaction(&tr_);
  proc.StoredProcName = "ADDUP";
  tr_.StartTransaction();
  proc.ParamByName("A").AsInteger(2);
  proc.ParamByName("B").AsCurrency(Currency::FromRaw(5));
  proc.ExecProc();
  EXPECT_EQ(proc.ParamByName("TOTAL").AsCurrency(), Currency::FromRaw(20005));
  EXPECT_EQ(proc.ParamByName("LABEL").AsString(), "合計");
  EXPECT_EQ(proc.ParamCount(), 4);

  q_.SQL.SetText("SELECT * FROM COUNTUP(:N)");
  q_.ParamByName("N").AsInteger(4);
  q_.Open();
  q_.Last();
  EXPECT_EQ(q_.RecordCount(), 4);
  q_.Close();
  tr_.Commit();
}

TEST_F(Statements, MisuseIsReportedAsEIBError) {
  q_.SQL.SetText("SELECT * FROM NO_SUCH_TABLE");
  try {
    q_.Open();
    FAIL();
  } catch (const EIBError& e) {
    EXPECT_EQ(e.SQLCode(), -204);
    EXPECT_NE(e.Message().find("NO_SUCH_TABLE"), std::string::npos) << e.Message();
  }
  tr_.Rollback();
  TIBQuery unbound;
  unbound.SQL.SetText("SELECT 1 FROM RDB$DATABASE");
  EXPECT_THROW(unbound.Open(), EIBError);
  q_.SQL.SetText("INSERT INTO T (ID, CODE) VALUES (1, :CODE)");
  q_.ParamByName("CODE").AsString("1234567890123");  // more than CHAR(6) holds
  try {
    q_.ExecSQL();
    FAIL();
  } catch (const EIBError& e) {
    EXPECT_EQ(e.SQLCode(), -303);
    EXPECT_NE(e.Message().find("string right truncation"), std::string::npos) << e.Message();
  }
  tr_.Rollback();
}

}  // namespace
