// The data-set management commands of the data-selection dialog against real
// data sets (built once from data/datasetmgmt.txt and copied into the logon
// tests' installation): save and restore, copy and paste, take-out and
// bring-back, with the window offscreen and the boxes answered by the
// responder.
#include "dbaccess/systemstore.h"
#include "mgmttest.h"

#include <functional>

#include "dataselect/cloudshareio.h"
#include "platform/rtl/datetime.h"

using namespace mgmttest;

namespace {

// Makes the selected row a cloud-share data set, as the cloud-share setting
// does, and shows it in the list.
void MarkCloudShare(TDataSentakuBox& Box, const std::string& Folder) {
  ASSERT_TRUE(CloudShareIOOf(Box.CloudShareIO).SetCloudShare(SystemDef.HostName, Folder, 1));
  const int row = Box.PerfectGrid1->Row();
  Box.DataListRefresh(row);
  ASSERT_EQ(Box.GetRowRecord(row)->Cloud, 1);
}

}  // namespace

// ---- copy name -------------------------------------------------------------------------------------------

TEST(DataSetCopyName, EndsInCopyCutTo40Cp932Bytes) {
  std::string zen18, zen19;
  for (int i = 0; i < 18; ++i) zen18 += "あ";
  zen19 = zen18 + "い";
  struct Case {
    std::string name, expect;
  } cases[] = {
      {"アルファ商事", "アルファ商事～コピー"},
      {zen18, zen18 + "～コ"},            // 36 bytes: two more full-width characters fit
      {zen19 + "A", zen19 + "A"},          // 39 bytes: "～" would split, the tail is padded and trimmed
      {"", "～コピー"},
  };
  for (const Case& c : cases) {
    const std::string got = CopyNameOf(c.name);
    EXPECT_EQ(got, c.expect) << c.name;
    EXPECT_LE(Utf8ToCp932(got).size(), 40u);
  }
}

// ---- save and restore ------------------------------------------------------------------------------------

TEST_F(MgmtTest, SaveAndRestoreRoundTripWithTheDataInfoBlock) {
  const std::vector<std::string> journal = Journal(1);
  ASSERT_GE(journal.size(), 40u);
  auto box = Open();
  Select(*box, 1);
  const std::string dest = root_ + "/backup";
  std::int32_t saved = 0;
  const std::set<int> whileSaving = StatusesDuring(1, [&] { saved = BackupToFile(*box, dest); });
  ASSERT_EQ(saved, 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_TRUE(whileSaving.count(dsSaving)) << "status 4 while saving";
  EXPECT_EQ(Status(1), dsFree);
  TDataInfoValues block;
  ASSERT_TRUE(ReadDataInfoBlock(dest + "/rqacc.fbk", false, block));
  EXPECT_EQ(block.SHOUGOU, "株式会社アルファ商事");
  EXPECT_EQ(block.KISHU, "2019/04/01");
  EXPECT_EQ(block.DATAVARSION, "11.1.0");
  EXPECT_GT(block.TOTALSIWAKE, 0);
  EXPECT_EQ(block.GASSAN, 0);
  for (const auto& e : fs::directory_iterator(dest)) EXPECT_EQ(e.path().filename(), "rqacc.fbk") << "no work file left";

  // Work after the save is undone by the restore.
  Exec(Database(1), "DELETE FROM SIWAKE WHERE REC > 10");
  ASSERT_LT(Journal(1).size(), journal.size());
  const std::string backupBytes = ReadBytes(dest + "/rqacc.fbk");
  std::int32_t restored = 0;
  const std::set<int> whileRestoring = StatusesDuring(1, [&] { restored = RestoreFromBackup(*box, dest); });
  ASSERT_EQ(restored, 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_TRUE(whileRestoring.count(dsRestoring)) << "status 5 while restoring";
  EXPECT_EQ(Status(1), dsFree);
  EXPECT_EQ(Journal(1), journal) << "the journal rows are those of the save";
  EXPECT_TRUE(ReadBytes(dest + "/rqacc.fbk") == backupBytes) << "the backup keeps its block; only the work copy loses it";
  EXPECT_FALSE(BoxShown("照合チェックの結果")) << "same company and period: no comparison box";
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=1"), "アルファ商事");
}

TEST_F(MgmtTest, FailedSaveLeavesTheEarlierBackupByteIdentical) {
  const std::string dest = root_ + "/backup";
  fs::create_directories(dest);
  std::ofstream(dest + "/rqacc.fbk", std::ios::binary) << "the earlier backup";
  FaultPointHook = [](std::string_view point) {
    if (point == "backup.written") throw std::runtime_error("disk full");
  };
  auto box = Open();
  Select(*box, 1);
  EXPECT_EQ(BackupToFile(*box, dest), -1);
  FaultPointHook = nullptr;
  EXPECT_TRUE(ReadBytes(dest + "/rqacc.fbk") == "the earlier backup");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dest)) ++files;
  EXPECT_EQ(files, 1u) << "no work file left";
  EXPECT_EQ(Status(1), dsFree);
  EXPECT_TRUE(BoxShown("データベースの保存に失敗しました。"));
  // The temporary folder of the restore is refused as a destination.
  responder_.Clear();
  EXPECT_EQ(BackupToFile(*box, SystemDef.TempDir), 0);
  EXPECT_TRUE(BoxShown("このフォルダは選択出来ません。他の場所を選んで下さい。"));
}

