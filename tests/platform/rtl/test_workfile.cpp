// Atomic writes at unusual paths and after a kill: a symbolic link is written
// through, folders, devices, pipes and sockets are refused, the longest file
// names work, and a write killed before its rename leaves the old file and a
// work file that the next write removes (but never one somebody still holds).
#include <gtest/gtest.h>

#include "platform/rtl/tempfoldertest.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/workfile.h"

namespace fs = std::filesystem;

namespace {

class WorkFileTest : public TempFolderTest {
 protected:
  std::vector<std::string> WorkFiles() const { return Names(IsWorkFileName); }
  // Runs body in a child process; its wait status.
  template <typename Body>
  static int InChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      body();
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
  }
};

TEST_F(WorkFileTest, ASymbolicLinkIsWrittenThroughAndStaysALink) {
  fs::create_directory(Path("real"));
  WriteBytes(Path("real/link.xml"), "old");
  fs::create_symlink("real/link.xml", Path("relative"));        // relative target
  fs::create_symlink(Path("relative"), Path("chain"));          // a link to a link
  fs::create_symlink(Path("real/new.xml"), Path("dangling"));   // target not there yet
  WriteFileAtomically(Path("chain"), "through two links");
  EXPECT_EQ(ReadBytes(Path("real/link.xml")), "through two links");
  EXPECT_TRUE(fs::is_symlink(Path("chain")));
  EXPECT_TRUE(fs::is_symlink(Path("relative")));
  WriteFileAtomically(Path("dangling"), "created");
  EXPECT_EQ(ReadBytes(Path("real/new.xml")), "created");
  EXPECT_TRUE(fs::is_symlink(Path("dangling")));
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
}

TEST_F(WorkFileTest, FoldersDevicesPipesAndSocketsAreRefused) {
  fs::create_directory(Path("folder"));
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  fs::create_symlink("/dev/null", Path("device"));
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = Path("socket");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  struct Case {
    const char* name;
    TPathKind kind;
  } cases[] = {{"folder", TPathKind::Directory},
               {"pipe", TPathKind::Fifo},
               {"device", TPathKind::Device},
               {"socket", TPathKind::Socket}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      WriteFileAtomically(Path(c.name), "data");
      ADD_FAILURE() << "written";
    } catch (const ENotARegularFile& e) {
      EXPECT_EQ(e.Kind(), c.kind);
      EXPECT_EQ(e.Path(), Path(c.name));
    }
  }
  ::close(sock);
  EXPECT_TRUE(fs::is_directory(Path("folder")));
  EXPECT_TRUE(fs::is_fifo(Path("pipe")));
  EXPECT_TRUE(fs::is_symlink(Path("device")));
  EXPECT_TRUE(fs::is_socket(Path("socket")));
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
}

TEST_F(WorkFileTest, TheLongestFileNamesCanBeWritten) {
  for (std::size_t length : {200u, 243u, 250u, 255u}) {
    SCOPED_TRACE(length);
    const std::string name = std::string(length - 4, 'n') + ".xml";
    WriteFileAtomically(Path(name), "long");
    EXPECT_EQ(ReadBytes(Path(name)), "long");
    WriteFileAtomically(Path(name), "again");
    EXPECT_EQ(ReadBytes(Path(name)), "again");
  }
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
}

TEST_F(WorkFileTest, AWriteKilledBeforeItsRenameLeavesTheOldFileAndTheNextWriteCleansUp) {
  const std::string path = Path("link.xml");
  WriteBytes(path, "old");
  const int status = InChild([&] {
    FaultPointHook = [](std::string_view point) {
      if (point == "atomic.written") ::raise(SIGKILL);
    };
    WriteFileAtomically(path, "new");
  });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
  EXPECT_EQ(ReadBytes(path), "old");
  ASSERT_EQ(WorkFiles().size(), 1u);
  EXPECT_EQ(ReadBytes(Path(WorkFiles()[0])), "new") << "the killed write's work file";

  WriteFileAtomically(path, "next");
  EXPECT_EQ(ReadBytes(path), "next");
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
}

TEST_F(WorkFileTest, AWorkFileSomebodyHoldsIsNoLeftover) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    TWorkFile held(dir_.string(), ".fbk");
    (void)::write(ready[1], "x", 1);
    ::pause();
    ::_exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_EQ(RemoveLeftoverWorkFiles(dir_.string()), 0);
  EXPECT_EQ(WorkFiles().size(), 1u) << "still held by the other process";
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_EQ(RemoveLeftoverWorkFiles(dir_.string()), 1) << "its maker is gone";
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  ::close(ready[0]);
  ::close(ready[1]);

  // Names: short, recognisable, never the same twice.
  const std::string a = NewWorkFileName("/x", ".tmp"), b = NewWorkFileName("/x", ".tmp");
  EXPECT_NE(a, b);
  EXPECT_TRUE(IsWorkFileName(a));
  EXPECT_LE(a.size() - 3, 20u);
  EXPECT_FALSE(IsWorkFileName("/x/.vdw-"));
  EXPECT_FALSE(IsWorkFileName("/x/link.xml"));
}

}  // namespace
