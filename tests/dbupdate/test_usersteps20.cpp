// The accounting steps 1.0.5, 2.0.0 and 2.0.4, each run through its step
// procedure on a data set brought from its first version to 0.2.2 by the
// steps before (real Firebird, real isql-fb). The 0.2.2 database is built
// once and copied for every test.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/updatescript.h"
#include "dbupdate/userstepprocs.h"
#include "updatefixture.h"

using updatetest::UpdateTest;
namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

class UserSteps20 : public UpdateTest {
 protected:
  static std::string template_;

  static void TearDownTestSuite() {
    std::error_code ec;
    if (!template_.empty()) fs::remove_all(fs::path(template_).parent_path(), ec);
    template_.clear();
  }

  void SetUp() override {
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    CreateDataModule();
    AccInf = TACCINF{};
    if (template_.empty()) BuildTemplate();
    fs::copy_file(template_, DataSetFile(), fs::copy_options::overwrite_existing);
  }
  void TearDown() override {
    FreeDataModule();
    AccInf = TACCINF{};
    UpdateTest::TearDown();
  }

  // A corporation's data set at 0.2.2 with branch 01, a few accounts and a
  // model description dictionary.
  void BuildTemplate() {
    CreateDataSetDatabase(DataSetFile(), "first/0.1.0.sql");
    for (const char* sql : {"INSERT INTO ACCDEF1 (REC, DATATYPE, CODETYPE, KAISINO) VALUES (1, 1, 1, 4)",
                            "INSERT INTO SISETUMST (SCODE) VALUES ('01')",
                            "INSERT INTO BUMONMST (BCODE) VALUES (' ')"})
      Exec(DataSetFile(), sql);
    // The accounts that the fixed-asset templates name, with their own sub-account rows.
    AddDepreciationAccounts(DataSetFile());
    for (TDbUpdateStepCall step : {&ExecUserDbUpdate011, &ExecUserDbUpdate012, &ExecUserDbUpdate013,
                                   &ExecUserDbUpdate014, &ExecUserDbUpdate015, &ExecUserDbUpdate020,
                                   &ExecUserDbUpdate021, &ExecUserDbUpdate022})
      Run(step);
    ASSERT_EQ(Version(), Lines{"1:0.2.2"});
    std::string pattern = (fs::temp_directory_path() / "dbupdate-022-XXXXXX").string();
    const std::string folder = mkdtemp(pattern.data());
    template_ = folder + "/rqacc.fdb";
    fs::copy_file(DataSetFile(), template_);
  }

  Lines Version() { return Rows(DataSetFile(), "SELECT REC||':'||MAJOR||'.'||MINOR1||'.'||MINOR2 FROM ACCVERSION"); }
  void SetVersion(int Major, int Minor, int Rev) {
    Exec(DataSetFile(), "UPDATE ACCVERSION SET MAJOR=" + std::to_string(Major) + ", MINOR1=" + std::to_string(Minor) +
                            ", MINOR2=" + std::to_string(Rev));
  }
  void Run(TDbUpdateStepCall Step) {
    ASSERT_EQ(RunDbUpdateStep(Step), urDone) << ReadFile(Folder("log/ErrDataup.txt"));
    EXPECT_TRUE(shown_.empty()) << shown_[0].text;
  }
  Lines Q(const std::string& Sql) { return Rows(DataSetFile(), Sql); }
};

std::string UserSteps20::template_;

// ---------------------------------------------------------------- 1.0.5

