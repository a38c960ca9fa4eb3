// The operator's logon row, operator rights on the connected data set, the
// job control of menu processes and the operator's default facility.
#include "core/globals.h"
#include "core/textutil.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kMsgSisetu = "通常使用するデータ（本・支店）の取得に失敗しました。";
const char* const kMsgNoFacilities =
    "このデータは医療法人データですが、施設管理がおこなわれていません。\rデータが損傷している可能性があります。";

// The job level number of JOBCONTROL2: the medical layout adds 1000.
std::int32_t JobLevelNumber() {
  std::uint16_t code = 0;
  CombineCode(code, static_cast<std::int16_t>(AccInf.MedicalLayout), static_cast<std::int16_t>(SystemDef.JobLevel),
              1000);
  return code;
}

}  // namespace

void TSystemStore::DeleteLogonInfo() {
  std::int32_t opCode = SystemDef.OpCode;
  if (AppKind == 1 || AppKind == 2) opCode = SystemDef.GroupId * 10000 + 1;
  else if (AppKind == 3) opCode = SystemDef.GroupId * 10000 + 2;
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(QueryDef, "DELETE FROM LOGONUSERLIST WHERE OPCODE=:OPCODE");
    QueryDef.ParamByName("OPCODE").AsInteger(opCode);
    QueryDef.ExecSQL();
    scope.Commit();
  } catch (...) {
    QueryDef.Close();
    ReportCurrentException("TDM.DeleteLogonInfo", "ログイン情報の削除に失敗しました。", true);
    scope.Rollback();
  }
}

bool TSystemStore::IsUnrestrictedOperator() {
  return SystemDef.UnrestrictedOperators == 1 || SystemDef.Jimusho != 0 || SystemDef.JobLevel == 9;
}

bool TSystemStore::SetJobControl(const std::string& ProcId, const std::string& Option) {
  const std::int32_t level = JobLevelNumber();
  TTransactionGuard scope(IBTransactionDEF);
  bool result = false;
  try {
    scope.Begin();
    SetSql(IBSQLDEF, "SELECT COUNT(PROC_ID) AS REC_CNT FROM JOBCONTROL2\nWHERE LEVELNO=:LEVELNO");
    IBSQLDEF.ParamByName("LEVELNO").AsInteger(level);
    IBSQLDEF.ExecQuery();
    const int rows = IBSQLDEF.FieldByName("REC_CNT").AsInteger();
    IBSQLDEF.Close();
    if (rows == 0) {
      result = true;  // a level without job-control rows may run everything
    } else {
      std::string sql = "SELECT PROC_ID,PROC_OPTION FROM JOBCONTROL2\nWHERE (LEVELNO=:LEVELNO) AND (PROC_ID=:PROC_ID)";
      const bool withOption = !Trim(Option).empty();
      if (withOption) sql += "\nAND (PROC_OPTION LIKE :PROC_OPTION)";
      SetSql(IBSQLDEF, sql);
      IBSQLDEF.ParamByName("LEVELNO").AsInteger(level);
      IBSQLDEF.ParamByName("PROC_ID").AsString(ProcId);
      if (withOption) IBSQLDEF.ParamByName("PROC_OPTION").AsString("%" + Option + "%");
      IBSQLDEF.ExecQuery();
      result = !IBSQLDEF.Eof();
      IBSQLDEF.Close();
    }
    scope.Commit();
  } catch (...) {
    IBSQLDEF.Close();
    if (scope.WasActive()) return false;
    ReportCurrentException("TDM.SetJobControl", "メニュー制御情報の取得に失敗しました。", true);
    scope.Rollback();
    return false;
  }
  return result;
}

bool TDataSetConnection::fnGetExistsOpeDefSisetu() {
  if (IsUnrestrictedOperator()) return true;
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(IBQACC1,
            "SELECT OD.OPCODE,OD.SCODE FROM OPDEFSISETU OD\nINNER JOIN OPLICENSE OL ON (OD.OPCODE=OL.OPCODE)\n"
            "WHERE OD.OPCODE=:OPCODE");
    IBQACC1.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    IBQACC1.Open();
    const bool found = !IBQACC1.Eof();
    IBQACC1.Close();
    scope.Commit();
    return found;
  } catch (...) {
    IBQACC1.Close();
    ReportCurrentException("TDM.fnGetExistsOpeDefSisetu", kMsgSisetu, true);
    scope.CommitQuietly();
    return false;
  }
}

