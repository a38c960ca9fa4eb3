// TCorvexEdit: the single-line edit for amounts, numbers and text: character
// filter by numeric style, sign key, keys typing "00" / "000", thousands
// separators while typing or on leaving, automatic moves to the next control
// by key or when the field is full, and a paste guard. (The kana reading of
// the input method's compositions is not captured here: Linux input methods
// do not hand it over.)
#pragma once

#include <functional>
#include <string>

#include <QLineEdit>

#include "platform/vcl/color.h"
#include "platform/vcl/keys.h"
#include "ui/keystyles.h"

enum TEditStyle { esNone, esNumeric, esFloat, esNumericMinus, esFloatMinus };
enum TKanaMode { kmNone, kmZenkaku, kmHankaku };
enum TZeroKey { zkNone, zkDot, zkPlus, zkMinus, zkAsterisk, zkSlash };

class TCorvexEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TCorvexEdit(QWidget* parent = nullptr);

  Qt::Alignment Alignment() const { return alignment(); }
  void SetAlignment(Qt::Alignment a) { setAlignment(a); }
  TAutoNextCtls AutoNextCtls() const { return autoNextCtls_; }
  void SetAutoNextCtls(TAutoNextCtls set) { autoNextCtls_ = set & kAutoNextMask; }
  TAutoNextCtls AutoNextCtls_Result() const { return autoNextResult_; }
  TEditStyle EditStyle() const { return editStyle_; }
  void SetEditStyle(TEditStyle style) { editStyle_ = style; }
  TKanaMode KanaMode() const { return kanaMode_; }
  void SetKanaMode(TKanaMode mode) { kanaMode_ = mode; }
  bool KillPaste() const { return killPaste_; }
  void SetKillPaste(bool on) { killPaste_ = on; }
  TKeyStyles KeyStyles() const { return keyStyles_; }
  void SetKeyStyles(TKeyStyles styles) { keyStyles_ = styles & kKeyStylesMask; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  std::string OutputFormat() const { return outputFormat_; }
  void SetOutputFormat(const std::string& format) { outputFormat_ = format; }
  bool Comma() const { return comma_; }
  void SetComma(bool on);
  TZeroKey Zero2Key() const { return zero2Key_; }
  void SetZero2Key(TZeroKey key) { zero2Key_ = key; }
  TZeroKey Zero3Key() const { return zero3Key_; }
  void SetZero3Key(TZeroKey key) { zero3Key_ = key; }
  bool ImeOnFlg() const { return imeOn_; }
  bool AllowBlank() const { return allowBlank_; }
  void SetAllowBlank(bool on) { allowBlank_ = on; }
  bool EnterKeyNoBeep() const { return enterKeyNoBeep_; }
  void SetEnterKeyNoBeep(bool on) { enterKeyNoBeep_ = on; }
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode mode);
  // Characters allowed (0: none); separators do not count against it.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  std::string Text() const { return text().toStdString(); }
  void SetText(const std::string& t) { setText(QString::fromStdString(t)); }

  // Shows `text` formatted by OutputFormat (numeric styles only).
  void FormatText();
  // Types `s` at the caret as a key would (see the key handling).
  void InsertText(const QString& s);

  std::function<void()> OnChange;
  std::function<void()> OnImeStatusChange;
  std::function<void(Word& key, Qt::KeyboardModifiers shift)> OnKeyDown;
  std::function<void(char16_t& key)> OnKeyPress;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  bool KeyDown(Word key, Qt::KeyboardModifiers shift);  // true: consumed
  bool KeyPress(char16_t& ch, Qt::KeyboardModifiers shift);  // true: consumed
  bool IsNumericStyle() const { return editStyle_ != esNone; }
  bool IsFloatStyle() const { return editStyle_ == esFloat || editStyle_ == esFloatMinus; }
  bool IsMinusStyle() const { return editStyle_ == esNumericMinus || editStyle_ == esFloatMinus; }
  int PlainLength() const;  // length not counting "," while Comma is on
  void TextChanged();
  void UpdateTextLimit();

  TAutoNextCtls autoNextCtls_ = 0, autoNextResult_ = 0;
  TEditStyle editStyle_ = esNone;
  TKanaMode kanaMode_ = kmNone;
  bool killPaste_ = false;
  TKeyStyles keyStyles_ = KeyStyleBit(ksEnter);
  bool transparent_ = false;
  std::string outputFormat_;
  bool comma_ = false;
  TZeroKey zero2Key_ = zkNone, zero3Key_ = zkNone;
  bool imeOn_ = false;
  bool allowBlank_ = false;
  bool enterKeyNoBeep_ = false;
  TImeMode imeMode_ = imDontCare;
  int maxLength_ = 0;
  TColor color_ = clWindow;
  bool keyPressed_ = false;
  QString entryText_;
};
