// SERVERDATALIST and CHILD_SERVERDATALIST: the statements of the
// shared-server list of one drive.
#include "dbaccess/datalistbind.h"
#include "dbaccess/datalistrepo.h"
#include "platform/fb/ibsql.h"
#include "platform/win/paths.h"

namespace {

const char* const kServerColumns =
    "ENTTEXT,SHOUGOU,PASNAME,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,TANTOU,"
    "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";

// The SET lines of an update of a shared-server row.
const char* const kServerSetLines =
    "SET PASNAME=:PASNAME,DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,\n"
    "NENDO=:NENDO,KISHU=:KISHU,KIMATU=:KIMATU,DATALOCK=:DATALOCK,TANTOU=:TANTOU,\n"
    "VER_MAJOR=:VER_MAJOR,VER_MINOR1=:VER_MINOR1,VER_MINOR2=:VER_MINOR2,VER_TEXT=:VER_TEXT,\n"
    "UPDATE_LOCK=:UPDATE_LOCK,GASSAN=:GASSAN,DATACODE=:DATACODE,DATA_STATUS=:DATA_STATUS,YOBI1=:YOBI1,YOBI2=:YOBI2,"
    "YOBI3=:YOBI3";
const char* const kDriveCondition = "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER)";
const char* const kPathCondition = "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER) AND (PASNAME=:PASNAME)";
const char* const kNumberCondition = "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER) AND (REC=:REC)";

// The ordering of the first query of the shared-server list.
std::string ServerOrder(std::uint8_t SortKind, bool Descending) {
  switch (SortKind) {
    case 2: return Descending ? "ORDER BY ENTTEXT DESC,PASNAME DESC" : "ORDER BY ENTTEXT,PASNAME";
    case 3: return Descending ? "ORDER BY NENDO DESC,PASNAME DESC" : "ORDER BY NENDO,PASNAME";
    case 4: return Descending ? "ORDER BY KISHU DESC,PASNAME DESC" : "ORDER BY KISHU,PASNAME";
    case 5: return Descending ? "ORDER BY PASNAME DESC" : "ORDER BY PASNAME";
    case 6:
      return Descending ? "ORDER BY VER_MAJOR DESC,VER_MINOR1 DESC,VER_MINOR2 DESC,REC DESC"
                        : "ORDER BY VER_MAJOR,VER_MINOR1,VER_MINOR2,REC";
    case 7: return Descending ? "ORDER BY DATACODE DESC,REC DESC" : "ORDER BY DATACODE,REC";
    default: return "ORDER BY PASNAME";
  }
}

bool IsServerSplitSort(std::uint8_t SortKind) { return SortKind >= 2 && SortKind <= 7 && SortKind != 5; }

}  // namespace

TServerDataListTable::TServerDataListTable(TIBSQL& Statement, bool Child, const std::string& Letter, bool Cloud)
    : q_(Statement),
      child_(Child),
      letter_(Letter),
      cloud_(Cloud),
      table_(Child ? "CHILD_SERVERDATALIST" : "SERVERDATALIST") {}

void TServerDataListTable::BindKey() {
  datalistbind::BindGroup(q_);
  datalistbind::BindIfNamed(q_, "DRIVELETTER", letter_);
}

void TServerDataListTable::Load(std::uint8_t SortKind, bool Descending, const TListRowSink& Take) {
  auto run = [&](const std::string& sql) {
    SetSql(q_, sql);
    BindKey();
    datalistbind::BindIfNamed(q_, "AREA1", std::string(kAreaFree));
    datalistbind::BindIfNamed(q_, "AREA2", std::string(kAreaNew));
    datalistbind::ReadRows(q_, TRowRead::ListLoad, Take);
  };
  if (child_) {
    run(std::string("SELECT REC,ROWNO,") + kServerColumns + datalistbind::CloudPart(cloud_) +
        "\nFROM CHILD_SERVERDATALIST\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER)"
        "\nORDER BY REC,PASNAME");
    return;
  }
  const std::string select = std::string("SELECT REC,") + kServerColumns + datalistbind::CloudPart(cloud_) +
                             "\nFROM SERVERDATALIST\nWHERE (DRIVELETTER=:DRIVELETTER) AND (GROUPID=:GROUPID)";
  const bool split = IsServerSplitSort(SortKind);
  std::string sql = select;
  if (split) sql += "\nAND (ENTTEXT<>'' AND ENTTEXT<>:AREA1 AND ENTTEXT<>:AREA2)";
  run(sql + "\n" + ServerOrder(SortKind, Descending));
  if (split) run(select + "\nAND (ENTTEXT='' OR ENTTEXT=:AREA1 OR ENTTEXT=:AREA2)\nORDER BY PASNAME");
}

