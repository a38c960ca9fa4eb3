#include "platform/fb/fbapi.h"

#include <ibase.h>

#include <cctype>
#include <vector>

#include "platform/rtl/cp932.h"

namespace fbapi {

Firebird::IMaster* Master() {
  static Firebird::IMaster* master = Firebird::fb_get_master_interface();
  return master;
}

Firebird::IUtil* Util() { return Master()->getUtilInterface(); }

Firebird::IProvider* Provider() {
  // One dispatcher for the whole run; it routes each name to the embedded
  // engine, the remote client or the loopback provider.
  static Firebird::IProvider* provider = Master()->getDispatcher();
  return provider;
}

Status::Status() : raw_(Master()->getStatus()), wrapper_(raw_) {}
Status::~Status() { raw_->dispose(); }

bool Status::Failed() const {
  return (raw_->getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

void Status::Check() {
  if (Failed()) ThrowStatus(raw_);
}

void ThrowStatus(Firebird::IStatus* status) {
  const intptr_t* vector = status->getErrors();
  std::int32_t code = 0;
  if (vector && vector[0] == isc_arg_gds) code = static_cast<std::int32_t>(vector[1]);
  std::int32_t sqlCode = vector ? isc_sqlcode(vector) : 0;
  std::vector<char> buffer(8192);
  Util()->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
  throw EIBError(ServerTextToUtf8(buffer.data()), sqlCode, code);
}

void Fail(const std::string& message, std::int32_t ibErrorCode, std::int32_t sqlCode) {
  throw EIBError(message, sqlCode, ibErrorCode);
}

namespace {

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t extra;
    if (c < 0x80) extra = 0;
    else if ((c & 0xE0) == 0xC0) extra = 1;
    else if ((c & 0xF0) == 0xE0) extra = 2;
    else if ((c & 0xF8) == 0xF0) extra = 3;
    else return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

std::string ServerTextToUtf8(std::string_view text) {
  // Engine messages are ASCII; names and values inside them come either in
  // the connection's character set (CP932) or in the metadata's UTF-8.
  if (IsValidUtf8(text)) return std::string(text);
  return Cp932ToUtf8Lossy(text);
}

std::string Utf8ToServerText(std::string_view utf8) {
  try {
    return Utf8ToCp932(utf8);
  } catch (const std::exception& e) {
    Fail(std::string("Cannot transliterate character to CP932: ") + e.what(), 335544565, -104);
  }
}

Xpb::Xpb(unsigned kind) {
  Status st;
  builder_ = Util()->getXpbBuilder(&st, kind, nullptr, 0);
  st.Check();
}

Xpb::~Xpb() { builder_->dispose(); }

void Xpb::Tag(unsigned char tag) {
  Status st;
  builder_->insertTag(&st, tag);
  st.Check();
}

void Xpb::Int(unsigned char tag, int value) {
  Status st;
  builder_->insertInt(&st, tag, value);
  st.Check();
}

void Xpb::String(unsigned char tag, const std::string& value) {
  Status st;
  builder_->insertString(&st, tag, value.c_str());
  st.Check();
}

const unsigned char* Xpb::Buffer() {
  Status st;
  const unsigned char* buffer = builder_->getBuffer(&st);
  st.Check();
  return buffer;
}

unsigned Xpb::Length() {
  Status st;
  unsigned length = builder_->getBufferLength(&st);
  st.Check();
  return length;
}

bool IsRemoteName(std::string_view name) {
  if (name.rfind("inet://", 0) == 0 || name.rfind("inet4://", 0) == 0) return true;
  std::size_t colon = name.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  if (name[0] == '/' || name[0] == '.') return false;
  if (colon == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) return false;  // drive letter
  return true;
}

}  // namespace fbapi
