#include "dmtest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/globals.h"
#include "dbaccess/datasethooks.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "fixture/description.h"
#include "fixture/testcache.h"

namespace fs = std::filesystem;

namespace dmtest {

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("PROJECT_SOURCE_DIR");
  return dir && *dir ? dir : PROJECT_SOURCE_DIR_FALLBACK;
}

std::string BinaryDir() {
  const char* dir = std::getenv("PROJECT_BINARY_DIR");
  return dir && *dir ? dir : fs::temp_directory_path().string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The installation built once per build tree and description; later runs
// reuse it.
const fixture::Installation& CachedInstallation() {
  static const fixture::Installation cached = [] {
    const std::string descFile = SourceDir() + "/tests/dbaccess/data/installation.txt";
    fixture::BuildOptions options;
    options.serverAccess = true;
    fixture::Installation inst;
    inst.target = fixture::CachedInstallation(ReadFile(descFile), descFile, SourceDir() + "/tests/dbaccess/data",
                                              BinaryDir() + "/dbaccess-installation", options);
    return inst;
  }();
  return cached;
}

}  // namespace

std::string ServerHost() {
  const char* host = std::getenv("VERUDA_TEST_FB_SERVER");
  return host ? host : "";
}

TempFolder::TempFolder() {
  std::random_device random;
  const fs::path root = fs::temp_directory_path();
  path_ = (root / ("dmtest-" + std::to_string(::getpid()) + "-" + std::to_string(random()))).string();
  fs::create_directories(path_);
  ::chmod(path_.c_str(), 0777);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void DmTest::SetUp() {
  const fixture::Installation& cached = CachedInstallation();
  const std::string root = temp_.File("inst");
  fs::copy(cached.target, root, fs::copy_options::recursive);
  fixture::OpenToServer(root);
  inst_.target = root;
  inst_.dataRoot = root + "/appdata/norvane/corvexzaimu";
  inst_.sysDir = inst_.dataRoot + "/data";
  inst_.systemDatabase = inst_.sysDir + "/rqaccdef.fdb";
  inst_.fileManagerDatabase = inst_.sysDir + "/rqfileman.fdb";
  inst_.tempDir = root + "/temp";

  SystemDef = TSystemDef{};
  AccInf = TACCINF{};
  AppKind = 0;
  ConnectKind = 0;
  OemKind = 0;
  DbFatalError = 0;
  DataVer.clear();
  VerifyDataProc = nullptr;
  DataSetHooks = TDataSetHooks{};
  SystemDef.GroupId = 10000;
  SystemDef.OpCode = kOpLevel9;
  SystemDef.LoginCode = 10;
  SystemDef.OpName = "試験担当";
  SystemDef.JobLevel = 9;
  SystemDef.PcName = "testpc";
  SystemDef.DbUser = "VFNZFR";
  SystemDef.DbPassword = "dravon";
  SystemDef.SysDir = inst_.sysDir;
  SystemDef.DataRoot = inst_.dataRoot;
  SystemDef.LogDir = inst_.dataRoot + "/log";
  SystemDef.TempDir = inst_.dataRoot + "/temp";
  SystemDef.WinTempDir = inst_.tempDir;
  fs::create_directories(SystemDef.LogDir);
  fs::create_directories(SystemDef.WinTempDir);
  ::chmod(SystemDef.WinTempDir.c_str(), 0777);
  SystemDef.DataDir = DataFolder(1);

  shown_.clear();
  terminateRequests_ = 0;
  DbUi = TDbUiServices{};
  DbUi.MessageDlg = [this](const std::string& text, int kind) { shown_.push_back({text, kind}); };
  DbUi.Terminate = [this]() { ++terminateRequests_; };
  CreateDataModule();
}

void DmTest::TearDown() {
  if (HasFailure())
    for (const TShown& s : shown_) std::fprintf(stderr, "shown (kind %d): %s\n", s.kind, s.text.c_str());
  FreeDataModule();
  DbUi = TDbUiServices{};
  DataSetHooks = TDataSetHooks{};
  VerifyDataProc = nullptr;
}

std::string DmTest::DataFolder(int rec) const {
  char name[8];
  std::snprintf(name, sizeof name, "%04d", rec);
  return inst_.sysDir + "/" + name;
}

void DmTest::ExecOn(const std::string& databaseFile, const std::string& sql) {
  TIBDatabase db;
  db.DatabaseName = databaseFile;
  db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
  db.Open();
  TIBTransaction tr;
  tr.SetDefaultDatabase(&db);
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  q.ParamCheck = false;
  q.SQL.SetText(sql);
  tr.StartTransaction();
  q.ExecQuery();
  q.Close();
  tr.Commit();
  db.Close();
}

void DmTest::ConnectDataSet(int rec) {
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(rec), false));
}

namespace {

std::string FirstValue(TIBDatabase& db, TIBTransaction& tr, const std::string& sql) {
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  q.SQL.SetText(sql);
  const bool started = !tr.InTransaction();
  if (started) tr.StartTransaction();
  q.ExecQuery();
  std::string value = q.Eof() ? std::string() : q.Fields(0).AsTrimString();
  q.Close();
  if (started) tr.Commit();
  return value;
}

}  // namespace

std::string DmTest::QueryDat(const std::string& sql) {
  return FirstValue(DataSetConnection().IBDatabaseDAT, DataSetConnection().IBTransactionDAT, sql);
}

std::string DmTest::QueryDef(const std::string& sql) {
  return FirstValue(SystemStore().IBDatabaseDEF, SystemStore().IBTransactionDEF, sql);
}

}  // namespace dmtest
