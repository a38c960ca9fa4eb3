// The steps of the accounting database against real databases created from
// its first version (schema/dataset/first/0.1.0.sql), run through the update
// script runner and the real isql-fb.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/userstepprocs.h"
#include "dbupdate/updatescript.h"
#include "platform/vcl/application.h"
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

// Two branches before the step (01 with departments 00 and 10), a version row
// other than REC 1, and a model description dictionary.
TEST_F(UserSteps, DepreciationTables011) {
  for (const char* sql : {
           "INSERT INTO ACCDEF1 (REC, DATATYPE, BUMON) VALUES (1, 1, 0)",
           "DELETE FROM ACCVERSION", "INSERT INTO ACCVERSION (REC, MAJOR, MINOR1, MINOR2) VALUES (3, 0, 0, 9)",
           "INSERT INTO SISETUMST (SCODE) VALUES ('01')", "INSERT INTO SISETUMST (SCODE) VALUES ('02')",
           "INSERT INTO BUMONMST (BCODE) VALUES (' ')", "INSERT INTO BUMONMST (BCODE) VALUES ('00')",
           "INSERT INTO BUMONMST (BCODE) VALUES ('10')",
           "INSERT INTO SISETUBUM (SCODE, BCODE) VALUES ('01', '00')",
           "INSERT INTO SISETUBUM (SCODE, BCODE) VALUES ('01', '10')",
           "INSERT INTO ORGDIC_1 (REC, SORTCODE, TEXT) VALUES (1, 3, '売上')",
           "INSERT INTO ORGDIC_2 (REC, ENTRY, KANA, TEXT, KAR_KCODE, KAR_HCODE, KAS_KCODE, KAS_HCODE) "
           "VALUES (1, 1, 'ｳﾘｱｹﾞ', '現金売上', '1110', '009', '8101', ' ')"})
    Exec(DataSetFile(), sql);
  AddDepreciationAccounts(DataSetFile());

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Run(&ExecUserDbUpdate011);
    EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.1"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT ACCGROUP||':'||COUNT(*) FROM KS_SETSWK_INIT GROUP BY ACCGROUP"),
              (std::vector<std::string>{"1:35", "2:35"}));
    // Every branch (the first version's '' among them), every account of groups 1400 to 1800, once.
    EXPECT_EQ(Rows(DataSetFile(), "SELECT SCODE||':'||COUNT(*)||':'||COUNT(DISTINCT KCODE) FROM KS_SETSWK "
                                  "GROUP BY SCODE"),
              (std::vector<std::string>{":32:32", "01:32:32", "02:32:32"}));
    EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM GENKADIV WHERE CODE=6 AND GDNAM='リース期間定額法'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT SDAI_HASUU3||' '||KESSAN_KIKAN||' '||CASHFLOW_KIKAN1 FROM ACCDEF1"),
              std::vector<std::string>{"0 -1 -1"});
    Exec(DataSetFile(), "UPDATE ACCVERSION SET MINOR2=0");
  }
  // Account 1599 (group 1550) takes the default row of its class, the others their own rows.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT KCODE||'|'||GSTAISYOU||GSKEIJYO||GSKAHI||GSHOUHOU||GSSISANZEI||SETSWK||'|'||"
                                "COALESCE(RUIKEIKCODE, '-')||' '||COALESCE(SYOKYAKU1_KCODE, '-')||' '||"
                                "COALESCE(BAISONKCODE, '-')||'|'||TEKIYO||SYOKYAKUTEKIYO||'|'||"
                                "COALESCE(RUIKEIHCODE, 'null') FROM KS_SETSWK "
                                "WHERE SCODE='02' AND KCODE IN ('1401', '1599', '1601', '1701') ORDER BY KCODE"),
            (std::vector<std::string>{"1401|010101|1416 6204 8201|購入償却|null",
                                      "1599|010101|1416 6204 8201|購入償却|null",
                                      "1601|200300|- - -|購入償却|null", "1701|300101|- 6204 8201|購入償却|null"}));

  // A new account and a new branch get their rows through the triggers.
  Exec(DataSetFile(), "INSERT INTO KAMOKUMST (KCODE, USERCODE, GROUPM1, USE) VALUES ('1413', '1413', '1400', 1)");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM HOJOMST WHERE KCODE='1413' AND HCODE=' '"),
            std::vector<std::string>{"1"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM KS_SETSWK WHERE KCODE='1413'"), std::vector<std::string>{"3"});
  Exec(DataSetFile(), "UPDATE KAMOKUMST SET USE=0 WHERE KCODE='1599'");
  Exec(DataSetFile(), "INSERT INTO SISETUMST (SCODE, BUMEX) VALUES ('03', 1)");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT (SELECT COUNT(*) FROM KAMOKU_SZ WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*) FROM KAMOKU_TAX WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*) FROM TORDICTI WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*) FROM SWKDICTI WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*) FROM KS_TRANSSWK WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*) FROM KS_SETSWK WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*)||MIN(MNUM)||'/'||MAX(MNUM) FROM ACCDEF5 WHERE SCODE='03')||' '||"
                                "(SELECT COUNT(*) FROM YOSOKUINF WHERE SCODE='03')||' '||"
                                "(SELECT LIST(TRIM(BCODE)) FROM SISETUBUM WHERE SCODE='03') FROM RDB$DATABASE"),
            std::vector<std::string>{"39 34 50 50 1 33 48-31/16 1 00,10"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT T.SORTCODE||'|'||T.TEXT||'|'||D.KANA||'|'||D.TEXT||'|'||D.KAR_KCODE||'['||"
                                "D.KAR_HCODE||']'||D.KAS_KCODE||'|'||D.SCODE FROM TEKDICTI T JOIN TEKDIC D "
                                "ON D.CREC=T.CREC WHERE T.SCODE='03'"),
            std::vector<std::string>{"3|売上|ｳﾘｱｹﾞ|現金売上|1110[ ]8101|03"});

  // Allocation repair: 60 + 30 becomes 70 + 30; 50 + 50 stays.
  Exec(DataSetFile(), "INSERT INTO KS_SISAN (REC, SCODE, KCODE, HCODE, SIHAKCODE, SIHAHCODE, SYUNYUKCODE, SYUNYUHCODE) "
                      "VALUES (1, '01', '1401', ' ', NULL, NULL, NULL, NULL)");
  Exec(DataSetFile(), "INSERT INTO KS_SISAN (REC, SCODE, KCODE, HCODE, SIHAKCODE, SIHAHCODE, SYUNYUKCODE, SYUNYUHCODE) "
                      "VALUES (2, '01', '1402', ' ', NULL, NULL, NULL, NULL)");
  Exec(DataSetFile(), "EXECUTE PROCEDURE SP_KS_BUMONHB_ADD('01')");
  Exec(DataSetFile(), "UPDATE KS_BUMONHB SET HAIBUN=IIF(KS_REC=1, IIF(BCODE='00', 60, 30), 50)");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT SYUFUKU FROM SP_KS_SISAN_SYUFUKU_HAIBUNRITU('01')"),
            std::vector<std::string>{"1"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT KS_REC||BCODE||':'||CAST(HAIBUN AS INTEGER) FROM KS_BUMONHB "
                                "ORDER BY KS_REC, BCODE"),
            (std::vector<std::string>{"100:70", "110:30", "200:50", "210:50"}));
  EXPECT_EQ(Rows(DataSetFile(), "SELECT SYUFUKU FROM SP_KS_SISAN_SYUFUKU_HAIBUNRITU('01')"),
            std::vector<std::string>{"0"});
  EXPECT_TRUE(Rows(DataSetFile(), "SELECT SYUFUKU FROM SP_KS_SISAN_SYUFUKU_HAIBUNRITU('02')").empty());

  // Two journal lines transferred from asset 1: the mark goes with the last one.
  for (const char* sql : {"INSERT INTO SIWAKE (SWKREC, TAISHAKU, SCODE, KCODE, LINKKUB, LINKREC, LINKKEY) "
                          "VALUES (1, 1, '01', '1401', 8, 1, '1-1')",
                          "INSERT INTO SIWAKE (SWKREC, TAISHAKU, SCODE, KCODE, LINKKUB, LINKREC, LINKKEY) "
                          "VALUES (1, 2, '01', '1110', 8, 1, '1-1')"})
    Exec(DataSetFile(), sql);
  const std::string mark = "SELECT TRANSKBN||' '||(SELECT SIWAKECOUNT FROM SISETUMST WHERE SCODE='01') "
                           "FROM KS_SISAN WHERE REC=1";
  EXPECT_EQ(Rows(DataSetFile(), mark), std::vector<std::string>{"1 1"});
  Exec(DataSetFile(), "UPDATE SIWAKE SET DELFLG=1 WHERE TAISHAKU=1");
  EXPECT_EQ(Rows(DataSetFile(), mark), std::vector<std::string>{"1 0"});
  Exec(DataSetFile(), "UPDATE SIWAKE SET DELFLG=1 WHERE TAISHAKU=2");
  EXPECT_EQ(Rows(DataSetFile(), mark), std::vector<std::string>{"0 0"});
  Exec(DataSetFile(), "UPDATE SIWAKE SET DELFLG=0 WHERE TAISHAKU=1");
  EXPECT_EQ(Rows(DataSetFile(), mark), std::vector<std::string>{"1 1"});

  // Head counts: period 5 is the fourth month, period -11 the previous year's.
  Exec(DataSetFile(), "UPDATE ACCDEF5 SET NUM1=IIF(MNUM=5, 3, IIF(MNUM=-11, 2, IIF(MNUM=-27, 1, 7))) "
                      "WHERE SCODE='03'");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT T_NINZU4||' '||Z_NINZU4||' '||ZZ_NINZU4||' '||T_NINZU1||' '||ZZ_NINZU12 "
                                "FROM SP_MB_SELECT_SYUGYOU('03', '')"),
            std::vector<std::string>{"3 2 1 7 7"});
}

