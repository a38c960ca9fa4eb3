// The shared-server selection dialog's list: the drive list, loading with
// and without re-reading the area folders, the search filter, the display,
// sorting and the incremental search.
#include <QComboBox>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dataselect/incsearch.h"
#include "dataselect/listdialogparts.h"
#include "dataselect/serversentaku.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/win/paths.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace {

constexpr Qt::Alignment kL = kListLeft;
constexpr Qt::Alignment kR = kListRight;
constexpr Qt::Alignment kC = kListCentre;

const TListColumn kColumns[scColumnCount] = {
    {"No", 40, kR, TPerfectGrid::ckNumber},          {"コード", 70, kL, TPerfectGrid::ckText},
    {"ｸﾗｳﾄﾞ", 40, kC, TPerfectGrid::ckPicture},      {"データ名", 0, kL, TPerfectGrid::ckText},
    {"会計年度", 80, kC, TPerfectGrid::ckText},       {"会計期間", 180, kC, TPerfectGrid::ckText},
    {"データフォルダ", 200, kL, TPerfectGrid::ckText}, {"バージョン", 90, kC, TPerfectGrid::ckText},
    {"共有", 32, kC, TPerfectGrid::ckPicture},        {"共有値", 0, kR, TPerfectGrid::ckNumber},
    {"バージョン", 0, kL, TPerfectGrid::ckText},      {"データ更新", 0, kR, TPerfectGrid::ckNumber},
    {"", 0, kR, TPerfectGrid::ckNumber},             {"", 0, kR, TPerfectGrid::ckNumber},
    {"", 0, kR, TPerfectGrid::ckNumber},             {"データステータス", 0, kR, TPerfectGrid::ckNumber},
    {"ｸﾗｳﾄﾞ", 0, kR, TPerfectGrid::ckNumber},
};

// Grid rows shown at most.
constexpr std::size_t kGridRowLimit = TPerfectGrid::kNoRow - 1;



}  // namespace

void TServerSentakuBox::SetUpColumns() {
  TPerfectGrid* g = PerfectGrid1;
  SetUpListColumns(*g, kColumns);
  g->SetColumnWidth(scCloud, OemKind == 0 ? 40 : 0);
  g->SetColumnWidth(scName, 280 - g->ColumnWidth(scCloud) - g->ColumnWidth(scSharePic));
}

// ---- drives ------------------------------------------------------------------------------------

void TServerSentakuBox::BuildDriveList() {
  const QSignalBlocker block(cmbDrive);
  cmbDrive->clear();
  DriveLetters.clear();
  std::vector<TShareDrive> drives = ReadShareDrives();
  std::sort(drives.begin(), drives.end(), [](const TShareDrive& a, const TShareDrive& b) { return a.Letter < b.Letter; });
  for (const TShareDrive& drive : drives) {
    if (!DirectoryExists(PathJoin(drive.Root, ShareDir))) continue;
    cmbDrive->addItem(QString::fromStdString(drive.Letter + ": [" + drive.Root + "]"));
    DriveLetters.push_back(drive.Letter);
  }
  if (DriveLetters.empty()) {
    cmbDrive->addItem(QString::fromStdString(Format("[%s]が見つかりません", ShareDir)));
    cmbDrive->setCurrentIndex(0);
    DriveLetter.clear();
    ShareRoot.clear();
    return;
  }
  std::size_t current = 0;
  for (std::size_t i = 0; i < DriveLetters.size(); ++i)
    if (SameText(DriveLetters[i], Trim(DriveLetter))) current = i;
  cmbDrive->setCurrentIndex(static_cast<int>(current));
  DriveLetter = DriveLetters[current];
  ShareRoot = PathJoin(ShareDriveRoot(DriveLetter), ShareDir);
}

