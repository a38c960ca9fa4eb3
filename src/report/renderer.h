// The page renderer: draws one page of a print-data file or of a form file
// with a QPainter on any surface (a QImage for the preview and the tests, a
// printer page for printing). Coordinates are tenths of a millimetre from the
// page origin; the caller gives the device units per tenth of a millimetre.
#pragma once

#include <string>
#include <vector>

#include "report/papers.h"
#include "report/qboxdef.h"

class QPainter;
class TRecordFile;
struct TFormTables;

// What the drawing of one page needs besides the page's records.
struct TRenderTarget {
  QPainter* Painter = nullptr;
  int PixelsPerInch = 254;
  double UnitsX = 1.0;  // device units per tenth of a millimetre
  double UnitsY = 1.0;
  int Zoom = 10;        // 10 = 100 %
  bool EvenPage = false;
  int SubForm = 0;      // the form page (0..4) the data page uses
  int XOrigin = 0;      // device units
  int YOrigin = 0;
};

class TPageRenderer {
 public:
  TPageRenderer(const TQBOXDEF& settings, TFormTables& forms);

  // Render state, set by printing or the preview before pages are drawn.
  int LeftOrigin = 0;  // tenths of a millimetre
  int TopOrigin = 0;
  TSpacingFactors Factors;  // 0 = no scaling
  bool OnPrinter = false;
  int PrinterPaper = 9;  // the printer's current paper number
  // Page numbers of the data pages (0 = none) and their total; the page drawn next.
  std::vector<int> PageNumbers;
  int TotalPages = 0;
  int CurrentPage = 1;
  // The operator message of the last page drawn (MESSAGE record), else empty.
  std::string PendingMessage;

  // Draws the page that starts at the file's position ("DAT", "FOM" or
  // "SUBFORM"); true when the page ended at the end of the file, false at a
  // page end. An error while drawing stops the page and is logged.
  bool RenderPage(const std::string& layer, TRecordFile& file, const TRenderTarget& target);

 private:
  class Page;
  const TQBOXDEF& settings_;
  TFormTables& forms_;
};

// The page numbers of a data file: 0 for a page without a line or with a single
// line holding ORIENTATION or LINE, else the next number from 1; the header
// belongs to page 1. `total` becomes the last number.
std::vector<int> ScanPageNumbers(const std::string& path, int& total);
