// Step 5.0.0 of the system database for the OEM kinds: the ten code systems
// read from the step's script folder into the code-system records before its
// script runs, and a code system that cannot be imported failing the step.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "core/appinfo.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/dm.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/systemstepprocs.h"
#include "dbupdate/updatescript.h"
#include "platform/rtl/cp932.h"
#include "updatefixture.h"

namespace fs = std::filesystem;
using updatetest::UpdateTest;

namespace {

class SystemStep500 : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    savedOem_ = AppInfo.OEM;
    CreateDataModule();
    // The system database at the version before 5.0.0, brought there once.
    if (Prepared().empty()) {
      CreateSystemDatabase(SystemFile(), "first/0.3.0.sql");
      TDbUpdateBox box;
      for (const TDbUpdateListRec& step : box.SystemSteps) {
        if (step.major >= 5) break;
        ASSERT_EQ(RunDbUpdateStep(step.StepProc), urDone) << step.Title;
      }
      Prepared() = fs::temp_directory_path() / ("step500-" + std::to_string(::getpid()) + ".fdb");
      fs::copy_file(SystemFile(), Prepared(), fs::copy_options::overwrite_existing);
    } else {
      fs::copy_file(Prepared(), SystemFile(), fs::copy_options::overwrite_existing);
    }
  }
  static void TearDownTestSuite() {
    if (!Prepared().empty()) fs::remove(Prepared());
    Prepared().clear();
  }
  static fs::path& Prepared() {
    static fs::path path;
    return path;
  }
  void TearDown() override {
    OemKind = 0;
    AppInfo.OEM = savedOem_;
    FreeDataModule();
    UpdateTest::TearDown();
  }
  void BecomeOem() {
    OemKind = 1;
    AppInfo.OEM = OemWord;
  }
  std::vector<std::string> CodeSystems() const {
    return Rows(SystemFile(), "SELECT RECNO||' '||NAME||' '||DATATYPE||' '||CODETYPE FROM USERCODE "
                              "WHERE RECNO<=10 ORDER BY RECNO");
  }
  std::vector<std::string> Versions() const {
    return Rows(SystemFile(), "SELECT MAJOR||'.'||MINOR1||'.'||MINOR2 FROM VERSION ORDER BY REC DESC ROWS 1");
  }
  std::string savedOem_;
};

TEST_F(SystemStep500, TheOemKindsImportTheTenCodeSystemsBeforeTheScript) {
  BecomeOem();
  ASSERT_EQ(RunDbUpdateStep(&ExecSystemDbUpdate500), urDone) << ReadFile(Folder("log/ErrDataup.txt"));
  EXPECT_EQ(CodeSystems(), (std::vector<std::string>{
                               "1 販売業 1 1", "2 製造業 1 2", "3 建設業 1 3", "4 運送業 1 4", "5 病院 3 1",
                               "6 その他 1 5", "7  0 0", "8 個人　一般 2 1", "9 個人　不動産 2 2",
                               "10 個人　医業 2 3"}));
  // The template lines land in their blobs, CR LF ended.
  const std::vector<std::string> header = Rows(SystemFile(), "SELECT INIDAT1 FROM USERCODE WHERE RECNO=10");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0], "1,個人　医業,2,3,1.0,BrannexData");
  const std::vector<std::string> accounts = Rows(SystemFile(), "SELECT INIDAT2 FROM USERCODE WHERE RECNO=5");
  ASSERT_EQ(accounts.size(), 1u);
  EXPECT_NE(accounts[0].find("2,514,入院診療収益\r\n"), std::string::npos);
  EXPECT_EQ(Versions(), std::vector<std::string>{"5.0.0"});
}

TEST_F(SystemStep500, TheStandardProductImportsNoCodeSystem) {
  ASSERT_EQ(RunDbUpdateStep(&ExecSystemDbUpdate500), urDone);
  for (const std::string& row : CodeSystems()) EXPECT_EQ(row.substr(row.find(' ')), "  0 0");
  EXPECT_EQ(Versions(), std::vector<std::string>{"5.0.0"});
}

// A code system that is missing, made for another product, or without a
// header fails the step: the version stays, the script never runs.
TEST_F(SystemStep500, ACodeSystemThatCannotBeImportedFailsTheStep) {
  struct Case {
    const char* what;
    const char* content;  // nullptr: the file is removed
  };
  const Case cases[] = {
      {"missing", nullptr},
      {"another product", "1,運送業,1,4,1.0,OtherProduct\r\n2,111,現金\r\n"},
      {"no header", "2,111,現金\r\n"},
  };
  BecomeOem();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string sql = Folder(std::string("sql-") + c.what);
    fs::copy(InstalledScriptFolder(), sql, fs::copy_options::recursive);
    SystemDef.SqlDir = sql;
    const fs::path file = fs::path(sql) / "500" / "運送業.txt";
    if (c.content == nullptr) {
      fs::remove(file);
    } else {
      std::ofstream(file, std::ios::binary | std::ios::trunc) << Utf8ToCp932(c.content);
    }
    EXPECT_EQ(RunDbUpdateStep(&ExecSystemDbUpdate500), urConversionFailed);
    EXPECT_EQ(Versions(), std::vector<std::string>{"4.0.2"});
    EXPECT_TRUE(Rows(SystemFile(), "SELECT RDB$RELATION_NAME FROM RDB$RELATIONS "
                                   "WHERE RDB$RELATION_NAME='DATAPLACEMAN'")
                    .empty());
    EXPECT_FALSE(fs::exists(UpdateScriptPath()));
  }
}

}  // namespace
