// The backup/restore worker against the embedded engine: a backup with the
// data-info block and its restore, the refusals, and the personal-number
// settings left out of a copy and put back, also when the backup fails.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/globals.h"
#include "core/protect.h"
#include "dbaccess/accreg.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/dbui.h"
#include "dbaccess/mynumber.h"
#include "dmtest.h"

using namespace dmtest;
namespace fs = std::filesystem;

namespace {

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

class BackupThread : public DmTest {
 protected:
  // Runs the job the way a window does, pumping the steps while it polls.
  void Run(TBackupRestoreThread& job) {
    job.Resume();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (!job.IsTerminated()) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  std::string Database(int rec) { return DataFolder(rec) + "/rqacc.fdb"; }
  std::string Setting(const std::string& key, const std::string& type) {
    ConnectDataSet(1);
    TVariant value;
    GetAccReg("基本設定", key, type, "", value);
    DataSetConnection().AccDatDisconnect("", false, false);
    return value.AsString();
  }
  // Data set 1 manages personal numbers under the management password "pass1234".
  std::string ManagePersonalNumbers() {
    std::string key;
    ProtectText("pass1234", "", 0, key);
    ConnectDataSet(1);
    PutAccReg("基本設定", "＃USE", "整数", TVariant(1));
    PutAccReg("基本設定", "＃KEY", "文字", TVariant(key));
    DataSetConnection().AccDatDisconnect("", false, false);
    return key;
  }
};

TEST_F(BackupThread, BackupWithDataInfoBlockAndRestoreOfIt) {
  const std::string backupFile = temp_.File("save.fbk");
  {
    TBackupRestoreThread job(true);
    job.Mode = 0;
    job.CheckMyNumber = true;  // USEMYNUMBER 0: nothing asked
    job.DbFile = Database(1);
    job.BackupFile = backupFile;
    job.AppendDataInfo = true;
    job.DataInfo.SHOUGOU = "株式会社テスト商事";
    job.DataInfo.KISHU = "2019/04/01";
    job.DataInfo.KIMATU = "2020/03/31";
    job.DataInfo.SIWAKE = 2;
    job.DataInfo.TOTALSIWAKE = 3;
    job.DataInfo.DATAVARSION = "11.1.0";
    Run(job);
    ASSERT_TRUE(job.Success) << job.Message;
    EXPECT_FALSE(job.Error);
    EXPECT_TRUE(shown_.empty());
  }
  const std::string withBlock = Bytes(backupFile);
  const std::string block =
      "## PelorinZone\r\nSHOUGOU=\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\x83\x65\x83\x58\x83\x67\x8F\xA4\x8E\x96\r\n"
      "KISHU=2019/04/01\r\nKIMATU=2020/03/31\r\nSIWAKE=2\r\nTOTALSIWAKE=3\r\nDATAVARSION=11.1.0\r\nGASSAN=0\r\n"
      "USEMYNUMBER=0\r\n";
  ASSERT_GT(withBlock.size(), block.size());
  EXPECT_EQ(withBlock.substr(withBlock.size() - block.size()), block) << "Shift-JIS block at the very end";

  ExecOn(Database(1), "UPDATE ACCDEF1 SET SHOUGOU='変更後'");
  TBackupRestoreThread job(true);
  ASSERT_TRUE(job.ReadDataInfo(backupFile, true));
  EXPECT_EQ(job.DataInfo.SHOUGOU, "株式会社テスト商事");
  EXPECT_EQ(job.DataInfo.TOTALSIWAKE, 3);
  EXPECT_EQ(Bytes(backupFile), withBlock.substr(0, withBlock.size() - block.size()));
  EXPECT_FALSE(job.ReadDataInfo(backupFile, true)) << "no block left";
  EXPECT_EQ(job.DataInfo.SHOUGOU, "");

  job.Mode = 1;
  job.DbFile = Database(1);
  job.BackupFile = backupFile;
  job.KeepIndexes = true;
  Run(job);
  ASSERT_TRUE(job.Success) << job.Message;
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT SHOUGOU FROM ACCDEF1"), "株式会社テスト商事");
  DataSetConnection().AccDatDisconnect("", false, false);
}

TEST_F(BackupThread, RefusalsEndAsErrorCodes) {
  struct Case {
    int mode;
    std::string dbFile;
    bool connected;
    const char* code;
  } cases[] = {
      {0, temp_.File("other.fdb"), false, "101"},
      {1, temp_.File("other.fdb"), false, "201"},
      {0, DataFolder(1) + "/rqacc.fdb", false, "100"},  // the backup folder does not exist
      {1, DataFolder(1) + "/rqacc.fdb", true, "202"},   // attached by someone else
  };
  for (const Case& c : cases) {
    TIBDatabase other;
    if (c.connected) {
      other.DatabaseName = Database(1);
      other.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
      other.Open();
    }
    TBackupRestoreThread job(true);
    job.Mode = c.mode;
    job.CheckMyNumber = false;
    job.DbFile = c.dbFile;
    job.BackupFile = temp_.File("missing/folder/x.fbk");
    Run(job);
    EXPECT_FALSE(job.Success) << c.code;
    EXPECT_TRUE(job.Error);
    EXPECT_EQ(job.ErrorCode, c.code);
    EXPECT_EQ(job.ErrorTag, c.mode == 0 ? "BackupDatabase" : "RestoreDatabase");
    EXPECT_TRUE(job.ErrInfo().Error);
  }

  // A copy whose backup fails does not restore, and has no texts.
  TBackupRestoreThread copy(true);
  copy.Mode = 2;
  copy.DbFile = temp_.File("absent/rqacc.fdb");
  copy.TargetDbFile = temp_.File("target/rqacc.fdb");
  copy.BackupFile = temp_.File("copy.fbk");
  Run(copy);
  EXPECT_TRUE(copy.Error);
  EXPECT_TRUE(copy.Message.empty());
  EXPECT_FALSE(fs::exists(copy.TargetDbFile));
}

TEST_F(BackupThread, PersonalNumberSettingsComeBackAfterAFailedBackup) {
  const std::string key = ManagePersonalNumbers();
  TBackupRestoreThread job(true);
  job.Mode = 0;
  job.CheckMyNumber = true;
  job.AskMyNumber = true;  // a non-administrator is told and the copy goes without
  job.DbFile = Database(1);
  job.BackupFile = temp_.File("no/such/folder/x.fbk");
  job.DataInfo.SHOUGOU = "株式会社テスト商事";
  job.DataInfo.USEMYNUMBER = 1;
  Run(job);
  EXPECT_FALSE(job.Success);
  EXPECT_EQ(job.ErrorCode, "100");
  EXPECT_TRUE(job.ClearMyNumber);
  ASSERT_FALSE(shown_.empty());
  EXPECT_EQ(shown_[0].text, "保存データにマイナンバー情報は含まれません。");
  EXPECT_EQ(job.DataInfo.USEMYNUMBER, 1);
  EXPECT_EQ(Setting("＃USE", "整数"), "1");
  EXPECT_EQ(Setting("＃KEY", "文字"), key) << "the stored form goes back unchanged";
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM MYNUMBER_LOG"), "0") << "the clearing's log row is removed again";
  DataSetConnection().AccDatDisconnect("", false, false);

  // A successful copy without the data says so in its block, and the data set keeps its settings.
  TBackupRestoreThread copy(true);
  copy.Mode = 0;
  copy.AskMyNumber = true;
  copy.DbFile = Database(1);
  copy.BackupFile = temp_.File("ok.fbk");
  copy.AppendDataInfo = true;
  copy.DataInfo = job.DataInfo;
  Run(copy);
  ASSERT_TRUE(copy.Success) << copy.Message;
  TBackupRestoreThread reader(true);
  ASSERT_TRUE(reader.ReadDataInfo(copy.BackupFile, false));
  EXPECT_EQ(reader.DataInfo.USEMYNUMBER, 0);
  EXPECT_EQ(Setting("＃USE", "整数"), "1");

  // That copy may not be restored over a data set that manages personal numbers.
  TBackupRestoreThread restore(true);
  restore.Mode = 1;
  restore.DbFile = Database(1);
  restore.BackupFile = copy.BackupFile;
  restore.DataInfo = reader.DataInfo;
  Run(restore);
  EXPECT_EQ(restore.ErrorCode, "200");
  EXPECT_EQ(restore.Message, "マイナンバー情報を管理しているデータへの復元はおこなえません。");
}

TEST_F(BackupThread, PersonalNumberLogMergeKeepsStampsAndCompany) {
  ConnectDataSet(1);
  TMyNumberIO io;
  TMyNumberLogRec a, b;
  io.MakeLogRec(a, 4, "参照テスト");
  io.MakeLogRec(b, 6, "データ送信");
  EXPECT_EQ(b.FCOMMENT, "マイナンバー情報を含むデータが送信されました。");
  io.AddLog(a);
  b.FHIZUKE = a.FHIZUKE;  // the same key: tried again with a fresh stamp
  io.AddLog(b);
  EXPECT_NE(b.FHIZUKE, a.FHIZUKE);
  io.ReadLog(0);
  ASSERT_EQ(io.LogCount, 2);
  io.DeleteLog(a);
  DataSetConnection().AccDatDisconnect("", false, false);

  io.MergeLog("", Database(1));
  io.MergeLog("", Database(1));  // nothing twice
  io.MergeLog("", Database(2));  // another company: nothing
  TMyNumberIO check;
  check.LoadLog("", Database(1));
  ASSERT_EQ(check.LogCount, 2);
  EXPECT_DOUBLE_EQ(check.Log[0].FHIZUKE, io.Log[0].FHIZUKE) << "merged rows keep their stamp";
  check.LoadLog("", Database(2));
  EXPECT_EQ(check.LogCount, 0);
  EXPECT_TRUE(shown_.empty());
}

// Through the server's file-manager database: the backup travels from the
// server's work folder in a FILETRANS row, and back for the restore.
TEST_F(BackupThread, FileManagerRouteThroughTheServer) {
  if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  ConnectKind = ckServer;
  SystemDef.HostName = "localhost";
  SystemDef.ServerWorkDir = temp_.File("work");
  const std::string backupFile = temp_.File("fileman.fbk");

  TBackupRestoreThread backup(true);
  backup.Mode = 0;
  backup.ViaFileMan = true;
  backup.CheckMyNumber = false;
  backup.HostName = "localhost";
  backup.DbFile = Database(1);
  backup.BackupFile = backupFile;
  backup.AppendDataInfo = true;
  backup.DataInfo.SHOUGOU = "株式会社テスト商事";
  Run(backup);
  ASSERT_TRUE(backup.Success) << backup.Message;
  EXPECT_GT(fs::file_size(backupFile), 1000u);
  EXPECT_FALSE(DataSetConnection().IBFileMan.Connected());

  TBackupRestoreThread restore(true);
  ASSERT_TRUE(restore.ReadDataInfo(backupFile, true));
  ExecOn(Database(1), "UPDATE ACCDEF1 SET SHOUGOU='変更後'");
  restore.Mode = 1;
  restore.ViaFileMan = true;
  restore.CheckMyNumber = false;
  restore.HostName = "localhost";
  restore.DbFile = Database(1);
  restore.BackupFile = backupFile;
  Run(restore);
  ASSERT_TRUE(restore.Success) << restore.Message;
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT SHOUGOU FROM ACCDEF1"), "株式会社テスト商事");
  DataSetConnection().AccDatDisconnect("", false, false);
  ConnectKind = ckLocal;
}

TEST_F(BackupThread, ManagementPasswordPrompt) {
  std::vector<std::string> answers;
  int asked = 0;
  DbUi.InputDialog = [&](TInputDlgRequest& request) {
    if (asked >= static_cast<int>(answers.size())) return 0;
    EXPECT_EQ(request.Message, asked == 0 ? "マイナンバー管理パスワードを入力して下さい。" : "正しいパスワードを入力して下さい。");
    request.InputText = answers[static_cast<std::size_t>(asked++)];
    return kModalOk;
  };
  EXPECT_TRUE(AskMyNumberPassword("pass")) << "no administrator: nothing asked";
  EXPECT_EQ(asked, 0);
  SystemDef.MyNumberAdmin = 1;
  EXPECT_FALSE(AskMyNumberPassword(""));
  struct Case {
    std::vector<std::string> typed;
    bool accepted;
    int asks;
  } cases[] = {{{"pass　"}, true, 1}, {{"x", "Pass", "pass"}, true, 3}, {{"x", "y", "z", "pass"}, false, 3}, {{}, false, 0}};
  for (const Case& c : cases) {
    answers = c.typed;
    asked = 0;
    EXPECT_EQ(AskMyNumberPassword("pass"), c.accepted);
    EXPECT_EQ(asked, c.asks);
  }

  // An administrator who wants the data in the copy but fails the password stops the backup.
  const std::string key = ManagePersonalNumbers();
  BackupAskYesNo = [](const std::string& text) { return text == "保存データにマイナンバー情報を含めますか？"; };
  answers = {"a", "b", "c"};
  asked = 0;
  TBackupRestoreThread job(true);
  job.Mode = 0;
  job.AskMyNumber = true;
  job.DbFile = Database(1);
  job.BackupFile = temp_.File("never.fbk");
  job.DataInfo.USEMYNUMBER = 1;
  Run(job);
  BackupAskYesNo = nullptr;
  EXPECT_EQ(job.ErrorCode, "100");
  EXPECT_EQ(job.Message, "データベースの保存処理を中止しました。");
  EXPECT_EQ(job.SubMessage, "");
  EXPECT_FALSE(fs::exists(job.BackupFile));
}

TEST_F(BackupThread, RestoreOfACopyWithPersonalNumbersKeepsTheTargetsLog) {
  ManagePersonalNumbers();
  const std::string backupFile = temp_.File("with.fbk");
  TBackupRestoreThread backup(true);
  backup.Mode = 0;
  backup.DbFile = Database(1);
  backup.BackupFile = backupFile;
  backup.IncludeMyNumber = true;
  backup.ProductTitle = "試験";
  backup.DataInfo.SHOUGOU = "株式会社テスト商事";
  backup.DataInfo.USEMYNUMBER = 1;
  backup.AppendDataInfo = true;
  Run(backup);
  ASSERT_TRUE(backup.Success) << backup.Message;
  EXPECT_EQ(backup.MyNumberAnswer, 6);

  // A row written after the backup must survive the restore.
  ConnectDataSet(1);
  TMyNumberIO io;
  TMyNumberLogRec later;
  io.MakeLogRec(later, 4, "参照");
  io.AddLog(later);
  DataSetConnection().AccDatDisconnect("", false, false);

  TBackupRestoreThread restore(true);
  ASSERT_TRUE(restore.ReadDataInfo(backupFile, true));
  restore.Mode = 1;
  restore.DbFile = Database(1);
  restore.BackupFile = backupFile;
  restore.IncludeMyNumber = true;
  Run(restore);
  ASSERT_TRUE(restore.Success) << restore.Message;
  EXPECT_EQ(restore.MyNumberAnswer, 7);
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM MYNUMBER_LOG"), "3") << "saved, referred to, restored";
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM MYNUMBER_LOG WHERE FSTATE=4"), "1");
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM MYNUMBER_LOG WHERE FSTATE=7"), "1");
  DataSetConnection().AccDatDisconnect("", false, false);
  EXPECT_TRUE(shown_.empty());
}
