// The shared-server list (SERVERDATALIST, CHILD_SERVERDATALIST) kept in step
// with the local list, the names of new shared areas, and the mapping between
// a local working folder and the registered share path.
#include "core/globals.h"
#include "core/sysinfo.h"
#include "dataselect/connsettings.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/dm.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

// The SET lines of an update of a shared-server row.
const char* const kServerSetLines =
    "SET PASNAME=:PASNAME,DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,\n"
    "NENDO=:NENDO,KISHU=:KISHU,KIMATU=:KIMATU,DATALOCK=:DATALOCK,TANTOU=:TANTOU,\n"
    "VER_MAJOR=:VER_MAJOR,VER_MINOR1=:VER_MINOR1,VER_MINOR2=:VER_MINOR2,VER_TEXT=:VER_TEXT,\n"
    "UPDATE_LOCK=:UPDATE_LOCK,GASSAN=:GASSAN,DATACODE=:DATACODE,DATA_STATUS=:DATA_STATUS,YOBI1=:YOBI1,YOBI2=:YOBI2,"
    "YOBI3=:YOBI3";
const char* const kServerInsertColumns =
    "ENTTEXT,SHOUGOU,PASNAME,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,"
    "VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
const char* const kPathCondition = "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER) AND (PASNAME=:PASNAME)";

std::string Values(const std::string& columns) {
  std::string values = ":";
  for (char c : columns) {
    values += c;
    if (c == ',') values += ':';
  }
  return values;
}

bool IsAreaName(const std::string& name) { return name == kAreaFree || name == kAreaNew; }

}  // namespace

std::int32_t TDataSentakuListCtl::ServerRowNumber(const char* Table, const std::string& Letter,
                                                   const std::string& Path) {
  SetSql(query1_, std::string("SELECT REC FROM ") + Table + kPathCondition);
  BindGroup(query1_);
  query1_.ParamByName("DRIVELETTER").AsString(Letter);
  query1_.ParamByName("PASNAME").AsString(Path);
  std::int32_t rec = 0;
  int rows = 0;
  for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) {
    rec = query1_.FieldByName("REC").AsInteger();
    ++rows;
  }
  query1_.Close();
  if (rows <= 1) return rows == 1 ? rec : 0;
  // Several rows of one path: all go, a new one takes their place.
  SetSql(query1_, std::string("DELETE FROM ") + Table + kPathCondition);
  BindGroup(query1_);
  query1_.ParamByName("DRIVELETTER").AsString(Letter);
  query1_.ParamByName("PASNAME").AsString(Path);
  query1_.ExecQuery();
  query1_.Close();
  return 0;
}

bool TDataSentakuListCtl::UpdateServerDataListRecord(TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors) {
  if (Rec.NetDrive == 0) return true;
  if (Rec.Gassan == kGassanChild) return UpdateServerDataListChildRecord(Rec, NameToo, ShowErrors);
  const std::string letter = ShareDriveLetter(Rec.PasName);
  return Run({"UpdateServerDataListRecord", "共有データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    Rec.Rec = ServerRowNumber("SERVERDATALIST", letter, Rec.PasName);
    const std::string keyCondition = "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER) AND (REC=:REC)";
    if (DirectoryExists(Rec.PasName)) {
      std::string sql;
      if (Rec.Rec != 0) {
        sql = std::string("UPDATE SERVERDATALIST\n") + kServerSetLines;
        if (NameToo == 1) sql += ",ENTTEXT=:ENTTEXT,SHOUGOU=:SHOUGOU";
        if (HasCloudColumn) sql += ",CLOUD=:CLOUD";
        sql += keyCondition;
      } else {
        SetSql(query1_, "SELECT MAX(REC) AS RECMAX FROM SERVERDATALIST\n"
                        "WHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER)");
        BindGroup(query1_);
        query1_.ParamByName("DRIVELETTER").AsString(letter);
        query1_.ExecQuery();
        Rec.Rec = (query1_.Eof() ? 0 : query1_.FieldByName("RECMAX").AsInteger()) + 1;
        query1_.Close();
        std::string columns = std::string("GROUPID,DRIVELETTER,REC,") + kServerInsertColumns;
        if (HasCloudColumn) columns += ",CLOUD";
        sql = "INSERT INTO SERVERDATALIST(" + columns + ")\nVALUES(" + Values(columns) + ")";
      }
      SetSql(query1_, sql);
      BindRowParams(query1_, Rec);
      query1_.ParamByName("DRIVELETTER").AsString(letter);
      query1_.ExecQuery();
      query1_.Close();
    }
    if (!IsAreaName(Rec.EntText) && Rec.Kishu == 0 && Rec.Kimatu == 0) {
      // The area was emptied: its registration goes.
      SetSql(query1_, "DELETE FROM SERVERDATALIST" + keyCondition);
      BindGroup(query1_);
      query1_.ParamByName("DRIVELETTER").AsString(letter);
      query1_.ParamByName("REC").AsInteger(Rec.Rec);
      query1_.ExecQuery();
      query1_.Close();
    }
    SetSql(query1_, "UPDATE DATALIST\nSET DATALOCK=:DATALOCK\nWHERE PASNAME=:PASNAME");
    query1_.ParamByName("DATALOCK").AsInteger(Rec.DataLock);
    query1_.ParamByName("PASNAME").AsString(Rec.PasName);
    query1_.ExecQuery();
    query1_.Close();
  });
}

