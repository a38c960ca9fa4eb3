// Key codes of the program's key handlers (the virtual-key numbers the stored
// handlers compare with) and their translation from Qt's key events.
#pragma once

#include <cstdint>

#include <Qt>

using Word = std::uint16_t;

constexpr Word VK_BACK = 8;
constexpr Word VK_TAB = 9;
constexpr Word VK_RETURN = 13;
constexpr Word VK_SHIFT = 16;
constexpr Word VK_CONTROL = 17;
constexpr Word VK_MENU = 18;
constexpr Word VK_ESCAPE = 27;
constexpr Word VK_SPACE = 32;
constexpr Word VK_PRIOR = 33;
constexpr Word VK_NEXT = 34;
constexpr Word VK_END = 35;
constexpr Word VK_HOME = 36;
constexpr Word VK_LEFT = 37;
constexpr Word VK_UP = 38;
constexpr Word VK_RIGHT = 39;
constexpr Word VK_DOWN = 40;
constexpr Word VK_INSERT = 45;
constexpr Word VK_DELETE = 46;
constexpr Word VK_F1 = 112;
constexpr Word VK_F4 = 115;
constexpr Word VK_F12 = 123;

// Virtual-key number of a Qt key (0 for keys the program has no number for).
Word QtKeyToVk(int qtKey);
// Qt key of a virtual-key number (Qt::Key_unknown when none).
int VkToQtKey(Word vk);

// Whether Shift, Ctrl or Alt is held.
inline bool AnyShiftKey(Qt::KeyboardModifiers m) {
  return (m & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
}
