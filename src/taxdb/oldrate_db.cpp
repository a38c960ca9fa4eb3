// The old-rate import check on the connected data set.
#include <string>

#include "tax/oldrate.h"
#include "taxdb/readers.h"
#include "taxdb/taxdb.h"

namespace {

template <std::size_t N>
std::string ListText(const std::array<int, N>& list) {
  std::string text;
  for (int v : list) text += (text.empty() ? "" : ",") + std::to_string(v);
  return text;
}

}  // namespace

std::string OldRateImportCondition(const std::string& alias) {
  const std::string a = alias.empty() ? "" : alias + ".";
  return "((" + a + "TAISHAKU=1) AND (" + a + "OLDRATE IN (" + ListText(kOldRateNumbers) + ")) AND (" + a +
         "TAXCODE IN (" + ListText(kOldRateImportCodes) + ")))";
}

bool HasOldRateImportJournals(const TTaxDataConnection& data, int era, TTAXPAR par) {
  if (era < 4) return false;
  TIBTransaction* tr = TaxTransaction(data);
  TTransactionGuard transaction(*tr);
  transaction.Begin();
  auto q = NewTaxStatement(data, tr,
                           {"SELECT COUNT(*) AS RECCNT FROM SIWAKE", "WHERE (DELFLG=0)AND(TAISHAKU=1)",
                            "AND((HIZUKE>=:HIZUKE1) AND (HIZUKE<=:HIZUKE2))"});
  q->SQL.Add("AND(OLDRATE IN (" + ListText(kOldRateNumbers) + "))");
  q->SQL.Add("AND(TAXCODE IN (" + ListText(kOldRateImportCodes) + "))");
  q->ParamByName("HIZUKE1").AsDateTime(par.KikanFrom);
  q->ParamByName("HIZUKE2").AsDateTime(par.KikanTo);
  q->ExecQuery();
  const bool found = q->FieldByName("RECCNT").AsInteger() > 0;
  q->Close();
  transaction.Commit();
  return found;
}
