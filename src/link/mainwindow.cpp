#include "link/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>

#include "comm/commsettings.h"
#include "core/appinfo.h"
#include "core/globals.h"
#include "core/processforms.h"
#include "core/settings.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/backuprestore.h"
#include "link/linkbody.h"
#include "link/wizard.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/application.h"
#include "platform/vcl/endsignals.h"
#include "platform/win/caller.h"
#include "platform/win/paths.h"
#include "core/sysinfo.h"
#include "ui/kikanpanel.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const char* const kMsgBadArguments = "不正な引数が渡されました。\r\rアプリケーションを強制終了します。";
const char* const kMsgNoInterface =
    "処理を起動するためのインターフェースが実装されていません。\rライブラリのロードに失敗した可能性があります。";
const char* const kMsgDamaged =
    "データ検証の結果、このデータは破損している恐れがあります。\rデータのバックアップを行っている場合は、"
    "適正な方法で破損前の状態へ戻して下さい。\rご不明な点がございましたら、お問い合わせ先をご確認の上ご連絡下さい。";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

QLabel* AddLabel(QWidget* parent, const std::string& text, int x, int y, int w, int h) {
  auto* label = new QLabel(Q(text), parent);
  label->setGeometry(x, y, w, h);
  label->setWordWrap(true);
  return label;
}

QPlainTextEdit* AddMemo(QWidget* parent, int x, int y, int w, int h) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setGeometry(x, y, w, h);
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setStyleSheet("background: transparent");
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return memo;
}

}  // namespace

TModalResult ShowTextBox(std::uint8_t Kind, const std::string& Text, TMsgDlgButtons Buttons,
                         const std::string& Caption) {
  TMessage2InfoRec info;
  InitMessage2Info(Kind, info);
  info.Buttons = Buttons;
  if (!Caption.empty()) info.Caption = Caption;
  std::size_t n = 0;
  // Up to ten lines; the last line takes whatever is left.
  for (const auto& line : SplitLines(Text)) {
    if (n < info.Lines.size()) info.Lines[n++].Text = line;
    else info.Lines.back().Text += " " + line;
  }
  return ShowMessageBox2(info);
}

TCallerArgs ParseCallerArgument(const std::string& Argument) {
  std::string fields[4];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t comma = Argument.find(',', start);
    if (comma == std::string::npos) {
      fields[i] = Argument.substr(start);
      start = Argument.size();
      break;
    }
    fields[i] = Argument.substr(start, comma - start);
    start = comma + 1;
  }
  if (start < Argument.size()) fields[3] = Argument.substr(start);
  TCallerArgs args;
  args.Wnd = StrToInt(fields[0]);
  args.Msg = StrToInt(fields[1]);
  args.Value = StrToInt(fields[2]);
  args.Path = fields[3];
  return args;
}

bool IsVersionAtLeast(const std::string& Installed, const std::string& Required) {
  // {major, minor, release}; nothing for a version that counts as 0.
  auto parse = [](const std::string& text) {
    std::array<int, 3> parts{0, 0, 0};
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
      const std::size_t dot = text.find('.', start);
      items.push_back(Trim(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start)));
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    if (Trim(text).empty() || items.size() > 3) return std::optional<std::array<int, 3>>();
    for (std::size_t i = 0; i < items.size(); ++i) {
      int value = 0;
      if (!TryStrToInt(items[i], value) || value < 0) return std::optional<std::array<int, 3>>();
      parts[i] = value;
    }
    return std::optional<std::array<int, 3>>(parts);
  };
  const auto installed = parse(Installed);
  if (!installed || *installed == std::array<int, 3>{0, 0, 0}) return false;
  const auto required = parse(Required).value_or(std::array<int, 3>{0, 0, 0});
  return *installed >= required;
}

