// Printing: StartPrint's refusals, and whole reports printed into PDF files
// whose text pdftotext reads back in order, with the page count, copies,
// collation, page ranges and forms.
#include <filesystem>

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <gtest/gtest.h>

#include "platform/vcl/responder.h"
#include "report/engine.h"
#include "report/printing.h"
#include "report/quillbox.h"
#include "reporttest.h"

namespace {

class Printing : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    responder.Install();
    QuillboxEngine().Vdb->SetOutputFile(Path("out.pdf"));
  }
  void TearDown() override {
    QuillboxEngine().Vdb->SetOutputFile("");
    ReportTest::TearDown();
  }
  // A report of the given pages, each one text line, written through the component.
  void WriteReport(TQuillbox& q, const std::vector<std::string>& pages, int landscapePage = 0) {
    q.DataFile = Path("report.dat");
    q.PrnDlg = false;
    q.DelFile = false;
    q.OpenDataFile(false);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) q.NewPage();
      if (static_cast<int>(i) + 1 == landscapePage) q.WriteBox(0, 0, 0, 0, 0, 5, "白", "白", 1);
      q.WriteSimpleText(200, 200 + 100 * static_cast<int>(i), pages[i], "ＭＳ ゴシック", 12, "", "黒", "OFF",
                        "LEFT", 0);
      q.WriteLine(200, 400, 1200, 400, 2, 0, "0", false);
    }
    q.CloseDataFile();
  }
  // The words of the printed PDF in reading order, "|" at each page end.
  std::string PdfText() { return PdfWords(Path("out.pdf")); }
  ScriptedResponder responder{mrOk};
};

TEST_F(Printing, RefusalsNameTheFileAndPrintNothing) {
  WriteBytes(Path("plain.txt"), "*QUILLBOX\r\nTEXT;1;1;a;\r\n");
  WriteBytes(Path("good.dat"), "*QUILLBOX*\r\nTEXT;1;1;a;\r\n");
  struct Case {
    std::string data, form, message;
  };
  const Case cases[] = {
      {Path("none.dat"), "", "<" + Path("none.dat") + "> が見つかりません。"},
      {Path("plain.txt"), "", "<QUILLBOX>印刷データではありません。"},
      {Path("good.dat"), Path("none.qlf"), "<" + Path("none.qlf") + "> が見つかりません。"},
  };
  for (const auto& c : cases) {
    responder.Clear();
    TQBOXDEF def;
    def.DataFile = c.data;
    def.FormFile = c.form;
    def.PrnDlg = false;
    EXPECT_EQ(StartPrint(def), 0) << c.message;
    ASSERT_EQ(responder.Shown().size(), 1u) << c.message;
    EXPECT_EQ(responder.Shown()[0].lines.at(0), c.message);
  }
  EXPECT_FALSE(std::filesystem::exists(Path("out.pdf")));

  // Printing not permitted: the preview instead, and no print.
  int previews = 0;
  StartPreviewEntry = [&](TQBOXDEF&) { return ++previews; };
  TQBOXDEF def;
  def.DataFile = Path("good.dat");
  def.Permit = false;
  EXPECT_EQ(StartPrint(def), 0);
  EXPECT_EQ(previews, 1);
  StartPreviewEntry = nullptr;

  // An engine that is not ready does nothing at all.
  StopQuillboxEngine();
  responder.Clear();
  def.Permit = true;
  def.DataFile = Path("none.dat");
  EXPECT_EQ(StartPrint(def), 0);
  EXPECT_TRUE(responder.Shown().empty());
  StartQuillboxEngine();
}

