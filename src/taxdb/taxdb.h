// The data set the readers of the computation read, and statements on it; a
// reader ends only the transaction it started (TTransactionGuard).
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "taxdb/taxdata.h"

// A forward-only statement on the data set's database in `transaction`.
// Raises an Exception when no data set is connected.
std::unique_ptr<TIBSQL> NewTaxStatement(const TTaxDataConnection& data, TIBTransaction* transaction,
                                        std::initializer_list<const char*> lines);

// The data set's ordinary and snapshot transactions (raise when missing).
TIBTransaction* TaxTransaction(const TTaxDataConnection& data);
TIBTransaction* TaxSnapshotTransaction(const TTaxDataConnection& data);