TForm1::TForm1(std::vector<std::string> Args, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      args_(std::move(Args)) {
  setObjectName("Form1");
  QFont font(QString::fromUtf8("ＭＳ Ｐゴシック"));
  font.setPixelSize(13);
  setFont(font);
  setFixedSize(677, 439);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  BuildLayout();
  created_ = FormCreate();
}

void TForm1::BuildLayout() {
  Wizard1 = new TxWizard(this);
  Wizard1->setObjectName("Wizard1");
  Wizard1->setGeometry(0, 0, 677, 392);
  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(8, 394, 661, 2);
  Button1 = new QPushButton(this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(356, 404, 96, 25);
  Button2 = new QPushButton(this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(452, 404, 96, 25);
  btnCancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setGeometry(568, 404, 96, 25);
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  xAnimeProgressDialog1 = new TxAnimeProgressDialog(this);
  xAnimeProgressDialog1->SetCommonAVI(aviNone);
  xAnimeProgressDialog1->SetAnimeActive(false);

  QWidget* p1 = Wizard1->AddPage("page1");
  Memo1a = AddMemo(p1, 24, 24, 630, 48);
  Memo1b = AddMemo(p1, 24, 90, 630, 200);

  QWidget* p2 = Wizard1->AddPage("page2");
  Label2a = AddLabel(p2, "", 24, 20, 630, 36);
  btnDataSentaku = new TxPlButton(p2);
  btnDataSentaku->setObjectName("btnDataSentaku");
  btnDataSentaku->setText(QString::fromUtf8("データ選択を開く"));
  btnDataSentaku->setGeometry(24, 64, 160, 28);
  connect(btnDataSentaku, &QAbstractButton::clicked, this, [this] {
    btnDataSentakuClick();
    TakeBackEndSignals();  // the data set's database was attached
  });
  listDataInfo = new QTableWidget(1, 2, p2);
  listDataInfo->setObjectName("listDataInfo");
  listDataInfo->setGeometry(24, 104, 415, 180);
  listDataInfo->horizontalHeader()->hide();
  listDataInfo->verticalHeader()->hide();
  listDataInfo->setColumnWidth(0, 150);
  listDataInfo->setColumnWidth(1, 261);
  listDataInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Label2c = AddLabel(p2, "対象のデータが正しく指定されているか確認し、[次へ]をクリックしてください。", 24, 300, 630,
                     20);

  QWidget* p3 = Wizard1->AddPage("page3");
  Label3a = AddLabel(p3, "計算条件を指定してください。", 24, 20, 630, 20);
  GroupBox3a = new QGroupBox(QString::fromUtf8("計算対象期間"), p3);
  GroupBox3a->setGeometry(24, 50, 630, 70);
  xKikanPanel3a = new TxKikanPanel16(GroupBox3a);
  xKikanPanel3a->setObjectName("xKikanPanel3a");
  xKikanPanel3a->setGeometry(12, 24, 606, 30);
  xKikanPanel3a->SetBackColor(0x800000);
  xKikanPanel3a->OnMouseUp = [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    xKikanPanel3aMouseUp();
  };
  GroupBox3b = new QGroupBox(QString::fromUtf8("消費税計算区分"), p3);
  GroupBox3b->setGeometry(24, 130, 300, 50);
  RadioButton3a = new QRadioButton(QString::fromUtf8("税込み"), GroupBox3b);
  RadioButton3a->setGeometry(12, 20, 100, 20);
  RadioButton3b = new QRadioButton(QString::fromUtf8("税抜き"), GroupBox3b);
  RadioButton3b->setGeometry(130, 20, 100, 20);
  Label3b = AddLabel(p3, "計算条件が正しく指定されているか確認し、[次へ]をクリックしてください。", 24, 300, 630, 20);

  // Pages of other link targets; the page set-up removes them for this one.
  for (const char* name : {"page10", "page6", "page7", "page9", "page8"}) Wizard1->AddPage(name);

  QWidget* p4 = Wizard1->AddPage("page4");
  Label4a = AddLabel(p4, "", 24, 20, 630, 36);
  GroupBox4a = new QGroupBox(QString::fromUtf8("中間ﾌｧｲﾙ"), p4);
  GroupBox4a->setGeometry(24, 64, 630, 60);
  Edit4a = new QLineEdit(GroupBox4a);
  Edit4a->setObjectName("Edit4a");
  Edit4a->setGeometry(12, 24, 520, 22);
  BitBtn4a = new QPushButton(QString::fromUtf8("参照"), GroupBox4a);
  BitBtn4a->setGeometry(540, 22, 76, 26);
  connect(BitBtn4a, &QPushButton::clicked, this, [this] { BitBtn4aClick(); });
  Label4b = AddLabel(p4, "中間ファイル名が正しく指定されているか確認し、[次へ]をクリックしてください。", 24, 300, 630,
                     20);

  QWidget* p5 = Wizard1->AddPage("page5");
  Memo5a = AddMemo(p5, 24, 16, 630, 40);
  Memo5a->setPlainText(QString::fromUtf8("以上で設定が完了しました。\n内容を確認し、よろしければ[完了]をクリックしてください。"));
  Memo5b = new QPlainTextEdit(p5);
  Memo5b->setObjectName("Memo5b");
  Memo5b->setGeometry(24, 64, 630, 310);
  Memo5b->setReadOnly(true);
  Memo5b->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont memoFont(QString::fromUtf8("ＭＳ ゴシック"));
  memoFont.setPixelSize(12);
  Memo5b->setFont(memoFont);

  Wizard1->OnPageChanged = [this](QObject*) { Wizard1PageChanged(); };
  Wizard1->OnNextClicking = [this](QObject*, bool finalState, bool& allow) { Wizard1NextClicking(finalState, allow); };
  Wizard1->OnNextClick = [this](QObject*, bool finalState) { Wizard1NextClick(finalState); };
  Wizard1->SetNextButton(Button2);
  Wizard1->SetBackButton(Button1);
  SetDataInfoLines({});
}

// The creation checks; false ends the program (the window is destroyed by
// the entry, so the caller still hears close code 2).
bool TForm1::FormCreate() {
  MenuRequestProc = [this](std::int32_t code, const std::string& text) { return OtherProcessOpenHook(code, text); };
  StartProcessProc = [this](const std::string& name, std::int32_t modal, const std::string& params) {
    return StartProcessByName(name, modal, params);
  };
  VerifyDataProc = [this](const std::string& host, const std::string& folder, std::int32_t quiet,
                          std::int32_t& result) { VerifyDataHook(host, folder, quiet, result); };
  SetMainForm(this);

  FSystemDrive = SystemDriveRoot();
  FCloseCode = 2;
  Wizard1->SetActivePage("page1");

  if (args_.size() > 1) {
    ShowTextBox(kMsgError, kMsgBadArguments, MsgButtons({mbOK}));
    return false;
  }
  if (args_.size() == 1) {
    try {
      caller_ = ParseCallerArgument(args_[0]);
    } catch (const std::exception&) {
      // A field that is not a number is a bad argument like any other.
      caller_ = TCallerArgs{};
      ShowTextBox(kMsgError, kMsgBadArguments, MsgButtons({mbOK}));
      return false;
    }
    EnableWindow(caller_.Wnd, false);
    Wizard1->DeletePage("page4");
    Label4a = Label4b = nullptr;
    GroupBox4a = nullptr;
    Edit4a = nullptr;
    BitBtn4a = nullptr;
  }

  std::string programDir;
  GetSpecialFolder("program", programDir);
  const std::int32_t read = ReadAppInfo(PathJoin(programDir, "veruda-rendo"), AppInfo);
  if (read < 1) {
    const char* text =
        read == 0 ? "アプリケーションの設定ファイル(AppInfo.ini)が見つかりませんでした。\rアプリケーションを強制終了します。"
        : read == -1
            ? "アプリケーションの設定ファイル(AppInfo.ini)の値を参照できませんでした。\rアプリケーションを強制終了します。"
            : "アプリケーションの設定ファイル(AppInfo.ini)を参照できませんでした。\rアプリケーションを強制終了します。";
    ShowTextBox(kMsgError, text, MsgButtons({mbOK}));
    return false;
  }
  OemKind = OemKindOf(AppInfo);
  ApplyAppInfo();

  FExport = std::make_unique<TSyohizeiDataExport>(caller_.Path, caller_.Value);
  // A path given by the caller is the file to write, whatever Veruda.ini says.
  if (args_.size() == 1) FExport->ExportFile = caller_.Path;
  if (FExport->TargetName.empty()) {
    ShowTextBox(kMsgError, "起動情報の初期化に失敗しました。アプリケーションを強制終了します。", MsgButtons({mbOK}));
    return false;
  }
  if (!IsVersionAtLeast(FExport->ProgramVer, FExport->MinProgramVer)) {
    ShowTextBox(kMsgError,
                "このアプリケーションはインストールされている「" + AppInfo.AppTitle +
                    "」のバージョンに対応していません。\rバージョン:" + FExport->MinProgramVer +
                    "以降をインストールしてください。\r\rアプリケーションを強制終了します。",
                MsgButtons({mbOK}));
    return false;
  }
  GetMyDocumentsDir(FMyDocumentsDir);
  FPrevDataDir.clear();
  FDataTaken = false;
  setWindowTitle(Q(FExport->Caption));
  SetUpPages();
  return true;
}

void TForm1::ApplyAppInfo() {
  CopyAppInfoToSettings(AppInfo);
  ApplyCloudSettings(AppInfo);
  ApplyOemGridColors(OemKind);
}

TForm1::~TForm1() {
  if (!closed_ && created_) CloseDataConnections();
  FExport.reset();  // writes Veruda.ini
  FListCtl.reset();
  FDataInfo.reset();
  MenuRequestProc = nullptr;
  StartProcessProc = nullptr;
  VerifyDataProc = nullptr;
  if (MainForm() == this) SetMainForm(nullptr);
  SetForegroundWindow(caller_.Wnd);
  EnableWindow(caller_.Wnd, true);
  if (caller_.Wnd != 0) PostMessage(caller_.Wnd, static_cast<std::uint32_t>(caller_.Msg), caller_.Value, FCloseCode);
}

std::int32_t TForm1::OtherProcessOpenHook(std::int32_t, const std::string&) { return 0; }

std::int32_t TForm1::StartProcessByName(const std::string& FormName, std::int32_t Modal, const std::string& Params) {
  if (FormName.empty() || startBusy_) return -1;
  startBusy_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct TRestore {
    bool& busy;
    ~TRestore() {
      busy = false;
      QApplication::restoreOverrideCursor();
    }
  } restore{startBusy_};

  const TProcessClass* cls = FindProcessClass(FormName);
  std::unique_ptr<IProcessForm> form;
  if (cls && cls->Create) form = cls->Create(nullptr);  // owned by the application, not by a window
  if (!form) {
    ShowTextBox(kMsgError, kMsgNoInterface, MsgButtons({mbOK}));
    return -1;
  }
  std::vector<std::string> lines = SplitLines(Params);
  lines.push_back(Format("FormStyle=%d", Modal == 1 ? 2 : 0));
  form->SetParams(lines);
  return form->Execute(Modal == 1 ? 1 : 0);
}

void TForm1::VerifyDataHook(const std::string& Host, const std::string& Folder, std::int32_t Quiet,
                            std::int32_t& Result) {
  SystemDef.DataDamaged = 0;
  const std::string database = PathJoin(Folder, DataFile);
  const bool local = Host.empty() || Host == "127.0.0.1";
  Result = DataModuleExists()
               ? BackupRestore().ValidateFDB(local ? kProtocolLocal : kProtocolTcp, local ? "" : Host, database)
               : 1;
  if (Result != 0) return;
  SystemDef.DataDamaged = 1;
  if (Quiet == 0) ShowTextBox(kMsgError, kMsgDamaged, MsgButtons({mbOK}));
  try {
    TTransactionGuard scope(SystemStore().IBTransactionDEF);
    scope.Begin();
    std::int32_t rec = 0, row = 0;
    SystemStore().fnFindDataListRec(Folder, rec, row);
    if (rec > 0 && row == 0) TDataListTable(SystemStore().IBSQLDEF).SetStatusOfNumber(rec, 1);
    if (rec > 0 && row != 0) TChildDataListTable(SystemStore().IBSQLDEF).SetStatus(rec, row, 1);
    scope.Commit();
    TDataInfomation info;
    info.ConnectKind = ConnectKind;
    info.SetStatus(Folder, 10);
  } catch (...) {
    // marking the data set damaged is best effort
  }
}

void TForm1::btnCancelClick() {
  const TModalResult r = ShowTextBox(
      kMsgInformation, "[キャンセル]ボタンが押されました。\r連動データの作成ウィザードを終了してもよろしいですか？\r",
      MsgButtons({mbYes, mbNo}));
  if (r == mrYes) {
    FCloseCode = 1;
    CloseByProgram();
  }
}

// Closing from inside the program keeps the close code already set.
void TForm1::CloseByProgram() {
  closingByProgram_ = true;
  close();
  closingByProgram_ = false;
}

// The application ends through the window's close road, keeping the close
// code already set (2 after a failed logon).
void TForm1::Terminate() {
  terminated_ = true;
  CloseByProgram();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closingByProgram_) FCloseCode = 1;  // the window-close message
  if (!closed_) {
    closed_ = true;
    CloseDataConnections();
  }
  terminated_ = true;
  event->accept();
  // The program ends with its main window, whatever else is still open.
  QTimer::singleShot(0, this, [] { QCoreApplication::quit(); });
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  QTimer::singleShot(0, this, [this] { RunFirstShowing(); });
}

void TForm1::RunFirstShowing() {
  repaint();
  SystemDef.AppTitle = "ヴェルダ連動コンポーネント";
  // A signal meanwhile waits for this road to end (its dialogs are cancelled).
  struct TRunning {
    bool& flag;
    explicit TRunning(bool& f) : flag(f) { flag = true; }
    ~TRunning() { flag = false; }
  } running{firstShowingRunning_};
  FLoggedOn = ShowLogon();
  TakeBackEndSignals();  // the system database was attached
  if (!FLoggedOn) {
    if (DataModuleExists()) SystemStore().IBDatabaseDEF.Close();
    Terminate();
    return;
  }
  if (!SystemStore().fnGetSysDef()) {
    if (FLoggedOn) SystemStore().DeleteLogonInfo();
    FLoggedOn = false;
    Terminate();
    return;
  }
  SystemStore().fnLoadGengo();
  ran_ = true;
}

void TForm1::SetDataInfoLines(const std::vector<std::string>& Lines) {
  listDataInfo->clearContents();
  listDataInfo->setRowCount(std::max<int>(1, static_cast<int>(Lines.size())));
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const std::size_t eq = Lines[i].find('=');
    listDataInfo->setItem(static_cast<int>(i), 0, new QTableWidgetItem(Q(Lines[i].substr(0, eq))));
    listDataInfo->setItem(static_cast<int>(i), 1,
                          new QTableWidgetItem(Q(eq == std::string::npos ? "" : Lines[i].substr(eq + 1))));
  }
}

int TForm1::DataInfoRowCount() const { return listDataInfo->rowCount(); }

std::vector<std::string> TForm1::DataInfoLines() const {
  std::vector<std::string> lines;
  for (int r = 0; r < listDataInfo->rowCount(); ++r) {
    auto* key = listDataInfo->item(r, 0);
    auto* value = listDataInfo->item(r, 1);
    if (!key) continue;
    lines.push_back(key->text().toStdString() + "=" + (value ? value->text().toStdString() : ""));
  }
  return lines;
}
