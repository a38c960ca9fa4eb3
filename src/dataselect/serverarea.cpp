// The areas of a shared drive: the state of an area folder's data set, a
// list row filled from it and written back, the row and share-status
// services the data-selection dialog uses. The area commands are in
// serverareacmds.cpp.
#include "core/datetext.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/datasentaku.h"
#include "dataselect/serversentaku.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"

namespace {

// The logon code of an operator number (modulo the group's ten thousands).
std::int32_t LogonCode(std::int32_t OpCode) {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(OpCode % base) : OpCode;
}

}  // namespace

// Without a data file the information is cleared and the area counts as
// free (1), or with WarnIfEmpty a warning is shown and 0 returned. Otherwise
// the area's settings file (rebuilt when missing) gives STATUS; with
// ShowBusy a status other than free (1) or damaged (10) is shown with its
// holder.
std::uint8_t TServerSentakuBox::CheckDataFolder(const std::string& Folder, bool WarnIfEmpty, bool ShowBusy) {
  const std::string folder = ExcludeTrailingPathDelimiter(NativePath(Folder));
  if (!FileExists(PathJoin(folder, DataFile))) {
    TDataInfomation::ClearDataInfoRec(InfoRec);
    if (!WarnIfEmpty) return 1;
    ShowSentakuBox(kMsgWarning, "このフォルダには財務データがありません。\r", MsgButtons({mbYes}));
    return 0;
  }
  if (!FileExists(DataInfoFileName(folder))) DataInfo->RefreshIniFile(folder, "");
  DataInfo->ReadInfo(folder, InfoRec);
  const std::uint8_t status = InfoRec.STATUS;
  if (!ShowBusy || status == dsFree || status == dsDamaged) return status;
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 1;
  info.Caption = "選択データの状態";
  info.Text = Format("このデータは%sのため処理が行えません。", DataStatusText(status));
  info.Lines = {"【データフォルダ】", "　" + folder, "", "【オペレータ】", "　" + Format("%d", LogonCode(InfoRec.OPCODE)),
                "", "【オペレータ名】", "　" + InfoRec.OPERATOR};
  ShowMessageBox(info);
  return status;
}

void TServerSentakuBox::FillServerRow(TDataListRec& Row, bool Empty) {
  if (Empty) {
    Row = TDataListRec{};
    Row.GroupId = SystemDef.GroupId;
    Row.EntText = Row.DispName = kAreaFree;
    Row.Nendo = 0;
    Row.KikanText = "～";
    Row.NetDrive = 1;
    return;
  }
  const TDataInfomationRec& i = InfoRec;
  Row.GroupId = SystemDef.GroupId;
  Row.DataCode = i.CODE;
  Row.EntText = i.DATALISTNAME;
  Row.Shougou = i.SHOUGOU;
  if (Row.EntText.empty()) Row.EntText = kAreaFree;
  if (Row.EntText == kAreaFree || Row.EntText == kAreaNew) Row.Shougou.clear();
  Row.Nendo = i.NENDO;
  Row.KikanText = Format("%s ～ %s", i.KISHU, i.KIMATU);
  // The dates are stored as "yyyy/mm/dd" whatever the process's date format.
  Row.Kishu = StrToDateFixed(i.KISHU);
  Row.Kimatu = StrToDateFixed(i.KIMATU);
  Row.DataType = i.DATAKBN;
  Row.CodeType = i.CODEKBN;
  Row.Tantou = i.TANTO;
  Row.DataLock = i.STATUS == dsLocked && i.OPCODE != 0 ? 1 : 0;
  Row.VerMajor = i.VERSION1[0];
  Row.VerMinor1 = i.VERSION1[1];
  Row.VerMinor2 = i.VERSION1[2];
  Row.VerText = i.VERSION2;
  Row.UpdateLock = i.UPDATE_LOCK;
  Row.Gassan = i.GASSANKBN;
  Row.DispName = Row.EntText;
  Row.Cloud = i.CLOUD_SHARE;
}

void TServerSentakuBox::CheckServerRow(TDataListRec& Row) {
  if (FileExists(PathJoin(NativePath(Row.PasName), DataFile))) {
    ListCtl->UpdateServerDataListRecord(Row, 1, true);
    return;
  }
  if (Row.EntText.empty()) return;
  // The data set has gone: the row becomes an empty area under its name. A
  // child keeps its place under its parent.
  const TDataListRec keep = Row;
  FillServerRow(Row, true);
  Row.Rec = keep.Rec;
  Row.PasName = keep.PasName;
  Row.EntText = Row.DispName = keep.EntText;
  if (keep.Gassan == kGassanChild) {
    Row.RowNo = keep.RowNo;
    Row.Gassan = kGassanChild;
  }
  ListCtl->UpdateServerDataListRecord(Row, 1, true);
}

void TServerSentakuBox::UpdateServerRow(TDataListRec& Row) {
  const std::string folder = NativePath(Row.PasName);
  const bool written = Row.Gassan == kGassanChild ? ListCtl->UpdateServerDataListChildRecord(Row, 1, true)
                                                   : ListCtl->UpdateServerDataListRecord(Row, 1, true);
  // The settings file is written only into an area that is still there.
  if (!written || !DirectoryExists(folder)) return;
  DataInfo->WriteIniValue(folder, kSectionDataInfo, false, Row.EntText, "DATALISTNAME");
  DataInfo->WriteIniValue(folder, kSectionDataSts, false, Row.UpdateLock, "UPDATE_LOCK");
}

std::uint8_t TServerSentakuBox::GetShareStatus(const std::string& Folder) {
  TDataInfomationRec info;
  DataInfo->ReadInfo(NativePath(Folder), info);
  return info.SHARE_STATUS;
}

bool TServerSentakuBox::SetShareStatusIfChanged(const std::string& Folder, std::uint8_t Status) {
  return DataInfo->ChangeShareStatus(NativePath(Folder), Status) == 1;
}

void TServerSentakuBox::CancelCopy() {
  if (CopyPending && !CopySourceFolder.empty()) DataInfo->SetStatus(NativePath(CopySourceFolder), dsFree);
  CopyPending = false;
  CopySourceFolder.clear();
  CopySourceIndex = -1;
}
