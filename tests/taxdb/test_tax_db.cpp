// The readers of the computation against real Firebird data sets built by
// the installation builder: the journal aggregation, the refund-statement
// inputs and classification, the special-measure tables and the old-rate
// import check. Expected figures are worked out by hand in the comments.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "fixture/builder.h"
#include "platform/fb/ibx.h"
#include "tax/aggregate.h"
#include "tax/correction.h"
#include "tax/kanpu.h"
#include "tax/taxtestutil.h"
#include "tax/tokurei.h"
#include "taxdb/readers.h"
#include "taxdb/taxdb.h"

using namespace taxtest;

namespace {

// Fiscal year 2019-10-01 .. 2020-09-30; the tests aggregate 2019-10-01 .. 2019-12-31.
const char* kDescription = R"(
[installation]
product-version = 11.1.0
connect = 0

[operators]
OPCODE, OPNAME, PASWORD, JOBLEVEL
10,     担当,   test10,  9

[dataset]
label = corporation

[company]
SHOUGOU  = 株式会社税計算
DATATYPE = 1
KISHU    = 2019-10-01
TAXKANNI = 0

[accounts]
KCODE, KNAME,      GROUPM0, TAX_LCODE, TAX_RCODE
1110,  現金,        1110,    810,       810
1210,  売掛金,      1210,    810,       810
1510,  器具備品,    1520,    511,       810
2110,  買掛金,      2110,    810,       810
1910,  仮払消費税,  1910,    711,       711
2190,  仮受消費税,  2190,    610,       610
4110,  売上高,      4110,    310,       110
5210,  仕入高,      5210,    511,       561
6120,  消耗品費,    6120,    511,       561

[journal]
SWKREC, HIZUKE,     TAISHAKU, KCODE, TAXCODE, KINGAKU, OLDRATE, DELFLG
1,      2019-10-05, 1,        1210,  ,        11000,   ,        
1,      2019-10-05, 2,        4110,  ,        11000,   ,        
2,      2019-10-10, 1,        1210,  ,        5400,    4,       
2,      2019-10-10, 2,        4110,  ,        5400,    4,       
3,      2019-10-20, 1,        5210,  ,        3300,    ,        
3,      2019-10-20, 2,        2110,  ,        3300,    ,        
4,      2019-11-05, 1,        4110,  ,        1100,    ,        
4,      2019-11-05, 2,        1210,  ,        1100,    ,        
5,      2019-11-10, 1,        1210,  ,        99000,   ,        1
5,      2019-11-10, 2,        4110,  ,        99000,   ,        1
6,      2020-01-15, 1,        1210,  ,        22000,   ,        
6,      2020-01-15, 2,        4110,  ,        22000,   ,        
7,      2019-11-20, 1,        5210,  521,     5250,    2,       
7,      2019-11-20, 2,        2110,  ,        5250,    2,       
8,      2019-12-01, 1,        6120,  540,     2000,    ,        
8,      2019-12-01, 2,        1110,  ,        2000,    ,        
9,      2019-12-05, 1,        1510,  ,        330000,  ,        
9,      2019-12-05, 2,        1110,  ,        330000,  ,        
10,     2019-12-10, 1,        1910,  721,     800,     ,        
10,     2019-12-10, 2,        1110,  ,        800,     ,        
11,     2019-12-12, 1,        2110,  ,        1100,    ,        
11,     2019-12-12, 2,        5210,  ,        1100,    ,        

[table KANPU_SINKOKU]
REC, ZEIKBN, KANPURIYUU01, KANPURIYUU02, SIIREKIN_ZEIGAKU, TOKUSYUJIJYOTEXT01
1,   1,      1,            1,            5000,             設備投資

[table KANPU_SINKOKU_TORIHIKI]
REC, ROWNO, SYURUI, KINGAKU, SIMEI
10,  1,     商品1,   1000,    相手1
10,  2,     商品2,   1000,    相手2
10,  3,     商品3,   1000,    相手3
10,  4,     商品4,   1000,    相手4
10,  5,     商品5,   1000,    相手5
10,  6,     商品6,   1000,    相手6
10,  7,     商品7,   1000,    相手7
10,  8,     商品8,   1000,    相手8
10,  9,     商品9,   1000,    相手9
10,  10,    商品10,  1000,    相手10
10,  11,    商品11,  1000,    相手11
40,  1,     器具備品, 300000,  株式会社機器

[table KANPU_SINKOKU_SIIREKIN]
REC, ROWNO, KESSANKIN, NOTKAZEISIIREKIN, KAZEISIIREKIN
10,  1,     100000,    10000,            90000
10,  2,     50000,     0,                50000

[table TAX_TOKUREI_URIAGE_COMMON]
FKEISANHYOU, FGOKEI_K8, FGOKEI_10
1,           100,       200

[table TAX_TOKUREI_URIAGE_10EIGYOUBI]
FREC, FJIGYOUNAME, FWARIAI50, FKOMOKU010, FKOMOKU030, FKOMOKU040
1,    小売,         1,         10800,      0,          0
2,    飲食,         0,         10800,      3,          2

[table TAX_TOKUREI_SIIRE_COMMON]
FKEISANHYOU, FKOMOKU020_10, FKOMOKU030_10
1,           11000,         10000

[dataset]
label = individual

[company]
SHOUGOU  = 個人事業
DATATYPE = 2
CODETYPE = 1
KISHU    = 2019-10-01
TAXKANNI = 0

[accounts]
KCODE, KNAME,      GROUPM0, TAX_LCODE, TAX_RCODE
1110,  現金,        1110,    810,       810
1510,  器具備品,    1520,    511,       810
2110,  買掛金,      2110,    810,       810
1910,  仮払消費税,  1910,    711,       711
2190,  仮受消費税,  2190,    610,       610
5210,  仕入高,      5210,    511,       561
6120,  消耗品費,    6120,    511,       561

[journal]
SWKREC, HIZUKE,     TAISHAKU, KCODE, TAXCODE, KINGAKU, OLDRATE, DELFLG
1,      2019-10-20, 1,        5210,  ,        3300,    ,        
1,      2019-10-20, 2,        2110,  ,        3300,    ,        
2,      2019-10-21, 1,        6120,  ,        1100,    ,        
2,      2019-10-21, 2,        1110,  ,        1100,    ,        
3,      2019-10-22, 1,        1510,  ,        55000,   ,        
3,      2019-10-22, 2,        1110,  ,        55000,   ,        
4,      2019-11-01, 1,        2110,  ,        5250,    2,       
4,      2019-11-01, 2,        5210,  521,     5250,    2,       
5,      2019-11-02, 1,        5210,  521,     5400,    3,       
5,      2019-11-02, 2,        2110,  ,        5400,    3,       
6,      2019-11-03, 1,        5210,  511,     5250,    2,       
6,      2019-11-03, 2,        2110,  ,        5250,    2,       
7,      2019-11-04, 1,        5210,  521,     5250,    2,       1
7,      2019-11-04, 2,        2110,  ,        5250,    2,       1
8,      2020-01-15, 1,        5210,  521,     5250,    2,       
8,      2020-01-15, 2,        2110,  ,        5250,    2,       
)";

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tax-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    chmod(path_.c_str(), 0777);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string Sub(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The data set's database with its two transactions, handed to the computation.
struct Connection {
  TIBDatabase db;
  TIBTransaction tr;
  TIBTransaction ss;
  TTaxDataConnection data{&db, &tr, &ss};
  explicit Connection(const std::string& name) {
    db.DatabaseName = name;
    db.Params.Add("user_name=VFNZFR");
    db.Params.Add("lc_ctype=SJIS_0208");
    tr.SetDefaultDatabase(&db);
    tr.Params.Add("read_committed");
    tr.Params.Add("rec_version");
    tr.Params.Add("nowait");
    ss.SetDefaultDatabase(&db);
    ss.Params.Add("concurrency");
    ss.Params.Add("nowait");
    db.Open();
  }
  ~Connection() {
    if (tr.InTransaction()) tr.Rollback();
    if (ss.InTransaction()) ss.Rollback();
    db.Close();
  }
};

class TaxDbTest : public ::testing::Test {
 protected:
  TTaxRun run;
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    const fixture::InstallationDesc desc = fixture::ParseDescription(kDescription, "tax test", "");
    inst_ = new fixture::Installation(fixture::BuildInstallation(desc, folder_->Sub("inst")));
  }
  static void TearDownTestSuite() {
    delete inst_;
    delete folder_;
  }

  // Connects data set `index` and sets the company settings of its kind.
  void Open(int index, int dataType) {
    conn_ = std::make_unique<Connection>(inst_->dataSets.at(static_cast<std::size_t>(index)).database);
    TTaxCompanyInfo info;
    info.DataType = dataType;
    info.CodeType = 1;
    info.Kishu = EncodeDate(2019, 10, 1);
    info.Kimatu = EncodeDate(2020, 9, 30);
    info.KariukeKCode = "2190";
    info.KaribaraiKCode = "1910";
    info.VerMajor = 11;
    info.VerMinor1 = 1;
    SetTaxCompanyInfo(info);
    StartPass(run, 0);
    run.TaxPar.KikanTo = EncodeDate(2019, 12, 31);
  }
  void TearDown() override { conn_.reset(); }

  static Currency Cat(const TaxBlock& b, int slot, int code) {
    return b[static_cast<std::size_t>(slot)][static_cast<std::size_t>(TaxCodeToCategory(code))];
  }

  static TempFolder* folder_;
  static fixture::Installation* inst_;
  std::unique_ptr<Connection> conn_;
};
TempFolder* TaxDbTest::folder_ = nullptr;
fixture::Installation* TaxDbTest::inst_ = nullptr;

