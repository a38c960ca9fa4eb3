// The accounting-data dump against real data sets of the installation
// fixture, loaded into a private MariaDB server.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "comm/mariadbserver.h"
#include "comm/sqldump.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "platform/rtl/cp932.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::string::size_type start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

class SqlDumpTest : public dmtest::DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    SystemDef.BaseDir = fs::path(VERUDA_INIT_DIR).parent_path().string();
    SystemDef.AppVer = "11.1.0";
    AppName = "コルベクス財務";
    ConnectDataSet(DataSet());
    ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  }
  virtual int DataSet() const { return 1; }

  // Dumps the connected data set into the service database Name.
  std::string Dump(const std::string& name = "tessaly_d_TEST_1") {
    TWebDbSqlDump dump;
    dump.DatabaseName = name;
    EXPECT_TRUE(dump.DumpDatabase());
    path_ = dump.OutputPath;
    return ReadAll(path_);
  }

  std::string path_;
};

// Every value kind, read from real columns of the connected data set.
TEST_F(SqlDumpTest, ValueKindsFollowTheirRules) {
  struct Case {
    const char* expr;
    TDumpKind kind;
    const char* written;
  } cases[] = {
      {"CAST('O''Neil' AS VARCHAR(20))", TDumpKind::Str, "'O\\'Neil'"},
      {"CAST('O''Neil' AS VARCHAR(20))", TDumpKind::Quoted, "'O\\'Neil'"},
      {"CAST('a\\b' AS VARCHAR(20))", TDumpKind::Str, "'a\\\\b'"},
      {"CAST('経営' AS VARCHAR(20))", TDumpKind::Str, "'経営'"},
      {"CAST(NULL AS VARCHAR(20))", TDumpKind::Str, "null"},
      {"CAST(NULL AS VARCHAR(20))", TDumpKind::Quoted, "null"},
      {"CAST(NULL AS INTEGER)", TDumpKind::Plain, "null"},
      {"CAST(NULL AS DATE)", TDumpKind::Date, "null"},
      {"CAST(NULL AS TIMESTAMP)", TDumpKind::DateTime, "null"},
      {"CAST(42 AS INTEGER)", TDumpKind::Number, "42"},
      {"CAST(1234.5 AS NUMERIC(18,4))", TDumpKind::Plain, "1234.5"},
      {"CAST('1899-12-30' AS DATE)", TDumpKind::Date, "'1970-01-02'"},
      {"CAST('1965-05-01' AS DATE)", TDumpKind::Date, "'1970-01-02'"},
      {"CAST('1970-01-01' AS DATE)", TDumpKind::Date, "'1970-01-02'"},
      {"CAST('1970-01-02' AS DATE)", TDumpKind::Date, "'1970/01/02'"},
      {"CAST('2038-01-01' AS DATE)", TDumpKind::Date, "'2038-01-01'"},
      {"CAST('2040-06-01' AS DATE)", TDumpKind::Date, "'2038-01-01'"},
      {"CAST('1970-01-01 12:00:00' AS TIMESTAMP)", TDumpKind::DateTime, "'1970/01/01 12:00:00'"},
      {"CAST('1970-01-01 00:00:00' AS TIMESTAMP)", TDumpKind::DateTime, "'1970-01-02 00:00:00'"},
      {"CAST('2039-01-01 10:00:00' AS TIMESTAMP)", TDumpKind::DateTime, "'2038-01-01 00:00:00'"},
      {"CAST(255 AS INTEGER)", TDumpKind::Colour, "16711680"},
      {"CAST(16711680 AS INTEGER)", TDumpKind::Colour, "255"},
      {"CAST(65280 AS INTEGER)", TDumpKind::Colour, "65280"},
  };
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&DataSetConnection().IBTransactionDAT);
  DataSetConnection().IBTransactionDAT.StartTransaction();
  for (const auto& c : cases) {
    q.SQL.SetText(std::string("SELECT ") + c.expr + " AS V FROM RDB$DATABASE");
    q.ExecQuery();
    EXPECT_EQ(FieldValue(q.FieldByName("V"), c.kind), c.written) << c.expr;
    q.Close();
  }
  DataSetConnection().IBTransactionDAT.Commit();
  EXPECT_EQ(DumpKindOf("str"), TDumpKind::Str);
  EXPECT_EQ(DumpKindOf("Curr"), TDumpKind::Number);
  EXPECT_EQ(DumpKindOf("datetime"), TDumpKind::DateTime);
  EXPECT_EQ(DateTimeValue(TDumpKind::DateTime, EncodeDate(2024, 5, 1) + 0.5), "'2024-05-01 12:00:00'");
  EXPECT_EQ(DateTimeValue(TDumpKind::Date, EncodeDate(1960, 5, 1)), "'1970-01-02'");
}

