// TxCheckBox and TxRadioButton: check box and radio button whose Enter and
// arrow keys (per KeyStyles) move the focus between the window's controls
// instead of acting inside a button group.
#pragma once

#include <QCheckBox>
#include <QRadioButton>

#include "ui/keystyles.h"

class TxCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  explicit TxCheckBox(QWidget* parent = nullptr);
  TKeyStyles KeyStyles() const { return keyStyles_; }
  void SetKeyStyles(TKeyStyles styles) { keyStyles_ = styles & kKeyStylesMask; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TKeyStyles keyStyles_ = kDefaultKeyStyles;
};

class TxRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  explicit TxRadioButton(QWidget* parent = nullptr);
  TKeyStyles KeyStyles() const { return keyStyles_; }
  void SetKeyStyles(TKeyStyles styles) { keyStyles_ = styles & kKeyStylesMask; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TKeyStyles keyStyles_ = kDefaultKeyStyles;
};
