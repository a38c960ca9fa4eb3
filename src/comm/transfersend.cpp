// The send of the transfer pipeline: backup of the data set into ComS,
// archive, encryption, put into the slot's folder of the file store and the
// send report; for the cloud share framed by the check-out start, which marks
// the area in use, and released again by every failure after that.
#include <filesystem>

#include <QApplication>
#include <QCheckBox>

#include "comm/cipher.h"
#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/tessalyupload.h"
#include "comm/unlha.h"
#include "comm/waitmess.h"
#include "core/settings.h"
#include "core/winutil.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRunning = static_cast<int>(TWaitStep::Running);
constexpr int kFinished = static_cast<int>(TWaitStep::Finished);

bool RemoveIfPresent(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
  return !fs::exists(path);
}

bool MakeFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return fs::is_directory(path);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

bool TfmDataTusin::RunJob(TBackupRestoreThread& job) {
  job.Resume();
  while (!job.IsTerminated()) WaitWithMessages(300);
  if (!job.Success) ShowNotice(TCommNotice::WarningYes(job.Message + "\r" + job.SubMessage));
  return job.Success;
}

bool TfmDataTusin::SaveSendData(bool ShowMessage) {
  DataInfomation.ConnectKind = ConnectKind;
  const std::string folder = State.WorkDataFolder();
  bool result = false;
  SetDataStatus(folder, dsSaving);
  try {
    if (!BackupThread) BackupThread = std::make_unique<TBackupRestoreThread>(true);
    TBackupRestoreThread& job = *BackupThread;
    job.Mode = 0;
    job.ViaFileMan = ConnectKind != 0;
    job.HostName = SystemDef.HostName;
    job.DbFile = folder + "/" + DataFile;
    job.BackupFile = SystemDef.WinTempDir + "/ComS/" + State.WorkFileName;
    job.JobOption = 1;
    job.ClearDataInfo();
    job.AppendDataInfo = true;
    job.DataInfo.SHOUGOU = AccInf.SHOUGOU;
    job.DataInfo.KISHU = FormatDateTime("yyyy/mm/dd", AccInf.KISHU);
    job.DataInfo.KIMATU = FormatDateTime("yyyy/mm/dd", AccInf.KIMATU);
    job.DataInfo.SIWAKE = DataSetConnection().GetYukouSiwakeCount("");
    job.DataInfo.TOTALSIWAKE = DataSetConnection().GetSiwakeCountTotal("");
    job.DataInfo.DATAVARSION =
        State.SyoriType == opCloudSend
            ? Format("%d.%d.%d", State.CloudVerMajor, State.CloudVerMinor1, State.CloudVerMinor2)
            : Format("%d.%d.%d", SendDataVersion.Major, SendDataVersion.Minor, SendDataVersion.Release);
    job.DataInfo.GASSAN = AccInf.GassanKbn;
    job.DataInfo.USEMYNUMBER = AccInf.MyNumberUse;
    job.ProductTitle = State.SyoriType == opCloudSend ? "クラウドシェア送信" : "データ送信";
    result = RunJob(job);
  } catch (const std::exception& e) {
    ShowNotice(TCommNotice::WarningYes(e.what()));
    result = false;
  }
  BackupThread.reset();
  SetDataStatus(folder, dsFree);
  if (!result && ShowMessage)
    ShowNotice(TCommNotice::ErrorYes("データの保存に失敗しました。\r保存処理を中止しました。"));
  return result;
}

bool TfmDataTusin::SendData() {
  const bool cloud = State.IsCloud();
  if (!cloud) {
    const std::string text = "　\r\n中継サーバーの No." + std::to_string(ChosenRow + 1) +
                             " フォルダに、現在利用中のデータを送信します。実行しますか？\r\n ";
    if (!AskYesNo(text)) return true;
  }
  bool inUseTaken = false;
  bool notDone = true;
  std::exception_ptr raised;
  try {
    notDone = SendSteps(inUseTaken);
  } catch (...) {
    raised = std::current_exception();  // reported by the caller after the clean-up
  }
  // Every ending: the window back, the clients freed, the work files gone,
  // and an area that this send marked in use released again.
  setEnabled(true);
  QApplication::restoreOverrideCursor();
  FreeWaitMess();
  FileStore.reset();
  const std::string work = SystemDef.WinTempDir + "/ComS/";
  const std::string base = cloud ? "cpacc" : "rqacc";
  RemoveIfPresent(work + State.WorkFileName);
  RemoveIfPresent(work + base + ".lzh");
  RemoveIfPresent(work + base + ".wen");
  if (cloud && inUseTaken) ReleaseArea(AccInf.CLOUD_LINE);
  if (raised) std::rethrow_exception(raised);
  return notDone;
}

