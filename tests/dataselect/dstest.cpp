#include "dstest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datasethooks.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "fixture/testcache.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/inifile.h"
#include "platform/vcl/application.h"

namespace fs = std::filesystem;

namespace dstest {

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

// Built once per build tree and description, then reused.
std::string CachedInstallation() {
  static const std::string cached = [] {
    const std::string descFile = SourceDir() + "/tests/dataselect/data/installation.txt";
    fixture::BuildOptions options;
    options.serverAccess = true;
    return fixture::CachedInstallation(ReadFile(descFile), descFile, SourceDir() + "/tests/dataselect/data",
                                       BinaryDir() + "/dataselect-installation", options);
  }();
  return cached;
}

struct TDefConnection {
  TIBDatabase db;
  TIBTransaction tr;
  explicit TDefConnection(const std::string& file) {
    db.DatabaseName = file;
    db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
    db.Open();
    tr.SetDefaultDatabase(&db);
    tr.StartTransaction();
  }
  ~TDefConnection() {
    if (tr.InTransaction()) tr.Commit();
    db.Close();
  }
};

}  // namespace

const fixture::Installation& DataSets() {
  const std::string file = SourceDir() + "/tests/dataselect/data/datasentaku.txt";
  return fixture::ProcessInstallation(
      fixture::ParseDescription(ReadFile(file), file, SourceDir() + "/tests/dataselect/data"),
      BinaryDir() + "/datasentaku-sets", "sets");
}

std::string ServerHost() {
  const char* host = std::getenv("VERUDA_TEST_FB_SERVER");
  return host ? host : "";
}

void DsTest::SetUp() {
  EnsureApplication();
  std::random_device random;
  root_ = (fs::temp_directory_path() / ("dstest-" + std::to_string(::getpid()) + "-" + std::to_string(random())))
              .string();
  fs::copy(CachedInstallation(), root_, fs::copy_options::recursive);
  fixture::OpenToServer(root_);
  dataRoot_ = root_ + "/appdata/norvane/corvexzaimu";
  sysDir_ = dataRoot_ + "/data";
  systemDatabase_ = sysDir_ + "/rqaccdef.fdb";

  SystemDef = TSystemDef{};
  AppKind = 0;
  ConnectKind = 0;
  OemKind = 0;
  SbcKind = 0;
  DataSetHooks = TDataSetHooks{};
  AppName = "duzoziz";
  ServerDir = "/corvexzaimu/data";
  ServerTempDir = "/corvexzaimu/temp";
  DataListCnt = 120;
  SystemDef.GroupId = 10000;
  SystemDef.PcName = "testpc";
  SystemDef.WinUserName = "tester";
  SystemDef.AppTitle = "試験システム";
  SystemDef.DbUser = "VFNZFR";
  SystemDef.DbPassword = "dravon";
  SystemDef.DataRoot = dataRoot_;
  SystemDef.SysDir = sysDir_;
  SystemDef.ConnectIniFile = dataRoot_ + "/duzoziz.ini";
  SystemDef.LogDir = dataRoot_ + "/log";
  SystemDef.TempDir = dataRoot_ + "/temp";
  SystemDef.SysVerMajor = 11;
  SystemDef.SysVerMinor1 = 0;
  SystemDef.SysVerMinor2 = 1;

  // The copied installation's own folder in its connection settings.
  {
    TIniFile ini(SystemDef.ConnectIniFile);
    ini.WriteString("LOCAL", "SYSDIR", sysDir_);
  }

  // The list rows name the data folders of the copied installation.
  ExecDef({"UPDATE DATALIST SET PASNAME='" + sysDir_ + "/' || LPAD(CAST(REC AS VARCHAR(11)), 4, '0')"});

  reported_.clear();
  DbUi = TDbUiServices{};
  DbUi.MessageDlg = [this](const std::string& text, int kind) { reported_.push_back({text, kind}); };
  responder_.Install();
  CreateDataModule();
}

void DsTest::TearDown() {
  if (HasFailure()) {
    for (const TShownText& s : reported_) std::fprintf(stderr, "reported (kind %d): %s\n", s.kind, s.text.c_str());
    for (const std::string& s : BoxTexts()) std::fprintf(stderr, "box: %s\n", s.c_str());
  }
  FreeDataModule();
  DbUi = TDbUiServices{};
  DataSetHooks = TDataSetHooks{};
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void DsTest::ExecDef(const std::vector<std::string>& sql) {
  TDefConnection c(systemDatabase_);
  TIBSQL q;
  q.SetDatabase(&c.db);
  q.SetTransaction(&c.tr);
  for (const std::string& s : sql) {
    q.SQL.SetText(s);
    q.ExecQuery();
    q.Close();
  }
}

std::vector<std::string> DsTest::RowsDef(const std::string& sql) {
  TDefConnection c(systemDatabase_);
  TIBSQL q;
  q.SetDatabase(&c.db);
  q.SetTransaction(&c.tr);
  q.SQL.SetText(sql);
  std::vector<std::string> rows;
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    std::string row;
    for (int i = 0; i < q.FieldCount(); ++i) row += (i ? "|" : "") + q.Fields(i).AsTrimString();
    rows.push_back(row);
  }
  q.Close();
  return rows;
}

std::string DsTest::QueryDef(const std::string& sql) {
  const std::vector<std::string> rows = RowsDef(sql);
  return rows.empty() ? std::string() : rows.front();
}

void DsTest::ConnectDef() { ASSERT_TRUE(SystemStore().fnAccDefConnected("", true)); }

std::vector<std::string> DsTest::BoxTexts() const {
  std::vector<std::string> texts;
  for (const ShownDialog& shown : responder_.Shown()) {
    std::string text;
    for (const std::string& line : shown.lines) {
      if (line.empty()) continue;
      if (!text.empty()) text += "\r";
      text += line;
    }
    texts.push_back(text);
  }
  return texts;
}

}  // namespace dstest