TEST_F(MgmtTest, FailedRestoreLeavesTheDataSetAsItWas) {
  auto box = Open();
  Select(*box, 1);
  const std::string dest = root_ + "/backup";
  ASSERT_EQ(BackupToFile(*box, dest), 1);
  // A damaged backup that still carries a valid data-info block.
  TDataInfoValues block;
  const std::string file = dest + "/rqacc.fbk";
  ASSERT_TRUE(ReadDataInfoBlock(file, true, block));
  std::string data = ReadBytes(file);
  data.resize(data.size() / 3);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << data << Utf8ToCp932(DataInfoBlockText(block));
  Select(*box, 2);
  const std::vector<std::string> company = Rows(Database(2), "SELECT ENTTEXT,DATALOCK,SHOUGOU FROM ACCDEF1");
  const std::vector<std::string> journal = Journal(2);
  responder_.Clear();
  std::int32_t result = 0;
  const std::set<int> seen = StatusesDuring(2, [&] { result = RestoreFromBackup(*box, dest); });
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(seen.count(dsRestoring));
  EXPECT_EQ(Status(2), dsFree) << "the status returns to what it was";
  EXPECT_EQ(Rows(Database(2), "SELECT ENTTEXT,DATALOCK,SHOUGOU FROM ACCDEF1"), company)
      << "nothing was written into the data set after the failure";
  EXPECT_EQ(Journal(2), journal);
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=2"), "アルファ控え");
  EXPECT_FALSE(BoxTexts().empty()) << "the user sees the failure";
}

TEST_F(MgmtTest, RestoreWithoutBlockComparesAfterATrialRestore) {
  auto box = Open();
  Select(*box, 3);
  const std::string dest = root_ + "/backup";
  ASSERT_EQ(BackupToFile(*box, dest), 1);
  TDataInfoValues block;
  ASSERT_TRUE(ReadDataInfoBlock(dest + "/rqacc.fbk", true, block)) << "cut the block off";
  Select(*box, 1);
  const std::vector<std::string> journal = Journal(1);
  std::vector<std::string> seen;
  responder_.Then([&seen](const ShownDialog& shown) {
    seen = shown.lines;
    seen.insert(seen.begin(), shown.caption);
    return mrCancel;
  });
  EXPECT_EQ(RestoreFromBackup(*box, dest), -1);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0], "データ照合チェックの結果");
  std::string all;
  for (const std::string& l : seen) all += l + "\n";
  EXPECT_NE(all.find("会社名に違いがありました。"), std::string::npos) << all;
  EXPECT_NE(all.find("　【復元元】：有限会社ベータ工業"), std::string::npos) << all;
  EXPECT_NE(all.find("期首に違いがありました。"), std::string::npos) << all;
  EXPECT_NE(all.find("仕訳件数(修正・削除仕訳含む)が減っています。"), std::string::npos) << all;
  EXPECT_EQ(Journal(1), journal) << "a refused comparison changes nothing";
  EXPECT_EQ(Status(1), dsFree);
  // Agreeing restores the other company's data.
  responder_.Then(mrOk);
  EXPECT_EQ(RestoreFromBackup(*box, dest), 1);
  EXPECT_EQ(Rows(Database(1), "SELECT SHOUGOU FROM ACCDEF1"), std::vector<std::string>{"有限会社ベータ工業"});
  EXPECT_EQ(Status(1), dsFree);
}

