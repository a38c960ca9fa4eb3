// TPrintDlgBox: the framework's dialog before a report. It shows a caption and
// a message, offers black-and-white or colour printing with a colour choice,
// a start page and a both-sides margin option, and the buttons OK (print),
// preview, copy and cancel. A client derives its own dialog, fills a
// TDefaultPrintRec, shows the dialog and prints or previews with the record.
// With per-operator storing on, the operator's colour row of the report name
// (table STYLECOLOR) is read when the dialog opens and written when it closes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/vcl/color.h"
#include "ui/sdi.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QGroupBox;
class TQuillbox;

struct TDefaultPrintRec {
  std::string Title;  // the report name, key of the operator's stored settings
  int ColorPrint = 0;
  int StartPage = 1;
  std::uint8_t BothSides = 0;
  // Carried for the client: the font number (0 "ＭＳ 明朝", 1 "ＭＳ ゴシック",
  // 2 "ＭＳ Ｐ明朝", 3 "ＭＳ Ｐゴシック") and the title, heading and body sizes.
  int FontNo = 0;
  int TitleSize = 16;
  int HeadSize = 9;
  int BodySize = 10;
  TColor LineColor1 = 0;
  TColor LineColor2 = 0;
  TColor NetColor1 = 0;
  TColor NetColor2 = 0;
  std::string Extra;  // the stored settings text ("key=value" lines)
};

// The initial values, the colours from the system settings.
void InitDefaultPrintRec(TDefaultPrintRec& rec);
// With `colorFlag` 0 the component's user and special colours become black
// and its net colours their grey; otherwise nothing changes.
void ApplyMonochrome(int colorFlag, TQuillbox& quillbox);

// The style name of a report's colour row: "020-" and the upper-cased title,
// cut or padded to 40 CP932 bytes and trimmed.
std::string PrintStyleName(const std::string& title);
// Reads the operator's colour row of `rec.Title` into the record (colours
// other than -1, and the settings text); errors are reported.
void ReadStyleColorRec(TDefaultPrintRec& rec);
// Stores the record's colours (-1 for one equal to the environment colour)
// and settings text as the operator's colour row; errors are reported.
void WriteStyleColorRec(const TDefaultPrintRec& rec);

class TPrintDlgBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TPrintDlgBox(QWidget* owner = nullptr, const QString& name = "PrintDlgBox");

  std::uint8_t Mode = 0;
  std::string CaptionText;
  std::string MessageText;
  TColor MessageColor = 0;
  std::string HintText;
  bool ShowColor = false;
  bool ShowStartPage = false;
  bool ShowBothSides = false;
  bool ShowPreview = false;
  bool ShowCopy = false;
  bool PerOperator = false;
  TDefaultPrintRec* PrintRec = nullptr;
  int Result = 0;  // 0 none, 1 print, 2 preview, 3 copy
  std::string StylePrefix = "020-";
  std::vector<std::string> Settings;  // the settings lines

  virtual void InitDialog(std::uint8_t mode);
  virtual int ApplyOptions();
  virtual void LoadHints();
  virtual void SaveRestoreSettings(const std::string& name);

  QLabel* lblColor = nullptr;
  QGroupBox* grpColor = nullptr;
  QRadioButton* btnMono = nullptr;
  QRadioButton* btnColor = nullptr;
  QPushButton* btnColorSelect = nullptr;
  QLabel* lblStartPage = nullptr;
  QLineEdit* txtStartPage = nullptr;
  QCheckBox* chkBoth = nullptr;
  QLabel* lblMain = nullptr;
  QPushButton* btnPreview = nullptr;
  QPushButton* btnCopy = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  // OK, preview and copy: the record from the controls, the settings saved,
  // the result set and the dialog closed with OK.
  virtual void OkClick(int result);
  void FormClose(TCloseAction& action) override;
  // The value of `key` among the settings lines, else "".
  std::string SettingValue(const std::string& key) const;

 private:
  void ColorSelectClick();
  bool firstShow_ = true;
};
