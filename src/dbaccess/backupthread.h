// TBackupRestoreThread: one database job (0 backup, 1 restore, 2 copy,
// 3 rebuild) run by a worker thread whose every step is handed to the
// user-interface thread and awaited there (SynchronizeStep /
// CheckSynchronize), so that all database components stay on that thread
// while the caller keeps its window painted:
//
//   TBackupRestoreThread job(true);
//   job.Mode = 0; job.DbFile = ...; job.BackupFile = ...;
//   job.Resume();
//   while (!job.IsTerminated()) WaitWithMessages(300);
//   if (!job.Success) show job.Message / job.SubMessage;
//
// IsTerminated runs the pending steps when it is called on the thread that
// created the job; an event loop can also run them through CheckSynchronize
// (WakeMainThread tells it that a step waits).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "dbaccess/datainfoblock.h"

// Runs the steps queued by worker threads; call on the user-interface
// thread. True when a step was run.
bool CheckSynchronize();
// Called (from a worker thread) whenever a step has been queued.
inline std::function<void()> WakeMainThread;

// Asks a Yes/No question for the personal-number confirmation (kind 3, 確認);
// unset: the answer is No.
inline std::function<bool(const std::string& Text)> BackupAskYesNo;

// The result of a backup or restore job.
struct TErrInfomation {
  bool Error = false;
  std::string ErrorTag;
  std::string ErrorCode;
  std::string Message;
  std::string SubMessage;
};

class TBackupRestoreThread {
 public:
  explicit TBackupRestoreThread(bool CreateSuspended = true);
  ~TBackupRestoreThread();
  TBackupRestoreThread(const TBackupRestoreThread&) = delete;
  TBackupRestoreThread& operator=(const TBackupRestoreThread&) = delete;

  std::int32_t Mode = 0;          // 0 backup, 1 restore, 2 copy, 3 rebuild
  bool ViaFileMan = false;        // transfer through the file-manager database
  bool CheckMyNumber = true;      // personal-number confirmation before a backup or restore
  std::string HostName;           // empty or "127.0.0.1": this machine
  std::string DbFile;
  std::string TargetDbFile;       // the copy's target
  std::string BackupFile;
  bool KeepIndexes = false;       // handed to every restore
  // Database kind: -1 from the file name (DataDefFile: the system database,
  // DataFile: a data set), 0 system database, 1 data set.
  std::int32_t DbKind = -1;
  // Back up straight into BackupFile also on this machine (else beside the
  // database first, then moved).
  std::uint8_t JobOption = 0;
  std::string Caption;            // the caller's progress caption
  bool AppendDataInfo = false;
  bool AskMyNumber = false;
  bool IncludeMyNumber = false;   // the copy carries personal-number data and is logged
  bool ClearMyNumber = false;
  std::int32_t MyNumberAnswer = 0;  // 6 backup with, 7 restore of a copy with personal-number data
  std::string ProductTitle;       // process name of the personal-number log rows

  TDataInfoValues DataInfo;

  // Results.
  bool Success = false;
  bool Error = false;
  std::string ErrorTag;
  std::string ErrorCode;
  std::string Message;
  std::string SubMessage;
  TErrInfomation ErrInfo() const { return {Error, ErrorTag, ErrorCode, Message, SubMessage}; }

  void Resume();
  void Start() { Resume(); }
  // The thread has ended; also runs the steps waiting for this thread.
  bool IsTerminated();
  void ClearDataInfo() { DataInfo = TDataInfoValues{}; }
  void WriteDataInfo(const std::string& FileName) { WriteDataInfoBlock(FileName, DataInfo); }
  bool ReadDataInfo(const std::string& FileName, bool Strip) { return ReadDataInfoBlock(FileName, Strip, DataInfo); }

 private:
  void Execute();
  // Runs Step on the user-interface thread and waits for it; an exception
  // of the step is raised again here.
  void Synchronize(const std::function<void()>& Step);
  void ConfirmMyNumber();
  void BackupDatabase();
  void RestoreDatabase();
  void CopyDatabase();
  void RebuildDatabase();
  // 0 system database, 1 data set, -1 neither.
  std::int32_t KindOfDatabase() const;
  void Fail(const char* Tag, const char* Code, const std::string& Text, const std::string& Sub);
  bool RemoteHost() const { return !HostName.empty() && HostName != "127.0.0.1"; }
  bool BackupViaFileMan();
  bool RestoreViaFileMan();

  std::thread thread_;
  std::thread::id owner_;
  std::atomic<bool> terminated_{false};
  bool started_ = false;
};
