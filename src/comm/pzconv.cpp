#include "comm/pzconv.h"

#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kNoValue = 64;  // "=" and every character outside the alphabet

int ValueOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return kNoValue;
}

}  // namespace

std::string TxPzConv::EncodeBase64(std::string_view Text) {
  std::string out;
  out.reserve((Text.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= Text.size(); i += 3) {
    const std::uint32_t v = (std::uint32_t(std::uint8_t(Text[i])) << 16) |
                            (std::uint32_t(std::uint8_t(Text[i + 1])) << 8) | std::uint8_t(Text[i + 2]);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  const std::size_t rest = Text.size() - i;
  if (rest == 1) {
    const std::uint32_t v = std::uint32_t(std::uint8_t(Text[i])) << 16;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    const std::uint32_t v = (std::uint32_t(std::uint8_t(Text[i])) << 16) | (std::uint32_t(std::uint8_t(Text[i + 1])) << 8);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

std::string TxPzConv::DecodeBase64(std::string_view Text) {
  std::string out;
  out.reserve(Text.size() / 4 * 3);
  for (std::size_t i = 0; i + 4 <= Text.size(); i += 4) {
    int v[4];
    for (int k = 0; k < 4; ++k) v[k] = ValueOf(Text[i + static_cast<std::size_t>(k)]);
    // A group needs two real characters for its first byte; each further real
    // character (before any padding) adds one byte.
    if (v[0] == kNoValue || v[1] == kNoValue) continue;
    out += static_cast<char>((v[0] << 2) | (v[1] >> 4));
    if (v[2] == kNoValue) continue;
    out += static_cast<char>(((v[1] & 15) << 4) | (v[2] >> 2));
    if (v[3] == kNoValue) continue;
    out += static_cast<char>(((v[2] & 3) << 6) | v[3]);
  }
  return out;
}
