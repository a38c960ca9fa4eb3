// The communication-settings dialog: loading and storing the settings, the
// key filter, the cloud area and closing.
#include "comm/tusinsettei.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QUrl>

#include "comm/cloudshare.h"
#include "comm/commsettings.h"
#include "comm/httpsget.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/datasentakucmds.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/vcl/dpi.h"
#include "ui/formstore.h"
#include "ui/htmlhelp.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"
#include "ui/xmaskedit.h"

namespace {

constexpr const char* kNoArea = "領域選択：　　 No. --";
constexpr const char* kIdRule = "通信ＩＤを設定する場合はスペース無しの英数12桁で入力して下さい。(-を含めると14桁)";
constexpr const char* kPasswordRule = "パスワードはスペース（空白）なしの英数６桁以内で入力して下さい。";
constexpr const char* kRegGroup = "通信設定";
constexpr const char* kRegKey = "クラウド区分";
// The management-analysis service's login page.
constexpr const char* kLoginPage = "https://tessaly.corvex.jp/login";

int Show(std::uint8_t kind, const std::string& text, std::initializer_list<TMsgDlgBtn> buttons = {mbOK}) {
  TMessage2InfoRec info;
  InitMessage2Info(kind, info);
  info.Buttons = MsgButtons(buttons);
  std::size_t n = 0, start = 0;
  while (n < info.Lines.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    info.Lines[n++].Text = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return ShowMessageBox2(info);
}

std::string WithoutSpaces(std::string s) {
  std::erase(s, ' ');
  return s;
}

std::string Trimmed(const std::string& s) { return QString::fromStdString(s).trimmed().toStdString(); }

TxPlButton* KeyButton(QWidget* parent, const char* name, const char* caption, int left, int top, int width) {
  auto* b = new TxPlButton(parent);
  b->setObjectName(name);
  b->CaptionA().SetCaption(caption);
  b->setGeometry(Px(left), Px(top), Px(width), Px(28));
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

std::string StoredCommId(const std::string& MaskedText) {
  std::string t = MaskedText;
  t.resize(14, ' ');
  return t.substr(0, 4) + t.substr(5, 4) + t.substr(10, 4);
}

std::string MaskedCommId(const std::string& StoredId) {
  const std::string id = WithoutSpaces(StoredId);
  if (id.size() != 12) return "";
  return id.substr(0, 4) + "-" + id.substr(4, 4) + "-" + id.substr(8, 4);
}

bool TusinKeyAccepted(char16_t ch) {
  return ch == 13 || ch == 3 || ch == 8 || ch == 22 || (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'Z') ||
         (ch >= u'a' && ch <= u'z');
}

// Drops the characters the key filter refuses (the ID and password fields).
static bool FilterTusinKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* k = static_cast<QKeyEvent*>(event);
  const QString text = k->text();
  if (text.isEmpty() || text.at(0).unicode() == 127) return false;  // navigation and Delete keys
  return !TusinKeyAccepted(text.at(0).unicode());
}

// ---- TfrmTusinSettei -------------------------------------------------------------------------

TfrmTusinSettei::TfrmTusinSettei(QWidget* owner) : TBSDI(owner, bsDialog, "frmTusinSettei") {
  setWindowTitle("通信設定");
  KeepOnClose = true;
  // The area choice runs on a data-communication window of its own.
  SelectArea = [](QWidget* Owner, const std::string& Folder, std::int32_t Mode, bool& Empty) -> std::int32_t {
    TfmDataTusin window(Owner);
    if (Mode == 5)
      window.CloudShareSelectArea(Folder);
    else
      window.CloudShareSelectNextYearArea(Folder);
    Empty = window.Chosen ? window.ChosenCompany.empty() : window.OwnAreaName.empty();
    return window.Chosen ? window.ChosenArea : 0;
  };
  resize(Px(700), Px(330));
  auto* l1 = new QLabel("通信 ＩＤ:", this);
  l1->setGeometry(Px(24), Px(24), Px(90), Px(21));
  txtConID = new TxMaskEdit(this);
  txtConID->setObjectName("txtConID");
  txtConID->setInputMask("nnnn-nnnn-nnnn;_");
  txtConID->setMaxLength(14);
  txtConID->setAttribute(Qt::WA_InputMethodEnabled, false);
  txtConID->setGeometry(Px(120), Px(24), Px(130), Px(21));
  txtConID->installEventFilter(this);
  (new QLabel("例： abcd-1234-5678　（英数半角１２桁）", this))->setGeometry(Px(260), Px(24), Px(300), Px(21));
  auto* l2 = new QLabel("パスワード:", this);
  l2->setGeometry(Px(24), Px(56), Px(90), Px(21));
  txtConPasswd = new TxEdit(this);
  txtConPasswd->setObjectName("txtConPasswd");
  txtConPasswd->setMaxLength(6);
  txtConPasswd->SetImeMode(imDisable);
  txtConPasswd->setGeometry(Px(120), Px(56), Px(80), Px(21));
  txtConPasswd->installEventFilter(this);
  (new QLabel("例： ABC123　（英数半角６桁以内）", this))->setGeometry(Px(260), Px(56), Px(300), Px(21));
  CheckBox1 = new QCheckBox("コルベクス経営テサリー（クラウド）へ送信する", this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setGeometry(Px(24), Px(96), Px(330), Px(21));
  xURLButton = KeyButton(this, "xURLButton", "ログイン画面を表示", 370, 92, 160);
  connect(xURLButton, &QAbstractButton::clicked, this, [this] { xURLButtonClick(); });
  RadioButton1 = new QRadioButton("クラウドシェアを利用する", this);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->setGeometry(Px(24), Px(96), Px(200), Px(21));
  RadioButton2 = new QRadioButton("クラウドシェアを利用しない", this);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton2->setGeometry(Px(24), Px(124), Px(200), Px(21));
  Label5 = new QLabel(kNoArea, this);
  Label5->setObjectName("Label5");
  Label5->setGeometry(Px(240), Px(96), Px(200), Px(21));
  btnKyouyu = KeyButton(this, "btnKyouyu", "クラウドシェア領域を選択", 450, 92, 200);
  connect(btnKyouyu, &QAbstractButton::clicked, this, [this] { btnKyouyuClick(); });
  HintArea = new QPlainTextEdit(this);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setGeometry(Px(24), Px(170), Px(650), Px(60));
  HintArea->setPlainText("通信ＩＤとパスワードは通信相手と同じものを設定します。設定は現在のデータにのみ有効です。");
  F1 = KeyButton(this, "F1", "F1:ヘルプ", 24, 280, 100);
  F12 = KeyButton(this, "F12", "F12:閉じる", 460, 280, 100);
  ESC = KeyButton(this, "ESC", "ESC:ｷｬﾝｾﾙ", 570, 280, 100);
  connect(F1, &QAbstractButton::clicked, this, [] { OpenHtmlHelp("tsusin05.html"); });
  connect(F12, &QAbstractButton::clicked, this, [this] { F12Click(); });
  connect(ESC, &QAbstractButton::clicked, this, [this] { ESCClick(); });
  for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, Label5, btnKyouyu}) w->hide();
  Initialized = true;
}

TfrmTusinSettei::~TfrmTusinSettei() = default;

std::string TfrmTusinSettei::IdText() const {
  return txtConID->displayText().replace(QChar('_'), QChar(' ')).toStdString();
}

void TfrmTusinSettei::SetIdText(const std::string& Text) { txtConID->setText(QString::fromStdString(Text)); }

void TfrmTusinSettei::ShowArea(std::int32_t Area) {
  Label5->setText(Area > 0 ? QString::fromStdString("領域選択：　　 No. " + std::to_string(Area)) : QString(kNoArea));
}

bool TfrmTusinSettei::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == txtConID || watched == txtConPasswd) && FilterTusinKey(event)) return true;
  if (event->type() == QEvent::FocusOut) {
    if (watched == txtConID) txtConIDExit();
    if (watched == txtConPasswd) txtConPasswdExit();
  }
  return TBSDI::eventFilter(watched, event);
}

