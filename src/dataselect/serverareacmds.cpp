// The area commands of the shared-server selection dialog: F2 copies one
// area's data set (the copy step marks the source "copying") and pastes it
// onto another area, F4 adds an empty area folder, F5 deletes an area's
// folder. The paste uses the data-selection dialog's copy-and-paste pieces:
// a target nested in its source (or holding it) is refused before anything
// changes, a failed copy is reported and leaves the target's information
// alone, and every exit frees the source and gives the target its status back.
// An area shared through the cloud is copied from the cloud: the copy step
// receives the cloud's copy into the work folder (through the data
// communication that the program installs in CloudShareCalls) and the paste
// copies that work copy, without its cloud-share mark.
#include "core/fileutil.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/cloudcalls.h"
#include "dataselect/cloudshareio.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasetmgmt.h"
#include "dataselect/serversentaku.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/win/paths.h"
#include "ui/inputdlg.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"
#include "ui/progressdialog.h"

namespace {

constexpr std::size_t kMaxAreas = 2000;
const char* const kNestedTarget = "貼付先にコピー元のパスが含まれています。処理を中断します。";

bool IsCombined(std::uint8_t Gassan) { return Gassan == kGassanParent || Gassan == kGassanHonsiten; }

std::string Folder(const TDataListRec& Row) { return ExcludeTrailingPathDelimiter(NativePath(Row.PasName)); }

bool CloudRow(const TDataListRec& Row) { return DataModuleExists() && DataSetConnection().CanUseCloudShare(false) && Row.Cloud == 1; }

void ShowCloudRefusal(const std::string& Reason, const std::string& Outcome) {
  ShowSentakuBox(kMsgWarning, Reason + "\r" + Outcome, MsgButtons({mbOK}));
}

// Receives the cloud's copy of a cloud-shared area into the work folder and
// releases the cloud slot again. The local data set registered for the area
// names the slot. Returns the work folder, or empty when nothing was received
// (the reason shown; the data communication shows its own messages first).
std::string ReceiveCloudCopy(TServerSentakuBox& Box, const TDataListRec& Row) {
  const char* const kStopped = "コピーを中止しました。";
  std::string local;
  Box.ListCtl->GetShareLocalFolder(Row.PasName, Row.Gassan, local);
  if (local.empty()) {
    ShowCloudRefusal("この領域のクラウドシェアデータを受信するデータがデータリストに登録されていません。", kStopped);
    return "";
  }
  if (!CloudShareCalls.CloudShareReceiveToWork || !CloudShareCalls.ReceiveFolder) {
    ShowCloudRefusal("クラウドシェアデータの受信が利用できません。", kStopped);
    return "";
  }
  Box.pnlTop->setEnabled(false);
  Box.pnlBottom->setEnabled(false);
  Box.UpdateKeyBar();
  std::int32_t result = 9;
  std::string work;
  try {
    result = CloudShareCalls.CloudShareReceiveToWork(local, 0);
    if (result == 0) {
      work = CloudShareCalls.ReceiveFolder();
      if (CloudShareCalls.CloudShareRelease) CloudShareCalls.CloudShareRelease(local);
    }
  } catch (const std::exception&) {  // told below as a failed receive
    result = 9;
  }
  Box.pnlTop->setEnabled(true);
  Box.pnlBottom->setEnabled(true);
  Box.UpdateKeyBar();
  if (result != 0) {
    ShowCloudRefusal("クラウドシェアデータを受信できませんでした。", kStopped);
    return "";
  }
  if (work.empty() || !FileExists(PathJoin(work, DataFile))) {
    ShowCloudRefusal("受信したクラウドシェアデータが見つかりません。", kStopped);
    return "";
  }
  return work;
}

// Makes the received work copy ready to be pasted: its cloud-share mark is
// cleared (the pasted area is a data set of its own, not a second holder of
// the cloud slot) and its settings file is written from its database, so
// that the comparison reads the data set that is pasted. False (told) when
// the work copy is missing or cannot be prepared.
bool PrepareWorkCopy(const std::string& Work) {
  const char* const kStopped = "貼り付けを中止しました。";
  if (Work.empty() || !FileExists(PathJoin(Work, DataFile))) {
    ShowCloudRefusal("受信したクラウドシェアデータが見つかりません。", kStopped);
    return false;
  }
  TCloudShareIO cloud;
  if (!cloud.ClearCloudShare(SystemDef.HostName, Work)) {
    ShowCloudRefusal("受信したクラウドシェアデータのクラウドシェア設定を解除できませんでした。", kStopped);
    return false;
  }
  TDataSetConnection& dataSet = DataSetConnection();
  if (dataSet.IBDatabaseDAT.Connected()) dataSet.AccDatDisconnect("", false, false);
  if (!dataSet.fnAccDatConnected(SystemDef.HostName, Work, true)) {
    ShowCloudRefusal("受信したクラウドシェアデータに接続できませんでした。", kStopped);
    return false;
  }
  dataSet.AccDatDisconnect(Work, true, false);
  return true;
}

}  // namespace

