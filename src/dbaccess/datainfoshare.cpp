// Taking a data set out of the shared server and bringing it back under
// status marks, and the two checks before a data set is chosen.
#include <filesystem>
#include <thread>

#include "core/fileutil.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/dbui.h"
#include "dbaccess/fberror.h"
#include "dbaccess/oplists.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kShareGoneMessage =
    "共有サーバー上のデータ領域が削除された可能性があります。\r現在の領域設定情報でデータ領域を作成します。";
constexpr const char* kDamagedMessage =
    "共有サーバー上のデータが破損しているため、共有データの取得を中止します。\r"
    "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。";
constexpr const char* kUnreachableMessage =
    "共有サーバーが起動していない、接続が切断されている \rまたは 共有サーバー上のデータ領域が削除された可能性があります。\r"
    "処理を中止します。";

bool FileExists(const std::string& Path) {
  std::error_code ec;
  return fs::is_regular_file(Path, ec);
}

bool FolderExists(const std::string& Path) {
  std::error_code ec;
  return fs::is_directory(Path, ec);
}

std::string Stem(const std::string& Name) {
  const std::size_t dot = Name.rfind('.');
  return dot == std::string::npos ? Name : Name.substr(0, dot);
}

// After a failed check: ends the transaction the check started (a commit, or
// a rollback when that fails too) and reports the failure being handled.
void ReportCheckFailure(TTransactionGuard& transaction, const char* location, const char* text) {
  transaction.CommitQuietly();
  try {
    throw;
  } catch (const EIBError& e) {
    ShowFbError(e, location, text, true);
  } catch (...) {
    ShowErrorDetail(text, "", kMsgError);
  }
}

}  // namespace

// Every file of FromFolder named like DataFile with any extension, copied
// into ToFolder; true when at least one was copied and none failed.
bool TDataInfomation::CopyDataFiles(const std::string& FromFolder, const std::string& ToFolder) {
  const std::string stem = Stem(DataFile);
  std::error_code ec;
  // A target area that has gone is made again.
  try {
    if (!FolderExists(ToFolder) && !ForceFolder(ToFolder)) return false;
  } catch (const std::exception&) {
    return false;
  }
  bool any = false;
  for (const fs::directory_entry& entry : fs::directory_iterator(FromFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(ec) || Stem(name) != stem || name == stem) continue;
    if (!CopyFileOverwrite(entry.path().string(), ToFolder + "/" + name)) return false;
    any = true;
  }
  return any && !ec;
}

std::int32_t TDataInfomation::PutSharedData(const std::string& SharedFolder, const std::string& LocalFolder,
                                            std::int32_t Silent) {
  if (SharedFolder.empty() || LocalFolder.empty()) return 0;
  ChangeShareStatus(SharedFolder, 1);
  SetShareStatus(LocalFolder, 1);
  try {
    SetStatus(SharedFolder, dsCopying);
  } catch (const std::exception&) {
    if (Silent != 1) DbShowMessage(kShareGoneMessage, kMsgInformation);
  }
  const bool copied = CopyDataFiles(LocalFolder, SharedFolder);
  SetStatus(LocalFolder, dsFree);
  SetStatus(SharedFolder, dsFree);
  if (copied) return 1;
  SetShareStatus(LocalFolder, 2);
  ChangeShareStatus(SharedFolder, 2);
  return 0;
}

