// The main window's data choice: the data-selection dialog started by name,
// the connection and checks of the chosen data set, the shared-server fetch
// and store and the cloud check-out and check-in around it, and the release
// of everything on close.
#include "link/datachoice.h"

#include <QApplication>
#include <QTableWidget>
#include <QThread>

#include "core/globals.h"
#include "core/processforms.h"
#include "core/datetext.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "dataselect/serverfetch.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "link/exportobject.h"
#include "link/mainwindow.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

std::string DataSelectionParams(int ExportKind, const std::string& DataVerMajor) {
  std::string lines = Format("SyoriType=%d", 3) + "\rJyokenSet=1\r";
  if (ExportKind == 1) lines += Format("DataType=%d", -13) + "\r" + Format("CodeType=%d", 0) + "\r";
  if (ExportKind == 2) lines += Format("DataType=%d", 2) + "\r" + Format("CodeType=%d", 0) + "\r";
  return lines + Format("DataVerMajor=%s", DataVerMajor);
}

namespace {

// Information box with one OK button; lines in the given colours.
void InfoLines(std::uint8_t kind, const std::vector<std::string>& lines) {
  TMessage2InfoRec info;
  InitMessage2Info(kind, info);
  for (std::size_t i = 0; i < lines.size() && i < info.Lines.size(); ++i) info.Lines[i].Text = lines[i];
  ShowMessageBox2(info);
}

bool DataDbConnected() { return DataModuleExists() && DataSetConnection().IBDatabaseDAT.Connected(); }

// The local copies of a shared-server data set and of its children pass the
// damage check (Force 0: it runs only when the check is switched on; Quiet 1:
// the check itself shows no box). Every copy is checked, so that each damaged
// one is marked.
bool SharedCopiesSound(const TDataSentakuRec& Row) {
  auto sound = [](const TDataListRec& rec) {
    return DataSetConnection().VerifyData(SystemDef.HostName, DataFolderPath(rec), 1, 0) != 0;
  };
  bool ok = sound(Row.Row);
  for (const TDataListRec& child : Row.Children) ok = sound(child) && ok;
  return ok;
}

// An exception of a shared-server transfer: the animation stops and its
// text is shown as a warning; the transfer counts as failed.
void ShowTransferException(TxAnimeProgressDialog& Progress, const std::exception& E) {
  Progress.PlayAnime(false);
  InfoLines(kMsgWarning, {E.what()});
}

}  // namespace

void TForm1::ShowProgress(const std::string& Caption, const std::string& Info) {
  xAnimeProgressDialog1->SetCaption(Caption);
  xAnimeProgressDialog1->SetInfoLabel(Info);
  xAnimeProgressDialog1->SetAviFile(PathJoin(SystemDef.ExeDir, "progress.avi"));
  xAnimeProgressDialog1->SetCancelBtnShow(false);
  xAnimeProgressDialog1->Show(this);
}

void TForm1::CloseProgress() { xAnimeProgressDialog1->Close(); }

bool TForm1::AskQuestion(const std::vector<std::string>& Lines) {
  InitMessage2Info(kMsgConfirmation, FMsgInfo);
  FMsgInfo.Buttons = MsgButtons({mbOK, mbCancel});
  for (std::size_t i = 0; i < Lines.size() && i < FMsgInfo.Lines.size(); ++i) FMsgInfo.Lines[i].Text = Lines[i];
  return ShowMessageBox2(FMsgInfo) == mrOk;
}

bool TForm1::ConnectionFailedAskAgain() {
  return AskQuestion({"データの接続に失敗しました。", "データ選択画面を開き、別のデータを選択しますか？"});
}

void TForm1::DisconnectData() {
  if (DataDbConnected()) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, true, false);
  FDataConnected = false;
}

void TForm1::ShowDataInfo() {
  std::vector<std::string> lines;
  if (!AccInf.CodeTypeName.empty())
    lines.push_back(Format("データ区分=%s／%s", AccInf.DataTypeName, AccInf.CodeTypeName));
  else
    lines.push_back(Format("データ区分=%s", AccInf.DataTypeName));
  if (AccInf.DATATYPE == 1) lines.push_back(Format("会社名=%s", AccInf.SHOUGOU));
  if (AccInf.DATATYPE == 2) lines.push_back(Format("データ名=%s", AccInf.SHOUGOU));
  lines.push_back(Format("会計年度=%d期", AccInf.NENDO));
  std::string range;
  FormatDateRange(range, AccInf.KISHU, AccInf.KIMATU);
  lines.push_back(Format("会計期間=%s", range));
  SetDataInfoLines(lines);
}

void TForm1::btnDataSentakuClick() {
  if (SelectAndConnectData(3, 1)) ShowDataInfo();
  if (FDataConnected && !SystemDef.DataDir.empty()) return;
  SetDataInfoLines({});
  if (DataDbConnected()) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, true, false);
  FDataConnected = false;
}

