// The accounting-database steps from 0.3.0 to 1.0.0 against real databases
// brought from the first version to 0.2.2 by the earlier steps, run through
// the update script runner and the real isql-fb.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/updatescript.h"
#include "dbupdate/userstepprocs.h"
#include "platform/vcl/application.h"
#include "updatefixture.h"

using updatetest::UpdateTest;

namespace {

using Strings = std::vector<std::string>;

class UserSteps03 : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    CreateDataModule();
    AccInf = TACCINF{};
    CreateDataSetDatabase(DataSetFile(), "first/0.1.0.sql");
  }
  void TearDown() override {
    FreeDataModule();
    AccInf = TACCINF{};
    UpdateTest::TearDown();
  }
  std::string Version() {
    const Strings rows = Rows(DataSetFile(), "SELECT MAJOR||'.'||MINOR1||'.'||MINOR2 FROM ACCVERSION WHERE REC=1");
    return rows.empty() ? "" : rows[0];
  }
  void Exec(const std::string& Sql) { UpdateTest::Exec(DataSetFile(), Sql); }
  Strings Rows(const std::string& Sql) { return UpdateTest::Rows(DataSetFile(), Sql); }
  using UpdateTest::Rows;
  void Run(TDbUpdateStepCall Step) {
    ASSERT_EQ(RunDbUpdateStep(Step), urDone) << ReadFile(Folder("log/ErrDataup.txt"));
    EXPECT_TRUE(shown_.empty()) << shown_[0].text;
  }
  // Runs the step twice (the second time from the previous version again):
  // every statement it writes must pass on a database that already has its objects.
  void RunTwice(TDbUpdateStepCall Step, const std::string& Previous, const std::string& Expected) {
    for (int run = 0; run < 2; ++run) {
      SCOPED_TRACE(run);
      SetVersion(Previous);
      Run(Step);
      EXPECT_EQ(Version(), Expected);
    }
  }
  void SetVersion(const std::string& V) {
    Exec("UPDATE ACCVERSION SET MAJOR=" + V.substr(0, 1) + ", MINOR1=" + V.substr(2, 1) + ", MINOR2=" +
         V.substr(4, 1) + " WHERE REC=1");
  }
  // The company row, the accounts that the depreciation templates name
  // (groups 1400 to 1800), and the earlier steps, 0.1.1 to 0.2.2.
  void BringTo022(const std::string& Company = "(REC) VALUES (1)") {
    Exec("INSERT INTO ACCDEF1 " + Company);
    AddDepreciationAccounts(DataSetFile());
    for (TDbUpdateStepCall step : {&ExecUserDbUpdate011, &ExecUserDbUpdate012, &ExecUserDbUpdate013,
                                   &ExecUserDbUpdate014, &ExecUserDbUpdate015, &ExecUserDbUpdate020,
                                   &ExecUserDbUpdate021, &ExecUserDbUpdate022})
      Run(step);
    ASSERT_EQ(Version(), "0.2.2");
  }
  // Branch 01 (blank department only) with accounts by code, name, nature and
  // opening balance; the fixed-account table names the system accounts.
  void AddAccount(const std::string& Code, const std::string& Name, int Dac, const std::string& Bp, int Opening,
                  bool System = false) {
    Exec("INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('" + Code + "', '" + Code +
         "', '" + Name + "', '" + Code.substr(0, 2) + "00', " + std::to_string(Dac) + ", '" + Bp + "')");
    Exec("UPDATE OR INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('" + Code + "', ' ') MATCHING (KCODE, HCODE)");
    Exec("INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '" + Code + "', ' ', ' ', " +
         std::to_string(Opening) + ")");
    if (System) Exec("INSERT INTO ACCDEF2 (KCODE, KNAME) VALUES ('" + Code + "', '" + Name + "')");
  }
  void AddBranch() {
    Exec("INSERT INTO SISETUMST (SCODE, SNAME) VALUES ('01', '本店')");
    Exec("INSERT INTO BUMONMST (BCODE) VALUES (' ')");
  }
};

