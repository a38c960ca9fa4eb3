// DATALIST / DATALIST_EX and CHILD_DATALIST: the statements of the local
// list and the binding of its rows (shared with the shared-server tables in
// serverlistrepo.cpp through datalistbind.h).
#include "dbaccess/datalistrepo.h"

#include "core/globals.h"
#include "core/versions.h"
#include "dbaccess/datalistbind.h"
#include "platform/fb/ibsql.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kColumns =
    "ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,TANTOU,"
    "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";

// The SET lines of an update of a local row.
const char* const kSetLines =
    "SET PASNAME=:PASNAME,ENTTEXT=:ENTTEXT,SHOUGOU=:SHOUGOU,NETDRIVE=:NETDRIVE,\n"
    "DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,NENDO=:NENDO,KISHU=:KISHU,KIMATU=:KIMATU,\n"
    "DATALOCK=:DATALOCK,KYOYULOCK=:KYOYULOCK,TANTOU=:TANTOU,\n"
    "VER_MAJOR=:VER_MAJOR,VER_MINOR1=:VER_MINOR1,VER_MINOR2=:VER_MINOR2,VER_TEXT=:VER_TEXT,\n"
    "UPDATE_LOCK=:UPDATE_LOCK,GASSAN=:GASSAN,DATACODE=:DATACODE,DATA_STATUS=:DATA_STATUS,YOBI1=:YOBI1,YOBI2=:YOBI2,"
    "YOBI3=:YOBI3";

// The SET lines of the name, fiscal term and version of a row.
const char* const kNameTermVersionLines =
    "SET ENTTEXT=:ENTTEXT,\nNENDO=:NENDO,\nKISHU=:KISHU,\nKIMATU=:KIMATU,\nVER_MAJOR=:VER_MAJOR,\n"
    "VER_MINOR1=:VER_MINOR1,\nVER_MINOR2=:VER_MINOR2,\nVER_TEXT=:VER_TEXT\n";

// The ordering of the first query of the local list.
std::string LocalOrder(std::uint8_t SortKind, bool Descending, const std::string& OrderText) {
  switch (SortKind) {
    case 0: return OrderText;
    case 1: return Descending ? "ORDER BY REC DESC" : "ORDER BY REC";
    case 2: return Descending ? "ORDER BY ENTTEXT DESC,NENDO DESC,REC DESC" : "ORDER BY ENTTEXT,NENDO DESC,REC";
    case 3: return Descending ? "ORDER BY NENDO DESC,REC DESC" : "ORDER BY NENDO,REC";
    case 4: return Descending ? "ORDER BY KISHU DESC,REC DESC" : "ORDER BY KISHU,REC";
    case 5: return Descending ? "ORDER BY UPPER(PASNAME) DESC,REC DESC" : "ORDER BY UPPER(PASNAME),REC";
    case 6:
      return Descending ? "ORDER BY VER_MAJOR DESC,VER_MINOR1 DESC,VER_MINOR2 DESC,REC DESC"
                        : "ORDER BY VER_MAJOR,VER_MINOR1,VER_MINOR2,REC";
    case 7: return Descending ? "ORDER BY DATACODE DESC,NENDO DESC,REC DESC" : "ORDER BY DATACODE,NENDO DESC,REC";
    default: return "";
  }
}

bool IsSplitSort(std::uint8_t SortKind) { return SortKind >= 2 && SortKind <= 7; }

void BindNameTermVersion(TIBSQL& q, const TDataListRec& r) {
  q.ParamByName("ENTTEXT").AsString(r.EntText);
  q.ParamByName("NENDO").AsInteger(r.Nendo);
  q.ParamByName("KISHU").AsDateTime(r.Kishu);
  q.ParamByName("KIMATU").AsDateTime(r.Kimatu);
  q.ParamByName("VER_MAJOR").AsInteger(r.VerMajor);
  q.ParamByName("VER_MINOR1").AsInteger(r.VerMinor1);
  q.ParamByName("VER_MINOR2").AsInteger(r.VerMinor2);
  q.ParamByName("VER_TEXT").AsString(r.VerText);
}

