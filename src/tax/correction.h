// The frame of each computation pass: the reset of the result records, the
// correction of tax codes of the other taxation method, and the run of the
// engine of the return's era and pass with the refund statement's purchase
// tax.
#pragma once

#include "tax/taxrun.h"

// Clears the result records and initialises the refund-statement record of
// the company kind.
void ResetTaxResults(TTaxRun& run);

// In the simplified pass, moves amounts booked with principle codes (and, in
// era 1, with business-type-6 codes) to the main business type; clears the
// form records and runs the engines. Messages only when showDialogs is true.
void CorrectMixedTaxCodes(TTaxRun& run, bool showDialogs);

// Runs the engine entry of the run's TaxPar.Era and TaxPar.SinkokuKubun; after a
// principle pass stores the purchase-tax total of the refund statement.
void RunTaxEngines(TTaxRun& run);

// After a principle pass: the refund statement's tax on taxable purchases
// (thousand yen for corporations, yen for individuals) from the schedule-2
// total column of the era; in eras 1-4 the journal tables are folded first.
void StoreRefundPurchaseTax(TTaxRun& run);

// Clears the form-1 record and the era-0 records (with the four adjustment
// amounts and the two markers they start with) and form 2 of the 2014 forms.
void ClearFormRecords(TTaxRun& run);