bool TForm1::SelectAndConnectData(int, int OpenDialog) {
  if (SystemDef.DataDir.empty()) OpenDialog = 1;
  SystemDef.DataVersion.clear();
  bool ok = false;
  bool result = false;
  bool fromA = true;
  for (;;) {
    if (fromA && AppKind == 0 && FDataTaken && !ok) {  // release what was taken so far
      DisconnectData();
      StoreSharedDataAndDisconnect();
    }
    fromA = false;
    int r = 1;
    if (OpenDialog != 0) {
      r = StartProcessProc ? StartProcessProc(kProcDataSentaku, 1,
                                              DataSelectionParams(FExport->ExportKind, FExport->DataVerMajor))
                           : -1;
    } else {
      OpenDialog = 1;
    }
    bool retake = false;
    if (r == 1) {
      result = true;
    } else if (FDataTaken) {
      result = true;
      SystemDef.DataDir = FPrevDataDir;
      retake = true;
    } else {
      result = false;
      FPrevDataDir.clear();
      SystemDef.DataDir.clear();
    }
    if (SystemDef.DataDir.empty()) break;

    FDataConnected = DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, true);
    if (FDataConnected) ok = DataSetConnection().fnGetAccInfo();
    if (!ok) {
      if (ConnectionFailedAskAgain()) continue;
      result = false;
      break;
    }
    ok = false;
    if (FetchSharedDataAndDisconnect() < 1) {
      if (retake) {
        // The data set taken last cannot be taken again: end without one
        // instead of offering the same failing choice for ever.
        result = false;
        SystemDef.DataDir.clear();
        FPrevDataDir.clear();
        break;
      }
      SystemDef.DataDir = FPrevDataDir;
      continue;
    }
    FDataTaken = true;
    ShowProgress("接続中", "会計データに接続中です…");
    bool stop = false;
    FDataConnected = DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, true);
    if (!FDataConnected) {
      stop = !ConnectionFailedAskAgain();
    } else {
      ok = DataSetConnection().fnGetAccInfo();
      if (!ok) stop = !ConnectionFailedAskAgain();
      if (!stop && ok && !DataSetConnection().fnGetExistsOpeDefSisetu()) {
        stop = !AskQuestion({"このデータを扱う権限がありません。", "データ選択画面を開き、別のデータを選択しますか？"});
        DisconnectData();
        ok = false;
      }
      if (!stop && ok) {
        DataSetConnection().fnGetDataBaseVer(SystemDef.DataVersion);
        if (!IsVersionAtLeast(SystemDef.DataVersion, FExport->MinProgramVer)) {
          stop = !AskQuestion({"このプログラムで処理できるデータバージョンに達していません。",
                               "データバージョン:" + FExport->MinProgramVer + "以降のデータを選択して下さい。",
                               "データ選択画面を開き、別のデータを選択しますか？"});
          DisconnectData();
          ok = false;
        }
      }
    }
    if (stop) {
      CloseProgress();
      result = false;
      break;
    }
    FPrevDataDir = SystemDef.DataDir;
    CloseProgress();
    if (ok) break;
    fromA = true;
  }
  if (AppKind == 0 && !result && FDataTaken) StoreSharedDataAndDisconnect();
  return result;
}

void TForm1::DisconnectAround() {
  if (FDataConnected || DataDbConnected()) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, false, false);
  FDataConnected = false;
  QThread::msleep(100);
  QCoreApplication::processEvents();
}

int TForm1::FetchSharedDataAndDisconnect() {
  if (FDataConnected) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, false, false);
  FDataConnected = false;
  int result = 1;
  if (ReceiveSharedData(SystemDef.KyoyuDataAuto) < 1) result = -912;
  else if (RunDataCommunication(0) < 1) result = -922;
  DisconnectAround();
  return result;
}

int TForm1::StoreSharedDataAndDisconnect() {
  if (FDataConnected) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, false, false);
  FDataConnected = false;
  int result = 1;
  if (RunDataCommunication(1) < 1) result = -921;
  else if (SendSharedData(SystemDef.KyoyuDataAuto) < 1) result = -911;
  DisconnectAround();
  return result;
}

int TForm1::ReceiveSharedData(int Auto) {
  if (AppKind != 0 || ConnectKind != 0 || SystemDef.DataDir.empty()) return 1;
  if (!FListCtl) FListCtl = std::make_unique<TDataSentakuListCtl>();
  FListCtl->ConnectKind = ConnectKind;
  std::string sharePath;
  std::int32_t netDrive = 0, kyoyuLock = 0;
  if (!FListCtl->ConvLocalPathToSharePath(SystemDef.DataDir, sharePath, netDrive, kyoyuLock)) {
    InfoLines(kMsgInformation, {"共有データパスの変換に失敗しました。データ選択画面を開きます。"});
    return 0;
  }
  if (netDrive != 1 || kyoyuLock != 0) return 1;
  if (Auto == 0) {
    InfoLines(kMsgInformation, {"このデータは共有取得が行われていません。データ選択画面を開きます。"});
    return 0;
  }
  ShowProgress("共有データ受信中", "共有データから受信中…");
  std::int32_t result = 0;
  try {
    TDataSentakuRec row;
    FListCtl->GetDataListRecordByLocalPath(SystemDef.DataDir, row);
    result = KyoyuDataDown(*FListCtl, row, 1);
  } catch (const std::exception& e) {
    ShowTransferException(*xAnimeProgressDialog1, e);
    result = 0;
  }
  CloseProgress();
  if (result == 0 || (result == 1 && !FileExists(PathJoin(SystemDef.DataDir, DataFile)))) {
    InfoLines(kMsgInformation, {"共有サーバーが起動していない、接続が切断されている または 共有サーバー上のデータ領域が削除された可能性があります。",
                                "共有データパス: " + sharePath});
    return 0;
  }
  if (result != 1) return result;  // refused (damaged or in use) after its own box
  // The fetched copy must open: its company information is read once.
  const bool opened = DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false);
  if (opened) DataSetConnection().fnGetAccInfo();
  if (DataDbConnected()) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, false, false);
  if (opened) return 1;
  InfoLines(kMsgInformation, {"このデータは破損している可能性があり、基本情報が取得できませんでした。"});
  return 0;
}

