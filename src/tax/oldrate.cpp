#include "tax/oldrate.h"

#include "platform/rtl/sysutils.h"
#include "tax/taxdb.h"

bool HasOldRateImportJournals(int era, TTAXPAR par) {
  if (era < 4) return false;
  TIBTransaction* tr = TaxTransaction();
  TTransactionGuard transaction(*tr);
  transaction.Begin();
  auto q = NewTaxStatement(tr, {"SELECT COUNT(*) AS RECCNT FROM SIWAKE", "WHERE (DELFLG=0)AND(TAISHAKU=1)",
                                "AND((HIZUKE>=:HIZUKE1) AND (HIZUKE<=:HIZUKE2))"});
  q->SQL.Add("AND(OLDRATE IN (" + Format("%d,%d", 1, 2) + "))");
  q->SQL.Add("AND(TAXCODE IN (" +
             Format("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", 521, 522, 523, 721, 722, 723, 571, 572, 573, 771, 772, 773) +
             "))");
  q->ParamByName("HIZUKE1").AsDateTime(par.KikanFrom);
  q->ParamByName("HIZUKE2").AsDateTime(par.KikanTo);
  q->ExecQuery();
  const bool found = q->FieldByName("RECCNT").AsInteger() > 0;
  q->Close();
  transaction.Commit();
  return found;
}
