// The tax of one journal entry computed from its two sides, as the journal
// writer and the cash-book loader need it before they store an entry.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

// One side of a journal entry, as far as the tax computation reads and writes it.
struct TSwkBalance {
  std::string USERCODE;        // the account's user code
  std::int32_t TAXCODE = 0;
  std::int32_t TAXUH = 0;
  std::int32_t TAXDC = 0;
  Currency NUK;                // the side's net amount (written here)
  Currency ZEI;                // the side's tax (written here)
  Currency RIT;                // the side's rate (written here)
  std::int32_t SideRateNo = 0; // the side's rate number
};

// A journal entry, as far as the tax computation reads and writes it.
struct TSWKREC {
  TDateTime HIZUKE = 0;
  TSwkBalance Debit;
  TSwkBalance Credit;
  Currency KINGAKU;
  Currency ZEIGAKU;
  std::int32_t AUTCALCU = 0;   // non-zero: tax computed automatically
  std::int32_t TAXCALCU = 0;   // 0 tax-inclusive, 1 tax-exclusive, 2 no tax
  std::int32_t OLDRATE = 0;    // the entry's rate number
};

bool CalcSiwakeSideTax(TSWKREC& line, TSwkBalance& side);
bool CalcSiwakeTax(TSWKREC& line);
