#include <gtest/gtest.h>

#include <QJsonArray>

#include <memory>

#include "comm/commsettings.h"
#include "comm/curlsession.h"
#include "comm/fakes/fakeservers.h"
#include "comm/memberservice.h"
#include "core/globals.h"

namespace {

constexpr const char* kCommId = "OFFICE01";

class MemberServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    certFolder_ = std::make_unique<TTempFolder>();
    certs_ = MakeTestCertificates(certFolder_->Path());
  }
  static void TearDownTestSuite() { certFolder_.reset(); }

  void SetUp() override {
    saved_ = CommSettings;
    OemKind = 0;
    AppKind = 0;
    SystemDef.WarekiDisplay = 0;
    QJsonObject state = FakeState(kCommId, "127.0.0.1:2121", "ftppw");
    QJsonArray areas = state["ids"].toObject()[kCommId].toArray();
    areas[2] = FakeSlot(3, CompanyNameField("株式会社テスト"), "2024-05-01 10:11:12", "1", "pw3");
    areas[4] = FakeSlot(5, CompanyNameField("別会社"), "2024-04-01 08:00:00", "2", "pw5");
    QJsonObject ids;
    ids[kCommId] = areas;
    state["ids"] = ids;
    state["now"] = "2024/06/02 13:14:15";
    server_ = std::make_unique<TFakeMemberService>(dir_.Path(), certs_.ServerCert, certs_.ServerKey, state);
    Point(*server_, certs_.CaFile);
  }
  void TearDown() override {
    server_.reset();
    CommSettings = saved_;
  }
  static void Point(const TFakeMemberService& server, const std::string& caFile) {
    CommSettings.MemberHost = "127.0.0.1";
    CommSettings.MemberPort = server.Port();
    CommSettings.CaFile = caFile;
    CommSettings.InstallationId = "INST-1";
  }
  QJsonObject Slot(int area) const { return server_->State()["ids"].toObject()[kCommId].toArray()[area - 1].toObject(); }

  static std::unique_ptr<TTempFolder> certFolder_;
  static TTestCertificates certs_;
  TTempFolder dir_;
  std::unique_ptr<TFakeMemberService> server_;
  TCommSettings saved_;
  TMemberService service_;
};

std::unique_ptr<TTempFolder> MemberServiceTest::certFolder_;
TTestCertificates MemberServiceTest::certs_;

TEST_F(MemberServiceTest, SlotTableRoundTrip) {
  TCommNotice notice;
  bool connectionFailed = true;
  ASSERT_TRUE(service_.GetSlotTable({21, true, kCommId, ""}, notice, connectionFailed)) << notice.Text;
  EXPECT_FALSE(connectionFailed);
  EXPECT_EQ(service_.SlotTable.FtpHost, "127.0.0.1:2121");
  EXPECT_EQ(service_.SlotTable.FtpPassword, "ftppw");
  const TSlotEntry& area3 = service_.SlotTable.Slots[2];
  EXPECT_EQ(area3.CompanyName, "株式会社テスト");
  EXPECT_EQ(area3.LastUpdateText, "2024/05/01 10:11:12");
  EXPECT_EQ(area3.Password, "pw3");
  EXPECT_EQ(area3.UseState, "1");
  // An area in use shows its mark, so a check-out refuses it.
  EXPECT_EQ(service_.SlotTable.Slots[4].UseState, "2");
  EXPECT_EQ(service_.SlotTable.Slots[0].CompanyName, "");

  const auto log = server_->RequestLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "GET /request.php?Scode=1724&sSno=INST-1&sFName=OFFICE01 HTTP/1.0");
  EXPECT_EQ(log[1], "User-Agent=Pelorin Connection=Close");
}

TEST_F(MemberServiceTest, RefusedCodesGiveTheirMessages) {
  TCommNotice notice;
  bool connectionFailed = false;
  EXPECT_FALSE(service_.GetSlotTable({21, false, "UNKNOWN", ""}, notice, connectionFailed));
  EXPECT_EQ(notice.Text, "　\r\nサーバーに接続出来ません、通信IDを確認して下さい。\r\n ");
  EXPECT_EQ(notice.Kind, kMsgError);
  EXPECT_FALSE(connectionFailed);

  QJsonObject state = server_->State();
  QJsonObject codes;
  codes["1723"] = "951";
  codes["1730"] = "952";
  codes["1833"] = "953";
  state["codes"] = codes;
  server_->SetState(state);
  EXPECT_FALSE(service_.GetSlotTable({21, false, kCommId, ""}, notice, connectionFailed));
  EXPECT_EQ(notice.Text, "　\r\nサーバーエラー(951)\r\n ");
  EXPECT_FALSE(service_.SetCloudShareUse(kCommId, 3, 1, notice));
  EXPECT_EQ(notice.Text, "　\r\nサーバーエラー(952)\r\n ");
  EXPECT_FALSE(service_.FinishCloudReceive(kCommId, 3, [](TDateTime) { return true; }, notice));
  EXPECT_EQ(notice.Text, "　\r\n完了処理サーバーエラー(953)\r\n ");
}

