#include "comm/statusrequest.h"

#include "comm/commsettings.h"
#include "comm/curlsession.h"
#include "comm/httpsget.h"
#include "comm/pzconv.h"
#include "core/datetext.h"
#include "core/sjis.h"
#include "platform/rtl/cp932.h"

namespace {

bool IsKeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

std::string Chars(std::string_view v, std::size_t from1, std::size_t count) {
  if (from1 == 0 || from1 > v.size()) return "";
  return std::string(v.substr(from1 - 1, count));
}

}  // namespace

std::string EscapeQueryValue(std::string_view Text) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(Text.size());
  for (unsigned char c : Text) {
    if (IsKeptAsIs(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string BuildStatusRequestPath(int Code, const std::string& InstallationId, const std::string& CommId,
                                   const TQueryFields& Fields) {
  std::string path = "/request.php?Scode=" + std::to_string(Code) + "&sSno=" + EscapeQueryValue(InstallationId) +
                     "&sFName=" + EscapeQueryValue(CommId);
  for (const auto& [name, value] : Fields) path += "&" + name + "=" + EscapeQueryValue(value);
  return path;
}

std::string CompanyNameField(const std::string& CompanyName) {
  return TxPzConv::EncodeBase64(Utf8ToCp932Lossy(BlankBrokenDbcs(CompanyName)));
}

std::string DecodeCompanyName(const std::string& Base64Text) {
  return Cp932ToUtf8Lossy(TxPzConv::DecodeBase64(Base64Text));
}

TStatusReply::TStatusReply(std::string_view Body) {
  bool started = false;
  std::size_t pos = 0;
  while (pos < Body.size()) {
    auto lf = Body.find('\n', pos);
    const bool last = lf == std::string_view::npos;
    std::string line(Body.substr(pos, last ? std::string_view::npos : lf - pos));
    pos = last ? Body.size() : lf + 1;
    std::erase(line, '\r');
    if (!started && line.empty()) continue;
    started = true;
    lines_.push_back(std::move(line));
  }
}

const std::string& TStatusReply::Line(std::size_t N) const {
  static const std::string empty;
  return HasLine(N) ? lines_[N - 1] : empty;
}

std::string TStatusReply::ValueAt(std::size_t N, std::size_t Column) const {
  const std::string& line = Line(N);
  return Column >= 1 && Column <= line.size() ? line.substr(Column - 1) : std::string();
}

TStatusReply SendStatusRequest(int Code, const std::string& CommId, const TQueryFields& Fields) {
  const std::string path = BuildStatusRequestPath(Code, CommSettings.InstallationId, CommId, Fields);
  THttpReply reply =
      HttpsGet(CommSettings.MemberHost, CommSettings.MemberPort, path, {"User-Agent: Pelorin", "Connection: Close"});
  if (reply.Status != 200)
    throw ETransferError(CURLE_HTTP_RETURNED_ERROR, "the member service answered " + std::to_string(reply.Status));
  return TStatusReply(reply.Body);
}

std::string SlashTimeText(std::string_view V) {
  return Chars(V, 1, 4) + "/" + Chars(V, 6, 2) + "/" + Chars(V, 9, 2) + " " + Chars(V, 12, 2) + ":" +
         Chars(V, 15, 2) + ":" + Chars(V, 18, 2);
}

std::string CompactTimeText(std::string_view V, bool WithSeconds) {
  std::string t = Chars(V, 1, 4) + "/" + Chars(V, 5, 2) + "/" + Chars(V, 7, 2) + " " + Chars(V, 9, 2) + ":" +
                  Chars(V, 11, 2);
  if (WithSeconds) t += ":" + Chars(V, 13, 2);
  return t;
}

bool TimeTextToDateTime(const std::string& Text, TDateTime& Value) {
  Value = StrToDateFixed(Text);
  return Value != 0;
}
