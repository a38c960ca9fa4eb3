#include "ui/xcombobox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVariant>

#include "ui/keynav.h"

namespace {

// A character that takes two bytes in the program's stored text encoding
// (anything beyond ASCII except the half-width katakana).
bool IsDoubleByteChar(QChar c) {
  const char16_t u = c.unicode();
  return u >= 0x80 && !(u >= 0xFF61 && u <= 0xFF9F);
}

}  // namespace

TxComboBox::TxComboBox(QWidget* parent) : QComboBox(parent) {
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && !searching_) remembered_ = index;
  });
  connect(this, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!searching_) SearchKeyPart(text);
  });
}

void TxComboBox::SearchKeyPart(const QString& text) {
  if (keyLen_ <= 0) return;
  if (!text.isEmpty() && IsDoubleByteChar(text.at(0))) {
    remembered_ = currentIndex();
    return;
  }
  const int term = keyTerm_.isEmpty() ? -1 : static_cast<int>(text.indexOf(keyTerm_));
  const QString key = (term >= 0 && term < keyLen_ ? text.left(term) : text.left(keyLen_)).trimmed();
  if (key.isEmpty()) return;
  const int from = std::max(0, currentIndex());
  int found = -1;
  for (int i = from; i < count() && found < 0; ++i)
    if (itemText(i).startsWith(key)) found = i;
  for (int i = 0; i < from && found < 0; ++i)
    if (itemText(i).startsWith(key)) found = i;
  if (found >= 0) {
    remembered_ = found;
    return;
  }
  searching_ = true;
  setCurrentIndex(-1);
  if (isEditable()) {
    setEditText(key);
    lineEdit()->setCursorPosition(static_cast<int>(key.size()));
  }
  searching_ = false;
}

void TxComboBox::SelectFirst() {
  if (count() == 0) return;
  setCurrentIndex(0);
  remembered_ = 0;
  if (isEditable()) setEditText(itemText(0));
}

void TxComboBox::showPopup() {
  if (dropDownWidth_ > 0) view()->setMinimumWidth(dropDownWidth_);
  droppedDown_ = true;
  QComboBox::showPopup();
}

void TxComboBox::hidePopup() {
  QComboBox::hidePopup();
  droppedDown_ = false;
  if (keyLen_ <= 0 || remembered_ < 0) return;
  searching_ = true;
  if (currentIndex() < 0) setCurrentIndex(remembered_);
  if (isEditable()) setEditText(itemText(remembered_));
  searching_ = false;
}

bool TxComboBox::DeleteKey() {
  const bool atStart = !isEditable() || lineEdit()->cursorPosition() == 0;
  if (!droppedDown_ && !atStart && !currentText().isEmpty()) return false;
  SelectFirst();
  return true;
}

bool TxComboBox::eventFilter(QObject* watched, QEvent* event) {
  // The edit part handles Delete itself: the reset comes first.
  if (isEditable() && watched == lineEdit() && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && DeleteKey())
    return true;
  return QComboBox::eventFilter(watched, event);
}

void TxComboBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && DeleteKey()) {
    event->accept();
    return;
  }
  if (!droppedDown_ && HandleNavigationKey(this, event, keyStyles_)) return;
  QComboBox::keyPressEvent(event);
}

void TxComboBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  if (isEditable() && !lineEdit()->property("xComboFilter").toBool()) {
    lineEdit()->installEventFilter(this);
    lineEdit()->setProperty("xComboFilter", true);
  }
  remembered_ = currentIndex();
}

void TxComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (keyLen_ <= 0 || droppedDown_) return;
  searching_ = true;
  setCurrentIndex(remembered_);
  if (remembered_ >= 0 && isEditable()) setEditText(itemText(remembered_));
  searching_ = false;
}
