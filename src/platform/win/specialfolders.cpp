#include "platform/win/specialfolders.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

#include "platform/win/paths.h"

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string Folder(std::string path) { return ExcludeTrailingPathDelimiter(path); }

// XDG_<NAME>_DIR from user-dirs.dirs: a line like XDG_DOCUMENTS_DIR="$HOME/Dokumente".
std::string XdgUserDir(const std::string& key) {
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty()) config = PathJoin(HomeDir(), ".config");
  std::ifstream in(PathJoin(config, "user-dirs.dirs"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key + "=", 0) != 0) continue;
    std::string value = line.substr(key.size() + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = HomeDir() + value.substr(5);
    if (value.empty() || value[0] != '/') return {};
    return Folder(value);
  }
  return {};
}

std::string XdgDataHome() {
  std::string dir = Env("XDG_DATA_HOME");
  if (!dir.empty()) return Folder(dir);
  return PathJoin(HomeDir(), ".local/share");
}

}  // namespace

std::string HomeDir() {
  std::string home = Env("HOME");
  if (!home.empty()) return Folder(home);
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_dir) return Folder(pw->pw_dir);
  return "/";
}

std::string CommonAppDataDir() {
  std::string dir = Env("VERUDA_APPDATA_DIR");
  return dir.empty() ? XdgDataHome() : Folder(dir);
}

std::string UserAppDataDir() { return XdgDataHome(); }

std::string DocumentsDir() {
  std::string dir = Env("VERUDA_DOCUMENTS_DIR");
  if (!dir.empty()) return Folder(dir);
  dir = XdgUserDir("XDG_DOCUMENTS_DIR");
  return dir.empty() ? PathJoin(HomeDir(), "Documents") : dir;
}

std::string DesktopDir() {
  std::string dir = XdgUserDir("XDG_DESKTOP_DIR");
  return dir.empty() ? PathJoin(HomeDir(), "Desktop") : dir;
}

std::string TempDir() {
  std::string dir = Env("VERUDA_TEMP_DIR");
  if (dir.empty()) dir = Env("TMPDIR");
  return dir.empty() ? std::string("/tmp") : Folder(dir);
}

std::string ProgramPath() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string ProgramDir() {
  std::string dir = Env("VERUDA_PROGRAM_DIR");
  if (!dir.empty()) return Folder(dir);
  return ExtractFileDir(ProgramPath());
}

std::string RegistryFilePath() {
  std::string file = Env("VERUDA_REGISTRY_FILE");
  if (!file.empty()) return file;
  return PathJoin(CommonAppDataDir(), "registry/HKEY_LOCAL_MACHINE.ini");
}

std::string RuntimeDir() {
  std::string dir = Env("VERUDA_RUNTIME_DIR");
  if (dir.empty()) dir = Env("XDG_RUNTIME_DIR");
  return dir.empty() ? std::string("/tmp") : Folder(dir);
}

std::optional<std::string> ComputerName() {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0') return std::nullopt;
  return std::string(buffer);
}

std::string LogonUserName() {
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return pw->pw_name;
  std::string user = Env("USER");
  return user.empty() ? Env("LOGNAME") : user;
}
