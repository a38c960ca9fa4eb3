// The cloud-share setting of a data set (TCloudShareIO) on real data sets, and
// the data-selection dialog's cloud button with the communication window's
// calls played by the test.
#include <QApplication>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/cloudcalls.h"
#include "dataselect/cloudshareio.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "dstest.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/inifile.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"

namespace fs = std::filesystem;

namespace {

using dstest::DataSets;

// A connection of the test's own to a data set's database (embedded).
struct TDataConnection {
  TIBDatabase db;
  TIBTransaction tr;
  TIBSQL q;
  explicit TDataConnection(const std::string& folder) {
    db.DatabaseName = folder + "/" + DataFile;
    db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
    db.Open();
    tr.SetDefaultDatabase(&db);
    tr.StartTransaction();
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
  }
  ~TDataConnection() {
    q.Close();
    if (tr.InTransaction()) tr.Commit();
    db.Close();
  }
  void Exec(const std::string& sql) {
    q.SQL.SetText(sql);
    q.ExecQuery();
    q.Close();
  }
  std::string Value(const std::string& sql) {
    q.SQL.SetText(sql);
    q.ExecQuery();
    const std::string v = q.Eof() ? "" : q.Fields(0).AsTrimString();
    q.Close();
    return v;
  }
};

class CloudShareTest : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    for (const auto& ds : DataSets().dataSets) {
      const fs::path to = fs::path(sysDir_) / fs::path(ds.folder).filename();
      fs::remove_all(to);
      fs::copy(ds.folder, to, fs::copy_options::recursive);
    }
    ConnectDef();
    SystemDef.OpCode = 10010;
    SystemDef.HostName = "127.0.0.1";
    CloudShareCalls = TCloudShareCalls{};
  }
  void TearDown() override {
    CloudShareCalls = TCloudShareCalls{};
    DsTest::TearDown();
  }

  std::string Folder(int rec) const {
    char name[8];
    std::snprintf(name, sizeof name, "%.4d", rec);
    return sysDir_ + "/" + name;
  }
  static void ExecData(const std::string& folder, const std::vector<std::string>& sql) {
    TDataConnection c(folder);
    for (const std::string& s : sql) c.Exec(s);
  }
  static std::string CloudLine(const std::string& folder) {
    TDataConnection c(folder);
    return c.Value("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1");
  }
  // CLOUD_SHARE of the folder's settings file ("-" when the key is missing).
  static std::string CloudShareKey(const std::string& folder) {
    TIniFile ini(DataInfoFileName(folder));
    return ini.ReadString(kSectionDataInfo, "CLOUD_SHARE", "-");
  }
  static std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Reported(const std::string& text) const {
    for (const dstest::TShownText& s : reported_)
      if (s.text.find(text) != std::string::npos) return true;
    for (const std::string& t : BoxTexts())
      if (t.find(text) != std::string::npos) return true;
    return false;
  }

  TCloudShareIO io_;
};

}  // namespace

TEST_F(CloudShareTest, ValuesStoreTheSlotAndTheShareMark) {
  struct Case {
    int value;
    const char* line;
    const char* share;
  } cases[] = {{5, "5", "1"}, {0, "0", "0"}, {-1, "-1", "0"}, {9, "9", "1"}};
  for (const Case& c : cases) {
    EXPECT_TRUE(io_.SetCloudShare("", Folder(1), c.value)) << c.value;
    EXPECT_EQ(CloudLine(Folder(1)), c.line) << c.value;
    EXPECT_EQ(CloudShareKey(Folder(1)), c.share) << c.value;
    EXPECT_EQ(io_.GetCloudShare("", Folder(1)), c.value);
  }
  EXPECT_TRUE(io_.ClearCloudShare("", Folder(1)));
  EXPECT_EQ(CloudLine(Folder(1)), "0");
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected()) << "a folder connected for the call is released";
  EXPECT_TRUE(reported_.empty());
}

TEST_F(CloudShareTest, OlderOrUnversionedDataSetsAreNeitherWrittenNorRead) {
  struct Case {
    const char* what;
    const char* sql;
  } cases[] = {{"version 11.0.0", "UPDATE ACCVERSION SET MAJOR=11,MINOR1=0,MINOR2=0"},
               {"no version row", "DELETE FROM ACCVERSION"}};
  for (const Case& c : cases) {
    const std::string folder = Folder(1);
    ExecData(folder, {c.sql, "UPDATE ACCDEF1 SET CLOUD_LINE=7 WHERE REC=1"});
    const std::string before = ReadAll(DataInfoFileName(folder));
    EXPECT_TRUE(io_.SetCloudShare("", folder, 3)) << c.what;
    EXPECT_EQ(CloudLine(folder), "7") << c.what;
    EXPECT_EQ(ReadAll(DataInfoFileName(folder)), before) << c.what;
    EXPECT_EQ(io_.GetCloudShare("", folder), 0) << c.what;
  }
}

