// TxMaskEdit: a masked edit with the framework's key navigation.
#pragma once

#include <QLineEdit>

#include "ui/keystyles.h"

class TxMaskEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TxMaskEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
  TKeyStyles KeyStyles() const { return keyStyles_; }
  void SetKeyStyles(TKeyStyles styles) { keyStyles_ = styles & kKeyStylesMask; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TKeyStyles keyStyles_ = kDefaultKeyStyles;
};
