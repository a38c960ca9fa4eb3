#include "platform/win/namedmutex.h"

#include <chrono>
#include <thread>

#include "platform/win/childprocess.h"
#include "platform/win/paths.h"
#include "platform/win/win_test_util.h"

class NamedMutex : public WinTest {
 protected:
  // Waits until the helper's output file holds a whole line.
  std::string FirstLine(const std::string& file) {
    for (int i = 0; i < 1000; ++i) {
      std::string text = ReadAll(file);
      if (auto end = text.find('\n'); end != std::string::npos) return text.substr(0, end);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return "(no answer)";
  }
  bool StartHelper(TChildProcess& child, const std::vector<std::string>& args, const std::string& outFile) {
    TChildOptions options;
    options.output = TChildOptions::Output::File;
    options.outputFile = outFile;
    return child.Start(WIN_TEST_HELPER, args, options);
  }
};

TEST_F(NamedMutex, HeldInThisProcessIsSeenAndReleased) {
  EXPECT_FALSE(MutexExists("VERUDA_RENDO"));  // never created
  auto mutex = CreateNamedMutex("VERUDA_RENDO");
  ASSERT_TRUE(mutex);
  EXPECT_EQ(NamedMutexPath("VERUDA_RENDO"), Path("mutex-VERUDA_RENDO.lock"));
  EXPECT_TRUE(MutexExists("VERUDA_RENDO"));
  EXPECT_FALSE(MutexExists("PELORIN000"));
  EXPECT_FALSE(CreateNamedMutex("VERUDA_RENDO"));
  mutex.reset();
  EXPECT_FALSE(MutexExists("VERUDA_RENDO"));  // the file stays, the lock is gone
  EXPECT_TRUE(FileExists(Path("mutex-VERUDA_RENDO.lock")));
  EXPECT_TRUE(CreateNamedMutex("VERUDA_RENDO"));
  EXPECT_EQ(NamedMutexPath("a/../b c"), Path("mutex-a_.._b_c.lock"));
}

TEST_F(NamedMutex, AMissingRuntimeFolderIsCreatedAndAFailureIsNotTakenForAHolder) {
  env_.Set("VERUDA_RUNTIME_DIR", Path("run/user"));
  std::string error = "old";
  EXPECT_TRUE(CreateNamedMutex("VERUDA_RENDO", &error));
  EXPECT_EQ(error, "");
  WriteAll(Path("file"), "");
  env_.Set("VERUDA_RUNTIME_DIR", Path("file/below"));  // cannot be a folder
  EXPECT_FALSE(CreateNamedMutex("VERUDA_RENDO", &error));
  EXPECT_NE(error.find("mutex-VERUDA_RENDO.lock"), std::string::npos) << error;
  EXPECT_FALSE(MutexExists("VERUDA_RENDO"));
}

TEST_F(NamedMutex, HeldByAnotherProcessUntilThatProcessIsKilled) {
  TChildProcess holder;
  ASSERT_TRUE(StartHelper(holder, {"hold", "PELORIN000"}, Path("holder.out")));
  ASSERT_EQ(FirstLine(Path("holder.out")), "held");
  EXPECT_TRUE(MutexExists("PELORIN000"));
  EXPECT_FALSE(MutexExists("PELORIN_TOOLS"));
  EXPECT_FALSE(CreateNamedMutex("PELORIN000"));

  // A process that only tests does not hold anything afterwards.
  TChildProcess other;
  ASSERT_TRUE(StartHelper(other, {"hold", "PELORIN000"}, Path("other.out")));
  EXPECT_EQ(FirstLine(Path("other.out")), "busy");
  ASSERT_TRUE(other.Wait(5000));
  EXPECT_EQ(other.ExitCode(), 1);

  holder.Kill();  // SIGKILL: no clean-up code runs, the kernel drops the lock
  EXPECT_TRUE(holder.Signaled());
  EXPECT_FALSE(MutexExists("PELORIN000"));
  EXPECT_TRUE(CreateNamedMutex("PELORIN000"));
}

TEST_F(NamedMutex, OfProcessesStartedTogetherExactlyOneGetsIt) {
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    const int count = 6;
    std::string go = Path("go" + std::to_string(round));
    std::vector<std::unique_ptr<TChildProcess>> racers;
    for (int i = 0; i < count; ++i) {
      racers.push_back(std::make_unique<TChildProcess>());
      ASSERT_TRUE(StartHelper(*racers.back(), {"hold", "RACE" + std::to_string(round), go},
                              Path("racer" + std::to_string(round) + "_" + std::to_string(i))));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let them all reach the barrier
    WriteAll(go, "go");
    int held = 0, busy = 0;
    for (int i = 0; i < count; ++i) {
      std::string answer = FirstLine(Path("racer" + std::to_string(round) + "_" + std::to_string(i)));
      held += answer == "held";
      busy += answer == "busy";
    }
    EXPECT_EQ(held, 1);
    EXPECT_EQ(busy, count - 1);
    EXPECT_TRUE(MutexExists("RACE" + std::to_string(round)));
  }  // the holders are killed with their TChildProcess
}