bool TDataSentakuListCtl::UpdateServerDataListChildRecord(TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors) {
  if (Rec.NetDrive == 0) return true;
  const std::string letter = ShareDriveLetter(Rec.PasName);
  return Run({"UpdateServerDataListChildRecord", "共有(子)データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    Rec.Rec = ServerRowNumber("CHILD_SERVERDATALIST", letter, Rec.PasName);
    std::string sql;
    if (Rec.Rec != 0) {
      sql = std::string("UPDATE CHILD_SERVERDATALIST\n") + kServerSetLines;
      if (NameToo == 1) sql += ",ENTTEXT=:ENTTEXT,SHOUGOU=:SHOUGOU";
      if (HasCloudColumn) sql += ",CLOUD=:CLOUD";
      sql += "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER) AND (REC=:REC) AND (ROWNO=:ROWNO)";
    } else {
      // A new child row takes the number of its parent's server row.
      SetSql(query1_, std::string("SELECT REC FROM SERVERDATALIST") + kPathCondition);
      BindGroup(query1_);
      query1_.ParamByName("DRIVELETTER").AsString(letter);
      query1_.ParamByName("PASNAME").AsString(ParentFolderPath(Rec.PasName));
      for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) Rec.Rec = query1_.FieldByName("REC").AsInteger();
      query1_.Close();
      std::string columns = std::string("GROUPID,DRIVELETTER,REC,ROWNO,") + kServerInsertColumns;
      if (HasCloudColumn) columns += ",CLOUD";
      sql = "INSERT INTO CHILD_SERVERDATALIST(" + columns + ")\nVALUES(" + Values(columns) + ")";
    }
    if (Rec.Rec > 0) {
      SetSql(query1_, sql);
      BindRowParams(query1_, Rec);
      query1_.ParamByName("DRIVELETTER").AsString(letter);
      query1_.ExecQuery();
      query1_.Close();
    }
    SetSql(query1_, "UPDATE CHILD_DATALIST\nSET DATALOCK=:DATALOCK\nWHERE PASNAME=:PASNAME");
    query1_.ParamByName("DATALOCK").AsInteger(Rec.DataLock);
    query1_.ParamByName("PASNAME").AsString(Rec.PasName);
    query1_.ExecQuery();
    query1_.Close();
  });
}

