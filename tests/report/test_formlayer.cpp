// Forms: the version line, variable definitions and "@" records, sub-forms
// pulled in by FORM records, and how data pages map onto form pages.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "report/formlayer.h"
#include "report/printdata.h"
#include "report/renderer.h"
#include "reporttest.h"

namespace {

using FormLayer = ReportTest;

TEST_F(FormLayer, VersionLine) {
  struct Case {
    const char* line;
    double version;
  };
  const Case cases[] = {{"*VER=\"2.10\" // \"9\"", 2.1}, {"*NOTHING", 1.75}, {"*VER=\"0\"", 1.75},
                        {"*VER=\"x\"", 1.75},           {"*VER // \"3\"", 1.75}};
  for (const auto& c : cases) {
    WriteBytes(Path("f.qlf"), Crlf({"LINE;1;1;2;2;", c.line}));
    EXPECT_DOUBLE_EQ(ReadFormVersion(Path("f.qlf")), c.version) << c.line;
  }
}

TEST_F(FormLayer, VariablesBySubFormAndPageCounts) {
  std::vector<const char*> lines = {"&;0;50;行間;", "&;100;200;name;ＭＳ 明朝;0;b;赤;1;right;0;1;1", "E;",
                                    "&;10;20;NAME;", "$;5;6;SUM;", "$;7;8;SUM;;9;;;;;;;"};
  std::string text;
  for (const char* l : lines) text += Crlf({l});
  for (int i = 0; i < 101; ++i) text += Crlf({("&;0;0;V" + std::to_string(i) + ";").c_str()});
  WriteBytes(Path("f.qlf"), text);
  TQBOXDEF s;
  TFormTables t;
  ReadFormVariables(t, Path("f.qlf"), 1000, 2000, s);
  EXPECT_EQ(t.FormPages, 2);
  const TFormVariable& v = t.SubForms[0].Variables[LookupFormVariable(t, 0, "Name")];
  EXPECT_EQ(LookupFormVariable(t, 0, "NAME"), 1);
  EXPECT_EQ(v.X, 1100);
  EXPECT_EQ(v.Y, 2200);
  EXPECT_EQ(v.FontSize, 12);  // 0 means 12
  EXPECT_EQ(v.Style, "B");
  EXPECT_EQ(v.Color, 0x0000FF);
  EXPECT_EQ(v.Alignment, 2);
  EXPECT_TRUE(v.OncePerPage);
  EXPECT_EQ(t.SubForms[0].Variables[0].Y, 2050);  // the line pitch, with the offset
  EXPECT_EQ(LookupFormVariable(t, 1, "name"), 1);
  EXPECT_TRUE(t.SubForms[1].Totals[0].Printed);
  EXPECT_EQ(t.SubForms[1].TotalPositions[0].FontSize, 9);
  // The 101st named variable of a sub-form is kept but no lookup reaches it.
  EXPECT_EQ(LookupFormVariable(t, 1, "V98"), 100);
  EXPECT_EQ(LookupFormVariable(t, 1, "V99"), 0);
  EXPECT_EQ(t.SubForms[1].Variables[101].Name, "V99");

  ReadFormVariables(t, Path("missing.qlf"), 0, 0, s);
  EXPECT_EQ(LookupFormVariable(t, 1, "name"), 0);

  struct Pages {
    int data, form, report;
  };
  for (const Pages& p : {Pages{5, 2, 6}, Pages{1, 3, 3}, Pages{4, 2, 4}, Pages{3, 0, 3}})
    EXPECT_EQ(ReportPageCount(p.data, p.form), p.report) << p.data << "/" << p.form;
  EXPECT_EQ(SubFormOfPage(6, 2), 1);
  EXPECT_EQ(SubFormOfPage(5, 2), 0);
}

class FormDrawing : public ReportTest {
 protected:
  QImage Render(const std::string& data, TPageRenderer& renderer) {
    WriteBytes(Path("d.dat"), data);
    TRecordFile file(Path("d.dat"));
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TRenderTarget target;
    target.Painter = &painter;
    renderer.RenderPage("DAT", file, target);
    return image;
  }
  static int InkRows(const QImage& image, int x0, int x1) {
    int rows = 0;
    bool inside = false;
    for (int y = 0; y < image.height(); ++y) {
      bool ink = false;
      for (int x = x0; x < x1; ++x) ink = ink || qGray(image.pixel(x, y)) < 128;
      if (ink && !inside) ++rows;
      inside = ink;
    }
    return rows;
  }
};

TEST_F(FormDrawing, VariablesRepeatByThePitchOrOncePerPage) {
  for (int once : {0, 1}) {
    WriteBytes(Path("v.qlf"), Crlf({"&;0;50;0;", ("&;100;100;A;ＭＳ ゴシック;10;;黒;1;;0;" + std::to_string(once) + ";0").c_str()}));
    TQBOXDEF s;
    TFormTables t;
    ReadFormVariables(t, Path("v.qlf"), 0, 0, s);
    TPageRenderer renderer(s, t);
    const QImage image = Render(Crlf({"@;A;H;", "@;A;H;"}), renderer);
    EXPECT_EQ(InkRows(image, 90, 200), once ? 1 : 2) << once;
  }
}

TEST_F(FormDrawing, FormRecordDrawsGreyInThePreviewAndNothingOnPaperWithoutTheForm) {
  WriteBytes(Path("sub.qlf"), Crlf({"LINE;0;0;100;0;9;0;黒;"}));
  const std::string data = Crlf({("FORM;" + Path("sub.qlf") + ";FALSE;100;200;").c_str()});
  TQBOXDEF s;
  s.PrintFom = false;
  TFormTables t;
  TPageRenderer renderer(s, t);
  const QImage preview = Render(data, renderer);
  EXPECT_EQ(preview.pixel(150, 200), qRgb(0xE6, 0xE6, 0xE6));
  renderer.OnPrinter = true;
  EXPECT_EQ(Render(data, renderer).pixel(150, 200), qRgb(255, 255, 255));
  s.PrintFom = true;
  EXPECT_EQ(Render(data, renderer).pixel(150, 200), qRgb(0, 0, 0));
}

TEST_F(FormDrawing, FormThatPullsItselfInEnds) {
  WriteBytes(Path("self.qlf"), Crlf({("FORM;" + Path("self.qlf") + ";FALSE;10;10;").c_str(), "LINE;0;0;50;0;"}));
  TQBOXDEF s;
  TFormTables t;
  TPageRenderer renderer(s, t);
  const QImage image = Render(Crlf({("FORM;" + Path("self.qlf") + ";FALSE;0;0;").c_str()}), renderer);
  EXPECT_EQ(image.pixel(20, 0), qRgb(0, 0, 0));
}

}  // namespace
