// The data-selection dialog's refresh of its rows against the data folders
// and their databases, the update-pending mark and the small row operations.
#include <QCoreApplication>

#include <algorithm>
#include <filesystem>

#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/fberror.h"
#include "dbaccess/serverfiles.h"
#include "dbupdate/dbupdatebox.h"
#include "platform/fb/iberror.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/messagebox.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace {

bool IsParentKind(std::uint8_t Gassan) { return Gassan <= 2; }

// The operator's logon code of an operator number.
std::int32_t LogonCode(std::int32_t OpCode) {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(OpCode % base) : OpCode;
}

}  // namespace

TDataListRec* TDataSentakuBox::GetRowRecord(std::int32_t Row) {
  if (Row <= 0 || Row > PerfectGrid1->Rows()) return nullptr;
  const auto index = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, dcIndex));
  if (index < 0 || index >= static_cast<std::int32_t>(DataList.size())) return nullptr;
  TDataSentakuRec& entry = DataList[static_cast<std::size_t>(index)];
  if (PerfectGrid1->CellNumber(Row, dcGassan) != static_cast<double>(kGassanChild)) return &entry.Row;
  const auto child = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, dcChild));
  if (child < 0 || child >= static_cast<std::int32_t>(entry.Children.size())) return nullptr;
  return &entry.Children[static_cast<std::size_t>(child)];
}

std::string TDataSentakuBox::GetRowDataFolder(std::int32_t Row) {
  const TDataListRec* r = GetRowRecord(Row);
  return r ? DataFolderPath(*r) : std::string();
}

std::int32_t TDataSentakuBox::GetParentRow(std::int32_t Row) {
  if (Row <= 0 || PerfectGrid1->CellNumber(Row, dcGassan) != static_cast<double>(kGassanChild)) return Row;
  const int parent = GridRowOfIndex(static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, dcIndex)));
  return parent > 0 ? parent : Row;
}

std::int32_t TDataSentakuBox::GetDispIndex(std::int32_t Row) {
  if (Row <= 0 || Row > PerfectGrid1->Rows()) return 0;
  const auto index = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, dcIndex));
  if (ActiveJyoken.JYOKENUSE == 1 || SyoriType == 3 || CallerJyokenOn) {
    const auto it = std::find(DispList.begin(), DispList.end(), index);
    return it == DispList.end() ? 0 : static_cast<std::int32_t>(it - DispList.begin());
  }
  return index;
}

std::int32_t TDataSentakuBox::GetShareState(std::uint8_t Mode, std::int32_t Index) {
  const TDataListRec* r = nullptr;
  if (Mode == 0) r = GetRowRecord(Index);
  else if (Mode == 1 && Index >= 0 && Index < static_cast<std::int32_t>(DataList.size()))
    r = &DataList[static_cast<std::size_t>(Index)].Row;
  if (!r || r->NetDrive == 0) return 0;
  return r->KyoyuLock == 0 ? 1 : 2;
}

void TDataSentakuBox::NumberChildNames(TDataSentakuRec& Rec) {
  for (std::size_t k = 0; k < Rec.Children.size(); ++k)
    Rec.Children[k].DispName = Format("%.2d ", static_cast<int>(k + 1)) + Rec.Children[k].EntText;
}

void TDataSentakuBox::SetDataStatus(const std::string& Folder, std::int32_t Status) {
  DataInfo->SetStatus(Folder, static_cast<std::uint8_t>(Status));
}

void TDataSentakuBox::SetKyoyuLock(std::int32_t Lock, TDataSentakuRec& Rec) {
  auto one = [this, Lock](TDataListRec& r) {
    r.KyoyuLock = Lock;
    StoreListRow(r);
    DataInfo->SetShareStatus(DataFolderPath(r), Lock == 1 ? 2 : 1);
  };
  one(Rec.Row);
  if (Rec.Row.Gassan == 1 || Rec.Row.Gassan == 2)
    for (TDataListRec& c : Rec.Children) one(c);
}

