// The data-selection dialog against a real installation: two real data sets
// (built once from data/datasentaku.txt and copied into the logon tests'
// installation) and list rows written by the tests, with the window offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "core/processforms.h"
#include "core/settings.h"
#include "dataselect/datadetail.h"
#include "dataselect/datakensaku.h"
#include "dataselect/datakensakubox.h"
#include "dataselect/dataplace.h"
#include "dataselect/datasentaku.h"
#include "dataselect/serverfetch.h"
#include "dbaccess/datainfo.h"
#include "dstest.h"
#include "ui/layoutcheck.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/keys.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/corvexedit.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace fs = std::filesystem;

namespace {

using dstest::DataSets;

struct TRowDef {
  int rec;
  const char* code;
  const char* name;
  int dataType;
  int major, minor1, minor2;
  int dataStatus;
};

class SentakuTest : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    const fixture::Installation& sets = DataSets();
    for (const auto& ds : sets.dataSets) {
      const fs::path to = fs::path(sysDir_) / fs::path(ds.folder).filename();
      fs::remove_all(to);
      fs::copy(ds.folder, to, fs::copy_options::recursive);
    }
    ConnectDef();
    SystemDef.OpCode = 10010;
    // Rows 1 and 2 hold the real data sets; the others only list rows.
    const TRowDef rows[] = {{1, "A100", "アルファ商事", 1, 11, 1, 0, 0},  {2, "B200", "ベータ工業", 1, 11, 0, 5, 0},
                            {3, "a150", "ガンマ医療", 3, 11, 0, 1, 0},    {4, "C300", "デルタ個人", 2, 11, 1, 0, 0},
                            {5, "D400", "旧版データ", 1, 10, 2, 0, 0},    {6, "E500", "新版データ", 1, 12, 0, 0, 0},
                            {7, "F600", "破損データ", 1, 11, 1, 0, 1}};
    std::vector<std::string> sql;
    for (int rec = 1; rec <= 10; ++rec)
      sql.push_back("UPDATE DATALIST SET PASNAME='" + Folder(rec) + "' WHERE REC=" + std::to_string(rec));
    for (const TRowDef& r : rows)
      sql.push_back(std::string("UPDATE DATALIST SET DATACODE='") + r.code + "',ENTTEXT='" + r.name + "',SHOUGOU='" +
                    r.name + "',DATATYPE=" + std::to_string(r.dataType) + ",CODETYPE=1,NENDO=3," +
                    "KISHU='2019-04-01',KIMATU='2020-03-31',VER_MAJOR=" + std::to_string(r.major) +
                    ",VER_MINOR1=" + std::to_string(r.minor1) + ",VER_MINOR2=" + std::to_string(r.minor2) +
                    ",VER_TEXT='" + std::to_string(r.major) + "版',UPDATE_LOCK=1,DATA_STATUS=" +
                    std::to_string(r.dataStatus) + " WHERE REC=" + std::to_string(r.rec));
    ExecDef(sql);
  }

  std::string Folder(int rec) const {
    char name[8];
    std::snprintf(name, sizeof name, "%.4d", rec);
    return sysDir_ + "/" + name;
  }

  // A dialog of this program's kind, prepared and shown.
  std::unique_ptr<TDataSentakuBox> Open(const std::vector<std::string>& params = {"SyoriType=3", "JyokenSet=1",
                                                                                 "DataVerMajor=11", "FormStyle=2"}) {
    auto box = std::make_unique<TDataSentakuBox>();
    box->KeepOnClose = true;
    box->SetParams(params);
    box->KeepOnClose = true;
    box->PrepareMode();
    box->show();
    QApplication::setActiveWindow(box.get());
    box->PerfectGrid1->setFocus();
    QApplication::processEvents();
    return box;
  }

  static std::vector<std::string> Codes(const TDataSentakuBox& box) {
    std::vector<std::string> codes;
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r) codes.push_back(box.PerfectGrid1->CellText(r, dcCode));
    return codes;
  }

  static int RowOfCode(const TDataSentakuBox& box, const std::string& code) {
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r)
      if (box.PerfectGrid1->CellText(r, dcCode) == code) return r;
    return 0;
  }

  bool BoxShown(const std::string& text) const {
    for (const std::string& t : BoxTexts())
      if (t.find(text) != std::string::npos) return true;
    return false;
  }
};

}  // namespace