// ---- opening ------------------------------------------------------------------------------------

std::int32_t TfrmTusinSettei::OpenCloudShareSettings(const std::string& Folder, TCloudShareChoice& Choice) {
  Cancelled = true;
  SavedByAreaButton = false;
  DataFolder = Folder;
  if (Folder.empty()) return 9;
  if (ConnectKind != 0 && DataSetConnection().AccDatInConnection(ConnectKind, SystemDef.HostName, Folder, false)) {
    Show(kMsgInformation, "このデータは他のオペレータが使用中です。 ");
    return 9;
  }
  if (!ConnectData()) {
    Show(kMsgWarning, "データに接続できません。");
    return 9;
  }
  OpenArea = CurrentArea = ChosenArea = AccInf.CLOUD_LINE;
  SyoriType = 5;
  EmptyArea = 0;
  Execute(true);
  ChosenArea = CurrentArea;
  DisconnectData();
  Choice.Slot = ChosenArea;
  Choice.SendNow = EmptyArea;
  return Cancelled ? 9 : 0;
}

bool TfrmTusinSettei::ConnectData() {
  bool ok = true;
  connectedHere_ = false;
  try {
    if (!DataSetConnection().IBDatabaseDAT.Connected()) {
      ok = DataSetConnection().fnAccDatConnected(SystemDef.HostName, DataFolder, false);
      connectedHere_ = ok;
    }
    if (ok) ok = DataSetConnection().fnGetAccInfo();
    if (ok && !TDataInfomation().IsDataSiyouKengen(DataFolder)) NoRight = true;
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) {
    Show(kMsgWarning, "　\r\nデータの接続に失敗したため、データ選択画面を開きます。\r\n ");
    SystemDef.DataDir.clear();
  }
  try {
    if (SystemStore().IBTransactionDEF.InTransaction()) SystemStore().IBTransactionDEF.Commit();
  } catch (...) {
    // the connection's result does not depend on this commit
  }
  return ok;
}

