// The data places of the client modes: the place list in DATAPLACEMAN, the
// data-places dialog (create, rename, delete, reorder) and its settings button
// in the data-selection dialog, against the system database (over the
// Firebird server when VERUDA_TEST_FB_SERVER is set, else embedded) with the
// windows offscreen.
#include <QApplication>
#include <QComboBox>

#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/dataplace.h"
#include "dataselect/dataplacebox.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/systemstore.h"
#include "dstest.h"
#include "platform/fb/ibdatabase.h"
#include "platform/fb/ibsql.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/inputdlg.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace fs = std::filesystem;

namespace {

class PlaceTest : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    ConnectKind = 1;
    SystemDef.OpCode = 10010;
    // "127.0.0.1" names the local file (embedded); "localhost" goes over TCP.
    const std::string host = dstest::ServerHost().empty() ? "127.0.0.1" : "localhost";
    SystemDef.HostName = host;
    ASSERT_TRUE(SystemStore().fnAccDefConnected(host, true));
    if (host == "localhost") {
      ASSERT_EQ(SystemStore().IBDatabaseDEF.DatabaseName.rfind("localhost:", 0), 0u);
    }
  }

  void TearDown() override {
    DsTest::TearDown();
    ConnectKind = 0;
  }

  // Rows of a query through the data module's own connection (the server
  // holds the database in client mode), each row's columns joined by "|".
  std::vector<std::string> Rows(const std::string& sql) {
    TIBTransaction tr;
    tr.SetDefaultDatabase(&SystemStore().IBDatabaseDEF);
    tr.StartTransaction();
    TIBSQL q;
    q.SetDatabase(&SystemStore().IBDatabaseDEF);
    q.SetTransaction(&tr);
    q.SQL.SetText(sql);
    std::vector<std::string> rows;
    q.ExecQuery();
    if (q.FieldCount() > 0) {
      for (; !q.Eof(); q.Next()) {
        std::string row;
        for (int i = 0; i < q.FieldCount(); ++i) row += (i ? "|" : "") + q.Fields(i).AsTrimString();
        rows.push_back(row);
      }
    }
    q.Close();
    tr.Commit();
    return rows;
  }
  std::string Value(const std::string& sql) {
    const auto rows = Rows(sql);
    return rows.empty() ? std::string() : rows.front();
  }
  void Exec(const std::string& sql) { Rows(sql); }

  // The hundred places made, place Rec named and its data-set rows listed.
  void NamePlace(int rec, const std::string& name, int rows) {
    std::vector<TDataPlaceRec> places;
    ASSERT_TRUE(LoadDataPlaces(places, false));
    Exec("UPDATE DATAPLACEMAN SET NAME='" + name + "' WHERE REC=" + std::to_string(rec));
    Value("SELECT COUNT(*) FROM SP_DATALIST_INSERT(" + std::to_string(rec) + ", '" + PlacePath(rec) + "', " +
          std::to_string(rows) + ")");
  }

  std::string PlacePath(int rec) const {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%.2d", rec);
    return rec == 0 ? sysDir_ : sysDir_ + digits;
  }

  std::unique_ptr<TDataPlaceBox> OpenPlaces() {
    auto box = std::make_unique<TDataPlaceBox>();
    box->Prepare(true);
    box->show();
    QApplication::processEvents();
    return box;
  }

  static int RowOfPlace(const TDataPlaceBox& box, int rec) {
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r)
      if (box.PerfectGrid1->RowValue(r) == rec) return r;
    return 0;
  }

  // Answers the next input dialog with Text (through its OK button).
  void AnswerInput(const std::string& text, std::string* shownText = nullptr) {
    responder_.Then([text, shownText](const ShownDialog& shown) {
      auto* in = dynamic_cast<TInputDlgBox*>(shown.window);
      if (!in) return mrCancel;
      if (shownText) *shownText = in->txtInput()->Text();
      in->txtInput()->setText(QString::fromStdString(text));
      in->btnOKClick();
      return static_cast<TModalResult>(in->result());
    });
  }

  bool BoxShown(const std::string& text) const {
    for (const std::string& t : BoxTexts())
      if (t.find(text) != std::string::npos) return true;
    return false;
  }

  static std::string Captions(const TDataPlaceBox& box) {
    return box.F2->text().toStdString() + "," + box.F3->text().toStdString() + "," + box.F5->text().toStdString() +
           "," + (box.F6->isEnabled() ? "up" : "-") + "," + (box.F7->isEnabled() ? "down" : "-");
  }
};

