#include "report/quillbox.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include <QFontDatabase>
#include <QGuiApplication>

#include "platform/rtl/datetime.h"
#include "report/engine.h"
#include "report/pagenoformat.h"
#include "report/printdata.h"
#include "report/printing.h"

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string IoMessage(const std::string& path, const char* what, int error) {
  return "<" + path + "> " + what + "（" + std::strerror(error) + "）";
}

// The font list needs the application; before it exists no font counts as installed.
bool FontInstalled(const std::string& name) {
  return QGuiApplication::instance() && QFontDatabase::hasFamily(QString::fromStdString(name));
}

}  // namespace

TQuillbox::TQuillbox() {
  SetOcrFontName("");
  const auto& engine = QuillboxEngine();
  if (engine.Vdb && !engine.Vdb->NoDefaultPrinter()) PrinterNum = engine.Vdb->CurrentIndex();
}

TQuillbox::~TQuillbox() {
  if (file_) std::fclose(file_);
}

void TQuillbox::SetOcrFontName(const std::string& name) {
  if (name.empty()) {
    ocrFontName_ = FontInstalled("OCR-B") ? "OCR-B" : FontInstalled("OCRB") ? "OCRB" : "ＭＳ ゴシック";
  } else if (FontInstalled(name)) {
    ocrFontName_ = name;
  }
}

void TQuillbox::SetCopie(int value) {
  if (value >= 1 && value <= 99) copie_ = value;
}
void TQuillbox::SetZoom(int value) {
  if (value >= 5 && value <= 20) zoom_ = value;
}
void TQuillbox::SetScale(int value) {
  if (value >= 50 && value <= 150) scale_ = value;
}
void TQuillbox::SetPrintQuality(int value) {
  if (value >= -4 && value <= -1) printQuality_ = value;
}
void TQuillbox::SetColorMode(int value) { colorMode_ = value >= 0 && value <= 2 ? value : 0; }
void TQuillbox::SetDuplex(int value) {
  if (value >= 1 && value <= 3) duplex_ = value;
}
void TQuillbox::SetCollate(int value) {
  if (value == 0 || value == 1) collate_ = value;
}

namespace {
int Ratio(int value) {
  if (value >= -50 && value <= 50) return 1000 + value;
  if (value >= 950 && value <= 1050) return value;
  return 1000;
}
}  // namespace

void TQuillbox::SetVRATIO(int value) { vratio_ = Ratio(value); }
void TQuillbox::SetHRATIO(int value) { hratio_ = Ratio(value); }

void TQuillbox::SetPageBangoFormat(const std::string& value) {
  markCount_ = PageNoMarkerCount(value);
  if (markCount_ == 1 || markCount_ == 2) {
    if (FormatPageNo(value, 1, 1)) {
      pageBangoFormat_ = value;
      return;
    }
  }
  PageBango = false;
  pageBangoFormat_ = "(%d/%d)";
}

TPageNoAlignment TQuillbox::PageBangoAlignment() const {
  return alignmentCode_ == 0 ? TPageNoAlignment::Left
         : alignmentCode_ == 1 ? TPageNoAlignment::Center
                               : TPageNoAlignment::Right;
}

void TQuillbox::SetPageBangoAlignment(TPageNoAlignment value) {
  switch (value) {
    case TPageNoAlignment::Left: alignmentCode_ = 0; break;
    case TPageNoAlignment::Center: alignmentCode_ = 1; break;
    case TPageNoAlignment::Right: alignmentCode_ = 2; break;
  }
}

void TQuillbox::Put(const std::string& bytes) {
  if (!file_) throw EInOutError("<" + DataFile + "> 印刷データファイルが開かれていません。");
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    throw EInOutError(IoMessage(DataFile, "に書き込めません。", errno));
}

