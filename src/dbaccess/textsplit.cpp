#include "dbaccess/textsplit.h"

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) <= 32; }
}  // namespace

void TMojiBunkatu::Split(std::string_view Text) {
  Clear();
  std::size_t at = 0;
  const std::size_t n = Text.size();
  auto skipBlanks = [&] {
    while (at < n && IsBlank(Text[at])) ++at;
  };
  skipBlanks();
  while (at < n) {
    std::string item;
    if (Text[at] == '"') {
      ++at;
      while (at < n) {
        if (Text[at] == '"') {
          if (at + 1 < n && Text[at + 1] == '"') {
            item += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        item += Text[at++];
      }
    } else {
      while (at < n && Text[at] != Delimiter && !IsBlank(Text[at])) item += Text[at++];
    }
    items_.push_back(item);
    skipBlanks();
    if (at < n && Text[at] == Delimiter) {
      ++at;
      skipBlanks();
      // A delimiter at the very end leaves one final empty item.
      if (at >= n) items_.emplace_back();
    }
  }
  if (items_.empty()) items_.emplace_back();
  Count = static_cast<std::int32_t>(items_.size());
}

void TMojiBunkatu::GetItem(std::int32_t Index, std::string& Text) const { Text = Item(Index); }

std::string TMojiBunkatu::Item(std::int32_t Index) const {
  if (Index < 0 || Index >= Count) return {};
  return items_[static_cast<std::size_t>(Index)];
}

void TMojiBunkatu::Clear() {
  items_.clear();
  Count = 0;
}
