// The run of the update dialog: the in-use test, the backup, the pending
// steps, the restore after a failure, the failure box and the reconnection.
#include <memory>

#include "core/globals.h"
#include "core/settings.h"
#include "core/winutil.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/oplists.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/updatescript.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"
#include "ui/progressdialog.h"

namespace {

const char* const kBackupFileName = "dataup.fbk";

void ShowFailure(std::uint8_t Kind, const TErrInfomation& Info, const std::string& KeptBackup) {
  TMessage2InfoRec box;
  InitMessage2Info(kMsgError, box);
  std::size_t line = 0;
  auto add = [&](const std::string& text) {
    if (line < box.Lines.size()) box.Lines[line++].Text = text;
  };
  add(Kind == dbkSystem ? "システムデータの更新に失敗しました。" : "会計データの更新に失敗しました。");
  if (!Info.Message.empty()) {
    add("[エラー内容]");
    add(Info.Message);
    add(Info.SubMessage);
  }
  if (!KeptBackup.empty()) {
    add("更新前のデータは次のバックアップファイルに残っています。");
    add(KeptBackup);
  }
  ShowMessageBox2(box);
}

void RefuseSystem(const std::string& Operators) {
  TMessageInfoRec box;
  InitMessageInfo(box);
  box.Kind = 1;
  box.Position = poScreenCenter;
  box.Caption = "情報";
  box.Text = "現在、他のオペレータがシステムを利用中です。\rデータベースの更新を行うには、システムを終了するようにご連絡して下さい。";
  box.Lines = {"利用中のオペレータ (異常終了時のオペレータ含む)", ""};
  for (const std::string& line : SplitString(Operators, '\r'))
    if (!line.empty()) box.Lines.push_back(line);
  ShowMessageBox(box);
}

void RefuseDataSet() {
  TMessage2InfoRec box;
  InitMessage2Info(kMsgInformation, box);
  box.Buttons = MsgButtons({mbYes});
  box.Lines[0].Text = "現在、他のオペレータが会計データを利用中です。";
  box.Lines[1].Text = "データベースの更新を行うには、会計データの利用を停止するようにご連絡して下さい。";
  ShowMessageBox2(box);
}

}  // namespace

void TDbUpdateBox::btnCancelClick() {
  if (!Running) ModalResult = 2;
}

std::string TDbUpdateBox::GetLoginOperatorList() {
  std::string out;
  if (Kind != dbkSystem || !DataModuleExists()) return out;
  TDataSetConnection& dm = DataSetConnection();
  try {
    if (dm.fnAccDefConnected(SystemDef.HostName, false)) {
      TLoginUserListOnDef list;
      list.Execute(SystemDef.GroupId, SystemDef.OpCode, false);
      for (std::int32_t i = 0; i < list.Count; ++i) {
        std::string name;
        list.GetOpName(i, name);
        out += Format("[ %.4d ]:  %s", list.GetOpCode(i), name) + "\r";
      }
    }
  } catch (...) {
  }
  if (dm.IBDatabaseDEF.Connected()) dm.IBDatabaseDEF.Close();
  return out;
}

bool TDbUpdateBox::RunBackupJob(std::int32_t Mode) {
  TxAnimeProgressDialog progress;
  progress.SetCaption(Mode == 0 ? "データ更新の準備中" : "更新前データの復元中");
  progress.SetInfoLabel(Mode == 0 ? "準備中、しばらくお待ちください…" : "復元中、しばらくお待ちください…");
  progress.SetAviFile(PathJoin(SystemDef.ExeDir, "progress.avi"));
  progress.SetCancelBtnShow(false);
  progress.Show(Window);
  bool success = false;
  {
    TBackupRestoreThread job(true);
    job.Mode = Mode;
    job.HostName = SystemDef.HostName;
    job.DbKind = Kind;
    job.DbFile = Kind == dbkSystem ? PathJoin(SystemDef.SysDir, DataDefFile) : PathJoin(SystemDef.DataDir, DataFile);
    job.BackupFile = BackupFile;
    job.CheckMyNumber = false;
    job.Resume();
    while (!job.IsTerminated()) WaitWithMessages(300);
    ErrInfo = job.ErrInfo();
    success = job.Success;
  }
  progress.Close();
  return success;
}

