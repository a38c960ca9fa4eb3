// Operator rights on a data set, job control of menu processes, the default
// facility and the logon row.
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"

using namespace dmtest;

class Rights : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  }
  void Restricted() {
    SystemDef.OpCode = kOpLevel3;
    SystemDef.JobLevel = 3;
    SystemDef.Jimusho = 0;
    SystemDef.UnrestrictedOperators = 0;
  }
};

TEST_F(Rights, UnrestrictedOperators) {
  struct Case {
    int level, jimusho, row20;
    bool unrestricted;
  };
  for (const Case c : {Case{9, 0, 0, true}, Case{3, 0, 1, true}, Case{3, 1, 0, true}, Case{3, 0, 0, false}}) {
    SystemDef.JobLevel = c.level;
    SystemDef.Jimusho = static_cast<std::uint8_t>(c.jimusho);
    SystemDef.UnrestrictedOperators = c.row20;
    EXPECT_EQ(SystemStore().IsUnrestrictedOperator(), c.unrestricted) << c.level << c.jimusho << c.row20;
  }
}

TEST_F(Rights, LicenceRowsDecideARestrictedOperatorsRight) {
  Restricted();
  ConnectDataSet(1);
  EXPECT_TRUE(DataSetConnection().fnGetExistsOpeDefSisetu()) << "the installation gave the operator a default facility";
  DataSetConnection().AccDatDisconnect("", false, false);
  ExecOn(DataFolder(1) + "/rqacc.fdb", "DELETE FROM OPDEFSISETU WHERE OPCODE=" + std::to_string(kOpLevel3));
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPLICENSE WHERE OPCODE=" + std::to_string(kOpLevel3)), "1");
  EXPECT_FALSE(DataSetConnection().fnGetExistsOpeDefSisetu()) << "a licence without a default facility is refused";
  SystemDef.JobLevel = 9;
  EXPECT_TRUE(DataSetConnection().fnGetExistsOpeDefSisetu());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(Rights, JobControlByLevelAndOption) {
  ExecOn(inst_.systemDatabase, "INSERT INTO JOBCONTROL2(LEVELNO,PROC_ID,PROC_OPTION) VALUES(3,'LINK','MODE=EXPORT;FULL')");
  ExecOn(inst_.systemDatabase, "INSERT INTO JOBCONTROL2(LEVELNO,PROC_ID,PROC_OPTION) VALUES(1005,'CLOUD','')");
  struct Case {
    int level, medical;
    const char *proc, *option;
    bool allowed;
  };
  const Case cases[] = {
      {4, 0, "ANY", "", true},            // a level without rows runs everything
      {3, 0, "LINK", "", true},
      {3, 0, "LINK", "EXPORT", true},     // contained anywhere
      {3, 0, "LINK", "IMPORT", false},
      {3, 0, "OTHER", "", false},
      {5, 1, "CLOUD", "  ", true},        // medical layout: level 1000 + 5
      {5, 0, "CLOUD", "", true},
  };
  for (const Case& c : cases) {
    SystemDef.JobLevel = c.level;
    AccInf.MedicalLayout = static_cast<std::uint8_t>(c.medical);
    EXPECT_EQ(SystemStore().SetJobControl(c.proc, c.option), c.allowed) << c.level << " " << c.proc << " " << c.option;
  }
  EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction());
}

TEST_F(Rights, DefaultFacilityAndItsColour) {
  ConnectDataSet(3);
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  std::string name;
  DataSetConnection().GetOpeDefSisetu(name);  // unrestricted, medical: the lowest code other than 00
  EXPECT_EQ(name, "第一病院");
  EXPECT_EQ(SystemDef.DefSisetuCode, "01");
  EXPECT_EQ(SystemDef.DefSisetuJigyoKbn, 2);
  EXPECT_EQ(SystemDef.DefSisetuColor, 0xFFAF80) << "COLOR=0 takes the default colour";

  ConnectDataSet(1);
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  DataSetConnection().GetOpeDefSisetu(name);  // unrestricted, ordinary, no branches: the company itself
  EXPECT_EQ(name, "株式会社テスト商事");
  EXPECT_EQ(SystemDef.CurSisetuCode, " ");

  TVariant v;
  DataSetConnection().GetXstrValue("A=1\r\nCOLOR=255", "color", v);
  EXPECT_EQ(v.AsInteger(), 255);
  DataSetConnection().GetXstrValue("A=1", "COLOR", v);
  EXPECT_EQ(v.AsInteger(), 0xFFAF80);
  DataSetConnection().GetXstrValue("A=1\nname=x", "NAME", v);
  EXPECT_EQ(v.AsString(), "x");
  EXPECT_TRUE(shown_.empty());
}

TEST_F(Rights, MedicalDataWithoutFacilitiesIsReportedDamaged) {
  ConnectDataSet(3);
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  AccInf.SITEN = 0;
  std::string name = "x";
  DataSetConnection().GetOpeDefSisetu(name);
  EXPECT_EQ(name, "");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].text.find("このデータは医療法人データですが、施設管理がおこなわれていません。\rデータが損傷している可能性があります。"),
            std::string::npos);
}

TEST_F(Rights, LogonRowIsDeleted) {
  ExecOn(inst_.systemDatabase, "INSERT INTO LOGONUSERLIST(OPCODE,GROUPID,OPERATORCODE) VALUES(" +
                                   std::to_string(kOpLevel9) + ",10000,10)");
  ExecOn(inst_.systemDatabase, "INSERT INTO LOGONUSERLIST(OPCODE,GROUPID,OPERATORCODE) VALUES(100000001,10000,1)");
  SystemStore().DeleteLogonInfo();
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM LOGONUSERLIST WHERE OPCODE=" + std::to_string(kOpLevel9)), "0");
  AppKind = 1;
  SystemStore().DeleteLogonInfo();
  AppKind = 0;
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM LOGONUSERLIST"), "0");
}