std::int32_t TDataInfomation::GetSharedData(const std::string& SharedFolder, const std::string& LocalFolder,
                                            std::int32_t Silent) {
  if (SharedFolder.empty() || LocalFolder.empty()) return 0;
  if (!ForceFolder(LocalFolder)) {
    if (Silent != 1) DbShowMessage(Format("\"%s\"の作成に失敗しました。", LocalFolder), kMsgWarning);
    return 0;
  }
  ReadInfo(SharedFolder, rec_);
  if (rec_.STATUS == dsDamaged) {
    if (Silent != 1) throw Exception(kDamagedMessage);
    return -1;
  }
  const bool sharedExists = FolderExists(SharedFolder);
  if (rec_.SHARE_STATUS == ssTakenOut) {
    // Already taken out: every mark stays, and a local database (perhaps
    // holding work not yet brought back) is never overwritten.
    if (sharedExists) {
      if (!FileExists(LocalFolder + "/" + DataFile)) CopyDataFiles(SharedFolder, LocalFolder);
    } else if (Silent != 1) {
      throw Exception(kUnreachableMessage);
    }
    return -1;
  }
  if (!sharedExists) {
    if (Silent != 1) throw Exception(kUnreachableMessage);
    return 0;
  }
  SetStatus(SharedFolder, dsCopying);
  const std::int32_t result = CopyDataFiles(SharedFolder, LocalFolder) ? 1 : 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  SetStatus(LocalFolder, dsFree);
  SetStatus(SharedFolder, dsFree);
  // Only a completed copy counts as taken out.
  const std::uint8_t share = result == 1 ? ssTakenOut : ssOnServer;
  SetShareStatus(LocalFolder, share);
  ChangeShareStatus(SharedFolder, share);
  return result;
}

bool TDataInfomation::IsDataSiyouKengen(const std::string& Folder) {
  if (Folder.empty()) return false;
  TDataSetConnection& dm = DataSetConnection();
  if (!dm.ServerFExist(Folder + "/" + DataFile, ConnectKind) || dm.IsUnrestrictedOperator()) return true;
  bool result = false;
  if (dm.fnAccDatConnected(SystemDef.HostName, Folder, false)) {
    TTransactionGuard transaction(dm.IBTransactionDAT);
    try {
      transaction.Begin();
      TSitenList branches;
      result = dm.fnGetExistsOpeDefSisetu();
      if (result) {
        dm.fnGetAccInfo();
        branches.SetTransaction(&dm.IBTransactionDAT);
        branches.Flags = slBranches;
        branches.Execute(-1);
        const std::int32_t all = branches.Count;
        branches.Execute(SystemDef.OpCode);
        result = branches.Count == all;
      }
      transaction.Commit();
    } catch (...) {
      // Any failure denies the use.
      result = false;
      if (!transaction.WasActive())
        ReportCheckFailure(transaction, "TDataInfomation.IsDataSiyouKengen", "データ使用権限の問い合わせに失敗しました。");
    }
    dm.AccDatDisconnect(Folder, false, false);
  }
  if (!result)
    DbShowMessage("このデータを扱う権限がありません、他のデータを選択して下さい。\r"
                  "権限を付与するには管理者でログインし、「オペレータ登録」より[選択中のデータを処理します]にチェックを入れて下さい。",
                  kMsgInformation);
  return result;
}

bool TDataInfomation::IsDataPasswordAuth(const std::string& Folder) {
  if (Folder.empty()) return false;
  TDataSetConnection& dm = DataSetConnection();
  if (!dm.ServerFExist(Folder + "/" + DataFile, ConnectKind)) return true;
  bool result = false;
  if (dm.fnAccDatConnected(SystemDef.HostName, Folder, false)) {
    TTransactionGuard transaction(dm.IBTransactionDAT);
    try {
      transaction.Begin();
      if (dm.fnGetAccInfo()) {
        result = dm.CheckDataPassword();
        if (!result)
          DbShowMessage("このデータに設定されている「パスワード」と一致しませんでした。\r他のデータを選択して下さい。",
                        kMsgInformation);
      }
      transaction.Commit();
    } catch (...) {
      if (!transaction.WasActive())
        ReportCheckFailure(transaction, "TDataInfomation.IsDataPasswordAuth", "データのパスワード認証に失敗しました。");
    }
    dm.AccDatDisconnect(Folder, false, false);
  }
  return result;
}
