// The data place of the client modes in the data-selection dialog: the place
// list, leaving it (which loads the place's list) and the settings button.
#include <QComboBox>

#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/messagebox.h"
#include "ui/plbutton.h"

void TDataSentakuBox::cmbDataManChange() {
  btnDataMan->setFocusPolicy(Qt::StrongFocus);
  btnSearch->setEnabled(false);
  btnSearchCancel->setEnabled(false);
  PerfectGrid1->setEnabled(false);
  UpdateKeyBar();
}

void TDataSentakuBox::cmbDataManExit() {
  if (cmbDataMan->currentIndex() >= 0) DataPlace = cmbDataMan->currentData().toInt();
  btnDataMan->setFocusPolicy(Qt::NoFocus);
  btnSearch->setEnabled(true);
  btnSearchCancel->setEnabled(ActiveJyoken.JYOKENUSE == 1);
  PerfectGrid1->setEnabled(true);
  if (ReloadList() > 0) {
    FillGrid(-1);
    PerfectGrid1->setFocus();
  } else {
    PerfectGrid1->ClearRows();
  }
  UpdateKeyBar();
}

void TDataSentakuBox::btnDataManClick() {
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
  UpdateKeyBar();
}
