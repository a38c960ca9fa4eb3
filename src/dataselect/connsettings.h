// The connection settings file: the data root followed by "/", AppName and
// ".ini" (SystemDef.ConnectIniFile), with the sections APPLICATION (TOP,
// LEFT, WIDTH, HEIGHT, CONNECT), LOCAL, SERVER and SBC (HOSTNAME, GOGLOBAL,
// GROUP, SYSDIR, USER, PASSWORD), one per connection kind, and SHAREDRIVES
// (the shared-server drives: a letter as key, the folder where that share is
// mounted as value). All values pass through SystemDef.
//
// Paths are native and case-sensitive here, so SYSDIR is stored and read as
// typed; USER is upper-cased and PASSWORD lower-cased as the installation's
// database login expects.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kSecApplication = "APPLICATION";
inline constexpr const char* kSecLocal = "LOCAL";
inline constexpr const char* kSecServer = "SERVER";
inline constexpr const char* kSecSbc = "SBC";
inline constexpr const char* kSecShareDrives = "SHAREDRIVES";
inline constexpr const char* kDefaultDbUser = "VFNZFR";
inline constexpr const char* kDefaultDbPassword = "dravon";

// SystemDef.DataRoot + "/" + AppName + ".ini".
std::string ConnectSettingsFilePath();
// The file the routines below use: SystemDef.ConnectIniFile, or the path
// above while that is not set.
std::string ConnectIniFile();
// The section of a connection kind: 1 SERVER, 2 SBC, any other LOCAL.
const char* ConnectSectionName(int Kind);

// Writes the file from SystemDef. Reset: a fresh file (APPLICATION with the
// window defaults and CONNECT 0, LOCAL from SystemDef, SERVER without host
// and folder; DATABASE and MAINFORM erased; the host cleared first in the
// stand-alone kind). Otherwise the section of the current ConnectKind.
// Errors of the file system pass to the caller. Returns true.
bool WriteConnectIni(bool Reset);
// At start-up: when the file is missing or its LOCAL section is missing or
// empty, writes the default file (Reset); then reads LOCAL into SystemDef
// (HostName, GoGlobal and GroupMode for "YES" in any case, SysDir, DbUser
// upper-cased, DbPassword lower-cased).
void EnsureConnectSettings();
// APPLICATION CONNECT := Kind when Kind is below 3 and AppKind is 0.
void WriteConnectType(int Kind);
// APPLICATION CONNECT as a number (0 when not one, or when AppKind is not 0).
int ReadConnectType();
// Reads the section of Kind into SystemDef (HostName, GoGlobal, SysDir,
// DbUser upper-cased, DbPassword lower-cased; GroupMode off). Never fails.
bool ReadIniSection(int Kind);
// The connection values of the application kind: kinds 0 and 2 read the
// file, kinds 1 and 3 take fixed values; false for other kinds.
bool LoadConnectSettings(int Kind);

// The folder on the database server under which ServerDir lies in SysDir
// (what a drive letter was): "/srv" for "/srv/corvexzaimu/data"; "X:" for a
// path written with a drive letter; "" (the root) otherwise.
std::string SysDirDrive(const std::string& SysDir);
// The server's work folder of the client kinds: SysDirDrive + ServerTempDir.
std::string ServerWorkDirOf(const std::string& SysDir);

// ---- shared-server drives -------------------------------------------------------
struct TShareDrive {
  std::string Letter;  // one ASCII letter, as stored in DRIVELETTER
  std::string Root;    // the mount point
};
std::vector<TShareDrive> ReadShareDrives();
void WriteShareDrive(const std::string& Letter, const std::string& Root);
// The drive letter of a shared-server path: the letter of the drive whose
// mount point holds the path (the deepest one), the letter of a path written
// as "X:..." or "/" for any other path.
std::string ShareDriveLetter(const std::string& Path);
// The mount point of a drive letter ("" when none is set).
std::string ShareDriveRoot(const std::string& Letter);
