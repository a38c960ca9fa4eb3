#include "report/previewbox.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "report/preview.h"

TPreviewPaintBox::TPreviewPaintBox(TImageDispForm* form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName("ImagePaintBox");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPreviewPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  form_->DrawPage(painter, form_->PixelsPerInch() / 254.0);
}

void TPreviewPaintBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = event->globalPosition().toPoint();
  dragging_ = true;
  setCursor(Qt::SizeAllCursor);
}

void TPreviewPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint now = event->globalPosition().toPoint();
  const QPoint moved = pressed_ - now;
  pressed_ = now;
  for (auto [bar, delta] : {std::pair{form_->ImagePaintScrollBox->horizontalScrollBar(), moved.x()},
                            std::pair{form_->ImagePaintScrollBox->verticalScrollBar(), moved.y()}})
    bar->setValue(std::max(0, bar->value() + delta));
}

void TPreviewPaintBox::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
  unsetCursor();
}

