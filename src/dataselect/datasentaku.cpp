// The data-selection dialog: creation, parameters, modes, key bar, selection
// and closing.
#include "dataselect/datasentaku.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTimer>

#include <filesystem>
#include <stdexcept>

#include "core/globals.h"
#include "core/settings.h"
#include "core/textutil.h"
#include "dataselect/datadetail.h"
#include "dataselect/datakensakubox.h"
#include "dataselect/gassandata.h"
#include "dataselect/datasentakucmds.h"
#include "dataselect/listdialogparts.h"
#include "dbaccess/datasetconnection.h"
#include "dbupdate/dbupdatebox.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/htmlhelp.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"
#include "ui/xedit.h"

namespace {

const char* const kNoDataMessage = "このフォルダには財務データがありません。\r";
const char* const kBadPathMessage = "データフォルダパスが不正です。\r処理を中止します。";
const char* const kHelpPage = "file01.html";

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : Text) {
    if (c == '\r') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

std::string ParamValue(const std::vector<std::string>& Lines, const std::string& Name, bool& Found) {
  Found = false;
  for (const std::string& l : Lines) {
    const std::size_t eq = l.find('=');
    if (eq != std::string::npos && SameText(l.substr(0, eq), Name)) {
      Found = true;
      return l.substr(eq + 1);
    }
  }
  return "";
}

namespace {

std::string WithoutTrailingDelimiter(std::string Path) {
  while (Path.size() > 1 && (Path.back() == '/' || Path.back() == '\\')) Path.pop_back();
  return Path;
}

}  // namespace

int ShowSentakuBox(std::uint8_t Kind, const std::string& Text, TMsgDlgButtons Buttons) {
  TMessage2InfoRec info;
  InitMessage2Info(Kind, info);
  info.Buttons = Buttons;
  std::size_t n = 0;
  for (const std::string& line : SplitLines(Text)) {
    if (n == info.Lines.size()) break;
    info.Lines[n++].Text = line;
  }
  return ShowMessageBox2(info);
}

// ---- creation --------------------------------------------------------------------------------

TDataSentakuBox::TDataSentakuBox(QWidget* owner) : TBSDI(owner, bsDialog, "TDataSentakuBox") {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = KeepOnClose = false;
  BuildControls();
  ListCtl = std::make_unique<TDataSentakuListCtl>();
  ListCtl->ConnectKind = ConnectKind;
  DataInfo = std::make_unique<TDataInfomation>();
  DataInfo->ConnectKind = ConnectKind;
  DbUpdateBox = std::make_unique<TDbUpdateBox>();
  DataPlace = SystemDef.DataPlace;
  SelectOnShow = true;
  if (ConnectKind == 0) {
    setWindowTitle("データ選択");
    ColorPerfectGrid(PerfectGrid1, 0);
    PerfectGrid1->SetBackColor(DefaultGridColors[3]);
    PerfectGrid1->SetOddRowBackColor(DefaultGridColors[5]);
    PerfectGrid1->SetFocusBorderColor(DefaultGridColors[7]);
    pnlDataMan->hide();
  } else {
    setWindowTitle(ConnectKind == 1 ? "データ選択（サーバー）" : "データ選択");
    PerfectGrid1->SetBackColor(DefaultGridColors[3]);
    PerfectGrid1->SetOddRowBackColor(0xFFF0E1);
    PerfectGrid1->SetFocusBorderColor(0x804000);
    btnKyoyuDataUp->hide();
    btnKyoyuDataDown->hide();
    cboxKyoyuDataAuto->hide();
    pnlDataMan->show();
    btnCloudShare->move(btnKyoyuDataDown->pos());
  }
  SetUpColumns();
  Initialized = true;
}

TDataSentakuBox::~TDataSentakuBox() = default;

void TDataSentakuBox::BuildControls() {
  resize(Px(992), Px(564));
  pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  pnlBottom->resize(width(), Px(128));
  SetAlign(pnlBottom, alBottom);
  pnlClient = new QWidget(this);
  pnlClient->setObjectName("pnlClient");
  pnlClient->resize(width(), Px(436));
  SetAlign(pnlClient, alTop);

  btnCloudShare = NewPlButton(pnlClient, "btnCloudShare", "ｸﾗｳﾄﾞ", 480, 8, 65, 49);
  btnKyoyuDataUp = NewPlButton(pnlClient, "btnKyoyuDataUp", "共有保管", 552, 8, 65, 49);
  btnKyoyuDataDown = NewPlButton(pnlClient, "btnKyoyuDataDown", "共有取得", 624, 8, 65, 49);
  btnSearchCancel = NewPlButton(pnlClient, "btnSearchCancel", "検索解除", 695, 8, 65, 49);
  btnSearch = NewPlButton(pnlClient, "btnSearch", "検索", 767, 8, 65, 49);
  btnDataInfo = NewPlButton(pnlClient, "btnDataInfo", "情報", 839, 8, 65, 49);
  btnListUpdate = NewPlButton(pnlClient, "btnListUpdate", "更新", 911, 8, 65, 49);
  btnKyoyuDataUp->setEnabled(false);
  btnKyoyuDataDown->setEnabled(false);
  btnSearchCancel->setEnabled(false);
  btnCloudShare->OnClick = [this](QObject*) { btnCloudShareClick(); };
  btnKyoyuDataUp->OnClick = [this](QObject*) { btnKyoyuDataUpClick(); };
  btnKyoyuDataDown->OnClick = [this](QObject*) { btnKyoyuDataDownClick(); };
  btnSearchCancel->OnClick = [this](QObject*) { btnSearchClick(true); };
  btnSearch->OnClick = [this](QObject*) { btnSearchClick(false); };
  btnDataInfo->OnClick = [this](QObject*) { btnDataInfoClick(); };
  btnListUpdate->OnClick = [this](QObject*) { btnListUpdateClick(); };
  SetHint(cboxKyoyuDataAuto = new QCheckBox("共有データの取得と保管を自動化する", pnlClient),
          "ﾁｪｯｸを入れると取得・保管ﾎﾞﾀﾝを使わずに共有ﾃﾞｰﾀを処理できます。空白行に共有ﾃﾞｰﾀを割り当てる場合やLANから切り離してﾃﾞｰﾀ持ち出す場合はﾁｪｯｸを外してください。|");
  cboxKyoyuDataAuto->setObjectName("cboxKyoyuDataAuto");
  cboxKyoyuDataAuto->setGeometry(Px(16), Px(40), Px(300), Px(17));
  connect(cboxKyoyuDataAuto, &QCheckBox::clicked, this, [this] { cboxKyoyuDataAutoClick(); });
  SetHint(btnKyoyuDataUp, "選択した共有ﾃﾞｰﾀを他のPCで使用可能にします。保管を行うと［共有］欄にｱｲｺﾝが付きます。|");
  SetHint(btnKyoyuDataDown,
          "空白行を選択してｸﾘｯｸすると［共有ﾃﾞｰﾀの選択］画面が開きます。共有ﾃﾞｰﾀ行を選択してｸﾘｯｸすると選択可能になります。（［共有］欄のｱｲｺﾝが外れます。）|");
  SetHint(btnSearchCancel, "検索状態を解除します。|");
  SetHint(btnSearch, "［検索条件の設定］画面を開きます。一定条件に該当するﾃﾞｰﾀを抽出表示する場合に使用します。|");
  SetHint(btnDataInfo,
          "「ﾃﾞｰﾀの詳細情報」画面を開きます。入力済み仕訳件数や部門・本支店の設定状況など、選択ﾃﾞｰﾀの基本情報を表示します。|「ﾃﾞｰﾀの詳細情報」画面を開きます。入力済み仕訳件数や部門・本支店の設定状況など、選択ﾃﾞｰﾀの基本情報を表示します。\r\nﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名を変更することも可能です。");
  SetHint(btnListUpdate,
          "ﾃﾞｰﾀﾘｽﾄを更新します。［F5：ﾃﾞｰﾀ削除］や［F7：復元］などの機能を使わずに移行したﾃﾞｰﾀを再表示します。|ﾃﾞｰﾀﾘｽﾄを更新します。入力済み仕訳件数や部門・本支店の設定状況など、選択ﾃﾞｰﾀの基本情報を表示します。\r\nﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名を変更することも可能です。");

  pnlDataMan = new QWidget(pnlClient);
  pnlDataMan->setObjectName("pnlDataMan");
  pnlDataMan->setGeometry(Px(8), Px(11), Px(449), Px(37));
  auto* label = new QLabel("データの場所:", pnlDataMan);
  label->setGeometry(Px(8), Px(10), Px(90), Px(16));
  cmbDataMan = new QComboBox(pnlDataMan);
  cmbDataMan->setObjectName("cmbDataMan");
  cmbDataMan->setGeometry(Px(100), Px(6), Px(260), Px(24));
  cmbDataMan->setMaxVisibleItems(10);
  SetHint(cmbDataMan,
          "データの場所を選択します。|データの場所をドロップダウンリストより選択します。選択された場所のデータリストが表示されます。");
  connect(cmbDataMan, &QComboBox::activated, this, [this] {
    cmbDataManChange();
    cmbDataManExit();
  });
  btnDataMan = NewPlButton(pnlDataMan, "btnDataMan", "設定", 368, 4, 73, 28);
  SetHint(btnDataMan, "データの場所を設定します。|データの場所を設定する画面が開きます。");
  btnDataMan->OnClick = [this](QObject*) { btnDataManClick(); };

  BuildListGrid(*this, pnlClient);

  BuildListKeyBar(*this, pnlBottom);

  BuildIncSearchBox(*this, pnlClient);
  xAnimeProgressDialog1 = new TxAnimeProgressDialog(this);
  xAnimeProgressDialog1->SetCommonAVI(aviFindFolder);
  xAnimeProgressDialog1->SetCancelBtnShow(false);

  const int size = Px(16);
  StatePictures[0] = style()->standardIcon(QStyle::SP_FileIcon).pixmap(size, size);
  StatePictures[1] = style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size);
  StatePictures[2] = style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(size, size);
  CloudPictures[0] = QPixmap();
  CloudPictures[1] = style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(size, size);
}

