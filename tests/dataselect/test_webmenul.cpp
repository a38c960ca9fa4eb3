// The logged-in users window, started by its process name on the test
// installation's system database with rows in its logon list.
#include <QTest>

#include "core/globals.h"
#include "core/processforms.h"
#include "dataselect/webmenul.h"
#include "dstest.h"
#include "platform/vcl/perfectgrid.h"

using namespace dstest;

namespace {

class WebMenuL : public DsTest {
 protected:
  // The window's rows as "No|code|name", read while it is on screen; the
  // keys Escape (ignored) and F12 (closes with OK) are pressed on it.
  struct Run {
    std::int32_t result = -2;
    bool shown = false;
    bool closedByF12 = false;
    bool visibleAfterEscape = false;
    std::vector<std::string> rows;
  };
  Run Start() {
    Run run;
    responder_.Then([&run](const ShownDialog& shown) -> TModalResult {
      if (shown.kind != "TfmWebMenuL") return mrOk;
      auto* dialog = shown.window;
      run.shown = dialog->isVisible();
      auto* grid = dialog->findChild<TPerfectGrid*>("PerfectGrid1");
      for (int r = 1; grid && r <= grid->Rows(); ++r)
        run.rows.push_back(grid->CellText(r, 0) + "|" + grid->CellText(r, 1) + "|" + grid->CellText(r, 2));
      if (!run.shown) return mrNone;
      QTest::keyClick(dialog, Qt::Key_Escape);
      run.visibleAfterEscape = dialog->isVisible();
      QTest::keyClick(dialog, Qt::Key_F12);
      run.closedByF12 = !dialog->isVisible() && dialog->result() == mrOk;
      return mrNone;
    });
    const TProcessClass* cls = FindProcessClass(kProcLoginUsers);
    EXPECT_NE(cls, nullptr);
    if (!cls) return run;
    std::unique_ptr<IProcessForm> form = cls->Create(nullptr);
    EXPECT_NE(form, nullptr);
    if (!form) return run;
    form->SetParams({"SyoriType=0", "FormStyle=0"});
    run.result = form->Execute(1);
    return run;
  }

  void LogOn(std::int32_t LogonCode, std::int32_t OpCode) {
    ExecDef({"INSERT INTO LOGONUSERLIST(OPCODE,GROUPID,OPERATORCODE,PCNAME) VALUES(" + std::to_string(LogonCode) +
             ",10000," + std::to_string(OpCode) + ",'pc" + std::to_string(LogonCode) + "')"});
  }
};

TEST_F(WebMenuL, OnlyTheCurrentOperatorClosesAtOnceWithZero) {
  SystemDef.OpCode = 100000010;
  LogOn(100000010, 10);
  ConnectDef();
  const Run run = Start();
  EXPECT_EQ(run.result, 0);
  EXPECT_FALSE(run.shown) << "the window closes at once";
  EXPECT_TRUE(run.rows.empty());
}

TEST_F(WebMenuL, ListsEveryOtherOperatorWithTheirNames) {
  SystemDef.OpCode = 100000010;
  LogOn(100000010, 10);  // the current operator is not listed
  LogOn(100000011, 11);
  LogOn(100000012, 12);
  LogOn(100000099, 99);  // no operator row: an empty name
  ConnectDef();
  const Run run = Start();
  EXPECT_EQ(run.result, 1);
  EXPECT_TRUE(run.shown);
  EXPECT_TRUE(run.visibleAfterEscape) << "Escape does nothing";
  EXPECT_TRUE(run.closedByF12);
  ASSERT_EQ(run.rows.size(), 3u);
  EXPECT_EQ(run.rows[0], "1|11|一般担当");
  EXPECT_EQ(run.rows[1], "2|12|別端末担当");
  EXPECT_EQ(run.rows[2], "3|99|");
}

TEST_F(WebMenuL, MoreThanAHundredLoggedOnOperatorsAreAllListed) {
  SystemDef.OpCode = 100000010;
  std::vector<std::string> inserts;
  for (int i = 0; i < 120; ++i)
    inserts.push_back("INSERT INTO LOGONUSERLIST(OPCODE,GROUPID,OPERATORCODE,PCNAME) VALUES(" +
                      std::to_string(200000000 + i) + ",10000,11,'pc')");
  ExecDef(inserts);
  ConnectDef();
  const Run run = Start();
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.rows.size(), 120u);
  EXPECT_EQ(run.rows.back(), "120|11|一般担当");
}

}  // namespace
