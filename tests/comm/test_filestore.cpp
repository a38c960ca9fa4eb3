#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <chrono>
#include <memory>
#include <thread>

#include "comm/commsettings.h"
#include "comm/fakes/fakeservers.h"
#include "comm/filestore.h"

namespace fs = std::filesystem;

namespace {

class FileStoreTest : public ::testing::Test {
 protected:
  TTempFolder dir;
  std::string root = dir / "store";
  std::string local = dir / "cpacc.wen";
  std::unique_ptr<TFakeFileStore> server;

  void Start(const std::vector<std::string>& options = {}) {
    server.reset();
    server = std::make_unique<TFakeFileStore>(root, "OFFICE01", "ftppw", options);
  }
  std::unique_ptr<TFileStoreClient> Client(const std::string& password = "ftppw") const {
    auto c = std::make_unique<TFileStoreClient>(
        TFileStoreLogin{"127.0.0.1:" + std::to_string(server->Port()), "OFFICE01", password});
    c->SizeCheckPause = 0.05;
    return c;
  }
  bool Put(const std::string& data, TCommNotice& notice, const std::string& folder = "/04") {
    WriteTextFile(local, data);
    return Client()->Put(local, data.size(), folder, "cpacc.wen", notice);
  }
  std::string Remote(const std::string& name) const { return ReadTextFile(root + "/04/" + name); }
  std::vector<std::string> RemoteFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root + "/04")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileStoreTest, PutReplacesThePreviousCopyAndKeepsItAsBackup) {
  Start();
  TCommNotice notice;
  ASSERT_TRUE(Put("first", notice)) << notice.Text;
  EXPECT_EQ(RemoteFiles(), std::vector<std::string>{"cpacc.wen"});  // no previous file: no backup

  WriteTextFile(root + "/04/cpacc.wenbak", "stale");
  ASSERT_TRUE(Put(std::string(100000, 's'), notice)) << notice.Text;
  EXPECT_TRUE(Remote("cpacc.wen") == std::string(100000, 's'));
  EXPECT_EQ(Remote("cpacc.wenbak"), "first");
  EXPECT_EQ(RemoteFiles(), (std::vector<std::string>{"cpacc.wen", "cpacc.wenbak"}));

  // Get brings it back; the local file is replaced only by a complete copy.
  const std::string got = dir / "received.wen";
  WriteTextFile(got, "old");
  ASSERT_TRUE(Client()->Get("/04/cpacc.wen", got, notice));
  EXPECT_TRUE(ReadTextFile(got) == std::string(100000, 's'));
}

TEST_F(FileStoreTest, RefusedPutsLeaveTheStoreAsItWas) {
  Start();
  WriteTextFile(root + "/04/cpacc.wen", "previous");
  TCommNotice notice;

  EXPECT_FALSE(Put("new", notice, "/11"));
  EXPECT_EQ(notice.Text, "　\r\n転送先のディレクトリが存在しません。\r\n ");

  EXPECT_FALSE(Client("wrong")->Put(local, 3, "/04", "cpacc.wen", notice));
  EXPECT_EQ(notice.Text, "　\r\nサーバーの接続に失敗しました。\r\n ");

  // The stored size differs from the local size.
  Start({"--short-store"});
  EXPECT_FALSE(Put("new data", notice));
  EXPECT_EQ(notice.Text, "送信処理に失敗しました。ウイルス対策ソフトを実行中の場合は、終了してから再度送信を行ってください。");
  EXPECT_TRUE(notice.YesButton);
  EXPECT_EQ(Remote("cpacc.wen"), "previous");
  EXPECT_EQ(RemoteFiles(), std::vector<std::string>{"cpacc.wen"});
}

TEST_F(FileStoreTest, BrokenConnectionDuringThePutKeepsThePreviousCopy) {
  Start({"--read-limit", "400000"});
  WriteTextFile(root + "/04/cpacc.wen", "previous");
  TCommNotice notice;
  bool done = true;
  std::thread put([&] { done = Put(std::string(4000000, 'n'), notice); });
  // The server goes away once part of the upload has arrived.
  const std::string part = root + "/04/cpacc.wen.part";
  for (int i = 0; i < 400; ++i) {
    std::error_code ec;
    if (fs::file_size(part, ec) > 200000 && !ec) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  server->Kill();
  put.join();
  EXPECT_FALSE(done);
  EXPECT_EQ(notice.Text, "　\r\nデータの送信に失敗しました。\r\n ");
  EXPECT_EQ(Remote("cpacc.wen"), "previous");

  // The next session still gets the previous copy.
  Start();
  const std::string got = dir / "received.wen";
  ASSERT_TRUE(Client()->Get("/04/cpacc.wen", got, notice)) << notice.Text;
  EXPECT_EQ(ReadTextFile(got), "previous");
}

TEST_F(FileStoreTest, GetOfAMissingFileCreatesNothing) {
  Start();
  const std::string got = dir / "received.wen";
  TCommNotice notice;
  EXPECT_FALSE(Client()->Get("/04/cpacc.wen", got, notice));
  EXPECT_EQ(notice.Text, "　\r\nダウンロードファイルが見つかりません。\r\n ");
  EXPECT_EQ(notice.Kind, kMsgWarning);
  WriteTextFile(root + "/04/cpacc.wen", "");
  EXPECT_FALSE(Client()->Get("/04/cpacc.wen", got, notice));
  EXPECT_FALSE(fs::exists(got));

  server->Kill();
  EXPECT_FALSE(Client()->Get("/04/cpacc.wen", got, notice));
  EXPECT_EQ(notice.Text, "　\r\nサーバーの接続に失敗しました。\r\n ");
}

TEST(FileStoreHost, HostAndPortSplitAtTheFirstColon) {
  std::string host;
  int port = 0;
  SplitHostPort("ftp.example:2121", 21, host, port);
  EXPECT_EQ(host, "ftp.example");
  EXPECT_EQ(port, 2121);
  SplitHostPort("ftp.example", 21, host, port);
  EXPECT_EQ(port, 21);
  SplitHostPort("ftp.example:x", 21, host, port);
  EXPECT_EQ(port, 21);
}

}  // namespace
