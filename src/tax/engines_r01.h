// Engines of the return forms for periods ending on or after 2019-10-01
// (era 4): principle taxation (schedules 2-1 and 1-1, forms 1 and 2) and
// simplified taxation (schedules 5-1 and 4-1, forms 1 and 2).
#pragma once

#include "platform/rtl/currency.h"
#include "tax/taxrun.h"

// Principle taxation.
bool CalcGensokuR01(TTaxRun& run);
bool CalcFuhyou11R01(TTaxRun& run, int col);
void ClearFuhyou11Column(TTaxRun& run, int col);
void SumFuhyou11Columns(TTaxRun& run, int col);

// Taxable-sales ratio and deductible purchase tax (schedule 2-1).
bool CalcFuhyou2R01(TTaxRun& run, int col);
bool CalcFuhyou21R01(TTaxRun& run, int col);
void ClearFuhyou21Column(TTaxRun& run, int col);
void SumFuhyou21Columns(TTaxRun& run, int col);
// Taxable sales (scaled to twelve months for a shorter period) within 500 million yen.
bool IsSalesWithin500MillionR01(const TTaxCompanyInfo& company, TTAXPAR par, Currency sales);

// Simplified taxation.
bool CalcKaniR01(TTaxRun& run);
bool CalcFuhyou41R01(TTaxRun& run, int col);
void ClearFuhyou41Column(TTaxRun& run, int col);
void SumFuhyou41Columns(TTaxRun& run, int col);

// Deemed purchase tax and the 75 % rules (schedule 5-1).
bool CalcFuhyou5R01(TTaxRun& run, int col);
bool CalcFuhyou51R01(TTaxRun& run, int col);
void CalcFuhyou51Candidates(int col, TTaxRun& run);
void CalcFuhyou51DirectMethod(int col, TTaxRun& run);
bool Fuhyou51ColumnHasData(TTaxRun& run, int col);
void ClearFuhyou51Column(TTaxRun& run, int col);

// The form-1 finishing shared by both entries: interim tax, payable and
// refund figures, amended-return figures and the grand total.
void FinishDai1HyouR01(const TTAXPAR& par, TDAI1HYOU& form1);
