// Take-out (持ち出し) and bring-back (持ち帰り) of a server data set in the
// client mode: the take-out saves the server copy into the temporary folder
// and restores it into this computer's data area through a second
// data-selection dialog on this computer's list; the bring-back saves the
// local data set there and restores it over the server copy. The server row
// carries the operator's lock mark while the data set is out; a bring-back
// clears it only once the restore has succeeded.
#include <algorithm>

#include "core/globals.h"
#include "core/processforms.h"
#include "core/settings.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasetmgmt.h"
#include "dataselect/whichdataset.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "core/sysinfo.h"

namespace {

// The connection context that the local list replaces for a while.
struct TConnectionContext {
  std::uint8_t Kind = 0;
  std::string HostName, SysDir, DataDir;
  std::int32_t Unrestricted = 0;
  std::int32_t Major = 0, Minor1 = 0, Minor2 = 0;
};

TConnectionContext Current() {
  return {ConnectKind,        SystemDef.HostName,     SystemDef.SysDir,       SystemDef.DataDir,
          SystemDef.UnrestrictedOperators, SystemDef.SysVerMajor, SystemDef.SysVerMinor1, SystemDef.SysVerMinor2};
}

void PutBack(const TConnectionContext& c) {
  ConnectKind = c.Kind;
  SystemDef.HostName = c.HostName;
  SystemDef.SysDir = c.SysDir;
  SystemDef.DataDir = c.DataDir;
  SystemDef.UnrestrictedOperators = c.Unrestricted;
  SystemDef.SysVerMajor = c.Major;
  SystemDef.SysVerMinor1 = c.Minor1;
  SystemDef.SysVerMinor2 = c.Minor2;
}

// "local": this computer's data; "backup" saves the context into Saved;
// "server" puts it back.
void SwitchConnection(const std::string& Mode, TConnectionContext& Saved) {
  if (Mode == "backup") {
    Saved = Current();
  } else if (Mode == "server") {
    PutBack(Saved);
  } else if (Mode == "local") {
    std::string appData;
    GetAppDataDir(true, appData);
    if (appData.empty())
      throw std::runtime_error(Format("アプリケーションの初期化に失敗しました。\r%sを終了します。\rデータフォルダの取得に失敗しました。",
                                      SystemDef.AppTitle));
    std::string home = HomeDir;
    std::replace(home.begin(), home.end(), '\\', '/');
    ConnectKind = 0;
    SystemDef.HostName.clear();
    SystemDef.SysDir = appData + "/" + home + "/data";
    SystemDef.UnrestrictedOperators = 1;
  }
}

// Kind 0 free, 1 taken out: the lock picture, column 10 and DataLock of the active row.
void SetLockMark(TDataSentakuBox& Box, std::int32_t Kind) {
  const int row = Box.PerfectGrid1->Row();
  TDataListRec* r = Box.GetRowRecord(row);
  if (!r) return;
  const std::int32_t lock = Kind == 1 ? OperatorLogonCode() : 0;
  Box.PerfectGrid1->SetCellPicture(row, dcLockPic, Box.StatePictures[Kind == 1 ? 1 : 0]);
  Box.PerfectGrid1->SetCellNumber(row, dcLock, lock);
  MarkRowLock(Box, *r, lock);
}

// Runs the data-selection dialog on this computer's list for one step
// ("Restore" or "Backup") on the temporary folder; true when it reports 1.
// The server's context and system database come back whatever happened;
// Reconnected tells whether the server's system database could be reached.
bool RunLocalStep(const std::string& Step, TConnectionContext& Saved, bool& Reconnected) {
  std::int32_t result = 0;
  Reconnected = false;
  try {
    SwitchConnection("local", Saved);
    if (!SystemDef.SysDir.empty()) {
      SystemStore().IBDatabaseDEF.Close();
      if (SystemStore().fnAccDefConnected("", true)) {
        SystemStore().fnGetSysVersion();
        if (StartProcessProc)
          result = StartProcessProc(kProcDataSentaku, 1,
                                    "SyoriType=5\rOnlySA_Syori=" + Step + "\rOnlySA_BackupPath=" + SystemDef.WinTempDir);
      }
    }
  } catch (const std::exception& e) {
    ShowSentakuBox(kMsgError, e.what(), MsgButtons({mbOK}));
    result = 0;
  }
  SwitchConnection("server", Saved);
  SystemStore().IBDatabaseDEF.Close();
  Reconnected = SystemStore().fnAccDefConnected(SystemDef.HostName, true);
  return result == 1;
}

}  // namespace

bool TakeOutOrBringBack(TDataSentakuBox& Box) {
  if (ConnectKind == 2) return true;
  if (!Box.HasCurrentRow()) return false;
  const int row = Box.PerfectGrid1->Row();
  TDataListRec* r = Box.GetRowRecord(row);
  if (!r) return false;
  if (DataSetConnection().CanUseCloudShare(false) && r->Cloud == 1) {
    ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため持ち出し処理は行えません。", MsgButtons({mbOK}));
    return false;
  }
  TConnectionContext saved;
  SwitchConnection("backup", saved);
  const bool locked = Box.PerfectGrid1->CellNumber(row, dcLock) != 0;
  TWhichDataSetBox which(&Box);
  which.Choice = 0;
  which.Locked = locked ? 1 : 0;
  which.Prepare(true);
  if (which.ShowModal() != mrOk) return false;
  bool reconnected = false;
  if (which.Choice == 0) {
    if (SaveDataTo(Box, SystemDef.WinTempDir) != 1) return false;
    ShowSentakuBox(kMsgInformation, "続いて、このコンピュータのデータリストを表示します。\r持ち出し先を選んで下さい。",
                   MsgButtons({mbOK}));
    const bool restored = RunLocalStep("Restore", saved, reconnected);
    if (!reconnected) return false;
    SetLockMark(Box, restored ? 1 : (locked ? 1 : 0));
    return restored;
  }
  const std::string folder = Box.GetRowDataFolder(row);
  if (!Box.DataInfo->IsDataSiyouKengen(folder)) return false;
  ShowSentakuBox(kMsgInformation, "このコンピュータのデータリストを表示します。\r持ち帰ったデータを選んで下さい。",
                 MsgButtons({mbOK}));
  const bool saved_ = RunLocalStep("Backup", saved, reconnected);
  if (!saved_ || !reconnected) return false;
  // The lock goes only with a successful restore; a failed one keeps it.
  const bool restored = RestoreDataWithLock(Box, SystemDef.WinTempDir, false, locked) == 1;
  if (Box.PerfectGrid1->Row() == row) SetLockMark(Box, restored ? 0 : (locked ? 1 : 0));
  return restored;
}