int TDataSentakuBox::StateColumn() const { return ConnectKind == 0 ? dcSharePic : dcLockPic; }

bool TDataSentakuBox::HasCurrentRow() const {
  const int r = PerfectGrid1->Row();
  return r > 0 && r != TPerfectGrid::kNoRow && r <= PerfectGrid1->Rows();
}

// ---- parameters and start ------------------------------------------------------------------------

void TDataSentakuBox::SetParams(const std::vector<std::string>& Params) {
  ParamLines = Params;
  bool found = false;
  const int type = StrToIntDef(Trim(ParamValue(Params, "SyoriType", found)), -1);
  if (type > 5) throw std::runtime_error("処理タイプに範囲外の値が設定されました。");
  if (type >= 0) SyoriType = static_cast<std::uint8_t>(type);
  FormStyle = StrToIntDef(Trim(ParamValue(Params, "FormStyle", found)), 0);
  ResetKensakuCondition(CallerJyoken, 0);
  ParamValue(Params, "JyokenSet", CallerJyokenOn);
  if (CallerJyokenOn) {
    CallerJyoken.JYOKENUSE = 1;
    CallerJyoken.DATATYPE = StrToIntDef(Trim(ParamValue(Params, "DataType", found)), 0);
    CallerJyoken.CODETYPE = StrToIntDef(Trim(ParamValue(Params, "CodeType", found)), 0);
    // The last of the three version keys in the lines wins.
    for (const std::string& l : Params) {
      const std::size_t eq = l.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = l.substr(0, eq);
      const int kind = SameText(key, "DataVer") ? 0 : SameText(key, "DataVerMajor") ? 1 : SameText(key, "DataVerMore") ? 2 : -1;
      if (kind < 0) continue;
      CallerJyoken.DATAVER = Trim(l.substr(eq + 1));
      CallerJyoken.VERCOMPARE = kind;
    }
    ManualFree = ParamValue(Params, "ManualFree", found) == "1";
    KeepOnClose = ManualFree;
  }
  RestoreChosen = false;
  BackupPath.clear();
  if (SyoriType == 5) {
    RestoreChosen = SameText(ParamValue(Params, "OnlySA_Syori", found), "Restore");
    BackupPath = ParamValue(Params, "OnlySA_BackupPath", found);
  }
  switch (FormStyle) {
    case 0: case 1: case 2: break;
    default: setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
}

std::int32_t TDataSentakuBox::Execute(std::int32_t Modal) {
  if (Modal != 1) {
    show();
    return 1;
  }
  if (MenuRequestProc && MenuRequestProc(10, "") > 0) {
    ShowSentakuBox(kMsgWarning, "メニュー以外の処理が開いています。\r全ての処理を閉じてから処理を実行してください。",
                   MsgButtons({mbYes}));
    return -1;
  }
  if (!Initialized) {
    ShowSentakuBox(kMsgError, Format("%s画面の初期化に失敗しました。\r処理を終了します。", windowTitle().toStdString()),
                   MsgButtons({mbOK}));
    return -1;
  }
  PlaceForm(0, 0, 0, 0, 3);
  PrepareMode();
  return ShowModal();
}

void TDataSentakuBox::PrepareMode() {
  switch (SyoriType) {
    case 2:
      SystemDef.SelectResult.clear();
      NotifyMenu = false;
      btnCloudShare->hide();
      if (ConnectKind == 0) {
        SavedAutoStore = SystemDef.KyoyuDataAuto;
        SystemDef.KyoyuDataAuto = 0;
      }
      break;
    case 3: case 4: btnCloudShare->hide(); break;
    case 5:
      SystemDef.SelectResult.clear();
      NotifyMenu = false;
      break;
    default: break;
  }
  LoadDataList();
  FirstPlacement = false;
}

void TDataSentakuBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (Initialized && isVisible()) {
    if (SelectOnShow) SelectCurrentData();
    SelectOnShow = true;
    PerfectGrid1->setFocus();
    UpdateKeyBar();
  }
}

