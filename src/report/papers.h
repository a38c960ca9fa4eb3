// The engine's paper numbers (the printer paper numbers reports carry: 9 is
// A4) with their sizes, and the scale between a report's paper and the paper
// it is printed on.
#pragma once

#include <optional>

struct TPaperSize {
  int WidthMm = 0;
  int LengthMm = 0;
};

// The size of a paper of the table; nothing for any other number.
std::optional<TPaperSize> PaperSizeOf(int paperNumber);

struct TSpacingFactors {
  int Vertical = 0;    // thousandths; 0 = no scaling
  int Horizontal = 0;
};

// The factors for a report on `reportPaper` printed on `printerPaper`: the
// ratios when the papers are equal, the table's pair otherwise; a pair the
// table lacks leaves `current` as it is.
TSpacingFactors CrossPaperScale(int reportPaper, int printerPaper, int vratio, int hratio, TSpacingFactors current);
