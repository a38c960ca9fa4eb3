// The data-selection dialog's list: loading, filtering, sorting, drawing,
// keeping list rows in step, selecting the current data on show and the
// incremental search.
#include <QComboBox>
#include <QCheckBox>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimer>

#include <stdexcept>

#include "core/globals.h"
#include "core/settings.h"
#include "core/textutil.h"
#include "dbaccess/datasetconnection.h"
#include "ui/plbutton.h"
#include "dataselect/datasentaku.h"
#include "dataselect/incsearch.h"
#include "dataselect/listdialogparts.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/xedit.h"

namespace {

constexpr Qt::Alignment kL = kListLeft;
constexpr Qt::Alignment kR = kListRight;
constexpr Qt::Alignment kC = kListCentre;

const TListColumn kColumns[dcColumnCount] = {
    {"No", 40, kR, TPerfectGrid::ckNumber},          {"コード", 70, kL, TPerfectGrid::ckText},
    {"ｸﾗｳﾄﾞ", 40, kC, TPerfectGrid::ckPicture},      {"データ名  ", 0, kL, TPerfectGrid::ckText},
    {"会計年度", 80, kC, TPerfectGrid::ckText},       {"会計期間", 180, kC, TPerfectGrid::ckText},
    {"データフォルダ", 200, kL, TPerfectGrid::ckText}, {"バージョン", 90, kC, TPerfectGrid::ckText},
    {"鍵", 0, kC, TPerfectGrid::ckPicture},          {"共有", 0, kC, TPerfectGrid::ckPicture},
    {"鍵", 0, kR, TPerfectGrid::ckNumber},           {"共有", 0, kR, TPerfectGrid::ckNumber},
    {"バージョン", 0, kL, TPerfectGrid::ckText},      {"データ更新", 0, kR, TPerfectGrid::ckNumber},
    {"合算区分", 0, kR, TPerfectGrid::ckNumber},      {"", 0, kR, TPerfectGrid::ckNumber},
    {"", 0, kR, TPerfectGrid::ckNumber},             {"データステータス", 0, kR, TPerfectGrid::ckNumber},
    {"ｸﾗｳﾄﾞ", 0, kR, TPerfectGrid::ckNumber},
};

// Every occurrence of Root in Path (ignoring case) replaced by "~".
std::string TildePath(const std::string& Path) {
  const std::string& root = SystemDef.DataRoot;
  if (root.empty()) return Path;
  const std::string upper = UpperCase(Path), upperRoot = UpperCase(root);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = upper.find(upperRoot, from)) != std::string::npos; from = at + root.size())
    out += Path.substr(from, at - from) + "~";
  return out + Path.substr(from);
}


}  // namespace

void TDataSentakuBox::SetUpColumns() {
  TPerfectGrid* g = PerfectGrid1;
  SetUpListColumns(*g, kColumns);
  const bool client = ConnectKind != 0;
  g->SetColumnWidth(dcLockPic, client ? 32 : 0);
  g->SetColumnWidth(dcSharePic, client ? 0 : 32);
  g->SetColumnHeader(dcSharePic, client ? "" : "共有");
  g->SetColumnHeader(dcLockPic, client ? "鍵" : "");
  const bool cloud = DataModuleExists() && DataSetConnection().CanUseCloudShare(false);
  if (!cloud) btnCloudShare->hide();
  g->SetColumnWidth(dcCloud, cloud ? 40 : 0);
  g->SetColumnWidth(dcName, 280 - g->ColumnWidth(dcCloud) - 32);
}

void TDataSentakuBox::LoadDataList() {
  LoadHints();
  if (ConnectKind != 0) FillPlaceList();
  StoredJyoken.LISTTYPE = 0;
  KensakuSelectRecord(StoredJyoken);
  ActiveJyoken = StoredJyoken;
  if (ActiveJyoken.JYOKENUSE == 0) ClearKensakuFilters(ActiveJyoken);
  btnSearchTag = 0;
  if (CallerJyokenOn) {
    CallerJyoken.SORTCOL = StoredJyoken.SORTCOL;
    CallerJyoken.SORTTYPE = StoredJyoken.SORTTYPE;
    ActiveJyoken = CallerJyoken;
    btnSearchTag = 1;
  }
  btnSearchCancel->setEnabled(ActiveJyoken.JYOKENUSE == 1);
  SortCol = ActiveJyoken.SORTCOL;
  SortDesc = ActiveJyoken.SORTTYPE == 1;
  if (ReloadList() == 0) return;
  FillGrid(-1);
  {
    const QSignalBlocker block(cboxKyoyuDataAuto);
    cboxKyoyuDataAuto->setChecked(SystemDef.KyoyuDataAuto == 1);
  }
  ShowTimeDataDir = SystemDef.DataDir;
  CancelFlag = false;
}

std::int32_t TDataSentakuBox::ReloadList() {
  ListCtl->ConnectKind = ConnectKind;
  ListCtl->SetDataPlace(ConnectKind == 0 ? 0 : DataPlace);
  ListCtl->Execute(0, ListSortKindOf(SortCol), SortDesc, "");
  DataList = ListCtl->List;
  FilterList();
  return static_cast<std::int32_t>(DataList.size());
}

