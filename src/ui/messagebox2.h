// TMessageBox2: the message box every part of the program uses for warnings,
// errors, information and confirmations: up to ten coloured lines, up to
// three buttons, an optional agreement check box, and canned messages by
// number. Callers fill a TMessage2InfoRec (after InitMessage2Info) and call
// ShowMessageBox2, which returns the modal result of the pressed button.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <QDialog>

#include "platform/vcl/color.h"
#include "platform/vcl/modalresult.h"
#include "platform/vcl/msgdlg.h"

struct TMessage2CaptionRec {
  std::string Text;
  TColor Color = 0;
};

struct TMessage2InfoRec {
  int MessageNo = 0;
  std::uint8_t Kind = kMsgWarning;  // TMsgKind
  TMsgDlgButtons Buttons = MsgButtons({mbOK});
  std::string Caption;
  std::array<TMessage2CaptionRec, 10> Lines{};
  int AgreeMode = 0;  // 0 none; 1 the first button needs the check; other values show the box only
  std::string AgreeCaption;
  bool AgreeChecked = false;
};

void InitMessage2Info(std::uint8_t kind, TMessage2InfoRec& info);
// Fills `info` from the canned message `messageNo`; false (and an empty
// information request) when the number is not in the table.
bool ResolveCannedMessage(int messageNo, TMessage2InfoRec& info);
TModalResult ShowMessageBox2(TMessage2InfoRec& info);

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;
class TxCheckBox;

class TMessageBox2 : public QDialog {
  Q_OBJECT
 public:
  explicit TMessageBox2(QWidget* owner = nullptr);

  // Lays the box out for the request (canned numbers resolved).
  void Prepare(const TMessage2InfoRec& info);
  const TMessage2InfoRec& Request() const { return info_; }
  TModalResult Execute();
  bool AgreeChecked() const;
  // The message as Ctrl+C copies it.
  std::string ClipboardText() const;

  QLabel* Label(int index) const { return labels_[static_cast<std::size_t>(index)]; }  // 0..9
  QPushButton* Button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }  // 0..2
  TxCheckBox* btnAgree() const { return btnAgree_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  TMessage2InfoRec info_;
  QWidget* pnlClient_;
  QWidget* pnlAgree_;
  QWidget* pnlBottom_;
  QLabel* image1_;
  std::array<QLabel*, 10> labels_{};
  std::array<QPushButton*, 3> buttons_{};
  TxCheckBox* btnAgree_;
};
