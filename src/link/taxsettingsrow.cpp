#include "link/taxsettingsrow.h"

#include <memory>

#include "core/globals.h"
#include "core/uiservices.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "tax/taxcontext.h"
#include "taxdb/taxdb.h"

namespace {

// The row's columns in the order of the statements.
constexpr const char* kColumns[] = {
    "REC",           "KIKAN_KAISI",    "KIKAN_SYURYO",       "SCODE",           "SINKOKU_KUBUN",
    "MINASIRITU1",   "MINASIRITU2",    "MINASIRITU3",        "MINASIRITU4",     "MINASIRITU5",
    "TYUUKAN_NOUFU", "TYUUKAN_JOUTO",  "KOUJYOZEI_18A",      "KOUJYOZEI_18B",   "KOUJYOZEI_19A",
    "KOUJYOZEI_19B", "KIJYUNKIKANURI", "KEISANTOKUREI",      "KAZEIURI95MIMAN", "ANBUNWARIAI",
    "JUNZURUWARIAI", "TEISYUTUBI",     "ZEIMUSYO",           "NOUZEITI1",       "NOUZEITI2",
    "DAIHYOUKANA",   "DAIHYOU",        "KEIRITANTOU",        "SEIRIBANGOU",     "SINKOKUBI",
    "SIDOUBI",       "FUKI_KAPPU",     "FUKI_NOBEBARAI",     "FUKI_KOUJI",      "FUKI_GENKIN",
    "SINKOKUSYO",    "GINKOUMEI",      "GINKOUKUBUN",        "SITENMEI",        "SITENKUBUN",
    "YOKINSYUBETU",  "KOUZA",          "YUBINKYOKUMEI",      "TYOKIN_KIGOU",    "TYOKIN_BANGOU",
    "ZEIRISI",       "ZEIRISI_TEL",    "ZEIRISI_H30",        "ZEIRISI_H33",     "FUHYO22_KAZEI_COPY",
    "ZEIRISI_JIMUSHO", "FUHYO52_KAZEI_COPY"};

// Text columns (inserted as empty texts) and date columns (inserted as date 0).
constexpr const char* kTextColumns[] = {"SCODE",        "ZEIMUSYO",      "NOUZEITI1",    "NOUZEITI2",
                                        "DAIHYOUKANA",  "DAIHYOU",       "KEIRITANTOU",  "SEIRIBANGOU",
                                        "GINKOUMEI",    "SITENMEI",      "KOUZA",        "YUBINKYOKUMEI",
                                        "TYOKIN_KIGOU", "TYOKIN_BANGOU", "ZEIRISI",      "ZEIRISI_TEL",
                                        "ZEIRISI_JIMUSHO"};
constexpr const char* kDateColumns[] = {"TEISYUTUBI", "SINKOKUBI", "SIDOUBI"};

std::string ColumnList(const char* prefix) {
  std::string text;
  for (const char* c : kColumns) {
    if (!text.empty()) text += ',';
    text += prefix;
    text += c;
  }
  return text;
}

bool IsIn(const std::string& name, std::initializer_list<const char*> list) {
  for (const char* item : list)
    if (name == item) return true;
  return false;
}
template <std::size_t N>
bool IsIn(const std::string& name, const char* const (&list)[N]) {
  for (const char* item : list)
    if (name == item) return true;
  return false;
}

const char* SinkokuNameOf(int kind) {
  switch (kind) {
    case 0: return "確定";
    case 1: return "中間";
    case 2: return "修正";
    default: return "";
  }
}

// The company identity texts of the header by company kind.
void SetCompanyIdentity(TTaxReturnHeader& h) {
  const TACCINF& a = AccInf;
  h.Add1 = h.Add2 = h.Tel = h.Name = h.Kana = "";
  if (a.DATATYPE == kCompanyCorporation) {
    h.Add1 = a.ADD1;
    h.Add2 = a.ADD2;
    h.Tel = a.TEL;
    h.Name = a.SHOUGOU;
    h.Kana = a.SKANA;
  } else if (a.DATATYPE == kCompanyIndividual) {
    h.Add1 = a.AO_ADD1;
    h.Add2 = a.AO_ADD2;
    h.Tel = a.AO_TEL;
    h.Name = a.AO_SIMEI;
    h.Kana = a.AO_KANA;
  }
}

void SetRateBlocks(TTAXPAR& par) {
  par.TaxRateSet1 = {};
  par.TaxRateSet2 = {};
  par.TaxRateSet1[0] = 3;
  par.TaxRateSet2[0] = 5;
}

int CountSettingsRows(const TTaxDataConnection& data, TIBTransaction* tr) {
  auto q = NewTaxStatement(data, tr, {"SELECT COUNT(REC) AS RECCNT FROM TAX_KAZEIHOUSIKI", "WHERE REC=1"});
  q->ExecQuery();
  const int count = q->FieldByName("RECCNT").AsInteger();
  q->Close();
  return count;
}

void InsertDefaultRow(const TTaxDataConnection& data, TIBTransaction* tr) {
  const std::string insert = "INSERT INTO TAX_KAZEIHOUSIKI(" + ColumnList("") + ")";
  const std::string values = "VALUES(" + ColumnList(":") + ")";
  auto q = NewTaxStatement(data, tr, {insert.c_str(), values.c_str()});
  const TACCINF& a = AccInf;
  static constexpr int kMinasi[] = {90, 80, 70, 60, 50};
  for (const char* column : kColumns) {
    const std::string name = column;
    TIBXSQLVAR& p = q->ParamByName(name);
    if (name == "REC") p.AsInteger(1);
    else if (name == "KIKAN_KAISI") p.AsDateTime(a.KISHU);
    else if (name == "KIKAN_SYURYO") p.AsDateTime(a.KIMATU);
    else if (name == "SINKOKU_KUBUN") p.AsInteger(a.TAXKANNI);
    else if (name.rfind("MINASIRITU", 0) == 0) p.AsInteger(kMinasi[name.back() - '1']);
    else if (name == "FUHYO22_KAZEI_COPY" || name == "FUHYO52_KAZEI_COPY") p.AsInteger(1);
    else if (IsIn(name, kTextColumns)) p.AsString("");
    else if (IsIn(name, kDateColumns)) p.AsDateTime(0);
    else if (IsIn(name, {"TYUUKAN_NOUFU", "TYUUKAN_JOUTO", "KOUJYOZEI_18A", "KOUJYOZEI_18B", "KOUJYOZEI_19A",
                         "KOUJYOZEI_19B", "KIJYUNKIKANURI", "JUNZURUWARIAI"}))
      p.AsCurrency(Currency(0));
    else p.AsInteger(0);
  }
  q->ExecQuery();
  q->Close();
}

// A fresh record filled from the row (when there is one).
TTAXPAR ReadSettingsRow(const TTaxDataConnection& data, TIBTransaction* tr) {
  TTAXPAR par{};
  const std::string select = "SELECT " + ColumnList("") + " FROM TAX_KAZEIHOUSIKI";
  auto q = NewTaxStatement(data, tr, {select.c_str(), "WHERE REC=1"});
  auto integer = [&](const char* c) { return q->FieldByName(c).AsInteger(); };
  auto amount = [&](const char* c) { return q->FieldByName(c).AsCurrency(); };
  auto date = [&](const char* c) { return q->FieldByName(c).AsDateTime(); };
  auto text = [&](const char* c) { return q->FieldByName(c).AsTrimString(); };
  auto percent = [&](const char* c) { return Currency::FromRaw(std::int64_t{integer(c)} * 100); };
  for (q->ExecQuery(); !q->Eof(); q->Next()) {
    TTaxReturnHeader& h = par.Header;
    h.CreateDate = Date();
    SetCompanyIdentity(h);
    SetRateBlocks(par);
    par.KikanFrom = date("KIKAN_KAISI");
    par.KikanTo = date("KIKAN_SYURYO");
    par.SinkokuKubun = integer("SINKOKU_KUBUN");
    par.MinasiRitu1 = percent("MINASIRITU1");
    par.MinasiRitu2 = percent("MINASIRITU2");
    par.MinasiRitu3 = percent("MINASIRITU3");
    par.MinasiRitu4 = percent("MINASIRITU4");
    par.MinasiRitu5 = percent("MINASIRITU5");
    par.TyuukanNoufu = amount("TYUUKAN_NOUFU");
    par.TyuukanJouto = amount("TYUUKAN_JOUTO");
    par.Koujyozei18A = amount("KOUJYOZEI_18A");
    par.Koujyozei18B = amount("KOUJYOZEI_18B");
    par.Koujyozei19A = amount("KOUJYOZEI_19A");
    par.Koujyozei19B = amount("KOUJYOZEI_19B");
    par.KijyunKikanUri = amount("KIJYUNKIKANURI");
    par.KeisanTokurei = integer("KEISANTOKUREI") == 1;
    par.Kazeiuri95Miman = integer("KAZEIURI95MIMAN");
    par.AnbunWariai = integer("ANBUNWARIAI");
    par.JunzuruWariai = amount("JUNZURUWARIAI");
    h.TeisyutuBi = date("TEISYUTUBI");
    h.Zeimusyo = text("ZEIMUSYO");
    h.DaihyouKana = text("DAIHYOUKANA");
    h.Daihyou = text("DAIHYOU");
    h.KeiriTantou = text("KEIRITANTOU");
    h.SeiriBangou = text("SEIRIBANGOU");
    h.SinkokuBi = date("SINKOKUBI");
    h.SidouBi = date("SIDOUBI");
    h.FukiKappu = integer("FUKI_KAPPU");
    h.FukiNobebarai = integer("FUKI_NOBEBARAI");
    h.FukiKouji = integer("FUKI_KOUJI");
    h.FukiGenkin = integer("FUKI_GENKIN");
    par.SinkokuKind = integer("SINKOKUSYO");
    par.SinkokuName = SinkokuNameOf(par.SinkokuKind);
    h.GinkouMei = text("GINKOUMEI");
    h.GinkouKubun = integer("GINKOUKUBUN");
    h.SitenMei = text("SITENMEI");
    h.SitenKubun = integer("SITENKUBUN");
    h.YokinSyubetu = integer("YOKINSYUBETU");
    h.Kouza = text("KOUZA");
    h.YubinkyokuMei = text("YUBINKYOKUMEI");
    h.TyokinKigou = text("TYOKIN_KIGOU");
    h.TyokinBangou = text("TYOKIN_BANGOU");
    h.Zeirisi = text("ZEIRISI");
    h.ZeirisiTel = text("ZEIRISI_TEL");
    h.ZeirisiH30 = integer("ZEIRISI_H30");
    h.ZeirisiH33 = integer("ZEIRISI_H33");
    h.Fuhyo22KazeiCopy = integer("FUHYO22_KAZEI_COPY");
    h.ZeirisiJimusho = text("ZEIRISI_JIMUSHO");
    par.Fuhyo52KazeiCopy = integer("FUHYO52_KAZEI_COPY");
  }
  q->Close();
  return par;
}

}  // namespace

