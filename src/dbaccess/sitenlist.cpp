// TSitenList: the whole-company entry, branch groups, medical divisions and
// branches an operator may choose in the connected data set.
#include <array>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "dbaccess/oplists.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

std::string Cell(const std::string& Text) { return StringReplaceAll(Text, "\"", "'"); }

// "All of the set's branches are licensed to :OPCODE" over the rows of S.
constexpr const char* kPermitAll =
    "CASE WHEN MIN(CASE WHEN S.SCODE IN (SELECT SCODE FROM OPLICENSE WHERE OPCODE=:OPCODE) THEN 1\n"
    "ELSE 0\n"
    "END)=1 THEN 1\n"
    "       ELSE 0 END AS PERMIT\n";

struct TDivision {
  std::int32_t Bit;
  const char* Name;
};
constexpr std::array<TDivision, 4> kDivisions = {{
    {8, "病院・診療所"}, {4, "老人保健施設"}, {2, "指定訪問看護"}, {1, "その他の事業"}}};

std::string WholeCompanyName() {
  if (AccInf.SITEN == 0) return AccInf.SHOUGOU;
  static const std::array<const char*, 4> names = {"", "法人全体", "総体", "法人全体"};
  return AccInf.DATATYPE >= 1 && AccInf.DATATYPE <= 3 ? names[static_cast<std::size_t>(AccInf.DATATYPE)] : "";
}

}  // namespace

TSitenList::TSitenList() {
  sql_.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  sql_.SetTransaction(&DataSetConnection().IBTransactionDAT);
}

void TSitenList::Clear() {
  lines_.clear();
  entries_.clear();
  Count = 0;
  OpCode = 0;
}

void TSitenList::SetTransaction(TIBTransaction* Transaction) { sql_.SetTransaction(Transaction); }

void TSitenList::GetCode(std::int32_t Index, std::string& Code) const {
  Code.clear();
  if (Index >= 0 && Index < Count) Code = entries_[static_cast<std::size_t>(Index)].Code;
}

void TSitenList::Execute(std::int32_t Op) {
  TTransactionGuard transaction(*sql_.Transaction());
  try {
    transaction.Begin();
    if (AccInf.MedicalLayout)
      ExecuteMedical(Op);
    else
      ExecuteGeneral(Op);
    transaction.Commit();
  } catch (...) {
    sql_.Close();
    if (!transaction.WasActive()) {
      ReportCurrentException("TSitenList.Execute", "支店リストの取得に失敗しました。", true);
      transaction.CommitQuietly();
    }
    Count = static_cast<std::int32_t>(lines_.size());
    throw;
  }
  Count = static_cast<std::int32_t>(lines_.size());
}

bool TSitenList::Permits(const std::string& Sql) {
  SetSql(sql_, Sql);
  sql_.ParamByName("OPCODE").AsInteger(OpCode);
  sql_.ExecQuery();
  const bool permit = !sql_.Eof() && sql_.FieldByName("PERMIT").AsInteger() == 1;
  sql_.Close();
  return permit;
}

void TSitenList::AddWhole(const std::string& Name, std::int32_t Bumex) {
  TSitenListRec rec;
  rec.Code = " ";
  rec.Name = Name;
  rec.Kind = 0;
  rec.Bumex = Bumex;
  entries_.push_back(rec);
  lines_.push_back(TabForm ? Format("\"%s\"\t\"%s\"\t\"%s\"", Cell(Name), "", "") : Name);
}

void TSitenList::AddGroups(std::int32_t Kind) {
  if (OpCode == -1)
    SetSql(sql_, "SELECT G.GCODE,G.GNAME, 1 AS PERMIT\nFROM SISETUGROUPLIST S\n"
                 "INNER JOIN SISETUGROUP G ON (S.GCODE=G.GCODE)\nWHERE S.SCODE <> ''\n"
                 "GROUP BY G.GCODE,G.GNAME\nORDER BY G.GCODE");
  else
    SetSql(sql_, std::string("SELECT G.GCODE,G.GNAME,\n") + kPermitAll +
                     "FROM SISETUGROUPLIST S\nINNER JOIN SISETUGROUP G ON (S.GCODE=G.GCODE)\nWHERE S.SCODE <> ''\n"
                     "GROUP BY G.GCODE,G.GNAME\nORDER BY G.GCODE");
  if (OpCode != -1) sql_.ParamByName("OPCODE").AsInteger(OpCode);
  for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) {
    if (sql_.FieldByName("PERMIT").AsInteger() != 1) continue;
    TSitenListRec rec;
    rec.Code = sql_.FieldByName("GCODE").AsTrimString();
    rec.Name = sql_.FieldByName("GNAME").AsTrimString();
    rec.Kind = Kind;
    entries_.push_back(rec);
    lines_.push_back(TabForm ? Format("\"(%s)\"\t\"%s\"\t\"%s\"", rec.Code, rec.Code, Cell(rec.Name))
                             : Format("(%s):%s", rec.Code, rec.Name));
  }
  sql_.Close();
}

