// The rebuild of a data set's database from the details dialog (F7): a safety
// copy of the database, a backup and a restore over the database through the
// backup/restore job, and the data status 1 afterwards. Whenever the rebuild
// fails the safety copy is copied back over the database; the safety copy is
// deleted only after a successful rebuild or once it has been put back. In
// the client modes the list row is locked for the time of the rebuild.
#include <string>

#include "core/globals.h"
#include "core/settings.h"
#include "core/winutil.h"
#include "dataselect/datadetail.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/iberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/win/paths.h"
#include "ui/progressdialog.h"

namespace {

bool ClientMode() { return ConnectKind == 1 || ConnectKind == 2; }

std::int32_t LogonCode(std::int32_t OpCode) {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(OpCode % base) : OpCode;
}

void DeleteServerFile(const std::string& Path) {
  if (DataModuleExists() && ServerFiles().ServerFExist(Path, ConnectKind)) ServerFiles().ServerFDel(Path, false, ConnectKind);
}

}  // namespace

void TDataSyosaiInfoBox::RebuildClick() {
  if (ClientMode() && DataModuleExists() && DataSetConnection().AccDatInConnection(1, SystemDef.HostName, AccessFolder(), false)) {
    ShowSentakuBox(kMsgInformation,
                   "現在、他のユーザーがデータに接続中です。他のユーザーがデータに接続している間はデータの再構築は行えません。",
                   MsgButtons({mbOK}));
    return;
  }
  std::string question =
      "データの再構築を行いますか？\r"
      "注意１）データサイズによりデータ再構築に時間がかかる場合があります。再構築中にコンピュータの電源は切らないで下さい。";
  if (Info.STATUS == dsDamaged) question += "\r注意２）破損データの場合はデータ再構築が適正に行われない場合があります。";
  if (ShowSentakuBox(kMsgConfirmation, question, MsgButtons({mbOK, mbCancel})) != mrOk) return;
  if (!Rebuild()) return;
  ShowSentakuBox(kMsgInformation, "データの再構築は適正に行われました。", MsgButtons({mbOK}));
  Prepare(mode_);
  Rebuilt = 1;
}

bool TDataSyosaiInfoBox::WriteRowLock(std::int32_t Lock) {
  if (!DataModuleExists() || !ListRow) return false;
  const std::int32_t place = RowPlace();
  TIBSQL& q = SystemStore().IBSQLDEF;
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  try {
    const bool wasActive = scope.Begin();
    TDataListTable(q, place > 0 ? place : 0).SetLockOfNumber(ListRow->Rec, Lock);
    // Other workstations see the lock at once, also inside the caller's transaction.
    if (wasActive) SystemStore().IBTransactionDEF.CommitRetaining();
    else scope.Commit();
    return true;
  } catch (const EIBError& e) {
    q.Close();
    scope.Rollback();
    ShowFbError(e, "TDataSyosaiInfoBox.Rebuild", "データリストの更新に失敗しました。", true);
  } catch (const std::exception& e) {
    q.Close();
    scope.Rollback();
    ShowErrorDetail("データリストの更新に失敗しました。", e.what(), kMsgError);
  }
  return false;
}

bool TDataSyosaiInfoBox::Rebuild() {
  TxAnimeProgressDialog progress(this);
  progress.SetCaption("再構築中");
  progress.SetInfoLabel("再構築中、しばらくお待ちください…");
  progress.SetAviFile(PathJoin(SystemDef.ExeDir, "progress.avi"));
  progress.SetCancelBtnShow(false);
  progress.Show(this);

  TBackupRestoreThread job(true);
  const bool lockRow = ClientMode() && ListRow && ListRow->DataLock < 1 && WriteRowLock(LogonCode(SystemDef.OpCode));

  for (const std::string& name : {BackupFileName, DataFile, DataIniFile}) {
    const std::string leftover = PathJoin(SystemDef.TempDir, name);
    if (FileExists(leftover)) DeleteFile(leftover);
  }
  // Opened from the shared-server selection the rebuild works on a copy in
  // the work folder and copies it back; otherwise on the database itself.
  const bool onCopy = Origin == 1 && RebuildAllowed;
  const std::string folder = AccessFolder();
  const std::string database = PathJoin(folder, DataFile);
  const std::string safety = onCopy ? PathJoin(SystemDef.TempDir, DataFile) : ChangeFileExt(database, ".fd_");
  const std::string backup =
      ChangeFileExt(PathJoin(ClientMode() ? folder : SystemDef.TempDir, BackupFileName), ".fb_");

  bool result = false;
  bool rebuilt = false;      // the job itself succeeded
  bool keepSafety = false;
  if (!DataModuleExists() || !ServerFiles().ServerFCopy(database, safety, ConnectKind)) {
    progress.PlayAnime(false);
    ShowSentakuBox(kMsgInformation, "データ再構築の前処理（会計データのコピー）に失敗しました。", MsgButtons({mbOK}));
  } else {
    try {
      job.Mode = 3;
      job.HostName = SystemDef.HostName;
      job.DbFile = onCopy ? safety : database;
      job.TargetDbFile = job.DbFile;
      job.BackupFile = backup;
      job.Resume();
      while (!job.IsTerminated()) WaitWithMessages(300);
      result = rebuilt = job.Success;
      if (result && onCopy) result = ServerFiles().ServerFCopy(safety, database, ConnectKind);
      if (result) {
        TDataInfomation data;
        data.ConnectKind = ConnectKind;
        data.SetStatus(folder, dsFree);
      }
    } catch (...) {  // shown below as a failed rebuild
      result = false;
    }
    if (!result) {
      progress.PlayAnime(false);
      ShowSentakuBox(kMsgInformation, "データ再構築の処理に失敗しました。", MsgButtons({mbOK}));
      // The database may have been replaced half-way: the safety copy goes
      // back, and stays when even that fails. Working on a copy the database
      // was not touched unless the copy back failed; the rebuilt copy is then
      // kept.
      if (!onCopy) keepSafety = !ServerFiles().ServerFCopy(safety, database, ConnectKind);
      else keepSafety = rebuilt;
    }
  }
  if (!keepSafety) DeleteServerFile(safety);
  DeleteServerFile(backup);
  if (lockRow) WriteRowLock(0);
  raise();
  progress.Close();
  show();
  activateWindow();
  return result;
}
