// The simplified pass's totals as the value texts 505..804 of the link
// builder: per rate slot the tax-inclusive sales and returns by business type
// (第1種 to 第6種), the exempt sales and returns and the bad debts.
#include "link/linkbuilder.h"

namespace {

// Sales and returns of one business type: the two categories of each side.
struct TBusinessRow {
  int Sales1, Sales2;
  int Returns1, Returns2;
};
constexpr TBusinessRow kBusinessRows[6] = {
    {2, 48, 17, 55}, {3, 49, 18, 56}, {4, 50, 19, 57}, {5, 51, 20, 58}, {6, 52, 21, 59}, {84, 86, 85, 87},
};

// Plain taxable sales and returns of a principle-taxed data set without a main
// business, each added in its own step into the fourth type.
constexpr int kPlainSales[] = {1, 2, 3, 4, 5, 6, 47, 48, 49, 50, 51, 52};
constexpr int kPlainReturns[] = {16, 17, 18, 19, 20, 21, 54, 55, 56, 57, 58, 59};

constexpr int kSalesColumn = 2;     // tax-inclusive column of row r: r * 3 + 2
constexpr int kReturnsOffset = 27;  // returns row r: 27 + r * 3 + 2

}  // namespace

void TSyohizeiDataMake::FormatSimplifiedResults() {
  for (int i = kSimplifiedBase; i < kLinkValueCount; ++i) LinkValues[static_cast<std::size_t>(i)].clear();

  for (int s = 0; s < kRateSlots; ++s) {
    const int base = kSimplifiedBase + kSimplifiedSlotSize * s;
    auto a = [&](int category) { return ReadSimplifiedAmount(s, category); };
    auto sales = [&](int row) { return base + row * 3 + kSalesColumn; };
    auto returns = [&](int row) { return base + kReturnsOffset + row * 3 + kSalesColumn; };

    if (TaxKanni == 0 && TaxJigyou == 0) {
      for (int c : kPlainSales) AddToValue(sales(3), a(c));
      AddToValue(sales(3), a(84) + a(86));
      for (int c : kPlainReturns) AddToValue(returns(3), a(c));
      AddToValue(returns(3), a(85) + a(87));
    } else if (TaxKanni == 1) {
      for (int r = 0; r < 6; ++r) {
        const TBusinessRow& row = kBusinessRows[r];
        AddToValue(sales(r), a(row.Sales1) + a(row.Sales2));
        AddToValue(returns(r), a(row.Returns1) + a(row.Returns2));
      }
      // Sales without a business type go to the main business; a main
      // business outside 1..7 counts as none (the fourth type).
      const int main = (TaxJigyou >= 1 && TaxJigyou <= 7) ? TaxJigyou - 1 : 3;
      AddToValue(sales(main), a(1) + a(47));
      AddToValue(returns(main), a(16) + a(54));
    }

    LinkValues[static_cast<std::size_t>(base + 21)].clear();
    LinkValues[static_cast<std::size_t>(base + 48)].clear();
    AddToValue(base + 24, a(7));
    AddToValue(base + 51, a(22));
    AddToValue(base + 56, a(26) + a(60));
    AddToValue(base + 59, a(11) + a(53));
  }
  ResultCode = kBuildDone;
}
