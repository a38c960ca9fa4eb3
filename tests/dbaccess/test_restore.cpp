// A restore never costs the database it replaces: damaged backups through the
// services and through gbak (on this computer and through the server) leave
// it byte for byte as it was; a restore killed at each of its steps leaves the
// old or the complete new data set, and the next run removes what the killed
// one left.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <thread>

#include "core/globals.h"
#include "dbaccess/backuprestore.h"
#include "dmtest.h"
#include "platform/win/childprocess.h"

using namespace dmtest;

namespace fs = std::filesystem;

namespace {

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  ::chmod(path.c_str(), 0666);
}

// The damaged copies of a good backup the restore must refuse.
struct TDamage {
  const char* name;
  std::function<std::string(const std::string&)> make;
};

std::string Cut(const std::string& good, int percent) { return good.substr(0, good.size() * percent / 100); }

const std::vector<TDamage>& Damages() {
  static const std::vector<TDamage> damages = {
      {"empty", [](const std::string&) { return std::string(); }},
      {"random bytes",
       [](const std::string&) {
         std::mt19937 random(18);
         std::string bytes(256 * 1024, '\0');
         for (char& c : bytes) c = static_cast<char>(random());
         return bytes;
       }},
      {"header damaged",
       [](const std::string& good) {
         std::string bytes = good;
         for (std::size_t i = 0; i < 64 && i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xFF);
         return bytes;
       }},
      {"flipped bytes",
       [](const std::string& good) {
         std::string bytes = good;
         for (std::size_t i = bytes.size() / 4; i < bytes.size() * 3 / 4; i += 4093) bytes[i] ^= 0x5A;
         return bytes;
       }},
      {"cut at 50 %", [](const std::string& good) { return Cut(good, 50); }},
      {"cut at 90 %", [](const std::string& good) { return Cut(good, 90); }},
      {"cut at 99 %", [](const std::string& good) { return Cut(good, 99); }},
  };
  return damages;
}

// Figures of the runs, printed at the end of the tests.
struct TFigures {
  int runs = 0, kills = 0, damaged = 0, compared = 0;
  ~TFigures() {
    if (runs + damaged > 0)
      std::printf("restore figures: %d restores run, %d killed, %d damaged backups tried, %d files compared\n", runs,
                  kills, damaged, compared);
  }
};
TFigures figures;

class RestoreSafety : public DmTest {
 protected:
  std::string Database() const { return DataFolder(1) + "/rqacc.fdb"; }

  // A backup of data set 1 as it is now ("株式会社テスト商事"); afterwards the
  // data set's company is renamed, so that the old and the new one differ.
  std::string GoodBackup() {
    const std::string file = temp_.File("good.fbk");
    EXPECT_TRUE(BackupRestore().BackupFDB(kProtocolLocal, "", Database(), file, true));
    ::chmod(file.c_str(), 0644);
    ExecOn(Database(), "UPDATE ACCDEF1 SET SHOUGOU='復元前の会社'");
    return file;
  }

