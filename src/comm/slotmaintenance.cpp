// Slot maintenance of the data-communication window: deleting the data of a
// relay, cloud or cash-book slot and releasing a cloud area left "in use".
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/tusindispatch.h"
#include "comm/tusinsettei.h"
#include "core/settings.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

namespace {

std::string Trimmed(const std::string& s) { return QString::fromStdString(s).trimmed().toStdString(); }

// Sends a deletion (1750 or 1753) for the slot; the notice of a failure is
// left in Notice.
bool SendDeletion(int Code, const std::string& CommId, const std::string& Slot, TCommNotice& Notice) {
  TStatusReply reply;
  try {
    reply = SendStatusRequest(Code, CommId, {{"fSname", Slot}});
  } catch (const ETransferError&) {
    Notice = TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。"));
    return false;
  }
  if (!reply.HasLine(5)) {
    Notice = TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。"));
    return false;
  }
  const std::string code = reply.CodeAt(5);
  if (code == kResultOk) return true;
  Notice = TCommNotice::ErrorOk(ServerErrorMessage("サーバーエラー", code));
  return false;
}

}  // namespace

bool TfmDataTusin::DeleteSlotData() {
  const bool cloud = State.SyoriType >= opCloudSend;
  const int slot = FocusedSlot();
  if (slot < 0) return true;
  TSlotEntry& entry = Member.SlotTable.Slots[static_cast<std::size_t>(slot)];
  const std::string name = Trimmed(PerfectGrid1->CellText(slot + 1, cloud ? 2 : 1));
  if (cloud) {
    if (name.empty()) return true;
    if (entry.UseState == "2") {
      ShowNotice(TCommNotice::InformationOk("現在使用中のため削除できません。 "));
      return false;
    }
    TfmTusinSettiPas pas(this);
    pas.setWindowTitle("削除");
    pas.Label2->setText(QString::fromStdString(entry.Password));
    if (pas.ShowModal() != mrOk) return true;
  } else {
    if (name.empty()) {
      ShowNotice(TCommNotice::InformationYes(FramedMessage("選択したフォルダには、データは存在しません。")));
      return true;
    }
    if (!AskYesNo(FramedMessage("選択した中継サーバーのデータを削除します。実行しますか？"))) return false;
  }
  xAnimeProgressDialog1->SetCaption("削除中");
  xAnimeProgressDialog1->SetInfoLabel("データ削除中…");
  xAnimeProgressDialog1->Show(this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TCommNotice notice;
  const bool deleted = SendDeletion(cloud ? scDeleteCloudSlot : scDeleteSlot, CommId(), SlotText(slot + 1), notice);
  xAnimeProgressDialog1->Close();
  QApplication::restoreOverrideCursor();
  if (!deleted) {
    ShowNotice(notice);
    return true;
  }
  for (int c = 1; c <= (cloud ? 7 : 6); ++c) PerfectGrid1->SetCellText(slot + 1, c, "");
  // The slot is empty now: no later step may take its old values.
  const std::string label = entry.Label;
  entry = TSlotEntry{};
  entry.Label = label;
  activateWindow();
  if (cloud) {
    F5->setEnabled(false);
    ShowNotice(TCommNotice::InformationYes(FramedMessage("クラウドシェアのデータを削除しました。")));
    if (slot + 1 == AccInf.CLOUD_LINE) OwnAreaName.clear();
  } else {
    ShowNotice(TCommNotice::InformationYes(FramedMessage("中継サーバーのデータを削除しました。")));
  }
  return true;
}

bool TfmDataTusin::DeleteCashBookSlots(std::int32_t Slot) {
  if (Slot < 0 || Slot > 2) return false;
  const bool check = State.SyoriType == opServerCheck;
  if (check && Trimmed(PerfectGrid1->CellText(Slot + 1, 1)).empty()) {
    ShowNotice(TCommNotice::InformationYes(FramedMessage("選択したフォルダには、データは存在しません。")));
    return false;
  }
  xAnimeProgressDialog1->SetCaption("削除中");
  xAnimeProgressDialog1->SetInfoLabel("データ削除中…");
  xAnimeProgressDialog1->Show(this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TCommNotice notice;
  const bool deleted = SendDeletion(scDeleteSlot, CashId(), SlotText(Slot + 1), notice);
  xAnimeProgressDialog1->Close();
  QApplication::restoreOverrideCursor();
  if (!deleted) {
    ShowNotice(notice);
    return true;
  }
  TSlotEntry& entry = Member.SlotTable.Slots[static_cast<std::size_t>(Slot)];
  const std::string label = entry.Label;
  entry = TSlotEntry{};
  entry.Label = label;
  if (check) {
    for (int c = 1; c <= 6; ++c) PerfectGrid1->SetCellText(Slot + 1, c, "");
    activateWindow();
    ShowNotice(TCommNotice::InformationYes(FramedMessage("中継サーバーのデータを削除しました。")));
  }
  return true;
}

void TfmDataTusin::ReleaseFocusedArea() {
  const int slot = FocusedSlot();
  if (slot < 0) return;
  TSlotEntry& entry = Member.SlotTable.Slots[static_cast<std::size_t>(slot)];
  if (Trimmed(PerfectGrid1->CellText(slot + 1, 2)).empty() || entry.UseState != "2") return;
  TfmTusinSettiPas pas(this);
  pas.setWindowTitle("解除");
  pas.CheckBox1->setText("解除処理を実行します");
  pas.HintArea->setPlainText("「解除処理を実行します」をチェックして、パスワードを入力します。");
  pas.Label2->setText(QString::fromStdString(entry.Password));
  if (pas.ShowModal() != mrOk) return;
  if (!ReleaseArea(slot + 1)) return;
  PerfectGrid1->SetCellText(slot + 1, 1, "未使用");
  PerfectGrid1->SetCellText(slot + 1, 5, "-");
  PerfectGrid1->SetCellText(slot + 1, 6, entry.SendTimeDisplay);
  entry.UseState.assign(1, '1');
  F4->setEnabled(false);
  F5->setEnabled(true);
  ShowNotice(TCommNotice::InformationOk("使用中を解除しました。"));
}
