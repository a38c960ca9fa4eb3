// The journal procedures of a data set and the tables and views that follow
// the journal (SIWAKE2, facility counts, SIWAKE_VIEW).
#include <gtest/gtest.h>

#include <string>

#include "schema/isql_session.h"

namespace schematest {
namespace {

// Parameters after the date for an entry "debit 610 (tax code 311, net N,
// tax Z at 10 %) / credit 100 (cash)", link kind 10.
std::string EntryArgs(const std::string& date, const std::string& net, const std::string& tax,
                      const std::string& total) {
  return "'" + date + "',8,0,0,0,0,0,'','6120','610',' ',' ','消耗品費','','',311,0,1," + net + "," + tax +
         ",10,0,'1100','100','','','現金','','',910,0,0," + total + ",0,0,0," + total + "," + tax +
         ",5,1,0,5,0,'文房具',0,'',0,0,0,0,0,NULL,'','','',10,0,10,0,0,100000015";
}

class JournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dat_.CreateFromScript("dataset/11.1.0.sql");
    if (HasFatalFailure()) return;
    const IsqlResult r = dat_.Run(
        "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM0) VALUES ('0111', '100', '現金', '1100');\n"
        "INSERT INTO KAMOKUMST (KCODE, USERCODE, KNAME, GROUPM0) VALUES ('0612', '610', '消耗品費', '6120');\n"
        "COMMIT;\n");
    ASSERT_EQ(r.exit_code, 0) << r.output;
  }

  TempFolder folder_;
  Database dat_{Embedded(), folder_.File("rqacc.fdb")};
};

TEST_F(JournalTest, InsertWritesTwoRowsWithInternalCodesAndExactAmounts) {
  const auto ins = dat_.Query("SELECT NEWREC,NEWSWKREC,NEWSDAYNUM,NEWSITREC FROM SP_SIWAKE_INS(" +
                              EntryArgs("2019-11-01", "99999999999999.9999", "0.0001", "100000000000000") + ");");
  ASSERT_EQ(ins.size(), 1u);
  EXPECT_EQ(ins[0].at("NEWSDAYNUM"), "1");
  EXPECT_EQ(ins[0].at("NEWSITREC"), "1");
  const auto rows = dat_.Query(
      "SELECT S.REC, S.TAISHAKU, S.KCODE, S.R_KCODE, CHAR_LENGTH(S.HCODE) AS HL, S.NUK, S.ZEI, S.TAXCODE, S2.LINKKUB"
      " FROM SIWAKE S JOIN SIWAKE2 S2 ON S2.REC = S.REC ORDER BY S.TAISHAKU;");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("REC"), ins[0].at("NEWREC"));
  EXPECT_EQ(rows[0].at("KCODE"), "0612");
  EXPECT_EQ(rows[0].at("R_KCODE"), "0111");
  EXPECT_EQ(rows[0].at("HL"), "1");  // a single blank: no sub-account
  EXPECT_EQ(rows[0].at("NUK"), "99999999999999.9999");
  EXPECT_EQ(rows[0].at("ZEI"), "0.0001");
  EXPECT_EQ(rows[0].at("TAXCODE"), "311");
  EXPECT_EQ(rows[0].at("LINKKUB"), "10");
  EXPECT_EQ(rows[1].at("TAISHAKU"), "2");
  EXPECT_EQ(rows[1].at("KCODE"), "0111");
  EXPECT_EQ(rows[1].at("TAXCODE"), "910");
  const auto view = dat_.Query("SELECT USERCODE, R_USERCODE, SHONIN_OPCODE FROM SIWAKE_VIEW WHERE TAISHAKU = 1;");
  ASSERT_EQ(view.size(), 1u);
  EXPECT_EQ(view[0].at("USERCODE"), "610");
  EXPECT_EQ(view[0].at("R_USERCODE"), "100");
  EXPECT_EQ(view[0].at("SHONIN_OPCODE"), "0");
}