void TQuillbox::OpenDataFile(bool UseTemporaryName) {
  if (file_) CloseDataFile();
  std::string path = DataFile;
  if (UseTemporaryName) {
    const std::string folder = FolderOf(DataFile);
    std::string pattern = (folder.empty() ? std::string(".") : folder) + "/~XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) throw EInOutError(IoMessage(pattern, "を作成できません。", errno));
    file_ = fdopen(fd, "wb");
    if (!file_) {
      const int error = errno;
      ::close(fd);
      ::unlink(pattern.c_str());
      throw EInOutError(IoMessage(pattern, "を作成できません。", error));
    }
    path = pattern;
    DataFile = path;
  } else {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw EInOutError(IoMessage(path, "を作成できません。", errno));
  }
  openedPath_ = path;
  headerWritten_ = false;
  try {
    WriteHeader();
  } catch (...) {
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(openedPath_.c_str());
    openedPath_.clear();
    throw;
  }
}

void TQuillbox::WriteHeader() {
  const std::string date = FormatDateTime("yyyy/mm/dd", Date());
  if (headerWritten_) return;
  TPrintDataHeader h;
  h.Folder = FolderOf(DataFile);
  h.Version = kQuillboxVersion;
  h.Date = date;
  h.Title = Title;
  h.FormFile = FormFile;
  h.PaperSize = PaperSize;
  h.OutPutPaper = OutPutPaper;
  h.Orientation = Orientation;
  h.TopMargin = TopMargin;
  h.LeftMargin = LeftMargin;
  h.FormTopMargin = FormTopMargin;
  h.FormLeftMargin = FormLeftMargin;
  h.NetColor1 = NetColor1;
  h.NetColor2 = NetColor2;
  h.UserColor1 = UserColor1;
  h.UserColor2 = UserColor2;
  h.FormPrint = PrintFom;
  h.Copies = copie_;
  h.PageNoSwitch = PageBango;
  h.PageNoLeft = PageBangoLeft;
  h.PageNoTop = PageBangoTop;
  h.PageNoAlignment = alignmentCode_;
  h.PageNoFormat = pageBangoFormat_;
  Put(HeaderBlock(h));
  headerWritten_ = true;
}

void TQuillbox::WriteText(int X, int Y, const std::string& Text, const std::string& FontName, int FontSize,
                          const std::string& Style, const std::string& Color, const std::string& Background,
                          const std::string& Alignment, int Centring, int Width) {
  Put(TextRecordLine(X, Y, Text, FontName, FontSize, Style, Color, Background, Alignment, Centring, Width));
}

void TQuillbox::WriteSimpleText(int X, int Y, const std::string& Text, const std::string& FontName, int FontSize,
                                const std::string& Style, const std::string& Color, const std::string& Background,
                                const std::string& Alignment, int Width) {
  WriteText(X, Y, Text, FontName, FontSize, Style, Color, Background, UpperCase(Alignment), 0, Width);
}

void TQuillbox::WriteLine(int X1, int Y1, int X2, int Y2, int LineWidth, int PenStyle, const std::string& Color,
                          bool Fine) {
  Put(LineRecordLine(Fine, X1, Y1, X2, Y2, LineWidth, PenStyle, Color));
}

void TQuillbox::WriteBox(int X1, int Y1, int X2, int Y2, int LineWidth, int PenStyle, const std::string& LineColor,
                         const std::string& FillColor, int FillStyle) {
  Put(BoxRecordLine(X1, Y1, X2, Y2, LineWidth, PenStyle, LineColor, FillColor, FillStyle));
}

void TQuillbox::NewPage() {
  ++PageNo;
  if (BlankPage != 0) WriteBox(100, 100, 101, 101, 0, 0, "黒", "白", 1);
  Put(std::string(kPageEndLine));
}

void TQuillbox::CloseDataFile() {
  headerWritten_ = false;
  if (!file_) return;
  std::FILE* f = file_;
  file_ = nullptr;
  openedPath_.clear();
  if (std::fclose(f) != 0) throw EInOutError(IoMessage(DataFile, "を閉じられません。", errno));
}

