#include "platform/win/caller.h"

#include "platform/win/childprocess.h"
#include "platform/win/paths.h"
#include "platform/win/win_test_util.h"

class CallerChannel : public WinTest {};

TEST_F(CallerChannel, SendingToNoCallerFailsQuietly) {
  EXPECT_FALSE(EnableWindow(4242, false));
  EXPECT_FALSE(SetForegroundWindow(4242));
  EXPECT_FALSE(PostMessage(4242, 0x8001, 7, 0));
  env_.Set("VERUDA_RUNTIME_DIR", "/" + std::string(200, 'x'));  // longer than a socket address
  EXPECT_FALSE(PostMessage(4242, 0x8001, 7, 0));
  TCallerReceiver receiver;
  EXPECT_FALSE(receiver.Bind(4242));
  EXPECT_FALSE(receiver.LastError().empty());
}

TEST_F(CallerChannel, DatagramsFromAnotherProcessArriveInOrder) {
  TCallerReceiver receiver;
  ASSERT_TRUE(receiver.Bind(-17));  // handles are plain numbers, also negative ones
  EXPECT_EQ(receiver.Path(), Path("veruda-caller--17.sock"));
  for (const char* text : {"ENABLE 0", "FRONT", "POST 32769 5 2"})
    EXPECT_EQ(RunProcess(WIN_TEST_HELPER, {"send", "-17", text}, 5000), 0) << text;
  EXPECT_TRUE(EnableWindow(-17, true));  // and from this one
  EXPECT_EQ(receiver.Receive(1000), "ENABLE 0");
  EXPECT_EQ(receiver.Receive(1000), "FRONT");
  EXPECT_EQ(receiver.Receive(1000), "POST 32769 5 2");
  EXPECT_EQ(receiver.Receive(1000), "ENABLE 1");
  EXPECT_EQ(receiver.Receive(0), std::nullopt);
  receiver.Close();
  EXPECT_FALSE(PathExists(Path("veruda-caller--17.sock")));
}

TEST_F(CallerChannel, ParsesOnlyTheDocumentedForms) {
  auto post = ParseCallerDatagram("POST 32769 12345 1");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->kind, TCallerDatagram::Kind::Post);
  EXPECT_EQ(post->msg, 32769u);
  EXPECT_EQ(post->wparam, 12345);
  EXPECT_EQ(post->lparam, 1);
  auto enable = ParseCallerDatagram("ENABLE 0");
  ASSERT_TRUE(enable);
  EXPECT_FALSE(enable->enable);
  EXPECT_EQ(ParseCallerDatagram("FRONT")->kind, TCallerDatagram::Kind::Front);
  for (const char* bad : {"", "ENABLE", "ENABLE 2", "POST 1 2", "POST 1 2 3 4", "FRONT 1", "front"})
    EXPECT_FALSE(ParseCallerDatagram(bad)) << bad;
}

// Lines of test-caller's output that are datagrams (its own remarks start with "test-caller:").
std::vector<std::string> Datagrams(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("test-caller:", 0) != 0) lines.push_back(line);
  return lines;
}

TEST_F(CallerChannel, TestCallerRecordsTheLinkProgramAndReturnsItsCloseCode) {
  const std::vector<std::string> expected = {"ENABLE 0", "FRONT", "ENABLE 1", "POST 32769 12 CODE"};
  for (int closeCode : {0, 1, 2}) {
    SCOPED_TRACE(closeCode);
    env_.Set("VERUDA_TEST_CLOSE_CODE", std::to_string(closeCode));
    std::string output, file = Path("link" + std::to_string(closeCode) + ".xml");
    int code = RunProcess(TEST_CALLER, {"777", "32769", "12", WIN_TEST_HELPER, file}, 10000, &output);
    EXPECT_EQ(code, closeCode) << output;
    std::vector<std::string> want = expected;
    want.back() = "POST 32769 12 " + std::to_string(closeCode);
    EXPECT_EQ(Datagrams(output), want) << output;
    EXPECT_EQ(ReadAll(file), "written");  // the fourth field reached the program
    EXPECT_EQ(output.find("link program output"), std::string::npos);
  }
}

TEST_F(CallerChannel, TestCallerReportsAProgramThatNeverPosts) {
  std::string output;
  // The helper started with an argument that is not a command line of four fields.
  EXPECT_EQ(RunProcess(TEST_CALLER, {"778", "32769", "12", "/bin/true"}, 10000, &output), 100) << output;
  EXPECT_TRUE(Datagrams(output).empty());
  EXPECT_EQ(RunProcess(TEST_CALLER, {"779", "32769", "12", Path("no-such-program")}, 10000, &output), 101);
  EXPECT_EQ(RunProcess(TEST_CALLER, {"780", "32769"}, 10000, &output), 101);  // usage
}

TEST_F(CallerChannel, TestCallerListensForAProgramStartedElsewhere) {
  TChildProcess listener;
  TChildOptions options;
  options.output = TChildOptions::Output::Capture;
  ASSERT_TRUE(listener.Start(TEST_CALLER, {"--listen", "9001", "10000"}, options));
  for (int i = 0; i < 500 && !PathExists(CallerSocketPath(9001)); ++i) usleep(10000);
  ASSERT_TRUE(PathExists(CallerSocketPath(9001)));
  EXPECT_TRUE(EnableWindow(9001, false));
  EXPECT_TRUE(PostMessage(9001, 1024, 3, 2));
  ASSERT_TRUE(listener.Wait(10000));
  EXPECT_EQ(listener.ExitCode(), 2);
  EXPECT_EQ(Datagrams(listener.Output()), (std::vector<std::string>{"ENABLE 0", "POST 1024 3 2"}));
  EXPECT_FALSE(PathExists(CallerSocketPath(9001)));  // removed when it ends

  std::string output;
  EXPECT_EQ(RunProcess(TEST_CALLER, {"--listen", "9002", "100"}, 10000, &output), 100) << output;
}