void TfrmTusinSettei::DisconnectData() {
  try {
    if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect(DataFolder, false, false);
    if (SystemStore().IBTransactionDEF.InTransaction()) SystemStore().IBTransactionDEF.Commit();
  } catch (...) {
    // best effort: the settings are stored already
  }
}

std::int32_t TfrmTusinSettei::Execute(bool Modal) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (SyoriType == 1 && AccInf.CLOUD_LINE > 0 && ConnectKind != 2)
    Show(kMsgInformation, "クラウドシェアデータでは、通信ID及びパスワードは変更できません。");
  QApplication::restoreOverrideCursor();
  if (SyoriType == 2 && ConnectKind != 2) {
    setWindowTitle("現金出納帳通信設定");
  } else if (CloudMode() && ConnectKind != 2) {
    setWindowTitle("クラウドシェア設定");
  } else {
    setWindowTitle("通信設定");
  }
  if (SyoriType == 2 && HasApprovedJournals()) {
    Show(kMsgWarning, "現在ご利用中のデータは承認済み仕訳が含まれます。\r\n現金出納帳通信処理は行えません。");
    return -1;
  }
  if (!Modal) {
    InitDialog(static_cast<std::uint8_t>(SyoriType));
    show();
    return 1;
  }
  if (!Initialized) {
    Show(kMsgError, windowTitle().toStdString() + "画面の初期化に失敗しました。\r処理を終了します。");
    return -1;
  }
  PlaceForm(0, 0, 0, 0, 3);
  InitDialog(1);
  return ShowModal();
}

void TfrmTusinSettei::InitDialog(std::uint8_t) {
  LoadSettings();
  FirstPlacement = false;
}

