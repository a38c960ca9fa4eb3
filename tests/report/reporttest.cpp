#include "reporttest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QProcess>
#include <QString>

#include "platform/rtl/cp932.h"
#include "platform/vcl/application.h"
#include "report/engine.h"

void ReportTest::SetUp() {
  EnsureApplication();
  char pattern[] = "/tmp/report-test-XXXXXX";
  dir_ = mkdtemp(pattern);
  setenv("VERUDA_DOCUMENTS_DIR", dir_.c_str(), 1);
  StartQuillboxEngine();
}

void ReportTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ReportTest::ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void ReportTest::WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReportTest::Crlf(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) out += Utf8ToCp932(line) + "\r\n";
  return out;
}

std::string ReportTest::PdfWords(const std::string& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", QString::fromStdString(path), "-"});
  p.waitForFinished(30000);
  std::string out;
  for (const QString& word :
       QString::fromUtf8(p.readAllStandardOutput()).replace("\f", " | ").split(' ', Qt::SkipEmptyParts))
    out += word.trimmed().toStdString() + " ";
  return out;
}