// Reads every row of q (set up) as stored into Row; the row whose folder is
// Folder wins.
void ReadInto(TIBSQL& q, const std::string& Folder, TDataListRec& Row) {
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    ReadListRow(q, Row, TRowRead::AsStored);
    if (Row.DataFolder == Folder) break;
  }
  q.Close();
}

// Delivers REC, PASNAME, NETDRIVE and KYOYULOCK of every row of q (set up).
void ReadPaths(TIBSQL& q, const TListRowSink& Take) {
  TDataListRec row;
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    row.Rec = q.FieldByName("REC").AsInteger();
    row.PasName = q.FieldByName("PASNAME").AsTrimString();
    row.NetDrive = q.FieldByName("NETDRIVE").AsInteger();
    row.KyoyuLock = q.FieldByName("KYOYULOCK").AsInteger();
    Take(row);
  }
  q.Close();
}

// The first REC of q (set up), 0 for none.
std::int32_t FirstNumber(TIBSQL& q) {
  q.ExecQuery();
  const std::int32_t rec = q.Eof() ? 0 : q.FieldByName("REC").AsInteger();
  q.Close();
  return rec;
}

}  // namespace

bool DataListHasCloudColumn() {
  const std::string version = Format("%d.%d.%d", SystemDef.SysVerMajor, SystemDef.SysVerMinor1, SystemDef.SysVerMinor2);
  return VersionGreater(version, "11.0.0");
}

// ---- DATALIST / DATALIST_EX ------------------------------------------------------

TDataListTable::TDataListTable(TIBSQL& Statement, std::int32_t Place, bool Cloud)
    : q_(Statement), place_(Place), cloud_(Cloud), table_(Place != 0 ? "DATALIST_EX" : "DATALIST") {}

std::string TDataListTable::Condition() const { return place_ > 0 ? "\nAND (DATAPLACEREC=:DATAPLACEREC)" : ""; }

void TDataListTable::BindPlace() { datalistbind::BindIfNamed(q_, "DATAPLACEREC", place_); }

void TDataListTable::Load(const TDataListLoad& Load, const TListRowSink& Take) {
  std::string common;
  if (Load.ExcludeShared) common += "\nAND (KYOYULOCK<>1)";
  if (Load.Nendo > 0) common += "\nAND (NENDO=:NENDO)";
  if (!Load.Shougou.empty()) common += "\nAND (SHOUGOU=:SHOUGOU)";
  common += Condition();
  const std::string select = std::string("SELECT REC,") + kColumns + datalistbind::CloudPart(cloud_) + "\nFROM " +
                             table_ + "\nWHERE (GROUPID=:GROUPID)";
  const bool split = IsSplitSort(Load.SortKind);
  auto run = [&](const std::string& sql) {
    SetSql(q_, sql);
    datalistbind::BindGroup(q_);
    BindPlace();
    datalistbind::BindIfNamed(q_, "NENDO", Load.Nendo);
    datalistbind::BindIfNamed(q_, "SHOUGOU", Load.Shougou);
    datalistbind::ReadRows(q_, TRowRead::ListLoad, Take);
  };
  // The named rows (or all of them) in the chosen order; unnamed rows follow
  // in their own order when the kind splits them.
  if (Load.Named != 2 || !split) {
    std::string sql = select;
    if (Load.Named == 1 || split) sql += "\nAND (ENTTEXT<>'')";
    else if (Load.Named == 2) sql += "\nAND (ENTTEXT='')";
    sql += common;
    const std::string order = LocalOrder(Load.SortKind, Load.Descending, Load.OrderText);
    if (!order.empty()) sql += "\n" + order;
    run(sql);
  }
  if (Load.Named != 1 && split) {
    std::string sql = select + "\nAND (ENTTEXT='')" + common;
    if (Load.SortKind == 5)
      sql += Load.Descending ? "\nORDER BY PASNAME DESC,REC DESC" : "\nORDER BY PASNAME,REC";
    else
      sql += Load.Descending ? "\nORDER BY REC DESC" : "\nORDER BY REC";
    run(sql);
  }
}

