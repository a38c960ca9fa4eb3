#include "dbaccess/backupthread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

#include "core/appinfo.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/backuprestore.h"
#include "dbaccess/dbui.h"
#include "dbaccess/mynumber.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

// ---- steps handed to the user-interface thread ----------------------------------

namespace {

struct TPendingStep {
  const std::function<void()>* step = nullptr;
  std::exception_ptr error;
  bool done = false;
};

std::mutex syncMutex;
std::condition_variable syncDone;
std::deque<TPendingStep*> syncQueue;

constexpr const char* kBackupTag = "BackupDatabase";
constexpr const char* kRestoreTag = "RestoreDatabase";
constexpr const char* kBackupStopped = "データベースの保存処理を中止しました。";
constexpr const char* kRestoreStopped = "データベースの復元処理を中止しました。";
constexpr const char* kNotOurData = "指定されたファイルはコルベクス財務用のデータではありません。";
constexpr const char* kTransferFailed = "バックアップファイルの転送処理（rqfileman.fdb）に失敗しました。";

}  // namespace

bool CheckSynchronize() {
  bool ran = false;
  for (;;) {
    TPendingStep* pending = nullptr;
    {
      std::lock_guard<std::mutex> lock(syncMutex);
      if (syncQueue.empty()) return ran;
      pending = syncQueue.front();
      syncQueue.pop_front();
    }
    try {
      (*pending->step)();
    } catch (...) {
      pending->error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> lock(syncMutex);
      pending->done = true;
    }
    syncDone.notify_all();
    ran = true;
  }
}

void TBackupRestoreThread::Synchronize(const std::function<void()>& Step) {
  TPendingStep pending;
  pending.step = &Step;
  {
    std::lock_guard<std::mutex> lock(syncMutex);
    syncQueue.push_back(&pending);
  }
  if (WakeMainThread) WakeMainThread();
  std::unique_lock<std::mutex> lock(syncMutex);
  syncDone.wait(lock, [&] { return pending.done; });
  if (pending.error) std::rethrow_exception(pending.error);
}

// ---- the thread object ----------------------------------------------------------------

TBackupRestoreThread::TBackupRestoreThread(bool CreateSuspended) : owner_(std::this_thread::get_id()) {
  ProductTitle = AppInfo.AppTitle;
  ClearDataInfo();
  if (!CreateSuspended) Resume();
}

