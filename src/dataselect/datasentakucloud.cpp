// The cloud-share button of the data-selection dialog.
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "ui/messagebox.h"

void TDataSentakuBox::btnCloudShareClick() {
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
}
