#include "platform/vcl/focus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool CanTakeTabFocus(const QWidget* w, const QWidget* window) {
  return w->window() == window && w->isVisibleTo(window) && w->isEnabled() &&
         (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy();
}

}  // namespace

bool SelectNextControl(QWidget* from, bool forward) {
  if (!from) return false;
  QWidget* window = from->window();
  if (!window || window == from) return false;
  // A control that forwards its focus to an inner field sits in the chain at that field.
  QWidget* start = from;
  while (start->focusProxy()) start = start->focusProxy();
  QWidget* w = start;
  for (;;) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (!w || w == start) return true;
    if (CanTakeTabFocus(w, window)) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
}

void ProcessMessages() { QCoreApplication::processEvents(); }

void FlushInputMessages() {
  for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease, QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                         QEvent::MouseButtonDblClick, QEvent::MouseMove})
    QCoreApplication::removePostedEvents(nullptr, t);
}
