// Save ("F6:保存") and restore ("F7:復元") of the selected data set through
// the backup/restore job. A save writes the backup under a work name in the
// destination and puts it in place of an earlier backup only once it is
// complete, data-info block included; a failed save leaves the earlier backup
// as it was. A restore compares the backup with the data set first (from the
// backup's data-info block, or from a trial restore into the work folder);
// the job's restore never destroys the data set. A failed restore stops there:
// nothing is written into the data set afterwards, nothing is stored back or
// checked in, and the data set's status returns to what it was.
#include <cstdio>
#include <filesystem>

#include "core/fileutil.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/sysinfo.h"
#include "ui/progressdialog.h"
#include "dataselect/cloudcalls.h"
#include "dataselect/cloudshareio.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasetmgmt.h"
#include "dataselect/fileoperationdlg.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/win/paths.h"

namespace fs = std::filesystem;

namespace {

const char* const kHistoryFile = "history.ini";
const char* const kHistoryKey = "DataBackFolder";
const char* const kJobCaption = "データ選択";
const char* const kTempRefused = "このフォルダは選択出来ません。他の場所を選んで下さい。";
const char* const kFolderHint =
    "\r\n前回保存又は復元を行った場所を初期値として表示しています。それ以前の場所もリストから選択できます。"
    "その他の場所を指定する場合は［参照］を押してください。\r\n［OK］を押すと処理を実行します。";

bool SameFolder(const std::string& A, const std::string& B) {
  return !A.empty() && !B.empty() && ExcludeTrailingDelimiter(A) == ExcludeTrailingDelimiter(B);
}

void SetUpFolderBox(TFileOperationBox& Box, const std::string& Caption, const std::string& Text,
                    const std::string& Hint) {
  Box.UseHistory = true;
  Box.HistoryDir = SystemDef.IniDir;
  Box.HistoryFile = kHistoryFile;
  Box.HistorySection = kHistoryKey;
  Box.CaptionText = Caption;
  Box.MainMessage = Text;
  Box.MainMessageColor = 255;
  Box.PlaceLabel = "保存先の場所:";
  Box.DefaultDir = SystemDef.UserDocDir;
  Box.PlaceHint = Hint;
}

// The data-info values of the dialog's record, written into the backup.
TDataInfoValues InfoValuesOf(const TDataInfomationRec& Rec) {
  TDataInfoValues v;
  v.SHOUGOU = Rec.SHOUGOU;
  v.KISHU = Rec.KISHU;
  v.KIMATU = Rec.KIMATU;
  v.SIWAKE = Rec.SIWAKE;
  v.TOTALSIWAKE = Rec.TOTALSIWAKE;
  v.DATAVARSION = Format("%d.%d.%d", Rec.VERSION1[0], Rec.VERSION1[1], Rec.VERSION1[2]);
  v.GASSAN = Rec.GASSANKBN;
  v.USEMYNUMBER = Rec.USEMYNUMBER;
  return v;
}

TDataInfomationRec InfoRecOf(const TDataInfoValues& v) {
  TDataInfomationRec rec;
  TDataInfomation::ClearDataInfoRec(rec);
  rec.SHOUGOU = v.SHOUGOU;
  rec.KISHU = v.KISHU;
  rec.KIMATU = v.KIMATU;
  rec.SIWAKE = v.SIWAKE;
  rec.TOTALSIWAKE = v.TOTALSIWAKE;
  rec.VERSION2 = v.DATAVARSION;
  rec.GASSANKBN = static_cast<std::uint8_t>(v.GASSAN);
  rec.USEMYNUMBER = v.USEMYNUMBER;
  return rec;
}

// A shared-server data set not taken into the local area is fetched and
// stored back first, so that the save reads its newest state.
bool MakeFreshSharedCopy(TDataSentakuBox& Box, const TDataListRec& Rec) {
  if (ServerConnection() || Rec.NetDrive != 1 || Rec.KyoyuLock != 0) return true;
  return Box.FetchSharedData(1) > 0 && Box.StoreSharedData(1) > 0;
}

void RemoveQuietly(const std::string& Path) {
  std::error_code ec;
  fs::remove(Path, ec);
}

}  // namespace

// ---- save -----------------------------------------------------------------------------------------

