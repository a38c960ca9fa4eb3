// Running another program (gbak, isql-fb, ...) hidden: an argument vector, never
// a shell; stdin is /dev/null; its output goes nowhere, to a file or into a
// string. The caller polls without blocking (so it can keep its window alive),
// waits with a time-out or kills it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct TChildOptions {
  enum class Output { Discard, Inherit, File, Capture };
  Output output = Output::Discard;  // stdout and stderr together
  std::string outputFile;           // Output::File: created or truncated
  std::string workingDir;           // "" = the current folder
};

class TChildProcess {
 public:
  TChildProcess() = default;
  // A child still running is killed and reaped. A child also ends when the
  // thread that started it ends, or the program is killed.
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // Starts `program` (searched in PATH when it has no "/") with `args` (not
  // including the program itself). False, with LastError(), when it cannot be
  // started (not found, not executable, output file not writable).
  bool Start(const std::string& program, const std::vector<std::string>& args,
             const TChildOptions& options = {});

  // Non-blocking: true while the program runs.
  bool Running();
  // Waits up to timeoutMs (negative = without limit); true when it has ended.
  bool Wait(int timeoutMs);
  // Kills it (SIGKILL) and reaps it; nothing when it has already ended.
  void Kill();

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  bool Finished() const { return finished_; }
  // The exit code once finished; 128 + signal number when a signal ended it;
  // -1 before it has ended.
  int ExitCode() const { return exitCode_; }
  bool Signaled() const { return signaled_; }
  // Output::Capture: everything it wrote, once it has ended.
  const std::string& Output() const { return output_; }
  const std::string& LastError() const { return error_; }

 private:
  void Finish(int status);
  pid_t pid_ = -1;
  bool finished_ = false;
  bool signaled_ = false;
  int exitCode_ = -1;
  int captureFd_ = -1;
  std::string output_;
  std::string error_;
};

// Runs a program to its end (or kills it after timeoutMs, negative = no limit)
// and returns its exit code; -1 when it could not be started or timed out.
// `output`, when given, receives stdout and stderr.
int RunProcess(const std::string& program, const std::vector<std::string>& args,
               int timeoutMs = -1, std::string* output = nullptr);
