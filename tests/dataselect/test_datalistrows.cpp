// Single rows of the local list: read by number and by path, inserted in the
// client kinds, updated with their children, deleted, renumbered; a path
// with a quote and a percent sign; rows filled from a data set's information.
#include "core/globals.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/systemstore.h"
#include "dstest.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"

namespace {

using dstest::DsTest;

class DataListRowsTest : public DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    ConnectDef();
  }
  std::string Folder(int rec) const {
    char name[8];
    std::snprintf(name, sizeof name, "%04d", rec);
    return sysDir_ + "/" + name;
  }
  TDataListRec Row(TDataSentakuListCtl& list, int rec) {
    TDataListRec row;
    row.Rec = rec;
    list.GetDataListRecord(0, row, true);
    return row;
  }
  std::string Children(int rec) {
    std::string text;
    for (const std::string& r :
         RowsDef("SELECT ROWNO,ENTTEXT FROM CHILD_DATALIST WHERE REC=" + std::to_string(rec) + " ORDER BY ROWNO"))
      text += r + ";";
    return text;
  }
};

TEST_F(DataListRowsTest, ReadByNumberAndByPath) {
  ExecDef({"UPDATE DATALIST SET ENTTEXT='甲', SHOUGOU='甲社', KISHU='2020-04-01', KIMATU='2021-03-31' WHERE REC=4",
           // A second row registered with the same path in other letter case.
           "UPDATE DATALIST SET ENTTEXT='乙', PASNAME='" + UpperCase(Folder(4)) + "' WHERE REC=6"});
  TDataSentakuListCtl list;
  TDataListRec row = Row(list, 4);
  EXPECT_EQ(row.EntText, "甲");
  EXPECT_EQ(row.Shougou, "甲社");
  EXPECT_EQ(row.Nendo, 0);
  EXPECT_EQ(row.KikanText, "2020/04/01 ～ 2021/03/31");
  EXPECT_EQ(row.DataFolder, Folder(4));

  // By path: the row whose folder is the given path wins over the last one.
  for (const std::string& path : {Folder(4), UpperCase(Folder(4))}) {
    TDataListRec byPath;
    TDataSentakuListCtl::InitDataListRecord(byPath, path);
    list.GetDataListRecord(1, byPath, true);
    EXPECT_EQ(byPath.Rec, path == Folder(4) ? 4 : 6) << path;
  }
  // A number without a row keeps the record as it was; a blank path gives an empty row.
  TDataListRec none = Row(list, 999);
  EXPECT_EQ(none.Rec, 999);
  TDataListRec blank;
  blank.Rec = 5;
  list.GetDataListRecord(1, blank, true);
  EXPECT_EQ(blank.Rec, 0);
  EXPECT_EQ(blank.Nendo, 1);
  const std::string mixed = dataRoot_ + "/DATA/0004";
  EXPECT_TRUE(list.IsDataPathToroku(mixed));
  EXPECT_EQ(list.FindRecByPath(mixed), 0);  // exact comparison
  EXPECT_EQ(list.FindRecByPath(Folder(4)), 4);
  EXPECT_EQ(list.FindRecByPath(UpperCase(Folder(4))), 6);
  std::int32_t recNo = 0;
  list.GetRecNoByPath(Folder(17) + "/003", recNo);
  EXPECT_EQ(recNo, 17);
  EXPECT_TRUE(reported_.empty());
}

TEST_F(DataListRowsTest, InsertUpdateDeleteAndRenumberInTheClientKind) {
  TDataSentakuListCtl list;
  TDataListRec rec;
  TDataSentakuListCtl::InitDataListRecord(rec, "/srv/data/new1");
  EXPECT_EQ(rec.Nendo, 1);
  EXPECT_TRUE(list.InsertDataListRecord(rec, true));  // stand-alone: the rows exist beforehand
  EXPECT_EQ(rec.Rec, 0);
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM DATALIST"), "120");

  list.ConnectKind = 1;
  for (const char* path : {"/srv/data/new1", "/srv/data/new2", "/srv/data/new3"}) {
    TDataSentakuListCtl::InitDataListRecord(rec, path);
    rec.EntText = "新規";
    EXPECT_TRUE(list.InsertDataListRecord(rec, true));
  }
  EXPECT_EQ(rec.Rec, 123);  // MAX(REC)+1 each time
  TDataListRec blank;
  EXPECT_FALSE(list.InsertDataListRecord(blank, true));

  // An update for a number whose stored path is another path writes nothing.
  TDataListRec other = Row(list, 122);
  other.PasName = "/srv/data/elsewhere";
  other.EntText = "変更";
  EXPECT_TRUE(list.UpdateDataListRecord(other, 0, true));
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=122"), "新規");
  TDataListRec same = Row(list, 122);
  same.PasName = UpperCase(same.PasName);  // compared without regard to case
  same.EntText = "変更";
  EXPECT_TRUE(list.UpdateDataListRecord(same, 0, true));
  EXPECT_EQ(QueryDef("SELECT ENTTEXT,PASNAME FROM DATALIST WHERE REC=122"), "変更|/SRV/DATA/NEW2");

  // Rows within the fixed list size stay; rows above it go.
  EXPECT_TRUE(list.DeleteDataListRecord(Row(list, 50), true));
  EXPECT_TRUE(list.DeleteDataListRecord(Row(list, 121), true));
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM DATALIST WHERE REC IN (50, 121)"), "1");

  // Renumbering closes the gaps above the list size.
  ExecDef({"UPDATE DATALIST SET REC=130 WHERE REC=123", "UPDATE DATALIST SET REC=125 WHERE REC=122",
           "INSERT INTO DATALIST (REC, GROUPID, PASNAME) VALUES (121, 10000, '/srv/data/x')"});
  list.PackRecNumbers();
  EXPECT_EQ(RowsDef("SELECT REC,PASNAME FROM DATALIST WHERE REC>120 ORDER BY REC"),
            (std::vector<std::string>{"121|/srv/data/x", "122|/SRV/DATA/NEW2", "123|/srv/data/new3"}));
  EXPECT_TRUE(reported_.empty());
}

