// The connection settings file: the default file of a first start, the
// sections read by connection kind, the connection kind of the last logon,
// the server's folder of the system database and the shared-server drives.
#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dstest.h"
#include "platform/rtl/inifile.h"

namespace {

using dstest::DsTest;

class ConnSettingsTest : public DsTest {
 protected:
  std::string Ini(const char* section, const char* key) {
    TIniFile ini(SystemDef.ConnectIniFile);
    return ini.ValueExists(section, key) ? ini.ReadString(section, key, "") : "<missing>";
  }
  void WriteFile(const std::string& text) {
    std::ofstream(SystemDef.ConnectIniFile, std::ios::binary | std::ios::trunc) << text;
  }
};

TEST_F(ConnSettingsTest, FirstStartWritesTheDefaultFileAndReadsItsLocalSection) {
  // A missing file, and a file of an earlier version without LOCAL.
  for (const bool earlierFile : {false, true}) {
    SCOPED_TRACE(earlierFile ? "earlier file" : "no file");
    std::filesystem::remove(SystemDef.ConnectIniFile);
    if (earlierFile) WriteFile("[DATABASE]\r\nPATH=c:\\old\r\n[MAINFORM]\r\nTOP=5\r\n[APPLICATION]\r\nCONNECT=1\r\n");
    ConnectKind = 0;
    SystemDef.HostName = "leftover";
    SystemDef.SysDir = sysDir_;
    EnsureConnectSettings();
    EXPECT_EQ(Ini("APPLICATION", "TOP"), "0");
    EXPECT_EQ(Ini("APPLICATION", "LEFT"), "0");
    EXPECT_EQ(Ini("APPLICATION", "WIDTH"), "1024");
    EXPECT_EQ(Ini("APPLICATION", "HEIGHT"), "738");
    EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "0");
    EXPECT_EQ(Ini("LOCAL", "HOSTNAME"), "");
    EXPECT_EQ(Ini("LOCAL", "GOGLOBAL"), "NO");
    EXPECT_EQ(Ini("LOCAL", "GROUP"), "NO");
    EXPECT_EQ(Ini("LOCAL", "SYSDIR"), sysDir_);
    EXPECT_EQ(Ini("LOCAL", "USER"), "VFNZFR");
    EXPECT_EQ(Ini("LOCAL", "PASSWORD"), "dravon");
    EXPECT_EQ(Ini("SERVER", "HOSTNAME"), "");
    EXPECT_EQ(Ini("SERVER", "SYSDIR"), "");
    EXPECT_EQ(Ini("SERVER", "GOGLOBAL"), "NO");
    EXPECT_EQ(Ini("SERVER", "USER"), "VFNZFR");
    EXPECT_EQ(Ini("SERVER", "PASSWORD"), "dravon");
    TIniFile ini(SystemDef.ConnectIniFile);
    EXPECT_FALSE(ini.SectionExists("SBC"));
    EXPECT_FALSE(ini.SectionExists("DATABASE"));
    EXPECT_FALSE(ini.SectionExists("MAINFORM"));
    EXPECT_EQ(SystemDef.HostName, "");
    EXPECT_EQ(SystemDef.SysDir, sysDir_);
  }
  // A file with its LOCAL section is read, not rewritten.
  WriteFile("[APPLICATION]\r\nCONNECT=1\r\n[LOCAL]\r\nSYSDIR=/srv/Corvex/Data\r\n");
  EnsureConnectSettings();
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "1");
  EXPECT_EQ(SystemDef.SysDir, "/srv/Corvex/Data");
}

TEST_F(ConnSettingsTest, EmptyLocalSectionIsRewrittenAtStartUp) {
  // The section is there but holds nothing: the start-up writes the default
  // file as for a missing section instead of running without a system folder.
  WriteFile("[APPLICATION]\r\nCONNECT=1\r\n[LOCAL]\r\n\r\n[SERVER]\r\nHOSTNAME=dbhost\r\n");
  ConnectKind = 0;
  SystemDef.SysDir = sysDir_;
  EnsureConnectSettings();
  EXPECT_EQ(Ini("LOCAL", "SYSDIR"), sysDir_);
  EXPECT_EQ(Ini("LOCAL", "USER"), "VFNZFR");
  EXPECT_EQ(Ini("LOCAL", "GOGLOBAL"), "NO");
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "0");
  EXPECT_EQ(SystemDef.SysDir, sysDir_);
  EXPECT_EQ(SystemDef.DbUser, "VFNZFR");
  EXPECT_EQ(SystemDef.DbPassword, "dravon");

  // A LOCAL section whose keys are present but empty is not empty: it is read.
  WriteFile("[LOCAL]\r\nHOSTNAME=\r\nSYSDIR=/srv/Corvex/Data\r\n");
  EnsureConnectSettings();
  EXPECT_EQ(Ini("LOCAL", "USER"), "<missing>");
  EXPECT_EQ(SystemDef.SysDir, "/srv/Corvex/Data");
}

