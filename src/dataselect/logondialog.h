// TLogonBox ("ログイン"): the operator logon window. It asks for the operator
// code and password (and the group where groups are used), lets the user
// choose stand-alone or client operation and edit the server settings, and
// logs the operator on (OperatorLogon, dataselect/logon.h). Modal result OK
// means logged on.
#pragma once

#include <memory>

#include <QDialog>

#include "platform/vcl/modalresult.h"

class KeyPreview;
class QGroupBox;
class QLabel;
class TAppIniCreateBox;
class TxEdit;
class TxPlButton;
class TxRadioButton;

class TLogonBox : public QDialog {
  Q_OBJECT
 public:
  explicit TLogonBox(QWidget* owner = nullptr);
  ~TLogonBox() override;

  // Shows the window modally (or through the dialog responder).
  TModalResult Execute();
  bool Created() const { return created_; }
  bool GroupEntryShown() const { return groupEntry_; }

  // 2 in connection kind 2; otherwise 1 when the client button is checked, else 0.
  int GetSelectedConnectKind() const;
  void OperatorLogonClick();
  void btnSAClick();
  void btnServerSetteiClick();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  TxEdit* txtOpCode = nullptr;
  TxEdit* txtPassword = nullptr;
  TxEdit* txtGroupID = nullptr;
  QLabel* lblGroupID = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  TxRadioButton* btnSA = nullptr;
  TxRadioButton* btnCS = nullptr;
  TxPlButton* btnServerSettei = nullptr;
  TxPlButton* OKBtn = nullptr;
  TxPlButton* CancelBtn = nullptr;
  TxPlButton* btnUpPassword = nullptr;
  TAppIniCreateBox* SettingsDialog() const { return settings_.get(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormKeyDown(unsigned short& key);

  bool created_ = false;
  bool groupEntry_ = false;
  std::unique_ptr<TAppIniCreateBox> settings_;
  KeyPreview* keyPreview_ = nullptr;
};
