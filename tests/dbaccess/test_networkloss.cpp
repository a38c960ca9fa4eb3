// A lost network connection: the error reporter closes and reopens both
// databases through the server, tells the user that the operation failed,
// and ends the program when the server cannot be reached again. A server or
// network that goes silent (no answer, no reset) is noticed within the
// connection's silence limit instead of after minutes.
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "dmtest.h"
#include "platform/fb/netguard.h"
#include "tcpproxy.h"

using namespace dmtest;

class NetworkLoss : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
    ConnectKind = 1;
    SystemDef.HostName = "127.0.0.1/" + std::to_string(relay_.Port());
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
    ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(1), false));
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
  EXPECT_FALSE(SystemStore().GetSysIni(row));
  EXPECT_EQ(DbFatalError, 0);
  EXPECT_EQ(terminateRequests_, 0);
  EXPECT_TRUE(SystemStore().IBDatabaseDEF.Connected());
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());
  ASSERT_EQ(shown_.size(), 1u) << "the failed operation is still reported";
  // The caller's message announces the end of the program; the program goes
  // on, so the box names the failed operation and says what happened instead.
  EXPECT_EQ(shown_[0].text.rfind(std::string("システム情報の取得に失敗しました。\r\r") + kRecoveredText + "\r\r[詳細情報]\r", 0),
            0u)
      << shown_[0].text;
  EXPECT_EQ(shown_[0].text.find("終了します"), std::string::npos) << shown_[0].text;
  EXPECT_NE(shown_[0].text.find("IBXエラーコード:33554472"), std::string::npos);
  // The operation works again on the new connections.
  EXPECT_TRUE(SystemStore().GetSysIni(row));
  EXPECT_EQ(QueryDat("SELECT SHOUGOU FROM ACCDEF1"), "株式会社テスト商事");
}

TEST_F(NetworkLoss, AServerOutOfReachEndsTheProgram) {
  relay_.StopListening();
  relay_.CutConnections();
  TSystemIniRec row;
  row.REC = 20;
  EXPECT_FALSE(SystemStore().GetSysIni(row));
  EXPECT_EQ(DbFatalError, 1);
  EXPECT_GE(terminateRequests_, 1);
  bool lossShown = false;
  for (const TShown& s : shown_)
    if (s.text == std::string(kNetworkLossMessage)) lossShown = true;
  EXPECT_TRUE(lossShown);
  const std::size_t shownBefore = shown_.size();
  EXPECT_FALSE(SystemStore().GetSysIni(row));
  EXPECT_EQ(shown_.size(), shownBefore) << "once the end is pending nothing more is shown";
}

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The TCP sockets of this process connected to the given port.
std::vector<int> SocketsTo(int port) {
  std::vector<int> fds;
  DIR* dir = ::opendir("/proc/self/fd");
  while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
    const int fd = std::atoi(entry->d_name);
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (fd > 2 && ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 && peer.sin_family == AF_INET &&
        ntohs(peer.sin_port) == port)
      fds.push_back(fd);
  }
  if (dir) ::closedir(dir);
  return fds;
}

int IntOption(int fd, int level, int option) {
  int value = -1;
  socklen_t length = sizeof value;
  ::getsockopt(fd, level, option, &value, &length);
  return value;
}

}  // namespace

class SilentNetwork : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
    saved_ = FbNetTimeouts;
  }
  void TearDown() override {
    FbNetTimeouts = saved_;
    DmTest::TearDown();
    ConnectKind = 0;
  }
  TFbNetTimeouts saved_;
};

TEST_F(SilentNetwork, AServerThatGoesSilentIsNoticedAndReported) {
  SilentRelay relay;
  if (!relay.Usable()) GTEST_SKIP() << "no network namespace of its own may be made here";
  FbNetTimeouts.SilenceSeconds = 3;
  ConnectKind = 1;
  SystemDef.HostName = "127.0.0.1/" + std::to_string(relay.Port());
  {
    SilentRelay::Inside inside(relay);
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
    ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(1), false));
  }
  relay.GoSilent();
  const auto start = std::chrono::steady_clock::now();
  TSystemIniRec row;
  row.REC = 10;
  EXPECT_FALSE(SystemStore().GetSysIni(row));
  EXPECT_LT(SecondsSince(start), 15.0) << "noticed within the silence limit of each connection";
  // The server cannot be reached again: the user is told and the program ends.
  EXPECT_EQ(DbFatalError, 1);
  EXPECT_GE(terminateRequests_, 1);
  bool lossShown = false;
  for (const TShown& shown : shown_)
    if (shown.text.rfind(kNetworkLossMessage, 0) == 0) lossShown = true;
  EXPECT_TRUE(lossShown);
}

TEST_F(SilentNetwork, AServerThatNeverAnswersTheConnectIsGivenUp) {
  // Takes connections (the system completes them) and never answers.
  const int mute = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(mute, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(mute, 16), 0);
  socklen_t length = sizeof address;
  ::getsockname(mute, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string host = "127.0.0.1/" + std::to_string(ntohs(address.sin_port));
  FbNetTimeouts.ConnectSeconds = 2;

  TIBDatabase database;
  database.DatabaseName = host + ":" + DataFolder(1) + "/rqacc.fdb";
  database.Params = TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
  auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(database.Open(), EIBError);
  EXPECT_LT(SecondsSince(start), 10.0);

  TIBServerProperties service;
  service.Protocol = TProtocol::TCP;
  service.ServerName = host;
  service.Params = TIBStrings{"user_name=VFNZFR", "password=dravon"};
  start = std::chrono::steady_clock::now();
  EXPECT_THROW(service.Attach(), EIBError);
  EXPECT_LT(SecondsSince(start), 10.0);
  ::close(mute);
}

TEST_F(SilentNetwork, TheConnectionsOfTheProgramNoticeSilenceWithinHalfAMinute) {
  EXPECT_LE(FbNetTimeouts.ConnectSeconds, 30);
  ConnectKind = 1;
  SystemDef.HostName = "localhost";
  const std::vector<int> before = SocketsTo(3050);
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(1), false));
  TIBServerProperties service;
  service.Protocol = TProtocol::TCP;
  service.ServerName = "localhost";
  service.Params = TIBStrings{"user_name=VFNZFR", "password=dravon"};
  service.Attach();
  int checked = 0;
  for (const int fd : SocketsTo(3050)) {
    if (std::find(before.begin(), before.end(), fd) != before.end()) continue;
    ++checked;
    EXPECT_EQ(IntOption(fd, SOL_SOCKET, SO_KEEPALIVE), 1);
    const int idle = IntOption(fd, IPPROTO_TCP, TCP_KEEPIDLE);
    const int probes = IntOption(fd, IPPROTO_TCP, TCP_KEEPINTVL) * IntOption(fd, IPPROTO_TCP, TCP_KEEPCNT);
    EXPECT_GT(idle, 0);
    EXPECT_LE(idle + probes, 30);
    EXPECT_GT(IntOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT), 0);
    EXPECT_LE(IntOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT), 30000);
  }
  EXPECT_EQ(checked, 2) << "the data set's connection and the service's";
  service.Detach();
}
