#include "platform/vcl/align.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kAlign = "vclAlign";
constexpr const char* kAnchors = "vclAnchors";
constexpr const char* kAnchorMargins = "vclAnchorMargins";  // right and bottom distances
constexpr const char* kFilter = "vclArrangeFilter";

class ArrangeFilter : public QObject {
 public:
  explicit ArrangeFilter(QObject* parent) : QObject(parent) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) ArrangeChildren(static_cast<QWidget*>(watched));
    return false;
  }
};

void EnsureFilter(QWidget* parent) {
  if (!parent || parent->property(kFilter).toBool()) return;
  parent->installEventFilter(new ArrangeFilter(parent));
  parent->setProperty(kFilter, true);
}

}  // namespace

void SetAlign(QWidget* control, TAlign align) {
  if (!control) return;
  control->setProperty(kAlign, static_cast<int>(align));
  EnsureFilter(control->parentWidget());
  if (control->parentWidget()) ArrangeChildren(control->parentWidget());
}

TAlign GetAlign(const QWidget* control) {
  return control ? static_cast<TAlign>(control->property(kAlign).toInt()) : alNone;
}

void SetAnchors(QWidget* control, TAnchors anchors) {
  if (!control || !control->parentWidget()) return;
  QWidget* parent = control->parentWidget();
  const QRect g = control->geometry();
  control->setProperty(kAnchors, static_cast<int>(anchors));
  control->setProperty(kAnchorMargins, QRect(0, 0, parent->width() - g.right() - 1, parent->height() - g.bottom() - 1));
  EnsureFilter(parent);
}

TAnchors GetAnchors(const QWidget* control) {
  const QVariant a = control ? control->property(kAnchors) : QVariant();
  return a.isValid() ? static_cast<TAnchors>(a.toInt()) : static_cast<TAnchors>(akLeft | akTop);
}

void ScaleAnchors(QWidget* control, int numerator, int denominator) {
  if (!control || denominator == 0 || !control->property(kAnchorMargins).isValid()) return;
  const QRect m = control->property(kAnchorMargins).toRect();
  control->setProperty(kAnchorMargins, QRect(0, 0, m.width() * numerator / denominator,
                                              m.height() * numerator / denominator));
}

void ArrangeChildren(QWidget* parent) {
  if (!parent) return;
  QRect free = parent->contentsRect();
  const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (QWidget* c : children) {
      if (GetAlign(c) != pass || c->isHidden()) continue;
      switch (pass) {
        case alTop: c->setGeometry(free.left(), free.top(), free.width(), c->height()); free.setTop(free.top() + c->height()); break;
        case alBottom: c->setGeometry(free.left(), free.bottom() + 1 - c->height(), free.width(), c->height()); free.setBottom(free.bottom() - c->height()); break;
        case alLeft: c->setGeometry(free.left(), free.top(), c->width(), free.height()); free.setLeft(free.left() + c->width()); break;
        case alRight: c->setGeometry(free.right() + 1 - c->width(), free.top(), c->width(), free.height()); free.setRight(free.right() - c->width()); break;
        case alClient: c->setGeometry(free); break;
        default: break;
      }
    }
  }
  for (QWidget* c : children) {
    const QVariant a = c->property(kAnchors);
    if (!a.isValid() || GetAlign(c) != alNone) continue;
    const int anchors = a.toInt();
    const QRect m = c->property(kAnchorMargins).toRect();
    QRect g = c->geometry();
    if (anchors & akRight) {
      const int right = parent->width() - m.width();
      if (anchors & akLeft) g.setWidth(std::max(0, right - g.left())); else g.moveLeft(right - g.width());
    }
    if (anchors & akBottom) {
      const int bottom = parent->height() - m.height();
      if (anchors & akTop) g.setHeight(std::max(0, bottom - g.top())); else g.moveTop(bottom - g.height());
    }
    c->setGeometry(g);
  }
  // A hidden window delivers no resize events: arrange the inner levels here.
  for (QWidget* c : children)
    if (c->property(kFilter).toBool()) ArrangeChildren(c);
}
