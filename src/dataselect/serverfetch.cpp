#include "dataselect/serverfetch.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datainfo.h"
#include "platform/rtl/sysutils.h"
#include "ui/messagebox.h"

namespace fs = std::filesystem;

namespace {

const char* const kBoxCaption = "選択データの状態";
const char* const kDamagedText =
    "共有サーバー上のデータが破損しているため、共有データの取得を中止します。\r"
    "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。";
const char* const kInUseText = "共有データは現在使用されています。";
const char* const kStaging = ".staging";

bool HoldsData(const fs::path& Folder) { return fs::exists(Folder / DataFile); }

// Sub-folders of Folder that hold a data-set database, in name order.
std::vector<fs::path> DataSubFolders(const fs::path& Folder) {
  std::vector<fs::path> list;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(Folder, ec)) {
    const std::string name = e.path().filename().string();
    if (e.is_directory() && name.find(kStaging) == std::string::npos && HoldsData(e.path())) list.push_back(e.path());
  }
  std::sort(list.begin(), list.end());
  return list;
}

void RefusalBox(const std::string& Text, const std::string& Path, const std::vector<std::string>& Operator,
                const std::string& OperatorName) {
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 1;
  info.Caption = kBoxCaption;
  info.TextColor = 255;
  info.Position = poScreenCenter;
  info.Text = Text;
  info.Lines = {"【データフォルダ】", "　" + Path, "", "【オペレータ】"};
  info.Lines.insert(info.Lines.end(), Operator.begin(), Operator.end());
  info.Lines.insert(info.Lines.end(), {"", "【オペレータ名】", "　" + OperatorName});
  ShowMessageBox(info);
}

void RefuseWith(const TDataInfomationRec& Info, const std::string& Text, const std::string& Path) {
  std::vector<std::string> op;
  if (Info.SHARE_OPCODE > 0) {
    const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
    op.push_back("　" + Format("%d", static_cast<int>(base > 0 ? Info.SHARE_OPCODE % base : Info.SHARE_OPCODE)));
  }
  RefusalBox(Text, Path, op, Info.SHARE_OPERATOR);
}

std::string Replaced(const std::string& Text, const std::string& From, const std::string& To) {
  if (From.empty()) return Text;
  std::string out;
  std::size_t pos = 0;
  for (std::size_t at; (at = Text.find(From, pos)) != std::string::npos; pos = at + From.size()) out += Text.substr(pos, at - pos) + To;
  return out + Text.substr(pos);
}

// The staging folder beside a place.
fs::path StagingOf(const fs::path& Place) { return Place.parent_path() / (Place.filename().string() + kStaging); }

void RemoveQuietly(const fs::path& Path) {
  std::error_code ec;
  fs::remove_all(Path, ec);
}

// Puts every staged folder in place of its target (the old one removed only
// now); false when a rename failed (the old folder then stays).
bool SwapIn(const std::vector<std::pair<fs::path, fs::path>>& Staged) {
  bool ok = true;
  for (const auto& [staging, target] : Staged) {
    std::error_code ec;
    const fs::path old = target.parent_path() / (target.filename().string() + ".old" + kStaging);
    RemoveQuietly(old);
    if (fs::exists(target)) fs::rename(target, old, ec);
    if (ec) {
      ok = false;
      continue;
    }
    fs::rename(staging, target, ec);
    if (ec) {
      fs::rename(old, target, ec);
      ok = false;
      continue;
    }
    RemoveQuietly(old);
  }
  return ok;
}

// Copies the database files of a folder (the files named like DataFile with
// any extension) into a fresh staging folder.
bool StageCopy(const fs::path& From, const fs::path& Staging) {
  RemoveQuietly(Staging);
  std::error_code ec;
  if (!fs::create_directories(Staging, ec) || ec) return false;
  const std::string stem = fs::path(DataFile).stem().string();
  bool any = false;
  for (const auto& e : fs::directory_iterator(From, ec)) {
    if (!e.is_regular_file() || e.path().stem().string() != stem) continue;
    if (!fs::copy_file(e.path(), Staging / e.path().filename(), fs::copy_options::overwrite_existing, ec) || ec) return false;
    any = true;
  }
  return any && !ec;
}

