// TCashBookLoaderBox: brings a received database file (a data set of the same
// schema, sent back by a client's cash book or by another installation) into
// the current data set. Two import kinds:
//   merge (1)   the received cash entries, sub-accounts and opening balances
//               of the cash account are merged after the two account systems
//               have been compared (cashbookmerge.cpp);
//   replace (0) the received database replaces the data set's database file
//               after the data set's dictionaries, data-list name and data
//               lock have been carried into it.
// Both run in one transaction over the received database and the data set's
// database; a failure discards the work on both. The results are a
// processing log whose result code is 1 on success.
//
// The operation dispatcher of the data communication uses it so:
//   TCashBookLoaderBox box;
//   box.ReceiveKind = 1; box.ImportKind = 1;
//   box.SetReceivedFile(path);
//   box.ExecuteAuto();
//   done = box.ResultCode() == 1;
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "comm/jisyoloader.h"
#include "comm/pelorinlog.h"
#include "comm/siwakewrite.h"
#include "dbaccess/oplists.h"
#include "platform/fb/ibx.h"

class TCashBookLoaderBox {
 public:
  TCashBookLoaderBox();
  ~TCashBookLoaderBox();
  TCashBookLoaderBox(const TCashBookLoaderBox&) = delete;
  TCashBookLoaderBox& operator=(const TCashBookLoaderBox&) = delete;

  std::int32_t ReceiveKind = 0;   // 0 cash book of a client (現金出納帳 / 顧問先), 1 sending installation
  std::int32_t ImportKind = 1;    // 1 merge, 0 replace

  void SetReceivedFile(const std::string& FileName);
  void SetAutoStart(bool On) { autoStart_ = On; }
  // The automatic run (receive kind 1): runs the import at once.
  void ExecuteAuto();
  // The run of the OK action: the data-in-use test, the connections, the
  // import, the result titles and the company information read again.
  void Execute();
  std::int32_t ResultCode() const { return PelorinResultCode(log_); }
  const TPelorinSyoriLog& Log() const { return log_; }
  // The log as a CSV (".csv") or TAB-separated text file.
  bool ExportLog(const std::string& FileName) const { return SavePelorinLog(log_, FileName); }
  void SetTransaction(TIBTransaction* Transaction);
  // The two result titles after a run.
  const std::string& Title1() const { return title1_; }
  const std::string& Title2() const { return title2_; }
  // The progress text of the running step and the bar's position (0 up to
  // kProgressSteps) in the run.
  const std::string& Progress() const { return progress_; }
  int ProgressPosition() const { return bar_; }
  static constexpr int kProgressSteps = 7;
  // Called whenever the progress text or the bar moves during a run; a
  // window shows them and keeps itself alive from here.
  std::function<void()> OnProgress;
  std::int32_t RecvMajor = 0, RecvMinor = 0, RecvRevision = 0;

  // The data file replacement of the replace kind: the data file of DataDir
  // moved to ".f00", the received file copied in its place, the previous file
  // put back when that fails. The backup is deleted only once the new file is
  // in place. False when the new file is not in place.
  static bool ReplaceDataFile(const std::string& DataDir, const std::string& ReceivedFile);

 private:
  void RunImport();
  void AddLog(std::uint8_t Kind, std::int32_t Number, const std::string& Text);
  void EndTransaction(bool Commit);
  void SetProgress(const char* Text);
  void StepBar();
  // Runs one step; its failure is logged with the step's message and raised again.
  void Step(const char* FailText, const std::function<void()>& Work);

  // Merge steps (cashbookmerge.cpp).
  bool CheckKamokuTaikei();
  void ImportHojo();
  void ImportKaisizan();
  void ImportCashSiwake();
  void CompareCashBalance();
  // Replace steps.
  void MigrateJisyo();
  void MigrateDataListName();
  void CleanReceived();

  TIBDatabase recvDb_;
  TIBTransaction recvTr_;
  TIBSQL recv1_, recv2_;
  TIBSQL dat1_, dat2_;
  TSiwakeWrite writer_;
  TSitenList siten_;
  TJisyoLoader jisyo_;
  TPelorinSyoriLog log_;
  std::string receivedFile_;
  std::string title1_, title2_, progress_;
  bool autoStart_ = true;
  bool running_ = false;
  bool wasActive_ = false;
  int bar_ = 0;
};
