#include "dataselect/datakensaku.h"

#include <array>
#include <exception>

#include "core/globals.h"
#include "core/sjis.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/iberror.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

// Stored code -> grid column.
constexpr std::array<std::int32_t, 7> kCodeColumns = {0, 3, 4, 5, 6, 7, 1};

const char* const kSelectSql =
    "SELECT JYOKENUSE,DATATYPE,CODETYPE,DATACODE,DATANAME,TANTO,DATAVER,SEIHINNAME,SORTCOL,SORTTYPE FROM KENSAKUJYOKEN "
    "WHERE (OPCODE=:OPCODE)AND(LISTTYPE=:LISTTYPE)";
const char* const kInsertSql =
    "INSERT INTO KENSAKUJYOKEN(OPCODE,LISTTYPE,JYOKENUSE,DATATYPE,CODETYPE,DATACODE,DATANAME,TANTO,DATAVER,SEIHINNAME,"
    "SORTCOL,SORTTYPE)"
    "VALUES(:OPCODE,:LISTTYPE,:JYOKENUSE,:DATATYPE,:CODETYPE,:DATACODE,:DATANAME,:TANTO,:DATAVER,:SEIHINNAME,:SORTCOL,"
    ":SORTTYPE)";
const char* const kUpdateSql =
    "UPDATE KENSAKUJYOKEN"
    " SET JYOKENUSE=:JYOKENUSE,DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,DATACODE=:DATACODE,DATANAME=:DATANAME,TANTO=:TANTO,"
    "DATAVER=:DATAVER,SEIHINNAME=:SEIHINNAME,SORTCOL=:SORTCOL,SORTTYPE=:SORTTYPE"
    " WHERE (OPCODE=:OPCODE)AND(LISTTYPE=:LISTTYPE)";
const char* const kUpdateSortSql =
    "UPDATE KENSAKUJYOKEN"
    " SET SORTCOL=:SORTCOL,SORTTYPE=:SORTTYPE"
    " WHERE (OPCODE=:OPCODE)AND(LISTTYPE=:LISTTYPE)";

void Bind(TIBSQL& q, const char* name, std::int32_t value) {
  if (TIBXSQLVAR* p = q.FindParam(name)) p->AsInteger(value);
}
void Bind(TIBSQL& q, const char* name, const std::string& value) {
  if (TIBXSQLVAR* p = q.FindParam(name)) p->AsString(value);
}

void BindAll(TIBSQL& q, const TDataKensakuRec& r) {
  Bind(q, "OPCODE", r.OPCODE);
  Bind(q, "LISTTYPE", r.LISTTYPE);
  Bind(q, "JYOKENUSE", r.JYOKENUSE);
  Bind(q, "DATATYPE", r.DATATYPE);
  Bind(q, "CODETYPE", r.CODETYPE);
  Bind(q, "DATACODE", r.DATACODE);
  Bind(q, "DATANAME", r.DATANAME);
  Bind(q, "TANTO", r.TANTO);
  Bind(q, "DATAVER", r.DATAVER);
  Bind(q, "SEIHINNAME", r.SEIHINNAME);
  Bind(q, "SORTCOL", KensakuCodeOfGridColumn(r.SORTCOL));
  Bind(q, "SORTTYPE", r.SORTTYPE);
}

// Runs Body on the system database's transaction; a transaction started here
// is committed, or rolled back with the failure reported.
bool RunOnDef(const char* Location, const char* Message, const std::function<void(TIBSQL&)>& Body) {
  if (!DataModuleExists()) return false;
  TIBSQL q;
  q.SetDatabase(&SystemStore().IBDatabaseDEF);
  q.SetTransaction(&SystemStore().IBTransactionDEF);
  TTransactionGuard transaction(SystemStore().IBTransactionDEF);
  try {
    transaction.Begin();
    Body(q);
    q.Close();
    transaction.Commit();
    return true;
  } catch (const EIBError& e) {
    if (transaction.WasActive()) throw;
    q.Close();
    transaction.Rollback();
    ShowFbError(e, Location, Message, true);
  } catch (const std::exception& e) {
    if (transaction.WasActive()) throw;
    q.Close();
    transaction.Rollback();
    ShowErrorDetail(Message, e.what(), kMsgError);
  }
  return false;
}

// "%d.%d" of a version text; one part gives minor 0. False when not numeric.
bool SplitVersion(const std::string& Text, std::int32_t& Major, std::int32_t& Minor) {
  const std::size_t dot = Text.find('.');
  Major = StrToIntDef(Trim(Text.substr(0, dot)), -1);
  Minor = dot == std::string::npos ? 0 : StrToIntDef(Trim(Text.substr(dot + 1)), -1);
  return Major >= 0 && Minor >= 0;
}

std::string Folded(const std::string& Text) { return ZenUpperCase(LCMapText(LCMAP_FULLWIDTH, Text)); }

}  // namespace

std::int32_t KensakuGridColumnOfCode(std::int32_t Code) {
  return Code >= 0 && Code < static_cast<std::int32_t>(kCodeColumns.size()) ? kCodeColumns[Code] : 0;
}