bool TDataSentakuBox::IsDbUpdatePending(std::int32_t Row, bool Check) {
  const std::string version = PerfectGrid1->CellText(Row, dcVerText);
  if (version.empty()) return false;
  bool pending = PerfectGrid1->CellNumber(Row, dcUpdate) == 1;
  if (Check && pending) {
    DbUpdateBox->PrepareDbUpdate(dbkAccounting, version);
    pending = DbUpdateBox->UpdateNeeded;
    PerfectGrid1->SetCellNumber(Row, dcUpdate, pending ? 1 : 0);
  }
  return pending;
}

std::uint8_t TDataSentakuBox::CheckDataStatus(const std::string& Folder, bool ShowNoData, bool ShowBox) {
  auto allowed = [](std::uint8_t s) {
    if (ConnectKind == 0) return s == 1;
    if (ConnectKind == 1 || ConnectKind == 2) return s == 1 || s == 2;
    return false;
  };
  const bool exists = DataModuleExists() ? ServerFiles().ServerFExist(DataFilePath(Folder), ConnectKind) : fs::exists(DataFilePath(Folder));
  if (!exists) {
    if (!ShowNoData) return 1;
    ShowSentakuBox(kMsgWarning, "このフォルダには財務データがありません。\r", MsgButtons({mbYes}));
    return 0;
  }
  DataInfo->ReadInfo(Folder, InfoRec);
  const std::uint8_t status = InfoRec.STATUS;
  if (status == 0 || status == 10 || !ShowBox || allowed(status)) return status;
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 1;
  info.Caption = "選択データの状態";
  info.Text = Format("このデータは%sのため処理が行えません。", DataStatusText(status));
  if (status == 2) info.Text += "\r前回、異常終了した場合は情報ボタンを押してデータの状態を回復して下さい。";
  info.Lines = {"【データフォルダ】", "　" + Folder, "", "【オペレータ】", "　" + Format("%d", LogonCode(InfoRec.OPCODE)),
                "", "【オペレータ名】", "　" + InfoRec.OPERATOR};
  ShowMessageBox(info);
  return status;
}