void TDataListTable::ReadByNumber(std::int32_t Rec, const std::string& Folder, TDataListRec& Row) {
  SetSql(q_, std::string("SELECT REC,0 AS ROWNO,") + kColumns + datalistbind::CloudPart(cloud_) + "\nFROM " + table_ +
                 "\nWHERE (REC=:REC) AND (GROUPID=:GROUPID)" + Condition());
  q_.ParamByName("REC").AsInteger(Rec);
  datalistbind::BindGroup(q_);
  BindPlace();
  ReadInto(q_, Folder, Row);
}

void TDataListTable::ReadByPath(const std::string& Path, const std::string& Folder, TDataListRec& Row) {
  SetSql(q_, std::string("SELECT REC,0 AS ROWNO,") + kColumns + datalistbind::CloudPart(cloud_) + "\nFROM " + table_ +
                 "\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)" + Condition());
  datalistbind::BindGroup(q_);
  BindPlace();
  q_.ParamByName("PASNAME").AsString(UpperCase(Path));
  ReadInto(q_, Folder, Row);
}

void TDataListTable::ReadPathsOfNumber(std::int32_t Rec, const TListRowSink& Take) {
  SetSql(q_, "SELECT REC,PASNAME,NETDRIVE,KYOYULOCK FROM " + table_ + "\nWHERE REC=:REC");
  q_.ParamByName("REC").AsInteger(Rec);
  ReadPaths(q_, Take);
}

void TDataListTable::ReadPlacePaths(const TListRowSink& Take) {
  SetSql(q_, "SELECT PASNAME FROM DATALIST_EX WHERE (DATAPLACEREC=:REC) ORDER BY REC");
  q_.ParamByName("REC").AsInteger(place_);
  TDataListRec row;
  for (q_.ExecQuery(); !q_.Eof(); q_.Next()) {
    row.PasName = q_.FieldByName("PASNAME").AsTrimString();
    Take(row);
  }
  q_.Close();
}

void TDataListTable::ReadLocks(const std::string& Path, const std::function<void(const TDataListLock&)>& Take) {
  SetSql(q_,
         "SELECT D.DATALOCK,O.OPCODE,O.OPNAME,\n"
         "D.ENTTEXT,D.DATACODE,D.DATATYPE,D.CODETYPE,D.SHOUGOU,D.NENDO,D.KISHU,D.KIMATU,D.TANTOU,D.UPDATE_LOCK,"
         "D.VER_TEXT\n"
         ",D.VER_MAJOR,D.VER_MINOR1,D.VER_MINOR2\n"
         ",D.CLOUD\n"
         "FROM " + table_ + " D\n"
         "LEFT JOIN OPERATOR O ON(D.GROUPID=O.GROUPID AND D.DATALOCK=O.OPCODE)\n"
         "WHERE (D.DATALOCK<>0)AND(UPPER(D.PASNAME)=:PASNAME)AND(D.GROUPID=:GROUPID)");
  q_.ParamByName("PASNAME").AsString(UpperCase(Path));
  q_.ParamByName("GROUPID").AsInteger(SystemDef.GroupId);
  for (q_.ExecQuery(); !q_.Eof(); q_.Next()) {
    TDataListLock lock;
    TDataListRec& r = lock.Row;
    lock.OpCode = q_.FieldByName("OPCODE").AsInteger();
    lock.OpName = q_.FieldByName("OPNAME").AsTrimString();
    r.DataLock = q_.FieldByName("DATALOCK").AsInteger();
    r.EntText = q_.FieldByName("ENTTEXT").AsTrimString();
    r.DataCode = q_.FieldByName("DATACODE").AsTrimString();
    r.DataType = q_.FieldByName("DATATYPE").AsInteger();
    r.CodeType = q_.FieldByName("CODETYPE").AsInteger();
    r.Shougou = q_.FieldByName("SHOUGOU").AsTrimString();
    r.Nendo = q_.FieldByName("NENDO").AsInteger();
    r.Kishu = q_.FieldByName("KISHU").AsDateTime();
    r.Kimatu = q_.FieldByName("KIMATU").AsDateTime();
    r.Tantou = q_.FieldByName("TANTOU").AsInteger();
    r.UpdateLock = q_.FieldByName("UPDATE_LOCK").AsInteger();
    r.VerMajor = q_.FieldByName("VER_MAJOR").AsInteger();
    r.VerMinor1 = q_.FieldByName("VER_MINOR1").AsInteger();
    r.VerMinor2 = q_.FieldByName("VER_MINOR2").AsInteger();
    r.VerText = q_.FieldByName("VER_TEXT").AsTrimString();
    r.Cloud = static_cast<std::uint8_t>(q_.FieldByName("CLOUD").AsInteger());
    Take(lock);
  }
  q_.Close();
}

