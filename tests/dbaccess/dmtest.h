// Test support of the data module: a real installation (system database,
// file-manager database and three data sets, built once per build tree from
// data/installation.txt and copied for every test), the shared globals set
// for it, the data module DM, and a recorder of what the data module shows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture/builder.h"
#include "platform/fb/ibx.h"

namespace dmtest {

// The server host from VERUDA_TEST_FB_SERVER, or empty.
std::string ServerHost();

// A folder of the test's own, readable and writable by the server's user.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct TShown {
  std::string text;
  int kind = 0;
};

// Every test: a fresh copy of the installation, SystemDef set for the
// stand-alone installation with operator 10 logged on, DM created, and the
// data module's dialogs recorded instead of shown.
class DmTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Folder of data set 1..3.
  std::string DataFolder(int rec) const;
  // Runs one statement on a database file through a connection of its own
  // (embedded), committed.
  void ExecOn(const std::string& databaseFile, const std::string& sql);
  // Connects data set rec (embedded) through the data module.
  void ConnectDataSet(int rec);
  // The first column of the first row of a query on the connected data set /
  // the system database (empty when no row).
  std::string QueryDat(const std::string& sql);
  std::string QueryDef(const std::string& sql);

  TempFolder temp_;
  fixture::Installation inst_;
  std::vector<TShown> shown_;
  int terminateRequests_ = 0;
};

// Operator ids of the installation's operators.
inline constexpr int kOpLevel9 = 100000010;
inline constexpr int kOpLevel3 = 100000011;

}  // namespace dmtest
