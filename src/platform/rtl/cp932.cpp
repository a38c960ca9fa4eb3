#include "platform/rtl/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw ETextConversion(std::string("The text conversion ") + from + " -> " + to + " is not available");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; on an unconvertible or invalid sequence either throws or,
  // when `replacement` is given, writes it and skips `skip(in)` bytes.
  std::string Run(std::string_view in, const char* replacement, std::size_t (*skip)(std::string_view)) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      std::size_t dstLeft = sizeof buf;
      std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, dst - buf);
      if (r != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (!replacement) {
        std::size_t at = in.size() - srcLeft;
        throw ETextConversion("The text cannot be converted at byte " + std::to_string(at));
      }
      out += replacement;
      std::size_t n = skip(std::string_view(src, srcLeft));
      src += n;
      srcLeft -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

Converter& ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

Converter& FromCp932() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

// Length of the UTF-8 sequence at the start (1 for a stray byte).
std::size_t Utf8SequenceLength(std::string_view s) {
  unsigned char b = static_cast<unsigned char>(s[0]);
  std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
  if (n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[k]) & 0xC0) != 0x80) return 1;
  return n;
}

// A lead byte with a valid trail byte counts as one (unknown) character.
std::size_t SjisSequenceLength(std::string_view s) {
  if (s.size() >= 2 && IsSjisLeadByte(static_cast<unsigned char>(s[0])) &&
      IsSjisTrailByte(static_cast<unsigned char>(s[1])))
    return 2;
  return 1;
}

std::size_t Cp932CharLength(std::string_view utf8Char) {
  unsigned char b = static_cast<unsigned char>(utf8Char[0]);
  if (b < 0x80) return 1;
  return Utf8ToCp932Lossy(utf8Char).size();
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) { return ToCp932().Run(utf8, nullptr, nullptr); }
std::string Cp932ToUtf8(std::string_view cp932) { return FromCp932().Run(cp932, nullptr, nullptr); }
std::string Utf8ToCp932Lossy(std::string_view utf8) { return ToCp932().Run(utf8, "?", Utf8SequenceLength); }
std::string Cp932ToUtf8Lossy(std::string_view cp932) {
  return FromCp932().Run(cp932, "\xEF\xBF\xBD", SjisSequenceLength);
}

std::size_t Cp932Length(std::string_view utf8) {
  std::size_t ascii = 0;
  for (char c : utf8)
    if (static_cast<unsigned char>(c) < 0x80) ++ascii;
  if (ascii == utf8.size()) return ascii;
  return Utf8ToCp932Lossy(utf8).size();
}

bool IsSjisLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsSjisTrailByte(std::uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

std::string Cp932Cut(std::string_view utf8, std::size_t bytes, bool spaceForSplit) {
  std::string out;
  std::size_t used = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t n = Utf8SequenceLength(utf8.substr(i));
    std::string_view ch = utf8.substr(i, n);
    std::size_t len = Cp932CharLength(ch);
    if (used + len > bytes) {
      if (spaceForSplit && used < bytes) out.append(bytes - used, ' ');
      break;
    }
    out.append(ch);
    used += len;
    i += n;
  }
  return out;
}

std::string Cp932PadRight(std::string_view utf8, std::size_t bytes) {
  std::string out = Cp932Cut(utf8, bytes, true);
  std::size_t len = Cp932Length(out);
  if (len < bytes) out.append(bytes - len, ' ');
  return out;
}
