// The smaller management commands of the data-selection dialog: a new empty
// data area in the client modes, the release of a shared-server data set from
// its local row, the deletion of a data set, and a new distributed-input
// child of a combined data set.
#include <stdexcept>

#include "core/globals.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dataselect/datasetmgmt.h"
#include "dataselect/gassandata.h"
#include "dataselect/serversentaku.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/win/paths.h"
#include "ui/inputdlg.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"

namespace {

constexpr std::int32_t kMaxAreas = 2000;
constexpr std::int32_t kMaxChildren = 99;

bool IsCombined(std::uint8_t Gassan) { return Gassan == kGassanParent || Gassan == kGassanHonsiten; }

// The active row of the grid, or -1.
std::int32_t ActiveRow(TDataSentakuBox& Box) {
  if (!Box.HasCurrentRow()) return -1;
  const std::int32_t row = Box.PerfectGrid1->Row();
  return row < 0 || row == 32700 ? -1 : row;
}

std::size_t IndexOfRow(TDataSentakuBox& Box, std::int32_t Row) {
  return static_cast<std::size_t>(Box.PerfectGrid1->CellNumber(Row, dcIndex));
}

// The lines name, period and folder of a grid row for the agreement boxes.
std::vector<std::string> RowLines(TDataSentakuBox& Box, std::int32_t Row, const std::string& FolderTitle) {
  return {"【データ名】", "　" + Box.PerfectGrid1->CellText(Row, dcName), "",
          "【会計期間】", "　" + Box.PerfectGrid1->CellText(Row, dcKikan), "",
          FolderTitle, "　" + Box.PerfectGrid1->CellText(Row, dcFolder)};
}

TGassanDataCtl& GassanCtl(TDataSentakuBox& Box) {
  if (!Box.GassanCtl) Box.GassanCtl = std::make_unique<TGassanDataCtl>();
  return *Box.GassanCtl;
}

}  // namespace

std::int32_t AddArea(TDataSentakuBox& Box) {
  if (static_cast<std::int32_t>(Box.DataList.size()) >= kMaxAreas) {
    ShowSentakuBox(kMsgWarning, Format("これ以上の領域追加は行えません。(最大%d件)", kMaxAreas), MsgButtons({mbYes}));
    return 0;
  }
  if (!Box.InputDlg) {
    Box.InputDlg = new TInputDlgBox(&Box);
    Box.InputDlg->KeepOnClose = true;
  }
  TInputDlgBox& in = *Box.InputDlg;
  in.InputMode = 0;
  in.CaptionText = "データの領域追加";
  in.MessageText = "新しく作成するフォルダ名を入力して下さい。";
  in.MessageColor = clWindowText;
  in.InputText = Format("%.4d", Box.ListCtl->GetDataFolderName(1));
  in.InputMaxLength = 8;
  in.InputImeMode = imDisable;
  in.Required = false;
  in.SetInputFilter(40);
  in.HintText = "新しく作成するフォルダ名を入力します。";
  in.Prepare(true);
  if (in.ShowModal() != mrOk) return 0;
  const std::string name = TrimZen(in.InputText);
  if (name.empty()) return 0;
  const std::string path = PathJoin(Box.DataPlacePath, name);
  if (Box.ListCtl->IsDataPathToroku(path)) {
    ShowSentakuBox(kMsgWarning, Format("\"%s\"は既にデータリスト上に作成されています。\r", path), MsgButtons({mbYes}));
    return 0;
  }
  if (ServerFiles().ServerDExist(path, ConnectKind)) {
    ShowSentakuBox(kMsgWarning, Format("\"%s\"に会計データが作成されています。\r", path), MsgButtons({mbYes}));
    return 0;
  }
  TDataSentakuRec entry;
  Box.FillListRow(entry.Row, true);
  entry.Row.EntText.clear();
  entry.Row.DispName.clear();
  entry.Row.PasName = path;
  if (!Box.ListCtl->InsertDataListRecord(entry.Row, true)) return -1;
  Box.DataList.push_back(entry);
  Box.DataListReload(Box.PerfectGrid1->TopRow(), entry.Row);
  Box.PerfectGrid1->setFocus();
  return 1;
}

