// Connections of the data module: the database names, the system and
// data-set connects, the in-use marks written through the data-set
// information, the disconnect with the list row, the in-use test and the
// drop; embedded and, with VERUDA_TEST_FB_SERVER, over TCP.
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/datasethooks.h"
#include "dmtest.h"

using namespace dmtest;

namespace {

// Stands in for the data-set information: reads the company name of the
// connected data set and writes STATUS, OPCODE, OPERATOR and SHOUGOU into
// Folder/marks.ini.
struct TMarkLog {
  int reads = 0;
  int writes = 0;
  bool failRead = false;
  std::vector<std::pair<std::string, TDataListFigures>> listRows;
};

class TTestInUse : public IDataSetInUseRecord {
 public:
  explicit TTestInUse(TMarkLog& log) : log_(log) {}
  bool ReadFromConnectedDatabase() override {
    ++log_.reads;
    if (log_.failRead) return false;
    TIBSQL q;
    q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
    TIBTransaction tr;
    tr.SetDefaultDatabase(&DataSetConnection().IBDatabaseDAT);
    q.SetTransaction(&tr);
    q.SQL.SetText("SELECT SHOUGOU FROM ACCDEF1");
    tr.StartTransaction();
    q.ExecQuery();
    shougou_ = q.Fields(0).AsTrimString();
    q.Close();
    tr.Commit();
    return true;
  }
  void SetInUse(std::int32_t status, std::int32_t opCode, const std::string& opName) override {
    status_ = status;
    opCode_ = opCode;
    opName_ = opName;
  }
  void WriteIniFile(const std::string& folder) override {
    ++log_.writes;
    std::ofstream(folder + "/marks.ini") << "STATUS=" << status_ << "\nOPCODE=" << opCode_ << "\nOPERATOR=" << opName_
                                         << "\nSHOUGOU=" << shougou_ << "\n";
  }
  TDataListFigures Figures() const override {
    TDataListFigures f;
    f.SHOUGOU = shougou_;
    return f;
  }

 private:
  TMarkLog& log_;
  std::string shougou_;
  int status_ = 0, opCode_ = 0;
  std::string opName_;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(DatabaseNames, FollowTheConnectionKindAndHost) {
  struct Case {
    int connectKind;
    const char* host;
    bool remote;
    const char* name;
  };
  const Case cases[] = {
      {1, "127.0.0.1", false, "/srv/data/rqaccdef.fdb"},
      {1, "127.0.0.2", false, "127.0.0.2:/srv/data/rqaccdef.fdb"},
      {2, "server", false, "server:/srv/data/rqaccdef.fdb"},
      {1, "localhost", false, "localhost:/srv/data/rqaccdef.fdb"},
      {0, "server", false, "/srv/data/rqaccdef.fdb"},
      {0, "127.0.0.1", true, "/srv/data/rqaccdef.fdb"},
      {1, "127.0.0.1", true, "127.0.0.1:/srv/data/rqaccdef.fdb"},
  };
  for (const Case& c : cases) {
    ConnectKind = static_cast<std::uint8_t>(c.connectKind);
    EXPECT_EQ(TSystemStore::DatabaseNameFor(c.host, "/srv/data", "rqaccdef.fdb", c.remote), c.name) << c.host;
  }
  ConnectKind = 0;
}

class Connections : public DmTest {
 protected:
  void InstallMarks() {
    DataSetHooks.CreateInUseRecord = [this]() { return std::make_unique<TTestInUse>(log_); };
    DataSetHooks.UpdateDataListRow = [this](const std::string& folder, const TDataListFigures& f) {
      log_.listRows.emplace_back(folder, f);
    };
  }
  std::string Marks(int rec) { return ReadText(DataFolder(rec) + "/marks.ini"); }
  TMarkLog log_;
};

TEST_F(Connections, SystemDatabaseConnectsOnceWithTheUsersParameters) {
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  EXPECT_EQ(SystemStore().IBDatabaseDEF.DatabaseName, inst_.systemDatabase);
  EXPECT_EQ(SystemStore().IBDatabaseDEF.Params,
            (TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"}));
  EXPECT_TRUE(SystemStore().fnAccDefConnected("192.0.2.1", true)) << "an open connection is kept whatever the host";
  EXPECT_EQ(SystemStore().IBDatabaseDEF.DatabaseName, inst_.systemDatabase);
}

TEST_F(Connections, SystemDatabaseFailureIsReportedOrPassedOn) {
  SystemDef.SysDir = temp_.File("nowhere");
  EXPECT_FALSE(SystemStore().fnAccDefConnected("", true));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("システムデータベースの接続処理に失敗しました。", 0), 0u);
  EXPECT_THROW(SystemStore().fnAccDefConnected("", false), EIBError);
  EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(Connections, InUseMarksFollowConnectAndDisconnect) {
  InstallMarks();
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(1), true));
  EXPECT_EQ(Marks(1), "STATUS=2\nOPCODE=100000010\nOPERATOR=試験担当\nSHOUGOU=株式会社テスト商事\n");
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(1), true));
  EXPECT_EQ(log_.writes, 2) << "every connect writes the mark anew";
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());

  EXPECT_TRUE(DataSetConnection().AccDatDisconnect("", true, true));
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Params.Empty());
  EXPECT_EQ(Marks(1), "STATUS=1\nOPCODE=0\nOPERATOR=\nSHOUGOU=株式会社テスト商事\n");
  ASSERT_EQ(log_.listRows.size(), 1u);
  EXPECT_EQ(log_.listRows[0].first, DataFolder(1));
  EXPECT_EQ(log_.listRows[0].second.SHOUGOU, "株式会社テスト商事");
}

