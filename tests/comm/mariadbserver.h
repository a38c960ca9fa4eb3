// A private MariaDB server for the tests of the analysis dump: its own data
// folder and socket under the build tree, no network, started on first use
// and stopped when the test program ends.
#pragma once

#include <string>

namespace mariadbtest {

// Starts the server once (a fresh data folder each run); throws
// std::runtime_error when it does not come up.
void EnsureServer();
// Runs the client with "--default-character-set=utf8mb4" reading ScriptFile
// as its standard input; Output gets what it wrote. Returns its exit code.
int LoadScript(const std::string& ScriptFile, std::string* Output);
// Runs one statement (batch mode, no column names); returns the output, or
// throws std::runtime_error when the client fails.
std::string Query(const std::string& Sql);

}  // namespace mariadbtest
