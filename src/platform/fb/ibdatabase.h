// Database connection and transaction components, IBX-shaped.
//
// TIBDatabase: DatabaseName is a local path (the embedded engine; with a
// password given, the local server is tried when the embedded engine cannot
// open the file) or "host:path" / "host/port:path" (the server over TCP).
// Params are DPB lines: "user_name=", "password=", "lc_ctype=SJIS_0208",
// "sql_role_name=". Text sent and received is converted between UTF-8 and
// CP932 by the statements.
//
// TIBTransaction: one transaction over its default database and any added
// databases; Params are TPB lines ("read_committed", "rec_version",
// "no_rec_version", "nowait", "wait", "concurrency", "consistency", "read",
// "write", "lock_timeout=N"; an "isc_tpb_" prefix is accepted).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fb/iberror.h"
#include "platform/fb/ibstrings.h"

namespace Firebird {
class IAttachment;
class ITransaction;
}  // namespace Firebird

class TIBTransaction;

class TIBDatabase {
 public:
  TIBDatabase();
  ~TIBDatabase();
  TIBDatabase(const TIBDatabase&) = delete;
  TIBDatabase& operator=(const TIBDatabase&) = delete;

  std::string DatabaseName;
  TIBStrings Params;
  int SQLDialect = 3;
  bool LoginPrompt = false;   // kept for the callers' settings; never prompts
  int IdleTimer = 0;          // kept for the callers' settings; no idle disconnect

  TIBTransaction* DefaultTransaction() const { return defaultTransaction_; }
  void SetDefaultTransaction(TIBTransaction* transaction);

  bool Connected() const { return attachment_ != nullptr; }
  void SetConnected(bool value) { value ? Open() : Close(); }
  void Open();
  // Ends the transactions on this database by their DefaultAction, then
  // detaches. Does nothing when not connected.
  void Close();
  // Drops the connection whatever happens (lost network, dead server):
  // active transactions are abandoned, errors are swallowed. Never throws.
  void ForceClose() noexcept;
  // True when connected and the server still answers.
  bool TestConnected() noexcept;

  // Creates the database file named by DatabaseName with the user of
  // Params and connects to it. Default character set SJIS_0208, dialect 3.
  void CreateDatabase(int pageSize = 16384, const std::string& defaultCharSet = "SJIS_0208");
  // Drops (deletes) the connected database and disconnects.
  void DropDatabase();

  // "host" of "host:path" / "host/port:path", or empty for a local path.
  static std::string HostOf(const std::string& databaseName);

  // Layer internals.
  Firebird::IAttachment* Handle() const { return attachment_; }
  std::uint64_t ConnectionId() const { return connectionId_; }
  void RegisterTransaction(TIBTransaction* transaction);
  void UnregisterTransaction(TIBTransaction* transaction);

 private:
  void Attach(bool create, int pageSize, const std::string& defaultCharSet);
  void ReleaseHandle() noexcept;

  Firebird::IAttachment* attachment_ = nullptr;
  TIBTransaction* defaultTransaction_ = nullptr;
  std::vector<TIBTransaction*> transactions_;
  std::uint64_t connectionId_ = 0;
};

enum class TTransactionAction { taRollback, taCommit, taRollbackRetaining, taCommitRetaining };

class TIBTransaction {
 public:
  TIBTransaction();
  ~TIBTransaction();
  TIBTransaction(const TIBTransaction&) = delete;
  TIBTransaction& operator=(const TIBTransaction&) = delete;

  TIBStrings Params;
  // What Close of a database does with this transaction when still active.
  TTransactionAction DefaultAction = TTransactionAction::taCommit;

  TIBDatabase* DefaultDatabase() const { return databases_.empty() ? nullptr : databases_.front(); }
  void SetDefaultDatabase(TIBDatabase* database);
  // Further databases of a transaction over several attachments.
  void AddDatabase(TIBDatabase* database);
  void RemoveDatabase(TIBDatabase* database);
  int DatabaseCount() const { return static_cast<int>(databases_.size()); }
  TIBDatabase* Databases(int index) const { return databases_.at(static_cast<std::size_t>(index)); }

  bool InTransaction() const { return transaction_ != nullptr; }
  bool Active() const { return InTransaction(); }
  void SetActive(bool value);

  // Throws EIBError when already active or a database is not connected.
  void StartTransaction();
  // Throw EIBError when not active. A failed commit leaves the transaction
  // active (roll it back); a rollback always ends it, also when it fails.
  void Commit();
  void CommitRetaining();
  void Rollback();
  void RollbackRetaining();

  // Layer internals.
  Firebird::ITransaction* Handle() const { return transaction_; }
  // Changes at every start and end, so that statements notice that their
  // open cursors were closed by the end of the transaction.
  std::uint64_t Generation() const { return generation_; }
  void EndForDatabaseClose(TIBDatabase* database, bool force) noexcept(false);

 private:
  void CheckActive(const char* operation) const;
  void ReleaseHandle() noexcept;

  std::vector<TIBDatabase*> databases_;
  Firebird::ITransaction* transaction_ = nullptr;
  std::uint64_t generation_ = 0;
};
