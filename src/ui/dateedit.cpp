// TCorvexExDateEdit: fields, layout, colours and keys.
#include "ui/dateedit.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include "platform/vcl/focus.h"
#include "platform/vcl/hint.h"

namespace {

constexpr const char* kLabelDefaults[6] = {"年", "月", "日", "時", "分", "秒"};

// Which fields each style shows: era, year, month, day, AM/PM, hour, minute, second.
constexpr bool kStyleFields[9][8] = {
    {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 1, 1, 0, 0},
    {1, 1, 1, 1, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 1, 1, 1, 1}, {0, 0, 0, 0, 1, 1, 1, 0}, {0, 0, 0, 0, 1, 1, 0, 0},
};

}  // namespace

TCorvexExDateEditLabel::TCorvexExDateEditLabel(QWidget* owner) : QWidget(owner) {
  setFocusPolicy(Qt::NoFocus);
}

void TCorvexExDateEditLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorToQColor(color_));
  p.setPen(ColorToQColor(clBtnShadow));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::black);
  p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(caption_));
}

TCorvexExDateEdit::TCorvexExDateEdit(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);  // the control passes the focus to its fields
  eraBox_ = new QComboBox(this);
  eraBox_->setObjectName("EraBox");
  ampmBox_ = new QComboBox(this);
  ampmBox_->setObjectName("AmpmBox");
  ampmBox_->addItems({"午前", "午後"});
  ampmBox_->setCurrentIndex(-1);
  fields_[fEra] = eraBox_;
  fields_[fAmpm] = ampmBox_;
  const char* names[] = {"", "YearEdit", "MonthEdit", "DayEdit", "", "HourEdit", "MinuteEdit", "SecondEdit"};
  for (Field f : {fYear, fMonth, fDay, fHour, fMinute, fSecond}) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(names[f]);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setMaxLength(2);
    fields_[f] = edit;
  }
  for (int i = 0; i < 6; ++i) {
    labels_[static_cast<std::size_t>(i)] = new TCorvexExDateEditLabel(this);
    labels_[static_cast<std::size_t>(i)]->SetCaption(kLabelDefaults[i]);
  }
  for (QWidget* w : fields_) {
    w->installEventFilter(this);
    w->setFocusPolicy(Qt::StrongFocus);
  }
  for (auto* box : {eraBox_, ampmBox_}) {
    connect(box, &QComboBox::activated, this, [this, box] { if (OnChange) OnChange(box); });
  }
  for (Field f : {fYear, fMonth, fDay, fHour, fMinute, fSecond}) {
    QLineEdit* e = NumberField(f);
    connect(e, &QLineEdit::textEdited, this, [this, e] { if (OnChange) OnChange(e); });
  }
  FillEraList();
  ArrangeFields(true);
}

QLineEdit* TCorvexExDateEdit::NumberField(Field f) const {
  return f == fEra || f == fAmpm ? nullptr : static_cast<QLineEdit*>(fields_[f]);
}

bool TCorvexExDateEdit::FieldShown(Field f) const {
  if (f == fEra && !editGengo_) return false;
  if (f == fAmpm && !editAmpm_) return false;
  return kStyleFields[style_][f];
}

bool TCorvexExDateEdit::HasYear() const { return FieldShown(fYear); }
bool TCorvexExDateEdit::HasHour() const { return FieldShown(fHour); }

std::string TCorvexExDateEdit::LabelCaption(int index) const {
  return index >= 1 && index <= 6 ? labels_[static_cast<std::size_t>(index - 1)]->Caption() : std::string();
}

void TCorvexExDateEdit::SetLabelCaption(int index, const std::string& caption) {
  if (index < 1 || index > 6) return;
  labels_[static_cast<std::size_t>(index - 1)]->SetCaption(caption);
  ArrangeFields(false);
}

void TCorvexExDateEdit::SetLabelColor(TColor color) {
  labelColor_ = color;
  for (auto* l : labels_) l->SetColor(color);
}

void TCorvexExDateEdit::SetSpaceWidth(int width) {
  spaceWidth_ = width;
  ArrangeFields(false);
}