void TServerSentakuBox::cmbDriveChange() {
  const int index = cmbDrive->currentIndex();
  if (index < 0 || index >= static_cast<int>(DriveLetters.size())) return;
  const std::string letter = DriveLetters[static_cast<std::size_t>(index)];
  if (letter == DriveLetter && !ShareRoot.empty()) return;
  DriveLetter = letter;
  ShareRoot = PathJoin(ShareDriveRoot(DriveLetter), ShareDir);
  LoadList(false);
  FillGrid();
  if (SystemDef.ServerListUpdate == 1 || PerfectGrid1->Rows() == 0) FullRefresh();
  UpdateKeyBar();
}

// ---- loading -------------------------------------------------------------------------------------

void TServerSentakuBox::LoadList(bool Refresh) {
  DataList.clear();
  ChildList.clear();
  DispList.clear();
  if (ShareRoot.empty()) return;
  ListCtl->ServerMode = 1;
  ListCtl->ConnectKind = ConnectKind;
  ListCtl->ServerExecute(Refresh ? 1 : 0, ShareRoot, ListSortKindOf(SortCol), SortDesc, "");
  DataList = ListCtl->List;
  ChildList = ListCtl->ChildList;
  if (Refresh) {
    // Every area and its children re-read from their folders and written back.
    ChildList.clear();
    auto reread = [this](TDataListRec& row) {
      const std::uint8_t status = CheckDataFolder(NativePath(row.PasName), false, false);
      if (status == dsDamaged) row.DataStatus = 1;
      FillServerRow(row, false);
    };
    for (TDataSentakuRec& entry : DataList) {
      reread(entry.Row);
      CheckServerRow(entry.Row);
      for (std::size_t k = 0; k < entry.Children.size(); ++k) {
        TDataListRec& child = entry.Children[k];
        reread(child);
        child.Rec = entry.Row.Rec;
        child.RowNo = static_cast<std::int32_t>(k + 1);
        child.Gassan = kGassanChild;
        CheckServerRow(child);
        ChildList.push_back(child);
      }
      entry.ChildCount = static_cast<std::int32_t>(entry.Children.size());
    }
  }
  FilterList();
}

void TServerSentakuBox::FilterList() {
  DispList.clear();
  for (std::size_t i = 0; i < DataList.size(); ++i)
    if (KensakuPasses(Jyoken, DataList[i].Row)) DispList.push_back(static_cast<std::int32_t>(i));
}

void TServerSentakuBox::FullRefresh() {
  LoadList(true);
  FillGrid();
  LoadList(false);
  FillGrid();
}

// ---- display ---------------------------------------------------------------------------------------

void TServerSentakuBox::SetShareCells(int Row, const std::string& Folder) {
  const bool inUse = GetShareStatus(Folder) == ssTakenOut;
  PerfectGrid1->SetCellNumber(Row, scShared, inUse ? 1 : 0);
  PerfectGrid1->SetCellPicture(Row, scSharePic, SharePictures[inUse ? 2 : 0]);
}

void TServerSentakuBox::FillGridRow(int Row, const TDataListRec& Rec) {
  TPerfectGrid* g = PerfectGrid1;
  const bool empty = IsEmptyArea(Rec.EntText);
  g->SetRowValue(Row, Rec.Rec);
  g->SetCellText(Row, scCode, Rec.DataCode);
  g->SetCellPicture(Row, scCloud, CloudPictures[Rec.Cloud == 1 ? 1 : 0]);
  g->SetCellText(Row, scName, Rec.DispName);
  g->SetCellText(Row, scNendo, empty ? "" : Format("%d 期", Rec.Nendo));
  g->SetCellText(Row, scKikan, empty ? "～" : Rec.KikanText);
  g->SetCellText(Row, scFolder, NativePath(Rec.PasName));
  g->SetCellText(Row, scVersion, Rec.VerText);
  g->SetCellNumber(Row, scUpdate, Rec.UpdateLock);
  g->SetCellNumber(Row, scGassan, Rec.Gassan);
  g->SetCellNumber(Row, scStatus, Rec.DataStatus);
  g->SetCellNumber(Row, scCloudFlag, Rec.Cloud);
  g->SetRowTextColor(Row, Rec.DataStatus == 1 ? static_cast<TColor>(255) : clWindowText);
}

