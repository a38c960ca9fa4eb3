#include "dbaccess/queryfactory.h"

#include <new>

#include "dbaccess/datasetconnection.h"

namespace {

template <typename Statement>
std::unique_ptr<Statement> CreateStatement(const std::string& name, bool snapshot) noexcept {
  try {
    if (!DataModuleExists()) return nullptr;
    auto statement = std::make_unique<Statement>();
    if (name == "ACCDEF") {
      statement->SetDatabase(&SystemStore().IBDatabaseDEF);
    } else {
      statement->SetDatabase(&DataSetConnection().IBDatabaseDAT);
      if (snapshot) statement->SetTransaction(&DataSetConnection().IBTransactionDATSS);
    }
    return statement;
  } catch (...) {  // no statement: the caller checks for null
    return nullptr;
  }
}

}  // namespace

std::unique_ptr<TIBQuery> CreateAccQuery(const std::string& Name, bool Snapshot) {
  return CreateStatement<TIBQuery>(Name, Snapshot);
}

std::unique_ptr<TIBSQL> CreateAccSQL(const std::string& Name, int Snapshot) {
  return CreateStatement<TIBSQL>(Name, Snapshot == 1);
}
