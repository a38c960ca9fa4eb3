// The cloud-share check-out and check-in of a real data set through the fake
// member service (HTTPS) and file store (FTP): the full round trip, the
// equal-times road, an area in use, a connection broken in the middle of the
// put, a certificate the client must refuse and the agreement box of the
// data check.
#include <gtest/gtest.h>

#include <QJsonArray>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "comm/cloudshare.h"
#include "comm/commsettings.h"
#include "comm/fakes/fakeservers.h"
#include "comm/statusrequest.h"
#include "core/globals.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCommId = "OFFICE01";

class CloudShareTest : public dmtest::DmTest {
 protected:
  static void SetUpTestSuite() {
    certFolder_ = std::make_unique<TTempFolder>();
    certs_ = MakeTestCertificates(certFolder_->Path());
  }
  static void TearDownTestSuite() { certFolder_.reset(); }

  void SetUp() override {
    DmTest::SetUp();
    EnsureApplication();
    saved_ = CommSettings;
    responder_ = std::make_unique<ScriptedResponder>(mrOk);
    responder_->Install();
    InstallDataInfoHooks();  // as the program does at start-up: connections keep the settings file
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
    ExecOn(Db(), "UPDATE ACCVERSION SET MAJOR=11, MINOR1=1, MINOR2=0 WHERE REC=1");
    ExecOn(Db(), "UPDATE ACCDEF1 SET WEB_HOLDER='OFFICE01', PASWORD='pw3', CLOUD_LINE=3, CLOUD_TIME=NULL WHERE REC=1");
    memo_ = Query("SELECT COALESCE(MEMO, '') FROM ACCVERSION WHERE REC=1");
  }
  void TearDown() override {
    window_.reset();
    responder_.reset();
    member_.reset();
    store_.reset();
    CommSettings = saved_;
    DmTest::TearDown();
  }

  void StartServers(const std::vector<std::string>& ftpOptions = {}, bool selfSigned = false) {
    store_ = std::make_unique<TFakeFileStore>(root_, kCommId, "ftppw", ftpOptions);
    QJsonObject state = FakeState(kCommId, "127.0.0.1:" + std::to_string(store_->Port()), "ftppw");
    state["now"] = "2024/06/02 13:14:15";
    member_ = std::make_unique<TFakeMemberService>(dir_.Path(), selfSigned ? certs_.SelfSignedCert : certs_.ServerCert,
                                                   selfSigned ? certs_.SelfSignedKey : certs_.ServerKey, state);
    CommSettings.MemberHost = "127.0.0.1";
    CommSettings.MemberPort = member_->Port();
    CommSettings.CaFile = certs_.CaFile;
    CommSettings.InstallationId = "INST-1";
    window_ = std::make_unique<TfmDataTusin>();
    window_->StepPauseSeconds = 0;
  }

  std::string Db() const { return DataFolder(1) + "/rqacc.fdb"; }
  std::string Folder() const { return DataFolder(1); }
  std::string Query(const std::string& sql) {
    const bool was = DataSetConnection().IBDatabaseDAT.Connected();
    if (!was) ConnectDataSet(1);
    const std::string v = QueryDat(sql);
    if (!was) DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
    return v;
  }
  std::string CloudTime() { return Query("SELECT CAST(CLOUD_TIME AS VARCHAR(24)) FROM ACCDEF1 WHERE REC=1"); }
  QJsonObject Slot(int area) const {
    return member_->State()["ids"].toObject()[kCommId].toArray()[area - 1].toObject();
  }
  void PatchSlot(int area, const char* key, const std::string& value) {
    QJsonObject state = member_->State();
    QJsonObject ids = state["ids"].toObject();
    QJsonArray areas = ids[kCommId].toArray();
    QJsonObject s = areas[area - 1].toObject();
    s[key] = QString::fromStdString(value);
    areas[area - 1] = s;
    ids[kCommId] = areas;
    state["ids"] = ids;
    member_->SetState(state);
  }
  void SetNow(const std::string& now) {
    QJsonObject state = member_->State();
    state["now"] = QString::fromStdString(now);
    member_->SetState(state);
  }
  // The request codes sent since the log was last read.
  std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    const std::vector<std::string> log = member_->RequestLog();
    for (std::size_t i = logRead_; i < log.size(); ++i) {
      const std::size_t at = log[i].find("Scode=");
      if (at != std::string::npos) codes.push_back(log[i].substr(at + 6, 4));
    }
    logRead_ = log.size();
    return codes;
  }
  bool Shown(const std::string& text) const {
    for (const ShownDialog& d : responder_->Shown())
      for (const std::string& l : d.lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
  }
  bool WorkFolderEmpty(const char* name) const {
    const fs::path p = fs::path(SystemDef.WinTempDir) / name;
    return !fs::exists(p) || fs::is_empty(p);
  }
  // A first check-in that leaves a copy in area 3.
  void CheckIn() {
    ASSERT_EQ(window_->CloudShareSend(Folder(), "", 1), 0);
    Codes();
    responder_->Clear();
  }

  static std::unique_ptr<TTempFolder> certFolder_;
  static TTestCertificates certs_;
  TTempFolder dir_;
  std::string root_ = dir_ / "store";
  std::unique_ptr<TFakeFileStore> store_;
  std::unique_ptr<TFakeMemberService> member_;
  std::unique_ptr<ScriptedResponder> responder_;
  std::unique_ptr<TfmDataTusin> window_;
  TCommSettings saved_;
  std::string memo_;
  std::size_t logRead_ = 0;
};

