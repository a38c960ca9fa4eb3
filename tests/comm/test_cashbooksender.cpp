// The cash-book sender on a real data set: the full and the partial marking,
// a caller's transaction, a failure, and the round trip of the cash entries
// to the cash book and back through the loader.
#include <gtest/gtest.h>

#include <filesystem>

#include "cashbooktest.h"
#include "comm/cashbookloader.h"
#include "comm/cashbooksender.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"

namespace fs = std::filesystem;

namespace {

using cashbooktest::CashBookTest;

class CashBookSenderTest : public CashBookTest {
 protected:
  void SetUp() override {
    CashBookTest::SetUp();
    // Entry 3 (not cash) carries a revision; entry 4 is a deleted cash entry.
    ExecOn(DataFile(1),
           "UPDATE SIWAKE SET LINKREC=2, RESERVE1=7, LINKKEY='old', LINKKUB=3 WHERE SWKREC=3;"
           "INSERT INTO SIWAKE (REC, SWKREC, SWKNO, DELFLG, TAISHAKU, HIZUKE, KCODE, R_KCODE, KINGAKU)"
           " VALUES (20, 4, 4, 1, 1, '2019-10-05', '6110', '1110', 330);"
           "INSERT INTO SIWAKE (REC, SWKREC, SWKNO, DELFLG, TAISHAKU, HIZUKE, KCODE, R_KCODE, KINGAKU)"
           " VALUES (21, 4, 4, 1, 2, '2019-10-05', '1110', '6110', 330)");
    ConnectDataSet(1);
  }
  // Every row of data set 1: REC|RESERVE1|RESERVE2|LINKKEY|LINKKUB|LINKREC|LOCALFLG.
  std::vector<std::string> Marks() {
    return RowsOn(DataFile(1), "SELECT REC, RESERVE1, RESERVE2, LINKKEY, LINKKUB, LINKREC, LOCALFLG FROM SIWAKE ORDER BY REC");
  }
};

TEST_F(CashBookSenderTest, FullMarkingLinksCashEntriesAndClearsOthers) {
  TCashBookSender sender;
  sender.SendMode = 0;
  sender.Execute();
  EXPECT_EQ(sender.ResultCode(), 1);
  EXPECT_EQ(sender.Log().back().Text, "出納帳データの送信処理が成功しました。");
  EXPECT_EQ(Marks(), (std::vector<std::string>{"1|1|0|1|10|0|0", "2|1|0|1|10|0|0", "3|3|0|3|10|0|0", "4|3|0|3|10|0|0",
                                               "5|0|0||0|0|0", "6|0|0||0|0|0", "20|20|0||0|0|0", "21|20|0||0|0|0"}));
}

TEST_F(CashBookSenderTest, PartialMarkingLeavesLinkedEntriesAlone) {
  ExecOn(DataFile(1), "UPDATE SIWAKE SET LINKKEY='x', LINKKUB=9 WHERE SWKREC=1");
  TCashBookSender sender;
  sender.SendMode = 0;
  sender.SendModeOverride = 1;   // forces the partial marking
  sender.Execute();
  EXPECT_EQ(sender.ResultCode(), 1);
  EXPECT_EQ(Marks(), (std::vector<std::string>{"1|0|0|x|9|0|0", "2|0|0|x|9|0|0", "3|0|0|3|10|0|0", "4|0|0|3|10|0|0",
                                               "5|7|0|old|3|2|0", "6|7|0|old|3|2|0", "20|0|0||0|0|0", "21|0|0||0|0|0"}));
}

TEST_F(CashBookSenderTest, CallersTransactionIsLeftToTheCaller) {
  DataSetConnection().IBTransactionDAT.StartTransaction();
  TCashBookSender sender;
  sender.SendMode = 0;
  sender.Execute();
  EXPECT_EQ(sender.ResultCode(), 1);
  EXPECT_TRUE(DataSetConnection().IBTransactionDAT.InTransaction());
  DataSetConnection().IBTransactionDAT.Rollback();
  EXPECT_EQ(Marks()[0], "1|0|0||0|0|0");
}

TEST_F(CashBookSenderTest, NothingToMarkStillSucceeds) {
  ExecOn(DataFile(1), "DELETE FROM SIWAKE");
  TCashBookSender sender;
  sender.SendMode = 0;
  sender.Execute();
  EXPECT_EQ(sender.ResultCode(), 1);
}

TEST_F(CashBookSenderTest, FailureIsLoggedShownAndUndone) {
  DataSetConnection().IBDatabaseDAT.Close();
  TCashBookSender sender;
  sender.Execute();
  EXPECT_EQ(sender.ResultCode(), -100);
  EXPECT_EQ(sender.Log().back().Text.rfind("出納帳データの送信処理に失敗しました。 原因: ", 0), 0u);
  ASSERT_FALSE(shown_.empty());
  EXPECT_EQ(shown_.back().text.rfind("出納帳データの送信処理中にエラーが発生しました。\r\r原因: ", 0), 0u);
}

TEST_F(CashBookSenderTest, CashEntriesGoToTheCashBookAndComeBack) {
  TCashBookSender sender;
  sender.SendMode = 0;
  sender.Execute();
  ASSERT_EQ(sender.ResultCode(), 1);
  // The cash book works on a copy: it revises entry 1 and adds an entry of its own.
  DataSetConnection().IBDatabaseDAT.Close();
  const std::string cashBook = temp_.File("rqacc_recv.fdb");
  fs::copy_file(DataFile(1), cashBook);
  fs::permissions(cashBook, fs::perms::all, fs::perm_options::add);
  ExecOn(cashBook,
         "UPDATE SIWAKE SET KINGAKU=13200, LINKREC=1 WHERE SWKREC=1;"
         "INSERT INTO SIWAKE (REC, SWKREC, SWKNO, TAISHAKU, HIZUKE, KCODE, R_KCODE, KINGAKU, TEKTEXT, TAXCODE, R_TAXCODE, OLDRATE)"
         " VALUES (500, 50, 50, 1, '2019-12-01', '1110', '4110', 1100, '雑収入', 810, 110, 0);"
         "INSERT INTO SIWAKE (REC, SWKREC, SWKNO, TAISHAKU, HIZUKE, KCODE, R_KCODE, KINGAKU, TEKTEXT, TAXCODE, R_TAXCODE, OLDRATE)"
         " VALUES (501, 50, 50, 2, '2019-12-01', '4110', '1110', 1100, '雑収入', 110, 810, 0)");
  ConnectDataSet(1);
  TCashBookLoaderBox box;
  box.ReceiveKind = 0;
  box.ImportKind = 1;
  box.SetReceivedFile(cashBook);
  box.Execute();
  ASSERT_EQ(box.ResultCode(), 1) << (box.Log().empty() ? "" : box.Log().front().Text);
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT CAST(KINGAKU AS INTEGER) FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND SWKREC=1"),
            "13200");
  const std::string added = QueryOn(DataFile(1), "SELECT REC FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND RESERVE1=500");
  ASSERT_FALSE(added.empty());
  // The next send marks the entry that came from the cash book.
  ConnectDataSet(1);
  TCashBookSender again;
  again.Execute();
  EXPECT_EQ(again.ResultCode(), 1);
  EXPECT_EQ(RowsOn(DataFile(1), "SELECT LINKKEY, LINKKUB, RESERVE1 FROM SIWAKE WHERE REC=" + added),
            (std::vector<std::string>{added + "|10|500"}));
}

}  // namespace
