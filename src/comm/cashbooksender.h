// TCashBookSender: before the data set is sent to a client's cash book, marks
// the cash entries in their link columns so that the cash book, and later the
// cash-book loader's merge, can tell where each entry came from. It writes
// nothing else and sends nothing itself.
//
// The cash-book send of the data communication uses it so:
//   TCashBookSender sender;
//   sender.SendModeOverride = 0; sender.SendMode = 0;
//   sender.Execute();
//   done = sender.ResultCode() == 1;
#pragma once

#include <cstdint>

#include "comm/pelorinlog.h"
#include "platform/fb/ibx.h"

class TCashBookSender {
 public:
  TCashBookSender();
  virtual ~TCashBookSender() = default;
  TCashBookSender(const TCashBookSender&) = delete;
  TCashBookSender& operator=(const TCashBookSender&) = delete;

  std::int32_t SendModeOverride = 0;   // 1 forces SendMode 1
  std::uint8_t SendMode = 1;           // 0 full marking, 1 marking of unmarked live entries

  // Marks the entries in the data set's transaction (started and committed
  // here unless the caller has it active). Never throws: a failure is
  // rolled back, logged and shown.
  virtual void Execute();
  std::int32_t ResultCode() const { return PelorinResultCode(log_); }
  const TPelorinSyoriLog& Log() const { return log_; }

 private:
  TIBSQL select_;
  TIBSQL update_;
  TPelorinSyoriLog log_;
};
