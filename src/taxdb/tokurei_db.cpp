// Reading the special-measure tables of the data set.
#include <string>
#include <utility>

#include "tax/tokurei.h"
#include "taxdb/readers.h"
#include "taxdb/taxdb.h"

namespace {

template <typename Header>
void LoadSalesHeader(const TTaxDataConnection& data, TIBTransaction* tr, Header& rec, const char* where) {
  auto q = NewTaxStatement(data, tr, {"SELECT FTAISYOUKIKAN_START,FTAISYOUKIKAN_END,FGOKEI_K8,FGOKEI_10,FKOMOKU010_K8,FKOMOKU010_10",
                                "FROM TAX_TOKUREI_URIAGE_COMMON", where});
  // Every matching row in turn; the last one read stays.
  for (q->ExecQuery(); !q->Eof(); q->Next()) {
    rec.TaisyouKikanStart = q->FieldByName("FTAISYOUKIKAN_START").AsDateTime();
    rec.TaisyouKikanEnd = q->FieldByName("FTAISYOUKIKAN_END").AsDateTime();
    rec.GokeiK8 = q->FieldByName("FGOKEI_K8").AsCurrency();
    rec.Gokei10 = q->FieldByName("FGOKEI_10").AsCurrency();
    rec.Komoku010K8 = q->FieldByName("FKOMOKU010_K8").AsCurrency();
    rec.Komoku010_10 = q->FieldByName("FKOMOKU010_10").AsCurrency();
  }
  q->Close();
}

// Business rows are appended as they are read, so a list never depends on a
// separate count of the rows.
void LoadUriage010(const TTaxDataConnection& data, TIBTransaction* tr, TTaxRun& run) {
  run.TokureiUriage010 = TTokureiKeisan_Uriage010_R011001{};
  LoadSalesHeader(data, tr, run.TokureiUriage010, "WHERE (FKEISANHYOU=1)");
  auto q = NewTaxStatement(data, tr, {"SELECT FJIGYOUNAME,FWARIAI50,FKOMOKU010,FKOMOKU020,FKOMOKU021,FKOMOKU030,FKOMOKU040",
                                "FROM TAX_TOKUREI_URIAGE_10EIGYOUBI", "ORDER BY FREC"});
  for (q->ExecQuery(); !q->Eof(); q->Next()) {
    TTokureiKeisan_Uriage010_JigyoRec_R011001 row;
    row.JigyouName = q->FieldByName("FJIGYOUNAME").AsString();
    row.Wariai50 = q->FieldByName("FWARIAI50").AsInteger();
    row.Komoku010 = q->FieldByName("FKOMOKU010").AsCurrency();
    row.Komoku020 = q->FieldByName("FKOMOKU020").AsDateTime();
    row.Komoku021 = q->FieldByName("FKOMOKU021").AsDateTime();
    row.Komoku030 = q->FieldByName("FKOMOKU030").AsCurrency();
    row.Komoku040 = q->FieldByName("FKOMOKU040").AsCurrency();
    AddUriage010Row(run.TaxPar.Era, run.TokureiUriage010, std::move(row));
  }
  q->Close();
}

void LoadUriage020(const TTaxDataConnection& data, TIBTransaction* tr, TTaxRun& run) {
  run.TokureiUriage020 = TTokureiKeisan_Uriage020_R011001{};
  LoadSalesHeader(data, tr, run.TokureiUriage020, "WHERE (FKEISANHYOU=2)");
  auto q = NewTaxStatement(data, tr, {"SELECT FJIGYOUNAME,FWARIAI50,FKOMOKU010,FKOMOKU020,FKOMOKU030,FKOMOKU040,FKOMOKU050",
                                "FROM TAX_TOKUREI_URIAGE_SIIREWARIAI", "ORDER BY FREC"});
  for (q->ExecQuery(); !q->Eof(); q->Next()) {
    TTokureiKeisan_Uriage020_JigyoRec_R011001 row;
    row.JigyouName = q->FieldByName("FJIGYOUNAME").AsString();
    row.Wariai50 = q->FieldByName("FWARIAI50").AsInteger();
    row.Komoku010 = q->FieldByName("FKOMOKU010").AsCurrency();
    row.Komoku020 = q->FieldByName("FKOMOKU020").AsCurrency();
    row.Komoku030 = q->FieldByName("FKOMOKU030").AsCurrency();
    row.Komoku040 = q->FieldByName("FKOMOKU040").AsCurrency();
    row.Komoku050 = q->FieldByName("FKOMOKU050").AsCurrency();
    AddUriage020Row(run.TaxPar.Era, run.TokureiUriage020, std::move(row));
  }
  q->Close();
}

void LoadSiire010(const TTaxDataConnection& data, TIBTransaction* tr, TTaxRun& run) {
  run.TokureiSiire010 = TTokureiKeisan_Siire010_R011001{};
  auto common = NewTaxStatement(
      data, tr, {"SELECT FTAISYOUKIKAN_START,FTAISYOUKIKAN_END,FGOKEI_K8,FGOKEI_10,FKOMOKU010_K8,FKOMOKU010_10,",
           "FKOMOKU020_K8,FKOMOKU020_10,FKOMOKU030_K8,FKOMOKU030_10,FKOMOKU040_K8,FKOMOKU040_10,FKOMOKU050_K8,FKOMOKU050_10",
           "FROM TAX_TOKUREI_SIIRE_COMMON", "WHERE (FKEISANHYOU=1)"});
  for (common->ExecQuery(); !common->Eof(); common->Next()) {
    TTokureiSiireCommonRow row;
    row.Start = common->FieldByName("FTAISYOUKIKAN_START").AsDateTime();
    row.End = common->FieldByName("FTAISYOUKIKAN_END").AsDateTime();
    row.Gokei.K8 = common->FieldByName("FGOKEI_K8").AsCurrency();
    row.Gokei.R10 = common->FieldByName("FGOKEI_10").AsCurrency();
    const char* items[] = {"010", "020", "030", "040", "050"};
    for (std::size_t i = 0; i < 5; ++i) {
      row.Komoku[i].K8 = common->FieldByName(std::string("FKOMOKU") + items[i] + "_K8").AsCurrency();
      row.Komoku[i].R10 = common->FieldByName(std::string("FKOMOKU") + items[i] + "_10").AsCurrency();
    }
    ApplySiireCommonRow(run.TaxPar.Era, run.TokureiSiire010, row);
  }
  common->Close();

  auto q = NewTaxStatement(data, tr, {"SELECT FJIGYOUNAME,FWARIAI50,FKOMOKU010,FKOMOKU020,FKOMOKU030,FKOMOKU040",
                                "FROM TAX_TOKUREI_SIIRE_URIAGEWARIAI", "ORDER BY FREC"});
  for (q->ExecQuery(); !q->Eof(); q->Next()) {
    TTokureiKeisan_Siire010_JigyoRec_R011001 row;
    row.JigyouName = q->FieldByName("FJIGYOUNAME").AsString();
    row.Wariai50 = q->FieldByName("FWARIAI50").AsInteger();
    row.Komoku010 = q->FieldByName("FKOMOKU010").AsCurrency();
    row.Komoku020 = q->FieldByName("FKOMOKU020").AsCurrency();
    row.Komoku030 = q->FieldByName("FKOMOKU030").AsCurrency();
    row.Komoku040 = q->FieldByName("FKOMOKU040").AsCurrency();
    AddSiire010Row(run.TaxPar.Era, run.TokureiSiire010, std::move(row));
  }
  q->Close();
}

}  // namespace

bool LoadSpecialMeasureTables(const TTaxDataConnection& data, TTaxRun& run) {
  TIBTransaction* tr = TaxTransaction(data);
  TTransactionGuard transaction(*tr);
  transaction.Begin();
  LoadUriage010(data, tr, run);
  LoadUriage020(data, tr, run);
  LoadSiire010(data, tr, run);
  transaction.Commit();
  return true;
}
