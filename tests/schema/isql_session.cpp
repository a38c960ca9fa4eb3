#include "schema/isql_session.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace schematest {
namespace {

const char* kUdrPath = "/usr/lib/x86_64-linux-gnu/firebird/3.0/plugins/udr/libverudafs.so";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string Quote(const std::string& text) {
  std::string q = "'";
  for (char c : text) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

}  // namespace

Target Embedded() { return {"embedded", ""}; }

Target Server() { return {"server", Env("VERUDA_TEST_FB_SERVER")}; }

bool ServerAvailable(const Target& target) { return target.name != "server" || !target.host.empty(); }

std::vector<Target> Targets() { return {Embedded(), {"server", ""}}; }

std::string SchemaDir() {
  std::string root = Env("PROJECT_SOURCE_DIR");
  if (root.empty()) root = fs::path(__FILE__).parent_path().parent_path().parent_path().string();
  return root + "/schema";
}

std::string InstalledUdrPath() { return fs::exists(kUdrPath) ? kUdrPath : ""; }

TempFolder::TempFolder() {
  std::string base = Env("VERUDA_TEMP_DIR");
  if (base.empty()) base = Env("TMPDIR");
  if (base.empty()) base = "/tmp";
  std::string templ = base + "/schema-test-XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed in " + base);
  path_ = buf.data();
  // The server runs as user firebird and creates files in here.
  ::chmod(path_.c_str(), 0777);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

Database::Database(const Target& target, std::string path)
    : target_(target), path_(std::move(path)) {
  name_ = target_.host.empty() ? path_ : target_.host + ":" + path_;
}

IsqlResult Database::Isql(const std::string& args, const std::string& input) const {
  // The input goes through a file beside the database: isql-fb reads it with -i.
  static int counter = 0;
  const std::string script = path_ + ".in" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".sql";
  {
    std::ofstream out(script, std::ios::binary);
    out << input;
  }
  std::string cmd = "isql-fb -q " + args + " -i " + Quote(script);
  if (!target_.host.empty()) cmd += " -user VFNZFR -password dravon";
  cmd += " 2>&1 </dev/null";
  IsqlResult result;
  FILE* pipe = ::popen(cmd.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) result.output.append(buf.data(), n);
  const int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::remove(script.c_str());
  return result;
}

void Database::CreateFromScript(const std::string& script) {
  std::string create = "CREATE DATABASE " + Quote(name_);
  if (!target_.host.empty()) create += " USER 'VFNZFR' PASSWORD 'dravon'";
  create += " PAGE_SIZE 8192 DEFAULT CHARACTER SET SJIS_0208;\n";
  const IsqlResult made = Isql("-bail", create);
  ASSERT_EQ(made.exit_code, 0) << "creating " << name_ << ": " << made.output;
  std::ifstream in(SchemaDir() + "/" + script, std::ios::binary);
  ASSERT_TRUE(in) << "missing script " << script;
  std::stringstream text;
  text << in.rdbuf();
  const IsqlResult ran = Run(text.str());
  ASSERT_EQ(ran.exit_code, 0) << script << " on " << name_ << ": " << ran.output;
}

IsqlResult Database::Run(const std::string& sql) const {
  return Isql("-bail -ch UTF8 " + Quote(name_), sql);
}

std::vector<Row> Database::Query(const std::string& sql) const {
  const IsqlResult r = Run("SET LIST ON;\n" + sql);
  EXPECT_EQ(r.exit_code, 0) << sql << "\n" << r.output;
  std::vector<Row> rows;
  Row row;
  std::istringstream lines(r.output);
  std::string line;
  while (std::getline(lines, line)) {
    if (Trim(line).empty()) {
      if (!row.empty()) rows.push_back(row);
      row.clear();
      continue;
    }
    const auto sp = line.find(' ');
    if (sp == std::string::npos) {
      row[line] = "";
    } else {
      row[line.substr(0, sp)] = Trim(line.substr(sp));
    }
  }
  if (!row.empty()) rows.push_back(row);
  return rows;
}

}  // namespace schematest
