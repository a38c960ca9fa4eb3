#include "dbaccess/screenvalues.h"

#include "core/globals.h"
#include "core/sjis.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

namespace {

// Runs Body in IBTransactionDEF; errors are reported (and the transaction
// committed) only when it was started here, and never passed on.
template <typename Body>
void RunOwned(TIBSQL& Sql, const char* Location, const char* Message, Body body) {
  TTransactionGuard transaction(SystemStore().IBTransactionDEF);
  try {
    transaction.Begin();
    body();
    transaction.Commit();
  } catch (...) {
    Sql.Close();
    if (transaction.WasActive()) return;
    ReportCurrentException(Location, Message, true);
    transaction.CommitQuietly();
  }
}

}  // namespace

TGamenKeyValue::TGamenKeyValue() : OpCode(SystemDef.OpCode) {
  sql_.SetDatabase(&SystemStore().IBDatabaseDEF);
  sql_.SetTransaction(&SystemStore().IBTransactionDEF);
}

void TGamenKeyValue::MakeStyleName(const std::string& Key) {
  StyleName = Trim(FixLen(UpperCase(Prefix + Key), 40));
}

void TGamenKeyValue::FukugenValue(const std::string& Key, std::string& Result) {
  Value.clear();
  Result.clear();
  if (OpCode == 0 || Key.empty()) return;
  MakeStyleName(Key);
  RunOwned(sql_, "TGamenValue.FukugenValue", "前回の画面値の取得に失敗しました。", [&] {
    SetSql(sql_, "SELECT SSTR FROM STYLECOLOR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    sql_.ParamByName("OPCODE").AsInteger(OpCode);
    sql_.ParamByName("STYLENAME").AsString(StyleName);
    for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) Value = sql_.FieldByName("SSTR").AsString();
    sql_.Close();
  });
  Result = Value;
}

void TGamenKeyValue::HozonValue(const std::string& Key, const std::string& Text) {
  if (OpCode == 0 || Key.empty()) return;
  MakeStyleName(Key);
  Value = TrimZen(Text);
  if (Cp932Length(Value) > 1024) Value = TrimZen(FixLen(Value, 1024));
  RunOwned(sql_, "TGamenValue.HozonValue", "画面値の保存に失敗しました。", [&] {
    SetSql(sql_, "SELECT COUNT(OPCODE) AS RECCNT FROM STYLECOLOR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    sql_.ParamByName("OPCODE").AsInteger(OpCode);
    sql_.ParamByName("STYLENAME").AsString(StyleName);
    sql_.ExecQuery();
    const bool exists = sql_.FieldByName("RECCNT").AsInteger() != 0;
    sql_.Close();
    if (exists)
      sql_.SQL.SetText(
          "UPDATE STYLECOLOR SET OPCODE=:OPCODE,STYLENAME=:STYLENAME,LINECOLOR1=:LINECOLOR1,LINECOLOR2=:LINECOLOR2,"
          "LINECOLOR3=:LINECOLOR3,LINECOLOR4=:LINECOLOR4,LINECOLOR5=:LINECOLOR5,NETCOLOR1=:NETCOLOR1,"
          "NETCOLOR2=:NETCOLOR2,SSTR=:SSTR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    else
      sql_.SQL.SetText(
          "INSERT INTO STYLECOLOR(OPCODE,STYLENAME,LINECOLOR1,LINECOLOR2,LINECOLOR3,LINECOLOR4,LINECOLOR5,NETCOLOR1,"
          "NETCOLOR2,SSTR)\nVALUES(:OPCODE,:STYLENAME,:LINECOLOR1,:LINECOLOR2,:LINECOLOR3,:LINECOLOR4,:LINECOLOR5,"
          ":NETCOLOR1,:NETCOLOR2,:SSTR)");
    sql_.ParamByName("OPCODE").AsInteger(OpCode);
    sql_.ParamByName("STYLENAME").AsString(StyleName);
    for (const char* colour :
         {"LINECOLOR1", "LINECOLOR2", "LINECOLOR3", "LINECOLOR4", "LINECOLOR5", "NETCOLOR1", "NETCOLOR2"})
      sql_.ParamByName(colour).AsInteger(-1);
    sql_.ParamByName("SSTR").AsString(Value);
    sql_.ExecQuery();
    sql_.Close();
  });
}
