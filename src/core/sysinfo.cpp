#include "core/sysinfo.h"

#include <sys/utsname.h>

#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace {

constexpr const char* kSystemFolder = "/usr";

std::string OrProgramDir(const std::string& dir) {
  return ExcludeTrailingDelimiter(dir.empty() ? ProgramDir() : dir);
}

// "\040" and the other octal escapes of the mount table.
std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size()) {
      const std::string oct = s.substr(i + 1, 3);
      if (oct.find_first_not_of("01234567") == std::string::npos) {
        out += static_cast<char>(std::stoi(oct, nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

bool IsNetworkFileSystem(const std::string& type) {
  return type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type == "smbfs" ||
         type == "fuse.sshfs" || type == "9p";
}

}  // namespace

void GetPcName(std::string& Name) {
  if (ConnectKind == ckSbc) {
    Name = SystemDef.WinUserName.empty() ? "ANONYMOUS" : SystemDef.WinUserName;
    return;
  }
  const auto name = ComputerName();
  Name = name && !name->empty() ? name->substr(0, 200) : "PCNAME-ERROR";
}

void GetWindowsUserName(std::string& Name) { Name = LogonUserName().substr(0, 1024); }

int GetOSMajorVersion() {
  utsname u{};
  if (uname(&u) != 0) return 0;
  return StrToIntDef(std::string(u.release).substr(0, std::string(u.release).find('.')), 0);
}

void GetSystemDir(std::string& Dir) { Dir = kSystemFolder; }
void GetSystemFolderPath(std::string& Dir) { Dir = kSystemFolder; }
std::string SystemDriveRoot() { return "/"; }

void GetMyDocumentsDir(std::string& Dir) { Dir = OrProgramDir(DocumentsDir()); }

void GetAppDataDir(bool Common, std::string& Dir) { Dir = OrProgramDir(Common ? CommonAppDataDir() : UserAppDataDir()); }

void GetSpecialFolder(std::string_view Name, std::string& Dir) {
  if (SameText(Name, "desktop")) Dir = OrProgramDir(DesktopDir());
  else if (SameText(Name, "mydocument")) Dir = OrProgramDir(DocumentsDir());
  else Dir = OrProgramDir("");
}

void GetTempDir(const std::string& Default, std::string& Dir) {
  const std::string temp = ExcludeTrailingDelimiter(TempDir());
  Dir = !temp.empty() && DirectoryExists(temp) ? temp : Default;
}

void GetUNCPath(const std::string& Path, std::string& Result) {
  Result = Path;
  std::ifstream mounts("/proc/self/mounts");
  if (!mounts) throw Exception("マウント情報を参照できませんでした。");
  std::string line, bestPoint, bestSource, bestType;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string source, point, type;
    if (!(fields >> source >> point >> type)) continue;
    point = Unescape(point);
    const bool under = Path == point || (Path.size() > point.size() && Path.compare(0, point.size(), point) == 0 &&
                                         (point == "/" || Path[point.size()] == '/'));
    if (under && point.size() >= bestPoint.size()) {
      bestPoint = point;
      bestSource = Unescape(source);
      bestType = type;
    }
  }
  if (bestPoint.empty() || !IsNetworkFileSystem(bestType)) return;
  const std::string rest = Path.substr(bestPoint == "/" ? 0 : bestPoint.size());
  Result = ExcludeTrailingDelimiter(bestSource) + rest;
}

void GetShortPath(const std::string& LongPath, std::string& ShortPath) {
  if (LongPath.empty() || !PathExists(LongPath)) throw EConvertError("ファイルが見つかりません。");
  ShortPath = LongPath;
}

std::string ExcludeTrailingDelimiter(std::string_view Path) { return ExcludeTrailingPathDelimiter(Path); }
std::string IncludeTrailingDelimiter(std::string_view Path) { return IncludeTrailingPathDelimiter(Path); }
