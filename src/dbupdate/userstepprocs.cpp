#include "dbupdate/userstepprocs.h"

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbupdate/updatescript.h"

namespace {

constexpr std::uint8_t kAccounting = 1;

// The period columns of the cash-flow statement (step 0.1.4 adds only these).
void AddCashFlowPeriodColumns(TUpdateScript& Script) {
  if (!UserDbHasColumn("ACCDEF1", "KESSAN_KIKAN")) {
    Script.Add({"ALTER TABLE ACCDEF1", "ADD KESSAN_KIKAN INTEGER DEFAULT -1,", "ADD CASHFLOW_KIKAN1 INTEGER DEFAULT -1,",
                "ADD CASHFLOW_KIKAN2 INTEGER DEFAULT -1;",
                "UPDATE ACCDEF1 SET KESSAN_KIKAN=-1,CASHFLOW_KIKAN1=-1,CASHFLOW_KIKAN2=-1 WHERE REC=1;", "COMMIT;"});
  }
}

// The company information columns that the early steps add when missing.
void AddAccountingPeriodColumns(TUpdateScript& Script) {
  if (!UserDbHasColumn("ACCDEF1", "SDAI_HASUU3")) {
    Script.Add({"ALTER TABLE ACCDEF1", "ADD SDAI_HASUU3 INTEGER DEFAULT 0;",
                "UPDATE ACCDEF1 SET SDAI_HASUU3=0 WHERE REC=1;", "COMMIT;"});
  }
  AddCashFlowPeriodColumns(Script);
}

}  // namespace

namespace {

// Asks the data set a question through the data module's own connection,
// connected and disconnected again for it. A question that cannot be answered
// counts as "no".
template <typename Question>
bool AskDataSet(Question Ask) {
  if (!DataModuleExists()) return false;
  TDataSetConnection& dm = DataSetConnection();
  if (!dm.fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false)) return false;
  bool found = false;
  try {
    found = Ask(dm);
  } catch (...) {
    found = false;
  }
  dm.AccDatDisconnect(SystemDef.DataDir, false, false);
  return found;
}

}  // namespace

bool UserDbHasColumn(const std::string& Table, const std::string& Column) {
  return AskDataSet([&](TDataSetConnection& dm) { return dm.fnExistence_Field(Table, Column); });
}

bool UserDbHasTable(const std::string& Table) {
  return AskDataSet([&](TDataSetConnection& dm) { return dm.fnExistence_Table(Table); });
}

std::int32_t ExecUserDbUpdate011() {
  TUpdateScript script(kAccounting, {0, 1, 1}, false);
  if (!script.AddScriptFiles({"userup01.sql", "userup02.sql", "ks_setswk_init.sql", "userup03.sql"}, true))
    return urFileMissing;
  AddAccountingPeriodColumns(script);
  return script.Run();
}

std::int32_t ExecUserDbUpdate012() {
  TUpdateScript script(kAccounting, {0, 1, 2}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  return script.Run();
}

std::int32_t ExecUserDbUpdate013() {
  TUpdateScript script(kAccounting, {0, 1, 3}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  AddAccountingPeriodColumns(script);
  return script.Run();
}

std::int32_t ExecUserDbUpdate014() {
  TUpdateScript script(kAccounting, {0, 1, 4}, false);
  if (!script.AddScriptFiles({"userup01.sql", "cashflow.sql"}, true)) return urFileMissing;
  AddCashFlowPeriodColumns(script);
  return script.Run();
}

std::int32_t ExecUserDbUpdate015() {
  TUpdateScript script(kAccounting, {0, 1, 5}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  if (!UserDbHasColumn("KESSAN", "CHUKI_TITLEPRINT")) {
    script.Add({"/* KESSANテーブルへ注記表タイトル印字区分を追加 */", "ALTER TABLE KESSAN",
                "ADD CHUKI_TITLEPRINT INTEGER DEFAULT 0;", "UPDATE KESSAN SET CHUKI_TITLEPRINT=0 WHERE REC=1;",
                "COMMIT;"});
  }
  if (!script.AddScriptFiles({"userup02.sql"}, true)) return urFileMissing;
  if (!UserDbHasColumn("EXTERKS", "AO_KISHUZAN")) {
    script.Add({"ALTER TABLE EXTERKS", "ADD AO_KISHUZAN CURRENCY,", "ADD AO_KIMATUZAN CURRENCY;", "COMMIT;",
                "UPDATE EXTERKS SET AO_KISHUZAN=0,AO_KIMATUZAN=0;"});
  }
  if (!script.AddScriptFiles({"userup03.sql"}, true)) return urFileMissing;
  return script.Run();
}

std::int32_t ExecUserDbUpdate022() {
  TUpdateScript script(kAccounting, {0, 2, 2}, false);
  // The whole body is guarded by the account master's second classification.
  if (UserDbHasColumn("KAMOKUMST", "GROUPM0")) return script.Run();
  if (!script.AddScriptFiles({"userup01.sql"}, true) ||
      !script.AddScriptFilesOf({0, 1, 1}, {"ks_setswk_init.sql"}, true) ||
      !script.AddScriptFiles({"userup02.sql", "userup03.sql", "userup04.sql", "userup05.sql", "utiwake.sql",
                              "userup06.sql"},
                             true) ||
      !script.AddScriptFilesOf({0, 1, 4}, {"cashflow.sql"}, true))
    return urFileMissing;
  return script.Run();
}

std::int32_t ExecUserDbUpdate020() { return TUpdateScript(kAccounting, {0, 2, 0}, false).Run(); }

std::int32_t ExecUserDbUpdate021() {
  TUpdateScript script(kAccounting, {0, 2, 1}, false);
  if (!script.AddScriptFiles({"userup01.sql"}, true)) return urFileMissing;
  return script.Run();
}