TEST_F(Printing, PaperNumbersByNameOrSize) {
  TVDBPrint& vdb = *QuillboxEngine().Vdb;
  EXPECT_EQ(vdb.GetPaperNumber("A4", 0, 7, 0), 9);
  EXPECT_EQ(vdb.GetPaperNumber("A3", 0, 7, 0), 8);
  EXPECT_EQ(vdb.GetPaperNumber("?", 2575, 7, 1825), 13);  // JIS B5 within 10
  EXPECT_EQ(vdb.GetPaperNumber("?", 2580, 7, 1820), 7);   // 10 away is not within
  EXPECT_EQ(vdb.GetPaperNumber("?", 0, 7, 2100), 7);
  vdb.SetPaper(12);
  EXPECT_EQ(vdb.GetPaper(), 12);
  vdb.SetPaper(9);
}

// A report on the user-defined paper (256) comes out on a page of its own size.
TEST_F(Printing, UserDefinedPaperGivesItsOwnPageSize) {
  TQuillbox q;
  WriteReport(q, {"USER"});
  q.PaperSize = 256;
  q.PaperLength = 1500;
  q.PaperWidth = 1000;
  EXPECT_TRUE(q.Print());
  EXPECT_EQ(PdfText(), "USER | ");
  QProcess info;
  info.start("pdfinfo", {QString::fromStdString(Path("out.pdf"))});
  info.waitForFinished(30000);
  const std::string text = info.readAllStandardOutput().toStdString();
  // 100 x 150 mm in whole points (A4 would be 595 x 842).
  EXPECT_NE(text.find("Page size:       283 x 425 pts"), std::string::npos) << text;
  QuillboxEngine().Vdb->ResetUserPaperSize();
  QuillboxEngine().Vdb->SetPaper(9);
}

TEST_F(Printing, WholeReportInOrderWithCopiesAndCollation) {
  struct Case {
    int copies, collate;
    const char* expected;
  };
  const Case cases[] = {
      {1, 0, "ALPHA | BRAVO | CHARLIE | "},
      {2, 1, "ALPHA | BRAVO | CHARLIE | ALPHA | BRAVO | CHARLIE | "},
      {2, 0, "ALPHA | ALPHA | BRAVO | BRAVO | CHARLIE | CHARLIE | "},
  };
  for (const auto& c : cases) {
    QuillboxEngine().Vdb->SetOutputFile(Path("out.pdf"));
    TQuillbox q;
    WriteReport(q, {"ALPHA", "BRAVO", "CHARLIE"}, 2);
    q.SetCopie(c.copies);
    q.SetCollate(c.collate);
    EXPECT_TRUE(q.Print());
    EXPECT_EQ(PdfText(), c.expected) << c.copies << "/" << c.collate;
  }
}

TEST_F(Printing, DialogRangeAndFormPages) {
  TQuillbox q;
  WriteReport(q, {"P1", "P2", "P3", "P4", "P5"});
  q.PrnDlg = true;
  responder.Then([](const ShownDialog& shown) {
    auto* dialog = static_cast<QPrintDialog*>(shown.window);
    dialog->setPrintRange(QAbstractPrintDialog::PageRange);
    dialog->printer()->setFromTo(2, 3);
    return mrOk;
  });
  EXPECT_TRUE(q.Print());
  EXPECT_EQ(PdfText(), "P2 | P3 | ");

  // Cancelling the dialog prints nothing.
  std::filesystem::remove(Path("out.pdf"));
  responder.Then(mrCancel);
  EXPECT_FALSE(q.Print());
  EXPECT_FALSE(std::filesystem::exists(Path("out.pdf")));

  // Five data pages over a two-page form make six pages; the last shows the form alone.
  WriteBytes(Path("form.qlf"), Crlf({"TEXT;1000;1000;FORMA;", "E;", "TEXT;1000;1000;FORMB;", "E;"}));
  q.PrnDlg = false;
  q.FormFile = Path("form.qlf");
  EXPECT_TRUE(q.Print());
  EXPECT_EQ(PdfText(), "P1 FORMA | P2 FORMB | P3 FORMA | P4 FORMB | P5 FORMA | FORMB | ");
}

}  // namespace
