#include "platform/vcl/keypreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget* form, Handler onKeyDown, Handler onKeyUp)
    : QObject(form), form_(form), onKeyDown_(std::move(onKeyDown)), onKeyUp_(std::move(onKeyUp)) {
  qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() {
  if (qApp) qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (!enabled_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != form_) return false;
  auto* keyEvent = static_cast<QKeyEvent*>(event);
  if (lastEvent_ == event && lastType_ == event->type() && lastKey_ == keyEvent->key() &&
      lastTime_ == keyEvent->timestamp())
    return false;  // the same key on its way up the parents
  lastEvent_ = event;
  lastType_ = event->type();
  lastKey_ = keyEvent->key();
  lastTime_ = keyEvent->timestamp();
  Word key = QtKeyToVk(keyEvent->key());
  if (key == 0) return false;
  const Handler& handler = event->type() == QEvent::KeyPress ? onKeyDown_ : onKeyUp_;
  if (!handler) return false;
  handler(key, keyEvent->modifiers());
  return key == 0;
}
