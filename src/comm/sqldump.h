// The accounting-data dump for the management-analysis service (経営テサリー):
// TWebDbSqlDump reads the 46 tables of the connected data set and writes a
// MySQL script "rqacc.sql" that drops and re-creates the service's database,
// creates its tables from init/tessaly_empty_data.sql, fills every table and
// creates the indexes from init/tessaly_empty_index.sql.
//
// Every value is written by one of the value kinds below; texts are escaped
// for MySQL ("\" and "'" get a backslash) and a null column is written null
// in every kind. The script is written under a temporary name and renamed
// into place only when it is complete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fb/ibx.h"
#include "platform/rtl/datetime.h"

// The value kinds of the dump.
enum class TDumpKind {
  Plain,     // the column's text
  Quoted,    // the column's text between single quotes
  Str,       // STR
  Number,    // INT, FLOAT, DOUBLE, CURR
  Date,      // DATE, clamped to 1970-01-02 .. 2038-01-01
  DateTime,  // DATETIME, clamped the same way
  Colour,    // a stored 0x00BBGGRR colour written as R*65536+G*256+B
};

// "\" -> "\\" and "'" -> "\'".
std::string EscapeQuotes(const std::string& Text);
// The kind of a kind name (STR, INT, FLOAT, DOUBLE, CURR, DATE, DATETIME,
// any letter case); any other name counts as INT.
TDumpKind DumpKindOf(const std::string& KindName);
// A column of the current row written by its kind.
std::string FieldValue(const TIBXSQLVAR& Field, TDumpKind Kind);
// A date-time that does not come from a column, by kind Date or DateTime.
std::string DateTimeValue(TDumpKind Kind, TDateTime Value);
// The colour rule: system colours resolved, then R*65536+G*256+B.
std::string ColourValue(std::int32_t Colour);
// Whether a data version is 8.0.2 or later.
bool DataVersionFrom802(std::int32_t Major, std::int32_t Minor, std::int32_t Rev);
// The service's tables that the dump fills, one for each section, in the
// order of the script.
std::vector<std::string> DumpSectionTables();

class TWebDbSqlDump {
 public:
  TWebDbSqlDump();
  ~TWebDbSqlDump();
  TWebDbSqlDump(const TWebDbSqlDump&) = delete;
  TWebDbSqlDump& operator=(const TWebDbSqlDump&) = delete;

  // Writes the script. False when the database name is empty (nothing
  // touched) or when the dump failed (its error box shown); throws Exception
  // when the script file cannot be created.
  bool DumpDatabase();

  std::string DataVersion;
  std::string FileName = "rqacc.sql";
  std::string TableTemplate;
  std::string IndexTemplate;
  std::string OutputPath;
  std::string DatabaseName;
  std::uint16_t MenuLevel = 200;
  std::int32_t RowsPerStatement = 100;

 private:
  friend class TDumpWriter;
  TIBSQL query_;
};
