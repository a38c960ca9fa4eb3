#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "core/appinfo.h"
#include "core/globals.h"
#include "core/settings.h"
#include "platform/rtl/cp932.h"

namespace fs = std::filesystem;

namespace {

class AppInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("core_appinfo_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteIni(const std::string& utf8) {
    std::ofstream out(dir_ / "AppInfo.ini", std::ios::binary);
    out << Utf8ToCp932(utf8);
  }
  std::string ProgramPath() const { return (dir_ / "veruda").string(); }

  fs::path dir_;
};

TEST_F(AppInfoTest, MissingFileGivesZeroAndLeavesRecordUntouched) {
  TAppInfoRec info;
  info.AppTitle = "untouched";
  EXPECT_EQ(ReadAppInfo(ProgramPath(), info), 0);
  EXPECT_EQ(info.AppTitle, "untouched");
  EXPECT_EQ(info.OEM, "");
}

TEST_F(AppInfoTest, FileWithoutOemGivesMinusOneAndBuiltInValues) {
  WriteIni("[Application]\r\nSince=2000\r\n[Zaimu]\r\nAppTitle=別名\r\nDataListCnt=5\r\n");
  TAppInfoRec info;
  EXPECT_EQ(ReadAppInfo(ProgramPath(), info), -1);
  TAppInfoRec defaults;
  SetDefaultAppInfo(defaults);
  EXPECT_EQ(info.OEM, "-");
  EXPECT_EQ(info.Since, "2009-2019");
  EXPECT_EQ(info.AppTitle, "コルベクス財務");
  EXPECT_EQ(info.DataListCnt, 120);
  EXPECT_EQ(info.DataInitFile, "acc%d.gbk");
  EXPECT_EQ(info.ZEdoreWriteDirFmt, "rqz%.2dcd");
  EXPECT_EQ(info.MenuDataConQov02, "Ｑｏｖ復元");
  EXPECT_EQ(info.HomeDir, defaults.HomeDir);
}

TEST_F(AppInfoTest, EmptyOemCountsAsMissing) {
  WriteIni("[Application]\r\nOEM=\r\n");
  TAppInfoRec info;
  EXPECT_EQ(ReadAppInfo(ProgramPath(), info), -1);
  EXPECT_EQ(info.OEM, "-");
}

TEST_F(AppInfoTest, OemWithoutZaimuSectionReadsEmptyStringsAndDefaultCount) {
  WriteIni("[Application]\r\nOEM=BrannexData\r\nRegKey=\\SOFTWARE\\X\r\n");
  TAppInfoRec info;
  EXPECT_EQ(ReadAppInfo(ProgramPath(), info), 1);
  EXPECT_EQ(info.OEM, "BrannexData");
  EXPECT_EQ(info.RegKey, "\\SOFTWARE\\X");
  EXPECT_EQ(info.AppName, "");
  EXPECT_EQ(info.AppTitle, "");
  EXPECT_EQ(info.DataFile, "");
  EXPECT_EQ(info.DataListCnt, 120);
  EXPECT_EQ(info.VerMajorDiff, 0);
  EXPECT_EQ(OemKindOf(info), 1);
}

TEST_F(AppInfoTest, OddValuesFallBackAndKeysIgnoreCase) {
  WriteIni(
      "[application]\r\noem=X\r\nVerMajorDiff=x\r\nVerMinorDiff= 7 \r\nVerRevDiff=$10\r\nDizudovaBlind=-2\r\n"
      "[ZAIMU]\r\nappname=myapp\r\nAppTitle=コルベクス財務～テスト\r\nDataListCnt=abc\r\nAppTitle_CL=顧問先\r\n"
      "[Menu]\r\nDataConQov01=Ｑｏｖ保存\r\n");
  TAppInfoRec info;
  EXPECT_EQ(ReadAppInfo(ProgramPath(), info), 1);
  EXPECT_EQ(info.OEM, "X");
  EXPECT_EQ(info.VerMajorDiff, 0);
  EXPECT_EQ(info.VerMinorDiff, 7);
  EXPECT_EQ(info.VerRevDiff, 0);  // not a decimal integer
  EXPECT_EQ(info.DizudovaBlind, -2);
  EXPECT_EQ(info.AppName, "myapp");
  EXPECT_EQ(info.AppTitle, "コルベクス財務～テスト");
  EXPECT_EQ(info.AppTitleCl, "顧問先");
  EXPECT_EQ(info.DataListCnt, 120);
  EXPECT_EQ(info.MenuDataConQov01, "Ｑｏｖ保存");
  EXPECT_EQ(OemKindOf(info), 0);
}

