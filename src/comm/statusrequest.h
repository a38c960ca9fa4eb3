// Status requests to the member service: the request line with its query
// fields, the reply read line by line at fixed columns, and the service's
// time values.
//
// A request is "GET /request.php?Scode=<code>&sSno=<installation id>
// &sFName=<communication id>" followed by the request's own fields, sent as
// HTTP/1.0 over TLS with "User-Agent: Pelorin" and "Connection: Close". The
// reply body is read as lines (up to LF, CR removed); empty lines before the
// first non-empty one are skipped, and that line counts as line 1. A result
// code is the three characters from column 11 of its line, a value the rest
// of its line from a fixed column (columns counted from 1).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/datetime.h"

// Request codes.
enum : int {
  scSlotTable = 1720,
  scCloudSlotTable = 1723,
  scCloudSlotTableAuto = 1724,
  scSetCloudUse = 1730,
  scDeleteSlot = 1750,
  scDeleteCloudSlot = 1753,
  scSendCashBook = 1810,
  scSendReport = 1820,
  scCloudSendReport = 1823,
  scReceiveReport = 1830,
  scCloudCheckOut = 1833,
};

inline constexpr const char* kResultOk = "000";
inline constexpr const char* kResultUnknownId = "920";

using TQueryFields = std::vector<std::pair<std::string, std::string>>;

// A query value made safe for the request line: every byte except letters,
// digits, "-", ".", "_", "~" and "/" becomes "%" and two lower-case hex
// digits (so "+" is "%2b" and "=" is "%3d").
std::string EscapeQueryValue(std::string_view Text);

// "/request.php?Scode=...&sSno=...&sFName=..." with the further fields; every
// value escaped.
std::string BuildStatusRequestPath(int Code, const std::string& InstallationId, const std::string& CommId,
                                   const TQueryFields& Fields);

// The company name as it travels: broken double-byte characters blanked, the
// CP932 bytes Base64-coded (then escaped with the other values).
std::string CompanyNameField(const std::string& CompanyName);
// The company name of a slot table: Base64 of CP932 bytes, back to UTF-8.
std::string DecodeCompanyName(const std::string& Base64Text);

class TStatusReply {
 public:
  TStatusReply() = default;
  // Splits a reply body into its lines as the reader takes them.
  explicit TStatusReply(std::string_view Body);

  std::size_t LineCount() const { return lines_.size(); }
  bool HasLine(std::size_t N) const { return N >= 1 && N <= lines_.size(); }
  // Line N (from 1); "" past the end.
  const std::string& Line(std::size_t N) const;
  // The rest of line N from column Column (from 1); "" when shorter.
  std::string ValueAt(std::size_t N, std::size_t Column) const;
  // The three characters from column 11 of line N (fewer when shorter).
  std::string CodeAt(std::size_t N) const { return ValueAt(N, 11).substr(0, 3); }

 private:
  std::vector<std::string> lines_;
};

// Sends one status request to the member service of CommSettings and returns
// the reply. Throws ETransferError when no reply could be read (connection,
// certificate, broken transfer, or an HTTP status other than 200).
TStatusReply SendStatusRequest(int Code, const std::string& CommId, const TQueryFields& Fields);

// Times of the service. "YYYY/MM/DD hh:mm:ss" (characters 1-4, 6-7, 9-10,
// 12-13, 15-16, 18-19) and the compact "YYYYMMDDhhmm[ss]" are recomposed as
// "YYYY/MM/DD hh:mm:ss" (or "YYYY/MM/DD hh:mm" without seconds); the
// conversions give false when the text is not a valid date and time.
std::string SlashTimeText(std::string_view Value);
std::string CompactTimeText(std::string_view Value, bool WithSeconds);
bool TimeTextToDateTime(const std::string& Text, TDateTime& Value);
