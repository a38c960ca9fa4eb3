#include "dbaccess/codesystem.h"

#include <fstream>
#include <sstream>

#include "core/appinfo.h"
#include "core/globals.h"
#include "dbaccess/dbui.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

namespace {

// The list (0 = INIDAT1) a line of the given kind is kept in; -1: ignored.
int ListOfKind(int Kind) {
  if (Kind >= 1 && Kind <= 8) return Kind - 1;
  if (Kind == 21 || Kind == 22) return 1;
  if (Kind >= 31 && Kind <= 34) return 2;
  if (Kind == 71) return 6;
  return -1;
}

std::vector<std::string> ReadLines(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  if (!in) throw Exception(Format("ファイル %s を開くことができません。", FileName));
  std::stringstream s;
  s << in.rdbuf();
  std::vector<std::string> lines;
  std::istringstream text(Cp932ToUtf8(s.str()));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  return text;
}

}  // namespace

TCodeTaikeiIO::TCodeTaikeiIO() {
  sql_.SetDatabase(&SystemStore().IBDatabaseDEF);
  sql_.SetTransaction(&SystemStore().IBTransactionDEF);
  query_.SetDatabase(&SystemStore().IBDatabaseDEF);
  query_.SetTransaction(&SystemStore().IBTransactionDEF);
  FormatText = Format("%d.%d", FormatMajor, FormatMinor);
  KubunSyufuku();
}

TCodeTaikeiRec2 TCodeTaikeiIO::ParseLines(const std::vector<std::string>& Lines, std::int32_t RecNo) {
  TCodeTaikeiRec2 rec;
  rec.RECNO = RecNo;
  split_.Delimiter = ',';
  for (const std::string& line : Lines) {
    split_.Split(line);
    const int kind = StrToIntDef(Trim(split_.Item(0)), 0);
    const int list = ListOfKind(kind);
    if (list < 0) continue;
    rec.INIDAT[static_cast<std::size_t>(list)].push_back(line);
    if (kind == 1) {
      rec.NAME = split_.Item(1);
      rec.DATATYPE = StrToIntDef(Trim(split_.Item(2)), 0);
      rec.CODETYPE = StrToIntDef(Trim(split_.Item(3)), 0);
      if (split_.Count >= 6) rec.ProductMark = split_.Item(5);
    }
  }
  return rec;
}

bool TCodeTaikeiIO::ImportCodeFile(const std::string& FileName, std::int32_t RecNo) {
  const TCodeTaikeiRec2 rec = ParseLines(ReadLines(FileName), RecNo);
  std::string message;
  if (!CheckProductMark(rec.ProductMark, message)) {
    DbShowMessage(message, kMsgInformation);
    return false;
  }
  return UpDateRecored(rec);
}

bool TCodeTaikeiIO::CheckProductMark(const std::string& Mark, std::string& Message) const {
  Message.clear();
  const std::string expected = AppInfo.OEM + AppInfo.VerTest;
  bool accepted;
  if (OemKind == 0)
    accepted = Mark.empty() || Mark == expected;
  else if (OemKind == 1 || OemKind == 2)
    accepted = Mark == expected;
  else
    return false;
  if (!accepted)
    Message = "このプログラムでは、該当のデータ（製品区分）を処理することが出来ません。" + AppInfo.AppTitle +
              "以外で作成されたデータの可能性があります。";
  return accepted;
}

bool TCodeTaikeiIO::UpDateRecored(const TCodeTaikeiRec2& Rec) {
  if (Rec.NAME.empty() || Rec.DATATYPE == 0 || Rec.CODETYPE == 0) return false;
  TTransactionGuard transaction(SystemStore().IBTransactionDEF);
  try {
    transaction.Begin();
    SetSql(query_, 
        "UPDATE USERCODE SET NAME=:NAME,DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,\n"
        "INIDAT1=:INIDAT1,INIDAT2=:INIDAT2,INIDAT3=:INIDAT3,INIDAT4=:INIDAT4,INIDAT5=:INIDAT5,INIDAT6=:INIDAT6,"
        "INIDAT7=:INIDAT7,INIDAT8=:INIDAT8\nWHERE RECNO=:RECNO");
    query_.ParamByName("NAME").AsString(Rec.NAME);
    query_.ParamByName("DATATYPE").AsInteger(Rec.DATATYPE);
    query_.ParamByName("CODETYPE").AsInteger(Rec.CODETYPE);
    for (int n = 1; n <= 8; ++n)
      query_.ParamByName(Format("INIDAT%d", n)).AsString(JoinLines(Rec.INIDAT[static_cast<std::size_t>(n - 1)]));
    query_.ParamByName("RECNO").AsInteger(Rec.RECNO);
    query_.ExecSQL();
    transaction.Commit();
    return true;
  } catch (...) {
    query_.Close();
    ReportCurrentException("TCodeTaikeiIO.UpDateRecored", "コード体系の更新に失敗しました。", true);
    transaction.Rollback();
    return false;
  }
}

void TCodeTaikeiIO::KubunSyufuku() {
  TTransactionGuard transaction(SystemStore().IBTransactionDEF);
  try {
    transaction.Begin();
    SetSql(query_, "SELECT RECNO,INIDAT1 FROM USERCODE\nWHERE DATATYPE=1 AND CODETYPE=1");
    struct TFix {
      std::int32_t recNo, dataType, codeType;
    };
    std::vector<TFix> fixes;
    for (query_.Open(); !query_.Eof(); query_.Next()) {
      split_.Delimiter = ',';
      split_.Split(query_.FieldByName("INIDAT1").AsString());
      const std::int32_t dataType = StrToIntDef(Trim(split_.Item(2)), 0);
      const std::int32_t codeType = StrToIntDef(Trim(split_.Item(3)), 0);
      // Only a header that names a real data type may change the row.
      if (dataType != 1 && dataType > 0) fixes.push_back({query_.FieldByName("RECNO").AsInteger(), dataType, codeType});
    }
    query_.Close();
    for (const TFix& fix : fixes) {
      SetSql(sql_, "UPDATE USERCODE SET DATATYPE=:DATATYPE,CODETYPE=:CODETYPE\nWHERE RECNO=:RECNO");
      sql_.ParamByName("DATATYPE").AsInteger(fix.dataType);
      sql_.ParamByName("CODETYPE").AsInteger(fix.codeType);
      sql_.ParamByName("RECNO").AsInteger(fix.recNo);
      sql_.ExecQuery();
      sql_.Close();
    }
    transaction.Commit();
  } catch (...) {
    query_.Close();
    sql_.Close();
    ReportCurrentException("TCodeTaikeiIO.KubunSyufuku", "コード体系の区分修復に失敗しました。", true);
    transaction.Rollback();
  }
}
