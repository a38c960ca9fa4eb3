// The data-communication window started by its process name: the start
// parameters, the checks that refuse an operation, the slot table and the
// modal show of the relay send, relay receive and server check; the
// registration under its process name.
#include <functional>
#include <utility>

#include <QApplication>
#include <QCheckBox>

#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/tusindispatch.h"
#include "comm/waitmess.h"
#include "core/settings.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"

namespace {

constexpr int kRunning = static_cast<int>(TWaitStep::Running);
constexpr int kFinished = static_cast<int>(TWaitStep::Finished);
constexpr int kPending = static_cast<int>(TWaitStep::Pending);

const char* HelpPageOf(std::int32_t code) {
  switch (code) {
    case opRelaySend: return "tsusin01.html";
    case opRelayReceive: return "tsusin02.html";
    case opCashBookSend: case opAutoSend: case opCashBookSend3: return "tsusin06.html";
    case opCashBookReceive: case opAutoReceive: case opCashBookReceive3: return "tsusin07.html";
    case opMasterSend: return "tsusin10.html";
    case opServerCheck: return "tsusin09.html";
    default: return "";
  }
}

bool CashBookCode(std::int32_t code) {
  switch (code) {
    case opCashBookSend: case opCashBookReceive: case opMasterSend: case opAutoReceive:
    case opAutoSend: case opCashBookSend3: case opCashBookReceive3: return true;
    default: return false;
  }
}

// Runs its action when the scope is left, by a return or an exception.
class TOnScopeEnd {
 public:
  explicit TOnScopeEnd(std::function<void()> action) : action_(std::move(action)) {}
  ~TOnScopeEnd() {
    if (action_) action_();
  }
  TOnScopeEnd(const TOnScopeEnd&) = delete;
  TOnScopeEnd& operator=(const TOnScopeEnd&) = delete;

 private:
  std::function<void()> action_;
};

}  // namespace

void TfmDataTusin::EndOperationHistory() {
  try {
    if (DataModuleExists() && DataSetConnection().IBDatabaseDAT.Connected()) PutProcRirekiInfo(1);
  } catch (const std::exception&) {
    // reported by the history writer; the operation's own result stands
  }
}