void TfrmTusinSettei::LoadSettings() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&IBTransactionDAT);
  TTransactionGuard guard(IBTransactionDAT);
  try {
    guard.Begin();
    q.SQL.SetText(SyoriType == 2 ? "SELECT PASWORD,HOLDER FROM TUSIN_ID  WHERE REC=:REC "
                                 : "SELECT PASWORD,WEB_HOLDER FROM ACCDEF1  WHERE REC=:REC ");
    q.ParamByName("REC").AsInteger(1);
    q.ExecQuery();
    if (!q.Eof()) {
      LoadedPassword = q.Fields(0).AsString();
      txtConPasswd->setText(QString::fromStdString(LoadedPassword));
      SetIdText(MaskedCommId(q.Fields(1).AsString()));
      LoadedId = IdText();
    }
    q.Close();
    guard.Commit();
  } catch (const std::exception& e) {
    q.Close();
    guard.Rollback();
    ReportDbError("TUSIN_ID", std::string("通信設定\r") + e.what());
  }
  const bool cloudLayout = CloudMode();
  const bool lockIds = SyoriType == 1 && AccInf.CLOUD_LINE > 0 && ConnectKind != 2;
  CheckBox1->setVisible(false);
  xURLButton->setVisible(false);
  for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, Label5, btnKyouyu})
    w->setVisible(cloudLayout && (OemKind == 0 || AppKind == 2));
  if (AppKind != 2 && AppKind != 3 && OemKind == 0 && SyoriType < 5 && SyoriType != 2) {
    CheckBox1->setVisible(true);
    xURLButton->setVisible(true);
    TVariant v;
    try {
      GetAccReg(kRegGroup, kRegKey, "整数", "0", v);
      DumpFlag = v.AsInteger();
    } catch (const std::exception&) {
      DumpFlag = 0;
    }
    CheckBox1->setChecked(DumpFlag != 0);
  }
  if (SyoriType == 2 && OemKind == 0) resize(Px(618), height());
  txtConID->setEnabled(!lockIds);
  txtConPasswd->setEnabled(!lockIds);
  if (cloudLayout) {
    (CurrentArea > 0 || SyoriType == 6 ? RadioButton1 : RadioButton2)->setChecked(true);
    ShowArea(CurrentArea);
    HintArea->setPlainText(
        "クラウドシェアを利用する場合は「利用する」を選び、通信IDとパスワードを設定してクラウドシェア領域を選択します。");
  }
  QApplication::restoreOverrideCursor();
}

bool TfrmTusinSettei::HasApprovedJournals() {
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&IBTransactionDAT);
  TTransactionGuard guard(IBTransactionDAT);
  try {
    guard.Begin();
    q.SQL.SetText("SELECT COUNT(*) FROM SIWAKE_VIEW WHERE (SHONIN_OPCODE <> 0)");
    q.ExecQuery();
    const bool any = !q.Eof() && q.Fields(0).AsInteger() > 0;
    q.Close();
    guard.Commit();
    return any;
  } catch (const std::exception& e) {
    q.Close();
    guard.Rollback();
    ReportDbError("SIWAKE_VIEW", std::string("基本情報の取得に失敗しました。\r") + e.what());
    return false;
  }
}

bool TfrmTusinSettei::IsInternetConnected() {
  bool connected = false;
  if (InternetCheck) {
    connected = InternetCheck();
  } else {
    try {
      HttpsGet(CommSettings.MemberHost, CommSettings.MemberPort, "/", {});
      connected = true;  // any reply of the member service
    } catch (const std::exception&) {
      connected = false;
    }
  }
  if (connected) return true;
  Show(kMsgWarning, "インターネットに接続されていません。");
  return false;
}

// ---- handlers ------------------------------------------------------------------------------------

void TfrmTusinSettei::txtConIDExit() {
  if (IdText() == LoadedId) return;
  ShowArea(0);
  CurrentArea = 0;
}

bool TfrmTusinSettei::txtConPasswdExit() {
  if (txtConPasswd->text().contains(' ')) {
    Show(kMsgInformation, kPasswordRule);
    txtConPasswd->setFocus();
    return false;
  }
  return true;
}

void TfrmTusinSettei::xURLButtonClick() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (IsInternetConnected()) QDesktopServices::openUrl(QUrl(kLoginPage));
  QApplication::restoreOverrideCursor();
}

