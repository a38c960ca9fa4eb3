// The data module's small services: SYSTEMINI rows, eras, versions, report
// colours, data-folder numbers, the data password prompt, parameter texts,
// cloud-share tests and linked journal rows.
#include "platform/rtl/eras.h"
#include "core/globals.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "dmtest.h"

using namespace dmtest;

TEST(DataFolders, ParseTheNumbersAfterData) {
  struct Case {
    const char *path, *first, *second;
  };
  const Case cases[] = {
      {"/home/a b/Data/00012/003/x", "00012", "003"},
      {"/srv/share/cb_data/7", "7", ""},
      {"/srv/share/DATA", "", ""},
      {"/srv/share/other/1/2", "", ""},
  };
  for (const Case& c : cases) {
    std::string first = "?", second = "?";
    TDM::ParseDataFolder(c.path, first, second);
    EXPECT_EQ(first, c.first) << c.path;
    EXPECT_EQ(second, c.second) << c.path;
  }
  std::string value;
  TDM::GetParamValue("SyoriType=3\r\nFormStyle=2", "formstyle", value);
  EXPECT_EQ(value, "2");
  TDM::GetParamValue("SyoriType=3\nFormStyle=2", "Other", value);
  EXPECT_EQ(value, "");
}

class Services : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  }
};

TEST_F(Services, SystemIniRowsReadAndWrite) {
  TSystemIniRec row;
  row.REC = 77;
  row.RESERVE3 = 9;
  row.SSTR = "x";
  ASSERT_TRUE(SystemStore().GetSysIni(row));
  EXPECT_EQ(row.RESERVE3, 0);
  EXPECT_EQ(row.SSTR, "");
  row.RESERVE2 = 5;
  row.SSTR = "NAME=事務所";
  ASSERT_TRUE(SystemStore().SetSysIni(row));
  row.RESERVE2 = 6;
  ASSERT_TRUE(SystemStore().SetSysIni(row));
  TSystemIniRec back;
  back.REC = 77;
  ASSERT_TRUE(SystemStore().GetSysIni(back));
  EXPECT_EQ(back.RESERVE2, 6);
  EXPECT_EQ(back.SSTR, "NAME=事務所");
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM SYSTEMINI WHERE REC=77"), "1");
}

TEST_F(Services, ErasVersionsAndColours) {
  SystemStore().fnLoadGengo();
  ASSERT_EQ(GengoTable.size(), 5u);
  EXPECT_EQ(GengoTable[0].Name, "令和");
  ExecOn(inst_.systemDatabase, "DELETE FROM GENGO");
  SystemStore().fnLoadGengo();
  ASSERT_EQ(GengoTable.size(), 5u) << "the built-in eras stand in";
  EXPECT_EQ(GengoTable[0].ShortName, "R");
  ExecOn(inst_.systemDatabase, "INSERT INTO GENGO(GNAME,GSIGN,STARTDATE,YEAROFFSET) VALUES('平成','H','1989-01-08',1989)");
  ExecOn(inst_.systemDatabase, "INSERT INTO GENGO(GNAME,GSIGN,STARTDATE,YEAROFFSET) VALUES('令和','R','2019-05-01',2019)");
  SystemStore().fnLoadGengo();
  ASSERT_EQ(GengoTable.size(), 2u);
  EXPECT_EQ(GengoTable[0].StartYear, 2019);
  EXPECT_EQ(GengoTable[1].StartDate, EncodeDate(1989, 1, 8));

  ExecOn(inst_.systemDatabase, "INSERT INTO VERSION(REC,MAJOR,MINOR1,MINOR2) VALUES(90,11,0,5)");
  SystemStore().fnGetSysVersion();
  EXPECT_EQ(SystemDef.SysVerMajor, 11);
  EXPECT_EQ(SystemDef.SysVerMinor1, 0);
  EXPECT_EQ(SystemDef.SysVerMinor2, 5) << "11.0.5 is newer than the script's 11.0.1";

  std::string text = "x";
  SystemStore().fnGetStyleColor(kOpLevel9, "Pallet_CustomColor", text);
  EXPECT_EQ(text, "");
  SystemStore().fnPutStyleColor(kOpLevel9, "Pallet_CustomColor", "ColorA=FFFFFF");
  SystemStore().fnPutStyleColor(kOpLevel9, "Pallet_CustomColor", "ColorA=000000");
  SystemStore().fnGetStyleColor(kOpLevel9, "Pallet_CustomColor", text);
  EXPECT_EQ(text, "ColorA=000000");
  EXPECT_EQ(QueryDef("SELECT LINECOLOR3 FROM STYLECOLOR WHERE STYLENAME='Pallet_CustomColor'"), "-1");
  EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction());
}

TEST_F(Services, DataListNumbersByInstallation) {
  std::int32_t rec = -1, child = -1;
  SystemStore().fnFindDataListRec("/x/Data/00012/003", rec, child);
  EXPECT_EQ(rec, 12);
  EXPECT_EQ(child, 3);
  ConnectKind = 1;
  ExecOn(inst_.systemDatabase, "INSERT INTO DATALIST(REC,GROUPID,PASNAME) VALUES(9055,10000,'/srv/Share/Firma')");
  SystemStore().fnFindDataListRec("/SRV/share/firma", rec, child);
  EXPECT_EQ(rec, 9055);
  EXPECT_EQ(child, 0);
  ConnectKind = 3;
  SystemStore().fnFindDataListRec("/srv/Share/Firma", rec, child);
  EXPECT_EQ(rec, 0);
  ConnectKind = 0;
}

TEST_F(Services, DataPasswordPrompt) {
  AccInf.DataPassword = "abc123";
  std::vector<std::string> answers;
  std::vector<TInputDlgRequest> asked;
  auto answerWith = [&](std::vector<std::string> list) {
    answers = std::move(list);
    asked.clear();
    DbUi.InputDialog = [&](TInputDlgRequest& r) {
      asked.push_back(r);
      if (answers.empty()) return 2;  // cancel
      r.InputText = answers.front();
      answers.erase(answers.begin());
      return kModalOk;
    };
  };
  answerWith({" abc123　"});
  EXPECT_TRUE(DataSetConnection().CheckDataPassword()) << "blanks of both widths around the input are ignored";
  EXPECT_EQ(asked[0].Caption, "パスワードの確認");
  EXPECT_EQ(asked[0].MaxLength, 8);
  EXPECT_EQ(asked[0].InputFilter, 30);

  answerWith({"ABC123", "x", "y"});
  EXPECT_FALSE(DataSetConnection().CheckDataPassword());
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[1].Message, "正しいパスワードを入力して下さい。");
  EXPECT_EQ(asked[1].MessageColor, kRedColor);

  answerWith({});
  EXPECT_FALSE(DataSetConnection().CheckDataPassword());
  EXPECT_EQ(asked.size(), 1u) << "cancel ends the prompt at once";

  AccInf.DataPassword.clear();
  EXPECT_TRUE(DataSetConnection().CheckDataPassword());
}

TEST_F(Services, CloudShareAndLinkedJournalRows) {
  struct Case {
    int oem, app, connect;
    bool strict, result;
  };
  const Case cases[] = {{0, 0, 0, false, true}, {0, 0, 0, true, true}, {0, 0, 2, false, false},
                        {1, 0, 0, false, false}, {0, 2, 1, false, true}, {0, 2, 1, true, false}};
  for (const Case& c : cases) {
    OemKind = static_cast<std::uint8_t>(c.oem);
    AppKind = static_cast<std::uint8_t>(c.app);
    ConnectKind = static_cast<std::uint8_t>(c.connect);
    EXPECT_EQ(DataSetConnection().CanUseCloudShare(c.strict), c.result);
  }
  OemKind = AppKind = ConnectKind = 0;
  EXPECT_FALSE(DataSetConnection().IsCloudData());

  ConnectDataSet(1);
  EXPECT_FALSE(DataSetConnection().ExistsLinkKub9Siwake(0, 3));
  EXPECT_EQ(DataSetConnection().TaxDefUHWithLinkSiwake(2, 0, 0), 2);
  EXPECT_EQ(DataSetConnection().TaxDefUHWithLinkSiwake(0, 0, 0), 0);
  DataSetConnection().IBTransactionDAT.StartTransaction();
  DataSetConnection().IBQACC1.SQL.SetText("UPDATE SIWAKE SET LINKKUB=9 WHERE SWKREC=1");
  DataSetConnection().IBQACC1.ExecSQL();
  DataSetConnection().IBTransactionDAT.Commit();
  EXPECT_TRUE(DataSetConnection().ExistsLinkKub9Siwake(0, 0));
  EXPECT_EQ(DataSetConnection().TaxDefUHWithLinkSiwake(0, 0, 0), 1);
  EXPECT_EQ(DataSetConnection().TaxDefUHForExport(0, 0, 0), 0);
}