void TfmDataTusin::SetParams(const std::vector<std::string>& Params) {
  ParamLines = Params;
  bool found = false;
  State.SyoriType = OperationCodeOf(ParamValue(Params, "SyoriType", found), State.SyoriType);
  FormStyle = StrToIntDef(Trim(ParamValue(Params, "FormStyle", found)), 0);
  switch (FormStyle) {
    case 0: case 1: case 2: break;
    default: setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
}

std::int32_t TfmDataTusin::Execute(std::int32_t Modal) {
  std::int32_t result = -1;
  QApplication::restoreOverrideCursor();
  State.DumpFlag = 0;
  // A cash-book operation ends its history entry however it ends: refused,
  // declined, failed or done.
  const std::int32_t effective = AppKind == 2 ? opRelayReceive : State.SyoriType;
  const std::string caption = OperationCaption(effective, AppKind);
  if (!caption.empty()) setWindowTitle(QString::fromStdString(caption));
  TOnScopeEnd endHistory(CashBookCode(effective) ? std::function<void()>([this] { EndOperationHistory(); })
                                                 : std::function<void()>());

  TDispatchFacts facts;
  facts.Code = State.SyoriType;
  facts.AppKind = AppKind;
  facts.ConnectKind = ConnectKind;
  facts.CloudArea = AccInf.CLOUD_LINE;
  facts.CommId = AccInf.WEB_HOLDER;
  facts.CommPassword = AccInf.PASWORD;
  facts.CashId = CashId();
  facts.CashPassword = CashPassword();
  facts.CombinedKind = AccInf.GassanKbn;
  ProcessName = (OemKind == 1 || OemKind == 2) ? "データ送受信" : "データ通信";
  facts.ProcessName = ProcessName;
  const bool relay = State.SyoriType == opRelaySend || State.SyoriType == opRelayReceive || AppKind == 2;
  if (!relay) {
    facts.OtherWindowOpen = MenuRequestProc && MenuRequestProc(10, "") > 0;
    facts.ApprovedJournals = Records.HasApprovedJournals();
  }
  const TCommNotice refusal = DispatchRefusal(facts, result);
  if (!refusal.Empty()) {
    ShowNotice(refusal);
    return result;
  }
  if (AppKind != 2) {
    TVariant v;
    try {
      GetAccReg("通信設定", "クラウド区分", "整数", "0", v);
      State.DumpFlag = v.AsInteger();
    } catch (const std::exception&) {
      State.DumpFlag = 0;
    }
  }
  State.WorkFileName = State.SyoriType < opCloudReceive ? DataBackupFile : kCloudWorkFile;
  CheckOnActivate = true;
  if (AppKind == 2) State.SyoriType = opRelayReceive;
  const std::int32_t code = State.SyoriType;
  HelpPage = HelpPageOf(code);

  if (code != opRelaySend && code != opRelayReceive && code < opCloudSend) {
    // The cash-book codes and the server check: the slot table first.
    // A send would also end silently while a certain window of another
    // program is open; no such window exists on this system, so none is found.
    const bool sending =
        code == opCashBookSend || code == opMasterSend || code == opAutoSend || code == opCashBookSend3;
    if (sending && !AskYesNo("  \r\n中継サーバーにデータを送信します。\r\n ")) return result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowWaitMess(194);
    waitMess_->CheckBox1->hide();
    waitMess_->CheckBox4->hide();
    waitMess_->CheckBox5->hide();
    SetWaitStep(2, "認証チェック　実行中", kRunning);
    SetWaitStep(3, "中継サーバー情報確認", kPending);
    Pause();
    if (DataSetConnection().AccDatInConnection(1, SystemDef.HostName, SystemDef.DataDir, false)) {
      FreeWaitMess();
      const TCommNotice attached = AttachedElsewhereNotice(caption, AppKind);
      if (attached.Kind != kMsgConfirmation) {
        ShowNotice(attached);
        QApplication::restoreOverrideCursor();
        return result;
      }
      if (!AskYesNo(attached.Text)) {
        QApplication::restoreOverrideCursor();
        return result;
      }
      ShowWaitMess(194);
      waitMess_->CheckBox1->hide();
      waitMess_->CheckBox4->hide();
      waitMess_->CheckBox5->hide();
    }
    SetWaitStep(2, "認証チェック　終了", kFinished);
    SetWaitStep(3, "中継サーバー情報確認　実行中", kRunning);
    Pause();
    TCommNotice notice;
    bool connectionFailed = false;
    TSlotTableQuery q = SlotQuery();
    q.CashBookCommId = CashId();
    const bool fetched = Member.GetSlotTable(q, notice, connectionFailed);
    FreeWaitMess();
    QApplication::restoreOverrideCursor();
    if (!fetched) {
      ShowNotice(notice);
      return 0;
    }
    TCommNotice slotNotice;
    if (SlotRefusal(code, Member.SlotTable, FormatDateTime("yyyy/mm/dd", AccInf.KISHU), result, slotNotice)) {
      ShowNotice(slotNotice);
      return result;
    }
    if (code != opServerCheck) {
      result = RunCashBookOperation(code);
      SetKeyCaptions();
      return result;
    }
  }
  SetKeyCaptions();

  if (code >= opCloudSend) return -1;
  if (Modal != 1) {
    show();
    return 0;
  }
  if (MenuRequestProc && MenuRequestProc(10, "") > 0) {
    ShowNotice(TCommNotice::WarningYes("メニュー以外の処理が開いています。\r全ての処理を閉じてから処理を実行してください。"));
    return result;
  }
  if (!CheckInitialized()) return result;
  PlaceForm(0, 0, 0, 0, 3);
  PrepareShow(1);
  State.Restored = false;
  ShowModal();
  if (code == opRelaySend || code == opRelayReceive) return State.Restored ? 1 : 0;
  return result;
}
