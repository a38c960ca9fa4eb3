// Internal: the Firebird OO API entry points, status checking and text
// conversion shared by the components. Not for use outside this folder.
#pragma once

#include <firebird/Interface.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/fb/iberror.h"

namespace fbapi {

Firebird::IMaster* Master();
Firebird::IUtil* Util();
Firebird::IProvider* Provider();

// A status vector that disposes itself.
class Status {
 public:
  Status();
  ~Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
  Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
  Firebird::CheckStatusWrapper* get() { return &wrapper_; }
  bool Failed() const;
  // Throws EIBError when the last call failed.
  void Check();

 private:
  Firebird::IStatus* raw_;
  Firebird::CheckStatusWrapper wrapper_;
};

[[noreturn]] void ThrowStatus(Firebird::IStatus* status);
// A failure of the layer itself (not reported by the server).
[[noreturn]] void Fail(const std::string& message, std::int32_t ibErrorCode = 0, std::int32_t sqlCode = 0);

// Text from the server (messages, CP932) to UTF-8 without ever failing.
std::string ServerTextToUtf8(std::string_view text);
// UTF-8 to CP932 for the server; EIBError (conversion error) when a
// character has no CP932 form.
std::string Utf8ToServerText(std::string_view utf8);

// A parameter block built from "name=value" lines.
class Xpb {
 public:
  Xpb(unsigned kind);
  ~Xpb();
  Xpb(const Xpb&) = delete;
  Xpb& operator=(const Xpb&) = delete;
  void Tag(unsigned char tag);
  void Int(unsigned char tag, int value);
  void String(unsigned char tag, const std::string& value);
  const unsigned char* Buffer();
  unsigned Length();

 private:
  Firebird::IXpbBuilder* builder_;
};

bool IsRemoteName(std::string_view name);

}  // namespace fbapi
