// A lost network connection: the error reporter closes and reopens both
// databases through the server, tells the user that the operation failed,
// and ends the program when the server cannot be reached again.
#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbaccess/fberror.h"
#include "dmtest.h"
#include "tcpproxy.h"

using namespace dmtest;

class NetworkLoss : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
    ConnectKind = 1;
    SystemDef.HostName = "127.0.0.1/" + std::to_string(relay_.Port());
    ASSERT_TRUE(DM->fnAccDefConnected("", true));
    ASSERT_TRUE(DM->fnAccDatConnected("", DataFolder(1), false));
  }
  void TearDown() override {
    DmTest::TearDown();
    ConnectKind = 0;
  }
  TcpRelay relay_;
};

TEST_F(NetworkLoss, RecoveryReopensBothDatabasesAndReportsTheFailedOperation) {
  relay_.CutConnections();
  TSystemIniRec row;
  row.REC = 10;
  EXPECT_FALSE(DM->GetSysIni(row));
  EXPECT_EQ(DbFatalError, 0);
  EXPECT_EQ(terminateRequests_, 0);
  EXPECT_TRUE(DM->IBDatabaseDEF.Connected());
  EXPECT_TRUE(DM->IBDatabaseDAT.Connected());
  ASSERT_EQ(shown_.size(), 1u) << "the failed operation is still reported";
  // The caller's message announces the end of the program; the program goes
  // on, so the box names the failed operation and says what happened instead.
  EXPECT_EQ(shown_[0].text.rfind(std::string("システム情報の取得に失敗しました。\r\r") + kRecoveredText + "\r\r[詳細情報]\r", 0),
            0u)
      << shown_[0].text;
  EXPECT_EQ(shown_[0].text.find("終了します"), std::string::npos) << shown_[0].text;
  EXPECT_NE(shown_[0].text.find("IBXエラーコード:33554472"), std::string::npos);
  // The operation works again on the new connections.
  EXPECT_TRUE(DM->GetSysIni(row));
  EXPECT_EQ(QueryDat("SELECT SHOUGOU FROM ACCDEF1"), "株式会社テスト商事");
}

TEST_F(NetworkLoss, AServerOutOfReachEndsTheProgram) {
  relay_.StopListening();
  relay_.CutConnections();
  TSystemIniRec row;
  row.REC = 20;
  EXPECT_FALSE(DM->GetSysIni(row));
  EXPECT_EQ(DbFatalError, 1);
  EXPECT_GE(terminateRequests_, 1);
  bool lossShown = false;
  for (const TShown& s : shown_)
    if (s.text == std::string(kNetworkLossMessage)) lossShown = true;
  EXPECT_TRUE(lossShown);
  const std::size_t shownBefore = shown_.size();
  EXPECT_FALSE(DM->GetSysIni(row));
  EXPECT_EQ(shown_.size(), shownBefore) << "once the end is pending nothing more is shown";
}
