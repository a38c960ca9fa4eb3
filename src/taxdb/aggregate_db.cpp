// The journal read of the aggregation: one forward-only pass over the
// period's journal lines on the snapshot transaction.
#include <chrono>

#include "platform/rtl/sysutils.h"
#include "tax/aggregate.h"
#include "tax/oldrate.h"
#include "tax/refund.h"
#include "tax/taxcontext.h"
#include "tax/tokurei.h"
#include "taxdb/readers.h"
#include "taxdb/taxdb.h"

namespace {

// Lets the window process its messages between rows, on a clock: the clock
// is read every few dozen rows and the messages are pumped when a few
// milliseconds have passed since the last pump; never from inside a pump.
class TMessagePump {
 public:
  void Row() {
    if (++rows_ < kRowsPerLook) return;
    rows_ = 0;
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
  static constexpr int kRowsPerLook = 64;
  int rows_ = 0;
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

std::string JournalReadStatement(bool byFacility) {
  // Besides the lines it aggregates (TAXDC not 0, with their account and
  // their link row) the read takes the lines that the old-rate import check
  // counts, whatever their other columns; KM_KCODE and S2_REC tell whether
  // the account and the link row were found.
  std::string text =
      "SELECT S.HIZUKE,S.TAISHAKU,S.KCODE,S.TAXCODE,S.TAXDC,S.NUK,S.ZEI,S.RIT,S.AUTCALCU,S.ZEIRITUNO,S.R_KCODE,"
      "KM.GROUPM0,KM.BLDAC,KM.DAC,S2.LINKKUB,S.OLDRATE,\n"
      "KM.KCODE AS KM_KCODE,S2.REC AS S2_REC\n"
      "FROM SIWAKE S\n"
      "LEFT JOIN KAMOKUMST KM ON (S.KCODE=KM.KCODE)\n"
      "LEFT JOIN SIWAKE2   S2 ON (S.REC=S2.REC)\n"
      "WHERE (S.DELFLG=0)\n"
      "AND (S.HIZUKE>=:DT1) AND (S.HIZUKE<=:DT2)\n"
      "AND ((S.TAXDC<>0) OR " + OldRateImportCondition("S") + ")";
  if (byFacility) text += "\nAND (S.SCODE=:SCODE)";
  return text;
}

void AggregateJournal(const TTaxDataConnection& data, TTaxRun& run) {
  TRunningFlag running;
  BeginJournalAggregation(run);

  TTransactionGuard transaction(*TaxSnapshotTransaction(data));
  transaction.Begin();
  LoadRefundStatementInputs(data, run);
  LoadSpecialMeasureTables(data, run);

  const bool byFacility = !Trim(run.TaxPar.SCode).empty();
  auto sql = NewTaxStatement(data, TaxSnapshotTransaction(data), {});
  sql->SQL.SetText(JournalReadStatement(byFacility));
  sql->ParamByName("DT1").AsDateTime(run.TaxPar.KikanFrom);
  sql->ParamByName("DT2").AsDateTime(run.TaxPar.KikanTo);
  if (byFacility) sql->ParamByName("SCODE").AsString(run.TaxPar.SCode);

  sql->ExecQuery();
  // The columns, found once for the whole read.
  const TIBXSQLVAR& hizuke = sql->FieldByName("HIZUKE");
  const TIBXSQLVAR& taishaku = sql->FieldByName("TAISHAKU");
  const TIBXSQLVAR& kcode = sql->FieldByName("KCODE");
  const TIBXSQLVAR& taxCode = sql->FieldByName("TAXCODE");
  const TIBXSQLVAR& taxDC = sql->FieldByName("TAXDC");
  const TIBXSQLVAR& nuk = sql->FieldByName("NUK");
  const TIBXSQLVAR& zei = sql->FieldByName("ZEI");
  const TIBXSQLVAR& rit = sql->FieldByName("RIT");
  const TIBXSQLVAR& autCalcu = sql->FieldByName("AUTCALCU");
  const TIBXSQLVAR& rKCode = sql->FieldByName("R_KCODE");
  const TIBXSQLVAR& groupM0 = sql->FieldByName("GROUPM0");
  const TIBXSQLVAR& dac = sql->FieldByName("DAC");
  const TIBXSQLVAR& linkKub = sql->FieldByName("LINKKUB");
  const TIBXSQLVAR& oldRate = sql->FieldByName("OLDRATE");
  const TIBXSQLVAR& account = sql->FieldByName("KM_KCODE");
  const TIBXSQLVAR& linkRow = sql->FieldByName("S2_REC");

  TMessagePump pump;
  TTaxJournalRow row;
  while (!sql->Eof()) {
    row.Taishaku = taishaku.AsInteger();
    row.TaxCode = taxCode.AsInteger();
    row.OldRate = oldRate.AsInteger();
    if (IsOldRateImportLine(row.Taishaku, row.OldRate, row.TaxCode)) run.TaxPar.OldRateImportsRead = true;
    row.TaxDC = taxDC.AsInteger();
    if (row.TaxDC != 0 && !account.IsNull() && !linkRow.IsNull()) {
      row.Hizuke = hizuke.AsDateTime();
      row.KCode = kcode.AsTrimString();
      row.Nuk = nuk.AsCurrency();
      row.Zei = zei.AsCurrency();
      row.Rit = rit.AsCurrency();
      row.AutCalcu = autCalcu.AsInteger();
      row.RKCode = rKCode.AsTrimString();
      row.GroupM0 = groupM0.AsTrimString();
      row.Dac = dac.AsInteger();
      row.LinkKub = linkKub.AsInteger();
      AccumulateJournalRow(run, row);
    }
    sql->Next();
    pump.Row();
  }
  sql->Close();
  transaction.Commit();
}