// ---- data path test --------------------------------------------------------------------------------

std::string TDataSentakuBox::DataFilePath(const std::string& Folder) { return Folder + "/" + DataFile; }

std::int32_t TDataSentakuBox::CheckDataPath(const std::string& Path) {
  if (Trim(Path).empty()) {
    if (SyoriType == 3) return -2;
    throw std::runtime_error(kBadPathMessage);
  }
  if (ConnectKind == 0) {
    std::uint8_t status = 1;
    if (SyoriType == 0 || SyoriType == 1 || SyoriType == 3) status = CheckDataStatus(Path, true, true);
    else if (SyoriType == 2 || SyoriType == 4) status = CheckDataStatus(Path, false, false);
    if (status == 1) return std::filesystem::exists(DataFilePath(Path)) ? 1 : 0;
    return SystemDef.DataDamaged == 1 ? -3 : -1;
  }
  if (ConnectKind == 1 || ConnectKind == 2) {
    if (SyoriType == 2 || SyoriType == 4) return DataModuleExists() && ServerFiles().ServerFExist(DataFilePath(Path), ConnectKind) ? 1 : 0;
    if (SyoriType == 5) return -1;
    const std::uint8_t status = CheckDataStatus(Path, true, true);
    if (status == 1 || status == 2) {
      if (DataModuleExists() && ServerFiles().ServerFExist(DataFilePath(Path), ConnectKind)) return 1;
      ShowSentakuBox(kMsgWarning, kNoDataMessage, MsgButtons({mbYes}));
      return -1;
    }
    return SystemDef.DataDamaged == 1 ? -3 : -1;
  }
  ShowSentakuBox(kMsgError, "製品タイプ不整合のためデータを起動できませんでした。\r", MsgButtons({mbYes}));
  return -1;
}

