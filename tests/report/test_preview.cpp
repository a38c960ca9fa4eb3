// The preview window opened through the engine on real print-data files:
// paging, page jump, zoom, close numbers, the print buttons, the margins
// dialog, and print bundles saved and opened again drawing the same pages.
#include <filesystem>

#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/rtl/cp932.h"
#include "platform/vcl/responder.h"
#include "report/editqbox.h"
#include "report/engine.h"
#include "report/preview.h"
#include "report/previewbox.h"
#include "report/quillbox.h"
#include "report/vdbprint.h"
#include "report/yohaku.h"
#include "reporttest.h"

namespace {

class Preview : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    responder.Install();
  }
  // A report of `pages` pages, each with its number in large type at its own height.
  TQBOXDEF Report(int pages, const std::string& form = "") {
    TQuillbox q;
    q.DataFile = Path("report.dat");
    q.FormFile = form;
    q.DelFile = false;
    q.OpenDataFile(false);
    for (int i = 1; i <= pages; ++i) {
      if (i > 1) q.NewPage();
      q.WriteSimpleText(200, 200 + 150 * i, "ページ" + std::to_string(i), "ＭＳ ゴシック", 20, "", "黒", "OFF", "LEFT", 0);
      q.WriteBox(150, 150 + 150 * i, 1500, 300 + 150 * i, 2, 0, "黒", "白", 0);
    }
    q.CloseDataFile();
    TQBOXDEF def;
    q.FillSettings(def);
    return def;
  }
  static TImageDispForm& Window(const ShownDialog& shown) { return *static_cast<TImageDispForm*>(shown.window); }
  static std::string Where(TImageDispForm& w) { return w.WherePage->text().toStdString(); }
  static QImage Picture(TImageDispForm& w) { return w.ImagePaintBox->grab().toImage(); }
  ScriptedResponder responder{mrCancel};
};

TEST_F(Preview, PagingJumpZoomAndCloseNumbers) {
  TQBOXDEF def = Report(3);
  std::vector<std::string> seen;
  QImage first, second;
  responder.Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TImageDispForm");
    TImageDispForm& w = Window(shown);
    seen.push_back(Where(w));
    first = Picture(w);
    w.PrevPage->click();
    seen.push_back(Where(w));
    w.NextPage->click();
    seen.push_back(Where(w));
    second = Picture(w);
    w.LastPage->click();
    seen.push_back(Where(w));
    w.NextPage->click();
    seen.push_back(Where(w));
    // Page jump: out of range leaves the page, text reads as page 1, 2 goes there.
    for (const char* answer : {"0", "4", "abc", "2"}) {
      responder.Then([answer](const ShownDialog& box) {
        EXPECT_EQ(box.caption, "ページ指定");
        static_cast<QInputDialog*>(box.window)->setTextValue(answer);
        return mrOk;
      });
      w.PgJump->click();
      seen.push_back(Where(w));
    }
    w.TopPage->click();
    seen.push_back(Where(w));
    // Zoom: limits at 20 and 5, 100 %, fit.
    w.SpeedButton3->click();
    EXPECT_EQ(w.Zoom(), 10);
    EXPECT_EQ(w.DispZoom->text().toStdString(), "100%");
    for (int i = 0; i < 15; ++i) w.ZoomInButton->click();
    EXPECT_EQ(w.Zoom(), 20);
    EXPECT_EQ(w.DispZoom->text().toStdString(), "200%");
    const int wide = w.PaperPanel->width();
    for (int i = 0; i < 20; ++i) w.ZoomOutButton->click();
    EXPECT_EQ(w.Zoom(), 5);
    EXPECT_LT(w.PaperPanel->width() * 3, wide);
    w.ZoomJustButton->click();
    EXPECT_GE(w.Zoom(), 5);
    EXPECT_LE(w.PaperPanel->height() + w.PaperPanel->y(), w.ImagePaintScrollBox->viewport()->height() + 15);
    w.CloseButton->click();
    return mrCancel;
  });
  EXPECT_EQ(StartPreview(def), 0);  // CloseButton
  const std::vector<std::string> expected{"1/3", "1/3", "2/3", "3/3", "3/3", "3/3", "3/3", "1/3", "2/3", "1/3"};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(first.isNull());
  EXPECT_NE(first, second);
  // The window's close box (no answer) when the report-switch buttons are hidden.
  EXPECT_EQ(StartPreview(def), 1);
  // The report-switch buttons close with -1 and 1.
  def.PrevPaperButton = def.NextPaperButton = true;
  for (int number : {-1, 1}) {
    responder.Then([number](const ShownDialog& shown) {
      TImageDispForm& w = Window(shown);
      EXPECT_TRUE(w.PrevPaper->isVisible());
      (number < 0 ? w.PrevPaper : w.NextPaper)->click();
      return mrCancel;
    });
    EXPECT_EQ(StartPreview(def), number);
  }
  def.PrevPaperButton = def.NextPaperButton = false;
  EXPECT_EQ(StartPreview(def), 1);
}

