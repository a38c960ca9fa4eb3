#include "taxdb/taxdb.h"

#include "platform/rtl/sysutils.h"

namespace {
constexpr const char* kNotConnected = "データベースに接続されていません。";
}

TIBTransaction* TaxTransaction(const TTaxDataConnection& data) {
  if (data.Database == nullptr || data.Transaction == nullptr) throw Exception(kNotConnected);
  return data.Transaction;
}

TIBTransaction* TaxSnapshotTransaction(const TTaxDataConnection& data) {
  if (data.Database == nullptr || data.SnapshotTransaction == nullptr) throw Exception(kNotConnected);
  return data.SnapshotTransaction;
}

std::unique_ptr<TIBSQL> NewTaxStatement(const TTaxDataConnection& data, TIBTransaction* transaction,
                                        std::initializer_list<const char*> lines) {
  if (data.Database == nullptr) throw Exception(kNotConnected);
  auto sql = std::make_unique<TIBSQL>();
  sql->SetDatabase(data.Database);
  sql->SetTransaction(transaction);
  for (const char* line : lines) sql->SQL.Add(line);
  return sql;
}