// Account 1120 has four lines in period 2: 5/30 no. 1 debit 1000 (tax 100),
// 5/31 no. 2 credit 300, 5/31 closing line no. 0 debit 50, 5/31 no. 4 debit 20
// marked as reconciled (FUSEN2 1). Account 1121 has 60 lines on 5/10.
TEST_F(UserSteps, BankReconciliationProcedures012) {
  Exec(DataSetFile(), "INSERT INTO ACCDEF1 (REC, KISHU) VALUES (1, '2024-04-01')");
  const char* lines[] = {"1, 1, 1, '2024-05-30', 0, 1000, 100, 0", "2, 2, 2, '2024-05-31', 0, 300, 0, 0",
                         "3, 0, 1, '2024-05-31', 1, 50, 0, 0", "4, 4, 1, '2024-05-31', 0, 20, 0, 1"};
  for (const char* line : lines)
    Exec(DataSetFile(), std::string("INSERT INTO SIWAKE (SWKREC, SWKNO, TAISHAKU, HIZUKE, KESSAN, NUK, ZEI, FUSEN2, "
                                    "MNUM, SCODE, KCODE) VALUES (") + line + ", 2, '01', '1120')");
  Exec(DataSetFile(), "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 60) DO BEGIN I = I + 1; "
                      "INSERT INTO SIWAKE (SWKREC, SWKNO, HIZUKE, MNUM, SCODE, KCODE) "
                      "VALUES (100 + :I, 100 + :I, '2024-05-10', 2, '01', '1121'); END END");
  Run(&ExecUserDbUpdate012);
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.2"});

  struct Case {
    const char* proc;
    const char* args;  // PPROCTYPE .. POFFSET, PLIMIT after the account
    const char* expected;
  };
  const Case cases[] = {
      // Oldest first; the closing line sorts after the ordinary lines of its day.
      {"LISTDOWN", "0, '', '1120', '', '', 16, 0, '2024-05-01', '2024-05-31', 0, 0, 0, 0, 0", "1 2 4 0"},
      // Newest first; the closing line of the end date counts with PKESSAN 1 only.
      {"LISTUP", "0, '', '1120', '', '', 16, 1, '2024-05-01', '2024-05-31', 0, 0, 0, 0, 0", "0 4 2 1"},
      {"LISTUP", "0, '', '1120', '', '', 16, 0, '2024-05-01', '2024-05-31', 0, 0, 0, 0, 0", "4 2 1"},
      {"LISTUP", "1, '', '1120', '', '', 16, 1, '2024-05-01', '2024-05-31', 0, 0, 0, 0, 0", "0 2 1"},
      // From line no. 2 (credit) down on the end date.
      {"LISTUP", "0, '', '1120', '', '', 16, 0, '2024-05-01', '2024-05-31', 2, 2, 0, 0, 0", "2 1"},
      {"LISTDOWN", "0, '', '1120', '', '', 16, 0, '2024-05-30', '2024-05-31', 1, 1, 0, 0, 2", "1 2"},
      {"LISTDOWN", "0, '', '1120', '', '', 16, 0, '2024-05-30', '2024-05-31', 1, 1, 0, 1, 2", "2 4"},
      // No line of another branch.
      {"LISTDOWN", "0, '02', '1120', '', '', 16, 0, '2024-05-01', '2024-05-31', 0, 0, 0, 0, 0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.proc) + "(" + c.args + ")");
    std::string got;
    for (const std::string& row : Rows(DataSetFile(), std::string("SELECT SWKNO FROM SP_TOUZACHOSEIHYO_") + c.proc +
                                                          "(" + c.args + ")"))
      got += (got.empty() ? "" : " ") + row;
    EXPECT_EQ(got, c.expected);
  }
  // A page is 50 lines when none is given; the count goes on over the skipped lines.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*)||' '||MAX(RECORDCNT) FROM SP_TOUZACHOSEIHYO_LISTUP(0, '', '1121', "
                                "'', '', 16, 0, '2024-05-01', '2024-05-31', 0, 0, 0, 0, 0)"),
            std::vector<std::string>{"50 50"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*)||' '||MAX(RECORDCNT) FROM SP_TOUZACHOSEIHYO_LISTDOWN(0, '', '1121', "
                                "'', '', 16, 0, '2024-05-01', '2024-05-31', 0, 0, 0, 55, 0)"),
            std::vector<std::string>{"5 60"});

  // The reconciliation counts each line on the other side: a debit-nature
  // account's balance falls with a debit line.
  const std::pair<const char*, const char*> balances[] = {
      {"0, 1, '', '1120', '', '', 1, 2, '2024-05-31', 0, 1, 0, 0, 10000", "9230"},
      {"1, 1, '', '1120', '', '', 1, 2, '2024-05-31', 0, 1, 0, 0, 10000", "9250"},
      {"0, 1, '', '1120', '', '', 0, 2, '2024-05-31', 0, 1, 0, 0, 10000", "9130"},
      {"0, 1, '', '1120', '', '', 1, 2, '2024-05-31', 0, 2, 0, 0, 10000", "10770"},
      {"0, 0, '', '1120', '', '', 1, 2, '2024-05-31', 0, 1, 2, 2, 10000", "9000"},
      {"0, 0, '', '1120', '', '', 1, 2, '2024-05-30', 0, 1, 2, 2, 10000", "9000"},
      {"0, 0, '', '1120', '', '', 1, 2, '2024-05-31', 0, 1, 99, 1, 10000", "9230"},
      {"0, 0, '', '1120', '', '', 1, 3, '2024-05-31', 0, 1, 2, 2, 10000", "10000"},
  };
  for (const auto& [args, expected] : balances) {
    SCOPED_TRACE(args);
    EXPECT_EQ(Rows(DataSetFile(), std::string("SELECT CAST(ZANDAKA AS INTEGER) FROM SP_TOUZACHOSEIHYO_ZENZAN(") +
                                      args + ")"),
              std::vector<std::string>{expected});
  }
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

