// The shared-server selection dialog: creation, initialisation, key bar,
// keys, selection, details, list refresh, drive mapping, search and closing.
#include "dataselect/serversentaku.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

#include <stdexcept>

#include "core/dialogs.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dataselect/datadetail.h"
#include "dataselect/datakensakubox.h"
#include "dataselect/datasentaku.h"
#include "dataselect/listdialogparts.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/win/paths.h"
#include "ui/htmlhelp.h"
#include "ui/inputdlg.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"
#include "ui/xedit.h"

namespace {

const char* const kHelpPage = "kyoyudata.html";
const char* const kGridHint =
    "［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で選択します。|［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で選択します。\r\n"
    "［共有］欄にｱｲｺﾝが付いているﾃﾞｰﾀは他のｵﾍﾟﾚｰﾀが使用しているため取得できません。\r\n"
    "［F4］で新規にﾃﾞｰﾀ領域を作成できます。\r\n"
    "行を選択すると［ﾃﾞｰﾀ選択］に戻ります。「新しい領域」行への新規ﾃﾞｰﾀ作成や、共有ﾃﾞｰﾀのﾌﾗｯｼｭﾒﾓﾘなどへの保存は［ﾃﾞｰﾀ選択］で行います。";
const char* const kNoDriveHint = "|[共有割当]ボタンよりネットワーク上の共有フォルダをドライブに割り当てて下さい。";
const char* const kEmptyListHint = "|［F4］でﾃﾞｰﾀ領域を作成してください。";
const char* const kPasteHint =
    "貼り付け先を選択して［F2］を押します。|貼り付け先を選択して［F2］を押します。\r\nｺﾋﾟｰ処理を中断する場合は［ESC］を押します。";
const char* const kMountFailed =
    "ネットワークドライブの割り当てAPIの呼び出しに失敗しました。\rOSの機能からネットワークドライブの割り当てを行って下さい。";

}  // namespace

// ---- creation ----------------------------------------------------------------------------------

TServerSentakuBox::TServerSentakuBox(QWidget* owner) : TBSDI(owner, bsDialog, "TServerSentakuBox") {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = false;
  KeepOnClose = true;
  setWindowTitle("共有データの選択");
  BuildControls();
  ListCtl = std::make_unique<TDataSentakuListCtl>();
  ListCtl->ServerMode = 1;
  ListCtl->ConnectKind = ConnectKind;
  DataInfo = std::make_unique<TDataInfomation>();
  DataInfo->ConnectKind = ConnectKind;
  PerfectGrid1->SetBackColor(0xFFFFFF);
  PerfectGrid1->SetOddRowBackColor(0xFFF0E1);
  PerfectGrid1->SetFocusBorderColor(0x804000);
  SetUpColumns();
  Initialized = true;
}

TServerSentakuBox::~TServerSentakuBox() = default;

