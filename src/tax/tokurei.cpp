// Per-business computations of the special measures: the share of the
// reduced rate and the net sales or national tax at each rate.
#include "tax/tokurei.h"

#include <utility>

#include "platform/rtl/fraction.h"
#include "tax/convert.h"
#include "tax/taxmath.h"
#include "tax/taxrates.h"

using taxmath::IntYen;

namespace {

// An amount passed to the conversion is first taken to Currency's unit.
Currency ToUnit(const Fraction& x) { return x.ToCurrency(RoundingMode::HalfAwayFromZero); }

// Trunc(ConvertByRate(era, slot, name, x)).
Currency TruncConvert(int era, int slot, TRateFactor name, const Fraction& x) {
  return IntYen(ConvertByRate(era, slot, name, ToUnit(x)));
}

// Share in percent cut to 0.1: RoundYen(0, part / whole × 1000) / 10.
double ShareOf(Currency part, Currency whole) {
  Currency permille = RoundYen(0, Fraction(part) / Fraction(whole) * Fraction(1000));
  return static_cast<double>(permille.TruncYen()) / 10.0;
}

// Splits tax-inclusive sales into net sales at reduced 8 % and at 10 %.
void SplitSales(int era, Currency sales, bool half, Currency part, Currency whole, double& wariai, Currency& nukiK8,
                Currency& nuki10) {
  wariai = 0;
  nukiK8 = Currency(0);
  nuki10 = Currency(0);
  Fraction reduced;
  if (half) {
    wariai = 50.0;
    reduced = Fraction(sales) * Fraction(1, 2);
  } else if (whole > Currency(0)) {
    wariai = ShareOf(part, whole);
    reduced = Fraction(sales) * Fraction(part) / Fraction(whole);
  } else {
    return;
  }
  nukiK8 = TruncConvert(era, 3, TRateFactor::KOMI2NUKI, reduced);
  nuki10 = TruncConvert(era, 4, TRateFactor::KOMI2NUKI, Fraction(sales) - reduced);
}

}  // namespace

void ComputeUriage010Row(int era, TTokureiKeisan_Uriage010_JigyoRec_R011001& row) {
  SplitSales(era, row.Komoku010, row.Wariai50 == 1, row.Komoku040, row.Komoku030, row.Wariai, row.NukiK8, row.Nuki10);
}

void ComputeUriage020Row(int era, TTokureiKeisan_Uriage020_JigyoRec_R011001& row) {
  row.KomokuTotal = row.Komoku010 + row.Komoku020 + row.Komoku030;
  SplitSales(era, row.Komoku050, row.Wariai50 == 1, row.Komoku040, row.KomokuTotal, row.Wariai, row.NukiK8, row.Nuki10);
}

void ComputeSiire010Row(int era, TTokureiKeisan_Siire010_JigyoRec_R011001& row) {
  row.SiireKomi = row.Komoku030;
  row.Wariai = 0;
  row.KokuzeiK8 = Currency(0);
  row.Kokuzei10 = Currency(0);
  if (!(row.Komoku010 > Currency(0))) return;
  row.Wariai = ShareOf(row.Komoku020, row.Komoku010);
  const Fraction reduced = Fraction(row.SiireKomi) * Fraction(row.Komoku020) / Fraction(row.Komoku010);
  row.KokuzeiK8 = TruncConvert(era, 3, TRateFactor::KOMI_KOKUZEI, reduced);
  row.Kokuzei10 = TruncConvert(era, 4, TRateFactor::KOMI_KOKUZEI, Fraction(row.SiireKomi) - reduced);
}

void ApplySiireCommonRow(int era, TTokureiKeisan_Siire010_R011001& rec, const TTokureiSiireCommonRow& row) {
  rec.TaisyouKikanStart = row.Start;
  rec.TaisyouKikanEnd = row.End;
  auto& it = rec.SiireItems;
  // Reduced 8 % column: item 030 does not exist there.
  it[kSiireItem010].K8 = row.Komoku[0].K8;
  it[kSiireItem020].K8 = row.Komoku[1].K8;
  it[kSiireItem020Kokuzei].K8 = TruncConvert(era, 3, TRateFactor::KOMI_KOKUZEI, Fraction(row.Komoku[1].K8));
  it[kSiireItem030].K8 = Currency(0);
  it[kSiireItem030Kokuzei].K8 = Currency(0);
  it[kSiireItem040].K8 = row.Komoku[3].K8;
  it[kSiireItem050].K8 = row.Komoku[4].K8;
  it[kSiireItemGokei].K8 = row.Gokei.K8;
  // 10 % column.
  it[kSiireItem010].R10 = row.Komoku[0].R10;
  it[kSiireItem020].R10 = row.Komoku[1].R10;
  it[kSiireItem020Kokuzei].R10 = TruncConvert(era, 4, TRateFactor::KOMI_KOKUZEI, Fraction(row.Komoku[1].R10));
  it[kSiireItem030].R10 = row.Komoku[2].R10;
  it[kSiireItem030Kokuzei].R10 = TruncConvert(era, 4, TRateFactor::NUKI_KOKUZEI, Fraction(row.Komoku[2].R10));
  it[kSiireItem040].R10 = row.Komoku[3].R10;
  it[kSiireItem050].R10 = row.Komoku[4].R10;
  it[kSiireItemGokei].R10 = row.Gokei.R10;
  for (auto col : {&TTokureiPair::K8, &TTokureiPair::R10}) {
    it[kSiireItemSum].*col =
        it[kSiireItem020Kokuzei].*col + it[kSiireItem030Kokuzei].*col + it[kSiireItem040].*col + it[kSiireItem050].*col;
  }
}

void AddUriage010Row(int era, TTokureiKeisan_Uriage010_R011001& rec, TTokureiKeisan_Uriage010_JigyoRec_R011001 row) {
  ComputeUriage010Row(era, row);
  rec.TotalK8 += row.NukiK8;
  rec.Total10 += row.Nuki10;
  rec.JigyoList.push_back(std::move(row));
}

void AddUriage020Row(int era, TTokureiKeisan_Uriage020_R011001& rec, TTokureiKeisan_Uriage020_JigyoRec_R011001 row) {
  ComputeUriage020Row(era, row);
  rec.TotalK8 += row.NukiK8;
  rec.Total10 += row.Nuki10;
  rec.JigyoList.push_back(std::move(row));
}

void AddSiire010Row(int era, TTokureiKeisan_Siire010_R011001& rec, TTokureiKeisan_Siire010_JigyoRec_R011001 row) {
  ComputeSiire010Row(era, row);
  rec.SiireItems[kSiireItemJigyoKokuzei].K8 += row.KokuzeiK8;
  rec.SiireItems[kSiireItemJigyoKokuzei].R10 += row.Kokuzei10;
  rec.JigyoList.push_back(std::move(row));
}
