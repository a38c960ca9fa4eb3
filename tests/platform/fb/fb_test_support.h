// Temporary databases for the layer's tests: a 0777 folder under the temp
// directory, a database created with default character set SJIS_0208 by the
// embedded engine, and the names to reach it over TCP when the server tests
// are enabled (VERUDA_TEST_FB_SERVER).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/fb/ibx.h"

namespace fbtest {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The server host from VERUDA_TEST_FB_SERVER, or empty.
std::string ServerHost();

// Connection parameters of the installation's database user.
void SetUserParams(TIBStrings& params, bool withPassword);

// Creates an SJIS_0208 database (embedded) owned by the installation's user
// and runs the DDL statements, each committed.
void CreateDatabase(const std::string& path, const std::vector<std::string>& ddl);

// Hands the file to the server's user so that the server can open it.
void ShareWithServer(const std::string& path);

// Runs one statement in its own transaction on an open database.
void Exec(TIBDatabase& db, const std::string& sql);

}  // namespace fbtest