void TServerSentakuBox::BuildControls() {
  resize(Px(992), Px(566));
  pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  pnlBottom->resize(width(), Px(128));
  SetAlign(pnlBottom, alBottom);
  pnlTop = new QWidget(this);
  pnlTop->setObjectName("pnlTop");
  pnlTop->resize(width(), Px(438));
  SetAlign(pnlTop, alTop);

  auto* label = new QLabel("共有ドライブ:", pnlTop);
  label->setGeometry(Px(16), Px(12), Px(90), Px(16));
  cmbDrive = new QComboBox(pnlTop);
  cmbDrive->setObjectName("cmbDrive");
  cmbDrive->setGeometry(Px(108), Px(8), Px(250), Px(24));
  cmbDrive->setMaxVisibleItems(10);
  cmbDrive->view()->setMinimumWidth(Px(300));
  connect(cmbDrive, &QComboBox::activated, this, [this] { cmbDriveChange(); });
  cboxDataListUpdate = new QCheckBox("データリストを自動更新する", pnlTop);
  cboxDataListUpdate->setObjectName("cboxDataListUpdate");
  cboxDataListUpdate->setGeometry(Px(16), Px(40), Px(300), Px(17));
  connect(cboxDataListUpdate, &QCheckBox::clicked, this, [this] { cboxDataListUpdateClick(); });

  btnMount = NewPlButton(pnlTop, "btnMount", "共有割当", 623, 8, 65, 49);
  btnSearchCancel = NewPlButton(pnlTop, "btnSearchCancel", "検索解除", 695, 8, 65, 49);
  btnSearch = NewPlButton(pnlTop, "btnSearch", "検索", 767, 8, 65, 49);
  btnDataInfo = NewPlButton(pnlTop, "btnDataInfo", "情報", 839, 8, 65, 49);
  btnListUpdate = NewPlButton(pnlTop, "btnListUpdate", "更新", 911, 8, 65, 49);
  btnSearchCancel->setEnabled(false);
  btnMount->OnClick = [this](QObject*) { btnMountClick(); };
  btnSearchCancel->OnClick = [this](QObject*) { btnSearchClick(true); };
  btnSearch->OnClick = [this](QObject*) { btnSearchClick(false); };
  btnDataInfo->OnClick = [this](QObject*) { btnDataInfoClick(); };
  btnListUpdate->OnClick = [this](QObject*) { btnListUpdateClick(); };

  BuildListGrid(*this, pnlTop);

  BuildListKeyBar(*this, pnlBottom);

  BuildIncSearchBox(*this, pnlTop);
  xAnimeProgressDialog1 = new TxAnimeProgressDialog(this);
  xAnimeProgressDialog1->SetCancelBtnShow(false);

  const int size = Px(16);
  SharePictures[0] = QPixmap();
  SharePictures[1] = QPixmap();
  SharePictures[2] = style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(size, size);
  CloudPictures[0] = QPixmap();
  CloudPictures[1] = style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(size, size);
}

void TServerSentakuBox::LoadHints() {
  std::string drive =
      "ﾘｽﾄからﾃﾞｰﾀを管理しているﾄﾞﾗｲﾌﾞを選択します。|ﾘｽﾄからﾃﾞｰﾀを管理しているﾄﾞﾗｲﾌﾞを選択します。\r\n"
      "ﾏｲｺﾝﾋﾟｭｰﾀに表示されるﾄﾞﾗｲﾌﾞの中からﾄﾞﾗｲﾌﾞ直下に“corvexzaimu”ﾌｫﾙﾀﾞのあるﾄﾞﾗｲﾌﾞのみを表示しています。";
  if (OemKind == 1 || OemKind == 2) drive = StringReplaceAll(drive, "corvexzaimu", ShareDir);
  SetHint(cmbDrive, drive);
  SetHint(btnMount, "ネットワーク上の共有フォルダをドライブに割り当てます。|");
  SetHint(btnSearchCancel, "検索状態を解除します。|");
  SetHint(btnSearch, "［検索条件の設定］画面を開きます。一定条件に該当するﾃﾞｰﾀを抽出表示する場合に使用します。|");
  SetHint(btnDataInfo, "「ﾃﾞｰﾀの詳細情報」画面を開きます。選択ﾃﾞｰﾀの基本情報を表示します。ﾃﾞｰﾀの表示名を変更できます。|");
  SetHint(btnListUpdate, "ﾃﾞｰﾀﾘｽﾄを更新します。ﾌﾟﾛｸﾞﾗﾑの機能を使わずに移行したﾃﾞｰﾀを表示できます。|");
  SetHint(PerfectGrid1, kGridHint);
}

bool TServerSentakuBox::HasCurrentRow() const {
  const int r = PerfectGrid1->Row();
  return r > 0 && r != TPerfectGrid::kNoRow && r <= PerfectGrid1->Rows();
}