// The statement lines are written from the script without a connection
// character set, so their CP932 texts (the section numerals among them) are
// stored byte for byte and read back intact.
TEST_F(UserSteps, CashFlowMasterData014) {
  Exec(DataSetFile(), "INSERT INTO ACCDEF1 (REC) VALUES (1)");
  Exec(DataSetFile(), "INSERT INTO CASHFMST (CM_REC, CM_NAME1) VALUES (500, 'old')");
  Exec(DataSetFile(), "INSERT INTO CASHFMKU (CF_REC, CM_REC) VALUES (1, 500)");
  // The per-branch copy of an earlier version.
  Exec(DataSetFile(), "CREATE TABLE CASHFMST_SISETU (SCODE VARCHAR(6) CHARACTER SET ASCII, REC INTEGER)");
  Exec(DataSetFile(), "ALTER TABLE CASHFMST_SISETU ADD CONSTRAINT CASHFMST_SISET_REC FOREIGN KEY (REC) "
                      "REFERENCES CASHFMST (CM_REC)");
  Exec(DataSetFile(), "CREATE TRIGGER CASHFMST_AFTER_INSERT FOR CASHFMST AFTER INSERT AS BEGIN END");

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Run(&ExecUserDbUpdate014);
    EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.4"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM CASHFMST"), std::vector<std::string>{"102"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM CASHFMKU"), std::vector<std::string>{"502"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT CM_NAME1 FROM CASHFMST WHERE CM_GROUP IN (10,20,30,40,50,60,70) "
                                  "AND CM_KIND=1 ORDER BY CM_REC"),
              (std::vector<std::string>{"Ⅰ　営業活動によるキャッシュ・フロー", "Ⅱ　投資活動によるキャッシュ・フロー",
                                        "Ⅲ　財務活動によるキャッシュ・フロー",
                                        "Ⅳ　現金及び現金同等物に係る換算差額", "Ⅴ　現金及び現金同等物の増加額",
                                        "Ⅵ　現金及び現金同等物の期首残高", "Ⅶ　現金及び現金同等物の期末残高"}));
    EXPECT_EQ(Rows(DataSetFile(), "SELECT CM_REC||'|'||CM_KIND||'|'||CM_GROUP||'|'||CM_ORDER||'|'||CM_DEL||CM_MKU||"
                                  "CM_MARGIN||'|'||CM_NAME1 FROM CASHFMST WHERE CM_REC IN (2, 25, 58, 60, 73, 102) "
                                  "ORDER BY CM_REC"),
              (std::vector<std::string>{"2|1|11|1|111|税引前当期純利益（損失）", "25|1|12|1|112|小　計",
                                        "58|1|60|1|100|Ⅵ　現金及び現金同等物の期首残高",
                                        "60|0|10|1|110|Ⅰ　営業活動によるキャッシュ・フロー",
                                        "73|0|20|1|110|Ⅱ　投資活動によるキャッシュ・フロー",
                                        "102|0|70|1|100|Ⅶ　現金及び現金同等物の期末残高"}));
    // The account rows are numbered 1 to 502 in the order written.
    EXPECT_EQ(Rows(DataSetFile(), "SELECT CF_REC||'|'||CM_REC||'|'||CF_CAL||'|'||CF_KCODE||'|'||CF_CTYPE FROM CASHFMKU "
                                  "WHERE CF_REC IN (1, 2, 79, 97, 100, 502) ORDER BY CF_REC"),
              (std::vector<std::string>{"1|2|+|9999|1", "2|3|+|5606|2", "79|33|+|1409|4", "97|34|-|3311|3",
                                        "100|34|-|8202|2", "502|102|+|1132|1"}));
    EXPECT_EQ(Rows(DataSetFile(), "SELECT CF_CTYPE||':'||COUNT(*) FROM CASHFMKU GROUP BY CF_CTYPE"),
              (std::vector<std::string>{"0:22", "1:23", "2:206", "3:125", "4:126"}));
    EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(DISTINCT CM_REC) FROM CASHFMKU"), std::vector<std::string>{"74"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='CASHFMST_SISETU'"),
              std::vector<std::string>{"0"});
    // Only the cash-flow period columns are added.
    EXPECT_FALSE(UserDbHasColumn("ACCDEF1", "SDAI_HASUU3"));
    EXPECT_EQ(Rows(DataSetFile(), "SELECT KESSAN_KIKAN||' '||CASHFLOW_KIKAN1||' '||CASHFLOW_KIKAN2 FROM ACCDEF1"),
              std::vector<std::string>{"-1 -1 -1"});
    Exec(DataSetFile(), "UPDATE ACCVERSION SET MINOR2=3");
  }
}

