// TEditQbox: the report engine's edit control, the framework edit with a text
// alignment. (The reading of typed kana is not captured: the desktop's input
// methods do not offer it.)
#pragma once

#include <functional>

#include "ui/xedit.h"

enum TQboxAlignment { qaLeft, qaRight, qaCenter };

class TEditQbox : public TxEdit {
  Q_OBJECT
 public:
  explicit TEditQbox(QWidget* parent = nullptr);

  TQboxAlignment Alignment() const { return alignment_; }
  void SetAlignment(TQboxAlignment value);
  // Called when the focus leaves the field.
  std::function<void()> OnExit;

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TQboxAlignment alignment_ = qaLeft;
};
