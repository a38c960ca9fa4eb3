#include "platform/win/childprocess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace {

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Writes all of `size` bytes from the child after a failed exec (no allocation).
void ReportErrno(int fd, int error) {
  ssize_t ignored = write(fd, &error, sizeof error);
  (void)ignored;
}

}  // namespace

TChildProcess::~TChildProcess() {
  Kill();
  CloseFd(captureFd_);
}

bool TChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                          const TChildOptions& options) {
  if (pid_ > 0) {
    error_ = "already started";
    return false;
  }
  error_.clear();
  output_.clear();

  int outFd = -1;
  switch (options.output) {
    case TChildOptions::Output::Discard:
      outFd = open("/dev/null", O_WRONLY | O_CLOEXEC);
      break;
    case TChildOptions::Output::File:
      outFd = open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      break;
    case TChildOptions::Output::Capture: {
      // An unnamed temporary file: the child may write any amount without
      // anyone having to read while it runs, and nothing is left behind.
      std::string pattern = PathJoin(TempDir(), "veruda-output-XXXXXX");
      outFd = mkostemp(pattern.data(), O_CLOEXEC);
      if (outFd >= 0) unlink(pattern.c_str());
      break;
    }
    case TChildOptions::Output::Inherit:
      break;
  }
  if (options.output != TChildOptions::Output::Inherit && outFd < 0) {
    error_ = "cannot open the output: " + std::string(std::strerror(errno));
    return false;
  }
  int inFd = open("/dev/null", O_RDONLY | O_CLOEXEC);

  // Everything the child needs is prepared before the fork.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error_ = std::strerror(errno);
    CloseFd(outFd);
    CloseFd(inFd);
    return false;
  }

  const int openMax = static_cast<int>(std::min<long>(sysconf(_SC_OPEN_MAX), 65536));
  const pid_t parent = getpid();
  pid_t pid = fork();
  if (pid == 0) {
    // The child ends with the program (or the thread) that started it: a
    // killed program leaves no gbak writing on in the background.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    if (inFd >= 0) dup2(inFd, 0);
    if (outFd >= 0) {
      dup2(outFd, 1);
      dup2(outFd, 2);
    }
    if (!options.workingDir.empty() && chdir(options.workingDir.c_str()) != 0) {
      ReportErrno(report[1], errno);
      _exit(127);
    }
    // Like a process started without inherited handles: nothing but the three
    // standard streams survives the exec (the report pipe stays until then).
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
      for (int fd = 3; fd < openMax; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);  // kernels before 5.11
    }
    signal(SIGPIPE, SIG_DFL);
    execvp(argv[0], argv.data());
    ReportErrno(report[1], errno);
    _exit(127);
  }
  int forkError = errno;
  close(report[1]);
  CloseFd(inFd);
  if (pid < 0) {
    error_ = std::strerror(forkError);
    close(report[0]);
    CloseFd(outFd);
    return false;
  }

  int childError = 0;
  ssize_t n;
  do {
    n = read(report[0], &childError, sizeof childError);
  } while (n < 0 && errno == EINTR);
  close(report[0]);
  if (n == static_cast<ssize_t>(sizeof childError)) {
    // exec failed: the child has ended already
    int status;
    waitpid(pid, &status, 0);
    error_ = program + ": " + std::strerror(childError);
    CloseFd(outFd);
    return false;
  }

  pid_ = pid;
  finished_ = false;
  signaled_ = false;
  exitCode_ = -1;
  if (options.output == TChildOptions::Output::Capture) {
    captureFd_ = outFd;
  } else {
    CloseFd(outFd);
  }
  return true;
}

void TChildProcess::Finish(int status) {
  finished_ = true;
  if (WIFSIGNALED(status)) {
    signaled_ = true;
    exitCode_ = 128 + WTERMSIG(status);
  } else {
    exitCode_ = WEXITSTATUS(status);
  }
  if (captureFd_ >= 0) {
    char buffer[65536];
    off_t offset = 0;
    ssize_t n;
    while ((n = pread(captureFd_, buffer, sizeof buffer, offset)) > 0) {
      output_.append(buffer, static_cast<std::size_t>(n));
      offset += n;
    }
    CloseFd(captureFd_);
  }
}

bool TChildProcess::Running() {
  if (pid_ <= 0 || finished_) return false;
  int status;
  pid_t r;
  do {
    r = waitpid(pid_, &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return true;
  if (r == pid_) {
    Finish(status);
  } else {
    finished_ = true;  // reaped elsewhere: the exit code is unknown
  }
  return false;
}

bool TChildProcess::Wait(int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  auto pause = std::chrono::milliseconds(1);
  while (Running()) {
    if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    if (pause < std::chrono::milliseconds(20)) pause *= 2;
  }
  return pid_ > 0;
}

void TChildProcess::Kill() {
  if (pid_ <= 0 || finished_) return;
  kill(pid_, SIGKILL);
  int status;
  pid_t r;
  do {
    r = waitpid(pid_, &status, 0);
  } while (r < 0 && errno == EINTR);
  if (r == pid_) {
    Finish(status);
  } else {
    finished_ = true;
  }
}

int RunProcess(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
               std::string* output) {
  TChildOptions options;
  options.output = output ? TChildOptions::Output::Capture : TChildOptions::Output::Discard;
  TChildProcess child;
  if (!child.Start(program, args, options)) return -1;
  if (!child.Wait(timeoutMs)) {
    child.Kill();
    if (output) *output = child.Output();
    return -1;
  }
  if (output) *output = child.Output();
  return child.ExitCode();
}
