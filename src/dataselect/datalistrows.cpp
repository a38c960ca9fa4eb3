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
#include "dbaccess/systemstore.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

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
  const std::int32_t rec = Rec.Rec, rowNo = Rec.RowNo;
  const std::string path = Rec.PasName;
  Run({"GetDataListRecord", "データリストの取得に失敗しました。", ByShowErrors(ShowErrors), true, false}, [&] {
    // With several rows of one path, the row whose folder is the given path wins.
    if (Mode == 0 && child) Children().ReadByNumber(rec, rowNo, key, Rec);
    else if (Mode == 0) Local().ReadByNumber(rec, key, Rec);
    else if (child) Children().ReadByPath(path, key, Rec);
    else Local().ReadByPath(path, key, Rec);
  });
}

bool TDataSentakuListCtl::InsertDataListRecord(TDataListRec& Rec, bool ShowErrors) {
  if (ServerMode == 1) return true;
  if (IsBlankPath(Rec.PasName)) return false;
  if (ConnectKind == 0) return true;
  return Run({"InsertDataListRecord", "データリストの追加に失敗しました。", ByShowErrors(ShowErrors), false, true}, [&] {
    TDataListTable table = Local();
    Rec.Rec = table.MaxNumber() + 1;
    table.Insert(Rec);
  });
}

bool TDataSentakuListCtl::UpdateDataListRecord(const TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors) {
  if (ServerMode == 1) return true;
  if (Rec.Rec == 0 || IsBlankPath(Rec.PasName)) return false;
  if (Rec.Gassan == kGassanChild) return UpdateDataListChildRecord(Rec, NameToo, ShowErrors);
  return Run({"UpdateDataListRecord", "データリストの更新に失敗しました。", ByShowErrors(ShowErrors), false, true}, [&] {
    TDataListTable table = Local();
    if (ConnectKind != 0) {
      // Another workstation may have given the number to another path.
      const std::optional<std::string> stored = table.PathOfNumber(Rec.Rec);
      if (!stored || UpperCase(*stored) != UpperCase(Rec.PasName)) return;
    }
    table.Update(Rec);
    if (Rec.Shougou.empty() && Rec.Kishu == 0 && Rec.Kimatu == 0) Children().DeleteChildrenOf(Rec.Rec);
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
    Local().DeleteBeyond(Rec.PasName, DataListCnt);
    DeleteDataListChildRecord(Rec, false);
  });
}

void TDataSentakuListCtl::PackRecNumbers() {
  if (ServerMode == 1 || ConnectKind == 0) return;
  Run({"PackRecNumbers", "", TOnError::PassOn, false, false}, [&] { Local().PackNumbers(query2_, DataListCnt); });
}

void TDataSentakuListCtl::GetDataListChildRecord(TDataSentakuRec& Row, bool ShowErrors) {
  if (ConnectKind != 0 || ServerMode == 1) return;
  Row.Children.clear();
  Row.ChildCount = 0;
  if (Row.Row.Gassan != kGassanParent && Row.Row.Gassan != kGassanHonsiten) return;
  Run({"GetDataListChildRecord", "(子)データリストの取得に失敗しました。", ByShowErrors(ShowErrors), true, false}, [&] {
    Children().ReadChildren(Row.Row.Rec, [&Row](const TDataListRec& child) {
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
    TChildDataListTable children = Children();
    if (children.Exists(Rec.Rec, Rec.RowNo))
      children.Update(Rec);
    else
      children.Insert(Rec);
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
    if (child) Children().DeleteRow(Rec.Rec, Rec.RowNo);
    else Children().DeleteChildrenOf(Rec.Rec);
    if (Rec.NetDrive != 1) return;
    // The shared-server children: the child's own row, or every row under the parent's path.
    TServerDataListTable server = Server(true, ShareDriveLetter(Rec.PasName));
    if (child) server.DeletePath(Rec.PasName);
    else server.DeleteUnder(Rec.PasName);
  });
}

std::int32_t TDataSentakuListCtl::GetDataFolderName(std::int32_t Increment) {
  if (ServerMode == 1) return 0;
  std::int32_t result = 0;
  Run({"GetDataFolderName", "最大のレコー番号の取得に失敗しました。", TOnError::ReportDbPassOn, true, false},
      [&] { result = Local().MaxNumber() + Increment; });
  return result;
}

bool TDataSentakuListCtl::IsDataPathToroku(const std::string& Path) {
  if (ServerMode == 1) return true;
  bool found = false;
  Run({"IsDataPathToroku", "データリストの登録チェックに失敗しました。", TOnError::ReportDbPassOn, true, false}, [&] {
    found = Local().CountByPath(Path) > 0;
  });
  return found;
}

std::int32_t TDataSentakuListCtl::FindRecByPath(const std::string& Path) {
  std::int32_t rec = 0;
  Run({"FindRecByPath", "", TOnError::Swallow, true, false}, [&] {
    rec = Local().FindNumber(Path);
  });
  return rec;
}

void TDataSentakuListCtl::GetRecNoByPath(const std::string& Path, std::int32_t& RecNo) {
  RecNo = 0;
  if (IsBlankPath(Path)) return;
  if (ConnectKind == 0) {
    std::string first, second;
    TSystemStore::ParseDataFolder(Path, first, second);
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
