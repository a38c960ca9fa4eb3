// The principle pass's totals as the value texts 0..504 of the link builder:
// per rate slot the tax-inclusive column of the sales, purchase and bad-debt
// tables, the net column of the exempt and non-taxable items, the tax column
// of the import taxes and the national tax of the debt-relief adjustments.
#include "link/linkbuilder.h"

#include "platform/rtl/fraction.h"
#include "platform/rtl/sysutils.h"
#include "tax/convert.h"

namespace {

// Categories added one by one into the tax-inclusive sales and sales returns.
constexpr int kSalesCategories[] = {1, 2, 3, 4, 5, 6, 47, 48, 49, 50, 51, 52, 84, 86};
constexpr int kSalesReturnCategories[] = {16, 17, 18, 19, 20, 21, 54, 55, 56, 57, 58, 59, 85, 87};

// An item that one amount or the sum of two feeds in one step.
struct TSumItem {
  int Offset;
  int First;
  int Second;  // 0: none
};
constexpr TSumItem kSumItems[] = {
    {3, 7, 0},    {9, 8, 0},    {12, 10, 0},  {21, 22, 0},  {24, 23, 0},  {27, 25, 0},
    {32, 31, 61}, {35, 33, 63}, {38, 32, 62}, {49, 78, 0},  {52, 80, 0},  {55, 79, 0},
    {62, 41, 70}, {65, 43, 72}, {68, 42, 71}, {79, 81, 0},  {82, 83, 0},  {85, 82, 0},
    {92, 26, 60}, {95, 11, 53},
};
// Specific taxable purchases: only the 8 % and 10 % slots carry them.
constexpr TSumItem kSpecificItems[] = {
    {39, 88, 0}, {42, 90, 0}, {45, 89, 0}, {69, 91, 0}, {72, 93, 0}, {75, 92, 0},
};
// Debt-relief adjustments: the national tax inside the sum of two amounts.
constexpr TSumItem kAdjustmentItems[] = {{96, 37, 67}, {97, 39, 69}, {98, 38, 68}};
// Items the link always leaves empty.
constexpr int kEmptyItems[] = {58, 88, 99, 100};

}  // namespace

void TSyohizeiDataMake::FormatPrincipleResults() {
  for (int s = 0; s < kRateSlots; ++s)
    for (int offset = 0; offset <= 95; ++offset) LinkValues[static_cast<std::size_t>(kPrincipleSlotSize * s + offset)].clear();

  for (int s = kRateSlots - 1; s >= 0; --s) {
    const int base = kPrincipleSlotSize * s;
    auto amount = [&](const TSumItem& item) {
      Currency a = ReadPrincipleAmount(s, item.First);
      if (item.Second != 0) a += ReadPrincipleAmount(s, item.Second);
      return a;
    };
    for (int c : kSalesCategories) AddToValue(base + 2, ReadPrincipleAmount(s, c));
    for (int c : kSalesReturnCategories) AddToValue(base + 20, ReadPrincipleAmount(s, c));
    AddToValue(base + 6, ReadPrincipleAmount(s, 9) - ReadPrincipleAmount(s, 24));
    for (const TSumItem& item : kSumItems) AddToValue(base + item.Offset, amount(item));
    if (s == kSlot8 || s == kSlot10)
      for (const TSumItem& item : kSpecificItems) AddToValue(base + item.Offset, amount(item));
    for (int offset : kEmptyItems) LinkValues[static_cast<std::size_t>(base + offset)].clear();
    for (const TSumItem& item : kAdjustmentItems) {
      const Fraction national = ConvertByRate(Run.TaxPar.Era, s, TRateFactor::KOMI_KOKUZEI, amount(item));
      const auto yen = static_cast<std::int64_t>(national.ToInteger(RoundingMode::TowardZero));
      LinkValues[static_cast<std::size_t>(base + item.Offset)] = FormatFloat("#", yen);
    }
  }
  ResultCode = kBuildDone;
}