TDataListRec* TServerSentakuBox::GetRowRecord(std::int32_t Row) {
  if (Row <= 0 || Row > PerfectGrid1->Rows()) return nullptr;
  const auto index = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, scIndex));
  if (index < 0 || index >= static_cast<std::int32_t>(DataList.size())) return nullptr;
  TDataSentakuRec& entry = DataList[static_cast<std::size_t>(index)];
  if (PerfectGrid1->CellNumber(Row, scGassan) != static_cast<double>(kGassanChild)) return &entry.Row;
  const auto child = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, scChild));
  if (child < 0 || child >= static_cast<std::int32_t>(entry.Children.size())) return nullptr;
  return &entry.Children[static_cast<std::size_t>(child)];
}

std::int32_t TServerSentakuBox::GetParentRow(std::int32_t Row) const {
  if (Row <= 0 || Row > PerfectGrid1->Rows()) return Row;
  if (PerfectGrid1->CellNumber(Row, scGassan) != static_cast<double>(kGassanChild)) return Row;
  // Child rows follow their parent: the nearest row above that is not a child.
  for (int r = Row - 1; r >= 1; --r)
    if (PerfectGrid1->CellNumber(r, scGassan) != static_cast<double>(kGassanChild)) return r;
  return Row;
}

// ---- initialisation ------------------------------------------------------------------------------

void TServerSentakuBox::PrepareSelection(std::uint8_t Mode) {
  PrepareMode = Mode;
  LoadHints();
  SelectedFolder.clear();
  SelectedEntText.clear();
  CopyPending = false;
  CopySourceFolder.clear();
  CopySourceIndex = -1;
  ShareRoot.clear();
  ResetKensakuCondition(Jyoken, kServerListType);
  KensakuSelectRecord(Jyoken);
  SavedJyoken = Jyoken;
  if (Jyoken.JYOKENUSE == 0) ClearKensakuFilters(Jyoken);
  btnSearchCancel->setEnabled(Jyoken.JYOKENUSE == 1);
  if (SortCol < 0) {
    SortCol = scFolder;
    SortDesc = false;
  }
  BuildDriveList();
  {
    const QSignalBlocker block(cboxDataListUpdate);
    cboxDataListUpdate->setChecked(SystemDef.ServerListUpdate == 1);
  }
  PerfectGrid1->ClearRows();
  if (!ShareRoot.empty()) {
    LoadList(false);
    FillGrid();
    if (SystemDef.ServerListUpdate == 1 || PerfectGrid1->Rows() == 0) FullRefresh();
  }
  UpdateKeyBar();
}

void TServerSentakuBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (!Initialized) {
    CheckInitialized();
    return;
  }
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}

// ---- key bar ----------------------------------------------------------------------------------------

void TServerSentakuBox::ApplyKeyCaptions(const std::array<std::string, 13>& c) {
  ESC->setText(QString::fromStdString(c[0]));
  for (int i = 1; i <= 8; ++i) FKeys[i]->setText(QString::fromStdString(c[i]));
  F12->setText(QString::fromStdString(c[12]));
}