TBackupRestoreThread::~TBackupRestoreThread() {
  if (!thread_.joinable()) return;
  // Steps still waiting must run, or the worker never ends.
  while (!terminated_) {
    if (!CheckSynchronize()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  thread_.join();
}

void TBackupRestoreThread::Resume() {
  if (started_) return;
  started_ = true;
  thread_ = std::thread([this] { Execute(); });
}

bool TBackupRestoreThread::IsTerminated() {
  if (std::this_thread::get_id() == owner_) CheckSynchronize();
  return terminated_;
}

void TBackupRestoreThread::Execute() {
  try {
    Success = false;
    Error = false;
    ErrorTag.clear();
    ErrorCode.clear();
    Message.clear();
    SubMessage.clear();
    bool endedEarly = false;
    switch (Mode) {
      case 0:
        if (CheckMyNumber) {
          if (DataInfo.USEMYNUMBER == 0) IncludeMyNumber = false;
          if (DataInfo.USEMYNUMBER == 1) {
            Synchronize([this] { ConfirmMyNumber(); });
            endedEarly = !Success;
          }
          Success = false;
        }
        if (!endedEarly) Synchronize([this] { BackupDatabase(); });
        break;
      case 1:
        if (CheckMyNumber) {
          Synchronize([this] { ConfirmMyNumber(); });
          endedEarly = !Success;
          Success = false;
        }
        if (!endedEarly) Synchronize([this] { RestoreDatabase(); });
        break;
      case 2:
        Synchronize([this] { CopyDatabase(); });
        break;
      case 3:
        Synchronize([this] { RebuildDatabase(); });
        break;
      default:
        break;
    }
    if (!endedEarly) Error = !Success;
  } catch (...) {
    // A step that raised has failed: the caller must not take it for success.
    Success = false;
    Error = true;
  }
  terminated_ = true;
  if (WakeMainThread) WakeMainThread();
}

void TBackupRestoreThread::Fail(const char* Tag, const char* Code, const std::string& Text, const std::string& Sub) {
  Success = false;
  Error = true;
  ErrorTag = Tag;
  ErrorCode = Code;
  Message = Text;
  SubMessage = Sub;
}

std::int32_t TBackupRestoreThread::KindOfDatabase() const {
  if (DbKind == 0 || DbKind == 1) return DbKind;
  if (DbFile.find(DataDefFile) != std::string::npos) return 0;
  if (DbFile.find(DataFile) != std::string::npos) return 1;
  return -1;
}

void TBackupRestoreThread::ConfirmMyNumber() {
  MyNumberAnswer = 0;
  Success = true;
  if (Mode == 0) {
    if (!AskMyNumber) {
      MyNumberAnswer = 6;
    } else if (SystemDef.MyNumberAdmin) {
      if (BackupAskYesNo && BackupAskYesNo("保存データにマイナンバー情報を含めますか？")) {
        MyNumberAnswer = 6;
        TMyNumberIO mynumber;
        mynumber.ReadSettings(HostName, DbFile, "", ProductTitle);
        if (!AskMyNumberPassword(mynumber.Key)) Fail(kBackupTag, "100", kBackupStopped, "");
      } else {
        ClearMyNumber = true;
      }
    } else {
      DbShowMessage("保存データにマイナンバー情報は含まれません。", kMsgInformation);
      ClearMyNumber = true;
    }
    return;
  }
  TMyNumberIO mynumber;
  mynumber.ReadSettings(HostName, DbFile, "", ProductTitle);
  if (mynumber.UseFlag == 1 && DataInfo.USEMYNUMBER == 0) {
    Fail(kRestoreTag, "200", "マイナンバー情報を管理しているデータへの復元はおこなえません。", kRestoreStopped);
    return;
  }
  if (DataInfo.USEMYNUMBER == 1) MyNumberAnswer = 7;
}

void TBackupRestoreThread::BackupDatabase() {
  const std::int32_t kind = KindOfDatabase();
  if (kind < 0) {
    Fail(kBackupTag, "101", kNotOurData, kBackupStopped);
    return;
  }
  TBackupRestore& dm = BackupRestore();
  TMyNumberIO mynumber;
  bool cleared = false;
  // The settings cleared for the copy go back whatever the backup did.
  auto putBack = [&] {
    if (!cleared) return;
    cleared = false;
    mynumber.WriteSettings(HostName, DbFile);
    DataInfo.USEMYNUMBER = mynumber.UseFlag;
  };
  try {
    if (kind == 1) {
      if (IncludeMyNumber && MyNumberAnswer == 6) {
        TMyNumberLogRec rec;
        mynumber.MakeLogRec(rec, 6, ProductTitle);
        mynumber.AddLogTo(rec, HostName, DbFile);
      }
      if (ClearMyNumber) {
        DataInfo.USEMYNUMBER = 0;
        cleared = true;
        mynumber.ReadSettings(HostName, DbFile, "MyNumber_Clear", ProductTitle + "＞データ保存");
      }
    }
    if (!ViaFileMan) {
      const bool remote = RemoteHost();
      Success = dm.BackupFDB(remote ? kProtocolTcp : kProtocolLocal, remote ? HostName : "", DbFile, BackupFile,
                             remote || JobOption != 0);
    } else {
      Success = BackupViaFileMan();
    }
    if (Success && AppendDataInfo) WriteDataInfo(BackupFile);
    if (!Success && ErrorCode.empty()) Fail(kBackupTag, "100", "データベースの保存に失敗しました。", kBackupStopped);
  } catch (...) {
    putBack();
    throw;
  }
  putBack();
}

bool TBackupRestoreThread::BackupViaFileMan() {
  TBackupRestore& dm = BackupRestore();
  bool ok = false;
  const std::string host = HostName.empty() ? SystemDef.HostName : HostName;
  if (dm.fnFileManConnected(SystemDef.HostName)) {
    const std::string workDir = SystemDef.ServerWorkDir;
    if (!dm.ServerDExist(workDir, ConnectKind)) dm.ServerMkDir(workDir, ConnectKind);
    const std::string serverFile = workDir + "/" + ChangeFileExt(BackupFileName, "." + IntToStr(SystemDef.OpCode));
    const std::string id = Format("RQZ_%d", SystemDef.OpCode);
    if (dm.BackupFDB(kProtocolTcp, host, DbFile, serverFile, true)) {
      TIBTransaction& tr = dm.IBTransFileMan;
      TTransactionGuard transaction(tr);
      try {
        transaction.Begin();
        auto deleteRow = [&] {
          dm.IBSQLFileMan.Close();
          dm.IBSQLFileMan.SQL.SetText("DELETE FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID");
          dm.IBSQLFileMan.ParamByName("CONTENT_ID").AsString(id);
          dm.IBSQLFileMan.ExecQuery();
          dm.IBSQLFileMan.Close();
        };
        deleteRow();
        dm.IBSQLFileMan.SQL.SetText(
            "INSERT INTO FILETRANS(CONTENT_ID,CONTENT)\nVALUES(:CONTENT_ID,SP_FILETOBLOB(:FILEPATH))");
        dm.IBSQLFileMan.ParamByName("CONTENT_ID").AsString(id);
        dm.IBSQLFileMan.ParamByName("FILEPATH").AsString(serverFile);
        dm.IBSQLFileMan.ExecQuery();
        dm.IBSQLFileMan.Close();
        tr.CommitRetaining();
        TIBQuery& q = dm.IBQueryFileMan;
        q.Close();
        q.SQL.SetText("SELECT CONTENT_ID,CONTENT FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID");
        q.ParamByName("CONTENT_ID").AsString(id);
        for (q.Open(); !q.Eof(); q.Next()) {
          const std::string content = q.FieldByName("CONTENT").AsBytes();
          ok = !content.empty();
          if (ok) q.FieldByName("CONTENT").SaveToFile(BackupFile);
        }
        q.Close();
        deleteRow();
        transaction.Commit();
      } catch (...) {
        dm.IBQueryFileMan.Close();
        dm.IBSQLFileMan.Close();
        transaction.Rollback();
        ok = false;
        Fail(kBackupTag, "102", kTransferFailed, kBackupStopped);
      }
    }
  } else {
    ok = dm.BackupFDBGbak(RemoteHost() ? kProtocolTcp : kProtocolLocal, HostName, DbFile, BackupFile, true);
  }
  if (dm.IBFileMan.Connected()) dm.IBFileMan.Close();
  return ok;
}

void TBackupRestoreThread::RestoreDatabase() {
  const std::int32_t kind = KindOfDatabase();
  if (kind < 0) {
    Fail(kRestoreTag, "201", kNotOurData, kRestoreStopped);
    return;
  }
  TBackupRestore& dm = BackupRestore();
  if (dm.AccDatInConnection(static_cast<std::uint8_t>(kind), HostName, ExtractFileDir(DbFile), false)) {
    Fail(kRestoreTag, "202", "このデータは、他のオペレータが使用中のため復元処理を行うことが出来ません。", kRestoreStopped);
    return;
  }
  TMyNumberIO mynumber;
  if (kind == 1 && MyNumberAnswer == 7) mynumber.LoadLog(HostName, DbFile);
  if (!ViaFileMan) {
    const bool remote = RemoteHost();
    Success = dm.RestoreFDB(remote ? kProtocolTcp : kProtocolLocal, remote ? HostName : "", DbFile, BackupFile,
                            KeepIndexes);
  } else {
    Success = RestoreViaFileMan();
  }
  if (!Success && ErrorCode.empty()) Fail(kRestoreTag, "200", "データベースの復元に失敗しました。", kRestoreStopped);
  if (kind == 1 && Success && MyNumberAnswer == 7) {
    if (ProductTitle.empty()) ProductTitle = AppInfo.AppTitle;
    if (IncludeMyNumber) {
      TMyNumberLogRec rec;
      mynumber.MakeLogRec(rec, 7, ProductTitle);
      mynumber.AddLogTo(rec, HostName, DbFile);
    }
    mynumber.MergeLog(HostName, DbFile);
  }
}

bool TBackupRestoreThread::RestoreViaFileMan() {
  TBackupRestore& dm = BackupRestore();
  bool ok = false;
  const std::string host = HostName.empty() ? SystemDef.HostName : HostName;
  if (dm.fnFileManConnected(SystemDef.HostName)) {
    const std::string workDir = SystemDef.ServerWorkDir;
    if (!dm.ServerDExist(workDir, ConnectKind)) dm.ServerMkDir(workDir, ConnectKind);
    const std::string serverFile = workDir + "/" + ChangeFileExt(BackupFileName, "." + IntToStr(SystemDef.OpCode));
    const std::string id = Format("RQZ_%d", SystemDef.OpCode);
    TIBTransaction& tr = dm.IBTransFileMan;
    TTransactionGuard transaction(tr);
    bool transferred = false;
    try {
      transaction.Begin();
      TIBSQL& s = dm.IBSQLFileMan;
      auto deleteRow = [&] {
        s.Close();
        s.SQL.SetText("DELETE FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID");
        s.ParamByName("CONTENT_ID").AsString(id);
        s.ExecQuery();
        s.Close();
      };
      deleteRow();
      s.SQL.SetText("INSERT INTO FILETRANS(CONTENT_ID,CONTENT)\nVALUES(:CONTENT_ID,:CONTENT)");
      s.ParamByName("CONTENT_ID").AsString(id);
      s.ParamByName("CONTENT").LoadFromFile(BackupFile);
      s.ExecQuery();
      s.Close();
      tr.CommitRetaining();
      s.SQL.SetText(
          "SELECT CONTENT_ID,SP_BLOBTOFILE(:FILEPATH, CONTENT) AS CONTENT FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID");
      s.ParamByName("FILEPATH").AsString(serverFile);
      s.ParamByName("CONTENT_ID").AsString(id);
      s.ExecQuery();
      s.Close();
      deleteRow();
      transaction.Commit();
      transferred = true;
    } catch (...) {
      dm.IBSQLFileMan.Close();
      transaction.Rollback();
      Fail(kRestoreTag, "203", kTransferFailed, kRestoreStopped);
    }
    // The job's result is the restore's own.
    if (transferred) ok = dm.RestoreFDB(kProtocolTcp, host, DbFile, serverFile, KeepIndexes);
  } else {
    ok = dm.RestoreFDBGbak(RemoteHost() ? kProtocolTcp : kProtocolLocal, HostName, DbFile, BackupFile, KeepIndexes);
  }
  if (dm.IBFileMan.Connected()) dm.IBFileMan.Close();
  return ok;
}

void TBackupRestoreThread::CopyDatabase() {
  TBackupRestore& dm = BackupRestore();
  const bool remote = RemoteHost();
  const std::uint8_t protocol = remote ? kProtocolTcp : kProtocolLocal;
  bool ok;
  if (!ViaFileMan) {
    ok = dm.BackupFDB(protocol, remote ? HostName : "", DbFile, BackupFile, remote || JobOption != 0);
    if (ok) ok = dm.RestoreFDB(protocol, remote ? HostName : "", TargetDbFile, BackupFile, KeepIndexes);
  } else {
    ok = dm.BackupFDBGbak(protocol, HostName, DbFile, BackupFile, true);
    if (ok) ok = dm.RestoreFDBGbak(protocol, HostName, TargetDbFile, BackupFile, KeepIndexes);
  }
  Success = ok;
}

void TBackupRestoreThread::RebuildDatabase() {
  TargetDbFile = DbFile;
  CopyDatabase();
}