TEST_F(DataListRowsTest, ChildRowsAreWrittenReadAndDeletedWithTheirParent) {
  TDataSentakuListCtl list;
  TDataSentakuRec parent;
  parent.Row = Row(list, 8);
  parent.Row.Gassan = 1;
  parent.Row.Shougou = "親";
  parent.Row.Kishu = EncodeDate(2020, 4, 1);
  EXPECT_TRUE(list.UpdateDataListRecord(parent.Row, 0, true));
  for (int n : {2, 1}) {
    TDataListRec child;
    TDataSentakuListCtl::InitDataListRecord(child, Folder(8) + "/00" + std::to_string(n));
    child.Rec = 8;
    child.RowNo = n;
    child.Gassan = 10;
    child.EntText = "子" + std::to_string(n);
    EXPECT_TRUE(list.UpdateDataListRecord(child, 0, true));  // a child goes to CHILD_DATALIST
    child.EntText += "改";
    EXPECT_TRUE(list.UpdateDataListChildRecord(child, 0, true));  // now an update
  }
  EXPECT_EQ(Children(8), "1|子1改;2|子2改;");
  list.GetDataListChildRecord(parent, true);
  ASSERT_EQ(parent.ChildCount, 2);
  EXPECT_EQ(parent.Children[0].PasName, Folder(8) + "/001");
  TDataListRec child1 = parent.Children[0];
  EXPECT_EQ(child1.Gassan, 10);

  // A child read by number.
  TDataListRec byNumber;
  byNumber.Rec = 8;
  byNumber.RowNo = 2;
  byNumber.Gassan = 10;
  list.GetDataListRecord(0, byNumber, true);
  EXPECT_EQ(byNumber.EntText, "子2改");

  // Deleting a child in stand-alone mode removes only that child.
  EXPECT_TRUE(list.DeleteDataListRecord(child1, true));
  EXPECT_EQ(Children(8), "2|子2改;");
  // Emptying the parent (no company name, no dates) removes its children.
  parent.Row.Shougou.clear();
  parent.Row.Kishu = parent.Row.Kimatu = 0;
  EXPECT_TRUE(list.UpdateDataListRecord(parent.Row, 0, true));
  EXPECT_EQ(Children(8), "");
  // The client kinds keep children on the server's side.
  list.ConnectKind = 1;
  EXPECT_TRUE(list.UpdateDataListChildRecord(child1, 0, true));
  EXPECT_EQ(Children(8), "");
}

