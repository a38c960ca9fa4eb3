#include "core/scramble.h"

#include <cstring>

#include "platform/rtl/cp932.h"

namespace {

constexpr int kAlphabetSize = 62;

int SymbolIndex(char c) {
  const char* p = c == '\0' ? nullptr : std::strchr(kScrambleAlphabet, c);
  return p ? static_cast<int>(p - kScrambleAlphabet) : -1;
}

// The key as the stored forms saw it: its Shift-JIS bytes.
std::string KeyBytes(const std::string& key) { return Utf8ToCp932Lossy(key); }

}  // namespace

void ClearEasyEncodeInfo(TEasyEncodeInfo& Info) {
  Info.PadLength = 0;
  Info.TextLength = 0;
  Info.Plain.clear();
  Info.Encoded.clear();
}

bool ScrambleText(TEasyEncodeInfo& Info) {
  for (int i = 0; i < Info.PadLength - Info.TextLength; ++i) Info.Plain += static_cast<char>('A' + i % 26);
  const std::string key = KeyBytes(Info.Key);
  std::string encoded;
  long long sum = 0;
  std::size_t j = 0;
  for (char c : Info.Plain) {
    if (j >= key.size()) j = 0;
    sum += key.empty() ? 0 : static_cast<unsigned char>(key[j]);
    const int s = SymbolIndex(c);
    if (s < 0 || encoded.size() >= 256) break;  // a zero byte ends the encoded text
    encoded += kScrambleAlphabet[(sum + s) % kAlphabetSize];
    ++j;
  }
  Info.Encoded = encoded;
  return true;
}

bool UnscrambleText(TEasyEncodeInfo& Info) {
  const std::string key = KeyBytes(Info.Key);
  std::string plain;
  long long sum = 0;
  std::size_t j = 0;
  for (std::size_t i = 0; i < Info.Encoded.size(); ++i) {
    if (static_cast<long long>(i) >= Info.TextLength) break;
    if (j >= key.size()) j = 0;
    sum += key.empty() ? 0 : static_cast<unsigned char>(key[j]);
    const int k = SymbolIndex(Info.Encoded[i]);
    if (k < 0) break;
    plain += kScrambleAlphabet[((k - sum) % kAlphabetSize + kAlphabetSize) % kAlphabetSize];
    ++j;
  }
  Info.Plain = plain;
  return true;
}
