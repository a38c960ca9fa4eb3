// The README's run command (scripts/run-demo.sh) builds the demo installation
// once and reuses it: again only when asked or when its description changed,
// and never while the program runs on it. The set-up, the demo builder and
// the program are stand-ins that note what they were asked to do.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win/childprocess.h"

namespace fs = std::filesystem;

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("PROJECT_SOURCE_DIR");
  return dir && *dir ? dir : PROJECT_SOURCE_DIR_FALLBACK;
}

void WriteScript(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "#!/usr/bin/env bash\n" << text;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
}

class RunDemo : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) / ("rundemo-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    const fs::path repo = root_ / "repo";
    fs::create_directories(repo / "scripts");
    fs::copy_file(fs::path(SourceDir()) / "scripts" / "run-demo.sh", repo / "scripts" / "run-demo.sh");
    WriteScript(repo / "scripts" / "setup.sh", "exit 0\n");
    WriteScript(repo / "scripts" / "make-demo.sh",
                "echo \"make $1\" >>'" + Log() + "'\nmkdir -p \"$1\"\necho marker >\"$1/built\"\n"
                "echo \"export VERUDA_RUNTIME_DIR='" + (root_ / "run").string() + "'\"\n");
    WriteScript(root_ / "build" / "src" / "app" / "veruda-rendo", "echo \"run $*\" >>'" + Log() + "'\n");
    fs::create_directories(repo / "tools" / "fixture" / "demo");
    std::ofstream(repo / "tools" / "fixture" / "demo" / "installation.txt") << "[installation]\n";
    fs::create_directories(root_ / "run");
    setenv("BUILD_DIR", (root_ / "build").c_str(), 1);
    setenv("DEMO_DIR", (root_ / "demo").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("BUILD_DIR");
    unsetenv("DEMO_DIR");
    if (!HasFailure()) fs::remove_all(root_);
  }
  std::string Log() const { return (root_ / "log").string(); }
  // Runs the script; returns its exit status and the lines noted since the last run.
  int Run(const std::vector<std::string>& args, std::vector<std::string>& noted) {
    std::vector<std::string> all = {(root_ / "repo" / "scripts" / "run-demo.sh").string()};
    all.insert(all.end(), args.begin(), args.end());
    const int status = RunProcess("bash", all, 60000, &output_);
    std::ifstream in(Log());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    noted.assign(lines.begin() + static_cast<long>(seen_), lines.end());
    seen_ = lines.size();
    return status;
  }

  fs::path root_;
  std::string output_;
  std::size_t seen_ = 0;
};

TEST_F(RunDemo, BuildsTheDemoOnceAndReusesIt) {
  const std::string demo = (root_ / "demo").string();
  std::vector<std::string> noted;
  EXPECT_EQ(Run({}, noted), 0) << output_;
  EXPECT_EQ(noted, (std::vector<std::string>{"make " + demo, "run "}));
  std::ofstream(root_ / "demo" / "user-work") << "what the user did";

  EXPECT_EQ(Run({}, noted), 0) << output_;
  EXPECT_EQ(noted, (std::vector<std::string>{"run "})) << "the demo is reused";
  EXPECT_TRUE(fs::exists(root_ / "demo" / "user-work"));

  EXPECT_EQ(Run({"--rebuild", "1,2,3,/tmp/a.xml"}, noted), 0) << output_;
  EXPECT_EQ(noted, (std::vector<std::string>{"make " + demo, "run 1,2,3,/tmp/a.xml"}));

  std::ofstream(root_ / "repo" / "tools" / "fixture" / "demo" / "installation.txt", std::ios::app) << "changed\n";
  EXPECT_EQ(Run({}, noted), 0) << output_;
  EXPECT_EQ(noted, (std::vector<std::string>{"make " + demo, "run "})) << "a changed description builds it again";

  // While the program holds its lock, nothing is replaced or started.
  const std::string lock = (root_ / "run" / "mutex-VERUDA_RENDO.lock").string();
  TChildProcess holder;
  ASSERT_TRUE(holder.Start("flock", {lock, "sleep", "60"}));
  for (int i = 0; i < 100 && RunProcess("flock", {"-n", lock, "true"}) == 0; ++i) holder.Wait(20);
  EXPECT_NE(Run({"--rebuild"}, noted), 0);
  EXPECT_EQ(noted, std::vector<std::string>{});
  EXPECT_NE(output_.find("already running"), std::string::npos) << output_;
  holder.Kill();
}

}  // namespace
