#include "report/printdata.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

namespace {

std::string Cp932(std::string_view utf8) { return Utf8ToCp932Lossy(utf8); }

std::string Hex6(TColor color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%06X", static_cast<unsigned>(color));
  return buf;
}

const char* TrueFalse(bool on) { return on ? "TRUE" : "FALSE"; }

constexpr int kMaxPadding = 126;

}  // namespace

std::string ColorFieldText(TColor color) { return Hex6(color); }

std::string HeaderBlock(const TPrintDataHeader& h) {
  std::vector<std::string> lines = {
      std::string(kQuillboxMagic) + std::string(60, '*'),
      "*[SETTING]",
      "*PATH=" + h.Folder,
      "*VERSION=" + h.Version,
      "*DATE=" + h.Date,
      "*TITLE=" + h.Title,
      "*FORMFILE=" + h.FormFile,
      "*PAPERSIZE=" + IntToStr(h.PaperSize),
      "*OUTPUTPAPER=" + IntToStr(h.OutPutPaper),
      "*ORIENTATION=" + IntToStr(h.Orientation),
      "*TOPMARGIN=" + IntToStr(h.TopMargin),
      "*LEFTMARGIN=" + IntToStr(h.LeftMargin),
      "*FORMTOPMARGIN=" + IntToStr(h.FormTopMargin),
      "*FORMLEFTMARGIN=" + IntToStr(h.FormLeftMargin),
      "*NETC1=" + Hex6(h.NetColor1),
      "*NETC2=" + Hex6(h.NetColor2),
      "*USERC1=" + Hex6(h.UserColor1),
      "*USERC2=" + Hex6(h.UserColor2),
      std::string("*FORMPRINT=") + TrueFalse(h.FormPrint),
      "*COPIES=" + IntToStr(h.Copies),
      std::string("*PAGENOSWITCH=") + TrueFalse(h.PageNoSwitch),
      "*PAGENOLEFT=" + IntToStr(h.PageNoLeft),
      "*PAGENOTOP=" + IntToStr(h.PageNoTop),
      "*PAGENOALIGNMENT=" + IntToStr(h.PageNoAlignment),
      "*PAGENOFORMAT=" + h.PageNoFormat,
      std::string(61, '*') + "QUILLBOX*",
  };
  std::string out;
  for (const auto& line : lines) out += Cp932(line) + "\r\n";
  return out;
}

std::string PadRecordText(std::string_view text, std::string_view alignment, int width) {
  if (width <= 0 || alignment == "CENTER") return std::string(text);
  const auto w = static_cast<std::size_t>(width);
  const bool pad = width <= kMaxPadding;
  if (alignment == "RIGHT") {
    if (text.size() < w) return pad ? std::string(w - text.size(), ' ') + std::string(text) : std::string(text);
    // Keep the last `width` bytes; a double-byte character whose lead byte
    // would be cut off is replaced by a space, so no half character is written.
    const std::size_t start = text.size() - w;
    std::size_t i = 0;
    while (i < start) i += IsSjisLeadByte(static_cast<std::uint8_t>(text[i])) ? 2 : 1;
    if (i > start) return " " + std::string(text.substr(i));
    return std::string(text.substr(start));
  }
  if (text.size() < w) return pad ? std::string(text) + std::string(w - text.size(), ' ') : std::string(text);
  // Byte number `width` (from 1) must not be a lead byte of a double-byte character.
  std::size_t i = 0;
  bool leadAtWidth = false;
  while (i < w) {
    const bool lead = IsSjisLeadByte(static_cast<std::uint8_t>(text[i]));
    if (lead && i == w - 1) leadAtWidth = true;
    i += lead ? 2 : 1;
  }
  return std::string(text.substr(0, leadAtWidth ? w - 1 : w));
}

std::string TextRecordLine(int x, int y, std::string_view text, std::string_view fontName, int fontSize,
                           std::string_view style, std::string_view color, std::string_view background,
                           std::string_view alignment, int centring, int width) {
  std::string body = Cp932(text);
  for (char& c : body) {
    // Only single bytes: a trail byte is never 0x3B.
    if (c == ';') c = ':';
  }
  body = PadRecordText(body, alignment, width);
  const std::string back = background == "OFF" ? std::string("1") : std::string(background);
  std::string line = "TEXT;" + IntToStr(x) + ";" + IntToStr(y) + ";";
  line += body;
  line += ";" + Cp932(fontName) + ";" + IntToStr(fontSize) + ";" + Cp932(style) + ";" + Cp932(color) + ";" +
          Cp932(back) + ";" + Cp932(UpperCase(alignment)) + ";0;" + IntToStr(centring) + ";\r\n";
  return line;
}

