// Key preview: the window sees every key of its controls before the control
// that has the focus, and may consume it (set the key to 0).
#pragma once

#include <functional>

#include <QObject>

#include "platform/vcl/keys.h"

class QWidget;

class KeyPreview : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void(Word& key, Qt::KeyboardModifiers shift)>;
  // Installs itself on the application for keys whose focus widget lies in `form`.
  KeyPreview(QWidget* form, Handler onKeyDown, Handler onKeyUp);
  ~KeyPreview() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* form_;
  Handler onKeyDown_, onKeyUp_;
  bool enabled_ = true;
  // The key event seen last: a key travels up the parents when a control
  // ignores it, and the form sees it once.
  const void* lastEvent_ = nullptr;
  int lastType_ = 0, lastKey_ = 0;
  unsigned long lastTime_ = 0;
};
