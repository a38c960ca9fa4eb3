#include "dataselect/datasentakucmds.h"

#include "dataselect/datasentaku.h"
#include "dataselect/datasetmgmt.h"
#include "ui/messagebox2.h"

std::int32_t DataCopyOrPaste(TDataSentakuBox& Box, std::uint8_t KeyBarState) {
  if (KeyBarState != 1 && KeyBarState != 2) return 0;
  CopyPaste(Box, KeyBarState == 1);
  return 1;
}

void CancelCopyPending(TDataSentakuBox& Box) {
  if (!Box.CopyPending) return;
  if (!Box.CopySourceFolder.empty()) Box.SetDataStatus(Box.CopySourceFolder, 1);
  else if (Box.CopySource >= 0 && Box.CopySource < static_cast<std::int32_t>(Box.DataList.size()))
    Box.SetDataStatus(Box.DataList[static_cast<std::size_t>(Box.CopySource)].Row.DataFolder, 1);
  Box.CopyPending = false;
  Box.CopySource = -1;
  Box.CopySourceFolder.clear();
}

std::int32_t NewData(TDataSentakuBox& Box, std::int32_t Row) { return CreateNewData(Box, Row); }
std::int32_t TakeOutData(TDataSentakuBox& Box) { return TakeOutOrBringBack(Box) ? 1 : 0; }
std::int32_t SaveData(TDataSentakuBox& Box) { return SaveDataTo(Box, ""); }
std::int32_t RestoreData(TDataSentakuBox& Box) { return RestoreDataFrom(Box, "", false); }
std::int32_t BackupToFile(TDataSentakuBox& Box, const std::string& BackupPath) { return SaveDataTo(Box, BackupPath); }
std::int32_t RestoreFromBackup(TDataSentakuBox& Box, const std::string& BackupPath) {
  return RestoreDataFrom(Box, BackupPath, false);
}
