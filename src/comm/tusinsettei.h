// TfrmTusinSettei ("通信設定"): the communication ID and password with which a
// data set takes part in the relay exchange and the cloud share, its cloud
// area, the cash-book communication ID and password, and whether a relay
// send also uploads the analysis dump. TfmTusinSettiPas: the password dialog
// that confirms the release or deletion of a slot.
//
// Modes (SyoriType): 1 (and any other) the data set's communication settings;
// 2 the cash-book communication settings (TUSIN_ID REC 1); 5 the cloud-share
// settings; 6 the cloud-share settings of the next year's data (an area must
// be chosen).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dataselect/cloudcalls.h"
#include "ui/sdi.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class TxEdit;
class TxMaskEdit;
class TxPlButton;

// The communication ID as stored (12 characters) from the masked field's
// text ("abcd-1234-5678", blanks as spaces): the three groups without "-".
std::string StoredCommId(const std::string& MaskedText);
// The masked field's text of a stored ID: the ID without spaces as three
// groups joined by "-" when it has exactly 12 characters, else empty.
std::string MaskedCommId(const std::string& StoredId);
// The key filter of the ID and password fields: Enter, Ctrl+C, Backspace,
// Ctrl+V, digits and ASCII letters pass.
bool TusinKeyAccepted(char16_t Ch);

class TfrmTusinSettei : public TBSDI {
  Q_OBJECT
 public:
  explicit TfrmTusinSettei(QWidget* owner = nullptr);
  ~TfrmTusinSettei() override;

  // The cloud-share settings of the data set in Folder (mode 5): 0 when
  // closed with F12 (Choice holds the chosen area and whether it was empty),
  // 9 when cancelled, not opened or failed.
  std::int32_t OpenCloudShareSettings(const std::string& Folder, TCloudShareChoice& Choice);
  // 1 for a modeless show, the modal result for a modal one, -1 when refused.
  std::int32_t Execute(bool Modal);
  virtual void InitDialog(std::uint8_t Mode);
  void LoadSettings();
  bool ConnectData();
  void DisconnectData();
  bool IsInternetConnected();
  bool HasApprovedJournals();

  // Handlers.
  void ESCClick();
  void F12Click();
  void txtConIDExit();
  bool txtConPasswdExit();
  void btnKyouyuClick();
  void xURLButtonClick();
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;
  void FormClose(TCloseAction& action) override;
  void done(int result) override;

  // The area choice of the data-communication window (CloudShareSelectArea
  // for mode 5, CloudShareSelectNextYearArea otherwise): the chosen area, 0
  // when none was chosen; Empty tells whether the chosen area holds no data.
  std::function<std::int32_t(QWidget* Owner, const std::string& Folder, std::int32_t Mode, bool& Empty)> SelectArea;
  // Whether the internet can be reached; unset: any reply of the member
  // service counts as connected, a failed connection as not connected.
  std::function<bool()> InternetCheck;

  std::int32_t SyoriType = 1;
  std::string DataFolder;
  std::string LoadedId, LoadedPassword;
  std::int32_t OpenArea = 0, CurrentArea = 0, ChosenArea = 0;
  std::int32_t EmptyArea = 0;
  bool Cancelled = false;
  bool SavedByAreaButton = false;
  bool NoRight = false;
  std::int32_t DumpFlag = 0;

  TxMaskEdit* txtConID = nullptr;
  TxEdit* txtConPasswd = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  TxPlButton* xURLButton = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QLabel* Label5 = nullptr;
  TxPlButton* btnKyouyu = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* F1 = nullptr;
  TxPlButton* F12 = nullptr;
  TxPlButton* ESC = nullptr;

  // The ID field's text with its blanks as spaces ("abcd-1234-5678").
  std::string IdText() const;
  void SetIdText(const std::string& Text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowArea(std::int32_t Area);
  bool CloudMode() const { return SyoriType == 5 || SyoriType == 6; }
  bool Save();  // FormCloseQuery; false keeps the dialog open
  bool connectedHere_ = false;
};

class TfmTusinSettiPas : public TBSDI {
  Q_OBJECT
 public:
  explicit TfmTusinSettiPas(QWidget* owner = nullptr);

  TxEdit* txtConPasswd = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QLabel* Label2 = nullptr;  // hidden: the password to compare with
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* ESC = nullptr;

  void btnOKClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
