// The version test reading versions from real databases of a fixture
// installation: the system database's VERSION and the data sets' ACCVERSION,
// through the embedded engine and, when VERUDA_TEST_FB_SERVER is set, through
// the server over TCP.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "dbupdate/dbupdatebox.h"
#include "fixture/builder.h"
#include "fixture/testcache.h"
#include "platform/fb/ibx.h"

namespace {

const char* kDescription = R"(
[installation]
connect = 0

[operators]
OPCODE, OPNAME, PASWORD, JOBLEVEL
10,     試験担当, test10, 9

[dataset]
label = current
[company]
SHOUGOU = 株式会社現行
KISHU = 2019-04-01

[dataset]
label = older
version = 11.0.5
[company]
SHOUGOU = 株式会社旧版
KISHU = 2019-04-01

[dataset]
label = two rows
version = 11.0.5
[company]
SHOUGOU = 株式会社二行
KISHU = 2019-04-01
[table ACCVERSION]
REC, MAJOR, MINOR1, MINOR2
0,   10,    0,      0
2,   11,    1,      0

[dataset]
label = empty version table
[company]
SHOUGOU = 株式会社空表
KISHU = 2019-04-01

[dataset]
label = no version table
[company]
SHOUGOU = 株式会社無表
KISHU = 2019-04-01
)";

enum { kCurrent = 0, kOlder, kTwoRows, kEmptyTable, kNoTable };

std::string ServerHost() {
  const char* host = std::getenv("VERUDA_TEST_FB_SERVER");
  return host && *host ? host : "";
}

std::string BinaryDir() {
  const char* dir = std::getenv("PROJECT_BINARY_DIR");
  return dir && *dir ? dir : std::filesystem::temp_directory_path().string();
}

// The installation is built once per build tree and description and copied
// for each test process, which spoils only its copy.
std::string CachedInstallation() {
  fixture::BuildOptions options;
  options.serverAccess = true;
  const std::string base = BinaryDir() + "/dbupdate-installation";
  return fixture::CachedInstallation(kDescription, "versionread", base, base, options);
}

class VersionReadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dbupdate-test-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    chmod(folder_.c_str(), 0777);
    const std::string root = folder_ + "/inst";
    std::filesystem::copy(CachedInstallation(), root, std::filesystem::copy_options::recursive);
    fixture::OpenToServer(root);
    sysDir_ = root + "/appdata/norvane/corvexzaimu/data";
    Exec(DataSetFile(kEmptyTable), "DELETE FROM ACCVERSION");
    Exec(DataSetFile(kNoTable), "DROP TABLE ACCVERSION");
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

  // The database of the data set with that index (list rows 1, 2, ...).
  static std::string DataSetFile(int index) {
    char rec[16];
    std::snprintf(rec, sizeof rec, "%04d", index + 1);
    return sysDir_ + "/" + rec + "/rqacc.fdb";
  }
  static std::string SystemFile() { return sysDir_ + "/rqaccdef.fdb"; }

  static void Connect(TIBDatabase& db, const std::string& file, const std::string& host = "") {
    db.DatabaseName = fixture::Installation::DatabaseName(file, host);
    db.Params.Add("user_name=VFNZFR");
    db.Params.Add("password=dravon");
    db.Params.Add("lc_ctype=SJIS_0208");
    db.Open();
  }
  static void Exec(const std::string& file, const std::string& sql) {
    TIBDatabase db;
    Connect(db, file);
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    tr.StartTransaction();
    TIBSQL q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL.Add(sql);
    q.ExecQuery();
    q.Close();
    tr.Commit();
    db.Close();
  }

  // Records the failures the box passes on.
  void Record(TDbUpdateBox& box) {
    box.OnVersionError = [this](const EIBError* error, const std::string& location, const std::string& message) {
      reports_.push_back({error != nullptr, location, message});
    };
  }
  struct Report {
    bool dbError;
    std::string location, message;
  };
  std::vector<Report> reports_;

  static std::string folder_;
  static std::string sysDir_;
};

std::string VersionReadTest::folder_;
std::string VersionReadTest::sysDir_;