void TServerSentakuBox::UpdateKeyBar() {
  std::array<std::string, 13> c = {kListEscCaption, "F1:ヘルプ", "F2:コピー", "F3:", "F4:領域追加", "F5:ﾃﾞｰﾀ削除",
                                   "F6:",       "F7:",       "F8:印刷",   "F9:", "F10:",       "F11:", "F12:選択"};
  auto blank = [&c](int i) { c[static_cast<std::size_t>(i)] = FKeyCaptions[static_cast<std::size_t>(i)]; };
  bool f12Enabled = true;
  KeyBarState = 0;
  const bool gridActive = PerfectGrid1->hasFocus() || focusWidget() == PerfectGrid1 || !isVisible();
  if (gridActive) {
    std::string hint = kGridHint;
    if (ShareRoot.empty()) hint = kNoDriveHint;
    else if (PerfectGrid1->Rows() == 0) hint = kEmptyListHint;
    if (HasCurrentRow()) {
      KeyBarState = CopyPending ? 2 : 1;
      if (CopyPending) {
        c[2] = "F2:貼り付け";
        hint = kPasteHint;
      }
      if (const TDataListRec* r = GetRowRecord(PerfectGrid1->Row())) {
        if (r->Cloud == 1)
          for (int i : {3, 4, 7}) blank(i);
        if (r->Gassan == kGassanChild) {
          for (int i : {2, 5, 12}) blank(i);
          f12Enabled = false;
        }
        if (IsEmptyArea(r->EntText) && !CopyPending) blank(2);
        if (r->DataStatus == 1) {
          blank(5);
          if (CopyPending) blank(2);
        }
        if (r->DataStatus != 0) {
          blank(12);
          if (KeyBarState == 1) blank(2);
        }
      }
    }
    SetHint(PerfectGrid1, hint);
    if (HintArea) HintArea->setPlainText(QString::fromStdString(GetLongHint(hint)));
  }
  if (!PerfectGrid1->isEnabled() || !pnlBottom->isEnabled()) {
    KeyBarState = 0;
    blank(8);
    blank(12);
  }
  if (KeyBarState == 0)
    for (int i = 2; i <= 7; ++i) blank(i);
  if (!ShareRoot.empty()) c[4] = "F4:領域追加";
  F12->setEnabled(f12Enabled);
  ApplyKeyCaptions(c);
}

// ---- keys -----------------------------------------------------------------------------------------------

void TServerSentakuBox::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  if (key == VK_ESCAPE) {
    ESCClick();
    key = 0;
  } else if (key >= VK_F1 && key <= VK_F1 + 7) {
    FKeyClick(key - VK_F1 + 1);
  } else if (key == VK_F12) {
    F12Click();
    key = 0;
  }
  TBSDI::FormKeyUp(key, shift);
}

void TServerSentakuBox::ESCClick() {
  if (!pnlBottom->isEnabled() || ESC->text().toStdString() == FKeyCaptions[0]) return;
  if (CopyPending) {
    CancelCopy();
    UpdateKeyBar();
    return;
  }
  done(mrCancel);
}

void TServerSentakuBox::FKeyClick(int n) {
  if (n < 1 || n > 8) return;
  if (FKeys[static_cast<std::size_t>(n)]->text().toStdString() == FKeyCaptions[static_cast<std::size_t>(n)]) {
    // F3, F6 and F7 have no command: they only return the focus to the list.
    if (n == 3 || n == 6 || n == 7) PerfectGrid1->setFocus();
    return;
  }
  switch (n) {
    case 1: OpenHtmlHelp(kHelpPage); return;
    case 2: CopyOrPaste(); break;
    case 4: AddArea(); break;
    case 5: DeleteArea(true); break;
    case 8: PrintList(); break;
    default: break;
  }
  PerfectGrid1->setFocus();
  if (HasCurrentRow()) PerfectGrid1CellGotFocus(PerfectGrid1->Row(), PerfectGrid1->Col());
  UpdateKeyBar();
}

// ---- selection ------------------------------------------------------------------------------------------

