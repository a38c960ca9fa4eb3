// The company and accounting information of each company kind, the type
// names, the journal counts and the fixed account codes.
#include <filesystem>

#include "core/globals.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "tax/taxcontext.h"
#include "tax/taxrates.h"

using namespace dmtest;

TEST(TypeNames, NameKindsAndRefuseUnknownOnes) {
  EXPECT_EQ(fnGetDataTypeName(3), "医療法人");
  EXPECT_EQ(fnGetCodeTypeName(2, 3, false), "クリニック");
  EXPECT_EQ(fnGetCodeTypeName(2, 3, true), "個人／クリニック");
  EXPECT_EQ(fnGetCodeTypeName(1, 1, true), "法人");
  try {
    fnGetCodeTypeName(1, 2, true);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "このプログラムでは、該当のコードタイプを処理することが出来ません。(CodeType=2)");
  }
  try {
    fnGetDataTypeName(4);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "このプログラムでは、該当のデータタイプを処理することが出来ません。(DataType=4)");
  }
}

class CompanyInfo : public DmTest {};

TEST_F(CompanyInfo, Corporation) {
  ConnectDataSet(1);
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  EXPECT_EQ(AccInf.SHOUGOU, "株式会社テスト商事");
  EXPECT_EQ(AccInf.DataTypeName, "法人");
  EXPECT_EQ(AccInf.CodeTypeName, "");
  EXPECT_EQ(AccInf.KISHU, EncodeDate(2019, 4, 1));
  EXPECT_EQ(AccInf.SystemKCode[scGenkin], "1110");
  EXPECT_EQ(AccInf.SystemKCode[scKariukeTax], "2190");
  EXPECT_EQ(AccInf.SystemKCode[scKurikosiRieki], "3110");
  EXPECT_EQ(AccInf.SystemKCode[scShokuchi], "9990");
  EXPECT_EQ(AccInf.BillKCode[1], "1320");
  EXPECT_EQ(AccInf.FumeiUserCode, "9990");
  EXPECT_TRUE(AccInf.SystemKCode[scJigyonushiKasi].empty());
  EXPECT_EQ(AccInf.MedicalLayout, 0);
  // No earlier fiscal years recorded: twelve and twenty-four months back.
  EXPECT_EQ(AccInf.KishuTable[1], EncodeDate(2018, 4, 1));
  EXPECT_EQ(AccInf.KimatuTable[1], EncodeDate(2019, 3, 31));
  EXPECT_EQ(AccInf.KishuTable[2], EncodeDate(2017, 4, 1));
  EXPECT_EQ(AccInf.KimatuTable[2], EncodeDate(2018, 3, 31));
  EXPECT_EQ(AccInf.VerMajor, 11);
  EXPECT_EQ(AccInf.KURIKOSI1, AccInf.TAXDEFUH) << "a data set without the column takes TAXDEFUH";
  EXPECT_EQ(AccInf.RateUse[2], 1);
  EXPECT_EQ(AccInf.KobetuGenkaName, "個別原価");
  EXPECT_EQ(AccInf.BranchAll, 1);
  TVariant eight;
  GetAccReg("基本設定", "使用税率8%", "論理", "FALSE", eight);
  EXPECT_TRUE(eight.AsBoolean()) << "the first read stored TRUE";
  EXPECT_EQ(TaxCompany.KariukeKCode, "2190") << "the tax computation has the company settings";
  EXPECT_FALSE(ZeiRituTableOf(TaxCompany).empty());
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(CompanyInfo, IndividualWithTheOwnersAccounts) {
  ConnectDataSet(2);
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  EXPECT_EQ(AccInf.DataTypeName, "個人");
  EXPECT_EQ(AccInf.CodeTypeName, "クリニック");
  EXPECT_EQ(AccInf.SystemKCode[scJigyonushiKasi], "2510");
  EXPECT_EQ(AccInf.SystemKCode[scMotoireKin], "3010");
  EXPECT_TRUE(AccInf.SystemKCode[scKurikosiRieki].empty());
  EXPECT_EQ(AccInf.KishuTable[0], EncodeDate(2020, 1, 1));
}

TEST_F(CompanyInfo, MedicalCorporationWithItsLayoutAndPassword) {
  ConnectDataSet(3);
  // Version 7 and later keep the data password scrambled under its V2 key.
  PutAccReg("基本設定", "データパスワード", "文字", TVariant("old pass"));
  PutAccReg("基本設定", "データパスワードV2", "文字", TVariant("XXXX"));
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  EXPECT_EQ(AccInf.DataTypeName, "医療法人");
  EXPECT_EQ(AccInf.MedicalLayout, 1);
  EXPECT_EQ(AccInf.SystemKCode[scKurikosiRieki], "3120") << "前期繰越利益 for the medical layout";
  EXPECT_EQ(AccInf.SystemKCode[scKyuryo], "6110");
  EXPECT_EQ(AccInf.SystemKCode[scTaishokuKyufu], "6140");
  EXPECT_NE(AccInf.DataPassword, "oldpass");
  EXPECT_EQ(AccInf.BranchAll, SystemDef.Reserve4Flag4);
}

TEST_F(CompanyInfo, MissingRowIsShownAndReadsNothingFurther) {
  ConnectDataSet(1);
  DataSetConnection().AccDatDisconnect("", false, false);
  ExecOn(DataFolder(1) + "/rqacc.fdb", "DELETE FROM ACCDEF1");
  ConnectDataSet(1);
  EXPECT_FALSE(DataSetConnection().fnGetAccInfo());
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "基本情報の取得に失敗しました。\r\r\r[詳細情報]\r基本設定(ACCDEF1)のレコードが見つかりませんでした。");
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
}

