// TFileOperationBox: the framework's dialog for choosing a file (to open or to
// write) or a folder, with a history of the places chosen before.
// TFileOperationBoxEx1 adds a choice between the chosen place and the default
// place. The owner creates a dialog on first use, sets the parameters, runs
// Prepare, shows it modally and reads ResultPath (and SelectMode) after OK.
// Closing hides the dialog, so it is prepared and shown again for each use.
//
// The history lives in the section HistorySection of the settings file
// HistoryDir/HistoryFile as lines "HIST1=<place>" ... "HIST8=<place>", the
// most recent first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/vcl/color.h"
#include "ui/sdi.h"

class QLabel;
class QPlainTextEdit;
class TxComboBox;
class TxEdit;
class TxPlButton;
class TxRadioButton;

// What the dialog chooses.
enum : std::uint8_t { fkOpenFile = 0, fkSaveFile = 1, fkFolder = 2, fkFolder2 = 3 };

// At most this many places are written to the history.
inline constexpr int kFileHistoryMax = 8;

class TFileOperationBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TFileOperationBox(QWidget* owner = nullptr);
  ~TFileOperationBox() override;

  // ---- parameters, set before Prepare --------------------------------------------
  std::uint8_t FileKind = fkOpenFile;  // 0 open a file, 1 write a file, 2 and 3 a folder
  bool UseHistory = false;             // show 履歴削除 and store the history on OK
  std::string HistoryDir;              // SystemDef.IniDir at creation
  std::string HistoryFile;
  std::string HistorySection;
  std::string CaptionText;
  std::string MainMessage;
  TColor MainMessageColor = 0;         // the form's font colour at creation
  std::string PlaceLabel;
  std::string DefaultDir;
  std::string DefaultFileName;
  std::string PlaceHint;               // also the hint of 参照
  std::string FileNameHint;
  std::string DefaultExt;              // without the dot
  std::string FilterName;

  // ---- result -------------------------------------------------------------------
  // The folder, "/" and the file name (kinds 0 and 1); the folder (kinds 2 and 3).
  std::string ResultPath;

  // The history entries as last loaded or stored (more than eight may be held;
  // only the first eight are written).
  const std::vector<std::string>& HistoryItems() const { return historyItems_; }

  virtual void Prepare(std::uint8_t Mode);
  virtual void Fill();
  virtual void LoadHints();

  // Handlers.
  void FormClose(TCloseAction& action) override;
  void btnSansyoClick();
  virtual void btnOKClick();
  void btnHistDeleteClick();

  // ---- controls -----------------------------------------------------------------
  QLabel* lblMain = nullptr;
  QLabel* lblFileSelect = nullptr;
  TxComboBox* cmbFileSelect = nullptr;
  TxPlButton* btnSansyo = nullptr;
  TxPlButton* btnHistDelete = nullptr;
  QLabel* lblFileName = nullptr;
  TxEdit* txtFileName = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;

 protected:
  TFileOperationBox(QWidget* owner, const char* name);
  ShownDialog Describe() const override;
  void showEvent(QShowEvent* event) override;

  // The place list's folder and the file-name edit's text, trimmed.
  std::string PlaceText() const;
  std::string FileNameText() const;
  // Selects the place in the list, inserting it at the top when not listed.
  void PutPlace(const std::string& place);
  // Moves the place list's text to the top of the history and rewrites the section.
  void StoreHistory();

  std::uint8_t mode_ = 0;

 private:
  std::string HistoryPath() const;
  void LoadHistory();
  // Runs the open or save dialog; the chosen file, nothing on cancel.
  std::optional<std::string> RunFileDialog(bool save, const std::string& candidate);

  std::vector<std::string> historyLines_;
  std::vector<std::string> historyItems_;
};

class TFileOperationBoxEx1 : public TFileOperationBox {
  Q_OBJECT
 public:
  explicit TFileOperationBoxEx1(QWidget* owner = nullptr);

  // 1 the chosen place, 2 the default place.
  int SelectMode = 1;

  void SetSelect1Caption(const std::string& text);
  void SetSelect2Caption(const std::string& text);
  void SetSelectMode(int mode);

  void Prepare(std::uint8_t Mode) override;
  void Fill() override;
  void LoadHints() override;

  void btnSelect1Click();
  void btnOKClick() override;

  TxRadioButton* btnSelect1 = nullptr;
  TxRadioButton* btnSelect2 = nullptr;

 private:
  bool filled_ = false;
  int select2Top_ = 0;  // design position below the file-name edit
};
