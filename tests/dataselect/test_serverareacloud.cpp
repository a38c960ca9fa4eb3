// F2 copy of an area shared through the cloud in the shared-server selection
// dialog: the copy step receives the cloud's copy into the work folder through
// the real data-communication window (the fake member service and file store
// on 127.0.0.1), the paste copies that work copy onto the target area.
#include <QJsonArray>

#include "comm/cloudshare.h"
#include "comm/commsettings.h"
#include "comm/fakes/fakeservers.h"
#include "dataselect/cloudcalls.h"
#include "mgmttest.h"
#include "serverboxtest.h"

using namespace serverboxtest;

namespace {

constexpr const char* kCommId = "OFFICE01";
constexpr int kLocalRec = 5;  // the local row registered for the cloud-shared area

class CloudAreaCopyTest : public ServerBoxTest {
 protected:
  static void SetUpTestSuite() {
    certFolder_ = std::make_unique<TTempFolder>();
    certs_ = MakeTestCertificates(certFolder_->Path());
  }
  static void TearDownTestSuite() { certFolder_.reset(); }

  void SetUp() override {
    ServerBoxTest::SetUp();
    if (dstest::ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
    InstallDataInfoHooks();
    SystemDef.OpName = "試験担当";
    SystemDef.JobLevel = 9;
    saved_ = CommSettings;
    fs::create_directories(SystemDef.TempDir);
    // The exchange's work folders of this test alone (tests run side by side).
    SystemDef.WinTempDir = root_ + "/wintemp";
    fs::create_directories(SystemDef.WinTempDir);
    fs::permissions(SystemDef.WinTempDir, fs::perms::all);
    // The local data set of the area: registered for the area's share path,
    // taking part in the cloud share through slot 3.
    fs::create_directories(Local());
    const fs::path set = DataSets().dataSets[0].folder;
    fs::copy_file(set / "rqacc.fdb", Local() + "/rqacc.fdb");
    fs::copy_file(set / "rqacc.ini", Local() + "/rqacc.ini");
    ExecDef({"UPDATE DATALIST SET NETDRIVE=1, PASNAME='" + Area("sv0001") + "' WHERE REC=" + std::to_string(kLocalRec)});
    mgmttest::Exec(LocalDb(), "UPDATE ACCVERSION SET MAJOR=11, MINOR1=1, MINOR2=0, MEMO='cloud copy' WHERE REC=1");
    mgmttest::Exec(LocalDb(), std::string("UPDATE ACCDEF1 SET WEB_HOLDER='") + kCommId +
                                  "', PASWORD='pw3', CLOUD_LINE=3, CLOUD_TIME=NULL WHERE REC=1");
    // The area on the share, marked as shared through the cloud, and an empty target.
    MakeArea({"sv0001", "A100", "アルファ", 1, 0}, true);
    TDataInfomationRec info = Info("sv0001");
    info.CLOUD_SHARE = 1;
    WriteDataInfoFile(DataInfoFileName(Area("sv0001")), "", info);
    mgmttest::Exec(Area("sv0001") + "/rqacc.fdb", "UPDATE ACCVERSION SET MEMO='share copy' WHERE REC=1");
    MakeArea({"sv0002", nullptr, "", 1, 0});
    fixture::OpenToServer(root_);

    store_ = std::make_unique<TFakeFileStore>(dir_ / "store", kCommId, "ftppw");
    QJsonObject state = FakeState(kCommId, "127.0.0.1:" + std::to_string(store_->Port()), "ftppw");
    state["now"] = "2024/06/02 13:14:15";
    member_ = std::make_unique<TFakeMemberService>(dir_.Path(), certs_.ServerCert, certs_.ServerKey, state);
    CommSettings.MemberHost = "127.0.0.1";
    CommSettings.MemberPort = member_->Port();
    CommSettings.CaFile = certs_.CaFile;
    CommSettings.InstallationId = "INST-1";
    window_ = std::make_unique<TfmDataTusin>();
    window_->StepPauseSeconds = 0;
    // As the program installs the data communication for the dialogs.
    TfmDataTusin* w = window_.get();
    CloudShareCalls = TCloudShareCalls{};
    CloudShareCalls.CloudShareSend = [w](const std::string& f, const std::string& t, std::int32_t a) {
      return w->CloudShareSend(f, t, a);
    };
    CloudShareCalls.CloudShareRelease = [w](const std::string& f) { return w->CloudShareRelease(f); };
    CloudShareCalls.CloudShareReceiveToWork = [w](const std::string& f, std::int32_t a) {
      return w->CloudShareReceiveToWork(f, a);
    };
    CloudShareCalls.ReceiveFolder = [w] { return w->ReceiveFolder(); };

    // The cloud's copy: the local data set checked in, then changed locally.
    ASSERT_EQ(CloudShareCalls.CloudShareSend(Local(), "", 1), 0);
    mgmttest::Exec(LocalDb(), "UPDATE ACCVERSION SET MEMO='local change' WHERE REC=1");
    ASSERT_EQ(Slot()["use"].toString(), "1");
    responder_.Clear();
  }
  void TearDown() override {
    CloudShareCalls = TCloudShareCalls{};
    window_.reset();
    member_.reset();
    store_.reset();
    CommSettings = saved_;
    ServerBoxTest::TearDown();
  }

  std::string Local() const { return sysDir_ + "/000" + std::to_string(kLocalRec); }
  std::string LocalDb() const { return Local() + "/rqacc.fdb"; }
  TDataInfomationRec Info(const char* area) const {
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(Area(area)), info);
    return info;
  }
  std::string Memo(const std::string& folder) const {
    const auto rows = mgmttest::Rows(folder + "/rqacc.fdb", "SELECT COALESCE(MEMO, '') FROM ACCVERSION WHERE REC=1");
    return rows.empty() ? "" : rows.front();
  }
  QJsonObject Slot() const { return member_->State()["ids"].toObject()[kCommId].toArray()[2].toObject(); }
  void SetSlot(const char* key, const std::string& value) {
    QJsonObject state = member_->State();
    QJsonObject ids = state["ids"].toObject();
    QJsonArray areas = ids[kCommId].toArray();
    QJsonObject s = areas[2].toObject();
    s[key] = QString::fromStdString(value);
    areas[2] = s;
    ids[kCommId] = areas;
    state["ids"] = ids;
    member_->SetState(state);
  }
  void Select(TServerSentakuBox& box, const char* area) {
    const int row = RowOfFolder(box, Area(area));
    ASSERT_GT(row, 0) << area;
    box.PerfectGrid1->SetRow(row);
    box.UpdateKeyBar();
  }