std::int32_t ReleaseArea(TDataSentakuBox& Box) {
  const std::int32_t row = ActiveRow(Box);
  TDataListRec* r = row < 0 ? nullptr : Box.GetRowRecord(row);
  if (!r || !DataModuleExists()) return 0;
  const std::string shared = r->PasName;
  const std::int32_t taken = r->KyoyuLock;
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 0;
  info.Caption = "共有データの割当解除";
  info.TextColor = 255;
  info.Text = "選択した共有データの割り当てを解除します。\rよろしいですか？";
  info.Lines = RowLines(Box, row, "【共有データフォルダ】");
  if (ShowMessageBox(info) != mrOk) return 0;
  const std::string local = Box.GetRowDataFolder(row);
  r = Box.GetRowRecord(row);
  if (!r) return 0;
  r->PasName = local;
  r->NetDrive = 0;
  r->KyoyuLock = 0;
  const bool removed = ServerFiles().ServerRmDir(local, false, ConnectKind);
  if (removed && taken == 1) {
    if (!Box.ServerBox) Box.ServerBox = new TServerSentakuBox(&Box);
    Box.ServerBox->SetShareStatusIfChanged(shared, 1);
  }
  Box.DataListRefresh(row);
  return removed ? 1 : -1;
}

std::int32_t DeleteData(TDataSentakuBox& Box) { return DeleteDataRow(Box, true); }

std::int32_t DeleteDataRow(TDataSentakuBox& Box, bool ShowError) {
  const std::int32_t row = ActiveRow(Box);
  TDataListRec* r = row < 0 ? nullptr : Box.GetRowRecord(row);
  if (!r || !DataModuleExists()) return 0;
  const std::size_t index = IndexOfRow(Box, row);
  if (index >= Box.DataList.size()) return 0;
  const std::string folder = Box.GetRowDataFolder(row);
  const bool damaged = r->DataStatus == 1;
  if (damaged) {
    DataSetConnection().AccDatDisconnect(folder, false, false);
  } else {
    if (DataSetConnection().VerifyData(SystemDef.HostName, folder, 1, 0) == 0) {
      r->DataStatus = 1;
      Box.DataListRefresh(row);
      Box.UpdateKeyBar();
      return 0;
    }
    if (IsCombined(r->Gassan))
      for (const TDataListRec& c : Box.DataList[index].Children)
        if (c.DataStatus == 1) {
          ShowSentakuBox(kMsgInformation,
                         "合算・分散データに破損したデータが存在するため、データの削除を中止します。\r"
                         "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。\r"
                         "ご不明な点がございましたら、お問い合わせ先をご確認の上ご連絡下さい。",
                         MsgButtons({mbOK}));
          Box.CopyPending = false;
          Box.UpdateKeyBar();
          return 0;
        }
    if (r->NetDrive == 1 && r->Gassan != kGassanChild) {
      ShowSentakuBox(kMsgInformation,
                     "共有データの削除は行えません。\r[F4:割当解除]後に「共有データの選択」ウィンドウを表示して削除を行って下さい。",
                     MsgButtons({mbOK}));
      return 0;
    }
    if (DataSetConnection().CanUseCloudShare(false) && r->Cloud == 1) {
      ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため削除処理は行えません。", MsgButtons({mbOK}));
      return 0;
    }
    if (LowerCase(ExcludeTrailingPathDelimiter(folder)) == LowerCase(ExcludeTrailingPathDelimiter(SystemDef.DataDir))) {
      ShowSentakuBox(kMsgInformation,
                     Box.SyoriType == 2 ? "このデータは現在選択中のデータのため削除は行えません。"
                                        : "このデータは前回起動データのため削除は行えません。",
                     MsgButtons({mbOK}));
      return 0;
    }
    const std::uint8_t status = Box.CheckDataStatus(folder, true, true);
    if (ServerConnection() && status == dsInUse) {
      ShowSentakuBox(kMsgInformation, "このデータは他のオペレータが使用中のため削除は行えません。", MsgButtons({mbOK}));
      return 0;
    }
    if (status != dsFree || !Box.DataInfo->IsDataSiyouKengen(folder)) return 0;
  }
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 2;
  info.Caption = "データの削除";
  info.TextColor = 255;
  info.Text = "選択したデータを削除します。";
  info.Lines = RowLines(Box, row, "【データフォルダ】");
  info.AgreeCaption = "データの削除に同意します";
  if (ShowMessageBox(info) != mrOk) return 0;

  r = Box.GetRowRecord(row);
  if (!r) return 0;
  r->DataStatus = 0;
  const TDataListRec deleted = *r;
  const TDataListRec parent = Box.DataList[index].Row;
  const std::int32_t childCount = Box.DataList[index].ChildCount;
  if (!ServerConnection()) {
    ServerFiles().ServerRmDir(folder, false, ConnectKind);
    if (deleted.Gassan == kGassanChild && IsCombined(parent.Gassan)) {
      TGassanDataCtl& ctl = GassanCtl(Box);
      ctl.SetParentFolder(parent.DataFolder.empty() ? DataFolderPath(parent) : parent.DataFolder);
      ctl.SetParentRec(parent.Rec);
      ctl.SetActive(true);
      ctl.SetGassanSettings(parent.Gassan, std::max(0, childCount - 1));
    }
  } else {
    if (!damaged) DataSetConnection().AccDatDropDatabase(SystemDef.HostName, folder);
    ServerFiles().ServerRmDir(folder, false, ConnectKind);
  }
  const bool listed = Box.ListCtl->DeleteDataListRecord(deleted, ShowError);
  if (IsCombined(deleted.Gassan)) Box.RemoveChildData(row, true);
  Box.DataListRefresh(row);
  if (!listed && ShowError) {
    ShowSentakuBox(kMsgError, "データの削除に失敗しました。\r", MsgButtons({mbYes}));
    return -1;
  }
  if (ServerConnection() || deleted.Gassan == kGassanChild) {
    Box.DataListReload(Box.PerfectGrid1->TopRow(), deleted);
    Box.PerfectGrid1->setFocus();
  }
  return listed ? 1 : -1;
}