std::int32_t TDataListTable::MaxNumber() {
  SetSql(q_, "SELECT MAX(REC) AS RECMAX FROM " + table_ + "\nWHERE (GROUPID=:GROUPID)" + Condition());
  datalistbind::BindGroup(q_);
  BindPlace();
  q_.ExecQuery();
  const std::int32_t max = q_.Eof() ? 0 : q_.FieldByName("RECMAX").AsInteger();
  q_.Close();
  return max;
}

std::int32_t TDataListTable::CountByPath(const std::string& Path) {
  SetSql(q_, "SELECT COUNT(REC) AS RECCNT FROM " + table_ + "\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)" +
                 Condition());
  datalistbind::BindGroup(q_);
  BindPlace();
  q_.ParamByName("PASNAME").AsString(UpperCase(Path));
  q_.ExecQuery();
  const std::int32_t count = q_.FieldByName("RECCNT").AsInteger();
  q_.Close();
  return count;
}

std::int32_t TDataListTable::FindNumber(const std::string& Path) {
  SetSql(q_, "SELECT REC FROM " + table_ + "\nWHERE (PASNAME=:PASNAME)" + Condition());
  q_.ParamByName("PASNAME").AsString(Path);
  BindPlace();
  return FirstNumber(q_);
}

std::int32_t TDataListTable::FindLowestNumber(const std::string& Path) {
  SetSql(q_, "SELECT REC FROM " + table_ + "\nWHERE (PASNAME=:PASNAME)\nORDER BY REC");
  q_.ParamByName("PASNAME").AsString(Path);
  return FirstNumber(q_);
}

std::int32_t TDataListTable::FindNumberInGroup(const std::string& Path) {
  SetSql(q_, "SELECT REC FROM " + table_ + "\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)" + Condition());
  datalistbind::BindGroup(q_);
  BindPlace();
  q_.ParamByName("PASNAME").AsString(UpperCase(Path));
  std::int32_t rec = 0;
  for (q_.ExecQuery(); !q_.Eof(); q_.Next()) rec = q_.FieldByName("REC").AsInteger();
  q_.Close();
  return rec;
}

std::optional<std::string> TDataListTable::PathOfNumber(std::int32_t Rec) {
  SetSql(q_, "SELECT PASNAME FROM " + table_ + "\nWHERE (REC=:REC)" + Condition());
  q_.ParamByName("REC").AsInteger(Rec);
  BindPlace();
  q_.ExecQuery();
  std::optional<std::string> path;
  if (!q_.Eof()) path = q_.FieldByName("PASNAME").AsTrimString();
  q_.Close();
  return path;
}

void TDataListTable::Insert(const TDataListRec& Row) {
  std::string columns =
      "REC,GROUPID,PASNAME,ENTTEXT,SHOUGOU,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,TANTOU,"
      "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
  if (cloud_) columns += ",CLOUD";
  if (place_ > 0) columns = "DATAPLACEREC," + columns;
  SetSql(q_, "INSERT INTO " + table_ + "(" + columns + ")\nVALUES(" + datalistbind::ValueList(columns) + ")");
  datalistbind::BindRow(q_, Row);
  BindPlace();
  datalistbind::Run(q_);
}

