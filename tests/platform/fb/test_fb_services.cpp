// Backup, restore (replace) and validation through the services manager of
// the embedded engine, on a database with real data, and a damaged copy.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fb_test_support.h"

namespace {

class Services : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("svc.fdb");
    backup_ = folder_.File("svc.fbk");
    fbtest::CreateDatabase(path_, {
        "CREATE TABLE R (ID INTEGER NOT NULL PRIMARY KEY, TXT VARCHAR(200))",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 3000) DO BEGIN "
        "INSERT INTO R VALUES (:I, LPAD('', 150, '摘要')); I = I + 1; END END",
    });
  }

  int Count(const std::string& where = "") {
    TIBDatabase db;
    db.DatabaseName = path_;
    fbtest::SetUserParams(db.Params, false);
    db.Open();
    TIBTransaction tr;
    db.SetDefaultTransaction(&tr);   // statements without their own transaction use it
    TIBSQL q;
    q.SetDatabase(&db);
    q.SQL.SetText("SELECT COUNT(*) FROM R " + where);
    q.ExecQuery();
    int count = q.Fields(0).AsInteger();
    q.Close();
    tr.Commit();
    return count;
  }

  template <typename Service>
  std::vector<std::string> RunToEnd(Service& service) {
    service.Protocol = TProtocol::Local;
    service.Params = TIBStrings{"user_name=VFNZFR"};
    service.Attach();
    service.ServiceStart();
    std::vector<std::string> lines;
    while (!service.Eof()) {
      std::string line = service.GetNextLine();
      if (!service.Eof()) lines.push_back(line);
    }
    service.Detach();
    return lines;
  }

  fbtest::TempFolder folder_;
  std::string path_, backup_;
};

TEST_F(Services, BackupRestoreReplaceAndValidate) {
  TIBBackupService backup;
  backup.DatabaseName = path_;
  backup.BackupFile.Add(backup_);
  backup.Verbose = true;
  backup.Options = backup_options::IgnoreLimbo | backup_options::NoGarbageCollection |
                   backup_options::NonTransportable;
  std::vector<std::string> lines = RunToEnd(backup);
  EXPECT_FALSE(lines.empty());
  EXPECT_EQ(lines, backup.Lines());
  ASSERT_TRUE(std::filesystem::exists(backup_));

  {
    TIBDatabase db;
    db.DatabaseName = path_;
    fbtest::SetUserParams(db.Params, false);
    fbtest::Exec((db.Open(), db), "DELETE FROM R WHERE ID >= 1000");
  }
  EXPECT_EQ(Count(), 1000);

  TIBRestoreService restore;
  restore.DatabaseName.Add(path_);
  restore.BackupFile.Add(backup_);
  restore.PageSize = 16384;
  restore.PageBuffers = 4096;
  restore.Verbose = true;
  restore.Options = restore_options::Replace | restore_options::CreateNewDB;
  EXPECT_FALSE(RunToEnd(restore).empty());
  EXPECT_EQ(Count(), 3000);
  EXPECT_EQ(Count("WHERE TXT STARTING WITH '摘要摘要'"), 3000);

  TIBValidationService validation;
  validation.DatabaseName = path_;
  validation.Options = validation_options::ValidateFull;
  EXPECT_TRUE(RunToEnd(validation).empty());
  EXPECT_FALSE(validation.ErrorsFound());

  // Without the replace option an existing database is kept.
  TIBRestoreService refuse;
  refuse.DatabaseName.Add(path_);
  refuse.BackupFile.Add(backup_);
  refuse.Options = restore_options::CreateNewDB;
  EXPECT_THROW(
      {
        RunToEnd(refuse);
      },
      EIBError);
  EXPECT_EQ(Count(), 3000);
}

TEST_F(Services, DamagedFileIsReportedAndNotRepaired) {
  const auto size = std::filesystem::file_size(path_);
  const auto pages = size / 4096;
  ASSERT_GT(pages, 40u);
  // Overwrite data pages of table R in the middle of the file.
  const std::string dd = "dd if=/dev/zero of='" + path_ + "' bs=4096 seek=" + std::to_string(pages / 2) +
                         " count=4 conv=notrunc status=none";
  ASSERT_EQ(std::system(dd.c_str()), 0);

  // Validation only reports: a second run finds the same damage.
  for (int run = 0; run < 2; ++run) {
    TIBValidationService validation;
    validation.DatabaseName = path_;
    validation.Options = validation_options::ValidateFull;
    validation.Protocol = TProtocol::Local;
    validation.Params = TIBStrings{"user_name=VFNZFR"};
    validation.Attach();
    validation.ServiceStart();
    EXPECT_TRUE(validation.ErrorsFound()) << run;
    ASSERT_FALSE(validation.Lines().empty());
    EXPECT_EQ(validation.Lines().front(), "Summary of validation errors");
    validation.Detach();
  }
}

TEST_F(Services, ValidationOfAMissingFileFailsWithIoError) {
  TIBValidationService validation;
  validation.DatabaseName = folder_.File("none.fdb");
  try {
    RunToEnd(validation);
    FAIL();
  } catch (const EIBError& e) {
    EXPECT_EQ(e.IBErrorCode(), ibcodes::kIoError) << e.Message();
  }
}

}  // namespace
