// New data areas, release and deletion of data sets, and the distributed-input
// children of a combined data set, on the data-selection dialog with real
// data sets (stand-alone embedded, the client modes through the server).
#include <unistd.h>

#include "dataselect/gassandata.h"
#include "dbaccess/datasetconnection.h"
#include "mgmttest.h"
#include "ui/inputdlg.h"
#include "ui/xedit.h"

using namespace mgmttest;

namespace {

class AreaTest : public MgmtTest {
 protected:
  void TearDown() override {
    SystemDef.DataDir.clear();
    MgmtTest::TearDown();
  }

  // Switches to the client mode through the server on loopback.
  bool ToServer() {
    if (dstest::ServerHost().empty()) return false;
    ConnectKind = 1;
    SystemStore().IBDatabaseDEF.Close();
    SystemDef.HostName = "localhost";
    SystemDef.ServerWorkDir = root_ + "/servertemp";
    return SystemStore().fnAccDefConnected("", true);
  }

  // Answers the next input dialog with Text through its OK button.
  void AnswerInput(const std::string& text) {
    responder_.Then([text](const ShownDialog& shown) {
      auto* in = dynamic_cast<TInputDlgBox*>(shown.window);
      if (!in) return mrCancel;
      in->txtInput()->setText(QString::fromStdString(text));
      in->btnOKClick();
      return static_cast<TModalResult>(in->result());
    });
  }