TEST_F(Preview, PermitOffLeavesOnlyViewingAndMissingFilesAreNamed) {
  TQBOXDEF def = Report(1);
  def.Permit = false;
  responder.Then([](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    EXPECT_FALSE(w.PrintButton->isEnabled());
    EXPECT_FALSE(w.PrintSetupButton->isEnabled());
    EXPECT_FALSE(w.CurrentPage->isEnabled());
    EXPECT_TRUE(w.ImageOut->isHidden());
    EXPECT_FALSE(w.ImageOpen->isEnabled());
    return mrCancel;
  });
  StartPreview(def);
  responder.Clear();
  def.DataFile = Path("none.dat");
  EXPECT_EQ(StartPreview(def), 0);
  ASSERT_EQ(responder.Shown().size(), 1u);
  EXPECT_EQ(responder.Shown()[0].lines.at(0), "<" + Path("none.dat") + "> が見つかりません。");
}

TEST_F(Preview, MarginsDialogShiftsThePage) {
  TQBOXDEF def = Report(1);
  QImage before, after;
  responder.Then([&](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    before = Picture(w);
    responder.Then([](const ShownDialog& box) {
      EXPECT_EQ(box.kind, "Tfmyohaku");
      auto& d = *static_cast<Tfmyohaku*>(box.window);
      EXPECT_TRUE(d.SpacingShown());  // the report paper is the printer's
      d.TopEdit->setText("100");
      d.LeftEdit->setText("50");
      d.VEdit->setText("20");
      d.OkButton->click();
      return mrOk;
    });
    w.SB_MARGIN->click();
    after = Picture(w);
    return mrCancel;
  });
  StartPreview(def);
  const TQBOXDEF& s = QuillboxEngine().Settings;
  EXPECT_EQ(s.TopMargin, 100);
  EXPECT_EQ(s.LeftMargin, 50);
  EXPECT_EQ(s.VRATIO, 1020);
  EXPECT_EQ(s.HRATIO, 1000);
  EXPECT_NE(before, after);
}

TEST_F(Preview, CurrentPagePrintsThatPageAlone) {
  TQBOXDEF def = Report(3);
  QuillboxEngine().Vdb->SetOutputFile(Path("out.pdf"));
  responder.Then([&](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    w.NextPage->click();
    w.CurrentPage->click();
    EXPECT_EQ(Where(w), "2/3");
    return mrCancel;
  });
  StartPreview(def);
  QuillboxEngine().Vdb->SetOutputFile("");
  ASSERT_TRUE(std::filesystem::exists(Path("out.pdf")));
  const std::string pdf = ReadBytes(Path("out.pdf"));
  EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
}

