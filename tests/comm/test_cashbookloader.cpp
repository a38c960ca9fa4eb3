// The cash-book loader on real data sets: the merge of the cash book's
// database (data set 2) into the office's data set (data set 1), with the
// account-system checks, refused entries and the cash balance; the replace
// kind with the dictionary migration and the file replacement; the log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cashbooktest.h"
#include "comm/cashbookloader.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/cp932.h"

namespace fs = std::filesystem;

namespace {

using cashbooktest::CashBookTest;

class CashBookLoaderTest : public CashBookTest {
 protected:
  void SetUp() override {
    CashBookTest::SetUp();
    // The entries that data set 1 sent to the cash book carry their link marks.
    ExecOn(DataFile(1),
           "UPDATE SIWAKE SET RESERVE1=1, LINKKEY='1', LINKKUB=10 WHERE SWKREC=1;"
           "UPDATE SIWAKE SET RESERVE1=3, LINKKEY='3', LINKKUB=10 WHERE SWKREC=2");
    ConnectDataSet(1);
  }
  // Runs the loader on data set 2's database file.
  std::vector<std::string> Run(int receiveKind, int importKind) {
    TCashBookLoaderBox box;
    box.ReceiveKind = receiveKind;
    box.ImportKind = importKind;
    box.SetReceivedFile(DataFile(2));
    box.Execute();
    result_ = box.ResultCode();
    log_ = box.Log();
    title1_ = box.Title1();
    std::vector<std::string> lines;
    for (const TPelorinSyoriInfo& e : log_) lines.push_back(std::to_string(e.Number) + " " + e.Text);
    return lines;
  }
  // Live debit rows of data set 1: SWKREC|KINGAKU|RESERVE1|RESERVE2|LOCALFLG.
  std::vector<std::string> LiveEntries() {
    return RowsOn(DataFile(1),
                  "SELECT SWKREC, CAST(KINGAKU AS INTEGER), RESERVE1, RESERVE2, LOCALFLG, LINKKEY, LINKKUB FROM SIWAKE"
                  " WHERE DELFLG=0 AND TAISHAKU=1 ORDER BY HIZUKE, SWKREC");
  }
  std::int32_t result_ = 0;
  TPelorinSyoriLog log_;
  std::string title1_;
};

TEST_F(CashBookLoaderTest, MergesTheCashBookAndASecondRunChangesNothing) {
  EXPECT_EQ(Run(0, 1), (std::vector<std::string>{
                           "11 (仕訳番号:1 日付:2019/10/01 相手科目:売上高 摘要:現金売上 金額:12,000) "
                           "受信データの訂正仕訳が優先されました。",
                           "12 (仕訳番号:2 日付:2019/10/02 相手科目:普通預金 摘要:預入 金額:5,000) "
                           "受信データの削除仕訳が優先されました。",
                           "1 取り込み処理が成功しました。"}));
  EXPECT_EQ(result_, 1);
  EXPECT_EQ(title1_, "現金出納帳データの取り込みを行いました。");
  const std::vector<std::string> merged = LiveEntries();
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(merged[0], "1|12000|1|1|10|1|10");   // revised: updated, its revision noted
  EXPECT_EQ(merged[1], "3|3300|0|0|0||0");       // not a cash entry: untouched
  EXPECT_EQ(merged[2].substr(merged[2].find('|')), "|2200|105|0|10||0");   // made in the cash book: new
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=1 AND SWKREC=2"), "2");
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=2 AND SWKREC=1"), "2");   // history kept
  // The tax of the new entry was computed by the data set's rules.
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT CAST(R_ZEI AS INTEGER) FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND RESERVE1=105"),
            "200");

  EXPECT_EQ(Run(0, 1), (std::vector<std::string>{"1 取り込み処理が成功しました。"}));
  EXPECT_EQ(LiveEntries(), merged);
}

TEST_F(CashBookLoaderTest, DeletedEntryRevisedInTheCashBookComesBack) {
  ExecOn(DataFile(1), "UPDATE SIWAKE SET DELFLG=1 WHERE SWKREC=1");
  ExecOn(DataFile(2), "UPDATE SIWAKE SET DELFLG=1 WHERE SWKREC=2");   // the cash book's own deletion
  Run(0, 1);
  EXPECT_EQ(result_, 1);
  ASSERT_GE(log_.size(), 1u);
  EXPECT_EQ(log_[0].Number, 11);
  const std::vector<std::string> live = LiveEntries();
  ASSERT_FALSE(live.empty());
  EXPECT_EQ(live[0], "1|12000|1|1|10|1|10");
}

