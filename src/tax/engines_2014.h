// Engines of the return forms in use from 2014-04-01 until the forms of
// 2019-10-01 (eras 1 to 3): principle and simplified taxation. They fill the
// run's Fuhyou1_H26, Fuhyou2_H26, Dai2Hyou_H26 (principle), Fuhyou4_H26,
// Fuhyou5_H26 (simplified) and Dai1Hyou, and set par.RateColumnState.
//
// The rate columns are the 3 % column (rate slot 0), the 4 % column (slot 1,
// 5 %) and the 6.3 % column (slot 2, 8 %); slots 3 and 4 are not read.
// Schedules 1, 2 and 4 keep the total in column 0 and slot s in column s + 1;
// schedule 5 keeps the combined column in -2, the total in -1 and slot s in s.
#pragma once

#include "platform/rtl/currency.h"
#include "tax/taxrun.h"

// Principle taxation: schedule 2, schedule 1, form 2 (era 3) and form 1.
bool CalcGensokuH26(TTaxRun& run);
bool CalcFuhyou1H26(TTaxRun& run);
// Whether the reverse-charge lines apply: mode 1 from schedule 1 and the
// ratio of schedule 2, any other mode from the journal's reverse-charge codes.
bool HasTokuteiSiireLinesH26(TTaxRun& run, int mode);

// Taxable-sales ratio and deductible purchase tax (schedule 2).
bool CalcFuhyou2LinkH26(TTaxRun& run);
bool CalcFuhyou2H26(TTaxRun& run);
void ClearFuhyou2ColumnH26(TTaxRun& run);
// Taxable sales (scaled to twelve months for a shorter period) within 500
// million yen; the same test as the forms from 2019-10-01.
bool IsSalesWithin500Million(const TTaxCompanyInfo& company, TTAXPAR par, Currency sales);

// Simplified taxation: schedule 4, schedule 5 through its link, form 1.
bool CalcKaniH26(TTaxRun& run);
bool CalcFuhyou4H26(TTaxRun& run);
bool CalcFuhyou5LinkH26(TTaxRun& run);

// Deemed purchase tax and the 75 % rules (schedule 5).
bool CalcFuhyou5H26(TTaxRun& run);
void CalcFuhyou5CandidatesH26(int col, TTaxRun& run);
void CalcFuhyou5DirectMethodH26(int col, TTaxRun& run);
bool Fuhyou5ColumnHasDataH26(TTaxRun& run, int col);

// Form 1 of both entries when only the 6.3 % column carries amounts: the
// local tax taken from the total local-tax base instead of the columns.
// localBase63 is the local-tax base balance of the 6.3 % column.
void ApplySingleRateLocalTaxH26(TTaxRun& run, Currency localBase63);
