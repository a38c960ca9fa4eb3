#include "dataselect/connsettings.h"

#include <cctype>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datalistrec.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

const char* YesNo(bool on) { return on ? "YES" : "NO"; }

void WriteKindSection(TIniFile& ini, const char* section) {
  ini.WriteString(section, "HOSTNAME", SystemDef.HostName);
  ini.WriteString(section, "GOGLOBAL", YesNo(SystemDef.GoGlobal != 0));
  ini.WriteString(section, "GROUP", YesNo(SystemDef.GroupMode != 0));
  ini.WriteString(section, "SYSDIR", SystemDef.SysDir);
  ini.WriteString(section, "USER", SystemDef.DbUser);
  ini.WriteString(section, "PASSWORD", SystemDef.DbPassword);
}

// True when Path is Root or lies below it (whole path components).
bool IsUnder(const std::string& Path, const std::string& Root) {
  const std::string root = ExcludeTrailingPathDelimiter(Root);
  if (root.empty()) return false;
  if (Path == root) return true;
  if (root == "/") return !Path.empty() && Path[0] == '/';
  return Path.size() > root.size() && Path.compare(0, root.size(), root) == 0 && Path[root.size()] == '/';
}

bool HasDriveLetter(const std::string& Path) {
  return Path.size() >= 2 && Path[1] == ':' && std::isalpha(static_cast<unsigned char>(Path[0]));
}

}  // namespace

std::string ConnectSettingsFilePath() { return SystemDef.DataRoot + "/" + AppName + ".ini"; }

std::string ConnectIniFile() {
  return SystemDef.ConnectIniFile.empty() ? ConnectSettingsFilePath() : SystemDef.ConnectIniFile;
}

const char* ConnectSectionName(int Kind) {
  if (Kind == 1) return kSecServer;
  if (Kind == 2) return kSecSbc;
  return kSecLocal;
}

bool WriteConnectIni(bool Reset) {
  TIniFile ini(ConnectIniFile());
  if (!Reset) {
    WriteKindSection(ini, ConnectSectionName(ConnectKind));
    return true;
  }
  if (ConnectKind == 0) SystemDef.HostName.clear();
  ini.EraseSection("DATABASE");
  ini.EraseSection("MAINFORM");
  ini.WriteString(kSecApplication, "TOP", "0");
  ini.WriteString(kSecApplication, "LEFT", "0");
  ini.WriteString(kSecApplication, "WIDTH", "1024");
  ini.WriteString(kSecApplication, "HEIGHT", "738");
  ini.WriteString(kSecApplication, "CONNECT", "0");
  WriteKindSection(ini, kSecLocal);
  ini.WriteString(kSecServer, "HOSTNAME", "");
  ini.WriteString(kSecServer, "GOGLOBAL", "NO");
  ini.WriteString(kSecServer, "GROUP", "NO");
  ini.WriteString(kSecServer, "SYSDIR", "");
  ini.WriteString(kSecServer, "USER", SystemDef.DbUser);
  ini.WriteString(kSecServer, "PASSWORD", SystemDef.DbPassword);
  return true;
}

namespace {

// True when LOCAL holds at least one entry that is not blank.
bool LocalSectionHasValues(const std::string& file) {
  TIniFile ini(file);
  for (const std::string& line : ini.ReadSectionValues(kSecLocal))
    if (!Trim(line).empty()) return true;
  return false;
}

}  // namespace

void EnsureConnectSettings() {
  const std::string file = ConnectIniFile();
  // A missing file, a file without LOCAL and a file whose LOCAL is empty all
  // get the default file.
  if (!FileExists(file) || !LocalSectionHasValues(file)) WriteConnectIni(true);
  TIniFile ini(file);
  SystemDef.HostName = ini.ReadString(kSecLocal, "HOSTNAME", "");
  SystemDef.GoGlobal = UpperCase(Trim(ini.ReadString(kSecLocal, "GOGLOBAL", "NO"))) == "YES" ? 1 : 0;
  SystemDef.GroupMode = UpperCase(Trim(ini.ReadString(kSecLocal, "GROUP", "NO"))) == "YES" ? 1 : 0;
  SystemDef.SysDir = ini.ReadString(kSecLocal, "SYSDIR", "");
  SystemDef.DbUser = UpperCase(ini.ReadString(kSecLocal, "USER", kDefaultDbUser));
  SystemDef.DbPassword = LowerCase(ini.ReadString(kSecLocal, "PASSWORD", kDefaultDbPassword));
}