TEST_F(CloudShareTest, ClientKindLeavesTheSettingsFileAlone) {
  ConnectKind = 1;
  const std::string before = ReadAll(DataInfoFileName(Folder(1)));
  EXPECT_TRUE(io_.SetCloudShare("127.0.0.1", Folder(1), 4));
  EXPECT_EQ(CloudLine(Folder(1)), "4");
  EXPECT_EQ(io_.GetCloudShare("127.0.0.1", Folder(1)), 4);
  EXPECT_EQ(ReadAll(DataInfoFileName(Folder(1))), before);
  ConnectKind = 0;
}

TEST_F(CloudShareTest, ConnectionOfTheSameFolderIsKept) {
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", Folder(1), false));
  const std::string name = DataSetConnection().IBDatabaseDAT.DatabaseName;
  EXPECT_TRUE(io_.SetCloudShare("", Folder(1), 2));
  EXPECT_EQ(io_.GetCloudShare("", Folder(1)), 2);
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_EQ(DataSetConnection().IBDatabaseDAT.DatabaseName, name);
  DataSetConnection().AccDatDisconnect(Folder(1), false, false);
}

TEST_F(CloudShareTest, AnotherConnectedDataSetIsConnectedAgainAfterwards) {
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", Folder(1), false));
  const std::string nameA = DataSetConnection().IBDatabaseDAT.DatabaseName;
  EXPECT_TRUE(io_.SetCloudShare("", Folder(2), 6));
  EXPECT_EQ(CloudLine(Folder(2)), "6") << "the 11.0.5 data set carries the setting";
  EXPECT_EQ(CloudLine(Folder(1)), "0") << "the connected data set is not touched";
  EXPECT_EQ(CloudShareKey(Folder(2)), "1");
  EXPECT_NE(CloudShareKey(Folder(1)), "1");
  ASSERT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_EQ(DataSetConnection().IBDatabaseDAT.DatabaseName, nameA);
  EXPECT_EQ(io_.GetCloudShare("", Folder(2)), 6);
  ASSERT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_EQ(DataSetConnection().IBDatabaseDAT.DatabaseName, nameA);
  // The restored connection works.
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&DataSetConnection().IBTransactionDAT);
  DataSetConnection().IBTransactionDAT.StartTransaction();
  q.SQL.SetText("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1");
  q.ExecQuery();
  EXPECT_EQ(q.Fields(0).AsInteger(), 0);
  q.Close();
  DataSetConnection().IBTransactionDAT.Commit();
  DataSetConnection().AccDatDisconnect(Folder(1), false, false);
  EXPECT_TRUE(reported_.empty());
}

TEST_F(CloudShareTest, DatabaseErrorsAreReportedAndTheFolderReleased) {
  ExecData(Folder(1), {"ALTER TABLE ACCDEF1 DROP CLOUD_LINE"});
  const std::string before = ReadAll(DataInfoFileName(Folder(1)));
  EXPECT_FALSE(io_.SetCloudShare("", Folder(1), 5));
  EXPECT_TRUE(Reported("クラウドシェアの設定に失敗しました。"));
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_FALSE(io_.IBTransaction1.InTransaction()) << "rolled back";
  EXPECT_EQ(ReadAll(DataInfoFileName(Folder(1))), before) << "the settings file follows only a stored value";
  EXPECT_EQ(io_.GetCloudShare("", Folder(1)), 0);
  EXPECT_TRUE(Reported("クラウドシェアの参照に失敗しました。"));
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
}

TEST_F(CloudShareTest, ErrorsInsideARunningTransactionAreLeftToItsOwner) {
  ExecData(Folder(1), {"ALTER TABLE ACCDEF1 DROP CLOUD_LINE"});
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", Folder(1), false));
  io_.IBTransaction1.SetDefaultDatabase(&DataSetConnection().IBDatabaseDAT);
  io_.IBTransaction1.StartTransaction();
  EXPECT_FALSE(io_.SetCloudShare("", Folder(1), 5));
  EXPECT_EQ(io_.GetCloudShare("", Folder(1)), 0);
  EXPECT_TRUE(io_.IBTransaction1.InTransaction());
  EXPECT_TRUE(reported_.empty());
  EXPECT_TRUE(BoxTexts().empty());
  io_.IBTransaction1.Rollback();
  DataSetConnection().AccDatDisconnect(Folder(1), false, false);
}