TEST_F(MgmtTest, RestoreIntoAnEmptyAreaCreatesItWithoutComparing) {
  auto box = Open();
  Select(*box, 1);
  const std::string dest = root_ + "/backup";
  ASSERT_EQ(BackupToFile(*box, dest), 1);
  TDataInfoValues block;
  ASSERT_TRUE(ReadDataInfoBlock(dest + "/rqacc.fbk", false, block));
  ASSERT_FALSE(fs::exists(Folder(5)));
  Select(*box, 5);
  responder_.Clear();
  std::int32_t result = 0;
  const std::set<int> seen = StatusesDuring(5, [&] { result = RestoreFromBackup(*box, dest); });
  ASSERT_EQ(result, 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_TRUE(seen.count(dsRestoring));
  EXPECT_EQ(Status(5), dsFree);
  EXPECT_EQ(Journal(5), Journal(1));
  EXPECT_FALSE(BoxShown("照合チェック")) << "an empty area is not compared";
  // The backup's information is kept as the restored data set's, period included.
  const TDataListRec& kept = box->CopySourceRec;
  EXPECT_EQ(kept.Shougou, block.SHOUGOU);
  EXPECT_EQ(kept.Kishu, EncodeDate(2019, 4, 1));
  TDateTime kimatu = 0;
  ASSERT_TRUE(TryStrToDate(block.KIMATU, kimatu)) << block.KIMATU;
  EXPECT_GT(kimatu, kept.Kishu);
  EXPECT_EQ(kept.Kimatu, kimatu);
  EXPECT_EQ(kept.Gassan, 0);
}

TEST_F(MgmtTest, RefusedRestoresReportMinusOneAndChangeNothing) {
  const std::string dest = root_ + "/backup";
  const std::string empty = root_ + "/nobackup";
  fs::create_directories(empty);
  {
    auto box = Open();
    Select(*box, 2);
    ASSERT_EQ(BackupToFile(*box, dest), 1);
  }
  struct Case {
    const char* what;
    std::function<void(TDataSentakuBox&)> prepare;
    std::string from;
    const char* box;
  } cases[] = {
      {"no backup in the folder", [](TDataSentakuBox&) {}, empty,
       "この場所には、バックアップファイル(rqacc.fbk)がありませんでした。"},
      {"locked data", [this](TDataSentakuBox& b) { b.SetDataStatus(Folder(1), 3); }, dest, "データロック中"},
      // Last: the mark stays in the data set.
      {"cloud-share data", [this](TDataSentakuBox& b) { MarkCloudShare(b, Folder(1)); }, dest,
       "クラウドシェアデータのため復元処理は行えません。"},
  };
  const std::vector<std::string> journal = Journal(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto box = Open();
    Select(*box, 1);
    c.prepare(*box);
    const std::uint8_t status = Status(1);
    responder_.Clear();
    EXPECT_EQ(RestoreFromBackup(*box, c.from), -1);
    EXPECT_TRUE(BoxShown(c.box));
    EXPECT_EQ(Journal(1), journal);
    EXPECT_EQ(Status(1), status);
    box->SetDataStatus(Folder(1), dsFree);
  }
}

TEST_F(MgmtTest, ARefusedRestoreOnTheSelectionRoadKeepsTheDialogOpen) {
  // The nested selection of a bring-back restores into the row it picks; a
  // restore that is refused must not count as chosen.
  const std::string empty = root_ + "/nobackup";
  fs::create_directories(empty);
  auto box = std::make_unique<TDataSentakuBox>();
  box->KeepOnClose = true;
  box->SetParams({"SyoriType=5", "OnlySA_Syori=Restore", "OnlySA_BackupPath=" + empty});
  box->PrepareMode();
  box->show();
  box->PerfectGrid1->setFocus();
  for (int rec : {5, 1}) {
    SCOPED_TRACE(rec);
    responder_.Clear();
    Select(*box, rec);
    box->UpdateKeyBar();
    box->F12Click();
    EXPECT_TRUE(BoxShown("この場所には、バックアップファイル(rqacc.fbk)がありませんでした。"));
    EXPECT_NE(box->result(), mrOk);
    EXPECT_TRUE(box->isVisible());
  }
}

// ---- copy and paste ----------------------------------------------------------------------------------------

TEST_F(MgmtTest, CopyAndPasteOfAStandAloneDataSetIntoAnEmptyArea) {
  auto box = Open();
  Select(*box, 1);
  box->UpdateKeyBar();
  ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:コピー");
  box->FKeyClick(2);
  ASSERT_TRUE(box->CopyPending);
  EXPECT_EQ(Status(1), dsCopyingJob) << "the source shows status 6 until the paste";
  Select(*box, 5);
  box->UpdateKeyBar();
  ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:貼り付け");
  const std::set<int> seen = StatusesDuring(5, [&] { box->FKeyClick(2); });
  EXPECT_FALSE(box->CopyPending);
  EXPECT_TRUE(seen.count(dsCopying)) << "status 7 on the target while copying";
  EXPECT_EQ(Status(1), dsFree);
  EXPECT_EQ(Status(5), dsFree);
  EXPECT_EQ(Journal(5), Journal(1));
  EXPECT_EQ(Rows(Database(5), "SELECT ENTTEXT FROM ACCDEF1"), std::vector<std::string>{"アルファ商事～コピー"});
  EXPECT_EQ(QueryDef("SELECT ENTTEXT||'|'||DATACODE FROM DATALIST WHERE REC=5"), "アルファ商事～コピー|A100");
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfRec(*box, 5), dcName), "アルファ商事～コピー");
  EXPECT_FALSE(BoxShown("照合チェック")) << "an empty area is not compared";
}

