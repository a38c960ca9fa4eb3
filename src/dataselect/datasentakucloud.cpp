// The cloud-share button of the data-selection dialog: after the checks of
// the current row it opens the row's cloud-share settings, sends the local
// data into a newly chosen empty slot, and carries the chosen slot into the
// row, its settings file and the grid.
#include <chrono>
#include <thread>

#include "core/globals.h"
#include "core/versions.h"
#include "dataselect/cloudcalls.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/messagebox.h"

namespace {

const char* const kMsgOldVersion =
    "データバージョンが \"Ver11.0.1\" に達していないため、クラウドシェアはご利用できません。\r"
    "クラウドシェアを利用するには、データを選択しデータ更新をおこなってください。";
const char* const kMsgCombined = "合算・分散データはクラウドシェアの設定はおこなえません。";
const char* const kMsgSharedNotTaken =
    "共有保管データはクラウドシェアの設定はおこなえません。\r"
    "[共有取得]ボタンを押してデータを取得してください。\r"
    "※[共有データの取得と保管を自動化する]にチェックがある場合は、チェックを外すと[共有取得]ボタンが有効になります。";
const char* const kMsgNoJobRight =
    "ログインしたオペレータの処理レベルでは起動が認められていません。\r"
    "一度、データを選択し、「拡張機能」＞「オペレータ登録」より「処理レベル設定」を開き、\r"
    "当該レベルの「通信設定」メニューの起動を許可してください。";
const char* const kMsgSendFailed = "クラウドシェア送信処理でエラーが発生しました。設定画面を開きます。";

void Inform(const char* Text) { ShowSentakuBox(kMsgInformation, Text, MsgButtons({mbOK})); }

// Both panels of the dialog disabled while the data is sent.
class TPanelsLocked {
 public:
  explicit TPanelsLocked(TDataSentakuBox& Box) : box_(Box) {
    box_.pnlClient->setEnabled(false);
    box_.pnlBottom->setEnabled(false);
    box_.UpdateKeyBar();
  }
  ~TPanelsLocked() {
    box_.pnlClient->setEnabled(true);
    box_.pnlBottom->setEnabled(true);
  }
  TPanelsLocked(const TPanelsLocked&) = delete;
  TPanelsLocked& operator=(const TPanelsLocked&) = delete;

 private:
  TDataSentakuBox& box_;
};

}  // namespace

void TDataSentakuBox::btnCloudShareClick() {
  if (!HasCurrentRow() || !DataModuleExists() || !DataSetConnection().CanUseCloudShare(true)) return;
  const int row = PerfectGrid1->Row();
  TDataListRec* r = GetRowRecord(row);
  if (!r) return;
  std::string folder = GetRowDataFolder(row);

  // 1. In the client modes the data must be reachable.
  if (ConnectKind != 0) {
    std::int32_t usable = -1;
    try {
      usable = CheckDataPath(folder);
    } catch (...) {  // unreadable: not usable
      usable = -1;
    }
    if (usable != 1) {
      DataListRefresh(row);
      return;
    }
  }
  // 2. and 3. Data sets that cannot take part.
  if (!VersionGreater(Format("%d.%d.%d", r->VerMajor, r->VerMinor1, r->VerMinor2), "11.0.0")) {
    Inform(kMsgOldVersion);
    return;
  }
  if (r->Gassan == kGassanParent || r->Gassan == kGassanHonsiten || r->Gassan == kGassanChild) {
    Inform(kMsgCombined);
    return;
  }
  if (GetShareState(0, row) == 1) {
    Inform(kMsgSharedNotTaken);
    return;
  }
  // 4. A fresh shared copy is not needed: a shared row not taken was refused
  // above. The data must be sound, and the operator allowed to change it.
  if (DataSetConnection().VerifyData(SystemDef.HostName, folder, 1, 0) == 0) {
    r->DataStatus = 1;
    DataListRefresh(row);
    UpdateKeyBar();
    return;
  }
  if (AppKind == 0) {
    if (!SystemStore().SetJobControl("WzTusinSettei", "SyoriType=1")) {
      Inform(kMsgNoJobRight);
      return;
    }
    if (!DataInfo->IsDataPasswordAuth(folder) || !DataInfo->IsDataSiyouKengen(folder)) return;
  }

  // 5. The settings, and the first send into a newly chosen empty slot.
  bool apply = false;
  TCloudShareChoice choice;
  if (!CloudShareCalls.OpenCloudShareSettings) {
    Inform(kCommandNotAvailable);
  } else {
    for (;;) {
      folder = GetRowDataFolder(row);
      choice = TCloudShareChoice{};
      apply = CloudShareCalls.OpenCloudShareSettings(folder, choice) == 0;
      if (!apply) break;
      if (choice.Slot <= 0) break;
      if (AppKind == 0 && choice.SendNow != 1) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        break;
      }
      if (!CloudShareCalls.CloudShareSend) {
        Inform(kCommandNotAvailable);
        break;
      }
      std::int32_t sent = 0;
      {
        TPanelsLocked locked(*this);
        sent = CloudShareCalls.CloudShareSend(folder, "", 0);
      }
      if (sent < 1 || sent > 9) break;
      Inform(kMsgSendFailed);
    }
  }

  // 6. The row follows the chosen slot.
  if (apply) {
    if ((r = GetRowRecord(row)) != nullptr) {
      r->Cloud = choice.Slot > 0 ? 1 : 0;
      DataInfo->WriteIniValue(folder, kSectionDataInfo, false, r->Cloud, "CLOUD_SHARE");
      StoreListRow(*r);
      DataListRefresh(row);
      if (GetShareState(0, row) == 2) {
        const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(row, dcIndex));
        if (StoreSharedData(1) == 1 && index < DataList.size()) SetKyoyuLock(1, DataList[index]);
      }
    }
  }
  DataListRefresh(row);
  if (row <= PerfectGrid1->Rows()) PerfectGrid1->SetRow(row);
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}