// ---- the data-selection dialog's cloud button ------------------------------------------------

namespace {

class CloudButtonTest : public CloudShareTest {
 protected:
  void SetUp() override {
    CloudShareTest::SetUp();
    struct Row {
      int rec;
      const char* code;
      const char* ver;
      std::string extra;
    } rows[] = {{1, "A100", "11,1,0", ""},
                {2, "B200", "11,0,5", ""},
                {3, "G300", "11,0,0", ""},
                {4, "C300", "11,1,0", ",GASSAN=1"},
                {5, "D400", "10,2,0", ""},
                {6, "E500", "12,0,0", ",NETDRIVE=1,KYOYULOCK=0"}};
    // The shared-server row lies in a second folder standing for the share.
    const std::string share = root_ + "/share/0006";
    fs::create_directories(share);
    std::vector<std::string> sql;
    for (const Row& r : rows) {
      std::string major, minor1, minor2;
      std::stringstream v(r.ver);
      std::getline(v, major, ',');
      std::getline(v, minor1, ',');
      std::getline(v, minor2, ',');
      sql.push_back("UPDATE DATALIST SET PASNAME='" + Folder(r.rec) + "',DATACODE='" + r.code + "',ENTTEXT='会社" +
                    r.code + "',SHOUGOU='会社',DATATYPE=1,CODETYPE=1,NENDO=3,KISHU='2019-04-01',KIMATU='2020-03-31'," +
                    "VER_MAJOR=" + major + ",VER_MINOR1=" + minor1 + ",VER_MINOR2=" + minor2 + r.extra +
                    " WHERE REC=" + std::to_string(r.rec));
    }
    sql.push_back("UPDATE DATALIST SET PASNAME='" + share + "' WHERE REC=6");
    ExecDef(sql);
    SystemDef.JobLevel = 9;  // the operator may use every data set
    // The settings dialog stores the chosen slot in the data set; here the
    // test plays it.
    CloudShareCalls.OpenCloudShareSettings = [this](const std::string& folder, TCloudShareChoice& choice) {
      settingsOpened_.push_back(folder);
      choice.Slot = slot_;
      choice.SendNow = sendNow_;
      if (box_ && settingsResult_ == 0) CloudShareIOOf(box_->CloudShareIO).SetCloudShare("", folder, slot_);
      return settingsResult_;
    };
    CloudShareCalls.CloudShareSend = [this](const std::string& folder, const std::string& text, std::int32_t automatic) {
      EXPECT_FALSE(box_->pnlClient->isEnabled()) << "the panels are disabled while sending";
      sent_.push_back(folder + "|" + text + "|" + std::to_string(automatic));
      if (sendResults_.empty()) return 0;
      const std::int32_t r = sendResults_.front();
      sendResults_.erase(sendResults_.begin());
      return r;
    };
  }
  void TearDown() override {
    box_.reset();
    CloudShareTest::TearDown();
  }

  void Open() {
    box_ = std::make_unique<TDataSentakuBox>();
    box_->KeepOnClose = true;
    box_->SetParams({"SyoriType=0"});
    box_->PrepareMode();
    box_->show();
    QApplication::setActiveWindow(box_.get());
    box_->PerfectGrid1->setFocus();
    QApplication::processEvents();
  }
  int RowOfCode(const std::string& code) const {
    for (int r = 1; r <= box_->PerfectGrid1->Rows(); ++r)
      if (box_->PerfectGrid1->CellText(r, dcCode) == code) return r;
    return 0;
  }
  int Click(const std::string& code) {
    const int row = RowOfCode(code);
    EXPECT_GT(row, 0) << code;
    box_->PerfectGrid1->SetRow(row);
    box_->btnCloudShareClick();
    return row;
  }
  bool CloudPictureShown(int row) const {
    TPerfectGrid* g = box_->PerfectGrid1;
    const QTableWidgetItem* item = g->item(row - 1, dcCloud + g->FixedLefts());
    return item && !item->data(Qt::DecorationRole).value<QPixmap>().isNull();
  }

