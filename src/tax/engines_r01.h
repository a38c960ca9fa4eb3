// Engines of the return forms for periods ending on or after 2019-10-01
// (era 4): principle taxation (schedules 2-1 and 1-1, forms 1 and 2) and
// simplified taxation (schedules 5-1 and 4-1, forms 1 and 2).
#pragma once

#include "platform/rtl/currency.h"
#include "tax/schedules.h"
#include "tax/taxpar.h"

// Principle taxation.
bool CalcGensokuR01(TTAXPAR& par, TDAI1HYOU& form1);
bool CalcFuhyou11R01(TTAXPAR& par, TDAI1HYOU& form1, int col);
void ClearFuhyou11Column(int col);
void SumFuhyou11Columns(int col);

// Taxable-sales ratio and deductible purchase tax (schedule 2-1).
bool CalcFuhyou2R01(TTAXPAR& par, TDAI1HYOU& form1, int col);
bool CalcFuhyou21R01(TTAXPAR& par, TDAI1HYOU& form1, int col);
void ClearFuhyou21Column(const TTAXPAR& par, int col);
void SumFuhyou21Columns(int col);
// Taxable sales (scaled to twelve months for a shorter period) within 500 million yen.
bool IsSalesWithin500MillionR01(TTAXPAR par, Currency sales);

// Simplified taxation.
bool CalcKaniR01(TTAXPAR& par, TDAI1HYOU& form1);
bool CalcFuhyou41R01(TTAXPAR& par, TDAI1HYOU& form1, int col);
void ClearFuhyou41Column(int col);
void SumFuhyou41Columns(int col, const TTAXPAR& par);

// Deemed purchase tax and the 75 % rules (schedule 5-1).
bool CalcFuhyou5R01(TTAXPAR& par, TDAI1HYOU& form1, int col);
bool CalcFuhyou51R01(TTAXPAR& par, TDAI1HYOU& form1, int col);
void CalcFuhyou51Candidates(int col, TTAXPAR& par, TDAI1HYOU& form1);
void CalcFuhyou51DirectMethod(int col, TTAXPAR& par, TDAI1HYOU& form1);
bool Fuhyou51ColumnHasData(int col);
void ClearFuhyou51Column(const TTAXPAR& par, int col);

// The form-1 finishing shared by both entries: interim tax, payable and
// refund figures, amended-return figures and the grand total.
void FinishDai1HyouR01(const TTAXPAR& par, TDAI1HYOU& form1);
