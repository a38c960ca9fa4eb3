#include "comm/pelorinlog.h"

#include <exception>

#include "core/dialogs.h"
#include "platform/win/paths.h"
#include "platform/rtl/atomicfile.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

std::int32_t PelorinResultCode(const TPelorinSyoriLog& Log) {
  for (const TPelorinSyoriInfo& e : Log)
    if (e.Kind == kSyoriError || e.Number == 1) return e.Number;
  return Log.empty() ? 0 : Log.back().Number;
}

std::string PelorinKindText(std::uint8_t Kind) {
  switch (Kind) {
    case kSyoriInfo: return "情報";
    case kSyoriWarning: return "警告";
    case kSyoriError: return "エラー";
    default: return "";
  }
}

std::string PelorinLogText(const TPelorinSyoriLog& Log, bool Csv) {
  const std::string open = Csv ? "'" : "", close = Csv ? "'," : "\t";
  std::string text;
  for (const TPelorinSyoriInfo& e : Log) {
    text += open + PelorinKindText(e.Kind) + close;
    text += open + std::to_string(e.Number) + close;
    text += open + e.Text + close;
    text += "\r\n\r\n";
  }
  return text;
}

bool SavePelorinLog(const TPelorinSyoriLog& Log, const std::string& FileName) {
  std::string path = FileName;
  if (!CheckSaveFilePath(path)) return false;
  const bool csv = UpperCase(ExtractFileExt(path)) == ".CSV";
  try {
    WriteFileAtomically(path, Utf8ToCp932Lossy(PelorinLogText(Log, csv)));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
