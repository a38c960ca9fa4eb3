// Schedule records of the consumption-tax engines. A schedule column keeps
// its fields under the numbers of the printed form (F[1] is line 1); a
// schedule is an array of columns addressed by the form's column index.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/rtl/currency.h"

// Columns Lo..Hi of one schedule; an index outside them is a programming error.
template <typename Column, int Lo, int Hi>
class TColumns {
 public:
  static constexpr int kLo = Lo;
  static constexpr int kHi = Hi;
  Column& operator[](int c) { return cols_.at(static_cast<std::size_t>(c - Lo)); }
  const Column& operator[](int c) const { return cols_.at(static_cast<std::size_t>(c - Lo)); }
  void Reset() { cols_.fill(Column{}); }

 private:
  std::array<Column, Hi - Lo + 1> cols_{};
};

// Schedule 1 / 1-1 (principle taxation): 20 amounts per column.
struct TFuhyou1Column {
  std::array<Currency, 21> F{};
};

// Schedule 2 / 2-1 (taxable-sales ratio and deductible purchase tax), one
// column. F[1]..F[23], F[26], F[27] are amounts (F[8] the ratio in percent);
// line 24 is the method label and line 25 the full-deduction flag.
struct TFuhyou2_H260401 {
  std::array<Currency, 28> F{};
  std::string MethodLabel;         // line 24: "全額控除", "個別対応", "比例配分"
  std::int32_t FullDeduction = 0;  // line 25
};

// Schedule 4 / 4-1 (simplified taxation): 17 amounts per column.
struct TFuhyou4Column {
  std::array<Currency, 18> F{};
};

// Schedule 5 / 5-1 (deemed purchase tax), one column. F[1]..F[57] and F[59]
// are amounts; lines 58, 60 and 61 are the integers and the flag below.
struct TFuhyou5Column {
  std::array<Currency, 60> F{};
  std::int32_t SingleType = 0;   // line 58: the only business type, 0 several or none
  std::int32_t FirstType75 = 0;  // line 60: first type with a share of 75 % or more
  bool DirectMethod = false;     // line 61
};

// Forms from 2019-10-01 (era 4): columns -3 (old-rate subtotal), -2 (work
// total), -1 (total) and 0..4 (rate slots).
using TFuhyou11_R01 = TColumns<TFuhyou1Column, -3, 4>;
using TFuhyou21_R01 = TColumns<TFuhyou2_H260401, -3, 4>;
using TFuhyou41_R01 = TColumns<TFuhyou4Column, -3, 4>;
using TFuhyou51_R01 = TColumns<TFuhyou5Column, -3, 4>;

// Form 2 of era 4: 28 amounts (see the principle engine for their order).
struct TDai2Hyou_R01 {
  std::array<Currency, 29> F{};
};

// Forms from 2014 (eras 1-3): column 0 the total, column s + 1 rate slot s.
using TFuhyou1_H26 = TColumns<TFuhyou1Column, 0, 3>;
using TFuhyou2_H26 = TColumns<TFuhyou2_H260401, 0, 3>;
using TFuhyou4_H26 = TColumns<TFuhyou4Column, 0, 3>;
// Schedule 5 of those forms: columns -2 (combined), -1 (total), 0..2 (slots).
using TFuhyou5_H26 = TColumns<TFuhyou5Column, -2, 2>;

struct TDai2Hyou_H26 {
  std::array<Currency, 17> F{};  // F[1]..F[16]
};

// Earlier forms (era 0).
struct TFuhyou1_Old {
  std::array<Currency, 33> F{};  // F[1]..F[32]
};
struct TFUHYOU22 {
  std::array<Currency, 68> F{};  // F[1]..F[67]
  std::string Label;             // field 68: method label
  std::int32_t Flag = 0;         // field 69: full-deduction flag
};
struct TFuhyou4_Old {
  std::array<Currency, 30> F{};  // F[1]..F[29]
};
struct TFuhyou5_Old {
  std::array<Currency, 69> F{};  // F[1]..F[68]
};

// Column resets used before each pass.
void ResetFuhyou1Column(TFuhyou1Column& col);
void ResetFuhyou2Column(TFuhyou2_H260401& col);  // keeps the label and the flag
void ResetFuhyou4Column(TFuhyou4Column& col);    // keeps field 2
void ResetFuhyou5Column(TFuhyou5Column& col);    // keeps fields 13-19 and 33-39