TEST_F(MgmtTest, PasteOntoTheSourceOnlyEndsTheCopy) {
  auto box = Open();
  Select(*box, 1);
  DataCopyOrPaste(*box, 1);
  ASSERT_EQ(Status(1), dsCopyingJob);
  DataCopyOrPaste(*box, 2);
  EXPECT_FALSE(box->CopyPending);
  EXPECT_EQ(Status(1), dsFree);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MgmtTest, RefusedKindPairsAndTheComparisonBox) {
  auto box = Open();
  // Kinds of the source onto the combined data set (kind 1) and onto normal data.
  struct Case {
    int source;
    int target;
    bool refused;
  } cases[] = {{0, 4, true}, {10, 4, true}, {2, 4, true}, {1, 4, false}, {0, 2, false}, {10, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + " onto " + std::to_string(c.target));
    responder_.Clear();
    TDataInfomationRec source;
    ASSERT_EQ(box->DataInfo->ReadDataInfoFromDb(Folder(2), source), 1);
    source.GASSANKBN = static_cast<std::uint8_t>(c.source);
    EXPECT_EQ(CheckTargetFolder(*box, "貼り付け", source, Folder(c.target)), !c.refused);
    EXPECT_EQ(BoxShown("以下のパターンの復元（貼付）は禁止されています。"), c.refused);
    if (c.refused) {
      EXPECT_TRUE(BoxShown("貼り付け先の合算データ区分が妥当ではありません。"));
    }
  }

  // Through the paste key: normal data onto the combined data set is refused
  // before anything changes.
  {
    responder_.Clear();
    const std::vector<std::string> combined = Rows(Database(4), "SELECT * FROM ACCDEF1");
    Select(*box, 1);
    box->UpdateKeyBar();
    box->FKeyClick(2);
    ASSERT_TRUE(box->CopyPending);
    Select(*box, 4);
    box->UpdateKeyBar();
    ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:貼り付け");
    const std::set<int> seen = StatusesDuring(4, [&] { box->FKeyClick(2); });
    EXPECT_TRUE(BoxShown("以下のパターンの復元（貼付）は禁止されています。"));
    EXPECT_FALSE(seen.count(dsCopying)) << "the refused target is never marked";
    EXPECT_EQ(Rows(Database(4), "SELECT * FROM ACCDEF1"), combined);
    EXPECT_EQ(Status(1), dsFree);
    EXPECT_EQ(Status(4), dsFree);
    EXPECT_FALSE(box->CopyPending);
  }

  // Another company with fewer journals onto the first data set: one box lists it all.
  const std::vector<std::string> journal = Journal(1);
  Select(*box, 3);
  DataCopyOrPaste(*box, 1);
  Select(*box, 1);
  std::vector<std::string> lines;
  std::string caption;
  responder_.Clear();
  responder_.Then([&](const ShownDialog& shown) {
    lines = shown.lines;
    caption = shown.caption;
    return mrCancel;
  });
  DataCopyOrPaste(*box, 2);
  EXPECT_EQ(caption, "データ照合チェックの結果");
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  for (const char* text : {"以下の項目に違いが検出されました。", "会社名に違いがありました。", "　【貼り付け元】：有限会社ベータ工業",
                           "　【貼り付け先】：株式会社アルファ商事", "期首に違いがありました。", "期末に違いがありました。",
                           "　【貼り付け元】：2021/03/31", "仕訳件数(修正・削除仕訳含む)が減っています。",
                           "　【貼り付け元】：3 件", "　【貼り付け先】：20 件"})
    EXPECT_NE(all.find(text), std::string::npos) << text << "\n" << all;
  EXPECT_EQ(Journal(1), journal);
  EXPECT_EQ(Status(1), dsFree);
  EXPECT_EQ(Status(3), dsFree);
  EXPECT_FALSE(box->CopyPending);
}

