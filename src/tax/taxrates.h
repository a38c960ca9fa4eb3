// The consumption-tax rates with their start dates, the lookups that turn a
// journal line's rate number into a rate and a rate slot, and the whole-yen
// rounding of journal-line tax.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/fraction.h"

struct TZeiRituRec {
  std::string Name;            // label: "10%", "8*%", ...
  Currency Rate;               // percent (10.0 = 10 %)
  std::int32_t RateNo = 0;     // rate number of the journal (OLDRATE)
  std::int32_t Slot = 0;       // rate slot of the accumulators
  std::string StartDate;       // "yyyy/mm/dd", first day the rate applies
  std::int32_t Reserved1 = 0;  // table values this system does not consult
  std::int32_t Reserved2 = 0;
  bool ReservedFlag = false;
  bool IsStandard = true;      // false only for the reduced rate
  std::int32_t FlagIndex = 0;
  bool Flag = false;
};
using TZeiRituList = std::vector<TZeiRituRec>;

struct TTaxCompanyInfo;

// The five-rate table (data version 11.1.0 or later) and the three-rate table.
const TZeiRituList& FiveRateTable();
const TZeiRituList& ThreeRateTable();

// The table in force for a data set: the one of its data version.
const TZeiRituList& ZeiRituTableOf(const TTaxCompanyInfo& company);

// Rate of a journal line's rate number and the rate number a journal line of
// a date takes, by the table of the connected data set (TaxCompany).
Currency GetZeiRitu(int rateNo, TDateTime date);
int GetZeiRituNo(int rateNo, TDateTime date);
// Rate slot of a journal line (rate in percent as on the line); `rates` is the
// table of the data set from era 4 on.
int RateSlotOf(const TZeiRituList& rates, int rateNo, int era, TDateTime date, Currency rate);

// Whole yen: mode 0 truncates toward zero, 2 rounds away from zero, any
// other mode rounds half away from zero.
Currency RoundYen(int mode, Currency value);
Currency RoundYen(int mode, const Fraction& value);
