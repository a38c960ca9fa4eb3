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

// Sales 8110 of branch 01 (data from period 3 on) in the common department 00
// and departments 10 and 20, with sub-account 001 in 00 and 10; branch 02 has
// department 10 only. Department 10 takes 25 % of the common budget of period
// 1 and 20 % of period 2; the common department's own ratio of period 1 is
// 50 %. Balance rows carry their own ratios: department 10 takes 12.5 % of
// period -32 and 50 % of period 0, 10 % of period 2 and 50 % of period 3.
TEST_F(UserProcs022, PastBalancesAndBudgetsOfDepartmentsAndBranches) {
  Exec({"INSERT INTO ACCDEF1 (REC, DATATYPE, KAISINO, BUMON) VALUES (1, 1, 3, 2)",
        "INSERT INTO SISETUMST (SCODE) VALUES ('01')", "INSERT INTO SISETUMST (SCODE) VALUES ('02')",
        "INSERT INTO BUMONMST (BCODE) VALUES ('00')", "INSERT INTO BUMONMST (BCODE) VALUES ('10')",
        "INSERT INTO BUMONMST (BCODE) VALUES ('20')"});
  Account("8110", "8100", "売上");
  Exec({"INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('8110', '001', '現金売上')",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, HAIBUN01) VALUES ('01', '8110', ' ', '00', 50)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, HAIBUN01, HAIBUN02) VALUES ('01', '8110', ' ', '10', 25, 20)",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('01', '8110', ' ', '20')",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('01', '8110', '001', '00')",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('01', '8110', '001', '10')",
        "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('02', '8110', ' ', '10')"});
  for (const char* budget : {"'01', ' ', '00', 1, 102", "'01', ' ', '10', 1, 1000", "'01', ' ', '20', 1, 7",
                             "'01', '001', '00', 2, 50", "'01', '001', '10', 2, 3", "'02', ' ', '10', 1, 4000"})
    Exec({std::string("UPDATE OR INSERT INTO KAMOKU_MS (SCODE, HCODE, BCODE, MNUM, BYOSAN, KCODE) VALUES (") + budget +
          ", '8110') MATCHING (SCODE, KCODE, HCODE, BCODE, MNUM)"});
  for (const char* balance : {"'01', '00', -32, 200, 50", "'01', '10', -32, 10, 12.5", "'01', '00', 0, 9, 0",
                              "'01', '10', 0, 1, 50", "'01', '00', 2, 40, 0", "'01', '10', 2, 0, 10",
                              "'01', '00', 3, 1000, 0", "'01', '10', 3, 1000, 50", "'02', '10', -32, 5000, 0"})
    Exec({std::string("UPDATE OR INSERT INTO KAMOKU_PZ (SCODE, BCODE, MNUM, NUKIZAN, HAIBUN, KCODE, HCODE) VALUES (") +
          balance + ", '8110', ' ') MATCHING (SCODE, KCODE, HCODE, BCODE, MNUM)"});

  // Sub-account: periods -32, 0, 2 and 3, budgets of periods 1 and 2.
  const std::string columns = "SELECT KCODE||'['||HCODE||']', CAST(ZANM32 AS INTEGER), CAST(ZANM00 AS INTEGER), "
                              "CAST(ZANP02 AS INTEGER), CAST(ZANP03 AS INTEGER), CAST(YOSAN01 AS INTEGER), "
                              "CAST(YOSAN02 AS INTEGER) FROM ";
  struct Case {
    const char* call;
    Lines expected;
  };
  const Case cases[] = {
      // A department's own figures; period 3 is not an earlier period of a data set starting there.
      {"SP_KANENDO_BUMON_ZANDAKA('01', '10', 0)", {"8110[ ]|10|1|0|0|1000|0", "8110[001]|0|0|0|0|0|3"}},
      {"SP_KANENDO_BUMON_ZANDAKA('01', '00', 0)", {"8110[ ]|200|9|40|0|102|0", "8110[001]|0|0|0|0|0|50"}},
      // Plus its share of the common department, half up: 25 of 200, 4.5 of 9 is 5, 4 of 40, 25.5 of 102
      // is 26; the sub-account's budget by the account's ratio, 10 of 50.
      {"SP_KANENDO_BUMON_ZANDAKA('01', '10', 1)", {"8110[ ]|35|6|4|0|1026|0", "8110[001]|0|0|0|0|0|13"}},
      // A department without ratios or balance rows keeps its own figures.
      {"SP_KANENDO_BUMON_ZANDAKA('01', '20', 1)", {"8110[ ]|0|0|0|0|7|0"}},
      // The common department itself: its share by its own ratios only.
      {"SP_KANENDO_BUMON_ZANDAKA('01', '00', 1)", {"8110[ ]|100|0|0|0|51|0", "8110[001]|0|0|0|0|0|0"}},
      {"SP_KANENDO_BUMON_ZANDAKA('02', '10', 1)", {"8110[ ]|5000|0|0|0|4000|0"}},
      {"SP_KANENDO_BUMON_ZANDAKA('01', '30', 1)", {}},
      // A branch summed over its departments, or every branch.
      {"SP_KANENDO_ZANDAKA('01')", {"8110[ ]|210|10|40|0|1109|0", "8110[001]|0|0|0|0|0|53"}},
      {"SP_KANENDO_ZANDAKA('')", {"8110[ ]|5210|10|40|0|5109|0", "8110[001]|0|0|0|0|0|53"}},
      {"SP_KANENDO_ZANDAKA('03')", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    EXPECT_EQ(Rows(db_, columns + c.call), c.expected);
  }
}

