// FormatDateTime and the date texts of the runtime settings (short date format
// "yyyy/mm/dd", date separator "/", time separator ":").
#include <cctype>
#include <string>

#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

void AppendNumber(std::string& out, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  std::string out;
  char lastToken = ' ';
  std::size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    if (c == '\'' || c == '"') {
      std::size_t end = pattern.find(c, i + 1);
      if (end == std::string_view::npos) end = pattern.size();
      out.append(pattern.substr(i + 1, end - i - 1));
      i = end < pattern.size() ? end + 1 : end;
      continue;
    }
    char token = Upper(c);
    if (token < 'A' || token > 'Z') {
      out += c;  // "/" and ":" are the separators themselves
      ++i;
      continue;
    }
    std::size_t count = 1;
    while (i + count < pattern.size() && Upper(pattern[i + count]) == token) ++count;
    // "m" right after an hour token means minutes.
    if (token == 'M' && lastToken == 'H') token = 'N';
    lastToken = token;
    switch (token) {
      case 'Y':
        if (count <= 2) AppendNumber(out, year % 100, 2);
        else AppendNumber(out, year, 4);
        break;
      case 'M':
        AppendNumber(out, month, count >= 2 ? 2 : 1);
        break;
      case 'D':
        AppendNumber(out, day, count >= 2 ? 2 : 1);
        break;
      case 'H':
        AppendNumber(out, hour, count >= 2 ? 2 : 1);
        break;
      case 'N':
        AppendNumber(out, minute, count >= 2 ? 2 : 1);
        break;
      case 'S':
        AppendNumber(out, second, count >= 2 ? 2 : 1);
        break;
      case 'Z':
        AppendNumber(out, msec, count >= 3 ? 3 : 1);
        break;
      default:
        out.append(pattern.substr(i, count));
        break;
    }
    i += count;
  }
  return out;
}

bool TryStrToDate(std::string_view text, TDateTime& out) {
  std::string s = Trim(text);
  int parts[3] = {0, 0, 0};
  int yearDigits = 0;
  if (s.size() == 8 && s.find_first_not_of("0123456789") == std::string::npos) {
    parts[0] = std::stoi(s.substr(0, 4));
    parts[1] = std::stoi(s.substr(4, 2));
    parts[2] = std::stoi(s.substr(6, 2));
    yearDigits = 4;
  } else {
    std::vector<std::string> fields = SplitString(s, '/');
    if (fields.size() != 3) return false;
    for (int k = 0; k < 3; ++k) {
      const std::string& f = fields[k];
      if (f.empty() || f.size() > (k == 0 ? 4u : 2u) || f.find_first_not_of("0123456789") != std::string::npos)
        return false;
      parts[k] = std::stoi(f);
    }
    yearDigits = static_cast<int>(fields[0].size());
  }
  if (yearDigits <= 2) {
    // Two-digit years fall into the 100 years around today, as the runtime reads them.
    int centuryBase = YearOf(Date()) - 50;
    parts[0] += centuryBase / 100 * 100;
    if (parts[0] < centuryBase) parts[0] += 100;
  }
  return TryEncodeDate(parts[0], parts[1], parts[2], out);
}

TDateTime StrToDate(std::string_view text) {
  TDateTime out = 0;
  if (!TryStrToDate(text, out)) throw EConvertError("'" + std::string(text) + "' is not a valid date");
  return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime("yyyy/mm/dd", value); }

std::string DateTimeToStr(TDateTime value) { return FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }
