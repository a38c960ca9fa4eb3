#include "ui/keynav.h"

#include <QKeyEvent>
#include <QWidget>

#include "platform/vcl/focus.h"

bool HandleNavigationKey(QWidget* control, QKeyEvent* event, TKeyStyles styles,
                         const std::function<bool(Word key)>& mayMove) {
  const Word key = QtKeyToVk(event->key());
  if (key == VK_RETURN) {
    if (!Has(styles, ksEnter)) return false;
    SelectNextControl(control, true);
    event->accept();
    return true;
  }
  if (AnyShiftKey(event->modifiers())) return false;
  bool forward;
  switch (key) {
    case VK_LEFT: if (!Has(styles, ksLeft)) return false; forward = false; break;
    case VK_UP: if (!Has(styles, ksUp)) return false; forward = false; break;
    case VK_RIGHT: if (!Has(styles, ksRight)) return false; forward = true; break;
    case VK_DOWN: if (!Has(styles, ksDown)) return false; forward = true; break;
    default: return false;
  }
  if (mayMove && !mayMove(key)) return false;
  SelectNextControl(control, forward);  // a control on no window keeps the focus; the key is dropped
  event->accept();
  return true;
}
