// Steps shared by the data-set management commands: the operator's lock mark,
// the progress dialog, the backup/restore job's run and failure box, and the
// cloud check-out before a copy or a save.
#include "dataselect/datasetmgmt.h"

#include "core/globals.h"
#include "core/settings.h"
#include "core/winutil.h"
#include "dataselect/cloudcalls.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/progressdialog.h"

std::int32_t OperatorLogonCode() {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(SystemDef.OpCode % base) : SystemDef.OpCode;
}

bool ServerConnection() { return ConnectKind == 1 || ConnectKind == 2; }

void ShowJobProgress(TDataSentakuBox& Box, const std::string& Caption, const std::string& Line) {
  TxAnimeProgressDialog& p = *Box.xAnimeProgressDialog1;
  p.SetCaption(Caption);
  p.SetInfoLabel(Line);
  p.SetAviFile(PathJoin(SystemDef.ExeDir, "progress.avi"));
  p.SetCancelBtnShow(false);
  p.Show(&Box);
}

void CloseJobProgress(TDataSentakuBox& Box) {
  if (Box.xAnimeProgressDialog1->Running) Box.xAnimeProgressDialog1->Close();
}

void RunJob(TBackupRestoreThread& Job, int PollMs) {
  Job.Resume();
  while (!Job.IsTerminated()) WaitWithMessages(PollMs);
}

void ShowJobFailure(const TBackupRestoreThread& Job) {
  std::string text = Job.Message;
  if (text.empty()) text = "データベースの処理に失敗しました。";
  ShowSentakuBox(kMsgWarning, text + "\r" + Job.SubMessage, MsgButtons({mbYes}));
}

void MarkRowLock(TDataSentakuBox& Box, TDataListRec& Rec, std::int32_t Lock) {
  Rec.DataLock = Lock;
  Box.StoreListRow(Rec);
}

std::int32_t CheckOutOfCloud(TDataSentakuBox& Box, std::int32_t Row, const std::string& Folder) {
  TDataListRec* r = Box.GetRowRecord(Row);
  if (!r || !DataModuleExists() || !DataSetConnection().CanUseCloudShare(false) || r->Cloud != 1) return 0;
  if (ServerConnection()) {
    std::int32_t path = -1;
    try {
      path = Box.CheckDataPath(Folder);
    } catch (...) {  // an unreadable path counts as refused
      path = -1;
    }
    if (path != 1) {
      Box.DataListRefresh(Row);
      return -1;
    }
  }
  Box.pnlClient->setEnabled(false);
  Box.pnlBottom->setEnabled(false);
  Box.UpdateKeyBar();
  std::int32_t result = 9;
  try {
    if (ServerConnection()) MarkRowLock(Box, *r, OperatorLogonCode());
    if (CloudShareCalls.CloudShareReceive) {
      result = CloudShareCalls.CloudShareReceive(Folder, 1, 0);
      if (result == 0 && AppKind == 0 && CloudShareCalls.CloudShareRelease) CloudShareCalls.CloudShareRelease(Folder);
    }
  } catch (...) {
    result = 9;
  }
  if (ServerConnection()) MarkRowLock(Box, *r, 0);
  Box.pnlClient->setEnabled(true);
  Box.pnlBottom->setEnabled(true);
  if (result >= 1 && result <= 9) {
    Box.DataListRefresh(Row);
    return result;
  }
  return 0;
}
