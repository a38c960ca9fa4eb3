// One journal read for both passes of a link run. The simplified and the
// principle pass aggregate the same period's journal; when the settings that
// steer the aggregation are the same in both, the second pass can start from
// a copy of what the first pass's aggregation produced (the accumulators, the
// import-code flags, the refund-statement record with its entered inputs and
// journal tables, the special-measure records) instead of reading the journal
// again. The copy is taken right after the aggregation, before the correction
// of mixed codes and the engines change anything. What the read gathers for
// one pass only (the specific-purchase column of the refund statement, which
// moves in the principle pass) it keeps for every pass, and the restore sets
// it as the restoring pass has it, so both passes see what a read of their
// own would give.
#pragma once

#include <memory>

#include "tax/taxpar.h"
#include "tax/taxrun.h"
#include "taxdb/taxdata.h"

class TAggregationCopy {
 public:
  TAggregationCopy();
  ~TAggregationCopy();
  TAggregationCopy(const TAggregationCopy&) = delete;
  TAggregationCopy& operator=(const TAggregationCopy&) = delete;

  // AggregateJournal of data set DataSet for Run's current TaxPar into Run, or,
  // when a copy taken with the same steering settings exists, that copy
  // restored; keeps a copy after a fresh aggregation when reuse is allowed.
  void Aggregate(const TTaxDataConnection& DataSet, TTaxRun& Run, bool AllowReuse);
  // True when the last Aggregate restored the copy instead of reading.
  bool Reused() const { return reused_; }

 private:
  struct Data;
  std::unique_ptr<Data> data_;
  bool reused_ = false;
};
