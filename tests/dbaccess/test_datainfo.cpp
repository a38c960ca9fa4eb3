// The data-set information against the test installation: the per-data
// settings file and its status marks, the read from the database, the
// data-list name, the shared-server take-out and bring-back, edition names.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

using namespace dmtest;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return Cp932ToUtf8(s.str());
}

}  // namespace

class DataInfo : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    InstallDataInfoHooks();
  }
  TDataInfomation info_;
};

TEST_F(DataInfo, SettingsFileRoundTripKeepsKeysInOrder) {
  const std::string folder = temp_.File("set");
  fs::create_directories(folder);
  TDataInfomationRec rec;
  rec.STATUS = dsInUse;
  rec.SHARE_STATUS = ssTakenOut;
  rec.SHARE_OPCODE = 100000011;
  rec.SHARE_OPERATOR = "一般担当";
  rec.UPDATE_LOCK = 1;
  rec.SHOUGOU = "株式会社テスト";
  rec.KISHU = "2019/04/01";
  rec.SIWAKE = 12;
  rec.TOTALSIWAKE = 15;
  rec.VERSION1 = {11, 2, 0};
  rec.VERSION2 = "11版";
  rec.GASSANKBN = 1;
  rec.USEMYNUMBER = 1;
  info_.WriteIniFile(folder, "", rec);

  const std::string text = Slurp(folder + "/rqacc.ini");
  EXPECT_EQ(text.find("OPCODE=0"), std::string::npos) << "no holder keys for OPCODE 0";
  EXPECT_NE(text.find("[DATASTS]\r\nSTATUS=2\r\nSHARE_STATUS=2\r\nSHARE_OPCODE=100000011\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("VERSION1=11.2.0\r\n"), std::string::npos);
  EXPECT_LT(text.find("[DATASTS]"), text.find("[DATAINFO]"));

  TDataInfomationRec back;
  ASSERT_EQ(info_.ReadIniFile("", folder, back), 1);
  TDataInfomationRec expected = rec;
  expected.DATALISTNAME = rec.SHOUGOU;  // an empty list name reads as the company name
  EXPECT_EQ(back, expected);
}

TEST_F(DataInfo, StatusMarksWriteAndRemoveTheHolder) {
  const std::string folder = temp_.File("marks");
  fs::create_directories(folder);
  info_.WriteIniFile(folder, "", TDataInfomationRec{});
  struct Case {
    std::uint8_t status;
    bool holder;
  } cases[] = {{dsCopying, true}, {dsFree, false}, {dsDamaged, true}, {dsSaving, true}, {dsFree, false}};
  for (const Case& c : cases) {
    info_.SetStatus(folder, c.status);
    TDataInfomationRec rec;
    ASSERT_EQ(info_.ReadIniFile("", folder, rec), 1);
    EXPECT_EQ(rec.STATUS, c.status);
    EXPECT_EQ(rec.OPCODE, c.holder ? kOpLevel9 : 0) << int(c.status);
    EXPECT_EQ(rec.OPERATOR, c.holder ? "試験担当" : "");
  }
  info_.SetShareStatus(folder, ssTakenOut);
  TDataInfomationRec rec;
  info_.ReadIniFile("", folder, rec);
  EXPECT_EQ(rec.SHARE_STATUS, ssTakenOut);
  EXPECT_EQ(rec.SHARE_OPCODE, kOpLevel9);
  EXPECT_EQ(info_.ChangeShareStatus(folder, ssTakenOut), 0) << "unchanged";
  EXPECT_EQ(info_.ChangeShareStatus(folder, ssOnServer), 1);
  info_.ReadIniFile("", folder, rec);
  EXPECT_EQ(rec.SHARE_OPCODE, 0);

  // Server kinds never write the file.
  info_.ConnectKind = ckServer;
  info_.SetStatus(folder, dsDamaged);
  info_.ConnectKind = ckLocal;
  info_.ReadIniFile("", folder, rec);
  EXPECT_EQ(rec.STATUS, dsFree);
}

TEST_F(DataInfo, MissingSettingsFileIsWrittenFromTheDatabase) {
  const std::string folder = DataFolder(1);
  fs::remove(folder + "/rqacc.ini");
  TDataInfomationRec rec;
  ASSERT_EQ(info_.ReadIniFile("", folder, rec), 1);
  EXPECT_TRUE(fs::exists(folder + "/rqacc.ini"));
  EXPECT_EQ(rec.STATUS, dsFree);
  EXPECT_EQ(rec.OPCODE, 0);
  EXPECT_EQ(rec.SHOUGOU, "株式会社テスト商事");
  EXPECT_EQ(rec.KISHU, "2019/04/01");
  EXPECT_EQ(rec.SIWAKE, 2);
  EXPECT_EQ(rec.TOTALSIWAKE, 3);
  EXPECT_EQ(rec.VERSION1[0], 11);
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());

  // The data module's connect with the mark writes STATUS 2 and the operator.
  ASSERT_TRUE(DataSetConnection().fnAccDatConnected("", folder, true));
  info_.ReadIniFile("", folder, rec);
  EXPECT_EQ(rec.STATUS, dsInUse);
  EXPECT_EQ(rec.OPCODE, kOpLevel9);
  DataSetConnection().AccDatDisconnect(folder, true, false);
  info_.ReadIniFile("", folder, rec);
  EXPECT_EQ(rec.STATUS, dsFree);

  TDataInfomationRec none;
  EXPECT_EQ(info_.ReadIniFile("", temp_.File("nothing"), none), 0);
  EXPECT_EQ(none, TDataInfomationRec{});
}

TEST_F(DataInfo, DataListNameIsCutTo40BytesAndTrimmed) {
  TDataInfomationRec rec;
  rec.DATALISTNAME = "　" + std::string(36, 'A') + "あいう";  // 2 + 36 + 6 bytes
  rec.UPDATE_LOCK = 1;
  info_.UpdateDataInfomation("", DataFolder(1), rec);
  EXPECT_EQ(rec.DATALISTNAME, std::string(36, 'A') + "あ");
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT ENTTEXT FROM ACCDEF1 WHERE REC=1"), rec.DATALISTNAME);
  EXPECT_EQ(QueryDat("SELECT DATALOCK FROM ACCDEF1 WHERE REC=1"), "1");
  DataSetConnection().AccDatDisconnect("", false, false);
}

TEST_F(DataInfo, EditionNames) {
  struct Case {
    int major, minor;
    const char* name;
  } cases[] = {{0, 5, "評価版"}, {0, 0, "0.0"}, {3, 0, "11版"}, {1, 0, "09版"}, {7, 1, "7.1"}};
  for (const Case& c : cases) {
    std::string name;
    info_.GetEditionName(c.major, c.minor, name);
    EXPECT_EQ(name, c.name) << c.major << "." << c.minor;
  }
}

TEST_F(DataInfo, SharedDataTakeOutAndBringBack) {
  const std::string shared = temp_.File("shared");
  const std::string local = temp_.File("local/a/b");
  fs::copy(DataFolder(1), shared, fs::copy_options::recursive);
  info_.RefreshIniFile(shared, "");

  ASSERT_EQ(info_.GetSharedData(shared, local, 0), 1);
  EXPECT_TRUE(fs::exists(local + "/rqacc.fdb"));
  TDataInfomationRec rec;
  info_.ReadIniFile("", shared, rec);
  EXPECT_EQ(rec.STATUS, dsFree);
  EXPECT_EQ(rec.SHARE_STATUS, ssTakenOut);
  EXPECT_EQ(rec.SHARE_OPCODE, kOpLevel9);

  // Taken out already: -1, marks unchanged, the local database is not overwritten.
  std::ofstream(local + "/rqacc.fdb", std::ios::app) << "local work";
  const auto size = fs::file_size(local + "/rqacc.fdb");
  EXPECT_EQ(info_.GetSharedData(shared, local, 1), -1);
  EXPECT_EQ(fs::file_size(local + "/rqacc.fdb"), size);

  ASSERT_EQ(info_.PutSharedData(shared, local, 1), 1);
  EXPECT_EQ(fs::file_size(shared + "/rqacc.fdb"), size);
  info_.ReadIniFile("", shared, rec);
  EXPECT_EQ(rec.STATUS, dsFree);
  EXPECT_EQ(rec.SHARE_STATUS, ssOnServer);

  // Damaged shared data is refused.
  info_.SetStatus(shared, dsDamaged);
  EXPECT_THROW(info_.GetSharedData(shared, local, 0), std::exception);
  EXPECT_EQ(info_.GetSharedData(shared, local, 1), -1);
  EXPECT_THROW(info_.GetSharedData(temp_.File("gone"), local, 0), std::exception);
  EXPECT_EQ(info_.GetSharedData("", local, 0), 0);
}

TEST_F(DataInfo, RightToUseNeedsEveryBranch) {
  EXPECT_TRUE(info_.IsDataSiyouKengen(DataFolder(1))) << "unrestricted operator";
  EXPECT_TRUE(info_.IsDataSiyouKengen(temp_.File("nowhere"))) << "no database file";
  EXPECT_FALSE(info_.IsDataSiyouKengen(""));
  EXPECT_TRUE(shown_.empty());

  const std::string db = DataFolder(3) + "/rqacc.fdb";
  for (const char* sql : {"DELETE FROM OPLICENSE", "DELETE FROM OPDEFSISETU",
                          "INSERT INTO OPDEFSISETU(OPCODE,SCODE) VALUES(100000011,'00')",
                          "INSERT INTO OPLICENSE(OPCODE,SCODE) VALUES(100000011,'00')",
                          "INSERT INTO OPLICENSE(OPCODE,SCODE) VALUES(100000011,'01')"})
    ExecOn(db, sql);
  SystemDef.OpCode = kOpLevel3;
  SystemDef.JobLevel = 3;
  EXPECT_FALSE(info_.IsDataSiyouKengen(DataFolder(3)));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.substr(0, 30), std::string("このデータを扱う権限がありません、他のデータを選択して下さい。").substr(0, 30));
  ExecOn(db, "INSERT INTO OPLICENSE(OPCODE,SCODE) VALUES(100000011,'02')");
  EXPECT_TRUE(info_.IsDataSiyouKengen(DataFolder(3)));
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
}