// ---- key bar ------------------------------------------------------------------------------------------

void TDataSentakuBox::ApplyKeyCaptions(const std::array<std::string, 13>& c) {
  ESC->setText(QString::fromStdString(c[0]));
  for (int i = 1; i <= 8; ++i) FKeys[i]->setText(QString::fromStdString(c[i]));
  F12->setText(QString::fromStdString(c[12]));
}

void TDataSentakuBox::UpdateKeyBar() {
  std::array<std::string, 13> c = {kListEscCaption, "F1:ヘルプ", "F2:コピー", "F3:新規作成", "F4:割当解除", "F5:ﾃﾞｰﾀ削除",
                                   "F6:保存", "F7:復元", "F8:印刷", "F9:", "F10:", "F11:", "F12:選択"};
  auto blank = [&c](int i) { c[i] = FKeyCaptions[i]; };
  if (ConnectKind != 0) c[4] = "F4:領域追加";
  if (SyoriType == 2 || SyoriType == 4) blank(3);
  KeyBarState = 0;
  const bool gridActive = PerfectGrid1->hasFocus() || focusWidget() == PerfectGrid1 || !isVisible();
  if (gridActive && HasCurrentRow()) {
    const int row = PerfectGrid1->Row();
    KeyBarState = CopyPending ? 2 : 1;
    c[2] = CopyPending ? "F2:貼り付け" : "F2:コピー";
    const TDataListRec* r = GetRowRecord(row);
    const std::int32_t index = static_cast<std::int32_t>(PerfectGrid1->CellNumber(row, dcIndex));
    if (r && index >= 0 && index < static_cast<std::int32_t>(DataList.size())) {
      const TDataListRec& parent = DataList[static_cast<std::size_t>(index)].Row;
      if (DataModuleExists() && DataSetConnection().CanUseCloudShare(false) && r->Cloud == 1) blank(3);
      if (ConnectKind == 0 && r->NetDrive == 0) {
        blank(4);
        if (r->EntText.empty()) {
          if (!CopyPending) blank(2);
          blank(5);
          blank(6);
        } else {
          blank(3);
          if (r->Gassan == 1) c[3] = "F3:分散追加";
          else if (parent.Gassan == 2 && r->Gassan == 10) blank(5);
        }
      } else if (ConnectKind == 0 && r->KyoyuLock == 0) {
        for (int i : {2, 3, 5, 7}) blank(i);
        if (r->Gassan == 10) blank(4);
        if (cboxKyoyuDataAuto->isVisibleTo(this) && SystemDef.KyoyuDataAuto == 0) blank(12);
      } else if (ConnectKind == 0) {
        for (int i : {3, 4, 5}) blank(i);
        if (r->EntText == kAreaNew || (r->EntText == kAreaFree && r->Gassan <= 2)) {
          c[3] = "F3:新規作成";
          c[4] = "F4:割当解除";
        }
        if (r->Gassan == 1) c[3] = "F3:分散追加";
        else if (parent.Gassan == 1 && r->Gassan == 10) c[5] = "F5:ﾃﾞｰﾀ削除";
      } else {
        if (r->EntText.empty()) {
          if (!CopyPending) blank(2);
          blank(5);
          blank(6);
        } else {
          blank(3);
          if (ConnectKind == 1) c[3] = "F3:持ち出し";
        }
      }
      // Shared-server buttons (stand-alone, without the automatic option).
      if (!cboxKyoyuDataAuto->isChecked()) {
        const std::int32_t share = GetShareState(0, row);
        if (r->NetDrive == 0) {
          btnKyoyuDataDown->setEnabled(r->EntText.empty());
          btnKyoyuDataUp->setEnabled(false);
        } else if (r->EntText.empty() || r->EntText == kAreaFree || r->EntText == kAreaNew) {
          btnKyoyuDataDown->setEnabled(false);
          btnKyoyuDataUp->setEnabled(false);
        } else {
          btnKyoyuDataDown->setEnabled(share == 1);
          btnKyoyuDataUp->setEnabled(share == 2);
        }
      }
      btnCloudShare->setEnabled(true);
      if (r->DataStatus != 0) {
        for (int i : {2, 3, 4, 6, 12}) blank(i);
        btnKyoyuDataUp->setEnabled(false);
        btnCloudShare->setEnabled(false);
      }
      if (r->VerMajor == 0) btnCloudShare->setEnabled(false);
    }
  } else {
    btnKyoyuDataDown->setEnabled(false);
    btnKyoyuDataUp->setEnabled(false);
    if (!CopyPending) btnCloudShare->setEnabled(false);
  }
  if (!PerfectGrid1->isEnabled() || !pnlBottom->isEnabled()) {
    KeyBarState = 0;
    blank(8);
    blank(12);
  }
  if (KeyBarState == 0)
    for (int i = 2; i <= 7; ++i) blank(i);
  if (SyoriType == 3) {
    for (int i = 1; i <= 8; ++i) blank(i);
    btnSearchCancel->setEnabled(false);
    btnSearch->setEnabled(false);
  } else if (SyoriType == 4) {
    for (int i : {1, 2, 3, 6, 7, 8}) blank(i);
  } else if (SyoriType == 5) {
    for (int i = 1; i <= 8; ++i) blank(i);
  }
  ApplyKeyCaptions(c);
}