std::string LineRecordLine(bool fine, int x1, int y1, int x2, int y2, int lineWidth, int penStyle,
                           std::string_view color) {
  return std::string(fine ? "ELINE;" : "LINE;") + IntToStr(x1) + ";" + IntToStr(y1) + ";" + IntToStr(x2) + ";" +
         IntToStr(y2) + ";" + IntToStr(lineWidth) + ";" + IntToStr(penStyle) + ";" + Cp932(color) + ";\r\n";
}

std::string BoxRecordLine(int x1, int y1, int x2, int y2, int lineWidth, int penStyle, std::string_view lineColor,
                          std::string_view fillColor, int fillStyle) {
  return "BOX;" + IntToStr(x1) + ";" + IntToStr(y1) + ";" + IntToStr(x2) + ";" + IntToStr(y2) + ";" +
         IntToStr(lineWidth) + ";" + IntToStr(penStyle) + ";" + Cp932(lineColor) + ";" + Cp932(fillColor) + ";" +
         IntToStr(fillStyle) + ";\r\n";
}

bool HasQuillboxMagic(std::string_view firstLine) { return firstLine.substr(0, 10) == kQuillboxMagic; }

bool FileHasQuillboxMagic(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return false;
  return HasQuillboxMagic(line);
}

std::string NormaliseRecordLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() + 1);
  for (char c : line)
    if (c != '"') out += c;
  if (line.empty() || line.back() != ';') out += ';';
  return out;
}

TRecord::TRecord(std::string_view line) : line_(NormaliseRecordLine(line)) {
  std::size_t start = 0;
  bool first = true;
  while (start < line_.size()) {
    const std::size_t end = line_.find(';', start);
    std::string field = line_.substr(start, end - start);
    if (first) {
      kind_ = UpperCase(field);
      first = false;
    } else {
      fields_.push_back(std::move(field));
    }
    start = end + 1;
  }
}

const std::string& TRecord::Text(std::size_t i) const {
  static const std::string empty;
  return i >= 1 && i <= fields_.size() ? fields_[i - 1] : empty;
}

int TRecord::Int(std::size_t i, int fallback) const { return StrToIntDef(Text(i), fallback); }

bool IsPageEndLine(std::string_view line) { return UpperCase(line.substr(0, 2)) == "E;"; }

TRecordFile::TRecordFile(const std::string& path) : in_(path, std::ios::binary) {
  if (!in_) throw std::system_error(errno ? errno : ENOENT, std::generic_category(), path);
}

bool TRecordFile::ReadLine(std::string& line) {
  std::string raw;
  if (!std::getline(in_, raw)) return false;
  if (!raw.empty() && raw.back() == '\r') raw.pop_back();
  line = Cp932ToUtf8Lossy(raw);
  return true;
}

bool TRecordFile::AtEnd() { return in_.peek() == std::char_traits<char>::eof(); }

void TRecordFile::Rewind() {
  in_.clear();
  in_.seekg(0);
}

void TRecordFile::SkipPages(int pages) {
  std::string line;
  while (pages > 0 && ReadLine(line))
    if (IsPageEndLine(line)) --pages;
}

std::streampos TRecordFile::Tell() { return in_.tellg(); }

void TRecordFile::Seek(std::streampos position) {
  in_.clear();
  in_.seekg(position);
}

int CountPages(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  int pages = 1;
  std::string line;
  while (std::getline(in, line))
    if (IsPageEndLine(line)) ++pages;
  return pages;
}

std::vector<int> ScanOrientations(const std::string& path, int defaultOrientation) {
  std::vector<int> out;
  std::ifstream in(path, std::ios::binary);
  int current = defaultOrientation;
  std::string line;
  while (in && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '*') continue;
    const TRecord record(line);
    if (IsPageEndLine(line)) {
      out.push_back(current);
      current = defaultOrientation;
      continue;
    }
    if (record.Kind() == "ORIENTATION") {
      current = record.Int(1);
    }
  }
  out.push_back(current);
  return out;
}
