// TDmComponents: the data module's Firebird components under the names its
// services and callers use: the system database (IBDatabaseDEF) with its
// transaction and shared statements, the chosen data set's database
// (IBDatabaseDAT) with its transactions and statements, the backup, restore
// and validation services and the file-manager database (IBFileMan). The
// data module owns them through this base: they are made with it, before
// anything else of it, and freed with it. This header only names their
// classes; a file that uses a component includes its Firebird header.
#pragma once

#include <memory>

class TIBDatabase;
class TIBTransaction;
class TIBQuery;
class TIBSQL;
class TIBBackupService;
class TIBRestoreService;
class TIBValidationService;

class TDmComponents {
 public:
  TDmComponents(const TDmComponents&) = delete;
  TDmComponents& operator=(const TDmComponents&) = delete;

 protected:
  TDmComponents();
  ~TDmComponents();

 private:
  struct TParts;
  std::unique_ptr<TParts> parts_;  // made before the names below refer to it

 public:
  TIBDatabase& IBDatabaseDEF;          // the system database
  TIBTransaction& IBTransactionDEF;    // read_committed, rec_version, nowait
  TIBQuery& IBQSysDefGet;              // SYSDEF and SYSTEMINI reads
  TIBQuery& IBQSysDefPut;              // SYSDEF and SYSTEMINI writes
  TIBQuery& QueryDef;                  // SYSREG and the logon rows
  TIBSQL& IBSQLDEF;                    // job control, server files, eras, versions, look-ups
  TIBDatabase& IBDatabaseDAT;          // the chosen data set's database
  TIBTransaction& IBTransactionDAT;    // read_committed, rec_version, nowait
  TIBTransaction& IBTransactionDATSS;  // concurrency, nowait: snapshot reads
  TIBQuery& IBQACC1;                   // the module's own data-set reads
  TIBQuery& IBQACC2;                   // the schema update's
  TIBBackupService& IBBackupService1;
  TIBRestoreService& IBRestoreService1;
  TIBValidationService& IBValidationService1;
  TIBDatabase& IBFileMan;              // the file-manager database
  TIBTransaction& IBTransFileMan;
  TIBQuery& IBQueryFileMan;
  TIBSQL& IBSQLFileMan;
};
