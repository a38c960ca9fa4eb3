#include "dataselect/datalistprint.h"

#include "core/globals.h"
#include "platform/rtl/sysutils.h"
#include "report/quillbox.h"

namespace {

const char* FontName(int number) {
  static const char* const names[] = {"ＭＳ 明朝", "ＭＳ ゴシック", "ＭＳ Ｐ明朝", "ＭＳ Ｐゴシック"};
  return number >= 0 && number < 4 ? names[number] : names[0];
}

// `text` with every occurrence of `root` (compared ignoring case) replaced by "~".
std::string ShortenRoot(const std::string& text, const std::string& root) {
  if (root.empty()) return text;
  const std::string upperText = UpperCase(text), upperRoot = UpperCase(root);
  std::string out;
  std::size_t at = 0;
  for (std::size_t found; (found = upperText.find(upperRoot, at)) != std::string::npos; at = found + root.size())
    out += text.substr(at, found - at) + "~";
  return out + text.substr(at);
}

}  // namespace

TDataListPage DataListPageOf(std::int32_t orientation) {
  return orientation == 1 ? TDataListPage{35, 2820, 1945} : TDataListPage{55, 2000, 2820};
}

TPrDataList::TPrDataList() : quillbox_(std::make_unique<TQuillbox>()) {}
TPrDataList::~TPrDataList() = default;

void TPrDataList::PageHeader() {
  TQuillbox& q = *quillbox_;
  const TDefaultPrintRec& p = PrintSettings;
  const std::string font = FontName(p.FontNo);
  const std::string color = IntToStr(q.UserColor1);
  const bool landscape = Orientation == 1;
  q.WriteSimpleText(page_.RightEdge / 2, 150, ListKind == 0 ? "データリスト" : "共有データリスト", font, p.TitleSize,
                    "", "黒", "OFF", "CENTER", 0);
  q.WriteSimpleText(page_.RightEdge, 250, Format("PAGE %4d", pageNo_), font, p.HeadSize, "", "黒", "OFF", "RIGHT", 0);
  q.WriteLine(150, 300, page_.RightEdge, 300, 4, 0, color, false);
  struct Heading {
    const char* text;
    int portrait, landscape;
    const char* alignment;
  };
  const Heading headings[] = {{"No", 180, 180, "LEFT"},         {"コード", -1, 250, "LEFT"},
                              {"データリスト名", 250, 450, "LEFT"}, {"会計年度", 1050, 1250, "CENTER"},
                              {"会計期間", 1350, 1550, "CENTER"}, {"データフォルダ", 1600, 1800, "LEFT"}};
  for (const Heading& h : headings) {
    const int x = landscape ? h.landscape : h.portrait;
    if (x >= 0) q.WriteSimpleText(x, 325, h.text, font, p.HeadSize, "", "黒", "OFF", h.alignment, 0);
  }
  q.WriteLine(150, 390, page_.RightEdge, 390, 4, 0, color, false);
  q.WriteLine(150, page_.BottomLine, page_.RightEdge, page_.BottomLine, 4, 0, color, false);
}

void TPrDataList::PageStep() {
  if (line_ >= 1 && line_ < page_.Rows) {
    ++line_;
    return;
  }
  if (line_ > 0) quillbox_->NewPage();
  PageHeader();
  line_ = 1;
  ++pageNo_;
}

void TPrDataList::ListLine(const TDataListRec& row, int number, bool top) {
  TQuillbox& q = *quillbox_;
  const TDefaultPrintRec& p = PrintSettings;
  const std::string font = FontName(p.FontNo);
  const bool landscape = Orientation == 1;
  const int y = 361 + 44 * line_;
  auto text = [&](int x, const std::string& value, const char* alignment) {
    q.WriteSimpleText(x, y, value, font, p.BodySize, "", "黒", "OFF", alignment, 0);
  };
  if (top) text(170, Format("%3d", number), "LEFT");
  if (landscape) text(250, row.DataCode, "LEFT");
  text(landscape ? 450 : 250, row.DispName, "LEFT");
  const bool dated = !row.EntText.empty() && row.Nendo >= 1;
  text(landscape ? 1250 : 1050, dated ? Format("%d 期", row.Nendo) : std::string(), "CENTER");
  text(landscape ? 1550 : 1350, dated ? row.KikanText : std::string(), "CENTER");
  text(landscape ? 1800 : 1600, ShortenRoot(row.PasName, SystemDef.DataRoot), "LEFT");
  if (line_ < page_.Rows) q.WriteLine(150, y + 34, page_.RightEdge, y + 34, 0, 2, IntToStr(q.UserColor1), false);
}

void TPrDataList::PrintList(std::int32_t Mode, std::int32_t, std::int32_t) {
  TQuillbox& q = *quillbox_;
  PrintSettings.BodySize = 9;
  pageNo_ = 1;
  line_ = 0;
  page_ = DataListPageOf(Orientation);
  q.Title = "印刷プレビュー";
  q.DataFile = SystemDef.WinTempDir + "/データリスト.TMP";
  q.FormFile.clear();
  q.PaperSize = 9;
  q.Orientation = Orientation;
  q.TopMargin = 0;
  q.LeftMargin = 0;
  q.SetZoom(10);
  q.UserColor1 = 0;
  q.UserColor2 = 0;
  q.NetColor1 = SystemDef.NetColor1;
  q.NetColor2 = SystemDef.NetColor2;
  ApplyMonochrome(PrintSettings.ColorPrint, q);
  q.SetCopie(q.Copie());
  q.PrintFom = false;
  q.ModeSw = false;
  q.Permit = true;
  q.OpenDataFile(true);
  try {
    q.WriteHeader();
    for (std::size_t position = 0; position < DispIndex.size(); ++position) {
      const auto index = DispIndex[position];
      if (index < 0 || index >= static_cast<std::int32_t>(Rows.size())) continue;
      const TDataSentakuRec& entry = Rows[static_cast<std::size_t>(index)];
      PageStep();
      ListLine(entry.Row, ListKind == 0 ? entry.Row.Rec : static_cast<int>(position) + 1, true);
      for (const TDataListRec& child : entry.Children) {
        PageStep();
        ListLine(child, 0, false);
      }
    }
  } catch (...) {
    q.CloseDataFile();
    throw;
  }
  q.CloseDataFile();
  if (Mode == 1)
    q.Print();
  else
    q.Preview();
}