// A server installation reads the data-set list: a lock row names the
// holder; otherwise the data set's own database answers.
TEST_F(DataInfo, ServerKindReadsTheDataSetList) {
  const std::string folder = DataFolder(1);
  // The list row of data set 1, pointing at this test's copy of the installation.
  ExecOn(inst_.systemDatabase, "UPDATE DATALIST SET DATALOCK=11, ENTTEXT='一覧名', PASNAME='" + folder + "' WHERE REC=1");
  ConnectKind = ckServer;
  SystemDef.HostName = "127.0.0.1";  // this machine: the files are opened directly
  info_.ConnectKind = ckServer;
  TDataInfomationRec rec;
  EXPECT_EQ(info_.ReadIniFile(SystemDef.HostName, folder, rec), 0);
  EXPECT_EQ(rec.STATUS, dsLocked);
  EXPECT_EQ(rec.OPCODE, 100000011);
  EXPECT_EQ(rec.OPERATOR, "一般担当");
  EXPECT_EQ(rec.DATALISTNAME, "一覧名");

  ExecOn(inst_.systemDatabase, "UPDATE DATALIST SET DATALOCK=0 WHERE REC=1");
  EXPECT_EQ(info_.ReadIniFile(SystemDef.HostName, folder, rec), 1);
  EXPECT_EQ(rec.STATUS, dsFree);
  EXPECT_EQ(rec.SHOUGOU, "株式会社テスト商事");
  EXPECT_FALSE(fs::exists(folder + "/rqacc.ini.tmp"));

  EXPECT_EQ(info_.ReadIniFile(SystemDef.HostName, temp_.File("none"), rec), 1);
  EXPECT_EQ(rec.STATUS, dsNotConnectable);
  ConnectKind = ckLocal;
}
