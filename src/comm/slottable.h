// The slot table of a communication ID as the member service sends it: the
// file-store host and password and ten slot blocks, of 9 lines (relay form)
// or 10 lines (cloud form).
#pragma once

#include <array>
#include <string>

#include "comm/statusrequest.h"

struct TSlotEntry {
  std::string Label;
  std::string CompanyName;       // decoded from Base64
  std::string Nendo;             // fiscal-year number
  std::string Kishu, KishuDisplay;    // fiscal start "YYYY/MM/DD hh:mm" and its display
  std::string Kimatu, KimatuDisplay;  // fiscal end
  // Relay: send time; cloud: last-update time ("YYYY/MM/DD hh:mm").
  std::string SendTime, SendTimeDisplay;
  // Cloud: the last-update time "YYYY/MM/DD hh:mm:ss" (begins with "0000" when
  // the area was never written).
  std::string LastUpdateText;
  std::string Password;
  std::string Version;           // "MMmm"
  // Relay: receive time; cloud: use start time.
  std::string ReceiveTime, ReceiveTimeDisplay;
  std::string UseState;          // cloud: "1" free, "2" in use
};

struct TSlotTable {
  std::string FtpHost;
  std::string FtpPassword;
  std::array<TSlotEntry, 10> Slots;
};

// Number of reply lines a slot table takes (code line 5 included).
std::size_t SlotTableLineCount(bool CloudForm);
// Fills Table from a reply whose line 5 carried "000". Slots whose company
// name is blank keep their previous values of block lines 3 to 10. False when
// the reply is too short (nothing is changed then).
bool ReadSlotTable(const TStatusReply& Reply, bool CloudForm, TSlotTable& Table);
