// TBSDI: the saved screen value and the form's own work on the data set's
// database (its transaction, and the queries and procedures made on it).
#include "dbaccess/datasetconnection.h"
#include "dbaccess/screenvalues.h"
#include "platform/fb/ibx.h"
#include "ui/sdi.h"

void TBSDI::CreateDataComponents() {
  IBTransactionDAT.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  if (!DataModuleExists()) return;
  IBTransactionDAT.SetDefaultDatabase(&DataSetConnection().IBDatabaseDAT);
  GamenValue = std::make_unique<TGamenKeyValue>();
}

void TBSDI::FukugenGamenValue() {
  if (GamenValue) GamenValue->FukugenValue(objectName().toStdString(), ScreenValue);
  else ScreenValue.clear();
}

void TBSDI::HozonGamenValue() {
  if (GamenValue) GamenValue->HozonValue(objectName().toStdString(), ScreenValue);
}

std::unique_ptr<TIBQuery> TBSDI::CreateDatQuery() {
  if (!DataModuleExists() || IBTransactionDAT.DefaultDatabase() != &DataSetConnection().IBDatabaseDAT) return nullptr;
  auto query = std::make_unique<TIBQuery>();
  query->SetDatabase(&DataSetConnection().IBDatabaseDAT);
  query->SetTransaction(&IBTransactionDAT);
  return query;
}

std::unique_ptr<TIBStoredProc> TBSDI::CreateDatProc(const std::string& Name) {
  if (!DataModuleExists() || IBTransactionDAT.DefaultDatabase() != &DataSetConnection().IBDatabaseDAT) return nullptr;
  auto proc = std::make_unique<TIBStoredProc>();
  proc->SetDatabase(&DataSetConnection().IBDatabaseDAT);
  proc->SetTransaction(&IBTransactionDAT);
  proc->StoredProcName = Name;
  return proc;
}