TEST_F(UserSteps03, StepsWithoutBodyRaiseOnlyTheVersion) {
  Exec("INSERT INTO ACCDEF1 (REC) VALUES (1)");
  const Strings schema = SchemaOf(DataSetFile());
  struct Case {
    TDbUpdateStepCall step;
    const char* previous;
    const char* expected;
  };
  for (const Case& c : {Case{&ExecUserDbUpdate030, "0.2.2", "0.3.0"}, Case{&ExecUserDbUpdate032, "0.3.1", "0.3.2"},
                        Case{&ExecUserDbUpdate040, "0.3.4", "0.4.0"}}) {
    SCOPED_TRACE(c.expected);
    RunTwice(c.step, c.previous, c.expected);
  }
  EXPECT_EQ(SchemaOf(DataSetFile()), schema);
}

// Branch 01 with departments 10 and 20 in group G1 and 30 outside it; account
// 1120 with its own row and sub-account 001.
TEST_F(UserSteps03, CommunicationFolderGroupBalancesAndEarlierBalanceTrigger031) {
  BringTo022("(REC, WEB_HOLDER) VALUES (1, 'X')");
  Exec("ALTER TABLE ACCDEF1 DROP WEB_HOLDER");
  Exec("INSERT INTO SISETUMST (SCODE, SNAME) VALUES ('01', '本店')");
  Exec("INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME) VALUES ('1120', '112', '現金')");
  Exec("UPDATE OR INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('1120', ' ') MATCHING (KCODE, HCODE)");
  Exec("INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('1120', '001')");
  for (const char* b : {"10", "20", "30"}) {
    Exec(std::string("INSERT INTO BUMONMST (BCODE) VALUES ('") + b + "')");
    for (const char* h : {" ", "001"}) {
      const std::string key = std::string("'01', '1120', '") + h + "', '" + b + "'";
      Exec("INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES (" + key + ")");
      Exec("INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN) VALUES (" + key + ", -32, 1)");
      Exec("INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN) VALUES (" + key + ", -5, 10)");
      Exec("INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN) VALUES (" + key + ", 3, 0)");
      Exec("INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, BYOSAN) VALUES (" + key + ", 15, 7)");
    }
  }
  Exec("INSERT INTO GROUPMST (GCODE) VALUES ('G1')");
  Exec("INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G1', '10')");
  Exec("INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G1', '20')");

  RunTwice(&ExecUserDbUpdate031, "0.3.0", "0.3.1");
  EXPECT_EQ(Rows("SELECT '['||WEB_HOLDER||']' FROM ACCDEF1"), Strings{"[]"});
  EXPECT_EQ(Rows("SELECT KCODE||'['||HCODE||'] '||CAST(ZANM32 AS INTEGER)||' '||CAST(ZANM05 AS INTEGER)||' '||"
                 "CAST(ZANP03 AS INTEGER)||' '||CAST(YOSAN15 AS INTEGER)||' '||CAST(YOSAN01 AS INTEGER) "
                 "FROM SP_KANENDO_BUMON_GROUPZANDAKA('01', 'G1')"),
            (Strings{"1120[ ] 2 20 0 14 0", "1120[001] 2 20 0 14 0"}));
  EXPECT_TRUE(Rows("SELECT KCODE FROM SP_KANENDO_BUMON_GROUPZANDAKA('02', 'G1')").empty());

  // The largest non-zero earlier balance of the key, period -32 left out.
  struct Case {
    const char* change;
    const char* kakozan;
  };
  const std::string key = "SCODE='01' AND KCODE='1120' AND HCODE='001' AND BCODE='20'";
  for (const Case& c : {Case{"NUKIZAN=40 WHERE MNUM=3", "40"}, Case{"NUKIZAN=-50 WHERE MNUM=3", "10"},
                        Case{"NUKIZAN=900 WHERE MNUM=-32", "10"}, Case{"NUKIZAN=0 WHERE MNUM<>-32", "0"}}) {
    SCOPED_TRACE(c.change);
    Exec(std::string("UPDATE KAMOKU_PZ SET ") + c.change + " AND " + key);
    EXPECT_EQ(Rows("SELECT CAST(KAKOZAN AS INTEGER) FROM KAMOKU_SZ WHERE " + key), Strings{c.kakozan});
  }
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM KAMOKU_SZ WHERE KAKOZAN <> 0"), Strings{"0"});
}