std::int32_t SaveDataTo(TDataSentakuBox& Box, const std::string& Path) {
  if (!Box.HasCurrentRow()) return 0;
  const std::int32_t row = Box.PerfectGrid1->Row();
  TDataListRec* r = Box.GetRowRecord(row);
  if (!r) return 0;
  const std::string folder = Box.GetRowDataFolder(row);
  if (!MakeFreshSharedCopy(Box, *r)) return 0;
  if (CheckOutOfCloud(Box, row, folder) != 0) return 0;
  r = Box.GetRowRecord(row);
  if (!r) return 0;
  if (DataModuleExists() && DataSetConnection().VerifyData(SystemDef.HostName, folder, 1, 0) == 0) {
    r->DataStatus = 1;
    Box.DataListRefresh(row);
    return 0;
  }
  const std::uint8_t status = Box.CheckDataStatus(folder, true, true);
  if (status == 2 && ServerConnection()) {
    if (ShowSentakuBox(kMsgConfirmation, "このデータは他のオペレータが使用中です。保存しますか？",
                       MsgButtons({mbOK, mbCancel})) != mrOk)
      return 0;
  } else if (status != 1) {
    return 0;
  }
  if (!Box.DataInfo->IsDataSiyouKengen(folder)) {
    Box.DataListRefresh(row);
    return 0;
  }

  // Destination.
  std::string dest;
  for (;;) {
    if (Path.empty()) {
      TFileOperationBox dialog(&Box);
      SetUpFolderBox(dialog, "データの保存", "選択中のデータを保存します。",
                     std::string("ﾃﾞｰﾀを保存する場所を選択します。変更する場合は［参照］を押してください。|"
                                 "ﾃﾞｰﾀを保存する場所を選択します。") + kFolderHint);
      dialog.Prepare(3);
      if (dialog.ShowModal() != mrOk) return 0;
      dest = ExcludeTrailingDelimiter(dialog.ResultPath);
    } else {
      dest = ExcludeTrailingDelimiter(Path);
    }
    if (!SameFolder(dest, SystemDef.TempDir)) break;
    ShowSentakuBox(kMsgInformation, kTempRefused, MsgButtons({mbOK}));
    if (!Path.empty()) return 0;
  }
  bool created = false;
  try {
    created = ForceFolder(dest);
  } catch (...) {  // reported below
    created = false;
  }
  if (!created) {
    ShowSentakuBox(kMsgInformation, "バックアップフォルダの作成に失敗しました。", MsgButtons({mbOK}));
    return 0;
  }
  const std::string backup = PathJoin(dest, BackupFileName);
  // A given path replaces its backup without asking (once the new one is complete).
  if (Path.empty() && FileExists(backup) &&
      ShowSentakuBox(kMsgConfirmation, "この場所には、同じ名前のバックアップファイルが既に存在します。\r上書きしますか？",
                     MsgButtons({mbOK, mbCancel})) != mrOk)
    return 0;

  Box.SetDataStatus(folder, dsSaving);
  ShowJobProgress(Box, "保存中", "保存中、しばらくお待ちください…");
  std::int32_t result = -1;
  const std::string work = backup + ".saving";
  try {
    Box.DataListRefresh(row);
    RemoveQuietly(work);
    TBackupRestoreThread job(true);
    job.Mode = 0;
    job.Caption = kJobCaption;
    job.HostName = SystemDef.HostName;
    job.ViaFileMan = ServerConnection();
    job.DbFile = PathJoin(folder, DataFile);
    job.BackupFile = work;
    job.DbKind = 1;
    job.AppendDataInfo = true;
    job.AskMyNumber = true;
    job.JobOption = 1;
    job.DataInfo = InfoValuesOf(Box.InfoRec);
    RunJob(job, 300);
    bool saved = job.Success && FileExists(work);
    if (saved) saved = std::rename(work.c_str(), backup.c_str()) == 0;
    if (saved) {
      result = 1;
    } else {
      CloseJobProgress(Box);
      ShowJobFailure(job);
    }
  } catch (const std::exception& e) {
    CloseJobProgress(Box);
    ShowSentakuBox(kMsgWarning, std::string("データベースの保存に失敗しました。\r") + e.what(), MsgButtons({mbYes}));
  }
  RemoveQuietly(work);
  Box.PerfectGrid1->SetCol(0);
  // The desktop has no icon list to refresh here.
  Box.raise();
  CloseJobProgress(Box);
  Box.SetDataStatus(folder, dsFree);
  Box.show();
  return result;
}