void StoreRow(TDataSentakuListCtl& Ctl, TDataListRec& Rec) {
  if (Rec.Gassan == kGassanChild) Ctl.UpdateDataListChildRecord(Rec, 0, true);
  else Ctl.UpdateDataListRecord(Rec, 0, true);
}


bool IsCombined(std::uint8_t Gassan) { return Gassan == kGassanParent || Gassan == kGassanHonsiten; }

}  // namespace

std::int32_t KyoyuDataDown(TDataSentakuListCtl& Ctl, TDataSentakuRec& Row, std::int32_t Silent) {
  TDataListRec& r = Row.Row;
  if (r.PasName.empty() || r.DataFolder.empty()) return 0;
  TDataInfomation info;
  info.ConnectKind = Ctl.ConnectKind;
  TDataInfomationRec rec;
  const bool readable = info.ReadInfo(r.PasName, rec) != 0 || r.EntText == kAreaFree || r.EntText == kAreaNew;
  if (!readable) {
    if (Silent != 1) {
      TMessageInfoRec box;
      InitMessageInfo(box);
      box.Kind = 1;
      box.Caption = kBoxCaption;
      box.TextColor = 255;
      box.Position = poScreenCenter;
      box.Text = "共有サーバーが起動していない、接続が切断されている または 共有サーバー上のデータ領域が削除された可能性があります。";
      box.Lines = {"【共有データパス】", r.PasName};
      ShowMessageBox(box);
    }
    return 0;
  }
  bool damaged = rec.STATUS == dsDamaged;
  if (rec.SHOUGOU.empty()) rec.SHOUGOU = r.EntText.empty() ? kAreaFree : r.EntText;
  if (rec.DATALISTNAME.empty()) rec.DATALISTNAME = r.EntText.empty() ? kAreaFree : r.EntText;
  r.EntText = r.DispName = rec.DATALISTNAME;
  r.UpdateLock = rec.UPDATE_LOCK;
  r.Gassan = rec.GASSANKBN;
  TDataSentakuListCtl::SetDataListRecordFromInfo(DataListInfoFields(rec), r);
  r.KyoyuLock = 0;
  Ctl.UpdateDataListRecord(r, 0, true);
  Ctl.DeleteDataListChildRecord(r, true);
  TDataInfomationRec last = rec;
  if (!damaged && IsCombined(r.Gassan)) {
    Row.Children.clear();
    std::error_code ec;
    std::vector<fs::path> subs;
    for (const auto& e : fs::directory_iterator(r.PasName, ec))
      if (e.is_directory()) subs.push_back(e.path());
    std::sort(subs.begin(), subs.end());
    for (std::size_t i = 0; i < subs.size(); ++i) {
      if (!HoldsData(subs[i])) continue;
      TDataInfomationRec childInfo;
      info.ReadInfo(subs[i].string(), childInfo);
      TDataListRec child;
      TDataSentakuListCtl::InitDataListRecord(child, subs[i].string());
      child.Rec = r.Rec;
      child.RowNo = static_cast<std::int32_t>(i + 1);
      child.NetDrive = r.NetDrive;
      child.UpdateLock = r.UpdateLock;
      child.Gassan = kGassanChild;
      TDataSentakuListCtl::SetDataListRecordFromInfo(DataListInfoFields(childInfo), child);
      child.KyoyuLock = 0;
      Ctl.UpdateDataListRecord(child, 0, true);
      Row.Children.push_back(child);
      if (childInfo.STATUS == dsDamaged) {
        damaged = true;
        last = childInfo;
      }
    }
    Row.ChildCount = static_cast<std::int32_t>(Row.Children.size());
  }
  if (damaged) {
    RefuseWith(last, kDamagedText, r.PasName);
    return -1;
  }
  const std::int32_t answer = info.GetSharedData(r.PasName, r.DataFolder, Silent);
  if (answer == 0) {
    try {
      info.SetShareStatus(r.PasName, ssOnServer);
    } catch (...) {
      // the data set is fetched; the status mark is best effort
    }
    return 0;
  }
  if (answer == -1) RefuseWith(info.Rec(), info.Rec().STATUS == dsDamaged ? kDamagedText : kInUseText, r.PasName);
  r.KyoyuLock = answer == 1 ? 1 : 0;
  StoreRow(Ctl, r);
  if (IsCombined(r.Gassan)) {
    // Every child is copied into a staging folder first; the local children
    // are replaced only when all copies are in place.
    std::vector<std::pair<fs::path, fs::path>> staged;
    bool complete = true;
    for (const TDataListRec& child : Row.Children) {
      if (!HoldsData(child.PasName)) continue;
      const fs::path target = Replaced(child.PasName, r.PasName, r.DataFolder);
      const fs::path staging = StagingOf(target);
      if (info.GetSharedData(child.PasName, staging.string(), 1) == 0) {
        RemoveQuietly(staging);
        complete = false;
        break;
      }
      staged.emplace_back(staging, target);
    }
    if (!complete) {
      for (const auto& s : staged) RemoveQuietly(s.first);
    } else {
      std::vector<fs::path> targets;
      for (const auto& s : staged) targets.push_back(s.second);
      SwapIn(staged);
      for (const fs::path& old : DataSubFolders(r.DataFolder))
        if (std::find(targets.begin(), targets.end(), old) == targets.end()) RemoveQuietly(old);
      for (TDataListRec& child : Row.Children) {
        child.KyoyuLock = r.KyoyuLock;
        StoreRow(Ctl, child);
      }
    }
  }
  return answer;
}

