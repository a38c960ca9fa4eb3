// The data module's small services: SYSTEMINI rows, the communication ID,
// the operation history, linked journal rows, the era table, the system
// version, report colours, data-list numbers of a folder, verification and
// the data password prompt, the deferred actions and the cloud-share tests.
#include <cctype>

#include "platform/rtl/eras.h"
#include "core/globals.h"
#include "core/sjis.h"
#include "core/textutil.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kMsgSysIniGet = "システム情報の取得に失敗しました。\rアプリケーションを終了します。";
const char* const kMsgSysIniSet = "システム情報の書き込みに失敗しました。\r現在のシステム設定は保存されません。";

}  // namespace

bool TSystemStore::GetSysIni(TSystemIniRec& Row) {
  Row.RESERVE1 = Row.RESERVE2 = Row.RESERVE3 = Row.RESERVE4 = Row.RESERVE5 = 0;
  Row.SSTR.clear();
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(IBQSysDefGet, "SELECT RESERVE1,RESERVE2,RESERVE3,RESERVE4,RESERVE5,SSTR FROM SYSTEMINI\nWHERE REC=:REC");
    IBQSysDefGet.ParamByName("REC").AsInteger(Row.REC);
    IBQSysDefGet.Open();
    IBQSysDefGet.Last();
    if (IBQSysDefGet.RecordCount() == 1) {
      IBQSysDefGet.First();
      Row.RESERVE1 = IBQSysDefGet.FieldByName("RESERVE1").AsInteger();
      Row.RESERVE2 = IBQSysDefGet.FieldByName("RESERVE2").AsInteger();
      Row.RESERVE3 = IBQSysDefGet.FieldByName("RESERVE3").AsInteger();
      Row.RESERVE4 = IBQSysDefGet.FieldByName("RESERVE4").AsInteger();
      Row.RESERVE5 = IBQSysDefGet.FieldByName("RESERVE5").AsInteger();
      Row.SSTR = IBQSysDefGet.FieldByName("SSTR").AsString();
    }
    IBQSysDefGet.Close();
    scope.Commit();
    return true;
  } catch (...) {
    IBQSysDefGet.Close();
    if (scope.WasActive()) throw;
    ReportCurrentException("TDM.GetSysIni", kMsgSysIniGet, true);
    scope.Rollback();
    return false;
  }
}

bool TSystemStore::SetSysIni(const TSystemIniRec& Row) {
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(IBQSysDefPut, "SELECT COUNT(REC) AS RECCNT FROM SYSTEMINI\nWHERE REC=:REC");
    IBQSysDefPut.ParamByName("REC").AsInteger(Row.REC);
    IBQSysDefPut.Open();
    const bool exists = IBQSysDefPut.FieldByName("RECCNT").AsInteger() > 0;
    if (exists) {
      SetSql(IBQSysDefPut,
              "UPDATE SYSTEMINI SET RESERVE1=:RESERVE1,RESERVE2=:RESERVE2,RESERVE3=:RESERVE3,RESERVE4=:RESERVE4,"
              "RESERVE5=:RESERVE5,SSTR=:SSTR\nWHERE REC=:REC");
    } else {
      SetSql(IBQSysDefPut,
              "INSERT INTO SYSTEMINI(REC,RESERVE1,RESERVE2,RESERVE3,RESERVE4,RESERVE5,SSTR)\n"
              "VALUES(:REC,:RESERVE1,:RESERVE2,:RESERVE3,:RESERVE4,:RESERVE5,:SSTR)");
    }
    IBQSysDefPut.ParamByName("REC").AsInteger(Row.REC);
    IBQSysDefPut.ParamByName("RESERVE1").AsInteger(Row.RESERVE1);
    IBQSysDefPut.ParamByName("RESERVE2").AsInteger(Row.RESERVE2);
    IBQSysDefPut.ParamByName("RESERVE3").AsInteger(Row.RESERVE3);
    IBQSysDefPut.ParamByName("RESERVE4").AsInteger(Row.RESERVE4);
    IBQSysDefPut.ParamByName("RESERVE5").AsInteger(Row.RESERVE5);
    IBQSysDefPut.ParamByName("SSTR").AsString(Row.SSTR);
    IBQSysDefPut.ExecSQL();
    scope.Commit();
    return true;
  } catch (...) {
    IBQSysDefPut.Close();
    if (scope.WasActive()) throw;
    ReportCurrentException("TDM.SetSysIni", kMsgSysIniSet, true);
    scope.Rollback();
    return false;
  }
}