std::int32_t TDbUpdateBox::ExecuteDbUpdate() {
  BackupFile = PathJoin(SystemDef.TempDir, kBackupFileName);
  Updated = false;
  ErrInfo = TErrInfomation{};
  if (!UpdateNeeded || !DataModuleExists()) return -1;
  TDataSetConnection& dm = DataSetConnection();

  if (BackupCount > 0) {
    ForceDirectories(SystemDef.TempDir);
    if (Kind == dbkSystem) dm.fnAccDefConnected(SystemDef.HostName, false);
    const bool backedUp = RunBackupJob(0);
    if (Kind == dbkSystem) dm.IBDatabaseDEF.Close();
    const std::string before = PathJoin(SystemDef.UserDocDir, "更新前データ");
    if (DirectoryExists(before)) DeletePathRecursively(before);
    if (!backedUp) {
      FirstStep = LastStep = -1;
      return -1;
    }
  }

  const TArrayDbUpdateListRec& steps = Steps();
  ProgressMax = LastStep - FirstStep + 1;
  ProgressPosition = 0;
  ProgressVisible = true;
  Changed();
  bool allDone = true;
  for (std::int32_t i = FirstStep; i <= LastStep; ++i) {
    TDbUpdateListItem& row = ListItems[static_cast<std::size_t>(i - FirstStep)];
    const std::int32_t result = RunDbUpdateStep(steps[static_cast<std::size_t>(i)].StepProc);
    if (result == urDone) {
      row.Status = "完了";
      row.StatusImage = 0;
      ++ProgressPosition;
      Changed();
      continue;
    }
    row.Status = result == urFileMissing ? "ﾌｧｲﾙ不足" : "失敗";
    row.StatusImage = 1;
    allDone = false;
    Changed();
    break;
  }
  WaitWithMessages(300);
  ProgressVisible = false;
  Changed();

  if (!allDone && BackupCount > 0) {
    if (!RunBackupJob(1)) {
      FirstStep = LastStep = -1;
      return -1;
    }
  }
  FirstStep = LastStep = -1;
  if (!allDone) return 0;
  const TArrayDbUpdateListRec& all = Steps();
  DbMajor = all.back().major;
  DbMinor = all.back().minor1;
  DbRev = all.back().minor2;
  Updated = true;
  return 1;
}

void TDbUpdateBox::btnOkClick() {
  if (Running) return;
  Running = true;
  ModalResult = 4;
  struct Reset {
    TDbUpdateBox& box;
    ~Reset() {
      box.Running = false;
      box.Changed();
    }
  } reset{*this};
  // Reconnects the database whatever happened.
  struct Reconnect {
    std::uint8_t kind;
    ~Reconnect() {
      if (!DataModuleExists()) return;
      try {
        if (kind == dbkSystem) {
          SystemStore().fnAccDefConnected(SystemDef.HostName, false);
        } else if (!SystemDef.DataDir.empty()) {
          if (!DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false);
          DataSetConnection().AccDatDisconnect(SystemDef.DataDir, true, true);
          DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false);
          if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().fnGetAccInfo();
        }
      } catch (...) {
      }
    }
  } reconnect{Kind};
  if (!DataModuleExists()) return;
  TDataSetConnection& dm = DataSetConnection();

  if (Kind == dbkSystem) {
    dm.IBDatabaseDEF.Close();
    if (dm.AccDatInConnection(0, SystemDef.HostName, SystemDef.SysDir, false)) {
      RefuseSystem(GetLoginOperatorList());
      return;
    }
  } else {
    if (dm.IBDatabaseDAT.Connected()) dm.AccDatDisconnect(SystemDef.DataDir, false, false);
    if (dm.AccDatInConnection(1, SystemDef.HostName, SystemDef.DataDir, false)) {
      RefuseDataSet();
      return;
    }
  }

  std::int32_t result = -1;
  try {
    result = ExecuteDbUpdate();
  } catch (...) {
    result = -1;
  }
  // The data before the run is kept after any failure, also when it was
  // restored; only a successful run deletes it.
  std::string kept;
  if (FileExists(BackupFile)) {
    if (result == 1)
      DeleteFile(BackupFile);
    else
      kept = BackupFile;
  }
  if (!Updated)
    ShowFailure(Kind, ErrInfo, kept);
  else
    ModalResult = 1;
}