TEST(DataSentakuParams, ReadsTypeStyleAndCallerCondition) {
  EnsureApplication();
  TDataSentakuBox box;
  box.SetParams({"SyoriType=3"});
  EXPECT_EQ(box.SyoriType, 3);
  box.SetParams({"SyoriType=abc"});
  EXPECT_EQ(box.SyoriType, 3) << "a value that is not a number leaves the type";
  EXPECT_THROW(box.SetParams({"SyoriType=6"}), std::exception);
  box.SetParams({"SyoriType=3", "ManualFree=1"});
  EXPECT_FALSE(box.ManualFree) << "ManualFree counts only with JyokenSet";
  EXPECT_FALSE(box.CallerJyokenOn);
  box.SetParams({"SyoriType=3", "JyokenSet=1", "DataVerMore=11.1", "DataVerMajor=11", "DataType=-13", "FormStyle=2"});
  EXPECT_TRUE(box.CallerJyokenOn);
  EXPECT_EQ(box.CallerJyoken.DATAVER, "11");
  EXPECT_EQ(box.CallerJyoken.VERCOMPARE, 1) << "the last version key wins";
  EXPECT_EQ(box.CallerJyoken.DATATYPE, -13);
  EXPECT_EQ(box.FormStyle, 2);
  EXPECT_FALSE(box.windowFlags() & Qt::WindowStaysOnTopHint);
  box.SetParams({"SyoriType=3", "FormStyle=7"});
  EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(DataSentakuFilter, ConditionsOfTheCallerAndTheSearch) {
  auto row = [](const char* code, const char* name, int type, int major, int minor) {
    TDataListRec r;
    r.DataCode = code;
    r.EntText = name;
    r.DataType = type;
    r.CodeType = 1;
    r.VerMajor = major;
    r.VerMinor1 = minor;
    return r;
  };
  const TDataListRec rows[] = {row("AB10", "ｱﾙﾌｧ商事", 1, 11, 0), row("ab20", "ベータ", 2, 11, 1),
                               row("XAB3", "ガンマ", 3, 10, 2), row("C400", "デルタ", 1, 12, 0)};
  struct Case {
    const char* what;
    int dataType;
    const char* code;
    const char* name;
    const char* ver;
    int compare;
    const char* expect;  // one letter per row
  } cases[] = {
      {"major 11", 0, "", "", "11", 1, "YYNN"},
      {"11.1 or later", 0, "", "", "11.1", 2, "NYNY"},
      {"exactly 11.1", 0, "", "", "11.1", 0, "NYNN"},
      {"corporations and medical corporations", -13, "", "", "", 0, "YNYY"},
      {"individuals", 2, "", "", "", 0, "NYNN"},
      {"code prefix, any case", 0, "ab", "", "", 0, "YYNN"},
      {"name in either width", 0, "", "アルファ", "", 0, "YNNN"},
  };
  for (const Case& c : cases) {
    TDataKensakuRec cond;
    cond.DATATYPE = c.dataType;
    cond.DATACODE = c.code;
    cond.DATANAME = c.name;
    cond.DATAVER = c.ver;
    cond.VERCOMPARE = c.compare;
    std::string got;
    for (const TDataListRec& r : rows) got += KensakuPasses(cond, r) ? 'Y' : 'N';
    EXPECT_EQ(got, c.expect) << c.what;
  }
}

TEST_F(SentakuTest, ListsMajorVersion11WithColumnsSortAndColours) {
  auto box = Open();
  EXPECT_EQ(Codes(*box), (std::vector<std::string>{"A100", "B200", "a150", "C300", "F600"}));
  TPerfectGrid* g = box->PerfectGrid1;
  const int a = RowOfCode(*box, "A100");
  EXPECT_EQ(g->CellText(a, dcName), "アルファ商事");
  EXPECT_EQ(g->CellText(a, dcNendo), "3 期");
  EXPECT_EQ(g->CellText(a, dcFolder), "~/data/0001");
  EXPECT_EQ(g->CellText(a, dcVerText), "11.1.0");
  EXPECT_EQ(g->ColumnHeader(0), "No▲");
  EXPECT_EQ(g->ColumnWidth(dcSharePic), 32);
  EXPECT_EQ(g->ColumnWidth(dcLockPic), 0);
  EXPECT_EQ(g->ColumnWidth(dcName), 280 - g->ColumnWidth(dcCloud) - 32);
  // The update-pending mark: 11.0.5 has the 11.1.0 step before it, 11.1.0 none.
  EXPECT_EQ(g->CellNumber(RowOfCode(*box, "B200"), dcUpdate), 1);
  EXPECT_EQ(g->RowTextColor(RowOfCode(*box, "B200")), static_cast<TColor>(0x808080));
  EXPECT_EQ(g->CellNumber(a, dcUpdate), 0);
  EXPECT_EQ(g->RowTextColor(RowOfCode(*box, "F600")), static_cast<TColor>(255)) << "a damaged row is red";
  // Header clicks: by code (in the database's order), then back to the default order.
  box->PerfectGrid1CellClick(0, dcCode);
  EXPECT_EQ(g->ColumnHeader(dcCode), "コード▲");
  EXPECT_EQ(g->ColumnHeader(0), "No");
  EXPECT_EQ(Codes(*box), (std::vector<std::string>{"A100", "B200", "C300", "F600", "a150"}));
  box->PerfectGrid1CellClick(0, dcCode);
  EXPECT_EQ(g->ColumnHeader(dcCode), "コード▼");
  EXPECT_EQ(Codes(*box).front(), "a150");
  box->PerfectGrid1CellClick(0, 0);
  EXPECT_EQ(g->ColumnHeader(0), "No▲");
  EXPECT_EQ(Codes(*box).front(), "A100");
  box->PerfectGrid1CellClick(0, 0);
  EXPECT_EQ(g->ColumnHeader(0), "No▼");
  // The sort order is stored for the operator when the dialog closes.
  box->ESCClick();
  EXPECT_EQ(QueryDef("SELECT SORTCOL||'/'||SORTTYPE FROM KENSAKUJYOKEN WHERE OPCODE=10010 AND LISTTYPE=0"), "0/1");
}

// The dialog as the user sees it at its own size (on a screen that holds
// it): no control cut or overlapping, and the list's hint readable to its
// last line.
TEST_F(SentakuTest, WindowLayout) {
  auto box = Open();
  box->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  box->resize(Px(992), Px(564));
  box->PerfectGrid1->SetRow(RowOfCode(*box, "A100"));
  layoutcheck::SaveShot(box.get(), "datasentaku");
  EXPECT_EQ(layoutcheck::LayoutFaults(box.get()), std::vector<std::string>{});
  const QPlainTextEdit* hint = box->HintArea;
  ASSERT_GE(hint->document()->blockCount(), 4) << hint->toPlainText().toStdString();
  const int needed = static_cast<int>(hint->document()->size().height()) * QFontMetrics(hint->font()).lineSpacing();
  EXPECT_LE(needed, hint->viewport()->height()) << "the hint's last line is cut";
}

TEST_F(SentakuTest, KeyBarOfSelectionBlanksManagementKeys) {
  auto box = Open();
  box->PerfectGrid1->SetRow(RowOfCode(*box, "A100"));
  box->UpdateKeyBar();
  EXPECT_EQ(box->ESC->text().toStdString(), "ESC:ｷｬﾝｾﾙ");
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(box->FKeys[i]->text().toStdString(), FKeyCaptions[i]);
  EXPECT_EQ(box->F12->text().toStdString(), "F12:選択");
  EXPECT_FALSE(box->btnSearch->isEnabled());
  box->FKeyClick(5);
  EXPECT_TRUE(BoxTexts().empty()) << "blank keys do nothing";
  box->PerfectGrid1->SetRow(RowOfCode(*box, "F600"));
  box->UpdateKeyBar();
  EXPECT_EQ(box->F12->text().toStdString(), "F12:") << "a damaged row cannot be chosen";
}

TEST_F(SentakuTest, IncrementalSearchSelectsNextCodeIgnoringCase) {
  auto box = Open();
  box->PerfectGrid1->SetRow(1);
  Word k = 'A';
  box->PerfectGrid1KeyDown(k, Qt::NoModifier);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(box->IncSerchTimer->interval(), 500);
  k = '1';
  box->PerfectGrid1KeyDown(k, Qt::NoModifier);
  EXPECT_EQ(box->IncSerchTimer->interval(), 1000);
  EXPECT_EQ(box->txtIncSerch->text().toStdString(), "A1");
  EXPECT_TRUE(box->txtIncSerch->isVisible());
  box->IncSerchTimerTimer();
  EXPECT_EQ(box->PerfectGrid1->Row(), RowOfCode(*box, "a150")) << "the next row after the current one, any case";
  EXPECT_FALSE(box->txtIncSerch->isVisible());
  EXPECT_FALSE(box->IncSerchTimer->isActive());
  for (const char* keys : {"A1", "A1"}) {
    for (const char* c = keys; *c; ++c) {
      k = static_cast<Word>(*c);
      box->PerfectGrid1KeyDown(k, Qt::NoModifier);
    }
  }
  EXPECT_EQ(box->txtIncSerch->text().toStdString(), "A1A1");
  for (const char* c = "BCDEF"; *c; ++c) {
    k = static_cast<Word>(*c);
    box->PerfectGrid1KeyDown(k, Qt::NoModifier);
  }
  EXPECT_EQ(box->txtIncSerch->text().toStdString(), "A1A1BCDE") << "a ninth character is swallowed";
}

TEST_F(SentakuTest, ChoosingARowSetsTheDataFolderAndClosesWithOk) {
  SystemDef.DataDir.clear();
  auto box = Open();
  box->PerfectGrid1->SetRow(RowOfCode(*box, "A100"));
  box->UpdateKeyBar();
  box->F12Click();
  EXPECT_EQ(SystemDef.DataDir, Folder(1));
  EXPECT_EQ(SystemDef.DataPasName, Folder(1));
  EXPECT_EQ(box->result(), mrOk);
  EXPECT_FALSE(box->isVisible());
}

TEST_F(SentakuTest, LockedRowIsRefusedWithItsStatus) {
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(Folder(1)), info);
  info.STATUS = 3;
  info.OPCODE = 10011;
  info.OPERATOR = "一般担当";
  WriteDataInfoFile(DataInfoFileName(Folder(1)), "", info);
  SystemDef.DataDir = "/nowhere";
  auto box = Open();
  box->PerfectGrid1->SetRow(RowOfCode(*box, "A100"));
  box->UpdateKeyBar();
  box->F12Click();
  EXPECT_EQ(SystemDef.DataDir, "/nowhere");
  EXPECT_TRUE(box->isVisible());
  ASSERT_FALSE(responder_.Shown().empty());
  const ShownDialog& shown = responder_.Shown().back();
  EXPECT_EQ(shown.caption, "選択データの状態");
  EXPECT_TRUE(BoxShown("このデータはデータロック中のため処理が行えません。"));
  EXPECT_TRUE(BoxShown("11")) << "the operator's logon code";
}

