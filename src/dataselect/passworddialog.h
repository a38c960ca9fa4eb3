// TUpPasswordBox: sets (set mode) or changes (change mode) one password. It
// only checks the input; the caller stores NewPassword after OK.
#pragma once

#include <string>

#include <QDialog>

#include "platform/vcl/modalresult.h"

class KeyPreview;
class QLabel;
class TxEdit;
class TxPlButton;

class TUpPasswordBox : public QDialog {
  Q_OBJECT
 public:
  explicit TUpPasswordBox(QWidget* owner = nullptr);

  // Change mode when Current is not empty, set mode otherwise; clears the
  // fields and NewPassword and lays the window out for the mode.
  void SetCurrentPassword(const std::string& Current);
  bool ChangeMode() const { return changeMode_; }
  // The accepted new password (after OK).
  std::string NewPassword;

  TModalResult Execute();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  TxEdit* txtPasswordNow = nullptr;
  TxEdit* txtPasswordNew1 = nullptr;
  TxEdit* txtPasswordNew2 = nullptr;
  TxPlButton* btnOk = nullptr;
  TxPlButton* btnCancel = nullptr;

  void btnOkClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool changeMode_ = false;
  std::string current_;
  KeyPreview* keyPreview_ = nullptr;
};
