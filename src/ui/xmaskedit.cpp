#include "ui/xmaskedit.h"

#include "ui/keynav.h"

void TxMaskEdit::keyPressEvent(QKeyEvent* event) {
  if (!HandleNavigationKey(this, event, keyStyles_)) QLineEdit::keyPressEvent(event);
}