void TDataListTable::Update(const TDataListRec& Row) {
  std::string sql = "UPDATE " + table_ + "\n" + kSetLines;
  if (cloud_) sql += ",CLOUD=:CLOUD";
  sql += "\nWHERE (REC=:REC)" + Condition();
  SetSql(q_, sql);
  datalistbind::BindRow(q_, Row);
  BindPlace();
  datalistbind::Run(q_);
}

void TDataListTable::UpdateNameTermVersionOfPath(const TDataListRec& Row, const std::string& Path) {
  SetSql(q_, "UPDATE " + table_ + "\n" + kNameTermVersionLines + "WHERE PASNAME=:PASNAME");
  BindNameTermVersion(q_, Row);
  q_.ParamByName("PASNAME").AsString(Path);
  datalistbind::Run(q_);
}

void TDataListTable::UpdateNameTermVersionOfNumber(const TDataListRec& Row, std::int32_t Rec) {
  SetSql(q_, "UPDATE " + table_ + "\n" + kNameTermVersionLines + "WHERE REC=:REC");
  BindNameTermVersion(q_, Row);
  q_.ParamByName("REC").AsInteger(Rec);
  datalistbind::Run(q_);
}

void TDataListTable::SetLockOfPath(const std::string& Path, std::int32_t Lock) {
  SetSql(q_, "UPDATE " + table_ + "\nSET DATALOCK=:DATALOCK\nWHERE PASNAME=:PASNAME");
  q_.ParamByName("DATALOCK").AsInteger(Lock);
  q_.ParamByName("PASNAME").AsString(Path);
  datalistbind::Run(q_);
}

void TDataListTable::SetLockOfNumber(std::int32_t Rec, std::int32_t Lock) {
  SetSql(q_, "UPDATE " + table_ + " SET DATALOCK=:DATALOCK\nWHERE REC=:REC" + Condition());
  q_.ParamByName("DATALOCK").AsInteger(Lock);
  q_.ParamByName("REC").AsInteger(Rec);
  BindPlace();
  datalistbind::Run(q_);
}

void TDataListTable::SetStatusOfNumber(std::int32_t Rec, std::int32_t Status) {
  SetSql(q_, "UPDATE " + table_ + " SET DATA_STATUS=:DATA_STATUS\nWHERE REC=:REC");
  q_.ParamByName("DATA_STATUS").AsInteger(Status);
  q_.ParamByName("REC").AsInteger(Rec);
  datalistbind::Run(q_);
}

void TDataListTable::DeleteBeyond(const std::string& Path, std::int32_t Fixed) {
  SetSql(q_, "DELETE FROM " + table_ + "\nWHERE (PASNAME=:PASNAME) AND (REC>:REC)" + Condition());
  q_.ParamByName("PASNAME").AsString(Path);
  q_.ParamByName("REC").AsInteger(Fixed);
  BindPlace();
  datalistbind::Run(q_);
}

void TDataListTable::PackNumbers(TIBSQL& Cursor, std::int32_t Fixed) {
  SetSql(Cursor, "SELECT REC FROM " + table_ + "\nWHERE (REC>:REC)" + Condition() + "\nORDER BY REC");
  Cursor.ParamByName("REC").AsInteger(Fixed);
  datalistbind::BindIfNamed(Cursor, "DATAPLACEREC", place_);
  std::int32_t n = Fixed;
  for (Cursor.ExecQuery(); !Cursor.Eof(); Cursor.Next()) {
    ++n;
    const std::int32_t old = Cursor.FieldByName("REC").AsInteger();
    if (old == n) continue;
    SetSql(q_, "UPDATE " + table_ + " SET REC=:NEWREC\nWHERE (REC=:OLDREC)" + Condition());
    q_.ParamByName("NEWREC").AsInteger(n);
    q_.ParamByName("OLDREC").AsInteger(old);
    BindPlace();
    datalistbind::Run(q_);
  }
  Cursor.Close();
}

