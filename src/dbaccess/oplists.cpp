#include "dbaccess/oplists.h"

#include <array>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

// A name as a grid cell: double quotes become single quotes.
std::string Cell(const std::string& Text) { return StringReplaceAll(Text, "\"", "'"); }

// Runs Body in Transaction (started when not active); on an error the
// failure is reported and the transaction committed only when it was started
// here; Rethrow passes the error on afterwards.
template <typename Body>
void InTransaction(TIBTransaction& Transaction, const char* Location, const char* Message, bool Rethrow, Body body) {
  TTransactionGuard guard(Transaction);
  try {
    guard.Begin();
    body();
    guard.Commit();
  } catch (...) {
    if (!guard.WasActive()) {
      ReportCurrentException(Location, Message, true);
      guard.CommitQuietly();
    }
    if (Rethrow) throw;
  }
}

}  // namespace

// ---- TUserList -----------------------------------------------------------------

TUserList::TUserList() {
  transaction_.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  transaction_.SetDefaultDatabase(&SystemStore().IBDatabaseDEF);
  sqlDef_.SetDatabase(&SystemStore().IBDatabaseDEF);
  sqlDef_.SetTransaction(&transaction_);
  sqlDat_.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  sqlDat_.SetTransaction(&transaction_);
}

TUserList::~TUserList() {
  sqlDef_.Close();
  sqlDat_.Close();
  if (transaction_.InTransaction()) {
    try {
      transaction_.Commit();
    } catch (...) {  // the commit failed: undone instead (a destructor must not throw)
      transaction_.Rollback();
    }
  }
}

void TUserList::Clear() {
  entries_.clear();
  lines_.clear();
  Count = 0;
}

void TUserList::Execute() {
  Clear();
  if (!FirstEntry.empty()) {
    TUserListRec first;
    first.GROUPID = GroupId;
    first.OPNAME = FirstEntry;
    first.JOBLEVEL = 9;
    entries_.push_back(first);
    lines_.push_back(TabForm ? Format("\"%s\"\t\"%s\"", Cell(FirstEntry), "") : FirstEntry);
  }
  TIBTransaction& transaction = *sqlDef_.Transaction();
  InTransaction(transaction, "TUserList.Execute", "ユーザーリストの取得に失敗しました。", false, [&] {
    const std::string where =
        std::string("WHERE (O.GROUPID=:GROUPID) AND (O.OPCODE>=10)") + (ApproversOnly ? "\nAND (SHONIN>0)" : "");
    SetSql(sqlDef_, "SELECT COUNT(O.GROUPID) AS RECCNT FROM OPERATOR O\n"
                    "INNER JOIN LEVELNAME L ON (O.JOBLEVEL=L.LEVELNO)\n" + where);
    sqlDef_.ParamByName("GROUPID").AsInteger(GroupId);
    sqlDef_.ExecQuery();
    const std::int32_t count = sqlDef_.Eof() ? 0 : sqlDef_.FieldByName("RECCNT").AsInteger();
    sqlDef_.Close();
    if (count == 0) return;
    const std::string full =
        "SELECT O.GROUPID,O.OPCODE,O.OPNAME,O.JOBLEVEL,L.NAME,O.PASWORD,O.DATAPAS,O.JIMUSHO,O.OKINIIRI,O.KANSA,"
        "O.MYNUMBER_ADM,O.SHONIN\n";
    const std::string older =
        "SELECT O.GROUPID,O.OPCODE,O.OPNAME,O.JOBLEVEL,L.NAME,O.PASWORD,O.DATAPAS,O.JIMUSHO,O.OKINIIRI,O.KANSA,"
        "0 AS MYNUMBER_ADM,0 AS SHONIN\n";
    const std::string rest = "FROM OPERATOR O\nINNER JOIN LEVELNAME L ON (O.JOBLEVEL=L.LEVELNO)\n";
    // Older databases lack MYNUMBER_ADM and SHONIN.
    for (int attempt = 1;; ++attempt) {
      try {
        if (attempt == 1)
          SetSql(sqlDef_, full + rest + where + "\nORDER BY O.OPCODE");
        else
          SetSql(sqlDef_, older + rest + "WHERE (O.GROUPID=:GROUPID) AND (O.OPCODE>=10)\nORDER BY O.OPCODE");
        sqlDef_.ParamByName("GROUPID").AsInteger(GroupId);
        sqlDef_.ExecQuery();
        break;
      } catch (...) {
        sqlDef_.Close();
        if (attempt >= 4) throw Exception("OPERATORテーブル参照クエリーの作成エラー");
      }
    }
    entries_.reserve(entries_.size() + static_cast<std::size_t>(count));
    for (; !sqlDef_.Eof(); sqlDef_.Next()) {
      TUserListRec rec;
      rec.GROUPID = sqlDef_.FieldByName("GROUPID").AsInteger();
      rec.OPCODE = sqlDef_.FieldByName("OPCODE").AsInteger();
      rec.OPNAME = sqlDef_.FieldByName("OPNAME").AsTrimString();
      rec.PASWORD = sqlDef_.FieldByName("PASWORD").AsTrimString();
      rec.JOBLEVEL = sqlDef_.FieldByName("JOBLEVEL").AsInteger();
      rec.NAME = sqlDef_.FieldByName("NAME").AsTrimString();
      rec.JIMUSHO = sqlDef_.FieldByName("JIMUSHO").AsInteger() != 0;
      rec.OKINIIRI = sqlDef_.FieldByName("OKINIIRI").AsInteger() != 0;
      rec.MYNUMBER_ADM = sqlDef_.FieldByName("MYNUMBER_ADM").AsInteger() != 0;
      rec.SHONIN = sqlDef_.FieldByName("SHONIN").AsInteger() != 0;
      entries_.push_back(rec);
      lines_.push_back(TabForm ? Format("\"%d\"\t\"%s\"", rec.OPCODE, Cell(rec.OPNAME))
                               : Format("%d:%s", rec.OPCODE, rec.OPNAME));
    }
    sqlDef_.Close();
  });
  sqlDef_.Close();
  Count = static_cast<std::int32_t>(lines_.size());
}

