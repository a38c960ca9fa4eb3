// The data-selection dialog's toolbar: automatic shared-server option, list
// refresh, search reset and the data place of the client modes.
#include <QCheckBox>
#include <QComboBox>

#include "core/globals.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datadetail.h"
#include "dataselect/datakensakubox.h"
#include "dataselect/datasentakucmds.h"
#include "dataselect/serverfetch.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/rtl/sysutils.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

namespace {

const char* const kNotResponding = "データリストが応答状態ではないので処理は行えません。";

bool ListResponds(const TDataSentakuBox& Box) {
  if (Box.PerfectGrid1->isEnabled()) return true;
  ShowSentakuBox(kMsgInformation, kNotResponding, MsgButtons({mbOK}));
  return false;
}

}  // namespace

void TDataSentakuBox::ShowProgress(const std::string& Caption, const std::string& Line, bool Cancel) {
  xAnimeProgressDialog1->SetCaption(Caption);
  xAnimeProgressDialog1->SetInfoLabel(Line);
  xAnimeProgressDialog1->SetAviFile(SystemDef.ExeDir + "/progress.avi");
  xAnimeProgressDialog1->SetCancelBtnShow(Cancel);
  xAnimeProgressDialog1->Cancelled = false;
  xAnimeProgressDialog1->Show(this);
}

void TDataSentakuBox::EndTransfer() {
  raise();
  activateWindow();
  xAnimeProgressDialog1->Close();
}

void TDataSentakuBox::cboxKyoyuDataAutoClick() {
  SystemDef.KyoyuDataAuto = cboxKyoyuDataAuto->isChecked() ? 1 : 0;
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}

void TDataSentakuBox::btnListUpdateClick() {
  if (!ListResponds(*this)) return;
  if (ShowSentakuBox(kMsgConfirmation, "データリストの更新を行います。\rよろしいですか？", MsgButtons({mbYes, mbNo})) != mrYes)
    return;
  ShowProgress("更新中", "データリストの更新中…", true);
  DataListRefresh(-1);
  xAnimeProgressDialog1->Close();
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}

void TDataSentakuBox::btnSearchClick(bool Cancel) {
  if (Cancel) {
    ClearKensakuFilters(ActiveJyoken);
    ReloadList();
    FillGrid(-1);
    btnSearchCancel->setEnabled(false);
    btnSearchTag = 0;
    UpdateKeyBar();
    return;
  }
  if (!SearchBox) SearchBox = std::make_unique<TDataListKensakuBox>(this);
  SearchBox->ListType = 0;
  SearchBox->Jyoken = StoredJyoken;
  SearchBox->Prepare(0);
  if (SearchBox->ShowModal() != mrOk) return;
  StoredJyoken = SearchBox->Jyoken;
  KensakuUpdateRecord(StoredJyoken);
  ActiveJyoken = StoredJyoken;
  ReloadList();
  FillGrid(-1);
  btnSearchCancel->setEnabled(true);
  btnSearchTag = 1;
  UpdateKeyBar();
}

