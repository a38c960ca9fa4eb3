#include "taxdb/taxdb.h"

#include "platform/rtl/sysutils.h"

TTaxDataConnection TaxData;

namespace {
constexpr const char* kNotConnected = "データベースに接続されていません。";
}

TIBTransaction* TaxTransaction() {
  if (TaxData.Database == nullptr || TaxData.Transaction == nullptr) throw Exception(kNotConnected);
  return TaxData.Transaction;
}

TIBTransaction* TaxSnapshotTransaction() {
  if (TaxData.Database == nullptr || TaxData.SnapshotTransaction == nullptr) throw Exception(kNotConnected);
  return TaxData.SnapshotTransaction;
}

std::unique_ptr<TIBSQL> NewTaxStatement(TIBTransaction* transaction, std::initializer_list<const char*> lines) {
  if (TaxData.Database == nullptr) throw Exception(kNotConnected);
  auto sql = std::make_unique<TIBSQL>();
  sql->SetDatabase(TaxData.Database);
  sql->SetTransaction(transaction);
  for (const char* line : lines) sql->SQL.Add(line);
  return sql;
}
