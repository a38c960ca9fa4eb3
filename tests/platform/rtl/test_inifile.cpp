#include <gtest/gtest.h>

#include "platform/rtl/tempfoldertest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/rtl/cp932.h"
#include "platform/rtl/inifile.h"

namespace fs = std::filesystem;

namespace {

class IniFileTest : public TempFolderTest {
 protected:
  std::vector<std::string> Entries() const {
    return Names([](const std::string&) { return true; });
  }
};

TEST_F(IniFileTest, ReadsACp932FileWrittenByAnotherProgram) {
  // Shift-JIS bytes with CRLF, a comment, an LF-only line and a value holding "=".
  const std::string bytes =
      "; \x90\xDD\x92\xE8\r\n"                       // "; 設定"
      "[LOCAL]\r\n"
      "DataPath=C:\\\x83\x66\x81\x5B\x83\x5E\r\n"     // C:\データ
      "  Name  =  \x87\x40\x81\x60\xB1  \r\n"          // ①～ｱ
      "Formula=a=b=c\n"
      "Flag=1\r\n"
      "\r\n"
      "[server]\r\n"
      "HOST=127.0.0.1\r\n";
  const std::string path = Path("Connect.ini");
  WriteBytes(path, bytes);

  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("local", "DATAPATH", ""), "C:\\データ");
  EXPECT_EQ(ini.ReadString("LOCAL", "name", ""), "①～ｱ");
  EXPECT_EQ(ini.ReadString("LOCAL", "Formula", ""), "a=b=c");
  EXPECT_EQ(ini.ReadString("LOCAL", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadString("NoSection", "HOST", "x"), "x");
  EXPECT_TRUE(ini.ReadBool("LOCAL", "Flag", false));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"LOCAL", "server"}));
  EXPECT_EQ(ini.ReadSection("Local"), (std::vector<std::string>{"DataPath", "Name", "Formula", "Flag"}));
  EXPECT_EQ(ini.ReadSectionValues("SERVER"), (std::vector<std::string>{"HOST=127.0.0.1"}));

  // A write keeps everything else byte for byte (spacing and line ends too)
  // and writes its own line as CP932 with CRLF.
  ini.WriteString("Server", "host", "db1");
  std::string expected = bytes;
  expected.replace(expected.find("HOST=127.0.0.1"), 14, "HOST=db1");
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Connect.ini"});
}

TEST_F(IniFileTest, AStrayByteNeverStopsAWriteAndStaysAsItWas) {
  // Bytes that are no CP932: in a comment, in another section's key and
  // value, in a section name, and in the value that is written over; the
  // last line has no end.
  const std::string bytes =
      "; \x81\x20stray \xFF\r\n"
      "[LOCAL]\r\n"
      "HOSTNAME=\x82\xA0\xFE\r\n"
      "USER=VFNZFR\n"
      "[OTHER\x80]\r\n"
      "K\x85" "EY=\xA0\x81\r\n"
      "LAST=1";
  const std::string path = Path("connect.ini");
  WriteBytes(path, bytes);
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("LOCAL", "USER", ""), "VFNZFR");
  EXPECT_NE(ini.ReadString("LOCAL", "HOSTNAME", ""), "");  // read with replacement characters

  ini.WriteString("LOCAL", "HOSTNAME", "サーバー1");
  std::string expected = bytes;
  expected.replace(expected.find("HOSTNAME=\x82\xA0\xFE"), 12, "HOSTNAME=\x83T\x81[\x83o\x81[1");
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(ini.ReadString("local", "hostname", ""), "サーバー1");

  // New keys: into the section with the stray byte in its name, and a new
  // section after the last line, which then gets its end.
  const std::vector<std::string> sections = ini.ReadSections();
  ASSERT_EQ(sections.size(), 2u);
  ini.WriteString(sections[1], "NEW", "2");
  ini.WriteString("APPLICATION", "CONNECT", "0");
  expected += "\r\nNEW=2\r\n[APPLICATION]\r\nCONNECT=0\r\n";
  EXPECT_EQ(ReadBytes(path), expected);

  // Only a value CP932 cannot carry is refused, and nothing changes then.
  try {
    ini.WriteString("LOCAL", "USER", "名前😀");
    ADD_FAILURE() << "written";
  } catch (const ETextConversion& e) {
    EXPECT_NE(std::string(e.what()).find("[LOCAL] USER"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(ini.ReadString("LOCAL", "USER", ""), "VFNZFR");
  ini.WriteString("LOCAL", "USER", "OTHER");
  EXPECT_EQ(TIniFile(path).ReadString("LOCAL", "USER", ""), "OTHER");
}

TEST_F(IniFileTest, WritesKeepOrderAndSurviveAReopen) {
  const std::string path = Path("Veruda.ini");
  {
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("A", "x", 5), 5);  // missing file reads as defaults
    ini.WriteString("B", "k2", "二");
    ini.WriteString("A", "k1", "一");
    ini.WriteInteger("B", "k1", -12);
    ini.WriteBool("B", "on", true);
    ini.WriteString("b", "K2", "に");  // same key, other case
  }
  EXPECT_EQ(ReadBytes(path), "[B]\r\nk2=\x82\xC9\r\nk1=-12\r\non=1\r\n[A]\r\nk1=\x88\xEA\r\n");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(ini.ReadInteger("b", "K1", 0), -12);
  EXPECT_TRUE(ini.ValueExists("B", "ON"));
  EXPECT_FALSE(ini.ValueExists("B", "off"));
  EXPECT_TRUE(ini.SectionExists("a"));

  ini.DeleteKey("B", "K1");
  ini.EraseSection("a");
  EXPECT_EQ(ReadBytes(path), "[B]\r\nk2=\x82\xC9\r\non=1\r\n");
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_THROW(ini.WriteString("B", "bad", "😀"), ETextConversion);
  EXPECT_EQ(ReadBytes(path), "[B]\r\nk2=\x82\xC9\r\non=1\r\n");
}

TEST_F(IniFileTest, ReadBoolAndIntegerFallBackOnText) {
  const std::string path = Path("b.ini");
  WriteBytes(path, "[S]\nzero=0\ntwo=2\nhex=$10\ntext=yes\nempty=\n");
  TIniFile ini(path);
  struct Case {
    const char* key;
    bool fallback, expected;
  } cases[] = {{"zero", true, false}, {"two", false, true}, {"hex", false, true},
               {"text", true, true},  {"text", false, false}, {"empty", true, true}, {"none", true, true}};
  for (const Case& c : cases) EXPECT_EQ(ini.ReadBool("S", c.key, c.fallback), c.expected) << c.key;
  EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "text", 9), 9);
}

