// Statements on the connected data set for the readers of the computation,
// and the rule that a reader ends only the transaction it started.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/fb/ibsql.h"

// A forward-only statement on the data set's database in `transaction`.
// Raises an Exception when no data set is connected.
std::unique_ptr<TIBSQL> NewTaxStatement(TIBTransaction* transaction, std::initializer_list<const char*> lines);

// The data set's ordinary and snapshot transactions (raise when missing).
TIBTransaction* TaxTransaction();
TIBTransaction* TaxSnapshotTransaction();

// Starts the transaction when it is not active. Commit() commits only a
// transaction started here; a transaction started here and not committed is
// rolled back when the guard ends (an exception left the reader).
class TOwnTransaction {
 public:
  explicit TOwnTransaction(TIBTransaction* transaction);
  ~TOwnTransaction();
  TOwnTransaction(const TOwnTransaction&) = delete;
  TOwnTransaction& operator=(const TOwnTransaction&) = delete;
  void Commit();
  bool Started() const { return started_; }

 private:
  TIBTransaction* transaction_;
  bool started_;
  bool done_ = false;
};