TEST_F(UserSteps20, TotalItemNamesByCompanyKind105) {
  for (const char* sql : {"INSERT INTO ORGDIC_1 (REC, CREC, SORTCODE, TEXT) VALUES (1, 0, 1, '売上')",
                          "INSERT INTO ORGDIC_1 (REC, CREC, SORTCODE, TEXT) VALUES (2, 7, 2, '仕入')",
                          "INSERT INTO ORGDIC_1 (REC, SORTCODE, TEXT) VALUES (3, 3, '経費')",
                          "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (1, 2, 3)"})
    Exec(DataSetFile(), sql);

  // The row set follows the company kind; each run replaces the rows of the one before.
  struct Case {
    int dataType, codeType;
    const char* counts;  // rows, KESKUBUN 1 rows, rows with a negative name
    Lines rows;          // groups 1380, 3480, 5880 and 8400
  };
  const Case cases[] = {
      {1, 1, "38 1 5",
       {"1380|2|4|その他流動資産|その他流動資産合計||0|その他流動資産|14|1||0",
        "3480|0|23|株主資本|株主資本合計||0|株主資本|8|1|株主資本|1",
        "5880|0|35|当期製造原価|当期製造原価||0|当期製造原価|12|0|製造原価報告書|1",
        "8400|0|45|当期純利益|当期純利益|当期純損失|1||0|1||0"}},
      {1, 3, "38 1 5", {}},
      {2, 1, "31 0 3",
       {"1380|2|4|その他流動資産|その他流動資産計||0|その他流動資産|14|1||0",
        "3480|0|23|青色申告特別控除前|青申特別控除前所得||0||0|1||0",
        "5880|0|35|当期製造原価|当期製造原価||0|当期製造原価|12|0||0",
        "8400|0|45|青色申告特別控除前|青申特別控除前所得||0||0|1||0"}},
      {2, 2, "24 0 2",
       {"1380|0|4|その他流動資産計|その他流動資産計||0|その他流動資産|14|1||0",
        "3480|0|23|青色申告特別控除前|青申特別控除前所得||0||0|1||0",
        "8400|0|45|青色申告特別控除前|青申特別控除前所得||0||0|1||0"}},
      {2, 3, "0 0 0", {}},
      {2, 4, "0 0 0", {}},
      {3, 1, "0 0 0", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dataType) + "/" + std::to_string(c.codeType));
    AccInf.DATATYPE = c.dataType;
    AccInf.CODETYPE = c.codeType;
    SetVersion(1, 0, 3);
    Run(&ExecUserDbUpdate105);
    EXPECT_EQ(Version(), Lines{"1:1.0.5"});
    EXPECT_EQ(Q("SELECT COUNT(*)||' '||COUNT(IIF(KESKUBUN=1, 1, NULL))||' '||COUNT(IIF(MINUSNAME<>'', 1, NULL)) "
                "FROM ACCTOTALNAME"),
              Lines{c.counts});
    if (!c.rows.empty()) {
      EXPECT_EQ(Q("SELECT KGROUP||'|'||KESKUBUN||'|'||ARRAYNUM||'|'||KOUMOKU||'|'||PLUSNAME||'|'||MINUSNAME||'|'||"
                  "MODIFY||'|'||LAYOUT_TEXT||'|'||LAYOUT_MAX||'|'||LAYOUT_USE||'|'||KESSAN_TEXT||'|'||KESSAN_USE "
                  "FROM ACCTOTALNAME WHERE KGROUP IN ('1380', '3480', '5880', '8400') ORDER BY REC"),
                c.rows);
    }
    // Numbered from 1 without gaps, version 1 everywhere.
    EXPECT_EQ(Q("SELECT COUNT(*) FROM ACCTOTALNAME WHERE VERSION<>1 OR REC<1 OR REC>(SELECT COUNT(*) FROM "
                "ACCTOTALNAME)"),
              Lines{"0"});
  }

  // The titles without a classification number take their record number.
  EXPECT_EQ(Q("SELECT LIST(REC||':'||CREC, ' ') FROM (SELECT REC, CREC FROM ORGDIC_1 ORDER BY REC)"),
            Lines{"1:1 2:7 3:3"});
  EXPECT_EQ(Q("SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME='ONE_TIME_PROC'"), Lines{"0"});
  // The job-control table is new and empty.
  EXPECT_EQ(Q("SELECT COUNT(*) FROM JOBCONTROL"), Lines{"0"});
  EXPECT_EQ(Q("SELECT LIST(TRIM(RDB$FIELD_NAME), ',') FROM (SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS "
              "WHERE RDB$RELATION_NAME='JOBCONTROL' ORDER BY RDB$FIELD_POSITION)"),
            Lines{"REC,LEVELNO,PAGENO,MENUNO"});
  Exec(DataSetFile(), "INSERT INTO JOBCONTROL (REC) VALUES (1)");
  EXPECT_EQ(Q("SELECT LEVELNO||PAGENO||MENUNO FROM JOBCONTROL"), Lines{"100"});
  // The item table's columns in order, the input-screen name 14 characters wide.
  EXPECT_EQ(Q("SELECT LIST(TRIM(RDB$FIELD_NAME), ',') FROM (SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS "
              "WHERE RDB$RELATION_NAME='ACCTOTALNAME' ORDER BY RDB$FIELD_POSITION)"),
            Lines{"REC,VERSION,KGROUP,KESKUBUN,ARRAYNUM,KOUMOKU,PLUSNAME,MINUSNAME,MODIFY,LAYOUT_TEXT,LAYOUT_MAX,"
                  "LAYOUT_USE,KESSAN_TEXT,KESSAN_USE"});
  EXPECT_EQ(Q("SELECT F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON "
              "F.RDB$FIELD_NAME=RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME='ACCTOTALNAME' AND "
              "RF.RDB$FIELD_NAME='KOUMOKU'"),
            Lines{"14"});
}

// The data module reads one column of a group's row; a group without a row,
// or a data set whose kind has no rows, reads as empty.
TEST_F(UserSteps20, TotalItemNamesAreReadByGroup105) {
  struct Read {
    const char* group;
    const char* column;
    const char* expected;
  };
  struct Case {
    int dataType, codeType;
    std::vector<Read> reads;
  };
  const Case cases[] = {
      {1, 1,
       {{"5880", "PLUSNAME", "当期製造原価"}, {"8400", "MINUSNAME", "当期純損失"},
        {"3580", "PLUSNAME", "評価・換算差額等合計"}, {"1780", "KESSAN_TEXT", "投資その他の資産"},
        {"5688", "PLUSNAME", ""}}},
      {2, 1, {{"5580", "PLUSNAME", "材料費計"}, {"8400", "KOUMOKU", "青色申告特別控除前"}}},
      {2, 2, {{"1900", "KOUMOKU", "資産の部合計"}, {"5880", "PLUSNAME", ""}}},
      {3, 1, {{"5880", "PLUSNAME", ""}, {"1180", "PLUSNAME", ""}}},
  };
  for (const Case& c : cases) {
    AccInf.DATATYPE = c.dataType;
    AccInf.CODETYPE = c.codeType;
    SetVersion(1, 0, 3);
    Run(&ExecUserDbUpdate105);
    ASSERT_TRUE(DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false));
    for (const Read& r : c.reads)
      EXPECT_EQ(DataSetConnection().fnGetAccTotalName(r.group, r.column), r.expected)
          << c.dataType << "/" << c.codeType << " " << r.group << " " << r.column;
    DataSetConnection().AccDatDisconnect(SystemDef.DataDir, false, false);
    EXPECT_TRUE(shown_.empty());
  }
}

}  // namespace