bool TDataSentakuListCtl::DeleteServerDataListChildRecord(const TDataListRec& Rec, bool ShowErrors) {
  if (Rec.NetDrive == 0) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  const bool child = Rec.Gassan == kGassanChild;
  return Run({"DeleteServerDataListChildRecord", "共有(子)データリストの削除に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    SetSql(query1_, child ? "DELETE FROM CHILD_SERVERDATALIST\n"
                            "WHERE GROUPID=:GROUPID AND DRIVELETTER=:DRIVELETTER AND REC=:REC AND ROWNO=:ROWNO"
                          : "DELETE FROM CHILD_SERVERDATALIST\n"
                            "WHERE GROUPID=:GROUPID AND DRIVELETTER=:DRIVELETTER AND REC=:REC");
    BindRowParams(query1_, Rec);
    query1_.ParamByName("DRIVELETTER").AsString(ShareDriveLetter(Rec.PasName));
    query1_.ExecQuery();
    query1_.Close();
  });
}

void TDataSentakuListCtl::NextServerFolderName(const std::string& DriveRoot, std::int32_t Increment,
                                               std::string& Name) {
  Name.clear();
  std::int32_t number = 0;
  const bool done = Run({"NextServerFolderName", "", TOnError::Swallow, true, false}, [&] {
    // The areas "sv0001", "sv0002", ... directly under the drive's root.
    SetSql(query1_, "SELECT MAX(PASNAME) AS MAXPATH FROM SERVERDATALIST\n"
                    "WHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER) AND (PASNAME STARTING WITH :PASNAME)");
    BindGroup(query1_);
    query1_.ParamByName("DRIVELETTER").AsString(ShareDriveLetter(DriveRoot));
    query1_.ParamByName("PASNAME").AsString(IncludeTrailingPathDelimiter(DriveRoot) + "sv");
    query1_.ExecQuery();
    const std::string maxPath = query1_.Eof() ? std::string() : query1_.FieldByName("MAXPATH").AsTrimString();
    query1_.Close();
    const std::string last = LastFolderName(maxPath);
    const std::string digits = last.size() > 4 ? last.substr(last.size() - 4) : last;
    number = StrToIntDef(Trim(digits), 0);
  });
  Name = done ? Format("sv%.4d", number + Increment) : "sv0001";
}

bool TDataSentakuListCtl::ConvLocalPathToSharePath(const std::string& LocalPath, std::string& SharePath,
                                                   std::int32_t& NetDrive, std::int32_t& KyoyuLock) {
  if (ServerMode == 1) return true;
  SharePath = LocalPath;
  NetDrive = 0;
  KyoyuLock = 0;
  if (IsBlankPath(LocalPath)) return false;
  if (ConnectKind != 0) return true;
  std::string unc;
  GetUNCPath(LocalPath, unc);
  return Run({"ConvLocalPathToSharePath", "", TOnError::ReportDbPassOn, false, false}, [&] {
    SetSql(query1_, "SELECT COUNT(REC) AS RECCNT FROM DATALIST\nWHERE (GROUPID=:GROUPID1) AND (UPPER(PASNAME)=:PASNAME1)\n"
                    "UNION\nSELECT COUNT(REC) AS RECCNT FROM CHILD_DATALIST\n"
                    "WHERE (GROUPID=:GROUPID2) AND (UPPER(PASNAME)=:PASNAME2)");
    query1_.ParamByName("GROUPID1").AsInteger(SystemDef.GroupId);
    query1_.ParamByName("GROUPID2").AsInteger(SystemDef.GroupId);
    query1_.ParamByName("PASNAME1").AsString(UpperCase(LocalPath));
    query1_.ParamByName("PASNAME2").AsString(UpperCase(LocalPath));
    int count = 0;
    for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) count += query1_.FieldByName("RECCNT").AsInteger();
    query1_.Close();
    if (count != 0 || LocalPath != unc) return;
    // An unregistered working folder: the row of its folder number tells the share.
    std::string folder, childFolder;
    TDM::ParseDataFolder(LocalPath, folder, childFolder);
    SetSql(query1_, "SELECT REC,PASNAME,NETDRIVE,KYOYULOCK FROM DATALIST\nWHERE REC=:REC");
    query1_.ParamByName("REC").AsInteger(StrToIntDef(folder, 0));
    for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) {
      SharePath = query1_.FieldByName("PASNAME").AsTrimString();
      NetDrive = query1_.FieldByName("NETDRIVE").AsInteger();
      KyoyuLock = query1_.FieldByName("KYOYULOCK").AsInteger();
      if (!childFolder.empty()) SharePath = PathJoin(SharePath, childFolder);
    }
    query1_.Close();
  });
}