void TDataSentakuBox::DataListRefresh(std::int32_t Row) {
  if (Row >= 0) {
    TDataListRec* r = GetRowRecord(Row);
    if (!r) return;
    if (r->DataStatus == 1) {
      PerfectGrid1->SetCellNumber(Row, dcDamaged, 1);
      PerfectGrid1->SetRowTextColor(Row, 255);
      return;
    }
    const std::string folder = DataFolderPath(*r);
    const std::string file = DataFilePath(folder);
    std::int32_t current = Row;
    if (r->Gassan == kGassanChild) current = GetParentRow(Row);
    else if (!IsParentKind(r->Gassan)) return;
    const std::int32_t pos = GetDispIndex(current);
    const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(current, dcIndex));
    if (ConnectKind == 1 || ConnectKind == 2) {
      if (DataModuleExists() && ServerFiles().ServerFExist(file, ConnectKind)) {
        DataInfo->ReadInfo(folder, InfoRec);
        FillListRow(*r, false);
        StoreListRow(*r);
      } else if (!PerfectGrid1->CellText(Row, dcName).empty()) {
        FillListRow(DataList[index].Row, true);
        StoreListRow(DataList[index].Row);
      }
      FillGrid(pos);
      return;
    }
    bool childRemoved = false;
    if (fs::exists(file)) {
      DataInfo->ReadInfo(folder, InfoRec);
      TDataInfomationRec fromDb;
      if (DataInfo->ReadDataInfoFromDb(folder, fromDb) == 1) {
        InfoRec = fromDb;
        DataInfo->WriteIniValue(folder, kSectionDataSts, false, InfoRec.UPDATE_LOCK, "UPDATE_LOCK");
        DataInfo->WriteIniFile(folder, kSectionDataInfo, InfoRec);
        FillListRow(*r, false);
        StoreListRow(*r);
        if (r->Gassan != kGassanChild) RefreshChildList(current);
      } else if (SystemDef.DataDamaged == 1) {
        r->DataStatus = 1;
      }
    } else {
      if (r->NetDrive == 0 && fs::exists(DataInfoFileName(folder))) {
        std::error_code ec;
        fs::remove(DataInfoFileName(folder), ec);
      }
      if (!PerfectGrid1->CellText(Row, dcName).empty()) {
        if (r->Gassan != kGassanChild) {
          FillListRow(*r, true);
          DataList[index].Children.clear();
          DataList[index].ChildCount = 0;
          StoreListRow(*r);
        } else {
          RemoveChildData(Row, false);
          childRemoved = true;
        }
      }
    }
    FillGrid(pos);
    return void(childRemoved);
  }
  // The whole list.
  if (ConnectKind == 1 || ConnectKind == 2) {
    try {
      xAnimeProgressDialog1->SetInfoLabel("データリストの更新中…");
      TDataListRec rec;
      if (HasCurrentRow()) {
        const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(PerfectGrid1->Row(), dcIndex));
        if (index < DataList.size()) rec = DataList[index].Row;
      } else if (!DataList.empty()) {
        rec = DataList[0].Row;
      }
      ListCtl->PackRecNumbers();
      DataListReload(PerfectGrid1->TopRow(), rec);
    } catch (const EIBError& e) {
      ShowFbError(e, "TDataSentakuBox.DataListRefresh", "データリストの更新に失敗しました。", true);
    } catch (const std::exception& e) {
      ShowErrorDetail("データリストの更新に失敗しました。", e.what(), kMsgError);
    }
  }
  for (int r = 1; r <= PerfectGrid1->Rows(); ++r) {
    if (xAnimeProgressDialog1->Cancelled) break;
    xAnimeProgressDialog1->SetInfoLabel(Format("データリスト（%d行目）の更新中…", r));
    DataListRefresh(r);
    QCoreApplication::processEvents();
  }
}

void TDataSentakuBox::DataListReload(std::int32_t TopRow, const TDataListRec& Rec) {
  ReloadList();
  FillGrid(-1);
  if (TopRow < 0 || TopRow > 32699) TopRow = 0;
  if (PerfectGrid1->Rows() > 0 && TopRow < PerfectGrid1->Rows()) PerfectGrid1->SetTopRow(std::max(1, TopRow));
  std::string key = UpperCase(Rec.PasName);
  for (int r = 1; r <= PerfectGrid1->Rows(); ++r) {
    if (PerfectGrid1->RowValue(r) != Rec.Rec) continue;
    if (!Rec.PasName.empty()) {
      TDataListRec shown;
      shown.PasName = Rec.PasName;
      std::string tilde = PerfectGrid1->CellText(r, dcFolder);
      std::string expect = UpperCase(Rec.PasName);
      const std::string root = UpperCase(SystemDef.DataRoot);
      if (!root.empty() && expect.rfind(root, 0) == 0) expect = "~" + expect.substr(root.size());
      if (UpperCase(tilde) != expect) continue;
    }
    PerfectGrid1->SetRow(r);
    PerfectGrid1->SetCol(dcName);
    return;
  }
  if (PerfectGrid1->Rows() > 0) PerfectGrid1->SetRow(PerfectGrid1->TopRow() > 0 ? PerfectGrid1->TopRow() : 1);
  (void)key;
}

