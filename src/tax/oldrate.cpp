#include "tax/oldrate.h"

#include "tax/taxdb.h"

namespace {

constexpr int kOldRates[] = {1, 2};
constexpr int kImportCodes[] = {521, 522, 523, 721, 722, 723, 571, 572, 573, 771, 772, 773};

template <std::size_t N>
bool Contains(const int (&list)[N], int value) {
  for (int v : list)
    if (v == value) return true;
  return false;
}

template <std::size_t N>
std::string ListText(const int (&list)[N]) {
  std::string text;
  for (int v : list) text += (text.empty() ? "" : ",") + std::to_string(v);
  return text;
}

}  // namespace

bool IsOldRateImportLine(int taishaku, int oldRate, int taxCode) {
  return taishaku == 1 && Contains(kOldRates, oldRate) && Contains(kImportCodes, taxCode);
}

std::string OldRateImportCondition(const std::string& alias) {
  const std::string a = alias.empty() ? "" : alias + ".";
  return "((" + a + "TAISHAKU=1) AND (" + a + "OLDRATE IN (" + ListText(kOldRates) + ")) AND (" + a + "TAXCODE IN (" +
         ListText(kImportCodes) + ")))";
}

bool HasOldRateImportJournals(int era, TTAXPAR par) {
  if (era < 4) return false;
  TIBTransaction* tr = TaxTransaction();
  TTransactionGuard transaction(*tr);
  transaction.Begin();
  auto q = NewTaxStatement(tr, {"SELECT COUNT(*) AS RECCNT FROM SIWAKE", "WHERE (DELFLG=0)AND(TAISHAKU=1)",
                                "AND((HIZUKE>=:HIZUKE1) AND (HIZUKE<=:HIZUKE2))"});
  q->SQL.Add("AND(OLDRATE IN (" + ListText(kOldRates) + "))");
  q->SQL.Add("AND(TAXCODE IN (" + ListText(kImportCodes) + "))");
  q->ParamByName("HIZUKE1").AsDateTime(par.KikanFrom);
  q->ParamByName("HIZUKE2").AsDateTime(par.KikanTo);
  q->ExecQuery();
  const bool found = q->FieldByName("RECCNT").AsInteger() > 0;
  q->Close();
  transaction.Commit();
  return found;
}