bool TDataSentakuListCtl::GetLocalPathToData(const std::string& Path, TDataListRec& Rec) {
  if (ServerMode == 1) return true;
  Rec.PasName = Path;
  if (IsBlankPath(Path)) return false;
  if (ConnectKind != 0) return true;
  std::string unc;
  GetUNCPath(Path, unc);
  const bool child = Rec.Gassan == kGassanChild;
  return Run({"GetLocalPathToData", "", TOnError::ReportDbPassOn, false, false}, [&] {
    SetSql(query1_, std::string("SELECT COUNT(REC) AS RECCNT FROM ") + (child ? "CHILD_DATALIST" : "DATALIST") +
                        "\nWHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)");
    BindGroup(query1_);
    query1_.ParamByName("PASNAME").AsString(UpperCase(Path));
    query1_.ExecQuery();
    const int count = query1_.FieldByName("RECCNT").AsInteger();
    query1_.Close();
    if (count != 0 || Path != unc) return;
    // An unregistered working folder "…/0012" (or "…/0012/003" for a child)
    // stands for the registered path of row 12 (or of its child 003).
    const std::string last = LastFolderName(Path);
    const std::string numberFolder = child ? LastFolderName(ParentFolderPath(Path)) : last;
    SetSql(query1_, std::string("SELECT PASNAME FROM ") + (child ? "CHILD_DATALIST" : "DATALIST") + "\nWHERE (REC=:REC)");
    query1_.ParamByName("REC").AsInteger(StrToIntDef(numberFolder, 0));
    for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) {
      const std::string registered = query1_.FieldByName("PASNAME").AsTrimString();
      if (child && LastFolderName(registered) != last) continue;
      Rec.PasName = registered;
      Rec.DataFolder = DataFolderPath(Rec);
    }
    query1_.Close();
  });
}

std::int32_t TDataSentakuListCtl::GetDataListRecordByLocalPath(const std::string& LocalPath, TDataSentakuRec& Row) {
  Row = TDataSentakuRec{};
  InitDataListRecord(Row.Row, "");
  Row.Row.DataFolder = LocalPath;
  ConvLocalPathToSharePath(LocalPath, Row.Row.PasName, Row.Row.NetDrive, Row.Row.KyoyuLock);
  std::int32_t number = 0;
  if (ConnectKind == 0) {
    std::string folder, childFolder;
    TDM::ParseDataFolder(LocalPath, folder, childFolder);
    number = StrToIntDef(folder, 0);
  } else {
    number = FindRecByPath(LocalPath);
  }
  if (number == 0) number = FindRecByPath(LocalPath);
  if (number <= 0) {
    Row = TDataSentakuRec{};
    InitDataListRecord(Row.Row, "");
    return 0;
  }
  Row.Row.Rec = number;
  GetDataListRecord(0, Row.Row, false);
  GetDataListChildRecord(Row, false);
  return 1;
}

void TDataSentakuListCtl::GetShareLocalFolder(const std::string& Path, std::uint8_t Kind, std::string& Folder) {
  Folder.clear();
  if (IsBlankPath(Path)) return;
  TDataListRec row;
  InitDataListRecord(row, Path);
  // A distributed child is found through its parent's row.
  const std::string key = Kind == kGassanChild ? ParentFolderPath(Path) : Path;
  std::int32_t number = 0;
  Run({"GetShareLocalFolder", "", TOnError::Swallow, true, false}, [&] {
    SetSql(query1_, "SELECT REC FROM " + TableName + "\nWHERE (PASNAME=:PASNAME)\nORDER BY REC");
    query1_.ParamByName("PASNAME").AsString(key);
    query1_.ExecQuery();
    if (!query1_.Eof()) number = query1_.FieldByName("REC").AsInteger();
    query1_.Close();
  });
  if (number == 0) return;
  row.Rec = number;
  row.NetDrive = 1;
  row.PasName = Path;
  row.Gassan = Kind;
  Folder = DataFolderPath(row);
}