void TDataSentakuBox::btnDataInfoClick() {
  if (!ListResponds(*this)) return;
  if (!HasCurrentRow()) return;
  const int row = PerfectGrid1->Row();
  TDataListRec* r = GetRowRecord(row);
  if (!r) return;
  const std::string folder = GetRowDataFolder(row);
  if ((r->Kishu != 0 || r->Kimatu != 0) && r->DataStatus != 1 && DataModuleExists() &&
      DataSetConnection().VerifyData(SystemDef.HostName, folder, 1, 0) == 0) {
    r->DataStatus = 1;
    DataListRefresh(row);
    UpdateKeyBar();
  }
  if (!DetailBox) DetailBox = std::make_unique<TDataSyosaiInfoBox>(this);
  DetailBox->ListRow = r;
  DetailBox->DataFolder = UpperCase(folder);
  DetailBox->ListName = r->EntText;
  DetailBox->UpdateLock = r->UpdateLock;
  DetailBox->ReadOnly = GetShareState(0, row) == 1;
  DetailBox->Origin = 0;
  DetailBox->Prepare(0);
  if (DetailBox->ShowModal() == mrOk) {
    const std::uint8_t status = CheckDataStatus(folder, false, false);
    const bool allowed = status == 1 || (ConnectKind != 0 && status == 2);
    if (allowed) {
      TDataInfomation::ClearDataInfoRec(InfoRec);
      InfoRec.DATALISTNAME = DetailBox->NewListName;
      InfoRec.UPDATE_LOCK = DetailBox->NewUpdateLock;
      DataInfo->UpdateDataInfomation(SystemDef.HostName, folder, InfoRec);
      r->EntText = r->DispName = DetailBox->NewListName;
      r->UpdateLock = DetailBox->NewUpdateLock;
      const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(row, dcIndex));
      if (index < DataList.size()) NumberChildNames(DataList[index]);
      PerfectGrid1->SetCellText(row, dcName, r->DispName);
      PerfectGrid1->SetCellNumber(row, dcUpdate, r->UpdateLock);
      DataInfo->WriteIniValue(folder, kSectionDataInfo, false, r->EntText, "DATALISTNAME");
      DataInfo->WriteIniValue(folder, kSectionDataSts, false, r->UpdateLock, "UPDATE_LOCK");
      UpdateServerBoxRow(*r);
    }
    if (DetailBox->StatusClear == 1) {
      SetDataStatus(folder, 1);
      r->DataLock = 0;
      PerfectGrid1->SetCellPicture(row, dcLockPic, StatePictures[0]);
      PerfectGrid1->SetCellNumber(row, dcLock, 0);
    }
    StoreListRow(*r);
    IsDbUpdatePending(row, true);
    PerfectGrid1CellGotFocus(row, 0);
  }
  if (DetailBox->Rebuilt == 1) {
    r->DataStatus = 0;
    DataListRefresh(row);
    PerfectGrid1->SetRow(row);
  }
  UpdateKeyBar();
}

void TDataSentakuBox::btnKyoyuDataDownClick() {
  if (!HasCurrentRow()) return;
  const TDataListRec* r = GetRowRecord(PerfectGrid1->Row());
  if (!r) return;
  if (r->NetDrive == 0 && !PerfectGrid1->CellText(PerfectGrid1->Row(), dcName).empty()) {
    ShowSentakuBox(kMsgInformation, "選択したフォルダには既にデータが登録されています。\r", MsgButtons({mbYes}));
    return;
  }
  if (r->NetDrive == 1) {
    FetchSharedData(0);
  } else {
    FetchIntoEmptyRow(PerfectGrid1->Row());
  }
  raise();
  UpdateKeyBar();
}

void TDataSentakuBox::btnKyoyuDataUpClick() {
  StoreSharedData(0);
  raise();
  UpdateKeyBar();
}

// Marks the parent row P and its child rows with the share state of a fetch
// (taken) or a store (on the server).
static void MarkShared(TDataSentakuBox& Box, int Parent, bool Taken) {
  TPerfectGrid* g = Box.PerfectGrid1;
  const double index = g->CellNumber(Parent, dcIndex);
  for (int r = Parent; r <= g->Rows() && g->CellNumber(r, dcIndex) == index; ++r) {
    g->SetCellNumber(r, dcShared, Taken ? 1 : 0);
    g->SetCellPicture(r, Box.StateColumn(), Box.StatePictures[Taken ? 0 : 2]);
  }
}

void TDataSentakuBox::EndGridClick() {
  EndTransfer();
  const auto handler = PerfectGrid1->OnCellClick;
  PerfectGrid1->OnCellClick = nullptr;
  if (HasCurrentRow()) PerfectGrid1->SetRow(PerfectGrid1->Row());
  PerfectGrid1->OnCellClick = handler;
}

std::int32_t TDataSentakuBox::FetchSharedData(std::int32_t Auto) {
  if (Auto == 0 &&
      ShowSentakuBox(kMsgConfirmation, "共有データの取得を行います。よろしいですか？", MsgButtons({mbYes, mbNo})) != mrYes)
    return 0;
  if (!HasCurrentRow()) return 0;
  const int row = PerfectGrid1->Row();
  const int parent = GetParentRow(row);
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(parent, dcIndex));
  if (index >= DataList.size()) return 0;
  const std::string folder = GetRowDataFolder(parent);
  ShowProgress("共有データ受信中", "共有データから受信中…", false);
  std::int32_t result = 0;
  try {
    result = KyoyuDataDown(*ListCtl, DataList[index], Auto);
  } catch (...) {
    EndGridClick();
    throw;
  }
  if (result == 1) {
    MarkShared(*this, parent, true);
    DataListRefresh(row);
    if (int again = GridRowOfIndex(static_cast<std::int32_t>(index))) PerfectGrid1->SetRow(again);
  } else {
    DataInfo->SetShareStatus(NativePath(DataList[index].Row.PasName), ssOnServer);
  }
  EndGridClick();
  return result;
}

