// The checks with which the data-communication window refuses an operation
// started by its process name (relay send and receive, cash-book send and
// receive, master send, server check), before and after the slot table is
// fetched. Each returns the notice to show (empty when the operation may go
// on) and sets the window's result then in force.
#pragma once

#include <cstdint>
#include <string>

#include "comm/commnotice.h"
#include "comm/slottable.h"

// Operation codes of the window started by name.
enum : std::int32_t {
  opRelaySend = 1,
  opRelayReceive = 2,
  opCashBookSend = 3,
  opCashBookReceive = 4,
  opMasterSend = 5,
  opAutoReceive = 6,
  opAutoSend = 7,
  opServerCheck = 8,
  opCashBookSend3 = 9,
  opCashBookReceive3 = 10,
};

// What the checks before the slot table look at.
struct TDispatchFacts {
  std::int32_t Code = 0;
  std::uint8_t AppKind = 0;
  std::uint8_t ConnectKind = 0;
  std::int32_t CloudArea = 0;          // ACCDEF1 CLOUD_LINE
  std::string CommId, CommPassword;    // ACCDEF1 WEB_HOLDER and PASWORD
  std::string CashId, CashPassword;    // TUSIN_ID REC 1
  bool OtherWindowOpen = false;        // the host's menu hook reports another window
  bool ApprovedJournals = false;
  std::uint8_t CombinedKind = 0;       // 1 or 2: a combined data set
  std::string ProcessName = "データ通信";
};

// The operation code the window works with after the start parameter
// SyoriType (a missing, non-numeric or negative value keeps Current).
std::int32_t OperationCodeOf(const std::string& Value, std::int32_t Current);
// The caption of an operation code ("" for the cloud codes).
std::string OperationCaption(std::int32_t Code, std::uint8_t AppKind);

// The refusal before the slot table is fetched (the send confirmation of the
// cash-book sends is the caller's).
TCommNotice DispatchRefusal(const TDispatchFacts& Facts, std::int32_t& Result);
// The notice for a data set attached by another operator: a question under
// the caption (Yes goes on), or under AppKind 3 a warning that ends.
TCommNotice AttachedElsewhereNotice(const std::string& Caption, std::uint8_t AppKind);
// The refusal after the slot table: a send while slot 3 holds full data of
// the same period start (DataKishu "yyyy/mm/dd"), a master send while slot 1
// holds data, a receive without data in its slots (Result 0; the automatic
// receive ends without a notice). True when the run ends.
bool SlotRefusal(std::int32_t Code, const TSlotTable& Table, const std::string& DataKishu, std::int32_t& Result,
                 TCommNotice& Notice);
// Whether a cash-book slot (1..3) holds data.
bool SlotHoldsData(const TSlotTable& Table, int Slot);