std::unique_ptr<TTempFolder> CloudShareTest::certFolder_;
TTestCertificates CloudShareTest::certs_;

TEST_F(CloudShareTest, CheckInCheckOutRoundTrip) {
  StartServers();
  // Check-in into the empty area 3.
  ASSERT_EQ(window_->CloudShareSend(Folder(), "", 1), 0);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833", "1724", "1823"}));
  EXPECT_TRUE(fs::exists(root_ + "/03/cpacc.wen"));
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
  EXPECT_EQ(Slot(3)["company_b64"].toString().toStdString(), CompanyNameField("株式会社テスト商事"));
  EXPECT_EQ(CloudTime().substr(0, 19), "2024-06-02 13:14:15");
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_TRUE(WorkFolderEmpty("ComS"));

  // Equal times: the local data is the current copy; only the completion report.
  SetNow("2024/06/03 09:00:00");
  ASSERT_EQ(window_->CloudShareReceive(Folder(), 1, 0), 0);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833"}));
  EXPECT_EQ(CloudTime().substr(0, 19), "2024-06-03 09:00:00");
  EXPECT_EQ(Slot(3)["use"].toString(), "2");

  // Released, changed locally and older: the check-out restores the copy.
  ASSERT_EQ(window_->CloudShareRelease(Folder()), 0);
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
  ExecOn(Db(), "UPDATE ACCVERSION SET MEMO='local change' WHERE REC=1");
  ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_TIME='2024-01-01 00:00:00' WHERE REC=1");
  SetNow("2024/06/04 10:00:00");
  Codes();
  ASSERT_EQ(window_->CloudShareReceive(Folder(), 1, 0), 0);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833"}));
  EXPECT_EQ(Query("SELECT COALESCE(MEMO, '') FROM ACCVERSION WHERE REC=1"), memo_);
  EXPECT_EQ(CloudTime().substr(0, 19), "2024-06-04 10:00:00");
  EXPECT_EQ(Slot(3)["use"].toString(), "2");
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_TRUE(WorkFolderEmpty("ComR"));
  for (const ShownDialog& d : responder_->Shown()) ADD_FAILURE() << "shown: " << (d.lines.empty() ? "" : d.lines[0]);
  EXPECT_TRUE(shown_.empty());
}

TEST_F(CloudShareTest, SendReportNamesTheDataSetByItsEntryName) {
  // The list name of the data set differs from the company's trade name: the
  // cloud area is labelled with the list name, as every other list shows it.
  ExecOn(Db(), "UPDATE ACCDEF1 SET ENTTEXT='テスト商事（本社）' WHERE REC=1");
  StartServers();
  ASSERT_EQ(window_->CloudShareSend(Folder(), "", 1), 0);
  EXPECT_EQ(Slot(3)["company_b64"].toString().toStdString(), CompanyNameField("テスト商事（本社）"));
}