std::int32_t KyoyuDataUp(TDataSentakuListCtl& Ctl, TDataSentakuRec& Row, std::int32_t Silent) {
  TDataListRec& r = Row.Row;
  if (r.PasName.empty() || r.DataFolder.empty()) return 0;
  TDataInfomation info;
  info.ConnectKind = Ctl.ConnectKind;
  const fs::path shared = NativePath(r.PasName);
  std::error_code ec;
  // Stage the children first, then the data set itself; nothing shared is
  // touched until every copy is complete.
  std::vector<std::pair<fs::path, fs::path>> staged;
  auto dropStaged = [&staged] {
    for (const auto& s : staged) RemoveQuietly(s.first);
  };
  if (IsCombined(r.Gassan)) {
    for (const TDataListRec& child : Row.Children) {
      if (!HoldsData(child.DataFolder)) continue;
      const fs::path target = NativePath(child.PasName);
      const fs::path staging = StagingOf(target);
      if (!StageCopy(child.DataFolder, staging)) {
        RemoveQuietly(staging);
        dropStaged();
        return 0;
      }
      staged.emplace_back(staging, target);
    }
  }
  const fs::path parentStaging = StagingOf(shared);
  RemoveQuietly(parentStaging);
  fs::create_directories(parentStaging, ec);
  const std::int32_t answer = info.PutSharedData(parentStaging.string(), r.DataFolder, Silent);
  if (answer == 0) {
    RemoveQuietly(parentStaging);
    dropStaged();
    info.SetShareStatus(r.DataFolder, ssTakenOut);
    return 0;
  }
  if (answer == -1) {
    RemoveQuietly(parentStaging);
    dropStaged();
    RefuseWith(info.Rec(), info.Rec().STATUS == dsDamaged ? kDamagedText : kInUseText, r.PasName);
    return -1;
  }
  // The data set's own files: each staged file replaces its shared one.
  for (const auto& e : fs::directory_iterator(parentStaging, ec))
    if (e.is_regular_file()) fs::rename(e.path(), shared / e.path().filename(), ec);
  RemoveQuietly(parentStaging);
  info.SetStatus(shared.string(), dsFree);
  info.ChangeShareStatus(shared.string(), ssOnServer);
  r.KyoyuLock = 0;
  StoreRow(Ctl, r);
  std::vector<fs::path> targets;
  for (const auto& s : staged) targets.push_back(s.second);
  SwapIn(staged);
  for (const fs::path& old : DataSubFolders(shared))
    if (std::find(targets.begin(), targets.end(), old) == targets.end()) {
      RemoveQuietly(old);
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
  for (TDataListRec& child : Row.Children) {
    if (!HoldsData(child.DataFolder)) continue;
    info.SetShareStatus(child.DataFolder, ssOnServer);
    info.SetShareStatus(NativePath(child.PasName), ssOnServer);
    child.KyoyuLock = 0;
    StoreRow(Ctl, child);
  }
  return answer;
}
