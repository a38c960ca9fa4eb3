#include "dataselect/datasentakucmds.h"

#include "dataselect/datasentaku.h"
#include "ui/messagebox2.h"

namespace {

std::int32_t NotAvailable() {
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
  return 0;
}

}  // namespace

std::int32_t DataCopyOrPaste(TDataSentakuBox&, std::uint8_t) { return NotAvailable(); }

void CancelCopyPending(TDataSentakuBox& Box) {
  if (!Box.CopyPending) return;
  if (Box.CopySource >= 0 && Box.CopySource < static_cast<std::int32_t>(Box.DataList.size()))
    Box.SetDataStatus(Box.DataList[static_cast<std::size_t>(Box.CopySource)].Row.DataFolder, 1);
  Box.CopyPending = false;
  Box.CopySource = -1;
}

std::int32_t NewData(TDataSentakuBox& Box, std::int32_t Row) { return CreateNewData(Box, Row); }
std::int32_t AddChildData(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t TakeOutData(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t ReleaseArea(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t AddArea(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t DeleteData(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t SaveData(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t RestoreData(TDataSentakuBox&) { return NotAvailable(); }
std::int32_t BackupToFile(TDataSentakuBox&, const std::string&) { return NotAvailable(); }
std::int32_t RestoreFromBackup(TDataSentakuBox&, const std::string&) { return NotAvailable() - 1; }
