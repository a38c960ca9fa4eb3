// Test helper: creates databases from the schema scripts and runs SQL through
// isql-fb as a child process, either on the embedded engine (a local path)
// or on the Firebird server over TCP.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace schematest {

// Where the databases of one test live and how they are reached.
struct Target {
  std::string name;  // "embedded" or "server"
  std::string host;  // empty for the embedded engine
};

// The two targets. The server's host comes from VERUDA_TEST_FB_SERVER when
// the test runs; without it the server target has an empty host and tests
// on it are skipped (ServerAvailable).
Target Embedded();
Target Server();
bool ServerAvailable(const Target& target);

inline void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }

// The targets of the parameterised tests: embedded and server.
std::vector<Target> Targets();

// A folder for one test's files, readable and writable by the server's user;
// removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct IsqlResult {
  int exit_code = -1;
  std::string output;  // standard output and error
};

// One row of a SELECT run with SET LIST ON: column name -> value text
// ("<null>" for null).
using Row = std::map<std::string, std::string>;

class Database {
 public:
  Database(const Target& target, std::string path);
  // Creates the database (SJIS_0208) and runs schema/<script> on it; the
  // test fails when either step fails.
  void CreateFromScript(const std::string& script);
  // Runs SQL text (UTF-8) with isql-fb -bail.
  IsqlResult Run(const std::string& sql) const;
  // Runs one or more SELECTs and returns their rows; fails the test on an error.
  std::vector<Row> Query(const std::string& sql) const;
  const std::string& connection_name() const { return name_; }

 private:
  IsqlResult Isql(const std::string& args, const std::string& input) const;
  Target target_;
  std::string path_;
  std::string name_;  // path, or host:path
};

// The installed server routine plug-in, or an empty text when it is missing.
std::string InstalledUdrPath();

std::string SchemaDir();

}  // namespace schematest
