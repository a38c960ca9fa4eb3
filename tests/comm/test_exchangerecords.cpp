// The exchange's own connection to the data set: the cloud columns written
// only from data version 11.0.1 on, the version read for a check-in and the
// combine settings kept over a receive.
#include <gtest/gtest.h>

#include "comm/exchangerecords.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"

namespace {

class ExchangeRecordsTest : public dmtest::DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    state_.SyoriType = opCloudReceive;
    state_.DataFolder = DataFolder(1);
  }
  std::string Db() const { return DataFolder(1) + "/rqacc.fdb"; }
  std::string Query(const std::string& sql) {
    ConnectDataSet(1);
    const std::string v = QueryDat(sql);
    DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
    return v;
  }
  TTusinState state_;
};

TEST(CloudColumns, VersionComparedLexicographically) {
  struct Case { int a, b, c; bool present; } cases[] = {
      {11, 0, 0, false}, {11, 0, 1, true}, {11, 1, 0, true}, {12, 0, 0, true},
      {12, 1, 0, true},  {10, 9, 9, false}, {13, 0, 0, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CloudColumnsPresent(c.a, c.b, c.c), c.present) << c.a << "." << c.b << "." << c.c;
}

TEST_F(ExchangeRecordsTest, CloudLineAndTimeFollowTheDataVersion) {
  struct Case { const char* version; int major, minor1, minor2; bool written; } cases[] = {
      {"11.0.0", 11, 0, 0, false}, {"11.0.1", 11, 0, 1, true}, {"12.0.0", 12, 0, 0, true},
  };
  for (const Case& c : cases) {
    ExecOn(Db(), "UPDATE ACCVERSION SET MAJOR=" + std::to_string(c.major) + ", MINOR1=" + std::to_string(c.minor1) +
                     ", MINOR2=" + std::to_string(c.minor2) + " WHERE REC=1");
    ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_LINE=3, CLOUD_TIME=NULL WHERE REC=1");
    TExchangeRecords records(state_);
    ASSERT_TRUE(records.WriteCloudTime((EncodeDate(2024, 5, 6) + EncodeTime(7, 8, 9, 0)))) << c.version;
    ASSERT_TRUE(records.ReadVersionOrClearCloudLine(false)) << c.version;
    EXPECT_EQ(Query("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"), c.written ? "0" : "3") << c.version;
    EXPECT_EQ(Query("SELECT CASE WHEN CLOUD_TIME IS NULL THEN 0 ELSE 1 END FROM ACCDEF1 WHERE REC=1"),
              c.written ? "1" : "0")
        << c.version;
    EXPECT_TRUE(shown_.empty());
  }
}

TEST_F(ExchangeRecordsTest, VersionReadForTheCheckIn) {
  ExecOn(Db(), "UPDATE ACCVERSION SET MAJOR=11, MINOR1=2, MINOR2=3 WHERE REC=1");
  TExchangeRecords records(state_);
  ASSERT_TRUE(records.ReadVersionOrClearCloudLine(true));
  EXPECT_EQ(state_.CloudVerMajor, 11);
  EXPECT_EQ(state_.CloudVerMinor1, 2);
  EXPECT_EQ(state_.CloudVerMinor2, 3);
  EXPECT_FALSE(records.IBDatabaseDAT.Connected());
}

TEST_F(ExchangeRecordsTest, MissingDataSetReportsAndFails) {
  state_.DataFolder = temp_.Path() + "/nothing";
  TExchangeRecords records(state_);
  EXPECT_FALSE(records.WriteCloudTime((EncodeDate(2024, 1, 1) + EncodeTime(0, 0, 0, 0))));
  ASSERT_FALSE(shown_.empty());
  EXPECT_NE(shown_.front().text.find("ユーザーデータベースの接続処理に失敗しました。"), std::string::npos);
}

TEST_F(ExchangeRecordsTest, CombineSettingsKeptOverAReceive) {
  ExecOn(Db(), "DELETE FROM ACCREG WHERE AGROUP='基本設定' AND ACODE IN ('合算データ区分','合算データ数')");
  state_.SavedCombineKind = "keep";
  TExchangeRecords records(state_);
  EXPECT_EQ(records.ReadCombineSettings(), 1);
  EXPECT_EQ(state_.SavedCombineKind, "keep");  // missing rows: a failure reported, values unchanged
  EXPECT_FALSE(shown_.empty());
  shown_.clear();

  ExecOn(Db(), "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','合算データ区分','整数','10')");
  ExecOn(Db(), "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','合算データ数','整数','4')");
  EXPECT_EQ(records.ReadCombineSettings(), 1);
  EXPECT_EQ(state_.SavedCombineKind, "10");
  EXPECT_EQ(state_.SavedCombineCount, "4");
  state_.SavedCombineKind = "0";
  state_.SavedCombineCount = "0";
  EXPECT_EQ(records.WriteCombineSettings(), 1);
  EXPECT_EQ(Query("SELECT ATEXT FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='合算データ区分'"), "0");
  EXPECT_TRUE(shown_.empty());
}

}  // namespace
