// Transactions between attachments: error codes of conflicts, one
// transaction over two databases, and the end of a connection.
#include <gtest/gtest.h>

#include "fb_test_support.h"
#include "platform/fb/transactionguard.h"

namespace {

class Transactions : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("tx.fdb");
    fbtest::CreateDatabase(path_, {"CREATE TABLE K (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)",
                                   "INSERT INTO K VALUES (1, 10)"});
    for (TIBDatabase* db : {&db1_, &db2_}) {
      db->DatabaseName = path_;
      fbtest::SetUserParams(db->Params, false);
      db->Open();
    }
    tr1_.SetDefaultDatabase(&db1_);
    tr2_.SetDefaultDatabase(&db2_);
    for (TIBTransaction* tr : {&tr1_, &tr2_}) tr->Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  }

  int Run(TIBDatabase& db, TIBTransaction& tr, const std::string& sql) {
    TIBSQL q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL.SetText(sql);
    q.ExecQuery();
    int result = q.FieldCount() > 0 && !q.Eof() ? q.Fields(0).AsInteger() : q.RowsAffected();
    q.Close();
    return result;
  }

  std::int32_t ErrorCodeOf(TIBDatabase& db, TIBTransaction& tr, const std::string& sql) {
    try {
      Run(db, tr, sql);
    } catch (const EIBError& e) {
      return e.IBErrorCode();
    }
    return 0;
  }

  fbtest::TempFolder folder_;
  std::string path_;
  TIBDatabase db1_, db2_;
  TIBTransaction tr1_, tr2_;
};

TEST_F(Transactions, ConflictsCarryTheirStatusCodes) {
  tr1_.StartTransaction();
  EXPECT_EQ(ErrorCodeOf(db1_, tr1_, "INSERT INTO K VALUES (1, 0)"), ibcodes::kUniqueKeyViolation);
  // The failed statement leaves the transaction usable.
  EXPECT_TRUE(tr1_.InTransaction());
  EXPECT_EQ(Run(db1_, tr1_, "UPDATE K SET V = 11 WHERE ID = 1"), 1);

  // A row changed by another open transaction: the server reports the
  // update conflict under the deadlock code.
  tr2_.StartTransaction();
  EXPECT_EQ(ErrorCodeOf(db2_, tr2_, "UPDATE K SET V = 12 WHERE ID = 1"), ibcodes::kDeadlock);
  tr2_.Rollback();
  tr1_.Commit();

  // Table locks of "consistency" transactions: the lock conflict code.
  tr1_.Params = TIBStrings{"consistency", "nowait"};
  tr2_.Params = TIBStrings{"consistency", "nowait"};
  tr1_.StartTransaction();
  Run(db1_, tr1_, "UPDATE K SET V = 11 WHERE ID = 1");
  tr2_.StartTransaction();
  EXPECT_EQ(ErrorCodeOf(db2_, tr2_, "UPDATE K SET V = 12 WHERE ID = 1"), ibcodes::kLockConflict);
  tr1_.Commit();
  tr2_.Rollback();
  tr2_.StartTransaction();
  EXPECT_EQ(Run(db2_, tr2_, "SELECT V FROM K WHERE ID = 1"), 11);
  tr2_.Commit();
}

TEST_F(Transactions, StateFollowsStartCommitAndRollback) {
  EXPECT_FALSE(tr1_.InTransaction());
  EXPECT_THROW(tr1_.Commit(), EIBError);
  tr1_.StartTransaction();
  EXPECT_THROW(tr1_.StartTransaction(), EIBError);
  Run(db1_, tr1_, "UPDATE K SET V = 20");
  tr1_.CommitRetaining();
  EXPECT_TRUE(tr1_.Active());
  Run(db1_, tr1_, "UPDATE K SET V = 30");
  tr1_.RollbackRetaining();
  EXPECT_TRUE(tr1_.InTransaction());
  EXPECT_EQ(Run(db1_, tr1_, "SELECT V FROM K"), 20);
  tr1_.Rollback();
  EXPECT_FALSE(tr1_.InTransaction());

  // A statement starts its idle transaction; the caller ends it.
  EXPECT_EQ(Run(db1_, tr1_, "SELECT V FROM K"), 20);
  EXPECT_TRUE(tr1_.InTransaction());
  tr1_.Commit();

  // An open cursor ends with its transaction.
  TIBSQL q;
  q.SetDatabase(&db1_);
  q.SetTransaction(&tr1_);
  q.SQL.SetText("SELECT ID FROM K");
  q.ExecQuery();
  tr1_.Commit();
  EXPECT_THROW(q.Next(), EIBError);
}