TEST_F(MgmtTest, PasteIntoOrOverItsOwnSourceIsRefusedBeforeAnythingChanges) {
  // Row 6 names a folder inside the combined data set's folder; row 7 names
  // a child folder of it that holds a copy of a data set.
  fs::create_directories(Folder(4) + "/001");
  fs::copy_file(Database(2), Folder(4) + "/001/rqacc.fdb");
  ExecDef({"UPDATE DATALIST SET PASNAME='" + Folder(4) + "/sub' WHERE REC=6",
           "UPDATE DATALIST SET PASNAME='" + Folder(4) + "/001',ENTTEXT='子データ',SHOUGOU='子データ',DATACODE='C001',"
           "NENDO=1,KISHU='2019-04-01',VER_MAJOR=11,VER_MINOR1=1 WHERE REC=7"});
  auto box = Open();
  const std::vector<std::string> combined = Rows(Database(4), "SELECT ENTTEXT,DATALOCK FROM ACCDEF1");
  struct Case {
    int source, target;
  } cases[] = {{4, 6}, {7, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + " onto " + std::to_string(c.target));
    responder_.Clear();
    Select(*box, c.source);
    DataCopyOrPaste(*box, 1);
    ASSERT_TRUE(box->CopyPending);
    Select(*box, c.target);
    DataCopyOrPaste(*box, 2);
    EXPECT_TRUE(BoxShown("貼付先にコピー元のパスが含まれています。処理を中断します。"));
    EXPECT_FALSE(box->CopyPending);
    EXPECT_FALSE(fs::exists(Folder(4) + "/sub")) << "no target folder was made";
    EXPECT_TRUE(fs::exists(Folder(4) + "/001/rqacc.fdb")) << "the child was not removed";
    EXPECT_EQ(Rows(Database(4), "SELECT ENTTEXT,DATALOCK FROM ACCDEF1"), combined);
    EXPECT_EQ(Status(4), dsFree);
  }
}

