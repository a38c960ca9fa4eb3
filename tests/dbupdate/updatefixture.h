// Test support of the schema update: a folder of the test's own with the
// work, log and script folders, SystemDef pointed at it (stand-alone,
// embedded engine), and small helpers that create databases and query them
// through connections of their own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbaccess/dbui.h"

namespace updatetest {

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Folder(const std::string& name) const { return root_ + "/" + name; }
  std::string SystemFile() const;
  std::string DataSetFile() const;
  // Creates an empty database (SJIS_0208) at Path and runs the statements.
  static void CreateDatabase(const std::string& Path, const std::vector<std::string>& Sql = {});
  // Runs one statement, committed.
  static void Exec(const std::string& Path, const std::string& Sql);
  // Every row of a query, the columns of a row joined by "|" (trimmed).
  static std::vector<std::string> Rows(const std::string& Path, const std::string& Sql);
  static std::string ReadFile(const std::string& Path);
  // Creates a system database at Path from a schema file of schema/system
  // ("first/0.3.0.sql", "11.0.1.sql") with isql-fb.
  static void CreateSystemDatabase(const std::string& Path, const std::string& SchemaFile);
  // Creates a data set's database at Path from a schema file of
  // schema/dataset ("first/0.1.0.sql", "11.1.0.sql") with isql-fb.
  static void CreateDataSetDatabase(const std::string& Path, const std::string& SchemaFile);
  // Creates a database at Path from a schema file under schema/.
  static void CreateFromSchema(const std::string& Path, const std::string& SchemaFile);
  // The accounts that the journal-setting templates of the accounting
  // database's step to 0.1.1 name, plus account 1599 (group 1550, no template
  // of its own) and the non-asset account 1110, each with its blank
  // sub-account, in a database before that step.
  static void AddDepreciationAccounts(const std::string& Db);
  // The schema as the RDB$ tables describe it, one line per column, procedure
  // parameter, trigger and generator (not positions or sources).
  static std::vector<std::string> SchemaOf(const std::string& Path);
  // The script folder beside the test program's folder, as the build places it.
  static std::string InstalledScriptFolder();

  std::string root_;
  struct Shown {
    std::string text;
    int kind;
  };
  std::vector<Shown> shown_;
};

}  // namespace updatetest