TEST_F(Preview, BundleSavedAndOpenedDrawsTheSamePages) {
  // A form with a FORM record and a picture, so that the copies are made.
  WriteBytes(Path("sub.qlf"), Crlf({"TEXT;100;1200;副フォーム;ＭＳ 明朝;12;;黒;OFF;LEFT;0;0;"}));
  QImage picture(40, 40, QImage::Format_RGB32);
  picture.fill(Qt::red);
  picture.save(QString::fromStdString(Path("pic.bmp")), "BMP");
  WriteBytes(Path("form.qlf"), Crlf({"TEXT;100;100;様式;ＭＳ 明朝;12;;黒;OFF;LEFT;0;0;"}));
  TQBOXDEF def = Report(2, Path("form.qlf"));
  {
    std::string data = ReadBytes(Path("report.dat"));
    data += Utf8ToCp932("FORM;" + Path("sub.qlf") + ";FALSE;0;0;\r\nIMAGE;100;1300;500;1700;" + Path("pic.bmp") +
                        ";1;\r\n");
    WriteBytes(Path("report.dat"), data);
  }
  std::filesystem::create_directory(Path("bundles"));
  const std::string bundle = Path("bundles/keep.qlb");
  responder.Then([&](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    std::vector<QImage> original;
    for (int page = 1; page <= 2; ++page, w.NextPage->click()) original.push_back(Picture(w));
    w.SaveBundleAs(bundle);
    // The report's files go; the bundle alone draws the pages.
    std::filesystem::remove(Path("sub.qlf"));
    std::filesystem::remove(Path("pic.bmp"));
    w.OpenBundleFile(bundle);
    EXPECT_EQ(w.DataFileShown(), bundle);
    EXPECT_EQ(w.FormFileShown(), Path("bundles/keep.qlf"));
    EXPECT_TRUE(w.ImageOpenCancel->isEnabled());
    EXPECT_EQ(Where(w), "1/2");
    for (int page = 1; page <= 2; ++page, w.NextPage->click())
      EXPECT_EQ(Picture(w), original[static_cast<std::size_t>(page - 1)]) << "page " << page;
    w.CancelOpenBundle();
    EXPECT_EQ(w.DataFileShown(), Path("report.dat"));
    EXPECT_FALSE(w.ImageOpenCancel->isEnabled());
    // A file that is not a print-data file changes nothing.
    WriteBytes(Path("bundles/bad.qlb"), "hello\r\n");
    responder.Then(mrOk);
    w.OpenBundleFile(Path("bundles/bad.qlb"));
    EXPECT_EQ(w.DataFileShown(), Path("report.dat"));
    return mrCancel;
  });
  StartPreview(def);
  EXPECT_TRUE(std::filesystem::exists(Path("bundles/keep_FORMAT-1.qlf")));
  EXPECT_TRUE(std::filesystem::exists(Path("bundles/keep_pic.bmp")));
  const std::string saved = Cp932ToUtf8(ReadBytes(bundle));
  EXPECT_NE(saved.find("*FORMFILE=" + Path("bundles/keep.qlf") + "\r\n"), std::string::npos);
  EXPECT_NE(saved.find("FORM;" + Path("bundles/keep_FORMAT-1.qlf") + ";FALSE;0;0;\r\n"), std::string::npos);
  EXPECT_NE(saved.find("IMAGE;100;1300;500;1700;" + Path("bundles/keep_pic.bmp") + ";0;\r\n"), std::string::npos);
  EXPECT_EQ(responder.Shown().back().lines.at(0), "[QUILLBOX]印刷ファイルではありません。");
}

TEST_F(Preview, PrintButtonPrintsTheChosenPagesAndKeepsTheView) {
  TQBOXDEF def = Report(3);
  def.PrnDlg = false;
  QuillboxEngine().Vdb->SetOutputFile(Path("out.pdf"));
  std::vector<std::string> kinds;
  responder.Then([&](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    w.NextPage->click();
    // The print dialog is offered even though the report asked for none; pages 2 to 3.
    responder.Then([&](const ShownDialog& box) {
      kinds.push_back(box.kind);
      auto* dialog = static_cast<QPrintDialog*>(box.window);
      dialog->setPrintRange(QAbstractPrintDialog::PageRange);
      dialog->printer()->setFromTo(2, 3);
      return mrOk;
    });
    w.PrintButton->click();
    EXPECT_EQ(Where(w), "2/3");
    EXPECT_EQ(w.Page(), 2);
    // The engine settings are the report's again.
    EXPECT_FALSE(QuillboxEngine().Settings.PrnDlg);
    EXPECT_EQ(QuillboxEngine().Settings.DataFile, Path("report.dat"));
    const std::string printed = PdfWords(Path("out.pdf"));
    // Cancelling the dialog prints nothing and leaves the view.
    std::filesystem::remove(Path("out.pdf"));
    responder.Then([&](const ShownDialog& box) {
      kinds.push_back(box.kind);
      return mrCancel;
    });
    w.PrintButton->click();
    EXPECT_FALSE(std::filesystem::exists(Path("out.pdf")));
    EXPECT_EQ(Where(w), "2/3");
    EXPECT_EQ(printed, "ページ2 | ページ3 | ");
    return mrCancel;
  });
  StartPreview(def);
  QuillboxEngine().Vdb->SetOutputFile("");
  EXPECT_EQ(kinds, (std::vector<std::string>{"TStartPrintDlg", "TStartPrintDlg"}));
}

