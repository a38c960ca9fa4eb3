// TxEdit: the framework's single-line edit with key navigation, caret
// placement on entry, numeric accessors and a paste guard. (The reading of
// typed kana is not captured: the desktop's input methods do not offer it.)
#pragma once

#include <string>

#include <QLineEdit>

#include "platform/rtl/currency.h"
#include "ui/keystyles.h"

enum TCursorPos { cpAllSel, cpLeft, cpRight };

class TxEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TxEdit(QWidget* parent = nullptr);

  TKeyStyles KeyStyles() const { return keyStyles_; }
  void SetKeyStyles(TKeyStyles styles) { keyStyles_ = styles & kKeyStylesMask; }
  TCursorPos CursorPos() const { return cursorPos_; }
  void SetCursorPos(TCursorPos pos) { cursorPos_ = pos; }
  // Flat border (false) or the 3-D one (true).
  bool KeyEdit3D() const { return hasFrame(); }
  void SetKeyEdit3D(bool on) { setFrame(on); }
  bool KillPaste() const { return killPaste_; }
  void SetKillPaste(bool on) { killPaste_ = on; }
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode mode);

  // The text as a number (0 when it is none); writing 0 leaves the text unchanged.
  Currency Curr() const;
  void SetCurr(Currency value);
  int Long() const;
  void SetLong(int value);

  std::string Text() const { return text().toStdString(); }
  void SetText(const std::string& t) { setText(QString::fromStdString(t)); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  TKeyStyles keyStyles_ = kDefaultKeyStyles;
  TCursorPos cursorPos_ = cpAllSel;
  bool killPaste_ = true;
  TImeMode imeMode_ = imDontCare;
};