TEST_F(PlaceTest, FirstUseMakesTheHundredPlacesNamingPlaceZeroAfterTheSystemFolder) {
  const std::string forty = "/srv/" + std::string(35, 'd');
  ASSERT_EQ(forty.size(), 40u);
  struct Case { std::string sysDir, name; } cases[] = {
      {sysDir_, "標準の場所"}, {forty + "x", "標準の場所"}, {forty, forty}, {"/srv/cz/data", "/srv/cz/data"}};
  ASSERT_GT(sysDir_.size(), 40u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sysDir);
    Exec("DELETE FROM DATAPLACEMAN");
    SystemDef.SysDir = c.sysDir;
    std::vector<TDataPlaceRec> places;
    ASSERT_TRUE(LoadDataPlaces(places, false));
    ASSERT_EQ(places.size(), 100u);
    EXPECT_EQ(places[0].Name, c.name);
    EXPECT_EQ(places[0].Path, c.sysDir);
    EXPECT_EQ(places[7].Path, c.sysDir + "07");
    EXPECT_EQ(places[99].Path, c.sysDir + "99");
    for (std::size_t i = 0; i < places.size(); ++i) {
      EXPECT_EQ(places[i].Rec, static_cast<int>(i));
      EXPECT_EQ(places[i].OrderKbn, static_cast<int>(i) + 1);
      if (i > 0) {
        EXPECT_EQ(places[i].Name, "");
      }
    }
    // A second opening adds nothing; the named places are place 0 alone.
    ASSERT_TRUE(LoadDataPlaces(places, true));
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(Value("SELECT COUNT(*) FROM DATAPLACEMAN"), "100");
    EXPECT_EQ(GetPlaceNames(places), c.name + "\r");
  }
  SystemDef.SysDir = sysDir_;
}

TEST_F(PlaceTest, LookupsOverTheLoadedPlaces) {
  NamePlace(4, "第四", 0);
  std::vector<TDataPlaceRec> places;
  EXPECT_EQ(GetPlaceNames(places), "標準の場所\r第四\r");
  EXPECT_EQ(GetPlaceRec(places, 1), 4);
  EXPECT_EQ(GetPlaceRec(places, 2), -1);
  EXPECT_EQ(GetPlaceRec(places, -1), -1);
  EXPECT_EQ(GetPlacePath(places, 1), PlacePath(4));
  EXPECT_EQ(GetPlacePath(places, 2), "");
  EXPECT_EQ(IndexOfPlace(places, 4), 1);
  EXPECT_EQ(IndexOfPlace(places, 5), -1);
  EXPECT_EQ(GetPlacePathByRec(places, 0), sysDir_);
  EXPECT_EQ(GetPlacePathByRec(places, 5), "");
}

TEST_F(PlaceTest, KeysFollowTheActivePlace) {
  NamePlace(3, "第三", 0);
  SystemDef.DataPlace = 3;
  auto box = OpenPlaces();
  EXPECT_EQ(box->windowTitle().toStdString(), "データの場所の設定");
  ASSERT_EQ(box->PerfectGrid1->Rows(), 100);
  EXPECT_EQ(box->PerfectGrid1->Row(), RowOfPlace(*box, 3)) << "the chosen place is the active row";
  EXPECT_EQ(box->PerfectGrid1->CellText(4, 0), "4");
  EXPECT_EQ(box->PerfectGrid1->CellText(4, 1), "第三");
  EXPECT_EQ(box->PerfectGrid1->CellText(4, 2), PlacePath(3));
  const struct { int rec; const char* captions; } cases[] = {
      {0, "F2:,F3:名称変更,F5:,-,down"},            // place 0: never deleted
      {3, "F2:,F3:名称変更,F5:削除,up,down"},       // a place in use
      {1, "F2:新規作成,F3:,F5:,up,down"},           // not in use: only create
      {99, "F2:新規作成,F3:,F5:,up,-"}};
  for (const auto& c : cases) {
    box->PerfectGrid1->SetRow(RowOfPlace(*box, c.rec));
    EXPECT_EQ(Captions(*box), c.captions) << c.rec;
  }
  // Blank keys do nothing: no question, no change.
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 0));
  box->F5Click();
  box->F2Click();
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 1));
  box->F3Click();
  box->F5Click();
  EXPECT_TRUE(responder_.Shown().empty());
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATAPLACEMAN WHERE NAME<>''"), "2");
}

