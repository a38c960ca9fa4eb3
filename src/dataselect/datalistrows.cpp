// Single rows of the local data-set list (DATALIST, or DATALIST_EX of a data
// place) and their children in CHILD_DATALIST: read, insert, update, delete,
// the numbering of new rows and the look-ups by path.
#include <cstdlib>

#include "core/datetext.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/dm.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

const char* const kRowColumns =
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

// "A,B,C" -> ":A,:B,:C".
std::string ValueList(const std::string& columns) {
  std::string values = ":";
  for (char c : columns) {
    values += c;
    if (c == ',') values += ':';
  }
  return values;
}

// The operator code within the group of an operator number.
std::int32_t CodeInGroup(std::int32_t OpCode) {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(OpCode % base) : OpCode;
}

}  // namespace

void TDataSentakuListCtl::InitDataListRecord(TDataListRec& Rec, const std::string& Path) {
  Rec = TDataListRec{};
  Rec.GroupId = SystemDef.GroupId;
  Rec.Nendo = 1;
  Rec.PasName = Path;
  Rec.DataFolder = DataFolderPath(Rec);
}

void TDataSentakuListCtl::SetDataListRecordFromInfo(const TDataListInfoFields& Info, TDataListRec& Rec) {
  Rec.GroupId = SystemDef.GroupId;
  Rec.DataCode = Info.CODE;
  Rec.EntText = Info.DATALISTNAME;
  Rec.Shougou = Info.SHOUGOU;
  Rec.Nendo = Info.NENDO;
  // The dates are stored as "yyyy/mm/dd" whatever the process's date format.
  Rec.Kishu = StrToDateFixed(Info.KISHU);
  Rec.Kimatu = StrToDateFixed(Info.KIMATU);
  Rec.KikanText = KikanTextOf(Rec.Kishu, Rec.Kimatu);
  Rec.DataType = Info.DATAKBN;
  Rec.CodeType = Info.CODEKBN;
  Rec.Tantou = Info.TANTO;
  Rec.VerMajor = Info.MAJOR;
  Rec.VerMinor1 = Info.MINOR1;
  Rec.VerMinor2 = Info.MINOR2;
  Rec.VerText = Info.VERSION2;
  Rec.UpdateLock = Info.UPDATE_LOCK;
  Rec.Cloud = Info.CLOUD_SHARE;
  Rec.DataLock = 0;
  if (Info.STATUS == 3 && Info.OPCODE != 0) Rec.DataLock = CodeInGroup(Info.OPCODE);
  if (Rec.RowNo > 0) Rec.Gassan = kGassanChild;
  if (Info.SHARE_STATUS == 2 && Info.SHARE_OPCODE == SystemDef.OpCode) Rec.KyoyuLock = 1;
  if (Rec.NetDrive == 0) {
    if (Rec.EntText.empty()) Rec.EntText = Info.SHOUGOU;
  } else if (Rec.EntText.empty() || Rec.EntText == kAreaFree || Rec.EntText == kAreaNew) {
    Rec.EntText = Info.SHOUGOU;
  }
  Rec.DispName = Rec.EntText;
  Rec.DataFolder = DataFolderPath(Rec);
}

void TDataSentakuListCtl::GetDataListRecord(std::uint8_t Mode, TDataListRec& Rec, bool ShowErrors) {
  if (ServerMode == 1) return;
  std::string key;
  bool lookUp = Mode == 0;
  if (Mode == 1) {
    key = Rec.PasName;
    lookUp = GetLocalPathToData(key, Rec);
  }
  if (!lookUp) {
    InitDataListRecord(Rec, "");
    return;
  }
  const bool child = Rec.Gassan == kGassanChild;
  std::string sql = std::string("SELECT REC,") + (child ? "ROWNO," : "0 AS ROWNO,") + kRowColumns + CloudPart();
  if (Mode == 0) {
    sql += child ? "\nFROM CHILD_DATALIST\nWHERE (REC=:REC) AND (ROWNO=:ROWNO) AND (GROUPID=:GROUPID)"
                 : "\nFROM " + TableName + "\nWHERE (REC=:REC) AND (GROUPID=:GROUPID)" + PlaceCondition();
  } else {
    sql += child ? "\nFROM CHILD_DATALIST\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)"
                 : "\nFROM " + TableName + "\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)" + PlaceCondition();
  }
  const std::int32_t rec = Rec.Rec, rowNo = Rec.RowNo;
  const std::string path = UpperCase(Rec.PasName);
  Run({"GetDataListRecord", "データリストの取得に失敗しました。", ByShowErrors(ShowErrors), true, false}, [&] {
    SetSql(query1_, sql);
    BindGroup(query1_);
    BindPlace(query1_);
    if (TIBXSQLVAR* p = query1_.FindParam("REC")) p->AsInteger(rec);
    if (TIBXSQLVAR* p = query1_.FindParam("ROWNO")) p->AsInteger(rowNo);
    if (TIBXSQLVAR* p = query1_.FindParam("PASNAME")) p->AsString(path);
    // With several rows of one path, the row whose folder is the given path wins.
    for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) {
      ReadListRow(query1_, Rec, TRowRead::AsStored);
      if (Rec.DataFolder == key) break;
    }
    query1_.Close();
  });
}

