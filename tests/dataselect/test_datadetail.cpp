// The details dialog of a data set (information, status recovery, key bar and
// the rebuild of the database through the backup/restore job with real gbak
// services) and the new-data command of the data-selection dialog, against a
// real installation with a real data set, the windows offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/globals.h"
#include "core/processforms.h"
#include "core/settings.h"
#include "core/uiservices.h"
#include "dataselect/datadetail.h"
#include "dataselect/dataplace.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "dstest.h"
#include "ui/layoutcheck.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/keys.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/corvexedit.h"
#include "ui/coreservices.h"
#include "ui/plbutton.h"

namespace fs = std::filesystem;

namespace {

using dstest::DataSets;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Any file below Folder whose name ends with one of the extensions.
bool AnyWithExt(const std::string& folder, std::initializer_list<const char*> exts) {
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(folder, ec))
    for (const char* ext : exts)
      if (e.is_regular_file() && e.path().extension() == ext) return true;
  return false;
}

void OpenUp(const fs::path& root) {
  fs::permissions(root, fs::perms::all);
  for (const auto& e : fs::recursive_directory_iterator(root))
    fs::permissions(e.path(), e.is_directory() ? fs::perms::all
                                               : fs::perms::owner_read | fs::perms::owner_write |
                                                     fs::perms::group_read | fs::perms::group_write |
                                                     fs::perms::others_read | fs::perms::others_write);
}

const char* const kInterfaceMessage =
    "処理を起動するためのインターフェースが実装されていません。\rライブラリのロードに失敗した可能性があります。";

// The program's start hook: a process window that is not registered cannot start.
std::int32_t StartRegisteredOnly(const std::string& name) {
  if (FindProcessClass(name)) return 0;
  ShowSentakuBox(kMsgError, kInterfaceMessage, MsgButtons({mbOK}));
  return -1;
}

class DetailTest : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    // Waiting for the rebuild processes the application's events, as in the program.
    savedUi_ = CoreUi;
    InstallFrameworkServices();
    folder_ = sysDir_ + "/0001";
    fs::remove_all(folder_);
    fs::copy(DataSets().dataSets[0].folder, folder_, fs::copy_options::recursive);
    fs::create_directories(SystemDef.TempDir);
    OpenUp(root_);
    SystemDef.OpCode = 10010;
    SystemDef.OpName = "試験担当";
    ExecDef({"UPDATE DATALIST SET ENTTEXT='アルファ',SHOUGOU='アルファ',DATALOCK=0 WHERE REC=1"});
    ConnectDef();
    row_.Rec = 1;
    row_.PasName = folder_;
    row_.EntText = row_.Shougou = "アルファ";
    row_.DataFolder = DataFolderPath(row_);
  }
  void TearDown() override {
    CoreUi = savedUi_;
    DsTest::TearDown();
  }

  std::unique_ptr<TDataSyosaiInfoBox> Details() {
    auto box = std::make_unique<TDataSyosaiInfoBox>();
    box->ListRow = &row_;
    box->DataFolder = UpperCase(folder_);
    box->ListName = row_.EntText;
    box->Prepare(0);
    return box;
  }

  void WriteStatus(int status, int opcode) {
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(folder_), info);
    info.STATUS = static_cast<std::uint8_t>(status);
    info.OPCODE = opcode;
    info.OPERATOR = "誰か";
    WriteDataInfoFile(DataInfoFileName(folder_), "", info);
  }

  int Status(const std::string& folder) const {
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(folder), info);
    return info.STATUS;
  }

  static void PressF7(TDataSyosaiInfoBox& box) {
    Word key = VK_F1 + 6;
    box.FormKeyUp(key, Qt::NoModifier);
  }

  // A box with the text was shown (since the First-th box).
  bool BoxShown(const std::string& text, std::size_t First = 0) const {
    const std::vector<std::string> texts = BoxTexts();
    for (std::size_t i = First; i < texts.size(); ++i)
      if (texts[i].find(text) != std::string::npos) return true;
    return false;
  }

  TCoreUiServices savedUi_;
  std::string folder_;
  TDataListRec row_;
};

}  // namespace

