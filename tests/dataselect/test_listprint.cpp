// The data-list print: the print dialog (results, saved orientation, the
// operator's colour row in STYLECOLOR) and the printout of the lists of a real
// installation into PDF files read back with pdftotext, reached through the
// list print commands of the data-selection and shared-server dialogs.
#include <QApplication>
#include <QColorDialog>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <regex>

#include "core/globals.h"
#include "dataselect/datalistprint.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dataselect/datasentakuprintdlg.h"
#include "dstest.h"
#include "platform/vcl/application.h"
#include "report/colorset.h"
#include "report/engine.h"
#include "report/preview.h"
#include "report/printdlg.h"
#include "report/quillbox.h"

namespace fs = std::filesystem;

namespace {

class ListPrint : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    ConnectDef();
    SystemDef.OpCode = 10010;
    SystemDef.WinTempDir = root_ + "/wintemp";
    fs::create_directories(SystemDef.WinTempDir);
    SystemDef.PLineColor1 = 0x111111;
    SystemDef.PLineColor2 = 0x222222;
    SystemDef.NetColor1 = 0xC0C0C0;
    SystemDef.NetColor2 = 0x00FFFF;
    StartQuillboxEngine();
    QuillboxEngine().Vdb->SetOutputFile(Pdf());
  }
  void TearDown() override {
    QuillboxEngine().Vdb->SetOutputFile("");
    DsTest::TearDown();
  }
  std::string Pdf() const { return root_ + "/out.pdf"; }
  // The PDF's text, one string per page.
  std::vector<std::string> PdfPages() {
    QProcess p;
    p.start("pdftotext", {"-layout", QString::fromStdString(Pdf()), "-"});
    p.waitForFinished(30000);
    std::vector<std::string> pages;
    for (const QString& page : QString::fromUtf8(p.readAllStandardOutput()).split('\f'))
      if (!page.trimmed().isEmpty()) pages.push_back(page.toStdString());
    return pages;
  }
  static int CountOf(const std::string& text, const std::string& word) {
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++n;
    return n;
  }
  // Clicks `button` of the list print dialog after choosing the orientation.
  static ScriptedResponder::Action Choose(const char* button, bool landscape) {
    return [button, landscape](const ShownDialog& shown) {
      auto* dialog = static_cast<TDataSentakuPrintDlg*>(shown.window);
      (landscape ? dialog->btnYousiYoko : dialog->btnYousiTate)->setChecked(true);
      dialog->findChild<QPushButton*>(button)->click();
      return mrOk;
    };
  }
  static TDataListRec Row(int rec, const std::string& name, const std::string& folder) {
    TDataListRec r;
    r.Rec = rec;
    r.DataCode = "C" + std::to_string(rec);
    r.EntText = r.DispName = name;
    r.Nendo = 3;
    r.KikanText = "2019/04/01 ～ 2020/03/31";
    r.PasName = folder;
    return r;
  }
};