void TDataListTable::CreatePlaceRows(const std::string& Path, std::int32_t Count) {
  SetSql(q_, "SELECT REC FROM SP_DATALIST_INSERT(:REC,:PATH,:MAXCNT)");
  q_.ParamByName("REC").AsInteger(place_);
  q_.ParamByName("PATH").AsString(Path);
  q_.ParamByName("MAXCNT").AsInteger(Count);
  for (q_.ExecQuery(); !q_.Eof(); q_.Next()) {
  }
  q_.Close();
}

void TDataListTable::DeletePlaceRows() {
  SetSql(q_, "DELETE FROM DATALIST_EX WHERE DATAPLACEREC=:REC");
  q_.ParamByName("REC").AsInteger(place_);
  datalistbind::Run(q_);
}

// ---- CHILD_DATALIST ----------------------------------------------------------------

TChildDataListTable::TChildDataListTable(TIBSQL& Statement, bool Cloud) : q_(Statement), cloud_(Cloud) {}

void TChildDataListTable::Load(const TListRowSink& Take) {
  SetSql(q_, std::string("SELECT REC,ROWNO,") + kColumns + datalistbind::CloudPart(cloud_) +
                 "\nFROM CHILD_DATALIST\nWHERE (GROUPID=:GROUPID)\nORDER BY REC,PASNAME");
  datalistbind::BindGroup(q_);
  datalistbind::ReadRows(q_, TRowRead::ListLoad, Take);
}

void TChildDataListTable::ReadChildren(std::int32_t Rec, const TListRowSink& Take) {
  SetSql(q_, std::string("SELECT REC,ROWNO,") + kColumns + datalistbind::CloudPart(cloud_) +
                 "\nFROM CHILD_DATALIST\nWHERE (REC=:REC) AND (GROUPID=:GROUPID)\nORDER BY PASNAME");
  q_.ParamByName("REC").AsInteger(Rec);
  datalistbind::BindGroup(q_);
  datalistbind::ReadRows(q_, TRowRead::AsStored, Take);
}

void TChildDataListTable::ReadByNumber(std::int32_t Rec, std::int32_t RowNo, const std::string& Folder,
                                       TDataListRec& Row) {
  SetSql(q_, std::string("SELECT REC,ROWNO,") + kColumns + datalistbind::CloudPart(cloud_) +
                 "\nFROM CHILD_DATALIST\nWHERE (REC=:REC) AND (ROWNO=:ROWNO) AND (GROUPID=:GROUPID)");
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("ROWNO").AsInteger(RowNo);
  datalistbind::BindGroup(q_);
  ReadInto(q_, Folder, Row);
}

void TChildDataListTable::ReadByPath(const std::string& Path, const std::string& Folder, TDataListRec& Row) {
  SetSql(q_, std::string("SELECT REC,ROWNO,") + kColumns + datalistbind::CloudPart(cloud_) +
                 "\nFROM CHILD_DATALIST\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)");
  datalistbind::BindGroup(q_);
  q_.ParamByName("PASNAME").AsString(UpperCase(Path));
  ReadInto(q_, Folder, Row);
}

void TChildDataListTable::ReadPathsOfNumber(std::int32_t Rec, const TListRowSink& Take) {
  SetSql(q_, "SELECT REC,PASNAME,NETDRIVE,KYOYULOCK FROM CHILD_DATALIST\nWHERE REC=:REC");
  q_.ParamByName("REC").AsInteger(Rec);
  ReadPaths(q_, Take);
}

std::int32_t TChildDataListTable::CountByPath(const std::string& Path) {
  SetSql(q_, "SELECT COUNT(REC) AS RECCNT FROM CHILD_DATALIST\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)");
  datalistbind::BindGroup(q_);
  q_.ParamByName("PASNAME").AsString(UpperCase(Path));
  q_.ExecQuery();
  const std::int32_t count = q_.FieldByName("RECCNT").AsInteger();
  q_.Close();
  return count;
}

bool TChildDataListTable::Exists(std::int32_t Rec, std::int32_t RowNo) {
  SetSql(q_, "SELECT COUNT(REC) AS RECCNT FROM CHILD_DATALIST\nWHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID");
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("ROWNO").AsInteger(RowNo);
  datalistbind::BindGroup(q_);
  q_.ExecQuery();
  const bool exists = q_.FieldByName("RECCNT").AsInteger() > 0;
  q_.Close();
  return exists;
}

