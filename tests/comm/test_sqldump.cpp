// The accounting-data dump against real data sets of the installation
// fixture, loaded into a private MariaDB server.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// The whole dump of a data set loads into MariaDB, and every table holds as
// many rows as its source.
TEST_F(SqlDumpTest, WholeDumpLoadsIntoMariaDb) {
  ExecOn(DataFolder(1) + "/rqacc.fdb",
         "INSERT INTO BUMONMST (BCODE, BNAME, XSTR, KENSAKU_KEY) VALUES ('01', 'O''Neil\\部門', NULL, NULL)");
  ExecOn(DataFolder(1) + "/rqacc.fdb", "INSERT INTO GROUPMST (GCODE, GNAME) VALUES ('G1', 'グループ''1')");
  ExecOn(DataFolder(1) + "/rqacc.fdb", "INSERT INTO CHARTINF (OPCODE, CTYPE1) VALUES (100009999, 5)");
  Dump("tessaly_d_TEST_1");
  std::string output;
  ASSERT_EQ(mariadbtest::LoadScript(path_, &output), 0) << output;
  const char* tables[] = {"ACCDEF1", "ACCDEF2", "ACCDEF5", "BUMONMST", "EXTERKS", "GROUPMST", "HOJOMST",
                          "KAKOSIWAKE1", "KAKOSIWAKE2", "KAKOZAN", "KAMOKUMST", "KAMOKU_MS", "KAMOKU_SZ",
                          "KAMOKU_TAX", "SISETUBUM", "SISETUGROUP", "SISETUMST", "SIWAKE", "SIWAKE2", "SWK_SEARCH",
                          "TAXMST", "AOPRO_YOSAN_KANRI", "AOPRO_KAMOKU_YOSAN", "AOPRO_YOSAN_KIHONRULE",
                          "TESSALY_YOJITU_HYOKARULE", "CHARTINF", "TESSALY_HIKAKU"};
  for (const char* t : tables) {
    const std::string source = QueryDat(std::string("SELECT COUNT(*) FROM ") + t);
    EXPECT_EQ(mariadbtest::Query(std::string("SELECT COUNT(*) FROM tessaly_d_TEST_1.") + t), source + "\n") << t;
  }
  EXPECT_EQ(mariadbtest::Query("SELECT BNAME FROM tessaly_d_TEST_1.BUMONMST WHERE BCODE='01'"),
            "O'Neil\\\\部門\n");
  EXPECT_EQ(mariadbtest::Query("SELECT CTYPE1, BAKCOL FROM tessaly_d_TEST_1.CHARTINF"), "2\t16777215\n");
  // The ACCREG rows: the source's plus the 25 operator settings.
  const int accreg = std::stoi(QueryDat("SELECT COUNT(*) FROM ACCREG WHERE AGROUP <> '経営テサリー'"));
  EXPECT_EQ(mariadbtest::Query("SELECT COUNT(*) FROM tessaly_d_TEST_1.ACCREG"), std::to_string(accreg + 25) + "\n");
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
