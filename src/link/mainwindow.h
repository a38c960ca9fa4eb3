// TForm1: the link program's main window, a five-page wizard around which the
// program's life is built: the command line of a calling program, the
// application information, the export object and the version check of the
// installed accounting product at creation; folders, connection settings and
// the data module in InitApplication; the operator logon when the window is
// first shown; the three hooks of the shared code; and on closing the release
// of data and logon and the close code posted to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/rtl/datetime.h"
#include "ui/messagebox2.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class TComDataExport;
class TDataInfomation;
class TDataSentakuListCtl;
class TxAnimeProgressDialog;
class TxKikanPanel16;
class TxPlButton;
class TxWizard;

// The one argument of a calling program: "handle,message,value,path".
struct TCallerArgs {
  std::int64_t Wnd = 0;
  std::int32_t Msg = 0;
  std::int32_t Value = 0;
  std::string Path;
};

// Splits the argument into its four fields: the fourth is everything after
// the third comma, kept as it is. Fields 1 to 3 are decimal integers
// (EConvertError otherwise).
TCallerArgs ParseCallerArgument(const std::string& Argument);

// Installed >= Required for versions of one to three dot-separated numbers,
// compared part by part; four or more parts, a missing version or a part
// that is not a number count as too old (false) for Installed.
bool IsVersionAtLeast(const std::string& Installed, const std::string& Required);

// Names of the consumption-tax computation's hooks (TaxHooks) that are not
// installed; the start-up refuses to go on while one is missing.
std::vector<std::string> MissingTaxHooks();

