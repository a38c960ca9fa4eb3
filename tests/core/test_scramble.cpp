#include <gtest/gtest.h>

#include "core/protect.h"
#include "core/scramble.h"

namespace {

TEasyEncodeInfo Info(const std::string& key, int pad, int length) {
  TEasyEncodeInfo info;
  info.Key = key;
  info.PadLength = pad;
  info.TextLength = length;
  return info;
}

TEST(Scramble, VectorsWithTheDataPasswordKey) {
  const struct {
    const char* plain;
    const char* encoded;
  } cases[] = {
      {"pass1234", "hFIiHvg9"}, {"ABCDEFGH", "s6Stk8TM"}, {"zzzzzzzz", "r4Ppf2ME"},
      {"a1B2c3D4", "2wRSSwQ9"}, {"00000000", "SvgQGtd5"},
  };
  for (const auto& c : cases) {
    TEasyEncodeInfo info = Info(kDataPasswordKey, kDataPasswordLength, kDataPasswordLength);
    info.Plain = c.plain;
    EXPECT_TRUE(ScrambleText(info));
    EXPECT_EQ(info.Encoded, c.encoded) << c.plain;

    TEasyEncodeInfo back = Info(kDataPasswordKey, kDataPasswordLength, kDataPasswordLength);
    back.Encoded = info.Encoded;
    EXPECT_TRUE(UnscrambleText(back));
    EXPECT_EQ(back.Plain, c.plain);
  }
}

TEST(Scramble, PaddingAndShortText) {
  TEasyEncodeInfo info = Info("tembrol", 8, 5);
  info.Plain = "12345";
  ScrambleText(info);
  EXPECT_EQ(info.Plain, "12345ABC");
  EXPECT_EQ(info.Encoded, "TxjUL3OH");
  TEasyEncodeInfo back = Info("tembrol", 8, 5);
  back.Encoded = info.Encoded;
  UnscrambleText(back);
  EXPECT_EQ(back.Plain, "12345");
}

TEST(Scramble, EmptyKeyOnlyPads) {
  TEasyEncodeInfo info = Info("", 8, 5);
  info.Plain = "Hello";
  ScrambleText(info);
  EXPECT_EQ(info.Encoded, "HelloABC");
}

TEST(Scramble, CharacterOutsideAlphabetEndsTheResult) {
  TEasyEncodeInfo info = Info("tembrol", 8, 8);
  info.Plain = "abc-defg";
  ScrambleText(info);
  EXPECT_EQ(info.Encoded, "2Gs");
  TEasyEncodeInfo back = Info("tembrol", 8, 8);
  back.Encoded = "2Gs-xyz";
  UnscrambleText(back);
  EXPECT_EQ(back.Plain, "abc");
}

TEST(Scramble, RoundTripOfLongerTextsAndKeys) {
  const std::string alphabet = kScrambleAlphabet;
  for (const std::string key : {"k", "tembrol", "a much longer key text"}) {
    for (std::size_t len = 1; len <= 40; len += 13) {
      std::string plain;
      for (std::size_t i = 0; i < len; ++i) plain += alphabet[(i * 17 + key.size()) % alphabet.size()];
      TEasyEncodeInfo info = Info(key, static_cast<int>(len), static_cast<int>(len));
      info.Plain = plain;
      ScrambleText(info);
      EXPECT_EQ(info.Encoded.size(), len);
      TEasyEncodeInfo back = Info(key, static_cast<int>(len), static_cast<int>(len));
      back.Encoded = info.Encoded;
      UnscrambleText(back);
      EXPECT_EQ(back.Plain, plain) << key;
    }
  }
}

TEST(Scramble, ClearKeepsTheKey) {
  TEasyEncodeInfo info = Info("tembrol", 8, 8);
  info.Plain = "p";
  info.Encoded = "e";
  ClearEasyEncodeInfo(info);
  EXPECT_EQ(info.Key, "tembrol");
  EXPECT_EQ(info.PadLength, 0);
  EXPECT_EQ(info.TextLength, 0);
  EXPECT_EQ(info.Plain, "");
  EXPECT_EQ(info.Encoded, "");
}

TEST(Protect, RoundTripFitsInto255Bytes) {
  const std::string longest(kProtectMaxPlainBytes, 'x');
  for (const std::string text : {"1", "管理キー", "0123456789AB", " padded ", "～①㈱", longest.c_str()}) {
    std::string protectedText, plain;
    ProtectText(text, "MYNUMBER", 16, protectedText);
    ASSERT_FALSE(protectedText.empty()) << text;
    EXPECT_NE(protectedText, text);
    EXPECT_LE(protectedText.size(), kProtectedMaxBytes);
    UnprotectText(protectedText, "other", 0, plain);
    EXPECT_EQ(plain, text);
  }
}

TEST(Protect, BlankTooLongAndForeignInputGiveEmpty) {
  std::string result = "x";
  ProtectText(" \t\r\n", "K", 1, result);
  EXPECT_EQ(result, "");
  ProtectText(std::string(kProtectMaxPlainBytes + 1, 'x'), "K", 1, result);
  EXPECT_EQ(result, "");
  UnprotectText("plain text", "K", 1, result);
  EXPECT_EQ(result, "");
  std::string good;
  ProtectText("secret", "K", 1, good);
  good[3] = good[3] == 'A' ? 'B' : 'A';  // a damaged protected form is refused
  UnprotectText(good, "K", 1, result);
  EXPECT_EQ(result, "");
  std::string out;
  EXPECT_EQ(ProtectTransform("abc", "162", out), 0);
  EXPECT_EQ(out, "");
}

}  // namespace
