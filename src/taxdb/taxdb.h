// The connected data set of the readers of the computation, and statements
// on it; a reader ends only the transaction it started (TTransactionGuard).
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"

// The data set's database with its two transactions: the ordinary one
// (read committed) and the snapshot one used by the journal aggregation.
// The company information reader sets them when a data set is connected.
struct TTaxDataConnection {
  TIBDatabase* Database = nullptr;
  TIBTransaction* Transaction = nullptr;          // IBTransactionDAT
  TIBTransaction* SnapshotTransaction = nullptr;  // IBTransactionDATSS
};
extern TTaxDataConnection TaxData;

// A forward-only statement on the data set's database in `transaction`.
// Raises an Exception when no data set is connected.
std::unique_ptr<TIBSQL> NewTaxStatement(TIBTransaction* transaction, std::initializer_list<const char*> lines);

// The data set's ordinary and snapshot transactions (raise when missing).
TIBTransaction* TaxTransaction();
TIBTransaction* TaxSnapshotTransaction();
