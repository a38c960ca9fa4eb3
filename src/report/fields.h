// The values of record fields: colours, backgrounds, alignments, text styles,
// pen and fill styles, as the page renderer reads them.
#pragma once

#include <string>

#include <Qt>

#include "platform/vcl/color.h"

struct TQBOXDEF;

// A colour field: a colour name, a special colour name, or a number (decimal
// or "$" hexadecimal) that is a palette entry for 0..35 and 40..43 and a
// colour value otherwise. `formLayer` is true for the form layer and
// sub-forms, which turn light grey while the form is not printed. GrayScale
// turns every colour but black and white into its grey.
TColor LookupColor(const std::string& field, const TQBOXDEF& settings, bool formLayer);
// The background of a text: nothing (transparent) for "1", "OFF" and colour
// values of 15 or less; white for "ON"; otherwise the colour.
bool LookupBackground(const std::string& field, const TQBOXDEF& settings, bool formLayer, TColor& color);
// 0 left, 1 centre, 2 right.
int AlignmentCode(const std::string& field);

struct TTextStyle {
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false, DoubleUnderline = false;
};
TTextStyle TextStyleOf(const std::string& field);

Qt::PenStyle PenStyleOf(int code);
Qt::BrushStyle BrushStyleOf(int code);
