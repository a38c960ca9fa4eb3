// What the report tests share: a scratch folder that also holds the Documents
// folder (so the error log lands there), the engine started once, and file
// helpers.
#pragma once

#include <string>

#include <gtest/gtest.h>

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string ReadBytes(const std::string& path);
  static void WriteBytes(const std::string& path, const std::string& bytes);
  // The lines of a text written by hand, each ended by CR LF, in CP932.
  static std::string Crlf(std::initializer_list<const char*> lines);
  // The words of a PDF file in reading order (pdftotext -layout), "|" at each page end.
  static std::string PdfWords(const std::string& path);
  std::string dir_;
};
