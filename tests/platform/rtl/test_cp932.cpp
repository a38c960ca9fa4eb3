#include <gtest/gtest.h>

#include "platform/rtl/cp932.h"

namespace {

TEST(Cp932, RoundTripTable) {
  struct Case {
    const char* utf8;
    const char* cp932;
  } cases[] = {
      {"abc", "abc"},
      {"～", "\x81\x60"},            // FULLWIDTH TILDE, not the wave dash
      {"①", "\x87\x40"},             // NEC special characters
      {"㈱", "\x87\x8A"},
      {"髙", "\xFB\xFC"},            // IBM extension
      {"ｱｶﾞ", "\xB1\xB6\xDE"},      // half-width katakana, one byte each
      {"－", "\x81\x7C"},
      {"∥", "\x81\x61"},
      {"￢", "\x81\xCA"},
      {"消費税", "\x8F\xC1\x94\xEF\x90\xC5"},
      {"表", "\x95\x5C"},            // trail byte 0x5C
      {"\\~", "\x5C\x7E"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
  }
}

TEST(Cp932, LookAlikesMapToTheCp932Characters) {
  // Text from other sources often carries the Unicode forms of these marks.
  EXPECT_EQ(Utf8ToCp932("〜"), "\x81\x60");  // WAVE DASH
  EXPECT_EQ(Utf8ToCp932("−"), "\x81\x7C");   // MINUS SIGN
  EXPECT_EQ(Utf8ToCp932("‖"), "\x81\x61");
}

TEST(Cp932, UnconvertibleTextThrowsOrIsReplaced) {
  EXPECT_THROW(Utf8ToCp932("a😀b"), ETextConversion);
  EXPECT_THROW(Utf8ToCp932("a\xFF" "b"), ETextConversion);     // not UTF-8
  EXPECT_THROW(Cp932ToUtf8("a\x85\x40" "b"), ETextConversion);  // unassigned pair
  EXPECT_THROW(Cp932ToUtf8("a\x81"), ETextConversion);          // lead byte at the end
  EXPECT_EQ(Utf8ToCp932Lossy("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932Lossy("a\xFF" "b表"), "a?b\x95\x5C");
  EXPECT_EQ(Cp932ToUtf8Lossy("a\x85\x40" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Cp932ToUtf8Lossy("\xA0" "x"), "\xEF\xBF\xBD" "x");
}

TEST(Cp932, LengthsInBytes) {
  struct Case {
    const char* utf8;
    std::size_t bytes;
  } cases[] = {{"", 0}, {"abc", 3}, {"あいう", 6}, {"ｱｲｳ", 3}, {"A社ｶﾌﾞ", 6}, {"😀", 1}};
  for (const Case& c : cases) EXPECT_EQ(Cp932Length(c.utf8), c.bytes) << c.utf8;
}

TEST(Cp932, LeadAndTrailBytes) {
  EXPECT_TRUE(IsSjisLeadByte(0x81));
  EXPECT_TRUE(IsSjisLeadByte(0x9F));
  EXPECT_TRUE(IsSjisLeadByte(0xE0));
  EXPECT_TRUE(IsSjisLeadByte(0xFC));
  EXPECT_FALSE(IsSjisLeadByte(0x80));
  EXPECT_FALSE(IsSjisLeadByte(0xA0));
  EXPECT_FALSE(IsSjisLeadByte(0xB1));  // half-width katakana
  EXPECT_FALSE(IsSjisLeadByte(0xFD));
  EXPECT_TRUE(IsSjisTrailByte(0x40));
  EXPECT_TRUE(IsSjisTrailByte(0x5C));
  EXPECT_TRUE(IsSjisTrailByte(0xFC));
  EXPECT_FALSE(IsSjisTrailByte(0x7F));
  EXPECT_FALSE(IsSjisTrailByte(0x3F));
  EXPECT_FALSE(IsSjisTrailByte(0xFD));
}

TEST(Cp932, CutsNeverSplitADoubleByteCharacter) {
  struct Case {
    const char* utf8;
    std::size_t bytes;
    bool space;
    const char* cut;
  } cases[] = {
      {"abあい", 3, false, "ab"},    {"abあい", 3, true, "ab "},   {"abあい", 4, false, "abあ"},
      {"abあい", 5, true, "abあ "},  {"abあい", 6, false, "abあい"}, {"abあい", 10, true, "abあい"},
      {"ｱあ", 2, true, "ｱ "},        {"あ", 1, true, " "},         {"あ", 0, true, ""},
      {"abc", 2, false, "ab"},
  };
  for (const Case& c : cases) {
    std::string cut = Cp932Cut(c.utf8, c.bytes, c.space);
    EXPECT_EQ(cut, c.cut) << c.utf8 << " " << c.bytes;
    EXPECT_LE(Cp932Length(cut), c.bytes);
  }
}

TEST(Cp932, PadRightGivesExactByteWidth) {
  struct Case {
    const char* utf8;
    std::size_t bytes;
    const char* padded;
  } cases[] = {{"ab", 5, "ab   "}, {"あい", 3, "あ "}, {"あい", 6, "あい  "}, {"あい", 4, "あい"}, {"", 2, "  "}, {"ｶﾅ漢", 5, "ｶﾅ漢 "}};
  for (const Case& c : cases) {
    std::string p = Cp932PadRight(c.utf8, c.bytes);
    EXPECT_EQ(p, c.padded) << c.utf8;
    EXPECT_EQ(Cp932Length(p), c.bytes) << c.utf8;
  }
}

}  // namespace
