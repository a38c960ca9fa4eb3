// The steps of the accounting database against real databases created from
// its first version (schema/dataset/first/0.1.0.sql), run through the update
// script runner and the real isql-fb.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/userstepprocs.h"
#include "dbupdate/updatescript.h"
#include "updatefixture.h"

using updatetest::UpdateTest;

namespace {

class UserSteps : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    CreateDataModule();
    CreateDataSetDatabase(DataSetFile(), "first/0.1.0.sql");
  }
  void TearDown() override {
    FreeDataModule();
    UpdateTest::TearDown();
  }
  std::vector<std::string> Version() {
    return Rows(DataSetFile(), "SELECT REC||':'||MAJOR||'.'||MINOR1||'.'||MINOR2 FROM ACCVERSION");
  }
  void Run(TDbUpdateStepCall Step) {
    ASSERT_EQ(RunDbUpdateStep(Step), urDone) << ReadFile(Folder("log/ErrDataup.txt"));
    EXPECT_TRUE(shown_.empty()) << shown_[0].text;
  }
};

TEST_F(UserSteps, TheFirstVersionIsCreated) {
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.0"});
  EXPECT_FALSE(UserDbHasColumn("ACCDEF1", "SDAI_HASUU3"));
  EXPECT_FALSE(UserDbHasColumn("ACCDEF1", "KESSAN_KIKAN"));
  EXPECT_TRUE(UserDbHasColumn("ACCDEF1", "SDAI_HASUU1"));
  EXPECT_FALSE(UserDbHasColumn("NO_SUCH_TABLE", "REC"));
}

TEST_F(UserSteps, AuditItemsAndPeriodColumns013) {
  Exec(DataSetFile(), "INSERT INTO ACCDEF1 (REC) VALUES (1)");
  Exec(DataSetFile(), "INSERT INTO KANSA (REC, TITLE) VALUES (7, 'old')");
  Run(&ExecUserDbUpdate013);
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.3"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT REC||'|'||TITLE||'|'||NOTE FROM KANSA"),
            std::vector<std::string>{"1|監査報告書|監査対象期間において、下記項目の監査が完了致しましたのでご報告申し上げます。"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT REC||'|'||JUNJO||'|'||TEXT||'|'||NOTE||'|'||PRINT||'|'||KENSAKU FROM KANSA_ITEM"),
            std::vector<std::string>{"1|1|現・預金の残高確認|現・預金の残高を確認しました。|0|0"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS WHERE RDB$RELATION_NAME='KANSA_ITEM' "
                                "AND RDB$CONSTRAINT_TYPE='FOREIGN KEY'"),
            std::vector<std::string>{"8"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT SDAI_HASUU3||' '||KESSAN_KIKAN||' '||CASHFLOW_KIKAN1||' '||CASHFLOW_KIKAN2 "
                                "FROM ACCDEF1"),
            std::vector<std::string>{"0 -1 -1 -1"});

  // Run again on a database that already has the table, its references and the
  // columns: the guarded drops and the probes let it pass.
  Exec(DataSetFile(), "INSERT INTO KANSA_ITEM (REC) VALUES (2)");
  Exec(DataSetFile(), "UPDATE ACCVERSION SET MINOR2=2");
  Run(&ExecUserDbUpdate013);
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.3"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM KANSA_ITEM"), std::vector<std::string>{"1"});
}

TEST_F(UserSteps, VersionOnly020) {
  Run(&ExecUserDbUpdate020);
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.2.0"});
}

// Branch 01 uses department 10 for account 1110; branch 02 has no departments.
TEST_F(UserSteps, EarlierYearBalances021) {
  Exec(DataSetFile(), "INSERT INTO KAMOKUMST (KCODE, USERCODE) VALUES ('1110', '111')");
  Exec(DataSetFile(), "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('01', '1110', ' ', '10')");
  Exec(DataSetFile(), "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('02', '1110', ' ', ' ')");
  for (const char* branch : {"01", "02"})
    for (int mnum : {-29, -13, 0, 3}) {
      const std::string row = "'" + std::string(branch) + "', '1110', ' ', ' ', " + std::to_string(mnum);
      Exec(DataSetFile(), "INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN, ZEIGAKU, HAIBUN) "
                          "VALUES (" + row + ", 500, 40, " + (mnum == 3 ? "25" : "0") + ")");
    }
  Run(&ExecUserDbUpdate021);
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.2.1"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT SCODE||' '||MNUM||' '||CAST(NUKIZAN AS INTEGER)||' '||CAST(ZEIGAKU AS "
                                "INTEGER)||' '||CAST(HAIBUN AS INTEGER) FROM KAMOKU_PZ ORDER BY SCODE, MNUM"),
            (std::vector<std::string>{"01 -29 0 0 25", "01 -13 0 0 25", "01 0 0 0 0", "01 3 500 40 25",
                                      "02 -29 500 40 25", "02 -13 500 40 25", "02 0 500 40 0", "02 3 500 40 25"}));
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME='ONE_TIME_PROC'"),
            std::vector<std::string>{"0"});
}

}  // namespace
