// The main window's start-up after its creation: folders, connection
// settings and the data module (InitApplication), and the operator logon of
// the first showing.
#include <QApplication>
#include <QPointer>
#include <QStyle>

#include "core/datetext.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dataselect/logondialog.h"
#include "comm/cloudshare.h"
#include "comm/tusinsettei.h"
#include "dataselect/datalisthook.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/dm.h"
#include "link/datachoice.h"
#include "ui/dmformstore.h"
#include "link/exportobject.h"
#include "link/mainwindow.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "tax/taxcontext.h"
#include "core/sysinfo.h"

namespace {

const char* const kMsgInitFailed = "アプリケーションの初期化に失敗しました。\r%sを終了します。";

// A folder name of the application information ("a\b" or "a/b") as a path.
std::string NativeFolder(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

TFontDesc FontDescOf(const QFont& font) {
  TFontDesc d;
  d.Name = font.family().toStdString();
  d.Size = font.pointSize() > 0 ? font.pointSize() : 10;
  d.Style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0);
  d.CharSet = 128;
  d.Height = font.pixelSize() > 0 ? -font.pixelSize() : -13;
  return d;
}

// The data-communication window of the cloud share: created on first need with
// the main window as owner, never shown itself (its wait windows appear during
// a transfer).
TfmDataTusin& DataTusinOf(QWidget* owner) {
  static QPointer<TfmDataTusin> window;
  if (!window) window = new TfmDataTusin(owner);
  return *window;
}

// The communication-settings dialog of the cloud share: one for the program's
// whole life, owned by the main window.
TfrmTusinSettei& TusinSetteiOf(QWidget* owner) {
  static QPointer<TfrmTusinSettei> dialog;
  if (!dialog) dialog = new TfrmTusinSettei(owner);
  return *dialog;
}

// What the data module, the framework windows and the data choice call back.
void InstallDataModuleServices(QWidget* owner) {
  InstallDataInfoHooks();
  InstallDataListHook();
  InstallDataModuleFormStore();
  CloudShareCalls.CloudShareReceive = [owner](const std::string& folder, std::int32_t automatic,
                                               std::int32_t inUseQuiet) {
    return DataTusinOf(owner).CloudShareReceive(folder, automatic, inUseQuiet);
  };
  CloudShareCalls.CloudShareSend = [owner](const std::string& folder, const std::string& text, std::int32_t automatic) {
    return DataTusinOf(owner).CloudShareSend(folder, text, automatic);
  };
  CloudShareCalls.CloudShareRelease = [owner](const std::string& folder) {
    return DataTusinOf(owner).CloudShareRelease(folder);
  };
  CloudShareCalls.CloudShareReceiveToWork = [owner](const std::string& folder, std::int32_t automatic) {
    return DataTusinOf(owner).CloudShareReceiveToWork(folder, automatic);
  };
  CloudShareCalls.ReceiveFolder = [owner] { return DataTusinOf(owner).ReceiveFolder(); };
  CloudShareCalls.OpenCloudShareSettings = [owner](const std::string& folder, TCloudShareChoice& choice) {
    return TusinSetteiOf(owner).OpenCloudShareSettings(folder, choice);
  };
}

// What the consumption-tax computation calls back: message processing between
// journal rows (the computation itself keeps it to every few milliseconds),
// its message boxes and the date text of its messages. The data module
// installs the fourth hook, TaxDefUHWithLinkSiwake, when it is created.
void InstallTaxHooks() {
  TaxHooks.ProcessMessages = [] { QCoreApplication::processEvents(); };
  TaxHooks.ShowMessage = [](int kind, const std::string& text) {
    ShowTextBox(static_cast<std::uint8_t>(kind), text, MsgButtons({mbOK}));
  };
  TaxHooks.FormatDateSlash = [](TDateTime date) {
    std::string text;
    FormatDateSlash("yyyy/mm/dd", 3, text, date);
    return text;
  };
}

}  // namespace

std::vector<std::string> MissingTaxHooks() {
  std::vector<std::string> missing;
  if (!TaxHooks.ProcessMessages) missing.push_back("ProcessMessages");
  if (!TaxHooks.ShowMessage) missing.push_back("ShowMessage");
  if (!TaxHooks.TaxDefUHWithLinkSiwake) missing.push_back("TaxDefUHWithLinkSiwake");
  if (!TaxHooks.FormatDateSlash) missing.push_back("FormatDateSlash");
  return missing;
}