bool TfmDataTusin::PackAndEncrypt(const std::string& backup, const std::string& archive,
                                  const std::string& encrypted, const std::string& passPhrase, bool cashBook) {
  auto fail = [this](TCommNotice n) {
    ShowNotice(n);
    return true;
  };
  // Archive.
  SetWaitStep(1, "送信用データ保存　終了", kFinished);
  SetWaitStep(2, "送信用データ圧縮　実行中", kRunning);
  Pause();
  InstallEscapeKeyHook();
  bool stop = false;
  try {
    if (!RemoveIfPresent(archive)) {
      stop = fail(TCommNotice::ErrorYes("旧圧縮ファイルが削除出来ません。"));
    } else if (!fs::exists(backup)) {
      stop = fail(TCommNotice::ErrorYes(FramedMessage("バックアップファイルが見つかりません。")));
    } else if (Unlha(nullptr, "a " + Quoted(archive) + " " + Quoted(backup), nullptr, 0) != 0) {
      stop = fail(TCommNotice::ErrorYes(cashBook ? "圧縮失敗" : "圧縮エラー"));
    } else {
      Pause();
      if (fs::exists(archive) && UnlhaCheckArchive(archive, 2) == 0)
        stop = fail(TCommNotice::ErrorYes(
            "送信処理に失敗しました。ウイルス対策ソフトを実行中の場合は、終了してから再度送信を行ってください。"));
    }
  } catch (const std::exception&) {
    stop = fail(TCommNotice::ErrorYes(cashBook ? FramedMessage("圧縮失敗") : "圧縮失敗"));
  }
  RemoveEscapeKeyHook();
  if (stop) return true;

  // Encryption.
  SetWaitStep(2, "送信用データ圧縮　終了", kFinished);
  SetWaitStep(3, "送信用データ暗号化　実行中", kRunning);
  if (!fs::exists(archive)) return fail(TCommNotice::ErrorYes(FramedMessage("圧縮ファイルが見つかりません。")));
  if (!RemoveIfPresent(encrypted)) return fail(TCommNotice::ErrorYes("旧ワークファイルが削除出来ません。"));
  try {
    EncryptFile(archive, encrypted, passPhrase);
  } catch (const std::exception&) {
    return fail(TCommNotice::ErrorYes(FramedMessage("暗号失敗")));
  }

  return false;
}