std::int32_t TDataSentakuListCtl::MaxRecNumber() {
  SetSql(query1_, "SELECT MAX(REC) AS RECMAX FROM " + TableName + "\nWHERE (GROUPID=:GROUPID)" + PlaceCondition());
  BindGroup(query1_);
  BindPlace(query1_);
  query1_.ExecQuery();
  const std::int32_t max = query1_.Eof() ? 0 : query1_.FieldByName("RECMAX").AsInteger();
  query1_.Close();
  return max;
}

bool TDataSentakuListCtl::InsertDataListRecord(TDataListRec& Rec, bool ShowErrors) {
  if (ServerMode == 1) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  if (ConnectKind == 0) return true;
  std::string columns =
      "REC,GROUPID,PASNAME,ENTTEXT,SHOUGOU,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,TANTOU,"
      "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
  if (HasCloudColumn) columns += ",CLOUD";
  if (DataPlace > 0) columns = "DATAPLACEREC," + columns;
  const std::string sql = "INSERT INTO " + TableName + "(" + columns + ")\nVALUES(" + ValueList(columns) + ")";
  return Run({"InsertDataListRecord", "データリストの追加に失敗しました。", ByShowErrors(ShowErrors), false, true}, [&] {
    Rec.Rec = MaxRecNumber() + 1;
    SetSql(query1_, sql);
    BindRowParams(query1_, Rec);
    BindPlace(query1_);
    query1_.ExecQuery();
    query1_.Close();
  });
}

bool TDataSentakuListCtl::UpdateDataListRecord(const TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors) {
  if (ServerMode == 1) return true;
  if (Rec.Rec == 0 || IsBlankPath(Rec.PasName)) return false;
  if (Rec.Gassan == kGassanChild) return UpdateDataListChildRecord(Rec, NameToo, ShowErrors);
  return Run({"UpdateDataListRecord", "データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, true}, [&] {
    if (ConnectKind != 0) {
      // Another workstation may have given the number to another path.
      SetSql(query1_, "SELECT PASNAME FROM " + TableName + "\nWHERE (REC=:REC)" + PlaceCondition());
      query1_.ParamByName("REC").AsInteger(Rec.Rec);
      BindPlace(query1_);
      query1_.ExecQuery();
      const bool same = !query1_.Eof() && UpperCase(query1_.FieldByName("PASNAME").AsTrimString()) == UpperCase(Rec.PasName);
      query1_.Close();
      if (!same) return;
    }
    std::string sql = "UPDATE " + TableName + "\n" + kSetLines;
    if (HasCloudColumn) sql += ",CLOUD=:CLOUD";
    sql += "\nWHERE (REC=:REC)" + PlaceCondition();
    SetSql(query1_, sql);
    BindRowParams(query1_, Rec);
    BindPlace(query1_);
    query1_.ExecQuery();
    query1_.Close();
    if (Rec.Shougou.empty() && Rec.Kishu == 0 && Rec.Kimatu == 0) {
      SetSql(query1_, "DELETE FROM CHILD_DATALIST\nWHERE REC=:REC AND GROUPID=:GROUPID");
      query1_.ParamByName("REC").AsInteger(Rec.Rec);
      BindGroup(query1_);
      query1_.ExecQuery();
      query1_.Close();
    }
    if (Rec.NetDrive == 1) {
      TDataListRec server = Rec;
      UpdateServerDataListRecord(server, NameToo, false);
    }
  });
}

bool TDataSentakuListCtl::DeleteDataListRecord(const TDataListRec& Rec, bool ShowErrors) {
  if (ServerMode == 1) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  if (ConnectKind == 0 && Rec.Gassan == kGassanChild) return DeleteDataListChildRecord(Rec, ShowErrors);
  return Run({"DeleteDataListRecord", "データリストの削除に失敗しました。", ByShowErrors(ShowErrors), false, true}, [&] {
    // Rows of the fixed list size stay; an update empties them instead.
    SetSql(query1_, "DELETE FROM " + TableName + "\nWHERE (PASNAME=:PASNAME) AND (REC>:REC)" + PlaceCondition());
    query1_.ParamByName("PASNAME").AsString(Rec.PasName);
    query1_.ParamByName("REC").AsInteger(DataListCnt);
    BindPlace(query1_);
    query1_.ExecQuery();
    query1_.Close();
    DeleteDataListChildRecord(Rec, false);
  });
}

