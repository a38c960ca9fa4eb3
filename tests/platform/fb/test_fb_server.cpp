// The same layer against the Firebird server over TCP on the loopback
// address (run when VERUDA_TEST_FB_SERVER names the server's host).
#include <gtest/gtest.h>

#include <algorithm>

#include "fb_test_support.h"

namespace {

class Server : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = fbtest::ServerHost();
    if (host_.empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER is not set";
    path_ = folder_.File("srv.fdb");
    fbtest::CreateDatabase(path_, {"CREATE TABLE S (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20))",
                                   "INSERT INTO S VALUES (1, '高島屋')"});
    fbtest::ShareWithServer(path_);
  }

  void Connect(TIBDatabase& db, const std::string& name) {
    db.DatabaseName = name;
    fbtest::SetUserParams(db.Params, true);
    db.Open();
  }

  std::string host_;
  fbtest::TempFolder folder_;
  std::string path_;
};

TEST_F(Server, ConnectsByHostNameAndAddress) {
  for (const std::string& name : {host_ + ":" + path_, "localhost:" + path_, "127.0.0.1/3050:" + path_}) {
    TIBDatabase db;
    Connect(db, name);
    EXPECT_EQ(TIBDatabase::HostOf(name), name.substr(0, name.find_first_of("/:")));
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    TIBQuery q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL.SetText("SELECT NAME FROM S WHERE ID = :ID");
    q.ParamByName("ID").AsInteger(1);
    q.Open();
    EXPECT_EQ(q.FieldByName("NAME").AsString(), "高島屋") << name;
    q.Close();
    tr.Commit();
    db.Close();
  }
  // While the server holds the file the embedded engine cannot open it.
  TIBDatabase remote, local;
  Connect(remote, host_ + ":" + path_);
  local.DatabaseName = path_;
  fbtest::SetUserParams(local.Params, false);
  EXPECT_THROW(local.Open(), EIBError);
}

TEST_F(Server, WrongPasswordIsRefused) {
  TIBDatabase db;
  db.DatabaseName = host_ + ":" + path_;
  db.Params = TIBStrings{"user_name=VFNZFR", "password=wrong", "lc_ctype=SJIS_0208"};
  try {
    db.Open();
    FAIL();
  } catch (const EIBError& e) {
    EXPECT_EQ(e.IBErrorCode(), ibcodes::kLoginFailed) << e.Message();
  }
}

TEST_F(Server, ServicesOverTcpListAttachedDatabasesAndBackUp) {
  TIBDatabase db;
  Connect(db, host_ + ":" + path_);

  TIBServerProperties properties;
  properties.Protocol = TProtocol::TCP;
  properties.ServerName = host_;
  // The list of attached databases is for administrators: the server script
  // maps the installation's user to the server's administrator role.
  properties.Params = TIBStrings{"user_name=VFNZFR", "password=dravon"};
  properties.Attach();
  properties.Fetch();
  const auto& names = properties.DatabaseInfo.DbName;
  EXPECT_NE(std::find(names.begin(), names.end(), path_), names.end());
  EXPECT_GE(properties.DatabaseInfo.NoOfAttachments, 1);
  EXPECT_NE(properties.VersionInfo.ServerVersion.find("3.0"), std::string::npos);
  properties.Detach();
  db.Close();

  TIBBackupService backup;
  backup.Protocol = TProtocol::TCP;
  backup.ServerName = host_;
  backup.Params = properties.Params;
  backup.DatabaseName = path_;
  backup.BackupFile.Add(folder_.File("srv.fbk"));
  backup.Verbose = true;
  backup.Attach();
  backup.ServiceStart();
  while (!backup.Eof()) backup.GetNextLine();
  backup.Detach();
  EXPECT_FALSE(backup.Lines().empty());
  EXPECT_TRUE(std::filesystem::exists(folder_.File("srv.fbk")));

  TIBValidationService validation;
  validation.Protocol = TProtocol::TCP;
  validation.ServerName = host_;
  validation.Params = properties.Params;
  validation.DatabaseName = path_;
  validation.Attach();
  validation.ServiceStart();
  EXPECT_FALSE(validation.ErrorsFound());
  validation.Detach();
}

}  // namespace
