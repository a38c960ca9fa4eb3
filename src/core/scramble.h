// The keyed scramble of short secrets (the data password of a data set) over
// the 62 letters and digits. The stored forms depend on this exact algorithm.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kScrambleAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";
// The key and the lengths the data password is scrambled with.
inline constexpr const char* kDataPasswordKey = "tembrol";
inline constexpr std::int32_t kDataPasswordLength = 8;

struct TEasyEncodeInfo {
  std::int32_t PadLength = 0;   // Plain is padded to this length before scrambling
  std::int32_t TextLength = 0;  // length of the real plain text
  std::string Key;
  std::string Plain;
  std::string Encoded;
};

// Lengths 0, Plain and Encoded empty; the key stays.
void ClearEasyEncodeInfo(TEasyEncodeInfo& Info);
// Info.Encoded from Info.Plain (padded with "A", "B", ... up to PadLength),
// the key and the lengths. A character outside the alphabet ends the result.
bool ScrambleText(TEasyEncodeInfo& Info);
// Info.Plain from Info.Encoded, the key and TextLength.
bool UnscrambleText(TEasyEncodeInfo& Info);
