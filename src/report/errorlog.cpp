#include "report/errorlog.h"

#include <fstream>

#include "platform/rtl/cp932.h"
#include "platform/rtl/datetime.h"
#include "platform/win/specialfolders.h"

std::string QuillboxErrorLogPath() { return DocumentsDir() + "/" + kQuillboxErrorLogName; }

void QuillboxLogError(std::string_view message) {
  const std::string line = FormatDateTime("yy/mm/dd hh:nn:ss", Now()) + "  " + std::string(message);
  std::ofstream out(QuillboxErrorLogPath(), std::ios::binary | std::ios::app);
  if (out) out << Utf8ToCp932Lossy(line) << "\r\n";
}

void QuillboxLogError(std::string_view place, std::string_view text) {
  QuillboxLogError(std::string(place) + ":" + std::string(text));
}