TEST_F(CompanyInfo, JournalCountsAndCodeLookups) {
  ConnectDataSet(1);
  std::int32_t valid = -1, upDel = -1;
  EXPECT_EQ(DataSetConnection().GetSiwakeCount("", valid, upDel), 3);
  EXPECT_EQ(valid, 2);
  EXPECT_EQ(upDel, 1) << "a deleted entry counts once (its debit row)";
  EXPECT_EQ(DataSetConnection().GetSiwakeCountTotal(" "), 3);
  EXPECT_EQ(DataSetConnection().GetYukouSiwakeCount("ZZ"), 0);
  std::string k = "x", u = "y";
  DataSetConnection().SetSystemCode("存在しない科目", k, u);
  EXPECT_EQ(k, "");
  EXPECT_EQ(u, "");
  DataSetConnection().UserCodeOfKCode("   ", u);
  EXPECT_EQ(u, "");
  DataSetConnection().UserCodeOfKCode("1110", u);
  EXPECT_EQ(u, "1110");
  std::string version;
  DataSetConnection().fnGetDataBaseVer(version);
  EXPECT_EQ(version, "11.1.0");
  EXPECT_TRUE(DataSetConnection().fnExistence_Table("ACCDEF1"));
  EXPECT_FALSE(DataSetConnection().fnExistence_Table("NO_SUCH_TABLE"));
  EXPECT_TRUE(DataSetConnection().fnExistence_Field("ACCDEF1", "SHOUGOU"));
  EXPECT_FALSE(DataSetConnection().fnExistence_Field("ACCDEF1", "NO_SUCH_COLUMN"));
  EXPECT_EQ(DataSetConnection().fnGetAccTotalName("0000", "PLUSNAME"), "");
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
  EXPECT_EQ(DataSetConnection().fnGetAccTotalName("5880", "PLUSNAME; DELETE FROM ACCREG"), "");
  ASSERT_EQ(shown_.size(), 1u) << "a column name that is no identifier is refused";

  DataSetConnection().AccDatDisconnect("", false, false);
  ExecOn(DataFolder(1) + "/rqacc.fdb", "DELETE FROM ACCVERSION");
  ConnectDataSet(1);
  DataSetConnection().fnGetDataBaseVer(version);
  EXPECT_EQ(version, "0.0.0");
}

TEST_F(CompanyInfo, CountsInsideACallersTransactionPassErrorsOnUnlogged) {
  ConnectDataSet(1);
  DataSetConnection().IBTransactionDAT.StartTransaction();
  DataSetConnection().IBDatabaseDAT.ForceClose();
  EXPECT_ANY_THROW(DataSetConnection().GetUpDelSiwakeCount(""));
  EXPECT_FALSE(std::filesystem::exists(SystemDef.LogDir + "/ErrFbAccess.log"));
  ConnectDataSet(1);
  DataSetConnection().IBDatabaseDAT.ForceClose();
  EXPECT_ANY_THROW(DataSetConnection().GetUpDelSiwakeCount(""));
  EXPECT_TRUE(shown_.empty()) << "logged, not shown";
}