// Accounts of every code system's table (3111 and 6200 only the corporation's,
// 6226 not the corporation's, 5101 not the real-estate one) and 1000 of none.
TEST_F(UserSteps03, AnalysisTablesReadingsAndThresholds033) {
  BringTo022("(REC) VALUES (1)");
  for (const char* k : {"1000", "1101", "2101", "3111", "5101", "6200", "6226", "7202", "8101", "9999"})
    Exec(std::string("UPDATE OR INSERT INTO KAMOKUMST (KCODE, USERCODE, KKANA) VALUES ('") + k + "', '" + k +
         "', 'old') MATCHING (KCODE)");
  // A data set without the analysis columns gets them.
  Exec("ALTER TABLE KAMOKUMST DROP TESSALY_BADRATE, DROP TESSALY_BADKIND, DROP TESSALY_GOODRATE, "
       "DROP TESSALY_GOODKIND");

  struct Case {
    int datatype, codetype;
    const char* changed;  // the accounts whose reading was written
  };
  for (const Case& c : {Case{1, 4, "1101,2101,3111,5101,6200,7202,8101,9999"},
                        Case{2, 1, "1101,2101,5101,6226,7202,9999"}, Case{3, 2, "1101,2101,6226,7202,9999"},
                        Case{2, 3, ""}, Case{2, 4, ""}}) {
    SCOPED_TRACE(std::to_string(c.datatype) + "/" + std::to_string(c.codetype));
    AccInf.DATATYPE = c.datatype;
    AccInf.CODETYPE = c.codetype;
    Exec("UPDATE KAMOKUMST SET KKANA='old'");
    RunTwice(&ExecUserDbUpdate033, "0.3.2", "0.3.3");
    const Strings changed = Rows("SELECT COALESCE(LIST(KCODE, ','), '') FROM (SELECT KCODE FROM KAMOKUMST "
                                 "WHERE KKANA <> 'old' AND KCODE IN ('1000', '1101', '2101', '3111', '5101', '6200', '6226', '7202', '8101', "
                                 "'9999') ORDER BY KCODE)");
    EXPECT_EQ(changed, Strings{c.changed});
  }
  AccInf.DATATYPE = 1;
  RunTwice(&ExecUserDbUpdate033, "0.3.2", "0.3.3");
  // Higher is better for assets, equity, sales and other income; lower for the rest.
  EXPECT_EQ(Rows("SELECT KCODE||'|'||KKANA||'|'||TESSALY_BADRATE||' '||TESSALY_BADKIND||' '||TESSALY_GOODRATE||' '||"
                 "TESSALY_GOODKIND FROM KAMOKUMST WHERE KCODE IN ('1101', '2101', '7202', '8101', '9999') "
                 "ORDER BY KCODE"),
            (Strings{"1101|genki|0.9500 0 1.0500 1", "2101|shiha|1.0500 1 0.9500 0",
                     "7202||1.0500 1 0.9500 0", "8101||0.9500 0 1.0500 1", "9999|syoku|0.0000 0 0.0000 0"}));
  EXPECT_EQ(Rows("SELECT (SELECT COUNT(*) FROM TESSALY_HIKAKU_COL)||' '||(SELECT COUNT(*) FROM TESSALY_HIKAKU) "
                 "FROM RDB$DATABASE"),
            Strings{"8 35"});
  EXPECT_EQ(Rows("SELECT REC||'|'||BUNRUI||'|'||MEISHOU||'|'||TANIMEI||'|'||BADRATE||' '||BADKIND||' '||GOODRATE||' '||"
                 "GOODKIND||'|'||GROUPA1||'-'||GROUPA2||'|'||GROUPB1||'-'||GROUPB2 FROM TESSALY_HIKAKU "
                 "WHERE REC IN (1, 23, 27, 35) ORDER BY REC"),
            (Strings{"1|1|売上総利益率|％|0.9500 0 1.0500 1|4100-5280|-",
                     "23|4|売上高対支払利息比率|％|1.0500 1 0.9500 0|4100-4110|7100-7200",
                     "27|4|従業員延人数|人|1.0500 1 0.9500 0|-|-",
                     "35|5|一人当たり労働装備率|円|0.9500 0 1.0500 1|1400-1710|-"}));
  EXPECT_EQ(Rows("SELECT MEISHOU FROM TESSALY_HIKAKU_COL WHERE REC IN (1, 8) ORDER BY REC"),
            (Strings{"過去3ヶ月", "２期平均"}));
}

