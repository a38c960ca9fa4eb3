// The management commands of the data-selection dialog behind F2 to F8 (copy
// and paste, new data, area release and addition, delete, save, restore, list
// print, take-out, distributed-input child). This program starts the dialog
// only for selection, where these keys are blank. The new data areas, release,
// deletion and distributed-input children are in datasetareas.cpp.
#pragma once

#include <cstdint>
#include <string>

class TDataSentakuBox;

// Results: 1 done; 0 not done (the dialog stays as it was); -1 failed.
std::int32_t DataCopyOrPaste(TDataSentakuBox& Box, std::uint8_t KeyBarState);
// Ends a pending copy: the copy source's status goes back to 1.
void CancelCopyPending(TDataSentakuBox& Box);
// New data on the grid row Row; 1 only when the data set was created.
std::int32_t NewData(TDataSentakuBox& Box, std::int32_t Row);
// The new data through the setup wizard "WzKihonWiz" (datasentakunew.cpp):
// 1 created, 2 cancelled, -1 the wizard failed or could not start, 0 the row
// cannot take new data. Anything but 1 leaves no folder and no status behind.
std::int32_t CreateNewData(TDataSentakuBox& Box, std::int32_t Row);
std::int32_t AddChildData(TDataSentakuBox& Box);
std::int32_t TakeOutData(TDataSentakuBox& Box);
std::int32_t ReleaseArea(TDataSentakuBox& Box);
std::int32_t AddArea(TDataSentakuBox& Box);
std::int32_t DeleteData(TDataSentakuBox& Box);
// The deletion of the active row's data set; ShowError reports a failed
// deletion from the data list.
std::int32_t DeleteDataRow(TDataSentakuBox& Box, bool ShowError);
std::int32_t SaveData(TDataSentakuBox& Box);
std::int32_t RestoreData(TDataSentakuBox& Box);
std::int32_t PrintDataList(TDataSentakuBox& Box);
// Backup of the selected data to, and restore from, a backup file.
std::int32_t BackupToFile(TDataSentakuBox& Box, const std::string& BackupPath);
std::int32_t RestoreFromBackup(TDataSentakuBox& Box, const std::string& BackupPath);

// The text every command shows here.
inline constexpr const char* kCommandNotAvailable = "この処理は現在ご利用いただけません。";
