#include "ui/corvexedit.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/focus.h"
#include "ui/pasteguard.h"

namespace {

char16_t ZeroKeyChar(TZeroKey key) {
  switch (key) {
    case zkDot: return u'.';
    case zkPlus: return u'+';
    case zkMinus: return u'-';
    case zkAsterisk: return u'*';
    case zkSlash: return u'/';
    default: return 0;
  }
}

int CountCommas(const QString& s) { return static_cast<int>(s.count(QLatin1Char(','))); }

std::string WithoutCommas(const QString& s) { return QString(s).remove(QLatin1Char(',')).toStdString(); }

}  // namespace

TCorvexEdit::TCorvexEdit(QWidget* parent) : QLineEdit(parent) {
  InstallPasteGuard(this, [this] { return killPaste_ && imeMode_ == imDisable; });
  connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
}

void TCorvexEdit::SetTransparent(bool on) {
  transparent_ = on;
  setStyleSheet(on ? "QLineEdit { background: transparent; }" : QString());
  update();
}

void TCorvexEdit::SetComma(bool on) {
  comma_ = on;
  if (!on) UpdateTextLimit();
}

void TCorvexEdit::SetImeMode(TImeMode mode) {
  imeMode_ = mode;
  setAttribute(Qt::WA_InputMethodEnabled, mode != imDisable && mode != imClose);
}

void TCorvexEdit::SetMaxLength(int length) {
  maxLength_ = std::max(0, length);
  UpdateTextLimit();
}

void TCorvexEdit::SetColor(TColor color) {
  color_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Base, ColorToQColor(color));
  setPalette(p);
}

void TCorvexEdit::UpdateTextLimit() {
  // Separators do not count against the limit.
  setMaxLength(maxLength_ > 0 ? maxLength_ + CountCommas(text()) : 32767);
}

int TCorvexEdit::PlainLength() const {
  return static_cast<int>(text().size()) - (comma_ ? CountCommas(text()) : 0);
}

void TCorvexEdit::FormatText() {
  if (!IsNumericStyle() || outputFormat_.empty()) return;
  if (text().isEmpty() && allowBlank_) return;
  const std::string plain = WithoutCommas(text());
  Currency amount;
  std::string formatted;
  if (TryStrToCurr(plain, amount)) formatted = FormatFloat(outputFormat_, amount);
  else formatted = FormatFloat(outputFormat_, StrToFloatDef(plain, 0.0));
  if (maxLength_ > 0) setMaxLength(maxLength_ + CountCommas(QString::fromStdString(formatted)));
  setText(QString::fromStdString(formatted));
}

void TCorvexEdit::TextChanged() {
  if (comma_ && keyPressed_) {
    keyPressed_ = false;
    if (text() == "-") {  // a sign typed first waits for its digits
      if (OnChange) OnChange();
      return;
    }
    const QString before = text();
    const int p = cursorPosition();
    const int commasBefore = CountCommas(before);
    FormatText();
    const int commasAfter = CountCommas(text());
    int caret = p;
    if (before.isEmpty() || commasAfter > commasBefore) caret = p + 1;
    else if (commasAfter < commasBefore) caret = p - 1;
    setCursorPosition(std::clamp(caret, 0, static_cast<int>(text().size())));
  }
  if (OnChange) OnChange();
}

void TCorvexEdit::InsertText(const QString& s) {
  if (hasSelectedText()) del();
  QString piece = s;
  if (maxLength_ > 0) {
    const int room = maxLength_ - static_cast<int>(WithoutCommas(text()).size());
    piece = piece.left(std::max(0, room));
  }
  const int pos = cursorPosition();
  const int commasBefore = CountCommas(text());
  QString next = text();
  next.insert(pos, piece);
  if (maxLength_ > 0) {
    setMaxLength(maxLength_ + CountCommas(next));
    const int length = static_cast<int>(next.size()) - (comma_ ? CountCommas(next) : 0);
    if (length >= maxLength_) {
      autoNextResult_ |= AutoNextBit(acMaxLength);
      if (Has(autoNextCtls_, acSendEnter)) autoNextResult_ |= AutoNextBit(acSendEnter);
    }
  }
  setText(next);  // runs the change handling
  const int caret = pos + static_cast<int>(piece.size()) + CountCommas(text()) - commasBefore;
  setCursorPosition(std::clamp(caret, 0, static_cast<int>(text().size())));
}

bool TCorvexEdit::event(QEvent* e) {
  // Tab reaches the control's own key handling (it asks for all keys).
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QLineEdit::event(e);
}

bool TCorvexEdit::KeyDown(Word key, Qt::KeyboardModifiers shift) {
  const bool shiftHeld = AnyShiftKey(shift);
  const bool noSelection = !hasSelectedText();
  switch (key) {
    case VK_TAB:
      if (shift & Qt::ShiftModifier) { SelectNextControl(this, false); return true; }
      if (Has(autoNextCtls_, acTabKey)) return false;  // the key press reports it
      SelectNextControl(this, true);
      return true;
    case VK_RETURN:
      if (!Has(keyStyles_, ksEnter)) break;
      SelectNextControl(this, true);
      return true;
    case VK_UP:
      if (!Has(keyStyles_, ksUp)) break;
      SelectNextControl(this, false);
      return true;
    case VK_DOWN:
      if (!shiftHeld && Has(autoNextCtls_, acDownKey)) {
        autoNextResult_ |= AutoNextBit(acDownKey) | AutoNextBit(acSendEnter);
        return true;
      }
      if (!Has(keyStyles_, ksDown)) break;
      SelectNextControl(this, true);
      return true;
    case VK_LEFT:
      if (!Has(keyStyles_, ksLeft) || !noSelection || cursorPosition() != 0) break;
      SelectNextControl(this, false);
      return true;
    case VK_RIGHT:
      if (!Has(keyStyles_, ksRight) || !noSelection || cursorPosition() != text().size()) break;
      SelectNextControl(this, true);
      return true;
    default:
      break;
  }
  if (key != VK_TAB && key != VK_RETURN && key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT)
    keyPressed_ = true;
  return false;
}

