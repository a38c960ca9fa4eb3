// Key navigation shared by the key-navigation controls: Enter and the arrow
// keys named in the control's key styles move the focus to the next or
// previous control of the window.
#pragma once

#include <functional>

#include "platform/vcl/keys.h"
#include "ui/keystyles.h"

class QKeyEvent;
class QWidget;

// Handles a key press of `control`: Enter with ksEnter moves on; without
// Shift, Ctrl or Alt, Left (ksLeft) and Up (ksUp) move back, Right (ksRight)
// and Down (ksDown) move on. `mayMove` (when given) can keep an arrow key in
// the control. Returns true when the key was consumed.
bool HandleNavigationKey(QWidget* control, QKeyEvent* event, TKeyStyles styles,
                         const std::function<bool(Word key)>& mayMove = {});
