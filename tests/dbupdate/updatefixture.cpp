#include "updatefixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "dbupdate/updatescript.h"
#include "platform/fb/ibx.h"

namespace fs = std::filesystem;

namespace updatetest {

void UpdateTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "dbupdate-run-XXXXXX").string();
  root_ = mkdtemp(pattern.data());
  ::chmod(root_.c_str(), 0777);
  for (const char* dir : {"data", "data/0001", "log", "temp", "work", "sql"}) {
    fs::create_directories(Folder(dir));
    ::chmod(Folder(dir).c_str(), 0777);
  }
  SystemDef = TSystemDef{};
  ConnectKind = 0;
  OemKind = 0;
  SystemDef.GroupId = 10000;
  SystemDef.OpCode = 100000010;
  SystemDef.LoginCode = 10;
  SystemDef.OpName = "試験担当";
  SystemDef.PcName = "testpc";
  SystemDef.DbUser = "VFNZFR";
  SystemDef.DbPassword = "dravon";
  SystemDef.DataRoot = root_;
  SystemDef.SysDir = Folder("data");
  SystemDef.DataDir = Folder("data/0001");
  SystemDef.LogDir = Folder("log");
  SystemDef.TempDir = Folder("temp");
  SystemDef.WinTempDir = Folder("work");
  SystemDef.SqlDir = Folder("sql");
  IsqlTool = "isql-fb";
  shown_.clear();
  DbUi = TDbUiServices{};
  DbUi.MessageDlg = [this](const std::string& text, int kind) { shown_.push_back({text, kind}); };
}

void UpdateTest::TearDown() {
  DbUi = TDbUiServices{};
  IsqlTool = "isql-fb";
  std::error_code ec;
  fs::remove_all(root_, ec);
}

std::string UpdateTest::SystemFile() const { return Folder("data/rqaccdef.fdb"); }
std::string UpdateTest::DataSetFile() const { return Folder("data/0001/rqacc.fdb"); }

namespace {

void Open(TIBDatabase& db, const std::string& path) {
  db.DatabaseName = path;
  db.Params = TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
}

}  // namespace

void UpdateTest::CreateDatabase(const std::string& Path, const std::vector<std::string>& Sql) {
  {
    TIBDatabase db;
    Open(db, Path);
    db.CreateDatabase(8192);
    db.Close();
  }
  for (const std::string& s : Sql) Exec(Path, s);
}

void UpdateTest::Exec(const std::string& Path, const std::string& Sql) {
  TIBDatabase db;
  Open(db, Path);
  db.Open();
  TIBTransaction tr;
  tr.SetDefaultDatabase(&db);
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  q.ParamCheck = false;
  q.SQL.SetText(Sql);
  tr.StartTransaction();
  q.ExecQuery();
  q.Close();
  tr.Commit();
  db.Close();
}

std::vector<std::string> UpdateTest::Rows(const std::string& Path, const std::string& Sql) {
  TIBDatabase db;
  Open(db, Path);
  db.Open();
  TIBTransaction tr;
  tr.SetDefaultDatabase(&db);
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  q.SQL.SetText(Sql);
  tr.StartTransaction();
  q.ExecQuery();
  std::vector<std::string> rows;
  while (!q.Eof()) {
    std::string row;
    for (int i = 0; i < q.FieldCount(); ++i) {
      if (i) row += "|";
      row += q.Fields(i).IsNull() ? std::string("<null>") : q.Fields(i).AsTrimString();
    }
    rows.push_back(row);
    q.Next();
  }
  q.Close();
  tr.Commit();
  db.Close();
  return rows;
}

std::string UpdateTest::ReadFile(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace updatetest
