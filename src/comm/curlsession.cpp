#include "comm/curlsession.h"

#include <mutex>
#include <new>

#include "comm/commsettings.h"

CurlPtr NewCurlHandle() {
  static std::once_flag once;
  static CURLcode initResult = CURLE_OK;
  std::call_once(once, [] { initResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
  if (initResult != CURLE_OK) throw ETransferError(initResult, curl_easy_strerror(initResult));
  CurlPtr curl(curl_easy_init());
  if (!curl) throw ETransferError(CURLE_FAILED_INIT, "the transfer library could not start");
  return curl;
}

void AppendSlist(SlistPtr& list, const std::string& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.c_str());
  if (!grown) throw std::bad_alloc();
  list.release();
  list.reset(grown);
}

void ApplyTimeouts(CURL* curl) {
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, CommSettings.ConnectTimeout);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, CommSettings.StallTimeout);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
}

std::string CurlErrorText(CURLcode code, const char* errorBuffer) {
  if (errorBuffer && errorBuffer[0]) return errorBuffer;
  return curl_easy_strerror(code);
}