// An individual's branch 01: cash 1000 and the owner's drawings 200 on the
// debit side, payables 300, capital 500 and the owner's contributions 50 on
// the credit side: the new capital is 500 + (1200 - 850) + 50 - 200 = 700.
TEST_F(UserSteps03, OwnersCapitalCarryOver033) {
  BringTo022("(REC, DATATYPE, BUMON) VALUES (1, 2, 0)");
  AddBranch();
  AddAccount("1101", "現金", 1, "B", 1000);
  AddAccount("1901", "事業主貸", 1, "B", 200, true);
  AddAccount("2101", "買掛金", 2, "B", 300);
  AddAccount("3301", "元入金", 2, "B", 500, true);
  AddAccount("3901", "事業主借", 2, "B", 50, true);
  AddAccount("4101", "売上高", 2, "P", 999);
  AccInf.DATATYPE = 2;
  AccInf.CODETYPE = 1;
  RunTwice(&ExecUserDbUpdate033, "0.3.2", "0.3.3");

  const std::string balances = "SELECT LIST(KCODE||'='||CAST(KAISIZAN AS INTEGER), ' ') FROM (SELECT KCODE, "
                               "KAISIZAN FROM KAMOKU_SZ WHERE KCODE IN ('1101', '1901', '2101', "
                               "'3301', '3901', '4101') ORDER BY KCODE)";
  Exec("UPDATE ACCDEF1 SET DATATYPE=1");
  EXPECT_TRUE(Rows("SELECT BCODE FROM SP_MOTOIREKIN_KURIIRE('01')").empty());
  EXPECT_EQ(Rows(balances), Strings{"1101=1000 1901=200 2101=300 3301=500 3901=50 4101=999"});
  Exec("UPDATE ACCDEF1 SET DATATYPE=2");
  EXPECT_EQ(Rows("SELECT '['||BCODE||']'||CAST(MOTOIREZAN AS INTEGER)||' '||CAST(KIMATU_MOTOIREZAN AS INTEGER)||' '||"
                 "CAST(KIMATU_JIGYOKASIZAN AS INTEGER)||' '||CAST(KIMATU_JIGYOKARIZAN AS INTEGER)||' '||"
                 "CAST(KIMATU_KARIZAN AS INTEGER)||' '||CAST(KIMATU_KASIZAN AS INTEGER) "
                 "FROM SP_MOTOIREKIN_KURIIRE('01')"),
            Strings{"[ ]700 500 200 50 1200 850"});
  EXPECT_EQ(Rows(balances), Strings{"1101=1000 1901=0 2101=300 3301=700 3901=0 4101=999"});
}

TEST_F(UserSteps03, SystemAccountCodesAndQuickAssetGroup034) {
  BringTo022("(REC) VALUES (1)");
  for (const char* k : {"1141", "1147", "1148"})
    Exec(std::string("INSERT INTO KAMOKUMST (KCODE, USERCODE, GROUPM2) VALUES ('") + k + "', '" + k + "', '1140')");
  Exec("INSERT INTO ACCDEF2 (KCODE, KNAME) VALUES ('8301', '諸口')");
  Exec("INSERT INTO ACCDEF2 (KCODE, KNAME) VALUES ('8209', '諸口')");
  Exec("INSERT INTO ACCDEF2 (KCODE, KNAME) VALUES ('2190', '仮受消費税')");
  // Without the fixed trial-balance layouts the step still passes.
  RunTwice(&ExecUserDbUpdate034, "0.3.3", "0.3.4");
  const std::pair<const char*, const char*> names[] = {{"諸口", "8209"}, {"仮受消費税", "2190"}, {"元入金", ""}};
  for (const auto& [name, code] : names)
    EXPECT_EQ(Rows(std::string("SELECT '['||KCODE||']' FROM SYSKMKCODEINF('") + name + "')"),
              Strings{std::string("[") + code + "]"})
        << name;
  EXPECT_EQ(Rows("SELECT LIST(KCODE||':'||GROUPM2, ' ') FROM (SELECT KCODE, GROUPM2 FROM KAMOKUMST "
                 "WHERE KCODE STARTING WITH '114' ORDER BY KCODE)"),
            Strings{"1141:1130 1147:1130 1148:1140"});

  for (const char* t : {"EXTERA4", "EXTERA3"}) {
    Exec(std::string("CREATE TABLE ") + t + " (REC INTEGER NOT NULL PRIMARY KEY, KGROUP VARCHAR(6), SUBREC INTEGER)");
    for (int rec = 6; rec <= 13; ++rec)
      Exec(std::string("INSERT INTO ") + t + " VALUES (" + std::to_string(rec) + ", '1140', 0)");
  }
  RunTwice(&ExecUserDbUpdate034, "0.3.3", "0.3.4");
  for (const char* t : {"EXTERA4", "EXTERA3"})
    EXPECT_EQ(Rows(std::string("SELECT LIST(REC||':'||KGROUP||':'||SUBREC, ' ') FROM (SELECT * FROM ") + t +
                   " ORDER BY REC)"),
              Strings{"6:1140:0 7:1130:1 8:1130:2 9:1130:3 10:1130:4 11:1130:5 12:1130:6 13:1140:0"})
        << t;
}

