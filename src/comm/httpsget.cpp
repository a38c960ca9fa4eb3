#include "comm/httpsget.h"

#include "comm/commsettings.h"
#include "comm/curlsession.h"

namespace {

std::string TrimBlanks(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  static_cast<THttpReply*>(user)->Body.append(data, size * count);
  return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* reply = static_cast<THttpReply*>(user);
  std::string name, value;
  if (SplitHeaderLine(std::string(data, size * count), name, value)) reply->Headers.emplace_back(name, value);
  return size * count;
}

}  // namespace

bool SplitHeaderLine(const std::string& Line, std::string& Name, std::string& Value) {
  const auto colon = Line.find(':');
  if (colon == std::string::npos) return false;
  Name = TrimBlanks(Line.substr(0, colon));
  Value = TrimBlanks(Line.substr(colon + 1));
  return true;
}

THttpReply HttpsGet(const std::string& Host, int Port, const std::string& PathAndQuery,
                    const std::vector<std::string>& ExtraHeaders) {
  CurlPtr curl = NewCurlHandle();
  CURL* c = curl.get();
  THttpReply reply;
  char errorBuffer[CURL_ERROR_SIZE] = {0};
  const std::string url = "https://" + Host + ":" + std::to_string(Port) + PathAndQuery;
  SlistPtr headers;
  for (const auto& h : ExtraHeaders) AppendSlist(headers, h);

  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(c, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!CommSettings.CaFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, CommSettings.CaFile.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &reply);
  ApplyTimeouts(c);

  const CURLcode rc = curl_easy_perform(c);
  if (rc != CURLE_OK) throw ETransferError(rc, CurlErrorText(rc, errorBuffer));
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.Status);
  return reply;
}
