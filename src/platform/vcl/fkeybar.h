// Function-key bars: a window shows its keys as buttons captioned "ESC:",
// "F1:" … "F12:" followed by a label. A caption that is only the prefix marks
// the key inert; the key's handler acts only while the caption has a label.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/vcl/keys.h"

class QAbstractButton;

// 0 is Esc, 1 to 12 are F1 to F12.
constexpr int kEscKey = 0;
std::string FunctionKeyPrefix(int key);
std::string FunctionKeyCaption(int key, std::string_view label);
bool IsFunctionKeyActive(std::string_view caption, int key);
// The bar key of a virtual-key number, -1 for other keys.
int FunctionKeyOfVk(Word vk);

class FunctionKeyBar {
 public:
  // The button that shows `key` (its text is the caption).
  void Bind(int key, QAbstractButton* button);
  QAbstractButton* Button(int key) const;
  // Caption := prefix + label; an empty label makes the key inert.
  void SetLabel(int key, std::string_view label);
  std::string Caption(int key) const;
  bool IsActive(int key) const;
  // Clicks the key's button when it is bound, visible, enabled and active; true when it clicked.
  bool Press(int key) const;
  bool PressVk(Word vk) const { return Press(FunctionKeyOfVk(vk)); }

 private:
  std::array<QAbstractButton*, 13> buttons_{};
};