TEST_F(UserSteps03, AuditItemsByDataType041) {
  BringTo022("(REC) VALUES (1)");
  Exec("INSERT INTO KANSA_ITEM (REC, TEXT) VALUES (40, 'old')");
  struct Case {
    int datatype;
    const char* accounts;  // MOT_KCODE of items 8 to 12
  };
  for (const Case& c : {Case{1, "1306 1101 6206 6212"}, Case{2, "2104 1101 6109 6107"},
                        Case{3, "2104 1101 6109 6107"}}) {
    SCOPED_TRACE(c.datatype);
    AccInf.DATATYPE = c.datatype;
    RunTwice(&ExecUserDbUpdate041, "0.4.0", "0.4.1");
    EXPECT_EQ(Rows("SELECT COUNT(*)||' '||MIN(REC)||' '||MAX(REC)||' '||SUM(PRINT + CHECKMARK)||' '||"
                   "COUNT(MOT_KCODE)||' '||COUNT(TOZ_KCODE)||' '||COUNT(MOT_HCODE) FROM KANSA_ITEM"),
              Strings{"12 1 12 0 4 1 0"});
    EXPECT_EQ(Rows("SELECT LIST(MOT_KCODE, ' ') FROM (SELECT MOT_KCODE FROM KANSA_ITEM "
                   "WHERE MOT_KCODE IS NOT NULL ORDER BY REC)"),
              Strings{c.accounts});
  }
  EXPECT_EQ(Rows("SELECT REC||'|'||JUNJO||'|'||TEXT||'|'||NOTE||'|'||CHOUBO||KENSAKU||'|'||TOZ_KCODE FROM KANSA_ITEM "
                 "WHERE REC=3"),
            Strings{"3|3|当座残高調整表の作成|当座残高調整表を作成し、残高照合表と元帳の差額を確認しました。|30|1102"});
  EXPECT_EQ(Rows("SELECT TEXT FROM KANSA_ITEM WHERE REC=10"), Strings{"資本的支出の確認"});
}

// The opening balance of 100 changed to 250: whether the earlier balance of
// the period before the start month follows.
TEST_F(UserSteps03, OpeningBalanceFollowsIntoTheEarlierBalance100) {
  BringTo022("(REC, DATATYPE, KAISINO) VALUES (1, 1, 1)");
  AddBranch();
  AddAccount("1101", "現金", 1, "B", 100);
  AddAccount("3310", "繰越利益剰余金", 2, "B", 100, true);
  AddAccount("3301", "元入金", 2, "B", 100, true);
  AddAccount("1901", "事業主貸", 1, "B", 100, true);
  Exec("INSERT INTO TESSALY_HIKAKU (REC, MEISHOU) VALUES (31, '一人当たりに人件費')");
  for (int m : {0, 4, 8})
    Exec("INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN) SELECT SCODE, KCODE, HCODE, BCODE, " +
         std::to_string(m) + ", 0 FROM KAMOKU_SZ");
  Exec("INSERT INTO OPINF (OPCODE, JOBNAME) VALUES (1, 'other')");
  RunTwice(&ExecUserDbUpdate100, "0.4.1", "1.0.0");
  EXPECT_EQ(Rows("SELECT MEISHOU FROM TESSALY_HIKAKU WHERE REC=31"), Strings{"一人当たり人件費"});

  struct Case {
    int datatype, kaisino;
    const char* job;  // a job of OPINF, or ""
    const char* kcode;
    int slot;          // where the new balance goes, -1 none
  };
  const Case cases[] = {
      {1, 1, "", "1101", 0},           {1, 7, "", "1101", 8},          {1, 1, "", "3310", -1},
      {2, 1, "", "1101", 0},           {2, 1, "", "3301", -1},         {2, 1, "", "1901", -1},
      {2, 4, "", "3301", 4},           {2, 4, "翌年度更新", "3301", -1}, {2, 4, "繰越残高調整", "1901", -1},
      {2, 4, "繰越残高調整", "1101", 4}, {2, 0, "", "1101", -1},         {3, 1, "", "1101", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.datatype) + " " + std::to_string(c.kaisino) + " " + c.job + " " + c.kcode);
    Exec("UPDATE ACCDEF1 SET DATATYPE=" + std::to_string(c.datatype) + ", KAISINO=" + std::to_string(c.kaisino));
    Exec("DELETE FROM OPINF WHERE JOBNAME <> 'other'");
    if (*c.job) Exec(std::string("INSERT INTO OPINF (OPCODE, JOBNAME) VALUES (2, '") + c.job + "')");
    Exec("UPDATE KAMOKU_PZ SET NUKIZAN=0");
    Exec(std::string("UPDATE KAMOKU_SZ SET KAISIZAN=250 WHERE KCODE='") + c.kcode + "'");
    const std::string expected = c.slot < 0 ? "" : std::to_string(c.slot) + "=250";
    EXPECT_EQ(Rows("SELECT COALESCE(LIST(MNUM||'='||CAST(NUKIZAN AS INTEGER)), '') FROM KAMOKU_PZ WHERE NUKIZAN<>0"),
              Strings{expected});
    EXPECT_EQ(Rows(std::string("SELECT CAST(KAISIZAN AS INTEGER) FROM KAMOKU_SZ WHERE KCODE='") + c.kcode + "'"),
              Strings{"250"});
    Exec(std::string("UPDATE KAMOKU_SZ SET KAISIZAN=100 WHERE KCODE='") + c.kcode + "'");
  }
}

