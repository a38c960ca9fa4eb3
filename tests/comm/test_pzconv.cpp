#include <gtest/gtest.h>

#include <string>

#include "comm/pzconv.h"

namespace {

struct Case {
  std::string plain;
  std::string coded;
};

TEST(Base64, EncodesAndDecodesStandardText) {
  const Case cases[] = {
      {"", ""},
      {"a", "YQ=="},
      {"ab", "YWI="},
      {"abc", "YWJj"},
      {"abcd", "YWJjZA=="},
      {"\xfb\xff", "+/8="},
      {"\x8a\x94\x8e\xae\x89\xef\x8e\xd0", "ipSOronvjtA="},  // 株式会社 in CP932
      {std::string("a\0b", 3), "YQBi"},
      {std::string("\0\0", 2), "AAA="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TxPzConv::EncodeBase64(c.plain), c.coded) << c.coded;
    EXPECT_EQ(TxPzConv::DecodeBase64(c.coded), c.plain) << c.coded;
  }
}

TEST(Base64, DecodingIgnoresAnIncompleteLastGroupAndStopsAGroupAtForeignCharacters) {
  EXPECT_EQ(TxPzConv::DecodeBase64("YWJjZA"), "abc");   // "ZA" is no complete group
  EXPECT_EQ(TxPzConv::DecodeBase64("YWI=YWJj"), "ababc");
  EXPECT_EQ(TxPzConv::DecodeBase64("YW*jYWJj"), "aabc");  // "*" ends its group like padding
  EXPECT_EQ(TxPzConv::DecodeBase64("===="), "");
}

TEST(Base64, RoundTripsEveryByteValue) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (std::size_t len = 0; len <= all.size(); len += 37) {
    const std::string part = all.substr(all.size() - len);
    EXPECT_EQ(TxPzConv::DecodeBase64(TxPzConv::EncodeBase64(part)), part);
  }
}

}  // namespace