// The linked-journal question looks at the rows of kind 9 through the index
// on LINKKUB, never at the whole journal; a deleted row and a credit row of
// that kind do not count, a row of the month-16 slot does in mode 1.
TEST_F(Services, LinkedJournalRowsAreFoundThroughTheirIndex) {
  ConnectDataSet(1);
  EXPECT_FALSE(DataSetConnection().ExistsLinkKub9Siwake(0, 0));
  const std::string plan = DataSetConnection().IBQACC1.Plan();
  EXPECT_NE(plan.find("SIWAKE_LINKKUB"), std::string::npos) << plan;
  EXPECT_EQ(plan.find("NATURAL"), std::string::npos) << plan;

  auto exec = [](const std::string& sql) {
    DataSetConnection().IBTransactionDAT.StartTransaction();
    DataSetConnection().IBQACC1.SQL.SetText(sql);
    DataSetConnection().IBQACC1.ExecSQL();
    DataSetConnection().IBTransactionDAT.Commit();
  };
  exec("UPDATE SIWAKE SET LINKKUB=9, DELFLG=1 WHERE SWKREC=1");
  EXPECT_FALSE(DataSetConnection().ExistsLinkKub9Siwake(0, 0)) << "deleted";
  exec("UPDATE SIWAKE SET DELFLG=0 WHERE SWKREC=1 AND TAISHAKU=2");
  EXPECT_FALSE(DataSetConnection().ExistsLinkKub9Siwake(0, 0)) << "credit row only";
  exec("UPDATE SIWAKE SET DELFLG=0 WHERE SWKREC=1");
  EXPECT_TRUE(DataSetConnection().ExistsLinkKub9Siwake(0, 0));
  EXPECT_FALSE(DataSetConnection().ExistsLinkKub9Siwake(1, 0)) << "not in the month-16 slot";
  exec("UPDATE SIWAKE SET MNUM=16 WHERE SWKREC=1");
  EXPECT_TRUE(DataSetConnection().ExistsLinkKub9Siwake(1, 0));
}

TEST_F(Services, VerificationHookAndDeferredStart) {
  EXPECT_EQ(DataSetConnection().VerifyData("", "/x", 1, 1), 1) << "no hook installed";
  int calls = 0;
  VerifyDataProc = [&](const std::string&, const std::string&, std::int32_t, std::int32_t& result) {
    ++calls;
    result = 0;
  };
  SystemDef.DataCheckMode = 0;
  EXPECT_EQ(DataSetConnection().VerifyData("", "/x", 1, 0), 1);
  EXPECT_EQ(DataSetConnection().VerifyData("", "/x", 1, 1), 0);
  SystemDef.DataCheckMode = 1;
  EXPECT_EQ(DataSetConnection().VerifyData("", "/x", 1, 0), 0);
  EXPECT_EQ(calls, 2);

  std::string started;
  StartProcessProc = [&](const std::string& name, std::int32_t modal, const std::string&) {
    started = name + std::to_string(modal);
    return 0;
  };
  DM->KidouFormName = "TLinkForm";
  DM->KidouModal = 1;
  DM->TimerSyoriKidou.Enabled = true;
  DM->TimerSyoriKidouTimer();
  StartProcessProc = nullptr;
  EXPECT_EQ(started, "TLinkForm1");
  EXPECT_FALSE(DM->TimerSyoriKidou.Enabled);
  EXPECT_EQ(DM->KidouFormName, "");
  EXPECT_EQ(DM->KidouModal, 0);
}
