// The page renderer on a QImage at 254 pixels per inch (one pixel per tenth
// of a millimetre): where records land, alignment and spacing of texts, the
// first pass of FRECT, the cross-paper scale, field values, page numbers and
// a drawing error that stops the page.
#include <fstream>
#include <optional>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "platform/rtl/cp932.h"
#include "platform/rtl/faultpoint.h"
#include "report/errorlog.h"
#include "report/fields.h"
#include "report/formlayer.h"
#include "report/printdata.h"
#include "report/renderer.h"
#include "reporttest.h"

namespace {

struct Ink {
  int left = -1, top = -1, right = -1, bottom = -1;
  bool any() const { return left >= 0; }
};

// The box of the pixels darker than `level` inside the area (whole image by default).
Ink InkOf(const QImage& image, QRect area = {}, int level = 128) {
  if (area.isNull()) area = image.rect();
  Ink ink;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < level) {
        const bool first = !ink.any();
        if (first || x < ink.left) ink.left = x;
        if (first || y < ink.top) ink.top = y;
        ink.right = std::max(ink.right, x);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

class Renderer : public ReportTest {
 protected:
  // Draws the page `page` (from 1) of the records on a white image.
  QImage Render(std::initializer_list<const char*> lines, int page = 1, int width = 1200, int height = 800) {
    WriteBytes(Path("page.dat"), Crlf(lines));
    TRecordFile file(Path("page.dat"));
    file.SkipPages(page - 1);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TRenderTarget target;
    target.Painter = &painter;
    renderer.CurrentPage = page;
    renderer.RenderPage(layer, file, target);
    return image;
  }
  TQBOXDEF settings;
  TFormTables forms;
  TPageRenderer renderer{settings, forms};
  std::string layer = "DAT";
};

TEST_F(Renderer, LinesAndBoxesLandWhereTheRecordsSay) {
  struct Case {
    const char* record;
    int left, top;
    std::optional<int> leftOrigin;
    TSpacingFactors factors;
    QRect expected;  // the ink, within a pixel
  };
  const Case cases[] = {
      {"LINE;100;200;400;200;1;0;黒;", 0, 0, {}, {}, QRect(QPoint(100, 200), QPoint(400, 200))},
      {"LINE;100;200;100;500;1;0;0;", 0, 0, {}, {}, QRect(QPoint(100, 200), QPoint(100, 500))},
      {"BOX;100;100;300;250;1;0;黒;白;1;", 0, 0, {}, {}, QRect(QPoint(100, 100), QPoint(300, 250))},
      {"LINE;100;200;400;200;1;0;黒;", 0, 0, 50, {}, QRect(QPoint(150, 200), QPoint(450, 200))},
      // A4 report on B5 paper: 0.867 across, 0.865 down.
      {"LINE;100;200;400;200;1;0;黒;", 0, 0, {}, {865, 867}, QRect(QPoint(87, 173), QPoint(347, 173))},
      // Equal papers with VRATIO 1030: 3 % lower.
      {"LINE;100;200;400;200;1;0;黒;", 0, 0, {}, {1030, 1000}, QRect(QPoint(100, 206), QPoint(400, 206))},
  };
  for (const auto& c : cases) {
    renderer.LeftOrigin = c.leftOrigin.value_or(0);
    renderer.Factors = c.factors;
    const Ink ink = InkOf(Render({c.record}));
    ASSERT_TRUE(ink.any()) << c.record;
    EXPECT_NEAR(ink.left, c.expected.left(), 1) << c.record;
    EXPECT_NEAR(ink.top, c.expected.top(), 1) << c.record;
    EXPECT_NEAR(ink.right, c.expected.right(), 1) << c.record;
    EXPECT_NEAR(ink.bottom, c.expected.bottom(), 1) << c.record;
  }
}

TEST_F(Renderer, MarginRecordsHoldForTheirPageOnly) {
  WriteBytes(Path("m.dat"), Crlf({"LEFTMARGIN;100;", "LINE;0;10;50;10;", "E;", "LINE;0;10;50;10;"}));
  TRecordFile file(Path("m.dat"));
  QImage image(400, 100, QImage::Format_RGB32);
  QPainter painter(&image);
  TRenderTarget target;
  target.Painter = &painter;
  int lefts[2];
  for (int page = 0; page < 2; ++page) {
    image.fill(Qt::white);
    EXPECT_EQ(renderer.RenderPage("DAT", file, target), page == 1);
    lefts[page] = InkOf(image).left;
  }
  EXPECT_NEAR(lefts[0], 100, 1);
  EXPECT_NEAR(lefts[1], 0, 1);
  EXPECT_EQ(renderer.LeftOrigin, 0);
}

TEST_F(Renderer, TextAlignmentPlacesTheInk) {
  const Ink left = InkOf(Render({"TEXT;500;100;HHHH;ＭＳ ゴシック;20;;黒;1;LEFT;0;0;"}));
  const Ink right = InkOf(Render({"TEXT;500;100;HHHH;ＭＳ ゴシック;20;;黒;1;RIGHT;0;0;"}));
  const Ink centre = InkOf(Render({"TEXT;500;100;HHHH;ＭＳ ゴシック;20;;黒;1;CENTER;0;0;"}));
  ASSERT_TRUE(left.any() && right.any() && centre.any());
  const int width = left.right - left.left;
  EXPECT_NEAR(left.left, 500, 12);        // the side bearing of "H"
  EXPECT_NEAR(right.right, 500, 12);
  EXPECT_NEAR((centre.left + centre.right) / 2, 500, 3);
  EXPECT_NEAR(right.right - right.left, width, 1);
  EXPECT_GT(left.top, 100);               // the cell's top is the point
  const Ink centred = InkOf(Render({"TEXT;500;100;HHHH;ＭＳ ゴシック;20;;黒;1;LEFT;0;1;"}));
  EXPECT_LT(centred.top, 100);            // centring raises the text by half its height
  EXPECT_LT(centred.left, 500);
}

TEST_F(Renderer, TextBackgroundsAndFrectPasses) {
  // Grey under both texts; "ON" puts a white cell over it, "1" lets it through.
  const char* grey = "FRECT;0;0;1200;800;$808080;0;";
  const QImage on = Render({grey, "TEXT;100;100;.;;20;;白;ON;;0;0;"});
  const QImage off = Render({grey, "TEXT;100;100;.;;20;;白;1;;0;0;"});
  EXPECT_EQ(qGray(on.pixel(102, 104)), 255);
  EXPECT_EQ(qGray(off.pixel(102, 104)), 128);
  // Mode 1 is filled before everything, so the black line stays on top; mode 0 covers it.
  const QImage first = Render({"LINE;0;50;300;50;5;0;黒;", "FRECT;0;0;300;100;$0000FF;1;"});
  const QImage inOrder = Render({"LINE;0;50;300;50;5;0;黒;", "FRECT;0;0;300;100;$0000FF;0;"});
  EXPECT_EQ(first.pixel(150, 50), qRgb(0, 0, 0));
  EXPECT_EQ(inOrder.pixel(150, 50), qRgb(255, 0, 0));
}

TEST_F(Renderer, SpreadAndVerticalTexts) {
  // UTEXT: the last character ends at x + width.
  const Ink spread = InkOf(Render({"UTEXT;100;100;HHHH;ＭＳ ゴシック;20;;黒;1;;600;0;"}));
  EXPECT_NEAR(spread.right, 700, 12);
  EXPECT_NEAR(spread.left, 100, 12);
  // VTEXT: three characters over 500 units, one under the other.
  const Ink vertical = InkOf(Render({"VTEXT;100;100;HHH;ＭＳ ゴシック;20;;黒;1;;500;0;"}));
  EXPECT_LT(vertical.right - vertical.left, 60);
  EXPECT_NEAR(vertical.bottom, 600, 30);
  // A step below 1 draws the text across.
  const Ink across = InkOf(Render({"VTEXT;100;100;HHH;ＭＳ ゴシック;20;;黒;1;;10;0;"}));
  EXPECT_GT(across.right - across.left, 60);
}

TEST_F(Renderer, WideDashedLinesHaveFlatEnds) {
  const Ink dashed = InkOf(Render({"LINE;100;100;400;100;9;1;黒;"}));
  const Ink solid = InkOf(Render({"LINE;100;100;400;100;9;0;黒;"}));
  EXPECT_NEAR(dashed.left, 100, 1);
  EXPECT_GT(100 - solid.left, 2);  // round ends reach beyond the point
}

TEST_F(Renderer, DrawingErrorStopsThePageAndLogsOneLine) {
  int seen = 0;
  FaultPointHook = [&](std::string_view point) {
    if (point == "report.draw" && ++seen == 2) throw std::runtime_error("描画に失敗しました");
  };
  const QImage image = Render({"LINE;0;10;100;10;", "BOX;0;50;100;90;", "LINE;0;200;100;200;"});
  FaultPointHook = nullptr;
  EXPECT_TRUE(InkOf(image, QRect(0, 5, 200, 10)).any());
  EXPECT_FALSE(InkOf(image, QRect(0, 40, 200, 200)).any());
  const std::string log = Cp932ToUtf8(ReadBytes(QuillboxErrorLogPath()));
  EXPECT_NE(log.find("  ImageOut.(BOX):描画に失敗しました\r\n"), std::string::npos) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
}

TEST_F(Renderer, PageNumbersOnlyOnPagesWithContent) {
  WriteBytes(Path("n.dat"), Crlf({"*QUILLBOX*", "LINE;1;1;2;2;", "E;", "TEXT;1;1;a;", "E;", "E;", "TEXT;1;1;b;",
                                  "LINE;1;1;2;2;"}));
  int total = 0;
  EXPECT_EQ(ScanPageNumbers(Path("n.dat"), total), (std::vector<int>{0, 1, 0, 2}));
  EXPECT_EQ(total, 2);

  settings.PageBango = true;
  settings.PageBangoFormat = "%d";
  settings.PageBangoMarkCount = 1;
  settings.PageBangoLeft = 600;
  settings.PageBangoTop = 400;
  settings.PageBangoFontName = "ＭＳ ゴシック";
  settings.PageBangoAlignment = 0;
  renderer.PageNumbers = {0, 1, 0, 2};
  renderer.TotalPages = 2;
  const QRect numberArea(600, 380, 300, 200);
  EXPECT_FALSE(InkOf(Render({"LINE;1;1;2;2;", "E;", "TEXT;1;1;a;"}, 1), numberArea).any());
  EXPECT_TRUE(InkOf(Render({"LINE;1;1;2;2;", "E;", "TEXT;1;1;a;"}, 2), numberArea).any());
}

TEST_F(Renderer, PicturesByExtension) {
  QImage black(20, 20, QImage::Format_RGB32);
  black.fill(Qt::black);
  black.save(QString::fromStdString(Path("p.bmp")));
  black.save(QString::fromStdString(Path("p.png")));
  WriteBytes(Path("p.wmf"), "not a picture");
  EXPECT_TRUE(InkOf(Render({("IMAGE;100;100;200;200;" + Path("p.bmp") + ";0;").c_str()})).any());
  EXPECT_FALSE(InkOf(Render({("IMAGE;100;100;200;200;" + Path("p.png") + ";0;").c_str()})).any());
  // No player for metafiles: nothing drawn, one log line, and the page goes on.
  const QImage wmf = Render({("IMAGE;100;100;200;200;" + Path("p.wmf") + ";0;").c_str(), "LINE;300;300;400;300;"});
  EXPECT_FALSE(InkOf(wmf, QRect(100, 100, 101, 101)).any());
  EXPECT_TRUE(InkOf(wmf, QRect(300, 295, 101, 10)).any());
  EXPECT_NE(Cp932ToUtf8(ReadBytes(QuillboxErrorLogPath())).find("ImageOut.(IMAGE):"), std::string::npos);
}

TEST(ReportFields, ColoursBackgroundsAndAlignments) {
  TQBOXDEF s;
  s.NetColor1 = 0x111111;
  s.UserColor1 = 0x222222;
  struct Case {
    const char* field;
    TColor expected;
  };
  const Case cases[] = {{"255", 0x0000FF}, {"9", 0x0000FF}, {"$FF", 0x0000FF}, {"abc", 0},     {"黒", 0},
                        {"赤", 0x0000FF},  {"薄網掛", 0x111111}, {"ucolor1", 0x222222}, {"40", 0x111111},
                        {"42", 0x222222},  {"16", SystemColor(1)}, {"1000", 1000}};
  for (const auto& c : cases) EXPECT_EQ(LookupColor(c.field, s, false), c.expected) << c.field;
  // The form layer shows faintly while the form is not printed.
  s.PrintFom = false;
  EXPECT_EQ(LookupColor("赤", s, true), 0xE6E6E6);
  EXPECT_EQ(LookupColor("白", s, true), 0xFFFFFF);
  EXPECT_EQ(LookupColor("赤", s, false), 0x0000FF);
  s.GrayScale = true;
  EXPECT_EQ(LookupColor("$0000FF", s, false), 0x4C4C4C);  // level 76
  EXPECT_EQ(LookupColor("白", s, false), 0xFFFFFF);
  TColor bg = 0;
  EXPECT_FALSE(LookupBackground("1", s, false, bg));
  EXPECT_FALSE(LookupBackground("OFF", s, false, bg));
  EXPECT_FALSE(LookupBackground("黒", s, false, bg));  // colour values of 15 or less draw nothing
  EXPECT_TRUE(LookupBackground("ON", s, false, bg));
  EXPECT_EQ(bg, 0xFFFFFF);
  for (const char* centre : {"CENTER", "1"}) EXPECT_EQ(AlignmentCode(centre), 1);
  for (const char* right : {"RIGHT", "2", "BOTTOM"}) EXPECT_EQ(AlignmentCode(right), 2);
  EXPECT_EQ(AlignmentCode("center"), 0);
}

TEST(ReportPapers, CrossPaperScaleTable) {
  struct Case {
    int report, printer, v, h;
  };
  const Case cases[] = {{9, 9, 1030, 990}, {8, 9, 720, 720},   {8, 12, 843, 842},   {9, 11, 707, 705},
                        {9, 13, 865, 867}, {12, 13, 726, 728}, {12, 9, 839, 840},   {13, 9, 1156, 1154},
                        {9, 12, 1192, 1190}, {9, 8, 1414, 1414}, {12, 8, 1186, 1188}, {11, 9, 7, 8}};
  for (const auto& c : cases) {
    const auto f = CrossPaperScale(c.report, c.printer, 1030, 990, {7, 8});
    EXPECT_EQ(f.Vertical, c.v) << c.report << "/" << c.printer;
    EXPECT_EQ(f.Horizontal, c.h) << c.report << "/" << c.printer;
  }
  EXPECT_EQ(PaperSizeOf(12)->LengthMm, 354);
  EXPECT_FALSE(PaperSizeOf(256));
}

}  // namespace