// Branch 01: sales 8110 (group 1000) in department 20, cash 1120 and 1130
// (group 1100) in department 10, 1120 also in 20, and 9910 of group 9910.
// Cash 1120 of department 10 has a balance in periods -32 (1 net, 10 tax),
// -31, -16, -15, 0, 1 (6 net, 60 tax) and 16, and 100 (tax 1000) in period
// -32 in department 20; its sub-account 001 and branch 02 have others.
TEST_F(UserProcs022, PeriodBalancesOfEveryAccountWithOrWithoutTax) {
  Exec({"INSERT INTO ACCDEF1 (REC, DATATYPE, KAISINO, BUMON) VALUES (1, 1, 1, 2)",
        "INSERT INTO SISETUMST (SCODE) VALUES ('01')", "INSERT INTO SISETUMST (SCODE) VALUES ('02')",
        "INSERT INTO BUMONMST (BCODE, BNAME) VALUES ('10', '営業')",
        "INSERT INTO BUMONMST (BCODE, BNAME) VALUES ('20', '製造')"});
  Account("8110", "1000", "売上");
  Account("1120", "1100", "現金");
  Account("1130", "1100", "小口現金");
  Account("9910", "9910", "集計");
  Exec({"INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('1120', '001')"});
  for (const char* row : {"'01', '8110', ' ', '20'", "'01', '1120', ' ', '10'", "'01', '1120', ' ', '20'",
                          "'01', '1130', ' ', '10'", "'01', '9910', ' ', '10'", "'01', '1120', '001', '10'",
                          "'02', '1120', ' ', '10'"})
    Exec({std::string("INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES (") + row + ")"});
  for (const char* balance :
       {"'01', '1120', ' ', '10', -32, 1, 10", "'01', '1120', ' ', '10', -31, 2, 0", "'01', '1120', ' ', '10', -16, 3, 0",
        "'01', '1120', ' ', '10', -15, 4, 0", "'01', '1120', ' ', '10', 0, 5, 0", "'01', '1120', ' ', '10', 1, 6, 60",
        "'01', '1120', ' ', '10', 16, 7, 0", "'01', '1120', ' ', '20', -32, 100, 1000",
        "'01', '1120', '001', '10', 1, 9999, 0", "'02', '1120', ' ', '10', 1, 777, 0",
        "'01', '8110', ' ', '20', 16, 8, 0", "'01', '9910', ' ', '10', 1, 5, 0"})
    Exec({std::string("UPDATE OR INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN, ZEIGAKU) VALUES (") +
          balance + ") MATCHING (SCODE, KCODE, HCODE, BCODE, MNUM)"});

  // Periods -32, -31, -16, -15, 0, 1 and 16.
  const std::string columns =
      "SELECT KGROUP, KCODE||'['||BCODE||']'||BNAME, CAST(ZZZ_ZAN16 AS INTEGER), CAST(ZZ_ZAN1 AS INTEGER), "
      "CAST(ZZ_ZAN16 AS INTEGER), CAST(Z_ZAN1 AS INTEGER), CAST(Z_ZAN16 AS INTEGER), CAST(T_ZAN1 AS INTEGER), "
      "CAST(T_ZAN16 AS INTEGER) FROM SP_MB_SELECT_KANENDOZAN(";
  struct Case {
    const char* args;
    Lines expected;
  };
  const Case cases[] = {
      // A blank department sums every department; tax included with 0, net with 1.
      {"'01', '', 0",
       {"1000|8110[ ]|0|0|0|0|0|0|8", "1100|1120[ ]|1111|2|3|4|5|66|7", "1100|1130[ ]|0|0|0|0|0|0|0"}},
      {"'01', ' ', 1",
       {"1000|8110[ ]|0|0|0|0|0|0|8", "1100|1120[ ]|101|2|3|4|5|6|7", "1100|1130[ ]|0|0|0|0|0|0|0"}},
      // One department: its accounts only, with its name.
      {"'01', '10', 0", {"1100|1120[10]営業|11|2|3|4|5|66|7", "1100|1130[10]営業|0|0|0|0|0|0|0"}},
      {"'01', '20', 1", {"1000|8110[20]製造|0|0|0|0|0|0|8", "1100|1120[20]製造|100|0|0|0|0|0|0"}},
      {"'02', '', 1", {"1100|1120[ ]|0|0|0|0|0|777|0"}},
      {"'01', '30', 1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Rows(db_, columns + c.args + ")"), c.expected);
  }
}

}  // namespace