void TServerSentakuBox::F12Click() {
  if (F12->text().toStdString() == FKeyCaptions[12] || !HasCurrentRow()) return;
  const int row = PerfectGrid1->Row();
  if (PerfectGrid1->CellNumber(row, scGassan) == static_cast<double>(kGassanChild)) return;
  const int parentRow = GetParentRow(row);
  const TDataListRec* parent = GetRowRecord(parentRow);
  if (!parent) return;
  const auto index = static_cast<std::size_t>(PerfectGrid1->CellNumber(parentRow, scIndex));
  const std::string folder = NativePath(parent->PasName);
  const std::string entText = parent->EntText;
  auto refuse = [this] {
    SelectedFolder.clear();
    SelectedEntText.clear();
  };
  if (GetShareStatus(folder) == ssTakenOut && (entText == kAreaFree || entText == kAreaNew)) {
    refuse();
    ShowSentakuBox(kMsgInformation, "この領域は、現在データが作成されている可能性があるため選択できません。",
                   MsgButtons({mbOK}));
    return;
  }
  if (!DirectoryExists(folder)) {
    refuse();
    ShowSentakuBox(kMsgInformation,
                   "共有サーバーが起動していない、接続が切断されている または 共有サーバー上のデータ領域が削除された可能性があります。\r"
                   "共有サーバーが起動している場合は [更新]ボタンを押しデータリストの再作成を行って下さい。",
                   MsgButtons({mbOK}));
    return;
  }
  if (parent->Gassan == kGassanParent || parent->Gassan == kGassanHonsiten) {
    for (const TDataListRec& child : DataList[index].Children) {
      if (child.DataStatus != 1) continue;
      refuse();
      TMessageInfoRec info;
      InitMessageInfo(info);
      info.Kind = 1;
      info.Position = poScreenCenter;
      info.Caption = "選択データの状態";
      info.Text =
          "共有サーバー上のデータが破損しているため、共有データの取得を中止します。\r"
          "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。";
      info.Lines = {"【データフォルダ】", "　" + NativePath(child.PasName), "", "【オペレータ】", "", "【オペレータ名】", ""};
      ShowMessageBox(info);
      return;
    }
  }
  SelectedFolder = parent->PasName;
  SelectedEntText = entText;
  done(mrOk);
}

// ---- toolbar ----------------------------------------------------------------------------------------------

void TServerSentakuBox::btnDataInfoClick() {
  if (!HasCurrentRow()) return;
  const int row = PerfectGrid1->Row();
  TDataListRec* r = GetRowRecord(row);
  if (!r) return;
  const std::string folder = NativePath(r->PasName);
  if (!DetailBox) DetailBox = std::make_unique<TDataSyosaiInfoBox>(this);
  DetailBox->ListRow = r;
  DetailBox->DataFolder = folder;
  DetailBox->ListName = r->EntText;
  DetailBox->UpdateLock = r->UpdateLock;
  DetailBox->ReadOnly = false;
  DetailBox->Origin = 1;
  DetailBox->Prepare(0);
  if (DetailBox->ShowModal() == mrOk) {
    if (DetailBox->StatusClear == 1) {
      r->DataLock = 0;
      DataInfo->SetStatus(folder, dsFree);
      PerfectGrid1->SetCellNumber(row, scShared, 0);
      PerfectGrid1->SetCellPicture(row, scSharePic, SharePictures[0]);
    }
    // The new display name and update prohibition go into the list and into
    // an area that nobody is working on.
    if (!DetailBox->NewListName.empty() &&
        (DetailBox->NewListName != r->EntText || DetailBox->NewUpdateLock != r->UpdateLock) &&
        CheckDataFolder(folder, false, false) == dsFree) {
      r->EntText = r->DispName = DetailBox->NewListName;
      r->UpdateLock = DetailBox->NewUpdateLock;
      PerfectGrid1->SetCellText(row, scName, r->DispName);
      PerfectGrid1->SetCellNumber(row, scUpdate, r->UpdateLock);
      UpdateServerRow(*r);
    } else {
      ListCtl->UpdateServerDataListRecord(*r, 0, true);
    }
  }
  if (DetailBox->Rebuilt == 1) {
    DataInfo->SetStatus(folder, dsFree);
    r->DataStatus = 0;
    ListCtl->UpdateServerDataListRecord(*r, 0, true);
    FullRefresh();
  }
  UpdateKeyBar();
}

