// The list print of the data-selection dialog (F8) and of the shared-server
// selection dialog (F8): the data-list print dialog, then the printout of the
// list as the dialog shows it.
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dataselect/datasentakuprintdlg.h"
#include "dataselect/serversentaku.h"
#include "ui/messagebox2.h"

std::int32_t PrintDataList(TDataSentakuBox& Box) {
  if (Box.DispList.empty()) {
    ShowSentakuBox(kMsgInformation, "データリストが絞り込みにより表示されていません。\r", MsgButtons({mbYes}));
    return 0;
  }
  return RunDataListPrint(&Box, {"データリストの印刷", "データリストを印刷します。", 0, &Box.DataList, &Box.DispList});
}

std::int32_t TServerSentakuBox::PrintList() {
  if (DispList.empty()) {
    ShowSentakuBox(kMsgInformation, "共有データリストが表示されていません。", MsgButtons({mbOK}));
    return 0;
  }
  return RunDataListPrint(this, {"共有データリストの印刷", "共有データリストを印刷します。", 1, &DataList, &DispList});
}
