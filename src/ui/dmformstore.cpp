#include "platform/fb/transactionguard.h"
#include "ui/dmformstore.h"

#include <functional>

#include "core/accinf.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"

namespace {

// Runs one unit of work on the database's default transaction under the data
// module's rule (start it only when idle, end only what was started here). A
// database error is logged by the reporter and handed to the window as
// EFormStoreError after the rollback.
void RunInTransaction(TIBDatabase& database, TIBTransaction& transaction, const char* location,
                      const std::function<void(TIBSQL&)>& work) {
  if (!database.Connected()) throw EFormStoreError("database not connected");
  TTransactionGuard scope(transaction);
  try {
    scope.Begin();
    TIBSQL sql;
    sql.SetDatabase(&database);
    sql.SetTransaction(&transaction);
    work(sql);
    scope.Commit();
  } catch (const EIBError& e) {
    scope.Rollback();
    ShowFbError(e, location, "", true);  // logged only: the window shows nothing
    throw EFormStoreError(e.what());
  }
}

}  // namespace

std::optional<TFormSizeRow> TDMFormStore::ReadFormSize(int opCode, const std::string& formName) {
  std::optional<TFormSizeRow> found;
  RunInTransaction(SystemStore().IBDatabaseDEF, SystemStore().IBTransactionDEF, "TBSDI.GetFormSize", [&](TIBSQL& sql) {
    sql.SQL.Add("SELECT FMTOP, FMLEFT, FMHEIGHT, FMWIDTH, DEFHEIGHT, DEFWIDTH FROM FORMRSIZE");
    sql.SQL.Add("WHERE OPCODE = :OPCODE AND FMNAME = :FMNAME");
    sql.ParamByName("OPCODE").AsInteger(opCode);
    sql.ParamByName("FMNAME").AsString(formName);
    sql.ExecQuery();
    if (!sql.Eof()) {
      TFormSizeRow row;
      row.Top = sql.FieldByName("FMTOP").AsInteger();
      row.Left = sql.FieldByName("FMLEFT").AsInteger();
      row.Height = sql.FieldByName("FMHEIGHT").AsInteger();
      row.Width = sql.FieldByName("FMWIDTH").AsInteger();
      row.DefHeight = sql.FieldByName("DEFHEIGHT").AsInteger();
      row.DefWidth = sql.FieldByName("DEFWIDTH").AsInteger();
      found = row;
    }
    sql.Close();
  });
  return found;
}

void TDMFormStore::InsertFormSize(int opCode, const std::string& formName, const TFormSizeRow& row) {
  RunInTransaction(SystemStore().IBDatabaseDEF, SystemStore().IBTransactionDEF, "TBSDI.PutFormSize", [&](TIBSQL& sql) {
    sql.SQL.Add("INSERT INTO FORMRSIZE (OPCODE, FMNAME, FMTOP, FMLEFT, FMHEIGHT, FMWIDTH, DEFHEIGHT, DEFWIDTH)");
    sql.SQL.Add("VALUES (:OPCODE, :FMNAME, :FMTOP, :FMLEFT, :FMHEIGHT, :FMWIDTH, :DEFHEIGHT, :DEFWIDTH)");
    sql.ParamByName("OPCODE").AsInteger(opCode);
    sql.ParamByName("FMNAME").AsString(formName);
    sql.ParamByName("FMTOP").AsInteger(row.Top);
    sql.ParamByName("FMLEFT").AsInteger(row.Left);
    sql.ParamByName("FMHEIGHT").AsInteger(row.Height);
    sql.ParamByName("FMWIDTH").AsInteger(row.Width);
    sql.ParamByName("DEFHEIGHT").AsInteger(row.DefHeight);
    sql.ParamByName("DEFWIDTH").AsInteger(row.DefWidth);
    sql.ExecQuery();
  });
}

void TDMFormStore::UpdateFormSize(int opCode, const std::string& formName, int top, int left, int height,
                                  int width) {
  RunInTransaction(SystemStore().IBDatabaseDEF, SystemStore().IBTransactionDEF, "TBSDI.PutFormSize", [&](TIBSQL& sql) {
    sql.SQL.Add("UPDATE FORMRSIZE SET FMTOP = :FMTOP, FMLEFT = :FMLEFT, FMHEIGHT = :FMHEIGHT, FMWIDTH = :FMWIDTH");
    sql.SQL.Add("WHERE OPCODE = :OPCODE AND FMNAME = :FMNAME");
    sql.ParamByName("FMTOP").AsInteger(top);
    sql.ParamByName("FMLEFT").AsInteger(left);
    sql.ParamByName("FMHEIGHT").AsInteger(height);
    sql.ParamByName("FMWIDTH").AsInteger(width);
    sql.ParamByName("OPCODE").AsInteger(opCode);
    sql.ParamByName("FMNAME").AsString(formName);
    sql.ExecQuery();
  });
}

void TDMFormStore::DeleteOperationHistory(int opCode, const std::string& jobName, const std::string& state) {
  TDataSetConnection& data = DataSetConnection();
  RunInTransaction(data.IBDatabaseDAT, data.IBTransactionDAT, "TBSDI.PutProcRirekiInfo", [&](TIBSQL& sql) {
    sql.SQL.Add("EXECUTE PROCEDURE OPINF_DELETE(:OPCODE, :JOBNAME, :STATE)");
    sql.ParamByName("OPCODE").AsInteger(opCode);
    sql.ParamByName("JOBNAME").AsString(jobName);
    sql.ParamByName("STATE").AsString(state);
    sql.ExecQuery();
  });
}

void TDMFormStore::InsertOperationHistory(int opCode, const std::string& jobName, const std::string& pcName,
                                          TDateTime openTime) {
  TDataSetConnection& data = DataSetConnection();
  RunInTransaction(data.IBDatabaseDAT, data.IBTransactionDAT, "TBSDI.PutProcRirekiInfo", [&](TIBSQL& sql) {
    sql.SQL.Add("INSERT INTO OPINF (OPCODE, JOBNAME, PCNAME, OPENTIME) VALUES (:OPCODE, :JOBNAME, :PCNAME, :OPENTIME)");
    sql.ParamByName("OPCODE").AsInteger(opCode);
    sql.ParamByName("JOBNAME").AsString(jobName);
    sql.ParamByName("PCNAME").AsString(pcName);
    sql.ParamByName("OPENTIME").AsDateTime(openTime);
    sql.ExecQuery();
  });
}

void TDMFormStore::ReloadAccInf() {
  if (DataModuleExists() && DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().fnGetAccInfo();
}

bool TDMFormStore::IsCloudData() { return DataModuleExists() && DataSetConnection().IsCloudData(); }

// A medical corporation with the facility code type calls its branches "施設".
bool TDMFormStore::FacilityLabels() { return AccInf.DATATYPE == 3 && AccInf.CODETYPE == 1; }

void InstallDataModuleFormStore() {
  static TDMFormStore store;
  SetFormDataStore(&store);
  // The store has already passed the error to the data module's reporter.
  SetDbErrorReporter([](const std::string&, const std::string&) {});
}