TEST_F(AppInfoTest, CloudMemberServiceAndInstallationId) {
  struct Case {
    const char* name;
    const char* ini;
    const char* host;
    const char* id;
  } cases[] = {
      {"both set", "[Application]\r\nOEM=-\r\n[CLOUD]\r\nMemberHost=member.example.jp\r\nInstallationId=INST-0042\r\n",
       "member.example.jp", "INST-0042"},
      {"any case, blanks trimmed", "[Application]\r\nOEM=-\r\n[cloud]\r\nmemberhost= m2.example.jp \r\ninstallationid= 77 \r\n",
       "m2.example.jp", "77"},
      {"section missing", "[Application]\r\nOEM=-\r\n", "member.norvane.example", ""},
      {"empty values", "[Application]\r\nOEM=-\r\n[CLOUD]\r\nMemberHost=\r\nInstallationId=\r\n",
       "member.norvane.example", ""},
      {"without OEM the built-in values", "[CLOUD]\r\nMemberHost=ignored.example.jp\r\nInstallationId=X\r\n",
       "member.norvane.example", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteIni(c.ini);
    TAppInfoRec info;
    info.CloudMemberHost = "left over";
    info.CloudInstallationId = "left over";
    ReadAppInfo(ProgramPath(), info);
    EXPECT_EQ(info.CloudMemberHost, c.host);
    EXPECT_EQ(info.CloudInstallationId, c.id);
  }
}

TEST_F(AppInfoTest, UnreadableFileGivesMinusTen) {
  // A folder named like the file exists but cannot be read as one.
  fs::create_directories(dir_ / "AppInfo.ini");
  TAppInfoRec info;
  EXPECT_EQ(ReadAppInfo(ProgramPath(), info), -10);
}

TEST(AppInfoSettings, BuiltInConstantsAndStartUpCopy) {
  EXPECT_EQ(DataFile, "rqacc.fdb");
  EXPECT_EQ(DataListCnt, 120);
  EXPECT_EQ(BackupFileName, "rqacc.fbk");

  const auto savedColors = DefaultGridColors;
  const auto savedFiles = InitDataFiles;
  TAppInfoRec info;
  SetDefaultAppInfo(info);
  info.DataInitFile = "init%d.gbk";
  info.DataFile = "other.fdb";
  info.DataListCnt = 30;
  info.DizudovaDataDir = "cash";
  CopyAppInfoToSettings(info);
  EXPECT_EQ(DataFile, "other.fdb");
  EXPECT_EQ(DataListCnt, 30);
  EXPECT_EQ(CashBookDataDir, "cash");
  EXPECT_EQ(InitDataFiles[0], "init11.gbk");
  EXPECT_EQ(InitDataFiles[3], "init23.gbk");
  EXPECT_EQ(InitDataFiles[4], "acc24.gbk");
  EXPECT_EQ(InitDataFiles[5], "init31.gbk");

  ApplyOemGridColors(0);
  EXPECT_EQ(DefaultGridColors, savedColors);
  ApplyOemGridColors(1);
  EXPECT_EQ(DefaultGridColors[5], 0xF2FFEE);
  EXPECT_EQ(DefaultGridColors[6], 0xD6FFC8);
  EXPECT_EQ(DefaultGridColors[7], 0x008000);
  EXPECT_EQ(DefaultGridColors[0], 0xDBDBDB);

  // Back to the built-in state for other tests.
  DefaultGridColors = savedColors;
  InitDataFiles = savedFiles;
  SetDefaultAppInfo(info);
  CopyAppInfoToSettings(info);
  DataFile = "rqacc.fdb";
  InitDataFiles = savedFiles;
}

}  // namespace
