#include "ui/plbutton.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

#include "platform/vcl/dpi.h"
#include "platform/vcl/keys.h"

// ---- caption line and image settings ----

std::string TxPlBtnCaption::Caption() const { return first_ ? owner_->text().toStdString() : caption_; }

void TxPlBtnCaption::SetCaption(const std::string& caption) {
  if (Caption() == caption) return;
  if (first_) owner_->setText(QString::fromStdString(caption));
  else caption_ = caption;
  owner_->update();
}

void TxPlBtnCaption::SetAlignment(TxPlBtnAlignment a) {
  if (alignment_ == a) return;
  alignment_ = a;
  owner_->update();
}

void TxPlBtnCaption::SetLeft(int v) {
  if (left_ == v) return;
  left_ = v;
  owner_->update();
}

void TxPlBtnCaption::SetRight(int v) {
  if (right_ == v) return;
  right_ = v;
  owner_->update();
}

void TxPlBtnCaption::Assign(const TxPlBtnCaption& other) {
  if (first_) owner_->setText(QString::fromStdString(other.Caption()));
  else caption_ = other.Caption();
  alignment_ = other.alignment_;
  left_ = other.left_;
  right_ = other.right_;
  owner_->update();
}

void TxPlBtnImage::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  owner_->update();
}

void TxPlBtnImage::SetLeft(int v) {
  horzCenter_ = false;
  if (left_ != v) { left_ = v; owner_->update(); }
}

void TxPlBtnImage::SetTop(int v) {
  vertCenter_ = false;
  if (top_ != v) { top_ = v; owner_->update(); }
}

void TxPlBtnImage::SetVisible(bool v) {
  if (visible_ != v) { visible_ = v; owner_->update(); }
}

void TxPlBtnImage::SetTransParent(bool v) {
  if (transparent_ != v) { transparent_ = v; owner_->update(); }
}

void TxPlBtnImage::SetVertCenter(bool v) {
  if (vertCenter_ == v) return;
  vertCenter_ = v;
  if (v) owner_->update();
}

void TxPlBtnImage::SetHorzCenter(bool v) {
  if (horzCenter_ == v) return;
  horzCenter_ = v;
  if (v) owner_->update();
}

void TxPlBtnImage::Assign(const TxPlBtnImage& other) {
  picture_ = other.picture_.copy();
  left_ = other.left_;
  top_ = other.top_;
  visible_ = other.visible_;
  transparent_ = other.transparent_;
  vertCenter_ = other.vertCenter_;
  horzCenter_ = other.horzCenter_;
  owner_->update();
}

// ---- the button ----

TxPlButton::TxPlButton(QWidget* parent) : QAbstractButton(parent) {
  resize(75, 26);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractButton::clicked, this, [this] { Clicked(); });
}

TxPlButton::~TxPlButton() = default;

void TxPlButton::Clicked() {
  pressed_ = false;
  auto* dialog = qobject_cast<QDialog*>(window());
  if (dialog) dialog->setResult(modalResult_);
  if (OnClick) OnClick(this);
  if (dialog && dialog->isVisible() && dialog->result() != mrNone) dialog->done(dialog->result());
  update();
}

void TxPlButton::SetButtonStyle(TxPlButtonStyle style) {
  if (buttonStyle_ == style) return;
  buttonStyle_ = style;
  ApplyRegion();
  update();
}

void TxPlButton::SetCancel(bool on) {
  cancel_ = on;
  if (on && !cancelShortcut_) {
    cancelShortcut_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelShortcut_->setContext(Qt::WindowShortcut);
    connect(cancelShortcut_, &QShortcut::activated, this, [this] {
      if (hasFocus_ && isEnabled() && isVisible()) click();
    });
  }
  if (cancelShortcut_) cancelShortcut_->setEnabled(on);
}

void TxPlButton::SetGradation(bool on) {
  if (gradation_ == on) return;
  gradation_ = on;
  if (on) parentColor_ = false;
  update();
}

void TxPlButton::SetGradBeginColor(TColor c) {
  if (gradBegin_ != c) { gradBegin_ = c; update(); }
}

void TxPlButton::SetGradEndColor(TColor c) {
  if (gradEnd_ != c) { gradEnd_ = c; update(); }
}

void TxPlButton::SetHasFocus(bool on) {
  hasFocus_ = on;
  setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
  update();
}

void TxPlButton::SetCaptionLineSpace(int v) {
  if (lineSpace_ != v) { lineSpace_ = v; update(); }
}

void TxPlButton::SetCaptionTop(int v) {
  vertCenter_ = false;
  if (captionTop_ != v) { captionTop_ = v; update(); }
}

void TxPlButton::SetCaptionVertCenter(bool on) {
  if (vertCenter_ != on) { vertCenter_ = on; update(); }
}

void TxPlButton::SetFlatFrameType(TxPlBtnFrameType t) {
  if (frameType_ != t) { frameType_ = t; update(); }
}

void TxPlButton::SetColor(TColor c) {
  color_ = c;
  parentColor_ = false;
  update();
}

void TxPlButton::SetParentColor(bool on) {
  if (parentColor_ != on) { parentColor_ = on; update(); }
}

void TxPlButton::ApplyRegion() {
  if (buttonStyle_ == bsRoundRect || buttonStyle_ == bsRoundRectNoFrame) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 5, 5);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
  } else {
    clearMask();
  }
}

void TxPlButton::resizeEvent(QResizeEvent* event) {
  QAbstractButton::resizeEvent(event);
  ApplyRegion();
  update();
}

void TxPlButton::changeEvent(QEvent* event) {
  QAbstractButton::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) update();
}

void TxPlButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (hasFocus_) setFocus(Qt::MouseFocusReason);
    pressed_ = true;
    update();
  }
  QAbstractButton::mousePressEvent(event);
}

void TxPlButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = false;
    update();
  }
  QAbstractButton::mouseReleaseEvent(event);
}

void TxPlButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  pressed_ = false;
  update();
}

void TxPlButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled() &&
      !AnyShiftKey(event->modifiers())) {
    event->accept();
    if (hasFocus_) pressed_ = true;
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void TxPlButton::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    pressed_ = false;
    update();
    event->accept();
    return;
  }
  QAbstractButton::keyReleaseEvent(event);
}

TxPlButton* NewPlButton(QWidget* Parent, const char* Name, const std::string& Caption, int X, int Y, int W, int H) {
  auto* b = new TxPlButton(Parent);
  b->setObjectName(Name);
  b->setText(QString::fromStdString(Caption));
  b->setGeometry(Px(X), Px(Y), Px(W), Px(H));
  return b;
}
