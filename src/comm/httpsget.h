// One HTTPS GET request of HTTP/1.0 with TLS 1.2 or newer and a verified
// server certificate (the system's trust store, or CommSettings.CaFile).
#pragma once

#include <string>
#include <utility>
#include <vector>

struct THttpReply {
  long Status = 0;
  // Header lines of the reply, each split at its first ":" only (so a value
  // "host:2121" stays whole), name and value trimmed of blanks.
  std::vector<std::pair<std::string, std::string>> Headers;
  std::string Body;
};

// Splits one header line at its first ":"; false when the line has none.
bool SplitHeaderLine(const std::string& Line, std::string& Name, std::string& Value);

// GET https://Host:Port + PathAndQuery with the extra header lines.
// Throws ETransferError when no reply could be read.
THttpReply HttpsGet(const std::string& Host, int Port, const std::string& PathAndQuery,
                    const std::vector<std::string>& ExtraHeaders);
