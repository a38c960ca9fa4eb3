#include "comm/mariadbserver.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <stdexcept>
#include <thread>

#include "platform/win/childprocess.h"

namespace fs = std::filesystem;

namespace mariadbtest {
namespace {

// One folder per test process, so that test cases run side by side each
// have their own server; removed again when the process ends.
struct TServer {
  ~TServer() {
    process.Kill();
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string root = std::string(MARIADB_WORK_DIR) + "/" + std::to_string(getpid());
  std::string data = root + "/data";
  std::string socket = root + "/mysqld.sock";
  TChildProcess process;
};

std::unique_ptr<TServer>& Server() {
  static std::unique_ptr<TServer> server;
  return server;
}

std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ReadLog(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ClientCommand() {
  return "mariadb --no-defaults --protocol=socket --socket=" + ShellQuote(Server()->socket) +
         " -u root --default-character-set=utf8mb4";
}

}  // namespace

void EnsureServer() {
  if (Server()) return;
  auto s = std::make_unique<TServer>();
  std::error_code ec;
  fs::remove_all(s->root, ec);
  fs::create_directories(s->root);
  // Each test process keeps its temporary tables in its own folder: servers
  // set up side by side in one /tmp remove each other's files.
  const std::string tmp = s->root + "/tmp";
  fs::create_directories(tmp);
  std::vector<std::string> install = {"--no-defaults", "--datadir=" + s->data, "--auth-root-authentication-method=normal",
                                      "--skip-test-db", "--tmpdir=" + tmp};
  if (geteuid() == 0) install.push_back("--user=root");
  std::string output;
  if (RunProcess("mariadb-install-db", install, 120000, &output) != 0)
    throw std::runtime_error("mariadb-install-db failed: " + output);
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = s->root + "/server.log";
  std::vector<std::string> args = {"--no-defaults", "--datadir=" + s->data, "--socket=" + s->socket,
                                   "--skip-networking", "--pid-file=" + s->root + "/mysqld.pid",
                                   "--innodb-buffer-pool-size=32M", "--skip-log-bin", "--tmpdir=" + tmp};
  if (geteuid() == 0) args.push_back("--user=root");
  if (!s->process.Start("mariadbd", args, options)) throw std::runtime_error(s->process.LastError());
  Server() = std::move(s);
  for (int i = 0; i < 600; ++i) {
    std::string out;
    if (fs::exists(Server()->socket) &&
        RunProcess("/bin/sh", {"-c", ClientCommand() + " -e 'SELECT 1'"}, 10000, &out) == 0)
      return;
    if (!Server()->process.Running()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const std::string log = ReadLog(std::string(MARIADB_WORK_DIR) + "/" + std::to_string(getpid()) + "/server.log");
  Server().reset();
  throw std::runtime_error("the MariaDB server did not start: " + log);
}

int LoadScript(const std::string& ScriptFile, std::string* Output) {
  EnsureServer();
  return RunProcess("/bin/sh", {"-c", ClientCommand() + " < " + ShellQuote(ScriptFile)}, 300000, Output);
}

std::string Query(const std::string& Sql) {
  EnsureServer();
  std::string out;
  if (RunProcess("/bin/sh", {"-c", ClientCommand() + " -N -B -e " + ShellQuote(Sql)}, 60000, &out) != 0)
    throw std::runtime_error("mariadb failed: " + out);
  return out;
}

}  // namespace mariadbtest
