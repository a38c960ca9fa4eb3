// Registry emulation. The HKEY_LOCAL_MACHINE tree lives in one settings file
// (CP932, CRLF; RegistryFilePath() unless a file is given): one section per key
// path, written with "\" between the parts ("SOFTWARE\Maker\Product"), and one
// name=value line per value. Integers are stored as plain decimal numbers.
// Key paths and value names compare without regard to case (ASCII).
//
// TRegistry follows the shape of the Delphi class: open a key (absolute when it
// starts with "\", else relative to the open key), read or write values, close.
// Sub-keys are enumerated in sorted order, without regard to case.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/sysutils.h"

using HKEY = std::uintptr_t;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// A value that cannot be read as the asked type, or a write that failed.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

// Value kinds as the file can tell them apart: a value whose text is a plain
// decimal integer (optional "-") reads as an integer, any other as a string.
enum class TRegDataType { rdUnknown, rdString, rdInteger };

class TRegistry {
 public:
  // The registry file; the default is RegistryFilePath() at construction.
  TRegistry();
  explicit TRegistry(std::string fileName);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  const std::string& FileName() const;

  // Only HKEY_LOCAL_MACHINE (the default) is kept; under any other root no key
  // exists and every open fails.
  HKEY RootKey() const;
  void SetRootKey(HKEY root);

  // Opens a key; with canCreate the key (and its parents) is created when
  // missing. False when the key does not exist and may not be created.
  bool OpenKey(std::string_view key, bool canCreate);
  bool OpenKeyReadOnly(std::string_view key);
  void CloseKey();
  // The open key's full path ("" = the root), as first written.
  std::string CurrentPath() const;

  // `key` absolute or relative to the open key, like OpenKey.
  bool KeyExists(std::string_view key) const;
  bool ValueExists(std::string_view name) const;
  TRegDataType GetDataType(std::string_view name) const;

  // Values of the open key. A missing value reads as "" / throws for integers
  // (as the Delphi class does); ReadInteger of a non-integer text throws.
  std::string ReadString(std::string_view name) const;
  int ReadInteger(std::string_view name) const;           // throws ERegistryException
  void WriteString(std::string_view name, std::string_view value);   // throws ERegistryException
  void WriteInteger(std::string_view name, int value);                // throws ERegistryException
  bool DeleteValue(std::string_view name);

  // Direct sub-keys of the open key (names only), sorted without regard to case.
  std::vector<std::string> GetKeyNames() const;
  // Value names of the open key in file order.
  std::vector<std::string> GetValueNames() const;
  bool HasSubKeys() const;
  // Deletes a key with all its sub-keys and values; true when it existed.
  bool DeleteKey(std::string_view key);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
