#include "core/textutil.h"

#include <vector>

#include "platform/rtl/sysutils.h"

namespace {

// Lines as a string list takes them: CR, LF and CR LF end a line; a final
// line break does not make an empty last line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
    ++i;
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

}  // namespace

int SplitToArray(std::string_view Text, char Separator, std::span<std::string> Parts) {
  std::string_view text = Text;
  const std::size_t comment = text.find("//");
  if (comment != std::string_view::npos) text = text.substr(0, comment);
  if (text.empty() || Parts.empty()) return 0;
  std::size_t i = 0;
  std::size_t p;
  while (i + 1 < Parts.size() && (p = text.find(Separator)) != std::string_view::npos) {
    Parts[i] = std::string(text.substr(0, p));
    text.remove_prefix(p + 1);
    ++i;
  }
  Parts[i] = std::string(text);
  return static_cast<int>(i);
}

void GetDelimitedItem(std::string_view Text, std::string_view Delimiter, int Index, std::string& Item) {
  Item.clear();
  const std::string replaced = Delimiter.empty() ? std::string(Text) : StringReplaceAll(Text, Delimiter, "\n");
  const std::vector<std::string> lines = SplitLines(replaced);
  if (Index >= 1 && static_cast<std::size_t>(Index) <= lines.size()) Item = lines[static_cast<std::size_t>(Index - 1)];
}

void GetNamedLine(std::string_view Text, std::string_view Name, std::string& Line) {
  Line.clear();
  if (Text.empty() || Name.empty()) return;
  for (const std::string& line : SplitLines(Text)) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), Name)) {
      Line = line;
      return;
    }
  }
}

Currency StrToCurrDef0(std::string_view Text) { return StrToCurrDef(Text, Currency()); }

std::string NormalizeAmountText(std::string_view Text) {
  std::string s = StringReplaceAll(Text, "▲", "-");
  s = StringReplaceAll(s, ",", "");
  s = StringReplaceAll(s, "\\", "");
  return StringReplaceAll(s, "¥", "");
}

Currency AmountTextToValue(std::string_view Text) { return StrToCurrDef0(NormalizeAmountText(Text)); }

void FormatThousands(std::int64_t Number, std::string& Text) { Text = FormatFloat("#,##0", Number); }

void SetBitFlag(std::int32_t& Flags, int Bit) {
  if (Bit >= 1 && Bit <= 24) Flags |= static_cast<std::int32_t>(1u << (Bit - 1));
}

int TestBitFlag(std::int32_t Flags, int Bit) {
  const int shift = ((Bit - 1) % 32 + 32) % 32;
  return (static_cast<std::uint32_t>(Flags) >> shift) & 1u;
}

void CombineCode(std::uint16_t& Code, std::int16_t High, std::int16_t Low, int Factor) {
  Code = static_cast<std::uint16_t>(static_cast<std::int64_t>(Low) + static_cast<std::int64_t>(High) * Factor);
}