void TServerSentakuBox::FillGrid() {
  TPerfectGrid* g = PerfectGrid1;
  g->ClearRows();
  for (int c = 0; c < scColumnCount; ++c) g->SetColumnHeader(c, kColumns[c].header);
  if (SortCol >= 0 && SortCol < scColumnCount)
    g->SetColumnHeader(SortCol, std::string(kColumns[SortCol].header) + SortMarks[SortDesc ? 1 : 0]);
  const std::size_t shown = std::min(DispList.size(), kGridRowLimit);
  for (std::size_t i = 0; i < shown; ++i) {
    const std::int32_t index = DispList[i];
    TDataSentakuRec& entry = DataList[static_cast<std::size_t>(index)];
    const int row = g->InsertRow(g->Rows() + 1);
    FillGridRow(row, entry.Row);
    g->SetCellNumber(row, scNo, static_cast<double>(i + 1));
    g->SetCellNumber(row, scIndex, index);
    g->SetCellNumber(row, scChild, 0);
    SetShareCells(row, NativePath(entry.Row.PasName));
    TDataSentakuListCtl::NumberChildDispNames(entry);
    for (std::size_t k = 0; k < entry.Children.size(); ++k) {
      const TDataListRec& child = entry.Children[k];
      const int childRow = g->InsertRow(g->Rows() + 1);
      FillGridRow(childRow, child);
      g->SetCellText(childRow, scNo, "");
      g->SetCellNumber(childRow, scGassan, kGassanChild);
      g->SetCellNumber(childRow, scIndex, index);
      g->SetCellNumber(childRow, scChild, static_cast<double>(k));
      g->SetRowParent(childRow, row);
      SetShareCells(childRow, NativePath(child.PasName));
    }
  }
  if (g->Rows() > 0) {
    g->SetRow(1);
    g->SetCol(0);
  }
}

// ---- sorting and row colours -------------------------------------------------------------------

void TServerSentakuBox::PerfectGrid1CellClick(int row, int col) {
  if (row != 0 || PerfectGrid1->Rows() == 0) return;
  if (col != scCode && (col < scName || col > scVersion)) return;
  SortDesc = SortCol == col ? !SortDesc : false;
  SortCol = col;
  LoadList(false);
  FillGrid();
  UpdateKeyBar();
}

void TServerSentakuBox::PerfectGrid1CellGotFocus(int row, int) {
  if (row <= 0 || row > PerfectGrid1->Rows()) return;
  const bool damaged = PerfectGrid1->CellNumber(row, scStatus) == 1;
  PerfectGrid1->SetRowTextColor(row, damaged ? clWindowText : static_cast<TColor>(0x804000));
  QFont normal = font();
  normal.setBold(false);
  PerfectGrid1->SetRowFont(row, normal);
  UpdateKeyBar();
}

void TServerSentakuBox::PerfectGrid1CellLostFocus(int row, int) {
  if (row <= 0 || row > PerfectGrid1->Rows()) return;
  const bool damaged = PerfectGrid1->CellNumber(row, scStatus) == 1;
  PerfectGrid1->SetRowTextColor(row, damaged ? static_cast<TColor>(255) : clWindowText);
}

// ---- incremental search ------------------------------------------------------------------------

void TServerSentakuBox::PerfectGrid1KeyDown(Word& key, Qt::KeyboardModifiers) {
  if (PerfectGrid1->Rows() == 0) return;
  const QRect gr = PerfectGrid1->geometry();
  IncSearchKeyDown(key, IncSearchText, *txtIncSerch, *IncSerchTimer,
                   QPoint(gr.left() + gr.width() / 10, gr.top() - txtIncSerch->height()));
}

void TServerSentakuBox::IncSerchTimerTimer() {
  IncSearchFinish(*PerfectGrid1, scCode, true, IncSearchText, *txtIncSerch, *IncSerchTimer);
  UpdateKeyBar();
}