TEST_F(JournalTest, CorrectionKeepsTheEntryNumberAndDeletionCounts) {
  const auto ins = dat_.Query("SELECT NEWREC,NEWSWKREC FROM SP_SIWAKE_INS(" +
                              EntryArgs("2019-11-01", "1000", "100", "1100") + ");");
  ASSERT_EQ(ins.size(), 1u);
  const std::string rec = ins[0].at("NEWREC"), swk = ins[0].at("NEWSWKREC");
  const auto upd = dat_.Query("SELECT NEWREC,NEWSWKREC,NEWSWKNO,UPREC FROM SP_SIWAKE_UPD(" + rec + "," + swk + "," +
                              swk + ",0," + EntryArgs("2019-11-02", "2000", "200", "2200") + ");");
  ASSERT_EQ(upd.size(), 1u);
  EXPECT_EQ(upd[0].at("UPREC"), "0");
  EXPECT_EQ(upd[0].at("NEWSWKREC"), swk);
  EXPECT_NE(upd[0].at("NEWREC"), rec);
  // The replaced row answers -2 with the live row.
  const auto again = dat_.Query("SELECT NEWREC,UPREC FROM SP_SIWAKE_UPD(" + rec + "," + swk + "," + swk + ",0," +
                                EntryArgs("2019-11-03", "3000", "300", "3300") + ");");
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].at("UPREC"), "-2");
  EXPECT_EQ(again[0].at("NEWREC"), upd[0].at("NEWREC"));
  const auto state = dat_.Query(
      "SELECT (SELECT COUNT(*) FROM SIWAKE WHERE DELFLG = 2) AS REPLACED,"
      " (SELECT COUNT(*) FROM SIWAKE WHERE DELFLG = 0) AS LIVE,"
      " (SELECT SIWAKECOUNT FROM SISETUMST WHERE SCODE = '') AS CNT FROM RDB$DATABASE;");
  EXPECT_EQ(state[0].at("REPLACED"), "2");
  EXPECT_EQ(state[0].at("LIVE"), "2");
  EXPECT_EQ(state[0].at("CNT"), "1");
  const auto del = dat_.Query("SELECT RESULT+1 AS RES FROM SP_SIWAKE_DEL(" + swk + ", 100000015);\n"
                              "SELECT RESULT+1 AS RES FROM SP_SIWAKE_DEL(" + swk + ", 100000015);\n"
                              "SELECT SIWAKECOUNT FROM SISETUMST WHERE SCODE = '';");
  ASSERT_EQ(del.size(), 3u);
  EXPECT_EQ(del[0].at("RES"), "1");
  EXPECT_EQ(del[1].at("RES"), "0");  // nothing left to delete
  EXPECT_EQ(del[2].at("SIWAKECOUNT"), "0");
}

// Rows written directly (as a data set's loader does) get their numbers and
// their SIWAKE2 rows, which the tax aggregation joins.
TEST_F(JournalTest, DirectlyInsertedRowsAreNumberedAndLinked) {
  const IsqlResult r = dat_.Run(
      "INSERT INTO SIWAKE (REC, SWKREC, TAISHAKU, HIZUKE, KCODE, R_KCODE, TAXCODE, TAXDC, NUK, ZEI, RIT, LINKKUB)"
      " VALUES (0, 7, 1, '2019-10-01', '0612', '0111', 311, 1, 1000, 80, 8, 9);\n"
      "UPDATE SIWAKE SET LINKKUB = 3 WHERE SWKREC = 7;\nCOMMIT;\n");
  ASSERT_EQ(r.exit_code, 0) << r.output;
  const auto rows = dat_.Query(
      "SELECT S.REC, S2.LINKKUB FROM SIWAKE S INNER JOIN KAMOKUMST KM ON (S.KCODE=KM.KCODE)"
      " INNER JOIN SIWAKE2 S2 ON (S.REC=S2.REC) WHERE (S.DELFLG=0) AND (S.TAXDC<>0);");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].at("REC"), "0");
  EXPECT_EQ(rows[0].at("LINKKUB"), "3");
}

}  // namespace
}  // namespace schematest