std::int32_t TDataSentakuBox::StoreSharedData(std::int32_t Auto) {
  if (!HasCurrentRow()) return 0;
  const int row = PerfectGrid1->Row();
  const int parent = GetParentRow(row);
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(parent, dcIndex));
  if (index >= DataList.size()) return 0;
  TDataSentakuRec& entry = DataList[index];
  TDataListRec* r = GetRowRecord(row);
  auto verify = [this](TDataListRec& rec, int gridRow) {
    if (DataModuleExists() && DataSetConnection().VerifyData(SystemDef.HostName, DataFolderPath(rec), 1, 0) != 0) return true;
    rec.DataStatus = 1;
    if (gridRow > 0) DataListRefresh(gridRow);
    return false;
  };
  if (!r || !verify(*r, row)) {
    UpdateKeyBar();
    return 0;
  }
  if (entry.Row.Gassan == 1 || entry.Row.Gassan == 2) {
    bool damaged = entry.Row.DataStatus == 1 || !verify(entry.Row, parent);
    for (std::size_t k = 0; !damaged && k < entry.Children.size(); ++k)
      damaged = entry.Children[k].DataStatus == 1 || !verify(entry.Children[k], 0);
    if (damaged && Auto == 0) {
      TMessage2InfoRec info;
      InitMessage2Info(kMsgInformation, info);
      info.Lines[0].Text = "合算・分散データに破損したデータが存在するため、共有データの保管を中止します。";
      info.Lines[1].Text = "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。";
      info.Lines[2].Text = "ご不明な点がございましたら、お問い合わせ先をご確認の上ご連絡下さい。";
      ShowMessageBox2(info);
      UpdateKeyBar();
      return 0;
    }
  }
  if (Auto == 0 &&
      ShowSentakuBox(kMsgConfirmation, "共有データの保管を行います。よろしいですか？", MsgButtons({mbYes, mbNo})) != mrYes)
    return 0;
  xAnimeProgressDialog1->Close();
  ShowProgress("共有データ送信中", "共有データへ送信中…", false);
  std::int32_t result = 0;
  try {
    result = KyoyuDataUp(*ListCtl, entry, Auto);
  } catch (...) {
    EndGridClick();
    throw;
  }
  if (result == 1) MarkShared(*this, parent, false);
  EndGridClick();
  return result;
}

void TDataSentakuBox::ToggleLock(std::int32_t Row) {
  TDataListRec* r = GetRowRecord(Row);
  if (!r || PerfectGrid1->CellText(Row, dcName).empty()) return;
  const std::string folder = GetRowDataFolder(Row);
  const std::uint8_t status = CheckDataStatus(folder, true, false);
  if (status == 0) return;
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  auto inGroup = [base](std::int32_t op) { return static_cast<std::int32_t>(base > 0 ? op % base : op); };
  auto statusBox = [&](const std::string& caption, const std::string& text) {
    TMessageInfoRec info;
    InitMessageInfo(info);
    info.Kind = 1;
    info.Caption = caption;
    info.Text = text;
    info.Lines = {"【データフォルダ】", "　" + folder, "", "【オペレータ】", "　" + Format("%d", inGroup(InfoRec.OPCODE)), "",
                  "【オペレータ名】", "　" + InfoRec.OPERATOR};
    ShowMessageBox(info);
  };
  if (status > 3) {
    statusBox("選択データの状態", Format("このデータは%sのため処理が行えません。", DataStatusText(status)));
    return;
  }
  std::int32_t lock = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, dcLock));
  if (lock != 0) {
    if (status == 3 && InfoRec.OPCODE == SystemDef.OpCode) {
      SetDataStatus(folder, 1);
      lock = 0;
    } else if (status == 3) {
      statusBox("ロックデータの状態", "このデータは違うオペレータによりロックされているため解除は行えません。");
    }
  } else {
    lock = inGroup(SystemDef.OpCode);
    SetDataStatus(folder, 3);
  }
  PerfectGrid1->SetCellPicture(Row, dcLockPic, StatePictures[lock != 0 ? 1 : 0]);
  PerfectGrid1->SetCellNumber(Row, dcLock, lock);
  r->DataLock = lock;
  StoreListRow(*r);
}
