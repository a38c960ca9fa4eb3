#include "updatefixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "dbupdate/updatescript.h"
#include "platform/fb/ibx.h"
#include "platform/win/childprocess.h"

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
  SystemDef.SqlDir = Folder("sql");  // the step tests use InstalledScriptFolder()
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

void UpdateTest::CreateFromSchema(const std::string& Path, const std::string& SchemaFile) {
  const char* source = std::getenv("PROJECT_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  CreateDatabase(Path);
  std::string output;
  const int status = RunProcess("isql-fb", {"-q", "-bail", "-ch", "UTF8", "-i",
                                            std::string(source) + "/schema/" + SchemaFile, Path},
                                120000, &output);
  ASSERT_EQ(status, 0) << output;
}

void UpdateTest::CreateSystemDatabase(const std::string& Path, const std::string& SchemaFile) {
  CreateFromSchema(Path, "system/" + SchemaFile);
}

void UpdateTest::CreateDataSetDatabase(const std::string& Path, const std::string& SchemaFile) {
  fs::create_directories(fs::path(Path).parent_path());
  CreateFromSchema(Path, "dataset/" + SchemaFile);
}

std::vector<std::string> UpdateTest::SchemaOf(const std::string& Path) {
  std::vector<std::string> all;
  const char* queries[] = {
      "SELECT 'column '||TRIM(RF.RDB$RELATION_NAME)||'.'||TRIM(RF.RDB$FIELD_NAME)||' type '||F.RDB$FIELD_TYPE||"
      "' sub '||COALESCE(F.RDB$FIELD_SUB_TYPE,0)||' length '||COALESCE(F.RDB$CHARACTER_LENGTH,F.RDB$FIELD_LENGTH)||"
      "' scale '||COALESCE(F.RDB$FIELD_SCALE,0)||' charset '||COALESCE(F.RDB$CHARACTER_SET_ID,0)||"
      "' notnull '||COALESCE(RF.RDB$NULL_FLAG,F.RDB$NULL_FLAG,0) "
      "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME=RF.RDB$FIELD_SOURCE "
      "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME=RF.RDB$RELATION_NAME "
      "WHERE COALESCE(R.RDB$SYSTEM_FLAG,0)=0 ORDER BY 1",
      "SELECT 'procedure '||TRIM(P.RDB$PROCEDURE_NAME)||COALESCE(' '||PP.RDB$PARAMETER_TYPE||' '||"
      "TRIM(PP.RDB$PARAMETER_NAME)||' type '||F.RDB$FIELD_TYPE||' length '||"
      "COALESCE(F.RDB$CHARACTER_LENGTH,F.RDB$FIELD_LENGTH)||' charset '||COALESCE(F.RDB$CHARACTER_SET_ID,0),'') "
      "FROM RDB$PROCEDURES P LEFT JOIN RDB$PROCEDURE_PARAMETERS PP ON PP.RDB$PROCEDURE_NAME=P.RDB$PROCEDURE_NAME "
      "LEFT JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME=PP.RDB$FIELD_SOURCE "
      "WHERE COALESCE(P.RDB$SYSTEM_FLAG,0)=0 ORDER BY 1",
      "SELECT 'trigger '||TRIM(RDB$TRIGGER_NAME)||' on '||TRIM(RDB$RELATION_NAME)||' type '||RDB$TRIGGER_TYPE||"
      "' position '||RDB$TRIGGER_SEQUENCE||' inactive '||COALESCE(RDB$TRIGGER_INACTIVE,0) "
      "FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG,0)=0 ORDER BY 1",
      "SELECT 'generator '||TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG,0)=0 "
      "ORDER BY 1",
  };
  for (const char* q : queries)
    for (const std::string& row : Rows(Path, q)) all.push_back(row);
  return all;
}

void UpdateTest::AddDepreciationAccounts(const std::string& Db) {
  std::vector<std::pair<int, int>> accounts;  // code, group
  for (int k = 1401; k <= 1412; ++k) accounts.push_back({k, 1400});
  accounts.push_back({1416, 1400});
  accounts.push_back({1599, 1550});
  for (int k = 1501; k <= 1506; ++k) accounts.push_back({k, 1600});
  for (int k = 1601; k <= 1608; ++k) accounts.push_back({k, 1700});
  accounts.push_back({1620, 1700});
  for (int k = 1701; k <= 1703; ++k) accounts.push_back({k, 1800});
  for (int k : {1110, 2205, 5606, 6204, 8101, 8201, 8202}) accounts.push_back({k, 9000});
  for (auto [code, group] : accounts) {
    const std::string k = std::to_string(code);
    Exec(Db, "INSERT INTO KAMOKUMST (KCODE, USERCODE, GROUPM1) VALUES ('" + k + "', '" + k + "', '" +
                 std::to_string(group) + "')");
    Exec(Db, "INSERT INTO HOJOMST (KCODE, HCODE) VALUES ('" + k + "', ' ')");
  }
}

std::string UpdateTest::InstalledScriptFolder() {
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "sql").string();
}

}  // namespace updatetest
