#include <ibase.h>

#include <algorithm>
#include <cctype>

#include "platform/fb/fbapi.h"
#include "platform/fb/ibdatabase.h"

namespace {

struct TpbWord {
  const char* name;
  unsigned char tag;
};

constexpr TpbWord kTpbWords[] = {
    {"read_committed", isc_tpb_read_committed}, {"rec_version", isc_tpb_rec_version},
    {"no_rec_version", isc_tpb_no_rec_version}, {"nowait", isc_tpb_nowait},
    {"wait", isc_tpb_wait},                     {"concurrency", isc_tpb_concurrency},
    {"consistency", isc_tpb_consistency},       {"read", isc_tpb_read},
    {"write", isc_tpb_write},                   {"autocommit", isc_tpb_autocommit},
    {"no_auto_undo", isc_tpb_no_auto_undo},     {"ignore_limbo", isc_tpb_ignore_limbo},
};

void BuildTpb(const TIBStrings& params, fbapi::Xpb& tpb) {
  for (const std::string& raw : params.Lines()) {
    std::string line;
    for (char c : raw) {
      if (c != ' ' && c != '\t') line += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (line.empty()) continue;
    if (line.rfind("isc_tpb_", 0) == 0) line.erase(0, 8);
    std::size_t eq = line.find('=');
    if (eq != std::string::npos && line.substr(0, eq) == "lock_timeout") {
      tpb.Int(isc_tpb_lock_timeout, std::stoi(line.substr(eq + 1)));
      continue;
    }
    auto word = std::find_if(std::begin(kTpbWords), std::end(kTpbWords),
                             [&](const TpbWord& w) { return line == w.name; });
    if (word == std::end(kTpbWords)) fbapi::Fail("Unknown transaction parameter: " + raw, 335544325, -902);
    tpb.Tag(word->tag);
  }
}

}  // namespace

TIBTransaction::TIBTransaction() = default;

TIBTransaction::~TIBTransaction() {
  if (InTransaction()) {
    try {
      fbapi::Status st;
      transaction_->rollback(&st);
      if (!st.Failed()) transaction_ = nullptr;
    } catch (...) {
      // a destructor must not throw; the handle is released below
    }
    ReleaseHandle();
  }
  std::vector<TIBDatabase*> databases = databases_;
  for (TIBDatabase* database : databases) database->UnregisterTransaction(this);
}

void TIBTransaction::SetDefaultDatabase(TIBDatabase* database) {
  if (InTransaction()) fbapi::Fail("Cannot change the database of an active transaction");
  if (!databases_.empty()) {
    TIBDatabase* old = databases_.front();
    databases_.erase(databases_.begin());
    if (std::find(databases_.begin(), databases_.end(), old) == databases_.end())
      old->UnregisterTransaction(this);
  }
  if (!database) return;
  databases_.erase(std::remove(databases_.begin(), databases_.end(), database), databases_.end());
  databases_.insert(databases_.begin(), database);
  database->RegisterTransaction(this);
}

void TIBTransaction::AddDatabase(TIBDatabase* database) {
  if (!database) return;
  if (std::find(databases_.begin(), databases_.end(), database) != databases_.end()) return;
  if (InTransaction()) fbapi::Fail("Cannot add a database to an active transaction");
  databases_.push_back(database);
  database->RegisterTransaction(this);
}

void TIBTransaction::RemoveDatabase(TIBDatabase* database) {
  auto it = std::find(databases_.begin(), databases_.end(), database);
  if (it == databases_.end()) return;
  if (InTransaction()) {
    try {
      Rollback();
    } catch (...) {
      // a rollback always ends the transaction; the database leaves either way
    }
  }
  databases_.erase(it);
  database->UnregisterTransaction(this);
}

void TIBTransaction::SetActive(bool value) {
  if (value && !InTransaction()) StartTransaction();
  if (!value && InTransaction()) Commit();
}

void TIBTransaction::StartTransaction() {
  if (InTransaction()) fbapi::Fail("Transaction is active", 0, -901);
  if (databases_.empty()) fbapi::Fail("Transaction has no database", 0, -901);
  for (TIBDatabase* database : databases_) {
    if (!database->Connected()) fbapi::Fail("Database not connected: " + database->DatabaseName, 0, -901);
  }
  fbapi::Xpb tpb(Firebird::IXpbBuilder::TPB);
  BuildTpb(Params, tpb);
  const unsigned length = tpb.Length();
  const unsigned char* buffer = tpb.Buffer();
  fbapi::Status st;
  Firebird::ITransaction* transaction = nullptr;
  if (databases_.size() == 1) {
    transaction = databases_.front()->Handle()->startTransaction(&st, length, buffer);
    st.Check();
  } else {
    Firebird::IDtcStart* builder = fbapi::Master()->getDtc()->startBuilder(&st);
    st.Check();
    for (TIBDatabase* database : databases_) {
      builder->addWithTpb(&st, database->Handle(), length, buffer);
      if (st.Failed()) {
        builder->dispose();
        st.Check();
      }
    }
    transaction = builder->start(&st);
    if (st.Failed()) {
      builder->dispose();
      st.Check();
    }
  }
  transaction_ = transaction;
  ++generation_;
}

void TIBTransaction::CheckActive(const char* operation) const {
  if (!InTransaction()) fbapi::Fail(std::string("Transaction is not active (") + operation + ")", 0, -901);
}

void TIBTransaction::Commit() {
  CheckActive("Commit");
  fbapi::Status st;
  transaction_->commit(&st);
  st.Check();   // still active: the caller rolls back
  transaction_ = nullptr;
  ++generation_;
}

void TIBTransaction::CommitRetaining() {
  CheckActive("CommitRetaining");
  fbapi::Status st;
  transaction_->commitRetaining(&st);
  st.Check();
}

void TIBTransaction::Rollback() {
  CheckActive("Rollback");
  fbapi::Status st;
  transaction_->rollback(&st);
  ++generation_;
  if (st.Failed()) {
    // The server rolls back what it cannot finish; the transaction is over.
    ReleaseHandle();
    st.Check();
  }
  transaction_ = nullptr;
}

void TIBTransaction::RollbackRetaining() {
  CheckActive("RollbackRetaining");
  fbapi::Status st;
  transaction_->rollbackRetaining(&st);
  st.Check();
}

void TIBTransaction::ReleaseHandle() noexcept {
  if (transaction_) transaction_->release();
  transaction_ = nullptr;
  ++generation_;
}

void TIBTransaction::EndForDatabaseClose(TIBDatabase* /*database*/, bool force) {
  if (!InTransaction()) return;
  if (force) {
    try {
      fbapi::Status st;
      transaction_->rollback(&st);
      if (!st.Failed()) {
        transaction_ = nullptr;
        ++generation_;
        return;
      }
    } catch (...) {
      // a forced end abandons the transaction; the handle is released below
    }
    ReleaseHandle();
    return;
  }
  switch (DefaultAction) {
    case TTransactionAction::taCommit:
    case TTransactionAction::taCommitRetaining:
      Commit();
      break;
    case TTransactionAction::taRollback:
    case TTransactionAction::taRollbackRetaining:
      Rollback();
      break;
  }
}