TEST(SqlDumpVersion, From802) {
  EXPECT_FALSE(DataVersionFrom802(8, 0, 1));
  EXPECT_FALSE(DataVersionFrom802(7, 9, 9));
  EXPECT_TRUE(DataVersionFrom802(8, 0, 2));
  EXPECT_TRUE(DataVersionFrom802(8, 1, 0));
  EXPECT_TRUE(DataVersionFrom802(9, 0, 0));
}

TEST_F(SqlDumpTest, EmptyDatabaseNameTouchesNothing) {
  TWebDbSqlDump dump;
  fs::create_directories(fs::path(dump.OutputPath).parent_path());
  std::ofstream(dump.OutputPath) << "old";
  EXPECT_FALSE(dump.DumpDatabase());
  EXPECT_EQ(ReadAll(dump.OutputPath), "old");
}

TEST_F(SqlDumpTest, FrameLinesStandAsWritten) {
  const std::string text = Dump();
  const auto lines = Lines(text);
  ASSERT_GT(lines.size(), 20u);
  const std::string rule = "-- ==============================================";
  const std::vector<std::string> head = {
      "-- ",
      "-- Web Tessaly DataBase Dump",
      "--   Application     : " + Utf8ToCp932(AppName) + " (11.1.0)",
      "--   DataBase Version: 11.1.0",
      "--   Creation File   : " + path_,
  };
  for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << i;
  EXPECT_EQ(lines[5].substr(0, 24), "--   Creation Date   : 2");
  EXPECT_EQ(lines[6], "--   mysql importline: mysql.exe -u root < \"" + path_ + "\"");
  const std::vector<std::string> db = {
      "-- ",
      "",
      "DROP DATABASE /*!32312 IF EXISTS*/ `tessaly_d_TEST_1`;",
      "CREATE DATABASE /*!32312 IF NOT EXISTS*/ `tessaly_d_TEST_1` /*!40100 DEFAULT CHARACTER SET utf8 COLLATE "
      "utf8_unicode_ci */;",
      "USE `tessaly_d_TEST_1`;",
      "",
      rule,
      "--  Table Create",
      rule,
      "",
  };
  for (std::size_t i = 0; i < db.size(); ++i) EXPECT_EQ(lines[7 + i], db[i]) << 7 + i;
  EXPECT_EQ(lines.back().substr(0, 19), "--   Created Time: ");
  EXPECT_EQ(lines.back().size(), 27u);
  // The version row carries the data set's own version.
  EXPECT_NE(text.find("INSERT INTO ACCVERSION(MAJOR,MINOR,REV,MEMO) VALUES\r\n(11,1,0,'"), std::string::npos);
  // An empty table leaves an empty line after its DELETE line; the default chart row.
  EXPECT_NE(text.find("DELETE FROM GROUPMST;\r\n\r\nDELETE FROM"), std::string::npos);
  EXPECT_NE(text.find("DELETE FROM CHARTINF;\r\nINSERT INTO CHARTINF VALUES(100009999,0,0,0,0,16777215,0,3,2,255,"
                      "16776960,16711680,65535,20,0,0,0,0,0,0);\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("INSERT INTO ACCREG VALUES('環境設定','証憑列表示区分','整数',0,'');"), std::string::npos);
  EXPECT_NE(text.find("'環境設定','試算表販売費・一般管理費','文字','','');"), std::string::npos);
}

TEST_F(SqlDumpTest, BatchedTablesStartAStatementEvery100Rows) {
  for (int rows : {100, 101}) {
    ExecOn(DataFolder(1) + "/rqacc.fdb", "DELETE FROM SIWAKE2");
    for (int i = 1; i <= rows; ++i)
      ExecOn(DataFolder(1) + "/rqacc.fdb",
             "INSERT INTO SIWAKE2 (REC, SWKREC, LINKKEY, LINKKUB, LINKREC) VALUES (" + std::to_string(i) + ", " +
                 std::to_string(i) + ", 'K''" + std::to_string(i) + "', NULL, 1)");
    const std::string text = Dump();
    const auto start = text.find("DELETE FROM SIWAKE2;\r\n");
    const auto end = text.find("DELETE FROM SWK_SEARCH;");
    ASSERT_NE(start, std::string::npos);
    const std::string section = text.substr(start, end - start);
    std::size_t headers = 0;
    for (auto p = section.find("INSERT INTO SIWAKE2 VALUES"); p != std::string::npos;
         p = section.find("INSERT INTO SIWAKE2 VALUES", p + 1))
      ++headers;
    EXPECT_EQ(headers, rows == 100 ? 1u : 2u);
    EXPECT_NE(section.find("(100,100,'K\\'100',null,1);\r\n"), std::string::npos) << rows;
    if (rows == 101) {
      EXPECT_NE(section.find(";\r\nINSERT INTO SIWAKE2 VALUES\r\n(101,101,'K\\'101',null,1);\r\n"), std::string::npos);
    }
  }
}

TEST_F(SqlDumpTest, EmptyBudgetRulesGainTheirSixDefaults) {
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM AOPRO_YOSAN_KIHONRULE"), "0");
  const std::string text = Dump();
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM AOPRO_YOSAN_KIHONRULE"), "6");
  EXPECT_NE(text.find("INSERT INTO AOPRO_YOSAN_KIHONRULE(FID,FKOMOKU,FROW,FKBN,FWARIAI,FSITE,FMEMO,FHIZUKE,FKINGAKU) "
                      "VALUES\r\n(1,'仕入債務',1,'現金',"),
            std::string::npos);
  EXPECT_NE(text.find("(6,'売上債権',3,'手形',"), std::string::npos);
}

// Rows for the tables that the data set leaves empty, so that every section
// but the medical one carries rows into the service's database; the values
// are those that need care: quotes, backslashes, Japanese text, nulls, dates
// outside the service's range, fractions and large amounts.
const char* const kSeedRows[] = {
    "INSERT INTO ACCDEF5 (SCODE, BCODE, MNUM, NUM1, NUM8) VALUES ('00', '', 1, 1.5, -2)",
    "INSERT INTO ACCREG (AGROUP, ACODE, ATYPE, ATEXT, AMEMO) VALUES ('基本''設定', 'キー\\1', '文字', 'a''b\\c', NULL)",
    "INSERT INTO ACCREG (AGROUP, ACODE, ATYPE, ATEXT) VALUES ('経営テサリー', '送信', '整数', '1')",
    "INSERT INTO ACCTOTALNAME (REC, VERSION, KGROUP, KESKUBUN, ARRAYNUM, KOUMOKU, PLUSNAME, MODIFY) "
    "VALUES (1, 1, '1110', 0, 1, '流動''資産', '増加', 0)",
    "INSERT INTO BUMONMST (BCODE, BNAME, XSTR, KENSAKU_KEY) VALUES ('01', 'O''Neil\\部門', NULL, NULL)",
    "INSERT INTO BUMONMST (BCODE, BNAME, XSTR, KENSAKU_KEY) VALUES ('02', '営業部', 'COLOR=255', 'ｴｲｷﾞｮｳ')",
    "INSERT INTO BUNSEKI_SYUKEIHYO (RECKEY, CODE, TITLE, CHOHYO_BS) VALUES (7, 'A1', '分析''表', 1)",
    "INSERT INTO BUNSEKI_SYUKEIHYO (RECKEY, CODE, TITLE, CHOHYO_BS) VALUES (3, 'A2', '集計表', 0)",
    "INSERT INTO CHARTINF (OPCODE, CTYPE1) VALUES (100009999, 5)",
    "INSERT INTO CHARTINF (OPCODE, CTYPE1, BAKCOL) VALUES (100000010, 3, 255)",
    "INSERT INTO EXTERKS (REC, KUBUN, KGROUP, SUBREC, KNAME1, KNAMELOCK, AO_KISHUZAN, AO_KIMATUZAN) "
    "VALUES (1, 1, '1110', 0, '外部''科目', 0, 12345.6789, -5)",
    "INSERT INTO FINMST (F_CODE, F_REC, F_KUBU, F_CAD, F_TEXT) VALUES (1, 1, 'K', 0, '財務\\本文')",
    "INSERT INTO GROUPLIST (GCODE, BCODE) VALUES ('G1', '01')",
    "INSERT INTO GROUPMST (GCODE, GNAME) VALUES ('G1', 'グループ''1')",
    "INSERT INTO HIKAKU_BUMON (PCODE, BCODE, NUMBER) VALUES ('P1', '01', 1)",
    "INSERT INTO HIKAKU_GROUP (PCODE, GCODE, NUMBER) VALUES ('P1', 'G1', 1)",
    "INSERT INTO HIKAKU_PATTERN (PCODE, PNAME, JIGYOKBN) VALUES ('P1', '比較''1', 0)",
    "INSERT INTO HIKAKU_SISETU (PCODE, SCODE, NUMBER) VALUES ('P1', '00', 1)",
    "INSERT INTO HIKAKU_SISETU_GROUP (PCODE, GCODE, JIGYOKBN, NUMBER) VALUES ('P1', 'G1', 0, 1)",
    "INSERT INTO HIKAKU_SISETU_PATTERN (PCODE, PNAME, JIGYOKBN) VALUES ('P1', '施設比較', NULL)",
    "INSERT INTO HOJOMST (KCODE, HCODE, HKANA, HNAME, REC, BPFLG, RTIME) "
    "VALUES ('1210', '001', 'ﾄｸｲｻｷ', '得意先''A\\', 1, '1', '1960-01-01 10:00:00')",
    "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID) VALUES (200, 'P''1')",
    "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID) VALUES (200, 'P2')",
    "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID) VALUES (1200, 'M1')",
    "INSERT INTO KAKOSIWAKE1 (REC, SWKREC, HIZUKE, KNAME, TEKTEXT, KINGAKU, CTIME, RTIME) "
    "VALUES (1, 1, '2018-10-01', '現金', 'O''Neil\\様', 1100, '2040-01-01 00:00:00', '1899-12-30 00:00:00')",
    "INSERT INTO KAKOSIWAKE2 (REC, SWKREC, HIZUKE, KNAME, TEKTEXT, KINGAKU) "
    "VALUES (1, 1, '2017-10-01', '売上高', NULL, 922337203685477.5807)",
    "INSERT INTO KAKOZAN (NENDO, SCODE, BCODE, KCODE, HCODE, KISHU, KOMIZAN_1, HAIBUN_16) "
    "VALUES (2018, '00', '', '1110', '', 1000, 0.0001, -1)",
    "INSERT INTO KAMOKU_MS (SCODE, KCODE, HCODE, BCODE, MNUM, KAR_NUK, BYOSAN3) VALUES ('00', '1110', '', '', 1, 1000.5, 3)",
    "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE, KISHU_KOMI, HAIBUN16, KAKOZAN) "
    "VALUES ('00', '1110', '', '', 500, 16, 7)",
    "INSERT INTO KAMOKU_TAX (SCODE, BCODE, KKUBUN, MNUM, KAR, KAS) VALUES ('00', '', 1, 1, 100, 200)",
    "INSERT INTO MB_KMKGROUP (GCODE, KCODE) VALUES ('G1', '1110')",
    "INSERT INTO TESSALY_HIKAKU (REC, BUNRUI, MEISHOU, TANIMEI, BADRATE, BADKIND, GOODRATE, GOODKIND, GROUPA1) "
    "VALUES (1, 1, '売上''高', '円', 1.5, 1, 2.5, 2, 'a')",
    "INSERT INTO TESSALY_HIKAKU_COL (REC, NUM, MEISHOU) VALUES (1, 1, '列''1')",
    "INSERT INTO TESSALY_YOJITUHENDOU (REC, MEISHOU, RATE1, KIND1, RATE2, KIND2) VALUES (1, '変動\\', 1, 1, 2, 2)",
    "INSERT INTO SISETUBUM (SCODE, BCODE, HAIBUN) VALUES ('00', '01', 100)",
    "INSERT INTO SISETUGROUP (GCODE, GNAME) VALUES ('G1', '施設''群')",
    "INSERT INTO SISETUGROUPLIST (GCODE, SCODE) VALUES ('G1', '00')",
    "INSERT INTO SWK_SEARCH (REC, NAME, KIND, STYPE, SSTR) VALUES (1, '検索''1', 1, 1, '条件\\')",
    "INSERT INTO TAXMST (TAX_CODE, TAX_REC, TAX_GNAM, TAX_NAME, TAX_HOUSIKI, TAX_UH, TAX_DAC, TAX_NAME2) "
    "VALUES (110, 1, '課税''売上', '売上10%', 0, 1, 0, NULL)",
    "INSERT INTO MSD_HOUKOKU (MDGROUP, MDCODE, MDTYPE, MDTEXT1) VALUES ('G', '1', 'T', 'x')",
    "INSERT INTO AOPRO_YOSAN_KANRI (FYOSAN_ID, FYOSAN_NAME, FYOSAN_HOUHOU, FZOUGENRITU) VALUES (1, '予算''1', 1, 1.25)",
    "INSERT INTO AOPRO_KAMOKU_YOSAN (FYOSAN_ID, FNENDO, FSCODE, FKCODE, FHCODE, FBCODE, FMNUM, FYOSAN) "
    "VALUES (1, 2019, '00', '1110', '', '', 1, 99999999999.9999)",
    "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN, FWARIAI, FHIZUKE) VALUES ('売上債権', 1, '現金', 100, NULL)",
    "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN) VALUES ('売上債権', 9, '設定単位')",
    "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN) VALUES ('未払金／未払費用', 1, '掛')",
    "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN, FMEMO, FHIZUKE, FKINGAKU) "
    "SELECT '納税', RDB$RELATION_ID, '法人税', 'メモ''', DATEADD(RDB$RELATION_ID DAY TO DATE '2019-05-31'), 1000 "
    "FROM RDB$RELATIONS WHERE RDB$RELATION_ID BETWEEN 1 AND 11",
    "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN) VALUES ('その他', 1, '雑')",
    "INSERT INTO KAMOKU_KOSEI_GROUP (FGNAME, FKCODE, FHCODE) VALUES ('利益''群', '4110', '')",
    "INSERT INTO KAMOKU_KOSEI_GROUP (FGNAME, FKCODE, FHCODE) VALUES ('未払金／未払費用', '2110', '')",
    "INSERT INTO TESSALY_YOJITU_HYOKARULE (FGCODE, FMEISHOU, FBAD_RATE, FBAD_HANI, FGOOD_RATE, FGOOD_HANI) "
    "VALUES ('G1', '評価''1', 1.5, 1, 2.5, 2)",
};

// The rows that a section's table must hold in the service's database,
// counted in the data set; a section not named here holds exactly the rows of
// its own table.
const std::map<std::string, std::string> kSourceCounts = {
    // the data set's settings but the service's own group, and 25 operator settings
    {"ACCREG", "SELECT COUNT(*) + 25 FROM ACCREG WHERE AGROUP <> '経営テサリー'"},
    {"ACCVERSION", "SELECT 1 FROM RDB$DATABASE"},
    // the chart settings of the service's operator, a default row without them
    {"CHARTINF", "SELECT MAXVALUE(COUNT(*), 1) FROM CHARTINF WHERE OPCODE = 100009999"},
    {"JOBCONTROL", "SELECT COUNT(*) FROM JOBCONTROL2 WHERE LEVELNO = 200"},
    {"MSD_HOUKOKU", "SELECT 0 FROM RDB$DATABASE"},  // medical data only
    // rules set per unit and the payables rules are dropped; at most ten tax
    // and ten other rules
    {"AOPRO_YOSAN_KIHONRULE",
     "SELECT (SELECT COUNT(*) FROM AOPRO_YOSAN_KIHONRULE WHERE FKOMOKU NOT IN ('納税', 'その他', '未払金／未払費用') "
     "AND NOT (FKOMOKU IN ('売上債権', '仕入債務') AND FKBN = '設定単位')) "
     "+ (SELECT MINVALUE(COUNT(*), 10) FROM AOPRO_YOSAN_KIHONRULE WHERE FKOMOKU = '納税') "
     "+ (SELECT MINVALUE(COUNT(*), 10) FROM AOPRO_YOSAN_KIHONRULE WHERE FKOMOKU = 'その他') FROM RDB$DATABASE"},
    {"KAMOKU_KOSEI_GROUP", "SELECT COUNT(*) FROM KAMOKU_KOSEI_GROUP WHERE FGNAME <> '未払金／未払費用'"},
};

// The whole dump of a data set loads into MariaDB, and every section's table
// holds as many rows as its source.
TEST_F(SqlDumpTest, WholeDumpLoadsIntoMariaDb) {
  for (const char* sql : kSeedRows) ExecOn(DataFolder(1) + "/rqacc.fdb", sql);
  Dump("tessaly_d_TEST_1");
  std::string output;
  ASSERT_EQ(mariadbtest::LoadScript(path_, &output), 0) << output;

  const auto tables = DumpSectionTables();
  ASSERT_EQ(tables.size(), 46u);
  for (const auto& t : tables) {
    const auto special = kSourceCounts.find(t);
    const std::string source =
        QueryDat(special == kSourceCounts.end() ? "SELECT COUNT(*) FROM " + t : special->second);
    EXPECT_EQ(mariadbtest::Query("SELECT COUNT(*) FROM tessaly_d_TEST_1." + t), source + "\n") << t;
    if (t != "MSD_HOUKOKU") {
      EXPECT_NE(source, "0") << t << " has no rows to carry";
    }
  }
  for (const auto& [t, sql] : kSourceCounts)
    EXPECT_NE(std::find(tables.begin(), tables.end(), t), tables.end()) << t;

  // Values arrive as the data set holds them (the client's batch output
  // writes a backslash as two).
  const std::pair<const char*, const char*> values[] = {
      {"SELECT BNAME FROM BUMONMST WHERE BCODE='01'", "O'Neil\\\\部門\n"},
      {"SELECT ATEXT, AMEMO FROM ACCREG WHERE ACODE='キー\\\\1'", "a'b\\\\c\tNULL\n"},
      {"SELECT CTYPE1, BAKCOL FROM CHARTINF", "2\t16777215\n"},
      {"SELECT KINGAKU FROM KAKOSIWAKE2", "922337203685477.5807\n"},
      {"SELECT FYOSAN FROM AOPRO_KAMOKU_YOSAN", "99999999999.9999\n"},
  };
  for (const auto& [sql, expected] : values)
    EXPECT_EQ(mariadbtest::Query(std::string("USE tessaly_d_TEST_1; ") + sql), expected) << sql;
}

// A data set older than 8.0.2: no menu rows, budget-limited sections empty,
// the closing statement of the account groups still written.
TEST_F(SqlDumpTest, DataOlderThan802LeavesOutItsLaterTables) {
  AccInf.VerMajor = 8;
  AccInf.VerMinor1 = 0;
  AccInf.VerMinor2 = 1;
  ExecOn(DataFolder(1) + "/rqacc.fdb", "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID) VALUES (200, 'P1')");
  const std::string text = Dump();
  EXPECT_NE(text.find("DELETE FROM JOBCONTROL;\r\nDELETE FROM KAKOSIWAKE1;"), std::string::npos);
  for (const char* t : {"MSD_HOUKOKU", "AOPRO_YOSAN_KANRI", "AOPRO_KAMOKU_YOSAN", "AOPRO_YOSAN_KIHONRULE",
                        "TESSALY_YOJITU_HYOKARULE"})
    EXPECT_NE(text.find(std::string("DELETE FROM ") + t + ";\r\n\r\n"), std::string::npos) << t;
  EXPECT_NE(text.find("DELETE FROM KAMOKU_KOSEI_GROUP;\r\n\r\n"
                      "DELETE FROM KAMOKU_KOSEI_GROUP WHERE (FGNAME='未払金／未払費用');\r\n"),
            std::string::npos);
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM AOPRO_YOSAN_KIHONRULE"), "0");
  std::string output;
  EXPECT_EQ(mariadbtest::LoadScript(path_, &output), 0) << output;
}

// Medical data: the menu rows of level 1200 are written with level 200, the
// medical columns are read from the tables.
class SqlDumpMedicalTest : public SqlDumpTest {
 protected:
  int DataSet() const override { return 3; }
};

TEST_F(SqlDumpMedicalTest, MedicalDataReadsItsOwnColumnsAndMenuLevel) {
  ASSERT_EQ(AccInf.DATATYPE, 3);
  const std::string db = DataFolder(3) + "/rqacc.fdb";
  ExecOn(db, "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID) VALUES (1200, 'M1')");
  ExecOn(db, "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID) VALUES (200, 'C1')");
  ExecOn(db, "INSERT INTO MSD_HOUKOKU (MDGROUP, MDCODE, MDTYPE, MDTEXT1) VALUES ('G', '1', 'T', 'x')");
  const std::string text = Dump("tessaly_d_MED_1");
  EXPECT_NE(text.find("DELETE FROM JOBCONTROL;\r\nINSERT INTO JOBCONTROL VALUES\r\n(1,200,0,0,'','M1');\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("INSERT INTO MSD_HOUKOKU(MDGROUP,MDCODE,MDTYPE,MDTEXT1,MDTEXT2,MDTEXT3) VALUES\r\n"
                      "('G','1','T','x',"),
            std::string::npos);
  std::string output;
  ASSERT_EQ(mariadbtest::LoadScript(path_, &output), 0) << output;
  EXPECT_EQ(mariadbtest::Query("SELECT COUNT(*) FROM tessaly_d_MED_1.MSD_HOUKOKU"), "1\n");
}

// Twelve tax rules give ten rows; the row number goes on in the next group.
TEST_F(SqlDumpTest, BudgetRuleGroupsStopAtTenRows) {
  const std::string db = DataFolder(1) + "/rqacc.fdb";
  for (int i = 1; i <= 12; ++i)
    ExecOn(db, "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN) VALUES ('納税', " + std::to_string(i) +
                   ", 'K')");
  ExecOn(db, "INSERT INTO AOPRO_YOSAN_KIHONRULE (FKOMOKU, FROW, FKBN) VALUES ('その他', 1, 'K')");
  const std::string text = Dump();
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM AOPRO_YOSAN_KIHONRULE"), "13");  // no defaults added
  EXPECT_NE(text.find("(10,'納税',10,'K',"), std::string::npos);
  EXPECT_EQ(text.find("'納税',11,"), std::string::npos);
  EXPECT_NE(text.find("(11,'その他',1,'K',"), std::string::npos);
}

// A failure after the file was created ends the dump with its error box and
// leaves no script; a file that cannot be created is an error to the caller.
TEST_F(SqlDumpTest, FailuresLeaveNoScript) {
  {
    TWebDbSqlDump dump;
    dump.DatabaseName = "x";
    dump.IndexTemplate = "/nonexistent/tessaly_empty_index.sql";
    EXPECT_FALSE(dump.DumpDatabase());
    EXPECT_FALSE(fs::exists(dump.OutputPath));
    ASSERT_FALSE(shown_.empty());
    EXPECT_EQ(shown_.back().text.rfind("SQLDumpファイルの作成に失敗しました。", 0), 0u) << shown_.back().text;
    EXPECT_TRUE(fs::is_empty(fs::path(dump.OutputPath).parent_path()));
  }
  {
    TWebDbSqlDump dump;
    dump.DatabaseName = "x";
    dump.OutputPath = "/proc/no-such-folder/rqacc.sql";
    try {
      dump.DumpDatabase();
      ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find("\r\n\"/proc/no-such-folder/rqacc.sql\"が使用中です。"), std::string::npos)
          << e.what();
    }
  }
}

}  // namespace
