// Journal aggregation: every journal line of the return's period is added
// into the accumulators Nuki, Zei and Komi of the run's TaxPar by rate slot and tax
// category, sorted into the refund statement, and checked for import codes.
#pragma once

#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"
#include "tax/taxpar.h"
#include "tax/taxrun.h"

// One journal side as the aggregation reads it.
struct TTaxJournalRow {
  TDateTime Hizuke = 0;     // HIZUKE
  int Taishaku = 0;         // 1 debit, 2 credit
  std::string KCode;        // internal account code
  int TaxCode = 0;
  int TaxDC = 0;            // 1 or 3
  Currency Nuk;             // net
  Currency Zei;             // tax
  Currency Rit;             // rate in percent
  int AutCalcu = 0;         // 0 tax entered by hand
  std::string RKCode;       // counter account's internal code
  std::string GroupM0;      // the account's group code
  int Dac = 0;              // KAMOKUMST.DAC
  int LinkKub = 0;          // SIWAKE2.LINKKUB
  int OldRate = 0;          // rate number
};

// The steps of the journal read (AggregateJournal of the readers' library):
// Start: zeroes the blocks, ImportCodesUsed and the refund journal tables.
void BeginJournalAggregation(TTaxRun& run);
// Adds one line (skipping special-measure lines).
void AccumulateJournalRow(TTaxRun& run, const TTaxJournalRow& row);

// True for 521-523 and 571-573 with tax, and 721-723 and 771-773 always;
// then sets par.ImportCodesUsed.
bool NoteImportTaxCode(TTAXPAR& par, int code, Currency net, Currency tax);

// True when the line belongs to an active special measure and is left out.
bool IsSpecialMeasureLine(const TTAXPAR& par, TDateTime date, int code, int oldRate);

// The sign of a line's amounts: +1 debit with TAXDC 1 or credit with TAXDC 3,
// -1 the other way round, 0 otherwise.
int AggregationSign(int taishaku, int taxDC);