TEST_F(SentakuTest, FolderWithoutDataIsRefusedAndStaysOpen) {
  SystemDef.DataDir = "/nowhere";
  auto box = Open({"SyoriType=3"});
  const int row = RowOfCode(*box, "D400");
  ASSERT_GT(row, 0) << "without JyokenSet the stored condition (none) filters nothing";
  box->PerfectGrid1->SetRow(row);
  box->UpdateKeyBar();
  box->F12Click();
  EXPECT_TRUE(BoxShown("このフォルダには財務データがありません。"));
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(SystemDef.DataDir, "/nowhere");
}

TEST_F(SentakuTest, CancelKeepsTheShowTimeDataWhenItStillExists) {
  SystemDef.DataDir = Folder(2);
  auto box = Open();
  EXPECT_EQ(box->PerfectGrid1->Row(), RowOfCode(*box, "B200")) << "the current data is selected on show";
  box->ESCClick();
  EXPECT_EQ(box->result(), mrCancel);
  EXPECT_EQ(SystemDef.DataDir, Folder(2));
}

TEST_F(SentakuTest, ProcessWindowIsRegisteredByName) {
  RegisterDataSentakuBox();
  const TProcessClass* c = FindProcessClass("wzdatasenkaku");
  ASSERT_NE(c, nullptr);
  std::unique_ptr<IProcessForm> form = c->Create(nullptr);
  form->SetParams({"SyoriType=3", "JyokenSet=1", "DataVerMajor=11", "FormStyle=2"});
  responder_.Then([](const ShownDialog& shown) {
    auto* box = dynamic_cast<TDataSentakuBox*>(shown.window);
    if (!box) return mrCancel;
    box->ESCClick();
    return mrCancel;
  });
  EXPECT_EQ(form->Execute(1), mrCancel);
}

