// TGamenKeyValue: the text a dialog saved for the operator under a key
// (table STYLECOLOR of the system database, style name "020-" + the key in
// upper case, at most 40 bytes), read back the next time the dialog opens.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fb/ibx.h"

class TGamenKeyValue {
 public:
  TGamenKeyValue();

  std::int32_t OpCode = 0;       // the operator at creation
  std::string Prefix = "020-";
  std::string StyleName;
  std::string Value;

  void FukugenValue(const std::string& Key, std::string& Value);
  void HozonValue(const std::string& Key, const std::string& Value);
  void ClearValue() { Value.clear(); }
  void MakeStyleName(const std::string& Key);

 private:
  TIBSQL sql_;
};
