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

  std::string root_;
  struct Shown {
    std::string text;
    int kind;
  };
  std::vector<Shown> shown_;
};

}  // namespace updatetest
