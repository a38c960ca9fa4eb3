// TxComboBox: a combo box with the framework's key navigation (while the list
// is closed), Delete resetting to the first item, a drop-down width and a
// search of the items by a key part of the typed text ("001:..." items
// found by typing "001").
#pragma once

#include <string>

#include <QComboBox>

#include "ui/keystyles.h"

class TxComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TxComboBox(QWidget* parent = nullptr);

  TKeyStyles KeyStyles() const { return keyStyles_; }
  void SetKeyStyles(TKeyStyles styles) { keyStyles_ = styles & kKeyStylesMask; }
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int width) { dropDownWidth_ = width; }
  int KeyLen() const { return keyLen_; }
  void SetKeyLen(int length) { keyLen_ = length; }
  std::string KeyTerm() const { return keyTerm_.toStdString(); }
  void SetKeyTerm(const std::string& term) { keyTerm_ = QString::fromStdString(term); }
  // The item the key-part search remembers (-1: none).
  int RememberedIndex() const { return remembered_; }
  bool DroppedDown() const { return droppedDown_; }
  void SetImeMode(TImeMode mode) { setAttribute(Qt::WA_InputMethodEnabled, mode != imDisable && mode != imClose); }

  void showPopup() override;
  void hidePopup() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SearchKeyPart(const QString& text);
  void SelectFirst();
  bool DeleteKey();  // true when Delete reset the box

  TKeyStyles keyStyles_ = kDefaultKeyStyles;
  int dropDownWidth_ = 0;
  int keyLen_ = 0;
  QString keyTerm_ = ":";
  int remembered_ = -1;
  bool droppedDown_ = false;
  bool searching_ = false;
};
