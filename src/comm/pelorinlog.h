// The processing log of the cash-book loader and sender: entries in the order
// they were added, the result code read from them, and the log file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One log entry or result record.
struct TPelorinSyoriInfo {
  std::string Name;          // producing component; empty in log entries
  std::uint8_t Kind = 0;     // 0 none, 1 情報, 2 警告, 3 エラー
  std::int32_t Number = 0;   // negative for failures
  std::string Text;
};
using TPelorinSyoriLog = std::vector<TPelorinSyoriInfo>;

inline constexpr std::uint8_t kSyoriInfo = 1;
inline constexpr std::uint8_t kSyoriWarning = 2;
inline constexpr std::uint8_t kSyoriError = 3;

// The number of the first entry that is an error or has number 1, else the
// number of the last entry; 0 for an empty log.
std::int32_t PelorinResultCode(const TPelorinSyoriLog& Log);
// "", "情報", "警告", "エラー".
std::string PelorinKindText(std::uint8_t Kind);
// The log as file text (UTF-8): one line per entry of three fields, each
// followed by its separator ("," with the fields in apostrophes, or TAB),
// the line ended by CR LF and followed by an empty line.
std::string PelorinLogText(const TPelorinSyoriLog& Log, bool Csv);
// Writes the log in CP932 (CSV when the name ends in ".csv", any case; text
// otherwise) through a work file, so that an earlier file stays whole when
// the write fails. False when the folder does not pass the save-folder check
// or the write failed.
bool SavePelorinLog(const TPelorinSyoriLog& Log, const std::string& FileName);