  static std::unique_ptr<TTempFolder> certFolder_;
  static TTestCertificates certs_;
  TTempFolder dir_;
  std::unique_ptr<TFakeFileStore> store_;
  std::unique_ptr<TFakeMemberService> member_;
  std::unique_ptr<TfmDataTusin> window_;
  TCommSettings saved_;
};

std::unique_ptr<TTempFolder> CloudAreaCopyTest::certFolder_;
TTestCertificates CloudAreaCopyTest::certs_;

TEST_F(CloudAreaCopyTest, CopyOfACloudAreaPastesTheCloudsCopyWithoutItsMark) {
  auto box = Open();
  Select(*box, "sv0001");
  ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:コピー");
  box->FKeyClick(2);
  ASSERT_TRUE(box->CopyPending) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_EQ(Slot()["use"].toString(), "1") << "the cloud slot is released after the receive";
  EXPECT_EQ(Info("sv0001").STATUS, dsCopyingJob);
  Select(*box, "sv0002");
  ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:貼り付け");
  box->FKeyClick(2);
  EXPECT_FALSE(box->CopyPending);
  EXPECT_EQ(Memo(Area("sv0002")), "cloud copy") << "the cloud's copy, not the share's or the local data";
  EXPECT_EQ(mgmttest::Rows(Area("sv0002") + "/rqacc.fdb", "SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"),
            std::vector<std::string>{"0"});
  const TDataInfomationRec pasted = Info("sv0002");
  EXPECT_EQ(pasted.CLOUD_SHARE, 0);
  EXPECT_EQ(pasted.DATALISTNAME, "アルファ～コピー");
  EXPECT_EQ(pasted.STATUS, dsFree);
  EXPECT_EQ(box->PerfectGrid1->CellNumber(RowOfFolder(*box, Area("sv0002")), scCloudFlag), 0);
  EXPECT_EQ(Info("sv0001").STATUS, dsFree);
  EXPECT_EQ(Memo(Area("sv0001")), "share copy");
  EXPECT_EQ(Memo(Local()), "local change");
  EXPECT_FALSE(BoxShown("中止しました")) << (BoxTexts().empty() ? "" : BoxTexts().back());
}

TEST_F(CloudAreaCopyTest, FailedOrMissingReceiveLeavesTheTargetUnchanged) {
  // In this order: each case undoes what it arranged, the last one cannot.
  struct Case {
    const char* name;
    std::function<void()> arrange, undo;
    bool copyStepFails;
    std::vector<std::string> shown;
  } cases[] = {
      {"work copy gone before the paste", nullptr, nullptr, false,
       {"受信したクラウドシェアデータが見つかりません。\r貼り付けを中止しました。"}},
      {"slot in use", [this] { SetSlot("use", "2"); },
       [this] { SetSlot("use", "1"); }, true,
       {"現在使用中のため選択できません。", "クラウドシェアデータを受信できませんでした。\rコピーを中止しました。"}},
      {"no local row",
       [this] {
         ExecDef({"UPDATE DATALIST SET PASNAME='" + Local() + "' WHERE REC=" + std::to_string(kLocalRec)});
       },
       [this] {
         ExecDef({"UPDATE DATALIST SET PASNAME='" + Area("sv0001") + "' WHERE REC=" + std::to_string(kLocalRec)});
       },
       true, {"データリストに登録されていません。\rコピーを中止しました。"}},
      {"file store gone", [this] { store_->Kill(); }, nullptr, true,
       {"クラウドシェアデータを受信できませんでした。\rコピーを中止しました。"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.arrange) c.arrange();
    responder_.Clear();
    auto box = Open();
    Select(*box, "sv0001");
    box->FKeyClick(2);
    if (c.copyStepFails) {
      EXPECT_FALSE(box->CopyPending);
    } else {
      ASSERT_TRUE(box->CopyPending);
      fs::remove_all(window_->ReceiveFolder());
      Select(*box, "sv0002");
      box->FKeyClick(2);
      EXPECT_FALSE(box->CopyPending);
    }
    for (const std::string& text : c.shown) EXPECT_TRUE(BoxShown(text)) << text;
    EXPECT_FALSE(fs::exists(Area("sv0002") + "/rqacc.fdb")) << "nothing pasted";
    EXPECT_EQ(Info("sv0002").STATUS, dsFree);
    EXPECT_EQ(Info("sv0001").STATUS, dsFree) << "the source is free again";
    EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM SERVERDATALIST WHERE PASNAME='" + Area("sv0002") + "'"), "空き領域");
    EXPECT_EQ(Memo(Local()), "local change");
    if (c.undo) c.undo();
  }
}

TEST_F(CloudAreaCopyTest, PasteComparesTheReceivedCopyWithTheTarget) {
  // The share's settings of the source match the target; the received copy
  // has fewer journal lines than the target: the comparison must say so.
  MakeArea({"sv0003", "A100", "アルファ", 1, 0}, true);
  fixture::OpenToServer(root_);
  const std::string memo = Memo(Area("sv0003"));
  TDataInfomationRec target = Info("sv0003");
  target.TOTALSIWAKE = 5;
  WriteDataInfoFile(DataInfoFileName(Area("sv0003")), "", target);
  TDataInfomationRec source = Info("sv0001");
  source.SHOUGOU = target.SHOUGOU;
  source.KISHU = target.KISHU;
  source.KIMATU = target.KIMATU;
  source.TOTALSIWAKE = 5;
  WriteDataInfoFile(DataInfoFileName(Area("sv0001")), "", source);
  auto box = Open();
  Select(*box, "sv0001");
  box->FKeyClick(2);
  ASSERT_TRUE(box->CopyPending);
  Select(*box, "sv0003");
  std::vector<std::string> lines;
  responder_.Then([&lines](const ShownDialog& shown) {
    if (shown.caption == "データ照合チェックの結果") lines = shown.lines;
    return mrCancel;
  });
  box->FKeyClick(2);
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  EXPECT_NE(all.find("仕訳件数(修正・削除仕訳含む)が減っています。"), std::string::npos) << all;
  EXPECT_EQ(Memo(Area("sv0003")), memo) << "declined: the target keeps its data";
  EXPECT_EQ(Info("sv0003").STATUS, dsFree);
  EXPECT_EQ(Info("sv0001").STATUS, dsFree);
}

}  // namespace