// Shows a framework message box with the "\r"-separated lines of Text; the
// kind's caption unless Caption is given.
TModalResult ShowTextBox(std::uint8_t Kind, const std::string& Text, TMsgDlgButtons Buttons,
                         const std::string& Caption = "");

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // Args: the command-line arguments without the program itself. The
  // creation checks run here; Created() tells whether they passed.
  explicit TForm1(std::vector<std::string> Args, QWidget* parent = nullptr);
  // FormDestroy: hooks cleared, caller's window enabled and notified.
  ~TForm1() override;

  bool Created() const { return created_; }
  // Set when the application was told to end (failed logon, export closed...).
  bool Terminated() const { return terminated_; }
  bool InitApplication();
  // The process's exit status once the window has closed: 1 when the program
  // did not run (the logon or the system settings failed), 2 after a failed
  // export, 0 otherwise (the file was made, or the user or a signal closed
  // the window).
  int ExitStatus() const;
  // A termination signal: the program ends as when the main window is closed.
  // Open dialogs are cancelled first, and a running export or logon finishes
  // its own road before the window closes.
  void EndOnSignal();

  // ---- hooks --------------------------------------------------------------
  std::int32_t OtherProcessOpenHook(std::int32_t Code, const std::string& Text);
  std::int32_t StartProcessByName(const std::string& FormName, std::int32_t Modal, const std::string& Params);
  void VerifyDataHook(const std::string& Host, const std::string& Folder, std::int32_t Quiet,
                      std::int32_t& Result);

  // ---- pages and the export run (mainwindow_pages.cpp) ------------------------
  void Wizard1NextClicking(bool FinalState, bool& AllowChange);
  void Wizard1NextClick(bool FinalState);
  void Wizard1PageChanged();
  void xKikanPanel3aMouseUp();
  void BitBtn4aClick();
  bool CheckDataPage();
  void BuildSummaryText();
  TDateTime PeriodDate(const std::string& Name) const;
  int ExportLinkFile(std::string& Reason);
  void btnCancelClick();

  // ---- data choice (datachoice.cpp) ---------------------------------------------
  void btnDataSentakuClick();
  bool SelectAndConnectData(int SyoriType, int OpenDialog);
  int FetchSharedDataAndDisconnect();
  int StoreSharedDataAndDisconnect();
  int ReceiveSharedData(int Auto);
  int SendSharedData(int Auto);
  int RunDataCommunication(int Mode);
  bool UpdateSharedDataList(int InUse);
  void CloseDataConnections();

  // ---- state ---------------------------------------------------------------------
  int CloseCode() const { return FCloseCode; }
  const TCallerArgs& Caller() const { return caller_; }
  TComDataExport* Export() const { return FExport.get(); }
  bool DataConnected() const { return FDataConnected; }
  bool LoggedOn() const { return FLoggedOn; }
  const std::string& MyDocumentsDir() const { return FMyDocumentsDir; }
  // The Documents folder's path of a bare file name; any other path unchanged.
  std::string AbsoluteExportPath(const std::string& Path) const;
  // The first showing's work: logon, system settings, era table.
  void RunFirstShowing();

  // ---- components --------------------------------------------------------------------
  TxWizard* Wizard1 = nullptr;
  QPushButton* Button1 = nullptr;   // Back
  QPushButton* Button2 = nullptr;   // Next
  QPushButton* btnCancel = nullptr;
  TxAnimeProgressDialog* xAnimeProgressDialog1 = nullptr;
  QPlainTextEdit* Memo1a = nullptr;
  QPlainTextEdit* Memo1b = nullptr;
  QLabel* Label2a = nullptr;
  TxPlButton* btnDataSentaku = nullptr;
  QTableWidget* listDataInfo = nullptr;
  QLabel* Label2c = nullptr;
  QLabel* Label3a = nullptr;
  QGroupBox* GroupBox3a = nullptr;
  TxKikanPanel16* xKikanPanel3a = nullptr;
  QGroupBox* GroupBox3b = nullptr;
  QRadioButton* RadioButton3a = nullptr;
  QRadioButton* RadioButton3b = nullptr;
  QLabel* Label3b = nullptr;
  QLabel* Label4a = nullptr;
  QGroupBox* GroupBox4a = nullptr;
  QLineEdit* Edit4a = nullptr;
  QPushButton* BitBtn4a = nullptr;
  QLabel* Label4b = nullptr;
  QPlainTextEdit* Memo5a = nullptr;
  QPlainTextEdit* Memo5b = nullptr;

  // Number of rows the data page's information list shows (one when empty).
  int DataInfoRowCount() const;
  std::vector<std::string> DataInfoLines() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool FormCreate();
  void BuildLayout();
  void SetUpPages();
  bool InitPathsAndServer();
  void ApplyAppInfo();
  bool ShowLogon();
  void CloseByProgram();
  void Terminate();
  void ContinueEnd();
  // The output file's check before the export (page 4, or the caller's path
  // on the way to the summary): false after a box that says what is wrong.
  bool CheckExportFile(const std::string& Path);
  void SetDataInfoLines(const std::vector<std::string>& Lines);
  void ShowDataInfo();
  bool ConnectionFailedAskAgain();
  bool AskQuestion(const std::vector<std::string>& Lines);
  void DisconnectData();
  void DisconnectAround();
  void ShowProgress(const std::string& Caption, const std::string& Info);
  void CloseProgress();

  std::vector<std::string> args_;
  TCallerArgs caller_;
  bool created_ = false;
  bool terminated_ = false;
  bool shownOnce_ = false;
  bool closingByProgram_ = false;
  bool closed_ = false;
  bool startBusy_ = false;  // StartProcessByName is running
  bool ran_ = false;          // logged on and the system settings read
  bool exportRunning_ = false;
  bool firstShowingRunning_ = false;
  QTimer* endTimer_ = nullptr;  // a signal's end, waiting for open dialogs

  std::string FSystemDrive;
  int FCloseCode = 2;
  std::unique_ptr<TComDataExport> FExport;
  bool FDataConnected = false;
  bool FLoggedOn = false;
  bool FLogonCreated = false;
  std::string FErrorText;
  std::string FMyDocumentsDir;
  TMessage2InfoRec FMsgInfo;
  std::string FPrevDataDir;
  bool FDataTaken = false;
  std::unique_ptr<TDataSentakuListCtl> FListCtl;
  std::unique_ptr<TDataInfomation> FDataInfo;
};
