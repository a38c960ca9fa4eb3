#include "link/mojibunkatu.h"

namespace {

bool IsBreak(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

void TMojiBunkatu::Clear() {
  Items.clear();
  Count = 0;
}

void TMojiBunkatu::Split(std::string_view Text) {
  Clear();
  std::size_t i = 0;
  const std::size_t n = Text.size();
  auto skipBlanks = [&] {
    while (i < n && IsBreak(Text[i])) ++i;
  };
  skipBlanks();
  if (i >= n) {
    Items.emplace_back();  // an empty text is one empty item
    Count = 1;
    return;
  }
  while (i < n) {
    std::string item;
    if (Text[i] == '"') {
      ++i;
      while (i < n) {
        if (Text[i] == '"') {
          if (i + 1 < n && Text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += Text[i++];
      }
    } else {
      while (i < n && !IsBreak(Text[i]) && Text[i] != Delimiter) item += Text[i++];
    }
    Items.push_back(std::move(item));
    skipBlanks();
    if (i < n && Text[i] == Delimiter) {
      if (i + 1 == n) Items.emplace_back();  // a delimiter at the very end
      ++i;
      skipBlanks();
    }
  }
  Count = static_cast<int>(Items.size());
}

std::string TMojiBunkatu::GetItem(int Index) const {
  if (Index < 0 || Index >= Count) return "";
  return Items[static_cast<std::size_t>(Index)];
}
