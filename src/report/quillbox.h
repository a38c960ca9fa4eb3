// TQuillbox: the component through which a client produces a report. It holds
// the report's settings, writes the print-data file (header, records, page
// ends) and hands the closed file to the preview or to printing. Settings with
// a rule (a limited range, a format) have setters; the others are plain
// members. Coordinates are tenths of a millimetre, font sizes points.
#pragma once

#include <cstdio>
#include <string>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/color.h"
#include "report/qboxdef.h"

// A print-data file that cannot be created, written or closed.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

enum class TPageNoAlignment { Left, Right, Center };

class TQuillbox {
 public:
  TQuillbox();
  ~TQuillbox();
  TQuillbox(const TQuillbox&) = delete;
  TQuillbox& operator=(const TQuillbox&) = delete;

  std::string DataFile;
  std::string FormFile;
  std::string Title;
  std::string DocTitle;
  TColor OcrGreen = 0x2CBE00;
  TColor OcrBlue = 0xAC661F;
  TColor OcrPink = 0x7F02F0;
  TColor OcrBrown = 0x23234D;
  TColor OcrOrange = 0x41B3FE;
  TColor OcrViolet = 0x903D57;
  TColor OcrPurple = 0x741A82;
  int Orientation = 0;
  int PaperSize = 9;
  int OutPutPaper = 0;
  std::string PaperName = "A4";
  int LeftMargin = 0;
  int TopMargin = 0;
  int EvenLeftMargin = 0;
  int LeftCorrect = 0;
  int TopCorrect = 0;
  int FormLeftMargin = 0;
  int FormTopMargin = 0;
  int PageNo = 1;
  bool PrintFom = true;
  bool PrnDlg = true;
  int PrinterNum = -1;
  int BinNum = 0;
  TColor NetColor1 = 0xC0C0C0;
  TColor NetColor2 = 0xC0C0C0;
  TColor UserColor1 = 0;
  TColor UserColor2 = 0;
  bool SizeChange = false;
  int PaperLength = 2970;
  int PaperWidth = 2100;
  bool ModeSw = false;
  bool Permit = true;
  int PosCenter = 0;
  bool CurrentPage = true;
  bool ImageOut = false;
  int LineMaxCount = 0;
  bool DelFile = true;
  int BlankPage = 0;
  bool GrayScale = false;
  bool PageBango = false;
  int PageBangoLeft = 0;
  int PageBangoTop = 0;
  std::string PageBangoFontName = "ＭＳ 明朝";
  int PageBangoFontSize = 10;
  bool PrevPaperButton = false;
  bool NextPaperButton = false;

  const std::string& OcrFontName() const { return ocrFontName_; }
  void SetOcrFontName(const std::string& name);
  int Copie() const { return copie_; }
  void SetCopie(int value);
  int Zoom() const { return zoom_; }
  void SetZoom(int value);
  int Scale() const { return scale_; }
  void SetScale(int value);
  int PrintQuality() const { return printQuality_; }
  void SetPrintQuality(int value);
  int ColorMode() const { return colorMode_; }
  void SetColorMode(int value);
  int Duplex() const { return duplex_; }
  void SetDuplex(int value);
  int Collate() const { return collate_; }
  void SetCollate(int value);
  int VRATIO() const { return vratio_; }
  void SetVRATIO(int value);
  int HRATIO() const { return hratio_; }
  void SetHRATIO(int value);
  const std::string& PageBangoFormat() const { return pageBangoFormat_; }
  void SetPageBangoFormat(const std::string& value);
  int PageBangoMarkCount() const { return markCount_; }
  TPageNoAlignment PageBangoAlignment() const;
  void SetPageBangoAlignment(TPageNoAlignment value);
  int PageBangoAlignmentCode() const { return alignmentCode_; }
  int PreviewCloseNum() const { return previewCloseNum_; }

  // Writer operations; every input/output failure throws EInOutError.
  void OpenDataFile(bool UseTemporaryName);
  void WriteHeader();
  void WriteText(int X, int Y, const std::string& Text, const std::string& FontName, int FontSize,
                 const std::string& Style, const std::string& Color, const std::string& Background,
                 const std::string& Alignment, int Centring, int Width);
  void WriteSimpleText(int X, int Y, const std::string& Text, const std::string& FontName, int FontSize,
                       const std::string& Style, const std::string& Color, const std::string& Background,
                       const std::string& Alignment, int Width);
  void WriteLine(int X1, int Y1, int X2, int Y2, int LineWidth, int PenStyle, const std::string& Color, bool Fine);
  void WriteBox(int X1, int Y1, int X2, int Y2, int LineWidth, int PenStyle, const std::string& LineColor,
                const std::string& FillColor, int FillStyle);
  void NewPage();
  void CloseDataFile();
  bool IsOpen() const { return file_ != nullptr; }

  // The settings as the engine's parts take them.
  void FillSettings(TQBOXDEF& def) const;
  bool Preview();
  bool Print();

 private:
  void Put(const std::string& bytes);
  void CleanUp();

  std::string ocrFontName_;
  int copie_ = 1;
  int zoom_ = 10;
  int scale_ = 100;
  int printQuality_ = 0;
  int colorMode_ = 0;
  int duplex_ = 0;
  int collate_ = 0;
  int vratio_ = 1000;
  int hratio_ = 1000;
  std::string pageBangoFormat_ = "(%d/%d)";
  int markCount_ = 0;
  int alignmentCode_ = 2;
  int previewCloseNum_ = 0;
  std::FILE* file_ = nullptr;
  bool headerWritten_ = false;
  std::string openedPath_;  // the file this component created, until it is closed
};
