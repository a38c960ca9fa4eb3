// EIBError: every failure of the database layer. Carries the message the
// client library composed (UTF-8), the SQLCODE and the first ISC status code
// (335544665 unique key, 335544345 lock conflict, 335544344 I/O error,
// 335544721 network failure, 335544333 internal consistency check, ...).
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/sysutils.h"

class EIBError : public Exception {
 public:
  EIBError(const std::string& message, std::int32_t sqlCode, std::int32_t ibErrorCode)
      : Exception(message), sqlCode_(sqlCode), ibErrorCode_(ibErrorCode) {}

  std::int32_t SQLCode() const { return sqlCode_; }
  std::int32_t IBErrorCode() const { return ibErrorCode_; }

 private:
  std::int32_t sqlCode_;
  std::int32_t ibErrorCode_;
};

// Status codes the program decides on.
namespace ibcodes {
inline constexpr std::int32_t kArithExcept = 335544321;      // arithmetic / string truncation
inline constexpr std::int32_t kBadDbFormat = 335544323;
inline constexpr std::int32_t kBadDpbContent = 335544325;    // bad parameters on attach or create
inline constexpr std::int32_t kBugCheck = 335544333;         // internal consistency check
inline constexpr std::int32_t kConvertError = 335544334;     // conversion error from string
inline constexpr std::int32_t kIoError = 335544344;          // file cannot be opened, read or written
inline constexpr std::int32_t kLockConflict = 335544345;     // lock conflict on no wait transaction
inline constexpr std::int32_t kNoCur = 335544348;            // no current record for fetch
inline constexpr std::int32_t kUniqueKeyViolation = 335544665;
inline constexpr std::int32_t kNetworkError = 335544721;     // network request failed / connection lost
inline constexpr std::int32_t kLoginFailed = 335544472;      // user name and password are not defined
inline constexpr std::int32_t kDeadlock = 335544336;
inline constexpr std::int32_t kUpdateConflict = 335544451;
inline constexpr std::int32_t kForeignKey = 335544466;
inline constexpr std::int32_t kNotValid = 335544347;         // validation error for column
}  // namespace ibcodes