void TQuillbox::FillSettings(TQBOXDEF& d) const {
  d.FormFile = FormFile;
  d.DataFile = DataFile;
  d.Title = Title;
  d.PaperName = PaperName;
  d.DocTitle = !DocTitle.empty() ? DocTitle : !Title.empty() ? Title : std::string("QUILLBOX-") + kQuillboxVersion;
  d.PrinterNum = PrinterNum;
  d.PaperSize = PaperSize;
  d.OutPutPaper = OutPutPaper;
  d.Orientation = Orientation;
  d.Scale = scale_;
  d.Copies = copie_;
  d.PrintQuality = printQuality_;
  d.ColorMode = colorMode_;
  d.Duplex = duplex_;
  d.Collate = collate_;
  d.TopMargin = TopMargin;
  d.LeftMargin = LeftMargin;
  d.EvenMarginShift = EvenLeftMargin == 0 ? 0 : EvenLeftMargin - LeftMargin;
  d.TopCorrect = TopCorrect;
  d.LeftCorrect = LeftCorrect;
  d.FormTopMargin = FormTopMargin;
  d.FormLeftMargin = FormLeftMargin;
  d.NetColor1 = NetColor1;
  d.NetColor2 = NetColor2;
  d.UserColor1 = UserColor1;
  d.UserColor2 = UserColor2;
  d.OcrGreen = OcrGreen;
  d.OcrBlue = OcrBlue;
  d.OcrBrown = OcrBrown;
  d.OcrPink = OcrPink;
  d.OcrOrange = OcrOrange;
  d.OcrViolet = OcrViolet;
  d.OcrPurple = OcrPurple;
  d.PrintFom = PrintFom;
  d.PrnDlg = PrnDlg;
  d.Zoom = zoom_;
  d.SizeChange = SizeChange;
  d.ModeSw = ModeSw;
  d.PaperLength = PaperLength;
  d.PaperWidth = PaperWidth;
  d.Permit = Permit;
  d.ImageOut = ImageOut;
  d.CurrentPage = CurrentPage;
  d.VRATIO = vratio_;
  d.HRATIO = hratio_;
  d.GrayScale = GrayScale;
  d.PrevPaperButton = PrevPaperButton;
  d.NextPaperButton = NextPaperButton;
  d.PageBango = PageBango;
  d.PageBangoLeft = PageBangoLeft;
  d.PageBangoTop = PageBangoTop;
  d.PageBangoAlignment = alignmentCode_;
  d.PageBangoFontName = PageBangoFontName;
  d.PageBangoFontSize = PageBangoFontSize;
  d.PageBangoFormat = pageBangoFormat_;
  d.PageBangoMarkCount = markCount_;
}

bool TQuillbox::Preview() {
  auto& settings = QuillboxEngine().Settings;
  FillSettings(settings);
  previewCloseNum_ = StartPreview(settings);
  CleanUp();
  return previewCloseNum_ != 0;
}

bool TQuillbox::Print() {
  TQBOXDEF def;
  FillSettings(def);
  const int result = StartPrint(def);
  previewCloseNum_ = result != 0 ? 1 : 0;
  CleanUp();
  return result != 0;
}

void TQuillbox::CleanUp() {
  if (DelFile && !DataFile.empty()) {
    std::error_code ignored;
    std::filesystem::remove(DataFile, ignored);
    const std::string folder = FolderOf(DataFile);
    std::filesystem::remove((folder.empty() ? std::string(".") : folder) + "/CHART.WMF", ignored);
  }
  auto& engine = QuillboxEngine();
  if (engine.Vdb && engine.Vdb->Usable() && !engine.Vdb->NoDefaultPrinter()) {
    PrinterNum = engine.Vdb->CurrentIndex();
    engine.Settings.PrinterNum = PrinterNum;
    SetCopie(engine.Vdb->Copies());
    engine.Settings.Copies = copie_;
  }
  PageBango = false;
}