// ---- shared-server fetch and store, stand-alone ----------------------------------------------

namespace {

class KyoyuTest : public SentakuTest {
 protected:
  void SetUp() override {
    SentakuTest::SetUp();
    // A second folder stands for the server share: a combined data set with
    // two distributed-input children.
    share_ = root_ + "/share/0001";
    const fs::path setA = DataSets().dataSets[0].folder, setB = DataSets().dataSets[1].folder;
    fs::create_directories(share_);
    for (const char* f : {"rqacc.fdb", "rqacc.ini"}) {
      fs::copy_file(setA / f, fs::path(share_) / f);
      for (const char* child : {"001", "002"}) {
        fs::create_directories(fs::path(share_) / child);
        fs::copy_file(setB / f, fs::path(share_) / child / f);
      }
    }
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(share_), info);
    info.STATUS = 1;
    info.SHARE_STATUS = 1;
    info.GASSANKBN = 1;
    info.DATALISTNAME = "共有合算";
    WriteDataInfoFile(DataInfoFileName(share_), "", info);
    fs::remove_all(Folder(1));
    ExecDef({"UPDATE DATALIST SET NETDRIVE=1,KYOYULOCK=0,GASSAN=1,PASNAME='" + share_ + "' WHERE REC=1"});
    SystemDef.SysDir = sysDir_;
    ctl_ = std::make_unique<TDataSentakuListCtl>();
    row_.Row.Rec = 1;
    row_.Row.NetDrive = 1;
    row_.Row.PasName = share_;
    row_.Row.EntText = "共有合算";
    row_.Row.Gassan = 1;
    row_.Row.DataFolder = DataFolderPath(row_.Row);
  }

