// TDbUpdateForm: the update dialog "データベースの更新" that shows a prepared
// TDbUpdateBox (PrepareDbUpdate) and runs it with its OK button: the pending
// steps with their status, the selected step's description, the agreement
// box of a data set, the progress panel while steps run. The dialog closes
// with the box's modal result (1 updated, 4 refused or failed, 2 cancelled).
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class TDbUpdateBox;

class TDbUpdateForm : public QDialog {
  Q_OBJECT
 public:
  TDbUpdateForm(TDbUpdateBox& Box, QWidget* Owner = nullptr);
  ~TDbUpdateForm() override;

  QLabel* ImageRed = nullptr;
  QLabel* ImageGrn = nullptr;
  QLabel* lblTitle1 = nullptr;
  QLabel* lblTitle2 = nullptr;
  QLabel* lblTitle3 = nullptr;
  QTreeWidget* ListView1 = nullptr;
  QPlainTextEdit* RichEdit1 = nullptr;
  QCheckBox* cboxAgree = nullptr;
  QWidget* pnlProgress = nullptr;
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;

  // Shows the box's state (rows, titles, progress, buttons).
  void Refresh();
  void btnOkClick();
  void btnCancelClick();

 protected:
  void keyReleaseEvent(QKeyEvent* Event) override;
  void reject() override;

 private:
  TDbUpdateBox& box_;
};
