#include "dataselect/dataplacebox.h"

#include <QPlainTextEdit>

#include <utility>

#include "core/globals.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/fberror.h"
#include "dbaccess/serverfiles.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/inputdlg.h"
#include "ui/plbutton.h"

namespace {

enum : int { pcNo = 0, pcName = 1, pcPath = 2 };

const char* const kDeleteCaption = "F5:削除";
const char* const kRenameCaption = "F3:名称変更";
const char* const kCreateCaption = "F2:新規作成";

TxPlButton* MakeKey(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h) {
  TxPlButton* b = NewPlButton(parent, name, caption, x, y, w, h);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

// A key whose caption is only its key name ("F2:") does nothing.
bool Blank(const TxPlButton* key) { return key->text().endsWith(':'); }

void Inform(const std::string& text) { ShowSentakuBox(kMsgInformation, text, MsgButtons({mbOK})); }

}  // namespace

TDataPlaceBox::TDataPlaceBox(QWidget* owner) : TBSDI(owner, bsDialog, "TDataPlaceBox") {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = false;
  KeepOnClose = true;
  setWindowTitle("データの場所の設定");
  resize(Px(691), Px(437));

  pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  pnlBottom->resize(width(), Px(110));
  SetAlign(pnlBottom, alBottom);
  pnlClient = new QWidget(this);
  pnlClient->setObjectName("pnlClient");
  SetAlign(pnlClient, alClient);

  PerfectGrid1 = new TPerfectGrid(pnlClient);
  PerfectGrid1->setObjectName("PerfectGrid1");
  PerfectGrid1->setGeometry(Px(24), Px(24), Px(522), Px(289));
  PerfectGrid1->SetFixedLefts(0);
  PerfectGrid1->SetCols(3);
  const struct { const char* header; int width; } columns[] = {{"No", 40}, {"名称", 230}, {"フォルダパス", 230}};
  for (int c = 0; c < 3; ++c) {
    PerfectGrid1->SetColumnHeader(c, columns[c].header);
    PerfectGrid1->SetColumnWidth(c, columns[c].width);
  }
  PerfectGrid1->SetColumnAlignment(pcNo, Qt::AlignRight | Qt::AlignVCenter);
  PerfectGrid1->OnCellGotFocus = [this](int r, int c) { PerfectGrid1CellGotFocus(r, c); };
  PerfectGrid1->OnCellLostFocus = [this](int r, int c) { PerfectGrid1CellLostFocus(r, c); };
  // Enter counts as a double click, which does nothing further here.
  PerfectGrid1->OnKeyPress = [](char16_t& k) {
    if (k == 13) k = 0;
  };

  F2 = MakeKey(pnlClient, "F2", kCreateCaption, 560, 24, 105, 33);
  F3 = MakeKey(pnlClient, "F3", kRenameCaption, 560, 64, 105, 33);
  F5 = MakeKey(pnlClient, "F5", kDeleteCaption, 560, 104, 105, 33);
  F6 = MakeKey(pnlClient, "F6", "上へ", 560, 160, 105, 33);
  F7 = MakeKey(pnlClient, "F7", "下へ", 560, 200, 105, 33);
  F2->OnClick = [this](QObject*) { F2Click(); };
  F3->OnClick = [this](QObject*) { F3Click(); };
  F5->OnClick = [this](QObject*) { F5Click(); };
  F6->OnClick = [this](QObject*) { F6Click(); };
  F7->OnClick = [this](QObject*) { F7Click(); };

  PanelHint = new QWidget(pnlBottom);
  PanelHint->setObjectName("PanelHint");
  PanelHint->setGeometry(Px(24), Px(4), Px(641), Px(62));
  HintArea = new QPlainTextEdit(PanelHint);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setGeometry(0, 0, Px(641), Px(62));
  HintMemo = HintArea;
  F1 = MakeKey(pnlBottom, "F1", "F1:ヘルプ", 24, 74, 90, 28);
  F1->hide();
  btnOK = MakeKey(pnlBottom, "btnOK", "閉じる", 575, 74, 90, 28);
  btnOK->setFocusPolicy(Qt::StrongFocus);
  btnOK->OnClick = [this](QObject*) { btnOKClick(); };
  F12Button = btnOK;
  btnCancel = MakeKey(pnlBottom, "btnCancel", "キャンセル", 479, 74, 90, 28);
  btnCancel->SetModalResult(mrCancel);
  btnCancel->hide();
  SetHint(btnOK, "内容を登録して画面を閉じます。|内容を登録して画面を閉じます。");
  SetHint(btnCancel, "画面を閉じます。|画面を閉じます。");

  InputDlg = new TInputDlgBox(this);
  InputDlg->KeepOnClose = true;
  Initialized = true;
}

TDataPlaceBox::~TDataPlaceBox() = default;

void TDataPlaceBox::Prepare(bool Ready) {
  ready_ = Ready;
  FillPlaceGrid();
  FirstPlacement = false;
}

void TDataPlaceBox::LoadHints() {
  std::string drive = "\\CORVEXZAIMU\\DATA";
  if (OemKind == 1 || OemKind == 2) drive = UpperCase(ServerDir);
  SetHint(PerfectGrid1, "データ管理フォルダの情報を管理します。|[F2]で新規作成、[F3]で名称変更、[F5]で削除します。（例外：\"ﾄﾞﾗｲﾌﾞ:" +
                            drive + "\"行の削除は禁止）\r\n[上へ][下へ]でリストの並べ替えが行えます。");
}

void TDataPlaceBox::FillPlaceRow(int row) {
  const TDataPlaceRec& p = Places[static_cast<std::size_t>(row - 1)];
  PerfectGrid1->SetRowValue(row, p.Rec);
  PerfectGrid1->SetCellText(row, pcNo, std::to_string(row));
  PerfectGrid1->SetCellText(row, pcName, p.Name);
  PerfectGrid1->SetCellText(row, pcPath, p.Path);
}

void TDataPlaceBox::FillPlaceGrid() {
  LoadHints();
  LoadDataPlaces(Places, false);
  PerfectGrid1->SetRows(static_cast<int>(Places.size()));
  for (int row = 1; row <= PerfectGrid1->Rows(); ++row) FillPlaceRow(row);
  if (!Places.empty()) {
    const int chosen = IndexOfPlace(Places, SystemDef.DataPlace);
    PerfectGrid1->SetRow(chosen >= 0 ? chosen + 1 : 1);
    PerfectGrid1->SetCol(pcNo);
  }
  UpdatePlaceKeyCaptions();
}

TDataPlaceRec* TDataPlaceBox::ActivePlace() {
  const int row = PerfectGrid1->Row();
  if (row < 1 || row > PerfectGrid1->Rows() || static_cast<std::size_t>(row) > Places.size()) return nullptr;
  return &Places[static_cast<std::size_t>(row - 1)];
}

void TDataPlaceBox::UpdatePlaceKeyCaptions() {
  std::string f2 = "F2:", f3 = "F3:", f5 = "F5:";
  bool up = false, down = false;
  if (const TDataPlaceRec* p = ActivePlace()) {
    const int row = PerfectGrid1->Row();
    if (p->Rec != 0) f5 = kDeleteCaption;
    if (!TrimZen(p->Name).empty()) {
      f3 = kRenameCaption;
    } else {
      f2 = kCreateCaption;
      f5 = "F5:";
    }
    up = row > 1;
    down = row < PerfectGrid1->Rows();
  }
  F1->setText("F1:");
  F2->setText(QString::fromStdString(f2));
  F3->setText(QString::fromStdString(f3));
  F5->setText(QString::fromStdString(f5));
  F6->setText("上へ");
  F7->setText("下へ");
  F6->setEnabled(up);
  F7->setEnabled(down);
}

bool TDataPlaceBox::AskPlaceName(const std::string& Caption, const std::string& Message, const std::string& Current,
                                 const std::string& Hint, std::string& Name) {
  InputDlg->InputMode = 0;
  InputDlg->CaptionText = Caption;
  InputDlg->MessageText = Message;
  InputDlg->MessageColor = clWindowText;
  InputDlg->InputText = Current;
  InputDlg->InputMaxLength = 20;
  InputDlg->InputImeMode = imHira;
  InputDlg->Required = true;
  InputDlg->SetInputFilter(0);
  InputDlg->HintText = Hint;
  InputDlg->Prepare(true);
  if (InputDlg->ShowModal() != mrOk) return false;
  Name = TrimZen(InputDlg->InputText);
  if (Name.empty()) {
    Inform("名称が入力されていません。");
    return false;
  }
  return true;
}

void TDataPlaceBox::SavePlaces() {
  try {
    SaveDataPlaces(Places);
  } catch (...) {
    ReportCurrentException("TDataPlaceBox.SaveDataPlaces", "データの場所の登録に失敗しました。", true);
    // The grid shows again what the system database holds.
    const int row = PerfectGrid1->Row();
    FillPlaceGrid();
    if (row >= 1 && row <= PerfectGrid1->Rows()) PerfectGrid1->SetRow(row);
  }
}

void TDataPlaceBox::F2Click() {
  TDataPlaceRec* p = ActivePlace();
  if (!p || Blank(F2)) return;
  const int row = PerfectGrid1->Row();
  std::string name;
  if (AskPlaceName("新規作成", "新しく作成するデータ管理フォルダの名称を入力して下さい。", "",
                   "新しく作成するデータ管理フォルダの名称を入力します。", name)) {
    bool made = true;
    if (ServerFiles().ServerDExist(p->Path, ConnectKind)) {
      Inform("既にデータサーバーにフォルダが作成されています。");
    } else if (!ServerFiles().ServerMkDir(p->Path, ConnectKind)) {
      Inform("データサーバーへフォルダの作成に失敗しました。");
      made = false;
    }
    if (made) {
      PerfectGrid1->SetCellText(row, pcName, name);
      p->Name = name;
      p->Change = pcCreated;
      SavePlaces();
    }
  }
  PerfectGrid1->setFocus();
  UpdatePlaceKeyCaptions();
}

void TDataPlaceBox::F3Click() {
  TDataPlaceRec* p = ActivePlace();
  if (!p || Blank(F3)) return;
  const int row = PerfectGrid1->Row();
  std::string name;
  if (AskPlaceName("名称の変更", "データ管理フォルダの名称を入力して下さい。", p->Name,
                   "データ管理フォルダの管理名称を変更します。", name)) {
    PerfectGrid1->SetCellText(row, pcName, name);
    p->Name = name;
    p->Change = pcChanged;
    SavePlaces();
  }
  PerfectGrid1->setFocus();
  UpdatePlaceKeyCaptions();
}

void TDataPlaceBox::F5Click() {
  TDataPlaceRec* p = ActivePlace();
  if (!p || Blank(F5) || p->Rec == 0) return;
  const int row = PerfectGrid1->Row();
  if (PlaceHasData(p->Rec)) {
    Inform("このフォルダ配下には会計データが存在しているため削除することが出来ません。\r"
           "どうしても削除を行いたい場合は、配下の会計データをすべて削除してから処理して下さい。");
  } else if (ShowSentakuBox(kMsgConfirmation, "[" + p->Name + "]を削除します。よろしいですか？",
                            MsgButtons({mbOK, mbCancel})) == mrOk) {
    PerfectGrid1->SetCellText(row, pcName, "");
    p->Name.clear();
    p->Change = pcDeleted;
    SavePlaces();
  }
  PerfectGrid1->setFocus();
  UpdatePlaceKeyCaptions();
}

void TDataPlaceBox::MovePlace(int Step) {
  const int row = PerfectGrid1->Row(), to = row + Step;
  if (!ActivePlace() || to < 1 || to > PerfectGrid1->Rows()) return;
  std::swap(Places[static_cast<std::size_t>(row - 1)], Places[static_cast<std::size_t>(to - 1)]);
  for (std::size_t i = 0; i < Places.size(); ++i) {
    const auto order = static_cast<std::int32_t>(i + 1);
    if (Places[i].OrderKbn == order) continue;
    Places[i].OrderKbn = order;
    Places[i].Change = pcChanged;
  }
  PerfectGrid1CellLostFocus(row, pcNo);
  FillPlaceRow(row);
  FillPlaceRow(to);
  PerfectGrid1->SetRow(to);
  PerfectGrid1->SetCol(pcNo);
  PerfectGrid1CellGotFocus(to, pcNo);
  SavePlaces();
  UpdatePlaceKeyCaptions();
}

void TDataPlaceBox::F6Click() { MovePlace(-1); }

void TDataPlaceBox::F7Click() { MovePlace(+1); }

void TDataPlaceBox::btnOKClick() { done(mrOk); }

void TDataPlaceBox::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  switch (key) {
    case VK_F1 + 1: F2Click(); break;
    case VK_F1 + 2: F3Click(); break;
    case VK_F1 + 4: F5Click(); break;
    case VK_F4: case VK_F1 + 5: case VK_F1 + 6: case VK_F1 + 7: case VK_F12: key = 0; break;
    default: break;
  }
  TBSDI::FormKeyUp(key, shift);
}

void TDataPlaceBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
}

void TDataPlaceBox::PerfectGrid1CellGotFocus(int row, int) {
  if (row < 1 || row > PerfectGrid1->Rows()) return;
  QFont font = FontFromDesc(SystemDef.MainFont, PerfectGrid1->font());
  font.setBold(false);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  PerfectGrid1->SetRowTextColor(row, DefaultGridColors.back());
  PerfectGrid1->SetRowFont(row, font);
  UpdatePlaceKeyCaptions();
}

void TDataPlaceBox::PerfectGrid1CellLostFocus(int row, int) {
  if (row < 1 || row > PerfectGrid1->Rows()) return;
  PerfectGrid1->SetRowTextColor(row, clWindowText);
  PerfectGrid1->SetRowFont(row, PerfectGrid1->font());
}

void TDataPlaceBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (!CheckInitialized()) return;
  PerfectGrid1->setFocus();
  if (PerfectGrid1->Rows() > 0) PerfectGrid1CellGotFocus(PerfectGrid1->Row(), PerfectGrid1->Col());
}