  std::uint8_t ShareStatus(const std::string& folder) const {
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(folder), info);
    return info.SHARE_STATUS;
  }

  static bool AnyStaging(const std::string& folder) {
    for (const auto& e : fs::recursive_directory_iterator(folder))
      if (e.path().filename().string().find(".staging") != std::string::npos) return true;
    return false;
  }

  std::string share_;
  std::unique_ptr<TDataSentakuListCtl> ctl_;
  TDataSentakuRec row_;
};

}  // namespace

TEST_F(KyoyuTest, FetchAndStoreCarryTheDataSetAndItsChildren) {
  ASSERT_EQ(row_.Row.DataFolder, Folder(1));
  ASSERT_EQ(KyoyuDataDown(*ctl_, row_, 1), 1);
  EXPECT_EQ(row_.Row.KyoyuLock, 1);
  EXPECT_TRUE(fs::exists(Folder(1) + "/rqacc.fdb"));
  ASSERT_EQ(row_.Children.size(), 2u);
  EXPECT_EQ(row_.Children[1].RowNo, 2);
  EXPECT_TRUE(fs::exists(Folder(1) + "/002/rqacc.fdb"));
  EXPECT_EQ(ShareStatus(share_), ssTakenOut);
  EXPECT_EQ(QueryDef("SELECT KYOYULOCK FROM DATALIST WHERE REC=1"), "1");
  // Work done on the local copy goes back with the store.
  std::ofstream(Folder(1) + "/rqacc.txt") << "local work\n";
  std::ofstream(Folder(1) + "/002/rqacc.txt") << "child work\n";
  ASSERT_EQ(KyoyuDataUp(*ctl_, row_, 1), 1);
  EXPECT_EQ(row_.Row.KyoyuLock, 0);
  EXPECT_TRUE(fs::exists(share_ + "/rqacc.txt"));
  EXPECT_TRUE(fs::exists(share_ + "/002/rqacc.txt"));
  EXPECT_TRUE(fs::exists(share_ + "/001/rqacc.fdb"));
  EXPECT_EQ(ShareStatus(share_), ssOnServer);
  EXPECT_FALSE(AnyStaging(root_ + "/share"));
  EXPECT_EQ(QueryDef("SELECT KYOYULOCK FROM DATALIST WHERE REC=1"), "0");
}