TEST_F(DetailTest, StatusDecidesValuesOkButtonAndRecoveryOption) {
  struct Case {
    const char* what;
    int status, opcode, unrestricted;
    bool clear, ok;
    const char* kana;
  } cases[] = {
      {"free", 1, 0, 0, false, true, "設定なし"},
      {"locked by another operator", 3, 10011, 0, false, false, "-"},
      {"locked by this operator", 3, 10010, 0, true, true, "-"},
      {"locked, unrestricted operator", 3, 10012, 1, true, true, "-"},
      {"in use stand-alone, this operator", 2, 10010, 0, true, true, "設定なし"},
      {"damaged, this operator", 10, 10010, 0, false, false, "設定なし"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteStatus(c.status, c.opcode);
    SystemDef.UnrestrictedOperators = c.unrestricted;
    auto box = Details();
    EXPECT_EQ(box->lblCode->text().toStdString(), "A100") << "the upper-cased folder still reads the data set";
    EXPECT_EQ(box->cboxStatusClear->isVisibleTo(box.get()), c.clear);
    EXPECT_EQ(box->btnOK->isVisibleTo(box.get()), c.ok);
    EXPECT_EQ(box->lblKana->text().toStdString(), c.kana);
    EXPECT_EQ(box->lblSiwakeKensu->text().toStdString(), c.status == 3 ? "-件" : "0件");
    EXPECT_EQ(box->lblDataSeigenMessage->isVisibleTo(box.get()), c.unrestricted == 1);
    EXPECT_EQ(box->txtListName->isEnabled(), c.status != 3);
    EXPECT_EQ(box->F7->text().toStdString(), "F7:再構築") << "every local named row may be rebuilt";
  }
  SystemDef.UnrestrictedOperators = 0;
}

// The dialog as the user sees it: no control cut or overlapping (the OK
// button clear of "F7:再構築").
TEST_F(DetailTest, WindowLayout) {
  WriteStatus(3, 10010);
  auto box = Details();
  box->show();
  layoutcheck::SaveShot(box.get(), "datadetail");
  EXPECT_EQ(layoutcheck::LayoutFaults(box.get()), std::vector<std::string>{});
  EXPECT_GE(box->btnOK->geometry().left() - box->F7->geometry().right(), 4);
}

TEST_F(DetailTest, KeyBarFollowsTheInputMethodAndOnlyF7Acts) {
  auto box = Details();
  ASSERT_EQ(box->F7->text().toStdString(), "F7:再構築");
  QInputMethodEvent composing("かいしゃ", {});
  QApplication::sendEvent(box->txtListName, &composing);
  EXPECT_EQ(box->F7->text().toStdString(), "F7:") << "no rebuild while a composition is open";
  PressF7(*box);
  EXPECT_TRUE(BoxTexts().empty()) << "a blank F7 does nothing";
  QInputMethodEvent committed;
  committed.setCommitString("会社");
  QApplication::sendEvent(box->txtListName, &committed);
  EXPECT_EQ(box->F7->text().toStdString(), "F7:再構築");
  Word f8 = VK_F1 + 7;
  box->FormKeyUp(f8, Qt::NoModifier);
  EXPECT_EQ(f8, 0) << "F8 is consumed";
  for (Word k = VK_F1; k < VK_F1 + 6; ++k) {
    Word key = k;
    box->FormKeyUp(key, Qt::NoModifier);
  }
  EXPECT_TRUE(BoxTexts().empty()) << "F1 to F6 are blank";
  // A shared row that was not taken cannot be rebuilt.
  row_.NetDrive = 1;
  auto shared = Details();
  EXPECT_EQ(shared->F7->text().toStdString(), "F7:");
  row_.NetDrive = 0;
  // The rebuild question can be declined.
  responder_.Then(mrCancel);
  PressF7(*box);
  EXPECT_TRUE(BoxShown("データの再構築を行いますか？"));
  EXPECT_EQ(responder_.Shown().size(), 1u);
  EXPECT_EQ(box->Rebuilt, 0);
}

TEST_F(DetailTest, RebuildOfADamagedDataSetSucceedsAndFreesIt) {
  WriteStatus(dsDamaged, 10010);
  auto box = Details();
  EXPECT_FALSE(box->btnOK->isVisibleTo(box.get()));
  PressF7(*box);
  EXPECT_TRUE(BoxShown("注意２）破損データの場合はデータ再構築が適正に行われない場合があります。"));
  EXPECT_TRUE(BoxShown("データの再構築は適正に行われました。"));
  EXPECT_EQ(box->Rebuilt, 1);
  EXPECT_EQ(Status(folder_), 1);
  EXPECT_TRUE(box->btnOK->isVisibleTo(box.get())) << "the dialog is filled again";
  EXPECT_EQ(box->lblName->text().toStdString(), "株式会社アルファ商事");
  EXPECT_TRUE(fs::exists(folder_ + "/rqacc.fdb"));
  EXPECT_FALSE(AnyWithExt(folder_, {".fd_", ".fb_"}));
  EXPECT_FALSE(AnyWithExt(SystemDef.TempDir, {".fd_", ".fb_"}));
  EXPECT_TRUE(reported_.empty());
  EXPECT_EQ(DataSetConnection().VerifyData("", folder_, 1, 1), 1) << "the rebuilt database is sound";
}

TEST_F(DetailTest, FailedRebuildPutsTheOriginalBackAndLeavesNoCopy) {
  struct Case {
    const char* what;
    bool garbage;  // else the backup target cannot be written
  } cases[] = {{"backup target not writable", false}, {"database is no database", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string database = folder_ + "/rqacc.fdb";
    const std::string blocker = SystemDef.TempDir + "/rqacc.fb_";
    if (c.garbage) std::ofstream(database, std::ios::binary | std::ios::trunc) << std::string(40000, 'x');
    else fs::create_directories(blocker + "/occupied");
    WriteStatus(dsDamaged, 10010);
    const std::string before = Bytes(database);
    auto box = Details();
    responder_.Then(mrOk);
    PressF7(*box);
    EXPECT_TRUE(BoxShown("データ再構築の処理に失敗しました。"));
    EXPECT_FALSE(BoxShown("データの再構築は適正に行われました。"));
    EXPECT_EQ(box->Rebuilt, 0);
    EXPECT_TRUE(Bytes(database) == before) << "the database is byte for byte the original";
    EXPECT_EQ(Status(folder_), dsDamaged) << "the status is not set after a failure";
    EXPECT_FALSE(AnyWithExt(folder_, {".fd_", ".fb_"})) << "no safety copy or backup is left behind";
    fs::remove_all(blocker);
  }
}

namespace {

// Statements on the system database through the server, each in its own transaction.
class TServerQuery {
 public:
  explicit TServerQuery(const std::string& file) {
    db_.DatabaseName = "localhost:" + file;
    db_.Params = TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
    db_.Open();
  }
  ~TServerQuery() { db_.Close(); }
  std::string Value(const std::string& sql) {
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db_);
    tr.StartTransaction();
    TIBSQL q;
    q.SetDatabase(&db_);
    q.SetTransaction(&tr);
    q.SQL.SetText(sql);
    q.ExecQuery();
    const std::string v = q.Eof() ? "" : q.Fields(0).AsTrimString();
    q.Close();
    tr.Commit();
    return v;
  }

 private:
  TIBDatabase db_;
};

}  // namespace

TEST_F(DetailTest, ClientRebuildLocksItsOwnTableRowAndWaitsForOtherUsers) {
  if (dstest::ServerHost().empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER not set";
  ConnectKind = 1;
  std::vector<TDataPlaceRec> places;
  ASSERT_TRUE(LoadDataPlaces(places, false));
  ExecDef({"SELECT COUNT(*) FROM SP_DATALIST_INSERT(3, '" + sysDir_ + "03', 2)",
           "UPDATE DATALIST_EX SET DATALOCK=0 WHERE DATAPLACEREC=3"});
  // Everything goes through the server from here.
  SystemStore().IBDatabaseDEF.Close();
  SystemDef.HostName = "localhost";
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  TServerQuery server(systemDatabase_);
  const std::string locks =
      "SELECT (SELECT DATALOCK FROM DATALIST WHERE REC=1)||'|'||"
      "(SELECT DATALOCK FROM DATALIST_EX WHERE DATAPLACEREC=3 AND REC=1) FROM RDB$DATABASE";
  ASSERT_EQ(server.Value(locks), "0|0");

  {
    TIBDatabase other;
    other.DatabaseName = "localhost:" + folder_ + "/rqacc.fdb";
    other.Params = TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
    other.Open();
    auto box = Details();
    PressF7(*box);
    EXPECT_TRUE(BoxShown("現在、他のユーザーがデータに接続中です。"));
    EXPECT_FALSE(BoxShown("データの再構築を行いますか？")) << "refused before the question";
    other.Close();
  }

  struct Case {
    std::int32_t place;
    const char* locked;  // the locks seen while the rebuild runs
  } cases[] = {{0, "10010|0"}, {3, "0|10010"}};  // the operator code modulo group id x 10000
  for (const Case& c : cases) {
    SCOPED_TRACE(c.place);
    const std::string before = Bytes(folder_ + "/rqacc.fdb");
    auto box = Details();
    box->DataPlace = c.place;
    std::set<std::string> seen;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] { seen.insert(server.Value(locks)); });
    watch.start();
    PressF7(*box);
    watch.stop();
    EXPECT_TRUE(BoxShown("データの再構築は適正に行われました。"));
    EXPECT_EQ(box->Rebuilt, 1);
    EXPECT_TRUE(seen.count(c.locked)) << "the row of the data place's own table is locked";
    for (const std::string& s : seen) EXPECT_TRUE(s == "0|0" || s == c.locked) << s;
    EXPECT_EQ(server.Value(locks), "0|0") << "and unlocked after the rebuild";
    EXPECT_NE(Bytes(folder_ + "/rqacc.fdb"), before) << "the database was restored";
    EXPECT_FALSE(AnyWithExt(folder_, {".fd_", ".fb_"}));
  }
  EXPECT_TRUE(reported_.empty());
  ConnectKind = 0;
}

