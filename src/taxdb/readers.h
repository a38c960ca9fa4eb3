// The readers of the consumption-tax computation: they read the data set
// handed to them (TTaxDataConnection) into the computation's records and
// leave the arithmetic to the tax library. Database errors propagate.
#pragma once

#include <string>

#include "tax/taxpar.h"
#include "tax/taxrun.h"
#include "taxdb/taxdata.h"

// The statement of the journal read: the period's journal lines with the
// columns that the aggregation reads (parameters :DT1 and :DT2, and :SCODE
// when the read is restricted to a facility).
std::string JournalReadStatement(bool byFacility);

// Reads the period's journal of the data set (with the refund
// inputs and the special-measure tables) and aggregates it. Database errors
// propagate; the blocks then hold the partial sums.
void AggregateJournal(const TTaxDataConnection& data, TTaxRun& run);

// Reads the entered refund-statement tables of the data set (KANPU_SINKOKU,
// KANPU_SINKOKU_TORIHIKI, KANPU_SINKOKU_SIIREKIN) into the record of the
// company kind.
void LoadRefundStatementInputs(const TTaxDataConnection& data, TTaxRun& run);

// Loads the three special-measure records from the TAX_TOKUREI_* tables of
// the data set and computes their business rows. Always true;
// database errors raise.
bool LoadSpecialMeasureTables(const TTaxDataConnection& data, TTaxRun& run);

// The guard of the link run: whether the period holds debit journal lines of
// taxable imports at the old rates of 3 % or 5 % (IsOldRateImportLine).
// False before era 4 without touching the database.
bool HasOldRateImportJournals(const TTaxDataConnection& data, int era, TTAXPAR par);
// The same test as a condition on the journal table of `alias`, for a read
// that takes such lines whatever their other columns.
std::string OldRateImportCondition(const std::string& alias);
