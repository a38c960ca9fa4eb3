// TTransactionGuard: the one way a routine works in a transaction that its
// caller may already have started.
//
//   Begin()    starts the transaction if it is not active (and notes whether it
//              was); the routine then owns it only when it started it.
//   Commit()   on success: commits, but only a transaction this guard started.
//   Rollback() on failure: rolls back our own work, never the caller's; never
//              throws. The guard does this by itself when it ends without a
//              Commit (an exception left the routine).
//   CommitQuietly()  for the failure paths that keep what was done so far:
//              commits our own transaction, and rolls it back when that fails
//              too; never throws.
//
//   TTransactionGuard guard(transaction);
//   try {
//     guard.Begin();
//     ... statements ...
//     guard.Commit();
//   } catch (const EIBError& e) {
//     guard.Rollback();            // before the report, so no lock is held
//     ... report or rethrow ...
//   }
//
// A transaction that was already active is left as it is: its owner ends it.
#pragma once

#include "platform/fb/ibdatabase.h"

class TTransactionGuard {
 public:
  explicit TTransactionGuard(TIBTransaction& Transaction) : transaction_(Transaction) {}
  ~TTransactionGuard() { Rollback(); }
  TTransactionGuard(const TTransactionGuard&) = delete;
  TTransactionGuard& operator=(const TTransactionGuard&) = delete;

  // Starts the transaction unless it is active; returns whether it was active.
  bool Begin() {
    wasActive_ = transaction_.InTransaction();
    if (!wasActive_) {
      transaction_.StartTransaction();
      started_ = true;
    }
    return wasActive_;
  }
  // Whether the transaction was active at Begin (someone else owns it).
  bool WasActive() const { return wasActive_; }
  // Whether this guard started the transaction and has not ended it yet.
  bool Started() const { return started_; }

  // Commits when started here (and still active). A failed commit leaves the
  // transaction ours, so that the end of the guard rolls it back.
  void Commit() {
    if (started_ && transaction_.InTransaction()) transaction_.Commit();
    started_ = false;
  }
  void CommitQuietly() noexcept {
    try {
      Commit();
    } catch (...) {
      Rollback();  // the commit's own failure: the work is undone instead
    }
  }
  void Rollback() noexcept {
    if (started_ && transaction_.InTransaction()) {
      try {
        transaction_.Rollback();
      } catch (...) {
        // A rollback always ends the transaction; the routine's own error is the one that counts.
      }
    }
    started_ = false;
  }

 private:
  TIBTransaction& transaction_;
  bool wasActive_ = false;
  bool started_ = false;
};