TEST_F(KyoyuTest, StoreFailingHalfWayLeavesTheShareAndKeepsTheLock) {
  ASSERT_EQ(KyoyuDataDown(*ctl_, row_, 1), 1);
  std::ofstream(Folder(1) + "/rqacc.txt") << "local work\n";
  std::ofstream(Folder(1) + "/001/rqacc.txt") << "child work\n";
  // The second child's database cannot be read: its copy fails.
  fs::remove_all(Folder(1) + "/002");
  fs::create_directories(Folder(1) + "/002/rqacc.fdb");
  const auto before = fs::file_size(share_ + "/002/rqacc.fdb");
  EXPECT_EQ(KyoyuDataUp(*ctl_, row_, 1), 0);
  EXPECT_EQ(row_.Row.KyoyuLock, 1);
  EXPECT_EQ(ShareStatus(share_), ssTakenOut) << "the share stays taken";
  EXPECT_FALSE(fs::exists(share_ + "/rqacc.txt")) << "nothing of the store reached the share";
  EXPECT_FALSE(fs::exists(share_ + "/001/rqacc.txt"));
  EXPECT_EQ(fs::file_size(share_ + "/002/rqacc.fdb"), before);
  EXPECT_FALSE(AnyStaging(root_ + "/share"));
  EXPECT_TRUE(fs::exists(Folder(1) + "/001/rqacc.txt")) << "the local work is kept";
}

TEST_F(KyoyuTest, FetchFailingHalfWayKeepsTheLocalChildren) {
  fs::create_directories(Folder(1) + "/001");
  std::ofstream(Folder(1) + "/001/rqacc.fdb") << "older local child";
  // The copy of the second child cannot be written: a folder stands where its database would go.
  fs::create_directories(Folder(1) + "/002.staging/rqacc.fdb");
  EXPECT_EQ(KyoyuDataDown(*ctl_, row_, 1), 1) << "the data set itself was fetched";
  EXPECT_EQ(fs::file_size(Folder(1) + "/001/rqacc.fdb"), std::string("older local child").size())
      << "no local child is replaced unless all children came";
  EXPECT_FALSE(fs::exists(Folder(1) + "/002"));
  EXPECT_FALSE(AnyStaging(Folder(1)));
}

TEST_F(KyoyuTest, DamagedAreaIsRefusedWithTheOperatorOfItsShareMark) {
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(share_), info);
  info.STATUS = dsDamaged;
  info.SHARE_OPCODE = 10012;
  info.SHARE_OPERATOR = "別端末担当";
  WriteDataInfoFile(DataInfoFileName(share_), "", info);
  EXPECT_EQ(KyoyuDataDown(*ctl_, row_, 1), -1);
  EXPECT_TRUE(BoxShown("共有サーバー上のデータが破損しているため、共有データの取得を中止します。"));
  EXPECT_TRUE(BoxShown("12"));
  EXPECT_FALSE(fs::exists(Folder(1) + "/rqacc.fdb"));
}

TEST_F(SentakuTest, RefreshTurnsARemovedDataSetIntoAnEmptyArea) {
  fs::remove(Folder(2) + "/rqacc.fdb");
  auto box = Open({"SyoriType=3"});
  const int row = RowOfCode(*box, "B200");
  ASSERT_GT(row, 0);
  responder_.Then(mrYes);
  box->btnListUpdateClick();
  EXPECT_TRUE(BoxShown("データリストの更新を行います。"));
  EXPECT_EQ(box->PerfectGrid1->CellText(row, dcName), "");
  EXPECT_EQ(box->PerfectGrid1->CellText(row, dcKikan), "～");
  EXPECT_FALSE(fs::exists(Folder(2) + "/rqacc.ini")) << "the orphan settings file is deleted";
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=2"), "");
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfCode(*box, "A100"), dcName), "アルファ商事")
      << "a data set that is still there keeps its row";
}

TEST_F(SentakuTest, DataPlacesInClientMode) {
  ConnectKind = 1;
  std::vector<TDataPlaceRec> places;
  ASSERT_TRUE(LoadDataPlaces(places, false));
  ASSERT_EQ(places.size(), 100u) << "the first use makes the hundred places";
  ExecDef({"UPDATE DATAPLACEMAN SET NAME='第二の場所' WHERE REC=3",
           "SELECT COUNT(*) FROM SP_DATALIST_INSERT(3, '" + sysDir_ + "03', 4)"});
  ExecDef({"UPDATE DATALIST_EX SET ENTTEXT='場所3の会社',SHOUGOU='場所3の会社',DATACODE='P300',VER_MAJOR=11,"
           "VER_MINOR1=1,VER_MINOR2=0,NENDO=1 WHERE DATAPLACEREC=3 AND REC=2"});
  SystemDef.DataPlace = 3;
  auto box = Open({"SyoriType=3"});
  EXPECT_EQ(box->windowTitle().toStdString(), "データ選択（サーバー）");
  EXPECT_EQ(box->PerfectGrid1->OddRowBackColor(), static_cast<TColor>(0xFFF0E1));
  EXPECT_EQ(box->PerfectGrid1->ColumnHeader(dcLockPic), "鍵");
  EXPECT_TRUE(box->pnlDataMan->isVisibleTo(box.get()));
  ASSERT_EQ(box->cmbDataMan->count(), 2);
  EXPECT_EQ(box->cmbDataMan->currentText().toStdString(), "第二の場所");
  EXPECT_EQ(box->PerfectGrid1->Rows(), 4);
  EXPECT_GT(RowOfCode(*box, "P300"), 0);
  // Choosing the first place lists the data sets of DATALIST again.
  box->cmbDataMan->setCurrentIndex(0);
  box->cmbDataManChange();
  EXPECT_FALSE(box->PerfectGrid1->isEnabled());
  EXPECT_EQ(box->F12->text().toStdString(), "F12:");
  box->cmbDataManExit();
  EXPECT_EQ(box->DataPlace, 0);
  EXPECT_GT(RowOfCode(*box, "A100"), 0);
  box->ESCClick();
  EXPECT_EQ(SystemDef.DataPlace, 0) << "the chosen place is kept for the next start";
  ConnectKind = 0;
}

