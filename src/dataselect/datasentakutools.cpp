// The data-selection dialog's toolbar: automatic shared-server option, list
// refresh, search reset and the data place of the client modes.
#include <QCheckBox>
#include <QComboBox>

#include "core/globals.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dbaccess/dm.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

namespace {

const char* const kNotResponding = "データリストが応答状態ではないので処理は行えません。";

bool ListResponds(const TDataSentakuBox& Box) {
  if (Box.PerfectGrid1->isEnabled()) return true;
  ShowSentakuBox(kMsgInformation, kNotResponding, MsgButtons({mbOK}));
  return false;
}

}  // namespace

void TDataSentakuBox::ShowProgress(const std::string& Caption, const std::string& Line, bool Cancel) {
  xAnimeProgressDialog1->SetCaption(Caption);
  xAnimeProgressDialog1->SetInfoLabel(Line);
  xAnimeProgressDialog1->SetAviFile(SystemDef.ExeDir + "/progress.avi");
  xAnimeProgressDialog1->SetCancelBtnShow(Cancel);
  xAnimeProgressDialog1->Cancelled = false;
  xAnimeProgressDialog1->Show(this);
}

void TDataSentakuBox::EndTransfer() {
  raise();
  activateWindow();
  xAnimeProgressDialog1->Close();
}

void TDataSentakuBox::cboxKyoyuDataAutoClick() {
  SystemDef.KyoyuDataAuto = cboxKyoyuDataAuto->isChecked() ? 1 : 0;
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}

void TDataSentakuBox::btnListUpdateClick() {
  if (!ListResponds(*this)) return;
  if (ShowSentakuBox(kMsgConfirmation, "データリストの更新を行います。よろしいですか？", MsgButtons({mbYes, mbNo})) != mrYes)
    return;
  ShowProgress("更新中", "データリストの更新中…", true);
  DataListRefresh(-1);
  xAnimeProgressDialog1->Close();
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}

void TDataSentakuBox::btnSearchClick(bool Cancel) {
  if (Cancel) {
    ClearKensakuFilters(ActiveJyoken);
    ReloadList();
    FillGrid(-1);
    btnSearchCancel->setEnabled(false);
    btnSearchTag = 0;
    return;
  }
  // The search-condition dialog is not part of this program's selection.
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
}

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

void TDataSentakuBox::btnCloudShareClick() {
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
}

void TDataSentakuBox::btnDataInfoClick() {
  if (!ListResponds(*this)) return;
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
  UpdateKeyBar();
}

void TDataSentakuBox::btnKyoyuDataDownClick() {
  if (!HasCurrentRow()) return;
  const TDataListRec* r = GetRowRecord(PerfectGrid1->Row());
  if (!r) return;
  if (r->NetDrive == 0 && !PerfectGrid1->CellText(PerfectGrid1->Row(), dcName).empty()) {
    ShowSentakuBox(kMsgInformation, "選択したフォルダには既にデータが登録されています。\r", MsgButtons({mbYes}));
    return;
  }
  if (r->NetDrive == 1) FetchSharedData(0);
  else ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
  raise();
  UpdateKeyBar();
}

void TDataSentakuBox::btnKyoyuDataUpClick() {
  StoreSharedData(0);
  raise();
  UpdateKeyBar();
}

std::int32_t TDataSentakuBox::FetchSharedData(std::int32_t Auto) {
  if (Auto == 0 &&
      ShowSentakuBox(kMsgConfirmation, "共有データの取得を行います。よろしいですか？", MsgButtons({mbYes, mbNo})) != mrYes)
    return 0;
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
  return 0;
}

std::int32_t TDataSentakuBox::StoreSharedData(std::int32_t Auto) {
  if (Auto == 0 &&
      ShowSentakuBox(kMsgConfirmation, "共有データの保管を行います。よろしいですか？", MsgButtons({mbYes, mbNo})) != mrYes)
    return 0;
  ShowSentakuBox(kMsgInformation, kCommandNotAvailable, MsgButtons({mbOK}));
  return 0;
}

void TDataSentakuBox::ToggleLock(std::int32_t) {}
