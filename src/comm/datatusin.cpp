// The data-communication window: creation, the data-set connection of the
// entries, messages, wait windows, step pauses and the Escape filter used
// while archives are packed or unpacked.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>

#include "comm/cashbookloaderform.h"
#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/waitmess.h"
#include "core/datetext.h"
#include "core/globals.h"
#include "core/processforms.h"
#include "core/settings.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"
#include "ui/progressdialog.h"

// Swallows Escape, pressed or released, anywhere in the application.
class TEscapeKeyFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override { return EscapeKeyHookProc(watched, event); }
  static bool EscapeKeyHookProc(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
        event->type() != QEvent::ShortcutOverride)
      return false;
    return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  }
};

namespace {

constexpr const char* kConnectFailed = "　\r\nデータの接続に失敗したため、データ選択画面を開きます。\r\n ";

// The lines of a message text ("\r\n", "\r" or "\n" break lines), at most ten.
void FillLines(const std::string& text, TMessage2InfoRec& info) {
  std::size_t n = 0, start = 0;
  while (n < info.Lines.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    info.Lines[n++].Text = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = end + ((text.compare(end, 2, "\r\n") == 0) ? 2 : 1);
  }
}

}  // namespace

TfmDataTusin::TfmDataTusin(QWidget* owner)
    : TBSDI(owner, bsDialog, "fmDataTusin"), Records(State) {
  setWindowTitle(QString::fromUtf8("データ通信"));
  KeepHistory = false;
  NotifyMenu = false;
  NoRight = false;
  DataInfomation.ConnectKind = ConnectKind;
  MessageBox = new TMessageBox(this);
  xAnimeProgressDialog1 = new TxAnimeProgressDialog(this);
  xAnimeProgressDialog1->SetCommonAVI(aviFindFolder);
  BuildWindow();
  SetKeyCaptions();
  ShowCashBookLoader = [this](TCashBookLoaderBox& Loader) {
    TCashBookLoaderForm form(Loader, this);
    return form.ShowModal();
  };
  Initialized = true;
}

TfmDataTusin::~TfmDataTusin() {
  RemoveEscapeKeyHook();
  FreeWaitMess();
  FreeWaitMess2();
}

void TfmDataTusin::ShowNotice(const TCommNotice& Notice) {
  if (Notice.Empty()) return;
  xAnimeProgressDialog1->Close();
  TMessage2InfoRec info;
  InitMessage2Info(Notice.Kind, info);
  info.Buttons = MsgButtons({Notice.YesButton ? mbYes : mbOK});
  FillLines(Notice.Text, info);
  ShowMessageBox2(info);
}

bool TfmDataTusin::AskYesNo(const std::string& Text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgConfirmation, info);
  info.Buttons = MsgButtons({mbYes, mbNo});
  FillLines(Text, info);
  return ShowMessageBox2(info) == mrYes;
}

void TfmDataTusin::Pause() const {
  // A busy wait: the step's text stays on screen; no messages are processed.
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < static_cast<qint64>(StepPauseSeconds * 1000)) {
  }
}

void TfmDataTusin::InstallEscapeKeyHook() {
  if (escapeHook_) return;
  escapeHook_ = std::make_unique<TEscapeKeyFilter>();
  if (qApp) qApp->installEventFilter(escapeHook_.get());
}

void TfmDataTusin::RemoveEscapeKeyHook() {
  if (!escapeHook_) return;
  if (qApp) qApp->removeEventFilter(escapeHook_.get());
  escapeHook_.reset();
}

// ---- wait windows --------------------------------------------------------------------

void TfmDataTusin::ShowWaitMess(int height) {
  FreeWaitMess();
  WaitMessOwner = this;
  waitMess_ = std::make_unique<TfmWaitMess>(this);
  waitMess_->SizeFor96Dpi(435, height);
  waitMess_->ShowAndPaint();
}

