// TCashBookLoaderForm ("現金出納帳の取り込み"): the window of the cash-book
// loader. It drives a TCashBookLoaderBox run, shows its progress while the
// work goes on (the window stays alive, a second run or closing is refused
// meanwhile), lists the processing log with the selected entry's text under
// it, and writes the log to a CSV or text file.
//
// The data communication uses it so:
//   TCashBookLoaderForm form;
//   form.Loader().ReceiveKind = 0; form.Loader().ImportKind = 1;
//   form.SetReceivedFile(path);
//   form.ShowModal();      // receive kind 0: the run starts 1.5 s after showing
//   // or form.ExecuteAuto() for receive kind 1: runs at once, unseen; a
//   // failed run shows the window with the log
//   done = form.ResultCode() == 1;
#pragma once

#include <cstdint>
#include <string>

#include <QDialog>

#include "comm/cashbookloader.h"
#include "platform/vcl/modalresult.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class TxBusyIndicator;

class TCashBookLoaderForm : public QDialog {
  Q_OBJECT
 public:
  explicit TCashBookLoaderForm(QWidget* owner = nullptr);
  // Drives the caller's loader (set up by the caller) instead of its own.
  explicit TCashBookLoaderForm(TCashBookLoaderBox& Loader, QWidget* owner = nullptr);
  ~TCashBookLoaderForm() override;

  TCashBookLoaderBox& Loader() { return *loader_; }
  void SetReceivedFile(const std::string& FileName) { loader_->SetReceivedFile(FileName); }
  // On: the run starts by itself, OK hidden, Cancel reads "閉じる"; off: the
  // user starts it with OK. On at creation.
  void SetAutoStart(bool On);
  bool AutoStart() const { return autoStart_; }
  // Receive kind 1: runs the import at once without showing the window.
  void ExecuteAuto();
  // Shows the window modally; a run with auto-start on begins 1.5 s later.
  TModalResult ShowModal();
  std::int32_t ResultCode() const { return loader_->ResultCode(); }
  bool Running() const { return running_; }
  bool ShownAfterFailure() const { return shownAfterFailure_; }

  // Handlers.
  void btnOkClick();  // the run
  void btnCancelClick();
  void btnFileOutClick();
  void TimerTimer();

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;  // red, empty
  QPushButton* btnFileOut = nullptr;
  QTreeWidget* ListView = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;
  QFrame* PanelProgress = nullptr;
  QLabel* LabelProgress = nullptr;
  QProgressBar* ProgressBar = nullptr;
  TxBusyIndicator* Animate = nullptr;
  QTimer* Timer = nullptr;

 public slots:
  void reject() override;  // Escape: as Cancel

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetupTitles();
  void SetResultTitles();
  void ShowProgressPanel(bool On);
  void ShowProgress();
  // Adds list rows for the log entries not listed yet.
  void SyncList();

  TCashBookLoaderBox own_;
  TCashBookLoaderBox* loader_ = &own_;
  bool autoStart_ = true;
  bool running_ = false;
  bool shownAfterFailure_ = false;
};