void TDataSentakuBox::LoadHints() {
  const std::string head = "［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で選択します。|［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で選択します。\r\n";
  const std::string type4 = "［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で選択します。|［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で空いている行を選択します。\r\n";
  const std::string share = "\r\n共有ﾃﾞｰﾀを処理する場合は［共有取得］、取得した共有ﾃﾞｰﾀを他のｵﾍﾟﾚｰﾀが使えるようにする場合は［共有保管］をｸﾘｯｸします。";
  const std::string blankRow = "空白行は選択できません。";
  const std::string create = "［F3］で新規にﾃﾞｰﾀを作成するか、又は［F7］で作成済みのﾃﾞｰﾀを復元してください。\r\n";
  const std::string media0 = "選択ﾃﾞｰﾀを削除する場合は［F5］、ﾌﾗｯｼｭﾒﾓﾘなどのﾒﾃﾞｨｱに保存する場合は［F6］を押します。";
  const std::string media2 = "選択ﾃﾞｰﾀを削除する場合は［F5］を、ﾌﾗｯｼｭﾒﾓﾘなどのﾒﾃﾞｨｱに保存する場合は［F6］を押します。";
  const std::string restore = "［F7］で作成済みのﾃﾞｰﾀを復元してください。\r\n";
  std::string hint;
  if (SyoriType == 5) return;
  if (SyoriType == 4) hint = type4;
  else if (ConnectKind == 0) hint = SyoriType == 2 ? head + restore + media0 + share : head + blankRow + create + media0 + share;
  else if (ConnectKind == 1) hint = SyoriType == 2 ? head : head + blankRow;
  else hint = SyoriType == 2 ? head + restore + media2 : head + blankRow + create + media2;
  SetHint(PerfectGrid1, hint);
}

