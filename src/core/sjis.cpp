#include "core/sjis.h"

#include <vector>

#include "platform/rtl/sysutils.h"

namespace {

constexpr std::string_view kZenSpace = "\xE3\x80\x80";  // U+3000, CP932 0x8140
constexpr int kMaxSpaces = 510;

// Length of the well-formed UTF-8 character at text[i], or 0 when the byte
// there does not start one.
std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t n = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3 : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  if (n == 3) {
    const auto c = static_cast<unsigned char>(text[i + 1]);
    if ((b == 0xE0 && c < 0xA0) || (b == 0xED && c >= 0xA0)) return 0;  // overlong, surrogate
  }
  if (n == 4) {
    const auto c = static_cast<unsigned char>(text[i + 1]);
    if ((b == 0xF0 && c < 0x90) || (b == 0xF4 && c >= 0x90)) return 0;
  }
  return n;
}

// The text as characters (malformed bytes as one-byte units of their own).
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = CharLength(text, i);
    if (n == 0) n = 1;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

char32_t Decode(std::string_view ch) {
  const auto b = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) return b;
  char32_t cp = b & (0xFF >> (ch.size() + 1));
  for (std::size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
  return cp;
}

void Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The first `bytes` CP932 bytes; a split character becomes a space.
std::string CutLeft(std::string_view text, int bytes) {
  std::string out;
  int used = 0;
  for (std::string_view ch : Characters(text)) {
    if (used >= bytes) break;
    const int w = Cp932CharWidth(ch);
    if (used + w > bytes) {
      out.append(static_cast<std::size_t>(bytes - used), ' ');
      used = bytes;
      break;
    }
    out.append(ch);
    used += w;
  }
  return out;
}

// The last `bytes` CP932 bytes; a split character becomes a space. Returns
// the number of bytes taken through `used`.
std::string CutRight(std::string_view text, int bytes, int& used) {
  const std::vector<std::string_view> chars = Characters(text);
  used = 0;
  std::size_t first = chars.size();
  std::string lead;
  while (first > 0 && used < bytes) {
    const int w = Cp932CharWidth(chars[first - 1]);
    if (used + w > bytes) {
      lead.assign(static_cast<std::size_t>(bytes - used), ' ');
      used = bytes;
      break;
    }
    used += w;
    --first;
  }
  std::string out = lead;
  for (std::size_t i = first; i < chars.size(); ++i) out.append(chars[i]);
  return out;
}

bool IsControlOrSpace(unsigned char b) { return b <= 0x20; }

// Half-width katakana U+FF61..U+FF9F to their full-width forms.
constexpr char16_t kKanaFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

bool TakesDakuten(char32_t k) {
  return (k >= 0x30AB && k <= 0x30C2 && (k % 2) == 1) || k == 0x30C4 || k == 0x30C6 || k == 0x30C8 ||
         (k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0);
}
bool TakesHandakuten(char32_t k) { return k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0; }