TEST_F(MgmtTest, FailedCopyIsReportedAndLeavesTheTargetAlone) {
  struct Case {
    const char* what;
    std::function<void()> prepare;
  } cases[] = {
      // A folder stands where the copy's settings file would go: nothing can
      // be read or written there.
      {"settings file blocked", [this] { fs::create_directories(Folder(5) + "/rqacc.ini"); }},
      // The second file fails: one file of the source has already arrived.
      {"copy fails part-way",
       [] {
         FaultPointHook = [n = 0](std::string_view point) mutable {
           if (point == "copy.written" && ++n == 2) throw std::runtime_error("disk full");
         };
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(Folder(5));
    responder_.Clear();
    auto box = Open();
    Select(*box, 1);
    DataCopyOrPaste(*box, 1);
    Select(*box, 5);
    c.prepare();
    DataCopyOrPaste(*box, 2);
    FaultPointHook = nullptr;
    EXPECT_TRUE(BoxShown("データのコピーに失敗しました。"));
    EXPECT_EQ(QueryDef("SELECT COALESCE(ENTTEXT,'')||'|'||COALESCE(DATACODE,'') FROM DATALIST WHERE REC=5"), "|")
        << "the target's list row is not rewritten";
    EXPECT_EQ(box->PerfectGrid1->CellText(RowOfRec(*box, 5), dcName), "");
    EXPECT_EQ(Status(5), dsFree) << "the target does not stay marked as being pasted";
    EXPECT_EQ(Status(1), dsFree);
    EXPECT_FALSE(box->CopyPending);
  }
}

TEST_F(MgmtTest, EveryPasteRefusalPutsTheSourceBack) {
  struct Case {
    const char* what;
    int target;
    std::function<void(TDataSentakuBox&)> prepare;
    const char* box;
  } cases[] = {
      {"locked target", 2, [this](TDataSentakuBox& b) { b.SetDataStatus(Folder(2), 3); }, "データロック中"},
      // Last: the mark stays in the data set.
      {"cloud-share target", 2, [this](TDataSentakuBox& b) { MarkCloudShare(b, Folder(2)); },
       "クラウドシェアデータのため貼り付け処理は行えません。"},
  };
  const std::vector<std::string> journal = Journal(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    responder_.Clear();
    auto box = Open();
    Select(*box, 1);
    DataCopyOrPaste(*box, 1);
    ASSERT_EQ(Status(1), dsCopyingJob);
    Select(*box, c.target);
    c.prepare(*box);
    DataCopyOrPaste(*box, 2);
    EXPECT_TRUE(BoxShown(c.box));
    EXPECT_FALSE(box->CopyPending);
    EXPECT_EQ(Status(1), dsFree) << "the source no longer shows as being copied";
    EXPECT_EQ(Journal(c.target), journal);
    box->SetDataStatus(Folder(c.target), dsFree);
  }
}

TEST_F(MgmtTest, ClientCopyRunsThroughTheBackupWorkerOnTheServer) {
  if (dstest::ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  const std::vector<std::string> journal = Journal(1);
  ConnectKind = 1;
  SystemStore().IBDatabaseDEF.Close();
  SystemDef.HostName = "localhost";
  SystemDef.ServerWorkDir = root_ + "/servertemp";
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  auto box = Open();
  Select(*box, 1);
  DataCopyOrPaste(*box, 1);
  ASSERT_TRUE(box->CopyPending);
  Select(*box, 5);
  std::set<std::string> locks;
  QTimer watch;
  watch.setInterval(20);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    for (const std::string& l : Rows(systemDatabase_, "SELECT DATALOCK FROM DATALIST WHERE REC=5", "localhost")) locks.insert(l);
  });
  watch.start();
  DataCopyOrPaste(*box, 2);
  watch.stop();
  EXPECT_FALSE(box->CopyPending);
  EXPECT_EQ(Rows(Database(5), "SELECT * FROM SIWAKE ORDER BY REC", "localhost"), journal);
  EXPECT_EQ(Rows(Database(5), "SELECT ENTTEXT FROM ACCDEF1", "localhost"), std::vector<std::string>{"アルファ商事～コピー"});
  EXPECT_EQ(Rows(systemDatabase_, "SELECT ENTTEXT||'|'||DATALOCK||'|'||GASSAN FROM DATALIST WHERE REC=5", "localhost"),
            std::vector<std::string>{"アルファ商事～コピー|0|0"});
  EXPECT_FALSE(fs::exists(Folder(5) + "/rqacc.ini")) << "no settings file in the client modes";
  for (const std::string& l : locks) EXPECT_TRUE(l == "0" || l == "10010") << l;
}

// ---- take-out and bring-back -------------------------------------------------------------------------

TEST_F(MgmtTest, TakeOutAndBringBackOnTheServerWithTheLockMark) {
  if (dstest::ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  // This computer's own installation beside the server's: its system
  // database lists empty areas in its own data folder.
  const std::string localRoot = root_ + "/local";
  const std::string localSys = localRoot + "/norvane/corvexzaimu/data";
  fs::create_directories(localSys);
  fs::copy_file(systemDatabase_, localSys + "/rqaccdef.fdb");
  Exec(localSys + "/rqaccdef.fdb",
       "UPDATE DATALIST SET ENTTEXT='',DATACODE='',SHOUGOU='',PASNAME='" + localSys +
           "/' || LPAD(CAST(REC AS VARCHAR(11)), 4, '0')");
  const char* oldAppData = std::getenv("VERUDA_APPDATA_DIR");
  const std::string keepAppData = oldAppData ? oldAppData : "";
  ::setenv("VERUDA_APPDATA_DIR", localRoot.c_str(), 1);
  SystemDef.WinTempDir = root_ + "/wintemp";
  fs::create_directories(SystemDef.WinTempDir);
  const std::vector<std::string> journal = Journal(1);
  const std::string localData = localSys + "/0005";

  ConnectKind = 1;
  SystemStore().IBDatabaseDEF.Close();
  SystemDef.HostName = "localhost";
  SystemDef.ServerWorkDir = root_ + "/servertemp";
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  // The start hook: the nested dialog on this computer's list, where the user picks row 5.
  std::vector<std::string> started;
  StartProcessProc = [&](const std::string& name, std::int32_t, const std::string& params) {
    started.push_back(name + " " + params);
    EXPECT_EQ(ConnectKind, 0) << "the nested list is this computer's";
    auto local = std::make_unique<TDataSentakuBox>();
    local->KeepOnClose = true;
    std::vector<std::string> lines;
    std::stringstream in(params);
    for (std::string l; std::getline(in, l, '\r');) lines.push_back(l);
    local->SetParams(lines);
    local->PrepareMode();
    local->show();
    local->PerfectGrid1->setFocus();
    local->PerfectGrid1->SetRow(RowOfRec(*local, 5));
    local->UpdateKeyBar();
    local->F12Click();
    return local->result() == mrOk ? 1 : 0;
  };
  auto serverLock = [&] {
    return Rows(systemDatabase_, "SELECT DATALOCK FROM DATALIST WHERE REC=1", "localhost").at(0);
  };
  auto chooseInBox = [](const ShownDialog& shown) {
    if (auto* which = dynamic_cast<TWhichDataSetBox*>(shown.window)) {
      which->btnOKClick();
      return which->result() == mrOk ? mrOk : mrCancel;
    }
    return mrOk;
  };
  auto box = Open();
  Select(*box, 1);
  const int row = box->PerfectGrid1->Row();

  // Take-out.
  responder_.Then(chooseInBox);
  EXPECT_TRUE(TakeOutOrBringBack(*box));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], "WzDataSenkaku SyoriType=5\rOnlySA_Syori=Restore\rOnlySA_BackupPath=" + SystemDef.WinTempDir);
  EXPECT_EQ(ConnectKind, 1);
  EXPECT_EQ(SystemDef.SysDir, sysDir_) << "the server's context is back";
  EXPECT_EQ(Rows(localData + "/rqacc.fdb", "SELECT * FROM SIWAKE ORDER BY REC"), journal) << "taken out";
  EXPECT_EQ(serverLock(), "10010");
  EXPECT_EQ(box->PerfectGrid1->CellNumber(row, dcLock), 10010);

  // Work done outside, then a bring-back whose restore fails: the lock stays.
  Exec(localData + "/rqacc.fdb", "DELETE FROM SIWAKE WHERE REC > 6");
  const std::vector<std::string> worked = Rows(localData + "/rqacc.fdb", "SELECT * FROM SIWAKE ORDER BY REC");
  std::vector<std::string> offered;
  responder_.Then([&](const ShownDialog& shown) {
    offered = shown.lines;
    return chooseInBox(shown);
  });
  FaultPointHook = [](std::string_view point) {
    if (point == "restore.restored") throw std::runtime_error("server stopped");
  };
  EXPECT_FALSE(TakeOutOrBringBack(*box));
  FaultPointHook = nullptr;
  EXPECT_EQ(offered, std::vector<std::string>{"データを持ち帰りました"}) << "a taken-out row offers only the bring-back";
  EXPECT_EQ(serverLock(), "10010") << "a failed bring-back keeps the lock";
  EXPECT_EQ(box->PerfectGrid1->CellNumber(row, dcLock), 10010);
  EXPECT_EQ(Rows(Database(1), "SELECT * FROM SIWAKE ORDER BY REC", "localhost"), journal);

  // The bring-back that succeeds clears the lock.
  responder_.Then(chooseInBox);
  EXPECT_TRUE(TakeOutOrBringBack(*box));
  EXPECT_EQ(Rows(Database(1), "SELECT * FROM SIWAKE ORDER BY REC", "localhost"), worked);
  EXPECT_EQ(serverLock(), "0");
  EXPECT_EQ(box->PerfectGrid1->CellNumber(row, dcLock), 0);
  StartProcessProc = nullptr;
  if (oldAppData) ::setenv("VERUDA_APPDATA_DIR", keepAppData.c_str(), 1);
  else ::unsetenv("VERUDA_APPDATA_DIR");
}