void TDataSetConnection::fnGetTusinId(std::int32_t Rec, std::int32_t Slot) {
  const auto slot = static_cast<std::size_t>(Slot);
  if (slot >= AccInf.TusinHolder.size()) return;
  AccInf.TusinHolder[slot].clear();
  AccInf.TusinPassword[slot].clear();
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    if (fnExistence_Table("TUSIN_ID")) {
      SetSql(IBQACC1, "SELECT REC,HOLDER,PASWORD FROM TUSIN_ID\nWHERE REC=:REC");
      IBQACC1.ParamByName("REC").AsInteger(Rec);
      for (IBQACC1.Open(); !IBQACC1.Eof(); IBQACC1.Next()) {
        AccInf.TusinHolder[slot] = IBQACC1.FieldByName("HOLDER").AsString();
        AccInf.TusinPassword[slot] = IBQACC1.FieldByName("PASWORD").AsString();
      }
      IBQACC1.Close();
    }
    scope.Commit();
  } catch (...) {
    IBQACC1.Close();
    scope.CommitQuietly();
    throw;
  }
}

void TDataSetConnection::DeleteOpInf() {
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(IBQACC1, "DELETE FROM OPINF");
    IBQACC1.ExecSQL();
    scope.Commit();
  } catch (...) {
    IBQACC1.Close();
    scope.Rollback();
    throw;
  }
}

// The question is whether one such row exists, so it is asked of the journal
// table itself (the views only add columns of other tables to every row) and
// ends at the first row found: through the index on LINKKUB that takes no
// look at the other rows.
bool TDataSetConnection::ExistsLinkKub9Siwake(std::int32_t Mode, std::int32_t Kind) {
  static const char* const kTables[] = {"SIWAKE", "KAKOSIWAKE1", "KAKOSIWAKE2"};
  if (Kind < 0 || Kind > 2) return false;
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    std::string sql = std::string("SELECT FIRST 1 SWKREC FROM ") + kTables[Kind] +
                      "\nWHERE (LINKKUB=:LINKKUB) AND (DELFLG=0) AND (TAISHAKU=1)";
    if (Mode == 1) sql += "\nAND (MNUM=16)";
    SetSql(IBQACC1, sql);
    IBQACC1.ParamByName("LINKKUB").AsInteger(9);
    IBQACC1.Open();
    const bool found = !IBQACC1.Eof();
    IBQACC1.Close();
    scope.Commit();
    return found;
  } catch (...) {  // unreadable: as if there were no such lines
    IBQACC1.Close();
    scope.CommitQuietly();
    return false;
  }
}

std::int32_t TDataSetConnection::TaxDefUHForExport(std::int32_t Value, std::int32_t, std::int32_t) { return Value; }

std::int32_t TDataSetConnection::TaxDefUHForCalc(std::int32_t Value, std::int32_t, std::int32_t) { return Value; }

std::int32_t TDataSetConnection::TaxDefUHWithLinkSiwake(std::int32_t Value, std::int32_t Mode, std::int32_t Kind) {
  if (Value != 0) return Value;
  return ExistsLinkKub9Siwake(Mode, Kind) ? 1 : 0;
}

void TSystemStore::fnLoadGengo() {
  GengoTable.clear();
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(IBSQLDEF, "SELECT COUNT(*) AS RECCNT FROM GENGO");
    IBSQLDEF.ExecQuery();
    const int count = IBSQLDEF.FieldByName("RECCNT").AsInteger();
    IBSQLDEF.Close();
    TGengoArray table;
    table.reserve(static_cast<std::size_t>(count));
    SetSql(IBSQLDEF, "SELECT GNAME,GSIGN,STARTDATE,YEAROFFSET FROM GENGO\nORDER BY YEAROFFSET DESC");
    for (IBSQLDEF.ExecQuery(); !IBSQLDEF.Eof() && static_cast<int>(table.size()) < count; IBSQLDEF.Next()) {
      TGengoRec era;
      era.Name = IBSQLDEF.FieldByName("GNAME").AsTrimString();
      era.ShortName = IBSQLDEF.FieldByName("GSIGN").AsTrimString();
      era.StartDate = IBSQLDEF.FieldByName("STARTDATE").AsDateTime();
      era.StartYear = IBSQLDEF.FieldByName("YEAROFFSET").AsInteger();
      table.push_back(era);
    }
    IBSQLDEF.Close();
    scope.Commit();
    GengoTable = std::move(table);
  } catch (...) {  // unreadable: the built-in era table below stands in
    IBSQLDEF.Close();
    scope.CommitQuietly();
  }
  if (GengoTable.empty()) BuildGengoTable();
}