void TSitenList::AddBranches(bool WithBumonOnly, bool Medical) {
  std::string select = "SELECT S.SCODE,S.SNAME,";
  if (Medical) select += "S.MB_JIGYOU,";
  select += WithBumonOnly ? "S.XSTR FROM SISETUMST S\n" : "S.BUMEX,S.XSTR FROM SISETUMST S\n";
  std::string where = "WHERE (S.SCODE<>'')";
  if (WithBumonOnly) where += " AND (S.BUMEX=1)";
  if (OpCode != -1) {
    select += "INNER JOIN OPLICENSE O ON (O.SCODE=S.SCODE)\n";
    where += " AND (O.OPCODE=:OPCODE)";
  }
  if (Medical && JigyouFilter > 0) where += Format("\nAND (S.MB_JIGYOU=%d)", JigyouFilter);
  SetSql(sql_, select + where + "\nORDER BY S.SCODE");
  if (OpCode != -1) sql_.ParamByName("OPCODE").AsInteger(OpCode);
  for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) {
    TSitenListRec rec;
    rec.Code = sql_.FieldByName("SCODE").AsTrimString();
    if (Trim(rec.Code).empty()) continue;
    if (Medical && !Include00 && rec.Code == "00") continue;
    rec.Name = sql_.FieldByName("SNAME").AsTrimString();
    rec.Kind = WithBumonOnly ? 3 : 2;
    rec.Bumex = WithBumonOnly ? 1 : sql_.FieldByName("BUMEX").AsInteger();
    if (Medical) rec.Jigyou = sql_.FieldByName("MB_JIGYOU").AsInteger();
    TVariant color;
    DataSetConnection().GetXstrValue(sql_.FieldByName("XSTR").AsString(), "COLOR", color);
    rec.Color = color.AsInteger();
    entries_.push_back(rec);
    lines_.push_back(TabForm ? Format("\"%s\"\t\"%s\"\t\"%s\"", rec.Code, "", Cell(rec.Name))
                             : Format("%s:%s", rec.Code, rec.Name));
  }
  sql_.Close();
}

void TSitenList::ExecuteGeneral(std::int32_t Op) {
  Clear();
  OpCode = (Op == -1 || SystemStore().IsUnrestrictedOperator()) ? -1 : Op;
  const std::string whole = WholeCompanyName();
  const bool usesBranches = AccInf.SITEN != 0;
  if (Flags & slWhole) {
    if (OpCode == -1 || !usesBranches ||
        Permits(std::string("SELECT\n") + kPermitAll + "FROM SISETUMST S\nWHERE S.SCODE <> ''"))
      AddWhole(whole, 0);
  }
  if ((Flags & slGroups) && AccInf.SITEN == 1) AddGroups(1);
  if (Flags & slBranches) {
    if (AccInf.SITEN == 1)
      AddBranches(false, false);
    else if (!usesBranches && !(Flags & slWhole))
      AddWhole(whole, AccInf.BUMON);
  }
  if (Flags & slBranchesWithBumon) {
    if (AccInf.SITEN == 1)
      AddBranches(true, false);
    else if (!usesBranches && !(Flags & slWhole))
      AddWhole(whole, 0);
  }
}

void TSitenList::ExecuteMedical(std::int32_t Op) {
  Clear();
  OpCode = (Op == -1 || SystemStore().IsUnrestrictedOperator()) ? -1 : Op;
  const std::string whole = WholeCompanyName();
  const bool usesBranches = AccInf.SITEN != 0;
  if (Flags & slWhole) {
    if (OpCode == -1 || !usesBranches ||
        Permits(std::string("SELECT\n") + kPermitAll + "FROM SISETUMST S\nWHERE S.SCODE <> ''"))
      AddWhole(whole, 0);
  }
  if ((Flags & slGroups) && AccInf.SITEN == 1) {
    // Facilities per division, in all and of the operator's licences.
    auto countByDivision = [&](bool licensed) {
      std::array<std::int32_t, 9> counts{};
      std::string sql = "SELECT S.MB_JIGYOU,COUNT(S.SCODE) AS RECCNT FROM SISETUMST S\n";
      if (licensed) sql += "INNER JOIN OPLICENSE O ON (O.SCODE=S.SCODE)\n";
      sql += licensed ? "WHERE (S.SCODE NOT IN ('','00')) AND (O.OPCODE=:OPCODE)" : "WHERE (S.SCODE NOT IN ('','00'))";
      if (JigyouFilter > 0) sql += Format("\nAND (S.MB_JIGYOU=%d)", JigyouFilter);
      sql += "\nGROUP BY S.MB_JIGYOU\nORDER BY S.MB_JIGYOU DESC";
      SetSql(sql_, sql);
      if (licensed) sql_.ParamByName("OPCODE").AsInteger(OpCode);
      for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) {
        const std::int32_t bit = sql_.FieldByName("MB_JIGYOU").AsInteger();
        if (bit >= 0 && bit <= 8) counts[static_cast<std::size_t>(bit)] = sql_.FieldByName("RECCNT").AsInteger();
      }
      sql_.Close();
      return counts;
    };
    const std::array<std::int32_t, 9> all = countByDivision(false);
    const std::array<std::int32_t, 9> held = OpCode == -1 ? all : countByDivision(true);
    for (const TDivision& division : kDivisions) {
      const std::size_t bit = static_cast<std::size_t>(division.Bit);
      if (all[bit] == 0 || held[bit] != all[bit]) continue;
      TSitenListRec rec;
      rec.Code = " ";
      rec.Name = division.Name;
      rec.Kind = 1;
      rec.Jigyou = division.Bit;
      entries_.push_back(rec);
      lines_.push_back(TabForm ? Format("\"%s\"\t\"%s\"\t\"%s\"", Cell(rec.Name), "", "") : rec.Name);
    }
    AddGroups(5);
  }
  if (Flags & slBranches) {
    if (AccInf.SITEN == 1)
      AddBranches(false, true);
    else if (!usesBranches && !(Flags & slWhole))
      AddWhole(whole, 0);
  }
  if (Flags & slBranchesWithBumon) {
    if (AccInf.SITEN == 1)
      AddBranches(true, true);
    else if (!usesBranches && !(Flags & slWhole))
      AddWhole(whole, 0);
  }
}
