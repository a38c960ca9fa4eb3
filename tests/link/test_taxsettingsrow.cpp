// The return settings row TAX_KAZEIHOUSIKI of real data sets: inserted once
// with its defaults, read into a fresh parameter record, and the transaction
// and error rules of the loader.
#include "core/globals.h"
#include "core/uiservices.h"
#include "dbaccess/datasetconnection.h"
#include "link/taxsettingsrow.h"
#include "linktest.h"
#include "platform/fb/ibx.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"
#include "ui/coreservices.h"

using namespace linktest;

namespace {

class TaxSettingsRow : public LinkDbTest {};

// A data set without the row gets it inserted with its defaults by the first
// export and keeps exactly that one row through a second export.
TEST_F(TaxSettingsRow, InsertedOnceWithItsDefaults) {
  Connect(kTrading);
  Exec("DELETE FROM TAX_KAZEIHOUSIKI");
  Export(1, 12);
  Export(1, 3);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TAX_KAZEIHOUSIKI"), "1");
  EXPECT_EQ(Scalar("SELECT REC||'/'||SINKOKU_KUBUN||'/'||MINASIRITU1||MINASIRITU2||MINASIRITU3||MINASIRITU4||"
                   "MINASIRITU5||'/'||FUHYO22_KAZEI_COPY||FUHYO52_KAZEI_COPY||'/'||SINKOKUSYO||KEISANTOKUREI "
                   "FROM TAX_KAZEIHOUSIKI"),
            "1/0/9080706050/11/00");
  EXPECT_EQ(Scalar("SELECT CAST(KIKAN_KAISI AS DATE)||' '||CAST(KIKAN_SYURYO AS DATE)||' '||CAST(TEISYUTUBI AS DATE) "
                   "FROM TAX_KAZEIHOUSIKI"),
            "2019-10-01 2020-09-30 1899-12-30");
  // Texts are stored as empty texts, not as nulls.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TAX_KAZEIHOUSIKI WHERE ZEIMUSYO='' AND ZEIRISI_JIMUSHO='' AND SCODE=''"),
            "1");

  TTAXPAR par;
  LoadTaxSettingsRow(ConnectedTaxData(), par);
  EXPECT_EQ(par.MinasiRitu1, Currency::FromRaw(9000));
  EXPECT_EQ(par.MinasiRitu5, Currency::FromRaw(5000));
  EXPECT_EQ(par.KikanFrom, EncodeDate(2019, 10, 1));
  EXPECT_EQ(par.KikanTo, EncodeDate(2020, 9, 30));
  EXPECT_EQ(par.SinkokuName, "確定");
  EXPECT_EQ(par.Header.Name, "株式会社A&B㈱髙橋①");
  EXPECT_EQ(par.Header.Add1, "東京都千代田区1-1");
  EXPECT_EQ(par.Header.Kana, "ｴｰｱﾝﾄﾞﾋﾞｰ");
}

// The stored row of an interim return: its values, the statutory rate of the
// sixth type that no column feeds, and a period start outside the fiscal year
// replaced by the data's start date; the return kinds by number.
TEST_F(TaxSettingsRow, StoredRowIsReadIntoAFreshRecord) {
  Connect(kSettings);
  TTAXPAR par;
  par.SCode = "X1";
  par.KikanSettei = 1;
  LoadTaxSettingsRow(ConnectedTaxData(), par);
  EXPECT_EQ(par.SinkokuKind, 1);
  EXPECT_EQ(par.SinkokuName, "中間");
  EXPECT_EQ(par.SinkokuKubun, 1);
  EXPECT_EQ(par.MinasiRitu1, Currency::FromRaw(8500));
  EXPECT_EQ(par.MinasiRitu2, Currency::FromRaw(8000));
  EXPECT_EQ(par.MinasiRitu5, Currency::FromRaw(4500));
  EXPECT_EQ(par.MinasiRitu6, Currency::FromRaw(4000));
  EXPECT_TRUE(par.KeisanTokurei);
  EXPECT_EQ(par.Header.Zeimusyo, "麹町");
  EXPECT_EQ(par.TyuukanNoufu, Currency(12345));
  EXPECT_EQ(par.KikanFrom, EncodeDate(2019, 12, 1));  // 2018-04-01 lies before the fiscal year
  EXPECT_EQ(par.KikanTo, EncodeDate(2020, 3, 31));
  EXPECT_EQ(par.TaxRateSet1[0], Currency(3));
  EXPECT_EQ(par.TaxRateSet2[0], Currency(5));
  EXPECT_EQ(par.SCode, "");      // the whole record is replaced
  EXPECT_EQ(par.KikanSettei, 0);
  EXPECT_EQ(par.Header.CreateDate, Date());

  const struct {
    int kind;
    const char* name;
  } kinds[] = {{0, "確定"}, {2, "修正"}, {3, ""}};
  for (const auto& k : kinds) {
    Exec("UPDATE TAX_KAZEIHOUSIKI SET SINKOKUSYO=" + std::to_string(k.kind) + " WHERE REC=1");
    LoadTaxSettingsRow(ConnectedTaxData(), par);
    EXPECT_EQ(par.SinkokuName, k.name) << k.kind;
  }
  Exec("UPDATE TAX_KAZEIHOUSIKI SET SINKOKUSYO=1 WHERE REC=1");
}

