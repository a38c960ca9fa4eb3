#include "tax/taxrates.h"

#include <tuple>

#include "tax/taxcontext.h"

namespace {

TZeiRituRec Rate(const char* name, int percent, int rateNo, int slot, const char* start, int r1,
                 int r2, bool rf, bool standard, int flagIndex) {
  TZeiRituRec r;
  r.Name = name;
  r.Rate = Currency(percent);
  r.RateNo = rateNo;
  r.Slot = slot;
  r.StartDate = start;
  r.Reserved1 = r1;
  r.Reserved2 = r2;
  r.ReservedFlag = rf;
  r.IsStandard = standard;
  r.FlagIndex = flagIndex;
  r.Flag = true;
  return r;
}

// "yyyy/mm/dd" of the built-in tables.
TDateTime StartOf(const TZeiRituRec& r) {
  int y = std::stoi(r.StartDate.substr(0, 4));
  int m = std::stoi(r.StartDate.substr(5, 2));
  int d = std::stoi(r.StartDate.substr(8, 2));
  return EncodeDate(y, m, d);
}

const TZeiRituList& Table() { return ZeiRituTableOf(TaxCompany); }

}  // namespace

const TZeiRituList& FiveRateTable() {
  static const TZeiRituList table = {
      Rate("10%", 10, 0, 4, "2019/10/01", 11, 1, true, true, 4),
      Rate("8*%", 8, 4, 3, "2019/10/01", 11, 1, true, false, 3),
      Rate("8%", 8, 3, 2, "2014/04/01", 6, 1, false, true, 2),
      Rate("5%", 5, 2, 1, "1997/04/01", 1, 0, false, true, 1),
      Rate("3%", 3, 1, 0, "1989/04/01", 1, 0, false, true, 0),
  };
  return table;
}

const TZeiRituList& ThreeRateTable() {
  static const TZeiRituList table = {
      Rate("8%", 8, 0, 2, "2014/04/01", 6, 1, true, true, 2),
      Rate("5%", 5, 2, 1, "1997/04/01", 1, 0, false, true, 1),
      Rate("3%", 3, 1, 0, "1989/04/01", 1, 0, false, true, 0),
  };
  return table;
}

const TZeiRituList& ZeiRituTableOf(const TTaxCompanyInfo& company) {
  const auto version = std::make_tuple(company.VerMajor, company.VerMinor1, company.VerMinor2);
  return version >= std::make_tuple(11, 1, 0) ? FiveRateTable() : ThreeRateTable();
}

Currency GetZeiRitu(int rateNo, TDateTime) {
  const TZeiRituList& list = Table();
  for (const auto& r : list)
    if (r.RateNo == rateNo) return r.Rate;
  return list.front().Rate;
}

int GetZeiRituNo(int rateNo, TDateTime date) {
  const TZeiRituList& list = Table();
  const TZeiRituRec* own = nullptr;
  for (const auto& r : list)
    if (r.RateNo == rateNo) {
      own = &r;
      break;
    }
  if (own != nullptr && !own->IsStandard) return rateNo;
  int newest = 0;
  for (const auto& r : list)
    if (StartOf(r) <= date) {
      newest = r.RateNo;
      break;
    }
  if (newest == rateNo) return rateNo;
  if (own != nullptr && StartOf(*own) <= date) return rateNo;
  return newest;
}

int RateSlotOf(const TZeiRituList& rates, int rateNo, int era, TDateTime date, Currency rate) {
  if (era >= 4) {
    if (rate == Currency(0)) rateNo = 0;
    for (const auto& r : rates)
      if (r.RateNo == rateNo) return r.Slot;
    for (const auto& r : rates)
      if (StartOf(r) <= date) return r.Slot;
    return 0;
  }
  if (date < EncodeDate(2014, 4, 1)) {
    return (rate == Currency(3) || date < EncodeDate(1997, 4, 1)) ? 0 : 1;
  }
  const TZeiRituList& three = ThreeRateTable();
  for (const auto& r : three)
    if (r.Rate == rate) return r.Slot;
  for (const auto& r : three)
    if (StartOf(r) <= date) return r.Slot;
  return 0;
}

Currency RoundYen(int mode, Currency value) {
  const std::int64_t raw = value.Raw();
  const std::int64_t scale = Currency::kScale;
  std::int64_t yen = raw / scale;  // toward zero
  if (mode == 0) return Currency::FromYen(yen);
  if (mode == 2) {
    if (raw % scale != 0) yen += raw < 0 ? -1 : 1;
    return Currency::FromYen(yen);
  }
  const std::int64_t half = raw < 0 ? -scale / 2 : scale / 2;
  return Currency::FromYen((raw + half) / scale);
}

Currency RoundYen(int mode, const Fraction& value) {
  switch (mode) {
    case 0: return value.ToYen(RoundingMode::TowardZero);
    case 2: return value.Sign() < 0 ? value.ToYen(RoundingMode::Floor) : value.ToYen(RoundingMode::Ceiling);
    default: return value.ToYen(RoundingMode::HalfAwayFromZero);
  }
}