TEST_F(ListPrint, DialogResultsAndTheSavedOrientation) {
  // Whatever the caller switches on, the colour, start-page and both-sides options stay hidden.
  for (auto [button, result] : {std::pair{"btnOK", 1}, {"btnPreview", 2}, {"btnCopy", 3}}) {
    TDataSentakuPrintDlg dialog;
    TDefaultPrintRec rec;
    InitDefaultPrintRec(rec);
    rec.Title = "DataSentakuList";
    dialog.PrintRec = &rec;
    dialog.ShowColor = dialog.ShowStartPage = dialog.ShowBothSides = true;
    dialog.ShowPreview = dialog.ShowCopy = true;
    dialog.InitDialog(0);
    responder_.Then([&, button = button](const ShownDialog&) {
      EXPECT_FALSE(dialog.btnColor->isVisible());
      EXPECT_FALSE(dialog.txtStartPage->isVisible());
      EXPECT_FALSE(dialog.chkBoth->isVisible());
      EXPECT_TRUE(dialog.btnYousiTate->isChecked());
      if (result == 3) dialog.btnYousiYoko->setChecked(true);
      dialog.findChild<QPushButton*>(button)->click();
      return mrOk;
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(dialog.Result, result);
    EXPECT_EQ(rec.Extra, result == 3 ? "P010=1\r\n" : "P010=0\r\n");
  }
  // The last choice (横) is the operator's saved value; the next dialog opens in landscape.
  EXPECT_EQ(QueryDef("SELECT SSTR FROM STYLECOLOR WHERE OPCODE=10010 AND STYLENAME='020-DATASENTAKUPRINTDLG'"),
            "P010=1");
  TDataSentakuPrintDlg next;
  TDefaultPrintRec rec;
  InitDefaultPrintRec(rec);
  rec.Title = "DataSentakuList";
  next.PrintRec = &rec;
  next.InitDialog(0);
  EXPECT_TRUE(next.btnYousiYoko->isChecked());
  EXPECT_EQ(next.Orientation, 1);
  // Cancel gives no result.
  responder_.Then(mrCancel);
  EXPECT_EQ(next.ShowModal(), mrCancel);
  EXPECT_EQ(next.Result, 0);
}

TEST_F(ListPrint, OperatorColourRowWrittenAndReadBack) {
  EXPECT_EQ(PrintStyleName("DataSentakuList"), "020-DATASENTAKULIST");
  EXPECT_EQ(PrintStyleName(std::string(50, 'x')).size(), 40u);
  TDefaultPrintRec rec;
  InitDefaultPrintRec(rec);
  rec.Title = "DataSentakuList";
  rec.NetColor1 = 0x00FF00;  // differs from the environment: stored as it is
  rec.Extra = "P010=1\r\n";
  WriteStyleColorRec(rec);
  EXPECT_EQ(RowsDef("SELECT LINECOLOR1,LINECOLOR2,LINECOLOR3,LINECOLOR4,LINECOLOR5,NETCOLOR1,NETCOLOR2,SSTR "
                    "FROM STYLECOLOR WHERE OPCODE=10010 AND STYLENAME='020-DATASENTAKULIST'"),
            std::vector<std::string>{"-1|-1|-1|-1|-1|65280|-1|P010=1"});
  rec.LineColor2 = 0x0000FF;  // a second write updates the one row
  WriteStyleColorRec(rec);
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM STYLECOLOR WHERE OPCODE=10010 AND STYLENAME='020-DATASENTAKULIST'"), "1");
  // A later change of the environment colour shows where the row holds -1.
  SystemDef.PLineColor1 = 0x333333;
  TDefaultPrintRec back;
  InitDefaultPrintRec(back);
  back.Title = "DataSentakuList";
  ReadStyleColorRec(back);
  EXPECT_EQ(back.LineColor1, 0x333333);
  EXPECT_EQ(back.LineColor2, 0x0000FF);
  EXPECT_EQ(back.NetColor1, 0x00FF00);
  EXPECT_EQ(back.NetColor2, 0x00FFFF);
  EXPECT_EQ(back.Extra, "P010=1\r\n");
  // Another operator has no row: the environment colours stay.
  SystemDef.OpCode = 10020;
  TDefaultPrintRec other;
  InitDefaultPrintRec(other);
  other.Title = "DataSentakuList";
  ReadStyleColorRec(other);
  EXPECT_EQ(other.NetColor1, 0xC0C0C0);
  EXPECT_TRUE(other.Extra.empty());
}

TEST_F(ListPrint, ColourDialogKeepsTheOperatorsCustomColours) {
  // Nothing stored: sixteen white custom colours.
  {
    TPrnColorSetBox box;
    box.PerOperator = true;
    box.Colors = {1, 2, 3, 4};
    box.Prepare();
    EXPECT_EQ(QColorToColor(QColorDialog::customColor(0)), clWhite);
    EXPECT_EQ(QColorToColor(QColorDialog::customColor(15)), clWhite);
    EXPECT_TRUE(box.lblKankyoColor->isVisibleTo(&box));
    QColorDialog::setCustomColor(1, ColorToQColor(0x123456));
    // A colour chosen in the colour dialog comes back on OK.
    responder_.Then([](const ShownDialog& shown) {
      static_cast<QColorDialog*>(shown.window)->setCurrentColor(ColorToQColor(0x00FF00));
      return mrOk;
    });
    box.Buttons[2]->click();
    responder_.Then([&box](const ShownDialog&) {
      box.btnOK->click();
      return mrOk;
    });
    EXPECT_EQ(box.ShowModal(), mrOk);
    EXPECT_EQ(box.Colors[2], 0x00FF00);
    EXPECT_EQ(box.Colors[0], 1);
    EXPECT_EQ(SystemDef.NetColor1, 0xC0C0C0);  // per operator: the environment stays
  }
  const std::string stored =
      QueryDef("SELECT SSTR FROM STYLECOLOR WHERE OPCODE=10010 AND STYLENAME='Pallet_CustomColor'");
  EXPECT_EQ(stored.substr(0, 28), "ColorA=FFFFFF\r\nColorB=123456") << stored;
  // Read back the next time.
  QColorDialog::setCustomColor(1, Qt::white);
  TPrnColorSetBox again;
  again.Prepare();
  EXPECT_EQ(QColorToColor(QColorDialog::customColor(1)), 0x123456);
  EXPECT_FALSE(again.lblKankyoColor->isVisibleTo(&again));
  const std::vector<TColor> parsed = ParseCustomColors("ColorC=0000FF\r\nColorZ=123456\r\nbad\r\nColorP=XYZ");
  EXPECT_EQ(parsed[2], 0x0000FF);
  EXPECT_EQ(parsed[15], clWhite);
  EXPECT_EQ(ParseCustomColors(CustomColorsText(parsed)), parsed);
}

TEST_F(ListPrint, MonochromeTurnsColoursGrey) {
  TQuillbox q;
  q.NetColor1 = 0xC0C0C0;
  q.NetColor2 = 0x00FFFF;
  q.UserColor1 = 0x0000FF;
  ApplyMonochrome(1, q);
  EXPECT_EQ(q.UserColor1, 0x0000FF);
  ApplyMonochrome(0, q);
  EXPECT_EQ(q.NetColor1, 0xC0C0C0);
  EXPECT_EQ(q.NetColor2, 0xAAAAAA);
  EXPECT_EQ(q.UserColor1, 0);
  EXPECT_EQ(q.OcrGreen, 0);
}

TEST_F(ListPrint, PagesHoldFiftyFivePortraitAndThirtyFiveLandscapeRows) {
  for (int orientation : {0, 1}) {
    TPrDataList list;
    InitDefaultPrintRec(list.PrintSettings);
    list.Orientation = orientation;
    list.ListKind = 1;
    // 60 rows; the second has three children, so 63 lines.
    for (int i = 1; i <= 60; ++i) {
      TDataSentakuRec entry;
      entry.Row = Row(100 + i, "会社" + std::to_string(i), SystemDef.DataRoot + "/DATA/" + std::to_string(i));
      if (i == 2)
        for (int c = 1; c <= 3; ++c) entry.Children.push_back(Row(0, "子データ" + std::to_string(c), "/other/c"));
      entry.ChildCount = static_cast<int>(entry.Children.size());
      list.Rows.push_back(entry);
      list.DispIndex.push_back(i - 1);
    }
    responder_.Then(mrOk);  // the system print dialog
    list.PrintList(1);
    const std::vector<std::string> pages = PdfPages();
    const int perPage = orientation == 0 ? 55 : 35;
    ASSERT_EQ(pages.size(), orientation == 0 ? 2u : 2u) << orientation;
    // Every list line carries the period.
    EXPECT_EQ(CountOf(pages[0], "2019/04/01"), perPage);
    EXPECT_EQ(CountOf(pages[1], "2019/04/01"), 63 - perPage);
    EXPECT_EQ(CountOf(pages[0] + pages[1], "/other/c"), 3);
    EXPECT_NE(pages[0].find("共有データリスト"), std::string::npos);
    EXPECT_NE(pages[0].find("PAGE   1"), std::string::npos);
    EXPECT_NE(pages[1].find("PAGE   2"), std::string::npos);
    // Shared-server rows are numbered in display order; the code column only in landscape.
    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(\n\s*3\s+(C103\s+)?会社3\s)"))) << pages[0].substr(0, 800);
    EXPECT_EQ(pages[0].find("C103") != std::string::npos, orientation == 1);
    EXPECT_EQ(pages[0].find("コード") != std::string::npos, orientation == 1);
    EXPECT_NE(pages[0].find("~/DATA/1"), std::string::npos);
    EXPECT_EQ(pages[0].find(SystemDef.DataRoot), std::string::npos);
    fs::remove(Pdf());
  }
  // The temporary print-data file is gone.
  EXPECT_TRUE(fs::is_empty(SystemDef.WinTempDir));
}

TEST_F(ListPrint, DataSelectionListPrintsAndPreviewsTheRealList) {
  ExecDef({"UPDATE DATALIST SET DATACODE='A100',ENTTEXT='アルファ商事',SHOUGOU='アルファ商事',DATATYPE=1,NENDO=3,"
           "KISHU='2019-04-01',KIMATU='2020-03-31',VER_MAJOR=11,VER_MINOR1=1,UPDATE_LOCK=1 WHERE REC=1",
           "UPDATE DATALIST SET DATACODE='B200',ENTTEXT='ベータ工業',SHOUGOU='ベータ工業',DATATYPE=1,NENDO=5,"
           "KISHU='2021-01-01',KIMATU='2021-12-31',VER_MAJOR=11,VER_MINOR1=1,UPDATE_LOCK=1 WHERE REC=2"});
  TDataSentakuBox box;
  box.KeepOnClose = true;
  box.SetParams({"SyoriType=3", "JyokenSet=1", "DataVerMajor=11", "FormStyle=2"});
  box.PrepareMode();
  box.show();
  QApplication::processEvents();
  ASSERT_FALSE(box.DispList.empty());
  // Print, landscape.
  responder_.Clear();
  responder_.Then(Choose("btnOK", true)).Then(mrOk);
  EXPECT_EQ(PrintDataList(box), 1);
  ASSERT_GE(responder_.Shown().size(), 2u);
  EXPECT_EQ(responder_.Shown()[0].caption, "データリストの印刷");
  std::vector<std::string> pages = PdfPages();
  ASSERT_EQ(pages.size(), 1u);
  const std::string& page = pages[0];
  for (const char* word : {"データリスト", "PAGE   1", "No", "コード", "データリスト名", "会計年度", "会計期間",
                           "データフォルダ", "アルファ商事", "A100", "3期"})
    EXPECT_NE(page.find(word), std::string::npos) << word;
  EXPECT_EQ(page.find("共有データリスト"), std::string::npos);
  EXPECT_NE(page.find("~/data/0001"), std::string::npos) << page;
  // Each shown row is printed with its record number.
  for (std::int32_t index : box.DispList) {
    const TDataListRec& row = box.DataList[static_cast<std::size_t>(index)].Row;
    EXPECT_TRUE(std::regex_search(page, std::regex("\\n\\s*" + std::to_string(row.Rec) + "\\s+" + row.DataCode)))
        << row.Rec;
  }
  // Preview: the preview window shows the list's page.
  fs::remove(Pdf());
  std::string where;
  responder_.Then(Choose("btnPreview", false)).Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TImageDispForm");
    where = static_cast<TImageDispForm*>(shown.window)->WherePage->text().toStdString();
    return mrCancel;
  });
  EXPECT_EQ(PrintDataList(box), 1);
  EXPECT_EQ(where, "1/1");
  EXPECT_FALSE(fs::exists(Pdf()));
  // Cancel prints nothing.
  responder_.Then(mrCancel);
  EXPECT_EQ(PrintDataList(box), 0);
  EXPECT_FALSE(fs::exists(Pdf()));
}

}  // namespace