TEST_F(CashBookLoaderTest, AccountSystemDifferencesStopTheMerge) {
  ExecOn(DataFile(2),
         "UPDATE ACCDEF1 SET SITEN=1, BUMON=2;"
         "UPDATE KAMOKUMST SET GROUPM0='1530' WHERE KCODE='1520';"
         "DELETE FROM KAMOKU_SZ WHERE KCODE='9990'; DELETE FROM HOJOMST WHERE KCODE='9990';"
         "DELETE FROM KAMOKUMST WHERE KCODE='9990'");
  EXPECT_EQ(Run(1, 1), (std::vector<std::string>{
                           "-106 (使用データ:本・支店管理を行わない ≠ 受信データ:本・支店管理を行う) "
                           "受信データの本・支店管理区分の設定内容に違いがありました。",
                           "-107 (使用データ:部門管理を行わない ≠ 受信データ:部門管理を行う[全科目]) "
                           "受信データの部門管理区分の設定内容に違いがありました。",
                           "-105 (使用データ:152 普通預金 ≠ 受信データ:152 普通預金) 受信データの科目の設定内容に違いがありました。",
                           "-104 (使用データ:999 諸口) 科目コードが見つかりません。",
                           "-103 データ送信元の設定変更により科目体系に差異が発生しています。データ送信元にご連絡して下さい。"}));
  EXPECT_EQ(result_, -106);
  EXPECT_EQ(title1_, "データの取り込みが中止されました。");
  EXPECT_EQ(LiveEntries()[0], "1|11000|1|0|0|1|10");
}

TEST_F(CashBookLoaderTest, UnusedAccountWarnsAndAsksForAMasterSend) {
  ExecOn(DataFile(2), "UPDATE KAMOKUMST SET USE=0 WHERE KCODE='6110'");
  const std::vector<std::string> lines = Run(0, 1);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "101 (使用データ:611 消耗品費) 受信データの当科目は[使用しない]に設定されています。");
  EXPECT_EQ(lines.back(), "1 取り込み処理が成功しました。 （次回の送信時は、マスター送信を行って下さい。）");
  EXPECT_EQ(result_, 1);
}

TEST_F(CashBookLoaderTest, RefusedEntryDiscardsTheWholeMerge) {
  ExecOn(DataFile(2), "UPDATE SIWAKE SET KINGAKU=0 WHERE SWKREC=10");
  const std::vector<std::string> lines = Run(0, 1);
  EXPECT_EQ(result_, -111);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "-111 (仕訳番号:-  日付:2019/11/05 相手科目:売上高 摘要:雑収入 金額:0) 金額の設定が不正です。（０円 または null）"),
            lines.end());
  EXPECT_EQ(lines.back(), "-100 取り込み処理を中止しました。");
  // Nothing of the merge stays, not even the entries merged before the refused one.
  EXPECT_EQ(LiveEntries()[0], "1|11000|1|0|0|1|10");
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=1"), "0");
}

TEST_F(CashBookLoaderTest, SubAccountsBalancesAndCashDifference) {
  ExecOn(DataFile(2),
         "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1210', '003', '得意先Ｃ');"
         "UPDATE HOJOMST SET HNAME='得意先甲' WHERE KCODE='1210' AND HCODE='001';"
         "UPDATE KAMOKU_SZ SET KISHU_KOMI=90000, KISHU_NUKI=90000 WHERE KCODE='1110'");
  Run(1, 1);   // a sending installation: the opening balances come along
  EXPECT_EQ(result_, 1);
  EXPECT_EQ(RowsOn(DataFile(1), "SELECT HCODE, HNAME FROM HOJOMST WHERE KCODE='1210' AND HCODE<>' ' ORDER BY HCODE"),
            (std::vector<std::string>{"001|得意先甲", "002|得意先Ｂ", "003|得意先Ｃ"}));
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM KAMOKU_SZ WHERE KCODE='1210' AND HCODE='003'"), "1");
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT CAST(KISHU_KOMI AS INTEGER) FROM KAMOKU_SZ WHERE KCODE='1110'"), "90000");

  // The cash book (receive kind 0) keeps its balance: a difference is a warning only.
  ExecOn(DataFile(2), "UPDATE KAMOKU_SZ SET KISHU_KOMI=80000 WHERE KCODE='1110'");
  const std::vector<std::string> lines = Run(0, 1);
  EXPECT_EQ(result_, 1);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2].substr(0, 4), "201 ");
}