void TDataSetConnection::GetOpeDefSisetu(std::string& Name) {
  Name.clear();
  const bool unrestricted = IsUnrestrictedOperator();
  const bool medical = AccInf.MedicalLayout != 0;
  TTransactionGuard scope(IBTransactionDAT);
  auto readRows = [&]() {
    bool any = false;
    for (IBQACC1.Open(); !IBQACC1.Eof(); IBQACC1.Next()) {
      std::string code = IBQACC1.FieldByName("SCODE").AsTrimString();
      if (code.empty()) code = " ";
      SystemDef.CurSisetuCode = code;
      SystemDef.DefSisetuCode = code;
      SystemDef.DefSisetuJigyoKbn = IBQACC1.FieldByName("JIGYOKBN").AsInteger();
      TVariant color;
      GetXstrValue(IBQACC1.FieldByName("XSTR").AsString(), "COLOR", color);
      SystemDef.DefSisetuColor = color.AsInteger();
      Name = IBQACC1.FieldByName("SNAME").AsTrimString();
      any = true;
    }
    IBQACC1.Close();
    return any;
  };
  try {
    scope.Begin();
    std::string sql;
    if (unrestricted && !medical && AccInf.SITEN != 0) {
      sql = "SELECT SCODE,SNAME,1 AS JIGYOKBN,XSTR FROM SISETUMST\n"
            "WHERE SCODE=(SELECT MIN(SCODE) FROM SISETUMST WHERE SCODE<>'')";
    } else if (unrestricted && !medical) {
      sql = "SELECT ' ' AS SCODE,SHOUGOU AS SNAME,1 AS JIGYOKBN,0 AS XSTR FROM ACCDEF1";
    } else if (unrestricted) {
      if (AccInf.SITEN == 0) throw Exception(kMsgNoFacilities);
      sql = "SELECT SCODE,SNAME,MB_JIGYOU AS JIGYOKBN,XSTR FROM SISETUMST\n"
            "WHERE SCODE=(SELECT MIN(SCODE) FROM SISETUMST WHERE (SCODE<>'') AND (SCODE<>'00'))";
    } else {
      sql = medical ? "SELECT O.SCODE,S.SNAME,S.MB_JIGYOU AS JIGYOKBN,S.XSTR FROM OPDEFSISETU O\n"
                    : "SELECT O.SCODE,S.SNAME,1 AS JIGYOKBN,S.XSTR FROM OPDEFSISETU O\n";
      sql += "INNER JOIN SISETUMST S ON (O.SCODE=S.SCODE)\nWHERE OPCODE=:OPCODE";
    }
    SetSql(IBQACC1, sql);
    if (IBQACC1.FindParam("OPCODE")) IBQACC1.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    const bool found = readRows();
    if (medical && !found) {
      SetSql(IBQACC1, "SELECT SCODE,SNAME,MB_JIGYOU AS JIGYOKBN,XSTR FROM SISETUMST\nWHERE SCODE='00'");
      readRows();
    }
    scope.Commit();
  } catch (...) {
    IBQACC1.Close();
    ReportCurrentException("TDM.GetOpeDefSisetu", kMsgSisetu, true);
    scope.CommitQuietly();
  }
}

void TDataSetConnection::GetXstrValue(const std::string& Text, const std::string& Key, TVariant& Value) {
  Value = TVariant(0);
  const std::string key = UpperCase(Key);
  std::string found;
  GetParamValue(Text, key, found);
  if (key != "COLOR") {
    Value = TVariant(found);
    return;
  }
  std::int32_t color = 0;
  if (!Trim(found).empty()) color = StrToIntDef(Trim(found), 0);
  if (color <= 0) color = 0xFFAF80;
  Value = TVariant(color);
}
