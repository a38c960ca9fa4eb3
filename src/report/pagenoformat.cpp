#include "report/pagenoformat.h"

#include "platform/rtl/sysutils.h"

int PageNoMarkerCount(std::string_view format) {
  int count = 0;
  for (std::size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] == '%' && (format[i + 1] == 'd' || format[i + 1] == 'D')) {
      ++count;
      ++i;
    }
  }
  return count;
}

std::optional<std::string> FormatPageNo(std::string_view format, int first, int second) {
  std::string out;
  int used = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (i + 1 >= format.size()) return std::nullopt;
    const char next = format[++i];
    if (next == '%') {
      out += '%';
    } else if (next == 'd' || next == 'D') {
      if (used >= 2) return std::nullopt;
      out += IntToStr(used == 0 ? first : second);
      ++used;
    } else {
      return std::nullopt;
    }
  }
  return out;
}
