#include "fb_test_support.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

namespace fbtest {

TempFolder::TempFolder() {
  const char* base = std::getenv("VERUDA_TEMP_DIR");
  if (!base || !*base) base = std::getenv("TMPDIR");
  std::filesystem::path root = base && *base ? base : "/tmp";
  std::random_device random;
  path_ = root / ("fbtest-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
  ::chmod(path_.c_str(), 0777);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ServerHost() {
  const char* host = std::getenv("VERUDA_TEST_FB_SERVER");
  return host ? host : "";
}

void SetUserParams(TIBStrings& params, bool withPassword) {
  params.Clear();
  params.Add("user_name=VFNZFR");
  if (withPassword) params.Add("password=dravon");
  params.Add("lc_ctype=SJIS_0208");
}

void Exec(TIBDatabase& db, const std::string& sql) {
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
}

void CreateDatabase(const std::string& path, const std::vector<std::string>& ddl) {
  TIBDatabase db;
  db.DatabaseName = path;
  SetUserParams(db.Params, false);
  db.CreateDatabase(4096);
  for (const std::string& statement : ddl) Exec(db, statement);
  db.Close();
}

void ShareWithServer(const std::string& path) {
  if (passwd* user = ::getpwnam("firebird")) {
    if (::chown(path.c_str(), user->pw_uid, user->pw_gid) == 0) return;
  }
  ::chmod(path.c_str(), 0666);
}

}  // namespace fbtest
