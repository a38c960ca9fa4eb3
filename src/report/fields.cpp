#include "report/fields.h"

#include <cmath>
#include <utility>

#include "platform/rtl/sysutils.h"
#include "report/qboxdef.h"

namespace {

constexpr TColor kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                                 0xC0C0C0, 0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, 0x00FFFF};

const std::pair<const char*, TColor> kNames[] = {
    {"黒", 0x000000}, {"栗", 0x000080}, {"緑", 0x008000}, {"黄緑", 0x008080}, {"濃紺", 0x800000},
    {"紫", 0x800080}, {"暗青緑", 0x808000}, {"灰", 0x808080}, {"銀", 0xC0C0C0}, {"赤", 0x0000FF},
    {"濃緑", 0x00FF00}, {"青", 0xFF0000}, {"赤紫", 0xFF00FF}, {"空", 0xFFFF00}, {"白", 0xFFFFFF},
    {"黄", 0x00FFFF},
};

TColor RawColor(const std::string& field, const TQBOXDEF& s) {
  for (const auto& [name, value] : kNames)
    if (field == name) return value;
  if (field == "薄網掛") return s.NetColor1;
  if (field == "濃網掛") return s.NetColor2;
  const std::string upper = UpperCase(field);
  const std::pair<const char*, TColor> special[] = {
      {"UCOLOR1", s.UserColor1}, {"UCOLOR2", s.UserColor2}, {"OCRGREEN", s.OcrGreen},
      {"OCRBLUE", s.OcrBlue},    {"OCRBROWN", s.OcrBrown},  {"OCRPINK", s.OcrPink},
      {"OCRORANGE", s.OcrOrange}, {"OCRVIOLET", s.OcrViolet}, {"OCRPURPLE", s.OcrPurple},
  };
  for (const auto& [name, value] : special)
    if (upper == name) return value;
  const int n = StrToIntDef(Trim(field), 0);
  if (n >= 0 && n <= 15) return kPalette[n];
  if (n >= 16 && n <= 35) return SystemColor(n - 15);
  if (n == 40) return s.NetColor1;
  if (n == 41) return s.NetColor2;
  if (n == 42) return s.UserColor1;
  if (n == 43) return s.UserColor2;
  return n;
}

}  // namespace

TColor LookupColor(const std::string& field, const TQBOXDEF& s, bool formLayer) {
  if (formLayer && !s.PrintFom) return field == "白" ? 0xFFFFFF : 0xE6E6E6;
  TColor c = RawColor(field, s);
  if (s.GrayScale && !IsSystemColor(c) && c != 0 && (c & 0xFFFFFF) != 0xFFFFFF) {
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    const int level = static_cast<int>(std::nearbyint(0.299 * r + 0.587 * g + 0.114 * b));
    c = level | (level << 8) | (level << 16);
  }
  return c;
}

bool LookupBackground(const std::string& field, const TQBOXDEF& s, bool formLayer, TColor& color) {
  if (field == "1" || field == "OFF") return false;
  if (field == "ON") {
    color = 0xFFFFFF;
    return true;
  }
  color = LookupColor(field, s, formLayer);
  return IsSystemColor(color) || color > 15;
}

int AlignmentCode(const std::string& field) {
  if (field == "CENTER" || field == "1") return 1;
  if (field == "RIGHT" || field == "2" || field == "BOTTOM") return 2;
  return 0;
}

TTextStyle TextStyleOf(const std::string& f) {
  TTextStyle s;
  if (f == "DU") {
    s.Underline = s.DoubleUnderline = true;
    return s;
  }
  static const char* const kKnown[] = {"B", "I", "U", "S", "BI", "BU", "BS", "IU", "IS", "BIU", "BIS"};
  for (const char* known : kKnown) {
    if (f == known) {
      s.Bold = f.find('B') != std::string::npos;
      s.Italic = f.find('I') != std::string::npos;
      s.Underline = f.find('U') != std::string::npos;
      s.StrikeOut = f.find('S') != std::string::npos;
    }
  }
  return s;
}

Qt::PenStyle PenStyleOf(int code) {
  switch (code) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

Qt::BrushStyle BrushStyleOf(int code) {
  switch (code) {
    case 1: return Qt::NoBrush;
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::FDiagPattern;
    case 5: return Qt::BDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}
