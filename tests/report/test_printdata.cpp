// The print-data file: record lines byte for byte, the padding and cut rules,
// the reader's normalisation, the magic test, page counting and the
// orientation scan.
#include <gtest/gtest.h>

#include "platform/rtl/cp932.h"
#include "report/printdata.h"
#include "reporttest.h"

namespace {

struct PadCase {
  const char* text;  // UTF-8
  const char* alignment;
  int width;
  const char* expected;  // UTF-8
};

TEST(PrintDataWriter, PadsAndCutsInShiftJisBytes) {
  const PadCase cases[] = {
      {"abcd", "LEFT", 6, "abcd  "},
      {"abcd", "RIGHT", 6, "  abcd"},
      {"abcdefgh", "RIGHT", 4, "efgh"},
      {"abcdefgh", "LEFT", 4, "abcd"},
      {"abcd", "CENTER", 6, "abcd"},
      {"abcd", "left", 0, "abcd"},
      {"abcd", "Right", 6, "abcd  "},  // the tests use the argument as given
      {"a漢字", "LEFT", 4, "a漢"},     // byte 4 is the lead byte of 字: cut one shorter
      {"a漢字", "LEFT", 3, "a漢"},
      {"ab漢字", "LEFT", 4, "ab漢"},
      {"漢字", "RIGHT", 3, " 字"},     // no half character at the front either
      {"abc", "LEFT", 127, "abc"},     // above 126 nothing is added
      {"abc", "RIGHT", 127, "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp932ToUtf8(PadRecordText(Utf8ToCp932(c.text), c.alignment, c.width)), c.expected)
        << c.text << " " << c.alignment << " " << c.width;
  }
  EXPECT_EQ(PadRecordText("abc", "LEFT", 126).size(), 126u);
}

TEST(PrintDataWriter, RecordLinesAsWrittenByHand) {
  EXPECT_EQ(TextRecordLine(100, 200, "a;b；c", "ＭＳ 明朝", 10, "B", "黒", "OFF", "left", 1, 0),
            Utf8ToCp932("TEXT;100;200;a:b；c;ＭＳ 明朝;10;B;黒;1;LEFT;0;1;") + "\r\n");
  EXPECT_EQ(TextRecordLine(1, 2, "金額", "", 9, "", "255", "ON", "RIGHT", 0, 6),
            Utf8ToCp932("TEXT;1;2;  金額;;9;;255;ON;RIGHT;0;0;") + "\r\n");
  EXPECT_EQ(LineRecordLine(false, 10, 20, 30, 40, 2, 1, "$0000FF"), "LINE;10;20;30;40;2;1;$0000FF;\r\n");
  EXPECT_EQ(LineRecordLine(true, 1, 2, 3, 4, 5, 0, "0"), "ELINE;1;2;3;4;5;0;0;\r\n");
  EXPECT_EQ(BoxRecordLine(100, 100, 101, 101, 0, 0, "黒", "白", 1),
            Utf8ToCp932("BOX;100;100;101;101;0;0;黒;白;1;") + "\r\n");
  EXPECT_EQ(ColorFieldText(0x123456), "$123456");
  EXPECT_EQ(ColorFieldText(0xFF), "$0000FF");
}

TEST(PrintDataReader, NormalisesLinesAndReadsFields) {
  const TRecord r("text;1;\"2\";a;;x");
  EXPECT_EQ(r.Line(), "text;1;2;a;;x;");
  EXPECT_EQ(r.Kind(), "TEXT");
  EXPECT_EQ(r.Int(1), 1);
  EXPECT_EQ(r.Int(2), 2);
  EXPECT_EQ(r.Text(3), "a");
  EXPECT_EQ(r.Int(4, 10), 10);   // empty field: the default
  EXPECT_EQ(r.Int(5, 7), 7);     // not a number
  EXPECT_EQ(r.Int(9, 3), 3);     // missing field
  EXPECT_EQ(TRecord("$;1").Int(1), 1);
  EXPECT_EQ(TRecord("LINE;$FF").Int(1), 255);
  EXPECT_TRUE(IsPageEndLine("e;"));
  EXPECT_TRUE(IsPageEndLine("E;x"));
  EXPECT_FALSE(IsPageEndLine("E"));
  EXPECT_FALSE(IsPageEndLine("ELINE;1"));
}

TEST(PrintDataReader, MagicText) {
  EXPECT_TRUE(HasQuillboxMagic("*QUILLBOX*******"));
  EXPECT_TRUE(HasQuillboxMagic("*QUILLBOX*"));
  EXPECT_FALSE(HasQuillboxMagic("*QUILLBOX"));
  EXPECT_FALSE(HasQuillboxMagic("*QUILLBOXX*"));
  EXPECT_FALSE(HasQuillboxMagic("*quillbox*"));
}

using PrintDataFile = ReportTest;

TEST_F(PrintDataFile, CountsPagesAndScansOrientations) {
  WriteBytes(Path("r.dat"), Crlf({"*QUILLBOX*", "*ORIENTATION=1", "TEXT;1;1;a;", "E;", "ORIENTATION;1;",
                                  "LINE;1;1;2;2;", "e;", "TEXT;1;1;c;"}));
  EXPECT_EQ(CountPages(Path("r.dat")), 3);
  EXPECT_EQ(ScanOrientations(Path("r.dat"), 0), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(CountPages(Path("missing.dat")), 0);

  TRecordFile file(Path("r.dat"));
  file.SkipPages(2);
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "TEXT;1;1;c;");
  EXPECT_FALSE(file.ReadLine(line));
}

}  // namespace
