#include "core/dialogs.h"

#include "core/regini.h"
#include "core/sysinfo.h"
#include "core/uiservices.h"
#include "platform/rtl/cp932.h"
#include "platform/win/paths.h"

namespace {

constexpr const char* kUseDocumentsQuestion =
    "この場所に保存するアクセス許可がありません。\r管理者に連絡してアクセス許可を取得してください。\r\r"
    "代わりに［ドキュメント］フォルダに保存しますか？\r";
constexpr const char* kPathTooLong = "選択した場所(パス)の文字長が処理できる範囲を超えました。\r別の場所を選択して下さい。\r";

bool IsSystemDriveRoot(const std::string& folder) {
  return SamePathText(IncludeTrailingDelimiter(folder), SystemDriveRoot());
}

std::string Documents() {
  std::string dir;
  GetMyDocumentsDir(dir);
  return dir;
}

}  // namespace

int AccountControlSetting() {
  TRegValue value;
  ReadRegistryValue(HKEY_LOCAL_MACHINE, kAccountControlKey, kAccountControlValue, value);
  const auto* i = std::get_if<std::int32_t>(&value);
  return i ? *i : 0;
}

bool SelectFolder(const std::string& Title, std::string& Folder, bool SkipRootCheck, const std::string& Root) {
  const int accountControl = SkipRootCheck ? 0 : AccountControlSetting();
  if (!CoreUi.BrowseFolder) return false;
  for (;;) {
    const auto chosen = CoreUi.BrowseFolder(Title.empty() ? "フォルダを選択して下さい" : Title, Folder, Root);
    if (!chosen) return false;
    Folder = *chosen;
    if (Cp932Length(Folder) > 255) {
      UiShowError(kPathTooLong);
      return false;
    }
    if (accountControl != 1 || !IsSystemDriveRoot(Folder)) return true;
    if (UiAskWarningYesNo(kUseDocumentsQuestion)) {
      Folder = Documents();
      return true;
    }
  }
}

bool SelectComputer(const std::string& Title, std::string& Name) {
  if (!CoreUi.BrowseComputer) return false;
  const auto chosen = CoreUi.BrowseComputer(Title.empty() ? "コンピュータを選択して下さい" : Title);
  if (!chosen) return false;
  Name = *chosen;
  return true;
}

bool ExecuteFileDialog(const TFileDialogRun& Dialog, std::string& FileName) {
  const int accountControl = AccountControlSetting();
  for (;;) {
    const auto chosen = Dialog ? Dialog() : std::nullopt;
    if (!chosen) return false;
    FileName = *chosen;
    if (accountControl != 1 || !IsSystemDriveRoot(ExtractFileDir(FileName))) return true;
    if (UiAskWarningYesNo(kUseDocumentsQuestion)) {
      FileName = PathJoin(Documents(), ExtractFileName(FileName));
      return true;
    }
  }
}

bool CheckSaveFolder(std::string& Folder) {
  Folder = IncludeTrailingDelimiter(Folder);
  if (AccountControlSetting() != 1 || !IsSystemDriveRoot(Folder)) return true;
  if (!UiAskWarningYesNo(kUseDocumentsQuestion)) return false;
  Folder = Documents();
  return true;
}

bool CheckSaveFilePath(std::string& FileName) {
  std::string folder = ExtractFilePath(FileName);
  const std::string name = ExtractFileName(FileName);
  if (!CheckSaveFolder(folder)) return false;
  FileName = PathJoin(folder, name);
  return true;
}