TEST_F(Transactions, OneTransactionOverTwoAttachments) {
  fbtest::TempFolder other;
  const std::string path2 = other.File("second.fdb");
  fbtest::CreateDatabase(path2, {"CREATE TABLE K (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"});
  TIBDatabase second;
  second.DatabaseName = path2;
  fbtest::SetUserParams(second.Params, false);
  second.Open();

  TIBTransaction both;
  both.SetDefaultDatabase(&db1_);
  both.AddDatabase(&second);
  both.StartTransaction();
  Run(db1_, both, "INSERT INTO K VALUES (2, 2)");
  Run(second, both, "INSERT INTO K VALUES (2, 2)");
  both.Rollback();
  both.StartTransaction();
  EXPECT_EQ(Run(db1_, both, "SELECT COUNT(*) FROM K"), 1);
  EXPECT_EQ(Run(second, both, "SELECT COUNT(*) FROM K"), 0);
  Run(db1_, both, "INSERT INTO K VALUES (3, 3)");
  Run(second, both, "INSERT INTO K VALUES (3, 3)");
  both.Commit();

  tr2_.StartTransaction();
  EXPECT_EQ(Run(db2_, tr2_, "SELECT COUNT(*) FROM K WHERE ID = 3"), 1);
  tr2_.Commit();
  TIBTransaction own;
  own.SetDefaultDatabase(&second);
  own.StartTransaction();
  EXPECT_EQ(Run(second, own, "SELECT COUNT(*) FROM K WHERE ID = 3"), 1);
  own.Commit();
}

TEST_F(Transactions, ClosingEndsTransactionsAndForceCloseNeverThrows) {
  tr1_.StartTransaction();
  Run(db1_, tr1_, "UPDATE K SET V = 40");
  db1_.Close();   // the default action commits
  EXPECT_FALSE(tr1_.InTransaction());
  EXPECT_FALSE(db1_.Connected());
  db1_.Close();   // closing twice does nothing

  tr2_.StartTransaction();
  EXPECT_EQ(Run(db2_, tr2_, "SELECT V FROM K"), 40);
  Run(db2_, tr2_, "UPDATE K SET V = 50");
  EXPECT_TRUE(db2_.TestConnected());
  db2_.ForceClose();   // abandons the update
  EXPECT_FALSE(db2_.Connected());
  EXPECT_FALSE(tr2_.InTransaction());
  EXPECT_FALSE(db2_.TestConnected());
  db2_.ForceClose();

  db1_.Open();
  tr1_.StartTransaction();
  EXPECT_EQ(Run(db1_, tr1_, "SELECT V FROM K"), 40);
  tr1_.Commit();

  TIBDatabase missing;
  missing.DatabaseName = folder_.File("missing.fdb");
  try {
    missing.Open();
    FAIL();
  } catch (const EIBError& e) {
    EXPECT_EQ(e.IBErrorCode(), ibcodes::kIoError) << e.Message();
  }
}

TEST_F(Transactions, DropDatabaseDeletesTheFile) {
  db2_.Close();
  db1_.DropDatabase();
  EXPECT_FALSE(db1_.Connected());
  EXPECT_FALSE(std::filesystem::exists(path_));
}

// The guard owns only a transaction it started: it commits that one, rolls it
// back when the routine fails, and leaves a caller's transaction as it is.
TEST_F(Transactions, GuardEndsOnlyTheTransactionItStarted) {
  auto value = [&] {
    tr2_.StartTransaction();
    const int v = Run(db2_, tr2_, "SELECT V FROM K WHERE ID = 1");
    tr2_.Commit();
    return v;
  };
  {
    TTransactionGuard guard(tr1_);
    EXPECT_FALSE(guard.Begin());
    EXPECT_TRUE(guard.Started());
    Run(db1_, tr1_, "UPDATE K SET V = 11");
    guard.Commit();
    EXPECT_FALSE(tr1_.InTransaction());
  }
  EXPECT_EQ(value(), 11);

  // An exception leaves the routine: the guard's end undoes the work.
  EXPECT_THROW(
      {
        TTransactionGuard guard(tr1_);
        guard.Begin();
        Run(db1_, tr1_, "UPDATE K SET V = 12");
        Run(db1_, tr1_, "INSERT INTO K VALUES (1, 0)");
      },
      EIBError);
  EXPECT_FALSE(tr1_.InTransaction());
  EXPECT_EQ(value(), 11);

  // Inside a caller's transaction neither Commit, Rollback nor the end of the
  // guard touches it; the caller's own end decides.
  tr1_.StartTransaction();
  Run(db1_, tr1_, "UPDATE K SET V = 13");
  {
    TTransactionGuard guard(tr1_);
    EXPECT_TRUE(guard.Begin());
    EXPECT_TRUE(guard.WasActive());
    EXPECT_FALSE(guard.Started());
    guard.Commit();
    guard.Rollback();
  }
  EXPECT_TRUE(tr1_.InTransaction());
  EXPECT_EQ(value(), 11);
  tr1_.Rollback();
  EXPECT_EQ(value(), 11);

  // CommitQuietly keeps the work done so far and never throws.
  {
    TTransactionGuard guard(tr1_);
    guard.Begin();
    Run(db1_, tr1_, "UPDATE K SET V = 14");
    guard.CommitQuietly();
    EXPECT_FALSE(guard.Started());
  }
  EXPECT_EQ(value(), 14);

  // A start that fails leaves nothing to end.
  db1_.Close();
  TTransactionGuard guard(tr1_);
  EXPECT_THROW(guard.Begin(), EIBError);
  EXPECT_FALSE(guard.Started());
  guard.Rollback();
  guard.CommitQuietly();
}

}  // namespace
