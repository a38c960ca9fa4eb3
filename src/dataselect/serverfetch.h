// Fetch and store of a shared-server data set in stand-alone mode: the shared
// copy in the row's area (PasName) is taken into the local working folder
// (DataFolder) and marked taken (KyoyuLock 1), or put back and released.
//
// Both work through staging folders: the new copies of a data set and of its
// distributed-input children are made beside their places first and swapped
// in only after every copy succeeded, so a copy that fails half way leaves
// the old copies (shared and local) as they were and the mark unchanged.
#pragma once

#include <cstdint>

#include "dataselect/datalistctl.h"

// Results: 1 done; 0 not done (nothing to do, not readable, copy failed);
// -1 refused (damaged or in use). Silent 1 suppresses the not-readable box
// and makes the copies silent; the damage and in-use boxes always show.
std::int32_t KyoyuDataDown(TDataSentakuListCtl& Ctl, TDataSentakuRec& Row, std::int32_t Silent);
std::int32_t KyoyuDataUp(TDataSentakuListCtl& Ctl, TDataSentakuRec& Row, std::int32_t Silent);