void InitTaxParams(TTAXPAR& Par) {
  Par.SinkokuKind = 0;
  Par.SinkokuName = "確定";
  Par.EntryMode.clear();
  Par.SCode.clear();
  Par.Era = 0;
  Par.TokureiApplied = false;
  Par.TokureiKind = 0;
  Par.TokureiWon = 0;
  Par.KeisanTokurei = false;
  Par.KikanFrom = Par.KikanTo = 0;
  Par.SinkokuKubun = 0;
  Par.Kazeiuri95Miman = 0;
  Par.AnbunWariai = 0;
  Par.JunzuruWariai = Currency(0);
  Par.MinasiRitu1 = Par.MinasiRitu2 = Par.MinasiRitu3 = Par.MinasiRitu4 = Par.MinasiRitu5 = Currency(0);
  SetRateBlocks(Par);
  Par.TyuukanNoufu = Par.TyuukanJouto = Currency(0);
  Par.Koujyozei18A = Par.Koujyozei18B = Par.Koujyozei19A = Par.Koujyozei19B = Currency(0);
  Par.KijyunKikanUri = Currency(0);
  Par.Header = TTaxReturnHeader{};
  SetCompanyIdentity(Par.Header);
  Par.Header.Fuhyo22KazeiCopy = 1;
  Par.Fuhyo52KazeiCopy = 1;
}

void LoadTaxSettingsRow(const TTaxDataConnection& Data, TTAXPAR& Par) {
  InitTaxParams(Par);
  TIBTransaction* tr = TaxTransaction(Data);
  TTAXPAR fresh;
  {
    TTransactionGuard transaction(*tr);
    transaction.Begin();
    try {
      if (CountSettingsRows(Data, tr) == 0) InsertDefaultRow(Data, tr);
      fresh = ReadSettingsRow(Data, tr);
    } catch (const EIBError& e) {
      UiShowError("ﾃﾞｰﾀﾍﾞｰｽ ｴﾗｰ\r" + e.Message() + "\r\r");
      throw;  // the guard rolls back a transaction started here
    }
    transaction.Commit();
  }
  const TACCINF& a = AccInf;
  if (fresh.KikanFrom < a.KISHU || fresh.KikanFrom > a.KIMATU) fresh.KikanFrom = a.KAISI;
  if (fresh.KikanTo < a.KISHU || fresh.KikanTo > a.KIMATU) fresh.KikanTo = a.KIMATU;
  Par = std::move(fresh);
}
