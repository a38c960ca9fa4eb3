#include "platform/win/childprocess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/win/paths.h"
#include "platform/win/win_test_util.h"

class ChildProcess : public WinTest {};

TEST_F(ChildProcess, ExitCodesAndOutputComeBack) {
  struct Case {
    std::string out, err;
    int code;
  };
  const Case cases[] = {{"", "", 0}, {"ok\n", "", 0}, {"part", " of it", 3}, {"", "ERROR: 失敗\n", 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out + c.err);
    std::string output;
    EXPECT_EQ(RunProcess(WIN_TEST_HELPER, {"print", c.out, c.err, std::to_string(c.code)}, 10000, &output), c.code);
    EXPECT_EQ(output, c.out + c.err);
  }
  // More output than a pipe holds, with nobody reading while it runs.
  std::string big(100000, 'x');  // an argument may hold up to 128 KiB
  std::string output;
  EXPECT_EQ(RunProcess(WIN_TEST_HELPER, {"print", big, "", "0"}, 10000, &output), 0);
  EXPECT_EQ(output.size(), big.size());
}

TEST_F(ChildProcess, ArgumentsAreNeverInterpretedByAShell) {
  std::string output;
  const std::string tricky = "a b; echo 'x' $HOME \"q\" `id` | cat > " + Path("pwned");
  EXPECT_EQ(RunProcess("echo", {tricky}, 10000, &output), 0);  // found in PATH
  EXPECT_EQ(output, tricky + "\n");
  EXPECT_FALSE(PathExists(Path("pwned")));
}

TEST_F(ChildProcess, InheritsNoOpenFilesButTheStandardStreams) {
  int fd = open(Path("open.txt").c_str(), O_WRONLY | O_CREAT, 0644);  // deliberately without O_CLOEXEC
  ASSERT_GE(fd, 0);
  ASSERT_EQ(dup2(fd, 57), 57);
  std::string output;
  EXPECT_EQ(RunProcess("ls", {"/proc/self/fd"}, 10000, &output), 0);
  close(57);
  close(fd);
  EXPECT_EQ(output.find("57"), std::string::npos) << output;
  EXPECT_EQ(output.rfind("0\n1\n2\n", 0), 0u) << output;
}

TEST_F(ChildProcess, OutputToAFileAndAWorkingFolder) {
  TChildProcess child;
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = Path("gbak.log");
  options.workingDir = dir_;
  ASSERT_TRUE(child.Start("pwd", {}, options));
  ASSERT_TRUE(child.Wait(10000));
  EXPECT_EQ(child.ExitCode(), 0);
  EXPECT_EQ(ReadAll(Path("gbak.log")), dir_ + "\n");
}

TEST_F(ChildProcess, PollsWithoutBlockingAndKillsOnTimeOut) {
  TChildProcess child;
  ASSERT_TRUE(child.Start(WIN_TEST_HELPER, {"sleep", "30000"}));
  EXPECT_TRUE(child.Running());
  EXPECT_EQ(child.ExitCode(), -1);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(child.Wait(100));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(child.Running());
  child.Kill();
  EXPECT_FALSE(child.Running());
  EXPECT_TRUE(child.Finished());
  EXPECT_TRUE(child.Signaled());
  EXPECT_EQ(child.ExitCode(), 128 + 9);

  EXPECT_EQ(RunProcess(WIN_TEST_HELPER, {"sleep", "30000"}, 100), -1);

  TChildProcess quick;
  ASSERT_TRUE(quick.Start(WIN_TEST_HELPER, {"sleep", "10"}));
  while (quick.Running()) usleep(1000);  // the way a window keeps pumping while it waits
  EXPECT_EQ(quick.ExitCode(), 0);
  EXPECT_FALSE(quick.Signaled());
}

namespace {
// True while a process of that id is alive (a zombie or no process is not).
bool Alive(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const std::size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}
}  // namespace

// A program killed while its child works (a restore's gbak) does not leave the
// child working on: the child ends with it.
TEST_F(ChildProcess, EndsWithTheProgramThatStartedIt) {
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t program = fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    close(pipeFds[0]);
    TChildProcess child;
    pid_t pid = child.Start(WIN_TEST_HELPER, {"sleep", "30000"}) ? child.Pid() : 0;
    if (write(pipeFds[1], &pid, sizeof pid) != sizeof pid) _exit(1);
    kill(getpid(), SIGKILL);  // no destructor, no clean-up: as under kill -9
    _exit(1);
  }
  close(pipeFds[1]);
  pid_t pid = 0;
  ASSERT_EQ(read(pipeFds[0], &pid, sizeof pid), static_cast<ssize_t>(sizeof pid));
  close(pipeFds[0]);
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(program, &status, 0), program);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Alive(pid) && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(Alive(pid));
  if (Alive(pid)) kill(pid, SIGKILL);
}

TEST_F(ChildProcess, AProgramThatCannotStartIsReported) {
  TChildProcess child;
  EXPECT_FALSE(child.Start(Path("gbak"), {}));
  EXPECT_NE(child.LastError().find("No such file"), std::string::npos) << child.LastError();
  EXPECT_FALSE(child.Start("no-such-program-anywhere", {}));
  WriteAll(Path("not-executable"), "data");
  EXPECT_FALSE(child.Start(Path("not-executable"), {}));
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = Path("missing/folder/out.log");
  EXPECT_FALSE(child.Start("true", {}, options));
  EXPECT_FALSE(child.Started());
  EXPECT_EQ(RunProcess(Path("gbak"), {}), -1);
}
