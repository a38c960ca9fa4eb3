#include "platform/vcl/hint.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* kHintProperty = "vclHint";
}

std::string GetShortHint(std::string_view hint) {
  const auto bar = hint.find('|');
  return std::string(bar == std::string_view::npos ? hint : hint.substr(0, bar));
}

std::string GetLongHint(std::string_view hint) {
  const auto bar = hint.find('|');
  return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

void SetHint(QWidget* control, std::string_view hint) {
  if (!control) return;
  control->setProperty(kHintProperty, QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size())));
  control->setToolTip(QString::fromStdString(GetShortHint(hint)));
}

std::string GetHint(const QWidget* control) {
  if (!control) return {};
  return control->property(kHintProperty).toString().toStdString();
}
