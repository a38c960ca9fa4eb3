// TMessageBox: the framework's second message box: a main text in colour, an
// optional scrolling list of detail lines, OK and Cancel and an optional
// agreement check box. Either fill a TMessageInfoRec and call ShowMessageBox,
// or keep an instance, set its fields, SetMessageLines, Prepare(true) and
// ShowModal (closing hides it, so it can be shown again).
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/color.h"
#include "ui/sdi.h"

class QLabel;
class QPlainTextEdit;
class TxCheckBox;
class TxPlButton;

enum TPosition { poDesigned = 0, poDefault = 1, poScreenCenter = 4, poMainFormCenter = 6, poOwnerFormCenter = 7 };

struct TMessageInfoRec {
  int Kind = 0;  // 0 OK and Cancel; 1 OK only; 2 agreement needed for OK; 3 agreement shown
  TPosition Position = poOwnerFormCenter;
  std::string Caption;
  std::string Text;
  TColor TextColor = 255;
  std::vector<std::string> Lines;
  std::string AgreeCaption;
};

void InitMessageInfo(TMessageInfoRec& info);
TModalResult ShowMessageBox(TMessageInfoRec& info);

class TMessageBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TMessageBox(QWidget* owner = nullptr);

  int Kind = 0;
  bool Ready = false;
  std::string CaptionText;
  std::string MainText;
  TColor TextColor = 0;
  bool AgreeVisible = false;
  std::string AgreeCaption = "同意する";
  bool AgreeChecked = false;
  int FocusTarget = 3;  // 2: OK gets the focus; otherwise Cancel
  TPosition Position = poOwnerFormCenter;

  void SetMessageLines(const std::vector<std::string>& lines) { lines_ = lines; }
  void Prepare(bool ready);
  bool AgreeBoxChecked() const;

  QLabel* lblMain() const { return lblMain_; }
  QPlainTextEdit* MessageArea() const { return messageArea_; }
  TxCheckBox* cboxAgree() const { return cboxAgree_; }
  TxPlButton* btnOK() const { return btnOK_; }
  TxPlButton* btnCancel() const { return btnCancel_; }

  void FormClose(TCloseAction& action) override;

 protected:
  ShownDialog Describe() const override;
  void showEvent(QShowEvent* event) override;

 private:
  std::vector<std::string> lines_;
  int designWidth_, designHeight_;
  QLabel* lblMain_;
  QPlainTextEdit* messageArea_;
  TxCheckBox* cboxAgree_;
  TxPlButton* btnOK_;
  TxPlButton* btnCancel_;
};

// Places a dialog by its position setting over its owner or on the screen.
void PlaceByPosition(QWidget* form, TPosition position);
