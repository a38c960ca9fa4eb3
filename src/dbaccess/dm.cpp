#include "dbaccess/dm.h"

#include "core/globals.h"
#include "platform/fb/ibx.h"
#include "platform/win/paths.h"
#include "tax/taxcontext.h"

TDM* DM = nullptr;

void CreateDataModule() {
  if (!DM) DM = new TDM;
}

void FreeDataModule() {
  delete DM;
  DM = nullptr;
}

bool DataModuleExists() { return DM != nullptr; }
TSystemStore& SystemStore() { return *DM; }
TServerFiles& ServerFiles() { return *DM; }
TDataSetConnection& DataSetConnection() { return *DM; }
TBackupRestore& BackupRestore() { return *DM; }

TTaxDataConnection ConnectedTaxData() {
  if (!DM) return {};
  return {&DM->IBDatabaseDAT, &DM->IBTransactionDAT, &DM->IBTransactionDATSS};
}

namespace {

void SetReadCommitted(TIBTransaction& transaction) {
  transaction.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
}

void Bind(TIBCustomStatement& statement, TIBDatabase& database, TIBTransaction& transaction) {
  statement.SetDatabase(&database);
  statement.SetTransaction(&transaction);
}

void CloseQuietly(TIBDatabase& database) noexcept {
  try {
    database.Close();
  } catch (...) {  // the connection is dropped instead
    database.ForceClose();
  }
}

}  // namespace

TDM::TDM() {
  for (TIBDatabase* database : {&IBDatabaseDEF, &IBDatabaseDAT, &IBFileMan}) {
    database->SQLDialect = 3;
    database->LoginPrompt = false;
    database->IdleTimer = 0;
  }
  IBTransactionDEF.SetDefaultDatabase(&IBDatabaseDEF);
  SetReadCommitted(IBTransactionDEF);
  IBDatabaseDEF.SetDefaultTransaction(&IBTransactionDEF);
  for (TIBQuery* query : {&IBQSysDefGet, &IBQSysDefPut, &QueryDef}) {
    Bind(*query, IBDatabaseDEF, IBTransactionDEF);
    query->BufferChunks = 1000;
  }
  Bind(IBSQLDEF, IBDatabaseDEF, IBTransactionDEF);

  // The data set's database has no default transaction of its own: the first
  // transaction bound to it (IBTransactionDAT) serves as the default.
  IBTransactionDAT.SetDefaultDatabase(&IBDatabaseDAT);
  SetReadCommitted(IBTransactionDAT);
  IBDatabaseDAT.SetDefaultTransaction(&IBTransactionDAT);
  IBTransactionDATSS.SetDefaultDatabase(&IBDatabaseDAT);
  IBTransactionDATSS.Params = TIBStrings{"concurrency", "nowait"};
  for (TIBQuery* query : {&IBQACC1, &IBQACC2}) {
    Bind(*query, IBDatabaseDAT, IBTransactionDAT);
    query->BufferChunks = 1000;
  }

  IBBackupService1.BlockingFactor = 0;
  IBBackupService1.Options = 0;
  IBRestoreService1.PageBuffers = 0;
  IBValidationService1.LoginPrompt = false;

  IBTransFileMan.SetDefaultDatabase(&IBFileMan);
  SetReadCommitted(IBTransFileMan);
  IBFileMan.SetDefaultTransaction(&IBTransFileMan);
  Bind(IBQueryFileMan, IBFileMan, IBTransFileMan);
  Bind(IBSQLFileMan, IBFileMan, IBTransFileMan);
  InstallTaxContext();
}

TDM::~TDM() {
  TaxHooks.TaxDefUHWithLinkSiwake = nullptr;
  for (TIBCustomStatement* statement :
       std::initializer_list<TIBCustomStatement*>{&IBQSysDefGet, &IBQSysDefPut, &QueryDef, &IBSQLDEF, &IBQACC1,
                                                  &IBQACC2, &IBQueryFileMan, &IBSQLFileMan}) {
    statement->Close();
    statement->Unprepare();
  }
  CloseQuietly(IBFileMan);
  CloseQuietly(IBDatabaseDAT);
  CloseQuietly(IBDatabaseDEF);
}

std::string TSystemStore::DatabaseNameFor(const std::string& Host, const std::string& Folder, const std::string& File,
                                          bool Remote) {
  const std::string path = PathJoin(Folder, File);
  if (ConnectKind != 0 && (Remote || Host != "127.0.0.1")) return Host + ":" + path;
  return path;
}

void TSystemStore::ConnectDatabase(TIBDatabase& Database, const std::string& Name) {
  Database.SQLDialect = 3;
  Database.Params.Clear();
  Database.DatabaseName = Name;
  Database.Params.Add("user_name=" + SystemDef.DbUser);
  Database.Params.Add("password=" + SystemDef.DbPassword);
  Database.Params.Add("lc_ctype=SJIS_0208");
  Database.Open();
}