void TSystemStore::fnGetSysVersion() {
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(IBSQLDEF, "SELECT MAJOR,MINOR1,MINOR2 FROM VERSION\nORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
    IBSQLDEF.ExecQuery();
    if (!IBSQLDEF.Eof()) {
      SystemDef.SysVerMajor = IBSQLDEF.FieldByName("MAJOR").AsInteger();
      SystemDef.SysVerMinor1 = IBSQLDEF.FieldByName("MINOR1").AsInteger();
      SystemDef.SysVerMinor2 = IBSQLDEF.FieldByName("MINOR2").AsInteger();
    }
    IBSQLDEF.Close();
    scope.Commit();
  } catch (...) {  // unreadable: the version reads 0.0.0
    IBSQLDEF.Close();
    scope.CommitQuietly();
    SystemDef.SysVerMajor = SystemDef.SysVerMinor1 = SystemDef.SysVerMinor2 = 0;
  }
}

void TSystemStore::fnGetStyleColor(std::int32_t OpCode, const std::string& StyleName, std::string& Text) {
  Text.clear();
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(IBSQLDEF, "SELECT SSTR FROM STYLECOLOR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    IBSQLDEF.ParamByName("OPCODE").AsInteger(OpCode);
    IBSQLDEF.ParamByName("STYLENAME").AsString(StyleName);
    for (IBSQLDEF.ExecQuery(); !IBSQLDEF.Eof(); IBSQLDEF.Next()) Text = IBSQLDEF.FieldByName("SSTR").AsString();
    IBSQLDEF.Close();
    scope.Commit();
  } catch (...) {  // unreadable: Text stays empty, as when none is stored
    IBSQLDEF.Close();
    scope.Rollback();
  }
}

void TSystemStore::fnPutStyleColor(std::int32_t OpCode, const std::string& StyleName, const std::string& Text) {
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(IBSQLDEF, "SELECT COUNT(OPCODE) AS RECCNT FROM STYLECOLOR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    IBSQLDEF.ParamByName("OPCODE").AsInteger(OpCode);
    IBSQLDEF.ParamByName("STYLENAME").AsString(StyleName);
    IBSQLDEF.ExecQuery();
    const bool exists = IBSQLDEF.FieldByName("RECCNT").AsInteger() > 0;
    IBSQLDEF.Close();
    if (exists) {
      SetSql(IBSQLDEF,
              "UPDATE STYLECOLOR SET OPCODE=:OPCODE,STYLENAME=:STYLENAME,LINECOLOR1=:LINECOLOR1,LINECOLOR2=:LINECOLOR2,"
              "LINECOLOR3=:LINECOLOR3,LINECOLOR4=:LINECOLOR4,LINECOLOR5=:LINECOLOR5,NETCOLOR1=:NETCOLOR1,"
              "NETCOLOR2=:NETCOLOR2,SSTR=:SSTR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    } else {
      SetSql(IBSQLDEF,
              "INSERT INTO STYLECOLOR(OPCODE,STYLENAME,LINECOLOR1,LINECOLOR2,LINECOLOR3,LINECOLOR4,LINECOLOR5,"
              "NETCOLOR1,NETCOLOR2,SSTR)\nVALUES(:OPCODE,:STYLENAME,:LINECOLOR1,:LINECOLOR2,:LINECOLOR3,:LINECOLOR4,"
              ":LINECOLOR5,:NETCOLOR1,:NETCOLOR2,:SSTR)");
    }
    IBSQLDEF.ParamByName("OPCODE").AsInteger(OpCode);
    IBSQLDEF.ParamByName("STYLENAME").AsString(StyleName);
    for (const char* column : {"LINECOLOR1", "LINECOLOR2", "LINECOLOR3", "LINECOLOR4", "LINECOLOR5", "NETCOLOR1",
                               "NETCOLOR2"})
      IBSQLDEF.ParamByName(column).AsInteger(-1);
    IBSQLDEF.ParamByName("SSTR").AsString(Text);
    IBSQLDEF.ExecQuery();
    IBSQLDEF.Close();
    scope.Commit();
  } catch (...) {  // saving the style is best effort
    IBSQLDEF.Close();
    scope.Rollback();
  }
}

void TSystemStore::ParseDataFolder(const std::string& Path, std::string& First, std::string& Second) {
  First.clear();
  Second.clear();
  const std::vector<std::string> elements = SplitString(RemoveAllSpaces(Path), '/');
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const std::string name = UpperCase(elements[i]);
    if (name != "DATA" && name != "CB_DATA") continue;
    if (i + 1 < elements.size()) First = elements[i + 1];
    if (i + 2 < elements.size()) Second = elements[i + 2];
    return;
  }
}