// ---- keys and selection ------------------------------------------------------------------------------

void TDataSentakuBox::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
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

void TDataSentakuBox::ESCClick() {
  if (!pnlBottom->isEnabled() || ESC->text().toStdString() == FKeyCaptions[0]) return;
  if (CopyPending) {
    CancelCopyPending(*this);
    UpdateKeyBar();
    return;
  }
  CancelFlag = true;
  done(mrCancel);
}

void TDataSentakuBox::FKeyClick(int n) {
  if (FKeys[n]->text().toStdString() == FKeyCaptions[n]) return;
  const std::string caption = FKeys[n]->text().toStdString();
  switch (n) {
    case 1: OpenHtmlHelp(kHelpPage); break;
    case 2: DataCopyOrPaste(*this, KeyBarState); break;
    case 3:
      if (caption == "F3:分散追加") AddChildData(*this);
      else if (caption == "F3:持ち出し") TakeOutData(*this);
      else NewData(*this, PerfectGrid1->Row());
      break;
    case 4:
      if (ConnectKind == 0) ReleaseArea(*this);
      else AddArea(*this);
      break;
    case 5: DeleteData(*this); break;
    case 6: SaveData(*this); break;
    case 7: RestoreData(*this); break;
    case 8: PrintDataList(*this); break;
    default: break;
  }
  PerfectGrid1->setFocus();
  if (HasCurrentRow()) PerfectGrid1CellGotFocus(PerfectGrid1->Row(), PerfectGrid1->Col());
  UpdateKeyBar();
}

std::int32_t TDataSentakuBox::AutoTransfer(bool Upload, std::int32_t Row) {
  if (SystemDef.KyoyuDataAuto != 1) return 1;
  const std::int32_t share = GetShareState(0, Row);
  if (Upload && share == 2) return StoreSharedData(1);
  if (!Upload && share == 1) return FetchSharedData(1);
  return 1;
}

