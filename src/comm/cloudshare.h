// TfmDataTusin: the data-communication window as the host of the cloud-share
// entry points. The main window and the data-selection dialogs create one,
// owned by themselves, never show it, and call the entries below; the
// window's wait and message windows appear while a transfer runs.
//
// Entry results: 0 done; 1 not done (a message was shown or a step failed);
// a silent check-out also gives 5 (done, but the area was marked in use) and
// 6 (the data set is attached by another operator). Callers treat 1 to 9 as
// failure. The pipeline operations (SendData, ReceiveData) return true when
// the transfer was NOT done.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "comm/commnotice.h"
#include "comm/exchangerecords.h"
#include "comm/memberservice.h"
#include "comm/tusinstate.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datalistrec.h"
#include "ui/sdi.h"

class TBackupRestoreThread;
class TFileStoreClient;
class TfmWaitMess;
class TfmWaitMess2;
class TMessageBox;
class TxAnimeProgressDialog;
class TEscapeKeyFilter;

class TfmDataTusin : public TBSDI {
  Q_OBJECT
 public:
  explicit TfmDataTusin(QWidget* owner = nullptr);
  ~TfmDataTusin() override;

  // ---- cloud-share entry points ---------------------------------------------------
  std::int32_t CloudShareSend(const std::string& Folder, const std::string& Text, std::int32_t Auto);
  std::int32_t CloudShareReceive(const std::string& Folder, std::int32_t Auto, std::int32_t InUseQuiet);
  std::int32_t CloudShareReceiveToWork(const std::string& Folder, std::int32_t Auto);
  std::int32_t CloudShareRelease(const std::string& Folder);
  // The folder into which the last cloud-share copy was received.
  const std::string& ReceiveFolder() const { return State.ReceiveFolder; }

  // ---- data-set connection of the entries --------------------------------------------
  // Connects the entry's data set (another data set still connected is left
  // first) and reads its company information; false after its warning.
  bool ConnectData();
  void DisconnectData();

  // ---- transfer pipeline ------------------------------------------------------------------
  bool SaveSendData(bool ShowMessage);  // true when the backup was written
  bool SendData();                      // true = not sent
  bool ReceiveData();                   // true = not received

  // ---- received-data restore and data check ----------------------------------------
  bool RestoreReceivedData(bool ShowMessage);
  bool CompareWithDataFolder(const std::string& OperationName, const TDataInfomationRec& Source,
                             const std::string& DestinationFolder);
  bool CompareWithRestoredCopy(const std::string& OperationName, const std::string& SourceHost,
                               const std::string& DestinationFolder, const std::string& SourceFolder);
  bool ShowCompareResult(const std::string& OperationName, const TDataInfomationRec& Source,
                         const TDataInfomationRec& Destination);
  void SetDataStatus(const std::string& Folder, std::uint8_t Status);

  // ---- data-list rows -----------------------------------------------------------------
  std::int32_t GetDataListRecord();
  void UpdateDataListRecord(std::int32_t Row);

  // While the archiver packs or unpacks, Escape is swallowed application-wide.
  void InstallEscapeKeyHook();
  void RemoveEscapeKeyHook();

  // ---- state -------------------------------------------------------------------------------
  TTusinState State;
  TExchangeRecords Records;
  TMemberService Member;
  std::unique_ptr<TFileStoreClient> FileStore;
  TDataInfomation DataInfomation;
  std::unique_ptr<TBackupRestoreThread> BackupThread;
  TMessageBox* MessageBox = nullptr;
  TxAnimeProgressDialog* xAnimeProgressDialog1 = nullptr;
  std::vector<TDataSentakuRec> DataList;  // the DATALIST rows of the operator's group
  TDataListRec CurrentListRow;            // the row a restore brings up to date
  std::int32_t ChosenRow = -1;            // relay: the chosen slot row (0..9)
  bool NoRight = false;
  bool AttachedElsewhere = false;
  std::string ProcessName = "データ通信";
  // Seconds of each step pause (the steps' texts stay readable).
  double StepPauseSeconds = 0.48;

  // Shows a message of the exchange (after closing the progress dialog).
  void ShowNotice(const TCommNotice& Notice);
  // A confirmation with Yes and No; true for Yes.
  bool AskYesNo(const std::string& Text);

 private:
  void Pause() const;
  std::string CommId() const { return AccInf.WEB_HOLDER; }
  std::string PassPhrase() const { return "QM5813" + AccInf.PASWORD; }
  TSlotTableQuery SlotQuery() const;
  bool FetchSlotTable();  // false after its message
  bool ReleaseArea(std::int32_t Area);
  // The pipeline steps; each returns true when the operation stops.
  bool SendSteps(bool& InUseTaken);
  bool ReceiveSteps(bool& InUseTaken, TDateTime& ServerTime);
  bool RunJob(TBackupRestoreThread& Job);  // waits for the job; shows its failure
  void ShowWaitMess(int StepCount);
  void SetWaitStep(int Box, const std::string& Text, int Look);
  void FreeWaitMess();
  void ShowWaitMess2();
  void FreeWaitMess2();
  std::int32_t ReceiveEntry(const std::string& Folder, std::int32_t Auto, std::int32_t InUseQuiet, bool ToWork);

  std::unique_ptr<TfmWaitMess> waitMess_;
  std::unique_ptr<TfmWaitMess2> waitMess2_;
  std::unique_ptr<TEscapeKeyFilter> escapeHook_;
};
