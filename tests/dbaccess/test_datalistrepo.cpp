// The list tables' repository where the link window marks a damaged data
// set: the row found by its path within the group, letter case ignored, and
// the damaged status written to that row (or child) only.
#include "core/globals.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/systemstore.h"
#include "dmtest.h"
#include "platform/fb/transactionguard.h"

using namespace dmtest;

namespace {

class DataListRepo : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  }
  void Def(const std::string& sql) { ExecOn(inst_.systemDatabase, sql); }
  // Key:DATA_STATUS of every row of a table with a status, by key.
  std::string Marked(const std::string& table, const std::string& key) {
    std::string text;
    TIBSQL q;
    q.SetDatabase(&SystemStore().IBDatabaseDEF);
    q.SetTransaction(&SystemStore().IBTransactionDEF);
    TTransactionGuard scope(SystemStore().IBTransactionDEF);
    scope.Begin();
    SetSql(q, "SELECT " + key + ",DATA_STATUS FROM " + table + " WHERE DATA_STATUS<>0 ORDER BY " + key);
    for (q.ExecQuery(); !q.Eof(); q.Next())
      text += q.Fields(0).AsString() + ":" + q.Fields(1).AsString() + ";";
    q.Close();
    scope.Commit();
    return text;
  }
};

TEST_F(DataListRepo, DamagedMarkReachesTheRowOfThePathOnly) {
  Def("UPDATE DATALIST SET PASNAME='/srv/Share/Firma' WHERE REC=7");
  Def("UPDATE DATALIST SET PASNAME='/srv/Share/Other', GROUPID=20000 WHERE REC=11");
  Def("INSERT INTO CHILD_DATALIST(REC,ROWNO,GROUPID,PASNAME) VALUES(7,1,10000,'/srv/Share/Firma/01')");
  Def("INSERT INTO CHILD_DATALIST(REC,ROWNO,GROUPID,PASNAME) VALUES(7,2,10000,'/srv/Share/Firma/02')");
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  scope.Begin();
  TIBSQL& q = SystemStore().IBSQLDEF;
  EXPECT_EQ(TDataListTable(q).FindNumberInGroup("/SRV/share/firma"), 7);
  EXPECT_EQ(TDataListTable(q).FindNumberInGroup("/srv/Share/Other"), 0) << "another group's row";
  TDataListTable(q).SetStatusOfNumber(7, 1);
  TChildDataListTable(q).SetStatus(7, 2, 1);
  scope.Commit();
  EXPECT_EQ(Marked("DATALIST", "REC"), "7:1;");
  EXPECT_EQ(Marked("CHILD_DATALIST", "ROWNO"), "2:1;");
  EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction());
}

// A child is found by the end of its path; the path's own "_" and "%" are
// characters there, not patterns that match other children.
TEST_F(DataListRepo, ChildFoundByTheEndOfItsPathTakesWildcardsLiterally) {
  Def("INSERT INTO CHILD_DATALIST(REC,ROWNO,GROUPID,PASNAME) VALUES(7,1,10000,'/srv/a/xy1')");
  Def("INSERT INTO CHILD_DATALIST(REC,ROWNO,GROUPID,PASNAME) VALUES(7,2,10000,'/srv/a/x_1')");
  Def("INSERT INTO CHILD_DATALIST(REC,ROWNO,GROUPID,PASNAME) VALUES(7,3,10000,'/srv/a/100%')");
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  scope.Begin();
  TIBSQL& q = SystemStore().IBSQLDEF;
  const struct {
    const char* suffix;
    std::optional<std::int32_t> rowNo;
  } cases[] = {{"x_1", 2}, {"xy1", 1}, {"0%", 3}, {"1%", std::nullopt}, {"0_", std::nullopt}, {"%", 3}, {"a\\x_1", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(TChildDataListTable(q).RowNoOfSuffix(7, c.suffix), c.rowNo) << c.suffix;
  scope.Commit();
}

}  // namespace
