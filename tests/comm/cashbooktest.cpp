#include "cashbooktest.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "dbaccess/datasethooks.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "fixture/testcache.h"
#include "platform/fb/ibx.h"

namespace fs = std::filesystem;

namespace cashbooktest {

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("PROJECT_SOURCE_DIR");
  return dir && *dir ? dir : PROJECT_SOURCE_DIR_FALLBACK;
}

std::string BinaryDir() {
  const char* dir = std::getenv("PROJECT_BINARY_DIR");
  return dir && *dir ? dir : fs::temp_directory_path().string();
}

std::string Cached() {
  static const std::string target = [] {
    const std::string descFile = SourceDir() + "/tests/comm/data/cashbook.txt";
    std::ifstream in(descFile, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    fixture::BuildOptions options;
    options.serverAccess = true;
    return fixture::CachedInstallation(text.str(), descFile, SourceDir() + "/tests/comm/data",
                                       BinaryDir() + "/cashbook-installation", options);
  }();
  return target;
}

// Masters of data sets 1 and 2 that the description cannot hold (blank codes).
const char* kMasters =
    "INSERT INTO BUMONMST (BCODE, BNAME) VALUES (' ', '');"
    "INSERT INTO BUMONMST (BCODE, BNAME) VALUES ('01', '営業部');"
    "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) SELECT KCODE, ' ', '' FROM KAMOKUMST;"
    "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1210', '001', '得意先Ａ');"
    "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1210', '002', '得意先Ｂ');"
    "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) SELECT '', KCODE, ' ', ' ' FROM KAMOKUMST;"
    "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('', '1210', '001', ' ');"
    "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('', '1210', '002', ' ');"
    "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('', '6110', ' ', '01');"
    "UPDATE KAMOKU_SZ SET KISHU_KOMI = 100000, KISHU_NUKI = 100000 WHERE KCODE = '1110'";

}  // namespace

void CashBookTest::SetUp() {
  const std::string root = temp_.File("inst");
  fs::copy(Cached(), root, fs::copy_options::recursive);
  fixture::OpenToServer(root);
  const std::string dataRoot = root + "/appdata/norvane/corvexzaimu";
  sysDir_ = dataRoot + "/data";

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
  SystemDef.OpCode = dmtest::kOpLevel9;
  SystemDef.LoginCode = 10;
  SystemDef.OpName = "試験担当";
  SystemDef.JobLevel = 9;
  SystemDef.PcName = "testpc";
  SystemDef.DbUser = "VFNZFR";
  SystemDef.DbPassword = "dravon";
  SystemDef.SysDir = sysDir_;
  SystemDef.DataRoot = dataRoot;
  SystemDef.LogDir = dataRoot + "/log";
  SystemDef.TempDir = dataRoot + "/temp";
  SystemDef.WinTempDir = root + "/temp";
  SystemDef.UserDocDir = root + "/documents";
  fs::create_directories(SystemDef.LogDir);
  fs::create_directories(SystemDef.TempDir);
  fs::create_directories(SystemDef.WinTempDir);
  SystemDef.DataDir = DataFolder(1);

  shown_.clear();
  DbUi = TDbUiServices{};
  DbUi.MessageDlg = [this](const std::string& text, int kind) { shown_.push_back({text, kind}); };
  DbUi.Terminate = [] {};
  CreateDataModule();
  ExecOn(DataFile(1), kMasters);
  ExecOn(DataFile(2), kMasters);
}

void CashBookTest::TearDown() {
  if (HasFailure())
    for (const dmtest::TShown& s : shown_) std::fprintf(stderr, "shown (kind %d): %s\n", s.kind, s.text.c_str());
  FreeDataModule();
  DbUi = TDbUiServices{};
  DataSetHooks = TDataSetHooks{};
}

std::string CashBookTest::DataFolder(int rec) const {
  char name[8];
  std::snprintf(name, sizeof name, "%04d", rec);
  return sysDir_ + "/" + name;
}

void CashBookTest::ConnectDataSet(int rec) {
  SystemDef.DataDir = DataFolder(rec);
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(rec), false));
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
}

namespace {

struct TOwnConnection {
  explicit TOwnConnection(const std::string& file) {
    db.DatabaseName = file;
    db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
    db.Open();
    tr.SetDefaultDatabase(&db);
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    tr.StartTransaction();
  }
  ~TOwnConnection() {
    q.Close();
    if (tr.InTransaction()) tr.Commit();
    db.Close();
  }
  TIBDatabase db;
  TIBTransaction tr;
  TIBSQL q;
};

}  // namespace

void CashBookTest::ExecOn(const std::string& databaseFile, const std::string& sql) {
  TOwnConnection c(databaseFile);
  std::stringstream all(sql);
  std::string one;
  while (std::getline(all, one, ';')) {
    if (one.find_first_not_of(" \r\n\t") == std::string::npos) continue;
    SetSql(c.q, one);
    c.q.ExecQuery();
    c.q.Close();
  }
}

std::string CashBookTest::QueryOn(const std::string& databaseFile, const std::string& sql) {
  TOwnConnection c(databaseFile);
  SetSql(c.q, sql);
  c.q.ExecQuery();
  return c.q.Eof() ? std::string() : c.q.Fields(0).AsTrimString();
}

std::vector<std::string> CashBookTest::RowsOn(const std::string& databaseFile, const std::string& sql) {
  TOwnConnection c(databaseFile);
  SetSql(c.q, sql);
  std::vector<std::string> rows;
  for (c.q.ExecQuery(); !c.q.Eof(); c.q.Next()) {
    std::string row;
    for (int i = 0; i < c.q.FieldCount(); ++i) row += (i ? "|" : "") + c.q.Fields(i).AsTrimString();
    rows.push_back(row);
  }
  return rows;
}

}  // namespace cashbooktest