void TDataSentakuBox::F12Click() {
  int result = mrNone;
  SystemDef.DataDamaged = 0;
  if (F12->text().toStdString() == FKeyCaptions[12] || !HasCurrentRow()) return;
  const int row = PerfectGrid1->Row();
  TDataListRec* r = GetRowRecord(row);
  if (!r) return;
  SelectPath = GetRowDataFolder(row);
  SelectPasName = r->PasName;
  auto clear = [this] {
    SelectPath.clear();
    SelectPasName.clear();
  };
  auto take = [this] {
    SystemDef.DataDir = SelectPath;
    SystemDef.DataPasName = SelectPasName;
  };
  auto checkPath = [this](const std::string& path) {
    try {
      return CheckDataPath(path);
    } catch (...) {  // unreadable: -3 when the data set fails verification, otherwise -1
      if (DataModuleExists() && DataSetConnection().VerifyData(SystemDef.HostName, path, 1, 1) == 0) return -3;
      return -1;
    }
  };
  auto refused = [&](std::int32_t b) {
    clear();
    DataListRefresh(row);
    if (b == -3) {
      if (TDataListRec* again = GetRowRecord(row)) again->DataStatus = 1;
      PerfectGrid1->SetCellNumber(row, dcDamaged, 1);
      PerfectGrid1->SetRowTextColor(row, 255);
    }
  };
  if (SyoriType == 0 || SyoriType == 1 || SyoriType == 3 || SyoriType == 5) {
    if (r->NetDrive == 1 && r->KyoyuLock == 0 && SystemDef.KyoyuDataAuto == 0) {
      ShowSentakuBox(kMsgInformation,
                     "このデータは共有サーバーに保管されています。\r共有取得を実行してから選択して下さい。",
                     MsgButtons({mbOK}));
      return;
    }
    const std::int32_t b = checkPath(SelectPath);
    if (b < 0) {
      refused(b);
      return;
    }
    if (b == 0) {
      if (SyoriType == 5) {
        if (!RestoreChosen) {
          ShowSentakuBox(kMsgInformation, "この場所にはデータがありません。他の場所を選んで下さい。", MsgButtons({mbOK}));
          clear();
          return;
        }
        take();
        if (AutoTransfer(false, row) < 1 || RestoreFromBackup(*this, BackupPath) == -1) {
          clear();
          return;
        }
        result = mrOk;
      } else {
        if (ShowSentakuBox(kMsgConfirmation, "選択したパスにはデータが存在しません。\r新規にデータを作成しますか？",
                           MsgButtons({mbYes, mbNo})) != mrYes) {
          clear();
          return;
        }
        // Only data that was really created is taken; anything else leaves
        // the dialog open on the list.
        if (NewData(*this, row) != 1) {
          clear();
          return;
        }
        take();
        result = mrOk;
      }
    } else if (SyoriType == 0 || SyoriType == 1) {
      if (PerfectGrid1->CellNumber(row, dcUpdate) != 0) {
        TMessage2InfoRec info;
        ResolveCannedMessage(4113, info);
        ShowMessageBox2(info);
        return;
      }
      take();
      result = mrOk;
    } else if (SyoriType == 5) {
      if (DataModuleExists() && DataSetConnection().CanUseCloudShare(false) && r->Cloud == 1) {
        ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため選択できません。他の場所を選んで下さい。", MsgButtons({mbOK}));
        return;
      }
      take();
      std::int32_t final = 1;
      if (RestoreChosen) {
        final = RestoreFromBackup(*this, BackupPath) == -1 ? 0 : 1;
      } else {
        final = AutoTransfer(false, row);
        if (final >= 1) {
          final = BackupToFile(*this, BackupPath);
          if (final == 1) final = AutoTransfer(true, row);
        }
      }
      if (final < 1) {
        clear();
        return;
      }
      result = mrOk;
    } else {
      take();
      result = mrOk;
    }
  } else {
    if (SelectPath == SystemDef.DataDir) {
      ShowSentakuBox(kMsgInformation, "このデータは現在選択中のデータです。\r他の場所を選んで下さい。", MsgButtons({mbOK}));
      clear();
      return;
    }
    const std::int32_t b = checkPath(SelectPath);
    if (b < 0) {
      clear();
      DataListRefresh(row);
      return;
    }
    if (b == 1) {
      ShowSentakuBox(kMsgInformation, "選択したパスには既にデータが存在します。\r他の場所を選んで下さい。", MsgButtons({mbOK}));
      clear();
      return;
    }
    if (SyoriType == 2 && ConnectKind == 0 && SystemDef.DataDir != SystemDef.DataPasName && SelectPath == SelectPasName) {
      TMessage2InfoRec info;
      InitMessage2Info(kMsgConfirmation, info);
      info.Buttons = MsgButtons({mbOK, mbCancel});
      const char* lines[] = {"更新前データは共有データ領域で管理されています。",
                             "今回指定した保存先では他のオペレータとデータが共有できません。",
                             "共有の必要がなければこのメッセージを[OK]してください。",
                             "共有する必要がある場合は[キャンセル]し、データ選択画面右上の「共有取得」ボタン",
                             "より、共有データ領域をお選びください。"};
      for (int i = 0; i < 5; ++i) info.Lines[static_cast<std::size_t>(i)].Text = lines[i];
      if (ShowMessageBox2(info) != mrOk) return;
    }
    SystemDef.SelectResult = "PATH1=" + SelectPath + "\r" + "PATH2=" + SelectPasName;
    result = mrOk;
  }
  if (result == mrOk) done(mrOk);
}

