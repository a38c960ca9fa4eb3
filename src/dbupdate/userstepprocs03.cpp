// The step procedures of the accounting database from 0.3.0 to 1.0.0: the
// analysis comparison tables and readings, the owner's-capital carry-over,
// the system-account lookup, the audit items and the opening-balance trigger.
#include "core/globals.h"
#include "dbupdate/updatescript.h"
#include "dbupdate/userstepprocs.h"

namespace {

constexpr std::uint8_t kAccounting = 1;

}  // namespace

std::int32_t ExecUserDbUpdate030() { return TUpdateScript(kAccounting, {0, 3, 0}, false).Run(); }

std::int32_t ExecUserDbUpdate031() {
  TUpdateScript script(kAccounting, {0, 3, 1}, false);
  if (!UserDbHasColumn("ACCDEF1", "WEB_HOLDER"))
    script.Add({"ALTER TABLE \"ACCDEF1\" ADD WEB_HOLDER VARCHAR(30) CHARACTER SET ASCII;",
                "UPDATE ACCDEF1 SET WEB_HOLDER='';", "COMMIT;"});
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  return script.Run();
}

std::int32_t ExecUserDbUpdate032() { return TUpdateScript(kAccounting, {0, 3, 2}, false).Run(); }

std::int32_t ExecUserDbUpdate033() {
  TUpdateScript script(kAccounting, {0, 3, 3}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  if (!UserDbHasColumn("KAMOKUMST", "TESSALY_BADRATE"))
    script.Add({"ALTER TABLE KAMOKUMST ADD Tessaly_BadRate Currency ,ADD Tessaly_BadKind Integer DEFAULT 0 ,"
                "ADD Tessaly_GoodRate Currency ,ADD Tessaly_GoodKind Integer DEFAULT 0;",
                "COMMIT;"});
  if (!script.AddScriptFiles({"userup02.sql"}, true)) return urFileMissing;
  // The readings and thresholds of the accounts follow the code system of the data set.
  const char* accounts = nullptr;
  if (AccInf.DATATYPE == 1)
    accounts = "kamoku_houjin.sql";
  else if (AccInf.CODETYPE == 1)
    accounts = "kamoku_ippan.sql";
  else if (AccInf.CODETYPE == 2)
    accounts = "kamoku_fudousan.sql";
  if (accounts != nullptr && !script.AddScriptFiles({accounts}, true)) return urFileMissing;
  script.Add("COMMIT;");
  return script.Run();
}

std::int32_t ExecUserDbUpdate034() {
  TUpdateScript script(kAccounting, {0, 3, 4}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  // The fixed trial-balance layouts are updated where the data set has them.
  if (UserDbHasColumn("EXTERA4", "KGROUP") && UserDbHasColumn("EXTERA3", "KGROUP") &&
      !script.AddScriptFiles({"extera.sql"}, true))
    return urFileMissing;
  script.Add("COMMIT;");
  return script.Run();
}

std::int32_t ExecUserDbUpdate040() { return TUpdateScript(kAccounting, {0, 4, 0}, false).Run(); }

std::int32_t ExecUserDbUpdate041() {
  TUpdateScript script(kAccounting, {0, 4, 1}, false);
  script.Add("DELETE FROM KANSA_ITEM;");
  if (!script.AddScriptFiles({AccInf.DATATYPE == 1 ? "kansa_houjin.sql" : "kansa_kojin.sql"}, true))
    return urFileMissing;
  script.Add("COMMIT;");
  return script.Run();
}

std::int32_t ExecUserDbUpdate100() {
  TUpdateScript script(kAccounting, {1, 0, 0}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  return script.Run();
}