int TForm1::SendSharedData(int Auto) {
  if (AppKind != 0 || ConnectKind != 0 || SystemDef.DataDir.empty()) return 1;
  if (SystemDef.DataDamaged == 1) return 0;
  if (Auto == 0) return 1;
  if (!FListCtl) FListCtl = std::make_unique<TDataSentakuListCtl>();
  FListCtl->ConnectKind = ConnectKind;
  std::string sharePath;
  std::int32_t netDrive = 0, kyoyuLock = 0;
  if (!FListCtl->ConvLocalPathToSharePath(SystemDef.DataDir, sharePath, netDrive, kyoyuLock)) {
    InfoLines(kMsgInformation, {"共有データパスの変換に失敗しました。共有データの自動保管は行えませんでした。"});
    return 0;
  }
  if (netDrive != 1 || kyoyuLock != 1) return 1;
  ShowProgress("共有データ送信中", "共有データへ送信中…");
  std::int32_t result = 0;
  try {
    TDataSentakuRec row;
    if (FListCtl->GetDataListRecordByLocalPath(SystemDef.DataDir, row) < 1) {
      result = 0;
    } else if (!SharedCopiesSound(row)) {
      xAnimeProgressDialog1->PlayAnime(false);
      InfoLines(kMsgInformation, {"合算・分散データに破損したデータが存在するため、共有データの自動保管を中止します。",
                                  "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。"});
      result = 0;
    } else {
      result = KyoyuDataUp(*FListCtl, row, 1);
    }
  } catch (const std::exception& e) {
    ShowTransferException(*xAnimeProgressDialog1, e);
    result = 0;
  }
  CloseProgress();
  return result;
}

int TForm1::RunDataCommunication(int Mode) {
  if (OemKind != 0 || ConnectKind == 2) return 1;
  if (AppKind != 0 || AccInf.CLOUD_LINE <= 0) return 1;
  // Only 0 is the documented success of the check-out and the check-in.
  if (Mode == 0) {
    if (!UpdateSharedDataList(1)) return -1;
    if (!CloudShareCalls.CloudShareReceive) return -1;
    return CloudShareCalls.CloudShareReceive(SystemDef.DataDir, 1, 0) == 0 ? 1 : -1;
  }
  int result = 1;
  if (!CloudShareCalls.CloudShareSend || CloudShareCalls.CloudShareSend(SystemDef.DataDir, "", 1) != 0) result = -1;
  if (!UpdateSharedDataList(0) && result == 1) result = -1;
  return result;
}

bool TForm1::UpdateSharedDataList(int InUse) {
  if (TrimZen(SystemDef.DataDir).empty()) return false;
  if (ConnectKind == 1) {
    TDataSentakuListCtl ctl;
    ctl.ConnectKind = 1;
    ctl.SetDataPlace(SystemDef.DataPlace);
    TDataListRec rec;
    TDataSentakuListCtl::InitDataListRecord(rec, SystemDef.DataDir);
    ctl.GetDataListRecord(1, rec, true);
    rec.DataLock = InUse == 1 ? SystemDef.OpCode % (SystemDef.GroupId * 10000) : 0;
    ctl.UpdateDataListRecord(rec, 0, true);
  }
  return true;
}

void TForm1::CloseDataConnections() {
  if (!DataModuleExists()) return;
  if (FDataConnected && !Trim(SystemDef.DataDir).empty()) {
    int r = 1;
    if (AppKind == 0) r = RunDataCommunication(1);
    if (FDataConnected && !Trim(SystemDef.DataDir).empty()) {
      if (!DataDbConnected()) {
        DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false);
      }
      if (DataDbConnected()) DataSetConnection().AccDatDisconnect(SystemDef.DataDir, true, true);
    }
    FDataConnected = false;
    if (AppKind == 0 && r == 1) SendSharedData(SystemDef.KyoyuDataAuto);
  }
  if (FLoggedOn) {
    if (!SystemStore().IBDatabaseDEF.Connected()) SystemStore().fnAccDefConnected(SystemDef.HostName, true);
    SystemStore().DeleteLogonInfo();
    SystemStore().IBDatabaseDEF.Close();
    FLoggedOn = false;
  }
}
