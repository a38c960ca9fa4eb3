// The transaction rule of the data module's routines: note whether the
// transaction was already active, start it only when it was not, and commit
// or roll back only a transaction started here.
#pragma once

#include "platform/fb/ibdatabase.h"

class TTransactionScope {
 public:
  explicit TTransactionScope(TIBTransaction& Transaction) : transaction_(Transaction) {}
  ~TTransactionScope() { Rollback(); }
  TTransactionScope(const TTransactionScope&) = delete;
  TTransactionScope& operator=(const TTransactionScope&) = delete;

  // Starts the transaction unless it is active; returns whether it was active.
  bool Begin() {
    wasActive_ = transaction_.InTransaction();
    if (!wasActive_) {
      transaction_.StartTransaction();
      started_ = true;
    }
    return wasActive_;
  }
  bool WasActive() const { return wasActive_; }
  bool Started() const { return started_; }
  // Commits when started here (and still active).
  void Commit() {
    if (started_ && transaction_.InTransaction()) transaction_.Commit();
    started_ = false;
  }
  // Commit that swallows its own failure (the failure path of a routine).
  void CommitQuietly() noexcept {
    try {
      Commit();
    } catch (...) {
      Rollback();
    }
  }
  // Rolls back when started here; never throws.
  void Rollback() noexcept {
    if (started_ && transaction_.InTransaction()) {
      try {
        transaction_.Rollback();
      } catch (...) {
      }
    }
    started_ = false;
  }

 private:
  TIBTransaction& transaction_;
  bool wasActive_ = false;
  bool started_ = false;
};
