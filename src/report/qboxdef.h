// TQBOXDEF: the report's settings as the report component hands them to the
// renderer, the preview and printing. Texts keep their full length, so a long
// path opens the file that was written.
#pragma once

#include <string>

#include "platform/vcl/color.h"

// The engine's version label (header line and print-job title fallback).
inline constexpr const char* kQuillboxVersion = "3.00";

struct TQBOXDEF {
  std::string FormFile;
  std::string DataFile;
  std::string Title;
  std::string DeviceName;
  std::string FormName;
  std::string DocTitle;
  int PrinterNum = -1;
  int PaperSize = 0;
  int OutPutPaper = 0;
  int VRATIO = 1000;
  int HRATIO = 1000;
  std::string PaperName = "A4";
  int Orientation = 0;
  int TopMargin = 0;
  int LeftMargin = 0;
  int EvenMarginShift = 0;
  int TopCorrect = 0;
  int LeftCorrect = 0;
  int FormTopMargin = 0;
  int FormLeftMargin = 0;
  int BinNum = 7;  // automatic paper source
  TColor NetColor1 = 0xC0C0C0;
  TColor NetColor2 = 0xC0C0C0;
  TColor UserColor1 = 0;
  TColor UserColor2 = 0;
  TColor OcrGreen = 0x2CBE00;
  TColor OcrBlue = 0xAC661F;
  TColor OcrBrown = 0x23234D;
  TColor OcrPink = 0x7F02F0;
  TColor OcrOrange = 0x41B3FE;
  TColor OcrViolet = 0x903D57;
  TColor OcrPurple = 0x741A82;
  bool PrintFom = true;
  bool PrnDlg = true;
  int Zoom = 10;
  bool SizeChange = false;
  bool ImageOut = false;
  bool CurrentPage = true;
  bool PrevPaperButton = false;
  bool NextPaperButton = false;
  bool ModeSw = true;
  int PaperLength = 2970;
  int PaperWidth = 2100;
  int Scale = 100;
  int Copies = 1;
  int PrintQuality = -4;
  int ColorMode = 0;
  int Duplex = 1;
  int Collate = 0;
  int YResolution = 0;
  bool Permit = true;
  bool GrayScale = false;
  int DevModeFields = 0;
  bool PageBango = false;
  int PageBangoLeft = 0;
  int PageBangoTop = 0;
  int PageBangoAlignment = 2;  // 0 left, 1 centre, 2 right
  std::string PageBangoFontName = "ＭＳ 明朝";
  int PageBangoFontSize = 10;
  std::string PageBangoFormat = "(%d/%d)";
  int PageBangoMarkCount = 0;
};

// DevModeFields bit: the printer makes collated copies itself.
inline constexpr int kDevModeCollate = 0x8000;