void TSystemStore::fnFindDataListRec(const std::string& Path, std::int32_t& Rec, std::int32_t& Child) {
  Rec = 0;
  Child = 0;
  if (Trim(Path).empty()) return;
  if (ConnectKind == 0) {
    std::string first, second;
    ParseDataFolder(Path, first, second);
    Rec = StrToIntDef(first, 0);
    Child = StrToIntDef(second, 0);
    return;
  }
  if (ConnectKind != 1 && ConnectKind != 2) return;
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    Rec = TDataListTable(IBSQLDEF).FindNumberInGroup(Path);
    scope.Commit();
  } catch (...) {  // unreadable: not found, Rec stays 0
    IBSQLDEF.Close();
    scope.CommitQuietly();
  }
}

std::int32_t TDataSetConnection::VerifyData(const std::string& Host, const std::string& Folder, std::int32_t Silent,
                                            std::int32_t Force) {
  if (Force != 1 && SystemDef.DataCheckMode != 1) return 1;
  if (!VerifyDataProc) return 1;
  std::int32_t result = 1;
  VerifyDataProc(Host, Folder, Silent, result);
  return result;
}

bool TDataSetConnection::CheckDataPassword() {
  if (AppKind == 1 || AppKind == 3 || AccInf.DataPassword.empty()) return true;
  TInputDlgRequest request;
  request.InputMode = 1;
  request.Caption = "パスワードの確認";
  request.Message = "パスワードを入力して下さい。";
  request.MessageColor = kWindowTextColor;
  request.MaxLength = 8;
  request.ImeMode = 0;
  request.InputFilter = 30;
  request.Hint =
      "パスワード(英数字8文字以内)を入力し、[OK]ボタンを押して下さい。3回続けて失敗すると「データ選択」画面に戻ります。";
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) {
      request.Message = "正しいパスワードを入力して下さい。";
      request.MessageColor = kRedColor;
    }
    request.InputText.clear();
    if (DbInputDialog(request) != kModalOk) return false;
    if (TrimZen(request.InputText) == AccInf.DataPassword) return true;
  }
  return false;
}

void TDM::TimerFormCloseTimer() {
  TimerFormClose.Enabled = false;
  if (TimerFormClose.Tag != 0) {
    const std::intptr_t window = TimerFormClose.Tag;
    TimerFormClose.Tag = 0;
    if (DbUi.PostClose) DbUi.PostClose(window);
  }
}

void TDM::TimerSyoriKidouTimer() {
  TimerSyoriKidou.Enabled = false;
  if (StartProcessProc) StartProcessProc(KidouFormName, KidouModal, KidouParams);
  KidouFormName.clear();
  KidouParams.clear();
  KidouModal = 0;
}

void TSystemStore::GetParamValue(const std::string& Text, const std::string& Name, std::string& Value) {
  Value.clear();
  TIBStrings lines;
  lines.SetText(Text);
  for (const std::string& line : lines.Lines()) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (SameText(line.substr(0, eq), Name)) {
      Value = line.substr(eq + 1);
      return;
    }
  }
}

bool TDataSetConnection::CanUseCloudShare(bool Strict) {
  if (OemKind != 0) return false;
  if (!((AppKind == 0 || AppKind == 2) && ConnectKind != 2)) return false;
  return !(Strict && AppKind == 2);
}

bool TDataSetConnection::IsCloudData() { return AppKind == 1 || AppKind == 2 || AccInf.CloudData == 1; }
