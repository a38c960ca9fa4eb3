// The update dialog offscreen on real system databases: the full run from the
// first version to 11.0.1, a failing step restored from the backup, and the
// refusal while another operator is attached.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/dbupdateform.h"
#include "platform/fb/ibx.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"
#include "updatefixture.h"

namespace fs = std::filesystem;
using updatetest::UpdateTest;

namespace {

class UpdateDialog : public UpdateTest {
 protected:
  void SetUp() override {
    EnsureApplication();
    UpdateTest::SetUp();
    SystemDef.SqlDir = InstalledScriptFolder();
    SystemDef.UserDocDir = Folder("documents");
    responder_.Install();
    CreateDataModule();
  }
  void TearDown() override {
    FreeDataModule();
    UpdateTest::TearDown();
  }
  // Prepares the box from the connected system database, shows the dialog
  // and presses OK; returns the dialog's result.
  int Run(TDbUpdateBox& box, std::vector<std::string>& statuses) {
    EXPECT_TRUE(SystemStore().fnAccDefConnected("", false));
    box.SystemDatabase = &SystemStore().IBDatabaseDEF;
    box.PrepareDbUpdate(dbkSystem, "");
    EXPECT_TRUE(box.UpdateNeeded);
    TDbUpdateForm form(box);
    form.show();
    form.btnOk->click();
    EXPECT_FALSE(form.isVisible());
    statuses.clear();
    for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i)
      statuses.push_back(form.ListView1->topLevelItem(i)->text(2).toStdString());
    return form.result();
  }
  std::string Backup() const { return Folder("temp/dataup.fbk"); }
  ScriptedResponder responder_{mrOk};
};

TEST_F(UpdateDialog, UpdatesTheFirstVersionTo1101) {
  CreateSystemDatabase(SystemFile(), "first/0.3.0.sql");
  TDbUpdateBox box;
  std::vector<std::string> statuses;
  EXPECT_EQ(Run(box, statuses), 1);
  EXPECT_EQ(statuses, std::vector<std::string>(17, "完了"));
  EXPECT_TRUE(responder_.Shown().empty()) << responder_.Shown()[0].lines[0];
  EXPECT_TRUE(box.Updated);
  EXPECT_EQ(box.DbMajor, 11);
  EXPECT_FALSE(fs::exists(Backup())) << "deleted after a successful run";
  EXPECT_TRUE(SystemStore().IBDatabaseDEF.Connected()) << "connected again";
  SystemStore().IBDatabaseDEF.Close();

  const std::vector<std::string> versions =
      Rows(SystemFile(), "SELECT MAJOR||'.'||MINOR1||'.'||MINOR2 FROM VERSION ORDER BY REC");
  EXPECT_EQ(versions, (std::vector<std::string>{"0.3.0", "0.3.1", "0.3.2", "0.3.3", "1.0.1", "3.0.0", "3.0.5", "3.0.7",
                                                "4.0.0", "4.0.2", "5.0.0", "7.0.0", "7.0.4", "8.0.0", "8.0.2", "9.0.4",
                                                "10.0.4", "11.0.1"}));
  const std::string expected = Folder("data/expected.fdb");
  CreateSystemDatabase(expected, "11.0.1.sql");
  EXPECT_EQ(SchemaOf(SystemFile()), SchemaOf(expected));
}

TEST_F(UpdateDialog, AFailingStepRestoresTheBackup) {
  // At 10.0.4, with a step 11.0.1 whose first script empties a table and whose
  // second fails (the column exists already).
  CreateSystemDatabase(SystemFile(), "11.0.1.sql");
  Exec(SystemFile(), "UPDATE VERSION SET MINOR2=4, MAJOR=10");
  const std::string sql = Folder("sql");
  fs::remove_all(sql);
  fs::copy(InstalledScriptFolder(), sql, fs::copy_options::recursive);
  std::ofstream(sql + "/1101/sysup01.sql", std::ios::trunc) << "DELETE FROM LEVELNAME;\nCOMMIT;\n";
  SystemDef.SqlDir = sql;

  TDbUpdateBox box;
  std::vector<std::string> statuses;
  EXPECT_EQ(Run(box, statuses), 4);
  EXPECT_EQ(statuses, std::vector<std::string>{"失敗"});
  EXPECT_FALSE(box.Updated);
  SystemStore().IBDatabaseDEF.Close();
  EXPECT_EQ(Rows(SystemFile(), "SELECT COUNT(*) FROM LEVELNAME"), std::vector<std::string>{"10"}) << "restored";
  EXPECT_EQ(Rows(SystemFile(), "SELECT MAJOR||'.'||MINOR1||'.'||MINOR2 FROM VERSION"),
            std::vector<std::string>{"10.0.4"});
  EXPECT_TRUE(fs::exists(Backup())) << "the data before the run is kept";
  // The step's box, then the failure box naming the kept backup.
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "Ver 11.0.1のデータベース更新に失敗しました。");
  ASSERT_EQ(responder_.Shown().size(), 1u);
  const ShownDialog& failure = responder_.Shown()[0];
  ASSERT_GE(failure.lines.size(), 3u);
  EXPECT_EQ(failure.lines[0], "システムデータの更新に失敗しました。");
  EXPECT_EQ(failure.lines.back(), Backup());
}

TEST_F(UpdateDialog, AnotherOperatorAttachedRefusesTheRun) {
  CreateSystemDatabase(SystemFile(), "first/0.3.0.sql");
  Exec(SystemFile(), "INSERT INTO OPERATOR (GROUPID, OPCODE, OPNAME) VALUES (10000, 12, '別担当')");
  Exec(SystemFile(), "INSERT INTO OPERATOR (GROUPID, OPCODE, OPNAME) VALUES (10000, 10, '試験担当')");
  Exec(SystemFile(), "INSERT INTO LOGONUSERLIST (OPCODE, GROUPID, OPERATORCODE, PCNAME) VALUES (100000012, 10000, 12, 'pc2')");
  Exec(SystemFile(), "INSERT INTO LOGONUSERLIST (OPCODE, GROUPID, OPERATORCODE, PCNAME) VALUES (100000010, 10000, 10, 'testpc')");
  TIBDatabase other;
  other.DatabaseName = SystemFile();
  other.Params = TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
  other.Open();

  TDbUpdateBox box;
  std::vector<std::string> statuses;
  EXPECT_EQ(Run(box, statuses), 4);
  EXPECT_EQ(statuses, std::vector<std::string>(17, ""));
  ASSERT_EQ(responder_.Shown().size(), 1u);
  const ShownDialog& refusal = responder_.Shown()[0];
  EXPECT_EQ(refusal.caption, "情報");
  const std::string all = [&] {
    std::string text;
    for (const std::string& line : refusal.lines) text += line + "\n";
    return text;
  }();
  EXPECT_NE(all.find("現在、他のオペレータがシステムを利用中です。"), std::string::npos) << all;
  EXPECT_NE(all.find("利用中のオペレータ (異常終了時のオペレータ含む)"), std::string::npos) << all;
  EXPECT_NE(all.find("[ 0012 ]:  別担当"), std::string::npos) << all;
  EXPECT_EQ(all.find("試験担当"), std::string::npos) << "the current operator is not listed";
  EXPECT_FALSE(fs::exists(Backup()));
  other.Close();
  SystemStore().IBDatabaseDEF.Close();
  EXPECT_EQ(Rows(SystemFile(), "SELECT COUNT(*) FROM VERSION"), std::vector<std::string>{"1"});
}

}  // namespace