std::int32_t TServerSentakuBox::CopyOrPaste() {
  if (!HasCurrentRow()) return 0;
  const std::int32_t row = PerfectGrid1->Row();
  TDataListRec* r = GetRowRecord(row);
  if (!r) return 0;
  const std::string folder = Folder(*r);

  if (!CopyPending) {
    CopyWorkFolder.clear();
    std::string work;
    if (CloudRow(*r)) {
      work = ReceiveCloudCopy(*this, *r);
      if (work.empty()) return 0;
      r = GetRowRecord(row);
      if (!r) return 0;
    }
    if (CheckDataFolder(folder, true, true) != dsFree) return 0;
    CopyWorkFolder = work;
    CopySourceFolder = folder;
    CopySourceRec = *r;
    CopyNewName = CopyNameOf(r->EntText);
    CopySourceIndex = static_cast<std::int32_t>(PerfectGrid1->CellNumber(row, scIndex));
    CopyPending = true;
    DataInfo->SetStatus(folder, dsCopyingJob);
    return 1;
  }

  CopyPending = false;
  std::string source = CopySourceFolder;
  auto endCopy = [this] {
    if (!CopySourceFolder.empty()) DataInfo->SetStatus(CopySourceFolder, dsFree);
    CopySourceFolder.clear();
    CopySourceIndex = -1;
    CopyWorkFolder.clear();
  };
  if (folder == source) {
    endCopy();
    return 0;
  }
  if (CloudRow(*r)) {
    ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため貼り付け処理は行えません。", MsgButtons({mbOK}));
    endCopy();
    return 0;
  }
  // A target inside the source would copy the source into itself; a source
  // inside the target would lose its folder with the target's children.
  if (NestedFolders(folder, source)) {
    ShowSentakuBox(kMsgWarning, kNestedTarget, MsgButtons({mbOK}));
    endCopy();
    return 0;
  }
  const std::uint8_t status = CheckDataFolder(folder, false, true);
  if (status != dsFree && status != dsDamaged) {
    endCopy();
    return 0;
  }
  // A cloud-shared source pastes the copy received at the copy step.
  if (CloudRow(CopySourceRec)) {
    if (!PrepareWorkCopy(CopyWorkFolder)) {
      endCopy();
      return 0;
    }
    source = CopyWorkFolder;
  }
  const bool hadData = FileExists(PathJoin(folder, DataFile));
  TxAnimeProgressDialog& progress = *xAnimeProgressDialog1;
  progress.SetCaption("コピー中");
  progress.SetInfoLabel("データのコピー中…");
  progress.SetAviFile(PathJoin(SystemDef.ExeDir, "progress.avi"));
  progress.SetCancelBtnShow(false);
  progress.Show(this);
  std::int32_t result = 0;
  bool targetMarked = false;
  try {
    bool go;
    if (status == dsDamaged) {
      progress.Close();
      go = ShowSentakuBox(kMsgConfirmation,
                          "このデータは破損データのため、データ間の照合チェックは行わずにコピーを行います。\rよろしいですか？",
                          MsgButtons({mbOK, mbCancel})) == mrOk;
    } else {
      go = ComparePaste("貼り付け", source, folder) == 1;
    }
    if (go) {
      DataInfo->SetStatus(folder, dsCopying);
      targetMarked = true;
      r = GetRowRecord(row);
      const TDataListRec target = r ? *r : TDataListRec{};
      if (IsCombined(target.Gassan)) RemoveChildRows(row, true);
      if (!CopyDataFiles(source, folder, target.Gassan == kGassanChild)) {
        if (progress.Running) progress.Close();
        ShowSentakuBox(kMsgWarning, "データのコピーに失敗しました。", MsgButtons({mbYes}));
        result = -1;
      } else {
        DataInfo->SetStatus(folder, dsFree);
        targetMarked = false;
        TDataInfomationRec info;
        DataInfo->ReadInfo(folder, info);
        info.SHOUGOU = CopySourceRec.Shougou;
        info.CODE = CopySourceRec.DataCode;
        info.DATALISTNAME = CopyNewName;
        info.UPDATE_LOCK = static_cast<std::uint8_t>(CopySourceRec.UpdateLock);
        info.GASSANKBN = CopySourceRec.Gassan;
        DataInfo->WriteIniFile(folder, kSectionDataInfo, info);
        DataInfo->SetShareStatus(folder, 1);
        r = GetRowRecord(row);
        if (r) {
          InfoRec = info;
          FillServerRow(*r, false);
          r->DataStatus = 0;
          FillGridRow(row, *r);
          CheckServerRow(*r);
          CopyChildRows(row);
        }
        const std::string shown = folder;
        FillGrid();
        for (int g = 1; g <= PerfectGrid1->Rows(); ++g)
          if (SameText(PerfectGrid1->CellText(g, scFolder), shown)) {
            PerfectGrid1->SetRow(g);
            break;
          }
        result = 1;
      }
    }
  } catch (const std::exception& e) {
    if (progress.Running) progress.Close();
    ShowSentakuBox(kMsgWarning, std::string("データのコピーに失敗しました。\r") + e.what(), MsgButtons({mbYes}));
    result = -1;
  }
  // A target left marked by a failure gets back what it had.
  if (targetMarked) DataInfo->SetStatus(folder, hadData ? status : static_cast<std::uint8_t>(dsFree));
  if (progress.Running) progress.Close();
  endCopy();
  show();
  raise();
  return result;
}