void TDataSentakuBox::FilterList() {
  DispList.clear();
  for (std::size_t i = 0; i < DataList.size(); ++i)
    if (KensakuPasses(ActiveJyoken, DataList[i].Row)) DispList.push_back(static_cast<std::int32_t>(i));
}

int TDataSentakuBox::GridRowOfIndex(std::int32_t Index) const {
  for (int r = 1; r <= PerfectGrid1->Rows(); ++r)
    if (PerfectGrid1->CellNumber(r, dcIndex) == Index && PerfectGrid1->CellNumber(r, dcChild) == 0 &&
        PerfectGrid1->CellNumber(r, dcGassan) != static_cast<double>(kGassanChild))
      return r;
  return 0;
}

void TDataSentakuBox::FillGrid(std::int32_t Pos) {
  TPerfectGrid* g = PerfectGrid1;
  if (Pos < 0) {
    g->ClearRows();
    for (int c : {0, 1, 3, 4, 5, 6, 7}) g->SetColumnHeader(c, kColumns[c].header);
    const int sortCol = SortCol < 0 ? 0 : SortCol;
    g->SetColumnHeader(sortCol, std::string(kColumns[sortCol].header) + SortMarks[SortDesc ? 1 : 0]);
    g->SetColumnHeader(StateColumn(), ConnectKind == 0 ? "共有" : "鍵");
    for (std::size_t i = 0; i < DispList.size(); ++i) {
      const int row = g->InsertRow(g->Rows() + 1);
      g->SetCellNumber(row, dcIndex, DispList[i]);
      FillGrid(static_cast<std::int32_t>(i));
    }
    if (g->Rows() > 0) {
      g->SetRow(1);
      g->SetCol(0);
    }
    return;
  }
  if (Pos >= static_cast<std::int32_t>(DispList.size())) return;
  const std::int32_t index = DispList[static_cast<std::size_t>(Pos)];
  TDataSentakuRec& entry = DataList[static_cast<std::size_t>(index)];
  if (entry.Row.Gassan > 2) return;
  const int row = GridRowOfIndex(index);
  if (row == 0) return;
  auto statePicture = [this, g](int r, std::int32_t share) {
    g->SetCellNumber(r, dcShared, share == 2 ? 1 : 0);
    if (ConnectKind == 0) g->SetCellPicture(r, dcSharePic, StatePictures[share == 1 ? 2 : 0]);
  };
  FillGridRow(row, entry.Row);
  g->SetCellNumber(row, dcIndex, index);
  g->SetCellNumber(row, dcChild, 0);
  statePicture(row, GetShareState(1, index));
  while (row + 1 <= g->Rows() && g->CellNumber(row + 1, dcIndex) == index &&
         g->CellNumber(row + 1, dcGassan) == static_cast<double>(kGassanChild))
    g->DeleteRow(row + 1);
  NumberChildNames(entry);
  for (std::size_t k = 0; k < entry.Children.size(); ++k) {
    const int childRow = g->InsertRow(row + 1 + static_cast<int>(k));
    FillGridRow(childRow, entry.Children[k]);
    g->SetCellText(childRow, dcNo, "");
    g->SetCellNumber(childRow, dcIndex, index);
    g->SetCellNumber(childRow, dcChild, static_cast<double>(k));
    g->SetRowParent(childRow, row);
    statePicture(childRow, GetShareState(1, index));
  }
}

void TDataSentakuBox::FillGridRow(std::int32_t Row, const TDataListRec& Rec) {
  TPerfectGrid* g = PerfectGrid1;
  g->SetRowValue(Row, Rec.Rec);
  g->SetCellNumber(Row, dcNo, Rec.Rec);
  g->SetCellText(Row, dcCode, Rec.DataCode);
  g->SetCellPicture(Row, dcCloud, CloudPictures[Rec.Cloud == 1 ? 1 : 0]);
  g->SetCellText(Row, dcName, Rec.DispName);
  const bool named = !IsEmptyArea(Rec.EntText);
  g->SetCellText(Row, dcNendo, named ? Format("%d 期", Rec.Nendo) : "");
  g->SetCellText(Row, dcKikan, named ? Rec.KikanText : "～");
  g->SetCellText(Row, dcFolder, TildePath(Rec.PasName));
  g->SetCellText(Row, dcVersion, Rec.VerText);
  g->SetCellPicture(Row, dcLockPic, StatePictures[Rec.DataLock != 0 ? 1 : 0]);
  g->SetCellNumber(Row, dcLock, Rec.DataLock);
  g->SetCellText(Row, dcVerText,
                 Rec.VerMajor == 0 && Rec.VerMinor1 == 0 && Rec.VerMinor2 == 0 && !named
                     ? ""
                     : Format("%d.%d.%d", Rec.VerMajor, Rec.VerMinor1, Rec.VerMinor2));
  g->SetCellNumber(Row, dcUpdate, Rec.UpdateLock);
  g->SetCellNumber(Row, dcGassan, Rec.Gassan);
  g->SetCellNumber(Row, dcDamaged, Rec.DataStatus);
  g->SetCellNumber(Row, dcCloudFlag, Rec.Cloud);
  TColor color = clWindowText;
  if (IsDbUpdatePending(Row, true)) color = 0x808080;
  if (Rec.DataStatus == 1) color = 255;
  g->SetRowTextColor(Row, color);
}

