// Reading and writing the input and output messages of the server routines
// through the offsets and types of their layout (which the caller owns).
#pragma once

#include <firebird/Interface.h>

#include <string>
#include <vector>

namespace udr {

constexpr unsigned kCharsetAscii = 2;
constexpr unsigned kCharsetUtf8 = 4;

// The type that a routine asks the engine to convert one parameter to.
struct Param {
  unsigned type;     // SQL_VARYING, SQL_LONG, SQL_INT64, SQL_BLOB
  unsigned length;   // bytes
  int charset;       // -1: not set
  static Param Text(unsigned bytes, unsigned cs) { return {SQL_VARYING, bytes, static_cast<int>(cs)}; }
  static Param Integer() { return {SQL_LONG, 4, -1}; }
  static Param Bigint() { return {SQL_INT64, 8, -1}; }
  static Param Blob() { return {SQL_BLOB, 8, -1}; }
};

void Describe(Firebird::ThrowStatusWrapper* status, Firebird::IMetadataBuilder* builder,
              const std::vector<Param>& params);

class Message {
 public:
  Message(Firebird::ThrowStatusWrapper* status, Firebird::IMessageMetadata* meta, void* buffer);
  Message(const Message&) = delete;
  Message& operator=(const Message&) = delete;

  bool IsNull(unsigned index) const;
  std::string Text(unsigned index) const;   // empty for null
  ISC_QUAD BlobId(unsigned index) const;

  void SetNull(unsigned index);
  void SetText(unsigned index, const std::string& text);  // cut to the field's length
  void SetInteger(unsigned index, int value);
  void SetBigint(unsigned index, ISC_INT64 value);
  void SetBlobId(unsigned index, const ISC_QUAD& id);

 private:
  unsigned char* Field(unsigned index) const;
  short* NullFlag(unsigned index) const;

  Firebird::ThrowStatusWrapper* status_;
  Firebird::IMessageMetadata* meta_;
  unsigned char* buffer_;
};

}  // namespace udr
