// The figures that the procedures of the accounting database's step to 0.2.2
// return, on small data sets of a database taken from its first version
// (schema/dataset/first/0.1.0.sql) through every step to 0.2.2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/userstepprocs.h"
#include "dbupdate/updatescript.h"
#include "updatefixture.h"

using updatetest::UpdateTest;

namespace {

using Lines = std::vector<std::string>;

class UserProcs022 : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    CreateDataModule();
    db_ = DataSetFile();
    CreateDataSetDatabase(db_, "first/0.1.0.sql");
    AddDepreciationAccounts(db_);
    for (TDbUpdateStepCall step : {&ExecUserDbUpdate011, &ExecUserDbUpdate012, &ExecUserDbUpdate013,
                                   &ExecUserDbUpdate014, &ExecUserDbUpdate015, &ExecUserDbUpdate020,
                                   &ExecUserDbUpdate021, &ExecUserDbUpdate022})
      ASSERT_EQ(RunDbUpdateStep(step), urDone) << ReadFile(Folder("log/ErrDataup.txt"));
    ASSERT_TRUE(shown_.empty()) << shown_[0].text;
  }
  void TearDown() override {
    FreeDataModule();
    UpdateTest::TearDown();
  }
  void Exec(const Lines& Sql) {
    for (const std::string& s : Sql) UpdateTest::Exec(db_, s);
  }
  // An account of group Group (its blank sub-account comes with it).
  void Account(const std::string& Kcode, const std::string& Group, const std::string& Name) {
    Exec({"INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM0, GROUPM1, DAC, BPFLG) VALUES ('" + Kcode + "', '" +
          Kcode.substr(0, 3) + "', '" + Name + "', '" + Group + "', '" + Group + "', 1, 'B')"});
  }
  std::string db_;
};

// Branch 01 books every account by department. Group G1 holds departments 10
// and 20, G2 department 30 alone, G3 department 10 and the blank department.
// Received tax (kind 1) of period 1: 80 in department 10, 40 in 20, 1000 in
// 30, 35 in the common department, 3000 in the blank one, and 500 in branch
// 02's department 10; paid tax (kind 2) of period 2: 30 in 10, 7 in 20, 25 in
// the common department. The received-tax account 2190 has direct credits of
// 5 (tax 1), 6 and 100 in period 1 in departments 10, 20 and 30; every tax
// account row has 30 % ratios, which a group does not use. Cash 1120 has
// sub-account 001 with opening balances of 100, 50 and 999 in departments
// 10, 20 and 30, sub-account 002 in department 30 only, and an empty row of
// its own in department 10.
TEST_F(UserProcs022, GroupTrialBalanceSumsItsDepartmentsAndTheirTaxTotals) {
  Exec({"INSERT INTO ACCDEF1 (REC, DATATYPE, KAISINO, BUMON) VALUES (1, 1, 1, 2)",
        "INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G1', '10')",
        "INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G1', '20')",
        "INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G2', '30')",
        "INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G3', '10')",
        "INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G3', ' ')"});
  Account("1120", "1100", "現金");
  Account("1190", "1100", "仮払消費税");
  Account("2190", "2100", "仮受消費税");
  Exec({"INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1120', '001', '小口')",
        "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1120', '002', '別口')"});
  for (const char* tax : {"'01', '10', 1, 1, 0, 80", "'01', '20', 1, 1, 0, 40", "'01', '30', 1, 1, 0, 1000",
                          "'01', '00', 1, 1, 0, 35", "'01', ' ', 1, 1, 0, 3000", "'02', '10', 1, 1, 0, 500",
                          "'01', '10', 2, 2, 30, 0", "'01', '20', 2, 2, 7, 0", "'01', '00', 2, 2, 25, 0"})
    Exec({std::string("INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES (") + tax + ")"});
  for (const char* kcode : {"1190", "2190"})
    for (const char* bcode : {"10", "20", "30", "00"})
      Exec({std::string("INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, HAIBUN01, HAIBUN02) VALUES ('01', '") +
            kcode + "', ' ', '" + bcode + "', 30, 30)"});
  Exec({"INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, KAS_NUK, KAS_TAX) VALUES ('01', '2190', ' ', '10', 1, 5, 1)",
        "INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, KAS_NUK) VALUES ('01', '2190', ' ', '20', 1, 6)",
        "INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, KAS_NUK) VALUES ('01', '2190', ' ', '30', 1, 100)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', '001', '10', 100)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', '001', '20', 50)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', '001', '30', 999)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', '002', '30', 1)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', ' ', '10', 0)"});

  // Account[sub-account]name count|opening|paid-tax debit of period 2|received-tax credit of period 1.
  const std::string columns = "SELECT KCODE||'['||HCODE||']'||HNAME||' '||HOJCNT, CAST(KAISIZAN AS INTEGER), "
                              "CAST(KAR02 AS INTEGER), CAST(KAS01 AS INTEGER) FROM SP_SISANHYO_BUMON_GROUP(";
  struct Case {
    const char* args;
    Lines expected;
  };
  const Case cases[] = {
      // With tax: the journal amounts of the two departments, tax included.
      {"0, '01', 'G1'", {"1120[] 1|150|0|0", "1120[001]小口 1|150|0|0", "1190[] 0|0|0|0", "2190[] 0|0|0|12"}},
      // Net: the tax totals of each department of the group, not the common department's share.
      {"1, '01', 'G1'", {"1120[] 1|150|0|0", "1120[001]小口 1|150|0|0", "1190[] 0|0|37|0", "2190[] 0|0|0|131"}},
      {"1, '01', 'G2'",
       {"1120[] 2|1000|0|0", "1120[001]小口 2|999|0|0", "1120[002]別口 2|1|0|0", "1190[] 0|0|0|0",
        "2190[] 0|0|0|1100"}},
      // The blank department's tax rows are not the whole branch's.
      {"1, '01', 'G3'", {"1120[] 1|100|0|0", "1120[001]小口 1|100|0|0", "1190[] 0|0|30|0", "2190[] 0|0|0|85"}},
      {"1, '01', 'G9'", {}},
      {"1, '02', 'G1'", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Rows(db_, columns + c.args + ")"), c.expected);
  }
}

}  // namespace
