// The data-info block: a short Shift-JIS text appended to the very end of a
// backup file after a successful backup, so that a restore dialog can show
// what the backup holds without restoring it:
//   "## PelorinZone" CR LF, then SHOUGOU=, KISHU=, KIMATU=, SIWAKE=,
//   TOTALSIWAKE=, DATAVARSION=, GASSAN=, USEMYNUMBER= lines, each ending CR LF.
// A reader takes at most 512 bytes from the marker on and can cut the block
// off again, leaving exactly the backup data.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kDataInfoMarker = "## PelorinZone";

struct TDataInfoValues {
  std::string SHOUGOU;        // company name
  std::string KISHU;          // first day of the period
  std::string KIMATU;         // last day of the period
  std::int32_t SIWAKE = 0;    // valid journal entries
  std::int32_t TOTALSIWAKE = 0;
  std::string DATAVARSION;    // data version "%d.%d.%d" (the key is spelled so)
  std::int32_t GASSAN = 0;    // combined-data kind
  std::int32_t USEMYNUMBER = 0;

  friend bool operator==(const TDataInfoValues&, const TDataInfoValues&) = default;
};

// The nine lines of the block (UTF-8; empty when SHOUGOU is empty).
std::string DataInfoBlockText(const TDataInfoValues& Values);
// Appends the block to FileName; true when written (nothing for an empty SHOUGOU).
bool WriteDataInfoBlock(const std::string& FileName, const TDataInfoValues& Values);
// Reads the block at the end of FileName into Values (cleared first); with
// Strip the block is cut off the file. True when a company name was read.
bool ReadDataInfoBlock(const std::string& FileName, bool Strip, TDataInfoValues& Values);