bool TfmDataTusin::SendSteps(bool& inUseTaken) {
  const bool cloud = State.IsCloud();
  const int slot = cloud ? AccInf.CLOUD_LINE : ChosenRow + 1;
  const std::string nn = SlotText(slot);
  const std::string work = SystemDef.WinTempDir + "/ComS";
  const std::string base = cloud ? "cpacc" : "rqacc";
  const std::string backup = work + "/" + State.WorkFileName;
  const std::string archive = work + "/" + base + ".lzh";
  const std::string encrypted = work + "/" + base + ".wen";
  auto fail = [this](TCommNotice n) {
    ShowNotice(n);
    return true;
  };

  // The analysis upload follows a send when the data set's setting asks for
  // it; its step is shown on a relay send.
  const bool dump = State.DumpFlag == 1 && AppKind != 2;
  const bool dumpStep = dump && !cloud;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ShowWaitMess(dumpStep ? 206 : 194);
  if (cloud && !State.WaitCaption.empty()) waitMess_->setWindowTitle(QString::fromStdString(State.WaitCaption));
  SetWaitStep(1, "送信用データ保存　実行中", kRunning);
  SetWaitStep(4, cloud ? "クラウドへデータ送信" : "中継サーバーへデータ送信", static_cast<int>(TWaitStep::Pending));
  SetWaitStep(5, "経営テサリークラウドへデータ送信", static_cast<int>(TWaitStep::Pending));
  waitMess_->CheckBox5->setVisible(dumpStep);
  setEnabled(false);
  Pause();

  if (cloud) {
    const TValueReply r = Member.CheckOutStart(CommId(), slot);
    if (!r.Received) return fail(TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。(送信開始処理)")));
    if (r.Code != kResultOk) return fail(TCommNotice::ErrorOk(ServerErrorMessage("送信開始処理サーバーエラー", r.Code)));
    inUseTaken = true;
    if (r.Value.empty()) return fail(TCommNotice::ErrorOk(FramedMessage("送信開始処理エラー")));
    if (!Records.WriteCloudTime(Member.LastUpdate))
      return fail(TCommNotice::ErrorOk("ローカルデータの最終更新日付更新エラー"));
  }

  if (!MakeFolder(work)) return fail(TCommNotice::ErrorYes("送信用フォルダの作成に失敗しました。"));
  if (!RemoveIfPresent(backup)) return fail(TCommNotice::ErrorYes("旧バックアップファイルが削除出来ません。"));
  if (!SaveSendData(true)) return true;

  if (PackAndEncrypt(backup, archive, encrypted, PassPhrase(), false)) return true;

  // Put and report.
  SetWaitStep(3, "送信用データ暗号化　終了", kFinished);
  SetWaitStep(4, cloud ? "クラウドへデータ送信　実行中" : "中継サーバーへデータ送信　実行中", kRunning);
  Pause();
  if (!fs::exists(encrypted)) return fail(TCommNotice::ErrorYes(FramedMessage("暗号化ファイルが見つかりません。")));
  const std::uint64_t size = fs::file_size(encrypted);
  if (cloud && !FetchSlotTable()) return true;
  FileStore = std::make_unique<TFileStoreClient>(
      TFileStoreLogin{Member.SlotTable.FtpHost, CommId(), Member.SlotTable.FtpPassword});
  TCommNotice putNotice;
  if (!FileStore->Put(encrypted, size, "/" + nn, base + ".wen", putNotice)) return fail(putNotice);

  const int verMajor = cloud ? State.CloudVerMajor : SendDataVersion.Major;
  const int verMinor = cloud ? State.CloudVerMinor1 : SendDataVersion.Minor;
  const TValueReply report =
      Member.RequestWithValue(cloud ? scCloudSendReport : scSendReport, CommId(),
                              SendReportFields(nn, AccInf.ENTTEXT, AccInf.NENDO, AccInf.KISHU, AccInf.KIMATU,
                                               AccInf.PASWORD, verMajor, verMinor));
  if (!report.Received) return fail(TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。(完了処理)")));
  if (report.Code != kResultOk) return fail(TCommNotice::ErrorOk(ServerErrorMessage("サーバーエラー", report.Code)));
  if (!cloud) ShowSentRow(ChosenRow, report.Value);
  if (cloud) {
    // The report has set the area free on the service.
    inUseTaken = false;
    TDateTime sent = 0;
    if (!TimeTextToDateTime(CompactTimeText(report.Value, true), sent))
      return fail(TCommNotice::ErrorOk(FramedMessage("送信エラー")));
    if (!Records.WriteCloudTime(sent)) return fail(TCommNotice::ErrorOk("ローカルデータの送信時間更新エラー"));
    AccInf.CLOUD_TIME = sent;
  }

  SetWaitStep(4, cloud ? "クラウドへデータ送信　終了" : "中継サーバーへデータ送信　終了", kFinished);
  if (dump) SetWaitStep(5, "経営テサリークラウドへデータ送信　実行中", kRunning);
  Pause();
  if (dump) {
    TCommNotice dumpNotice;
    if (!SendAnalysisDump(CommId(), slot, dumpNotice)) return fail(dumpNotice);
    SetWaitStep(5, "経営テサリークラウドへデータ送信　終了", kFinished);
    Pause();
  }
  FreeWaitMess();
  setEnabled(true);
  xAnimeProgressDialog1->Close();
  if (!cloud) ShowNotice(TCommNotice::InformationYes(FramedMessage("データ送信処理が終了しました。")));
  return false;
}
