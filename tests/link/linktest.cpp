#include "linktest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/appinfo.h"
#include "core/globals.h"
#include "core/uiservices.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "fixture/description.h"
#include "fixture/testcache.h"
#include "link/exportsetup.h"
#include "link/linkbody.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace fs = std::filesystem;

namespace linktest {

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("PROJECT_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

std::string BinaryDir() {
  const char* dir = std::getenv("PROJECT_BINARY_DIR");
  return dir != nullptr && *dir != 0 ? dir : fs::temp_directory_path().string();
}

// The installation's folders at `target`, by the rules of the builder.
fixture::Installation InstallationAt(const std::string& target) {
  fixture::Installation inst;
  inst.target = target;
  inst.appDataDir = target + "/appdata";
  inst.programDir = target + "/program";
  inst.documentsDir = target + "/documents";
  inst.tempDir = target + "/temp";
  inst.runtimeDir = target + "/run";
  inst.registryFile = inst.appDataDir + "/registry/HKEY_LOCAL_MACHINE.ini";
  inst.dataRoot = inst.appDataDir + "/norvane/corvexzaimu";
  inst.sysDir = inst.dataRoot + "/data";
  inst.systemDatabase = inst.sysDir + "/rqaccdef.fdb";
  inst.fileManagerDatabase = inst.sysDir + "/rqfileman.fdb";
  return inst;
}

// The installation is built once per build tree and description (later runs
// reuse it); every test process works on its own copy, removed at its end.
struct CopiedInstallation {
  std::string folder;
  fixture::Installation installation;
  ~CopiedInstallation() { fs::remove_all(folder); }
};

std::unique_ptr<CopiedInstallation>& Copied() {
  static std::unique_ptr<CopiedInstallation> copied;
  return copied;
}

std::string CachedInstallation() {
  const std::string file = SourceDir() + "/tests/link/data/installation.txt";
  return fixture::CachedInstallation(ReadBytes(file), file, SourceDir() + "/tests/link/data",
                                     BinaryDir() + "/link-installation");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

const fixture::Installation& LinkDbTest::Installation() {
  auto& copied = Copied();
  if (!copied) {
    const std::string cached = CachedInstallation();
    std::string pattern = (fs::temp_directory_path() / "link-test-XXXXXX").string();
    const std::string folder = mkdtemp(pattern.data());
    fs::copy(cached, folder + "/inst", fs::copy_options::recursive);
    copied.reset(new CopiedInstallation{folder, InstallationAt(folder + "/inst")});
  }
  return copied->installation;
}

std::string LinkDbTest::DataFolder(int rec) { return Installation().sysDir + Format("/%.4d", static_cast<std::int64_t>(rec)); }

void LinkDbTest::SetUp() {
  const fixture::Installation& inst = Installation();
  inst.ApplyEnvironment();
  ReadAppInfo(PathJoin(ProgramDir(), "link"), AppInfo);
  CopyAppInfoToSettings(AppInfo);
  SystemDef = TSystemDef{};
  AccInf = TACCINF{};
  ConnectKind = 0;
  SystemDef.DbUser = inst.login.user;
  SystemDef.DbPassword = inst.login.password;
  SystemDef.DataRoot = inst.dataRoot;
  SystemDef.SysDir = inst.sysDir;
  SystemDef.LogDir = inst.dataRoot + "/log";
  shown_.clear();
  CoreUi = TCoreUiServices{};
  CoreUi.ShowMessageLines = [this](const std::string& text, int kind) { shown_.push_back({text, kind}); };
  CoreUi.ShowError = [this](const std::string& text) { shown_.push_back({text, kMsgError}); };
  DbUi = TDbUiServices{};
  DbUi.MessageDlg = [this](const std::string& text, int kind) { shown_.push_back({text, kind}); };
  std::string pattern = (fs::temp_directory_path() / "link-out-XXXXXX").string();
  temp_ = mkdtemp(pattern.data());
  CreateDataModule();
}

void LinkDbTest::TearDown() {
  if (HasFailure())
    for (const ShownBox& s : shown_) std::fprintf(stderr, "shown (kind %d): %s\n", s.kind, s.text.c_str());
  FreeDataModule();
  CoreUi = TCoreUiServices{};
  DbUi = TDbUiServices{};
  fs::remove_all(temp_);
}

void LinkDbTest::Connect(int rec) {
  SystemDef.DataDir = DataFolder(rec);
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", SystemDef.DataDir, false));
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
}

std::string LinkDbTest::TempPath(const std::string& name) const { return temp_ + "/" + name; }

std::string LinkDbTest::ExportTo(const std::string& path, int fromMonth, int toMonth, bool reuseJournalRead) {
  TSyohizeiDataExport exporter(path, 1);  // a caller's path: the settings file keeps its own
  TakeDataSetIntoExport(exporter);
  SetExportPeriodMonths(exporter, fromMonth, toMonth);
  exporter.ReuseJournalRead = reuseJournalRead;
  WriteLinkFile(exporter);
  return ReadBytes(path);
}

std::string LinkDbTest::Export(int fromMonth, int toMonth, bool reuseJournalRead) {
  return ExportTo(TempPath("link.xml"), fromMonth, toMonth, reuseJournalRead);
}

void LinkDbTest::Exec(const std::string& sql) {
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&DataSetConnection().IBTransactionDAT);
  q.SQL.SetText(sql);
  DataSetConnection().IBTransactionDAT.StartTransaction();
  q.ExecQuery();
  q.Close();
  DataSetConnection().IBTransactionDAT.Commit();
}

std::string LinkDbTest::Scalar(const std::string& sql) {
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&DataSetConnection().IBTransactionDAT);
  q.SQL.SetText(sql);
  const bool started = !DataSetConnection().IBTransactionDAT.InTransaction();
  if (started) DataSetConnection().IBTransactionDAT.StartTransaction();
  q.ExecQuery();
  std::string value = q.Eof() ? std::string() : q.Fields(0).AsTrimString();
  q.Close();
  if (started) DataSetConnection().IBTransactionDAT.Commit();
  return value;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ExpectedLinkFile(const std::string& name) {
  const std::string text = ReadBytes(SourceDir() + "/tests/link/data/" + name);
  return Utf8ToCp932(Replace(text, "\n", "\r\n"));
}

std::string LinkText(const std::string& bytes) { return Replace(Cp932ToUtf8(bytes), "\r\n", "\n"); }

std::string Element(const std::string& text, const std::string& name) {
  const std::size_t open = text.find("<" + name + ">");
  const std::size_t empty = text.find("<" + name + "/>");
  std::size_t start = std::min(open, empty);
  if (start == std::string::npos) return "";
  start = text.rfind('\n', start) + 1;
  std::size_t end;
  if (start <= empty && empty < open) {
    end = text.find('\n', empty) + 1;
  } else {
    const std::size_t close = text.find("</" + name + ">", open);
    if (close == std::string::npos) return "";
    end = text.find('\n', close) + 1;
  }
  return text.substr(start, end - start);
}

}  // namespace linktest
