// The shared-server list kept in step with the local rows, the list of a
// drive loaded and rebuilt from its folders, new area names, the mapping
// between local working folders and share paths, and the data module's hook.
#include <filesystem>

#include "core/globals.h"
#include "dataselect/connsettings.h"
#include "dataselect/datalistctl.h"
#include "dataselect/datalisthook.h"
#include "dbaccess/datasethooks.h"
#include "dstest.h"
#include "platform/rtl/datetime.h"

namespace fs = std::filesystem;

namespace {

using dstest::DsTest;

class ServerRowsTest : public DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    share_ = root_ + "/share";
    other_ = root_ + "/other";
    for (const std::string& d : {share_ + "/sv0001/001", share_ + "/sv0001/002", share_ + "/sv0002",
                                 share_ + "/corvexzaimu_backup", other_ + "/sv0001"})
      fs::create_directories(d);
    WriteShareDrive("F", share_);
    WriteShareDrive("G", other_);
    ConnectDef();
  }
  std::vector<std::string> ServerRows(const char* letter = "F") {
    return RowsDef(std::string("SELECT REC,ENTTEXT,PASNAME,DATALOCK FROM SERVERDATALIST WHERE DRIVELETTER='") + letter +
                   "' ORDER BY REC");
  }
  TDataListRec SharedRow(const std::string& path, const std::string& name) {
    TDataListRec rec;
    TDataSentakuListCtl::InitDataListRecord(rec, path);
    rec.NetDrive = 1;
    rec.EntText = name;
    rec.Shougou = name;
    rec.Kishu = EncodeDate(2020, 4, 1);
    rec.Kimatu = EncodeDate(2021, 3, 31);
    return rec;
  }
  std::string share_, other_;
};

TEST_F(ServerRowsTest, ServerRowsFollowTheLocalRows) {
  ExecDef({"INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME, ENTTEXT) VALUES (10000, 'G', 1, '" +
               other_ + "/sv0001', '別ドライブ')",
           "UPDATE DATALIST SET PASNAME='" + share_ + "/sv0001', NETDRIVE=1 WHERE REC=5"});
  TDataSentakuListCtl list;
  // A new path: inserted with the next number of its drive, the lock passed to the local rows.
  TDataListRec rec = SharedRow(share_ + "/sv0001", "甲");
  rec.DataLock = 15;
  ASSERT_TRUE(list.UpdateServerDataListRecord(rec, 0, true));
  EXPECT_EQ(rec.Rec, 1);
  TDataListRec second = SharedRow(share_ + "/sv0002", "乙");
  ASSERT_TRUE(list.UpdateServerDataListRecord(second, 0, true));
  EXPECT_EQ(second.Rec, 2);
  EXPECT_EQ(ServerRows(), (std::vector<std::string>{"1|甲|" + share_ + "/sv0001|15", "2|乙|" + share_ + "/sv0002|0"}));
  EXPECT_EQ(QueryDef("SELECT DATALOCK FROM DATALIST WHERE REC=5"), "15");
  // An update writes the name only when asked.
  rec.EntText = "甲2";
  rec.DataLock = 0;
  ASSERT_TRUE(list.UpdateServerDataListRecord(rec, 0, true));
  EXPECT_EQ(ServerRows()[0], "1|甲|" + share_ + "/sv0001|0");
  ASSERT_TRUE(list.UpdateServerDataListRecord(rec, 1, true));
  EXPECT_EQ(ServerRows()[0], "1|甲2|" + share_ + "/sv0001|0");
  // Two rows of one path are replaced by one new row.
  ExecDef({"INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME) VALUES (10000, 'F', 7, '" + share_ +
           "/sv0002')"});
  ASSERT_TRUE(list.UpdateServerDataListRecord(second, 1, true));
  EXPECT_EQ(second.Rec, 2);
  EXPECT_EQ(ServerRows().size(), 2u);
  // A folder that is gone: nothing written to the server list, the lock still passed on.
  TDataListRec gone = SharedRow(share_ + "/sv0009", "丙");
  gone.DataLock = 21;
  ExecDef({"UPDATE DATALIST SET PASNAME='" + share_ + "/sv0009', NETDRIVE=1 WHERE REC=6"});
  ASSERT_TRUE(list.UpdateServerDataListRecord(gone, 1, true));
  EXPECT_EQ(ServerRows().size(), 2u);
  EXPECT_EQ(QueryDef("SELECT DATALOCK FROM DATALIST WHERE REC=6"), "21");
  // An emptied area loses its row; an area named as free keeps it.
  second.Kishu = second.Kimatu = 0;
  second.EntText = kAreaFree;
  ASSERT_TRUE(list.UpdateServerDataListRecord(second, 1, true));
  EXPECT_EQ(ServerRows().size(), 2u);
  second.EntText.clear();
  ASSERT_TRUE(list.UpdateServerDataListRecord(second, 1, true));
  EXPECT_EQ(ServerRows().size(), 1u);
  // The other drive's row of the same number was never touched.
  EXPECT_EQ(ServerRows("G"), std::vector<std::string>{"1|別ドライブ|" + other_ + "/sv0001|0"});
}

