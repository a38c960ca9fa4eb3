// The data-set records that an exchange reads and writes over a connection of
// its own (separate from the data module's, so the data set can be reached
// while the data module has it closed around the exchange): the combine
// settings a receive keeps, the approved-journal test, the data version sent
// with a cloud check-in, the cloud-area link and the time of the last cloud
// exchange. Each call opens the connection, runs its statements, ends the
// transaction and disconnects.
#pragma once

#include <cstdint>

#include "comm/tusinstate.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/datetime.h"

// The cloud columns (CLOUD_LINE, CLOUD_TIME) exist from data version 11.0.1
// on: (major, minor1, minor2) compared with (11, 0, 1) in that order.
bool CloudColumnsPresent(std::int32_t Major, std::int32_t Minor1, std::int32_t Minor2);

class TExchangeRecords {
 public:
  explicit TExchangeRecords(TTusinState& State);
  ~TExchangeRecords();
  TExchangeRecords(const TExchangeRecords&) = delete;
  TExchangeRecords& operator=(const TExchangeRecords&) = delete;

  // ACCREG 基本設定 / 合算データ区分 and 合算データ数 into the state's saved
  // combine kind and count. Always 1.
  int ReadCombineSettings();
  // The saved kind and count written back. Always 1.
  int WriteCombineSettings();
  // True when a journal line carries an approval.
  bool HasApprovedJournals();
  // ReadVersion: ACCVERSION row 1 into the state's cloud data version.
  // Otherwise: CLOUD_LINE set to 0 when the data version has the cloud
  // columns. False after a statement error.
  bool ReadVersionOrClearCloudLine(bool ReadVersion);
  // CLOUD_TIME set to Time when the data version has the cloud columns.
  // False after a statement error.
  bool WriteCloudTime(TDateTime Time);

  // The database name of the exchange's own connection.
  std::string DatabaseName() const;

  TIBDatabase IBDatabaseDAT;
  TIBTransaction IBTransaction1;
  TIBSQL IBSQL3;

 private:
  void Connect();
  void EndConnection(bool Commit) noexcept;
  // Reads ACCVERSION row 1; false when there is none.
  bool ReadVersionRow(std::int32_t& Major, std::int32_t& Minor1, std::int32_t& Minor2);

  TTusinState& state_;
};