void TDataSentakuListCtl::PackRecNumbers() {
  if (ServerMode == 1 || ConnectKind == 0) return;
  Run({"PackRecNumbers", "", TOnError::PassOn, false, false}, [&] {
    SetSql(query2_, "SELECT REC FROM " + TableName + "\nWHERE (REC>:REC)" + PlaceCondition() + "\nORDER BY REC");
    query2_.ParamByName("REC").AsInteger(DataListCnt);
    BindPlace(query2_);
    std::int32_t n = DataListCnt;
    for (query2_.ExecQuery(); !query2_.Eof(); query2_.Next()) {
      ++n;
      const std::int32_t old = query2_.FieldByName("REC").AsInteger();
      if (old == n) continue;
      SetSql(query1_, "UPDATE " + TableName + " SET REC=:NEWREC\nWHERE (REC=:OLDREC)" + PlaceCondition());
      query1_.ParamByName("NEWREC").AsInteger(n);
      query1_.ParamByName("OLDREC").AsInteger(old);
      BindPlace(query1_);
      query1_.ExecQuery();
      query1_.Close();
    }
    query2_.Close();
  });
}

void TDataSentakuListCtl::GetDataListChildRecord(TDataSentakuRec& Row, bool ShowErrors) {
  if (ConnectKind != 0 || ServerMode == 1) return;
  Row.Children.clear();
  Row.ChildCount = 0;
  if (Row.Row.Gassan != kGassanParent && Row.Row.Gassan != kGassanHonsiten) return;
  Run({"GetDataListChildRecord", "(子)データリストの取得に失敗しました。", ByShowErrors(ShowErrors), true, false}, [&] {
    SetSql(query1_, std::string("SELECT REC,ROWNO,") + kRowColumns + CloudPart() +
                        "\nFROM CHILD_DATALIST\nWHERE (REC=:REC) AND (GROUPID=:GROUPID)\nORDER BY PASNAME");
    query1_.ParamByName("REC").AsInteger(Row.Row.Rec);
    BindGroup(query1_);
    ReadRows(query1_, TRowRead::AsStored, [&Row](const TDataListRec& child) {
      Row.Children.push_back(child);
      Row.ChildCount = static_cast<std::int32_t>(Row.Children.size());
    });
  });
}

bool TDataSentakuListCtl::UpdateDataListChildRecord(const TDataListRec& Rec, std::int32_t /*NameToo*/,
                                                    bool ShowErrors) {
  if (ConnectKind != 0 || ServerMode == 1) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  return Run({"UpdateDataListChildRecord", "(子)データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    const std::string where = "\nWHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID";
    SetSql(query1_, "SELECT COUNT(REC) AS RECCNT FROM CHILD_DATALIST" + where);
    BindRowParams(query1_, Rec);
    query1_.ExecQuery();
    const bool exists = query1_.FieldByName("RECCNT").AsInteger() > 0;
    query1_.Close();
    std::string sql;
    if (exists) {
      sql = std::string("UPDATE CHILD_DATALIST\n") + kSetLines + (HasCloudColumn ? ",CLOUD=:CLOUD" : "") + where;
    } else {
      std::string columns =
          "REC,ROWNO,GROUPID,ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,"
          "KISHU,KIMATU,DATALOCK,TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,KYOYULOCK,UPDATE_LOCK,GASSAN,"
          "DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
      if (HasCloudColumn) columns += ",CLOUD";
      sql = "INSERT INTO CHILD_DATALIST(" + columns + ")\nVALUES(" + ValueList(columns) + ")";
    }
    SetSql(query1_, sql);
    BindRowParams(query1_, Rec);
    query1_.ExecQuery();
    query1_.Close();
    if (Rec.NetDrive == 1) {
      TDataListRec server = Rec;
      UpdateServerDataListChildRecord(server, 1, false);
    }
  });
}