// ---- restore ------------------------------------------------------------------------------------------

std::int32_t RestoreDataFrom(TDataSentakuBox& Box, const std::string& Path, bool KeepCloud) {
  return RestoreDataWithLock(Box, Path, KeepCloud, false);
}

std::int32_t RestoreDataWithLock(TDataSentakuBox& Box, const std::string& Path, bool KeepCloud, bool OwnLock) {
  if (!Box.HasCurrentRow()) return 0;
  const std::int32_t row = Box.PerfectGrid1->Row();
  TDataListRec* r = Box.GetRowRecord(row);
  if (!r) return 0;
  const std::int32_t index = static_cast<std::int32_t>(Box.PerfectGrid1->CellNumber(row, dcIndex));
  const std::string folder = Box.GetRowDataFolder(row);
  const std::string database = PathJoin(folder, DataFile);
  const std::uint8_t kind = ConnectKind;
  auto statusOf = [&](bool show) {
    std::uint8_t s = Box.CheckDataStatus(folder, false, show && !OwnLock);
    if (OwnLock && s == dsLocked) s = dsFree;
    return s;
  };

  bool damaged = r->DataStatus == 1;
  if (!damaged && (r->Kishu != 0 || r->Kimatu != 0) && DataModuleExists() && ServerFiles().ServerFExist(database, kind) &&
      DataSetConnection().VerifyData(SystemDef.HostName, folder, 1, 0) == 0) {
    r->DataStatus = 1;
    Box.DataListRefresh(row);
    damaged = true;
  }
  std::int32_t cloudSlot = -1;
  if (damaged) {
    if (DataModuleExists() && DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect(folder, false, false);
  } else {
    if (DataModuleExists() && DataSetConnection().CanUseCloudShare(false) && r->Cloud == 1) {
      if (!KeepCloud) {
        ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため復元処理は行えません。", MsgButtons({mbOK}));
        return -1;
      }
      if (Box.CloudShareIO) cloudSlot = Box.CloudShareIO->GetCloudShare(SystemDef.HostName, folder);
    }
    const std::uint8_t s = statusOf(true);
    if (s == dsInUse && ServerConnection()) {
      ShowSentakuBox(kMsgInformation, "このデータは他のオペレータが使用中のため復元処理は行えません。", MsgButtons({mbOK}));
      return -1;
    }
    if (s != dsFree) return -1;
    if (DataModuleExists() && ServerFiles().ServerFExist(database, kind) && !Box.DataInfo->IsDataSiyouKengen(folder)) return -1;
  }

  // Source.
  std::string source;
  bool onServer = false;
  if (Path.empty()) {
    for (;;) {
      TFileOperationBoxEx1 dialog(&Box);
      SetUpFolderBox(dialog, "データの復元",
                     "指定された保存先の場所にバックアップファイルがある場合は、商号、会計期間および仕訳数をチェックし、"
                     "条件が満たされれば復元されます。",
                     std::string("ﾃﾞｰﾀが保存されている場所を選択します。変更する場合は［参照］を押してください。|"
                                 "ﾃﾞｰﾀが保存されている場所を選択します。") + kFolderHint);
      dialog.SetSelect1Caption("保存先の場所を選択して復元する");
      dialog.SetSelect2Caption("プログラムの既定の保存先の場所より復元する");
      dialog.SetSelectMode(1);
      dialog.Prepare(2);
      if (dialog.ShowModal() != mrOk) return 0;
      if (dialog.SelectMode == 2) {
        source = folder;
        onServer = ServerConnection();
        break;
      }
      source = ExcludeTrailingDelimiter(dialog.ResultPath);
      if (!SameFolder(source, SystemDef.TempDir)) break;
      ShowSentakuBox(kMsgInformation, kTempRefused, MsgButtons({mbOK}));
    }
  } else {
    source = ExcludeTrailingDelimiter(Path);
  }

  const std::uint8_t before = statusOf(false);
  if (before == dsInUse && ServerConnection()) {
    ShowSentakuBox(kMsgInformation, "このデータは他のオペレータが使用中のため復元処理は行えません。", MsgButtons({mbOK}));
    return -1;
  }
  if (before != dsFree && before != dsDamaged) return -1;
  const std::string sourceFile = PathJoin(source, BackupFileName);
  if (!DataModuleExists() || !ServerFiles().ServerFExist(sourceFile, onServer ? kind : 0)) {
    ShowSentakuBox(kMsgInformation, Format("この場所には、バックアップファイル(%s)がありませんでした。", BackupFileName),
                   MsgButtons({mbOK}));
    return -1;
  }

  ShowJobProgress(Box, "復元中", "復元中、しばらくお待ちください…");
  if (ServerConnection()) MarkRowLock(Box, *r, OperatorLogonCode());
  for (const std::string& name : {BackupFileName, DataFile, DataIniFile})
    if (FileExists(PathJoin(SystemDef.TempDir, name))) DeleteFile(PathJoin(SystemDef.TempDir, name));

  const bool hadDatabase = ServerFiles().ServerFExist(database, kind);
  std::int32_t result = -1;
  bool restored = false;
  bool passed = false;
  try {
    TBackupRestoreThread job(true);
    std::string backupFile = sourceFile;
    bool haveBlock = false;
    std::string serverWork;
    if (!onServer) {
      backupFile = PathJoin(SystemDef.TempDir, BackupFileName);
      if (!ServerFiles().ServerFCopy(sourceFile, backupFile, 0)) {
        CloseJobProgress(Box);
        ShowSentakuBox(kMsgInformation, "ワーク領域にファイルをコピー出来なかったため、復元処理は失敗しました。",
                       MsgButtons({mbOK}));
        throw 0;
      }
      haveBlock = job.ReadDataInfo(backupFile, true);
    } else {
      serverWork = Format("%s/%d", SystemDef.ServerWorkDir, SystemDef.OpCode);
      if (!ServerFiles().ServerDExist(serverWork, kind)) ServerFiles().ServerMkDir(serverWork, kind);
    }

    // Comparison.
    if (!damaged) {
      Box.CopySourceRec = TDataListRec{};
      if (hadDatabase) {
        Box.xAnimeProgressDialog1->SetInfoLabel("照合チェック中、しばらくお待ちください…");
        if (haveBlock) {
          passed = CheckTargetFolder(Box, "復元", InfoRecOf(job.DataInfo), folder);
        } else {
          TBackupRestoreThread trial(true);
          trial.Mode = 1;
          trial.Caption = kJobCaption;
          trial.HostName = onServer ? SystemDef.HostName : "127.0.0.1";
          trial.ViaFileMan = ServerConnection() && !onServer;
          trial.CheckMyNumber = false;
          trial.DbKind = 1;
          trial.DbFile = PathJoin(onServer ? serverWork : SystemDef.TempDir, DataFile);
          trial.BackupFile = backupFile;
          RunJob(trial, 300);
          if (trial.Success) {
            TDataInfomationRec info;
            Box.DataInfo->ReadIniFile(trial.HostName, onServer ? serverWork : SystemDef.TempDir, info);
            if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect("", false, false);
            passed = CheckTargetFolder(Box, "復元", info, folder);
            job.DataInfo = InfoValuesOf(info);
            job.DataInfo.DATAVARSION = info.VERSION2;
          } else {
            CloseJobProgress(Box);
            ShowJobFailure(trial);
          }
          if (!onServer) {
            for (const std::string& name : {DataFile, DataIniFile})
              if (FileExists(PathJoin(SystemDef.TempDir, name))) DeleteFile(PathJoin(SystemDef.TempDir, name));
          }
        }
      } else {
        passed = true;
      }
    } else {
      CloseJobProgress(Box);
      passed = ShowSentakuBox(kMsgConfirmation,
                              "このデータは破損データのため、データ間の照合チェックは行わずに復元を行います。\rよろしいですか？",
                              MsgButtons({mbOK, mbCancel})) == mrOk;
    }
    if (!serverWork.empty()) ServerFiles().ServerRmDir(serverWork, false, kind);

    if (passed) {
      if (!Box.xAnimeProgressDialog1->Running) ShowJobProgress(Box, "復元中", "復元中、しばらくお待ちください…");
      if (!ServerFiles().ServerDExist(folder, kind)) ServerFiles().ServerMkDir(folder, kind);
      Box.SetDataStatus(folder, dsRestoring);
      if (kind == 0 && (r->Gassan == 1 || r->Gassan == 2) && !job.DataInfo.SHOUGOU.empty() &&
          r->Shougou != job.DataInfo.SHOUGOU)
        Box.RemoveChildData(row, true);
      job.Mode = 1;
      job.Caption = kJobCaption;
      job.HostName = SystemDef.HostName;
      job.ViaFileMan = ServerConnection() && !onServer;
      job.DbKind = 1;
      job.DbFile = database;
      job.BackupFile = backupFile;
      RunJob(job, 300);
      restored = job.Success;
      if (!restored) {
        CloseJobProgress(Box);
        ShowJobFailure(job);
      }
    }
  } catch (int) {
    // refused: shown above
  } catch (const std::exception& e) {
    CloseJobProgress(Box);
    ShowSentakuBox(kMsgWarning, std::string("データベースの復元に失敗しました。\r") + e.what(), MsgButtons({mbYes}));
  }

  // The row may have moved in the list during the checks.
  r = Box.GetRowRecord(row);
  if (restored && r) {
    if (!hadDatabase) {
      TDataInfomationRec info;
      if (Box.DataInfo->ReadDataInfoFromDb(folder, info) == 1) KeepSourceInfo(Box.CopySourceRec, info);
    }
    WriteGassanSettings(Box, row);
    if (Box.CloudShareIO) Box.CloudShareIO->ClearCloudShare(SystemDef.HostName, folder);
    r = Box.GetRowRecord(row);
    if (r && KeepCloud && cloudSlot > 0 && Box.CloudShareIO) {
      Box.CloudShareIO->SetCloudShare(SystemDef.HostName, folder, cloudSlot);
      r->Cloud = 1;
      Box.StoreListRow(*r);
    }
    TDataInfomationRec info;
    if (r && Box.DataInfo->ReadDataInfoFromDb(folder, info) == 1) {
      info.DATALISTNAME = r->EntText.empty() || IsEmptyArea(r->EntText) ? info.DATALISTNAME : r->EntText;
      info.UPDATE_LOCK = r->UpdateLock;
      Box.DataInfo->UpdateDataInfomation(SystemDef.HostName, folder, info);
      r = Box.GetRowRecord(row);
      if (r) {
        r->DataCode = info.CODE;
        r->EntText = r->DispName = info.DATALISTNAME;
        r->UpdateLock = info.UPDATE_LOCK;
        r->Gassan = info.GASSANKBN;
        r->Cloud = info.CLOUD_SHARE;
        r->DataStatus = 0;
        Box.PerfectGrid1->SetCellNumber(row, dcDamaged, 0);
      }
    }
    Box.DataListRefresh(row);
    Box.PerfectGrid1->SetCol(0);
    result = 1;
    r = Box.GetRowRecord(row);
    if (r && DataSetConnection().CanUseCloudShare(false) && r->Cloud == 1 && CloudShareCalls.CloudShareSend) {
      Box.pnlClient->setEnabled(false);
      Box.pnlBottom->setEnabled(false);
      Box.UpdateKeyBar();
      CloudShareCalls.CloudShareSend(folder, "", 1);
      Box.pnlClient->setEnabled(true);
      Box.pnlBottom->setEnabled(true);
    } else if (r && Box.GetShareState(0, row) == 2 && Box.StoreSharedData(1) > 0 && index >= 0 &&
               index < static_cast<std::int32_t>(Box.DataList.size())) {
      Box.SetKyoyuLock(1, Box.DataList[static_cast<std::size_t>(index)]);
      Box.DataListRefresh(row);
    }
  }
  if (ServerConnection()) {
    r = Box.GetRowRecord(row);
    if (r) {
      MarkRowLock(Box, *r, OwnLock && !restored ? OperatorLogonCode() : 0);
      Box.DataListRefresh(row);
    }
  }
  Box.raise();
  CloseJobProgress(Box);
  if (ServerFiles().ServerDExist(folder, kind)) Box.SetDataStatus(folder, restored ? dsFree : (before == dsDamaged ? dsDamaged : dsFree));
  Box.show();
  return result;
}
