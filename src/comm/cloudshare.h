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
#include <functional>
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

class QLabel;
class QPlainTextEdit;
class TBackupRestoreThread;
class TCashBookLoaderBox;
class TFileStoreClient;
class TPerfectGrid;
class TxPlButton;
class TfmWaitMess;
class TfmWaitMess2;
class TMessageBox;
class TxAnimeProgressDialog;
class TEscapeKeyFilter;

// A date as the slot grid and the send comparison show it: "yy/mm/dd" in the
// era calendar when the era display is on, else "yyyy/mm/dd".
std::string SlotDateText(TDateTime Date);
// The text a data version (major, minor) is shown with in the slot grid.
std::string VersionDisplayText(int Major, int Minor);
// The same for a slot's version text "MMmm" ("" when it has no version).
std::string SlotVersionText(const std::string& Version);

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
  // The area choice of the communication-settings dialog (operation 25), and
  // of the next year's data (operation 26: only an empty area is taken). 0
  // once the window was shown (1 for 26 when the slot table could not be
  // fetched); the choice is read from Chosen, ChosenArea and ChosenCompany.
  std::int32_t CloudShareSelectArea(const std::string& Folder);
  std::int32_t CloudShareSelectNextYearArea(const std::string& Folder);
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

  // ---- the window: slot grid, keys and the area choice -------------------------------
  // -1 when the slot table was fetched, 0 when not; the grid is filled once
  // the check started (codes 1, 2, 25 and 26; other codes do nothing).
  std::int32_t ExecuteCloudShareCheck();
  void FillSlotGrid();
  void SetKeyCaptions();
  void PrepareShow(std::uint8_t ShowFlag);
  void F1Click(TxPlButton* Button);
  void ESCClick();
  void PerfectGrid1CellGotFocus(int Row, int Col);
  void PerfectGrid1CellLostFocus(int Row, int Col);
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;
  void FormActivate() override;
  // Before the window closes: the data set connected again when it is not,
  // its company information read and the host told its company name and
  // period and the operator's default facility (the hooks that are set), or
  // after a failure the data-selection message and no current data set.
  // Closing is always allowed.
  void FormCloseQuery();
  void FormClose(TCloseAction& action) override;
  // The slot row (0..9) the grid's cursor is on, -1 without one.
  int FocusedSlot() const;

  // ---- started by its process name ----------------------------------------------------
  void SetParams(const std::vector<std::string>& Params);
  std::int32_t Execute(std::int32_t Modal);

  // ---- cash-book exchange ------------------------------------------------------------
  // True when the transfer completed (the senders included).
  bool SendCashBookData();
  // True only when the loader ran and its import succeeded.
  bool ReceiveCashBookData(std::int32_t Slot);
  // -1 declined, 1 accepted despite differences, 2 no difference.
  std::int32_t CompareBeforeCashBookSend(std::int32_t Slot);
  // The checks before a receive from cash-book slot 1..3; true to go on.
  bool CompareBeforeCashBookReceive(std::int32_t Slot);
  // Ends the window's operation-history entry (under its caption) in the
  // data set's transaction; a failure is reported and does not stop the caller.
  void EndOperationHistory();
  // The cash-book send or receive after the slot table (the dispatcher's result).
  std::int32_t RunCashBookOperation(std::int32_t Code);
  // Shows the cash-book loader's window for a receive from slot 01 and
  // returns its modal result.
  std::function<TModalResult(TCashBookLoaderBox&)> ShowCashBookLoader;
  // The loader ended without success (it has said why, or was cancelled).
  bool LoaderFailed = false;

  // ---- slot maintenance ----------------------------------------------------------------
  // Deletes the data of the focused relay or cloud slot (F5).
  bool DeleteSlotData();
  // Deletes the data of cash-book slot 0, 1 or 2 ("01" .. "03").
  bool DeleteCashBookSlots(std::int32_t Slot);
  // F4 of the area choice: the in-use mark of the focused area released
  // after the password dialog.
  void ReleaseFocusedArea();
  // After a relay send: the report's send time (YYYYMMDDhhmm...) in the row.
  void ShowSentRow(int Row, const std::string& SendTime);
  // After a relay receive: the report's receive time in the row.
  void ShowReceivedRow(int Row, const std::string& ReceiveTime);

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
  std::vector<std::string> ParamLines;
  std::int32_t FormStyle = 0;
  bool CheckOnActivate = false;
  std::uint8_t ShowFlag = 0;
  // The area choice (F12 of operations 25 and 26).
  bool Chosen = false;
  std::int32_t ChosenArea = 0;
  std::string ChosenCompany, ChosenStatus;
  // Company name of the slot the data set's cloud area points to.
  std::string OwnAreaName;
  std::string HelpPage;

  // Visible parts.
  QLabel* Label1 = nullptr;
  TPerfectGrid* PerfectGrid1 = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* ESC = nullptr;
  TxPlButton* F1 = nullptr;
  TxPlButton* F2 = nullptr;
  TxPlButton* F3 = nullptr;
  TxPlButton* F4 = nullptr;
  TxPlButton* F5 = nullptr;
  TxPlButton* F6 = nullptr;
  TxPlButton* F7 = nullptr;
  TxPlButton* F8 = nullptr;
  TxPlButton* F12 = nullptr;
  // Seconds of each step pause (the steps' texts stay readable).
  double StepPauseSeconds = 0.48;

  // Shows a message of the exchange (after closing the progress dialog).
  void ShowNotice(const TCommNotice& Notice);
  // A confirmation with Yes and No; true for Yes.
  bool AskYesNo(const std::string& Text);

 private:
  void Pause() const;
  void BuildWindow();
  void ChooseArea();
  std::string CashId() const { return AccInf.TusinHolder[1]; }
  std::string CashPassword() const { return AccInf.TusinPassword[1]; }
  std::string CommId() const { return AccInf.WEB_HOLDER; }
  std::string PassPhrase() const { return "QM5813" + AccInf.PASWORD; }
  TSlotTableQuery SlotQuery() const;
  bool FetchSlotTable();  // false after its message
  bool ReleaseArea(std::int32_t Area);
  // The pipeline steps; each returns true when the operation stops.
  bool SendSteps(bool& InUseTaken);
  bool ReceiveSteps(bool& InUseTaken, TDateTime& ServerTime);
  bool RunJob(TBackupRestoreThread& Job);
  // The archive and encryption steps of a send, the decryption, unpacking and
  // restore steps of a receive; true when the operation stops.
  bool PackAndEncrypt(const std::string& Backup, const std::string& Archive, const std::string& Encrypted,
                      const std::string& PassPhrase, bool CashBook);
  bool UnpackAndRestore(const std::string& Work, const std::string& Encrypted, const std::string& Archive,
                        const std::string& Backup, const std::string& PassPhrase);  // waits for the job; shows its failure
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

struct TProcessClass;
// Registers the window under "WzDataTusin" (also done when the program
// loads); returns its class.
const TProcessClass* RegisterDataTusin();
