// Test support of the whole program: the demo installation built once per
// build tree and copied for every test, its environment applied, a stand-in
// for the data-selection dialog that chooses a data set by folder, and the
// responder that logs the demo operator on and records every box.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/responder.h"

class TForm1;

namespace apptest {

std::string BinaryDir();

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Folder of a data set of the copied installation by its label.
  std::string DataSetFolder(const std::string& label) const;
  // Lines of every framework box shown so far, each box's lines joined by "\r".
  std::vector<std::string> BoxTexts() const;
  bool BoxShown(const std::string& text) const;
  // Answers the next logon window with the demo operator (code 10, "demo").
  void AnswerLogon();
  // Creates the main window with Args, initialises it and shows it (logon
  // through AnswerLogon, queued before).
  std::unique_ptr<TForm1> StartProgram(const std::vector<std::string>& Args);
  // Presses Next and returns the page shown afterwards.
  std::string Next(TForm1& form);
  // Answers the next data-selection dialog by choosing the row of `folder`
  // (empty: the user cancels it).
  void AnswerDataChoice(const std::string& folder);
  // Goes from page 1 through the data choice of `folder` to page 3.
  void ToPeriodPage(TForm1& form, const std::string& folder);

  std::string root_;                 // the copied installation
  std::string programDir_, appDataDir_, documentsDir_, registryFile_, runtimeDir_;
  std::vector<std::pair<std::string, std::string>> dataSets_;   // label, folder
  ScriptedResponder responder_{mrOk};
};

}  // namespace apptest
