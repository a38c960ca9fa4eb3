// Backup, restore and validation round trips: through the services on the
// embedded engine, through gbak to the server, and of a damaged file.
#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "dbaccess/backuprestore.h"
#include "dmtest.h"

using namespace dmtest;

namespace fs = std::filesystem;

class Backup : public DmTest {
 protected:
  std::string Company() {
    ConnectDataSet(1);
    const std::string name = QueryDat("SELECT SHOUGOU FROM ACCDEF1");
    DataSetConnection().AccDatDisconnect("", false, false);
    return name;
  }
  void ChangeCompany(const std::string& name) {
    ExecOn(DataFolder(1) + "/rqacc.fdb", "UPDATE ACCDEF1 SET SHOUGOU='" + name + "'");
  }
  // Zeroes every fifth page of a copy of the data set from page 20 on.
  std::string DamagedCopy() {
    const std::string copy = temp_.File("damaged/rqacc.fdb");
    fs::create_directories(temp_.File("damaged"));
    fs::copy_file(DataFolder(1) + "/rqacc.fdb", copy);
    std::fstream f(copy, std::ios::in | std::ios::out | std::ios::binary);
    unsigned char header[2] = {0, 0};
    f.seekg(0x10);
    f.read(reinterpret_cast<char*>(header), 2);
    const std::uintmax_t pageSize = header[0] | (header[1] << 8);
    const std::uintmax_t pages = fs::file_size(copy) / pageSize;
    for (std::uintmax_t page = 20; page < pages; page += 5) {
      f.seekp(static_cast<std::streamoff>(page * pageSize));
      f << std::string(pageSize, '\0');
    }
    return copy;
  }
};

TEST_F(Backup, ServicesBackUpAndRestoreADataSet) {
  const std::string database = DataFolder(1) + "/rqacc.fdb";
  const std::string backupFile = temp_.File("save/company.fbk");
  fs::create_directories(temp_.File("save"));
  std::ofstream(backupFile) << "the previous backup";

  ASSERT_TRUE(BackupRestore().BackupFDB(kProtocolLocal, "", database, backupFile, false));
  EXPECT_GT(fs::file_size(backupFile), 1000u) << "the old backup was replaced";
  EXPECT_FALSE(fs::exists(DataFolder(1) + "/rqacc.fb_")) << "the work file was moved into place";
  ASSERT_TRUE(BackupRestore().BackupFDB(kProtocolLocal, "", database, backupFile, true));
  EXPECT_FALSE(fs::exists(backupFile + ".part"));

  ChangeCompany("変更後");
  ExecOn(database, "INSERT INTO OPINF(OPCODE,JOBNAME) VALUES(1,'job')");
  ASSERT_TRUE(BackupRestore().RestoreFDB(kProtocolLocal, "", database, backupFile, true));
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Params.Empty());
  EXPECT_EQ(Company(), "株式会社テスト商事");
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF"), "0") << "the operation history is emptied";
  DataSetConnection().AccDatDisconnect("", false, false);

  // The system database is restored without a data-set connect.
  const std::string sysBackup = temp_.File("save/sys.fbk");
  ASSERT_TRUE(BackupRestore().BackupFDB(kProtocolLocal, "", inst_.systemDatabase, sysBackup, true));
  const std::string sysCopy = temp_.File("save/rqaccdef.fdb");
  ASSERT_TRUE(BackupRestore().RestoreFDB(kProtocolLocal, "", sysCopy, sysBackup, false));
  EXPECT_TRUE(fs::exists(sysCopy));
  EXPECT_TRUE(shown_.empty());
}

TEST_F(Backup, AFailedBackupKeepsTheOldFile) {
  const std::string backupFile = temp_.File("old.fbk");
  std::ofstream(backupFile) << "keep me";
  EXPECT_FALSE(BackupRestore().BackupFDB(kProtocolLocal, "", temp_.File("missing/rqacc.fdb"), backupFile, true));
  std::ifstream in(backupFile);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "keep me");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("データベースのバックアップに失敗しました。", 0), 0u);
}

TEST_F(Backup, ValidationFindsDamageButNeverCallsAnUnreachableFileDamaged) {
  const std::string database = DataFolder(1) + "/rqacc.fdb";
  ConnectDataSet(1);
  EXPECT_EQ(BackupRestore().ValidateFDB(kProtocolLocal, "", database), 1);
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected()) << "the data set is connected again";
  DataSetConnection().AccDatDisconnect("", false, false);

  EXPECT_EQ(BackupRestore().ValidateFDB(kProtocolLocal, "", DamagedCopy()), 0);
  EXPECT_EQ(BackupRestore().ValidateFDB(kProtocolLocal, "", temp_.File("missing/rqacc.fdb")), 1);
  EXPECT_EQ(BackupRestore().ValidateFDB(kProtocolTcp, "127.0.0.1/1", database), 1) << "no server there";
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(Company(), "株式会社テスト商事") << "validation never repairs or changes the file";
}

TEST_F(Backup, GbakRoundTripThroughTheServer) {
  if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  const std::string database = DataFolder(1) + "/rqacc.fdb";
  const std::string backupFile = temp_.File("gbak.fbk");
  std::ofstream(backupFile) << "previous";
  ASSERT_TRUE(BackupRestore().BackupFDBGbak(kProtocolTcp, "localhost", database, backupFile, false));
  EXPECT_GT(fs::file_size(backupFile), 1000u);
  ChangeCompany("変更後");
  ConnectKind = 1;
  SystemDef.HostName = "localhost";  // the server installation's server, which holds the files
  ASSERT_TRUE(BackupRestore().RestoreFDBGbak(kProtocolTcp, "localhost", database, backupFile, true));
  ConnectKind = 0;
  EXPECT_EQ(Company(), "株式会社テスト商事");
  EXPECT_FALSE(BackupRestore().RestoreFDBGbak(kProtocolTcp, "localhost", database, temp_.File("none.fbk"), true));
  EXPECT_TRUE(shown_.empty()) << "a missing backup file is refused without a message";

  EXPECT_THROW(
      BackupRestore().BackupFDBGbak(kProtocolTcp, "localhost", temp_.File("missing.fdb"), temp_.File("x.fbk"), false),
      Exception);
  EXPECT_FALSE(fs::exists(temp_.File("x.fbk")));
}

TEST_F(Backup, ServicesOverTcpValidateAndRestore) {
  if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  const std::string database = DataFolder(1) + "/rqacc.fdb";
  EXPECT_EQ(BackupRestore().ValidateFDB(kProtocolTcp, "127.0.0.1", DamagedCopy()), 0);
  EXPECT_EQ(BackupRestore().ValidateFDB(kProtocolTcp, "127.0.0.1", database), 1);
  const std::string backupFile = temp_.File("tcp.fbk");
  ASSERT_TRUE(BackupRestore().BackupFDBGbak(kProtocolTcp, "127.0.0.1", database, backupFile, true))
      << "127.0.0.1 uses the services";
  ChangeCompany("変更後");
  ConnectKind = 1;
  SystemDef.HostName = "localhost";
  ASSERT_TRUE(BackupRestore().RestoreFDB(kProtocolTcp, "localhost", database, backupFile, false));
  EXPECT_EQ(Company(), "株式会社テスト商事");
  ConnectKind = 0;
}
