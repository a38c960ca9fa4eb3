// Shared set-up of the link-file tests against real data sets: the test
// installation (data/installation.txt) built once per run with the embedded
// engine, the data module connected to one of its data sets with the company
// information read, message boxes recorded instead of shown, and helpers that
// run the export as the wizard does and read the written file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fixture/builder.h"

namespace linktest {

// Data sets of data/installation.txt.
enum DataSet : int {
  kTrading = 1,
  kMixed = 2,
  kIndividual = 3,
  kOldRate = 4,
  kSettings = 5,
  kGenerated = 6,
  kSpecificCorporation = 7,
  kSpecificSimplified = 8,
  kSpecificIndividual = 9,
  kSpecificRealEstate = 10,
  kOldRateVariants = 11,
};

struct ShownBox {
  std::string text;
  int kind;
};

class LinkDbTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static const fixture::Installation& Installation();
  static std::string DataFolder(int rec);
  // Connects the data set and reads its company information.
  void Connect(int rec);
  // Exports the months FromMonth..ToMonth (1-based months of the fiscal year)
  // of the connected data set to `path`, as the wizard does with its default
  // choices; the file's bytes.
  std::string ExportTo(const std::string& path, int fromMonth, int toMonth, bool reuseJournalRead = true);
  std::string Export(int fromMonth, int toMonth, bool reuseJournalRead = true);
  // A temporary folder of this test (removed at its end).
  std::string TempPath(const std::string& name) const;
  // Runs a statement on the connected data set in its own transaction.
  void Exec(const std::string& sql);
  std::string Scalar(const std::string& sql);

  std::vector<ShownBox> shown_;
  std::string temp_;
};

// The file at `path` (bytes).
std::string ReadBytes(const std::string& path);
// An expected file of data/, written as UTF-8 with LF line ends, as the bytes
// of a link file (CP932, CRLF).
std::string ExpectedLinkFile(const std::string& name);
// The UTF-8 text of a link file with LF line ends.
std::string LinkText(const std::string& bytes);
// The lines from "<NAME>" to "</NAME>" (or the single "<NAME/>") of a link
// text, with their indentation; "" when the element is missing.
std::string Element(const std::string& text, const std::string& name);

}  // namespace linktest