std::optional<std::int32_t> TChildDataListTable::RowNoOfSuffix(std::int32_t Rec, const std::string& Suffix) {
  // The suffix is bound as text: its own "%", "_" and "\\" are escaped.
  std::string pattern = "%";
  for (char c : Suffix) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  SetSql(q_, "SELECT ROWNO FROM CHILD_DATALIST\nWHERE (REC=:REC) and (PASNAME LIKE :PASNAME ESCAPE '\\')");
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("PASNAME").AsString(pattern);
  q_.ExecQuery();
  std::optional<std::int32_t> rowNo;
  if (!q_.Eof()) rowNo = q_.FieldByName("ROWNO").AsInteger();
  q_.Close();
  return rowNo;
}

void TChildDataListTable::Insert(const TDataListRec& Row) {
  std::string columns =
      "REC,ROWNO,GROUPID,ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,"
      "KISHU,KIMATU,DATALOCK,TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,KYOYULOCK,UPDATE_LOCK,GASSAN,"
      "DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
  if (cloud_) columns += ",CLOUD";
  SetSql(q_, "INSERT INTO CHILD_DATALIST(" + columns + ")\nVALUES(" + datalistbind::ValueList(columns) + ")");
  datalistbind::BindRow(q_, Row);
  datalistbind::Run(q_);
}

void TChildDataListTable::Update(const TDataListRec& Row) {
  SetSql(q_, std::string("UPDATE CHILD_DATALIST\n") + kSetLines + (cloud_ ? ",CLOUD=:CLOUD" : "") +
                 "\nWHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID");
  datalistbind::BindRow(q_, Row);
  datalistbind::Run(q_);
}

void TChildDataListTable::UpdateNameTermVersion(const TDataListRec& Row, std::int32_t Rec, std::int32_t RowNo) {
  SetSql(q_, std::string("UPDATE CHILD_DATALIST\n") + kNameTermVersionLines +
                 "WHERE (REC=:REC) and (ROWNO=:ROWNO) and (GROUPID=:GROUPID)");
  BindNameTermVersion(q_, Row);
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("ROWNO").AsInteger(RowNo);
  q_.ParamByName("GROUPID").AsInteger(SystemDef.GroupId);
  datalistbind::Run(q_);
}

void TChildDataListTable::SetLockOfPath(const std::string& Path, std::int32_t Lock) {
  SetSql(q_, "UPDATE CHILD_DATALIST\nSET DATALOCK=:DATALOCK\nWHERE PASNAME=:PASNAME");
  q_.ParamByName("DATALOCK").AsInteger(Lock);
  q_.ParamByName("PASNAME").AsString(Path);
  datalistbind::Run(q_);
}

void TChildDataListTable::SetStatus(std::int32_t Rec, std::int32_t RowNo, std::int32_t Status) {
  SetSql(q_, "UPDATE CHILD_DATALIST SET DATA_STATUS=:DATA_STATUS\nWHERE REC=:REC AND ROWNO=:ROWNO");
  q_.ParamByName("DATA_STATUS").AsInteger(Status);
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("ROWNO").AsInteger(RowNo);
  datalistbind::Run(q_);
}

void TChildDataListTable::DeleteRow(std::int32_t Rec, std::int32_t RowNo) {
  SetSql(q_, "DELETE FROM CHILD_DATALIST\nWHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID");
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("ROWNO").AsInteger(RowNo);
  datalistbind::BindGroup(q_);
  datalistbind::Run(q_);
}

void TChildDataListTable::DeleteChildrenOf(std::int32_t Rec) {
  SetSql(q_, "DELETE FROM CHILD_DATALIST\nWHERE REC=:REC AND GROUPID=:GROUPID");
  q_.ParamByName("REC").AsInteger(Rec);
  datalistbind::BindGroup(q_);
  datalistbind::Run(q_);
}