TEST_F(CashBookLoaderTest, ReplaceCarriesDictionariesAndNameIntoTheReceivedFile) {
  ExecOn(DataFile(1),
         "UPDATE ACCDEF1 SET ENTTEXT='出納事務所', DATALOCK=1;"
         "INSERT INTO TEKDICTI (CREC, SCODE, SORTCODE, TEXT) VALUES (11, '', 1, '売上関係');"
         "INSERT INTO TEKDIC (TEKCODE, CREC, KANA, TEXT, SCODE, KAR_KCODE) VALUES (1, 11, 'ｳﾘｱｹﾞ', '現金売上', '', '1110')");
  ExecOn(DataFile(2),
         "UPDATE ACCDEF1 SET PASWORD='secret', WEB_HOLDER='holder';"
         "INSERT INTO TEKDICTI (CREC, SCODE, SORTCODE, TEXT) VALUES (51, '', 1, '');"
         "INSERT INTO ACCREG (AGROUP, ACODE, ATEXT) VALUES ('基本設定', '合算データ区分', '1')");
  Run(1, 0);
  EXPECT_EQ(result_, 1);
  // Data set 1's file is now the received database, carrying data set 1's dictionary and name.
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM SIWAKE WHERE REC=105"), "1");
  EXPECT_EQ(RowsOn(DataFile(1), "SELECT ENTTEXT, DATALOCK, PASWORD, WEB_HOLDER FROM ACCDEF1"),
            (std::vector<std::string>{"出納事務所|1||"}));
  EXPECT_EQ(RowsOn(DataFile(1), "SELECT CREC, TEXT, KAR_KCODE FROM TEKDIC"), (std::vector<std::string>{"51|現金売上|1110"}));
  // The received combine setting went (reading the company information again writes its default).
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT ATEXT FROM ACCREG WHERE ACODE='合算データ区分'"), "0");
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM OPLICENSE"), "0");
  EXPECT_FALSE(fs::exists(DataFolder(1) + "/rqacc.f00"));
}

TEST_F(CashBookLoaderTest, FailedCopyLeavesTheDataFileInPlace) {
  DataSetConnection().IBDatabaseDAT.Close();
  const auto size = fs::file_size(DataFile(1));
  EXPECT_FALSE(TCashBookLoaderBox::ReplaceDataFile(DataFolder(1), temp_.File("missing.fdb")));
  EXPECT_TRUE(fs::exists(DataFile(1)));
  EXPECT_EQ(fs::file_size(DataFile(1)), size);
  EXPECT_FALSE(fs::exists(DataFolder(1) + "/rqacc.f00"));
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM SIWAKE"), "6");
}

TEST_F(CashBookLoaderTest, RunRefusedWhileSomeoneUsesTheDataSet) {
  TIBDatabase other;
  other.DatabaseName = DataFile(1);
  other.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
  other.Open();
  const std::vector<std::string> lines = Run(0, 1);
  other.Close();
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "-100 現在、他のユーザーがデータを使用中です。他のユーザーがデータを使用している間は現金出納帳の取り込みは行えません。"}));
  EXPECT_EQ(LiveEntries()[0], "1|11000|1|0|0|1|10");
}

TEST_F(CashBookLoaderTest, NothingToDoForCashBookReplace) {
  EXPECT_TRUE(Run(0, 0).empty());
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(title1_, "現金出納帳データの取り込みが中止されました。");
}

TEST(PelorinLog, ResultCodeAndFileText) {
  const TPelorinSyoriLog log = {{"", 2, 101, "未使用"}, {"", 3, -104, "なし"}, {"", 3, -100, "中止"}};
  EXPECT_EQ(PelorinResultCode(log), -104);
  EXPECT_EQ(PelorinResultCode({{"", 2, 101, "a"}, {"", 1, 1, "ok"}}), 1);
  EXPECT_EQ(PelorinResultCode({{"", 2, 201, "a"}, {"", 2, 12, "b"}}), 12);
  EXPECT_EQ(PelorinResultCode({}), 0);
  EXPECT_EQ(PelorinLogText({{"", 2, 101, "未使用"}}, true), "'警告','101','未使用',\r\n\r\n");
  EXPECT_EQ(PelorinLogText({{"", 3, -1, "x"}}, false), "エラー\t-1\tx\t\r\n\r\n");
}

TEST_F(CashBookLoaderTest, LogFileIsWrittenInCp932) {
  Run(0, 1);
  const std::string csv = temp_.File("現金出納帳の受信ログ.csv");
  const std::string txt = temp_.File("log.txt");
  ASSERT_TRUE(SavePelorinLog(log_, csv));
  ASSERT_TRUE(SavePelorinLog(log_, txt));
  std::ifstream in(csv, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(Cp932ToUtf8(bytes.str()), PelorinLogText(log_, true));
  EXPECT_EQ(bytes.str().substr(0, 7), Utf8ToCp932("'警告',"));
  std::ifstream in2(txt, std::ios::binary);
  std::stringstream bytes2;
  bytes2 << in2.rdbuf();
  EXPECT_EQ(Cp932ToUtf8(bytes2.str()), PelorinLogText(log_, false));
}

}  // namespace
