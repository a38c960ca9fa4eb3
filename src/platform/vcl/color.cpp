#include "platform/vcl/color.h"

namespace {

// The classic scheme: fixed values so that windows look the same on every desktop.
QColor SystemSchemeColor(int index) {
  switch (index) {
    case 5: return QColor(255, 255, 255);    // window
    case 8: return QColor(0, 0, 0);          // window text
    case 13: return QColor(0, 120, 215);     // highlight
    case 14: return QColor(255, 255, 255);   // highlight text
    case 15: return QColor(240, 240, 240);   // button face
    case 16: return QColor(160, 160, 160);   // button shadow
    case 17: return QColor(109, 109, 109);   // grey text
    case 18: return QColor(0, 0, 0);         // button text
    case 20: return QColor(255, 255, 255);   // button highlight
    default: return QColor(0, 0, 0);
  }
}

}  // namespace

QColor ColorToQColor(TColor color) {
  if (IsSystemColor(color)) return SystemSchemeColor(static_cast<int>(static_cast<std::uint32_t>(color) & 0xFF));
  const auto v = static_cast<std::uint32_t>(color);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

TColor QColorToColor(const QColor& color) {
  return static_cast<TColor>(static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
                             (static_cast<std::uint32_t>(color.blue()) << 16));
}