  std::unique_ptr<TDataSentakuBox> box_;
  std::vector<std::string> settingsOpened_, sent_;
  std::vector<std::int32_t> sendResults_;
  std::int32_t slot_ = 0, sendNow_ = 0, settingsResult_ = 0;
};

}  // namespace

TEST_F(CloudButtonTest, RowsThatCannotTakePartAreRefusedWithTheirTexts) {
  Open();
  ASSERT_TRUE(box_->btnCloudShare->isVisibleTo(box_.get())) << "selection type 0 offers the cloud button";
  const std::string oldVersion =
      "データバージョンが \"Ver11.0.1\" に達していないため、クラウドシェアはご利用できません。\r"
      "クラウドシェアを利用するには、データを選択しデータ更新をおこなってください。";
  struct Case {
    const char* code;
    std::string text;
  } cases[] = {{"D400", oldVersion},
               {"G300", oldVersion},
               {"C300", "合算・分散データはクラウドシェアの設定はおこなえません。"},
               {"E500",
                "共有保管データはクラウドシェアの設定はおこなえません。\r[共有取得]ボタンを押してデータを取得してください。\r"
                "※[共有データの取得と保管を自動化する]にチェックがある場合は、チェックを外すと[共有取得]ボタンが有効になります。"}};
  for (const Case& c : cases) {
    responder_.Clear();
    Click(c.code);
    ASSERT_EQ(BoxTexts().size(), 1u) << c.code;
    EXPECT_EQ(BoxTexts().front(), c.text) << c.code;
  }
  EXPECT_TRUE(settingsOpened_.empty());
}

TEST_F(CloudButtonTest, WithoutTheSettingsDialogTheButtonSaysSo) {
  CloudShareCalls.OpenCloudShareSettings = nullptr;
  Open();
  const int row = Click("A100");
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts().front(), kCommandNotAvailable);
  EXPECT_EQ(box_->PerfectGrid1->Row(), row);
  EXPECT_EQ(CloudShareKey(Folder(1)), "0");
}

TEST_F(CloudButtonTest, ChosenSlotIsSentAndFollowedByTheRow) {
  Open();
  slot_ = 3;
  sendNow_ = 1;
  sendResults_ = {2, 0};  // the first send fails: the settings open again
  int row = Click("A100");
  EXPECT_EQ(settingsOpened_, (std::vector<std::string>{Folder(1), Folder(1)}));
  EXPECT_EQ(sent_, (std::vector<std::string>{Folder(1) + "||0", Folder(1) + "||0"}));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"クラウドシェア送信処理でエラーが発生しました。設定画面を開きます。"});
  EXPECT_TRUE(box_->pnlClient->isEnabled());
  row = RowOfCode("A100");
  EXPECT_EQ(box_->GetRowRecord(row)->Cloud, 1);
  EXPECT_EQ(CloudShareKey(Folder(1)), "1");
  EXPECT_EQ(box_->PerfectGrid1->CellNumber(row, dcCloudFlag), 1);
  EXPECT_TRUE(CloudPictureShown(row));
  EXPECT_EQ(QueryDef("SELECT CLOUD FROM DATALIST WHERE REC=1"), "1");
  EXPECT_EQ(box_->PerfectGrid1->Row(), row);

  // Leaving the cloud share: no slot, nothing sent.
  responder_.Clear();
  slot_ = 0;
  Click("A100");
  EXPECT_EQ(sent_.size(), 2u);
  row = RowOfCode("A100");
  EXPECT_EQ(box_->GetRowRecord(row)->Cloud, 0);
  EXPECT_EQ(CloudShareKey(Folder(1)), "0");
  EXPECT_FALSE(CloudPictureShown(row));
  EXPECT_EQ(QueryDef("SELECT CLOUD FROM DATALIST WHERE REC=1"), "0");
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CloudButtonTest, CancelledSettingsChangeNothing) {
  Open();
  slot_ = 4;
  sendNow_ = 1;
  settingsResult_ = 9;
  Click("B200");
  EXPECT_EQ(settingsOpened_.size(), 1u);
  EXPECT_TRUE(sent_.empty());
  const int row = RowOfCode("B200");
  EXPECT_EQ(box_->GetRowRecord(row)->Cloud, 0);
  EXPECT_EQ(box_->PerfectGrid1->CellNumber(row, dcCloudFlag), 0);
  EXPECT_EQ(CloudLine(Folder(2)), "0");
  EXPECT_TRUE(BoxTexts().empty());
}
