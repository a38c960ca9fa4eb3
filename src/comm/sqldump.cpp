#include "comm/sqldump.h"

#include <algorithm>
#include <cctype>

#include "comm/sqldumpwriter.h"
#include "core/fileutil.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/color.h"
#include "platform/win/paths.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kNull = "null";
constexpr const char* kLowDate = "'1970-01-02'";
constexpr const char* kHighDate = "'2038-01-01'";
constexpr const char* kLowDateTime = "'1970-01-02 00:00:00'";
constexpr const char* kHighDateTime = "'2038-01-01 00:00:00'";

std::string Quote(const std::string& text) { return "'" + EscapeQuotes(text) + "'"; }

// The clamp of DATE and DATETIME: not later than 1970-01-01 00:00 gives the
// lower literal, on or after 2038-01-01 the upper one.
std::string Clamped(TDumpKind kind, TDateTime value, const std::string& written) {
  const bool date = kind == TDumpKind::Date;
  if (value <= EncodeDate(1970, 1, 1)) return date ? kLowDate : kLowDateTime;
  if (value >= EncodeDate(2038, 1, 1)) return date ? kHighDate : kHighDateTime;
  return written;
}

}  // namespace

std::string EscapeQuotes(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + 8);
  for (char c : Text) {
    if (c == '\\' || c == '\'') out += '\\';
    out += c;
  }
  return out;
}

TDumpKind DumpKindOf(const std::string& KindName) {
  std::string k = KindName;
  std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return std::toupper(c); });
  if (k == "STR") return TDumpKind::Str;
  if (k == "DATE") return TDumpKind::Date;
  if (k == "DATETIME") return TDumpKind::DateTime;
  return TDumpKind::Number;
}

std::string FieldValue(const TIBXSQLVAR& Field, TDumpKind Kind) {
  if (Field.IsNull()) return kNull;
  switch (Kind) {
    case TDumpKind::Plain:
    case TDumpKind::Number: return Field.AsString();
    case TDumpKind::Quoted:
    case TDumpKind::Str: return Quote(Field.AsString());
    case TDumpKind::Date:
    case TDumpKind::DateTime: return Clamped(Kind, Field.AsDateTime(), Quote(Field.AsString()));
    case TDumpKind::Colour: return ColourValue(Field.AsInteger());
  }
  return kNull;
}

std::string DateTimeValue(TDumpKind Kind, TDateTime Value) {
  if (Kind == TDumpKind::Date) return Clamped(Kind, Value, "'" + FormatDateTime("yyyy-mm-dd", Value) + "'");
  if (Kind == TDumpKind::DateTime)
    return Clamped(Kind, Value, "'" + FormatDateTime("yyyy-mm-dd hh:nn:ss", Value) + "'");
  return "'0000-00-00'";
}

std::string ColourValue(std::int32_t Colour) {
  const QColor c = ColorToQColor(Colour);
  return std::to_string(c.red() * 65536 + c.green() * 256 + c.blue());
}

bool DataVersionFrom802(std::int32_t Major, std::int32_t Minor, std::int32_t Rev) {
  return Major > 8 || (Major == 8 && Minor != 0) || (Major == 8 && Minor == 0 && Rev >= 2);
}

TWebDbSqlDump::TWebDbSqlDump() {
  query_.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  query_.SetTransaction(&DataSetConnection().IBTransactionDAT);
  DataVersion = SystemDef.DataVersion;
  if (DataVersion.empty())
    DataVersion = std::to_string(AccInf.VerMajor) + "." + std::to_string(AccInf.VerMinor1) + "." +
                  std::to_string(AccInf.VerMinor2);
  const std::string init = PathJoin(SystemDef.BaseDir, "init");
  TableTemplate = PathJoin(init, "tessaly_empty_data.sql");
  IndexTemplate = PathJoin(init, "tessaly_empty_index.sql");
  OutputPath = PathJoin(PathJoin(SystemDef.TempDir, "CorvexTessaly_Sql"), FileName);
  if (AccInf.DATATYPE == 3) MenuLevel = 1200;
}

TWebDbSqlDump::~TWebDbSqlDump() = default;

bool TWebDbSqlDump::DumpDatabase() {
  if (DatabaseName.empty()) return false;
  std::error_code ec;
  std::filesystem::remove(OutputPath, ec);

  std::unique_ptr<TWorkTempFile> file;
  try {
    ForceFolder(ExtractFileDir(OutputPath));
    file = std::make_unique<TWorkTempFile>(OutputPath);
  } catch (const std::exception& e) {
    throw Exception(std::string(e.what()) + "\r\n\"" + OutputPath + "\"が使用中です。");
  }

  TTransactionGuard guard(*query_.Transaction());
  try {
    const TDateTime start = Now();
    TDumpWriter w(*this, *file);
    w.From802 = DataVersionFrom802(AccInf.VerMajor, AccInf.VerMinor1, AccInf.VerMinor2);
    w.Medical = AccInf.DATATYPE == 3;
    const std::string db = "`" + DatabaseName + "`";
    w.Line("-- ");
    w.Line("-- Web Tessaly DataBase Dump");
    w.Line("--   Application     : " + AppName + " (" + SystemDef.AppVer + ")");
    w.Line("--   DataBase Version: " + DataVersion);
    w.Line("--   Creation File   : " + OutputPath);
    w.Line("--   Creation Date   : " + FormatDateTime("yyyy/mm/dd hh:nn:ss", start));
    w.Line("--   mysql importline: mysql.exe -u root < \"" + OutputPath + "\"");
    w.Line("-- ");
    w.Line("");
    w.Line("DROP DATABASE /*!32312 IF EXISTS*/ " + db + ";");
    w.Line("CREATE DATABASE /*!32312 IF NOT EXISTS*/ " + db +
           " /*!40100 DEFAULT CHARACTER SET utf8 COLLATE utf8_unicode_ci */;");
    w.Line("USE " + db + ";");
    w.Line("");
    w.Rule("Table Create");
    w.Template(TableTemplate);
    w.Rule("ZaimuData Area");
    guard.Begin();
    w.Sections();
    guard.Commit();
    w.Rule("Index Create");
    w.Template(IndexTemplate);
    w.Line("");
    w.Line("--   Created Time: " + FormatDateTime("hh:nn:ss", Now() - start));
    file->Commit();
  } catch (const std::exception& e) {
    guard.Rollback();
    file.reset();
    ShowErrorDetail("SQLDumpファイルの作成に失敗しました。", e.what(), kMsgError);
    return false;
  }
  return true;
}

// ---- the file's lines ----------------------------------------------------------

void TDumpWriter::Raw(const std::string& Bytes) { file_.Write(Bytes.data(), Bytes.size()); }

void TDumpWriter::Line(const std::string& Utf8Text) { Raw(Utf8ToCp932Lossy(Utf8Text) + "\r\n"); }

void TDumpWriter::ScriptLine(const std::string& Utf8Text) { Raw(Utf8Text + "\r\n"); }

void TDumpWriter::Rule(const std::string& Title) {
  const std::string rule = "-- " + std::string(46, '=');
  Line(rule);
  Line("--  " + Title);
  Line(rule);
  Line("");
}

void TDumpWriter::Template(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw Exception("ファイルが見つかりません: " + Path);
  std::string text, line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += line + "\r\n";
  }
  if (in.bad()) throw Exception("ファイルを読めません: " + Path);
  Raw(text + "\r\n");
}