// Branch 01, account 1110 with sub-account 001 and department 10 named in the
// dictionaries and an audit item; the retained-earnings account 3310.
TEST_F(UserSteps, DictionaryReferencesAndBlueReturnTables015) {
  Exec(DataSetFile(), "INSERT INTO ACCDEF1 (REC, KAISINO) VALUES (1, 7)");
  Run(&ExecUserDbUpdate013);
  for (const char* sql : {
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME) VALUES ('1110', '111', '現金')",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME) VALUES ('3310', '331', '繰越利益剰余金')",
           "INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('1110', ' ')",
           "INSERT INTO HOJOMST (KCODE, HCODE, HNAME, REC) VALUES ('1110', '001', 'A銀行', 5)",
           "INSERT INTO BUMONMST (BCODE) VALUES (' ')", "INSERT INTO BUMONMST (BCODE) VALUES ('10')",
           "INSERT INTO SWKDIC (REC, L_KCODE, L_HCODE, L_BCODE, R_KCODE, R_HCODE, R_BCODE) "
           "VALUES (1, '1110', '001', '10', '1110', '001', '10')",
           "INSERT INTO TEKDIC (TEKCODE, KAR_KCODE, KAR_HCODE, KAR_BCODE, KAS_KCODE, KAS_HCODE, KAS_BCODE) "
           "VALUES (1, '1110', '001', '10', '1110', '001', '10')",
           "INSERT INTO TORDIC (TEKCODE, KAR_KCODE, KAR_HCODE, KAR_BCODE) VALUES (1, '1110', '001', '10')",
           "INSERT INTO KANSA_ITEM (REC, MOT_KCODE, MOT_HCODE, MOT_BCODE) VALUES (2, '1110', '001', '10')",
           "ALTER TABLE SWKDIC ADD CONSTRAINT SWKDIC_KAR_KCODE FOREIGN KEY (L_KCODE) REFERENCES KAMOKUMST (KCODE)",
           "ALTER TABLE TEKDIC ADD CONSTRAINT TEKDIC_KAS_KCODE FOREIGN KEY (KAS_KCODE) REFERENCES KAMOKUMST (KCODE)",
           "INSERT INTO EXTERKS (REC) VALUES (1)",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('01', '1110', ' ', ' ')",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('01', '3310', ' ', ' ')",
           "INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM) VALUES ('01', '1110', ' ', ' ', 8)",
           "INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM) VALUES ('01', '3310', ' ', ' ', 8)"})
    Exec(DataSetFile(), sql);

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Run(&ExecUserDbUpdate015);
    EXPECT_EQ(Version(), std::vector<std::string>{"1:0.1.5"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS WHERE RDB$CONSTRAINT_NAME IN "
                                  "('SWKDIC_KAR_KCODE', 'TEKDIC_KAS_KCODE', 'KANSA_ITEM_MOTKCODE', "
                                  "'KANSA_ITEM_TOZKCODE')"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(Rows(DataSetFile(), "SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME "
                                  "STARTING WITH 'AO_' ORDER BY 1"),
              (std::vector<std::string>{"AO_FUDOUSAN", "AO_HOUSHU", "AO_KYUUYO", "AO_NOTE", "AO_RISI", "AO_SINKOKU",
                                        "AO_TIDAI", "AO_URIAGE"}));
    EXPECT_EQ(Rows(DataSetFile(), "SELECT CHUKI_TITLEPRINT||' '||(SELECT CAST(AO_KISHUZAN AS INTEGER)||' '||"
                                  "CAST(AO_KIMATUZAN AS INTEGER) FROM EXTERKS) FROM KESSAN"),
              std::vector<std::string>{"0 0 0"});
    Exec(DataSetFile(), "UPDATE ACCVERSION SET MINOR2=4");
  }
  Exec(DataSetFile(), "INSERT INTO AO_KYUUYO (REC, KYUUYO, SHOUYO) VALUES (1, 300, 50)");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT CAST(GOUKEI AS INTEGER) FROM AO_KYUUYO"), std::vector<std::string>{"350"});

  // A deleted department and sub-account leave their references blank.
  Exec(DataSetFile(), "DELETE FROM BUMONMST WHERE BCODE='10'");
  Exec(DataSetFile(), "DELETE FROM HOJOMST WHERE KCODE='1110' AND HCODE='001'");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT '['||L_HCODE||L_BCODE||R_HCODE||R_BCODE||']' FROM SWKDIC"),
            std::vector<std::string>{"[    ]"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT '['||KAR_HCODE||KAR_BCODE||KAS_HCODE||KAS_BCODE||']' FROM TEKDIC "
                                "UNION ALL SELECT '['||KAR_HCODE||KAR_BCODE||']' FROM TORDIC "
                                "UNION ALL SELECT '['||MOT_KCODE||MOT_HCODE||MOT_BCODE||']' FROM KANSA_ITEM WHERE REC=2"),
            (std::vector<std::string>{"[    ]", "[  ]", "[1110  ]"}));
  EXPECT_EQ(Rows(DataSetFile(), "SELECT LOGREC||'|'||REC||'|'||KCODE||'|'||HCODE||'|'||HNAME FROM HOJOLOG"),
            std::vector<std::string>{"1|5|1110|001|A銀行"});

  // An opening balance goes to the period before the start month (7 -> 8),
  // except for the retained earnings.
  Exec(DataSetFile(), "UPDATE KAMOKU_SZ SET KAISIZAN=1234");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT KCODE||' '||CAST(NUKIZAN AS INTEGER) FROM KAMOKU_PZ ORDER BY KCODE"),
            (std::vector<std::string>{"1110 1234", "3310 0"}));
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

