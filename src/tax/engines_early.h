// Engines of the return forms before 2014-04-01 (era 0): principle taxation
// (schedules 1 and 2-(2)) and simplified taxation (schedules 4 and 5).
// The forms know two rate columns: 3 % (rate slot 0, all national tax) and
// 4 % (slot 1, 5 % of which 4 % national); slots 2 to 4 are not read.
#pragma once

#include "platform/rtl/currency.h"
#include "tax/schedules.h"
#include "tax/taxcontext.h"
#include "tax/taxpar.h"

// Principle taxation; the company's fiscal year steers the full deduction.
bool CalcGensokuOld(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22);
bool CalcFuhyou1Old(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22);

// Taxable-sales ratio and deductible input tax (schedule 2-(2)).
bool CalcFuhyou2LinkOld(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22);
bool CalcFuhyou2Old(const TTaxCompanyInfo& company, TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22);

// Simplified taxation.
bool CalcKaniOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);
bool CalcFuhyou4Old(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);
bool CalcFuhyou5LinkOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);

// Deemed purchase tax by business type (schedule 5).
bool CalcFuhyou5Old(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);
bool CalcFuhyou5Rate4Old(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);
bool CalcFuhyou5SpecialOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);

// The form-1 finishing of both entries: local tax at 25 % of the local-tax
// base, interim, payable and refund figures, the grand total, and the bases
// and taxes by rate from the schedule's work fields (bases in thousands).
void FinishDai1HyouOld(const TTAXPAR& par, TDAI1HYOU& form1, Currency base4, Currency base3, Currency tax4,
                       Currency tax3);
