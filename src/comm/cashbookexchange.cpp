// The cash-book exchange of the data-communication window: the data set sent
// into one of the three cash-book slots of the cash-book communication ID,
// and a slot's data received and handed to the cash-book loader.
#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "comm/cashbookloader.h"
#include "comm/cashbooksender.h"
#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/hikakumess.h"
#include "comm/tusindispatch.h"
#include "comm/waitmess.h"
#include "core/datetext.h"
#include "core/settings.h"
#include "dataselect/datasentakucmds.h"
#include "platform/rtl/sysutils.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPending = static_cast<int>(TWaitStep::Pending);
constexpr int kRunning = static_cast<int>(TWaitStep::Running);
constexpr int kFinished = static_cast<int>(TWaitStep::Finished);

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

std::string Trimmed(const std::string& s) { return QString::fromStdString(s).trimmed().toStdString(); }

// The cash-book slot folder a send writes.
std::string SendSlotOf(std::int32_t code) {
  switch (code) {
    case opCashBookSend: return "02";
    case opMasterSend: return "03";
    default: return "01";
  }
}

std::string Ymd(TDateTime d) { return FormatDateTime("yyyy/mm/dd", d); }

}  // namespace

bool TfmDataTusin::SendCashBookData() {
  const std::int32_t code = State.SyoriType;
  const std::string nn = SendSlotOf(code);
  const std::string work = SystemDef.WinTempDir + "/ComS";
  const std::string backup = work + "/" + State.WorkFileName;
  const std::string archive = work + "/rqacc.lzh";
  const std::string encrypted = work + "/rqacc.wen";
  auto fail = [this](TCommNotice n) {
    ShowNotice(n);
    return false;
  };
  auto steps = [&]() -> bool {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowWaitMess(194);
    SetWaitStep(1, "送信用データ保存　実行中", kRunning);
    SetWaitStep(4, "中継サーバーへデータ送信", kPending);
    waitMess_->CheckBox5->hide();
    Pause();
    setEnabled(false);
    // Any sender result but 1 is a failure: the send must not go on as if
    // the entries had been marked.
    if (code == opMasterSend) {
      TCashBookSender sender;
      sender.SendModeOverride = 0;
      sender.SendMode = 0;
      sender.Execute();
      if (sender.ResultCode() != 1) return fail(TCommNotice::ErrorYes(FramedMessage("データセンダーエラー1")));
    }
    std::error_code ec;
    fs::create_directories(work, ec);
    if (!fs::is_directory(work)) return fail(TCommNotice::ErrorYes(FramedMessage("送信用フォルダの作成に失敗しました。")));
    RemoveQuietly(backup);
    if (fs::exists(backup)) return fail(TCommNotice::ErrorYes("旧バックアップファイルが削除出来ません。"));
    if (!SaveSendData(true)) return false;
    if (PackAndEncrypt(backup, archive, encrypted, "QM5813" + CashPassword(), true)) return false;
    SetWaitStep(3, "送信用データ暗号化　終了", kFinished);
    SetWaitStep(4, "中継サーバーへデータ送信　実行中", kRunning);
    Pause();
    if (!fs::exists(encrypted)) return fail(TCommNotice::ErrorYes(FramedMessage("暗号化ファイルが見つかりません。")));
    FileStore = std::make_unique<TFileStoreClient>(
        TFileStoreLogin{Member.SlotTable.FtpHost, CashId(), Member.SlotTable.FtpPassword});
    TCommNotice putNotice;
    if (!FileStore->Put(encrypted, fs::file_size(encrypted), "/" + nn, "rqacc.wen", putNotice)) return fail(putNotice);
    const TValueReply report = Member.RequestWithValue(
        scSendCashBook, CashId(),
        SendReportFields(nn, AccInf.SHOUGOU, AccInf.NENDO, AccInf.KISHU, AccInf.KIMATU, CashPassword(),
                         SendDataVersion.Major, SendDataVersion.Minor));
    if (!report.Received) return fail(TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。(完了処理)")));
    if (report.Code != kResultOk) return fail(TCommNotice::ErrorOk(ServerErrorMessage("サーバーエラー", report.Code)));
    Member.SlotTable.Slots[0].SendTime = report.Value;
    SetWaitStep(4, "中継サーバーへデータ送信　終了", kFinished);
    xAnimeProgressDialog1->Close();
    if (code != opMasterSend) {
      TCashBookSender sender;
      sender.SendModeOverride = 1;
      sender.SendMode = 1;
      sender.Execute();
      if (sender.ResultCode() != 1) return fail(TCommNotice::ErrorYes(FramedMessage("データセンダーエラー2")));
    }
    FreeWaitMess();
    return true;
  };
  bool done = false;
  std::exception_ptr raised;
  try {
    done = steps();
  } catch (...) {
    raised = std::current_exception();
  }
  setEnabled(true);
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  FreeWaitMess();
  FileStore.reset();
  RemoveQuietly(backup);
  RemoveQuietly(archive);
  RemoveQuietly(encrypted);
  if (raised) std::rethrow_exception(raised);
  return done;
}

bool TfmDataTusin::ReceiveCashBookData(std::int32_t Slot) {
  const std::string work = SystemDef.WinTempDir + "/ComR";
  const std::string backup = work + "/" + State.WorkFileName;
  const std::string archive = work + "/rqacc.lzh";
  const std::string encrypted = work + "/rqacc.wen";
  const std::string received = SystemDef.TempDir + "/" + DataFile;
  LoaderFailed = false;
  auto fail = [this](TCommNotice n) {
    ShowNotice(n);
    return false;
  };
  auto steps = [&]() -> bool {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowWaitMess(194);
    SetWaitStep(1, "中継サーバーからデータ受信　実行中", kRunning);
    SetWaitStep(2, "受信データ暗号解読", kPending);
    SetWaitStep(3, "受信データ圧縮解凍", kPending);
    SetWaitStep(4, "受信データ復元・照合", kPending);
    waitMess_->CheckBox5->hide();
    Pause();
    setEnabled(false);
    std::error_code ec;
    fs::create_directories(work, ec);
    if (!fs::is_directory(work)) return fail(TCommNotice::ErrorYes("受信用フォルダの作成に失敗しました。"));
    FileStore = std::make_unique<TFileStoreClient>(
        TFileStoreLogin{Member.SlotTable.FtpHost, CashId(), Member.SlotTable.FtpPassword});
    TCommNotice getNotice;
    if (!FileStore->Get("/" + SlotText(Slot + 1) + "/rqacc.wen", encrypted, getNotice)) return fail(getNotice);
    if (UnpackAndRestore(work, encrypted, archive, backup, "QM5813" + CashPassword())) return false;
    SetWaitStep(4, "受信データ復元　終了", kFinished);
    Pause();
    xAnimeProgressDialog1->Close();

    bool ok = false;
    try {
      TCashBookLoaderBox loader;
      loader.ReceiveKind = Slot == 0 ? 0 : 1;
      loader.ImportKind = Slot == 2 ? 0 : 1;
      loader.SetReceivedFile(received);
      if (Slot == 0) {
        // The loader's window decides; only an import that ran and
        // succeeded counts, a cancelled one keeps the slot's data.
        if (!ShowCashBookLoader) ShowNotice(TCommNotice::InformationOk(kCommandNotAvailable));
        const TModalResult r = ShowCashBookLoader ? ShowCashBookLoader(loader) : mrCancel;
        ok = r == mrOk && loader.ResultCode() == 1;
        if (!ok) LoaderFailed = true;
      } else {
        loader.ExecuteAuto();
        ok = loader.ResultCode() == 1;
        if (!ok) LoaderFailed = true;
      }
    } catch (const std::exception&) {
      LoaderFailed = true;
      ShowNotice(TCommNotice::ErrorOk(FramedMessage("出納帳データローダーエラー")));
      ok = false;
    }
    RemoveQuietly(received);
    return ok;
  };
  bool done = false;
  std::exception_ptr raised;
  try {
    done = steps();
  } catch (...) {
    raised = std::current_exception();
  }
  RemoveQuietly(received);
  if (State.SyoriType == opAutoReceive || State.SyoriType == opCashBookReceive3) Records.ReadVersionOrClearCloudLine(false);
  setEnabled(true);
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  FreeWaitMess();
  FileStore.reset();
  RemoveQuietly(backup);
  RemoveQuietly(archive);
  RemoveQuietly(encrypted);
  if (raised) std::rethrow_exception(raised);
  return done;
}

std::int32_t TfmDataTusin::CompareBeforeCashBookSend(std::int32_t Slot) {
  const TSlotEntry& e = Member.SlotTable.Slots[static_cast<std::size_t>(Slot - 1)];
  const bool password = e.Password != CashPassword();
  const bool company = Trimmed(e.CompanyName) != Trimmed(AccInf.SHOUGOU);
  const bool period = e.Kishu.substr(0, 10) != Ymd(AccInf.KISHU);
  if (!password && !company && !period) return 2;
  if (!company && !period)
    return AskYesNo("中継サーバーに下記相違点のあるデータが存在します。このまま送信して上書きしてもいいですか？\r\n\r\n"
                    "パスワードが違います。")
               ? 1
               : -1;
  TfmHikakuMess2 box(this);
  box.Label1->setText("中継サーバーに下記相違点のあるデータが存在します。");
  box.Label2->setText("このまま送信して上書きしてもいいですか？");
  box.Label3->setVisible(password);
  for (QLabel* l : {box.Label4, box.Label5, box.Label6}) l->setVisible(company);
  for (QLabel* l : {box.Label7, box.Label8, box.Label9}) l->setVisible(period);
  box.Label5->setText(QString::fromStdString("現在利用中の商号　：　" + AccInf.SHOUGOU));
  box.Label6->setText(QString::fromStdString("中継サーバーの商号：　" + e.CompanyName));
  box.Label8->setText(
      QString::fromStdString("現在利用中の会計期間　：　" + SlotDateText(AccInf.KISHU) + " ～ " + SlotDateText(AccInf.KIMATU)));
  box.Label9->setText(QString::fromStdString("中継サーバーの会計期間：　" + SlotDateText(StrToDateFixed(e.Kishu.substr(0, 10))) +
                                             " ～ " + SlotDateText(StrToDateFixed(e.Kimatu.substr(0, 10)))));
  // Only "はい" overwrites: a window closed without an answer declines.
  HikakuAnswer = 1;
  return box.ShowModal() == mrYes ? 1 : -1;
}

bool TfmDataTusin::CompareBeforeCashBookReceive(std::int32_t Slot) {
  const TSlotEntry& e = Member.SlotTable.Slots[static_cast<std::size_t>(Slot - 1)];
  if (e.Password != CashPassword()) {
    ShowNotice(TCommNotice::WarningOk(FramedMessage("パスワードが違います。")));
    return false;
  }
  const bool company = Trimmed(e.CompanyName) != Trimmed(AccInf.SHOUGOU);
  const bool period = e.Kishu.substr(0, 10) != Ymd(AccInf.KISHU);
  if (!company && !period) return true;
  TfmHikakuMess2 box(this);
  const bool question = Slot == 3 && !period;  // a different company only: may go on
  box.Label1->setText(question ? "商号が違いますが、受信を続行しますか？" : "中継サーバーのデータと下記相違点があるため受信出来ません。");
  box.Label2->setText("データを切り換えて実行して下さい。");
  box.Label2->setVisible(!question && State.SyoriType == opAutoReceive);
  box.Label3->hide();
  const bool showCompany = company && !(Slot == 3 && period);
  for (QLabel* l : {box.Label4, box.Label5, box.Label6}) l->setVisible(showCompany);
  for (QLabel* l : {box.Label7, box.Label8, box.Label9}) l->setVisible(period);
  box.Label5->setText(QString::fromStdString("現在利用中の商号　：　" + AccInf.SHOUGOU));
  box.Label6->setText(QString::fromStdString("中継サーバーの商号：　" + e.CompanyName));
  box.Label8->setText(QString::fromStdString("現在利用中の会計期間　：　" + Ymd(AccInf.KISHU) + " ～ " + Ymd(AccInf.KIMATU)));
  box.Label9->setText(QString::fromStdString("中継サーバーの会計期間：　" + e.Kishu.substr(0, 10) + " ～ " +
                                             e.Kimatu.substr(0, 10)));
  if (!question) {
    box.Button1->setText("ＯＫ");
    box.Button2->hide();
  }
  HikakuAnswer = 1;
  return box.ShowModal() == mrYes && question;
}

std::int32_t TfmDataTusin::RunCashBookOperation(std::int32_t Code) {
  std::int32_t result = -1;
  const auto& table = Member.SlotTable;
  if (Code == opCashBookSend || Code == opAutoSend || Code == opCashBookSend3 || Code == opMasterSend) {
    if (Code == opMasterSend) {
      if (SlotHoldsData(table, 3) && table.Slots[2].Kishu.substr(0, 10) != Ymd(AccInf.KISHU) &&
          CompareBeforeCashBookSend(3) != 1)
        return result;
      if (SlotHoldsData(table, 2)) {
        if (!AskYesNo("中継サーバーに現金出納帳データが存在します。\r\nこのままマスター送信をすると、削除されます。続行しますか？"))
          return result;
        DeleteCashBookSlots(1);
      }
    } else {
      const int overwritten = Code == opCashBookSend ? 2 : 1;
      if (SlotHoldsData(table, overwritten) && CompareBeforeCashBookSend(overwritten) == -1) return result;
    }
    try {
      if (SendCashBookData() && Code != opAutoSend)
        ShowNotice(TCommNotice::InformationOk(Code == opMasterSend ? FramedMessage("送信処理が終了しました。")
                                                                   : "　\r\n送信処理が終了しました。\r\n　"));
    } catch (const std::exception& e) {
      ShowNotice(TCommNotice::ErrorOk(ExceptionErrorText("送信処理中にエラーになりました。\r\n", e)));
      FileStore.reset();
    }
    return 1;
  }
  // The receives (4, 6, 10).
  const int slot = Code == opCashBookReceive ? 1 : SlotHoldsData(table, 3) ? 3 : 2;
  if (!CompareBeforeCashBookReceive(slot)) return result;
  if ((Code == opCashBookReceive || Code == opCashBookReceive3) && !AskYesNo(FramedMessage("これよりデータを受信します。")))
    return 0;
  try {
    if (ReceiveCashBookData(slot - 1))
      DeleteCashBookSlots(slot - 1);
    else if (!LoaderFailed)
      ShowNotice(TCommNotice::ErrorOk(FramedMessage("受信処理が正常に終了していません。")));
  } catch (const std::exception& e) {
    ShowNotice(TCommNotice::ErrorOk(ExceptionErrorText("受信処理中にエラーになりました。\r\n", e)));
    FileStore.reset();
  }
  if (Code == opAutoReceive) return 0;
  return slot == 3 ? 2 : 1;
}
