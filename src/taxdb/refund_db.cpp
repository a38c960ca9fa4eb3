// Reading the entered refund-statement tables of the data set.
#include "tax/refund.h"
#include "tax/taxcontext.h"
#include "taxdb/readers.h"
#include "taxdb/taxdb.h"

namespace {

void ReadHead(TIBSQL& q, TKanpuHead& head, TKanpuYusyutuInfo& exp, Currency& siireZeigaku,
              std::array<std::string, 3>& jijyoText) {
  head.ZeiKbn = q.FieldByName("ZEIKBN").AsInteger();
  head.KanpuRiyuu01 = q.FieldByName("KANPURIYUU01").AsInteger();
  head.KanpuRiyuu02 = q.FieldByName("KANPURIYUU02").AsInteger();
  head.KanpuRiyuuOther = q.FieldByName("KANPURIYUUOTHER").AsInteger();
  head.KanpuRiyuuOtherText[0] = q.FieldByName("KANPURIYUUOTHERTEXT01").AsString();
  head.KanpuRiyuuOtherText[1] = q.FieldByName("KANPURIYUUOTHERTEXT02").AsString();
  head.KanpuRiyuuOtherText[2] = q.FieldByName("KANPURIYUUOTHERTEXT03").AsString();
  exp.YusyutuKinyuKikan = q.FieldByName("YUSYUTU_KINYUKIKAN").AsString();
  exp.YusyutuKinyuKikanKbn = q.FieldByName("YUSYUTU_KINYUKIKANKBN").AsInteger();
  exp.YusyutuKinyuMise = q.FieldByName("YUSYUTU_KINYUMISE").AsString();
  exp.YusyutuKinyuMiseKbn = q.FieldByName("YUSYUTU_KINYUMISEKBN").AsInteger();
  exp.YusyutuKinyuKozaKbn = q.FieldByName("YUSYUTU_KINYUKOZAKBN").AsInteger();
  exp.YusyutuKinyuKozaNo = q.FieldByName("YUSYUTU_KINYUKOZANO").AsString();
  exp.YusyutuTukanSimei = q.FieldByName("YUSYUTU_TUKANSIMEI").AsString();
  exp.YusyutuTukanJyusyo = q.FieldByName("YUSYUTU_TUKANJYUSYO").AsString();
  siireZeigaku = q.FieldByName("SIIREKIN_ZEIGAKU").AsCurrency();
  jijyoText[0] = q.FieldByName("TOKUSYUJIJYOTEXT01").AsString();
  jijyoText[1] = q.FieldByName("TOKUSYUJIJYOTEXT02").AsString();
  jijyoText[2] = q.FieldByName("TOKUSYUJIJYOTEXT03").AsString();
}

}  // namespace

void LoadRefundStatementInputs(const TTaxDataConnection& data, TTaxRun& run) {
  const int kind = run.Company.DataType;
  TIBTransaction* tr = TaxSnapshotTransaction(data);
  TTransactionGuard transaction(*tr);
  transaction.Begin();

  auto head = NewTaxStatement(
      data, tr, {"SELECT ZEIKBN,KANPURIYUU01,KANPURIYUU02,KANPURIYUUOTHER,KANPURIYUUOTHERTEXT01,KANPURIYUUOTHERTEXT02,KANPURIYUUOTHERTEXT03,",
           "YUSYUTU_KINYUKIKAN,YUSYUTU_KINYUKIKANKBN,YUSYUTU_KINYUMISE,YUSYUTU_KINYUMISEKBN,YUSYUTU_KINYUKOZAKBN,YUSYUTU_KINYUKOZANO,YUSYUTU_TUKANSIMEI,YUSYUTU_TUKANJYUSYO,",
           "SIIREKIN_ZEIGAKU,SIIREKIN_OTHERSYOTOKU_NAME,TOKUSYUJIJYO_NEN,TOKUSYUJIJYOTEXT01,TOKUSYUJIJYOTEXT02,TOKUSYUJIJYOTEXT03,SONOTA",
           "FROM KANPU_SINKOKU", "WHERE (REC=1)"});
  for (head->ExecQuery(); !head->Eof(); head->Next()) {
    if (kind == kCompanyCorporation || kind == kCompanyMedical) {
      ReadHead(*head, run.KanpuHojin, run.KanpuHojin, run.KanpuHojin.SiireZeigaku, run.KanpuHojin.TokusyuJijyoText);
    } else if (kind == kCompanyIndividual) {
      ReadHead(*head, run.KanpuKojin, run.KanpuKojin, run.KanpuKojin.SiireZeigaku, run.KanpuKojin.TokusyuJijyoText);
      run.KanpuKojin.OtherSyotokuName = head->FieldByName("SIIREKIN_OTHERSYOTOKU_NAME").AsString();
      run.KanpuKojin.TokusyuJijyoNen = head->FieldByName("TOKUSYUJIJYO_NEN").AsInteger();
    }
  }
  head->Close();

  TRefundInputBuilder builder(run, kind);
  auto torihiki = NewTaxStatement(data, tr, {"SELECT REC,ROWNO,SYURUI,KEIZOKU,HIZUKE,KINGAKU,SIMEI,JYUSYO,SHOHIN,ZEIKAN,SONOTA",
                                       "FROM KANPU_SINKOKU_TORIHIKI", "ORDER BY REC,ROWNO"});
  for (torihiki->ExecQuery(); !torihiki->Eof(); torihiki->Next()) {
    TKanpuSisan asset;
    asset.Syurui = torihiki->FieldByName("SYURUI").AsString();
    asset.Keizoku = torihiki->FieldByName("KEIZOKU").AsInteger();
    asset.Hizuke = torihiki->FieldByName("HIZUKE").AsDateTime();
    asset.Kingaku = torihiki->FieldByName("KINGAKU").AsCurrency();
    asset.Simei = torihiki->FieldByName("SIMEI").AsString();
    asset.Jyusyo = torihiki->FieldByName("JYUSYO").AsString();
    TKanpuTorihiki exportRow;
    exportRow.Simei = asset.Simei;
    exportRow.Jyusyo = asset.Jyusyo;
    exportRow.Kingaku = asset.Kingaku;
    exportRow.Shohin = torihiki->FieldByName("SHOHIN").AsString();
    exportRow.Zeikan = torihiki->FieldByName("ZEIKAN").AsString();
    builder.AddTransaction(torihiki->FieldByName("REC").AsInteger(), asset, exportRow);
  }
  torihiki->Close();

  auto siirekin = NewTaxStatement(data, tr, {"SELECT REC,ROWNO,NYURYOKUKBN,KESSANKIN,NOTKAZEISIIREKIN,KAZEISIIREKIN,SONOTA",
                                       "FROM KANPU_SINKOKU_SIIREKIN", "ORDER BY REC,ROWNO"});
  TRefundInputBuilder purchases(run, kind);  // its own section counter
  for (siirekin->ExecQuery(); !siirekin->Eof(); siirekin->Next()) {
    purchases.AddPurchase(siirekin->FieldByName("REC").AsInteger(), siirekin->FieldByName("KESSANKIN").AsCurrency(),
                        siirekin->FieldByName("NOTKAZEISIIREKIN").AsCurrency(),
                        siirekin->FieldByName("KAZEISIIREKIN").AsCurrency());
  }
  siirekin->Close();
  transaction.Commit();
}
