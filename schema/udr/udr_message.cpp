#include "udr_message.h"

#include <ibase.h>

#include <cstring>

namespace udr {

void Describe(Firebird::ThrowStatusWrapper* status, Firebird::IMetadataBuilder* builder,
              const std::vector<Param>& params) {
  for (unsigned i = 0; i < params.size(); ++i) {
    const Param& p = params[i];
    builder->setType(status, i, p.type | 1);  // nullable
    builder->setLength(status, i, p.length);
    if (p.type == SQL_LONG || p.type == SQL_INT64) builder->setScale(status, i, 0);
    if (p.charset >= 0) builder->setCharSet(status, i, static_cast<unsigned>(p.charset));
  }
}

Message::Message(Firebird::ThrowStatusWrapper* status, Firebird::IMessageMetadata* meta, void* buffer)
    : status_(status), meta_(meta), buffer_(static_cast<unsigned char*>(buffer)) {}

unsigned char* Message::Field(unsigned index) const { return buffer_ + meta_->getOffset(status_, index); }

short* Message::NullFlag(unsigned index) const {
  return reinterpret_cast<short*>(buffer_ + meta_->getNullOffset(status_, index));
}

bool Message::IsNull(unsigned index) const { return *NullFlag(index) != 0; }

std::string Message::Text(unsigned index) const {
  if (IsNull(index)) return std::string();
  const unsigned char* p = Field(index);
  const unsigned type = meta_->getType(status_, index) & ~1u;
  if (type == SQL_VARYING) {
    unsigned short n;
    std::memcpy(&n, p, sizeof n);
    return std::string(reinterpret_cast<const char*>(p + sizeof n), n);
  }
  if (type == SQL_TEXT) {
    std::string s(reinterpret_cast<const char*>(p), meta_->getLength(status_, index));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  return std::string();
}

ISC_QUAD Message::BlobId(unsigned index) const {
  ISC_QUAD id;
  std::memcpy(&id, Field(index), sizeof id);
  return id;
}

void Message::SetNull(unsigned index) { *NullFlag(index) = -1; }

void Message::SetText(unsigned index, const std::string& text) {
  unsigned char* p = Field(index);
  const unsigned capacity = meta_->getLength(status_, index);
  const unsigned short n = static_cast<unsigned short>(text.size() < capacity ? text.size() : capacity);
  std::memcpy(p, &n, sizeof n);
  std::memcpy(p + sizeof n, text.data(), n);
  *NullFlag(index) = 0;
}

void Message::SetInteger(unsigned index, int value) {
  const ISC_LONG v = value;
  std::memcpy(Field(index), &v, sizeof v);
  *NullFlag(index) = 0;
}

void Message::SetBigint(unsigned index, ISC_INT64 value) {
  std::memcpy(Field(index), &value, sizeof value);
  *NullFlag(index) = 0;
}

void Message::SetBlobId(unsigned index, const ISC_QUAD& id) {
  std::memcpy(Field(index), &id, sizeof id);
  *NullFlag(index) = 0;
}

}  // namespace udr
