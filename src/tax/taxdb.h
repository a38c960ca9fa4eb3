// Statements on the connected data set for the readers of the computation;
// a reader ends only the transaction it started (TTransactionGuard).
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"

// A forward-only statement on the data set's database in `transaction`.
// Raises an Exception when no data set is connected.
std::unique_ptr<TIBSQL> NewTaxStatement(TIBTransaction* transaction, std::initializer_list<const char*> lines);

// The data set's ordinary and snapshot transactions (raise when missing).
TIBTransaction* TaxTransaction();
TIBTransaction* TaxSnapshotTransaction();
