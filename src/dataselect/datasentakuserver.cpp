// The data-selection dialog's use of the shared-server selection dialog: the
// fetch into an empty local row, and the dialog's copy of a renamed row.
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "ui/messagebox.h"

void TDataSentakuBox::FetchIntoEmptyRow(std::int32_t) {
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
}

void TDataSentakuBox::UpdateServerBoxRow(const TDataListRec&) {}
