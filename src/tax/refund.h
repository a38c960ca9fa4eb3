// The data of the refund statement (消費税の還付申告に関する明細書): the
// reset of the record of the company kind, the entered inputs, the sorting of
// journal lines into the purchase tables by account group, and the fold into
// thousands (corporations) or yen (individuals) after a principle pass.
#pragma once

#include <array>
#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"
#include "tax/kanpu.h"
#include "tax/taxrun.h"

// Initialises the record of the company kind for a new pass.
void ResetRefundStatement(TTaxRun& run);
// Clears the amount columns of the journal purchase tables (start of each aggregation).
void ClearRefundJournalTables(TTaxRun& run);

// Sets the Tokutei column of the journal rows of the record of the company
// kind as the current pass has it: the tally in a principle pass, zero in
// any other.
void ApplyRefundReadTokutei(TTaxRun& run);

// Sorts one journal line into the purchase tables.
void ClassifyRefundStatementLine(TTaxRun& run, bool counterIsTaxAccount, int taishaku, const std::string& groupM0, int dac,
                                 int taxCode, Currency nuk, Currency zei, int linkKub);

// True for kind "SHOHIN" (any case) and an inventory account group, whose
// lines are left out of the purchases row.
bool SkipInventoryGroup(const std::string& kind, const std::string& groupM0);

// Current + amount on a debit line, current - amount on a credit line, for an
// account whose DAC is 1..4; otherwise current.
Currency SignedKanpuAmount(Currency current, Currency amount, int dac, int taishaku);

// Folds the journal tables after a principle pass of eras 1 to 4.
void FoldRefundStatementColumns(TTaxRun& run);

// Era year of a date in the Japanese calendar (2021-03-31 gives 3).
int EraYearOf(TDateTime date);

// Builder of the entered inputs, shared by the database reader: rows arrive
// ordered by section and row number, rows beyond a section's capacity are
// skipped.
class TRefundInputBuilder {
 public:
  TRefundInputBuilder(TTaxRun& run, int companyKind);
  // KANPU_SINKOKU_TORIHIKI row of section rec (10, 20, 30, 40).
  void AddTransaction(int rec, const TKanpuSisan& asset, const TKanpuTorihiki& exportRow);
  // KANPU_SINKOKU_SIIREKIN row of section rec (10, 20, 30).
  void AddPurchase(int rec, Currency kessan, Currency notKazei, Currency kazei);

 private:
  TTaxRun& run_;
  int kind_;
  int lastRec_ = -1;
  int counter_ = 0;
  void Count(int rec);
};