TEST_F(CloudShareTest, CopyOfAnotherCombineKindIsRefused) {
  StartServers();
  ExecOn(Db(), "DELETE FROM ACCREG WHERE AGROUP='基本設定' AND ACODE IN ('合算データ区分','合算データ数')");
  ExecOn(Db(), "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','合算データ区分','整数','10')");
  ExecOn(Db(), "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','合算データ数','整数','3')");
  CheckIn();  // a distributed copy
  ExecOn(Db(), "UPDATE ACCREG SET ATEXT='1' WHERE AGROUP='基本設定' AND ACODE='合算データ区分'");
  ExecOn(Db(), "UPDATE ACCVERSION SET MEMO='local change' WHERE REC=1");
  ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_TIME='2024-01-01 00:00:00' WHERE REC=1");
  EXPECT_EQ(window_->CloudShareReceive(Folder(), 1, 0), 1);
  EXPECT_TRUE(Shown("現在の処理データは、合算データですが、受信したデータは、分散データなので、復元出来ません。"));
  EXPECT_EQ(Query("SELECT MEMO FROM ACCVERSION WHERE REC=1"), "local change");
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833", "1730"}));
}

TEST_F(CloudShareTest, AreaInUseIsRefused) {
  StartServers();
  CheckIn();
  PatchSlot(3, "use", "2");
  ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_TIME='2024-01-01 00:00:00' WHERE REC=1");
  EXPECT_EQ(window_->CloudShareReceive(Folder(), 1, 0), 1);
  EXPECT_TRUE(Shown("現在使用中のため選択できません。 "));
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724"}));  // nothing taken, nothing released
  EXPECT_EQ(Slot(3)["use"].toString(), "2");
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());

  // Silent: received all the same, reported as done while marked in use.
  responder_->Clear();
  EXPECT_EQ(window_->CloudShareReceive(Folder(), 1, 1), 5);
  EXPECT_TRUE(responder_->Shown().empty());
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833"}));
}

TEST_F(CloudShareTest, ReceiveToWorkLeavesTheDataFolderAlone) {
  StartServers();
  CheckIn();
  ExecOn(Db(), "UPDATE ACCVERSION SET MEMO='local change' WHERE REC=1");
  ASSERT_EQ(window_->CloudShareReceiveToWork(Folder(), 0), 0);
  EXPECT_EQ(window_->ReceiveFolder(), SystemDef.TempDir + "/receive");
  EXPECT_TRUE(fs::exists(window_->ReceiveFolder() + "/rqacc.fdb"));
  EXPECT_EQ(Query("SELECT MEMO FROM ACCVERSION WHERE REC=1"), "local change");
  EXPECT_EQ(window_->CloudShareRelease(Folder()), 0);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1723", "1833", "1730"}));  // Auto 0: the plain slot table
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
  EXPECT_TRUE(responder_->Shown().empty());
}

TEST_F(CloudShareTest, EntriesActOnlyOnTheDataSetTheyConnected) {
  StartServers();
  // Another data set (without a communication ID) is still connected: the
  // check-in reads the values of the folder it was given.
  ConnectDataSet(2);
  ASSERT_EQ(window_->CloudShareSend(Folder(), "", 1), 0);
  EXPECT_EQ(Slot(3)["company_b64"].toString().toStdString(), CompanyNameField("株式会社テスト商事"));
  Codes();
  // A folder that cannot be connected stops the entry before any request,
  // although the values of the last data set are still loaded.
  ConnectDataSet(1);
  EXPECT_EQ(window_->CloudShareSend(dir_ / "missing", "", 1), 1);
  EXPECT_EQ(window_->CloudShareReceive(dir_ / "missing", 1, 0), 1);
  EXPECT_TRUE(Codes().empty());
  EXPECT_TRUE(Shown("データの接続に失敗したため、データ選択画面を開きます。"));
}

