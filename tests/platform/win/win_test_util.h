// Shared by the platform tests: a private temporary folder per test and the
// environment variables that place the special folders in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// Sets environment variables for the lifetime of the object, restoring the old values.
class ScopedEnv {
 public:
  ScopedEnv() = default;
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second.first) setenv(it->first.c_str(), it->second.second.c_str(), 1);
      else unsetenv(it->first.c_str());
    }
  }
  void Set(const std::string& name, const std::string& value) {
    Save(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    unsetenv(name.c_str());
  }

 private:
  void Save(const std::string& name) {
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, {old != nullptr, old ? old : ""}});
  }
  std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved_;
};

// A fresh folder under /tmp, removed with its contents at the end of the test;
// the runtime folder (locks, caller sockets) is placed in it.
class WinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/veruda-win-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    env_.Set("VERUDA_RUNTIME_DIR", dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // A name no other test run uses at the same time.
  std::string Unique(const std::string& base) const { return base + "_" + std::to_string(getpid()); }

  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  std::string dir_;
  ScopedEnv env_;
};