std::int32_t TServerDataListTable::TakeNumberOfPath(const std::string& Path) {
  SetSql(q_, "SELECT REC FROM " + table_ + kPathCondition);
  BindKey();
  q_.ParamByName("PASNAME").AsString(Path);
  std::int32_t rec = 0;
  int rows = 0;
  for (q_.ExecQuery(); !q_.Eof(); q_.Next()) {
    rec = q_.FieldByName("REC").AsInteger();
    ++rows;
  }
  q_.Close();
  if (rows <= 1) return rows == 1 ? rec : 0;
  // Several rows of one path: all go, a new one takes their place.
  DeletePath(Path);
  return 0;
}

std::int32_t TServerDataListTable::FindNumber(const std::string& Path) {
  SetSql(q_, "SELECT REC FROM " + table_ + kPathCondition);
  BindKey();
  q_.ParamByName("PASNAME").AsString(Path);
  std::int32_t rec = 0;
  for (q_.ExecQuery(); !q_.Eof(); q_.Next()) rec = q_.FieldByName("REC").AsInteger();
  q_.Close();
  return rec;
}

std::int32_t TServerDataListTable::NextNumber() {
  SetSql(q_, "SELECT MAX(REC) AS RECMAX FROM " + table_ + kDriveCondition);
  BindKey();
  q_.ExecQuery();
  const std::int32_t next = (q_.Eof() ? 0 : q_.FieldByName("RECMAX").AsInteger()) + 1;
  q_.Close();
  return next;
}

std::string TServerDataListTable::MaxPathStartingWith(const std::string& Prefix) {
  SetSql(q_, "SELECT MAX(PASNAME) AS MAXPATH FROM " + table_ + kDriveCondition + " AND (PASNAME STARTING WITH :PASNAME)");
  BindKey();
  q_.ParamByName("PASNAME").AsString(Prefix);
  q_.ExecQuery();
  const std::string maxPath = q_.Eof() ? std::string() : q_.FieldByName("MAXPATH").AsTrimString();
  q_.Close();
  return maxPath;
}

void TServerDataListTable::Insert(const TDataListRec& Row) {
  std::string columns = std::string(child_ ? "GROUPID,DRIVELETTER,REC,ROWNO," : "GROUPID,DRIVELETTER,REC,") +
                        "ENTTEXT,SHOUGOU,PASNAME,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,TANTOU,VER_MAJOR,"
                        "VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
  if (cloud_) columns += ",CLOUD";
  SetSql(q_, "INSERT INTO " + table_ + "(" + columns + ")\nVALUES(" + datalistbind::ValueList(columns) + ")");
  datalistbind::BindRow(q_, Row);
  q_.ParamByName("DRIVELETTER").AsString(letter_);
  datalistbind::Run(q_);
}

void TServerDataListTable::Update(const TDataListRec& Row, std::int32_t NameToo) {
  std::string sql = "UPDATE " + table_ + "\n" + kServerSetLines;
  if (NameToo == 1) sql += ",ENTTEXT=:ENTTEXT,SHOUGOU=:SHOUGOU";
  if (cloud_) sql += ",CLOUD=:CLOUD";
  sql += kNumberCondition;
  if (child_) sql += " AND (ROWNO=:ROWNO)";
  SetSql(q_, sql);
  datalistbind::BindRow(q_, Row);
  q_.ParamByName("DRIVELETTER").AsString(letter_);
  datalistbind::Run(q_);
}

void TServerDataListTable::DeleteNumber(std::int32_t Rec) {
  SetSql(q_, "DELETE FROM " + table_ + kNumberCondition);
  BindKey();
  q_.ParamByName("REC").AsInteger(Rec);
  datalistbind::Run(q_);
}

void TServerDataListTable::DeleteRow(std::int32_t Rec, std::int32_t RowNo) {
  SetSql(q_, "DELETE FROM " + table_ + kNumberCondition + " AND (ROWNO=:ROWNO)");
  BindKey();
  q_.ParamByName("REC").AsInteger(Rec);
  q_.ParamByName("ROWNO").AsInteger(RowNo);
  datalistbind::Run(q_);
}

void TServerDataListTable::DeletePath(const std::string& Path) {
  SetSql(q_, "DELETE FROM " + table_ + kPathCondition);
  BindKey();
  q_.ParamByName("PASNAME").AsString(Path);
  datalistbind::Run(q_);
}

void TServerDataListTable::DeleteUnder(const std::string& Folder) {
  SetSql(q_, "DELETE FROM " + table_ + kDriveCondition + "\nAND PASNAME STARTING WITH :PASNAME");
  BindKey();
  q_.ParamByName("PASNAME").AsString(IncludeTrailingPathDelimiter(Folder));
  datalistbind::Run(q_);
}

void TServerDataListTable::DeleteDrive() {
  SetSql(q_, "DELETE FROM " + table_ + kDriveCondition);
  BindKey();
  datalistbind::Run(q_);
}