void TServerSentakuBox::btnListUpdateClick() {
  if (ShareRoot.empty()) return;
  const bool searching = btnSearchCancel->isEnabled();
  std::string text = "データリストの更新を行います。";
  if (searching) text += "検索実行中のため検索は解除されます。";
  text += "\rよろしいですか？";
  if (ShowSentakuBox(kMsgConfirmation, text, MsgButtons({mbYes, mbNo})) != mrYes) return;
  xAnimeProgressDialog1->SetCaption("更新中");
  xAnimeProgressDialog1->SetInfoLabel("データリストの更新中…");
  xAnimeProgressDialog1->SetAviFile(SystemDef.ExeDir + "/progress.avi");
  xAnimeProgressDialog1->SetCancelBtnShow(true);
  xAnimeProgressDialog1->Cancelled = false;
  xAnimeProgressDialog1->Show(this);
  if (searching) {
    ClearKensakuFilters(Jyoken);
    btnSearchCancel->setEnabled(false);
  }
  try {
    FullRefresh();
  } catch (...) {
    xAnimeProgressDialog1->Close();
    throw;
  }
  raise();
  activateWindow();
  xAnimeProgressDialog1->Close();
  show();
  PerfectGrid1->setFocus();
  UpdateKeyBar();
}

void TServerSentakuBox::btnMountClick() {
  // The share is mounted by the system; the program maps a letter to the
  // folder where it is mounted.
  TInputDlgBox ask(this);
  ask.InputMode = 2;
  ask.CaptionText = "ネットワークドライブの割り当て";
  ask.MessageText = "割り当てるドライブを選択して下さい。";
  for (char letter = 'D'; letter <= 'Z'; ++letter) ask.ComboItems.push_back(std::string(1, letter) + ":");
  ask.InputText = ask.ComboItems.front();
  ask.Prepare(true);
  if (ask.ShowModal() != mrOk || ask.InputText.empty()) return;
  const std::string letter = ask.InputText.substr(0, 1);
  std::string folder;
  if (!SelectFolder("共有フォルダを選択して下さい", folder, true)) return;
  folder = ExcludeTrailingPathDelimiter(folder);
  try {
    if (folder.empty() || !DirectoryExists(folder)) throw std::runtime_error("no folder");
    WriteShareDrive(letter, folder);
  } catch (...) {
    ShowSentakuBox(kMsgInformation, kMountFailed, MsgButtons({mbOK}));
    return;
  }
  BuildDriveList();
  PerfectGrid1->ClearRows();
  if (!ShareRoot.empty()) FullRefresh();
  UpdateKeyBar();
}

void TServerSentakuBox::btnSearchClick(bool Cancel) {
  if (Cancel) {
    ClearKensakuFilters(Jyoken);
    LoadList(false);
    FillGrid();
    btnSearchCancel->setEnabled(false);
    UpdateKeyBar();
    return;
  }
  if (!SearchBox) SearchBox = std::make_unique<TDataListKensakuBox>(this);
  SearchBox->ListType = kServerListType;
  SearchBox->Jyoken = Jyoken;
  SearchBox->Prepare(1);
  if (SearchBox->ShowModal() != mrOk) return;
  Jyoken = SearchBox->Jyoken;
  KensakuUpdateRecord(Jyoken);
  SavedJyoken = Jyoken;
  LoadList(false);
  FillGrid();
  btnSearchCancel->setEnabled(true);
  UpdateKeyBar();
}

void TServerSentakuBox::cboxDataListUpdateClick() {
  SystemDef.ServerListUpdate = cboxDataListUpdate->isChecked() ? 1 : 0;
}

// ---- closing --------------------------------------------------------------------------------------------

void TServerSentakuBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
  if (CopyPending) CancelCopy();
  Jyoken.SORTCOL = SortCol < 0 ? 0 : SortCol;
  Jyoken.SORTTYPE = SortDesc ? 1 : 0;
  KensakuUpdateRecordSortField(Jyoken);
}

bool TServerSentakuBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PerfectGrid1 && event->type() == QEvent::FocusIn) UpdateKeyBar();
  return TBSDI::eventFilter(watched, event);
}