void TDataSentakuBox::RefreshChildList(std::int32_t Row) {
  TDataListRec* r = GetRowRecord(Row);
  if (!r || r->Gassan == kGassanChild) return;
  if (r->NetDrive == 1 && r->KyoyuLock == 0) return;
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(Row, dcIndex));
  TDataSentakuRec& entry = DataList[index];
  for (const TDataListRec& c : entry.Children)
    if (c.DataStatus == 1) {
      PerfectGrid1->SetRowTextColor(Row, 255);
      return;
    }
  for (const TDataListRec& c : entry.Children) ListCtl->DeleteDataListChildRecord(c, true);
  entry.Children.clear();
  entry.ChildCount = 0;
  if (entry.Row.Gassan != 1 && entry.Row.Gassan != 2) return;
  std::vector<std::string> names;
  const std::string parentFolder = DataFolderPath(entry.Row);
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(parentFolder, ec))
    if (e.is_directory()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  for (std::size_t pos = 0; pos < names.size(); ++pos) {
    const std::string folder = parentFolder + "/" + names[pos];
    if (!fs::exists(DataFilePath(folder))) continue;
    TDataListRec child;
    TDataSentakuListCtl::InitDataListRecord(child, entry.Row.PasName + "/" + names[pos]);
    child.Rec = entry.Row.Rec;
    child.RowNo = static_cast<std::int32_t>(pos + 1);
    child.NetDrive = entry.Row.NetDrive;
    child.KyoyuLock = entry.Row.KyoyuLock;
    child.Gassan = kGassanChild;
    child.DataFolder = DataFolderPath(child);
    TDataInfomationRec info;
    if (DataInfo->ReadDataInfoFromDb(folder, info) == 1) {
      InfoRec = info;
      FillListRow(child, false);
      child.Gassan = kGassanChild;
      StoreListRow(child);
      DataInfo->WriteIniValue(folder, kSectionDataSts, false, info.UPDATE_LOCK, "UPDATE_LOCK");
      DataInfo->WriteIniFile(folder, kSectionDataInfo, info);
    } else {
      DataInfo->ReadInfo(folder, InfoRec);
      FillListRow(child, false);
      child.Gassan = kGassanChild;
      if (child.EntText.empty()) {
        const TDataListRec& p = entry.Row;
        child.EntText = "破損データ";
        child.Shougou = p.Shougou;
        child.Nendo = p.Nendo;
        child.Kishu = p.Kishu;
        child.Kimatu = p.Kimatu;
        child.KikanText = p.KikanText;
        child.DataType = p.DataType;
        child.CodeType = p.CodeType;
        child.Tantou = p.Tantou;
        child.VerMajor = p.VerMajor;
        child.VerMinor1 = p.VerMinor1;
        child.VerMinor2 = p.VerMinor2;
        child.VerText = p.VerText;
        child.DispName = child.EntText;
      }
      child.DataStatus = 1;
      StoreListRow(child);
    }
    entry.Children.push_back(child);
  }
  entry.ChildCount = static_cast<std::int32_t>(entry.Children.size());
}

void TDataSentakuBox::RemoveChildData(std::int32_t Row, bool All) {
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(Row, dcIndex));
  if (index >= DataList.size()) return;
  TDataSentakuRec& entry = DataList[index];
  if (!All) {
    const auto child = static_cast<std::size_t>(PerfectGrid1->CellNumber(Row, dcChild));
    if (child < entry.Children.size()) entry.Children.erase(entry.Children.begin() + static_cast<std::ptrdiff_t>(child));
    entry.ChildCount = static_cast<std::int32_t>(entry.Children.size());
    return;
  }
  const TDataListArray children = entry.Children;
  entry.Children.clear();
  entry.ChildCount = 0;
  if (entry.Row.Gassan != 1 && entry.Row.Gassan != 2) return;
  for (const TDataListRec& c : children) ListCtl->DeleteDataListChildRecord(c, true);
  auto removeSubFolders = [](const std::string& parent) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(parent, ec))
      if (e.is_directory() && DataModuleExists()) ServerFiles().ServerRmDir(e.path().string(), false, ConnectKind);
  };
  removeSubFolders(NativePath(entry.Row.PasName));
  if (entry.Row.NetDrive == 1 && entry.Row.KyoyuLock == 1) removeSubFolders(DataFolderPath(entry.Row));
}
