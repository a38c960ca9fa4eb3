// TAppIniCreateBox ("データサーバーの設定"): the server values of the client
// kind (the database server's host and the folder of the system database on
// it). Opened from the logon window's "サーバー設定" button; OK stores the
// values in SystemDef and writes the section of the current ConnectKind.
//
// The data location is the folder on the server under which ServerDir lies
// (cmbDrive, which may be typed) followed by ServerDir (txtDataPath).
#pragma once

#include <QDialog>

#include "platform/vcl/modalresult.h"

class KeyPreview;
class QLabel;
class TxComboBox;
class TxEdit;
class TxPlButton;

class TAppIniCreateBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAppIniCreateBox(QWidget* owner = nullptr);

  // Shows the dialog modally (or through the dialog responder).
  TModalResult Execute();
  // Writes the connection settings file (see WriteConnectIni); true.
  bool WriteIni(bool Reset);
  bool Created() const { return created_; }

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  TxEdit* txtHostName = nullptr;
  TxPlButton* btnCompShow = nullptr;
  TxComboBox* cmbDrive = nullptr;
  TxEdit* txtDataPath = nullptr;
  TxEdit* txtUserName = nullptr;
  TxEdit* txtPassWord = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;

  void OKBtnClick();
  void btnCompShowClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void FormKeyDown(unsigned short& key);

  bool created_ = false;
  bool startMode_ = false;   // never on in this program
  int shownKind_ = 1;        // the SERVER section
  KeyPreview* keyPreview_ = nullptr;
};