TEST_F(SentakuTest, DetailsDialogRenamesTheDataSetEverywhere) {
  auto box = Open();
  const int row = RowOfCode(*box, "A100");
  box->PerfectGrid1->SetRow(row);
  std::vector<std::string> seen;
  responder_.Then([&seen](const ShownDialog& shown) {
    auto* details = dynamic_cast<TDataSyosaiInfoBox*>(shown.window);
    if (!details) return mrCancel;
    seen = {details->lblCode->text().toStdString(), details->lblDataKbn->text().toStdString(),
            details->lblStatus->text().toStdString(), details->txtDataPath->toPlainText().toStdString()};
    details->txtListName->setText("");
    details->btnOKClick();   // an empty name is never taken
    EXPECT_TRUE(details->isVisible());
    details->txtListName->setText("アルファ新社名");
    details->btnOKClick();
    return details->result();
  });
  box->btnDataInfoClick();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[3].find(UpperCase(Folder(1)).substr(UpperCase(dataRoot_).size())) != std::string::npos, true);
  EXPECT_EQ(seen[3].rfind("[", 0), 0u) << "the data root is shown as the product's data";
  EXPECT_TRUE(BoxShown("データリスト名が入力されていません。会社名を設定しますか？"));
  EXPECT_EQ(box->PerfectGrid1->CellText(row, dcName), "アルファ新社名");
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(Folder(1)), info);
  EXPECT_EQ(info.DATALISTNAME, "アルファ新社名");
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=1"), "アルファ新社名");
}

TEST(DataSentakuSearchKinds, KindsReadBackAsTheirEntries) {
  struct Case { int type, code, index; } cases[] = {{3, 1, 4}, {3, 2, 4}, {1, 7, 1}, {2, 2, 3}, {2, 9, 0}, {0, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(KensakuKindIndex(c.type, c.code), c.index) << c.type << "," << c.code;
  int type = 0, code = 0;
  KensakuKindTypes(4, type, code);
  EXPECT_EQ(type * 10 + code, 31) << "医療法人 stores 3 and 1";
}

TEST_F(SentakuTest, SearchConditionIsStoredAndFiltersTheList) {
  auto box = Open({"SyoriType=0"});
  responder_.Then([](const ShownDialog& shown) {
    auto* search = dynamic_cast<TDataListKensakuBox*>(shown.window);
    if (!search) return mrCancel;
    search->cmbDataKbn->setCurrentIndex(4);
    search->cboxYukou->setChecked(true);
    search->btnOKClick();
    return search->result();
  });
  box->btnSearchClick(false);
  EXPECT_EQ(Codes(*box), std::vector<std::string>{"a150"});
  EXPECT_TRUE(box->btnSearchCancel->isEnabled());
  EXPECT_EQ(QueryDef("SELECT JYOKENUSE||'/'||DATATYPE||'/'||CODETYPE FROM KENSAKUJYOKEN WHERE OPCODE=10010"), "1/3/1");
  box->btnSearchClick(true);
  EXPECT_GT(Codes(*box).size(), 5u);
  // The next dialog reads the stored condition, in use, and filters again.
  box->ESCClick();
  auto again = Open({"SyoriType=0"});
  EXPECT_EQ(Codes(*again), std::vector<std::string>{"a150"});
}
