#include "dbaccess/dmcomponents.h"

#include "platform/fb/ibx.h"

// The components themselves, freed in the reverse of this order.
struct TDmComponents::TParts {
  TIBDatabase DatabaseDef;
  TIBTransaction TransactionDef;
  TIBQuery SysDefGet;
  TIBQuery SysDefPut;
  TIBQuery QueryDef;
  TIBSQL SqlDef;
  TIBDatabase DatabaseDat;
  TIBTransaction TransactionDat;
  TIBTransaction TransactionDatSnapshot;
  TIBQuery Acc1;
  TIBQuery Acc2;
  TIBBackupService Backup;
  TIBRestoreService Restore;
  TIBValidationService Validation;
  TIBDatabase FileMan;
  TIBTransaction TransactionFileMan;
  TIBQuery QueryFileMan;
  TIBSQL SqlFileMan;
};

TDmComponents::TDmComponents()
    : parts_(std::make_unique<TParts>()),
      IBDatabaseDEF(parts_->DatabaseDef),
      IBTransactionDEF(parts_->TransactionDef),
      IBQSysDefGet(parts_->SysDefGet),
      IBQSysDefPut(parts_->SysDefPut),
      QueryDef(parts_->QueryDef),
      IBSQLDEF(parts_->SqlDef),
      IBDatabaseDAT(parts_->DatabaseDat),
      IBTransactionDAT(parts_->TransactionDat),
      IBTransactionDATSS(parts_->TransactionDatSnapshot),
      IBQACC1(parts_->Acc1),
      IBQACC2(parts_->Acc2),
      IBBackupService1(parts_->Backup),
      IBRestoreService1(parts_->Restore),
      IBValidationService1(parts_->Validation),
      IBFileMan(parts_->FileMan),
      IBTransFileMan(parts_->TransactionFileMan),
      IBQueryFileMan(parts_->QueryFileMan),
      IBSQLFileMan(parts_->SqlFileMan) {}

TDmComponents::~TDmComponents() = default;
