#include "dbupdate/dbversion.h"

#include <charconv>
#include <string>
#include <vector>

namespace {

// The parts of Text between the dots; a part that starts with a double quote
// runs to its closing quote (a doubled quote stands for one) and may hold dots.
std::vector<std::string> SplitAtDots(std::string_view Text) {
  std::vector<std::string> parts(1);
  std::size_t i = 0;
  while (i < Text.size()) {
    const char c = Text[i];
    if (c == '.') {
      parts.emplace_back();
      ++i;
    } else if (c == '"' && parts.back().find_first_not_of(' ') == std::string::npos) {
      parts.back().clear();
      for (++i; i < Text.size(); ++i) {
        if (Text[i] != '"') {
          parts.back() += Text[i];
        } else if (i + 1 < Text.size() && Text[i + 1] == '"') {
          parts.back() += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      parts.back() += c;
      ++i;
    }
  }
  return parts;
}

bool ParsePart(std::string_view Part, std::int32_t& Value) {
  const std::size_t first = Part.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  Part = Part.substr(first, Part.find_last_not_of(' ') - first + 1);
  if (!Part.empty() && Part.front() == '+') Part.remove_prefix(1);
  if (Part.empty() || Part.front() == '+') return false;
  const auto [end, error] = std::from_chars(Part.data(), Part.data() + Part.size(), Value);
  return error == std::errc() && end == Part.data() + Part.size();
}

}  // namespace

int CompareDbVersion(const TDbVersion& A, const TDbVersion& B) {
  if (A.Major != B.Major) return A.Major < B.Major ? -1 : 1;
  if (A.Minor != B.Minor) return A.Minor < B.Minor ? -1 : 1;
  if (A.Rev != B.Rev) return A.Rev < B.Rev ? -1 : 1;
  return 0;
}

bool ParseDbVersionText(std::string_view Text, TDbVersion& Version) {
  Version = TDbVersion{};
  if (Text.empty()) return false;
  const std::vector<std::string> parts = SplitAtDots(Text);
  TDbVersion parsed;
  if (parts.size() != 3 || !ParsePart(parts[0], parsed.Major) || !ParsePart(parts[1], parsed.Minor) ||
      !ParsePart(parts[2], parsed.Rev))
    return false;
  Version = parsed;
  return true;
}