bool TForm1::InitApplication() {
  FErrorText = Format(kMsgInitFailed, "");
  bool result = false;
  try {
    InitPathsAndServer();
    QApplication::setApplicationDisplayName(QString::fromStdString(FExport->Caption));
    setWindowTitle(QString::fromStdString(FExport->Caption));
    CreateDataModule();
    InstallDataModuleServices(this);
    InstallTaxHooks();
    const std::vector<std::string> missing = MissingTaxHooks();
    if (!missing.empty()) {
      std::string names;
      for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
      FErrorText = Format(kMsgInitFailed, "") + "\r消費税計算の呼び出し先が設定されていません。(" + names + ")";
      throw Exception(FErrorText);
    }
    result = true;
  } catch (...) {  // shown below with FErrorText
    result = false;
  }
  if (!result) ShowTextBox(kMsgError, FErrorText, MsgButtons({mbYes}));
  return result;
}

bool TForm1::InitPathsAndServer() {
  SystemDef.AppTitle.clear();
  SystemDef.OSMajorVersion = GetOSMajorVersion();
  SystemDef.MenuHeight = fontMetrics().height() + 6;
  SystemDef.CaptionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  SystemDef.FrameHeight = 4;
  SystemDef.FrameAdjust = SystemDef.FrameHeight > 4 ? 2 * (SystemDef.FrameHeight - 4) : 0;
  AppKind = 0;

  GetWindowsUserName(SystemDef.WinUserName);
  GetPcName(SystemDef.PcName);
  GetSpecialFolder("program", SystemDef.ExeDir);
  SystemDef.BaseDir = ExtractFileDir(SystemDef.ExeDir);
  SystemDef.PrintDir = PathJoin(SystemDef.BaseDir, "print");
  SystemDef.HelpDir = PathJoin(SystemDef.BaseDir, "help");
  SystemDef.SqlDir = PathJoin(SystemDef.BaseDir, "sql");

  std::string common;
  GetAppDataDir(true, common);
  common = ExcludeTrailingPathDelimiter(common);
  if (common.empty()) {
    FErrorText = Format("アプリケーションの初期化に失敗しました。\r%sを終了します。\rデータフォルダの取得に失敗しました。",
                        SystemDef.AppTitle);
    throw Exception(FErrorText);
  }
  SystemDef.DataRoot = PathJoin(common, NativeFolder(HomeDir));
  SystemDef.IniDir = PathJoin(SystemDef.DataRoot, "ini");
  SystemDef.LogDir = PathJoin(SystemDef.DataRoot, "log");
  SystemDef.TempDir = PathJoin(SystemDef.DataRoot, "temp");

  GetTempDir("/tmp", SystemDef.WinTempDir);
  GetSystemFolderPath(SystemDef.SystemFolder);
  std::string documents;
  GetMyDocumentsDir(documents);
  SystemDef.UserDocDir = PathJoin(documents, NativeFolder(HomeDir));
  SystemDef.ViewerTempDir = PathJoin(SystemDef.WinTempDir, NativeFolder(ZEdoreDataDir));
  SystemDef.SysDir = PathJoin(SystemDef.DataRoot, "data");
  SystemDef.DataDir.clear();
  SystemDef.HostName = SystemDef.PcName;
  SystemDef.DbUser = "VFNZFR";
  SystemDef.DbPassword = "dravon";

  SystemDef.MainFont = FontDescOf(font());
  SystemDef.SysFont = SystemDef.MainFont;

  for (const std::string* dir : {&SystemDef.IniDir, &SystemDef.LogDir, &SystemDef.TempDir, &SystemDef.UserDocDir})
    ForceDirectories(*dir);

  SystemDef.ConnectIniFile = PathJoin(SystemDef.DataRoot, AppName + ".ini");
  try {
    EnsureConnectSettings();
  } catch (...) {
    FErrorText = Format("アプリケーションの初期設定がおこなわれていないため\r%sを終了します。", SystemDef.AppTitle);
    throw;
  }
  // The start-up always runs stand-alone; the logon chooses the kind later.
  SystemDef.HostName.clear();
  SystemDef.GoGlobal = 0;
  SystemDef.GroupId = 10000;
  return true;
}

bool TForm1::ShowLogon() {
  TLogonBox box(nullptr);
  FLogonCreated = box.Created();
  if (!FLogonCreated) return false;
  FLogonCreated = box.Execute() == mrOk;
  return FLogonCreated;
}
