#include "report/papers.h"

#include <array>

namespace {

struct TPaperRow {
  int Number;
  TPaperSize Size;
};

constexpr std::array<TPaperRow, 11> kPapers = {{
    {8, {297, 420}},
    {9, {210, 297}},
    {11, {148, 210}},
    {12, {250, 354}},
    {13, {182, 257}},
    {16, {254, 356}},
    {17, {280, 432}},
    {44, {229, 280}},
    {45, {254, 280}},
    {46, {381, 280}},
    {90, {305, 280}},
}};

struct TScaleRow {
  int Report;
  int Printer;
  TSpacingFactors Factors;
};

constexpr std::array<TScaleRow, 10> kScales = {{
    {8, 9, {720, 720}},
    {8, 12, {843, 842}},
    {9, 11, {707, 705}},
    {9, 13, {865, 867}},
    {12, 13, {726, 728}},
    {12, 9, {839, 840}},
    {13, 9, {1156, 1154}},
    {9, 12, {1192, 1190}},
    {9, 8, {1414, 1414}},
    {12, 8, {1186, 1188}},
}};

}  // namespace

std::optional<TPaperSize> PaperSizeOf(int paperNumber) {
  for (const auto& row : kPapers)
    if (row.Number == paperNumber) return row.Size;
  return std::nullopt;
}

TSpacingFactors CrossPaperScale(int reportPaper, int printerPaper, int vratio, int hratio, TSpacingFactors current) {
  if (reportPaper == printerPaper) return {vratio, hratio};
  for (const auto& row : kScales)
    if (row.Report == reportPaper && row.Printer == printerPaper) return row.Factors;
  return current;
}
