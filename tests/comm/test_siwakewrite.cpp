// The journal writer against a real data set: its checks as a table of
// journal entries in both message modes, and insert, correction with the old
// rows kept, deletion, undeletion and reading of the current and past years.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cashbooktest.h"
#include "comm/siwakewrite.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "platform/fb/ibx.h"

namespace {

using cashbooktest::CashBookTest;
using siwakeio::TSWKREC;

class SiwakeWriteTest : public CashBookTest {
 protected:
  void SetUp() override {
    CashBookTest::SetUp();
    ConnectDataSet(1);
    writer_.SetTransaction(&DataSetConnection().IBTransactionDAT);
    writer_.AutoCommit = 1;
    writer_.SetSisetuCode("");
  }
  // A valid cash sale of 1,100 yen on 2019-11-01.
  TSWKREC Sale() {
    TSWKREC r;
    writer_.InitSiwake(r, 0, EncodeDate(2019, 11, 1));
    r.Debit.KCODE = "100";
    r.Debit.TAXCODE = 810;
    r.Credit.KCODE = "411";
    r.Credit.TAXCODE = 110;
    r.KINGAKU = 1100;
    r.AUTCALCU = 1;
    r.TEKTEXT = "売上\t入金\r\n";
    return r;
  }
  std::int32_t Insert(TSWKREC& r) {
    std::int32_t code = 0;
    std::string msg;
    EXPECT_TRUE(writer_.TestSiwake(r, code, msg)) << code << " " << msg;
    CalcSiwakeRecTax(r);
    writer_.AutoCommit = 1;
    return writer_.PutSiwake(r);
  }
  TSiwakeWrite writer_;
};

TEST_F(SiwakeWriteTest, ValidEntryPassesAndTakesItsMasterValues) {
  TSWKREC r = Sale();
  std::int32_t code = -1;
  std::string msg = "x";
  ASSERT_TRUE(writer_.TestSiwake(r, code, msg));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(msg, "");
  EXPECT_EQ(r.MNUM, 10);   // November of a year starting in April
  EXPECT_EQ(r.Debit.KNAME, "現金");
  EXPECT_EQ(r.Debit.KGROUP, "1110");
  EXPECT_EQ(r.Debit.SIKIN, 7);
  EXPECT_EQ(r.Credit.SIKIN, 0);
  EXPECT_EQ(r.Debit.HCODE, " ");
  EXPECT_EQ(r.TEKTEXT, "売上入金");
  EXPECT_EQ(r.Credit.TAXUH, 1);
}

struct TCheckCase {
  const char* name;
  void (*change)(TSWKREC&, TACCINF&, TSystemDef&);
  int code;
  const char* hand;       // message of mode 0; nullptr: the tax routine's text
  const char* imported;   // message of mode 1
};

const TCheckCase kCases[] = {
    {"out of period", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.HIZUKE = EncodeDate(2020, 4, 1); }, 1,
     "日付が会計期間外または、決算区分の指定が不正です。", "日付が会計期間外または、決算区分の設定が不正です。"},
    {"audited entry", [](TSWKREC& r, TACCINF& a, TSystemDef& s) { a.KANSA_LOCK = 1; s.JobLevel = 3; r.CTIME = r.HIZUKE; }, 2,
     "監査済みの仕訳は訂正できません。", "監査済みの仕訳が設定されました。"},
    {"audited date",
     [](TSWKREC&, TACCINF& a, TSystemDef& s) {
       a.KANSA_LOCK = 1; s.JobLevel = 3; a.KANSA_DATE = EncodeDate(2019, 12, 1); a.KANSA_FIXDATE = EncodeDate(2019, 11, 30);
     },
     3, "監査済みの日付は入力できません。", "日付に監査済みの日付が設定されました。"},
    {"individual cost", [](TSWKREC& r, TACCINF& a, TSystemDef&) { a.KobetuGenkaUse = 1; a.KobetuGenkaName = "工事"; r.SNUM = 5; }, 4,
     "工事コードが見つかりません。", "工事コードの設定が不正です。"},
    {"branch missing", [](TSWKREC&, TACCINF& a, TSystemDef&) { a.SITEN = 1; }, 5,
     "本・支店コードが不正です。データを選択し直してください。", "本・支店コードが不正です。"},
    {"facility missing", [](TSWKREC& r, TACCINF& a, TSystemDef&) { a.SITEN = 1; a.DATATYPE = 3; r.SCODE = " "; }, 5,
     "施設コードが不正です。データを選択し直してください。", "施設コードが不正です。"},
    {"debit account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "555"; }, 11,
     "借方の科目コードが見つかりません。", "借方の科目コードの設定が不正です。"},
    {"debit account too long", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "1000000"; }, 11,
     "借方の科目コードが見つかりません。", "借方の科目コードの設定が不正です。"},
    {"debit sub-account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "120"; }, 11,
     "借方の補助コードを入力してください。", "借方の補助コードの設定が不正です。"},
    {"debit department", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "611"; r.Debit.TAXCODE = 511; }, 11,
     "借方の部門コードが見つかりません。", "借方の部門コードの設定が不正です。"},
    {"debit tax code", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.TAXCODE = 999; }, 12,
     "借方の消費税コードを確認してください。", "借方の消費税コードの設定が不正です。"},
    {"debit tax account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "191"; r.Debit.TAXCODE = 511; }, 13, nullptr, nullptr},
    {"counter of a tax account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "191"; r.Debit.TAXCODE = 711; }, 14, nullptr, nullptr},
    {"sundry account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "999"; r.Debit.TAXCODE = 511; }, 15, nullptr, nullptr},
    {"specific purchase at 5 %",
     [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.KCODE = "611"; r.Debit.BCODE = "01"; r.Debit.TAXCODE = 551; r.OLDRATE = 2; }, 16,
     nullptr, nullptr},
    {"credit account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Credit.KCODE = "555"; }, 21,
     "貸方の科目コードが見つかりません。", "貸方の科目コードの設定が不正です。"},
    {"credit sub-account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Credit.KCODE = "120"; r.Credit.TAXCODE = 810; }, 21,
     "貸方の補助コードを入力してください。", "貸方の補助コードの設定が不正です。"},
    {"credit department", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Credit.KCODE = "611"; r.Credit.TAXCODE = 511; }, 21,
     "貸方の部門コードが見つかりません。", "貸方の部門コードの設定が不正です。"},
    {"credit tax code", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Credit.TAXCODE = 998; }, 22,
     "貸方の消費税コードを確認してください。", "貸方の消費税コードの設定が不正です。"},
    {"credit tax account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Credit.KCODE = "219"; r.Credit.TAXCODE = 711; }, 23, nullptr, nullptr},
    {"credit sundry account", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Credit.KCODE = "999"; }, 25, nullptr, nullptr},
    {"no amount", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.KINGAKU = Currency::FromRaw(5000); }, 31,
     "金額を入力してください。", "金額の設定が不正です。（０円 または null）"},
    {"negative amount", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.KINGAKU = -1; }, 31,
     "マイナス金額は入力できません。", "金額にマイナス値が設定されました。"},
    {"too many digits", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.KINGAKU = Currency::FromYen(10000000000LL); }, 31,
     "金額桁数がオーバーしています。", "金額の設定が不正です。（桁数オーバー）"},
    {"approved", [](TSWKREC& r, TACCINF&, TSystemDef&) { r.SHONIN_HIZUKE = r.HIZUKE; }, 40,
     "承認済みの仕訳は訂正できません。", "承認済みの仕訳が設定されました。"},
    {"different rates",
     [](TSWKREC& r, TACCINF&, TSystemDef&) { r.Debit.RIT = 10; r.Credit.RIT = 8; r.Credit.SideRateNo = 4; }, 41,
     "借方と貸方の消費税率が違います。", "借方と貸方の消費税率が違います。"},
};