  std::vector<std::string> WorkFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(DataFolder(1)))
      if (e.path().filename().string().rfind(".vdw-", 0) == 0) names.push_back(e.path().filename().string());
    return names;
  }
  // Kills every other process that has a work file of the folder open.
  void EndProcessesHoldingWorkFiles() const {
    for (const auto& proc : fs::directory_iterator("/proc")) {
      const std::string pid = proc.path().filename().string();
      if (pid.find_first_not_of("0123456789") != std::string::npos || std::stoi(pid) == ::getpid()) continue;
      std::error_code ec;
      for (const auto& fd : fs::directory_iterator(proc.path() / "fd", ec)) {
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (target.rfind(DataFolder(1) + "/.vdw-", 0) == 0) ::kill(std::stoi(pid), SIGKILL);
      }
    }
    for (int i = 0; i < 100 && !WorkFilesIdle(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // True once no process has a work file of the folder open (an orphaned
  // gbak finishes its database after its caller was killed).
  bool WorkFilesIdle() const {
    for (const std::string& name : WorkFiles()) {
      const int fd = ::open((DataFolder(1) + "/" + name).c_str(), O_RDONLY);
      if (fd < 0) continue;
      const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
      ::close(fd);
      if (busy) return false;
    }
    return true;
  }

  std::string Company(const std::string& database) {
    TIBDatabase db;
    db.DatabaseName = database;
    db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
    db.Open();
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    TIBSQL q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL.SetText("SELECT SHOUGOU FROM ACCDEF1");
    tr.StartTransaction();
    q.ExecQuery();
    const std::string name = q.Eof() ? std::string() : q.Fields(0).AsTrimString();
    q.Close();
    tr.Commit();
    db.Close();
    return name;
  }

  // Restores every damaged copy through one road and checks that nothing moved.
  void RefuseEveryDamage(const std::string& road, const std::function<bool(const std::string&)>& restore) {
    const std::string good = Bytes(temp_.File("good.fbk"));
    const std::string before = Bytes(Database());
    ASSERT_GT(before.size(), 100000u);
    for (const TDamage& damage : Damages()) {
      SCOPED_TRACE(road + ": " + damage.name);
      const std::string file = temp_.File("damaged.fbk");
      WriteBytes(file, damage.make(good));
      shown_.clear();
      ++figures.runs;
      ++figures.damaged;
      EXPECT_FALSE(restore(file));
      ++figures.compared;
      EXPECT_TRUE(Bytes(Database()) == before) << "the data set was changed";
      EXPECT_EQ(WorkFiles(), std::vector<std::string>{}) << "the new database is removed";
      ASSERT_EQ(shown_.size(), 1u);
      EXPECT_EQ(shown_[0].text.rfind("データベースのリストアに失敗しました。", 0), 0u) << shown_[0].text;
    }
    EXPECT_EQ(Company(Database()), "復元前の会社");
  }
};

TEST_F(RestoreSafety, DamagedBackupsLeaveTheDataSetByteForByte) {
  GoodBackup();
  RefuseEveryDamage("services", [&](const std::string& file) {
    return BackupRestore().RestoreFDB(kProtocolLocal, "", Database(), file, true);
  });
  RefuseEveryDamage("gbak", [&](const std::string& file) {
    return BackupRestore().RestoreFDBGbak(kProtocolTcp, "", Database(), file, false);
  });
  // The good backup still restores through both roads, and the restored data
  // set keeps the permissions of the file it replaced.
  ::chmod(Database().c_str(), 0664);
  ++figures.runs;
  ASSERT_TRUE(BackupRestore().RestoreFDBGbak(kProtocolTcp, "", Database(), temp_.File("good.fbk"), false));
  EXPECT_EQ(Company(Database()), "株式会社テスト商事");
  struct stat st {};
  ASSERT_EQ(::stat(Database().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
}

TEST_F(RestoreSafety, DamagedBackupsThroughTheServer) {
  if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  GoodBackup();
  ConnectKind = 1;
  SystemDef.HostName = "localhost";
  RefuseEveryDamage("services over TCP", [&](const std::string& file) {
    return BackupRestore().RestoreFDB(kProtocolTcp, "localhost", Database(), file, true);
  });
  RefuseEveryDamage("gbak over TCP", [&](const std::string& file) {
    return BackupRestore().RestoreFDBGbak(kProtocolTcp, "localhost", Database(), file, true);
  });
  ConnectKind = 0;
}

TEST_F(RestoreSafety, ADataSetInUseIsNotReplaced) {
  const std::string backup = GoodBackup();
  TIBDatabase other;  // another user of the data set
  other.DatabaseName = Database();
  other.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
  other.Open();
  const std::string before = Bytes(Database());
  ++figures.runs;
  EXPECT_FALSE(BackupRestore().RestoreFDB(kProtocolLocal, "", Database(), backup, true));
  ++figures.compared;
  EXPECT_TRUE(Bytes(Database()) == before);
  other.Close();
  EXPECT_EQ(Company(Database()), "復元前の会社");
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].text.find("使用中"), std::string::npos) << shown_[0].text;
}

// Starts the job in a child process and kills it once it stands at the point.
void KillAt(const std::vector<std::string>& args, const std::string& point, const std::string& out) {
  TChildProcess child;
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = out;
  std::vector<std::string> all = args;
  all.push_back(point);
  ASSERT_TRUE(child.Start(RESTORE_CHILD, all, options));
  ++figures.runs;
  bool reached = false;
  for (int i = 0; i < 1200 && !reached; ++i) {
    reached = Bytes(out).find("at " + point) != std::string::npos;
    if (!reached && !child.Running()) break;
    if (!reached) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(reached) << Bytes(out);
  child.Kill();
  ++figures.kills;
  ASSERT_TRUE(child.Signaled());
}

// Runs the job to its end in a child process; its exit code.
int RunToEnd(const std::vector<std::string>& args, const std::string& out) {
  TChildProcess child;
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = out;
  if (!child.Start(RESTORE_CHILD, args, options)) return -1;
  ++figures.runs;
  if (!child.Wait(120000)) return -2;
  return child.ExitCode();
}

TEST_F(RestoreSafety, AKilledBackupKeepsTheOldBackupAndTheNextRunCleansUp) {
  const std::string backup = temp_.File("kept.fbk");
  WriteBytes(backup, "the previous backup");
  const std::string out = temp_.File("child.out");
  ASSERT_NO_FATAL_FAILURE(KillAt({"backup", Database(), backup, inst_.tempDir}, "backup.written", out));
  ++figures.compared;
  EXPECT_EQ(Bytes(backup), "the previous backup");
  EXPECT_EQ(WorkFiles().size(), 1u) << "the killed run's work file";
  EXPECT_EQ(RunToEnd({"backup", Database(), backup, inst_.tempDir}, out), 0) << Bytes(out);
  EXPECT_GT(fs::file_size(backup), 100000u);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
}

TEST_F(RestoreSafety, AKilledRestoreLeavesTheOldOrTheNewDataSetAndTheNextRunCleansUp) {
  const std::string backup = GoodBackup();
  const std::string old = Bytes(Database());
  struct Case {
    const char* tool;
    const char* point;
    bool replaced;  // the new data set is in place when the kill comes
  } cases[] = {
      {"services", "restore.running", false},  {"services", "restore.restored", false},
      {"services", "restore.verified", false}, {"services", "restore.replaced", true},
      {"gbak", "restore.running", false},      {"gbak", "restore.verified", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tool) + " killed at " + c.point);
    WriteBytes(Database(), old);
    const std::string out = temp_.File("child.out");
    ASSERT_NO_FATAL_FAILURE(KillAt({c.tool, Database(), backup, inst_.tempDir}, c.point, out));
    ++figures.compared;
    if (c.replaced) {
      EXPECT_EQ(Company(Database()), "株式会社テスト商事") << "the complete new data set";
    } else {
      EXPECT_TRUE(Bytes(Database()) == old) << "the old data set, byte for byte";
    }
    for (int i = 0; i < 300 && !WorkFilesIdle(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // An orphaned gbak that is still at work after that (it can stall once the
    // reader of its output is gone) is ended, as the end of the session would.
    if (!WorkFilesIdle()) EndProcessesHoldingWorkFiles();

    // The next run of the same restore removes what the killed one left.
    EXPECT_EQ(RunToEnd({c.tool, Database(), backup, inst_.tempDir}, out), 0) << Bytes(out);
    EXPECT_EQ(Company(Database()), "株式会社テスト商事");
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  }
}

}  // namespace
