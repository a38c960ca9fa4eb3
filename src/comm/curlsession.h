// Shared libcurl set-up of the exchange: one-time library initialisation, an
// owning handle and the error text of a failed call.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <stdexcept>
#include <string>

// A transfer that could not be made: no connection, a refused certificate, a
// broken connection or a server that answered outside the protocol.
class ETransferError : public std::runtime_error {
 public:
  ETransferError(CURLcode code, const std::string& what) : std::runtime_error(what), code_(code) {}
  CURLcode Code() const { return code_; }

 private:
  CURLcode code_;
};

struct CurlFree {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
using CurlPtr = std::unique_ptr<CURL, CurlFree>;

struct SlistFree {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using SlistPtr = std::unique_ptr<curl_slist, SlistFree>;

// A new easy handle with the library initialised; throws ETransferError.
CurlPtr NewCurlHandle();
// Adds a line to a list (creating it); throws std::bad_alloc.
void AppendSlist(SlistPtr& list, const std::string& line);
// The time-outs of CommSettings: connection and stalled transfer.
void ApplyTimeouts(CURL* curl);
// The error text of a failed call: the library's detail when it gave one.
std::string CurlErrorText(CURLcode code, const char* errorBuffer);