// ---- new data through the setup wizard ----------------------------------------------------

namespace {

class NewDataTest : public DetailTest {
 protected:
  void SetUp() override {
    DetailTest::SetUp();
    newFolder_ = sysDir_ + "/0005";
    fs::remove_all(newFolder_);
  }
  void TearDown() override {
    StartProcessProc = nullptr;
    DetailTest::TearDown();
  }

  std::unique_ptr<TDataSentakuBox> Open() {
    auto box = std::make_unique<TDataSentakuBox>();
    box->KeepOnClose = true;
    box->SetParams({"SyoriType=3"});
    box->PrepareMode();
    box->show();
    QApplication::processEvents();
    return box;
  }

  static int RowOfRec(const TDataSentakuBox& box, int rec) {
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r)
      if (box.PerfectGrid1->RowValue(r) == rec) return r;
    return 0;
  }

  std::string newFolder_;
};

}  // namespace

TEST_F(NewDataTest, OnlyCreatedDataKeepsTheFolderAndNeverStatus9) {
  enum Wizard { kUnregistered, kCancelled, kCreated };
  struct Case {
    const char* what;
    bool folderBefore, settingsBefore;
    Wizard wizard;
    std::int32_t result;
  } cases[] = {
      {"wizard not registered, new folder", false, false, kUnregistered, -1},
      {"wizard not registered, folder with settings", true, true, kUnregistered, -1},
      {"wizard cancelled, folder without settings", true, false, kCancelled, 2},
      {"data created", false, false, kCreated, 1},
  };
  SystemDef.DataDir = "/nowhere";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(newFolder_);
    if (c.folderBefore) {
      fs::create_directories(newFolder_);
      std::ofstream(newFolder_ + "/memo.txt") << "kept\n";
    }
    if (c.settingsBefore) {
      TDataInfomationRec info;
      info.STATUS = 1;
      info.DATALISTNAME = "前の設定";
      WriteDataInfoFile(DataInfoFileName(newFolder_), "", info);
    }
    int during = 0;
    std::string params, name;
    StartProcessProc = [&](const std::string& form, std::int32_t modal, const std::string& lines) -> std::int32_t {
      name = form;
      params = lines;
      EXPECT_EQ(modal, 1);
      during = Status(newFolder_);
      if (c.wizard == kCancelled) return 2;
      if (c.wizard == kCreated) {
        for (const char* f : {"rqacc.fdb", "rqacc.ini"})
          fs::copy_file(DataSets().dataSets[0].folder + "/" + f, newFolder_ + "/" + f,
                        fs::copy_options::overwrite_existing);
        return 1;
      }
      return StartRegisteredOnly(form);
    };
    auto box = Open();
    const std::size_t shown = responder_.Shown().size();
    const int row = RowOfRec(*box, 5);
    ASSERT_GT(row, 0);
    box->PerfectGrid1->SetRow(row);
    EXPECT_EQ(NewData(*box, row), c.result);
    EXPECT_EQ(name, "WzKihonWiz");
    EXPECT_EQ(params.rfind("DataPath=" + newFolder_ + "\rDataListRec=5\rPHandle=", 0), 0u) << params;
    EXPECT_EQ(during, dsCreating) << "the folder is marked while the wizard runs";
    EXPECT_EQ(fs::exists(newFolder_), c.folderBefore || c.result == 1);
    EXPECT_NE(Status(newFolder_), dsCreating) << "no folder is left at status 9";
    EXPECT_EQ(BoxShown("処理を起動するためのインターフェースが実装されていません。", shown), c.wizard == kUnregistered);
    EXPECT_TRUE(box->isVisible()) << "the command itself never closes the dialog";
    EXPECT_EQ(SystemDef.DataDir, "/nowhere");
    if (c.folderBefore) {
      EXPECT_TRUE(fs::exists(newFolder_ + "/memo.txt"));
    }
    if (c.result == 1) {
      EXPECT_EQ(box->PerfectGrid1->CellText(row, dcName), "株式会社アルファ商事");
    }
    box->ESCClick();
  }
}

TEST_F(NewDataTest, ClientModeLocksTheRowWhileTheWizardRuns) {
  ConnectKind = 1;
  std::string lockDuring;
  bool folderDuring = false;
  StartProcessProc = [&](const std::string& form, std::int32_t, const std::string&) -> std::int32_t {
    lockDuring = QueryDef("SELECT DATALOCK FROM DATALIST WHERE REC=5");
    folderDuring = fs::exists(newFolder_);
    return StartRegisteredOnly(form);
  };
  auto box = Open();
  const int row = RowOfRec(*box, 5);
  ASSERT_GT(row, 0);
  EXPECT_EQ(NewData(*box, row), -1);
  EXPECT_EQ(lockDuring, "10010");
  EXPECT_TRUE(folderDuring);
  EXPECT_EQ(QueryDef("SELECT DATALOCK FROM DATALIST WHERE REC=5"), "0");
  EXPECT_FALSE(fs::exists(newFolder_)) << "the folder made on the server is removed";
  box->ESCClick();
  ConnectKind = 0;
}
