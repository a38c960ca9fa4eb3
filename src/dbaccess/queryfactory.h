// Free-standing statements on the system database ("ACCDEF") or on the
// chosen data set's database (any other name, callers pass "ACCDAT"), for
// routines that need a statement of their own beside the data module's
// shared ones. The caller owns the object; nothing (null) when it cannot be
// made. The caller starts and ends its transaction.
#pragma once

#include <memory>
#include <string>

#include "platform/fb/ibsql.h"

// A query on the database's default transaction, or, with Snapshot on the
// data set, on the snapshot transaction IBTransactionDATSS.
std::unique_ptr<TIBQuery> CreateAccQuery(const std::string& Name, bool Snapshot);
// A plain statement; the snapshot transaction only when Snapshot is exactly 1.
std::unique_ptr<TIBSQL> CreateAccSQL(const std::string& Name, int Snapshot);
