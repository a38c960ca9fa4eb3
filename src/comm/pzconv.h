// TxPzConv: the code-conversion component of the data-communication window.
// This system uses its Base64 coding only: company names travel Base64-coded
// in the member service's status requests and slot tables.
#pragma once

#include <string>
#include <string_view>

class TxPzConv {
 public:
  enum TJisByteCodeType { btAscii, btJis };
  enum TJisKanaConvType { ktZenWithDaku, ktZen, ktHan };

  TJisByteCodeType JisByteCodeType = btAscii;
  TJisKanaConvType JisKanaConvType = ktZenWithDaku;

  // Standard Base64 (alphabet A-Z a-z 0-9 + /, "=" padding, no line breaks).
  static std::string EncodeBase64(std::string_view Text);
  // Decodes complete groups of four characters; "=" padding yields no bytes
  // (so "YWI=" gives "ab"), every other byte, zero bytes included, is kept.
  // A character outside the alphabet ends its group's data like padding;
  // characters after the last complete group are ignored.
  static std::string DecodeBase64(std::string_view Text);
};