std::int32_t TUserList::GetOpCode(std::int32_t Index) const {
  if (Index < 0 || Index >= Count) return 0;
  return entries_[static_cast<std::size_t>(Index)].OPCODE;
}

std::string TUserList::GetText() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}

std::int32_t TUserList::IndexOfOpCode(std::int32_t OpCode) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].OPCODE == OpCode) return static_cast<std::int32_t>(i);
  return -1;
}

void TUserList::SetTransaction(TIBTransaction* Transaction, std::int32_t Which) {
  if (Which == -1) {
    sqlDef_.SetTransaction(&transaction_);
    sqlDat_.SetTransaction(&transaction_);
  } else if (Which == 0) {
    sqlDef_.SetTransaction(Transaction);
  } else {
    sqlDat_.SetTransaction(Transaction);
  }
}

// ---- TLoginUserList -------------------------------------------------------------

std::int32_t TLoginUserList::GetOpCode(std::int32_t Index) const {
  if (Index < 0 || Index >= Count) return 0;
  return entries_[static_cast<std::size_t>(Index)].OPERATORCODE;
}

void TLoginUserList::GetOpName(std::int32_t Index, std::string& Name) const {
  Name.clear();
  if (Index >= 0 && Index < Count) Name = entries_[static_cast<std::size_t>(Index)].OPNAME;
}

void TLoginUserList::Clear() {
  entries_.clear();
  lines_.clear();
  Count = 0;
  OwnOpCode = 0;
}

TLoginUserListOnDef::TLoginUserListOnDef() {
  sql_.SetDatabase(&SystemStore().IBDatabaseDEF);
  sql_.SetTransaction(&SystemStore().IBTransactionDEF);
}

void TLoginUserListOnDef::Execute(std::int32_t Group, std::int32_t OwnOp, bool Self) {
  Clear();
  GroupId = Group;
  OwnOpCode = OwnOp;
  IncludeSelf = Self;
  InTransaction(SystemStore().IBTransactionDEF, "TLoginUserListOnDef.Execute", "ログインユーザーリストの取得に失敗しました。",
                true, [&] {
                  std::string sql =
                      "SELECT L.OPERATORCODE,L.PCNAME,O.OPNAME FROM LOGONUSERLIST L\n"
                      "INNER JOIN OPERATOR O ON(L.GROUPID=O.GROUPID AND L.OPERATORCODE=O.OPCODE)\n"
                      "WHERE L.GROUPID=:GROUPID\n";
                  if (!IncludeSelf) sql += "AND L.OPCODE<>:OPCODE\n";
                  sql += "GROUP BY L.OPERATORCODE,L.PCNAME,O.OPNAME\nORDER BY L.OPERATORCODE";
                  SetSql(sql_, sql);
                  sql_.ParamByName("GROUPID").AsInteger(GroupId);
                  if (!IncludeSelf) sql_.ParamByName("OPCODE").AsInteger(OwnOpCode);
                  for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) {
                    TLoginUserListRec rec;
                    rec.OPERATORCODE = sql_.FieldByName("OPERATORCODE").AsInteger();
                    rec.PCNAME = sql_.FieldByName("PCNAME").AsTrimString();
                    rec.OPNAME = sql_.FieldByName("OPNAME").AsTrimString();
                    entries_.push_back(rec);
                    lines_.push_back(Format("%d:%s", rec.OPERATORCODE, rec.OPNAME));
                  }
                  sql_.Close();
                });
  Count = static_cast<std::int32_t>(lines_.size());
}