TEST_F(MemberServiceTest, CheckOutMarksTheAreaAndUseStateFreesIt) {
  const TValueReply start = service_.CheckOutStart(kCommId, 3);
  ASSERT_TRUE(start.Received) << start.Error;
  EXPECT_EQ(start.Code, "000");
  EXPECT_EQ(service_.LastUpdateText, "2024/06/02 13:14:15");
  EXPECT_EQ(Slot(3)["use"].toString(), "2");

  TCommNotice notice;
  ASSERT_TRUE(service_.SetCloudShareUse(kCommId, 3, 1, notice)) << notice.Text;
  EXPECT_EQ(Slot(3)["use"].toString(), "1");
  EXPECT_EQ(server_->RequestLog()[2], "GET /request.php?Scode=1730&sSno=INST-1&sFName=OFFICE01&fSname=03&fShare=1 HTTP/1.0");
}

TEST_F(MemberServiceTest, FinishWritesTheServiceTimeAndFailsWhenItCannot) {
  TDateTime written = 0;
  TCommNotice notice;
  ASSERT_TRUE(service_.FinishCloudReceive(kCommId, 3, [&](TDateTime t) { written = t; return true; }, notice))
      << notice.Text;
  EXPECT_EQ(DateTimeToStr(written), "2024/06/02 13:14:15");

  EXPECT_FALSE(service_.FinishCloudReceive(kCommId, 3, [](TDateTime) { return false; }, notice));
  EXPECT_EQ(notice.Text, "ローカルデータの最終更新日付更新エラー");
}

TEST_F(MemberServiceTest, SendReportCarriesEscapedFields) {
  const TValueReply r = service_.RequestWithValue(
      scCloudSendReport, kCommId,
      SendReportFields("04", "～", 12, EncodeDate(2024, 4, 1), EncodeDate(2025, 3, 31), "p+w=", 11, 1));
  ASSERT_TRUE(r.Received);
  EXPECT_EQ(r.Code, "000");
  EXPECT_EQ(r.Value, "20240602131415");
  EXPECT_EQ(server_->RequestLog()[0],
            "GET /request.php?Scode=1823&sSno=INST-1&sFName=OFFICE01&fSname=04&fSg=gWA%3d&fNe=12"
            "&fKis=202404010000&fKie=202503310000&fPa=p%2bw%3d&fYobi=1101 HTTP/1.0");
  const QJsonObject slot = Slot(4);
  EXPECT_EQ(slot["company_b64"].toString(), "gWA=");
  EXPECT_EQ(slot["password"].toString(), "p+w=");
  EXPECT_EQ(slot["update"].toString(), "2024-06-02 13:14:15");
}

TEST_F(MemberServiceTest, UntrustedOrMissingServerCountsAsNoConnection) {
  // A self-signed certificate that the CA file does not vouch for.
  TTempFolder other;
  TFakeMemberService selfSigned(other.Path(), certs_.SelfSignedCert, certs_.SelfSignedKey, server_->State());
  Point(selfSigned, certs_.CaFile);
  TCommNotice notice;
  bool connectionFailed = false;
  EXPECT_FALSE(service_.GetSlotTable({21, false, kCommId, ""}, notice, connectionFailed));
  EXPECT_TRUE(connectionFailed);
  EXPECT_EQ(notice.Text, "　\r\nサーバーに接続出来ません。\r\n ");
  EXPECT_TRUE(selfSigned.RequestLog().empty());
  EXPECT_THROW(service_.SetCloudShareUse(kCommId, 3, 1, notice), ETransferError);
  EXPECT_FALSE(service_.FinishCloudReceive(kCommId, 3, [](TDateTime) { return true; }, notice));
  EXPECT_EQ(notice.Text, "　\r\nサーバーに接続出来ません。(完了処理)\r\n ");

  // The system trust store does not know the test CA either.
  Point(*server_, "");
  EXPECT_FALSE(service_.CheckOutStart(kCommId, 3).Received);
  EXPECT_EQ(Slot(3)["use"].toString(), "1");

  // Nobody listening.
  Point(*server_, certs_.CaFile);
  server_.reset();
  EXPECT_FALSE(service_.GetSlotTable({21, false, kCommId, ""}, notice, connectionFailed));
  EXPECT_TRUE(connectionFailed);
}

}  // namespace