TEST_F(PlaceTest, CreatingAPlaceNamesItAndMakesItsFolder) {
  auto box = OpenPlaces();
  // Place 1: the name is trimmed, the folder made, the list rows written.
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 1));
  AnswerInput("　営業所 ");
  box->F2Click();
  ASSERT_EQ(responder_.Shown().size(), 1u);
  EXPECT_EQ(responder_.Shown()[0].caption, "新規作成");
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfPlace(*box, 1), 1), "営業所");
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=1"), "営業所");
  EXPECT_TRUE(fs::is_directory(PlacePath(1)));
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=1"), std::to_string(DataListCnt));
  EXPECT_EQ(Value("SELECT PASNAME FROM DATALIST_EX WHERE DATAPLACEREC=1 AND REC=1"), PlacePath(1) + "/0001");
  EXPECT_EQ(Captions(*box), "F2:,F3:名称変更,F5:削除,up,down");

  // Place 2: its folder already exists; that is reported and the place is named.
  responder_.Clear();
  fs::create_directories(PlacePath(2));
  fs::permissions(PlacePath(2), fs::perms::all);
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 2));
  AnswerInput("支店");
  box->F2Click();
  EXPECT_TRUE(BoxShown("既にデータサーバーにフォルダが作成されています。"));
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=2"), "支店");

  // Place 4: a file stands where the folder would go; the place stays unnamed.
  responder_.Clear();
  std::ofstream(PlacePath(4)) << "not a folder";
  fs::permissions(PlacePath(4), fs::perms::all);
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 4));
  AnswerInput("倉庫");
  box->F2Click();
  EXPECT_TRUE(BoxShown("データサーバーへフォルダの作成に失敗しました。"));
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=4"), "");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=4"), "0");

  // Place 5: cancelled, or OK with nothing entered.
  responder_.Clear();
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 5));
  responder_.Then(mrCancel);
  box->F2Click();
  responder_.Then(mrOk);
  box->F2Click();
  EXPECT_TRUE(BoxShown("名称が入力されていません。"));
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=5"), "");
  EXPECT_FALSE(fs::exists(PlacePath(5)));
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfPlace(*box, 5), 1), "");
}

TEST_F(PlaceTest, AFailedSaveKeepsNothingOfTheChange) {
  // The list rows of place 6 would get paths longer than their column holds.
  std::vector<TDataPlaceRec> places;
  ASSERT_TRUE(LoadDataPlaces(places, false));
  // (The columns hold 127 double-byte characters: 254 bytes.)
  const std::string path = sysDir_ + "/" + std::string(100, 'p') + "/" + std::string(248 - sysDir_.size() - 100, 'q');
  ASSERT_EQ(path.size(), 250u);
  fs::create_directories(path);
  Exec("UPDATE DATAPLACEMAN SET PATH='" + path + "' WHERE REC=6");
  auto box = OpenPlaces();
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 6));
  AnswerInput("長い場所");
  box->F2Click();
  ASSERT_FALSE(reported_.empty());
  EXPECT_NE(reported_.back().text.find("データの場所の登録に失敗しました。"), std::string::npos);
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=6"), "") << "the name is rolled back with the rows";
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=6"), "0");
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfPlace(*box, 6), 1), "") << "the grid shows what is stored";
  EXPECT_EQ(box->PerfectGrid1->Row(), RowOfPlace(*box, 6));
  EXPECT_EQ(Captions(*box), "F2:新規作成,F3:,F5:,up,down");
  // The next change saves only itself.
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 0));
  AnswerInput("本社");
  box->F3Click();
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATAPLACEMAN WHERE NAME<>''"), "1");
}

TEST_F(PlaceTest, RenamingOffersTheCurrentName) {
  auto box = OpenPlaces();
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 0));
  std::string offered;
  AnswerInput("本社", &offered);
  box->F3Click();
  EXPECT_EQ(offered, "標準の場所");
  EXPECT_EQ(responder_.Shown()[0].caption, "名称の変更");
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=0"), "本社");
  EXPECT_EQ(box->PerfectGrid1->CellText(1, 1), "本社");
}

TEST_F(PlaceTest, DeletingAPlaceNeedsItsDataSetFoldersGone) {
  NamePlace(3, "第三", 4);
  fs::create_directories(PlacePath(3) + "/0002");
  auto box = OpenPlaces();
  box->PerfectGrid1->SetRow(RowOfPlace(*box, 3));
  box->F5Click();
  EXPECT_TRUE(BoxShown("このフォルダ配下には会計データが存在しているため削除することが出来ません。\r"
                       "どうしても削除を行いたい場合は、配下の会計データをすべて削除してから処理して下さい。"));
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=3"), "第三");

  fs::remove(PlacePath(3) + "/0002");
  responder_.Clear();
  responder_.Then(mrCancel);
  box->F5Click();
  EXPECT_TRUE(BoxShown("[第三]を削除します。よろしいですか？"));
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=3"), "第三");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=3"), "4");

  responder_.Then(mrOk);
  box->F5Click();
  EXPECT_EQ(Value("SELECT NAME FROM DATAPLACEMAN WHERE REC=3"), "");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=3"), "0");
  EXPECT_TRUE(fs::is_directory(PlacePath(3))) << "the folder itself stays";
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfPlace(*box, 3), 1), "");
  EXPECT_EQ(Captions(*box), "F2:新規作成,F3:,F5:,up,down");
}