void TfrmTusinSettei::btnKyouyuClick() {
  if (!RadioButton1->isChecked()) {
    Show(kMsgInformation, "「クラウドシェアを利用する」を選択してください。");
    return;
  }
  if (WithoutSpaces(IdText()).size() != 14) {
    Show(kMsgInformation, kIdRule);
    return;
  }
  const std::string password = txtConPasswd->text().toStdString();
  if (Trimmed(password).empty()) {
    Show(kMsgInformation, "「パスワード」が入力されていません。");
    return;
  }
  const std::string id = StoredCommId(IdText());
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&IBTransactionDAT);
  TTransactionGuard guard(IBTransactionDAT);
  try {
    guard.Begin();
    q.SQL.SetText("UPDATE ACCDEF1 SET PASWORD=:PASWORD,WEB_HOLDER=:WEB_HOLDER WHERE REC=:REC ");
    q.ParamByName("PASWORD").AsString(password);
    q.ParamByName("WEB_HOLDER").AsString(id);
    q.ParamByName("REC").AsInteger(1);
    q.ExecQuery();
    q.Close();
    guard.Commit();
    AccInf.PASWORD = password;
    AccInf.WEB_HOLDER = id;
  } catch (const std::exception& e) {
    q.Close();
    guard.Rollback();
    ReportDbError("TUSIN_ID", std::string("クラウドシェア通信ID\r") + e.what());
    return;
  }
  SavedByAreaButton = true;
  if (!SelectArea) {
    Show(kMsgInformation, kCommandNotAvailable);
    return;
  }
  bool empty = false;
  const std::int32_t area = SelectArea(this, DataFolder, SyoriType, empty);
  if (area > 0) {
    CurrentArea = ChosenArea = area;
    EmptyArea = empty ? 1 : 0;
    ShowArea(area);
    F12Click();
  } else {
    EmptyArea = empty ? 1 : 0;
  }
}

void TfrmTusinSettei::ESCClick() {
  if (CloudMode()) Cancelled = true;
  txtConPasswd->setText(QString::fromStdString(LoadedPassword));
  SetIdText(LoadedId);
  if (CloudMode()) Close();
}

void TfrmTusinSettei::F12Click() {
  if (CloudMode()) Cancelled = false;
  if (OpenArea > 0 && RadioButton2->isChecked()) {
    if (Show(kMsgConfirmation, "クラウドシェアを解除します。よろしいですか？", {mbYes, mbNo}) != mrYes) {
      RadioButton2->setFocus();
      return;
    }
    CurrentArea = ChosenArea = 0;
  }
  if (!SavedByAreaButton) txtConIDExit();
  done(mrOk);
}

void TfrmTusinSettei::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  if (key == VK_ESCAPE) {
    ESCClick();
    key = 0;
  } else if (key == VK_F1) {
    OpenHtmlHelp(SyoriType == 2 ? "tsusin08.html" : CloudMode() ? "cloudshare.html" : "tsusin05.html");
  } else if (key == VK_F12) {
    F12Click();
    key = 0;
  }
  TBSDI::FormKeyUp(key, shift);
}

// The settings are stored before the closing questions: a No there keeps the
// dialog open with what is stored already.
bool TfrmTusinSettei::Save() {
  if (CloudMode() && Cancelled) return true;
  if (!txtConPasswdExit()) return false;
  const std::string password = txtConPasswd->text().toStdString();
  const std::string id = StoredCommId(IdText());
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&IBTransactionDAT);
  TTransactionGuard guard(IBTransactionDAT);
  try {
    guard.Begin();
    if (SyoriType == 2) {
      q.SQL.SetText("UPDATE TUSIN_ID SET PASWORD=:PASWORD,HOLDER=:HOLDER WHERE REC=:REC ");
      q.ParamByName("HOLDER").AsString(Trimmed(id));
    } else if (SyoriType == 5) {
      if (RadioButton2->isChecked()) {
        CurrentArea = ChosenArea = 0;
        EmptyArea = 1;
      }
      q.SQL.SetText(
          "UPDATE ACCDEF1 SET PASWORD=:PASWORD,WEB_HOLDER=:WEB_HOLDER,CLOUD_LINE=:CLOUD_LINE WHERE REC=:REC ");
      q.ParamByName("WEB_HOLDER").AsString(id);
      q.ParamByName("CLOUD_LINE").AsInteger(CurrentArea);
    } else {
      q.SQL.SetText("UPDATE ACCDEF1 SET PASWORD=:PASWORD,WEB_HOLDER=:WEB_HOLDER WHERE REC=:REC ");
      q.ParamByName("WEB_HOLDER").AsString(id);
    }
    q.ParamByName("PASWORD").AsString(password);
    q.ParamByName("REC").AsInteger(1);
    q.ExecQuery();
    q.Close();
    guard.Commit();
    if (SyoriType == 2) {
      AccInf.TusinPassword[1] = password;
      AccInf.TusinHolder[1] = Trimmed(id);
    } else {
      AccInf.PASWORD = password;
      AccInf.WEB_HOLDER = id;
      if (SyoriType == 5) AccInf.CLOUD_LINE = CurrentArea;
    }
  } catch (const std::exception& e) {
    q.Close();
    guard.Rollback();
    ReportDbError("TUSIN_ID", std::string("クラウドシェア通信設定\r") + e.what());
  }
  if (AppKind != 2 && AppKind != 3 && OemKind == 0 && SyoriType == 1) {
    DumpFlag = CheckBox1->isChecked() ? 1 : 0;
    try {
      PutAccReg(kRegGroup, kRegKey, "整数", TVariant(DumpFlag));
    } catch (const std::exception& e) {
      ReportDbError("ACCREG", std::string("通信設定\r") + e.what());
    }
  }
  return true;
}

