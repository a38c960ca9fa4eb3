// Forms: a form file holds the fixed parts of a page in the records of a
// print-data file, cut into form pages by page ends. Its "&" lines define
// form variables (named text positions with their own font and colours) that
// the data's "@" records fill in, its "$" lines running totals; the
// definitions of each form page form one sub-form (at most five).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/vcl/color.h"

struct TQBOXDEF;

struct TFormVariable {
  int Repeat = 0;  // uses on the current page
  std::string Name;
  int X = 0, Y = 0;
  std::string FontName;
  int FontSize = 10;
  std::string Style;
  TColor Color = 0;
  std::string Background;  // the field as defined
  int Alignment = 0;
  int Width = 0;
  bool OncePerPage = false;
  int Centring = 0;
};

struct TFormTotal {
  std::string Name;
  int X = 0, Y = 0;
  std::int64_t Total = 0;  // ten-thousandths
  bool Printed = false;
};

struct TSubForm {
  std::array<TFormVariable, 200> Variables;  // slot 0: the line pitch ("0" or "行間")
  std::array<TFormTotal, 200> Totals;
  std::array<TFormVariable, 10> TotalPositions;
  int NextVariable = 1;
  int NextTotal = 0;
  int NextPosition = 0;
};

inline constexpr int kMaxSubForms = 5;

struct TFormTables {
  std::array<TSubForm, kMaxSubForms> SubForms;
  int FormPages = 0;  // the form's pages (page ends, and the text after the last one)
  double Version = 1.75;
};

// The engine's form tables.
TFormTables& FormTables();

// The number of the first line containing "VER": the text between its first
// pair of double quotes (before any "//"), or 1.75 when there is none or it is
// not above 0.
double ReadFormVersion(const std::string& path);
// Clears every table and reads the definitions of the form file, adding the
// offsets (tenths of a millimetre) to every position. A missing file leaves
// the tables empty.
void ReadFormVariables(TFormTables& tables, const std::string& path, int xOffset, int yOffset,
                       const TQBOXDEF& settings);
// The slot 1..100 of the first data variable of the sub-form with that name
// (compared upper-cased), or 0.
int LookupFormVariable(const TFormTables& tables, int subForm, const std::string& name);
// Resets the per-page repeat counters and totals of a sub-form.
void ResetFormPage(TFormTables& tables, int subForm);
// The pages of a report over a form: the form's count when it has more pages
// than the data, else the data's count rounded up to a multiple of the form's.
int ReportPageCount(int dataPages, int formPages);
// The sub-form (0-based) that data page n (from 1) uses.
int SubFormOfPage(int page, int formPages);
