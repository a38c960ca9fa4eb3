#include "core/versions.h"

#include "platform/rtl/sysutils.h"

void ParseVersion(std::string_view Text, TVersionRec& Version) {
  Version = TVersionRec{};
  Version.Text = "0.0.0.0";
  std::int32_t* fields[4] = {&Version.Major, &Version.Minor, &Version.Release, &Version.Build};
  std::size_t start = 0;
  for (int i = 0; i < 4 && start <= Text.size(); ++i) {
    std::size_t dot = Text.find('.', start);
    if (dot == std::string_view::npos) dot = Text.size();
    if (i > 0 && start == Text.size()) break;  // "11.1." has no fourth line
    *fields[i] = StrToIntDef(Text.substr(start, dot - start), 0);
    start = dot + 1;
  }
  Version.Text = std::string(Text);
}

std::uint32_t PackVersion(const TVersionRec& Version) {
  return static_cast<std::uint32_t>(Version.Major) * 65536u + static_cast<std::uint32_t>(Version.Minor) * 256u +
         static_cast<std::uint32_t>(Version.Release);
}

bool VersionRecGreater(const TVersionRec& A, const TVersionRec& B) { return PackVersion(A) > PackVersion(B); }
bool VersionRecLess(const TVersionRec& A, const TVersionRec& B) { return PackVersion(A) < PackVersion(B); }

bool VersionGreater(std::string_view A, std::string_view B) {
  TVersionRec a, b;
  ParseVersion(A, a);
  ParseVersion(B, b);
  return VersionRecGreater(a, b);
}

bool VersionGreaterOrEqual(std::string_view A, std::string_view B) {
  TVersionRec a, b;
  ParseVersion(A, a);
  ParseVersion(B, b);
  return PackVersion(a) >= PackVersion(b);
}
