// The base form's size memory and operation history on a real installation:
// FORMRSIZE in the system database and OPINF in the connected data set.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "platform/fb/ibx.h"
#include "platform/vcl/application.h"
#include "ui/dmformstore.h"
#include "ui/sdi.h"

namespace {

struct Remembered : TBSDI {
  Remembered() : TBSDI(nullptr, bsSizeable, "frmRemembered") {
    setWindowTitle("記憶する処理");
    resize(640, 480);
    Initialized = true;
  }
};

class DmFormStoreTest : public dmtest::DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    EnsureApplication();
    InstallDataModuleFormStore();
  }
  void TearDown() override {
    SetFormDataStore(nullptr);
    SetDbErrorReporter(nullptr);
    DmTest::TearDown();
  }
};

TEST_F(DmFormStoreTest, SizeAndHistoryRoundTripThroughTheDatabases) {
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  ConnectDataSet(1);
  const std::string op = std::to_string(SystemDef.OpCode);
  {
    Remembered form;
    form.KeepOnClose = true;
    form.show();
    EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM FORMRSIZE WHERE OPCODE = " + op + " AND FMNAME = 'frmRemembered'"), "1");
    EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF WHERE OPCODE = " + op), "1");
    form.move(20, 30);
    form.resize(600, 420);
    form.Close();
  }
  EXPECT_EQ(QueryDef("SELECT FMWIDTH || 'x' || FMHEIGHT FROM FORMRSIZE WHERE OPCODE = " + op +
                     " AND FMNAME = 'frmRemembered'"),
            "600x420");
  // The history row of the window is closed again.
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF WHERE OPCODE = " + op), "0");

  Remembered again;
  again.KeepOnClose = true;
  again.show();
  EXPECT_EQ(again.size(), QSize(600, 420));
  again.Close();
}

TEST_F(DmFormStoreTest, WithoutTheSystemDatabaseTheWindowKeepsItsDesignSize) {
  SystemStore().IBDatabaseDEF.Close();
  Remembered form;
  form.KeepOnClose = true;
  form.show();
  EXPECT_EQ(form.size(), QSize(640, 480));
  form.Close();
}

struct Searching : TBSDI {
  Searching() : TBSDI(nullptr, bsDialog, "TFormSearch") { Initialized = true; }
};

// The saved screen value of a form: saved under the form's name for the
// operator, read back by the next form of that name, not by another form.
TEST_F(DmFormStoreTest, ScreenValueIsKeptUnderTheFormsName) {
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  const std::string op = std::to_string(SystemDef.OpCode);
  {
    Searching form;
    form.ScreenValue = "　株式会社 ";
    form.HozonGamenValue();
  }
  EXPECT_EQ(QueryDef("SELECT SSTR FROM STYLECOLOR WHERE OPCODE = " + op + " AND STYLENAME = '020-TFORMSEARCH'"),
            "株式会社");
  Searching again;
  again.ScreenValue = "stale";
  again.FukugenGamenValue();
  EXPECT_EQ(again.ScreenValue, "株式会社");
  Remembered other;
  other.FukugenGamenValue();
  EXPECT_EQ(other.ScreenValue, "");

  // Saved again: the one row is overwritten.
  again.ScreenValue = "有限会社";
  again.HozonGamenValue();
  Searching third;
  third.FukugenGamenValue();
  EXPECT_EQ(third.ScreenValue, "有限会社");
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM STYLECOLOR WHERE OPCODE = " + op + " AND STYLENAME = '020-TFORMSEARCH'"),
            "1");
  EXPECT_TRUE(shown_.empty());
}

// The queries and procedures a form creates work on the data set in the
// form's own transaction, apart from the data module's.
TEST_F(DmFormStoreTest, DataStatementsRunInTheFormsOwnTransaction) {
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  ConnectDataSet(1);
  const std::string op = std::to_string(SystemDef.OpCode);
  Searching form;
  EXPECT_EQ(form.IBTransactionDAT.Params.Lines(), (std::vector<std::string>{"read_committed", "rec_version", "nowait"}));
  EXPECT_EQ(form.IBTransactionDAT.DefaultDatabase(), &DataSetConnection().IBDatabaseDAT);

  std::unique_ptr<TIBQuery> query = form.CreateDatQuery();
  ASSERT_TRUE(query);
  EXPECT_EQ(query->Database(), &DataSetConnection().IBDatabaseDAT);
  EXPECT_EQ(query->Transaction(), &form.IBTransactionDAT);
  EXPECT_TRUE(query->SQL.Text().empty());
  form.IBTransactionDAT.StartTransaction();
  query->SQL.SetText("INSERT INTO OPINF (OPCODE, JOBNAME, PCNAME, OPENTIME) VALUES (" + op +
                     ", '検索', 'pc', CURRENT_TIMESTAMP)");
  query->ExecSQL();
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF WHERE JOBNAME = '検索'"), "0") << "not committed yet";
  form.IBTransactionDAT.Commit();
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF WHERE JOBNAME = '検索'"), "1");

  std::unique_ptr<TIBStoredProc> proc = form.CreateDatProc("OPINF_DELETE");
  ASSERT_TRUE(proc);
  EXPECT_EQ(proc->StoredProcName, "OPINF_DELETE");
  EXPECT_EQ(proc->Transaction(), &form.IBTransactionDAT);
  form.IBTransactionDAT.StartTransaction();
  proc->ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
  proc->ParamByName("JOBNAME").AsString("検索");
  proc->ParamByName("STATE").AsString("正常終了");
  proc->ExecProc();
  form.IBTransactionDAT.Commit();
  EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF WHERE JOBNAME = '検索'"), "0");
  EXPECT_EQ(QueryDat("SELECT STATE FROM OPHIST WHERE JOBNAME = '検索'"), "正常終了");
}

// Without the data module a form has no store and makes no statements.
TEST(BaseFormWithoutDataModule, NoStoreAndNoStatements) {
  EnsureApplication();
  ASSERT_FALSE(DataModuleExists());
  Searching form;
  form.ScreenValue = "x";
  form.HozonGamenValue();
  form.FukugenGamenValue();
  EXPECT_EQ(form.ScreenValue, "");
  EXPECT_FALSE(form.GamenValue);
  EXPECT_FALSE(form.CreateDatQuery());
  EXPECT_FALSE(form.CreateDatProc("OPINF_DELETE"));
}

}  // namespace
