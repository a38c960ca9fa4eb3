// Loading the local data-set list: sort kinds with the named rows first,
// children attached to their parents, the CLOUD column present or not (system
// database above or at 11.0.0), stored paths in their native form, and the
// records' own rules (status texts, local folders, child numbering).
#include "core/globals.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/systemstore.h"
#include "dstest.h"
#include "platform/rtl/sysutils.h"

namespace {

using dstest::DsTest;

class DataListTest : public DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    // Named rows 3, 5, 7 and 9; row 7 a combined parent with two children.
    ExecDef({
        "UPDATE DATALIST SET ENTTEXT='乙商事', SHOUGOU='乙商事', NENDO=5, KISHU='2020-04-01', KIMATU='2021-03-31',"
        " DATACODE='B01', VER_MAJOR=11, VER_MINOR1=1 WHERE REC=3",
        "UPDATE DATALIST SET ENTTEXT='甲工業', SHOUGOU='甲工業', NENDO=12, KISHU='2019-01-01', KIMATU='2019-12-31',"
        " DATACODE='A01', VER_MAJOR=10, CLOUD=1 WHERE REC=5",
        "UPDATE DATALIST SET ENTTEXT='乙商事', SHOUGOU='乙商事', NENDO=6, KISHU='2021-04-01', KIMATU='2022-03-31',"
        " DATACODE='B01', GASSAN=1, VER_MAJOR=11, VER_MINOR1=1, VER_MINOR2=2 WHERE REC=7",
        "UPDATE DATALIST SET ENTTEXT='Zeta', SHOUGOU='Zeta', NENDO=1, KISHU='2018-04-01', KIMATU='2019-03-31',"
        " PASNAME='" + sysDir_ + "/a0009' WHERE REC=9",
        "INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, ENTTEXT, PASNAME, GASSAN) VALUES (7, 2, 10000, '支店B', '" +
            sysDir_ + "/0007/002', 10)",
        "INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, ENTTEXT, PASNAME, GASSAN) VALUES (7, 1, 10000, '支店A', '" +
            sysDir_ + "/0007/001', 10)",
    });
    ConnectDef();
  }

  std::vector<int> Load(TDataSentakuListCtl& list, std::uint8_t sortKind, bool descending,
                        const std::string& orderText = "") {
    list.Execute(0, sortKind, descending, orderText);
    std::vector<int> recs;
    for (const TDataSentakuRec& row : list.List) recs.push_back(row.Row.Rec);
    EXPECT_EQ(list.ListCount, static_cast<int>(list.List.size()));
    return recs;
  }
  // The first n numbers of a list.
  static std::vector<int> Head(const std::vector<int>& recs, std::size_t n) {
    return std::vector<int>(recs.begin(), recs.begin() + static_cast<long>(std::min(n, recs.size())));
  }
};