TEST_F(TaxDbTest, AggregationOfBothSidesInThePeriod) {
  Open(0, kCompanyCorporation);
  AggregateJournal(conn_->data, run);
  EXPECT_FALSE(conn_->ss.InTransaction());  // started and committed by the aggregation

  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 110), Yen(11000));   // credit sale; the deleted and later ones left out
  EXPECT_EQ(Cat(run.TaxPar.Komi, 3, 110), Yen(5400));    // reduced rate
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 310), Yen(1100));    // sales return on the debit side
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 511), Yen(333300));  // goods and the fixed asset
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 561), Yen(1100));    // purchase return on the credit side
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 540), Yen(2000));
  EXPECT_EQ(Cat(run.TaxPar.Komi, 1, 521), Yen(5250));    // old-rate import at 5 %: slot 1
  EXPECT_EQ(Cat(run.TaxPar.Zei, 4, 721), Yen(800));      // import tax on the suspense account
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 810), Yen(0));       // lines without tax are never read
  EXPECT_EQ(run.TaxPar.ImportCodesUsed, 1);

  // A transaction the caller holds stays open.
  conn_->ss.StartTransaction();
  AggregateJournal(conn_->data, run);
  EXPECT_TRUE(conn_->ss.InTransaction());
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 110), Yen(11000));  // summed afresh, not doubled
}