// The loader commits only a transaction it started; one the caller holds
// stays open, and what the loader inserted in it goes with the caller's
// rollback.
TEST_F(TaxSettingsRow, CallersTransactionIsLeftToTheCaller) {
  Connect(kOldRate);
  Exec("DELETE FROM TAX_KAZEIHOUSIKI");
  TTAXPAR par;
  LoadTaxSettingsRow(ConnectedTaxData(), par);
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TAX_KAZEIHOUSIKI"), "1");

  Exec("DELETE FROM TAX_KAZEIHOUSIKI");
  DataSetConnection().IBTransactionDAT.StartTransaction();
  LoadTaxSettingsRow(ConnectedTaxData(), par);
  EXPECT_TRUE(DataSetConnection().IBTransactionDAT.InTransaction());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TAX_KAZEIHOUSIKI"), "1");
  DataSetConnection().IBTransactionDAT.Rollback();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TAX_KAZEIHOUSIKI"), "0");
}

// A database error: the error box, the error passed on, the loader's own
// transaction ended, and the record left with its defaults.
TEST_F(TaxSettingsRow, DatabaseErrorShowsTheBoxAndPassesOn) {
  Connect(kTrading);
  // A database without the table in the data set's place.
  DataSetConnection().IBDatabaseDAT.Close();
  DataSetConnection().IBDatabaseDAT.DatabaseName = Installation().fileManagerDatabase;
  DataSetConnection().IBDatabaseDAT.Open();
  TTAXPAR par;
  par.MinasiRitu1 = Currency(7);
  EXPECT_THROW(LoadTaxSettingsRow(ConnectedTaxData(), par), EIBError);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].kind, kMsgError);
  EXPECT_EQ(shown_[0].text.rfind("ﾃﾞｰﾀﾍﾞｰｽ ｴﾗｰ\r", 0), 0u) << shown_[0].text;
  EXPECT_EQ(shown_[0].text.substr(shown_[0].text.size() - 2), "\r\r");
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
  EXPECT_EQ(par.SinkokuName, "確定");
  EXPECT_EQ(par.MinasiRitu1, Currency(0));
  EXPECT_EQ(par.TaxRateSet2[0], Currency(5));
  EXPECT_EQ(par.Header.Name, "株式会社A&B㈱髙橋①");
}

// The same error through the program's own error box: the text's "\r" breaks
// its lines instead of standing inside one line.
TEST_F(TaxSettingsRow, DatabaseErrorBoxShowsItsTextLineByLine) {
  EnsureApplication();
  InstallFrameworkServices();
  ScriptedResponder responder(mrOk);
  responder.Install();
  Connect(kTrading);
  DataSetConnection().IBDatabaseDAT.Close();
  DataSetConnection().IBDatabaseDAT.DatabaseName = Installation().fileManagerDatabase;
  DataSetConnection().IBDatabaseDAT.Open();
  TTAXPAR par;
  std::string message;
  try {
    LoadTaxSettingsRow(ConnectedTaxData(), par);
    ADD_FAILURE() << "no error";
  } catch (const EIBError& e) {
    message = e.Message();
  }
  ASSERT_EQ(responder.Shown().size(), 1u);
  const ShownDialog& box = responder.Shown()[0];
  EXPECT_EQ(box.kind, "エラー");
  ASSERT_GE(box.lines.size(), 2u);
  EXPECT_EQ(box.lines[0], "ﾃﾞｰﾀﾍﾞｰｽ ｴﾗｰ");
  EXPECT_EQ(box.lines[1], message.substr(0, message.find_first_of("\r\n")));
  for (const std::string& line : box.lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
}

}  // namespace
