// The receive of the transfer pipeline: the slot's encrypted file fetched
// from the file store into ComR, decrypted, unpacked and handed to the
// restore with its data check; for the cloud share framed by the check-out
// start, whose time becomes the data set's CLOUD_TIME.
#include <filesystem>

#include <QApplication>
#include <QCheckBox>

#include "comm/cipher.h"
#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/unlha.h"
#include "comm/waitmess.h"
#include "core/settings.h"
#include "dbaccess/systemstore.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPending = static_cast<int>(TWaitStep::Pending);
constexpr int kRunning = static_cast<int>(TWaitStep::Running);
constexpr int kFinished = static_cast<int>(TWaitStep::Finished);

bool RemoveIfPresent(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
  return !fs::exists(path);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

bool TfmDataTusin::ReceiveData() {
  const bool cloud = State.IsCloud();
  if (cloud) {
    const int area = AccInf.CLOUD_LINE;
    if (area < 1 || area > 10 || Member.SlotTable.Slots[static_cast<std::size_t>(area - 1)].Password != AccInf.PASWORD) {
      ShowNotice(TCommNotice::WarningYes(
          FramedMessage("クラウドデータと現在利用中のデータではパスワードが一致しません。")));
      return true;
    }
  } else {
    if (ChosenRow < 0 || ChosenRow > 9 ||
        Member.SlotTable.Slots[static_cast<std::size_t>(ChosenRow)].CompanyName.empty()) {
      ShowNotice(TCommNotice::InformationYes(FramedMessage("選択したフォルダには、データは存在しません。")));
      return true;
    }
    if (Member.SlotTable.Slots[static_cast<std::size_t>(ChosenRow)].Password != AccInf.PASWORD) {
      ShowNotice(TCommNotice::WarningYes(
          FramedMessage("選択したデータと現在利用中のデータではパスワードが一致しません。")));
      return true;
    }
    if (!AskYesNo(FramedMessage(
            "受信処理を開始します。現在利用中のデータが中継サーバーのデータで上書きされます。実行しますか？")))
      return true;
  }

  bool inUseTaken = false;
  bool notDone = true;
  TDateTime serverTime = 0;
  std::exception_ptr raised;
  try {
    notDone = ReceiveSteps(inUseTaken, serverTime);
  } catch (...) {
    raised = std::current_exception();  // reported by the caller after the clean-up
  }
  if (cloud && notDone && inUseTaken && AppKind != 2) ReleaseArea(AccInf.CLOUD_LINE);
  setEnabled(true);
  QApplication::restoreOverrideCursor();
  FreeWaitMess();
  FileStore.reset();
  const std::string work = SystemDef.WinTempDir + "/ComR/";
  const std::string base = cloud ? "cpacc" : "rqacc";
  RemoveIfPresent(work + State.WorkFileName);
  RemoveIfPresent(work + base + ".lzh");
  RemoveIfPresent(work + base + ".wen");
  if (raised) std::rethrow_exception(raised);
  return notDone;
}

bool TfmDataTusin::UnpackAndRestore(const std::string& work, const std::string& encrypted, const std::string& archive,
                                    const std::string& backup, const std::string& passPhrase) {
  auto fail = [this](TCommNotice n) {
    ShowNotice(n);
    return true;
  };
  SetWaitStep(1, State.IsCloud() ? "クラウドからデータ受信　終了" : "中継サーバーからデータ受信　終了", kFinished);
  SetWaitStep(2, "受信データ暗号解読　実行中", kRunning);
  Pause();
  if (!fs::exists(encrypted)) return fail(TCommNotice::ErrorYes(FramedMessage("受信ファイルが見つかりません。")));
  if (!RemoveIfPresent(archive)) return fail(TCommNotice::ErrorYes("旧圧縮ファイルが削除出来ません。"));
  try {
    DecryptFile(encrypted, archive, passPhrase);
  } catch (const std::exception&) {
    return fail(TCommNotice::ErrorYes(FramedMessage("暗号解読失敗")));
  }

  SetWaitStep(2, "受信データ暗号解読　終了", kFinished);
  SetWaitStep(3, "受信データ圧縮解凍　実行中", kRunning);
  Pause();
  InstallEscapeKeyHook();
  bool stop = false;
  try {
    if (!fs::exists(archive)) {
      stop = fail(TCommNotice::ErrorYes(FramedMessage("解読ファイルが見つかりません。")));
    } else if (!RemoveIfPresent(backup)) {
      stop = fail(TCommNotice::ErrorYes("旧復元ファイルが削除出来ません。"));
    } else if (Unlha(nullptr, "e " + Quoted(archive) + " " + Quoted(work + "/"), nullptr, 0) != 0) {
      stop = true;
    }
  } catch (const std::exception&) {
    stop = fail(TCommNotice::ErrorYes(FramedMessage("解凍失敗")));
  }
  RemoveEscapeKeyHook();
  if (stop) return true;

  SetWaitStep(3, "受信データ圧縮解凍　終了", kFinished);
  SetWaitStep(4, "受信データ復元・照合　実行中", kRunning);
  Pause();
  if (!fs::exists(backup))
    return fail(TCommNotice::ErrorYes(AppKind == 3 ? "解凍ファイルが見つかりません。\r\nプログラムの更新を実行して下さい。\r\n "
                                                   : FramedMessage("解凍ファイルが見つかりません。")));
  if (!RestoreReceivedData(true)) return true;

  return false;
}

bool TfmDataTusin::ReceiveSteps(bool& inUseTaken, TDateTime& serverTime) {
  const bool cloud = State.IsCloud();
  const int slot = cloud ? AccInf.CLOUD_LINE : ChosenRow + 1;
  const std::string work = SystemDef.WinTempDir + "/ComR";
  const std::string base = cloud ? "cpacc" : "rqacc";
  const std::string backup = work + "/" + State.WorkFileName;
  const std::string archive = work + "/" + base + ".lzh";
  const std::string encrypted = work + "/" + base + ".wen";
  auto fail = [this](TCommNotice n) {
    ShowNotice(n);
    return true;
  };

  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (ConnectKind == 0 && AppKind != 3) {
    State.SavedCombineKind.clear();
    State.SavedCombineCount.clear();
    Records.ReadCombineSettings();
  }
  ShowWaitMess(194);
  SetWaitStep(1, cloud ? "クラウドからデータ受信　実行中" : "中継サーバーからデータ受信　実行中", kRunning);
  SetWaitStep(2, "受信データ暗号解読", kPending);
  SetWaitStep(3, "受信データ圧縮解凍", kPending);
  SetWaitStep(4, "受信データ復元・照合", kPending);
  waitMess_->CheckBox5->hide();
  Pause();
  setEnabled(false);

  std::error_code ec;
  fs::create_directories(work, ec);
  if (!fs::is_directory(work)) return fail(TCommNotice::ErrorYes(FramedMessage("受信用フォルダの作成に失敗しました。")));
  const std::string remote = "/" + SlotText(slot) + "/" + base + ".wen";

  if (cloud && AppKind != 2) {
    const TValueReply r = Member.CheckOutStart(CommId(), slot);
    if (!r.Received) return fail(TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。(受信開始処理)")));
    if (r.Line5.size() <= 10) return true;
    if (r.Code != kResultOk) return fail(TCommNotice::ErrorOk(ServerErrorMessage("受信開始処理サーバーエラー", r.Code)));
    inUseTaken = true;
    if (r.Value.empty()) return fail(TCommNotice::ErrorOk(FramedMessage("受信開始処理エラー")));
    serverTime = Member.LastUpdate;
  }

  if (!RemoveIfPresent(encrypted)) return fail(TCommNotice::ErrorYes("旧ワークファイルが削除出来ません。"));
  FileStore = std::make_unique<TFileStoreClient>(
      TFileStoreLogin{Member.SlotTable.FtpHost, CommId(), Member.SlotTable.FtpPassword});
  TCommNotice getNotice;
  if (!FileStore->Get(remote, encrypted, getNotice)) return fail(getNotice);

  if (UnpackAndRestore(work, encrypted, archive, backup, PassPhrase())) return true;

  SetWaitStep(4, "受信データ復元　終了", kFinished);
  Pause();
  xAnimeProgressDialog1->Close();

  // Combine settings of the restored data set.
  if (State.SyoriType != opCloudReceiveToWork) {
    if (ConnectKind != 0) {
      State.SavedCombineKind = "0";
      State.SavedCombineCount = "0";
      Records.WriteCombineSettings();
    } else if (AppKind != 3 && !State.SavedCombineKind.empty()) {
      const std::string kind = State.SavedCombineKind;
      if (kind == "1" || kind == "2" || kind == "10") {
        Records.WriteCombineSettings();
      } else if (kind == "0") {
        State.SavedCombineKind.clear();
        State.SavedCombineCount.clear();
        Records.ReadCombineSettings();
        if (State.SavedCombineKind == "10") {
          State.SavedCombineKind = "0";
          State.SavedCombineCount = "0";
          Records.WriteCombineSettings();
        }
      }
    }
  }
  try {
    if (SystemStore().IBTransactionDEF.InTransaction()) SystemStore().IBTransactionDEF.Commit();
  } catch (...) {
    // the exchange is done; its result does not depend on this commit
  }
  FreeWaitMess();

  if (cloud && State.SyoriType == opCloudReceive && AppKind != 2) {
    // The new time must reach the data set, or the next check-out would take
    // this copy for an older one.
    if (!Records.WriteCloudTime(serverTime))
      return fail(TCommNotice::ErrorOk("ローカルデータの最終更新日付更新エラー"));
    AccInf.CLOUD_TIME = serverTime;
  }
  if (!cloud) {
    const TValueReply report = Member.RequestWithValue(scReceiveReport, CommId(), {{"fSname", SlotText(slot)}});
    if (!report.Received) return fail(TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。(完了処理)")));
    if (report.Code != kResultOk)
      return fail(TCommNotice::ErrorOk(ServerErrorMessage("完了処理サーバーエラー", report.Code)));
    ShowReceivedRow(ChosenRow, report.Value);
    ShowNotice(TCommNotice::InformationYes(FramedMessage("データ受信処理が終了しました。")));
  }
  return false;
}