void TCorvexExDateEdit::SetTabStops(bool on) {
  tabStop_ = on;
  for (QWidget* w : fields_) w->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

void TCorvexExDateEdit::SetHint(const std::string& hint) {
  ::SetHint(this, hint);
  for (QWidget* w : fields_) ::SetHint(w, hint);
}

void TCorvexExDateEdit::ArrangeFields(bool clear) {
  if (clear) ClearFields();
  const QFontMetrics fm(font());
  const int rowHeight = 8 + fm.height();
  const int boxWidth = fm.horizontalAdvance("0000") + 26;
  const bool fourDigitYear = yearDigit_ == yddigit4 && gengo_ != rsWareki;
  NumberField(fYear)->setMaxLength(fourDigitYear ? 4 : 2);
  const int labelFor[kFieldCount] = {-1, 0, 1, 2, -1, 3, 4, 5};
  int x = 0, y = 0, dateRight = 0, timeRight = 0;
  auto placeBox = [&](Field f) {
    fields_[f]->setGeometry(x, y, boxWidth, rowHeight);
    x += boxWidth - 2;
  };
  auto placeNumber = [&](Field f) {
    const int w = fm.horizontalAdvance(f == fYear && fourDigitYear ? "0000" : "00") + (f == fYear && fourDigitYear ? 20 : 16);
    fields_[f]->setGeometry(x, y, w, rowHeight);
    x += w;
    TCorvexExDateEditLabel* label = labels_[static_cast<std::size_t>(labelFor[f])];
    const int lw = fm.horizontalAdvance(QString::fromStdString(label->Caption())) + 14;
    label->setGeometry(x, y, lw, rowHeight);
    label->setFont(font());
    label->show();
    x += lw - 3;
  };
  for (int f = 0; f < kFieldCount; ++f) fields_[f]->setVisible(FieldShown(static_cast<Field>(f)));
  for (auto* l : labels_) l->hide();
  if (FieldShown(fEra)) placeBox(fEra);
  for (Field f : {fYear, fMonth, fDay})
    if (FieldShown(f)) placeNumber(f);
  const bool hasDate = FieldShown(fEra) || HasYear();
  if (hasDate) dateRight = x + 3;
  const bool hasTime = FieldShown(fAmpm) || HasHour();
  if (hasTime) {
    if (!hasDate) x = 0;
    else if (spaceWidth_ >= 0) x = dateRight + spaceWidth_;
    else { x = 0; y = rowHeight - spaceWidth_; }
    if (FieldShown(fAmpm)) placeBox(fAmpm);
    for (Field f : {fHour, fMinute, fSecond})
      if (FieldShown(f)) placeNumber(f);
    timeRight = x + 3;
  }
  const int height = hasDate && hasTime && spaceWidth_ < 0 ? 2 * rowHeight - spaceWidth_ : rowHeight;
  setFixedSize(std::max(dateRight, timeRight), height);
  ApplyColors();
}

void TCorvexExDateEdit::ApplyColors() {
  const bool on = isEnabled();
  eraBox_->setEnabled(on);
  ampmBox_->setEnabled(on);
  for (QWidget* w : fields_) {
    if (w == ampmBox_) continue;
    QPalette p = w->palette();
    p.setColor(QPalette::Base, ColorToQColor(on ? color_ : disableColor_));
    p.setColor(QPalette::Text, on ? palette().color(QPalette::WindowText) : ColorToQColor(disableFontColor_));
    w->setPalette(p);
  }
}

void TCorvexExDateEdit::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) ArrangeFields(false);
  else if (event->type() == QEvent::EnabledChange) ApplyColors();
}

void TCorvexExDateEdit::focusInEvent(QFocusEvent*) { FocusField(nullptr); }

void TCorvexExDateEdit::FocusField(QWidget* field) {
  if (!isEnabled() || !isVisible()) return;
  if (field && field->isVisibleTo(this) && field->isEnabled()) {
    field->setFocus();
    return;
  }
  for (Field f : {fEra, fYear, fAmpm, fHour}) {
    if (FieldShown(f) && fields_[f]->isEnabled()) {
      fields_[f]->setFocus();
      return;
    }
  }
}

void TCorvexExDateEdit::FocusLeft() {
  if (exitCheck_) CheckInput();
}

bool TCorvexExDateEdit::eventFilter(QObject* watched, QEvent* event) {
  auto* field = qobject_cast<QWidget*>(watched);
  auto* box = qobject_cast<QComboBox*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      const bool shift = k->modifiers() & Qt::ShiftModifier;
      if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        if (box) box->hidePopup();
        if (enterNext_) SelectNextControl(field, !shift);
        return true;
      }
      if (box && k->key() == Qt::Key_Down && dropDownKey_) {
        box->showPopup();
        return true;
      }
      if (box && k->key() == Qt::Key_Delete) {
        const bool hadText = !box->currentText().isEmpty();
        box->setCurrentIndex(-1);
        if (hadText && OnChange) OnChange(box);
        return true;
      }
      const QString text = k->text();
      if (text.isEmpty() || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) return false;
      char16_t ch = text.at(0).unicode();
      if (OnKeyPress) OnKeyPress(field, ch);
      if (ch == 8 || ch == 27) return false;
      if (!box && ch >= u'0' && ch <= u'9') return false;
      return true;  // every other character is swallowed
    }
    case QEvent::FocusIn: {
      QPalette p = field->palette();
      p.setColor(QPalette::Base, ColorToQColor(focusedColor_));
      field->setPalette(p);
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        QTimer::singleShot(0, edit, [this, edit] {
          if (autoSelect_) edit->selectAll(); else edit->setCursorPosition(0);
        });
      }
      return false;
    }
    case QEvent::FocusOut: {
      QPalette p = field->palette();
      p.setColor(QPalette::Base, ColorToQColor(isEnabled() ? color_ : disableColor_));
      field->setPalette(p);
      QWidget* next = QApplication::focusWidget();
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && (!next || !isAncestorOf(next)))
        FocusLeft();
      return false;
    }
    case QEvent::MouseButtonRelease:
      if (OnClick) OnClick(field);
      return false;
    default:
      return false;
  }
}