std::int32_t AddChildData(TDataSentakuBox& Box) {
  const std::int32_t row = ActiveRow(Box);
  TDataListRec* r = row < 0 ? nullptr : Box.GetRowRecord(row);
  if (!r || !DataModuleExists() || !IsCombined(r->Gassan)) return 0;
  const std::size_t index = IndexOfRow(Box, row);
  if (index >= Box.DataList.size()) return 0;
  if (Box.DataList[index].ChildCount >= kMaxChildren) {
    ShowSentakuBox(kMsgInformation, "これ以上の分散データの追加は行えません。(最大99件)\r", MsgButtons({mbOK}));
    return 0;
  }
  if (ShowSentakuBox(kMsgConfirmation, "分散入力用のデータを追加します。\rよろしいですか？", MsgButtons({mbYes, mbNo})) !=
      mrYes)
    return 0;
  TGassanDataCtl& ctl = GassanCtl(Box);
  ShowJobProgress(Box, "分散データの追加", "分散データの作成中…");
  const std::string folder = Box.GetRowDataFolder(row);
  bool created = false;
  try {
    ctl.SetParentFolder(folder);
    ctl.SetParentRec(r->Rec);
    ctl.SetActive(true);
    created = ctl.CreateChildData("");
    // The parent counts a child only once it exists.
    if (created) {
      TDataSentakuRec& entry = Box.DataList[index];
      ctl.SetGassanSettings(entry.Row.Gassan, entry.ChildCount + 1);
      Box.ListCtl->GetDataListChildRecord(entry, true);
    }
  } catch (const std::exception& e) {
    CloseJobProgress(Box);
    ShowSentakuBox(kMsgWarning, e.what(), MsgButtons({mbOK}));
  }
  Box.DataListRefresh(row);
  DataSetConnection().AccDatDisconnect(folder, false, false);
  Box.raise();
  CloseJobProgress(Box);
  Box.show();
  return created ? 1 : -1;
}
