// TServerSentakuBox: the shared-server selection dialog ("共有データの選択").
// In stand-alone operation a data set may live on a shared drive: a mounted
// share (a letter of [SHAREDRIVES] in the connection settings) whose mount
// point holds the product's shared folder ShareDir, with one sub-folder per
// data area. The dialog lists the areas of one such drive from the system
// database's shared-server tables and the areas' own information, and lets
// the user pick the area that the data-selection dialog then fetches into
// its empty local row.
//
// The caller sets DriveLetter (the last letter chosen, SystemDef.ZenkaiDrive)
// and calls PrepareSelection before each modal showing; after OK it reads
// SelectedFolder, SelectedEntText and DriveLetter. The window is hidden on
// close and reused.
//
// The window, key bar, keys, selection, details and lifecycle are in
// serversentaku.cpp; the drive list, loading, search filter, display, sort
// and incremental search in serversentakulist.cpp; the area routines (folder
// check, row filling, row check) and the area commands in serverarea.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QPixmap>

#include "dataselect/datakensaku.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/datainfo.h"
#include "ui/sdi.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QTimer;
class TDataListKensakuBox;
class TDataSyosaiInfoBox;
class TInputDlgBox;
class TPerfectGrid;
class TxAnimeProgressDialog;
class TxEdit;
class TxPlButton;

// Grid columns of the shared-server list.
enum : int {
  scNo = 0, scCode = 1, scCloud = 2, scName = 3, scNendo = 4, scKikan = 5, scFolder = 6, scVersion = 7,
  scSharePic = 8, scShared = 9, scVerHidden = 10, scUpdate = 11, scGassan = 12, scIndex = 13, scChild = 14,
  scStatus = 15, scCloudFlag = 16, scColumnCount = 17
};

// The list kind of the shared-server list's stored search condition.
inline constexpr std::int32_t kServerListType = 1;

class TServerSentakuBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TServerSentakuBox(QWidget* owner = nullptr);
  ~TServerSentakuBox() override;

  // ---- interfaces ----------------------------------------------------------------------
  // Runs the initialisation before a modal showing (DriveLetter set first).
  void PrepareSelection(std::uint8_t Mode);
  // Writes a row back to the shared-server list and its name and update
  // prohibition into the area's settings file.
  void UpdateServerRow(TDataListRec& Row);
  // SHARE_STATUS of an area folder's information.
  std::uint8_t GetShareStatus(const std::string& Folder);
  // Sets the share status (2 or 1) when it differs; true when set.
  bool SetShareStatusIfChanged(const std::string& Folder, std::uint8_t Status);

  // ---- results and the drive ----------------------------------------------------------------
  std::string DriveLetter;      // in and out: the chosen drive letter
  std::string ShareRoot;        // mount point of the letter followed by ShareDir; empty without a drive
  std::string SelectedFolder;   // PASNAME of the chosen area
  std::string SelectedEntText;  // its entry text

  // ---- controls ----------------------------------------------------------------------------
  QWidget* pnlTop = nullptr;
  QWidget* pnlBottom = nullptr;
  QComboBox* cmbDrive = nullptr;
  QCheckBox* cboxDataListUpdate = nullptr;
  TxPlButton* btnMount = nullptr;
  TxPlButton* btnSearchCancel = nullptr;
  TxPlButton* btnSearch = nullptr;
  TxPlButton* btnDataInfo = nullptr;
  TxPlButton* btnListUpdate = nullptr;
  TPerfectGrid* PerfectGrid1 = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* ESC = nullptr;
  std::array<TxPlButton*, 9> FKeys{};  // F1 .. F8 at 1 .. 8 (0 unused)
  TxPlButton* F12 = nullptr;
  TxEdit* txtIncSerch = nullptr;
  QTimer* IncSerchTimer = nullptr;
  TxAnimeProgressDialog* xAnimeProgressDialog1 = nullptr;

  // ---- state -------------------------------------------------------------------------------
  std::uint8_t PrepareMode = 0;
  TDataSentakuRecArray DataList;
  TDataListArray ChildList;
  TDataSentakuRecDispArray DispList;
  std::vector<std::string> DriveLetters;
  TDataKensakuRec Jyoken, SavedJyoken;
  std::int32_t SortCol = -1;   // -1: none remembered yet
  bool SortDesc = false;
  std::string IncSearchText;
  std::uint8_t KeyBarState = 0;
  // Copy state of the area commands.
  bool CopyPending = false;
  std::string CopySourceFolder;
  std::int32_t CopySourceIndex = -1;
  TDataListRec CopySourceRec;   // the source row as it was at the copy
  std::string CopyNewName;      // the entry text the target gets
  std::string CopyWorkFolder;   // a cloud-shared source: the folder its received copy went to

  std::unique_ptr<TDataSentakuListCtl> ListCtl;
  std::unique_ptr<TDataInfomation> DataInfo;
  TDataInfomationRec InfoRec;
  std::unique_ptr<TDataListKensakuBox> SearchBox;
  std::unique_ptr<TDataSyosaiInfoBox> DetailBox;
  TInputDlgBox* InputDlg = nullptr;  // created on first use, a child window

  // Pictures: share free / in use; cloud off / on.
  std::array<QPixmap, 3> SharePictures;
  std::array<QPixmap, 2> CloudPictures;

  // ---- window, keys, selection (serversentaku.cpp) -------------------------------------------
  void UpdateKeyBar();
  void FormClose(TCloseAction& action) override;
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;
  void ESCClick();
  void FKeyClick(int n);
  void F12Click();
  void btnDataInfoClick();
  void btnListUpdateClick();
  void btnMountClick();
  void btnSearchClick(bool Cancel);
  void cboxDataListUpdateClick();
  bool HasCurrentRow() const;
  // The list row of a grid row (nullptr when the row or its indexes are out of range).
  TDataListRec* GetRowRecord(std::int32_t Row);
  // The grid row of the parent of a grid row (the row itself for a parent).
  std::int32_t GetParentRow(std::int32_t Row) const;

  // ---- list (serversentakulist.cpp) ---------------------------------------------------------
  // Builds the drive list; the current letter stays when it is still mapped.
  void BuildDriveList();
  void cmbDriveChange();
  // Loads the list of the shared root (re-reading every area with Refresh).
  void LoadList(bool Refresh);
  void FilterList();
  void FillGrid();
  // Load with refresh and show, then load without refresh and show.
  void FullRefresh();
  void PerfectGrid1CellClick(int row, int col);
  void PerfectGrid1CellGotFocus(int row, int col);
  void PerfectGrid1CellLostFocus(int row, int col);
  void PerfectGrid1KeyDown(Word& key, Qt::KeyboardModifiers shift);
  void IncSerchTimerTimer();

  // ---- areas (serverarea.cpp) ---------------------------------------------------------------
  // The state of an area folder's data set (see serverarea.cpp).
  std::uint8_t CheckDataFolder(const std::string& Folder, bool WarnIfEmpty, bool ShowBusy);
  // Fills a row from InfoRec, or with the empty-area values.
  void FillServerRow(TDataListRec& Row, bool Empty);
  // Writes a row back after checking its data file.
  void CheckServerRow(TDataListRec& Row);
  // The area commands: F2 copy (then paste) of one area's data set onto
  // another, F4 a new empty area, F5 the deletion of an area's folder.
  std::int32_t CopyOrPaste();
  // 1 to go on: no data set in the target, or the user agreed to the differences.
  std::int32_t ComparePaste(const std::string& OpName, const std::string& Source, const std::string& Target);
  std::int32_t AddArea();
  std::int32_t DeleteArea(bool ShowFailure);
  // The target's child rows from the copy source's; its own removed.
  void CopyChildRows(std::int32_t TargetRow);
  void RemoveChildRows(std::int32_t TargetRow, bool All);
  std::int32_t PrintList();
  // Ends a pending copy: the source's status back to 1.
  void CancelCopy();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void SetUpColumns();
  void LoadHints();
  void ApplyKeyCaptions(const std::array<std::string, 13>& Captions);
  void FillGridRow(int Row, const TDataListRec& Rec);
  void SetShareCells(int Row, const std::string& Folder);
};
