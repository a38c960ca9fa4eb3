// The member service as the data-communication window uses it: the slot
// table of a communication ID, the use state of a cloud area, the reports and
// check-out starts whose reply carries a time, and the completion report of a
// cloud check-out. Messages are returned as notices for the window to show.
#pragma once

#include <functional>
#include <string>

#include "comm/commnotice.h"
#include "comm/slottable.h"
#include "comm/statusrequest.h"
#include "platform/rtl/datetime.h"

// The slot number as its two-digit text ("01" .. "10").
std::string SlotText(int Slot);

struct TSlotTableQuery {
  int OperationCode = 0;     // the window's operation code (SyoriType)
  bool Auto = false;         // the window's Auto flag
  std::string CommId;        // the data set's communication ID (WEB_HOLDER)
  std::string CashBookCommId;  // the cash-book communication ID (TUSIN_ID.HOLDER)
};

// A request whose line 5 carries a value and line 6 the result code.
struct TValueReply {
  bool Received = false;     // false: no connection, or the reply could not be read
  std::string Error;         // why, when not received
  std::string Value;         // line 5 from column 8
  std::string Code;          // line 6 from column 11
  std::string Line5;         // the whole line 5
  TStatusReply Reply;
};

class TMemberService {
 public:
  TSlotTable SlotTable;
  // The last 1833 or 1823 time, as text "YYYY/MM/DD hh:mm:ss" and as a value.
  std::string LastUpdateText;
  TDateTime LastUpdate = 0;

  // Request code and fields of the slot table for an operation (1720, 1723 or
  // 1724), and whether the reply has the cloud form.
  static int SlotTableCode(const TSlotTableQuery& Query, TQueryFields& Fields, std::string& CommId,
                           bool& CloudForm);

  // Reads the slot table into SlotTable; true on "000". On false Notice holds
  // the message; ConnectionFailed tells the window to disable F5 and F12.
  bool GetSlotTable(const TSlotTableQuery& Query, TCommNotice& Notice, bool& ConnectionFailed);

  // Request 1730 for the area with the use state; true on "000". A refused
  // request fills Notice; a failed connection raises ETransferError for the
  // caller to handle.
  bool SetCloudShareUse(const std::string& CommId, int Area, int State, TCommNotice& Notice);

  // A request whose reply carries a value on line 5 (1810, 1820, 1823, 1830,
  // 1833). Never raises.
  TValueReply RequestWithValue(int Code, const std::string& CommId, const TQueryFields& Fields);

  // The check-out start (1833) for the area; when it succeeded, LastUpdate and
  // LastUpdateText hold the service's time. A reply that was read but whose
  // time is no valid date counts as received with an empty time.
  TValueReply CheckOutStart(const std::string& CommId, int Area);

  // The completion report of a cloud check-out: 1833 for the area, then the
  // service's time written as the data set's CLOUD_TIME through
  // WriteCloudTime. True only when the service answered "000" and the time
  // was written; otherwise Notice holds the message.
  bool FinishCloudReceive(const std::string& CommId, int Area,
                          const std::function<bool(TDateTime)>& WriteCloudTime, TCommNotice& Notice);
};

// The fields of a send report (1820, 1823) or cash-book send (1810): slot,
// company name, fiscal-year number, fiscal start and end, password and the
// data version (major, first minor).
TQueryFields SendReportFields(const std::string& SlotText, const std::string& CompanyName, int Nendo,
                              TDateTime Kishu, TDateTime Kimatu, const std::string& Password, int VerMajor,
                              int VerMinor);