TEST_F(PlaceTest, MovingReordersThePlaces) {
  auto box = OpenPlaces();
  const std::string before = Value("SELECT LIST(REC || ':' || ORDERKBN) FROM (SELECT * FROM DATAPLACEMAN ORDER BY REC)");
  box->PerfectGrid1->SetRow(1);
  box->F6Click();
  box->PerfectGrid1->SetRow(100);
  box->F7Click();
  EXPECT_EQ(Value("SELECT LIST(REC || ':' || ORDERKBN) FROM (SELECT * FROM DATAPLACEMAN ORDER BY REC)"), before)
      << "nothing moves past either end";

  box->PerfectGrid1->SetRow(1);
  box->F7Click();
  EXPECT_EQ(box->PerfectGrid1->Row(), 2);
  EXPECT_EQ(box->PerfectGrid1->RowValue(1), 1);
  EXPECT_EQ(box->PerfectGrid1->RowValue(2), 0);
  EXPECT_EQ(box->PerfectGrid1->CellText(1, 0), "1");
  EXPECT_EQ(box->PerfectGrid1->CellText(2, 1), "標準の場所");
  EXPECT_EQ(Rows("SELECT REC FROM DATAPLACEMAN ORDER BY ORDERKBN,REC ROWS 3"),
            (std::vector<std::string>{"1", "0", "2"}));
  box->PerfectGrid1->SetRow(100);
  box->F6Click();
  EXPECT_EQ(box->PerfectGrid1->Row(), 99);
  EXPECT_EQ(Value("SELECT ORDERKBN FROM DATAPLACEMAN WHERE REC=99"), "99");
  EXPECT_EQ(Value("SELECT ORDERKBN FROM DATAPLACEMAN WHERE REC=98"), "100");
  // A new opening shows the stored order.
  auto again = OpenPlaces();
  EXPECT_EQ(again->PerfectGrid1->RowValue(1), 1);
  EXPECT_EQ(again->PerfectGrid1->RowValue(100), 98);
}

class PlaceButtonTest : public PlaceTest {
 protected:
  std::unique_ptr<TDataSentakuBox> OpenSentaku() {
    auto box = std::make_unique<TDataSentakuBox>();
    box->KeepOnClose = true;
    box->SetParams({"SyoriType=3"});
    box->KeepOnClose = true;
    box->PrepareMode();
    box->show();
    QApplication::processEvents();
    return box;
  }

  // Runs Action on the data-places dialog, then closes it with 閉じる.
  void OnPlaces(std::function<void(TDataPlaceBox&)> action) {
    responder_.Then([action](const ShownDialog& shown) {
      auto* places = dynamic_cast<TDataPlaceBox*>(shown.window);
      if (!places) return mrCancel;
      action(*places);
      places->btnOKClick();
      return static_cast<TModalResult>(places->result());
    });
  }
};

TEST_F(PlaceButtonTest, SettingsReloadThePlaceListAndFallBackToPlaceZero) {
  NamePlace(3, "第三", 2);
  NamePlace(5, "第五", 2);
  SystemDef.DataPlace = 3;
  auto box = OpenSentaku();
  ASSERT_EQ(box->cmbDataMan->count(), 3);
  ASSERT_EQ(box->cmbDataMan->currentText().toStdString(), "第三");

  // Renaming the chosen place keeps it chosen under its new name.
  OnPlaces([this](TDataPlaceBox& places) {
    EXPECT_EQ(places.PerfectGrid1->Row(), RowOfPlace(places, 3));
    AnswerInput("第三支店");
    places.F3Click();
  });
  box->btnDataManClick();
  EXPECT_EQ(box->cmbDataMan->currentText().toStdString(), "第三支店");
  EXPECT_EQ(box->DataPlace, 3);

  // Deleting it falls back to place 0 and loads its list.
  OnPlaces([this](TDataPlaceBox& places) {
    responder_.Then(mrOk);
    places.F5Click();
  });
  box->btnDataManClick();
  EXPECT_TRUE(BoxShown("[第三支店]を削除します。よろしいですか？"));
  ASSERT_EQ(box->cmbDataMan->count(), 2);
  EXPECT_EQ(box->cmbDataMan->itemText(1).toStdString(), "第五");
  EXPECT_EQ(box->cmbDataMan->currentData().toInt(), 0);
  EXPECT_EQ(box->DataPlace, 0);
  EXPECT_EQ(box->DataPlacePath, sysDir_);
  EXPECT_EQ(box->ListCtl->DataPlace, 0) << "the list of place 0 is loaded";
  EXPECT_TRUE(box->PerfectGrid1->isEnabled());
}

}  // namespace