TEST_F(Preview, PrinterSetupPaperIsLaidOutAtOnce) {
  TQBOXDEF def = Report(1);
  QuillboxEngine().Vdb->SetOutputFile(Path("out.pdf"));  // a printer whose paper can change here
  responder.Then([&](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    w.SpeedButton3->click();
    const QSize a4 = w.PaperPanel->size();
    const QImage before = Picture(w);
    responder.Then([](const ShownDialog& box) {
      EXPECT_EQ(box.kind, "TPrinterSetupDialog");
      static_cast<QPageSetupDialog*>(box.window)->printer()->setPageSize(QPageSize(QPageSize::A3));
      return mrOk;
    });
    w.PrintSetupButton->click();
    EXPECT_EQ(QuillboxEngine().Vdb->GetPaper(), 8);  // A3
    // A3 is A4 doubled: the paper on screen is about 1.41 times as wide and as long.
    EXPECT_NEAR(w.PaperPanel->width() * 1000 / a4.width(), 1414, 10);
    EXPECT_NEAR(w.PaperPanel->height() * 1000 / a4.height(), 1414, 10);
    EXPECT_GT(w.ImagePaintBox->width(), a4.width());
    EXPECT_NE(Picture(w), before);
    // A setup dialog left with Cancel keeps the paper.
    responder.Then(mrCancel);
    w.PrintSetupButton->click();
    EXPECT_EQ(QuillboxEngine().Vdb->GetPaper(), 8);
    return mrCancel;
  });
  StartPreview(def);
  QuillboxEngine().Vdb->SetPaper(9);
  QuillboxEngine().Vdb->SetOutputFile("");
}

TEST_F(Preview, DraggingThePageScrollsBothBars) {
  TQBOXDEF def = Report(1);
  responder.Then([&](const ShownDialog& shown) {
    TImageDispForm& w = Window(shown);
    for (int i = 0; i < 15; ++i) w.ZoomInButton->click();
    EXPECT_EQ(w.Zoom(), 20);
    QScrollBar* h = w.ImagePaintScrollBox->horizontalScrollBar();
    QScrollBar* v = w.ImagePaintScrollBox->verticalScrollBar();
    EXPECT_GT(h->maximum(), 300);
    EXPECT_GT(v->maximum(), 300);
    QWidget* box = w.ImagePaintBox;
    QPoint at = box->mapToGlobal(QPoint(400, 400));
    auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint to) {
      at = to;
      QMouseEvent e(type, QPointF(box->mapFromGlobal(to)), QPointF(to), button, held, Qt::NoModifier);
      QApplication::sendEvent(box, &e);
    };
    const QPoint start = at;
    struct Case {
      const char* what;
      QEvent::Type type;
      Qt::MouseButton button;
      Qt::MouseButtons held;
      QPoint by;
      int h, v;
      Qt::CursorShape cursor;
    } cases[] = {
        {"right button does not grab", QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {}, 0, 0,
         Qt::ArrowCursor},
        {"moving with the right button", QEvent::MouseMove, Qt::NoButton, Qt::RightButton, {-50, -50}, 0, 0,
         Qt::ArrowCursor},
        {"left press grabs", QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {}, 0, 0, Qt::SizeAllCursor},
        {"the page follows the mouse up and left", QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {-120, -80},
         120, 80, Qt::SizeAllCursor},
        {"further", QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {-30, -20}, 150, 100, Qt::SizeAllCursor},
        {"back beyond the start stops at 0", QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {200, 60}, 0, 40,
         Qt::SizeAllCursor},
        {"release restores the cursor", QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {}, 0, 40,
         Qt::ArrowCursor},
        {"moving after the release", QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {-100, -100}, 0, 40,
         Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
      send(c.type, c.button, c.held, at + c.by);
      EXPECT_EQ(h->value(), c.h) << c.what;
      EXPECT_EQ(v->value(), c.v) << c.what;
      EXPECT_EQ(box->cursor().shape(), c.cursor) << c.what;
    }
    EXPECT_NE(at, start);
    return mrCancel;
  });
  StartPreview(def);
}

}  // namespace