TEST_F(ServerRowsTest, ChildServerRowsTakeTheirParentsNumber) {
  TDataSentakuListCtl list;
  TDataListRec parent = SharedRow(share_ + "/sv0001", "親");
  ASSERT_TRUE(list.UpdateServerDataListRecord(parent, 1, true));
  TDataListRec child = SharedRow(share_ + "/sv0001/002", "子");
  child.Gassan = 10;
  child.RowNo = 2;
  ASSERT_TRUE(list.UpdateServerDataListRecord(child, 1, true));
  EXPECT_EQ(child.Rec, parent.Rec);
  EXPECT_EQ(RowsDef("SELECT REC,ROWNO,ENTTEXT FROM CHILD_SERVERDATALIST"), std::vector<std::string>{"1|2|子"});
  // A child whose parent has no server row is not written.
  TDataListRec orphan = SharedRow(share_ + "/sv0002/001", "孤");
  orphan.Gassan = 10;
  orphan.RowNo = 1;
  ASSERT_TRUE(list.UpdateServerDataListChildRecord(orphan, 1, true));
  EXPECT_EQ(orphan.Rec, 0);
  EXPECT_TRUE(list.DeleteServerDataListChildRecord(child, true));
  EXPECT_TRUE(RowsDef("SELECT REC FROM CHILD_SERVERDATALIST").empty());
}

TEST_F(ServerRowsTest, DriveListsAreRebuiltFromTheirFoldersAndLoaded) {
  TDataSentakuListCtl list;
  list.ServerMode = 1;
  list.ServerExecute(1, share_, 1, false, "");
  ASSERT_EQ(list.ListCount, 2);  // the backup folder is left out whatever its case
  EXPECT_EQ(list.List[0].Row.PasName, share_ + "/sv0001");
  EXPECT_EQ(list.List[0].Row.EntText, kAreaFree);
  EXPECT_EQ(list.List[0].Row.KikanText, "～");
  EXPECT_EQ(list.List[0].Row.Rec, 0);
  ASSERT_EQ(list.List[0].ChildCount, 2);
  EXPECT_EQ(list.List[0].Children[1].PasName, share_ + "/sv0001/002");
  EXPECT_EQ(list.List[0].Children[1].RowNo, 2);
  EXPECT_EQ(list.List[0].Children[1].Gassan, 10);
  EXPECT_EQ(list.ChildListCount, 2);

  // Registered rows, loaded with the named rows first.
  for (const auto& [path, name] : {std::pair<std::string, std::string>{share_ + "/sv0001", "Beta"},
                                   {share_ + "/sv0002", kAreaFree}}) {
    TDataListRec rec = SharedRow(path, name);
    ASSERT_TRUE(list.UpdateServerDataListRecord(rec, 1, true));
  }
  ExecDef({"INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME, ENTTEXT) VALUES (10000, 'F', 3, '" +
           share_ + "/sv0000', 'Alpha')"});
  list.ServerExecute(0, share_, 2, false, "");
  ASSERT_EQ(list.ListCount, 3);
  EXPECT_EQ(list.List[0].Row.EntText, "Alpha");
  EXPECT_EQ(list.List[1].Row.EntText, "Beta");
  EXPECT_EQ(list.List[2].Row.EntText, kAreaFree);
  EXPECT_EQ(list.List[0].Row.NetDrive, 1);
  EXPECT_EQ(list.List[0].Row.DataFolder, sysDir_ + "/0003");
  // Kind 1 is ordered by path, also when descending.
  list.ServerExecute(0, share_, 1, true, "");
  EXPECT_EQ(list.List[0].Row.PasName, share_ + "/sv0000");
}