TEST_F(CloudShareTest, BrokenPutKeepsThePreviousCopyAndReleasesTheArea) {
  StartServers({"--read-limit", "200000"});
  fs::create_directories(root_ + "/03");
  WriteTextFile(root_ + "/03/cpacc.wen", "previous");
  std::thread killer([this] {
    const std::string part = root_ + "/03/cpacc.wen.part";
    for (int i = 0; i < 2400; ++i) {
      std::error_code ec;
      if (fs::file_size(part, ec) > 50000 && !ec) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    store_->Kill();
  });
  const int result = window_->CloudShareSend(Folder(), "", 1);
  killer.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ReadTextFile(root_ + "/03/cpacc.wen"), "previous");
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833", "1724", "1730"}));
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
  EXPECT_TRUE(WorkFolderEmpty("ComS"));
}

TEST_F(CloudShareTest, UnverifiedCertificateIsRefused) {
  StartServers({}, true);
  EXPECT_EQ(window_->CloudShareSend(Folder(), "", 1), 1);
  EXPECT_TRUE(Shown("サーバーに接続出来ません。"));
  EXPECT_FALSE(fs::exists(root_ + "/03/cpacc.wen"));
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
}

TEST_F(CloudShareTest, ARestoreRefreshesTheListRowOfItsOwnDataSet) {
  StartServers();
  // Data set 2 takes part in the cloud share; data set 1 is the list's first row.
  const std::string folder2 = DataFolder(2);
  const std::string db2 = folder2 + "/rqacc.fdb";
  ExecOn(db2, "UPDATE ACCVERSION SET MAJOR=11, MINOR1=1, MINOR2=0 WHERE REC=1");
  ExecOn(db2, "UPDATE ACCDEF1 SET WEB_HOLDER='OFFICE01', PASWORD='pw3', CLOUD_LINE=3, CLOUD_TIME=NULL, "
              "ENTTEXT='受信した名前' WHERE REC=1");
  ASSERT_EQ(window_->CloudShareSend(folder2, "", 1), 0);
  ExecOn(db2, "UPDATE ACCDEF1 SET CLOUD_TIME='2024-01-01 00:00:00' WHERE REC=1");
  ExecOn(inst_.systemDatabase, "UPDATE DATALIST SET ENTTEXT='古い名前' WHERE REC=2");
  const std::string first = QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=1");
  responder_->Clear();

  ASSERT_EQ(window_->CloudShareReceive(folder2, 1, 0), 0);
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=2"), "受信した名前");
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=1"), first);
  EXPECT_EQ(window_->CurrentListRow.PasName, folder2);
  EXPECT_EQ(window_->CurrentListRow.EntText, "受信した名前");
  const std::vector<TDataSentakuRec>& list = window_->DataList;
  ASSERT_GE(list.size(), 2u);
  EXPECT_EQ(list[0].Row.Rec, 1);
  EXPECT_EQ(list[0].Row.EntText, first) << "the first row keeps its own values";
  EXPECT_EQ(list[1].Row.Rec, 2);
  EXPECT_EQ(list[1].Row.EntText, "受信した名前") << "the restored data set's row is refreshed";
  EXPECT_TRUE(responder_->Shown().empty());
}

TEST_F(CloudShareTest, FewerJournalLinesAskForAgreement) {
  StartServers();
  CheckIn();
  const std::string before = Query("SELECT SUM(COALESCE(SIWAKECOUNT, 0)) FROM SISETUMST");
  ExecOn(Db(), "UPDATE SISETUMST SET SIWAKECOUNT = COALESCE(SIWAKECOUNT, 0) + 5");
  ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_TIME='2024-01-01 00:00:00' WHERE REC=1");
  responder_->Then([](const ShownDialog& d) { return d.caption == "データ照合チェックの結果" ? mrCancel : mrOk; });
  EXPECT_EQ(window_->CloudShareReceive(Folder(), 1, 0), 1);
  ASSERT_FALSE(responder_->Shown().empty());
  const ShownDialog& box = responder_->Shown().front();
  EXPECT_EQ(box.caption, "データ照合チェックの結果");
  EXPECT_TRUE(Shown("仕訳件数(修正・削除仕訳含む)が減っています。"));
  EXPECT_TRUE(Shown("　【復元先】："));
  // Declined: the data set untouched, the area released again.
  EXPECT_EQ(Query("SELECT SUM(COALESCE(SIWAKECOUNT, 0)) FROM SISETUMST"), std::to_string(std::stoll(before) + 5));
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1724", "1833", "1730"}));
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
}

}  // namespace