TEST_F(TaxDbTest, FacilityRestrictsTheJournal) {
  Open(0, kCompanyCorporation);
  run.TaxPar.SCode = "X9";
  AggregateJournal(conn_->data, run);
  EXPECT_EQ(Cat(run.TaxPar.Komi, 4, 110), Yen(0));
}

TEST_F(TaxDbTest, RefundStatementOfACorporation) {
  Open(0, kCompanyCorporation);
  AggregateJournal(conn_->data, run);
  // Journal tables, tax-inclusive statements.
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[0].Kessan, Yen(7450));  // 3,300 + 5,250 - 1,100
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].Kessan, Yen(2000));
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[1].NotKazei, Yen(2000));
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[0].Kessan, Yen(330000));
  // Entered inputs: ten of the eleven rows of section 10, the next section still read.
  EXPECT_EQ(run.KanpuHojin.KanpuRiyuu02, 1);
  EXPECT_EQ(run.KanpuHojin.ZeiKbn, 1);
  EXPECT_EQ(run.KanpuHojin.TokusyuJijyoText[0], "設備投資");
  EXPECT_EQ(run.KanpuHojin.SyuyouSisan[9].Simei, "相手10");
  EXPECT_EQ(run.KanpuHojin.KoteiSisan[0].Kingaku, Yen(300000));
  EXPECT_EQ(run.KanpuHojin.InputSiireSoneki.Total().Kessan, Yen(150000));
  EXPECT_EQ(run.KanpuHojin.InputSiireSoneki.Total().Kazei, Yen(140000));

  // The principle pass folds into thousands and sets the purchase tax:
  // 333,300 x 7.8/110 = 23,634 less 78 on the return, import tax 200 + 624.
  CorrectMixedTaxCodes(run, false);
  EXPECT_EQ(run.KanpuHojin.SiireSoneki.Row[0].Kessan, Yen(7));
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[0].Kessan, Yen(330));
  EXPECT_EQ(run.KanpuHojin.SiireSisan.Row[0].Kazei, Yen(330));
  EXPECT_EQ(run.KanpuHojin.SiireZeigaku, Yen(24));  // 24,380 yen
  EXPECT_EQ(run.KanpuHojin.InputSiireZeigaku, Yen(24));
}