void TDataSentakuBox::FillListRow(TDataListRec& Rec, bool Empty) {
  if (Empty) {
    const TDataListRec keep = Rec;
    Rec = TDataListRec{};
    Rec.Rec = keep.Rec;
    Rec.PasName = keep.PasName;
    Rec.NetDrive = keep.NetDrive;
    Rec.DataFolder = keep.DataFolder;
    Rec.GroupId = SystemDef.GroupId;
    Rec.Nendo = 1;
    if (Rec.NetDrive == 1) {
      Rec.EntText = kAreaFree;
      Rec.KyoyuLock = 1;
    }
    Rec.DispName = Rec.EntText;
    return;
  }
  const TDataInfomationRec& i = InfoRec;
  TDataListInfoFields f = DataListInfoFields(i);
  f.DATALISTNAME = Rec.EntText;
  const std::uint8_t gassan = Rec.Gassan;
  TDataSentakuListCtl::SetDataListRecordFromInfo(f, Rec);
  Rec.Gassan = Rec.RowNo > 0 ? gassan : i.GASSANKBN;
}

void TDataSentakuBox::StoreListRow(const TDataListRec& Rec) {
  if (IsBlankPath(Rec.PasName)) throw std::runtime_error("データフォルダパスが不正です。\r処理を中止します。");
  if (Rec.Gassan == kGassanChild) ListCtl->UpdateDataListChildRecord(Rec, 1, true);
  else ListCtl->UpdateDataListRecord(Rec, 1, true);
}

void TDataSentakuBox::SelectCurrentData() {
  const std::string current = SystemDef.DataDir;
  for (int r = 1; r <= PerfectGrid1->Rows(); ++r) {
    if (!SameText(GetRowDataFolder(r), current)) continue;
    PerfectGrid1->SetRow(r);
    PerfectGrid1->SetCol(0);
    if (r - 6 >= PerfectGrid1->TopRow()) PerfectGrid1->SetTopRow(r - 6);
    break;
  }
}

void TDataSentakuBox::PerfectGrid1CellClick(int row, int col) {
  if (row == 0) {
    if (col == 0) {
      SortDesc = (SortCol == 0 || SortCol == -1) ? !SortDesc : false;
      SortCol = 0;
    } else if (col == 1 || (col >= 3 && col <= 7)) {
      SortDesc = SortCol == col ? !SortDesc : false;
      SortCol = col;
    } else {
      return;
    }
    ReloadList();
    FillGrid(-1);
    return;
  }
  if (col == dcLockPic && ConnectKind != 0) ToggleLock(row);
}

void TDataSentakuBox::PerfectGrid1CellGotFocus(int row, int) {
  if (row <= 0 || row > PerfectGrid1->Rows()) return;
  TColor color = ConnectKind == 0 ? static_cast<TColor>(DefaultGridColors[7]) : static_cast<TColor>(0x804000);
  if (IsDbUpdatePending(row, false)) color = 0x808080;
  if (PerfectGrid1->CellNumber(row, dcDamaged) == 1) color = clWindowText;
  PerfectGrid1->SetRowTextColor(row, color);
  UpdateKeyBar();
}

void TDataSentakuBox::PerfectGrid1CellLostFocus(int row, int) {
  if (row <= 0 || row > PerfectGrid1->Rows()) return;
  TColor color = IsDbUpdatePending(row, false) ? static_cast<TColor>(0x808080) : clWindowText;
  if (PerfectGrid1->CellNumber(row, dcDamaged) == 1) color = 255;
  PerfectGrid1->SetRowTextColor(row, color);
}

void TDataSentakuBox::PerfectGrid1KeyDown(Word& key, Qt::KeyboardModifiers) {
  if (PerfectGrid1->Rows() == 0) return;
  const QRect gr = PerfectGrid1->geometry();
  IncSearchKeyDown(key, IncSearchText, *txtIncSerch, *IncSerchTimer,
                   QPoint(gr.left() + gr.width() / 10 + 4, gr.top() - 12));
}

void TDataSentakuBox::IncSerchTimerTimer() {
  IncSearchFinish(*PerfectGrid1, dcCode, PerfectGrid1->hasFocus(), IncSearchText, *txtIncSerch, *IncSerchTimer);
}

bool TDataSentakuBox::eventFilter(QObject* watched, QEvent* event) {
  // Page Up and Page Down do nothing on the grid.
  if (watched == PerfectGrid1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) return true;
  }
  if (watched == PerfectGrid1 && event->type() == QEvent::FocusIn) UpdateKeyBar();
  return TBSDI::eventFilter(watched, event);
}
