// The step procedures of the accounting database from 1.0.5 on (so far the
// names of the total items). Their fixed statements are the script files
// under sql/<version digits>; the choices by company kind read the company
// record (AccInf) of the data set being updated.
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbupdate/updatescript.h"
#include "dbupdate/userstepprocs.h"

namespace {

constexpr std::uint8_t kAccounting = 1;

// The total-item rows of the company kind: corporations, and individuals of
// the general and real-estate code systems; none for the other kinds.
const char* TotalNameRows(std::int32_t DataType, std::int32_t CodeType) {
  if (DataType == 1) return "acctotalname1.sql";
  if (DataType == 2 && CodeType == 1) return "acctotalname21.sql";
  if (DataType == 2 && CodeType == 2) return "acctotalname22.sql";
  return nullptr;
}

}  // namespace

std::int32_t ExecUserDbUpdate105() {
  TUpdateScript script(kAccounting, {1, 0, 5}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  if (UserDbHasTable("ACCTOTALNAME")) script.Add("DROP TABLE \"ACCTOTALNAME\";");
  if (!script.AddScriptFiles({"userup02.sql"}, true)) return urFileMissing;
  if (const char* rows = TotalNameRows(AccInf.DATATYPE, AccInf.CODETYPE)) {
    if (!script.AddScriptFiles({rows}, true)) return urFileMissing;
  }
  script.Add("Commit;");
  return script.Run();
}