std::int32_t KensakuCodeOfGridColumn(std::int32_t Column) {
  for (std::size_t i = 0; i < kCodeColumns.size(); ++i)
    if (kCodeColumns[i] == Column) return static_cast<std::int32_t>(i);
  return 0;
}

void ClearKensakuFilters(TDataKensakuRec& Rec) {
  Rec.JYOKENUSE = 0;
  Rec.DATATYPE = 0;
  Rec.CODETYPE = 0;
  Rec.DATACODE.clear();
  Rec.DATANAME.clear();
  Rec.TANTO = 0;
  Rec.DATAVER.clear();
  Rec.SPARE1.clear();
  Rec.SEIHINNAME.clear();
  Rec.VERCOMPARE = 0;
}

void ResetKensakuCondition(TDataKensakuRec& Rec, std::int32_t ListType) {
  Rec = TDataKensakuRec{};
  Rec.OPCODE = SystemDef.OpCode;
  Rec.LISTTYPE = ListType;
}

bool KensakuSelectRecord(TDataKensakuRec& Rec) {
  ResetKensakuCondition(Rec, Rec.LISTTYPE);
  const TDataKensakuRec reset = Rec;
  const bool ok = RunOnDef("TDataListKensakuBox.SelectRecord", "検索条件レコードの参照に失敗しました。", [&](TIBSQL& q) {
    q.SQL.SetText(kSelectSql);
    BindAll(q, Rec);
    bool found = false;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
      found = true;
      Rec.JYOKENUSE = q.FieldByName("JYOKENUSE").AsInteger();
      Rec.DATATYPE = q.FieldByName("DATATYPE").AsInteger();
      Rec.CODETYPE = q.FieldByName("CODETYPE").AsInteger();
      Rec.DATACODE = q.FieldByName("DATACODE").AsString();
      Rec.DATANAME = q.FieldByName("DATANAME").AsString();
      Rec.TANTO = q.FieldByName("TANTO").AsInteger();
      Rec.DATAVER = q.FieldByName("DATAVER").AsString();
      Rec.SEIHINNAME = q.FieldByName("SEIHINNAME").AsString();
      Rec.SORTCOL = KensakuGridColumnOfCode(q.FieldByName("SORTCOL").AsInteger());
      Rec.SORTTYPE = q.FieldByName("SORTTYPE").AsInteger();
    }
    q.Close();
    if (!found) {
      q.SQL.SetText(kInsertSql);
      BindAll(q, Rec);
      q.ExecQuery();
    q.Close();
    }
  });
  if (!ok) Rec = reset;
  return ok;
}

bool KensakuUpdateRecord(const TDataKensakuRec& Rec) {
  return RunOnDef("TDataListKensakuBox.UpdateRecord", "検索条件レコードの更新に失敗しました。", [&](TIBSQL& q) {
    q.SQL.SetText(kUpdateSql);
    BindAll(q, Rec);
    q.ExecQuery();
    q.Close();
  });
}

bool KensakuUpdateRecordSortField(const TDataKensakuRec& Rec) {
  return RunOnDef("TDataListKensakuBox.UpdateRecordSortField", "検索条件レコードの更新に失敗しました。",
                  [&](TIBSQL& q) {
                    q.SQL.SetText(kUpdateSortSql);
                    BindAll(q, Rec);
                    q.ExecQuery();
    q.Close();
                  });
}

bool KensakuPasses(const TDataKensakuRec& Cond, const TDataListRec& Rec) {
  const std::int32_t d = Cond.DATATYPE, c = Cond.CODETYPE;
  if (d > 0 && c != 0) {
    if (Format("%d%d", d, c) != Format("%d%d", Rec.DataType, Rec.CodeType)) return false;
  } else if (d > 0) {
    if (Rec.DataType != d) return false;
  } else if (d == -13) {
    if (Rec.DataType != 1 && Rec.DataType != 3) return false;
  }
  if (!Cond.DATANAME.empty() && Folded(Rec.EntText).find(Folded(Cond.DATANAME)) == std::string::npos) return false;
  if (Cond.TANTO != 0 && Cond.TANTO != Rec.Tantou) return false;
  if (!Cond.DATAVER.empty()) {
    std::int32_t m = 0, n = 0;
    if (!SplitVersion(Cond.DATAVER, m, n)) return false;
    switch (Cond.VERCOMPARE) {
      case 1:
        if (Rec.VerMajor != m) return false;
        break;
      case 2:
        if (Rec.VerMajor < m || (Rec.VerMajor == m && Rec.VerMinor1 < n)) return false;
        break;
      default:
        if (Format("%d.%d", Rec.VerMajor, Rec.VerMinor1) != Cond.DATAVER) return false;
    }
  }
  const std::string code = Trim(Cond.DATACODE);
  if (!code.empty() && UpperCase(code) != UpperCase(FixLen(Rec.DataCode, static_cast<int>(code.size())))) return false;
  return true;
}
