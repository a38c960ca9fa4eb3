// Test support of the logon and the data-set list: a real installation
// (system database with three operators and the 120 list rows, built once per
// build tree from data/installation.txt and copied for every test), the
// shared globals set for it, the data module DM, and a recorder of the boxes
// the code under test shows (the data module's and the window layer's).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fixture/builder.h"
#include "platform/vcl/responder.h"

namespace dstest {

// The server host from VERUDA_TEST_FB_SERVER, or empty.
std::string ServerHost();

// The data-selection tests' two real data sets (versions 11.1.0 and 11.0.5,
// from data/datasentaku.txt), built once per test process.
const fixture::Installation& DataSets();

struct TShownText {
  std::string text;
  int kind = 0;
};

class DsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs statements on the system database through a connection of its own
  // (embedded), committed.
  void ExecDef(const std::vector<std::string>& sql);
  // The first column of the first row of a query on the system database
  // through a connection of its own ("" when no row).
  std::string QueryDef(const std::string& sql);
  // All rows of a query, each row's columns joined by "|".
  std::vector<std::string> RowsDef(const std::string& sql);
  // Connects DM->IBDatabaseDEF (embedded).
  void ConnectDef();
  // Lines of every box the window layer showed, joined by "\r".
  std::vector<std::string> BoxTexts() const;

  std::string root_;          // the copied installation
  std::string dataRoot_, sysDir_, systemDatabase_;
  std::vector<TShownText> reported_;   // the data module's dialogs
  ScriptedResponder responder_{mrOk};
};

}  // namespace dstest
