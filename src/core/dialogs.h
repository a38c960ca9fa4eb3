// Folder, computer and file choosers that steer the user away from saving in
// the root of the system drive while user-account control is on (the value
// EnableLUA of the registry key below is 1). The dialogs themselves come from
// the window layer (core/uiservices.h).
#pragma once

#include <functional>
#include <optional>
#include <string>

inline constexpr const char* kAccountControlKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr const char* kAccountControlValue = "EnableLUA";

// The user-account-control setting (0 when not recorded).
int AccountControlSetting();

// The folder browser (title "フォルダを選択して下さい" when Title is empty);
// false when cancelled or when the chosen path is longer than 255 bytes.
bool SelectFolder(const std::string& Title, std::string& Folder, bool SkipRootCheck, const std::string& Root = "");
// The browser for computers (title "コンピュータを選択して下さい" when empty).
bool SelectComputer(const std::string& Title, std::string& Name);
// Runs a file open or save dialog (it returns the chosen file, nothing on
// cancel) until its choice passes the root check.
using TFileDialogRun = std::function<std::optional<std::string>()>;
bool ExecuteFileDialog(const TFileDialogRun& Dialog, std::string& FileName);
// The root check without a dialog, for a folder and for the folder of a file.
// Folder comes back with a trailing delimiter (the Documents folder, when the
// user takes it instead, without one).
bool CheckSaveFolder(std::string& Folder);
bool CheckSaveFilePath(std::string& FileName);