void WriteConnectType(int Kind) {
  if (Kind >= 3 || Kind < 0 || AppKind != 0) return;
  TIniFile ini(ConnectIniFile());
  ini.WriteString(kSecApplication, "CONNECT", std::to_string(Kind));
}

int ReadConnectType() {
  if (AppKind != 0) return 0;
  TIniFile ini(ConnectIniFile());
  return StrToIntDef(ini.ReadString(kSecApplication, "CONNECT", "0"), 0);
}

bool ReadIniSection(int Kind) {
  TIniFile ini(ConnectIniFile());
  const char* section = ConnectSectionName(Kind);
  SystemDef.HostName = ini.ReadString(section, "HOSTNAME", "");
  SystemDef.GoGlobal = ini.ReadString(section, "GOGLOBAL", "NO") == "YES" ? 1 : 0;
  SystemDef.SysDir = ini.ReadString(section, "SYSDIR", "");
  SystemDef.DbUser = UpperCase(ini.ReadString(section, "USER", kDefaultDbUser));
  SystemDef.DbPassword = LowerCase(ini.ReadString(section, "PASSWORD", kDefaultDbPassword));
  SystemDef.GroupMode = 0;
  return true;
}

bool LoadConnectSettings(int Kind) {
  switch (AppKind) {
    case 0:
    case 2:
      ReadIniSection(Kind);
      return true;
    case 1:
    case 3:
      SystemDef.HostName.clear();
      SystemDef.GoGlobal = 0;
      SystemDef.GroupMode = 0;
      SystemDef.DbUser = kDefaultDbUser;
      SystemDef.DbPassword = kDefaultDbPassword;
      if (AppKind == 1)
        SystemDef.SysDir = PathJoin(SystemDef.ViewerTempDir, "data");
      else
        SystemDef.SysDir = PathJoin(SystemDef.DataRoot, NativePath(CashBookDataDir.empty() ? "cb_data" : CashBookDataDir));
      return true;
    default:
      return false;
  }
}

std::string SysDirDrive(const std::string& SysDir) {
  const std::string dir = ExcludeTrailingPathDelimiter(SysDir);
  const std::string tail = ExcludeTrailingPathDelimiter(NativePath(ServerDir));
  if (!tail.empty() && tail != "/" && dir.size() >= tail.size() &&
      dir.compare(dir.size() - tail.size(), tail.size(), tail) == 0) {
    const std::string head = dir.substr(0, dir.size() - tail.size());
    // The folder name must end where ServerDir begins.
    if (tail[0] == '/' || head.empty() || head.back() == '/') return ExcludeTrailingPathDelimiter(head);
  }
  if (HasDriveLetter(dir)) return dir.substr(0, 2);
  return "";
}

std::string ServerWorkDirOf(const std::string& SysDir) { return SysDirDrive(SysDir) + NativePath(ServerTempDir); }

std::vector<TShareDrive> ReadShareDrives() {
  std::vector<TShareDrive> drives;
  TIniFile ini(ConnectIniFile());
  for (const std::string& key : ini.ReadSection(kSecShareDrives)) {
    if (key.size() != 1 || !std::isalpha(static_cast<unsigned char>(key[0]))) continue;
    const std::string root = ini.ReadString(kSecShareDrives, key, "");
    if (!root.empty()) drives.push_back({UpperCase(key), root});
  }
  return drives;
}

void WriteShareDrive(const std::string& Letter, const std::string& Root) {
  TIniFile ini(ConnectIniFile());
  ini.WriteString(kSecShareDrives, UpperCase(Letter), Root);
}

std::string ShareDriveLetter(const std::string& Path) {
  const std::string path = NativePath(Path);
  std::string letter;
  std::size_t depth = 0;
  for (const TShareDrive& drive : ReadShareDrives()) {
    const std::string root = ExcludeTrailingPathDelimiter(drive.Root);
    if (IsUnder(path, root) && (letter.empty() || root.size() > depth)) {
      letter = drive.Letter;
      depth = root.size();
    }
  }
  if (!letter.empty()) return letter;
  if (HasDriveLetter(path)) return path.substr(0, 1);
  return "/";
}

std::string ShareDriveRoot(const std::string& Letter) {
  for (const TShareDrive& drive : ReadShareDrives())
    if (SameText(drive.Letter, Letter)) return drive.Root;
  return "";
}
