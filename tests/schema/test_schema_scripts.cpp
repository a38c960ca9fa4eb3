// Each database kind is created from its script and carries the tables,
// procedures, version and first rows that the program relies on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schema/isql_session.h"

namespace schematest {
namespace {

struct Kind {
  const char* script;
  const char* file;
  std::vector<std::string> tables;
  std::vector<std::string> procedures;
  std::vector<std::string> functions;
  const char* version_query;  // answers V; empty when the kind has none
  const char* version;
};

const Kind kKinds[] = {
    {"system/11.0.1.sql", "rqaccdef.fdb",
     {"VERSION", "SYSDEF", "SYSREG", "SYSTEMINI", "GENGO", "OPERATOR", "LEVELNAME", "LOGONUSERLIST",
      "DATALIST", "DATALIST_EX", "CHILD_DATALIST", "SERVERDATALIST", "CHILD_SERVERDATALIST",
      "DATAPLACEMAN", "KENSAKUJYOKEN", "FORMRSIZE", "JOBCONTROL2", "STYLECOLOR", "USERCODE", "USERGROUP"},
     {"LOGONUSERTEST", "TE_LOGONUSERTEST", "SP_DATALIST_INSERT", "SP_DATALIST_UPDATE", "FILEOPERATION",
      "DIRECTORYTEST", "LONGTOSHORTFILENAME"},
     {},
     "SELECT MAJOR || '.' || MINOR1 || '.' || MINOR2 AS V FROM VERSION ORDER BY MAJOR DESC, MINOR1 DESC, MINOR2 DESC ROWS 1;",
     "11.0.1"},
    {"dataset/11.1.0.sql", "rqacc.fdb",
     {"ACCDEF1", "ACCDEF2", "ACCVERSION", "ACCREG", "ACCREG_BLOB_BINARY", "ACCTOTALNAME", "SIWAKE", "SIWAKE2",
      "KAMOKUMST", "BUMONMST", "SISETUMST", "OPINF", "OPDEFSISETU", "OPLICENSE", "TUSIN_ID", "MYNUMBER_LOG",
      "TAX_KAZEIHOUSIKI", "KANPU_SINKOKU", "KANPU_SINKOKU_TORIHIKI", "KANPU_SINKOKU_SIIREKIN",
      "TAX_TOKUREI_URIAGE_COMMON", "TAX_TOKUREI_URIAGE_10EIGYOUBI", "TAX_TOKUREI_URIAGE_SIIREWARIAI",
      "TAX_TOKUREI_SIIRE_COMMON", "TAX_TOKUREI_SIIRE_URIAGEWARIAI", "HOJOMST", "KAMOKU_SZ",
      "SIWAKE_VIEW", "KAKOSIWAKE1_VIEW", "KAKOSIWAKE2_VIEW", "KAMOKU_VIEW"},
     {"SP_SIWAKE_INS", "SP_SIWAKE_UPD", "SP_SIWAKE_DEL", "OPINF_DELETE", "SP_HOJO_KAMOKUSZ_INS"},
     {},
     "SELECT MAJOR || '.' || MINOR1 || '.' || MINOR2 AS V FROM ACCVERSION WHERE REC=1;",
     "11.1.0"},
    {"filemanager/1.0.0.sql", "rqfileman.fdb", {"FILETRANS"}, {}, {"SP_FILETOBLOB", "SP_BLOBTOFILE"}, "", ""},
};

std::string InList(const std::vector<std::string>& names) {
  std::string s;
  for (const auto& n : names) s += (s.empty() ? "'" : ",'") + n + "'";
  return s.empty() ? "''" : s;
}

TEST(SchemaScripts, EveryKindHasItsObjectsAndVersion) {
  ASSERT_FALSE(InstalledUdrPath().empty()) << "the server routine plug-in is not installed: run scripts/install-udr.sh";
  TempFolder folder;
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.script);
    Database db(Embedded(), folder.File(kind.file));
    db.CreateFromScript(kind.script);
    if (HasFatalFailure()) return;
    const auto rows = db.Query(
        "SELECT (SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN (" + InList(kind.tables) + ")) AS T,"
        " (SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME IN (" + InList(kind.procedures) + ")) AS P,"
        " (SELECT COUNT(*) FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME IN (" + InList(kind.functions) + ")) AS F"
        " FROM RDB$DATABASE;");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("T"), std::to_string(kind.tables.size()));
    EXPECT_EQ(rows[0].at("P"), std::to_string(kind.procedures.size()));
    EXPECT_EQ(rows[0].at("F"), std::to_string(kind.functions.size()));
    const auto cs = db.Query("SELECT TRIM(RDB$CHARACTER_SET_NAME) AS CS FROM RDB$DATABASE;");
    ASSERT_EQ(cs.size(), 1u);
    EXPECT_EQ(cs[0].at("CS"), "SJIS_0208");
    if (*kind.version_query) {
      const auto v = db.Query(kind.version_query);
      ASSERT_EQ(v.size(), 1u);
      EXPECT_EQ(v[0].at("V"), kind.version);
    }
  }
}