TEST_F(VersionReadTest, DataSetsReadThroughEngineAndServer) {
  struct Case {
    int dataSet;
    const char* label;
    bool unknown, pending;
    int major, minor, rev;
    int first;
    bool reported;
  };
  const Case cases[] = {
      {kCurrent, "current", false, false, 11, 1, 0, -1, false},
      {kOlder, "older", false, true, 11, 0, 5, 56, false},
      {kTwoRows, "two rows", false, false, 11, 1, 0, -1, false},   // the highest row counts
      {kEmptyTable, "empty table", true, false, 0, 0, 0, -1, false},  // no version stored
      {kNoTable, "no table", true, false, 0, 0, 0, -1, true},      // unreadable: reported
  };
  std::vector<std::string> hosts = {""};
  if (!ServerHost().empty()) hosts.push_back(ServerHost());
  for (const std::string& host : hosts) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.label) + (host.empty() ? " (embedded)" : " (server)"));
      TIBDatabase db;
      Connect(db, DataSetFile(c.dataSet), host);
      TDbUpdateBox box;
      box.DataDatabase = &db;
      reports_.clear();
      Record(box);
      box.PrepareDbUpdate(dbkAccounting, "");
      EXPECT_EQ(box.VersionUnknown, c.unknown);
      EXPECT_EQ(box.UpdateNeeded, c.pending);
      EXPECT_EQ(box.DbMajor, c.major);
      EXPECT_EQ(box.DbMinor, c.minor);
      EXPECT_EQ(box.DbRev, c.rev);
      EXPECT_EQ(box.FirstStep, c.first);
      if (c.pending) {
        ASSERT_EQ(box.ListItems.size(), 1u);
        EXPECT_EQ(box.ListItems[0].Caption, "11.1.0");
        EXPECT_EQ(box.BackupCount, 1);
      }
      if (c.reported) {
        ASSERT_EQ(reports_.size(), 1u);
        EXPECT_TRUE(reports_[0].dbError);
        EXPECT_EQ(reports_[0].location, "TDbUpdateBox.SetDbVersion");
        EXPECT_EQ(reports_[0].message, "データベースバージョンの取得に失敗しました。");
      } else {
        EXPECT_TRUE(reports_.empty());
      }
      // The box's transaction is over: the database closes cleanly and can be
      // read again by the next box.
      db.Close();
    }
  }
}

TEST_F(VersionReadTest, SystemDatabaseVersions) {
  TIBDatabase db;
  Connect(db, SystemFile());
  TDbUpdateBox box;
  box.SystemDatabase = &db;
  Record(box);

  box.PrepareDbUpdate(dbkSystem, "");
  EXPECT_FALSE(box.VersionUnknown);
  EXPECT_FALSE(box.UpdateNeeded);
  EXPECT_EQ(box.DbMajor, 11);
  EXPECT_EQ(box.DbMinor, 0);
  EXPECT_EQ(box.DbRev, 1);
  EXPECT_EQ(box.Compatibility, 1);

  db.Close();
  Exec(SystemFile(), "UPDATE VERSION SET MAJOR=10,MINOR1=0,MINOR2=4");
  db.Open();
  box.PrepareDbUpdate(dbkSystem, "");
  EXPECT_FALSE(box.VersionUnknown);
  EXPECT_TRUE(box.UpdateNeeded);
  EXPECT_EQ(box.FirstStep, 16);
  EXPECT_EQ(box.LastStep, 16);

  db.Close();
  Exec(SystemFile(), "DELETE FROM VERSION");
  db.Open();
  box.PrepareDbUpdate(dbkSystem, "");
  EXPECT_TRUE(box.VersionUnknown);
  EXPECT_FALSE(box.UpdateNeeded);
  EXPECT_EQ(box.FirstStep, -1);
  EXPECT_TRUE(reports_.empty());

  // A version text is taken as it is; the database is not read.
  box.PrepareDbUpdate(dbkSystem, "11.0.1");
  EXPECT_FALSE(box.VersionUnknown);
  EXPECT_FALSE(box.UpdateNeeded);

  // A lost connection: reported as a database error, the version unknown.
  db.Close();
  box.PrepareDbUpdate(dbkSystem, "");
  EXPECT_TRUE(box.VersionUnknown);
  EXPECT_FALSE(box.UpdateNeeded);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_TRUE(reports_[0].dbError);
}

}  // namespace
