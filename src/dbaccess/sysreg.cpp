// The typed settings store SYSREG of the system database, and the data
// version and schema tests of the connected data set.
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "dbaccess/regtypes.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

void BindKey(TIBQuery& query, std::int32_t opCode, const std::string& key) {
  query.ParamByName("OPCODE").AsInteger(opCode);
  query.ParamByName("SCODE").AsString(key);
}

void BindText(TIBQuery& query, const std::optional<std::string>& text) {
  if (text) query.ParamByName("STEXT").AsString(*text);
  else query.ParamByName("STEXT").Clear();
}

const char* const kInsertSysReg =
    "INSERT INTO SYSREG(OPCODE,SCODE,STYPE,STEXT) VALUES(:OPCODE,:SCODE,:STYPE,:STEXT )";

}  // namespace

void TSystemStore::funcGetSysReg(const std::string& Key, const std::string& Type, const std::string& Default,
                                 std::int32_t OpCode, TVariant& Value) {
  Value = TVariant();
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(QueryDef, "SELECT STEXT FROM SYSREG WHERE OPCODE=:OPCODE AND SCODE=:SCODE ");
    BindKey(QueryDef, OpCode, Key);
    QueryDef.Open();
    std::string text;
    if (!QueryDef.Eof()) {
      text = QueryDef.FieldByName("STEXT").AsString();
    } else {
      SetSql(QueryDef, kInsertSysReg);
      BindKey(QueryDef, OpCode, Key);
      QueryDef.ParamByName("STYPE").AsString(Type);
      QueryDef.ParamByName("STEXT").AsString(Default);
      QueryDef.ExecSQL();
      text = Default;
    }
    QueryDef.Close();
    Value = RegTextToValue(TRegStore::System, Type, text);
    scope.Commit();
  } catch (...) {
    QueryDef.Close();
    Value = TVariant();
    ReportCurrentException("TDM.funcGetSysReg", "システム共通変数の取得に失敗しました。", true);
    scope.Rollback();
  }
}

void TSystemStore::funcPutSysReg(const std::string& Key, const std::string& Type, std::int32_t OpCode,
                                 const TVariant& Value) {
  TTransactionGuard scope(IBTransactionDEF);
  try {
    const std::optional<std::string> text = RegValueToText(TRegStore::System, Type, Value);
    scope.Begin();
    SetSql(QueryDef, "SELECT COUNT(OPCODE) AS RECCNT FROM SYSREG WHERE OPCODE=:OPCODE AND SCODE=:SCODE");
    BindKey(QueryDef, OpCode, Key);
    QueryDef.Open();
    const bool exists = QueryDef.FieldByName("RECCNT").AsInteger() > 0;
    if (exists) {
      SetSql(QueryDef, "UPDATE SYSREG SET STEXT=:STEXT WHERE OPCODE=:OPCODE AND SCODE=:SCODE ");
    } else {
      SetSql(QueryDef, kInsertSysReg);
      QueryDef.ParamByName("STYPE").AsString(Type);
    }
    BindKey(QueryDef, OpCode, Key);
    BindText(QueryDef, text);
    QueryDef.ExecSQL();
    scope.Commit();
  } catch (...) {
    QueryDef.Close();
    ReportCurrentException("TDM.funcPutSysReg", "システム共通変数の保存に失敗しました。", true);
    scope.Rollback();
  }
}

void TSystemStore::GetSysRegOp(const std::string& Key, const std::string& Type, const std::string& Default,
                               TVariant& Value) {
  funcGetSysReg(Key, Type, Default, SystemDef.OpCode, Value);
}

void TSystemStore::PutSysRegOp(const std::string& Key, const std::string& Type, const TVariant& Value) {
  funcPutSysReg(Key, Type, SystemDef.OpCode, Value);
}

void TDataSetConnection::fnGetDataBaseVer(std::string& Version) {
  Version = "0.0.0";
  // Reads under the caller's transaction when one is active; a transaction
  // started here is committed or rolled back here.
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(IBQACC1, "SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION WHERE REC=1");
    IBQACC1.Open();
    if (!IBQACC1.Eof())
      Version = Format("%d.%d.%d", IBQACC1.FieldByName("MAJOR").AsInteger(), IBQACC1.FieldByName("MINOR1").AsInteger(),
                       IBQACC1.FieldByName("MINOR2").AsInteger());
    IBQACC1.Close();
    scope.Commit();
  } catch (...) {
    IBQACC1.Close();
    ReportCurrentException("TDM.fnGetDataBaseVer", "データベースのバージョンの取得に失敗しました。", true);
    scope.Rollback();
  }
}

namespace {

// Runs a count of the connected data set's metadata under its transaction
// as the caller left it (started for the read when idle).
bool CountPositive(TDmComponents& dm, const std::string& sql,
                   const std::vector<std::pair<std::string, std::string>>& params, const std::string& location,
                   const std::string& message) {
  TTransactionGuard scope(dm.IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(dm.IBQACC1, sql);
    for (const auto& [name, value] : params) dm.IBQACC1.ParamByName(name).AsString(value);
    dm.IBQACC1.Open();
    const bool found = !dm.IBQACC1.Eof() && dm.IBQACC1.Fields(0).AsInteger() > 0;
    dm.IBQACC1.Close();
    scope.Commit();
    return found;
  } catch (const EIBError& e) {
    dm.IBQACC1.Close();
    ShowFbError(e, location, message, true);
    scope.Rollback();
    return false;
  } catch (...) {
    dm.IBQACC1.Close();
    scope.Rollback();
    throw;
  }
}

}  // namespace

bool TDataSetConnection::fnExistence_Table(const std::string& Table) {
  return CountPositive(*this, "SELECT Count(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME=:Table_NAME",
                       {{"Table_NAME", Table}}, "TDM.fnExistence_Table", "テーブルの存在情報の取得に失敗しました。");
}

bool TDataSetConnection::fnExistence_Field(const std::string& Table, const std::string& Column) {
  return CountPositive(*this,
                       "SELECT count(*) FROM RDB$RELATION_FIELDS WHERE (RDB$RELATION_NAME=:TABLE_NAME) AND "
                       "(RDB$FIELD_NAME=:FIELD_NAME )",
                       {{"TABLE_NAME", Table}, {"FIELD_NAME", Column}}, "TDM.fnExistence_Field",
                       "テーブル項目の存在情報の取得に失敗しました。");
}