void TfmDataTusin::SetWaitStep(int box, const std::string& text, int look) {
  if (!waitMess_) return;
  TfmWaitMessBase::SetStep(waitMess_->Box(box), text, static_cast<TWaitStep>(look));
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmDataTusin::FreeWaitMess() { waitMess_.reset(); }

void TfmDataTusin::ShowWaitMess2() {
  FreeWaitMess2();
  WaitMess2Owner = this;
  waitMess2_ = std::make_unique<TfmWaitMess2>(this);
  waitMess2_->SizeFor96Dpi(435, 194);
  waitMess2_->ShowAndPaint();
  TfmWaitMessBase::SetStep(waitMess2_->CheckBox1, "クラウドシェア認証チェック　実行中", TWaitStep::Running);
}

void TfmDataTusin::FreeWaitMess2() { waitMess2_.reset(); }

// ---- connection ------------------------------------------------------------------------

bool TfmDataTusin::ConnectData() {
  const std::string folder = State.WorkDataFolder();
  // A connection to another data set must not lend its company information
  // to this one.
  if (DataSetConnection().IBDatabaseDAT.Connected() &&
      DataSetConnection().IBDatabaseDAT.DatabaseName != TSystemStore::DatabaseNameFor(SystemDef.HostName, folder, DataFile)) {
    try {
      DataSetConnection().AccDatDisconnect(SystemDef.DataDir, true, false);
    } catch (...) {
      // the connect below reports what matters
    }
  }
  bool ok = DataSetConnection().IBDatabaseDAT.Connected();
  if (!ok) ok = DataSetConnection().fnAccDatConnected(SystemDef.HostName, folder, true);
  if (ok) ok = DataSetConnection().fnGetAccInfo();
  if (ok && !DataInfomation.IsDataSiyouKengen(folder)) NoRight = true;
  if (!ok) ShowNotice(TCommNotice::WarningOk(kConnectFailed));
  try {
    if (SystemStore().IBTransactionDEF.InTransaction()) SystemStore().IBTransactionDEF.Commit();
  } catch (...) {
    // the connection's result above does not depend on this commit
  }
  return ok;
}

void TfmDataTusin::DisconnectData() {
  try {
    if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect(State.WorkDataFolder(), true, false);
    if (SystemStore().IBTransactionDEF.InTransaction()) SystemStore().IBTransactionDEF.Commit();
  } catch (...) {
    // disconnecting is best effort: the exchange is over
  }
}

void TfmDataTusin::FormCloseQuery() {
  if (!ConnectData()) {
    SystemDef.DataDir.clear();
    return;
  }
  const std::string period =
      Format(kDateRangeFormat, FormatDateTime("yyyy/mm/dd", AccInf.KISHU),
             FormatDateTime("yyyy/mm/dd", AccInf.KIMATU));
  std::string facility;
  if (MenuStatusTextProc) {
    MenuStatusTextProc(false, AccInf.SHOUGOU, AccInf.SITEN, period);
    DataSetConnection().GetOpeDefSisetu(facility);
    MenuStatusTextProc(true, facility, AccInf.SITEN, "");
  }
  if (MenuStatusRefreshProc) {
    MenuStatusRefreshProc(false, 0);
    MenuStatusRefreshProc(true, 0);
  }
}

// ---- member service -----------------------------------------------------------------------

TSlotTableQuery TfmDataTusin::SlotQuery() const {
  TSlotTableQuery q;
  q.OperationCode = State.SyoriType;
  q.Auto = State.Auto;
  q.CommId = CommId();
  return q;
}

bool TfmDataTusin::FetchSlotTable() {
  TCommNotice notice;
  bool connectionFailed = false;
  if (Member.GetSlotTable(SlotQuery(), notice, connectionFailed)) return true;
  ShowNotice(notice);
  return false;
}

bool TfmDataTusin::ReleaseArea(std::int32_t Area) {
  TCommNotice notice;
  try {
    if (Member.SetCloudShareUse(CommId(), Area, 1, notice)) return true;
  } catch (const std::exception&) {
    notice = TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。"));
  }
  ShowNotice(notice);
  return false;
}

// ---- registration under the process name (kept in this file, which every
// program using the window links) -----------------------------------------------

namespace {

class TDataTusinProcess : public IProcessForm {
 public:
  explicit TDataTusinProcess(QWidget* owner) : window_(new TfmDataTusin(owner)) {}
  ~TDataTusinProcess() override {
    if (window_ && !window_->isVisible()) delete window_.data();
  }
  std::int32_t Execute(std::int32_t Modal) override { return window_ ? window_->Execute(Modal) : -1; }
  void SetParams(const std::vector<std::string>& Params) override {
    if (window_) window_->SetParams(Params);
  }

 private:
  QPointer<TfmDataTusin> window_;
};

const TProcessClass kDataTusinClass{
    "TfmDataTusin",
    [](void* owner) -> std::unique_ptr<IProcessForm> {
      return std::make_unique<TDataTusinProcess>(static_cast<QWidget*>(owner));
    }};

const bool kRegistered = (RegisterProcessClass(&kDataTusinClass, kProcDataTusin), true);

}  // namespace

const TProcessClass* RegisterDataTusin() {
  (void)kRegistered;
  RegisterProcessClass(&kDataTusinClass, kProcDataTusin);
  return &kDataTusinClass;
}
