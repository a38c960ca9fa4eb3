#include "core/winutil.h"

#include <chrono>
#include <thread>

#include "core/globals.h"
#include "core/uiservices.h"

bool WaitWithMessages(int Milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    if (CoreUi.ProcessMessages) CoreUi.ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

int AdjustForFrameSize(int Value, int Kind) {
  const int f = SystemDef.FrameHeight;
  if (2 * f == 8 || 2 * f <= 6) return Value;
  if (Kind == 0) return Value - 2 * f + 8;
  if (Kind == 1) return Value - 4 * f + 16;
  return Value;
}

std::int32_t GrayColor(std::int32_t Color) {
  if (Color == 0xFFFFFF || Color == 0) return Color;
  if (Color < 0 || Color > 0xFFFFFF) return 0x808080;
  const int sum = (Color & 0xFF) + ((Color >> 8) & 0xFF) + ((Color >> 16) & 0xFF);
  const int grey = sum / 3 + (sum % 3 == 2 ? 1 : 0);  // a third never ties
  return grey | (grey << 8) | (grey << 16);
}