TEST_F(DataListRowsTest, APathWithAQuoteAndAPercentSignIsHandledSafely) {
  const std::string path = "/mnt/it's 100%";
  TIniFile ini(SystemDef.ConnectIniFile);
  ini.WriteString("SHAREDRIVES", "H", "/mnt");
  TDataSentakuListCtl list;
  list.ConnectKind = 1;
  TDataListRec rec;
  TDataSentakuListCtl::InitDataListRecord(rec, path);
  rec.EntText = "引用'率%";
  ASSERT_TRUE(list.InsertDataListRecord(rec, true));
  EXPECT_EQ(QueryDef("SELECT ENTTEXT,PASNAME FROM DATALIST WHERE REC=121"), "引用'率%|" + path);
  EXPECT_TRUE(list.IsDataPathToroku(path));
  EXPECT_FALSE(list.IsDataPathToroku("/mnt/it's 100"));
  EXPECT_EQ(list.FindRecByPath(path), 121);
  TDataListRec byPath;
  TDataSentakuListCtl::InitDataListRecord(byPath, path);
  list.GetDataListRecord(1, byPath, true);
  EXPECT_EQ(byPath.Rec, 121);

  // The shared children of a parent: only the rows under its own folder go.
  ExecDef({"INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME) VALUES (10000, 'H', 1, '" +
               std::string("/mnt/it''s 100%") + "')",
           "INSERT INTO CHILD_SERVERDATALIST (GROUPID, DRIVELETTER, REC, ROWNO, PASNAME) VALUES "
           "(10000, 'H', 1, 1, '/mnt/it''s 100%/001')",
           "INSERT INTO CHILD_SERVERDATALIST (GROUPID, DRIVELETTER, REC, ROWNO, PASNAME) VALUES "
           "(10000, 'H', 1, 2, '/mnt/it''s 100%x/001')",
           "INSERT INTO CHILD_SERVERDATALIST (GROUPID, DRIVELETTER, REC, ROWNO, PASNAME) VALUES "
           "(10000, 'H', 1, 3, '/mnt/it''s 1000/001')"});
  TDataSentakuListCtl local;
  TDataListRec parent;
  TDataSentakuListCtl::InitDataListRecord(parent, path);
  parent.Rec = 9;
  parent.NetDrive = 1;
  EXPECT_TRUE(local.DeleteDataListChildRecord(parent, true));
  EXPECT_EQ(RowsDef("SELECT ROWNO FROM CHILD_SERVERDATALIST ORDER BY ROWNO"), (std::vector<std::string>{"2", "3"}));
  EXPECT_TRUE(reported_.empty());
}

TEST_F(DataListRowsTest, ErrorsAreReportedOrPassedOnAsAsked) {
  TDataSentakuListCtl list;
  TDataListRec rec = Row(list, 3);
  rec.EntText = std::string(50, 'x');  // longer than the column
  EXPECT_FALSE(list.UpdateDataListRecord(rec, 0, true));
  ASSERT_EQ(reported_.size(), 1u);
  EXPECT_NE(reported_[0].text.find("データリストの更新に失敗しました。"), std::string::npos);
  EXPECT_THROW(list.UpdateDataListRecord(rec, 0, false), EIBError);
  EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction());
  // A caller's transaction stays the caller's.
  SystemStore().IBTransactionDEF.StartTransaction();
  rec.EntText = "ok";
  EXPECT_TRUE(list.UpdateDataListRecord(rec, 0, true));
  EXPECT_TRUE(SystemStore().IBTransactionDEF.InTransaction());
  SystemStore().IBTransactionDEF.Commit();
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=3"), "ok");
}

TEST(DataListRecordFromInfo, TakesTheFiguresOfTheInformation) {
  SystemDef.GroupId = 10000;
  SystemDef.OpCode = 100000010;
  SystemDef.SysDir = "/data/sys";
  TDataListInfoFields info;
  info.STATUS = 3;
  info.OPCODE = 100000015;
  info.SHARE_STATUS = 2;
  info.SHARE_OPCODE = 100000010;
  info.SHOUGOU = "株式会社テスト";
  info.KISHU = "2020/04/01";
  info.KIMATU = "bad";
  info.NENDO = 7;
  info.CLOUD_SHARE = 1;
  struct Case {
    int netDrive;
    int rowNo;
    const char* entText;
    const char* expected;
  } cases[] = {
      {0, 0, "", "株式会社テスト"},
      {0, 0, "新しい領域", "新しい領域"},
      {1, 0, "新しい領域", "株式会社テスト"},
      {1, 0, "空き領域", "株式会社テスト"},
      {1, 2, "名前", "名前"},
  };
  for (const Case& c : cases) {
    TDataListRec rec;
    rec.Rec = 7;
    rec.NetDrive = c.netDrive;
    rec.RowNo = c.rowNo;
    rec.PasName = "/mnt/share/sv0001/002";
    info.DATALISTNAME = c.entText;
    TDataSentakuListCtl::SetDataListRecordFromInfo(info, rec);
    EXPECT_EQ(rec.EntText, c.expected);
    EXPECT_EQ(rec.DispName, c.expected);
    EXPECT_EQ(rec.DataLock, 15);
    EXPECT_EQ(rec.KyoyuLock, 1);
    EXPECT_EQ(rec.Kishu, EncodeDate(2020, 4, 1));
    EXPECT_EQ(rec.Kimatu, 0);
    EXPECT_EQ(rec.Gassan, c.rowNo > 0 ? 10 : 0);
    EXPECT_EQ(rec.Cloud, 1);
  }
  // A group of 0 keeps the operator's number as its code.
  SystemDef.GroupId = 0;
  TDataListRec rec;
  info.OPCODE = 15;
  TDataSentakuListCtl::SetDataListRecordFromInfo(info, rec);
  EXPECT_EQ(rec.DataLock, 15);
}

}  // namespace
