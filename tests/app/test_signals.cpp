// The real program ends on SIGTERM, SIGINT and SIGHUP as when its main window
// is closed, also once the Firebird client has installed its own signal
// handling (after the logon has attached the system database): the logon row
// is deleted, the caller is told, the process exits.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "apptest.h"
#include "platform/fb/ibx.h"
#include "platform/win/caller.h"
#include "platform/win/childprocess.h"
#include "platform/win/namedmutex.h"
#include "vncuser.h"

namespace fs = std::filesystem;

namespace apptest {
namespace {

// Whether the process has the file open.
bool HoldsFile(pid_t pid, const std::string& name) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
    const fs::path target = fs::read_symlink(entry.path(), ec);
    if (!ec && target.filename() == name) return true;
  }
  return false;
}

int LogonRows(const std::string& database) {
  TIBDatabase db;
  db.DatabaseName = database;
  db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
  db.Open();
  TIBTransaction tr;
  tr.SetDefaultDatabase(&db);
  tr.StartTransaction();
  TIBSQL sql;
  sql.SetDatabase(&db);
  sql.SetTransaction(&tr);
  sql.SQL = "SELECT COUNT(*) AS N FROM LOGONUSERLIST";
  sql.ExecQuery();
  const int rows = sql.FieldByName("N").AsInteger();
  sql.Close();
  tr.Commit();
  db.Close();
  return rows;
}

// The program shown on the VNC platform, so that a keyboard can log it on.
class VisibleProgram {
 public:
  explicit VisibleProgram(const std::vector<std::string>& args) {
    port_ = FreeLoopbackPort();
    const char* old = std::getenv("QT_QPA_PLATFORM");
    const std::string saved = old ? old : "";
    setenv("QT_QPA_PLATFORM", ("vnc:port=" + std::to_string(port_)).c_str(), 1);
    started_ = child_.Start(BinaryDir() + "/src/app/veruda-rendo", args);
    setenv("QT_QPA_PLATFORM", saved.c_str(), 1);
  }
  bool Started() const { return started_; }
  TChildProcess& Child() { return child_; }
  // Waits for the logon window (its white input fields), types the demo
  // operator's code and password into it and waits until it has gone.
  bool LogOn(std::string& error) {
    TVncUser user;
    const auto logonShown = [&](bool& shown) {
      std::vector<std::uint32_t> screen;
      if (!user.Screen(screen)) return false;
      shown = std::count(screen.begin(), screen.end(), 0xffffffu) > 3000;
      return true;
    };
    const auto waitFor = [&](bool wanted) {
      for (int i = 0; i < 400; ++i) {
        bool shown = false;
        if (!logonShown(shown)) return false;
        if (shown == wanted) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      return false;
    };
    const bool done = user.Connect(port_, 20000) && waitFor(true) && user.Type("10") && user.Key(TVncUser::kTab) &&
                      user.Type("demo") && user.Key(TVncUser::kF12) && waitFor(false);
    error = user.LastError().empty() ? "the logon window did not come or did not go" : user.LastError();
    return done;
  }

 private:
  int port_ = 0;
  bool started_ = false;
  TChildProcess child_;
};

class Signals : public AppTest {};

TEST_F(Signals, EndTheLoggedOnProgramAsClosingItsWindow) {
  const std::string systemDatabase = appDataDir_ + "/norvane/corvexzaimu/data/rqaccdef.fdb";
  ASSERT_TRUE(fs::exists(systemDatabase));
  int handle = 7500;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    TCallerReceiver caller;
    ASSERT_TRUE(caller.Bind(++handle)) << caller.LastError();
    VisibleProgram program({std::to_string(handle) + ",32773,6," + documentsDir_ + "/s.xml"});
    ASSERT_TRUE(program.Started()) << program.Child().LastError();
    ASSERT_EQ(caller.Receive(20000).value_or(""), "ENABLE 0");
    std::string error;
    ASSERT_TRUE(program.LogOn(error)) << error;
    // Logged on: the wizard shows and the system database is open.
    const pid_t pid = program.Child().Pid();
    ASSERT_TRUE(HoldsFile(pid, "rqaccdef.fdb")) << "the logon did not attach the system database";
    ASSERT_TRUE(program.Child().Running()) << "the logon failed";

    ::kill(pid, signal);
    const bool ended = program.Child().Wait(5000);
    EXPECT_TRUE(ended) << "the program went on after the signal";
    if (!ended) program.Child().Kill();
    EXPECT_EQ(program.Child().ExitCode(), 0);
    std::vector<std::string> heard;
    while (auto text = caller.Receive(500)) heard.push_back(*text);
    EXPECT_EQ(heard, (std::vector<std::string>{"FRONT", "ENABLE 1", "POST 32773 6 1"}));
    EXPECT_FALSE(MutexExists("VERUDA_RENDO"));
    EXPECT_EQ(LogonRows(systemDatabase), 0) << "the logon row was left behind";
  }
}

}  // namespace
}  // namespace apptest