// A corporation's data set at its first version, run through the update run
// from 0.1.1 to 1.0.0.
TEST_F(UserSteps03, UpdateRunFromTheFirstVersionTo100) {
  EnsureApplication();
  Exec("INSERT INTO ACCDEF1 (REC, DATATYPE, CODETYPE, KAISINO) VALUES (1, 1, 1, 1)");
  AddDepreciationAccounts(DataSetFile());
  AddBranch();
  AddAccount("1101", "現金", 1, "B", 500);
  AddAccount("1141", "受取手形", 1, "B", 0);
  AddAccount("3310", "繰越利益剰余金", 2, "B", 0, true);
  AccInf.DATATYPE = 1;
  AccInf.CODETYPE = 1;

  TDbUpdateBox box;
  box.PrepareDbUpdate(dbkAccounting, "0.1.0");
  ASSERT_TRUE(box.UpdateNeeded);
  ASSERT_EQ(box.FirstStep, 0);
  box.LastStep = 15;  // 0.1.1 to 1.0.0
  EXPECT_EQ(box.ExecuteDbUpdate(), 1) << ReadFile(Folder("log/ErrDataup.txt"));
  EXPECT_TRUE(shown_.empty()) << shown_[0].text;
  for (std::size_t i = 0; i <= 15; ++i) EXPECT_EQ(box.ListItems[i].Status, "完了") << i;
  EXPECT_EQ(Version(), "1.0.0");

  EXPECT_EQ(Rows("SELECT KCODE||'|'||KKANA||'|'||GROUPM2 FROM KAMOKUMST WHERE KCODE IN ('1101', '1141') "
                 "ORDER BY KCODE"),
            (Strings{"1101|genki|", "1141|uketo|1130"}));
  EXPECT_EQ(Rows("SELECT (SELECT COUNT(*) FROM TESSALY_HIKAKU)||' '||(SELECT MEISHOU FROM TESSALY_HIKAKU WHERE REC=31)||"
                 "' '||(SELECT COUNT(*) FROM KANSA_ITEM)||' '||(SELECT KCODE FROM SYSKMKCODEINF('繰越利益剰余金')) "
                 "FROM RDB$DATABASE"),
            Strings{"35 一人当たり人件費 12 3310"});
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME IN ('SP_MOTOIREKIN_KURIIRE', "
                 "'SP_KANENDO_BUMON_GROUPZANDAKA') UNION ALL SELECT COUNT(*) FROM RDB$TRIGGERS WHERE "
                 "RDB$TRIGGER_NAME IN ('KAMOKU_PZ_AFTER_UPDATE', 'KAMOKUSZ_AFTER_UPDATE')"),
            (Strings{"2", "2"}));
}

}  // namespace