// A corporation's data set at its first version, run through the update run
// up to 0.2.2: branch 01 with cash 1110 (sub-account 001), payables 2120, the
// suspense account 2110 and the retained earnings 3310; last year's payables
// grow by 10 a period.
TEST_F(UserSteps, UpdateRunFromTheFirstVersionTo022) {
  EnsureApplication();
  for (const char* sql : {
           "INSERT INTO ACCDEF1 (REC, DATATYPE, KAISINO) VALUES (1, 1, 1)",
           "INSERT INTO SISETUMST (SCODE, SNAME) VALUES ('01', '本店')", "INSERT INTO BUMONMST (BCODE) VALUES (' ')",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('1120', '112', '現金', '1100', "
           "1, 'B')",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('2110', '211', '諸口', '2100', "
           "1, 'B')",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('2120', '212', '買掛金', "
           "'2100', 2, 'B')",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('3310', '331', "
           "'繰越利益剰余金', '3300', 2, 'B')",
           "INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('1120', ' ')",
           "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1120', '001', '小口')",
           "INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('2110', ' ')",
           "INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('2120', ' ')",
           "INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('3310', ' ')",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', ' ', ' ', 0)",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '1120', '001', ' ', 500)",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '2110', ' ', ' ', 70)",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '2120', ' ', ' ', 200)",
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KAISIZAN) VALUES ('01', '3310', ' ', ' ', 0)",
           "EXECUTE BLOCK AS DECLARE P INTEGER = -15; BEGIN WHILE (P < 0) DO BEGIN "
           "INSERT INTO KAMOKU_PZ (SCODE, KCODE, HCODE, BCODE, MNUM, NUKIZAN) VALUES ('01', '2120', ' ', ' ', :P, "
           "10 * (:P + 16)); P = P + 1; END END"})
    Exec(DataSetFile(), sql);
  AddDepreciationAccounts(DataSetFile());

  TDbUpdateBox box;
  box.PrepareDbUpdate(dbkAccounting, "0.1.0");
  ASSERT_TRUE(box.UpdateNeeded);
  ASSERT_EQ(box.FirstStep, 0);
  box.LastStep = 7;  // 0.1.1 to 0.2.2
  EXPECT_EQ(box.ExecuteDbUpdate(), 1) << ReadFile(Folder("log/ErrDataup.txt"));
  EXPECT_TRUE(shown_.empty()) << shown_[0].text;
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(box.ListItems[i].Status, "完了") << i;
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.2.2"});

  // The account master and its view.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM KAMOKUMST WHERE GROUPM0 IS DISTINCT FROM GROUPM1"),
            std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT SNAME||'|'||GROUPM0||'|'||KNAME||'|'||HNAME||'|'||CAST(KAISIZAN AS INTEGER) "
                                "FROM KAMOKU_VIEW WHERE KCODE='1120' AND HCODE='001'"),
            std::vector<std::string>{"本店|1100|現金|小口|500"});
  // The journal settings come from the templates only, numbered afresh.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*)||' '||MIN(REC)||' '||MAX(REC) FROM KS_SETSWK_INIT"),
            std::vector<std::string>{"70 1 70"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*)||' '||MIN(REC)||' '||COUNT(DISTINCT SCODE) FROM KS_SETSWK"),
            std::vector<std::string>{"64 1 2"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT LIST(REC) FROM AO_RISI"), std::vector<std::string>{"1,2"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE TRIM(RDB$RELATION_NAME)||'.'||TRIM(RDB$FIELD_NAME) IN "
                                "('AO_SINKOKU.TEGAKI', 'AO_RISI.KIMATU', 'AO_FUDOUSAN.KAISI_YY', "
                                "'AO_FUDOUSAN.SHUURYOU_MM', 'AO_RISI.KIMARU', 'AO_FUDOUSAN.KAISI')"),
            std::vector<std::string>{"4"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM CHARTINF"), std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT (SELECT COUNT(*) FROM CASHFMST)||' '||(SELECT COUNT(*) FROM CASHFMKU) "
                                "FROM RDB$DATABASE"),
            std::vector<std::string>{"102 502"});
  // The account-detail tables and their first rows.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH 'UTIWAKE'"),
            std::vector<std::string>{"27"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT (SELECT COUNT(*) FROM UTIWAKE09B)||' '||(SELECT COUNT(*) FROM UTIWAKE10B)||' '||"
                                "(SELECT COUNT(*) FROM UTIWAKE05_INI)||' '||(SELECT COUNT(*) FROM UTIWAKE14B)||' '||"
                                "(SELECT COUNT(*) FROM UTIWAKE17_TITLE)||' '||(SELECT COUNT(*) FROM UTIWAKE01) "
                                "FROM RDB$DATABASE"),
            std::vector<std::string>{"4 12 1 1 1 0"});
  Exec(DataSetFile(), "INSERT INTO UTIWAKE01 (REC, KCODE, HCODE) VALUES (1, '1120', '001')");
  Exec(DataSetFile(), "INSERT INTO UTIWAKE14 (REC, SIYOUNIN, TEIKIDOUGAKU, JIZENTODOKE, RIEKIRENDOU, SONOTA) "
                      "VALUES (1, 1, 2, 3, 4, 5)");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT CAST(GOUKEI AS INTEGER) FROM UTIWAKE14"), std::vector<std::string>{"15"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME IN ("
                                "'SP_BUMONKAISIZAN_COUNT', 'SP_BUMONKAISIZAN_LIST', 'SP_KAISIZAN_COUNT', "
                                "'SP_KAISIZAN_LIST', 'SP_KANENDOZAN_YOMIKOMI', 'SP_KANENDO_BUMON_GROUPZANDAKA', "
                                "'SP_KANENDO_BUMON_ZANDAKA', 'SP_KANENDO_ZANDAKA', 'SP_MB_SELECT_KANENDOZAN', "
                                "'SP_MB_SELECT_YOSAN', 'SP_MB_SELECT_YOSOKU', 'SP_MB_UPDATE_JISSEKIYOSAN', "
                                "'SP_SISANHYO_BUMON', 'SP_SISANHYO_BUMON_GROUP', 'SP_YOSAN_READ', 'SP_ZENKURI')"),
            std::vector<std::string>{"16"});

  // Opening balances: no suspense account, no own row of an account with sub-accounts.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT KCODE||'['||HCODE||']'||CAST(KAISIZAN AS INTEGER) "
                                "FROM SP_KAISIZAN_LIST('01', '') WHERE KCODE < '1400' OR "
                                "KCODE IN ('2110', '2120', '3310')"),
            (std::vector<std::string>{"1120[001]500", "2120[ ]200", "3310[ ]0"}));
  EXPECT_EQ(Rows(DataSetFile(), "SELECT RECCOUNT FROM SP_KAISIZAN_COUNT('01', '')"),
            Rows(DataSetFile(), "SELECT COUNT(*) FROM SP_KAISIZAN_LIST('01', '')"));
  // Months 4 to 6 of last year (periods -11 to -9), 10 each, become the budget of periods 5 to 7.
  Exec(DataSetFile(), "EXECUTE PROCEDURE SP_MB_UPDATE_JISSEKIYOSAN('01', '2120', ' ', 1, 4, 6)");
  EXPECT_EQ(Rows(DataSetFile(), "SELECT LIST(CAST(BYOSAN AS INTEGER), ' ') FROM (SELECT BYOSAN FROM KAMOKU_MS "
                                "WHERE SCODE='01' AND KCODE='2120' AND MNUM IN (4, 5, 7, 16) ORDER BY MNUM)"),
            std::vector<std::string>{"0 10 30 30"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT T_YOSAN4||' '||T_YOSAN6||' '||T_YOSAN7 FROM SP_MB_SELECT_YOSAN('01', '') "
                                "WHERE KCODE='2120'"),
            std::vector<std::string>{"10.0000 30.0000 30.0000"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT CAST(ZANM11 AS INTEGER)||' '||CAST(ZANM01 AS INTEGER)||' '||"
                                "CAST(ZANP01 AS INTEGER) FROM SP_KANENDOZAN_YOMIKOMI('01', '') WHERE KCODE='2120'"),
            std::vector<std::string>{"50 150 0"});
  // The retained earnings of a corporation: 500 and 70 debit-nature less 200 credit-nature.
  EXPECT_EQ(Rows(DataSetFile(), "SELECT '['||BCODE||']'||CAST(KAISIZAN AS INTEGER) FROM SP_ZENKURI('01', '')"),
            std::vector<std::string>{"[ ]370"});
  Exec(DataSetFile(), "UPDATE KAMOKU_SZ SET KAISIZAN=0 WHERE KCODE='3310'");
  Exec(DataSetFile(), "UPDATE ACCDEF1 SET DATATYPE=2");
  EXPECT_TRUE(Rows(DataSetFile(), "SELECT BCODE FROM SP_ZENKURI('01', '')").empty());
  EXPECT_EQ(Rows(DataSetFile(), "SELECT CAST(KAISIZAN AS INTEGER) FROM KAMOKU_SZ WHERE KCODE='3310'"),
            std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT KCODE||'['||HCODE||']'||HOJCNT||' '||CAST(KAISIZAN AS INTEGER) FROM "
                                "SP_SISANHYO_BUMON(0, 0, '01', ' ') WHERE KCODE='1120'"),
            (std::vector<std::string>{"1120[]1 500", "1120[001]1 500"}));

  // Again on a database with GROUPM0: only the version moves.
  Exec(DataSetFile(), "INSERT INTO AO_RISI (REC) VALUES (3)");
  Exec(DataSetFile(), "UPDATE ACCVERSION SET MINOR2=1");
  Run(&ExecUserDbUpdate022);
  EXPECT_EQ(Version(), std::vector<std::string>{"1:0.2.2"});
  EXPECT_EQ(Rows(DataSetFile(), "SELECT LIST(REC) FROM AO_RISI"), std::vector<std::string>{"1,2,3"});
}


