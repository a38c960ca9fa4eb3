#include "core/protect.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kTag = '~';  // first character of every protected form
constexpr const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Byte i of the fixed key stream.
std::vector<unsigned char> KeyStream(std::size_t n) {
  std::vector<unsigned char> out(n);
  std::uint32_t x = 0x5EED1607u;
  for (std::size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    out[i] = static_cast<unsigned char>((x >> 16) ^ (i * 31));
  }
  return out;
}

unsigned char Checksum(std::string_view bytes) {
  unsigned sum = 0x5A;
  for (char c : bytes) sum = (sum * 33 + static_cast<unsigned char>(c)) & 0xFF;
  return static_cast<unsigned char>(sum);
}

std::string Encode(const std::vector<unsigned char>& in) {
  std::string out;
  for (std::size_t i = 0; i < in.size(); i += 3) {
    const std::uint32_t b0 = in[i];
    const std::uint32_t b1 = i + 1 < in.size() ? in[i + 1] : 0;
    const std::uint32_t b2 = i + 2 < in.size() ? in[i + 2] : 0;
    const std::uint32_t v = (b0 << 16) | (b1 << 8) | b2;
    const std::size_t chars = in.size() - i >= 3 ? 4 : in.size() - i + 1;
    for (std::size_t k = 0; k < chars; ++k) out += kDigits[(v >> (18 - 6 * k)) & 0x3F];
  }
  return out;
}

bool Decode(std::string_view text, std::vector<unsigned char>& out) {
  out.clear();
  if (text.size() % 4 == 1) return false;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const std::size_t chars = std::min<std::size_t>(4, text.size() - i);
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      std::uint32_t d = 0;
      if (k < chars) {
        const char* p = nullptr;
        for (const char* q = kDigits; *q; ++q)
          if (*q == text[i + k]) p = q;
        if (!p) return false;
        d = static_cast<std::uint32_t>(p - kDigits);
      }
      v = (v << 6) | d;
    }
    for (std::size_t k = 0; k + 1 < chars; ++k) out.push_back(static_cast<unsigned char>(v >> (16 - 8 * k)));
  }
  return true;
}

bool IsBlank(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > 0x20) return false;
  return true;
}

}  // namespace

std::int32_t ProtectTransform(std::string_view Input, std::string_view FunctionCode, std::string& Output) {
  Output.clear();
  if (FunctionCode == "160") {
    if (Input.size() > kProtectMaxPlainBytes) return 0;
    std::vector<unsigned char> bytes(Input.begin(), Input.end());
    bytes.push_back(Checksum(Input));
    const std::vector<unsigned char> key = KeyStream(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= key[i];
    Output = kTag + Encode(bytes);
    return 1;
  }
  if (FunctionCode == "161") {
    if (Input.empty() || Input.front() != kTag || Input.size() > kProtectedMaxBytes) return 0;
    std::vector<unsigned char> bytes;
    if (!Decode(Input.substr(1), bytes) || bytes.empty()) return 0;
    const std::vector<unsigned char> key = KeyStream(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= key[i];
    const std::string plain(bytes.begin(), bytes.end() - 1);
    if (Checksum(plain) != bytes.back() || plain.find('\0') != std::string::npos) return 0;
    Output = plain;
    return 1;
  }
  return 0;
}

namespace {

void RunTransform(std::string_view text, const char* code, std::string& result) {
  result.clear();
  if (IsBlank(text)) return;
  std::string output;
  if (ProtectTransform(text, code, output) == 1) result = output;
}

}  // namespace

void ProtectText(std::string_view Text, std::string_view, int, std::string& Result) { RunTransform(Text, "160", Result); }

void UnprotectText(std::string_view Text, std::string_view, int, std::string& Result) {
  RunTransform(Text, "161", Result);
}