std::int32_t TServerSentakuBox::ComparePaste(const std::string& OpName, const std::string& Source,
                                             const std::string& Target) {
  if (Source.empty()) {
    ShowSentakuBox(kMsgWarning, Format("%s処理元のデータパスが不正です。", OpName) + "\r", MsgButtons({mbYes}));
    return 0;
  }
  if (Target.empty()) {
    ShowSentakuBox(kMsgWarning, Format("%s処理先のデータパスが不正です。", OpName) + "\r", MsgButtons({mbYes}));
    return 0;
  }
  if (!DirectoryExists(Target)) {
    ForceFolder(Target);
    return 1;
  }
  if (!FileExists(PathJoin(Target, DataFile))) return 1;
  TDataInfomationRec source, target;
  DataInfo->ReadInfo(Source, source);
  DataInfo->ReadInfo(Target, target);
  return CompareDataInfo(xAnimeProgressDialog1, OpName, source, target) ? 1 : 0;
}

void TServerSentakuBox::CopyChildRows(std::int32_t TargetRow) {
  const TDataListRec* t = GetRowRecord(TargetRow);
  if (!t || t->Gassan == kGassanChild) return;
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(TargetRow, scIndex));
  if (index >= DataList.size()) return;
  TDataSentakuRec& target = DataList[index];
  if (!IsCombined(CopySourceRec.Gassan) || CopySourceIndex < 0 ||
      CopySourceIndex >= static_cast<std::int32_t>(DataList.size())) {
    target.Children.clear();
    target.ChildCount = 0;
    return;
  }
  const TDataSentakuRec source = DataList[static_cast<std::size_t>(CopySourceIndex)];
  CopyChildList(source, target, [this](TDataListRec& c) { ListCtl->UpdateServerDataListChildRecord(c, 1, true); });
}

void TServerSentakuBox::RemoveChildRows(std::int32_t TargetRow, bool All) {
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(TargetRow, scIndex));
  if (index >= DataList.size()) return;
  TDataSentakuRec& entry = DataList[index];
  if (!All) {
    const auto child = static_cast<std::size_t>(PerfectGrid1->CellNumber(TargetRow, scChild));
    if (child < entry.Children.size()) entry.Children.erase(entry.Children.begin() + static_cast<std::ptrdiff_t>(child));
    entry.ChildCount = static_cast<std::int32_t>(entry.Children.size());
    return;
  }
  const TDataListArray children = entry.Children;
  entry.Children.clear();
  entry.ChildCount = 0;
  if (!IsCombined(entry.Row.Gassan)) return;
  for (const TDataListRec& c : children) ListCtl->DeleteServerDataListChildRecord(c, true);
  std::vector<std::string> folders;
  GetSubFolderList(Folder(entry.Row), 0, folders);
  for (const std::string& f : folders) ServerFiles().ServerRmDir(f, false, static_cast<std::uint8_t>(ConnectKind));
}