std::vector<char32_t> ToFullWidth(const std::vector<char32_t>& in) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char32_t c = in[i];
    if (c == 0x20) {
      out.push_back(0x3000);
    } else if (c >= 0x21 && c <= 0x7E) {
      out.push_back(c - 0x21 + 0xFF01);
    } else if (c >= 0xFF61 && c <= 0xFF9F) {
      char32_t k = kKanaFull[c - 0xFF61];
      const char32_t next = i + 1 < in.size() ? in[i + 1] : 0;
      if (next == 0xFF9E && (TakesDakuten(k) || k == 0x30A6)) {
        k = k == 0x30A6 ? 0x30F4 : k + 1;
        ++i;
      } else if (next == 0xFF9F && TakesHandakuten(k)) {
        k += 2;
        ++i;
      }
      out.push_back(k);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

int Cp932CharWidth(std::string_view utf8Char) {
  if (utf8Char.empty()) return 0;
  if (static_cast<unsigned char>(utf8Char[0]) < 0x80) return 1;
  if (CharLength(utf8Char, 0) != utf8Char.size()) return 1;
  const char32_t cp = Decode(utf8Char);
  if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;  // half-width katakana
  try {
    return Cp932Length(utf8Char) == 1 ? 1 : 2;
  } catch (...) {  // not in CP932: counted as double-byte
    return 2;
  }
}

std::string BlankBrokenDbcs(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size();) {
    const std::size_t n = CharLength(Text, i);
    if (n == 0) {
      out += ' ';
      ++i;
    } else {
      out.append(Text.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string ZenUpperCase(std::string_view Text) {
  std::string out;
  for (std::string_view ch : Characters(Text)) {
    const char32_t cp = CharLength(ch, 0) == ch.size() ? Decode(ch) : 0;
    if (cp >= 0xFF41 && cp <= 0xFF5A)
      Append(out, cp - 0x20);
    else
      out.append(ch);
  }
  return out;
}

std::string LCMapText(int Flags, std::string_view Text) {
  std::vector<char32_t> cps;  // malformed bytes are dropped by the mapping
  for (std::string_view ch : Characters(Text))
    if (CharLength(ch, 0) == ch.size()) cps.push_back(Decode(ch));
  if (Flags & LCMAP_FULLWIDTH) cps = ToFullWidth(cps);
  if (Flags & LCMAP_HALFWIDTH) {
    for (char32_t& c : cps) {
      if (c == 0x3000) c = 0x20;
      else if (c >= 0xFF01 && c <= 0xFF5E) c = c - 0xFF01 + 0x21;
    }
  }
  for (char32_t& c : cps) {
    const bool lower = (c >= 'a' && c <= 'z') || (c >= 0xFF41 && c <= 0xFF5A);
    const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xFF21 && c <= 0xFF3A);
    if ((Flags & LCMAP_UPPERCASE) && lower) c -= 0x20;
    else if ((Flags & LCMAP_LOWERCASE) && upper) c += 0x20;
  }
  std::string out;
  for (char32_t c : cps) Append(out, c);
  // At most 255 bytes; a character that would be split is left out.
  std::string cut;
  int used = 0;
  for (std::string_view ch : Characters(out)) {
    const int w = Cp932CharWidth(ch);
    if (used + w > 255) break;
    cut.append(ch);
    used += w;
  }
  return cut;
}

std::string Spaces(int N) {
  if (N <= 0 || N > kMaxSpaces) return "";
  return std::string(static_cast<std::size_t>(N), ' ');
}

std::string FixLen(std::string_view Text, int Count) {
  if (Count <= 0) return "";
  std::string padded(Text);
  padded += Spaces(Count);
  return BlankBrokenDbcs(CutLeft(padded, Count));
}

std::string FixLenRight(std::string_view Text, int Count) {
  if (Count <= 0) return "";
  int used = 0;
  std::string right = CutRight(Text, Count, used);
  return std::string(static_cast<std::size_t>(Count - used), ' ') + right;
}

std::string ZeroPadLeft(std::string_view Text, int Count) {
  if (Count <= 0) return "";
  std::string zeros(256, '0');
  zeros.append(Text);
  int used = 0;
  return CutRight(zeros, Count, used);
}

std::string TrimZen(std::string_view Text) {
  std::string s(Text);
  for (;;) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsControlOrSpace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && IsControlOrSpace(static_cast<unsigned char>(s[e - 1]))) --e;
    s = s.substr(b, e - b);
    bool changed = false;
    while (s.size() >= kZenSpace.size() && s.compare(0, kZenSpace.size(), kZenSpace) == 0) {
      s.erase(0, kZenSpace.size());
      changed = true;
    }
    while (s.size() >= kZenSpace.size() && s.compare(s.size() - kZenSpace.size(), kZenSpace.size(), kZenSpace) == 0) {
      s.erase(s.size() - kZenSpace.size());
      changed = true;
    }
    if (!changed) return s;
  }
}

std::string RemoveAllSpaces(std::string_view Text) {
  std::string out;
  for (std::string_view ch : Characters(Text))
    if (ch != " " && ch != kZenSpace) out.append(ch);
  return out;
}

std::string RemoveTabsAndBreaks(std::string_view Text) {
  std::string out;
  for (char c : Text)
    if (c != '\t' && c != '\r' && c != '\n') out += c;
  return out;
}