bool TDataSentakuListCtl::DeleteDataListChildRecord(const TDataListRec& Rec, bool ShowErrors) {
  if (ConnectKind != 0 || ServerMode == 1) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  const bool child = Rec.Gassan == kGassanChild;
  return Run({"DeleteDataListChildRecord", "(子)データリストの削除に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    SetSql(query1_, child ? "DELETE FROM CHILD_DATALIST\nWHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID"
                          : "DELETE FROM CHILD_DATALIST\nWHERE REC=:REC AND GROUPID=:GROUPID");
    BindRowParams(query1_, Rec);
    query1_.ExecQuery();
    query1_.Close();
    if (Rec.NetDrive != 1) return;
    // The shared-server children: the child's own row, or every row under the parent's path.
    SetSql(query1_, child ? "DELETE FROM CHILD_SERVERDATALIST\n"
                            "WHERE GROUPID=:GROUPID AND DRIVELETTER=:DRIVELETTER AND PASNAME=:PASNAME"
                          : "DELETE FROM CHILD_SERVERDATALIST\n"
                            "WHERE GROUPID=:GROUPID AND DRIVELETTER=:DRIVELETTER\nAND PASNAME STARTING WITH :PASNAME");
    BindGroup(query1_);
    query1_.ParamByName("DRIVELETTER").AsString(ShareDriveLetter(Rec.PasName));
    query1_.ParamByName("PASNAME").AsString(child ? Rec.PasName : IncludeTrailingPathDelimiter(Rec.PasName));
    query1_.ExecQuery();
    query1_.Close();
  });
}

std::int32_t TDataSentakuListCtl::GetDataFolderName(std::int32_t Increment) {
  if (ServerMode == 1) return 0;
  std::int32_t result = 0;
  Run({"GetDataFolderName", "最大のレコー番号の取得に失敗しました。", TOnError::ReportDbPassOn, true, false},
      [&] { result = MaxRecNumber() + Increment; });
  return result;
}

bool TDataSentakuListCtl::IsDataPathToroku(const std::string& Path) {
  if (ServerMode == 1) return true;
  bool found = false;
  Run({"IsDataPathToroku", "データリストの登録チェックに失敗しました。", TOnError::ReportDbPassOn, true, false}, [&] {
    SetSql(query1_, "SELECT COUNT(REC) AS RECCNT FROM " + TableName +
                        "\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)" + PlaceCondition());
    BindGroup(query1_);
    BindPlace(query1_);
    query1_.ParamByName("PASNAME").AsString(UpperCase(Path));
    query1_.ExecQuery();
    found = query1_.FieldByName("RECCNT").AsInteger() > 0;
    query1_.Close();
  });
  return found;
}

std::int32_t TDataSentakuListCtl::FindRecByPath(const std::string& Path) {
  std::int32_t rec = 0;
  Run({"FindRecByPath", "", TOnError::Swallow, true, false}, [&] {
    SetSql(query1_, "SELECT REC FROM " + TableName + "\nWHERE (PASNAME=:PASNAME)" + PlaceCondition());
    query1_.ParamByName("PASNAME").AsString(Path);
    BindPlace(query1_);
    query1_.ExecQuery();
    if (!query1_.Eof()) rec = query1_.FieldByName("REC").AsInteger();
    query1_.Close();
  });
  return rec;
}

void TDataSentakuListCtl::GetRecNoByPath(const std::string& Path, std::int32_t& RecNo) {
  RecNo = 0;
  if (IsBlankPath(Path)) return;
  if (ConnectKind == 0) {
    std::string first, second;
    TDM::ParseDataFolder(Path, first, second);
    RecNo = StrToIntDef(first, 0);
  } else if (ConnectKind == 1 || ConnectKind == 2) {
    TDataListRec rec;
    InitDataListRecord(rec, Path);
    GetDataListRecord(1, rec, true);
    RecNo = rec.Rec;
  }
}

TDataListInfoFields DataListInfoFields(const TDataInfomationRec& i) {
  TDataListInfoFields f;
  f.STATUS = i.STATUS;
  f.OPCODE = i.OPCODE;
  f.SHARE_STATUS = i.SHARE_STATUS;
  f.SHARE_OPCODE = i.SHARE_OPCODE;
  f.UPDATE_LOCK = i.UPDATE_LOCK;
  f.DATALISTNAME = i.DATALISTNAME;
  f.CODE = i.CODE;
  f.SHOUGOU = i.SHOUGOU;
  f.NENDO = i.NENDO;
  f.KISHU = i.KISHU;
  f.KIMATU = i.KIMATU;
  f.DATAKBN = i.DATAKBN;
  f.CODEKBN = i.CODEKBN;
  f.TANTO = i.TANTO;
  f.MAJOR = i.VERSION1[0];
  f.MINOR1 = i.VERSION1[1];
  f.MINOR2 = i.VERSION1[2];
  f.VERSION2 = i.VERSION2;
  f.CLOUD_SHARE = i.CLOUD_SHARE;
  return f;
}
