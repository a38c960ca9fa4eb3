// The era of a return (which generation of forms, rates and engines applies),
// the date rule of the 500-million-yen limit of the full deduction, and the
// check of which rate columns of the computed schedules carry amounts.
#pragma once

#include "platform/rtl/datetime.h"
#include "tax/taxcontext.h"
#include "tax/taxpar.h"

struct TTaxRun;

// Eras: 0 periods ending before 2014-04-01, 1 from then (8 %), 2 simplified
// pass with the fiscal year from 2015-04-01 (business type 6), 3 principle
// pass ending from 2015-10-01 / simplified from 2016-01-01, 4 periods ending
// on or after 2019-10-01 (10 % and reduced 8 %).
// The company's fiscal year and main business type steer both.
int TaxEraOf(const TTaxCompanyInfo& company, TTAXPAR& par);   // 0..4; writes par.MainBusiness
int GetTaxEra(const TTaxCompanyInfo& company, TTAXPAR& par);  // 1..4 (0 taken as 1); does not write par.Era

// True when the 500-million-yen limit of the full deduction applies: by the
// period when it comes from the settings, else by the company's fiscal year.
bool IsNew95PercentRule(const TTaxCompanyInfo& company, int fromSettings, TDateTime periodStart, TDateTime periodEnd);

// Sets and returns par.RateColumnState from the schedules of the current
// pass in run: -1 old-rate columns in use (or none qualifies), 2 only the 8 % column
// (eras 1-3), 4 only the reduced 8 % and 10 % columns, both in use (era 4).
int CheckRateColumnsInUse(TTAXPAR& par, const TTaxRun& run, bool fromSchedules = true);