std::int32_t TServerSentakuBox::AddArea() {
  if (ShareRoot.empty()) return 0;
  if (DataList.size() >= kMaxAreas) {
    ShowSentakuBox(kMsgWarning, Format("これ以上の領域追加は行えません。(最大%d件)", static_cast<int>(kMaxAreas)),
                   MsgButtons({mbYes}));
    return 0;
  }
  if (!InputDlg) {
    InputDlg = new TInputDlgBox(this);
    InputDlg->KeepOnClose = true;
  }
  TInputDlgBox& in = *InputDlg;
  std::string proposed;
  ListCtl->NextServerFolderName(ShareRoot, 1, proposed);
  in.InputMode = 0;
  in.CaptionText = "データの領域追加";
  in.MessageText = "新しく作成するフォルダ名を入力して下さい。";
  in.MessageColor = clWindowText;
  in.InputText = proposed;
  in.InputMaxLength = 10;
  in.InputImeMode = imDisable;
  in.Required = false;
  in.SetInputFilter(40);
  in.HintText = "ﾌｫﾙﾀﾞ名を指定して［OK］するとﾃﾞｰﾀ領域が追加されます。|ﾌｫﾙﾀﾞ名を指定して［OK］するとﾃﾞｰﾀ領域が追加されます。";
  in.Prepare(true);
  if (in.ShowModal() != mrOk) return 0;
  // The folder is created under the lower-cased name, so the name shown is the name on disk.
  const std::string name = Trim(LowerCase(in.InputText));
  if (name.empty()) return 0;
  const std::string folder = PathJoin(ShareRoot, name);
  if (DirectoryExists(folder)) {
    ShowSentakuBox(kMsgWarning, "\"" + folder + "\"は既に作成されています。", MsgButtons({mbYes}));
    return 0;
  }
  bool made = false;
  try {
    made = ForceFolder(folder);
  } catch (...) {
    made = false;
  }
  if (!made) {
    ShowSentakuBox(kMsgWarning, "\"" + folder + "\"の作成に失敗しました。", MsgButtons({mbYes}));
    return 0;
  }
  TDataListRec row;
  FillServerRow(row, true);
  row.EntText = row.DispName = kAreaNew;
  row.PasName = folder;
  CheckServerRow(row);
  LoadList(false);
  FillGrid();
  for (int g = 1; g <= PerfectGrid1->Rows(); ++g)
    if (SameText(PerfectGrid1->CellText(g, scFolder), folder)) {
      PerfectGrid1->SetRow(g);
      break;
    }
  PerfectGrid1->setFocus();
  return 1;
}

std::int32_t TServerSentakuBox::DeleteArea(bool ShowFailure) {
  if (!HasCurrentRow()) return 0;
  const std::int32_t row = PerfectGrid1->Row();
  const TDataListRec* r = GetRowRecord(row);
  if (!r || r->Gassan == kGassanChild) return 0;
  if (CloudRow(*r)) {
    ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため削除処理は行えません。", MsgButtons({mbOK}));
    return 0;
  }
  const std::string folder = Folder(*r);
  const std::uint8_t status = CheckDataFolder(folder, false, true);
  if (status != dsFree && status != dsDamaged) return 0;
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 2;
  info.Caption = "データの削除";
  info.TextColor = 255;
  info.Text = "選択中のデータを削除します。";
  info.Lines = {"【データ名】", "　" + PerfectGrid1->CellText(row, scName), "",
                "【会計期間】", "　" + PerfectGrid1->CellText(row, scKikan), "",
                "【データフォルダ】", "　" + folder};
  info.AgreeCaption = "データの削除に同意します";
  if (ShowMessageBox(info) != mrOk) return 0;
  const bool deleted = ShellDeleteOrRename(folder, 3, false, false);
  FullRefresh();
  if (!deleted && ShowFailure)
    ShowSentakuBox(kMsgError, "データの削除に失敗しました。\r削除処理を中止しました。", MsgButtons({mbYes}));
  return deleted ? 1 : -1;
}