// The columns that the program's statements name exist with a kind that fits.
TEST(SchemaScripts, ColumnsThatTheProgramUsesHaveFittingTypes) {
  TempFolder folder;
  Database sys(Embedded(), folder.File("rqaccdef.fdb"));
  Database dat(Embedded(), folder.File("rqacc.fdb"));
  sys.CreateFromScript("system/11.0.1.sql");
  dat.CreateFromScript("dataset/11.1.0.sql");
  if (HasFatalFailure()) return;
  // table, column, field type (RDB$FIELD_TYPE: 7 smallint, 8 integer, 16 int64/numeric,
  // 35 timestamp, 37 varchar, 261 blob), scale
  struct Col {
    Database* db;
    const char* table;
    const char* column;
    int type;
    int scale;
  };
  const Col cols[] = {
      {&dat, "SIWAKE", "NUK", 16, -4},          {&dat, "SIWAKE", "ZEI", 16, -4},
      {&dat, "SIWAKE", "RIT", 16, -4},          {&dat, "SIWAKE", "HIZUKE", 35, 0},
      {&dat, "SIWAKE", "OLDRATE", 8, 0},        {&dat, "SIWAKE2", "LINKKUB", 8, 0},
      {&dat, "KAMOKUMST", "GROUPM0", 37, 0},    {&dat, "ACCDEF1", "KISHU", 35, 0},
      {&dat, "ACCDEF1", "OLD_TAX_RATE1", 16, -4}, {&dat, "ACCDEF1", "CLOUD_LINE", 8, 0},
      {&dat, "TAX_KAZEIHOUSIKI", "KIJYUNKIKANURI", 16, -4},
      {&dat, "KANPU_SINKOKU_SIIREKIN", "KAZEISIIREKIN", 16, -4},
      {&dat, "TAX_TOKUREI_URIAGE_10EIGYOUBI", "FKOMOKU021", 35, 0},
      {&dat, "MYNUMBER_LOG", "FSTATE", 7, 0},   {&dat, "ACCREG_BLOB_BINARY", "FVALUE", 261, 0},
      {&sys, "DATALIST", "CLOUD", 8, 0},        {&sys, "DATALIST", "KISHU", 35, 0},
      {&sys, "SERVERDATALIST", "DRIVELETTER", 37, 0}, {&sys, "SYSDEF", "COLHEADERGRADCOLOR2", 8, 0},
      {&sys, "LOGONUSERLIST", "OPERATORCODE", 8, 0},
  };
  for (const Col& c : cols) {
    SCOPED_TRACE(std::string(c.table) + "." + c.column);
    const auto rows = c.db->Query(
        std::string("SELECT F.RDB$FIELD_TYPE AS T, COALESCE(F.RDB$FIELD_SCALE, 0) AS S FROM RDB$RELATION_FIELDS R"
                    " JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE"
                    " WHERE R.RDB$RELATION_NAME = '") + c.table + "' AND R.RDB$FIELD_NAME = '" + c.column + "';");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("T"), std::to_string(c.type));
    EXPECT_EQ(rows[0].at("S"), std::to_string(c.scale));
  }
}

// Japanese text
// survives a SJIS_0208 column, and the list procedure numbers the new rows.
TEST(SchemaScripts, SystemDatabaseKeepsJapaneseTextAndAppendsListRows) {
  TempFolder folder;
  Database sys(Embedded(), folder.File("rqaccdef.fdb"));
  sys.CreateFromScript("system/11.0.1.sql");
  if (HasFatalFailure()) return;
  const auto eras = sys.Query("SELECT GNAME FROM GENGO ORDER BY YEAROFFSET DESC ROWS 1;");
  ASSERT_EQ(eras.size(), 1u);
  EXPECT_EQ(eras[0].at("GNAME"), "令和");
  const auto added = sys.Query(
      "INSERT INTO DATAPLACEMAN (REC, ORDERKBN, NAME, PATH) VALUES (3, 4, '第３の場所', '/srv/data');\n"
      "SELECT REC, PATHNAME FROM SP_DATALIST_INSERT(3, '/srv/data', 2);\n"
      "SELECT REC, PATHNAME FROM SP_DATALIST_INSERT(3, '/srv/data', 3);\n"
      "SELECT NAME FROM DATAPLACEMAN WHERE REC = 3;");
  ASSERT_EQ(added.size(), 4u);
  EXPECT_EQ(added[0].at("PATHNAME"), "/srv/data/0001");
  EXPECT_EQ(added[1].at("PATHNAME"), "/srv/data/0002");
  EXPECT_EQ(added[2].at("REC"), "3");  // only the missing row is appended
  EXPECT_EQ(added[3].at("NAME"), "第３の場所");
}

}  // namespace
}  // namespace schematest