bool TCorvexEdit::KeyPress(char16_t& ch, Qt::KeyboardModifiers shift) {
  update();
  const bool tabReported = ch == 9 && Has(autoNextCtls_, acTabKey);
  if (tabReported && (shift & Qt::ShiftModifier)) return true;
  bool zerosTyped = false;
  if (ch != 13 && !tabReported) {
    auto zeroAllowed = [&](TZeroKey k) {
      if (editStyle_ == esNone || k == zkNone) return false;
      if (k == zkDot && IsFloatStyle()) return false;
      if (k == zkMinus && IsMinusStyle()) return false;
      return ch == ZeroKeyChar(k);
    };
    if (zeroAllowed(zero2Key_)) { InsertText("00"); zerosTyped = true; ch = 0; }
    else if (zeroAllowed(zero3Key_)) { InsertText("000"); zerosTyped = true; ch = 0; }
    if (!zerosTyped && IsNumericStyle()) {
      const bool allowed = ch == 8 || ch == 9 || ch == 27 || (ch >= u'0' && ch <= u'9') ||
                           (ch == u'.' && IsFloatStyle()) || (ch == u'-' && IsMinusStyle());
      if (!allowed) return true;
    }
    if (ch == u'-' && IsMinusStyle()) {
      const Currency value = StrToCurrDef(WithoutCommas(text()), Currency());
      if (value != Currency()) {
        setText(QString::fromStdString(CurrToStr(-value)));
        setCursorPosition(static_cast<int>(text().size()));
        return true;
      }
    }
    if (ch == u'.' && IsFloatStyle() && (text().isEmpty() || text().contains(u'.'))) return true;
  }
  if (ch == 0 && !zerosTyped) return true;
  if (ch == 8 || ch == 27 || ch == 130) {
    autoNextResult_ = 0;
    return ch == 27;
  }
  if (tabReported) {
    autoNextResult_ |= AutoNextBit(acTabKey) | AutoNextBit(acSendEnter);
    return false;
  }
  if (ch == 13) return enterKeyNoBeep_;
  autoNextResult_ &= static_cast<TAutoNextCtls>(~(AutoNextBit(acMaxLength) | AutoNextBit(acSendEnter)));
  if (!Has(autoNextCtls_, acMaxLength) || maxLength_ <= 0) return zerosTyped;
  const int selected = static_cast<int>(selectedText().size());
  // Zeros already typed count as one more character, as a typed key would.
  if (PlainLength() - (zerosTyped ? 0 : selected) + 1 < maxLength_) return zerosTyped;
  autoNextResult_ |= AutoNextBit(acMaxLength);
  if (Has(autoNextCtls_, acSendEnter)) {
    autoNextResult_ |= AutoNextBit(acSendEnter);
    return zerosTyped;
  }
  if (!zerosTyped) InsertText(QString(QChar(ch)));
  SelectNextControl(this, true);
  return true;
}

void TCorvexEdit::keyPressEvent(QKeyEvent* e) {
  const Word vk = QtKeyToVk(e->key());
  if (vk == 0) keyPressed_ = true;
  if (vk != 0) {
    if (KeyDown(vk, e->modifiers())) { e->accept(); return; }
    Word key = vk;
    if (OnKeyDown) OnKeyDown(key, e->modifiers());
    if (key == 0) { e->accept(); return; }
  }
  char16_t ch = e->text().isEmpty() ? 0 : e->text().at(0).unicode();
  if (vk == VK_RETURN) ch = 13;
  else if (vk == VK_TAB) ch = 9;
  else if (vk == VK_BACK) ch = 8;
  else if (vk == VK_ESCAPE) ch = 27;
  if (ch != 0) {
    if (KeyPress(ch, e->modifiers())) {
      keyPressed_ = false;  // nothing typed: the next change is not a key's
      e->accept();
      return;
    }
    if (OnKeyPress) OnKeyPress(ch);
    if (ch == 0) { e->accept(); return; }
  }
  if (vk == VK_TAB || vk == VK_RETURN) { e->accept(); return; }
  if (vk == VK_ESCAPE) { e->ignore(); return; }
  QLineEdit::keyPressEvent(e);
}

void TCorvexEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  autoNextResult_ = 0;
  if (IsNumericStyle() && !outputFormat_.empty() && !comma_) {
    setText(QString::fromStdString(WithoutCommas(text())));
    selectAll();
  }
  entryText_ = text();
}

void TCorvexEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  keyPressed_ = false;
  FormatText();
  autoNextResult_ = 0;
}

void TCorvexEdit::inputMethodEvent(QInputMethodEvent* e) {
  const bool composing = !e->preeditString().isEmpty();
  if (composing != imeOn_) {
    imeOn_ = composing;
    if (OnImeStatusChange) OnImeStatusChange();
  }
  QLineEdit::inputMethodEvent(e);
}
