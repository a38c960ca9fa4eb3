// TDataSentakuBox: the data-selection dialog ("データ選択"), the process window
// "WzDataSenkaku". It lists the data sets of the data-set list, filtered by the
// caller's or the operator's search condition, lets the user sort, search as
// he types, open the details, refresh the list, fetch and store shared-server
// data (stand-alone) or choose the data place (client modes), and on F12, Enter
// or a double click sets SystemDef.DataDir and closes with OK.
//
// The window and its modes, key bar, selection and closing are in
// datasentaku.cpp; the list display in datasentakulist.cpp; the refresh and
// row operations in datasentakurows.cpp; the toolbar and lock column in
// datasentakutools.cpp, the data place in datasentakuplace.cpp, the cloud
// button in datasentakucloud.cpp, the shared-server selection in
// datasentakuserver.cpp. The management commands behind F2 to F8 are the entry
// points of datasentakucmds.h.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QPixmap>

#include "core/processforms.h"
#include "dataselect/datakensaku.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/datainfo.h"
#include "ui/sdi.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QTimer;
class TCloudShareIO;
class TDataListKensakuBox;
class TDataPlaceBox;
class TDataSyosaiInfoBox;
class TDbUpdateBox;
class TGassanDataCtl;
class TInputDlgBox;
class TPerfectGrid;
class TServerSentakuBox;
class TxAnimeProgressDialog;
class TxEdit;
class TxPlButton;

// Grid columns of the data-selection list.
enum : int {
  dcNo = 0, dcCode = 1, dcCloud = 2, dcName = 3, dcNendo = 4, dcKikan = 5, dcFolder = 6, dcVersion = 7,
  dcLockPic = 8, dcSharePic = 9, dcLock = 10, dcShared = 11, dcVerText = 12, dcUpdate = 13, dcGassan = 14,
  dcIndex = 15, dcChild = 16, dcDamaged = 17, dcCloudFlag = 18, dcColumnCount = 19
};

// Shows a message box of the given kind (TMsgKind) whose lines are Text split
// at "\r" (a trailing "\r" adds no line) with the given buttons; returns the
// modal result.
int ShowSentakuBox(std::uint8_t Kind, const std::string& Text, TMsgDlgButtons Buttons);
// The value of Name in a started window's name=value parameter lines (the
// name compared without regard to case); Found false when no line has it.
std::string ParamValue(const std::vector<std::string>& Lines, const std::string& Name, bool& Found);

class TDataSentakuBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataSentakuBox(QWidget* owner = nullptr);
  ~TDataSentakuBox() override;

  // ---- process window (IProcessForm through TDataSentakuProcess) ----------------
  void SetParams(const std::vector<std::string>& Params);
  std::int32_t Execute(std::int32_t Modal);

  // ---- controls ----------------------------------------------------------------------
  QWidget* pnlClient = nullptr;
  QWidget* pnlBottom = nullptr;
  TxPlButton* btnCloudShare = nullptr;
  TxPlButton* btnKyoyuDataUp = nullptr;
  TxPlButton* btnKyoyuDataDown = nullptr;
  TxPlButton* btnSearchCancel = nullptr;
  TxPlButton* btnSearch = nullptr;
  TxPlButton* btnDataInfo = nullptr;
  TxPlButton* btnListUpdate = nullptr;
  QCheckBox* cboxKyoyuDataAuto = nullptr;
  QWidget* pnlDataMan = nullptr;
  QComboBox* cmbDataMan = nullptr;
  TxPlButton* btnDataMan = nullptr;
  TPerfectGrid* PerfectGrid1 = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* ESC = nullptr;
  std::array<TxPlButton*, 9> FKeys{};  // F1 .. F8 at 1 .. 8 (0 unused)
  TxPlButton* F12 = nullptr;
  TxEdit* txtIncSerch = nullptr;
  QTimer* IncSerchTimer = nullptr;
  TxAnimeProgressDialog* xAnimeProgressDialog1 = nullptr;
  int btnSearchTag = 0;

  // ---- state ---------------------------------------------------------------------------
  std::uint8_t SyoriType = 0;
  std::vector<std::string> ParamLines;
  TDataSentakuRecArray DataList;
  TDataSentakuRecDispArray DispList;
  TDataKensakuRec StoredJyoken, ActiveJyoken, CallerJyoken;
  bool CallerJyokenOn = false;
  std::int32_t SortCol = -1;
  bool SortDesc = false;
  std::string SelectPath, SelectPasName, ShowTimeDataDir;
  std::int32_t DataPlace = 0;
  std::string DataPlacePath;
  std::string IncSearchText;
  bool CopyPending = false;
  std::int32_t CopySource = -1;
  std::string CopySourceFolder;   // the copy source's data folder
  TDataListRec CopySourceRec;     // the source's row under its copy name (a restore: the backup's figures)
  std::uint8_t KeyBarState = 0;
  bool CancelFlag = false;
  bool SelectOnShow = true;
  std::int32_t SavedAutoStore = 0;
  bool RestoreChosen = false;
  std::string BackupPath;
  std::int32_t FormStyle = 0;
  bool ManualFree = false;

  // ---- owned objects -----------------------------------------------------------------------
  std::unique_ptr<TDataSentakuListCtl> ListCtl;
  std::unique_ptr<TDataInfomation> DataInfo;
  TDataInfomationRec InfoRec;
  std::unique_ptr<TDbUpdateBox> DbUpdateBox;
  std::unique_ptr<TDataSyosaiInfoBox> DetailBox;   // created on first use
  std::unique_ptr<TDataListKensakuBox> SearchBox;  // created on first use
  // Created on first use; the two dialogs are child windows freed with the dialog.
  TServerSentakuBox* ServerBox = nullptr;
  TDataPlaceBox* PlaceBox = nullptr;
  std::shared_ptr<TCloudShareIO> CloudShareIO;
  TInputDlgBox* InputDlg = nullptr;                // created on first use, a child window
  std::unique_ptr<TGassanDataCtl> GassanCtl;       // created on first use

  // ---- window (datasentaku.cpp) --------------------------------------------------------------
  void PrepareMode();
  std::int32_t CheckDataPath(const std::string& Path);
  void UpdateKeyBar();
  void LoadHints();
  void FormCloseQuery(bool& CanClose);
  void FormClose(TCloseAction& action) override;
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;
  void ESCClick();
  void FKeyClick(int n);
  void F12Click();
  // The automatic fetch ("download") or store ("upload") of the selected row.
  std::int32_t AutoTransfer(bool Upload, std::int32_t Row);

  // ---- list display (datasentakulist.cpp) ------------------------------------------------------
  void LoadDataList();
  std::int32_t ReloadList();
  void FilterList();
  void FillGrid(std::int32_t Pos);
  void FillGridRow(std::int32_t Row, const TDataListRec& Rec);
  void FillListRow(TDataListRec& Rec, bool Empty);
  void StoreListRow(const TDataListRec& Rec);
  void SelectCurrentData();
  void PerfectGrid1CellClick(int row, int col);
  void PerfectGrid1CellGotFocus(int row, int col);
  void PerfectGrid1CellLostFocus(int row, int col);
  void PerfectGrid1KeyDown(Word& key, Qt::KeyboardModifiers shift);
  void IncSerchTimerTimer();
  // The grid row of the parent row whose column 15 is Index (0 when none).
  int GridRowOfIndex(std::int32_t Index) const;

  // ---- refresh and row operations (datasentakurows.cpp) ----------------------------------------
  void DataListRefresh(std::int32_t Row);
  void DataListReload(std::int32_t TopRow, const TDataListRec& Rec);
  bool IsDbUpdatePending(std::int32_t Row, bool Check);
  TDataListRec* GetRowRecord(std::int32_t Row);
  std::string GetRowDataFolder(std::int32_t Row);
  std::int32_t GetParentRow(std::int32_t Row);
  std::int32_t GetDispIndex(std::int32_t Row);
  std::int32_t GetShareState(std::uint8_t Mode, std::int32_t Index);
  void RefreshChildList(std::int32_t Row);
  void RemoveChildData(std::int32_t Row, bool All);
  static void NumberChildNames(TDataSentakuRec& Rec);
  void SetDataStatus(const std::string& Folder, std::int32_t Status);
  void SetKyoyuLock(std::int32_t Lock, TDataSentakuRec& Rec);
  std::uint8_t CheckDataStatus(const std::string& Folder, bool ShowNoData, bool ShowBox);
  // The database file of a data folder.
  static std::string DataFilePath(const std::string& Folder);

  // ---- toolbar and lock column (datasentakutools.cpp) -----------------------------------------------
  void btnKyoyuDataDownClick();
  void btnKyoyuDataUpClick();
  void cboxKyoyuDataAutoClick();
  void btnCloudShareClick();
  void cmbDataManChange();
  void cmbDataManExit();
  void btnDataManClick();
  // Fills the place list with the named data places and selects the chosen
  // place; false when that place is gone (the chosen place is then 0).
  bool FillPlaceList();
  void btnDataInfoClick();
  void btnSearchClick(bool Cancel);
  void btnListUpdateClick();
  // The fetch into an empty local row through the shared-server selection
  // dialog, and that dialog's copy of a row changed here
  // (datasentakuserver.cpp).
  void FetchIntoEmptyRow(std::int32_t Row);
  void UpdateServerBoxRow(const TDataListRec& Rec);
  std::int32_t FetchSharedData(std::int32_t Auto);
  std::int32_t StoreSharedData(std::int32_t Auto);
  void ToggleLock(std::int32_t Row);

  // Pictures of the state columns: normal, locked, stored on the server; no cloud, cloud.
  std::array<QPixmap, 3> StatePictures;
  std::array<QPixmap, 2> CloudPictures;
  int StateColumn() const;
  bool HasCurrentRow() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  void BuildControls();
  void SetUpColumns();
  void EndTransfer();
  // The common end of a transfer: dialog in front, progress closed, the grid's
  // current cell entered again without its click handler.
  void EndGridClick();
  void ShowProgress(const std::string& Caption, const std::string& Line, bool Cancel);
  void ApplyKeyCaptions(const std::array<std::string, 13>& Captions);
  int closeResult_ = 0;   // the modal result while the dialog decides whether to close
};

// Registers the dialog class under "WzDataSenkaku" (also done when the
// program loads); returns the class.
const TProcessClass* RegisterDataSentakuBox();
