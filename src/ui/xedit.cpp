#include "ui/xedit.h"

#include <QKeyEvent>
#include <QTimer>

#include "platform/rtl/sysutils.h"
#include "ui/keynav.h"
#include "ui/pasteguard.h"

TxEdit::TxEdit(QWidget* parent) : QLineEdit(parent) {
  InstallPasteGuard(this, [this] { return killPaste_ && imeMode_ == imDisable; });
}

void TxEdit::SetImeMode(TImeMode mode) {
  imeMode_ = mode;
  setAttribute(Qt::WA_InputMethodEnabled, mode != imDisable && mode != imClose);
}

Currency TxEdit::Curr() const { return StrToCurrDef(text().toStdString(), Currency()); }

void TxEdit::SetCurr(Currency value) {
  if (value != Currency()) setText(QString::fromStdString(CurrToStr(value)));
}

int TxEdit::Long() const { return StrToIntDef(text().toStdString(), 0); }

void TxEdit::SetLong(int value) {
  if (value != 0) setText(QString::number(value));
}

void TxEdit::keyPressEvent(QKeyEvent* event) {
  // Left leaves only from the start with nothing or everything selected; Right
  // only when everything is selected (an empty text counts as such).
  auto mayMove = [this](Word key) {
    const bool allSelected = text().isEmpty() || selectedText() == text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    if (key == VK_LEFT) return start == 0 && (!hasSelectedText() || allSelected);
    if (key == VK_RIGHT) return allSelected;
    return true;
  };
  if (!HandleNavigationKey(this, event, keyStyles_, mayMove)) QLineEdit::keyPressEvent(event);
}

void TxEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  switch (cursorPos_) {
    case cpAllSel: selectAll(); break;
    case cpLeft: setCursorPosition(0); break;
    case cpRight: setCursorPosition(static_cast<int>(text().size())); break;
  }
}