TEST_F(SiwakeWriteTest, EachCheckRefusesWithItsCodeAndWording) {
  const TACCINF acc = AccInf;
  const TSystemDef sys = SystemDef;
  for (const TCheckCase& c : kCases) {
    for (std::uint8_t mode : {0, 1}) {
      SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode));
      AccInf = acc;
      SystemDef = sys;
      writer_.MessageMode = mode;
      TSWKREC r = Sale();
      c.change(r, AccInf, SystemDef);
      std::int32_t code = 0;
      std::string msg;
      EXPECT_FALSE(writer_.TestSiwake(r, code, msg));
      EXPECT_EQ(code, c.code);
      if (c.hand)
        EXPECT_EQ(msg, mode == 0 ? c.hand : c.imported);
      else
        EXPECT_FALSE(msg.empty());
    }
  }
  AccInf = acc;
  SystemDef = sys;
}

TEST_F(SiwakeWriteTest, AmountLimitsAndSettlementPeriod) {
  for (auto [amount, ok] : {std::pair{Currency(1), true}, std::pair{Currency::FromYen(9999999999LL), true}}) {
    TSWKREC r = Sale();
    r.KINGAKU = amount;
    std::int32_t code = 0;
    std::string msg;
    EXPECT_EQ(writer_.TestSiwake(r, code, msg), ok) << msg;
  }
  TSWKREC r = Sale();
  r.KESSAN = 1;
  r.HIZUKE = AccInf.KIMATU;
  std::int32_t code = 0;
  std::string msg;
  ASSERT_TRUE(writer_.TestSiwake(r, code, msg)) << msg;
  EXPECT_EQ(r.MNUM, 16);
}

