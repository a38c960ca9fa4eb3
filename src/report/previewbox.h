// The preview's paint box: the printable area of the page, drawn by the
// preview; dragging with the left button scrolls the preview.
#pragma once

#include <QPoint>
#include <QWidget>

class TImageDispForm;

class TPreviewPaintBox : public QWidget {
  Q_OBJECT
 public:
  TPreviewPaintBox(TImageDispForm* form, QWidget* parent);

 protected:
  void paintEvent(class QPaintEvent* event) override;
  void mousePressEvent(class QMouseEvent* event) override;
  void mouseMoveEvent(class QMouseEvent* event) override;
  void mouseReleaseEvent(class QMouseEvent* event) override;

 private:
  TImageDispForm* form_;
  QPoint pressed_;
  bool dragging_ = false;
};
