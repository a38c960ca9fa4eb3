// The shared-server list (SERVERDATALIST, CHILD_SERVERDATALIST) kept in step
// with the local list, the names of new shared areas, and the mapping between
// a local working folder and the registered share path.
#include "core/globals.h"
#include "core/sysinfo.h"
#include "dataselect/connsettings.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/systemstore.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

bool IsAreaName(const std::string& name) { return name == kAreaFree || name == kAreaNew; }

}  // namespace

bool TDataSentakuListCtl::UpdateServerDataListRecord(TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors) {
  if (Rec.NetDrive == 0) return true;
  if (Rec.Gassan == kGassanChild) return UpdateServerDataListChildRecord(Rec, NameToo, ShowErrors);
  const std::string letter = ShareDriveLetter(Rec.PasName);
  return Run({"UpdateServerDataListRecord", "共有データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    TServerDataListTable server = Server(false, letter);
    Rec.Rec = server.TakeNumberOfPath(Rec.PasName);
    if (DirectoryExists(Rec.PasName)) {
      if (Rec.Rec != 0) {
        server.Update(Rec, NameToo);
      } else {
        Rec.Rec = server.NextNumber();
        server.Insert(Rec);
      }
    }
    // The area was emptied: its registration goes.
    if (!IsAreaName(Rec.EntText) && Rec.Kishu == 0 && Rec.Kimatu == 0) server.DeleteNumber(Rec.Rec);
    TDataListTable(query1_).SetLockOfPath(Rec.PasName, Rec.DataLock);
  });
}

bool TDataSentakuListCtl::UpdateServerDataListChildRecord(TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors) {
  if (Rec.NetDrive == 0) return true;
  const std::string letter = ShareDriveLetter(Rec.PasName);
  return Run({"UpdateServerDataListChildRecord", "共有(子)データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    TServerDataListTable children = Server(true, letter);
    Rec.Rec = children.TakeNumberOfPath(Rec.PasName);
    const bool exists = Rec.Rec != 0;
    // A new child row takes the number of its parent's server row.
    if (!exists) Rec.Rec = Server(false, letter).FindNumber(ParentFolderPath(Rec.PasName));
    if (Rec.Rec > 0) {
      if (exists) children.Update(Rec, NameToo);
      else children.Insert(Rec);
    }
    Children().SetLockOfPath(Rec.PasName, Rec.DataLock);
  });
}

bool TDataSentakuListCtl::DeleteServerDataListChildRecord(const TDataListRec& Rec, bool ShowErrors) {
  if (Rec.NetDrive == 0) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  const bool child = Rec.Gassan == kGassanChild;
  return Run({"DeleteServerDataListChildRecord", "共有(子)データリストの削除に失敗しました。", ByShowErrors(ShowErrors), false, false}, [&] {
    TServerDataListTable children = Server(true, ShareDriveLetter(Rec.PasName));
    if (child) children.DeleteRow(Rec.Rec, Rec.RowNo);
    else children.DeleteNumber(Rec.Rec);
  });
}

void TDataSentakuListCtl::NextServerFolderName(const std::string& DriveRoot, std::int32_t Increment,
                                               std::string& Name) {
  Name.clear();
  std::int32_t number = 0;
  const bool done = Run({"NextServerFolderName", "", TOnError::Swallow, true, false}, [&] {
    // The areas "sv0001", "sv0002", ... directly under the drive's root.
    const std::string maxPath =
        Server(false, ShareDriveLetter(DriveRoot)).MaxPathStartingWith(IncludeTrailingPathDelimiter(DriveRoot) + "sv");
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
    const std::int32_t count = TDataListTable(query1_).CountByPath(LocalPath) + Children().CountByPath(LocalPath);
    if (count != 0 || LocalPath != unc) return;
    // An unregistered working folder: the row of its folder number tells the share.
    std::string folder, childFolder;
    TSystemStore::ParseDataFolder(LocalPath, folder, childFolder);
    TDataListTable(query1_).ReadPathsOfNumber(StrToIntDef(folder, 0), [&](const TDataListRec& row) {
      SharePath = row.PasName;
      NetDrive = row.NetDrive;
      KyoyuLock = row.KyoyuLock;
      if (!childFolder.empty()) SharePath = PathJoin(SharePath, childFolder);
    });
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
    const std::int32_t count = child ? Children().CountByPath(Path) : TDataListTable(query1_).CountByPath(Path);
    if (count != 0 || Path != unc) return;
    // An unregistered working folder "…/0012" (or "…/0012/003" for a child)
    // stands for the registered path of row 12 (or of its child 003).
    const std::string last = LastFolderName(Path);
    const std::string numberFolder = child ? LastFolderName(ParentFolderPath(Path)) : last;
    auto take = [&](const TDataListRec& row) {
      if (child && LastFolderName(row.PasName) != last) return;
      Rec.PasName = row.PasName;
      Rec.DataFolder = DataFolderPath(Rec);
    };
    const std::int32_t number = StrToIntDef(numberFolder, 0);
    if (child) Children().ReadPathsOfNumber(number, take);
    else TDataListTable(query1_).ReadPathsOfNumber(number, take);
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
    TSystemStore::ParseDataFolder(LocalPath, folder, childFolder);
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
    number = Local().FindLowestNumber(key);
  });
  if (number == 0) return;
  row.Rec = number;
  row.NetDrive = 1;
  row.PasName = Path;
  row.Gassan = Kind;
  Folder = DataFolderPath(row);
}