TEST_F(Connections, DisconnectWritesOnlyWhatWasReadAndAskedFor) {
  InstallMarks();
  struct Case {
    const char* what;
    int appKind;
    int connectKind;
    bool writeInfo, updateList, failRead;
    int writes;
    std::size_t rows;
  };
  const Case cases[] = {
      {"plain disconnect", 0, 0, false, false, false, 0, 0},
      {"list row only", 0, 0, false, true, false, 0, 1},
      {"application kind 1 never updates the list", 1, 0, true, true, false, 1, 0},
      {"server installation writes no settings file", 0, 1, true, false, false, 0, 0},
      {"a failed read writes nothing", 0, 0, true, true, true, 0, 0},
  };
  for (const Case& c : cases) {
    log_ = TMarkLog{};
    log_.failRead = c.failRead;
    ConnectKind = 0;
    ConnectDataSet(1);
    AppKind = static_cast<std::uint8_t>(c.appKind);
    ConnectKind = static_cast<std::uint8_t>(c.connectKind);
    EXPECT_TRUE(DataSetConnection().AccDatDisconnect(DataFolder(1), c.writeInfo, c.updateList)) << c.what;
    EXPECT_EQ(log_.writes, c.writes) << c.what;
    EXPECT_EQ(log_.listRows.size(), c.rows) << c.what;
    EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Params.Empty()) << c.what;
  }
  AppKind = 0;
  ConnectKind = 0;
  EXPECT_TRUE(DataSetConnection().AccDatDisconnect("", true, true)) << "also when nothing is connected";
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Params.Empty());
}

TEST_F(Connections, ServerInstallationConnectsWithoutWritingTheSettingsFile) {
  InstallMarks();
  ConnectKind = 1;
  SystemDef.HostName = "127.0.0.1";
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(2), true));
  EXPECT_EQ(DataSetConnection().IBDatabaseDAT.DatabaseName, DataFolder(2) + "/rqacc.fdb");
  EXPECT_EQ(log_.writes, 0);
  EXPECT_FALSE(std::filesystem::exists(DataFolder(2) + "/marks.ini"));
}