TEST_F(DataListTest, SortKindsListTheNamedRowsFirst) {
  TDataSentakuListCtl list;
  struct Case {
    std::uint8_t sortKind;
    bool descending;
    std::vector<int> head;
  } cases[] = {
      {1, false, {1, 2, 3, 4, 5}},
      {1, true, {120, 119, 118, 117, 116}},
      {2, false, {9, 7, 3, 5, 1, 2}},            // by name ("Zeta" first in CP932), term descending; then unnamed by number
      {2, true, {5, 7, 3, 9, 120, 119}},
      {3, false, {9, 3, 7, 5, 1}},
      {4, true, {7, 3, 5, 9, 120}},
      {6, false, {5, 3, 7, 9, 1}},               // versions: 10.0.0, 11.1.0, 11.1.2, and 0.0.0 of row 9 ... see below
      {7, false, {9, 5, 7, 3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Format("sort %d %s", c.sortKind, c.descending ? "desc" : "asc"));
    if (c.sortKind == 6) continue;  // checked separately below
    const std::vector<int> recs = Load(list, c.sortKind, c.descending);
    EXPECT_EQ(recs.size(), 120u);
    EXPECT_EQ(Head(recs, c.head.size()), c.head);
  }
  std::vector<int> recs = Load(list, 6, false);
  EXPECT_EQ(Head(recs, 5), (std::vector<int>{9, 5, 3, 7, 1}));
  // Path order: the named rows by upper-cased path, then the unnamed rows by path.
  recs = Load(list, 5, false);
  EXPECT_EQ(Head(recs, 5), (std::vector<int>{3, 5, 7, 9, 1}));
  // Kind 0 takes the caller's ordering; kind 9 none, in one query.
  recs = Load(list, 0, false, "ORDER BY NENDO DESC,REC");
  EXPECT_EQ(Head(recs, 3), (std::vector<int>{5, 7, 3}));
  EXPECT_EQ(Load(list, 9, false).size(), 120u);
}

TEST_F(DataListTest, RowsCarryTheirColumnsAndChildren) {
  TDataSentakuListCtl list;
  Load(list, 1, false);
  const TDataSentakuRec& parent = list.List[6];
  EXPECT_EQ(parent.Row.Rec, 7);
  EXPECT_EQ(parent.Row.EntText, "乙商事");
  EXPECT_EQ(parent.Row.DispName, "乙商事");
  EXPECT_EQ(parent.Row.Nendo, 6);
  EXPECT_EQ(parent.Row.KikanText, "2021/04/01 ～ 2022/03/31");
  EXPECT_EQ(parent.Row.GroupId, 10000);
  EXPECT_EQ(parent.Row.Gassan, 1);
  EXPECT_EQ(parent.Row.DataFolder, sysDir_ + "/0007");
  ASSERT_EQ(parent.ChildCount, 2);
  EXPECT_EQ(parent.Children[0].PasName, sysDir_ + "/0007/001");
  EXPECT_EQ(parent.Children[0].RowNo, 1);
  EXPECT_EQ(list.ChildListCount, 2);
  EXPECT_EQ(list.List[4].Row.Cloud, 1);

  TDataSentakuRec row = parent;
  TDataSentakuListCtl::NumberChildDispNames(row);
  EXPECT_EQ(row.Children[0].DispName, "01 支店A");
  EXPECT_EQ(row.Children[1].DispName, "02 支店B");
  TDataSentakuListCtl::DeleteChildEntry(row, 0);
  ASSERT_EQ(row.ChildCount, 1);
  EXPECT_EQ(row.Children[0].EntText, "支店B");
  TDataSentakuRec empty;
  TDataSentakuListCtl::DeleteChildEntry(empty, 0);
  EXPECT_EQ(empty.ChildCount, 0);

  // A child whose parent is not listed stays only in the child list.
  ExecDef({"INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, ENTTEXT, PASNAME, GASSAN) VALUES (8, 1, 20000, 'x', 'y', 10)"});
  SystemDef.GroupId = 20000;
  Load(list, 1, false);
  EXPECT_TRUE(list.List.empty());
  EXPECT_EQ(list.ChildListCount, 1);
}

TEST_F(DataListTest, TheCloudColumnIsReadOnlyAboveVersion11_0_0) {
  {
    TDataSentakuListCtl list;
    EXPECT_EQ(list.HasCloudColumn, 1);  // 11.0.1
  }
  // An older system database: no CLOUD column at all.
  SystemStore().IBDatabaseDEF.Close();
  ExecDef({"ALTER TABLE DATALIST DROP CLOUD", "ALTER TABLE CHILD_DATALIST DROP CLOUD",
           "ALTER TABLE DATALIST_EX DROP CLOUD", "ALTER TABLE CHILD_SERVERDATALIST DROP CLOUD",
           "ALTER TABLE SERVERDATALIST DROP CLOUD"});
  SystemDef.SysVerMinor2 = 0;  // 11.0.0
  ConnectDef();
  TDataSentakuListCtl list;
  EXPECT_EQ(list.HasCloudColumn, 0);
  Load(list, 2, false);
  ASSERT_EQ(list.List.size(), 120u);
  EXPECT_EQ(list.List[3].Row.Rec, 5);
  EXPECT_EQ(list.List[3].Row.Cloud, 0);
  EXPECT_EQ(list.ChildListCount, 2);
  // Rows are also written without it.
  TDataListRec rec = list.List[3].Row;
  rec.Cloud = 1;
  rec.EntText = "甲工業(新)";
  EXPECT_TRUE(list.UpdateDataListRecord(rec, 0, true));
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=5"), "甲工業(新)");
  EXPECT_TRUE(reported_.empty());
}

TEST_F(DataListTest, StoredPathsAreLoadedInTheirNativeForm) {
  ExecDef({"UPDATE DATALIST SET PASNAME='C:\\corvex\\data\\0011\\' WHERE REC=11",
           "UPDATE DATALIST SET NETDRIVE=1 WHERE REC=12"});
  TDataSentakuListCtl list;
  Load(list, 1, false);
  EXPECT_EQ(list.List[10].Row.PasName, "C:/corvex/data/0011/");
  EXPECT_EQ(list.List[10].Row.DataFolder, "C:/corvex/data/0011");
  // A "shared" row whose path is its own working folder is a local row.
  EXPECT_EQ(list.List[11].Row.NetDrive, 0);
  EXPECT_EQ(list.List[11].Row.DataFolder, sysDir_ + "/0012");
}

TEST_F(DataListTest, ServerModeAndDataPlaces) {
  TDataSentakuListCtl list;
  list.ServerMode = 1;
  Load(list, 1, false);
  EXPECT_EQ(list.ListCount, 0);
  list.ServerMode = 0;
  list.ServerExecute(0, "/mnt/share", 1, false, "");
  EXPECT_EQ(list.ListCount, 0);

  // A data place exists only in the client kinds.
  list.SetDataPlace(3);
  EXPECT_EQ(list.DataPlace, 0);
  EXPECT_EQ(list.TableName, "DATALIST");
  list.ConnectKind = 1;
  list.SetDataPlace(3);
  EXPECT_EQ(list.TableName, "DATALIST_EX");
  ExecDef({"INSERT INTO DATAPLACEMAN (REC, NAME) VALUES (3, 'place')",
           "INSERT INTO DATALIST_EX (DATAPLACEREC, REC, GROUPID, PASNAME, ENTTEXT) VALUES (3, 1, 10000, '/p/0001', 'P1')",
           "INSERT INTO DATALIST_EX (DATAPLACEREC, REC, GROUPID, PASNAME, ENTTEXT) VALUES (3, 2, 10000, '/p/0002', '')"});
  EXPECT_EQ(Load(list, 2, false), (std::vector<int>{1, 2}));
  EXPECT_EQ(list.List[0].Row.EntText, "P1");
}

TEST(DataListRecords, StatusTextsAndLocalFolders) {
  const std::pair<int, const char*> texts[] = {{-1, "状態不明"}, {0, "－"}, {1, "－"}, {2, "使用中"},
                                               {3, "データロック中"}, {9, "新規作成中"}, {10, "破損"},
                                               {11, "状態不明"}, {255, "状態不明"}};
  for (const auto& [status, text] : texts) EXPECT_EQ(DataStatusText(status), text) << status;

  SystemDef.SysDir = "/data/sys";
  struct Case {
    int netDrive;
    std::uint8_t gassan;
    const char* pasName;
    const char* folder;
  } cases[] = {
      {1, 0, "/mnt/share/sv0003", "/data/sys/0007"},
      {1, 10, "/mnt/share/sv0003/002", "/data/sys/0007/002"},
      {0, 0, "/data/sys/0007/", "/data/sys/0007"},
      {1, 0, "", ""},
  };
  for (const Case& c : cases) {
    TDataListRec rec;
    rec.Rec = 7;
    rec.NetDrive = c.netDrive;
    rec.Gassan = c.gassan;
    rec.PasName = c.pasName;
    EXPECT_EQ(DataFolderPath(rec), c.folder) << c.pasName;
  }
}

}  // namespace