TEST_F(ServerRowsTest, NextAreaNames) {
  TDataSentakuListCtl list;
  std::string name;
  list.NextServerFolderName(share_, 1, name);
  EXPECT_EQ(name, "sv0001");
  ExecDef({"INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME) VALUES (10000, 'F', 1, '" + share_ +
               "/sv0041')",
           "INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME) VALUES (10000, 'F', 2, '" + share_ +
               "/sv0007')",
           "INSERT INTO SERVERDATALIST (GROUPID, DRIVELETTER, REC, PASNAME) VALUES (10000, 'G', 1, '" + other_ +
               "/sv0090')"});
  list.NextServerFolderName(share_, 1, name);
  EXPECT_EQ(name, "sv0042");
  list.NextServerFolderName(other_, 1, name);
  EXPECT_EQ(name, "sv0091");
}

TEST_F(ServerRowsTest, LocalWorkingFoldersMapToSharePaths) {
  ExecDef({"UPDATE DATALIST SET PASNAME='" + share_ + "/sv0001', NETDRIVE=1, KYOYULOCK=1, GASSAN=1 WHERE REC=12",
           "INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, PASNAME, GASSAN) VALUES (12, 3, 10000, '" + share_ +
               "/sv0001/003', 10)"});
  TDataSentakuListCtl list;
  std::string share;
  std::int32_t netDrive = 0, kyoyuLock = 0;
  ASSERT_TRUE(list.ConvLocalPathToSharePath(sysDir_ + "/0012/003", share, netDrive, kyoyuLock));
  EXPECT_EQ(share, share_ + "/sv0001/003");
  EXPECT_EQ(netDrive, 1);
  EXPECT_EQ(kyoyuLock, 1);
  // A registered local folder stays itself.
  ASSERT_TRUE(list.ConvLocalPathToSharePath(sysDir_ + "/0004", share, netDrive, kyoyuLock));
  EXPECT_EQ(share, sysDir_ + "/0004");
  EXPECT_EQ(netDrive, 0);

  TDataSentakuRec row;
  EXPECT_EQ(list.GetDataListRecordByLocalPath(sysDir_ + "/0012", row), 1);
  EXPECT_EQ(row.Row.PasName, share_ + "/sv0001");
  EXPECT_EQ(row.Row.DataFolder, sysDir_ + "/0012");
  EXPECT_EQ(row.ChildCount, 1);
  EXPECT_EQ(list.GetDataListRecordByLocalPath(root_ + "/nowhere", row), 0);
  EXPECT_EQ(row.Row.Rec, 0);
  EXPECT_EQ(row.Row.Nendo, 1);

  // The share path leads back to the local row and its folder.
  TDataListRec byShare;
  TDataSentakuListCtl::InitDataListRecord(byShare, sysDir_ + "/0012");
  list.GetDataListRecord(1, byShare, true);
  EXPECT_EQ(byShare.Rec, 12);
  EXPECT_EQ(byShare.PasName, share_ + "/sv0001");
  std::string folder;
  list.GetShareLocalFolder(share_ + "/sv0001", 0, folder);
  EXPECT_EQ(folder, sysDir_ + "/0012");
  list.GetShareLocalFolder(share_ + "/sv0001/003", 10, folder);
  EXPECT_EQ(folder, sysDir_ + "/0012/003");
  list.GetShareLocalFolder(share_ + "/sv0002", 0, folder);
  EXPECT_EQ(folder, "");
  EXPECT_TRUE(reported_.empty());
}

TEST_F(ServerRowsTest, TheDataModuleHookRewritesTheRowOfALeftDataSet) {
  InstallDataListHook();
  ASSERT_TRUE(DataSetHooks.UpdateDataListRow);
  TDataListFigures figures;
  figures.CODE = "C9";
  figures.SHOUGOU = "株式会社フック";
  figures.NENDO = 3;
  figures.KISHU = EncodeDate(2022, 4, 1);
  figures.KIMATU = EncodeDate(2023, 3, 31);
  figures.MAJOR = 11;
  figures.MINOR1 = 1;
  figures.VERSION2 = "19版";
  figures.CLOUD_SHARE = 1;
  DataSetHooks.UpdateDataListRow(sysDir_ + "/0002", figures);
  EXPECT_EQ(QueryDef("SELECT DATACODE,SHOUGOU,NENDO,VER_MAJOR,VER_TEXT,CLOUD FROM DATALIST WHERE REC=2"),
            "C9|株式会社フック|3|11|19版|1");
  EXPECT_TRUE(reported_.empty());
}

}  // namespace
