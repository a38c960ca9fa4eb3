// Test support of the cash-book exchange: a copy of the installation of
// data/cashbook.txt for every test (data set 1 the office's data set, 2 the
// cash book's database, 3 a medical corporation with branches), the balance
// rows, sub-accounts and departments that the description cannot write,
// SystemDef for operator 10 and the data module with its dialogs recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dmtest.h"

namespace cashbooktest {

class CashBookTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string DataFolder(int rec) const;
  std::string DataFile(int rec) const { return DataFolder(rec) + "/rqacc.fdb"; }
  // Connects data set rec through the data module (company information read).
  void ConnectDataSet(int rec);
  // Runs statements (";"-separated, no procedure bodies) on a database file,
  // committed, through a connection of its own.
  void ExecOn(const std::string& databaseFile, const std::string& sql);
  // The first column of the first row, trimmed (empty when no row), read
  // through a connection of its own.
  std::string QueryOn(const std::string& databaseFile, const std::string& sql);
  // Every row of the query as its columns joined by "|".
  std::vector<std::string> RowsOn(const std::string& databaseFile, const std::string& sql);

  dmtest::TempFolder temp_;
  std::string sysDir_;
  std::vector<dmtest::TShown> shown_;
};

}  // namespace cashbooktest