TEST_F(Connections, FailedConnectIsReportedAndVerifiedUnlessTheFileIsMissing) {
  int verifications = 0;
  VerifyDataProc = [&](const std::string&, const std::string& folder, std::int32_t silent, std::int32_t& result) {
    ++verifications;
    EXPECT_EQ(silent, 1);
    EXPECT_EQ(folder, temp_.Path());
    result = 1;
  };
  SystemDef.DataCheckMode = 1;
  EXPECT_FALSE(DataSetConnection().fnAccDatConnected("", temp_.File("missing"), false));
  EXPECT_EQ(verifications, 0) << "a file that cannot be opened is not verified";
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("ユーザーデータベースの接続処理に失敗しました。\rDBファイルが削除、破損 または "
                                 "使用中の可能性がありますので接続パスを確認して下さい。",
                                 0),
            0u);

  std::ofstream(temp_.File("rqacc.fdb")) << std::string(40000, 'x');
  EXPECT_FALSE(DataSetConnection().fnAccDatConnected("", temp_.Path(), false));
  EXPECT_EQ(verifications, 1) << "a file that is no database is verified";
  SystemDef.DataCheckMode = 0;
  EXPECT_FALSE(DataSetConnection().fnAccDatConnected("", temp_.Path(), false));
  EXPECT_EQ(verifications, 1) << "verification only with the damage check on";
}

TEST_F(Connections, InUseTestAndDrop) {
  EXPECT_FALSE(DataSetConnection().AccDatInConnection(1, "", "   ", false));
  ConnectDataSet(3);
  EXPECT_FALSE(DataSetConnection().AccDatInConnection(1, "", DataFolder(3), false))
      << "only the caller itself has it open";
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected()) << "the caller's connection is back";

  const std::string file = DataFolder(3) + "/rqacc.fdb";
  DataSetConnection().AccDatDisconnect("", false, false);
  EXPECT_TRUE(DataSetConnection().AccDatDropDatabase("", DataFolder(3)));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(DataSetConnection().AccDatDropDatabase("", ""));
  EXPECT_FALSE(DataSetConnection().AccDatDropDatabase("", DataFolder(3)));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("ユーザーデータベースの削除処理に失敗しました。\r接続パスを確認して下さい。", 0), 0u);
}

TEST_F(Connections, FileManagerConnectsOnlyWhenItsFileExists) {
  EXPECT_TRUE(DataSetConnection().fnFileManConnected(""));
  EXPECT_EQ(DataSetConnection().IBFileMan.DatabaseName, inst_.fileManagerDatabase);
  DataSetConnection().IBFileMan.Close();
  std::filesystem::remove(inst_.fileManagerDatabase);
  EXPECT_FALSE(DataSetConnection().fnFileManConnected(""));
  EXPECT_TRUE(shown_.empty());
}

TEST_F(Connections, OverTcpByHostName) {
  if (ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  InstallMarks();
  ConnectKind = 1;
  SystemDef.HostName = "localhost";
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  EXPECT_EQ(SystemStore().IBDatabaseDEF.DatabaseName, "localhost:" + inst_.systemDatabase);
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", DataFolder(1), true));
  EXPECT_EQ(DataSetConnection().IBDatabaseDAT.DatabaseName, "localhost:" + DataFolder(1) + "/rqacc.fdb");
  EXPECT_EQ(log_.writes, 0);
  EXPECT_EQ(QueryDat("SELECT SHOUGOU FROM ACCDEF1"), "株式会社テスト商事");

  // Another attachment of the server makes the file "in use"; the caller's own does not.
  EXPECT_FALSE(DataSetConnection().AccDatInConnection(1, "", DataFolder(1), false));
  TIBDatabase other;
  other.DatabaseName = "127.0.0.1:" + DataFolder(1) + "/rqacc.fdb";
  other.Params = TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
  other.Open();
  EXPECT_TRUE(DataSetConnection().AccDatInConnection(1, "", DataFolder(1), false));
  other.Close();
  EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());

  DataSetConnection().AccDatDisconnect("", false, false);
  SystemDef.HostName = "127.0.0.1";
  EXPECT_TRUE(DataSetConnection().AccDatDropDatabase("", DataFolder(2)))
      << "the drop names the server even for 127.0.0.1";
  EXPECT_FALSE(std::filesystem::exists(DataFolder(2) + "/rqacc.fdb"));
  EXPECT_TRUE(shown_.empty());
}