TEST_F(ConnSettingsTest, StartUpReadsGoGlobalAndGroupInAnyCase) {
  struct Case {
    const char* goGlobal;
    const char* group;
    int expectGoGlobal;
    int expectGroup;
  } cases[] = {
      {"YES", "YES", 1, 1},
      {"yes", "Yes", 1, 1},
      {"NO", "no", 0, 0},
      {"", "", 0, 0},
      {"YESS", "1", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.goGlobal) + "/" + c.group);
    WriteFile(std::string("[LOCAL]\r\nSYSDIR=/home/u/Data\r\nGOGLOBAL=") + c.goGlobal + "\r\nGROUP=" + c.group + "\r\n");
    SystemDef.GoGlobal = 7;
    SystemDef.GroupMode = 7;
    EnsureConnectSettings();
    EXPECT_EQ(SystemDef.GoGlobal, c.expectGoGlobal);
    EXPECT_EQ(SystemDef.GroupMode, c.expectGroup);
    EXPECT_EQ(SystemDef.SysDir, "/home/u/Data");
  }
}

TEST_F(ConnSettingsTest, SectionsAreReadByKindWithTheirDefaultsAndCases) {
  WriteFile(
      "[LOCAL]\r\nSYSDIR=/home/u/Data\r\nGOGLOBAL=yes\r\nGROUP=YES\r\n"
      "[SERVER]\r\nHOSTNAME=dbhost\r\nGOGLOBAL=YES\r\nSYSDIR=/srv/CorvexZaimu/data\r\nUSER=vfnzfr\r\nPASSWORD=DRAVON\r\n"
      "[SBC]\r\nHOSTNAME=sbc\r\n");
  struct Case {
    int kind;
    const char* host;
    int goGlobal;
    const char* sysDir;
  } cases[] = {
      {0, "", 0, "/home/u/Data"},            // "yes" in lower case is not set; the path keeps its case
      {1, "dbhost", 1, "/srv/CorvexZaimu/data"},
      {2, "sbc", 0, ""},
      {7, "", 0, "/home/u/Data"},            // any other kind reads LOCAL
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    SystemDef.GroupMode = 1;
    EXPECT_TRUE(ReadIniSection(c.kind));
    EXPECT_EQ(SystemDef.HostName, c.host);
    EXPECT_EQ(SystemDef.GoGlobal, c.goGlobal);
    EXPECT_EQ(SystemDef.SysDir, c.sysDir);
    EXPECT_EQ(SystemDef.DbUser, "VFNZFR");
    EXPECT_EQ(SystemDef.DbPassword, "dravon");
    EXPECT_EQ(SystemDef.GroupMode, 0);  // GROUP is never read here
  }
}

TEST_F(ConnSettingsTest, ConnectionKindOfTheLastLogon) {
  WriteFile("[APPLICATION]\r\nCONNECT=abc\r\n");
  EXPECT_EQ(ReadConnectType(), 0);
  WriteConnectType(3);
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "abc");
  WriteConnectType(1);
  EXPECT_EQ(ReadConnectType(), 1);
  AppKind = 2;
  EXPECT_EQ(ReadConnectType(), 0);
  WriteConnectType(0);
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "1");
}

TEST_F(ConnSettingsTest, ServerFolderAndWorkFolderOfTheSystemFolder) {
  struct Case {
    const char* sysDir;
    const char* drive;
  } cases[] = {
      {"/srv/corvexzaimu/data", "/srv"},
      {"/srv/corvexzaimu/data/", "/srv"},
      {"/corvexzaimu/data", ""},
      {"/srv/xcorvexzaimu/data", ""},  // the folder name must match whole
      {"c:\\corvexzaimu\\data", "c:"},
      {"/somewhere/else", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sysDir);
    EXPECT_EQ(SysDirDrive(c.sysDir), c.drive);
  }
  EXPECT_EQ(ServerWorkDirOf("/srv/corvexzaimu/data"), "/srv/corvexzaimu/temp");
}

TEST_F(ConnSettingsTest, SharedDrivesMapPathsToTheirLetters) {
  WriteShareDrive("f", "/mnt/share");
  WriteShareDrive("G", "/mnt/share/deeper");
  WriteShareDrive("H", "/mnt/it's 100%");
  struct Case {
    const char* path;
    const char* letter;
  } cases[] = {
      {"/mnt/share", "F"},
      {"/mnt/share/sv0001", "F"},
      {"/mnt/share/deeper/sv0002", "G"},     // the deepest mount point wins
      {"/mnt/shared/sv0001", "/"},           // whole folder names only
      {"/mnt/it's 100%/sv0001/002", "H"},
      {"Z:\\corvex\\sv0001", "Z"},
      {"/elsewhere", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ShareDriveLetter(c.path), c.letter);
  }
  EXPECT_EQ(ShareDriveRoot("g"), "/mnt/share/deeper");
  EXPECT_EQ(ShareDriveRoot("Q"), "");
}

}  // namespace

namespace {

TEST_F(ConnSettingsTest, AStrayByteInTheFileNeverStopsTheStart) {
  // A byte that is no Shift-JIS (in a comment and in another section) in a
  // file whose LOCAL section must be written: the start goes on, and the
  // bytes the program does not change stay as they were.
  WriteFile("; \x81\x20\r\n[APPLICATION]\r\nCONNECT=0\r\n[SBC]\r\nHOSTNAME=\xFF\r\n");
  SystemDef.SysDir = sysDir_;
  EXPECT_NO_THROW(EnsureConnectSettings());
  EXPECT_EQ(Ini("LOCAL", "SYSDIR"), sysDir_);
  std::ifstream in(SystemDef.ConnectIniFile, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(bytes.rfind("; \x81\x20\r\n", 0), 0u);
  EXPECT_NE(bytes.find("[SBC]\r\nHOSTNAME=\xFF\r\n"), std::string::npos);
}

}  // namespace
