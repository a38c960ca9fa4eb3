#include "platform/vcl/dpi.h"

#include <cstdint>
#include <cmath>

#include <QGuiApplication>
#include <QScreen>

int MulDiv(int value, int numerator, int denominator) {
  if (denominator == 0) return 0;
  const std::int64_t p = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = std::llabs(denominator) / 2;
  const bool negative = (p < 0) != (denominator < 0);
  const std::int64_t q = (std::llabs(p) + half) / std::llabs(denominator);
  return static_cast<int>(negative ? -q : q);
}

int ScaleByDpi(int value, int to, int from) {
  if (to == from || from == 0) return value;
  return static_cast<int>(static_cast<std::int64_t>(value) * to / from);
}

int ScreenDpi() {
  const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::primaryScreen() : nullptr;
  if (!screen) return kDesignDpi;
  return static_cast<int>(std::lround(screen->logicalDotsPerInch()));
}