// ---- closing ------------------------------------------------------------------------------------------

void TDataSentakuBox::done(int result) {
  if (isVisible()) {
    int r = result;
    bool canClose = true;
    closeResult_ = r;
    FormCloseQuery(canClose);
    if (!canClose) return;
    result = closeResult_;
  }
  TBSDI::done(result);
}

void TDataSentakuBox::FormCloseQuery(bool& CanClose) {
  int& mr = closeResult_;
  if ((SyoriType == 1 || SyoriType == 3) && mr != mrOk && !(SyoriType == 1 && mr == mrCancel && !CancelFlag)) {
    SelectPath = WithoutTrailingDelimiter(ShowTimeDataDir);
    SelectPasName.clear();
    std::int32_t c = -2;
    try {
      c = CheckDataPath(SelectPath);
    } catch (...) {  // unreadable: not usable
      c = -1;
    }
    if (c < 0) {
      SelectPath.clear();
      if (SyoriType == 1) mr = mrNone;
    } else if (c == 0) {
      ShowSentakuBox(kMsgInformation, "前回、選択したデータは削除されています。\r", MsgButtons({mbOK}));
      SelectPath.clear();
      if (SyoriType == 1) mr = mrNone;
    } else {
      SystemDef.DataDir = SelectPath;
      SystemDef.DataPasName = SelectPasName;
    }
  } else if (SyoriType == 1 && mr == mrCancel && !CancelFlag) {
    mr = mrAbort;
    TMessage2InfoRec info;
    InitMessage2Info(kMsgConfirmation, info);
    info.Buttons = MsgButtons({mbOK, mbCancel});
    info.Lines[0].Text = SystemDef.AppTitle + "を終了します。よろしいですか？";
    if (ShowMessageBox2(info) != mrOk) mr = mrNone;
  }
  if (SyoriType == 2 && DataModuleExists() && !DataSetConnection().IBDatabaseDAT.Connected())
    DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false);
  CanClose = mr != mrNone;
  if (!CanClose) CancelFlag = false;
}

void TDataSentakuBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  if (CopyPending) CancelCopyPending(*this);
  ActiveJyoken.SORTCOL = SortCol < 0 ? 0 : SortCol;
  ActiveJyoken.SORTTYPE = SortDesc ? 1 : 0;
  KensakuUpdateRecordSortField(ActiveJyoken);
  if (SyoriType == 5) return;
  SystemDef.DataPlace = ConnectKind == 0 ? 0 : DataPlace;
  if (SyoriType == 2) {
    NotifyMenu = false;
    if (ConnectKind == 0) SystemDef.KyoyuDataAuto = SavedAutoStore;
  } else if (DataModuleExists()) {
    SystemStore().fnPutSysDef();
  }
}

// ---- registration -----------------------------------------------------------------------------------------

namespace {

// The process interface of one started dialog: owns the window unless it
// frees itself on close.
class TDataSentakuProcess : public IProcessForm {
 public:
  explicit TDataSentakuProcess(QWidget* owner) : box_(new TDataSentakuBox(owner)) {}
  ~TDataSentakuProcess() override {
    if (box_ && !box_->isVisible()) delete box_.data();
  }
  std::int32_t Execute(std::int32_t Modal) override { return box_ ? box_->Execute(Modal) : -1; }
  void SetParams(const std::vector<std::string>& Params) override {
    std::vector<std::string> lines = Params;
    if (box_) box_->SetParams(lines);
  }

 private:
  QPointer<TDataSentakuBox> box_;
};

const TProcessClass kDataSentakuClass{
    "TDataSentakuBox",
    [](void* owner) -> std::unique_ptr<IProcessForm> {
      return std::make_unique<TDataSentakuProcess>(static_cast<QWidget*>(owner));
    }};

const bool kRegistered = (RegisterProcessClass(&kDataSentakuClass, kProcDataSentaku), true);

}  // namespace

const TProcessClass* RegisterDataSentakuBox() {
  (void)kRegistered;
  RegisterProcessClass(&kDataSentakuClass, kProcDataSentaku);
  return &kDataSentakuClass;
}