  const ShownDialog* Agreement(const std::string& caption) const {
    for (const ShownDialog& s : responder_.Shown())
      if (s.caption == caption) return &s;
    return nullptr;
  }
};

// ---- new data areas (client modes) -------------------------------------------------------------------

TEST_F(AreaTest, NewAreaIsListedUpToTheLimitOf2000) {
  if (!ToServer()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  auto box = Open();
  const std::string host = "localhost";
  auto listed = [&](const std::string& path) {
    return Rows(systemDatabase_, "SELECT COUNT(*) FROM DATALIST WHERE PASNAME='" + path + "'", host).at(0);
  };
  // 1999 rows take one more; the folder itself is made by a later paste or restore.
  box->DataList.resize(1999);
  AnswerInput("　 area1 ");
  EXPECT_EQ(AddArea(*box), 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  ASSERT_FALSE(responder_.Shown().empty());
  EXPECT_EQ(responder_.Shown()[0].caption, "データの領域追加");
  EXPECT_EQ(listed(sysDir_ + "/area1"), "1");
  EXPECT_FALSE(fs::exists(sysDir_ + "/area1"));
  EXPECT_EQ(box->GetRowRecord(box->PerfectGrid1->Row())->PasName, sysDir_ + "/area1") << "the new row is selected";

  struct Case {
    std::size_t rows;
    std::string name, message;
  } cases[] = {
      {2000, "area2", "これ以上の領域追加は行えません。(最大2000件)"},
      {10, "area1", "は既にデータリスト上に作成されています。"},
      {10, "spare", "に会計データが作成されています。"},
  };
  fs::create_directories(sysDir_ + "/spare");  // a folder that no row names
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    responder_.Clear();
    box->DataList.resize(c.rows);
    AnswerInput(c.name);
    EXPECT_EQ(AddArea(*box), 0);
    EXPECT_TRUE(BoxShown(c.message)) << c.message;
  }
  EXPECT_EQ(listed(sysDir_ + "/area2"), "0");
}

// ---- release of a shared-server data set --------------------------------------------------------------

TEST_F(AreaTest, ReleaseRemovesTheLocalCopyAndFreesTheServerCopyOnlyWhenTaken) {
  struct Case {
    int taken;
    int shareAfter;
  } cases[] = {{1, 1}, {0, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.taken);
    const std::string shared = root_ + "/share/sv0001";
    fs::remove_all(shared);
    fs::create_directories(shared);
    fs::copy_file(Database(2), shared + "/rqacc.fdb");
    TDataInfomation info;
    info.SetShareStatus(shared, 2);
    fs::remove_all(Folder(1));
    fs::copy(MgmtSetsData() + "/0001", Folder(1), fs::copy_options::recursive);
    ExecDef({"UPDATE DATALIST SET NETDRIVE=1,KYOYULOCK=" + std::to_string(c.taken) + ",PASNAME='" + shared +
             "' WHERE REC=1"});
    auto box = Open();
    Select(*box, 1);
    responder_.Clear();
    responder_.Then(mrCancel);
    EXPECT_EQ(ReleaseArea(*box), 0);
    ASSERT_NE(Agreement("共有データの割当解除"), nullptr);
    EXPECT_TRUE(fs::exists(Folder(1) + "/rqacc.fdb")) << "Cancel changes nothing";
    Select(*box, 1);
    responder_.Then(mrOk);
    EXPECT_EQ(ReleaseArea(*box), 1);
    EXPECT_FALSE(fs::exists(Folder(1))) << "the local copy is removed";
    TDataInfomationRec rec;
    ReadDataInfoFile(DataInfoFileName(shared), rec);
    EXPECT_EQ(rec.SHARE_STATUS, c.shareAfter);
    EXPECT_TRUE(fs::exists(shared + "/rqacc.fdb")) << "the server copy stays";
  }
}

// ---- deletion ------------------------------------------------------------------------------------------

TEST_F(AreaTest, StandAloneDeletionAsksForAgreementAndRemovesTheFolder) {
  auto box = Open();
  Select(*box, 2);
  responder_.Then(mrCancel);
  EXPECT_EQ(DeleteData(*box), 0);
  const ShownDialog* shown = Agreement("データの削除");
  ASSERT_NE(shown, nullptr);
  std::string all;
  for (const std::string& l : shown->lines) all += l + "\n";
  EXPECT_NE(all.find("選択したデータを削除します。"), std::string::npos) << all;
  EXPECT_NE(all.find("アルファ控え"), std::string::npos) << all;
  EXPECT_TRUE(fs::exists(Database(2))) << "no agreement, nothing deleted";

  // The data set in use as the current data path is refused before the box.
  SystemDef.DataDir = Folder(2);
  responder_.Clear();
  EXPECT_EQ(DeleteData(*box), 0);
  EXPECT_TRUE(BoxShown("このデータは前回起動データのため削除は行えません。"));
  EXPECT_EQ(Agreement("データの削除"), nullptr);
  SystemDef.DataDir.clear();

  responder_.Then(mrOk);
  EXPECT_EQ(DeleteData(*box), 1);
  EXPECT_FALSE(fs::exists(Folder(2)));
  EXPECT_EQ(QueryDef("SELECT COALESCE(ENTTEXT,'') FROM DATALIST WHERE REC=2"), "") << "the row became an empty area";
  EXPECT_TRUE(fs::exists(Database(1))) << "other data sets stay";
}

TEST_F(AreaTest, ClientDeletionDropsTheDatabaseThroughTheServer) {
  if (!ToServer()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  auto box = Open();
  Select(*box, 2);
  responder_.Then(mrOk);
  EXPECT_EQ(DeleteData(*box), 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_NE(Agreement("データの削除"), nullptr);
  EXPECT_FALSE(fs::exists(Database(2))) << "dropped";
  EXPECT_FALSE(fs::exists(Folder(2)));
  EXPECT_TRUE(fs::exists(Database(1)));
}

// ---- combined data sets ---------------------------------------------------------------------------------

class GassanTest : public AreaTest {
 protected:
  void SetUp() override {
    AreaTest::SetUp();
    // The combined data set gets the first data set's journals and balances.
    fs::copy_file(Database(1), Database(4), fs::copy_options::overwrite_existing);
    Exec(Database(4), "UPDATE ACCREG SET ATEXT='1' WHERE AGROUP='基本設定' AND ACODE='合算データ区分'");
    Exec(Database(4),
         "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) SELECT '基本設定','合算データ区分','整数','1' FROM RDB$DATABASE "
         "WHERE NOT EXISTS(SELECT 1 FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='合算データ区分')");
    Exec(Database(4), "INSERT INTO KAMOKU_SZ(SCODE,KCODE,HCODE,BCODE,KAISIZAN,HAIBUN03) VALUES(' ','1110',' ',' ',1000,5)");
    Exec(Database(4), "UPDATE ACCDEF1 SET KANSA_LOCK=1");
    ASSERT_GT(Rows(Database(4), "SELECT COUNT(*) FROM KAMOKU_SZ").at(0), "0");
  }

  std::string Reg(const std::string& database, const std::string& key) {
    const auto rows = Rows(database, "SELECT ATEXT FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='" + key + "'");
    return rows.empty() ? "" : rows[0];
  }
  std::string Cleared(const std::string& database) {
    return Rows(database,
                "SELECT (SELECT COUNT(*) FROM SIWAKE)||'|'||(SELECT CAST(COALESCE(SUM(KAISIZAN+HAIBUN03),0) AS INTEGER) FROM KAMOKU_SZ)||'|'||"
                "(SELECT KANSA_LOCK FROM ACCDEF1 WHERE REC=1)||'|'||GEN_ID(SIWAKE_REC_GEN,0) FROM RDB$DATABASE")
        .at(0);
  }
};

TEST_F(GassanTest, ChildIsNumberedAfterTheHighestFolderClearedAndRegistered) {
  fs::create_directories(Folder(4) + "/007");
  fs::create_directories(Folder(4) + "/backup");  // not a number: not a child
  const std::string parentBefore = Cleared(Database(4));
  auto box = Open();
  Select(*box, 4);
  responder_.Then(mrYes);
  EXPECT_EQ(AddChildData(*box), 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  const std::string child = Folder(4) + "/008";
  ASSERT_TRUE(fs::exists(child + "/rqacc.fdb"));
  EXPECT_EQ(Cleared(child + "/rqacc.fdb"), "0|0|0|0") << "no journals, balances, audit lock; generator at 0";
  EXPECT_EQ(Reg(child + "/rqacc.fdb", "合算データ区分"), "10");
  EXPECT_EQ(Reg(child + "/rqacc.fdb", "合算データ数"), "0");
  EXPECT_EQ(Rows(child + "/rqacc.fdb", "SELECT COUNT(*) FROM KAMOKU_SZ"), Rows(Database(4), "SELECT COUNT(*) FROM KAMOKU_SZ"))
      << "the accounts stay";
  EXPECT_EQ(Cleared(Database(4)), parentBefore) << "the parent keeps its data";
  EXPECT_EQ(Reg(Database(4), "合算データ数"), "1");
  EXPECT_EQ(QueryDef("SELECT PASNAME||'|'||GASSAN FROM CHILD_DATALIST WHERE REC=4"), child + "|10");
}

TEST_F(GassanTest, RefusedOrFailedChildLeavesNothingAndTheCountAlone) {
  struct Case {
    const char* name;
    std::function<void()> prepare;
    const char* message;
  } cases[] = {
      {"999", [this] { fs::create_directories(Folder(4) + "/999"); }, "作成できるフォルダ名は[999]までです。"},
      {"clear fails",
       [] {
         FaultPointHook = [](std::string_view p) {
           if (p == "gassan.cleared") throw std::runtime_error("disk full");
         };
       },
       "分散入力用データの初期化に失敗しました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& e : fs::directory_iterator(Folder(4)))
      if (e.is_directory()) fs::remove_all(e.path());
    c.prepare();
    auto box = Open();
    Select(*box, 4);
    responder_.Clear();
    reported_.clear();
    responder_.Then(mrYes);
    EXPECT_EQ(AddChildData(*box), -1);
    FaultPointHook = nullptr;
    bool reported = BoxShown(c.message);
    for (const dstest::TShownText& t : reported_) reported = reported || t.text.find(c.message) != std::string::npos;
    EXPECT_TRUE(reported) << c.message;
    EXPECT_FALSE(fs::exists(Folder(4) + "/001")) << "the child folder is removed";
    const std::string count = Reg(Database(4), "合算データ数");
    EXPECT_TRUE(count.empty() || count == "0") << "the parent's count is not raised: " << count;
    EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM CHILD_DATALIST WHERE REC=4"), "0");
  }
}

TEST_F(GassanTest, FailedClearIsRolledBack) {
  const std::string child = Folder(4) + "/001";
  fs::create_directories(child);
  fs::copy_file(Database(4), child + "/rqacc.fdb");
  const std::string before = Cleared(child + "/rqacc.fdb");
  ASSERT_NE(before.substr(0, 2), "0|");
  TGassanDataCtl ctl;
  ctl.SetChildFolder(child);
  FaultPointHook = [](std::string_view p) {
    if (p == "gassan.cleared") throw std::runtime_error("disk full");
  };
  EXPECT_THROW(ctl.AccDataSyokika(), std::runtime_error);
  FaultPointHook = nullptr;
  DataSetConnection().AccDatDisconnect(child, false, false);
  EXPECT_EQ(Cleared(child + "/rqacc.fdb"), before) << "nothing of the failed clear is kept";
  EXPECT_EQ(Reg(child + "/rqacc.fdb", "合算データ区分"), "1");
}

TEST(GassanFolderName, NextNumberedFolder) {
  const fs::path root = fs::temp_directory_path() / ("gassan-names-" + std::to_string(::getpid()));
  fs::remove_all(root);
  std::string name;
  TGassanDataCtl::NextChildFolderName(root.string(), 1, name);
  EXPECT_EQ(name, "") << "a missing folder";
  fs::create_directories(root / "backup");
  TGassanDataCtl::NextChildFolderName(root.string(), 1, name);
  EXPECT_EQ(name, "001");
  fs::create_directories(root / "007");
  TGassanDataCtl::NextChildFolderName(root.string(), 1, name);
  EXPECT_EQ(name, "008");
  fs::create_directories(root / "999");
  EXPECT_THROW(TGassanDataCtl::NextChildFolderName(root.string(), 1, name), std::runtime_error);
  fs::remove_all(root);
}

}  // namespace