// The consumption-tax totals of branch 01 (every account booked by department):
// received tax (kind 1) of period 1 is 80 in department 10 and 35 in the common
// department, paid tax (kind 2) of period 2 is 30 and 25; branch 02 has 1000 of
// received tax. Department 10 takes 30 % of the common department in period 1
// and 50 % in period 2; the received-tax account also has direct entries of 5
// (department 10) and 10 (common) in period 1.
TEST_F(UserSteps, TaxExclusiveTrialBalanceAddsTheTaxTotals022) {
  const std::string db = DataSetFile();
  for (const char* sql : {
           "INSERT INTO ACCDEF1 (REC, DATATYPE, KAISINO, BUMON) VALUES (1, 1, 1, 2)",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('1190', '119', "
           "'仮払消費税', '1100', 1, 'B')",
           "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM1, DAC, BPFLG) VALUES ('2190', '219', "
           "'仮受消費税', '2100', 2, 'B')",
           "INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES ('01', '10', 1, 1, 0, 80)",
           "INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES ('01', '00', 1, 1, 0, 35)",
           "INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES ('01', '10', 2, 2, 30, 0)",
           "INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES ('01', '00', 2, 2, 25, 0)",
           "INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES ('02', '10', 1, 1, 0, 1000)",
           "INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, KAS_NUK) VALUES ('01', '2190', ' ', '10', 1, 5)",
           "INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, KAS_NUK) VALUES ('01', '2190', ' ', '00', 1, 10)"})
    Exec(db, sql);
  for (const char* kcode : {"1190", "2190"})
    for (const char* bcode : {"10", "00"})
      Exec(db, std::string("INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, HAIBUN01, HAIBUN02) VALUES ('01', '") +
                   kcode + "', ' ', '" + bcode + "', 30, 50)");
  AddDepreciationAccounts(db);
  for (TDbUpdateStepCall step : {&ExecUserDbUpdate011, &ExecUserDbUpdate012, &ExecUserDbUpdate013,
                                 &ExecUserDbUpdate014, &ExecUserDbUpdate015, &ExecUserDbUpdate020,
                                 &ExecUserDbUpdate021, &ExecUserDbUpdate022})
    Run(step);

  // The trial balance of department 10: received tax credit of periods 1 and 3,
  // paid tax debit of period 2.
  struct Case {
    int tax, allocate;
    const char* received;
    const char* paid;
  };
  for (const Case& c : {Case{0, 0, "5 0", "0"}, Case{1, 0, "85 0", "30"}, Case{0, 1, "8 0", "0"},
                        Case{1, 1, "99 0", "43"}}) {
    const std::string call = "FROM SP_SISANHYO_BUMON(" + std::to_string(c.tax) + ", " + std::to_string(c.allocate) +
                             ", '01', '10') WHERE HCODE = '' AND KCODE = ";
    EXPECT_EQ(Rows(db, "SELECT CAST(KAS01 AS INTEGER)||' '||CAST(KAS03 AS INTEGER) " + call + "'2190'"),
              std::vector<std::string>{c.received})
        << c.tax << c.allocate;
    EXPECT_EQ(Rows(db, "SELECT CAST(KAR02 AS INTEGER) " + call + "'1190'"), std::vector<std::string>{c.paid})
        << c.tax << c.allocate;
  }

  // The tax procedure itself on amounts of 7 in every period: whole company,
  // one branch, one department with and without its share of the common
  // department, the common department itself, and a data set that books only
  // profit and loss by department.
  const auto Added = [&](const std::string& Branch, const std::string& Dept, const std::string& Factor) {
    std::string args = "'" + Branch + "', '" + Dept + "', 1";
    for (int i = 0; i < 32; ++i) args += ", 7";
    for (int i = 0; i < 16; ++i) args += ", " + Factor;
    return Rows(db, "SELECT CAST(RKAR01 AS INTEGER)||' '||CAST(RKAS01 AS INTEGER)||' '||CAST(RKAS02 AS INTEGER) "
                    "FROM SP_ZEIGAKU_ADD(" + args + ")");
  };
  struct AddCase {
    const char* branch;
    const char* dept;
    const char* factor;
    const char* expected;
  };
  for (const AddCase& c : {AddCase{"", "", "0", "7 1122 7"}, AddCase{" ", " ", "0", "7 1122 7"},
                           AddCase{"01", "", "0", "7 122 7"}, AddCase{"01", "10", "0", "7 87 7"},
                           AddCase{"01", "10", "0.3", "7 98 7"}, AddCase{"01", "00", "0.3", "7 42 7"}})
    EXPECT_EQ(Added(c.branch, c.dept, c.factor), std::vector<std::string>{c.expected}) << c.branch << "/" << c.dept;
  Exec(db, "UPDATE ACCDEF1 SET BUMON=1");
  EXPECT_EQ(Added("01", "10", "0.3"), std::vector<std::string>{"7 7 7"});
  EXPECT_EQ(Added("01", "", "0"), std::vector<std::string>{"7 122 7"});
}

}  // namespace