TEST_F(TaxDbTest, RefundStatementOfAnIndividual) {
  Open(1, kCompanyIndividual);
  AggregateJournal(conn_->data, run);
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[0].Kessan, Yen(8700));  // 3,300 - 5,250 + 5,400 + 5,250
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[1].Kessan, Yen(1100));
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[2].Kessan, Yen(55000));
  EXPECT_EQ(Cat(run.TaxPar.Komi, 1, 521), Yen(-5250));  // the credit side subtracts
  EXPECT_EQ(Cat(run.TaxPar.Komi, 2, 521), Yen(5400));
  CorrectMixedTaxCodes(run, false);
  EXPECT_EQ(run.KanpuKojin.SiireJigyou.Row[0].Kazei, Yen(8700));
  EXPECT_EQ(run.KanpuKojin.KazeiTotal, Yen(64800));
}

TEST_F(TaxDbTest, SpecialMeasureTables) {
  Open(0, kCompanyCorporation);
  ASSERT_TRUE(LoadSpecialMeasureTables(conn_->data, run));
  EXPECT_FALSE(conn_->tr.InTransaction());
  ASSERT_EQ(run.TokureiUriage010.JigyoList.size(), 2u);
  EXPECT_EQ(run.TokureiUriage010.JigyoList[0].NukiK8, Yen(5000));
  EXPECT_EQ(run.TokureiUriage010.JigyoList[0].Nuki10, Yen(4909));
  EXPECT_DOUBLE_EQ(run.TokureiUriage010.JigyoList[1].Wariai, 66.6);
  EXPECT_EQ(run.TokureiUriage010.TotalK8, Yen(11666));
  EXPECT_EQ(run.TokureiUriage010.GokeiK8, Yen(100));
  EXPECT_TRUE(run.TokureiUriage020.JigyoList.empty());
  EXPECT_EQ(run.TokureiSiire010.SiireItems[kSiireItem020Kokuzei].R10, Yen(780));
  EXPECT_EQ(run.TokureiSiire010.SiireItems[kSiireItem030Kokuzei].R10, Yen(780));
  EXPECT_EQ(run.TokureiSiire010.SiireItems[kSiireItemSum].R10, Yen(1560));
}

TEST_F(TaxDbTest, OldRateImportCheck) {
  Open(0, kCompanyCorporation);
  EXPECT_TRUE(HasOldRateImportJournals(conn_->data, 4, run.TaxPar));
  EXPECT_FALSE(conn_->tr.InTransaction());
  EXPECT_FALSE(HasOldRateImportJournals(conn_->data, 3, run.TaxPar));
  TTAXPAR before = run.TaxPar;
  before.KikanTo = EncodeDate(2019, 11, 19);
  EXPECT_FALSE(HasOldRateImportJournals(conn_->data, 4, before));

  // A transaction the caller holds is left open.
  conn_->tr.StartTransaction();
  EXPECT_TRUE(HasOldRateImportJournals(conn_->data, 4, run.TaxPar));
  EXPECT_TRUE(conn_->tr.InTransaction());
}

TEST_F(TaxDbTest, OldRateCheckIgnoresCreditNewRateOtherCodesDeletedAndLaterLines) {
  Open(1, kCompanyIndividual);
  EXPECT_FALSE(HasOldRateImportJournals(conn_->data, 4, run.TaxPar));
  TTAXPAR later = run.TaxPar;
  later.KikanTo = EncodeDate(2020, 1, 31);  // the debit line of 2020-01-15 is inside now
  EXPECT_TRUE(HasOldRateImportJournals(conn_->data, 4, later));
}

// The journal read notes the lines that the old-rate import check counts, so
// the link builder can take the note instead of a count of its own: for both
// data sets and periods that leave the old-rate lines out or take them in,
// the note and the count agree. A facility restricts the read, not the count.
TEST_F(TaxDbTest, JournalReadNotesWhatTheOldRateCheckCounts) {
  for (int index : {0, 1}) {
    Open(index, index == 0 ? kCompanyCorporation : kCompanyIndividual);
    for (TDateTime end : {EncodeDate(2019, 11, 19), EncodeDate(2019, 12, 31), EncodeDate(2020, 1, 31)}) {
      run.TaxPar.KikanTo = end;
      AggregateJournal(conn_->data, run);
      EXPECT_EQ(run.TaxPar.OldRateImportsRead, HasOldRateImportJournals(conn_->data, 4, run.TaxPar))
          << "data set " << index << ", period end " << FormatDateTime("yyyy/mm/dd", end);
    }
    conn_.reset();
  }
  Open(0, kCompanyCorporation);
  run.TaxPar.SCode = "X9";
  AggregateJournal(conn_->data, run);
  EXPECT_FALSE(run.TaxPar.OldRateImportsRead);
  EXPECT_TRUE(HasOldRateImportJournals(conn_->data, 4, run.TaxPar));
}

}  // namespace
