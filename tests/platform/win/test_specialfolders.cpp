#include "platform/win/specialfolders.h"

#include <unistd.h>

#include "platform/win/paths.h"
#include "platform/win/win_test_util.h"

class SpecialFolders : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    for (const char* name : {"VERUDA_APPDATA_DIR", "VERUDA_DOCUMENTS_DIR", "VERUDA_TEMP_DIR", "VERUDA_PROGRAM_DIR",
                             "VERUDA_REGISTRY_FILE", "VERUDA_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                             "XDG_RUNTIME_DIR", "TMPDIR"})
      env_.Unset(name);
    env_.Set("HOME", Path("home"));
  }
};

TEST_F(SpecialFolders, DefaultsFollowTheDesktopConventions) {
  EXPECT_EQ(CommonAppDataDir(), Path("home/.local/share"));
  EXPECT_EQ(UserAppDataDir(), Path("home/.local/share"));
  EXPECT_EQ(DocumentsDir(), Path("home/Documents"));
  EXPECT_EQ(DesktopDir(), Path("home/Desktop"));
  EXPECT_EQ(TempDir(), "/tmp");
  EXPECT_EQ(RuntimeDir(), "/tmp");
  EXPECT_EQ(RegistryFilePath(), Path("home/.local/share/registry/HKEY_LOCAL_MACHINE.ini"));
  EXPECT_EQ(ProgramDir(), ExtractFileDir(ProgramPath()));
  EXPECT_EQ(ExtractFileName(ProgramPath()), "test_win");

  env_.Set("XDG_DATA_HOME", Path("data/"));
  env_.Set("XDG_RUNTIME_DIR", Path("run"));
  env_.Set("TMPDIR", Path("tmp"));
  EXPECT_EQ(CommonAppDataDir(), Path("data"));
  EXPECT_EQ(RegistryFilePath(), Path("data/registry/HKEY_LOCAL_MACHINE.ini"));
  EXPECT_EQ(RuntimeDir(), Path("run"));
  EXPECT_EQ(TempDir(), Path("tmp"));
}

TEST_F(SpecialFolders, OverrideVariablesWinOverEverything) {
  env_.Set("XDG_DATA_HOME", Path("data"));
  env_.Set("XDG_RUNTIME_DIR", Path("run"));
  env_.Set("TMPDIR", Path("tmp"));
  struct Case {
    const char* variable;
    std::string (*folder)();
  };
  const Case cases[] = {
      {"VERUDA_APPDATA_DIR", CommonAppDataDir}, {"VERUDA_DOCUMENTS_DIR", DocumentsDir},
      {"VERUDA_TEMP_DIR", TempDir},             {"VERUDA_PROGRAM_DIR", ProgramDir},
      {"VERUDA_RUNTIME_DIR", RuntimeDir},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variable);
    env_.Set(c.variable, Path(std::string("over/") + c.variable + "/"));
    EXPECT_EQ(c.folder(), Path(std::string("over/") + c.variable));  // no trailing "/"
  }
  env_.Set("VERUDA_REGISTRY_FILE", Path("reg.ini"));
  EXPECT_EQ(RegistryFilePath(), Path("reg.ini"));
  EXPECT_EQ(UserAppDataDir(), Path("data"));  // the user's own folder has no override
}

TEST_F(SpecialFolders, DocumentsAndDesktopComeFromUserDirs) {
  ForceDirectories(Path("home/.config"));
  WriteAll(Path("home/.config/user-dirs.dirs"),
           "# written by xdg-user-dirs-update\n"
           "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n"
           "XDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"\n");
  EXPECT_EQ(DocumentsDir(), Path("home/ドキュメント"));
  EXPECT_EQ(DesktopDir(), Path("home/デスクトップ"));

  env_.Set("XDG_CONFIG_HOME", Path("cfg"));
  ForceDirectories(Path("cfg"));
  WriteAll(Path("cfg/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
  EXPECT_EQ(DocumentsDir(), "/srv/docs");
  EXPECT_EQ(DesktopDir(), Path("home/Desktop"));

  env_.Set("VERUDA_DOCUMENTS_DIR", Path("mine"));
  EXPECT_EQ(DocumentsDir(), Path("mine"));
}

TEST(SystemNames, ComputerAndUserNameAreThoseOfTheSystem) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  ASSERT_TRUE(ComputerName().has_value());
  EXPECT_EQ(*ComputerName(), host);
  EXPECT_FALSE(LogonUserName().empty());
}
