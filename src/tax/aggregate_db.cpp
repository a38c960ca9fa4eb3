// The journal read of the aggregation: one forward-only pass over the
// period's journal lines on the snapshot transaction.
#include <chrono>

#include "platform/rtl/sysutils.h"
#include "tax/aggregate.h"
#include "tax/refund.h"
#include "tax/taxcontext.h"
#include "tax/taxdb.h"
#include "tax/tokurei.h"

namespace {

// Lets the window process its messages between rows, at most every few
// milliseconds, and never from inside a pump.
class TMessagePump {
 public:
  void Row() {
    if (!TaxHooks.ProcessMessages || pumping_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(5)) return;
    pumping_ = true;
    try {
      TaxHooks.ProcessMessages();
    } catch (...) {
      pumping_ = false;
      throw;
    }
    pumping_ = false;
    last_ = std::chrono::steady_clock::now();
  }

 private:
  std::chrono::steady_clock::time_point last_{};
  bool pumping_ = false;
};

bool aggregating = false;

struct TRunningFlag {
  TRunningFlag() {
    if (aggregating) throw Exception("消費税の集計を実行中です。");
    aggregating = true;
  }
  ~TRunningFlag() { aggregating = false; }
};

}  // namespace

void AggregateJournal() {
  TRunningFlag running;
  BeginJournalAggregation();

  TTransactionGuard transaction(*TaxSnapshotTransaction());
  transaction.Begin();
  LoadRefundStatementInputs();
  LoadSpecialMeasureTables();

  auto sql = NewTaxStatement(
      TaxSnapshotTransaction(),
      {"SELECT S.HIZUKE,S.TAISHAKU,S.KCODE,S.TAXCODE,S.TAXDC,S.NUK,S.ZEI,S.RIT,S.AUTCALCU,S.ZEIRITUNO,S.R_KCODE,KM.GROUPM0,KM.BLDAC,KM.DAC,S2.LINKKUB,S.OLDRATE",
       "FROM SIWAKE S", "INNER JOIN KAMOKUMST KM ON (S.KCODE=KM.KCODE)", "INNER JOIN SIWAKE2   S2 ON (S.REC=S2.REC)",
       "WHERE (S.DELFLG=0) AND (S.TAXDC<>0)", "AND (S.HIZUKE>=:DT1) AND (S.HIZUKE<=:DT2)"});
  const bool byFacility = !Trim(TaxPar.SCode).empty();
  if (byFacility) sql->SQL.Add("AND (S.SCODE=:SCODE)");
  sql->ParamByName("DT1").AsDateTime(TaxPar.KikanFrom);
  sql->ParamByName("DT2").AsDateTime(TaxPar.KikanTo);
  if (byFacility) sql->ParamByName("SCODE").AsString(TaxPar.SCode);

  TMessagePump pump;
  TTaxJournalRow row;
  sql->ExecQuery();
  while (!sql->Eof()) {
    row.Hizuke = sql->FieldByName("HIZUKE").AsDateTime();
    row.Taishaku = sql->FieldByName("TAISHAKU").AsInteger();
    row.KCode = sql->FieldByName("KCODE").AsTrimString();
    row.TaxCode = sql->FieldByName("TAXCODE").AsInteger();
    row.TaxDC = sql->FieldByName("TAXDC").AsInteger();
    row.Nuk = sql->FieldByName("NUK").AsCurrency();
    row.Zei = sql->FieldByName("ZEI").AsCurrency();
    row.Rit = sql->FieldByName("RIT").AsCurrency();
    row.AutCalcu = sql->FieldByName("AUTCALCU").AsInteger();
    row.RKCode = sql->FieldByName("R_KCODE").AsTrimString();
    row.GroupM0 = sql->FieldByName("GROUPM0").AsTrimString();
    row.Dac = sql->FieldByName("DAC").AsInteger();
    row.LinkKub = sql->FieldByName("LINKKUB").AsInteger();
    row.OldRate = sql->FieldByName("OLDRATE").AsInteger();
    AccumulateJournalRow(row);
    sql->Next();
    pump.Row();
  }
  sql->Close();
  transaction.Commit();
}
