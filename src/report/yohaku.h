// Tfmyohaku: the preview's margins dialog. The top and left margin shift the
// report (tenths of a millimetre, -100..100); the vertical and horizontal
// spacing correct line and character pitch (VRATIO and HRATIO, 950..1050
// around 1000) and are offered only when the report's paper is the printer's.
#pragma once

#include <string>

#include <QDialog>

class QGroupBox;
class QPushButton;
class TEditQbox;

// The signed-integer key filter of the dialog's fields: true when the typed
// character `key` may go into a field holding `text` (`allSelected`: the
// whole text is selected). Backspace is "\b", Enter "\r".
bool YohakuKeyAllowed(char key, const std::string& text, bool allSelected);
// The text a field shows after the focus left it: the integer clamped to
// -limit..limit (a text that is no number stays as it is).
std::string ClampYohakuField(const std::string& text, int limit);

class Tfmyohaku : public QDialog {
  Q_OBJECT
 public:
  explicit Tfmyohaku(QWidget* owner = nullptr);

  void SetTopMargin(int value);
  void SetLeftMargin(int value);
  void SetVSpacing(int value);
  void SetHSpacing(int value);
  // The values after OK.
  int TopMargin() const { return top_; }
  int LeftMargin() const { return left_; }
  int VSpacing() const { return vspacing_; }
  int HSpacing() const { return hspacing_; }
  // Shows or hides the spacing group (dialog height 320 or 220).
  void ShowSpacing(bool on);
  bool SpacingShown() const;

  TEditQbox* TopEdit = nullptr;
  TEditQbox* LeftEdit = nullptr;
  TEditQbox* VEdit = nullptr;
  TEditQbox* HEdit = nullptr;
  QPushButton* OkButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TEditQbox* MakeField(QWidget* parent, const char* name, int x, int y, int limit, int step);
  void TakeValues();

  QGroupBox* spacingGroup_ = nullptr;
  int top_ = 0, left_ = 0, vspacing_ = 1000, hspacing_ = 1000;
};
