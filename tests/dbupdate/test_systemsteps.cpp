// The steps of the system database against real databases: from the first
// version (schema/system/first/0.3.0.sql) through every step to 11.0.1, whose
// schema must equal the one schema/system/11.0.1.sql creates; the data the
// steps write and convert; a missing required script file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/systemstepprocs.h"
#include "dbupdate/updatescript.h"
#include "updatefixture.h"

namespace fs = std::filesystem;
using updatetest::UpdateTest;

namespace {

class SystemSteps : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    CreateDataModule();
  }
  void TearDown() override {
    FreeDataModule();
    UpdateTest::TearDown();
  }
};

TEST_F(SystemSteps, FromTheFirstVersionToTheNewest) {
  CreateSystemDatabase(SystemFile(), "first/0.3.0.sql");
  Exec(SystemFile(), "INSERT INTO SYSTEMINI (REC, RESERVE1, RESERVE2, SSTR) VALUES (10, 1, 5, "
                     "'NAME=試験事務所' || ASCII_CHAR(13) || 'JYUSHO=東京都' || ASCII_CHAR(13) || 'TEL=03-0000')");
  Exec(SystemFile(), "INSERT INTO SYSDEF (OPCODE, DICTEKAUTO, DICTORAUTO) VALUES (100000010, 0, 2)");
  Exec(SystemFile(), "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (5, 1, 0)");
  Exec(SystemFile(), "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (5, 3, 19)");  // a free slot
  Exec(SystemFile(), "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (1001, 10, 0)");
  TDbUpdateBox box;
  for (const TDbUpdateListRec& step : box.SystemSteps) {
    SCOPED_TRACE(step.Title);
    ASSERT_EQ(RunDbUpdateStep(step.StepProc), urDone) << ReadFile(Folder("log/ErrDataup.txt"));
  }
  EXPECT_TRUE(shown_.empty()) << shown_[0].text;

  const std::string expected = Folder("data/expected.fdb");
  CreateSystemDatabase(expected, "11.0.1.sql");
  EXPECT_EQ(SchemaOf(SystemFile()), SchemaOf(expected));

  const std::vector<std::string> versions =
      Rows(SystemFile(), "SELECT REC||':'||MAJOR||'.'||MINOR1||'.'||MINOR2 FROM VERSION ORDER BY REC");
  ASSERT_EQ(versions.size(), 18u);
  EXPECT_EQ(versions.front(), "1:0.3.0");
  EXPECT_EQ(versions[1], "2:0.3.1");
  EXPECT_EQ(versions.back(), "18:11.0.1");
  EXPECT_EQ(Rows(SystemFile(), "SELECT OPNAME||'|'||PASWORD||'|'||JOBLEVEL FROM OPERATOR"),
            std::vector<std::string>{"システムユーザー||9"});
  EXPECT_EQ(Rows(SystemFile(), "SELECT GNAME||GSIGN FROM GENGO ORDER BY STARTDATE"),
            (std::vector<std::string>{"明治M", "大正T", "昭和S", "平成H", "令和R"}));
  EXPECT_EQ(Rows(SystemFile(), "SELECT COUNT(*)||' '||MAX(RECNO) FROM USERCODE"), std::vector<std::string>{"20 20"});
  EXPECT_EQ(Rows(SystemFile(), "SELECT RESERVE2||' '||RESERVE3 FROM SYSTEMINI WHERE REC=10"),
            std::vector<std::string>{"63 1"});
  EXPECT_EQ(SystemDef.OfficeName, "試験事務所");
  // The standard data place: the folder does not fit the name column.
  EXPECT_EQ(Rows(SystemFile(), "SELECT NAME||'|'||PATH FROM DATAPLACEMAN WHERE REC=0"),
            std::vector<std::string>{"標準の場所|" + Folder("data")});
  EXPECT_EQ(Rows(SystemFile(), "SELECT COUNT(*)||' '||MAX(ORDERKBN)||' '||MAX(PATH) FROM DATAPLACEMAN"),
            std::vector<std::string>{"100 100 " + Folder("data") + "99"});
  EXPECT_EQ(Rows(SystemFile(), "SELECT LEVELNO||' '||PROC_ID||' '||PROC_OPTION FROM JOBCONTROL2 ORDER BY 1"),
            (std::vector<std::string>{"5 WzSiwake SyoriType=1"}));
  EXPECT_EQ(Rows(SystemFile(), "SELECT PAGENO FROM JOBCONTROL WHERE LEVELNO=1001"), std::vector<std::string>{"11"});
  std::vector<std::string> settings =
      Rows(SystemFile(), "SELECT TRIM(SCODE)||'='||STEXT FROM SYSREG WHERE OPCODE=100000010 AND SCODE LIKE '%＿%'");
  std::sort(settings.begin(), settings.end());
  EXPECT_EQ(settings, (std::vector<std::string>{"取引先＿入力なし区分=0", "取引先＿自動開く区分=1", "取引先＿辞書開く区分=0",
                                      "取引先＿連想開く区分=1", "摘要＿入力なし区分=0", "摘要＿自動開く区分=0",
                                      "摘要＿辞書開く区分=1", "摘要＿連想開く区分=0"}));
}

TEST_F(SystemSteps, StandardDataPlaceName) {
  EXPECT_EQ(StandardDataPlaceName("/srv/data"), "/srv/data");
  EXPECT_EQ(StandardDataPlaceName("/srv/12345678901234"), "/srv/12345678901234");       // 20 characters
  EXPECT_EQ(StandardDataPlaceName("/srv/1234567890123456"), "標準の場所");              // 21
  EXPECT_EQ(StandardDataPlaceName("/データ/会計/事務所/共有"), "/データ/会計/事務所/共有");  // 15, 27 bytes
  EXPECT_EQ(StandardDataPlaceName("/データデータ/会計会計会計/事務所事務所"), "標準の場所");  // 41 bytes
}

TEST_F(SystemSteps, ARequiredScriptFileMissing) {
  const std::string sql = Folder("sql");
  fs::copy(InstalledScriptFolder(), sql, fs::copy_options::recursive);
  SystemDef.SqlDir = sql;
  fs::remove(sql + "/1101/sysup02.sql");
  CreateSystemDatabase(SystemFile(), "first/0.3.0.sql");
  EXPECT_EQ(RunDbUpdateStep(&ExecSystemDbUpdate1101), urFileMissing);
  EXPECT_FALSE(fs::exists(UpdateScriptPath()));
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(Rows(SystemFile(), "SELECT COUNT(*) FROM VERSION"), std::vector<std::string>{"1"});
}

}  // namespace