TEST_F(IniFileTest, SeesChangesMadeByAnotherProgram) {
  const std::string path = Path("c.ini");
  WriteBytes(path, "[S]\r\nk=1\r\n");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
  WriteBytes(path, "[S]\r\nk=22\r\nj=3\r\n");
  ini.Reload();
  EXPECT_EQ(ini.ReadString("S", "k", ""), "22");
  ini.WriteString("S", "i", "4");  // keeps the other program's keys
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=22\r\nj=3\r\ni=4\r\n");
}

TEST_F(IniFileTest, QuotedValuesAndUnsafeEntries) {
  const std::string path = Path("q.ini");
  WriteBytes(path, "[S]\r\na=\" spaced \"\r\nb='x'\r\nc=\"half\r\nd=\"\r\n");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("S", "a", ""), " spaced ");
  EXPECT_EQ(ini.ReadString("S", "b", ""), "x");
  EXPECT_EQ(ini.ReadString("S", "c", ""), "\"half");
  EXPECT_EQ(ini.ReadString("S", "d", ""), "\"");
  EXPECT_EQ(ini.ReadSectionValues("S")[0], "a= spaced ");
  // A line break, "=" in a key or "]" in a section name would change other entries.
  const std::string before = ReadBytes(path);
  EXPECT_THROW(ini.WriteString("S", "k", "1\r\n[X]"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", "k=1", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S]", "k", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", " ", "v"), std::invalid_argument);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(IniFileTest, MissingFolderIsNotCreated) {
  TIniFile ini(Path("nofolder/x.ini"));
  EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
  EXPECT_THROW(ini.WriteString("S", "k", "v"), std::system_error);
  EXPECT_FALSE(fs::exists(Path("nofolder")));
}

TEST_F(IniFileTest, AtomicWriteReplacesOrLeavesEverythingAsItWas) {
  const std::string path = Path("out.xml");
  WriteFileAtomically(path, "first");
  ::chmod(path.c_str(), 0640);
  WriteFileAtomically(path, std::string("second\0x", 8));
  EXPECT_EQ(ReadBytes(path), std::string("second\0x", 8));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // permissions of the replaced file kept

  // The target is a folder: the rename fails, nothing else changes.
  fs::create_directory(Path("target"));
  WriteBytes(Path("target/inside"), "keep");
  EXPECT_THROW(WriteFileAtomically(Path("target"), "data"), std::system_error);
  EXPECT_EQ(ReadBytes(Path("target/inside")), "keep");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"out.xml", "target"}));

  // A missing folder is an error too, and leaves nothing behind.
  EXPECT_THROW(WriteFileAtomically(Path("missing/out.xml"), "data"), std::system_error);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"out.xml", "target"}));
}

TEST_F(IniFileTest, AtomicWriteFailsCleanlyInAReadOnlyFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
  const std::string path = Path("ro/file.txt");
  fs::create_directory(Path("ro"));
  WriteBytes(path, "old");
  ::chmod(Path("ro").c_str(), 0555);
  EXPECT_THROW(WriteFileAtomically(path, "new"), std::system_error);
  ::chmod(Path("ro").c_str(), 0755);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(fs::directory_iterator(Path("ro"))->path().filename(), "file.txt");
}

}  // namespace
