#include "platform/fb/ibstrings.h"

#include <cctype>

namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string TIBStrings::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

void TIBStrings::SetText(std::string_view text) {
  lines_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines_.emplace_back(text.substr(start));
      break;
    }
    lines_.emplace_back(text.substr(start, end - start));
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

int TIBStrings::IndexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::size_t eq = lines_[i].find('=');
    if (eq != std::string::npos && SameText(std::string_view(lines_[i]).substr(0, eq), name))
      return static_cast<int>(i);
  }
  return -1;
}

std::string TIBStrings::Values(std::string_view name) const {
  int index = IndexOfName(name);
  if (index < 0) return {};
  const std::string& line = lines_[static_cast<std::size_t>(index)];
  return line.substr(line.find('=') + 1);
}
