// The program's start-up on the demo installation: the refusals before any
// window, the command line, the application information, the installed
// version, and the real executable started once.
#include <QApplication>
#include <QCoreApplication>
#include <QToolTip>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/entry.h"
#include "apptest.h"
#include "link/mainwindow.h"
#include "platform/win/caller.h"
#include "platform/win/childprocess.h"
#include "platform/win/namedmutex.h"

namespace fs = std::filesystem;

namespace apptest {
namespace {

// A second process that holds the named mutexes until it is killed.
class LockHolder {
 public:
  explicit LockHolder(const std::vector<std::string>& names) {
    std::string script;
    for (const auto& name : names) script += "exec {fd}>'" + NamedMutexPath(name) + "'; flock -n $fd || exit 3; ";
    script += "echo held; sleep 60";
    TChildOptions options;
    options.output = TChildOptions::Output::File;
    options.outputFile = NamedMutexPath("holder") + ".out";
    fs::create_directories(fs::path(options.outputFile).parent_path());
    EXPECT_TRUE(child_.Start("bash", {"-c", script}, options));
    for (int i = 0; i < 200 && !AllHeld(names); ++i) child_.Wait(20);
    EXPECT_TRUE(AllHeld(names));
  }
  ~LockHolder() { child_.Kill(); }

 private:
  static bool AllHeld(const std::vector<std::string>& names) {
    for (const auto& n : names)
      if (!MutexExists(n)) return false;
    return true;
  }
  TChildProcess child_;
};

class Startup : public AppTest {};

TEST_F(Startup, RefusedWhileTheProductItsToolsOrAnotherCopyRun) {
  struct Case {
    std::vector<std::string> held;
    const char* text;
  } cases[] = {
      {{"PELORIN000"}, "コルベクス財務が起動しています。同時に起動することは出来ません。"},
      {{"PELORIN_TOOLS"}, "コルベクス財務ツールが起動しています。同時に起動することは出来ません。"},
      {{"VERUDA_RENDO"}, "アプリケーションは既に起動しています。"},
      {{"PELORIN000", "PELORIN_TOOLS"}, "コルベクス財務が起動しています。同時に起動することは出来ません。"},
  };
  for (const auto& c : cases) {
    responder_.Clear();
    {
      LockHolder holder(c.held);
      EXPECT_EQ(RunLinkProgram({}), 1);
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.text}) << c.held[0];
      // The box carries the program's caption, not the bare kind.
      ASSERT_EQ(responder_.Shown().size(), 1u);
      EXPECT_EQ(responder_.Shown()[0].caption, "連動ﾃﾞｰﾀの作成");
    }
  }
  // Nothing held: the program would start, and its own name is free again
  // after the refusals (none of them created it).
  EXPECT_FALSE(MutexExists("VERUDA_RENDO"));
}

TEST_F(Startup, ALockFolderThatCannotHoldTheLockIsNamedWithItsReason) {
  // The runtime folder lies below a file; the lock file itself is a folder.
  std::ofstream(root_ + "/file") << "not a folder";
  fs::create_directories(root_ + "/locks/mutex-VERUDA_RENDO.lock");
  struct Case {
    std::string folder;
    const char* reason;
  } cases[] = {{root_ + "/file/below", "フォルダではありません"}, {root_ + "/locks", "フォルダがあります"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    setenv("VERUDA_RUNTIME_DIR", c.folder.c_str(), 1);
    responder_.Clear();
    EXPECT_EQ(RunLinkProgram({}), 1);
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].find("既に起動しています"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find(c.folder + "/mutex-VERUDA_RENDO.lock"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find(c.reason), std::string::npos) << boxes[0];
  }
  setenv("VERUDA_RUNTIME_DIR", runtimeDir_.c_str(), 1);
}

TEST_F(Startup, TwoArgumentsEndTheProgramWithoutAWindow) {
  EXPECT_EQ(RunLinkProgram({"1,2,3,/tmp/a", "b.xml"}), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"不正な引数が渡されました。\r\rアプリケーションを強制終了します。"});
  EXPECT_FALSE(MutexExists("VERUDA_RENDO")) << "the guard is released when the program ends";
}

// The big hint window is the program's from its start, even when it ends at once.
TEST_F(Startup, HintsAreDrawnInTheSystemFaceFromTheStart) {
  QToolTip::setFont(QApplication::font());
  EXPECT_EQ(RunLinkProgram({"1,2,3,/tmp/a", "b.xml"}), 1);
  EXPECT_EQ(QToolTip::font().family().toStdString(), "System");
}

// A caller's field that is not a number is a bad argument: the program's own
// box, never the text of a failed conversion.
TEST_F(Startup, CallerFieldThatIsNotANumberIsABadArgument) {
  for (const char* argument : {"abc,1,2,/tmp/a.xml", ",1,2,/tmp/a.xml", "1,2", "1,99999999999,2,/tmp/a.xml"}) {
    SCOPED_TRACE(argument);
    responder_.Clear();
    auto form = std::make_unique<TForm1>(std::vector<std::string>{argument});
    EXPECT_FALSE(form->Created());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"不正な引数が渡されました。\r\rアプリケーションを強制終了します。"});
  }
}

TEST_F(Startup, MissingAppInfoEndsTheProgram) {
  fs::remove(fs::path(programDir_) / "AppInfo.ini");
  auto form = std::make_unique<TForm1>(std::vector<std::string>{});
  EXPECT_FALSE(form->Created());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                            "アプリケーションの設定ファイル(AppInfo.ini)が見つかりませんでした。\rアプリケーションを強制終了します。"});
}

TEST_F(Startup, InstalledProductTooOldOrWithoutVersion) {
  std::ifstream in(registryFile_, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string original = s.str();
  ASSERT_NE(original.find("Version=11.1.0"), std::string::npos) << original;
  for (const char* version : {"11.0.9", "11.1.0.1", ""}) {
    responder_.Clear();
    std::string text = original;
    text.replace(text.find("Version=11.1.0"), 14, std::string("Version=") + version);
    std::ofstream(registryFile_, std::ios::binary | std::ios::trunc) << text;
    auto form = std::make_unique<TForm1>(std::vector<std::string>{});
    EXPECT_FALSE(form->Created()) << version;
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("」のバージョンに対応していません。\rバージョン:11.1.0以降をインストールしてください。\r\r"
                                 "アプリケーションを強制終了します。"),
              std::string::npos)
        << BoxTexts()[0];
  }
}

// The real program under the offscreen platform, started with a caller's
// argument: it reads the command line (the caller's window is disabled),
// takes its single-instance guard and waits in its logon window.
TEST_F(Startup, RealExecutableStartsAndWaitsInItsLogon) {
  const std::string exe = BinaryDir() + "/src/app/veruda-rendo";
  ASSERT_TRUE(fs::exists(exe));
  TCallerReceiver caller;
  ASSERT_TRUE(caller.Bind(7301)) << caller.LastError();
  TChildProcess program;
  ASSERT_TRUE(program.Start(exe, {"7301,32770,9," + documentsDir_ + "/real.xml"}));
  const auto first = caller.Receive(20000);
  ASSERT_TRUE(first.has_value()) << "nothing from the program";
  EXPECT_EQ(*first, "ENABLE 0");
  EXPECT_TRUE(MutexExists("VERUDA_RENDO"));
  program.Wait(1500);
  EXPECT_TRUE(program.Running()) << "the program waits in its logon window";
  program.Kill();
}

}  // namespace
}  // namespace apptest