void TfrmTusinSettei::done(int result) {
  if (isVisible()) {
    if (!Save()) return;
    if (SyoriType == 6 && CurrentArea == 0 && !Cancelled &&
        Show(kMsgConfirmation, "クラウドシェア領域を選択してください。\r\n選択せずに、画面を閉じますか？", {mbYes, mbNo}) !=
            mrYes) {
      RadioButton1->setFocus();
      return;
    }
    if (!(CloudMode() && Cancelled) && WithoutSpaces(IdText()).size() != 14 &&
        Show(kMsgConfirmation,
             std::string(kIdRule) +
                 "\r\n通信ＩＤが設定されていないため中継サーバーを使ったデータの送受信はできません。\r\n通信設定を終了しますか？",
             {mbYes, mbNo}) != mrYes) {
      txtConID->setFocus();
      return;
    }
  }
  TBSDI::done(result);
}

void TfrmTusinSettei::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
}

// ---- TfmTusinSettiPas ----------------------------------------------------------------------------

TfmTusinSettiPas::TfmTusinSettiPas(QWidget* owner) : TBSDI(owner, bsDialog, "fmTusinSettiPas") {
  setWindowTitle("削除");
  KeepHistory = NotifyMenu = SaveFormSize = NotifyActivate = false;
  KeepOnClose = true;
  resize(Px(430), Px(200));
  (new QLabel("パスワード:", this))->setGeometry(Px(24), Px(24), Px(90), Px(21));
  txtConPasswd = new TxEdit(this);
  txtConPasswd->setObjectName("txtConPasswd");
  txtConPasswd->setMaxLength(6);
  txtConPasswd->SetImeMode(imDisable);
  txtConPasswd->setGeometry(Px(120), Px(24), Px(80), Px(21));
  txtConPasswd->installEventFilter(this);
  (new QLabel("例： ABC123　（英数半角６桁以内）", this))->setGeometry(Px(210), Px(24), Px(210), Px(21));
  CheckBox1 = new QCheckBox("削除処理を実行します", this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setGeometry(Px(24), Px(56), Px(250), Px(21));
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->hide();
  HintArea = new QPlainTextEdit(this);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setGeometry(Px(24), Px(88), Px(380), Px(44));
  HintArea->setPlainText("「削除処理を実行します」 にチェックをして、パスワードを入力します。");
  btnOK = KeyButton(this, "btnOK", "ＯＫ", 200, 150, 100);
  ESC = KeyButton(this, "ESC", "ESC:ｷｬﾝｾﾙ", 310, 150, 100);
  connect(btnOK, &QAbstractButton::clicked, this, [this] { btnOKClick(); });
  connect(ESC, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
  Initialized = true;
}

void TfmTusinSettiPas::btnOKClick() {
  if (!CheckBox1->isChecked()) {
    Show(kMsgInformation, CheckBox1->text() != "削除処理を実行します" ? "「解除処理を実行します」をチェックしてください。"
                                                                        : "「削除処理を実行します」をチェックしてください。");
    return;
  }
  if (txtConPasswd->text() != Label2->text()) {
    Show(kMsgInformation, "パスワードが違います。");
    txtConPasswd->setFocus();
    return;
  }
  done(mrOk);
}

bool TfmTusinSettiPas::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtConPasswd) {
    if (FilterTusinKey(event)) return true;
    if (event->type() == QEvent::FocusOut && txtConPasswd->text().contains(' ')) {
      Show(kMsgInformation, kPasswordRule);
      txtConPasswd->setFocus();
    }
  }
  return TBSDI::eventFilter(watched, event);
}
