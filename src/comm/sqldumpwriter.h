// The inner writer of TWebDbSqlDump: the script file's lines and the table
// sections (comm/sqldumpsections.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "comm/sqldump.h"
#include "comm/worktemp.h"

// One value of a generic section's row: how it is read and written.
struct TDumpColumn {
  enum class Source { Column, RowNumber, Literal, PrevPrevStart, PrevStart, ChartKind, FundsClass };
  Source From = Source::Column;
  std::string Name;      // column name, or the literal's text
  TDumpKind Kind = TDumpKind::Plain;
};

// Parses a value list: "NAME" plain, "'NAME'" quoted, "NAME:KIND", "#" the
// row number, "=text" a literal, "@ZZKISHU", "@ZKISHU", "@CHART", "@FUNDS".
std::vector<TDumpColumn> ParseDumpColumns(const std::string& Values);

// What follows a section's rows: a line end after them, or an empty line
// when there were none (Always); a line end only after rows (RowsOnly);
// nothing (None).
enum class TSectionEnd { Always, RowsOnly, None };

class TDumpWriter {
 public:
  TDumpWriter(TWebDbSqlDump& Dump, TWorkTempFile& File) : dump_(Dump), file_(File) {}

  void Line(const std::string& Utf8Text);          // in the system code page
  void ScriptLine(const std::string& Utf8Text);    // in UTF-8
  void Raw(const std::string& Bytes);               // as it stands, no line end
  void Rule(const std::string& Title);              // banner with an empty line
  void Template(const std::string& Path);
  void Sections();                                  // the 46 table sections

  bool From802 = false;
  bool Medical = false;

 private:
  // A generic section: DELETE line, then the rows of Sql (its text
  // parameters bound from TextParams) written with Header. Returns the number
  // of rows written.
  int Section(const std::string& Table, const std::string& Sql, const std::string& Header,
              const std::vector<TDumpColumn>& Columns, bool Batched, int Limit = 0, int* RowNumber = nullptr,
              bool DeleteLine = true, TSectionEnd End = TSectionEnd::Always,
              const std::vector<std::pair<std::string, std::string>>& TextParams = {});
  std::string Row(const std::vector<TDumpColumn>& Columns, int RowNumber);
  void AccregRows();
  void AccVersion();
  void ChartInf();
  void KihonRule();
  void KoseiGroup();

  TWebDbSqlDump& dump_;
  TWorkTempFile& file_;
};
