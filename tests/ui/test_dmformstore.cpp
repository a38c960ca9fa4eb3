// The base form's size memory and operation history on a real installation:
// FORMRSIZE in the system database and OPINF in the connected data set.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dmtest.h"
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
  ASSERT_TRUE(DM->fnAccDefConnected("", false));
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
  DM->IBDatabaseDEF.Close();
  Remembered form;
  form.KeepOnClose = true;
  form.show();
  EXPECT_EQ(form.size(), QSize(640, 480));
  form.Close();
}

}  // namespace