TEST_F(SiwakeWriteTest, InsertCorrectDeleteRestoreAndRead) {
  const std::string dat = DataFile(1);
  TSWKREC r = Sale();
  const std::int32_t rec = Insert(r);
  ASSERT_GT(rec, 0);
  EXPECT_EQ(r.REC, rec);
  EXPECT_EQ(r.SWKNO, r.SWKREC);
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());   // the automatic transaction was committed
  EXPECT_EQ(writer_.AutoCommit, 0);
  const std::string swk = std::to_string(r.SWKREC);
  EXPECT_EQ(QueryOn(dat, "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=0 AND SWKREC=" + swk), "2");
  EXPECT_EQ(QueryOn(dat, "SELECT KCODE||'/'||R_KCODE||'/'||CAST(NUK AS INTEGER)||'/'||CAST(ZEI AS INTEGER) FROM SIWAKE WHERE TAISHAKU=2 AND SWKREC=" + swk),
            "4110/1110/1000/100");

  TSWKREC read;
  writer_.AutoCommit = 1;
  writer_.GetSiwake(read, rec, false);
  EXPECT_EQ(read.Debit.KCODE, "100");
  EXPECT_EQ(read.Credit.KCODE, "411");
  EXPECT_EQ(read.KINGAKU, Currency(1100));
  EXPECT_EQ(read.Credit.ZEI, Currency(100));
  EXPECT_EQ(read.Debit.SideRateNo, read.OLDRATE);

  // Correction: the old rows stay as history (DELFLG 2), the entry keeps its numbers.
  read.KINGAKU = 2200;
  std::int32_t code = 0;
  std::string msg;
  ASSERT_TRUE(writer_.TestSiwake(read, code, msg)) << msg;
  CalcSiwakeRecTax(read);
  writer_.AutoCommit = 1;
  EXPECT_EQ(writer_.PutSiwake(read), 0);
  EXPECT_NE(read.REC, rec);
  EXPECT_EQ(read.SWKREC, r.SWKREC);
  EXPECT_EQ(QueryOn(dat, "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=2 AND SWKREC=" + swk), "2");
  EXPECT_EQ(QueryOn(dat, "SELECT CAST(KINGAKU AS INTEGER) FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND SWKREC=" + swk), "2200");

  // A correction of the replaced row is refused with the live row's REC.
  TSWKREC stale;
  writer_.GetSiwake(stale, rec, true);
  writer_.AutoCommit = 1;
  EXPECT_EQ(writer_.PutSiwake(stale), -2);
  EXPECT_EQ(stale.REC, read.REC);

  writer_.AutoCommit = 1;
  EXPECT_EQ(writer_.DeleteSiwake(r.SWKREC), 1);
  writer_.AutoCommit = 1;
  EXPECT_EQ(writer_.DeleteSiwake(r.SWKREC), 0);
  EXPECT_EQ(QueryOn(dat, "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=1 AND SWKREC=" + swk), "2");

  // Undeleted behind the day's other live entries.
  TSWKREC other = Sale();
  Insert(other);
  writer_.AutoCommit = 1;
  EXPECT_TRUE(writer_.RestoreSiwake(r.SWKREC));
  EXPECT_EQ(QueryOn(dat, "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=1 AND SWKREC=" + swk), "0");
  EXPECT_EQ(QueryOn(dat, "SELECT SDAYNUM FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND SWKREC=" + swk),
            std::to_string(other.SDAYNUM + 1));
}

TEST_F(SiwakeWriteTest, ReadsThePastYears) {
  ExecOn(DataFile(1),
         "INSERT INTO KAKOSIWAKE1 (REC, SWKREC, TAISHAKU, HIZUKE, KCODE, R_KCODE, KINGAKU, OLDRATE, TEKTEXT)"
         " VALUES (900, 900, 1, '2018-05-01', '1110', '4110', 770, 3, '前期')");
  writer_.PastYear = 1;
  TSWKREC r;
  writer_.GetSiwake(r, 900, false);
  EXPECT_EQ(r.TEKTEXT, "前期");
  EXPECT_EQ(r.Debit.KCODE, "100");
  EXPECT_EQ(r.KINGAKU, Currency(770));
  EXPECT_EQ(r.Credit.SideRateNo, 3);
  writer_.PastYear = 2;
  writer_.GetSiwake(r, 900, false);
  EXPECT_EQ(r.REC, 0);   // not in the year before last: the record stays empty
}

TEST_F(SiwakeWriteTest, CorrectionWaitsForAnotherWritersLock) {
  TSWKREC r = Sale();
  Insert(r);
  // Another connection holds the entry's rows.
  TIBDatabase db;
  db.DatabaseName = DataFile(1);
  db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
  db.Open();
  TIBTransaction tr;
  tr.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  tr.SetDefaultDatabase(&db);
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  tr.StartTransaction();
  SetSql(q, "UPDATE SIWAKE SET FUSEN1=1 WHERE SWKREC=" + std::to_string(r.SWKREC));
  q.ExecQuery();
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    tr.Rollback();
  });
  r.KINGAKU = 3300;
  CalcSiwakeRecTax(r);
  writer_.AutoCommit = 1;
  const auto start = std::chrono::steady_clock::now();
  const std::int32_t result = writer_.PutSiwake(r);
  const auto waited = std::chrono::steady_clock::now() - start;
  release.join();
  db.Close();
  EXPECT_EQ(result, 0);
  EXPECT_GE(waited, std::chrono::milliseconds(500));
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT CAST(KINGAKU AS INTEGER) FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND SWKREC=" +
                                     std::to_string(r.SWKREC)),
            "3300");
}

}  // namespace
